#include "detect/search_compare.h"

namespace kestrune {
namespace {

bool AllDigits(const std::wstring& text) {
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return false;
  }
  return true;
}

// Compares two digit-only texts as numbers of any length: negative, 0 or positive.
int CompareDecimal(const std::wstring& a, const std::wstring& b) {
  const size_t aStart = a.find_first_not_of(L'0');
  const size_t bStart = b.find_first_not_of(L'0');
  const std::wstring aDigits = aStart == std::wstring::npos ? L"" : a.substr(aStart);
  const std::wstring bDigits = bStart == std::wstring::npos ? L"" : b.substr(bStart);
  if (aDigits.size() != bDigits.size()) return aDigits.size() < bDigits.size() ? -1 : 1;
  return aDigits.compare(bDigits);
}

}  // namespace

bool CompareByOperator(const std::wstring& reference, const std::wstring& value, wchar_t letter) {
  switch (letter) {
    case L'M': return value == reference;
    case L'D': return value != reference;
    case L'C': return value.find(reference) != std::wstring::npos;
    case L'X': return value.find(reference) == std::wstring::npos;
    case L'S': return value.compare(0, reference.size(), reference) == 0;
    case L'E':
      return value.size() >= reference.size() &&
             value.compare(value.size() - reference.size(), reference.size(), reference) == 0;
    case L'G':
      return AllDigits(reference) && AllDigits(value) && CompareDecimal(value, reference) > 0;
    case L'L':
      return AllDigits(reference) && AllDigits(value) && CompareDecimal(value, reference) < 0;
    default: return false;
  }
}

}  // namespace kestrune
