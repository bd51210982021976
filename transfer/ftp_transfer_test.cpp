// FTP transfers against the pyftpdlib servers of the transfer fixture: "ftp" (anonymous, accepts
// REST) and "ftp_strict" (user "kestrune", password "se:cr@t", answers REST with 502).

#include "transfer/transfer_session.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tests/transfer_test_support.h"

namespace kestrune {
namespace {

using testing::FtpUrl;
using testing::PathExists;
using testing::PatternBytes;
using testing::ReadBytes;
using testing::RecordingObserver;
using testing::RunningUnderWine;
using testing::WriteBytes;
using Bytes = std::vector<unsigned char>;

// The password "se:cr@t" as a URL carries it.
const wchar_t kStrictCredentials[] = L"kestrune:se%3Acr%40t";

class FtpTransferTest : public ::testing::Test {
 protected:
  std::wstring Target() { return folder_ / L"ftp\\file.bin"; }
  std::wstring Part() { return Target() + L".part"; }
  void WritePart(const Bytes& bytes) {
    ::CreateDirectoryW((folder_ / L"ftp").c_str(), nullptr);
    WriteBytes(Part(), bytes);
  }

  testing::ScratchFolder folder_;
  RecordingObserver observer_;
};

TEST_F(FtpTransferTest, AnonymousDownload) {
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FtpUrl(L"ftp", L"pattern-100000.bin"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 100000));
  EXPECT_FALSE(PathExists(Part()));
  // Wine's FtpGetFileSize answers 0: no size is announced there.
  const uint32_t announced = RunningUnderWine() ? 0 : 100000;
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{announced});
  EXPECT_EQ(observer_.progressTotal, 100000u);
  EXPECT_EQ(observer_.completedTransfers, 1);
}

TEST_F(FtpTransferTest, AcceptedRestartAppendsToThePartFile) {
  // A marker in place of the first 1000 bytes shows that they were kept, not fetched again.
  const Bytes marker(1000, 0xEE);
  WritePart(marker);
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FtpUrl(L"ftp", L"pattern-5000.bin"), Target()), 0u);
  Bytes expected = marker;
  const Bytes rest = PatternBytes(1000, 4000);
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(ReadBytes(Target()), expected);
  EXPECT_EQ(observer_.progressTotal, 5000u);
}

TEST_F(FtpTransferTest, RefusedRestartTransfersTheWholeFileAgain) {
  WritePart(Bytes(1000, 0xEE));
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FtpUrl(L"ftp_strict", L"pattern-5000.bin", kStrictCredentials),
                             Target()),
            0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
  EXPECT_TRUE(observer_.errors.empty());
}

TEST_F(FtpTransferTest, PartFileAsLargeAsTheFile) {
  WritePart(PatternBytes(0, 5000));
  TransferSession session(&observer_);
  const uint32_t code = session.Download(FtpUrl(L"ftp", L"pattern-5000.bin"), Target());
  if (RunningUnderWine()) {
    // Without the file's size the transfer restarts at the end, receives nothing and finds the
    // data complete.
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
  } else {
    EXPECT_EQ(code, TRANSFER_E_ALREADY_COMPLETE);
    EXPECT_EQ(ReadBytes(Part()), PatternBytes(0, 5000));
  }
}

TEST_F(FtpTransferTest, RefusedAnonymousLogonAsksForCredentialsAndFails) {
  const std::wstring url = FtpUrl(L"ftp_strict", L"pattern-5000.bin");
  TransferSession session(&observer_);
  const uint32_t code = session.Download(url, Target());
  EXPECT_TRUE(code == 12014u || code == 12015u) << code;
  ASSERT_EQ(observer_.errors.size(), 2u);
  EXPECT_EQ(observer_.errors[0].text, url);
  EXPECT_EQ(observer_.errors[0].code, TRANSFER_E_CREDENTIALS_NEEDED);
  EXPECT_EQ(observer_.errors[1].text, L"file.bin");
  EXPECT_EQ(observer_.errors[1].code, code);
  EXPECT_FALSE(PathExists(Part()));
}

TEST_F(FtpTransferTest, MissingFileFails) {
  TransferSession session(&observer_);
  EXPECT_NE(session.Download(FtpUrl(L"ftp", L"no-such-file.bin"), Target()), 0u);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_FALSE(PathExists(Target()));
}

}  // namespace
}  // namespace kestrune
