#include "detect/file_search_plan.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(FileSearchCandidates, BareNamesGoToEveryFixedDriveRoot) {
  const std::vector<std::wstring> roots = {L"C:\\", L"E:\\"};
  const struct {
    const wchar_t* text;
    std::vector<std::wstring> candidates;
  } cases[] = {
      {L"app.exe", {L"C:\\app.exe", L"E:\\app.exe"}},
      {L"app.exe?2", {L"C:\\app.exe?2", L"E:\\app.exe?2"}},
      {L"C:\\App?2", {L"C:\\App?2"}},
      {L"[ProgramFilesFolder]App\\a.exe", {L"[ProgramFilesFolder]App\\a.exe"}},
      {L"%WINDIR%x.exe", {L"%WINDIR%x.exe"}},
      {L"!HKLM\\k\\v!", {L"!HKLM\\k\\v!"}},
      {L"[Odd", {L"C:\\[Odd", L"E:\\[Odd"}},         // only "]" marks a folder property
      {L"?a.exe", {L"C:\\?a.exe", L"E:\\?a.exe"}},          // "?" at index 0 is in the name
      {L"a.exe?1\\sub", {L"C:\\a.exe?1\\sub", L"E:\\a.exe?1\\sub"}},  // backslash after the "?"
  };
  for (const auto& c : cases) EXPECT_EQ(FileSearchCandidates(c.text, roots), c.candidates) << c.text;
  EXPECT_TRUE(FileSearchCandidates(L"app.exe", {}).empty());
}

TEST(SplitSearchDepth, SuffixGivesTheDepth) {
  const struct {
    const wchar_t* candidate;
    const wchar_t* path;
    int depth;
  } cases[] = {
      {L"C:\\App", L"C:\\App", 0},     {L"C:\\App?2", L"C:\\App", 2},
      {L"C:\\App?", L"C:\\App", 0},    {L"C:\\App? 3x", L"C:\\App", 3},
      {L"?x?1", L"?x", 1},             {L"C:\\App?-1", L"C:\\App", -1},
  };
  for (const auto& c : cases) {
    const DepthSplit split = SplitSearchDepth(c.candidate);
    EXPECT_EQ(split.path, c.path) << c.candidate;
    EXPECT_EQ(split.depth, c.depth) << c.candidate;
  }
}

TEST(SplitFolderAndName, AtTheLastBackslash) {
  EXPECT_EQ(SplitFolderAndName(L"C:\\a\\b.dll").folder, L"C:\\a\\");
  EXPECT_EQ(SplitFolderAndName(L"C:\\a\\b.dll").name, L"b.dll");
  EXPECT_EQ(SplitFolderAndName(L"b.dll").folder, L"");
  EXPECT_EQ(SplitFolderAndName(L"b.dll").name, L"b.dll");
  EXPECT_EQ(SplitFolderAndName(L"C:\\").name, L"");
}

}  // namespace
}  // namespace kestrune
