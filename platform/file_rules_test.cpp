#include "platform/file_rules.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

std::wstring DrivePathOfLength(size_t length) {
  std::wstring path = L"C:\\";
  while (path.size() < length) path += L'a';
  return path;
}

TEST(PathFormError, EmptyThenShortOrWithoutDriveColon) {
  const struct {
    const wchar_t* path;
    uint32_t error;
  } cases[] = {
      {L"", 87},
      {L"C", 3},
      {L"\\", 3},
      {L"ab", 3},
      {L"pkg\\a.exe", 3},
      {L"/C:/a", 3},
      {L"C:", 0},
      {L"C:\\pkg\\a.exe", 0},
      {L"c:relative", 0},
      {L"\\\\", 0},
      {L"\\\\server\\share\\a.exe", 0},
      {L"\\\\?\\C:\\a.exe", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(PathFormError(c.path), c.error) << c.path;
}

TEST(IsUncPath, ServerPathsAndTheirLongForm) {
  EXPECT_TRUE(IsUncPath(L"\\\\server\\share"));
  EXPECT_TRUE(IsUncPath(L"\\\\?\\UNC\\server\\share"));
  EXPECT_TRUE(IsUncPath(L"\\\\.\\C:\\x"));
  EXPECT_FALSE(IsUncPath(L"\\\\?\\C:\\x"));
  EXPECT_FALSE(IsUncPath(L"C:\\x"));
  EXPECT_FALSE(IsUncPath(L"\\x"));
  EXPECT_FALSE(IsUncPath(L""));
}

TEST(LongPathForCall, PrefixFrom260Characters) {
  const std::wstring at259 = DrivePathOfLength(259);
  const std::wstring at260 = DrivePathOfLength(260);
  EXPECT_EQ(LongPathForCall(at259), at259);
  EXPECT_EQ(LongPathForCall(at260), L"\\\\?\\" + at260);
  const std::wstring prefixed = L"\\\\?\\" + at260;
  EXPECT_EQ(LongPathForCall(prefixed), prefixed);

  // A network path needs the UNC long form; "\\?\" before its two backslashes names nothing.
  std::wstring unc = L"\\\\server\\share\\";
  while (unc.size() < 260) unc += L'b';
  EXPECT_EQ(LongPathForCall(unc), L"\\\\?\\UNC\\" + unc.substr(2));
  const std::wstring relative(300, L'r');
  EXPECT_EQ(LongPathForCall(relative), relative);
}

struct LevelsCase {
  const wchar_t* path;
  bool includeLast;
  std::vector<std::wstring> levels;
};

TEST(FolderLevels, FromTheSecondComponentOn) {
  const LevelsCase cases[] = {
      {L"C:\\a\\b\\file.txt", false, {L"C:\\a", L"C:\\a\\b"}},
      {L"C:\\a\\b\\c", true, {L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c"}},
      {L"C:\\a\\b\\c\\", true, {L"C:\\a", L"C:\\a\\b", L"C:\\a\\b\\c"}},
      {L"C:\\file.txt", false, {}},
      {L"C:", true, {}},
      {L"", true, {}},
      {L"\\\\server\\share\\d\\f", false, {L"\\\\server\\share", L"\\\\server\\share\\d"}},
      {L"\\\\?\\C:\\a\\b", true, {L"\\\\?\\C:\\a", L"\\\\?\\C:\\a\\b"}},
      {L"\\\\?\\UNC\\srv\\share\\a", true,
       {L"\\\\?\\UNC\\srv\\share", L"\\\\?\\UNC\\srv\\share\\a"}},
      {L"C:\\a\\\\b", true, {L"C:\\a", L"C:\\a\\", L"C:\\a\\\\b"}},
  };
  for (const LevelsCase& c : cases) {
    EXPECT_EQ(FolderLevels(c.path, c.includeLast), c.levels) << c.path << " " << c.includeLast;
  }
}

struct WalkCase {
  const wchar_t* path;
  const wchar_t* base;
  std::vector<std::wstring> folders;
};

TEST(EmptyFolderWalk, UpwardsWhileBelowTheBase) {
  const WalkCase cases[] = {
      {L"C:\\pkg\\a\\b", L"C:\\pkg", {L"C:\\pkg\\a\\b", L"C:\\pkg\\a"}},
      {L"C:\\pkg\\a\\b", L"C:\\pkg\\", {L"C:\\pkg\\a\\b", L"C:\\pkg\\a"}},
      {L"C:\\pkg\\a\\b\\", L"C:\\pkg", {L"C:\\pkg\\a\\b", L"C:\\pkg\\a"}},
      {L"C:\\PKG\\a", L"c:\\pkg", {L"C:\\PKG\\a"}},
      {L"C:\\pkg", L"C:\\pkg", {}},
      {L"C:\\pkg", L"C:\\pkg\\a", {}},
      // Only folders below the base: a sibling that merely shares its first letters is not one,
      // nor is a path elsewhere of greater length.
      {L"C:\\pkg2\\a", L"C:\\pkg", {}},
      {L"D:\\other\\deep\\folder", L"C:\\pkg", {}},
      {L"C:\\pkg\\a", L"", {}},
      {L"C:\\a\\b", L"C:\\", {L"C:\\a\\b", L"C:\\a"}},
  };
  for (const WalkCase& c : cases) {
    EXPECT_EQ(EmptyFolderWalk(c.path, c.base), c.folders) << c.path << " base " << c.base;
  }
}

TEST(TempFileFinalName, ExtensionWithOrWithoutDot) {
  const std::wstring temp = L"C:\\Temp\\EXE1A2B.tmp";
  EXPECT_EQ(TempFileFinalName(temp, L".bat"), L"C:\\Temp\\EXE1A2B.bat");
  EXPECT_EQ(TempFileFinalName(temp, L"url"), L"C:\\Temp\\EXE1A2B.url");
  EXPECT_EQ(TempFileFinalName(temp, L""), temp);
  EXPECT_EQ(TempFileFinalName(temp, L"."), temp);
  EXPECT_EQ(TempFileFinalName(L"C:\\Te.mp\\URL1", L".url"), L"C:\\Te.mp\\URL1.url");
}

}  // namespace
}  // namespace kestrune
