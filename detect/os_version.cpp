#include "detect/os_version.h"

namespace kestrune {

const OsVersionInfo& GetOsVersionInfo() {
  // Identification is not built yet: every field reads as unknown (zero).
  static const OsVersionInfo record;
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
