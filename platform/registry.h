#pragma once
// Reading the registry from key paths given as text ("HKLM\Software\Maker\Product"), in the
// 64-bit view when asked. Failures are silent: an empty key, a false result.

#include <windows.h>

#include <string>
#include <vector>

#include "platform/unique_handle.h"

namespace kestrune {

// The predefined root key named by `path` (see RegistryRootOfPath); null when the path has no
// backslash. The root is not owned: never close it.
HKEY ParseRegistryRoot(const std::wstring& path);

// The access OpenRegistryPath asks for: KEY_READ, plus KEY_WOW64_64KEY only when the 64-bit view
// is wanted and the system is 64-bit (a 32-bit system has one view; older ones refuse the flag).
REGSAM RegistryReadAccess(bool use64BitView, bool wow64System);

// Opens the key named by `path` (root before the first backslash, subkey after it) for reading,
// in the 64-bit view when `use64BitView` is set and the system is 64-bit. The returned holder owns
// the key; it is empty when the path names no root or the key does not open.
RegistryKey OpenRegistryPath(const std::wstring& path, bool use64BitView);

// Reads the value `valueName` of `key` ("" for the key's default value) into `text`: strings,
// expandable strings (not expanded) and multi-strings as text without trailing NULs, a DWORD as
// its unsigned decimal form. False, with `text` empty, for any other type or when the value
// cannot be read.
bool ReadRegistryValueText(HKEY key, const std::wstring& valueName, std::wstring& text);

// Appends the names of all values of `key` to `names`, in the system's order. True when the
// enumeration ran to its end; false when it stopped on an error (the names read so far stay).
bool EnumerateValueNames(HKEY key, std::vector<std::wstring>& names);

}  // namespace kestrune
