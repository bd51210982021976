#include "platform/text.h"

#include <cwctype>

namespace kestrune {

int32_t ParseDecimal(const std::wstring& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = false;
  if (i < text.size() && text[i] == L'-') {
    negative = true;
    ++i;
  }
  if (i < text.size() && text[i] == L'+') ++i;
  // Unsigned arithmetic gives the documented wrap-around without undefined behaviour.
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - L'0');
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::vector<std::wstring> SplitText(const std::wstring& text, const std::wstring& separator) {
  std::vector<std::wstring> pieces;
  if (text.empty()) return pieces;
  if (separator.empty()) {
    pieces.push_back(text);
    return pieces;
  }
  size_t start = 0;
  for (;;) {
    const size_t at = text.find(separator, start);
    if (at == std::wstring::npos) break;
    pieces.push_back(text.substr(start, at - start));
    start = at + separator.size();
  }
  if (start < text.size()) pieces.push_back(text.substr(start));
  return pieces;
}

bool HasLetter(const std::wstring& letters, wchar_t letter) {
  return letters.find(letter) != std::wstring::npos;
}

bool StartsWith(const std::wstring& text, const std::wstring& prefix) {
  return text.compare(0, prefix.size(), prefix) == 0;
}

bool EndsWith(const std::wstring& text, wchar_t last) {
  return !text.empty() && text.back() == last;
}

namespace {

wchar_t FoldAsciiCase(wchar_t c) {
  return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool SameIgnoringCase(const wchar_t* a, const wchar_t* b, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

}  // namespace

bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && SameIgnoringCase(a.data(), b.data(), a.size());
}

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() &&
         SameIgnoringCase(text.data(), prefix.data(), prefix.size());
}

std::wstring TrimSpaces(const std::wstring& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(text[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(text[end - 1]))) --end;
  return text.substr(begin, end - begin);
}

std::wstring FormatWithText(const std::wstring& format, const std::wstring& argument) {
  std::wstring text;
  bool argumentUsed = false;
  for (size_t i = 0; i < format.size(); ++i) {
    const wchar_t next = i + 1 < format.size() ? format[i + 1] : L'\0';
    if (format[i] == L'%' && next == L'%') {
      text += L'%';
      ++i;
    } else if (format[i] == L'%' && next == L's' && !argumentUsed) {
      text += argument;
      argumentUsed = true;
      ++i;
    } else {
      text += format[i];
    }
  }
  return text;
}

}  // namespace kestrune
