#pragma once
// The parts of a URL as the system's URL splitter (WinINet) sees them.

#include <cstdint>
#include <string>

namespace kestrune {

struct UrlParts {
  int scheme = 0;       // the system's scheme number (INTERNET_SCHEME_*): ftp 1, http 3, https 4,
                        // file 5; -1 when it is not known
  uint16_t port = 0;    // the URL's port, or the scheme's default
  std::wstring host;    // for a file URL naming a network path: its server
  std::wstring path;    // a file URL's path with backslashes ("C:\pkg\a.exe", "\\srv\share\a")
  std::wstring extraInfo;  // query and fragment, with their "?" or "#"
  std::wstring userName;   // percent-decoded
  std::wstring password;   // percent-decoded
  uint32_t error = 0;   // the system's error code when the URL cannot be split; the rest is empty
};

// Splits `url` with InternetCrackUrlW (no decoding or escaping by the system). User name and
// password come back percent-decoded (see PercentDecode). For a file URL whose path starts with
// two backslashes (third character not "?") the host is the server of that path. Any thread.
UrlParts ParseUrl(const std::wstring& url);

}  // namespace kestrune
