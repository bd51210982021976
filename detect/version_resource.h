#pragma once
// Versions that files and libraries report about themselves: the fixed file version and the
// product name of a version resource, and the version a shell library announces through its
// "DllGetVersion" export.
//
// All functions may be called from any thread. ReadFileVersion switches file-system redirection
// off for the calling thread while it copies a file, and restores it before returning.

#include <cstdint>
#include <string>

#include "platform/os_version_info.h"

namespace kestrune {

// The fixed file version as the resource stores it: major << 16 | minor, then build << 16 |
// revision.
struct FileVersion {
  uint32_t mostSignificant = 0;
  uint32_t leastSignificant = 0;
};

// Reads the file version of `path` into `version` (left at 0.0.0.0 unless a fixed block is read).
// Returns 0 on success, including a resource without a fixed block (then 0.0.0.0); 8
// (ERROR_NOT_ENOUGH_MEMORY) when no buffer for the resource could be had; otherwise the Win32 code
// of the failing call (no file, no version resource, ...). On Windows 10 and later a file under
// the Windows folder is read from a temporary copy that is deleted again (see
// ReadsFromTemporaryCopy); when that copy cannot be made the file itself is read.
uint32_t ReadFileVersion(const std::wstring& path, FileVersion& version);

// ReadFileVersion as on a system described by `os`; ReadFileVersion passes GetOsVersionInfo().
uint32_t ReadFileVersionOn(const OsVersionInfo& os, const std::wstring& path,
                           FileVersion& version);

// True when the version of `path` is to be read from a temporary copy: `os` is Windows 10.0 or
// later and `path` begins with `windowsFolder` (compared case-sensitively). An empty
// `windowsFolder` (the shell could not tell) matches no path.
bool ReadsFromTemporaryCopy(const OsVersionInfo& os, const std::wstring& windowsFolder,
                            const std::wstring& path);

// Copies `path` to a new file in the temporary folder made by the system's unique-name facility
// with the prefix "shim_clone", with file-system redirection switched off during the copy.
// Returns the copy's path, which the caller deletes; empty when no copy was made (nothing is left
// behind then).
std::wstring CopyToTemporaryFile(const std::wstring& path);

struct DllVersion {
  uint32_t major = 0;
  uint32_t minor = 0;
};

// The version of the library `libraryName`: a bare name is a library of the system folder, a
// path is loaded as given.
// A library that exports "DllGetVersion" reports its major and minor version through it; for any
// other library the major version is the high word of its file version (ReadFileVersion of
// `libraryName`) and the minor version is 0. Returns false, leaving `version` unchanged, when the
// library does not load, its "DllGetVersion" fails, or its file version cannot be read.
bool GetDllVersion(const std::wstring& libraryName, DllVersion& version);

// The non-empty "ProductName" string of the version resource of `path`, in the first language
// and code page listed under "\VarFileInfo\Translation", or in language 1033 with code page 1250
// when the list is missing or empty. Returns false, leaving `productName` unchanged, when the
// resource cannot be read or holds no such string. Never reads a temporary copy.
bool ReadProductName(const std::wstring& path, std::wstring& productName);

// The product name of `path` for window captions: ReadProductName's text, or `path` itself when
// there is none.
std::wstring ProductNameOrPath(const std::wstring& path);

}  // namespace kestrune
