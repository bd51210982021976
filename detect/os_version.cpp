#include "detect/os_version.h"

#include <string>
#include <vector>

#include "platform/unique_handle.h"
#include "platform/wow64.h"

namespace kestrune {
namespace {

// Byte limits for the string values; a larger value counts as unreadable.
const DWORD kVersionTextBytes = 32;
const DWORD kValueTextBytes = 520;

// The DWORD value `name`; 0 when it is missing or not a DWORD.
uint32_t ReadDword(HKEY key, const wchar_t* name) {
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof(value);
  const LONG status = ::RegQueryValueExW(key, name, nullptr, &type,
                                         reinterpret_cast<BYTE*>(&value), &size);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return 0;
  return value;
}

// Reads the string value `name` into `text` when its data fits in `maxBytes`. The stored data
// need not end in a terminator; the text ends at the first one it has. False when the value is
// missing, larger than `maxBytes` or not a string.
bool ReadText(HKEY key, const wchar_t* name, DWORD maxBytes, std::wstring& text) {
  std::vector<wchar_t> buffer(maxBytes / sizeof(wchar_t));
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
  const LONG status = ::RegQueryValueExW(key, name, nullptr, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), &size);
  if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
  text.assign(buffer.data(), size / sizeof(wchar_t));
  const size_t end = text.find(L'\0');
  if (end != std::wstring::npos) text.resize(end);
  return true;
}

// An optional '-' then decimal digits up to the first other character; nothing else is skipped.
uint32_t LeadingNumber(const std::wstring& text) {
  const bool negative = !text.empty() && text[0] == L'-';
  uint32_t value = 0;
  for (size_t i = negative ? 1 : 0; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - L'0');
  }
  return negative ? 0u - value : value;
}

uint32_t DigitValue(wchar_t c) { return static_cast<uint32_t>(static_cast<int>(c) - L'0'); }

void ReadVersionNumbers(HKEY key, OsVersionInfo& os) {
  os.major = ReadDword(key, L"CurrentMajorVersionNumber");
  os.minor = ReadDword(key, L"CurrentMinorVersionNumber");
  if (os.major != 0) return;
  // Systems before Windows 10 only have the "major.minor" text, always one digit each.
  std::wstring version;
  if (ReadText(key, L"CurrentVersion", kVersionTextBytes, version) && version.size() == 3) {
    os.major = DigitValue(version[0]);
    os.minor = DigitValue(version[2]);
  }
}

RegistryKey OpenMachineKey(const wchar_t* path) {
  RegistryKey key;
  ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ | KEY_WOW64_64KEY, key.Receive());
  return key;
}

OsVersionInfo IdentifyRunningSystem() {
  const RegistryKey currentVersion =
      OpenMachineKey(L"Software\\Microsoft\\Windows NT\\CurrentVersion");
  if (!currentVersion) return OsVersionInfo();
  const RegistryKey productOptions =
      OpenMachineKey(L"SYSTEM\\CurrentControlSet\\Control\\ProductOptions");
  return IdentifyOsVersion(currentVersion.get(), productOptions.get(), IsWow64System());
}

}  // namespace

OsVersionInfo IdentifyOsVersion(HKEY currentVersion, HKEY productOptions, bool isWow64) {
  OsVersionInfo os;
  ReadVersionNumbers(currentVersion, os);
  std::wstring text;
  if (ReadText(currentVersion, L"CurrentBuildNumber", kValueTextBytes, text)) {
    os.build = LeadingNumber(text);
  }
  // "Service Pack 3": the level is the last character.
  if (ReadText(currentVersion, L"CSDVersion", kValueTextBytes, text) && !text.empty()) {
    os.servicePack = static_cast<int32_t>(text.back()) - static_cast<int32_t>(L'0');
  }
  os.isWow64 = isWow64;
  // Servers and domain controllers have their own product types; a workstation has "WinNT".
  if (productOptions != nullptr &&
      ReadText(productOptions, L"ProductType", kValueTextBytes, text)) {
    os.isServer = text != L"WinNT";
  }
  return os;
}

const OsVersionInfo& GetOsVersionInfo() {
  // A function-local static is initialised once even when two threads arrive together.
  static const OsVersionInfo record = IdentifyRunningSystem();
  return record;
}

bool IsOsAtLeast(const OsVersionInfo& a, const OsVersionInfo& b) {
  if (a.major != b.major) return a.major > b.major;
  if (a.minor != b.minor) return a.minor > b.minor;
  const uint32_t packA = static_cast<uint32_t>(a.servicePack);
  const uint32_t packB = static_cast<uint32_t>(b.servicePack);
  if (packA != packB) return packA > packB;
  return a.build >= b.build;
}

}  // namespace kestrune
