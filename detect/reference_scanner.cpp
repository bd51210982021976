#include "detect/reference_scanner.h"

namespace kestrune {
namespace {

// Where the search for the closing character starts, counted from the opening one.
size_t CloseSearchOffset(wchar_t opening) {
  if (opening == L'[') return 0;
  if (opening == L'%') return 1;
  return 2;
}

std::wstring Resolve(wchar_t opening, const std::wstring& name, const ReferenceResolver& resolver) {
  std::wstring value;
  if (opening == L'[') {
    return resolver.FolderProperty(name, value) ? value : L"[" + name + L"]";
  }
  const bool resolved = opening == L'%' ? resolver.EnvironmentVariable(name, value)
                                        : resolver.RegistryValue(name, value);
  return resolved ? value : std::wstring();
}

}  // namespace

std::wstring ExpandReferenceText(const std::wstring& text, const ReferenceResolver& resolver) {
  std::wstring result;
  size_t position = 0;
  for (;;) {
    const size_t open = text.find_first_of(L"[%!", position);
    if (open == std::wstring::npos) break;
    result.append(text, position, open - position);
    const wchar_t opening = text[open];
    const wchar_t closing = opening == L'[' ? L']' : opening;
    const size_t close = text.find(closing, open + CloseSearchOffset(opening));
    if (close == std::wstring::npos) {
      position = open;
      break;
    }
    result += Resolve(opening, text.substr(open + 1, close - open - 1), resolver);
    position = close + 1;
  }
  result.append(text, position, std::wstring::npos);
  return result;
}

}  // namespace kestrune
