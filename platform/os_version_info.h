#pragma once
// The identity of the running Windows version as one plain record. Identification (detect/) fills
// it; the log header and the comparisons read it. No system calls.

#include <cstdint>

namespace kestrune {

struct OsVersionInfo {
  uint32_t major = 0;
  uint32_t minor = 0;
  uint32_t build = 0;
  int32_t servicePack = 0;
  bool isServer = false;  // any product type other than a workstation
  bool isWow64 = false;   // the operating system is 64-bit (this 32-bit process runs under WOW64)
};

}  // namespace kestrune
