#pragma once
// Whether this 32-bit process runs on a 64-bit Windows (under WOW64).

namespace kestrune {

// True when the operating system is 64-bit. The system is asked once per run ("IsWow64Process"
// is looked up in kernel32 at run time; systems without it are 32-bit).
bool IsWow64System();

}  // namespace kestrune
