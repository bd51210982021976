#pragma once
// Identification of the running Windows version.

#include <windows.h>

#include "platform/os_version_info.h"

namespace kestrune {

// The process-wide record of the running system. The first call identifies the system from the
// 64-bit view of HKEY_LOCAL_MACHINE; later calls return the same record. Any thread may call;
// concurrent first calls identify once. When the version key cannot be opened every field stays
// zero / false.
const OsVersionInfo& GetOsVersionInfo();

// Fills a record from the keys that hold the system's version. `currentVersion` is the open
// "Software\Microsoft\Windows NT\CurrentVersion" key: "CurrentMajorVersionNumber" and
// "CurrentMinorVersionNumber" (DWORDs), else a three-character "CurrentVersion" ("6.1"), the
// leading number of "CurrentBuildNumber", the service pack from the last character of
// "CSDVersion". `productOptions` is the open "SYSTEM\CurrentControlSet\Control\ProductOptions"
// key, or null: a readable "ProductType" other than exactly "WinNT" marks a server. Missing,
// oversized or wrongly typed values leave their fields at zero / false. The keys stay open.
OsVersionInfo IdentifyOsVersion(HKEY currentVersion, HKEY productOptions, bool isWow64);

// True when `a` is at least `b`, comparing major, minor, service pack and build in that order
// (each unsigned); the first difference decides. No other field takes part.
bool IsOsAtLeast(const OsVersionInfo& a, const OsVersionInfo& b);

}  // namespace kestrune
