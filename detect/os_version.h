#pragma once
// Identification of the running Windows version.

#include "platform/os_version_info.h"

namespace kestrune {

// The process-wide record of the running system.
const OsVersionInfo& GetOsVersionInfo();

}  // namespace kestrune
