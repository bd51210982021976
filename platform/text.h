#pragma once
// Small text helpers shared by every layer. No system calls: this file also builds for the host.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {

// Reads a decimal integer the way every number of the configuration is read: leading U+0020
// spaces are skipped, then an optional "-" (negates) and an optional "+", then decimal digits up
// to the first other character. No digit gives 0. The value wraps on 32-bit overflow silently.
int32_t ParseDecimal(const std::wstring& text);

// The pieces of `text` between occurrences of `separator`. Empty pieces between two separators
// are kept; the text after the last separator is a piece only when it is not empty. A text
// without separator is one piece, an empty text gives none. An empty separator gives the whole
// text as one piece.
std::vector<std::wstring> SplitText(const std::wstring& text, const std::wstring& separator);

// True when `letters` holds `letter` (case-sensitive): the test used for option letters.
bool HasLetter(const std::wstring& letters, wchar_t letter);

bool StartsWith(const std::wstring& text, const std::wstring& prefix);
bool EndsWith(const std::wstring& text, wchar_t last);

// Comparisons that treat the ASCII letters A-Z and a-z alike and every other character exactly:
// enough for the names the system compares without case (registry roots, schemes, extensions)
// and the same on every host whatever its locale.
bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b);
bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix);

// A message template with one text argument, formatted as printf would format it with "%s":
// "%%" gives "%", the first "%s" gives `argument`. Any other "%" sequence, and a second "%s",
// stay as written, so a template from the resources can never read a missing argument.
// FormatWithText(L"Downloading %s", L"Runtime") gives "Downloading Runtime".
std::wstring FormatWithText(const std::wstring& format, const std::wstring& argument);

// `text` without leading and trailing white space, as the C library's wide classification
// (iswspace) sees it.
std::wstring TrimSpaces(const std::wstring& text);

}  // namespace kestrune
