// Dispatch, targets, mirrors, resume, size checks, cancel and pause of a transfer, against the
// local servers of the transfer fixture (tests/servers/transfer-servers).

#include "transfer/transfer_session.h"

#include <gtest/gtest.h>

#include "tests/test_support.h"
#include "tests/transfer_test_support.h"

namespace kestrune {
namespace {

using testing::FaultRanges;
using testing::FaultRequestCount;
using testing::FaultUrl;
using testing::NginxUrl;
using testing::PathExists;
using testing::PatternBytes;
using testing::ReadBytes;
using testing::RecordingObserver;
using testing::UniqueToken;
using testing::WriteBytes;
using Bytes = std::vector<unsigned char>;

class TransferSessionTest : public ::testing::Test {
 protected:
  std::wstring Target(const std::wstring& relative = L"dl\\file.bin") {
    return folder_ / relative;
  }
  std::wstring DeadUrl() {
    return L"http://127.0.0.1:" + std::to_wstring(testing::ServerPort(L"dead")) + L"/file.bin";
  }

  testing::ScratchFolder folder_;
  RecordingObserver observer_;
};

TEST_F(TransferSessionTest, DownloadsIntoNewFoldersThroughThePartFile) {
  TransferSession session(&observer_);
  const std::wstring target = Target(L"a\\b\\c\\pattern.bin");
  ASSERT_EQ(session.Download(NginxUrl(L"pattern-100000.bin"), target), 0u);
  EXPECT_EQ(ReadBytes(target), PatternBytes(0, 100000));
  EXPECT_FALSE(PathExists(target + L".part"));
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{100000});
  EXPECT_EQ(observer_.beginTargets, std::vector<std::wstring>{target});
  EXPECT_EQ(observer_.progressTotal, 100000u);
  EXPECT_EQ(observer_.completedTransfers, 1);
  EXPECT_TRUE(observer_.errors.empty());
}

TEST_F(TransferSessionTest, WorksWithoutObserver) {
  TransferSession session(nullptr);
  ASSERT_EQ(session.Download(NginxUrl(L"pattern-5000.bin"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
}

TEST_F(TransferSessionTest, ContinuesThePartFileAndReplacesTheTarget) {
  // The part file's first 1000 bytes are not the source's: only a continued transfer keeps them.
  const Bytes marker(1000, 0xEE);
  ::CreateDirectoryW((folder_ / L"dl").c_str(), nullptr);
  WriteBytes(Target() + L".part", marker);
  WriteBytes(Target(), Bytes(200000, 'x'));  // an older, longer target is replaced, not appended to
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(token, L"size=5000"), Target()), 0u);

  Bytes expected = marker;
  const Bytes rest = PatternBytes(1000, 4000);
  expected.insert(expected.end(), rest.begin(), rest.end());
  EXPECT_EQ(ReadBytes(Target()), expected);
  EXPECT_FALSE(PathExists(Target() + L".part"));
  EXPECT_EQ(FaultRanges(token), std::vector<std::string>{"bytes=1000-"});
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{5000});
  EXPECT_EQ(observer_.progressTotal, 5000u) << "the bytes present count as progress";
}

TEST_F(TransferSessionTest, ContinuesAPartFileFromNginx) {
  ::CreateDirectoryW((folder_ / L"dl").c_str(), nullptr);
  WriteBytes(Target() + L".part", PatternBytes(0, 1000));
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(NginxUrl(L"pattern-100000.bin"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 100000));
  EXPECT_EQ(observer_.beginTotals, std::vector<uint32_t>{100000});
}

TEST_F(TransferSessionTest, RelativeTargetIsRefusedAndNothingIsCreated) {
  const std::wstring token = UniqueToken();
  wchar_t previous[MAX_PATH];
  ::GetCurrentDirectoryW(MAX_PATH, previous);
  ::SetCurrentDirectoryW(folder_.path().c_str());
  TransferSession session(&observer_);
  const uint32_t code = session.Download(FaultUrl(token, L"size=5000"), L"dl\\file.bin");
  ::SetCurrentDirectoryW(previous);

  EXPECT_EQ(code, TRANSFER_E_BAD_TARGET);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_EQ(observer_.errors[0].text, L"(null)");
  EXPECT_EQ(observer_.errors[0].code, TRANSFER_E_BAD_TARGET);
  EXPECT_FALSE(PathExists(folder_ / L"dl"));
  EXPECT_EQ(FaultRequestCount(token), 0);
}

TEST_F(TransferSessionTest, LocationsOfUnknownSchemesAreRefused) {
  const struct {
    std::vector<std::wstring> urls;
    uint32_t code;
  } cases[] = {
      {{}, 12006u},
      {{L"gopher://127.0.0.1/file.bin"}, 12006u},
      {{NginxUrl(L"pattern-5000.bin"), L"gopher://127.0.0.1/file.bin"}, 12006u},
      {{L"no scheme at all"}, 12006u},
  };
  for (const auto& c : cases) {
    RecordingObserver observer;
    TransferSession session(&observer);
    EXPECT_EQ(session.DownloadFromList(c.urls, Target()), c.code);
    ASSERT_EQ(observer.errors.size(), 1u);
    EXPECT_EQ(observer.errors[0].text, L"(null)");
    EXPECT_EQ(observer.errors[0].code, c.code);
    EXPECT_FALSE(PathExists(folder_ / L"dl"));
  }
}

TEST_F(TransferSessionTest, UnreachableFirstMirrorGivesWayToTheSecond) {
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  ASSERT_EQ(session.DownloadFromList({DeadUrl(), FaultUrl(token, L"size=5000")}, Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
  EXPECT_EQ(FaultRequestCount(token), 1);
  EXPECT_TRUE(observer_.errors.empty());
}

TEST_F(TransferSessionTest, UnreachableOnlyMirrorFails) {
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(DeadUrl(), Target()), 12029u);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_EQ(observer_.errors[0].text, L"file.bin");
  EXPECT_EQ(observer_.errors[0].code, 12029u);
  EXPECT_FALSE(PathExists(Target() + L".part"));
}

TEST_F(TransferSessionTest, NotFoundIsRetriedOnlyOverSeveralMirrors) {
  const std::wstring one = UniqueToken();
  TransferSession single(&observer_);
  EXPECT_EQ(single.Download(FaultUrl(one, L"status=404"), Target()), TRANSFER_E_NOT_FOUND);
  EXPECT_EQ(FaultRequestCount(one), 1);

  // Both mirrors count on the same token: seven opens in all, alternating.
  const std::wstring two = UniqueToken();
  RecordingObserver observer;
  TransferSession mirrored(&observer);
  EXPECT_EQ(mirrored.DownloadFromList({FaultUrl(two, L"status=404&m=1"),
                                       FaultUrl(two, L"status=404&m=2")},
                                      Target()),
            TRANSFER_E_NOT_FOUND);
  EXPECT_EQ(FaultRequestCount(two), 7);
  ASSERT_EQ(observer.errors.size(), 1u);
  EXPECT_EQ(observer.errors[0].code, TRANSFER_E_NOT_FOUND);
}

TEST_F(TransferSessionTest, NotFoundOnTheFirstMirrorThenTheSecondServes) {
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  ASSERT_EQ(session.DownloadFromList({FaultUrl(token, L"status=404"),
                                      NginxUrl(L"pattern-5000.bin")},
                                     Target()),
            0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 5000));
  EXPECT_EQ(FaultRequestCount(token), 1);
}

TEST_F(TransferSessionTest, ExpectedSizeIsCheckedBeforeAnyDataIsRead) {
  const std::wstring token = UniqueToken();
  TransferSession session(&observer_);
  session.SetExpectedSize(5000);
  EXPECT_EQ(session.Download(FaultUrl(token, L"size=4000"), Target()), TRANSFER_E_SIZE_MISMATCH);
  ASSERT_EQ(observer_.errors.size(), 1u);
  EXPECT_EQ(observer_.errors[0].text, L"file.bin");
  EXPECT_EQ(observer_.errors[0].code, TRANSFER_E_SIZE_MISMATCH);
  EXPECT_TRUE(observer_.beginTotals.empty());
  EXPECT_FALSE(PathExists(Target() + L".part"));
  EXPECT_FALSE(PathExists(Target()));

  // Without an announced size the data comes; the caller compares the size afterwards.
  RecordingObserver observer;
  TransferSession unannounced(&observer);
  unannounced.SetExpectedSize(5000);
  EXPECT_EQ(unannounced.Download(FaultUrl(UniqueToken(), L"size=4000&nolength=1"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 4000));

  TransferSession matching(nullptr);
  matching.SetExpectedSize(4000);
  EXPECT_EQ(matching.Download(FaultUrl(UniqueToken(), L"size=4000"), Target()), 0u);
}

TEST_F(TransferSessionTest, CancelDuringTheTransferKeepsThePartFile) {
  observer_.CancelAfter(40000);
  TransferSession session(&observer_);
  EXPECT_EQ(session.Download(FaultUrl(UniqueToken(), L"size=300000&slow=5"), Target()),
            TRANSFER_E_CANCELED);
  EXPECT_TRUE(observer_.errors.empty()) << "cancel is not reported";
  EXPECT_FALSE(PathExists(Target()));
  const Bytes part = ReadBytes(Target() + L".part");
  EXPECT_GT(part.size(), 40000u);
  EXPECT_LT(part.size(), 300000u);
  EXPECT_EQ(part, PatternBytes(0, part.size()));
}

TEST_F(TransferSessionTest, CancelWhileTheServerIsSilent) {
  observer_.CancelNow();
  TransferSession session(&observer_);
  const DWORD start = ::GetTickCount();
  EXPECT_EQ(session.Download(FaultUrl(UniqueToken(), L"size=5000&faults=hang:1000"), Target()),
            TRANSFER_E_CANCELED);
  EXPECT_TRUE(observer_.errors.empty());
  EXPECT_FALSE(PathExists(Target()));
  // Windows aborts the pending send when its handle closes; Wine lets it run until the server
  // answers, and the close waits for that. Either way the session ends.
  EXPECT_LT(::GetTickCount() - start, 5000u);
}

TEST_F(TransferSessionTest, PauseIdlesThenTheTransferFinishes) {
  observer_.PauseAfter(20000, 300);
  TransferSession session(&observer_);
  ASSERT_EQ(session.Download(FaultUrl(UniqueToken(), L"size=100000&slow=2"), Target()), 0u);
  EXPECT_EQ(ReadBytes(Target()), PatternBytes(0, 100000));
  EXPECT_GE(observer_.pausedFor, 300u);
  // What was received before the pause may still be written when it begins; nothing after.
  EXPECT_LE(observer_.progressCallsWhilePaused, 1) << "the transfer idles while paused";
}

}  // namespace
}  // namespace kestrune
