#include "detect/os_version.h"

namespace kestrune {

const OsVersionInfo& GetOsVersionInfo() {
  // Identification is not built yet: every field reads as unknown (zero).
  static const OsVersionInfo record;
  return record;
}

}  // namespace kestrune
