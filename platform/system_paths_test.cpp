#include "platform/system_paths.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include "tests/test_support.h"

namespace kestrune {
namespace {

TEST(SystemPaths, TemporaryFolderEndsWithBackslashAndExists) {
  const std::wstring temp = TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), L'\\');
  EXPECT_TRUE(testing::IsFolder(temp));
}

TEST(SystemPaths, ModulePathIsThisProgram) {
  const std::wstring path = ModulePath();
  EXPECT_EQ(path.substr(path.size() - 15), L"\\unit_tests.exe");
}

TEST(SystemPaths, CommonAppDataIsTheShellFolder) {
  wchar_t expected[MAX_PATH] = {};
  ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, expected, CSIDL_COMMON_APPDATA, FALSE));
  EXPECT_EQ(CommonAppDataFolder(), expected);
  EXPECT_TRUE(testing::IsFolder(expected));
}

TEST(SystemPaths, AnsiTextConvertsToUtf16) {
  EXPECT_EQ(MultiByteToWide("abc"), L"abc");
  EXPECT_EQ(MultiByteToWide(""), L"");
  EXPECT_EQ(MultiByteToWide("\xC3\xA9", CP_UTF8), L"\x00E9");
}

TEST(SystemPaths, Utf16ConvertsToAnsiAndUtf8) {
  EXPECT_EQ(WideToMultiByte(L"C:\\PKG~1\\a.exe"), "C:\\PKG~1\\a.exe");
  EXPECT_EQ(WideToMultiByte(L""), "");
  EXPECT_EQ(WideToMultiByte(L"\x00E9", CP_UTF8), "\xC3\xA9");
  EXPECT_EQ(MultiByteToWide(WideToMultiByte(L"\x00E9x", 1252), 1252), L"\x00E9x");
}

}  // namespace
}  // namespace kestrune
