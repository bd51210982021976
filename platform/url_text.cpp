#include "platform/url_text.h"

#include "platform/text.h"

namespace kestrune {
namespace {

int HexDigitValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

}  // namespace

std::wstring PercentDecode(const std::wstring& text) {
  std::wstring decoded;
  decoded.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
        HexDigitValue(text[i + 2]) >= 0) {
      decoded.push_back(static_cast<wchar_t>(HexDigitValue(text[i + 1]) * 16 +
                                             HexDigitValue(text[i + 2])));
      i += 2;
    } else {
      decoded.push_back(text[i]);
    }
  }
  return decoded;
}

bool ServerOfNetworkPath(const std::wstring& path, std::wstring& server) {
  if (!StartsWith(path, L"\\\\") || (path.size() > 2 && path[2] == L'?')) return false;
  const size_t end = path.find(L'\\', 2);
  server = path.substr(2, end == std::wstring::npos ? std::wstring::npos : end - 2);
  return true;
}

}  // namespace kestrune
