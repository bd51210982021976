#pragma once
// The processor's name, for the log header.

#include <cstdint>
#include <string>

namespace kestrune {

// The brand text of the processor from the identification instruction (extended leaves
// 0x80000002 to 0x80000004), converted from the thread's ANSI code page; "UnkownCPU" when the
// processor does not report those leaves.
std::wstring CpuBrandString();

// The decision behind CpuBrandString, given the highest extended leaf and the 48 brand bytes.
std::wstring CpuBrandText(uint32_t highestExtendedLeaf, const char (&brand)[48]);

}  // namespace kestrune
