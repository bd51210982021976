#include "platform/registry_path.h"

#include "platform/text.h"

namespace kestrune {
namespace {

std::wstring DwordText(const unsigned char* data, size_t size) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4 && i < size; ++i) value |= static_cast<uint32_t>(data[i]) << (8 * i);
  return std::to_wstring(value);
}

std::wstring Utf16Text(const unsigned char* data, size_t size) {
  std::wstring text;
  text.reserve(size / 2);
  for (size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
  }
  while (!text.empty() && text.back() == L'\0') text.pop_back();
  return text;
}

}  // namespace

RegistryRoot RegistryRootOfPath(const std::wstring& path) {
  const size_t slash = path.find(L'\\');
  if (slash == std::wstring::npos) return RegistryRoot::None;
  const std::wstring name = path.substr(0, slash);
  const struct {
    const wchar_t* shortName;
    const wchar_t* longName;
    RegistryRoot root;
  } roots[] = {
      {L"HKLM", L"HKEY_LOCAL_MACHINE", RegistryRoot::LocalMachine},
      {L"HKCU", L"HKEY_CURRENT_USER", RegistryRoot::CurrentUser},
      {L"HKCR", L"HKEY_CLASSES_ROOT", RegistryRoot::ClassesRoot},
      {L"HKCC", L"HKEY_CURRENT_CONFIG", RegistryRoot::CurrentConfig},
  };
  for (const auto& r : roots) {
    if (EqualsIgnoringCase(name, r.shortName) || EqualsIgnoringCase(name, r.longName)) {
      return r.root;
    }
  }
  return RegistryRoot::Users;
}

std::wstring RegistrySubkeyOfPath(const std::wstring& path) {
  const size_t slash = path.find(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool RegistryValueToText(uint32_t type, const unsigned char* data, size_t size,
                         std::wstring& text) {
  text.clear();
  switch (type) {
    case kRegistryString:
    case kRegistryExpandString:
    case kRegistryMultiString:
      text = Utf16Text(data, size);
      return true;
    case kRegistryDword:
      text = DwordText(data, size);
      return true;
    default:
      return false;
  }
}

}  // namespace kestrune
