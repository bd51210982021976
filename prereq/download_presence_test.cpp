#include "prereq/download_presence.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"

namespace kestrune {
namespace {

TEST(IsAlreadyPresent, LocalUrlsAndDownloadsOfTheRightSize) {
  testing::ScratchFolder root;
  ::CreateDirectoryW((root / L"sub").c_str(), nullptr);
  testing::WriteBytes(root / L"setup.exe", std::vector<unsigned char>(10, 'x'));
  testing::WriteBytes(root / L"sub\\named.exe", std::vector<unsigned char>(3, 'x'));
  const std::wstring rootPath = root.path() + L"\\";
  const struct {
    const wchar_t* url;
    int32_t exactSize;
    const wchar_t* folder;
    bool present;
  } cases[] = {
      {L"file:///C:/nowhere/a.exe", 0, L"", true},   // used where it lies, disk not looked at
      {L"FILE://C:/nowhere/a.exe", 99, L"", true},
      {L"http://h/dl/setup.exe", 0, L"", true},
      {L"http://h/dl/setup.exe", 10, L"", true},
      {L"http://h/dl/setup.exe", 11, L"", false},
      {L"http://h/dl/other.exe", 0, L"", false},
      {L"http://h/dl/setup.exe", 0, L"sub?named.exe", true},
      {L"http://h/dl/setup.exe", 3, L"sub?named.exe", true},
      {L"http://h/dl/setup.exe", 0, L"sub", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsAlreadyPresent(rootPath, c.url, c.exactSize, c.folder), c.present)
        << c.url << " size " << c.exactSize << " folder " << c.folder;
  }
}

}  // namespace
}  // namespace kestrune
