#include "log/log_format.h"

#include <cwchar>

namespace kestrune {

const wchar_t kLogBanner[] = L"\r\n<< Kestrune (x86) Log >>\r\n";
const wchar_t kLogEndMarker[] = L"=====================End of Log=====================\r\n";

std::wstring FormatLogTimestamp(const LocalTime& t) {
  wchar_t text[64];
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"%04d-%02d-%02d %02d-%02d-%02d", t.year,
                t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

std::wstring FormatOsVersionLine(const OsVersionInfo& os) {
  wchar_t text[128];
  std::swprintf(text, sizeof(text) / sizeof(text[0]), L"OS Version: %u.%u.%u SP%u (%ls) [%ls]\r\n",
                static_cast<unsigned>(os.major), static_cast<unsigned>(os.minor),
                static_cast<unsigned>(os.build), static_cast<unsigned>(os.servicePack),
                os.isServer ? L"server" : L"workstation", os.isWow64 ? L"x64" : L"x86");
  return text;
}

std::wstring FormatLogHeader(const OsVersionInfo& os, const std::wstring& cpuBrand) {
  return std::wstring(kLogBanner) + FormatOsVersionLine(os) + L"CPU: " + cpuBrand + L"\r\n\r\n";
}

}  // namespace kestrune
