#include "platform/file_md5.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/md5.h"
#include "platform/unique_handle.h"
#include "tests/test_support.h"

namespace kestrune {
namespace {

using testing::ScratchFolder;
using testing::WriteBytes;

std::vector<unsigned char> Pattern(size_t size) {
  std::vector<unsigned char> bytes(size);
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i % 251);
  return bytes;
}

TEST(FileMd5Hex, DigestsFilesOfSeveralBlocks) {
  ScratchFolder folder;
  const std::wstring path = folder / L"setup.exe";
  const std::vector<unsigned char> bytes = Pattern(65536 * 3 + 7);
  WriteBytes(path, bytes);
  std::wstring hex = L"stale";
  ASSERT_TRUE(FileMd5Hex(path, hex));
  EXPECT_EQ(hex, Md5Hex(bytes.data(), bytes.size()));
  EXPECT_EQ(hex, L"620ddb48c9ec63617effab39367ea6f7");
}

TEST(FileMd5Hex, DigestsFilesAroundOneBlock) {
  ScratchFolder folder;
  for (size_t size : {size_t(1), size_t(65535), size_t(65536), size_t(65537)}) {
    const std::vector<unsigned char> bytes = Pattern(size);
    WriteBytes(folder / L"f.bin", bytes);
    std::wstring hex;
    ASSERT_TRUE(FileMd5Hex(folder / L"f.bin", hex)) << size;
    EXPECT_EQ(hex, Md5Hex(bytes.data(), bytes.size())) << size;
  }
}

TEST(FileMd5Hex, FailsOnEmptyMissingAndFolderPaths) {
  ScratchFolder folder;
  WriteBytes(folder / L"empty.exe", {});
  for (const std::wstring& path : {folder / L"empty.exe", folder / L"missing.exe", folder.path()}) {
    std::wstring hex = L"stale";
    EXPECT_FALSE(FileMd5Hex(path, hex)) << path;
    EXPECT_TRUE(hex.empty()) << path;
  }
}

TEST(FileMd5Hex, ReadsAFileAnotherHandleIsWriting) {
  ScratchFolder folder;
  const std::wstring path = folder / L"busy.exe";
  WriteBytes(path, {'a', 'b', 'c'});
  const FileHandle writer(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(writer);
  std::wstring hex;
  ASSERT_TRUE(FileMd5Hex(path, hex));
  EXPECT_EQ(hex, L"900150983cd24fb0d6963f7d28e17f72");
}

TEST(FileMd5Hex, FailsOnAFileHeldWithoutSharing) {
  ScratchFolder folder;
  const std::wstring path = folder / L"locked.exe";
  WriteBytes(path, {'a', 'b', 'c'});
  const FileHandle holder(::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(holder);
  std::wstring hex;
  EXPECT_FALSE(FileMd5Hex(path, hex));
}

}  // namespace
}  // namespace kestrune
