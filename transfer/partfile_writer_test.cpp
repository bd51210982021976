#include "transfer/partfile_writer.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tests/transfer_test_support.h"

namespace kestrune {
namespace {

using testing::PatternBytes;
using testing::ReadBytes;
using testing::RecordingObserver;

const size_t kRead = 1000;

HANDLE OpenForWriting(const std::wstring& path, DWORD access = GENERIC_WRITE) {
  return ::CreateFileW(path.c_str(), access, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

// Feeds `total` pattern bytes in reads of `step`, handing blocks over at every `startEvery`-th
// read (0: never), then flushes.
uint32_t Feed(PartFileWriter& writer, size_t total, size_t step, int startEvery) {
  const std::vector<unsigned char> data = PatternBytes(0, total);
  int reads = 0;
  for (size_t at = 0; at < total; at += step) {
    const size_t size = std::min(step, total - at);
    memcpy(writer.Space(), data.data() + at, size);
    uint32_t code = writer.Added(static_cast<uint32_t>(size));
    if (code == 0 && startEvery != 0 && ++reads % startEvery == 0) code = writer.Start();
    if (code != 0) return code;
  }
  return writer.Flush();
}

TEST(PartFileWriter, WritesEverythingInOrderAndReportsItOnce) {
  const struct {
    size_t total;
    size_t step;
    int startEvery;
  } cases[] = {
      {0, kRead, 0},       {1, kRead, 0},       {kRead * 8, kRead, 0},  {kRead * 100 + 7, kRead, 0},
      {kRead * 100 + 7, 333, 0}, {kRead * 100 + 7, kRead, 1}, {kRead * 100 + 7, 777, 3},
  };
  for (const auto& c : cases) {
    testing::ScratchFolder folder;
    const std::wstring path = folder / L"file.part";
    FileHandle file(OpenForWriting(path));
    ASSERT_TRUE(file.valid());
    RecordingObserver observer;
    {
      PartFileWriter writer(file.get(), &observer, kRead);
      EXPECT_EQ(Feed(writer, c.total, c.step, c.startEvery), 0u) << c.total;
      EXPECT_EQ(observer.progressTotal, c.total) << "all reported once flushed";
    }
    file.reset();
    EXPECT_EQ(ReadBytes(path), PatternBytes(0, c.total)) << c.total << " step " << c.step;
    EXPECT_EQ(observer.progressTotal, c.total);
  }
}

TEST(PartFileWriter, WriteFailureIsReturned) {
  testing::ScratchFolder folder;
  // A handle that may not write: every block fails with ERROR_ACCESS_DENIED.
  const FileHandle file(OpenForWriting(folder / L"file.part", GENERIC_READ));
  ASSERT_TRUE(file.valid());
  RecordingObserver observer;
  PartFileWriter writer(file.get(), &observer, kRead);
  EXPECT_EQ(Feed(writer, kRead * 20, kRead, 0), static_cast<uint32_t>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(observer.progressTotal, 0u);
}

}  // namespace
}  // namespace kestrune
