#include "platform/registry.h"

#include "platform/registry_path.h"
#include "platform/wow64.h"

namespace kestrune {
namespace {

// The first query offers this much; most values fit, longer ones say how much they need.
const DWORD kFirstValueBuffer = 200;
// Kept beyond the space offered to the system, so that string data always has room for a
// terminating NUL.
const DWORD kTerminatorRoom = 2;
// The longest value name the system allows, plus its terminating NUL.
const DWORD kValueNameBuffer = 16383 + 1;

}  // namespace

HKEY ParseRegistryRoot(const std::wstring& path) {
  switch (RegistryRootOfPath(path)) {
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
    case RegistryRoot::Users:
      return HKEY_USERS;
    case RegistryRoot::None:
      break;
  }
  return nullptr;
}

REGSAM RegistryReadAccess(bool use64BitView, bool wow64System) {
  return KEY_READ | ((use64BitView && wow64System) ? KEY_WOW64_64KEY : 0);
}

RegistryKey OpenRegistryPath(const std::wstring& path, bool use64BitView) {
  const HKEY root = ParseRegistryRoot(path);
  if (root == nullptr) return RegistryKey();
  const std::wstring subkey = RegistrySubkeyOfPath(path);
  const REGSAM access = RegistryReadAccess(use64BitView, IsWow64System());
  // The out-parameter is only taken over on success: a failed open need not leave it null.
  HKEY key = nullptr;
  if (::RegOpenKeyExW(root, subkey.c_str(), 0, access, &key) != ERROR_SUCCESS) {
    return RegistryKey();
  }
  return RegistryKey(key);
}

bool ReadRegistryValueText(HKEY key, const std::wstring& valueName, std::wstring& text) {
  text.clear();
  std::vector<BYTE> buffer(kFirstValueBuffer);
  DWORD type = 0;
  DWORD size = 0;
  for (;;) {
    size = static_cast<DWORD>(buffer.size()) - kTerminatorRoom;
    const LONG result = ::RegQueryValueExW(key, valueName.c_str(), nullptr, &type,
                                           buffer.data(), &size);
    if (result == ERROR_SUCCESS) break;
    if (result != ERROR_MORE_DATA) return false;
    // A value that grows between two queries is asked for again; a size that does not exceed
    // what was offered would repeat the same answer, so the buffer doubles instead.
    const size_t wanted = static_cast<size_t>(size) + kTerminatorRoom;
    buffer.assign(wanted > buffer.size() ? wanted : buffer.size() * 2, 0);
  }
  return RegistryValueToText(type, buffer.data(), size, text);
}

bool EnumerateValueNames(HKEY key, std::vector<std::wstring>& names) {
  std::vector<wchar_t> name(kValueNameBuffer);
  for (DWORD index = 0;; ++index) {
    DWORD length = kValueNameBuffer;
    const LONG result = ::RegEnumValueW(key, index, name.data(), &length, nullptr, nullptr,
                                        nullptr, nullptr);
    if (result != ERROR_SUCCESS) return result == ERROR_NO_MORE_ITEMS;
    names.emplace_back(name.data(), length);
  }
}

}  // namespace kestrune
