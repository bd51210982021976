#pragma once
// Registry key paths given as text ("HKLM\Software\Maker") and registry data turned into text.
// No system calls: this file also builds for the host.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrune {

enum class RegistryRoot { None, LocalMachine, CurrentUser, ClassesRoot, CurrentConfig, Users };

// The root named by the text before the first backslash of `path`, compared without regard to
// case: "HKLM"/"HKEY_LOCAL_MACHINE", "HKCU"/"HKEY_CURRENT_USER", "HKCR"/"HKEY_CLASSES_ROOT",
// "HKCC"/"HKEY_CURRENT_CONFIG"; any other text names HKEY_USERS. A path without backslash names
// no root (None): nothing can be opened from it.
RegistryRoot RegistryRootOfPath(const std::wstring& path);

// The text after the first backslash of `path`; the whole text when there is none.
std::wstring RegistrySubkeyOfPath(const std::wstring& path);

// Registry value types, as the system numbers them.
const uint32_t kRegistryString = 1;
const uint32_t kRegistryExpandString = 2;
const uint32_t kRegistryDword = 4;
const uint32_t kRegistryMultiString = 7;

// Sets `text` to the value data (`size` bytes at `data`) as text and returns true for the types
// that have one: string, expandable string (not expanded) and multi-string values are UTF-16
// little-endian text with every trailing NUL dropped (the strings of a multi-string value stay
// separated by NULs; an odd last byte is ignored); a DWORD is its unsigned decimal form, missing
// bytes of a short DWORD counting as zero. Any other type returns false and leaves `text` empty.
bool RegistryValueToText(uint32_t type, const unsigned char* data, size_t size,
                         std::wstring& text);

}  // namespace kestrune
