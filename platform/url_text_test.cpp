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
  const struct {
    const wchar_t* path;
    bool network;
    const wchar_t* server;
  } cases[] = {
      {L"\\\\server\\share\\a.exe", true, L"server"},
      {L"\\\\server", true, L"server"},
      {L"\\\\", true, L""},
      {L"\\\\\\share", true, L""},
      {L"\\\\?\\C:\\a.exe", false, L"unchanged"},
      {L"C:\\pkg\\a.exe", false, L"unchanged"},
      {L"\\pkg\\a.exe", false, L"unchanged"},
      {L"/pkg/a.exe", false, L"unchanged"},
  };
  for (const auto& c : cases) {
    std::wstring server = L"unchanged";
    EXPECT_EQ(ServerOfNetworkPath(c.path, server), c.network) << c.path;
    EXPECT_EQ(server, c.server) << c.path;
  }
}

}  // namespace
}  // namespace kestrune
