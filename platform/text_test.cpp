#include "platform/text.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

struct DecimalCase {
  const wchar_t* text;
  int32_t expected;
};

TEST(ParseDecimal, ReadsConfigurationNumbers) {
  const DecimalCase cases[] = {
      {L"", 0},
      {L"0", 0},
      {L"42", 42},
      {L"  12abc", 12},       // spaces skipped, digits up to the first other character
      {L"-+5", -5},           // "-" then "+" in that order
      {L"+-5", 0},            // "+" before "-": the "-" is not a digit
      {L"--5", 0},
      {L"++5", 0},
      {L"-", 0},
      {L"abc", 0},
      {L"\t7", 0},            // only U+0020 is skipped
      {L" - 7", 0},           // no space allowed after the sign
      {L"007", 7},
      {L"2147483647", 2147483647},
      {L"2147483648", INT32_MIN},   // wraps without error
      {L"4294967295", -1},
      {L"4294967296", 0},
      {L"-2147483648", INT32_MIN},
      {L"99999999999", 1215752191},  // 99999999999 mod 2^32
      {L"12 34", 12},
      {L"\x0663", 0},        // a non-ASCII digit is not a digit here
  };
  for (const DecimalCase& c : cases) {
    EXPECT_EQ(ParseDecimal(c.text), c.expected) << "text: [" << c.text << "]";
  }
}

struct SplitCase {
  const wchar_t* text;
  const wchar_t* separator;
  std::vector<std::wstring> expected;
};

TEST(SplitText, KeepsInnerEmptyPiecesAndDropsTrailingOne) {
  const SplitCase cases[] = {
      {L"", L"\r\n", {}},
      {L"a", L"\r\n", {L"a"}},
      {L"a\r\nb", L"\r\n", {L"a", L"b"}},
      {L"a\r\n", L"\r\n", {L"a"}},
      {L"a\r\n\r\n", L"\r\n", {L"a", L""}},
      {L"\r\n", L"\r\n", {L""}},
      {L"\r\na", L"\r\n", {L"", L"a"}},
      {L"a\r\n\r\nb", L"\r\n", {L"a", L"", L"b"}},
      {L"a\nb\rc", L"\r\n", {L"a\nb\rc"}},   // lone LF and CR are not separators
      {L"a\r\r\nb", L"\r\n", {L"a\r", L"b"}},
      {L"Windows XP x86, Windows 7 x64", L", ", {L"Windows XP x86", L"Windows 7 x64"}},
      {L"x,y", L", ", {L"x,y"}},
      {L"a\\b\\", L"\\", {L"a", L"b"}},
      {L"abc", L"", {L"abc"}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitText(c.text, c.separator), c.expected) << "text: [" << c.text << "]";
  }
}

TEST(TextHelpers, LettersAreCaseSensitive) {
  EXPECT_TRUE(HasLetter(L"bq", L'q'));
  EXPECT_FALSE(HasLetter(L"Q", L'q'));
  EXPECT_FALSE(HasLetter(L"", L'q'));
  EXPECT_TRUE(StartsWith(L"C:\\pkg\\a", L"C:\\pkg"));
  EXPECT_TRUE(StartsWith(L"C:\\pkg", L""));
  EXPECT_FALSE(StartsWith(L"C:", L"C:\\pkg"));
  EXPECT_FALSE(StartsWith(L"c:\\pkg", L"C:\\pkg"));
}

TEST(TextHelpers, IgnoringCaseFoldsOnlyAsciiLetters) {
  EXPECT_TRUE(EqualsIgnoringCase(L"HKEY_Local_Machine", L"hkey_local_MACHINE"));
  EXPECT_TRUE(EqualsIgnoringCase(L"", L""));
  EXPECT_FALSE(EqualsIgnoringCase(L"HKLM", L"HKLMX"));
  EXPECT_FALSE(EqualsIgnoringCase(L"[", L"{"));  // 0x5B and 0x7B are not letters
  EXPECT_FALSE(EqualsIgnoringCase(L"\x00E9", L"\x00C9"));
  EXPECT_TRUE(StartsWithIgnoringCase(L"C:\\PKG\\a", L"c:\\pkg"));
  EXPECT_TRUE(StartsWithIgnoringCase(L"abc", L""));
  EXPECT_FALSE(StartsWithIgnoringCase(L"c:", L"C:\\pkg"));
  EXPECT_FALSE(StartsWithIgnoringCase(L"C:\\pkh", L"C:\\pkg"));
}

TEST(TextHelpers, TrimSpacesRemovesWhiteSpaceAtBothEnds) {
  EXPECT_EQ(TrimSpaces(L" \t\r\n\v\fq \t"), L"q");
  EXPECT_EQ(TrimSpaces(L"a b"), L"a b");
  EXPECT_EQ(TrimSpaces(L"   "), L"");
  EXPECT_EQ(TrimSpaces(L""), L"");
}

TEST(FormatWithText, FormatsOneTextArgument) {
  const struct {
    const wchar_t* format;
    const wchar_t* argument;
    const wchar_t* text;
  } cases[] = {
      {L"Downloading %s", L"Runtime 4.8", L"Downloading Runtime 4.8"},
      {L"%s Setup", L"", L" Setup"},
      {L"100%% of %s", L"x", L"100% of x"},
      {L"%s and %s", L"a", L"a and %s"},     // one argument only
      {L"%d %s", L"a", L"%d a"},             // other conversions stay
      {L"ends in %", L"a", L"ends in %"},
      {L"no argument", L"a", L"no argument"},
      {L"%s", L"50%s", L"50%s"},             // the argument is not formatted again
  };
  for (const auto& c : cases) EXPECT_EQ(FormatWithText(c.format, c.argument), c.text) << c.format;
}

}  // namespace
}  // namespace kestrune
