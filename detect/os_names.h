#pragma once
// The names the configuration uses for Windows versions ("Windows 7 SP1 x64", "Windows 10 x86",
// ...) and the decisions of the operating-system and language filters. No system calls: this
// file also builds for the host.

#include <cstdint>
#include <string>

#include "platform/os_version_info.h"

namespace kestrune {

// The name of a system that fits no row of the name tables (both names).
extern const wchar_t kOsNotIdentified[];

// The lists that exclude every version of one architecture.
extern const wchar_t kAllX86VersionsMarker[];
extern const wchar_t kAllX64VersionsMarker[];

// The name with the feature release or service-pack level where one is known, e.g.
// "Windows 10 version 1909 x64", "Windows 7 SP1 x86", "Windows Server 2016 x64";
// kOsNotIdentified when the record fits no row.
std::wstring DetailedOsName(const OsVersionInfo& os);

// The name of the product family only, e.g. "Windows 10 x64", "Windows 7 x86";
// kOsNotIdentified when the record fits no row.
std::wstring GenericOsName(const OsVersionInfo& os);

// Both names of one system.
struct OsNames {
  std::wstring detailed;
  std::wstring generic;
};

OsNames NamesOfOs(const OsVersionInfo& os);

// The operating-system filter: false when the exclusion list of the running architecture
// (`winNt64Versions` when `isWow64`, `winNtVersions` otherwise; the other list is ignored) equals
// that architecture's marker, or has a ", "-separated piece equal (case-sensitive) to either of
// `names`. True otherwise, also for an empty list.
bool OsListsAllow(const std::wstring& winNtVersions, const std::wstring& winNt64Versions,
                  bool isWow64, const OsNames& names);

// The language filter: true when `languageList` is empty, or when one of its ";"-separated
// non-empty entries, read as a decimal number, has `langId` as its low 16 bits.
bool LanguageListAllows(const std::wstring& languageList, uint16_t langId);

// The log line that names the system default language: "SystemDefault LangID=" then the
// identifier in decimal, "-" and `displayName`.
std::wstring FormatSystemLanguageLine(uint16_t langId, const std::wstring& displayName);

}  // namespace kestrune
