#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

std::wstring DrivePathOfLength(size_t length) {
  std::wstring path = L"C:\\";
  while (path.size() < length) path += L'a';
  return path;
}

TEST(LongPathPrefix, AddsPrefixOnlyBeyond247Characters) {
  const std::wstring at248 = DrivePathOfLength(248);
  const std::wstring at247 = DrivePathOfLength(247);
  EXPECT_EQ(AddLongPathPrefix(at248), L"\\\\?\\" + at248);
  EXPECT_EQ(AddLongPathPrefix(at247), at247);

  std::wstring unc = L"\\\\server\\share\\";
  while (unc.size() < 300) unc += L'b';
  EXPECT_EQ(AddLongPathPrefix(unc), L"\\\\?\\UNC\\" + unc.substr(2));

  const std::wstring prefixed = L"\\\\?\\" + at248;
  EXPECT_EQ(AddLongPathPrefix(prefixed), prefixed);
  const std::wstring relative(300, L'r');
  EXPECT_EQ(AddLongPathPrefix(relative), relative);
}

TEST(LongPathPrefix, RemoveUndoesAddForBothForms) {
  const std::wstring drive = DrivePathOfLength(260);
  std::wstring unc = L"\\\\server\\share\\";
  while (unc.size() < 300) unc += L'b';
  for (const std::wstring& path : {drive, unc}) {
    EXPECT_EQ(RemoveLongPathPrefix(AddLongPathPrefix(path)), path);
  }
  EXPECT_EQ(RemoveLongPathPrefix(L"C:\\a"), L"C:\\a");
}

struct SplitPathCase {
  const wchar_t* path;
  std::vector<std::wstring> components;
  const wchar_t* normalized;
};

TEST(SplitPath, ComponentsAndNormalizedForm) {
  const SplitPathCase cases[] = {
      {L"\\\\?\\UNC\\srv\\share\\a\\b", {L"\\\\?\\UNC\\srv", L"share", L"a", L"b"},
       L"\\\\?\\UNC\\srv\\share\\a\\b"},
      {L"C:\\a\\\\b\\", {L"C:", L"a", L"", L"b"}, L"C:\\a\\\\b"},
      {L"\\\\?\\C:\\x", {L"\\\\?\\C:", L"x"}, L"\\\\?\\C:\\x"},
      {L"\\\\server\\share", {L"\\\\server", L"share"}, L"\\\\server\\share"},
      {L"C:\\Program Files. \\App .\\", {L"C:", L"Program Files. ", L"App ."},
       L"C:\\Program Files\\App"},
      {L"[NoSuchFolder]\\App", {L"[NoSuchFolder]", L"App"}, L"[NoSuchFolder]App"},
      {L"C:\\", {L"C:"}, L"C:"},
      {L"C:", {L"C:"}, L"C:"},
      {L"", {}, L""},
      {L"rel\\dir", {L"rel", L"dir"}, L"rel\\dir"},
      {L"C:\\pkg\\..\\redist\\.\\x", {L"C:", L"pkg", L"..", L"redist", L".", L"x"},
       L"C:\\pkg\\..\\redist\\.\\x"},
  };
  for (const SplitPathCase& c : cases) {
    EXPECT_EQ(SplitPath(c.path), c.components) << c.path;
    EXPECT_EQ(NormalizePath(c.path), c.normalized) << c.path;
  }
}

struct PieceCase {
  const wchar_t* path;
  const wchar_t* folder;
  const wchar_t* folderOfFolder;
  const wchar_t* fileName;
  const wchar_t* slashesNormalized;
};

TEST(PathPieces, FolderFileNameAndSlashes) {
  const PieceCase cases[] = {
      {L"C:\\a\\b.exe", L"C:\\a", L"C:\\a", L"b.exe", L"C:\\a\\b.exe"},
      {L"b.exe", L"", L"", L"b.exe", L"b.exe"},
      {L"\\\\server", L"\\", L"", L"server", L"\\\\server"},
      {L"\\\\\\x\\\\", L"\\\\\\x\\", L"\\\\\\x\\", L"", L"\\\\x"},
      {L"\\a\\", L"\\a", L"\\a", L"", L"a"},
      {L"C:\\", L"C:", L"C:", L"", L"C:"},
  };
  for (const PieceCase& c : cases) {
    EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
    EXPECT_EQ(FolderOfFolderPath(c.path), c.folderOfFolder) << c.path;
    EXPECT_EQ(FileNameOfPath(c.path), c.fileName) << c.path;
    EXPECT_EQ(NormalizeSlashes(c.path), c.slashesNormalized) << c.path;
  }
}

TEST(ReplaceExtension, LooksForTheDotInTheFileNameOnly) {
  EXPECT_EQ(ReplaceExtension(L"C:\\Pkg\\setup.exe", L"LOG"), L"C:\\Pkg\\setup.LOG");
  EXPECT_EQ(ReplaceExtension(L"C:\\Pkg\\a.b.exe", L"ini"), L"C:\\Pkg\\a.b.ini");
  EXPECT_EQ(ReplaceExtension(L"C:\\P.kg\\setup", L"LOG"), L"C:\\P.kg\\setup.LOG");
  EXPECT_EQ(ReplaceExtension(L"setup.", L"LOG"), L"setup.LOG");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\a"), L"C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(WithTrailingBackslash(L""), L"");
}

}  // namespace
}  // namespace kestrune
