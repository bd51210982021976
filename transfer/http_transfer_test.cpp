// HTTP answers and faults, against the fault server of the transfer fixture.

#include "transfer/transfer_session.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tests/transfer_test_support.h"

namespace kestrune {
namespace {

using testing::FaultRanges;
using testing::FaultRequestCount;
using testing::FaultUrl;
using testing::PathExists;
using testing::PatternBytes;
using testing::ReadBytes;
using testing::RecordingObserver;
using testing::UniqueToken;
using testing::WriteBytes;
using Bytes = std::vector<unsigned char>;
using Ranges = std::vector<std::string>;

class HttpTransferTest : public ::testing::Test {
 protected:
  std::wstring Target() { return folder_ / L"file.bin"; }
  std::wstring Part() { return Target() + L".part"; }
  std::wstring TlsUrl(const std::wstring& token) {
    return L"https://127.0.0.1:" + std::to_wstring(testing::ServerPort(L"fault_tls")) + L"/t/" +
           token + L"/file.bin?size=5000";
  }

  testing::ScratchFolder folder_;
  RecordingObserver observer_;
};

TEST_F(HttpTransferTest, RefusingStatusesFailAtOnce) {
  const struct {
    int status;
    uint32_t code;
    bool reported;
  } cases[] = {
      {304, TRANSFER_E_NOT_MODIFIED, false},
      {403, TRANSFER_E_FORBIDDEN, true},
      {404, TRANSFER_E_NOT_FOUND, true},
      {410, TRANSFER_E_NOT_FOUND, true},
  };
  for (const auto& c : cases) {
    const std::wstring token = UniqueToken();
    RecordingObserver observer;
    TransferSession session(&observer);
    EXPECT_EQ(session.Download(FaultUrl(token, L"status=" + std::to_wstring(c.status)), Target()),
              c.code)
        << c.status;
    EXPECT_EQ(FaultRequestCount(token), 1) << c.status;
    ASSERT_EQ(observer.errors.size(), c.reported ? 1u : 0u) << c.status;
    if (c.reported) {
      EXPECT_EQ(observer.errors[0].text, L"file.bin");
      EXPECT_EQ(observer.errors[0].code, c.code);
    }
    EXPECT_FALSE(PathExists(Target())) << c.status;
    EXPECT_FALSE(PathExists(Part())) << c.status;
  }
}

TEST_F(HttpTransferTest, CredentialsDemandIsReportedTwiceAndFails) {
  const std::wstring token = UniqueToken();
  const std::wstring url = FaultUrl(token, L"status=401");
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(url, Target()), TRANSFER_E_CREDENTIALS_NEEDED);
  ASSERT_EQ(observer_.errors.size(), 2u);
  EXPECT_EQ(observer_.errors[0].text, url);
  EXPECT_EQ(observer_.errors[0].code, TRANSFER_E_CREDENTIALS_NEEDED);
  EXPECT_EQ(observer_.errors[1].text, L"file.bin");
  EXPECT_EQ(observer_.errors[1].code, TRANSFER_E_CREDENTIALS_NEEDED);
  EXPECT_EQ(FaultRequestCount(token), 1);
}

TEST_F(HttpTransferTest, ServerErrorPageIsDownloadedLikeAnyBody) {
  WriteBytes(Part(), Bytes(1000, 'p'));
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(UniqueToken(), L"status=500"), Target()), 0u);
  const Bytes page = ReadBytes(Target());
  EXPECT_EQ(std::string(page.begin(), page.end()), "error page 500\n");
  EXPECT_FALSE(PathExists(Part()));
}

TEST_F(HttpTransferTest, WholeAnswerToARangeRequestStartsThePartFileAgain) {
  WriteBytes(Part(), Bytes(1000, 0xEE));
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(token, L"size=5000&range=0"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
  EXPECT_EQ(FaultRanges(token), Ranges{"bytes=1000-"});
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{5000});
}

TEST_F(HttpTransferTest, PartFileAsLargeAsTheWholeAnswerIsAlreadyComplete) {
  WriteBytes(Part(), PatternBytes(0, 5000));
  for (int attempt = 0; attempt < 2; ++attempt) {
    RecordingObserver observer;
    TransferSession session(&observer);
    EXPECT_EQ(session.Download(FaultUrl(UniqueToken(), L"size=5000&range=0"), Target()),
              TRANSFER_E_ALREADY_COMPLETE);
    ASSERT_EQ(observer.errors.size(), 1u);
    EXPECT_EQ(observer.errors[0].code, TRANSFER_E_ALREADY_COMPLETE);
    EXPECT_EQ(ReadBytes(Part()), PatternBytes(0, 5000)) << "the part file stays";
  }
}

TEST_F(HttpTransferTest, CompletePartFileIsNotReplacedByARefusedRange) {
  // nginx answers a range that starts at the end with 416 and a page of its own.
  WriteBytes(Part(), PatternBytes(0, 5000));
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(testing::NginxUrl(L"pattern-5000.bin"), Target()),
            TRANSFER_E_ALREADY_COMPLETE);
  EXPECT_EQ(ReadBytes(Part()), PatternBytes(0, 5000));
  EXPECT_FALSE(PathExists(Target()));
}

TEST_F(HttpTransferTest, PartialAnswerWithoutLengthContinuesThePartFile) {
  WriteBytes(Part(), PatternBytes(0, 1000));
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(UniqueToken(), L"size=5000&nolength=1"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{0});
}

TEST_F(HttpTransferTest, AnswerWithoutLengthEndsWithTheData) {
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(UniqueToken(), L"size=100000&nolength=1"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 100000));
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{0});
  EXPECT_EQ(observer_.completedTransfers, 1);
}

TEST_F(HttpTransferTest, ShortBodyIsContinuedFromWhereItStopped) {
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(token, L"size=100000&faults=short:20000"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 100000));
  EXPECT_EQ(FaultRanges(token), (Ranges{"-", "bytes=20000-"}));
  EXPECT_TRUE(observer_.errors.empty());
}

TEST_F(HttpTransferTest, ResetConnectionIsContinuedFromThePartFile) {
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(token, L"size=300000&faults=reset:100000"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 300000));
  const Ranges ranges = FaultRanges(token);
  ASSERT_EQ(ranges.size(), 2u);
  EXPECT_EQ(ranges[0], "-");
  EXPECT_EQ(ranges[1].rfind("bytes=", 0), 0u) << "the second request continues: " << ranges[1];
  EXPECT_TRUE(observer_.errors.empty());
}

TEST_F(HttpTransferTest, SourceThatRestartsCannotContinueAShortPartFile) {
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(FaultUrl(token, L"size=100000&range=0&faults=short:20000"), Target()),
            12002u);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_EQ(observer_.errors[0].code, 12002u);
  EXPECT_EQ(ReadBytes(Part()), PatternBytes(0, 20000));
  EXPECT_FALSE(PathExists(Target()));
}

TEST_F(HttpTransferTest, ServerThatNeverDeliversEndsAfterBoundedReconnections) {
  // Every answer stops before its first body byte.
  std::wstring faults = L"short:0";
  for (int i = 0; i < 20; ++i) faults += L",short:0";
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(FaultUrl(token, L"size=5000&faults=" + faults), Target()),
            TRANSFER_E_INCOMPLETE);
  EXPECT_EQ(FaultRequestCount(token), 7) << "the first request and six reconnections";
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_TRUE(PathExists(Part()));
}

TEST_F(HttpTransferTest, UnknownCertificateAuthorityAsksTheObserver) {
  // The observer asks once for the request to be sent again, then gives up.
  observer_.AnswerErrorsWith({0});
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(TlsUrl(UniqueToken()), Target()), 12045u);
  ASSERT_EQ(observer_.errors.size(), 3u);
  EXPECT_EQ(observer_.errors[0].text, L"(null)");
  EXPECT_EQ(observer_.errors[0].code, 12045u);
  EXPECT_EQ(observer_.errors[1].text, L"(null)");
  EXPECT_EQ(observer_.errors[1].code, 12045u);
  EXPECT_EQ(observer_.errors[2].text, L"file.bin");
  EXPECT_EQ(observer_.errors[2].code, 12045u);
  EXPECT_FALSE(PathExists(Part()));

  // An observer that answers with the code ends the attempt at the first question.
  RecordingObserver giveUp;
  TransferSession second(&giveUp);
  EXPECT_EQ(second.Download(TlsUrl(UniqueToken()), Target()), 12045u);
  ASSERT_EQ(giveUp.errors.size(), 2u);
  EXPECT_EQ(giveUp.errors[0].code, 12045u);

  TransferSession silent(nullptr);
  EXPECT_EQ(silent.Download(TlsUrl(UniqueToken()), Target()), 12045u);
}

}  // namespace
}  // namespace kestrune
