#include "detect/os_filters.h"

#include <windows.h>

#include <vector>

#include "detect/os_names.h"
#include "detect/os_version.h"
#include "log/logger.h"

namespace kestrune {
namespace {

const OsNames& RunningSystemNames() {
  // A function-local static is initialised once even when two threads arrive together.
  static const OsNames names = NamesOfOs(GetOsVersionInfo());
  return names;
}

std::wstring LanguageDisplayName(LANGID langId) {
  const LCID locale = MAKELCID(langId, SORT_DEFAULT);
  const int length = ::GetLocaleInfoW(locale, LOCALE_SLANGUAGE, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length));
  if (::GetLocaleInfoW(locale, LOCALE_SLANGUAGE, buffer.data(), length) <= 0) return std::wstring();
  return std::wstring(buffer.data());
}

}  // namespace

bool IsOsAllowed(const std::wstring& winNtVersions, const std::wstring& winNt64Versions) {
  const OsNames& names = RunningSystemNames();
  return OsListsAllow(winNtVersions, winNt64Versions, GetOsVersionInfo().isWow64, names);
}

bool IsLanguageAllowed(const std::wstring& languageList) {
  if (languageList.empty()) return true;
  const LANGID langId = ::GetSystemDefaultLangID();
  if (LoggingEnabled) LogLine(SystemLanguageLine(langId));
  return LanguageListAllows(languageList, langId);
}

std::wstring SystemLanguageLine(uint16_t langId) {
  return FormatSystemLanguageLine(langId, LanguageDisplayName(langId));
}

}  // namespace kestrune
