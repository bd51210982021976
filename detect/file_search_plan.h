#pragma once
// Where a file-version search looks, decided from its search text alone. No system calls.
//
// A search text is a path or a bare file name, optionally followed by "?" and a depth: how many
// folder levels below the named folder the walk may descend. A "?" at index 0 belongs to the name.

#include <string>
#include <vector>

namespace kestrune {

// The texts to walk, in order: the whole search text when its name part (before a "?" at index
// 1 or later) holds a backslash or one of "]", "%", "!"; otherwise the name looked for at the root
// of every fixed drive of `fixedDriveRoots` (each root + name part + the "?" suffix).
std::vector<std::wstring> FileSearchCandidates(const std::wstring& searchText,
                                               const std::vector<std::wstring>& fixedDriveRoots);

// A candidate without its "?depth" suffix, and the depth (0 without one).
struct DepthSplit {
  std::wstring path;
  int depth = 0;
};
DepthSplit SplitSearchDepth(const std::wstring& candidate);

// An expanded path split at its last backslash: the folder keeps the backslash, the name is
// what follows (no backslash: empty folder, the whole text as name).
struct FolderAndName {
  std::wstring folder;
  std::wstring name;
};
FolderAndName SplitFolderAndName(const std::wstring& path);

}  // namespace kestrune
