#include "detect/search_compare.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(CompareByOperator, LetterTable) {
  const struct {
    wchar_t letter;
    const wchar_t* reference;
    const wchar_t* value;
    bool result;
  } cases[] = {
      {L'M', L"1", L"1", true},           {L'M', L"1", L"01", false},
      {L'M', L"abc", L"ABC", false},      {L'M', L"", L"", true},
      {L'D', L"1", L"2", true},           {L'D', L"1", L"1", false},
      {L'C', L"ell", L"hello", true},     {L'C', L"", L"x", true},
      {L'C', L"xyz", L"hello", false},    {L'X', L"xyz", L"hello", true},
      {L'X', L"", L"hello", false},       {L'S', L"he", L"hello", true},
      {L'S', L"lo", L"hello", false},     {L'S', L"hello!", L"hello", false},
      {L'S', L"", L"", true},             {L'E', L"lo", L"hello", true},
      {L'E', L"hello!", L"lo", false},    {L'E', L"", L"x", true},
      {L'G', L"5", L"10", true},          {L'G', L"10", L"5", false},
      {L'G', L"5", L"1.2", false},        // the dot makes it no number
      {L'G', L"5", L"5", false},          {L'G', L"", L"1", true},   // empty counts as 0
      {L'G', L"1", L"", false},           {L'G', L"-1", L"5", false},
      {L'G', L"99999999999999999999", L"100000000000000000000", true},  // no overflow
      {L'G', L"007", L"8", true},         {L'L', L"5", L"4", true},
      {L'L', L"5", L"5", false},          {L'L', L"5", L" 4", false},
      {L'L', L"1", L"", true},            {L'm', L"1", L"1", false},  // upper case only
      {L'Z', L"1", L"1", false},          {L'\0', L"", L"", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CompareByOperator(c.reference, c.value, c.letter), c.result)
        << static_cast<char>(c.letter) << " [" << c.reference << "] [" << c.value << "]";
  }
}

TEST(CompareByOperator, MultiStringValuesKeepTheirSeparators) {
  const std::wstring value(L"first\0second", 12);
  EXPECT_TRUE(CompareByOperator(L"first", value, L'S'));
  EXPECT_TRUE(CompareByOperator(L"second", value, L'E'));
  EXPECT_TRUE(CompareByOperator(L"second", value, L'C'));
  EXPECT_FALSE(CompareByOperator(L"first", value, L'M'));
}

}  // namespace
}  // namespace kestrune
