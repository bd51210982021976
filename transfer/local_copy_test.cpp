// File locations: local copies through the part file, and the share logon (which under Wine can
// only fail: it has no network provider).

#include "transfer/transfer_session.h"

#include <gtest/gtest.h>

#include "transfer/copy_progress.h"

#include "tests/test_support.h"
#include "tests/transfer_test_support.h"

namespace kestrune {
namespace {

using testing::PathExists;
using testing::PatternBytes;
using testing::ReadBytes;
using testing::RecordingObserver;
using testing::WriteBytes;

// "file:C:/folder/name" for a local path.
std::wstring FileUrl(const std::wstring& path) {
  std::wstring url = L"file:" + path;
  for (wchar_t& c : url) {
    if (c == L'\\') c = L'/';
  }
  return url;
}

class LocalCopyTest : public ::testing::Test {
 protected:
  LocalCopyTest() { WriteBytes(Source(), PatternBytes(0, 300000)); }
  std::wstring Source() { return folder_ / L"source.bin"; }
  std::wstring Target() { return folder_ / L"new\\folders\\copy.bin"; }

  testing::ScratchFolder folder_;
  RecordingObserver observer_;
};

TEST_F(LocalCopyTest, CopiesIntoNewFolders) {
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FileUrl(Source()), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 300000));
  EXPECT_FALSE(PathExists(Target() + L".part"));
  EXPECT_EQ(observer_.completedTransfers, 1);
  EXPECT_TRUE(observer_.errors.empty());
  // Wine's CopyFileExW never calls the progress routine (see CopyProgress below).
  if (!testing::RunningUnderWine()) {
    EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{300000});
    EXPECT_EQ(observer_.beginTargets, std::vector<std::wstring>{L"(null)"});
    EXPECT_EQ(observer_.progressTotal, 300000u);
  }
}

LARGE_INTEGER Large(int64_t value) {
  LARGE_INTEGER large;
  large.QuadPart = value;
  return large;
}

// One call of the routine as CopyFileExW makes it for a single-stream file.
DWORD Call(CopyJob& job, int64_t total, int64_t transferred, DWORD reason) {
  return CopyProgress(Large(total), Large(transferred), Large(total), Large(transferred), 1,
                      reason, nullptr, nullptr, &job);
}

TEST(CopyProgress, StartsTheTransferAndReportsEachNewChunk) {
  RecordingObserver observer;
  CopyJob job = {&observer, 12345};  // a count left from an earlier copy is reset
  EXPECT_EQ(Call(job, 300000, 0, CALLBACK_STREAM_SWITCH), static_cast<DWORD>(PROGRESS_CONTINUE));
  EXPECT_EQ(observer.beginTotals, std::vector<uint32_t>{300000});
  EXPECT_EQ(observer.beginTargets, std::vector<std::wstring>{L"(null)"});
  EXPECT_EQ(observer.progressCalls, 0);
  EXPECT_EQ(Call(job, 300000, 65536, CALLBACK_CHUNK_FINISHED), static_cast<DWORD>(PROGRESS_CONTINUE));
  EXPECT_EQ(Call(job, 300000, 65536, CALLBACK_CHUNK_FINISHED), static_cast<DWORD>(PROGRESS_CONTINUE));
  EXPECT_EQ(Call(job, 300000, 300000, CALLBACK_CHUNK_FINISHED), static_cast<DWORD>(PROGRESS_CONTINUE));
  EXPECT_EQ(observer.progressCalls, 2) << "a chunk that adds nothing is not reported";
  EXPECT_EQ(observer.progressTotal, 300000u);

  // A file over 4 GiB starts a transfer of its low 32 bits.
  RecordingObserver large;
  CopyJob bigJob = {&large, 0};
  Call(bigJob, 0x100000010LL, 0, CALLBACK_STREAM_SWITCH);
  EXPECT_EQ(large.beginTotals, std::vector<uint32_t>{0x10});
}

TEST(CopyProgress, CancelStopsTheCopyAndNoObserverLetsItRun) {
  RecordingObserver observer;
  CopyJob job = {&observer, 0};
  Call(job, 300000, 0, CALLBACK_STREAM_SWITCH);
  EXPECT_EQ(Call(job, 300000, 65536, CALLBACK_CHUNK_FINISHED), static_cast<DWORD>(PROGRESS_CONTINUE));
  observer.CancelNow();
  EXPECT_EQ(Call(job, 300000, 131072, CALLBACK_CHUNK_FINISHED), static_cast<DWORD>(PROGRESS_CANCEL));
  EXPECT_EQ(observer.progressTotal, 65536u);

  CopyJob silent = {nullptr, 0};
  EXPECT_EQ(Call(silent, 10, 0, CALLBACK_STREAM_SWITCH), static_cast<DWORD>(PROGRESS_CONTINUE));
  EXPECT_EQ(Call(silent, 10, 10, CALLBACK_CHUNK_FINISHED), static_cast<DWORD>(PROGRESS_CONTINUE));
}

TEST_F(LocalCopyTest, ReplacesAnExistingTarget) {
  ::CreateDirectoryW((folder_ / L"new").c_str(), nullptr);
  ::CreateDirectoryW((folder_ / L"new\\folders").c_str(), nullptr);
  WriteBytes(Target(), std::vector<unsigned char>(500000, 'x'));
  TransferSession session(nullptr);
  ASSERT_EQ(session.Download(FileUrl(Source()), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 300000));
}

TEST_F(LocalCopyTest, CancelAbortsTheCopyAndLeavesNoPartFile) {
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Wine's CopyFileExW does not call the routine";
  observer_.CancelAfter(0);
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(FileUrl(Source()), Target()), 1235u);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_EQ(observer_.errors[0].text, L"(null)");
  EXPECT_EQ(observer_.errors[0].code, 1235u);
  EXPECT_FALSE(PathExists(Target()));
  EXPECT_FALSE(PathExists(Target() + L".part"));
}

TEST_F(LocalCopyTest, MissingSourceAndSizeMismatchFailBeforeCopying) {
  TransferSession missing(&observer_);
  EXPECT_EQ(missing.Download(FileUrl(folder_ / L"absent.bin"), Target()), 2u);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_EQ(observer_.errors[0].text, L"copy.bin");
  EXPECT_EQ(observer_.errors[0].code, 2u);

  RecordingObserver observer;
  TransferSession sized(&observer);
  sized.SetExpectedSize(299999);
  EXPECT_EQ(sized.Download(FileUrl(Source()), Target()), TRANSFER_E_SIZE_MISMATCH);
  EXPECT_FALSE(PathExists(folder_ / L"new"));
}

TEST_F(LocalCopyTest, ShareLogonFailureEndsTheAttempt) {
  // Credentials in the location make the transfer connect to the share first.
  TransferSession session(&observer_);
  const uint32_t code =
      session.Download(L"file://kes%74run:pw@127.0.0.1/share/setup.exe", Target());
  if (testing::RunningUnderWine()) {
    EXPECT_EQ(code, 1222u);  // no network provider
  }
  EXPECT_NE(code, 0u);
  ASSERT_FALSE(observer_.errors.empty());
  EXPECT_EQ(observer_.errors.back().text, L"copy.bin");
  EXPECT_EQ(observer_.errors.back().code, code);
  EXPECT_FALSE(PathExists(folder_ / L"new"));
}

}  // namespace
}  // namespace kestrune
