#include "detect/version_number.h"

namespace kestrune {
namespace {

constexpr int kGroupCount = 4;
constexpr int64_t kGroupLimit = 2147483647;

bool IsAsciiDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

size_t SkipToDigit(const std::wstring& text, size_t at) {
  while (at < text.size() && !IsAsciiDigit(text[at])) ++at;
  return at;
}

bool IsZero(const VersionNumber& version) { return version == VersionNumber(); }

// The file walk's notion of an unset bound: four equal groups, all 0 or all 65535.
bool IsOpenBound(const VersionNumber& bound) {
  const int32_t first = bound.groups[0];
  if (first != 0 && first != 65535) return false;
  for (int32_t group : bound.groups) {
    if (group != first) return false;
  }
  return true;
}

}  // namespace

bool ParseVersion(const std::wstring& text, VersionNumber& version) {
  version = VersionNumber();
  size_t at = SkipToDigit(text, 0);
  if (at == text.size()) return false;
  for (int group = 0; group < kGroupCount && at < text.size(); ++group) {
    int64_t value = 0;
    for (; at < text.size() && IsAsciiDigit(text[at]); ++at) {
      value = value * 10 + (text[at] - L'0');
      // One oversized group spoils the whole text: a clipped number would compare wrongly.
      if (value > kGroupLimit) {
        version = VersionNumber();
        return false;
      }
    }
    version.groups[group] = static_cast<int32_t>(value);
    at = SkipToDigit(text, at);
  }
  return true;
}

std::wstring FormatVersion(const VersionNumber& version) {
  int last = kGroupCount - 1;
  while (last >= 0 && (version.groups[last] == 0 || version.groups[last] == 65535)) --last;
  if (last < 0) return L"0.0.0.0";
  const int count = last < 1 ? 2 : last + 1;
  std::wstring text = std::to_wstring(version.groups[0]);
  for (int group = 1; group < count; ++group) {
    text += L'.';
    text += std::to_wstring(version.groups[group]);
  }
  return text;
}

int CompareVersions(const VersionNumber& a, const VersionNumber& b) {
  for (int group = 0; group < kGroupCount; ++group) {
    if (a.groups[group] != b.groups[group]) return a.groups[group] < b.groups[group] ? -1 : 1;
  }
  return 0;
}

bool operator==(const VersionNumber& a, const VersionNumber& b) {
  return CompareVersions(a, b) == 0;
}
bool operator!=(const VersionNumber& a, const VersionNumber& b) {
  return CompareVersions(a, b) != 0;
}
bool operator<(const VersionNumber& a, const VersionNumber& b) {
  return CompareVersions(a, b) < 0;
}
bool operator>(const VersionNumber& a, const VersionNumber& b) {
  return CompareVersions(a, b) > 0;
}
bool operator<=(const VersionNumber& a, const VersionNumber& b) {
  return CompareVersions(a, b) <= 0;
}
bool operator>=(const VersionNumber& a, const VersionNumber& b) {
  return CompareVersions(a, b) >= 0;
}

bool VersionListMatches(const std::vector<std::wstring>& texts, const std::wstring& verMin,
                        const std::wstring& verMax) {
  if (texts.empty()) return false;
  const SearchRange range = MakeSearchRange(verMin, verMax);
  const bool hasMin = !IsZero(range.verMin);
  const bool hasMax = !IsZero(range.verMax);
  // Without bounds the search only asks whether anything was there, readable or not.
  if (!hasMin && !hasMax) return true;
  for (const std::wstring& text : texts) {
    VersionNumber version;
    ParseVersion(text, version);
    if (IsZero(version)) continue;
    if (hasMin && version < range.verMin) continue;
    if (!hasMax || version <= range.verMax) return true;
  }
  return false;
}

SearchRange MakeSearchRange(const std::wstring& verMin, const std::wstring& verMax) {
  SearchRange range;
  ParseVersion(verMin, range.verMin);
  ParseVersion(verMax, range.verMax);
  return range;
}

bool VersionInRange(const SearchRange& range, const VersionNumber& version) {
  if (!IsOpenBound(range.verMin) && version < range.verMin) return false;
  if (!IsOpenBound(range.verMax) && version > range.verMax) return false;
  return true;
}

}  // namespace kestrune
