#include "platform/url.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "platform/url_text.h"

namespace kestrune {
namespace {

// One buffer per part. A part is never longer than the URL itself (a file URL's slashes only
// turn into backslashes); the extra room covers what a splitter might add.
class PartBuffer {
 public:
  explicit PartBuffer(size_t urlLength) : text_(urlLength + MAX_PATH + 1, L'\0') {}
  void Offer(LPWSTR& pointer, DWORD& length) {
    pointer = &text_[0];
    length = static_cast<DWORD>(text_.size());
  }
  std::wstring Text(DWORD length) const { return std::wstring(text_.data(), length); }

 private:
  std::vector<wchar_t> text_;
};

}  // namespace

UrlParts ParseUrl(const std::wstring& url) {
  UrlParts parts;
  PartBuffer host(url.size()), path(url.size()), extra(url.size()), user(url.size()),
      password(url.size());
  URL_COMPONENTSW components = {};
  components.dwStructSize = sizeof(components);
  host.Offer(components.lpszHostName, components.dwHostNameLength);
  path.Offer(components.lpszUrlPath, components.dwUrlPathLength);
  extra.Offer(components.lpszExtraInfo, components.dwExtraInfoLength);
  user.Offer(components.lpszUserName, components.dwUserNameLength);
  password.Offer(components.lpszPassword, components.dwPasswordLength);
  if (!::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &components)) {
    parts.error = ::GetLastError();
    return parts;
  }
  parts.scheme = components.nScheme;
  parts.port = components.nPort;
  parts.host = host.Text(components.dwHostNameLength);
  parts.path = path.Text(components.dwUrlPathLength);
  parts.extraInfo = extra.Text(components.dwExtraInfoLength);
  parts.userName = PercentDecode(user.Text(components.dwUserNameLength));
  parts.password = PercentDecode(password.Text(components.dwPasswordLength));
  if (parts.scheme == INTERNET_SCHEME_FILE) ServerOfNetworkPath(parts.path, parts.host);
  return parts;
}

}  // namespace kestrune
