#include "platform/files.h"

#include "platform/file_rules.h"
#include "platform/path_text.h"
#include "platform/system_paths.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

// How many new names CreateTempFile tries before it gives up on a taken extension name.
const int kTempFileAttempts = 8;

// Creating a folder is limited to 248 characters without the long form (room for an 8.3 name).
bool CreateFolder(const std::wstring& path) {
  return ::CreateDirectoryW(AddLongPathPrefix(path).c_str(), nullptr) != FALSE;
}

bool PathExists(const std::wstring& path) {
  return ::GetFileAttributesW(AddLongPathPrefix(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Removes the level above a failing one, but only a folder this call made: an empty folder that
// was there before belongs to someone else.
void RemoveCreatedLevel(const std::wstring& level, std::vector<std::wstring>* created) {
  if (!RemoveFolderLong(level)) return;
  if (created != nullptr && !created->empty() && created->back() == level) created->pop_back();
}

std::wstring NewTempFile(const std::wstring& folder, const std::wstring& prefix) {
  wchar_t path[MAX_PATH + 1] = {};
  if (::GetTempFileNameW(folder.c_str(), prefix.c_str(), 0, path) == 0) return std::wstring();
  return path;
}

}  // namespace

bool DeleteFileLong(const std::wstring& path) {
  return ::DeleteFileW(LongPathForCall(path).c_str()) != FALSE;
}

bool RemoveFolderLong(const std::wstring& path) {
  return ::RemoveDirectoryW(LongPathForCall(path).c_str()) != FALSE;
}

void RemoveEmptyFolders(const std::wstring& path, const std::wstring& base) {
  for (const std::wstring& folder : EmptyFolderWalk(path, base)) RemoveFolderLong(folder);
}

DWORD CreateFolderTree(const std::wstring& path, bool includeLast,
                       std::vector<std::wstring>* created) {
  if (PathExists(path)) return 0;
  const bool network = IsUncPath(path);
  const std::vector<std::wstring> levels = FolderLevels(path, includeLast);
  bool aboveCreated = false;  // the previous level was made by this call
  DWORD result = 0;
  for (size_t i = 0; i < levels.size(); ++i) {
    if (CreateFolder(levels[i])) {
      if (created != nullptr) created->push_back(levels[i]);
      aboveCreated = true;
      result = 0;
      continue;
    }
    const DWORD error = ::GetLastError();
    result = error == ERROR_ALREADY_EXISTS ? 0 : error;
    if (result != 0 && !network) {
      if (aboveCreated) RemoveCreatedLevel(levels[i - 1], created);
      return result;
    }
    aboveCreated = false;
  }
  return result;
}

DWORD GetFileStatus(const std::wstring& path, FileStatus& status) {
  const DWORD formError = PathFormError(path);
  if (formError != 0) return formError;
  WIN32_FIND_DATAW data;
  FindHandle find(::FindFirstFileW(AddLongPathPrefix(path).c_str(), &data));
  if (!find) return ::GetLastError();
  status.lastWriteTime = data.ftLastWriteTime;
  status.size = data.nFileSizeLow;
  return 0;
}

bool FileExists(const std::wstring& path) {
  FileStatus status;
  return GetFileStatus(path, status) == 0;
}

bool ShortAnsiPath(const std::wstring& path, std::string& shortPathA) {
  if (path.empty()) {
    shortPathA.clear();
    return true;
  }
  const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return false;
  std::vector<wchar_t> buffer(needed + 1);
  const DWORD length =
      ::GetShortPathNameW(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length == 0 || length >= buffer.size()) return false;
  shortPathA = WideToMultiByte(std::wstring(buffer.data(), length));
  return true;
}

std::wstring CreateTempFile(const std::wstring& folder, const std::wstring& prefix,
                            const std::wstring& extension) {
  std::wstring current = NewTempFile(folder, prefix);
  for (int attempt = 1; !current.empty(); ++attempt) {
    const std::wstring target = TempFileFinalName(current, extension);
    if (target == current || ::MoveFileW(current.c_str(), target.c_str())) return target;
    // The next name is asked for while the current file still holds its own, so that the
    // system cannot hand the same one out again.
    const std::wstring next =
        attempt < kTempFileAttempts ? NewTempFile(folder, prefix) : std::wstring();
    ::DeleteFileW(current.c_str());
    current = next;
  }
  return current;
}

}  // namespace kestrune
