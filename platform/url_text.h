#pragma once
// Text rules for the parts of a URL. No system calls: this file also builds for the host.

#include <string>

namespace kestrune {

// `text` with every "%" followed by two hexadecimal digits (either case) replaced by the one
// character of that code ("u%41" gives "uA"; escapes are not combined into UTF-8 sequences).
// Any other "%" stays as it is, and decoded text is not decoded again ("%2541" gives "%41").
std::wstring PercentDecode(const std::wstring& text);

// The server named by a network path of a file URL: the text between the two leading backslashes
// and the next backslash (to the end when there is none). Empty when `path` does not start with
// two backslashes or its third character is "?" (a long local path).
std::wstring ServerOfNetworkPath(const std::wstring& path);

}  // namespace kestrune
