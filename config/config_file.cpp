#include "config/config_file.h"

#include "platform/path_text.h"

namespace kestrune {

std::wstring ConfigPathForModule(const std::wstring& modulePath) {
  return ReplaceExtension(modulePath, L"ini");
}

std::wstring ConfigTextFromBytes(const std::vector<unsigned char>& bytes) {
  std::wstring text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text.push_back(static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8)));
  }
  return text;
}

}  // namespace kestrune
