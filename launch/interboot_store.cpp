#include "launch/interboot_store.h"

#include <windows.h>

#include "platform/system_paths.h"
#include "platform/unique_handle.h"

namespace kestrune {

InterbootStore::InterbootStore(const std::string& keyPath, bool deleteOnClose)
    : keyPath_(keyPath), deleteOnClose_(deleteOnClose) {}

int InterbootStore::SetInt(const std::wstring& name, int32_t value) {
  return SetString(name, std::to_wstring(value));
}

// A value too long for the buffer exists as well (ERROR_MORE_DATA).
bool InterbootStore::ValueExists(const std::string& name) const {
  RegistryKey key;
  if (::RegOpenKeyA(HKEY_CURRENT_USER, keyPath_.c_str(), key.Receive()) != ERROR_SUCCESS) {
    return false;
  }
  BYTE data[260];
  DWORD size = sizeof(data);
  const LONG status = ::RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, data, &size);
  return status == ERROR_SUCCESS || status == ERROR_MORE_DATA;
}

int InterbootStore::SetString(const std::wstring& name, const std::wstring& text) {
  const std::string nameA = WideToMultiByte(name);
  if (ValueExists(nameA)) return kStoreValueExists;
  RegistryKey key;
  if (::RegCreateKeyA(HKEY_CURRENT_USER, keyPath_.c_str(), key.Receive()) != ERROR_SUCCESS) {
    return kStoreWritten;
  }
  const std::string textA = WideToMultiByte(text);
  ::RegSetValueExA(key.get(), nameA.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(textA.data()), static_cast<DWORD>(textA.size()));
  return kStoreWritten;
}

void InterbootStore::Close() {
  if (deleteOnClose_) ::RegDeleteKeyA(HKEY_CURRENT_USER, keyPath_.c_str());
}

}  // namespace kestrune
