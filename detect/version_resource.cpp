#include "detect/version_resource.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <cwchar>
#include <memory>
#include <new>

#include "detect/os_version.h"
#include "platform/fs_redirection.h"
#include "platform/procedure.h"
#include "platform/system_paths.h"
#include "platform/text.h"
#include "platform/unique_handle.h"

namespace kestrune {
namespace {

using ResourceBlock = std::unique_ptr<unsigned char[]>;

// The Windows folder as the shell reports it; empty when the shell cannot tell.
std::wstring ShellWindowsFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_WINDOWS, nullptr, SHGFP_TYPE_CURRENT, path))) {
    return std::wstring();
  }
  return path;
}

// Reads the whole version resource of `path` into `block`. Returns 0 or the failure's code.
uint32_t LoadVersionResource(const std::wstring& path, ResourceBlock& block) {
  DWORD ignored = 0;
  const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0) return ::GetLastError();
  block.reset(new (std::nothrow) unsigned char[size]);
  if (!block) return ERROR_NOT_ENOUGH_MEMORY;
  if (!::GetFileVersionInfoW(path.c_str(), 0, size, block.get())) return ::GetLastError();
  return 0;
}

uint32_t ReadVersionOfFile(const std::wstring& path, FileVersion& version) {
  ResourceBlock block;
  const uint32_t status = LoadVersionResource(path, block);
  if (status != 0) return status;
  void* value = nullptr;
  UINT length = 0;
  // A resource may carry only strings; it still counts as read, with version 0.0.0.0.
  if (::VerQueryValueW(block.get(), L"\\", &value, &length) && value != nullptr &&
      length >= sizeof(VS_FIXEDFILEINFO)) {
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    version.mostSignificant = fixed->dwFileVersionMS;
    version.leastSignificant = fixed->dwFileVersionLS;
  }
  return 0;
}

// "\StringFileInfo\llllcccc\ProductName" with the language and code page in lower-case hex.
std::wstring ProductNameKey(WORD language, WORD codePage) {
  wchar_t key[64] = {};
  std::swprintf(key, sizeof(key) / sizeof(key[0]), L"\\StringFileInfo\\%04x%04x\\ProductName",
                static_cast<unsigned>(language), static_cast<unsigned>(codePage));
  return key;
}

}  // namespace

bool ReadsFromTemporaryCopy(const OsVersionInfo& os, const std::wstring& windowsFolder,
                            const std::wstring& path) {
  OsVersionInfo windows10;
  windows10.major = 10;
  return IsOsAtLeast(os, windows10) && !windowsFolder.empty() && StartsWith(path, windowsFolder);
}

std::wstring CopyToTemporaryFile(const std::wstring& path) {
  const std::wstring folder = TempFolder();
  wchar_t copy[MAX_PATH] = {};
  if (folder.empty() || ::GetTempFileNameW(folder.c_str(), L"shim_clone", 0, copy) == 0) {
    return std::wstring();
  }
  BOOL copied = FALSE;
  {
    // The path names the native file of a 64-bit system, not its SysWOW64 twin.
    FsRedirectionGuard redirection;
    redirection.Disable();
    copied = ::CopyFileW(path.c_str(), copy, FALSE);
  }
  if (!copied) {
    // The unique-name facility has already created the file; do not leave it behind.
    ::DeleteFileW(copy);
    return std::wstring();
  }
  return copy;
}

uint32_t ReadFileVersion(const std::wstring& path, FileVersion& version) {
  return ReadFileVersionOn(GetOsVersionInfo(), path, version);
}

uint32_t ReadFileVersionOn(const OsVersionInfo& os, const std::wstring& path,
                           FileVersion& version) {
  version = FileVersion();
  // Windows 10 may answer for a system file with the version a compatibility shim pretends; a
  // copy outside the Windows folder is read as it really is. The Windows folder does not move
  // during a run, so the shell is asked once.
  static const std::wstring windowsFolder = ShellWindowsFolder();
  std::wstring copy;
  if (ReadsFromTemporaryCopy(os, windowsFolder, path)) copy = CopyToTemporaryFile(path);
  const uint32_t status = ReadVersionOfFile(copy.empty() ? path : copy, version);
  if (!copy.empty()) ::DeleteFileW(copy.c_str());
  return status;
}

bool GetDllVersion(const std::wstring& libraryName, DllVersion& version) {
  // A bare name is a system library: never one a download left beside the program.
  const bool bareName = libraryName.find(L'\\') == std::wstring::npos;
  ModuleHandle library(bareName ? LoadSystemLibrary(libraryName.c_str())
                                : ::LoadLibraryW(libraryName.c_str()));
  if (!library) return false;
  const auto getVersion = FindProcedure<DLLGETVERSIONPROC>(library.get(), "DllGetVersion");
  if (getVersion != nullptr) {
    DLLVERSIONINFO info = {};
    static_assert(sizeof(info) == 20, "the version structure's first, 20-byte form");
    info.cbSize = sizeof(info);
    if (FAILED(getVersion(&info))) return false;
    version.major = info.dwMajorVersion;
    version.minor = info.dwMinorVersion;
    return true;
  }
  library.reset();
  FileVersion fileVersion;
  if (ReadFileVersion(libraryName, fileVersion) != 0) return false;
  version.major = HIWORD(fileVersion.mostSignificant);
  version.minor = 0;
  return true;
}

bool ReadProductName(const std::wstring& path, std::wstring& productName) {
  ResourceBlock block;
  if (LoadVersionResource(path, block) != 0) return false;
  WORD language = 1033;
  WORD codePage = 1250;
  void* value = nullptr;
  UINT length = 0;
  if (::VerQueryValueW(block.get(), L"\\VarFileInfo\\Translation", &value, &length) &&
      value != nullptr && length >= sizeof(DWORD)) {
    const auto* first = static_cast<const WORD*>(value);
    language = first[0];
    codePage = first[1];
  }
  value = nullptr;
  length = 0;
  if (!::VerQueryValueW(block.get(), ProductNameKey(language, codePage).c_str(), &value,
                        &length) ||
      value == nullptr || length == 0) {
    return false;
  }
  // The length counts characters and may include the terminator; stop at the first NUL.
  const auto* text = static_cast<const wchar_t*>(value);
  const std::wstring name(text, ::wcsnlen(text, length));
  if (name.empty()) return false;
  productName = name;
  return true;
}

std::wstring ProductNameOrPath(const std::wstring& path) {
  std::wstring name;
  return ReadProductName(path, name) ? name : path;
}

}  // namespace kestrune
