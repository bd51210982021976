#pragma once
// Whether the setup of a prerequisite to download is already on this machine.

#include <cstdint>
#include <string>

namespace kestrune {

// True for a "file://" location (it is used where it lies, never downloaded), or when the
// download target of `url` below `downloadRoot` exists and, with a non-zero `exactSize`, has that
// size (low 32 bits).
bool IsAlreadyPresent(const std::wstring& downloadRoot, const std::wstring& url,
                      int32_t exactSize, const std::wstring& folder);

}  // namespace kestrune
