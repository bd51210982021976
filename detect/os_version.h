#pragma once
// Identification of the running Windows version.

#include "platform/os_version_info.h"

namespace kestrune {

// The process-wide record of the running system.
const OsVersionInfo& GetOsVersionInfo();

// True when `a` is at least `b`, comparing major, minor, service pack and build in that order
// (each unsigned); the first difference decides. No other field takes part.
bool IsOsAtLeast(const OsVersionInfo& a, const OsVersionInfo& b);

}  // namespace kestrune
