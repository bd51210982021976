#pragma once
// Text rules for the parts of a URL. No system calls: this file also builds for the host.

#include <string>

namespace kestrune {

// `text` with every "%" followed by two hexadecimal digits (either case) replaced by the one
// character of that code ("u%41" gives "uA"; escapes are not combined into UTF-8 sequences).
// Any other "%" stays as it is, and decoded text is not decoded again ("%2541" gives "%41").
std::wstring PercentDecode(const std::wstring& text);

// For the path of a file URL that names a network path (two leading backslashes, the third
// character not "?" as in a long local path): sets `server` to the text between the two leading
// backslashes and the next backslash (to the end when there is none) and returns true. Otherwise
// returns false and leaves `server` unchanged.
bool ServerOfNetworkPath(const std::wstring& path, std::wstring& server);

}  // namespace kestrune
