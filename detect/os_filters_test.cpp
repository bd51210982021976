#include "detect/os_filters.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "detect/os_names.h"
#include "detect/os_version.h"
#include "log/logger.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

// Asks IsOsAllowed with `own` as the list of the running architecture and `other` as the other.
bool AllowedWithLists(const std::wstring& own, const std::wstring& other) {
  return GetOsVersionInfo().isWow64 ? IsOsAllowed(other, own) : IsOsAllowed(own, other);
}

TEST(IsOsAllowed, RunningSystemIsExcludedByEitherOfItsNames) {
  const OsVersionInfo& os = GetOsVersionInfo();
  const OsNames names = NamesOfOs(os);
  ASSERT_NE(names.detailed, kOsNotIdentified) << "the test system should be identified";
  const std::wstring marker = os.isWow64 ? kAllX64VersionsMarker : kAllX86VersionsMarker;

  EXPECT_TRUE(AllowedWithLists(L"", L""));
  EXPECT_FALSE(AllowedWithLists(names.generic, L""));
  EXPECT_FALSE(AllowedWithLists(L"Windows XP x86, " + names.detailed, L""));
  EXPECT_FALSE(AllowedWithLists(marker, L""));
  EXPECT_TRUE(AllowedWithLists(L"OsNotIdentified", L""));
  EXPECT_TRUE(AllowedWithLists(L"", names.generic + L", " + names.detailed + L", " + marker))
      << "the other architecture's list is not consulted";
}

TEST(IsLanguageAllowed, SystemDefaultLanguage) {
  const LANGID own = ::GetSystemDefaultLangID();
  const std::wstring ownText = std::to_wstring(own);
  const std::wstring otherText = std::to_wstring(own == 1031 ? 1033 : 1031);

  EXPECT_TRUE(IsLanguageAllowed(L""));
  EXPECT_TRUE(IsLanguageAllowed(ownText));
  EXPECT_TRUE(IsLanguageAllowed(ownText + L";"));
  EXPECT_TRUE(IsLanguageAllowed(otherText + L";" + ownText + L";"));
  EXPECT_TRUE(IsLanguageAllowed(std::to_wstring(own + 65536)));
  EXPECT_FALSE(IsLanguageAllowed(otherText));
  EXPECT_FALSE(IsLanguageAllowed(otherText + L";;"));
}

TEST(IsLanguageAllowed, LogsTheSystemLanguageOnlyForAList) {
  testing::LogCapture log;
  IsLanguageAllowed(L"");
  EXPECT_TRUE(log.Messages().empty());
  IsLanguageAllowed(L"1031;1033");
  const std::vector<std::wstring> expected = {SystemLanguageLine(::GetSystemDefaultLangID())};
  EXPECT_EQ(log.Messages(), expected);
}

TEST(SystemLanguageLine, IdentifierAndDisplayName) {
  const LANGID own = ::GetSystemDefaultLangID();
  const std::wstring start = L"SystemDefault LangID=" + std::to_wstring(own) + L"-";
  const std::wstring line = SystemLanguageLine(own);
  ASSERT_EQ(line.compare(0, start.size(), start), 0) << line.c_str();
  EXPECT_GT(line.size(), start.size()) << "the language has a name";

  // The names are in the system's display language.
  if (PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_ENGLISH) {
    EXPECT_EQ(SystemLanguageLine(1033), L"SystemDefault LangID=1033-English (United States)");
    EXPECT_EQ(SystemLanguageLine(1031), L"SystemDefault LangID=1031-German (Germany)");
  }
}

}  // namespace
}  // namespace kestrune
