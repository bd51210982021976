#include "platform/cpu.h"

#include <windows.h>
#include <intrin.h>

#include <cstring>

#include "platform/system_paths.h"

namespace kestrune {

std::wstring CpuBrandText(uint32_t highestExtendedLeaf, const char (&brand)[48]) {
  if (highestExtendedLeaf < 0x80000004u) return L"UnkownCPU";
  size_t length = 0;
  while (length < sizeof(brand) && brand[length] != '\0') ++length;
  return MultiByteToWide(std::string(brand, length), CP_THREAD_ACP);
}

std::wstring CpuBrandString() {
  int registers[4] = {};
  __cpuid(registers, static_cast<int>(0x80000000u));
  const uint32_t highest = static_cast<uint32_t>(registers[0]);
  char brand[48] = {};
  if (highest >= 0x80000004u) {
    for (int leaf = 0; leaf < 3; ++leaf) {
      __cpuid(registers, static_cast<int>(0x80000002u + leaf));
      std::memcpy(brand + 16 * leaf, registers, sizeof(registers));
    }
  }
  return CpuBrandText(highest, brand);
}

}  // namespace kestrune
