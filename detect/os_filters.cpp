#include "detect/os_filters.h"

namespace kestrune {

// The system is not identified yet, so nothing can be excluded.
bool IsOsAllowed(const std::wstring&, const std::wstring&) { return true; }
bool IsLanguageAllowed(const std::wstring&) { return true; }

}  // namespace kestrune
