#pragma once
// Files and folders on the real file system: deleting with long paths, creating and removing
// folder trees, file status, short ANSI paths and new temporary files. These routines do not log;
// they report Win32 error codes or booleans. Any thread may call them.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {

// Deletes a file / removes an empty folder. A drive or UNC path of 260 characters or more is
// passed in its long form (see LongPathForCall). True on success.
bool DeleteFileLong(const std::wstring& path);
bool RemoveFolderLong(const std::wstring& path);

// Removes `path` if it is an empty folder, then its parent, and so on upwards while the folder is
// longer than `base` (without trailing backslash) and lies below it; folders that cannot be
// removed (not empty) are passed over and the walk goes on. With an empty `base` nothing is
// removed (see EmptyFolderWalk).
void RemoveEmptyFolders(const std::wstring& path, const std::wstring& base);

// Creates the folders of `path` that are missing, from the second component of SplitPath on; the
// last component too only when `includeLast` is set (a file path creates only its folders).
// Returns 0 at once when `path` already exists. Each folder created is appended to `created`
// when it is not null. A level that already exists is fine; another failure stops the walk and
// is returned as the Win32 code, after removing the level just above when this call created it
// and it is empty (it then leaves `created` too). On a UNC path a failing level (the server or
// share itself is one) does not stop the walk: the result is that of the last level, 0 when it
// was created or already existed.
DWORD CreateFolderTree(const std::wstring& path, bool includeLast,
                       std::vector<std::wstring>* created);

struct FileStatus {
  FILETIME lastWriteTime = {};
  uint32_t size = 0;  // the low 32 bits of the size
};

// 87 for an empty path; 3 when the path is shorter than two characters or, not starting with two
// backslashes, has no colon as second character; otherwise the error of a first-match search on
// the path (2 no such file, 3 no such folder, ...), or 0 with `status` filled from the match.
// `status` is left unchanged on failure.
DWORD GetFileStatus(const std::wstring& path, FileStatus& status);

// GetFileStatus gives 0: a file or a folder of that name exists.
bool FileExists(const std::wstring& path);

// Sets `shortPathA` to the short (8.3) form of the existing `path` in the ANSI code page and
// returns true; an empty `path` sets it empty and returns true. False, with `shortPathA` left as
// it was, when the short form cannot be obtained (the path does not exist).
bool ShortAnsiPath(const std::wstring& path, std::string& shortPathA);

// Creates a new empty file in `folder` named by the system from `prefix` (its first three
// characters) and returns its full path. With an `extension` ("bat" or ".bat") the file is moved
// to the same name with that extension; when that name is taken, another new file is made, the
// previous one deleted, and the move tried again (a few times). Empty when no file could be
// created or moved; nothing is then left behind. The caller owns (and deletes) the file.
std::wstring CreateTempFile(const std::wstring& folder, const std::wstring& prefix,
                            const std::wstring& extension);

}  // namespace kestrune
