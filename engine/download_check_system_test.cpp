#include <gtest/gtest.h>

#include "engine/download_check.h"
#include "platform/unique_handle.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

// "abc": 3 bytes, digest 900150983cd24fb0d6963f7d28e17f72.
TEST(IsDownloadAccepted, ChecksSizeThenDigest) {
  ScratchFolder folder;
  const std::wstring abc = folder / L"abc.exe";
  const std::wstring empty = folder / L"empty.exe";
  WriteBytes(abc, {'a', 'b', 'c'});
  WriteBytes(empty, {});
  const struct {
    const char* what;
    std::wstring path;
    uint32_t exactSize;
    const wchar_t* md5;
    bool accepted;
  } cases[] = {
      {"no check at all", abc, 0, L"", true},
      {"right size", abc, 3, L"", true},
      {"size too small", abc, 2, L"", false},
      {"size too large", abc, 4, L"", false},
      {"right digest", abc, 0, L"900150983cd24fb0d6963f7d28e17f72", true},
      {"digest in upper case", abc, 3, L"900150983CD24FB0D6963F7D28E17F72", true},
      {"digest of 31 characters", abc, 0, L"900150983cd24fb0d6963f7d28e17f7", false},
      {"40 characters, first 32 right", abc, 0, L"900150983cd24fb0d6963f7d28e17f720000000",
       true},
      {"wrong digest", abc, 0, L"d41d8cd98f00b204e9800998ecf8427e", false},
      {"right digest, wrong size", abc, 5, L"900150983cd24fb0d6963f7d28e17f72", false},
      // The digest of no bytes is well known, but an empty download is never accepted with one.
      {"empty file with its digest", empty, 0, L"d41d8cd98f00b204e9800998ecf8427e", false},
      {"empty file, size 0 only", empty, 0, L"", true},
      {"missing file, no check", folder / L"missing.exe", 0, L"", true},
      {"missing file, a size", folder / L"missing.exe", 3, L"", false},
      {"missing file, a digest", folder / L"missing.exe", 0,
       L"900150983cd24fb0d6963f7d28e17f72", false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsDownloadAccepted(c.path, c.exactSize, c.md5), c.accepted) << c.what;
  }
}

// The size is read without sharing: a file someone still writes is taken as size 0.
TEST(IsDownloadAccepted, AFileStillOpenForWritingHasNoSize) {
  ScratchFolder folder;
  const std::wstring path = folder / L"busy.exe";
  WriteBytes(path, {'a', 'b', 'c'});
  const FileHandle writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  EXPECT_FALSE(IsDownloadAccepted(path, 3, L""));
}

}  // namespace
}  // namespace kestrune
