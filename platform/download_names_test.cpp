#include "platform/download_names.h"

#include <gtest/gtest.h>

namespace kestrune {
namespace {

TEST(LocalPathFromUrl, FileUrlsOnly) {
  const struct {
    const wchar_t* url;
    const wchar_t* path;
  } cases[] = {
      {L"file:///C:/pkg/a.exe", L"C:\\pkg\\a.exe"},
      {L"FILE:///C:/pkg/a.exe", L"C:\\pkg\\a.exe"},
      {L"file://server/share/a.exe", L"server\\share\\a.exe"},
      {L"File://C:/a%20b.exe", L"C:\\a%20b.exe"},  // no percent-decoding
      {L"http://h/a.exe", L""},
      {L"file:C:/pkg/a.exe", L""},
      {L"file:/", L""},
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(LocalPathFromUrl(c.url), c.path) << c.url;
}

TEST(FileNameFromUrl, NamesTheDownloadedFile) {
  const struct {
    const wchar_t* url;
    const wchar_t* name;
  } cases[] = {
      {L"http://h/dl/setup.exe", L"setup.exe"},
      {L"http://h/dl/setup.exe?v=2", L"setup.exe"},
      {L"http://h/get.php?file=x.exe", L"file=x.exe"},
      {L"https://h:8443/a/b/c/runtime-4.8.1.exe", L"runtime-4.8.1.exe"},
      {L"http://h/dl/setup.exe#part", L"setup.exe#part"},
      {L"http://h/dl/setup", L"setup"},
      {L"ftp://user:pw@h/pub/x.msi", L"x.msi"},
      {L"http://redirect.com/?u=http://x/y.exe", L"redirect.com"},
      {L"setup.exe", L"setup.exe"},
      {L"http://h/dl/", L""},            // names no file: the download fails plainly
      {L"http://h/dl/a.exe:", L""},
      {L"http://h/dl/a.exe:x", L"a.exe"},
      {L"http://h/?u=http://x", L""},
      {L"", L""},
  };
  for (const auto& c : cases) {
    const std::wstring name = FileNameFromUrl(c.url);
    EXPECT_EQ(name, c.name) << c.url;
    EXPECT_LE(name.size(), 41u) << c.url;
    EXPECT_EQ(name.find_first_of(L"\\/:*?\"<>|"), std::wstring::npos) << c.url;
  }
}

TEST(FileNameFromUrl, LongNamesKeepTheirLast41Characters) {
  const std::wstring longName = L"0123456789012345678901234567890123456789-tail.exe";
  EXPECT_EQ(FileNameFromUrl(L"http://h/" + longName), longName.substr(longName.size() - 41));
  const std::wstring exactly41 = L"012345678901234567890123456789012345a.exe";
  ASSERT_EQ(exactly41.size(), 41u);
  EXPECT_EQ(FileNameFromUrl(L"http://h/" + exactly41), exactly41);
  const std::wstring exactly40 = exactly41.substr(1);
  EXPECT_EQ(FileNameFromUrl(L"http://h/" + exactly40), exactly40) << "the slash stays out";
}

TEST(DownloadTargetPath, FolderAndExplicitName) {
  const struct {
    const wchar_t* root;
    const wchar_t* folder;
    const wchar_t* path;
  } cases[] = {
      {L"C:\\dl\\", L"", L"C:\\dl\\setup.exe"},
      {L"C:\\dl", L"", L"C:\\dl\\setup.exe"},
      {L"C:\\dl\\", L"sub", L"C:\\dl\\sub\\setup.exe"},
      {L"C:\\dl\\", L"sub\\", L"C:\\dl\\sub\\setup.exe"},
      {L"C:\\dl\\", L"sub?setup2.exe", L"C:\\dl\\sub\\setup2.exe"},
      {L"C:\\dl\\", L"?renamed.exe", L"C:\\dl\\renamed.exe"},
      {L"", L"", L"setup.exe"},
      {L"", L"sub", L"sub\\setup.exe"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DownloadTargetPath(c.root, L"http://h/x/setup.exe?q=1", c.folder), c.path)
        << c.root << " " << c.folder;
  }
}

}  // namespace
}  // namespace kestrune
