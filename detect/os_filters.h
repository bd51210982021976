#pragma once
// The two questions asked before a prerequisite is searched for: is it meant for this operating
// system, and for the system's default language?

#include <cstdint>
#include <string>

namespace kestrune {

// False when the exclusion list of the running architecture (`winNt64Versions` on a 64-bit
// system, `winNtVersions` on a 32-bit one) names this system, by its detailed or its generic
// name, or equals the marker that excludes every version of the architecture (see os_names.h).
// The names are computed on the first call; any thread may call.
bool IsOsAllowed(const std::wstring& winNtVersions, const std::wstring& winNt64Versions);

// True when `languageList` is empty or lists the system default language identifier (decimal
// entries separated by ";"). A non-empty list first logs the identifier and its display name
// (see SystemLanguageLine) when LoggingEnabled.
bool IsLanguageAllowed(const std::wstring& languageList);

// "SystemDefault LangID=" + `langId` in decimal + "-" + the language's name in the system's
// display language, as the locale data reports it for `langId` with the default sort; the name
// is empty when the system has none.
std::wstring SystemLanguageLine(uint16_t langId);

}  // namespace kestrune
