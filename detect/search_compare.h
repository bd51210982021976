#pragma once
// The comparison of a registry value with a reference text, by operator letter. No system calls.

#include <string>

namespace kestrune {

// True when `value` stands to `reference` as `letter` asks (upper-case letters only):
// M equal, D different, C contains, X does not contain, S starts with, E ends with, G / L greater
// / less as decimal numbers (both texts digits only; an empty text counts as 0). Any other letter
// is never true. An empty reference is contained in, starts and ends every value.
bool CompareByOperator(const std::wstring& reference, const std::wstring& value, wchar_t letter);

}  // namespace kestrune
