#include "engine/download_check.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(Md5TextMatches, ComparesTheFirst32CharactersFoldingHexLetters) {
  const std::wstring digest = L"900150983cd24fb0d6963f7d28e17f72";
  const struct {
    const char* what;
    const wchar_t* expected;
    bool matches;
  } cases[] = {
      {"same text", L"900150983cd24fb0d6963f7d28e17f72", true},
      {"upper-case hex letters", L"900150983CD24FB0D6963F7D28E17F72", true},
      {"mixed case", L"900150983cD24fB0d6963F7d28e17f72", true},
      {"40 characters, first 32 right", L"900150983cd24fb0d6963f7d28e17f72deadbeef", true},
      {"anything after the 32nd", L"900150983cd24fb0d6963f7d28e17f72 trailing text", true},
      {"31 characters", L"900150983cd24fb0d6963f7d28e17f7", false},
      {"empty", L"", false},
      {"last character differs", L"900150983cd24fb0d6963f7d28e17f73", false},
      {"first character differs", L"000150983cd24fb0d6963f7d28e17f72", false},
      {"leading space", L" 900150983cd24fb0d6963f7d28e17f72", false},
  };
  for (const auto& c : cases) EXPECT_EQ(Md5TextMatches(digest, c.expected), c.matches) << c.what;
}

TEST(Md5TextMatches, OtherLettersAreNotFolded) {
  // A digest never holds "g", but the rule folds A-F only, so "G" is not "g".
  EXPECT_FALSE(Md5TextMatches(L"g00150983cd24fb0d6963f7d28e17f72",
                              L"G00150983cd24fb0d6963f7d28e17f72"));
  EXPECT_TRUE(Md5TextMatches(L"f00150983cd24fb0d6963f7d28e17f72",
                             L"F00150983cd24fb0d6963f7d28e17f72"));
}

TEST(Md5TextMatches, ADigestOfTheWrongLengthNeverMatches) {
  EXPECT_FALSE(Md5TextMatches(L"", L""));
  EXPECT_FALSE(Md5TextMatches(L"900150983cd24fb0d6963f7d28e17f7",
                              L"900150983cd24fb0d6963f7d28e17f7"));
}

}  // namespace
}  // namespace kestrune
