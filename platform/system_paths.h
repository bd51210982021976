#pragma once
// Folders and paths the system knows: the temporary folder, the running module, special folders.

#include <string>

namespace kestrune {

// The system's temporary-files path with a trailing backslash; empty when the system call fails.
std::wstring TempFolder();

// Full path of the running executable (GetModuleFileNameW into a MAX_PATH buffer).
std::wstring ModulePath();

// The common application-data folder (CSIDL_COMMON_APPDATA), without trailing backslash as the
// shell reports it; empty when it cannot be found.
std::wstring CommonAppDataFolder();

// A shell folder by CSIDL: whether the shell gave its item identifier list, and the path that
// list converts to (empty when the conversion failed).
struct ShellFolderResult {
  bool listObtained = false;
  std::wstring path;
};
ShellFolderResult ShellFolderPath(int csidl);

// `text` converted from the given code page (CP_ACP when omitted) to UTF-16.
std::wstring MultiByteToWide(const std::string& text, unsigned codePage = 0);

// `text` converted from UTF-16 to the given code page (CP_ACP when omitted); characters the code
// page lacks become its default character.
std::string WideToMultiByte(const std::wstring& text, unsigned codePage = 0);

}  // namespace kestrune
