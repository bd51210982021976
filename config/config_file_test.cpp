#include "config/config_file.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(ConfigFile, PathBesideTheExecutable) {
  EXPECT_EQ(ConfigPathForModule(L"C:\\Pkg\\setup.exe"), L"C:\\Pkg\\setup.ini");
  EXPECT_EQ(ConfigPathForModule(L"C:\\Pkg\\a.b.exe"), L"C:\\Pkg\\a.b.ini");
  EXPECT_EQ(ConfigPathForModule(L"C:\\P.kg\\setup"), L"C:\\P.kg\\setup.ini");
  EXPECT_EQ(ConfigPathForModule(L"setup.exe"), L"setup.ini");
}

TEST(ConfigFile, TextIsLittleEndianUtf16) {
  EXPECT_EQ(ConfigTextFromBytes({}), L"");
  EXPECT_EQ(ConfigTextFromBytes({'[', 0, 'A', 0, ']', 0}), L"[A]");
  EXPECT_EQ(ConfigTextFromBytes({0xFF, 0xFE, 'x', 0}), L"\xFEFFx");  // a second mark stays
  EXPECT_EQ(ConfigTextFromBytes({0xAC, 0x20, 'x'}), L"\x20AC");     // odd byte ignored
}

}  // namespace
}  // namespace kestrune
