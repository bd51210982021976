#include "detect/file_search.h"

#include <windows.h>

#include <cwchar>

#include "detect/file_search_plan.h"
#include "detect/references.h"
#include "detect/version_number.h"
#include "detect/version_resource.h"
#include "platform/fs_redirection.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

std::vector<std::wstring> FixedDriveRoots() {
  wchar_t buffer[100] = {};
  const DWORD length = ::GetLogicalDriveStringsW(100, buffer);
  std::vector<std::wstring> roots;
  if (length == 0 || length > 100) return roots;
  for (const wchar_t* root = buffer; *root != L'\0'; root += wcslen(root) + 1) {
    if (::GetDriveTypeW(root) == DRIVE_FIXED) roots.push_back(root);
  }
  return roots;
}

// The file's version as the walk compares it: four groups printed and parsed back, then
// normalised the way the values list keeps them.
VersionNumber VersionOfFile(const std::wstring& path, std::wstring& normalized) {
  FileVersion file;
  ReadFileVersion(path, file);
  wchar_t text[64];
  std::swprintf(text, 64, L"%d.%d.%d.%d", static_cast<int>(HIWORD(file.mostSignificant)),
                static_cast<int>(LOWORD(file.mostSignificant)),
                static_cast<int>(HIWORD(file.leastSignificant)),
                static_cast<int>(LOWORD(file.leastSignificant)));
  VersionNumber version;
  ParseVersion(text, version);
  normalized = FormatVersion(version);
  return version;
}

class Walk {
 public:
  Walk(const SearchRange& range, SearchOutcome& outcome) : range_(range), outcome_(outcome) {}

  // True when an acceptable file was found in `folder` or, within `depth` levels, below it.
  bool Run(std::wstring folder, const std::wstring& name, int depth) {
    if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
    if (FoundHere(folder + name)) return true;
    if (depth < 1) return false;
    WIN32_FIND_DATAW entry;
    const FindHandle find(::FindFirstFileW((folder + L"*").c_str(), &entry));
    if (!find) return false;
    do {
      const std::wstring child = entry.cFileName;
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || child == L"." || child == L"..") {
        continue;
      }
      if (Run(folder + child, name, depth - 1)) return true;
    } while (::FindNextFileW(find.get(), &entry));
    return false;
  }

 private:
  bool FoundHere(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    const FindHandle match(::FindFirstFileW(path.c_str(), &data));
    if (!match) return false;
    std::wstring normalized;
    const VersionNumber version = VersionOfFile(path, normalized);
    outcome_.values.push_back(normalized);
    return VersionInRange(range_, version);
  }

  const SearchRange& range_;
  SearchOutcome& outcome_;
};

}  // namespace

void CollectFileVersions(const PrereqSearch& search, bool use64BitView, SearchOutcome& outcome) {
  const SearchRange range = MakeSearchRange(search.verMin, search.verMax);
  FsRedirectionGuard redirection;
  if (use64BitView) redirection.Disable();
  Walk walk(range, outcome);
  for (const std::wstring& candidate : FileSearchCandidates(search.searchString, FixedDriveRoots())) {
    const DepthSplit split = SplitSearchDepth(candidate);
    const FolderAndName place = SplitFolderAndName(ExpandReferences(split.path, use64BitView));
    if (walk.Run(place.folder, place.name, split.depth)) return;
  }
}

}  // namespace kestrune
