#include "platform/url_text.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(PercentDecode, TwoHexDigitsGiveOneCharacter) {
  const struct {
    std::wstring text;
    std::wstring decoded;
  } cases[] = {
      {L"u%41", L"uA"},
      {L"p%2f%2F", L"p//"},
      {L"%7e%7E", L"~~"},
      {L"%C3%A9", L"\x00C3\x00A9"},  // bytes stay separate characters
      {L"%", L"%"},
      {L"a%4", L"a%4"},
      {L"%4g", L"%4g"},
      {L"%%41", L"%A"},
      {L"%2541", L"%41"},
      {L"100%", L"100%"},
      {L"%00x", std::wstring(L"\0x", 2)},
      {L"", L""},
      {L"plain", L"plain"},
  };
  for (const auto& c : cases) EXPECT_EQ(PercentDecode(c.text), c.decoded) << c.text;
}

TEST(ServerOfNetworkPath, TextBetweenTheLeadingBackslashesAndTheNextOne) {
  EXPECT_EQ(ServerOfNetworkPath(L"\\\\server\\share\\a.exe"), L"server");
  EXPECT_EQ(ServerOfNetworkPath(L"\\\\server"), L"server");
  EXPECT_EQ(ServerOfNetworkPath(L"\\\\"), L"");
  EXPECT_EQ(ServerOfNetworkPath(L"\\\\?\\C:\\a.exe"), L"");
  EXPECT_EQ(ServerOfNetworkPath(L"C:\\pkg\\a.exe"), L"");
  EXPECT_EQ(ServerOfNetworkPath(L"\\pkg\\a.exe"), L"");
  EXPECT_EQ(ServerOfNetworkPath(L"/pkg/a.exe"), L"");
}

}  // namespace
}  // namespace kestrune
