#pragma once
// Whether a prerequisite applies to this system: its operating-system exclusion lists and its
// list of allowed system languages.

#include <string>

namespace kestrune {

// False when the list of this system's architecture excludes the running Windows.
bool IsOsAllowed(const std::wstring& winNtVersions, const std::wstring& winNt64Versions);

// False when `languageList` is not empty and does not hold the system default language.
bool IsLanguageAllowed(const std::wstring& languageList);

}  // namespace kestrune
