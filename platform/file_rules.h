#pragma once
// The decisions behind the file and folder routines of files.h, kept apart from the system calls
// so that they can be checked on any host. No system calls here.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {

// True for a network path: two backslashes and a server name, or the long form "\\?\UNC\...".
// A local long path ("\\?\C:\...") is not one.
bool IsUncPath(const std::wstring& path);

// The form check that precedes a file-status lookup: 87 (invalid parameter) for an empty path;
// 3 (path not found) for a path shorter than two characters, or whose second character is not a
// colon when it does not start with two backslashes; 0 when the form is acceptable.
uint32_t PathFormError(const std::wstring& path);

// The path to hand to a delete or remove call: a drive or UNC path of 260 characters or more
// gets its long form ("\\?\" or "\\?\UNC\"); a path that already has a long-path prefix, a
// shorter one and any other form (relative paths) is returned unchanged.
std::wstring LongPathForCall(const std::wstring& path);

// The folders CreateFolderTree creates, outermost first: the first component of SplitPath (drive,
// UNC server, with any long-path prefix) joined with each further component in turn; the last
// component only when `includeLast` is true (for a file path it is the file name).
std::vector<std::wstring> FolderLevels(const std::wstring& path, bool includeLast);

// The folders RemoveEmptyFolders tries, innermost first: `path`, then its parents, while they
// are longer than `base` and lie below it (`base` followed by a backslash begins them; ASCII case
// ignored). Trailing backslashes of either text do not count. An empty `base` gives no folder:
// without a root to stop at, folders that the program did not create could be reached.
std::vector<std::wstring> EmptyFolderWalk(const std::wstring& path, const std::wstring& base);

// The name a temporary file is moved to for `extension` (given with or without its dot): the
// file's extension replaced by it. An empty extension (or "." alone) keeps `tempPath`.
std::wstring TempFileFinalName(const std::wstring& tempPath, const std::wstring& extension);

}  // namespace kestrune
