#include "detect/version_number.h"

#include <gtest/gtest.h>

#include <ostream>

namespace kestrune {

// Readable failure messages for the tables below.
void PrintTo(const VersionNumber& v, std::ostream* os) {
  *os << v.groups[0] << "." << v.groups[1] << "." << v.groups[2] << "." << v.groups[3];
}

namespace {

VersionNumber V(int32_t a, int32_t b = 0, int32_t c = 0, int32_t d = 0) {
  VersionNumber v;
  v.groups[0] = a;
  v.groups[1] = b;
  v.groups[2] = c;
  v.groups[3] = d;
  return v;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

struct ParseCase {
  const wchar_t* text;
  bool valid;
  VersionNumber expected;
};

TEST(ParseVersion, ReadsDigitRunsAsGroups) {
  const ParseCase cases[] = {
      {L"", false, V(0)},
      {L"Setup", false, V(0)},
      {L"...", false, V(0)},
      {L"1.2.3.4", true, V(1, 2, 3, 4)},
      {L"1.2", true, V(1, 2)},
      {L"7", true, V(7)},
      {L"0", true, V(0)},             // holds a version, although it reads as all zero
      {L"0.0.0.0", true, V(0)},
      {L"V10-beta3", true, V(10, 3)},
      {L"4.0.30319.17929.5", true, V(4, 0, 30319, 17929)},   // a fifth group is ignored
      {L"1.2.3.4.99999999999", true, V(1, 2, 3, 4)},          // ignored even when oversized
      {L"  v1 , 2-3 x4 y", true, V(1, 2, 3, 4)},              // any non-digit separates
      {L"1..2", true, V(1, 2)},                               // runs of separators count once
      {L"1.2.", true, V(1, 2)},
      {L"007.010", true, V(7, 10)},
      {L"65535.65535.65535.65535", true, V(65535, 65535, 65535, 65535)},
      {L"2147483647.1", true, V(2147483647, 1)},
      {L"00000000002147483647", true, V(2147483647)},         // leading zeros do not overflow
      {L"2147483648", false, V(0)},
      {L"1.2.3.2147483648", false, V(0)},                     // one bad group spoils the text
      {L"1.99999999999999999999", false, V(0)},
      {L"-5.3", true, V(5, 3)},                               // "-" is a separator, not a sign
      {L"\x0661.\x0662", false, V(0)},                        // non-ASCII digits are not digits
      {L"\xFF11.2", true, V(2)},                              // fullwidth "1" is a separator
  };
  for (const ParseCase& c : cases) {
    VersionNumber version = V(9, 9, 9, 9);   // must be overwritten in every case
    EXPECT_EQ(ParseVersion(c.text, version), c.valid) << "text: [" << Narrow(c.text) << "]";
    EXPECT_EQ(version, c.expected) << "text: [" << Narrow(c.text) << "]";
  }
}

struct FormatCase {
  VersionNumber version;
  const wchar_t* expected;
};

TEST(FormatVersion, WritesUpToTheLastSignificantGroupButAtLeastTwo) {
  const FormatCase cases[] = {
      {V(1, 2, 3, 4), L"1.2.3.4"},
      {V(1, 2), L"1.2"},
      {V(5), L"5.0"},
      {V(3), L"3.0"},
      {V(0, 5), L"0.5"},
      {V(1, 0, 0, 2), L"1.0.0.2"},
      {V(1, 65535, 0, 2), L"1.65535.0.2"},   // kept before a significant group
      {V(1, 2, 65535, 65535), L"1.2"},        // 65535 at the end counts as nothing
      {V(1, 65535), L"1.65535"},              // the second group is always written
      {V(0), L"0.0.0.0"},
      {V(65535, 65535, 65535, 65535), L"0.0.0.0"},
      {V(65535, 0, 65535, 0), L"0.0.0.0"},
      {V(2147483647, 0, 0, 1), L"2147483647.0.0.1"},
      {V(-1, -2), L"-1.-2"},                  // signed decimal, should a caller build one
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(FormatVersion(c.version), c.expected);
  }
}

struct CompareCase {
  const wchar_t* a;
  const wchar_t* b;
  int expected;   // sign of the comparison
};

int Sign(int value) { return (value > 0) - (value < 0); }

TEST(CompareVersions, ComparesGroupsFromTheMostSignificant) {
  const CompareCase cases[] = {
      {L"1.2", L"1.2.0.0", 0},
      {L"1.10", L"1.9", 1},
      {L"1.9.9.9", L"2", -1},
      {L"2.0.0.1", L"2", 1},
      {L"1.2.3.4", L"1.2.3.5", -1},
      {L"", L"0.0.0.0", 0},
      {L"Setup", L"0.0.0.1", -1},
      {L"2147483647", L"65535.65535.65535.65535", 1},
  };
  for (const CompareCase& c : cases) {
    VersionNumber a;
    VersionNumber b;
    ParseVersion(c.a, a);
    ParseVersion(c.b, b);
    const std::string label = Narrow(c.a) + " vs " + Narrow(c.b);
    EXPECT_EQ(Sign(CompareVersions(a, b)), c.expected) << label;
    EXPECT_EQ(Sign(CompareVersions(b, a)), -c.expected) << label;
    EXPECT_EQ(a == b, c.expected == 0) << label;
    EXPECT_EQ(a != b, c.expected != 0) << label;
    EXPECT_EQ(a < b, c.expected < 0) << label;
    EXPECT_EQ(a > b, c.expected > 0) << label;
    EXPECT_EQ(a <= b, c.expected <= 0) << label;
    EXPECT_EQ(a >= b, c.expected >= 0) << label;
  }
}

TEST(CompareVersions, TreatsGroupsAsSigned) {
  EXPECT_LT(CompareVersions(V(-1), V(0)), 0);
  EXPECT_GT(CompareVersions(V(1, 0), V(1, -5)), 0);
}

struct ListCase {
  std::vector<std::wstring> texts;
  const wchar_t* verMin;
  const wchar_t* verMax;
  bool expected;
};

TEST(VersionListMatches, DecidesCollectingSearches) {
  const ListCase cases[] = {
      {{}, L"", L"", false},                       // nothing collected
      {{}, L"1.0", L"", false},
      {{L"Setup"}, L"", L"", true},                // no bounds: anything collected counts
      {{L""}, L"0.0.0.0", L"0", true},             // all-zero bounds are no bounds
      {{L"junk"}, L"bogus", L"x.y", true},         // unreadable bounds are no bounds
      {{L"4.5"}, L"2147483648", L"", true},        // an oversized bound is unreadable
      {{L"4.0"}, L"4.0", L"", true},               // lower bound is inclusive
      {{L"3.9.9.9"}, L"4.0", L"", false},
      {{L"5.0"}, L"", L"5.0.0.0", true},           // upper bound is inclusive
      {{L"5.0.0.1"}, L"", L"5.0", false},
      {{L"4.5"}, L"4.0", L"5.0", true},
      {{L"V4.0.30319"}, L"4.0", L"", true},        // letters are skipped
      {{L"Setup"}, L"4.0", L"", false},
      {{L"Setup"}, L"", L"9.0", false},            // unreadable text never lies in a range
      {{L"0.0.0.0"}, L"", L"9.0", false},          // nor does an all-zero one
      {{L"Setup", L"1.0", L"6.0"}, L"2.0", L"5.0", false},
      {{L"1.0", L"6.0", L"4.2"}, L"2.0", L"5.0", true},   // any text in the list may match
      {{L"65535.65535.65535.65535"}, L"", L"65535.65535.65535.65535", true},
      {{L"70000"}, L"", L"65535.65535.65535.65535", false},   // a real upper bound here
  };
  for (const ListCase& c : cases) {
    std::string label = "min [" + Narrow(c.verMin) + "] max [" + Narrow(c.verMax) + "] texts";
    for (const std::wstring& t : c.texts) label += " [" + Narrow(t) + "]";
    EXPECT_EQ(VersionListMatches(c.texts, c.verMin, c.verMax), c.expected) << label;
  }
}

struct RangeCase {
  const wchar_t* verMin;
  const wchar_t* verMax;
  VersionNumber version;
  bool expected;
};

TEST(VersionInRange, DecidesWhereTheFileWalkStops) {
  const RangeCase cases[] = {
      {L"", L"", V(0), true},                          // an all-zero version is not skipped
      {L"", L"", V(3, 1), true},
      {L"1.0", L"", V(0), false},
      {L"1.0", L"", V(1), true},
      {L"1.0", L"", V(0, 9), false},
      {L"", L"2.0", V(2), true},
      {L"", L"2.0", V(2, 0, 0, 1), false},
      {L"1.0", L"2.0", V(1, 5), true},
      {L"65535.65535.65535.65535", L"", V(0), true},   // all 65535: no lower bound either
      {L"", L"65535.65535.65535.65535", V(70000), true},   // stops at any version
      {L"", L"65535.65535.65535.65535", V(2147483647, 1), true},
      {L"", L"65535.65535", V(70000), false},          // unequal groups: a real bound
      {L"65535", L"", V(100), false},                  // 65535.0.0.0 is a real lower bound
      {L"Setup", L"junk", V(5), true},
  };
  for (const RangeCase& c : cases) {
    const SearchRange range = MakeSearchRange(c.verMin, c.verMax);
    EXPECT_EQ(VersionInRange(range, c.version), c.expected)
        << "min [" << Narrow(c.verMin) << "] max [" << Narrow(c.verMax) << "] version "
        << ::testing::PrintToString(c.version);
  }
}

TEST(MakeSearchRange, ParsesBothBounds) {
  const SearchRange range = MakeSearchRange(L"v1.2", L"bad");
  EXPECT_EQ(range.verMin, V(1, 2));
  EXPECT_EQ(range.verMax, V(0));
}

}  // namespace
}  // namespace kestrune
