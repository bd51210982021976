#pragma once
// Version numbers as the searches see them: four signed 32-bit groups read from free-form text,
// written back in a short dotted form, and compared with a prerequisite's bounds. No system
// calls: this file also builds for the host.

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune {

// Four groups, most significant first. Missing groups are 0, so 1.2 equals 1.2.0.0; all four 0
// means "no version".
struct VersionNumber {
  int32_t groups[4] = {0, 0, 0, 0};
};

// The bounds of one search, parsed from its VerMin and VerMax texts.
struct SearchRange {
  VersionNumber verMin;
  VersionNumber verMax;
};

// Reads up to four runs of ASCII digits from `text`; any other characters separate the runs and
// text after the fourth run is ignored. Returns true when the text held a version. Returns false,
// with `version` all zero, when there is no ASCII digit at all or when one of the four runs is
// above 2147483647. `version` is always overwritten.
bool ParseVersion(const std::wstring& text, VersionNumber& version);

// The groups joined by ".", up to the last group that is neither 0 nor 65535 but at least two
// groups ("3.0", "1.2", "1.0.0.2"). A version whose groups are all 0 or 65535 is "0.0.0.0".
std::wstring FormatVersion(const VersionNumber& version);

// Group by group from the most significant, as signed numbers: negative when `a` is lower, 0
// when equal, positive when `a` is higher.
int CompareVersions(const VersionNumber& a, const VersionNumber& b);

bool operator==(const VersionNumber& a, const VersionNumber& b);
bool operator!=(const VersionNumber& a, const VersionNumber& b);
bool operator<(const VersionNumber& a, const VersionNumber& b);
bool operator>(const VersionNumber& a, const VersionNumber& b);
bool operator<=(const VersionNumber& a, const VersionNumber& b);
bool operator>=(const VersionNumber& a, const VersionNumber& b);

// The verdict of a collecting search over what it found. A bound is unset when it parses to all
// zero (empty and unreadable texts included). False for an empty list; true when both bounds are
// unset; otherwise true when one text parses to a non-zero version that is not below a set lower
// bound and not above a set upper bound.
bool VersionListMatches(const std::vector<std::wstring>& texts, const std::wstring& verMin,
                        const std::wstring& verMax);

// `verMin` and `verMax` parsed with ParseVersion (unreadable texts give all zero).
SearchRange MakeSearchRange(const std::wstring& verMin, const std::wstring& verMax);

// Whether a version found by the file walk lies within `range`. Here a bound is unset when its
// four groups are all 0 or all 65535, so 65535.65535.65535.65535 is no upper bound. An all-zero
// `version` is not skipped: it passes when the lower bound is unset.
bool VersionInRange(const SearchRange& range, const VersionNumber& version);

}  // namespace kestrune
