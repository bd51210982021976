#include "transfer/transfer_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "transfer/transfer_codes.h"

namespace kestrune {
namespace {

TEST(KindOfScheme, NetworkLocalAndUnknownSchemes) {
  EXPECT_EQ(KindOfScheme(kSchemeFtp), LocationKind::kNetwork);
  EXPECT_EQ(KindOfScheme(kSchemeHttp), LocationKind::kNetwork);
  EXPECT_EQ(KindOfScheme(kSchemeHttps), LocationKind::kNetwork);
  EXPECT_EQ(KindOfScheme(kSchemeFile), LocationKind::kLocal);
  for (int other : {-1, 0, 2, 6, 7, 8, 11}) {
    EXPECT_EQ(KindOfScheme(other), LocationKind::kUnknown) << other;
  }
}

TEST(IsUsableTarget, DrivePathsAndNetworkPathsOnly) {
  const struct {
    const wchar_t* target;
    bool usable;
  } cases[] = {
      {L"C:\\dl\\a.exe", true},  {L"c:a.exe", true},       {L"C:", true},
      {L"\\\\srv\\s\\a", true},  {L"\\\\", true},          {L"dl\\a.exe", false},
      {L"a.exe", false},         {L"\\dl\\a.exe", false},  {L"C", false},
      {L"", false},              {L"/C:/a", false},        {L"1:", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUsableTarget(c.target), c.usable) << c.target;
}

TEST(IsRetryEligible, SomeCodesOnlyWithSeveralLocations) {
  using namespace transfer_code;
  const struct {
    uint32_t code;
    bool withOne;
    bool withTwo;
  } cases[] = {
      {kCannotConnect, true, true},
      {kNameNotResolved, true, true},
      {kPathNotFound, false, true},
      {kInternetExtendedError, false, true},
      {kItemNotFound, false, true},
      {kFtpDropped, false, true},
      {TRANSFER_E_NOT_FOUND, false, true},
      {0, false, false},
      {TRANSFER_E_FORBIDDEN, false, false},
      {TRANSFER_E_CREDENTIALS_NEEDED, false, false},
      {TRANSFER_E_CANCELED, false, false},
      {kInternetTimeout, false, false},
      {kConnectionReset, false, false},
      {kInvalidCertAuthority, false, false},
      {kLoginFailure, false, false},
      {kLogonFailure, false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsRetryEligible(c.code, 1), c.withOne) << c.code;
    EXPECT_EQ(IsRetryEligible(c.code, 2), c.withTwo) << c.code;
    EXPECT_EQ(IsRetryEligible(c.code, 5), c.withTwo) << c.code;
  }
}

// The locations opened when every open fails with `code` (or, from `successAt` on, succeeds).
std::vector<size_t> OpenedLocations(int retryCount, size_t count, uint32_t code,
                                    size_t successAt = 1000) {
  MirrorRotation rotation(retryCount, count);
  std::vector<size_t> opened;
  for (;;) {
    opened.push_back(rotation.current());
    const uint32_t result = opened.size() > successAt ? 0 : code;
    if (!rotation.Advance(result) || opened.size() > 100) return opened;
  }
}

TEST(MirrorRotation, OpensPerLocationListAndFailure) {
  using namespace transfer_code;
  using List = std::vector<size_t>;
  const struct {
    int retryCount;
    size_t count;
    uint32_t code;
    size_t successAt;
    List opened;
  } cases[] = {
      // Unreachable single mirror: six more attempts, seven opens in all.
      {6, 1, kCannotConnect, 1000, List{0, 0, 0, 0, 0, 0, 0}},
      {6, 1, kNameNotResolved, 1000, List{0, 0, 0, 0, 0, 0, 0}},
      // The first of two unreachable: the second is next.
      {6, 2, kCannotConnect, 1, List{0, 1}},
      // Not found on the only mirror ends the open; with two the other is tried, seven in all.
      {6, 1, TRANSFER_E_NOT_FOUND, 1000, List{0}},
      {6, 2, TRANSFER_E_NOT_FOUND, 1000, List{0, 1, 0, 1, 0, 1, 0}},
      // More mirrors than attempts: every mirror is still tried once.
      {6, 9, kCannotConnect, 1000, List{0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {0, 1, kCannotConnect, 1000, List{0}},
      {0, 3, kCannotConnect, 1000, List{0, 1, 2}},
      // Success or a failure that is not retried ends at once.
      {6, 3, 0, 1000, List{0}},
      {6, 3, TRANSFER_E_FORBIDDEN, 1000, List{0}},
      {6, 3, TRANSFER_E_CREDENTIALS_NEEDED, 1000, List{0}},
      {6, 1, kPathNotFound, 1000, List{0}},
      {6, 0, kCannotConnect, 1000, List{0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OpenedLocations(c.retryCount, c.count, c.code, c.successAt), c.opened)
        << "retry " << c.retryCount << " count " << c.count << " code " << c.code;
  }
}

TEST(TransferCodeSets, ReconnectCertificateAndLogonCodes) {
  using namespace transfer_code;
  for (uint32_t code : {kInternetTimeout, kConnectionAborted, kConnectionReset, kDisconnected}) {
    EXPECT_TRUE(IsReconnectError(code)) << code;
  }
  for (uint32_t code : {0u, kCannotConnect, kInvalidCertAuthority, TRANSFER_E_CANCELED, 12152u}) {
    EXPECT_FALSE(IsReconnectError(code)) << code;
  }
  for (uint32_t code : {kInvalidCertAuthority, kClientCertNeeded, kCertNameInvalid,
                        kCertDateInvalid}) {
    EXPECT_TRUE(IsCertificateError(code)) << code;
  }
  for (uint32_t code : {0u, 12157u, kConnectionReset, 12039u}) {
    EXPECT_FALSE(IsCertificateError(code)) << code;
  }
  for (uint32_t code : {kIncorrectUserName, kIncorrectPassword, kLoginFailure}) {
    EXPECT_TRUE(IsFtpLogonRefusal(code)) << code;
    EXPECT_FALSE(IsShareLogonRefusal(code)) << code;
  }
  for (uint32_t code : {kLogonFailure, kInvalidPassword, kBadUserName}) {
    EXPECT_TRUE(IsShareLogonRefusal(code)) << code;
    EXPECT_FALSE(IsFtpLogonRefusal(code)) << code;
  }
  EXPECT_FALSE(IsShareLogonRefusal(5));
  EXPECT_FALSE(IsFtpLogonRefusal(kCannotConnect));
}

TEST(ServerTexts, RangeHeaderAndRestartCommand) {
  EXPECT_EQ(RangeHeader(0), L"");
  EXPECT_EQ(RangeHeader(1000), L"Range: bytes=1000-\r\n");
  EXPECT_EQ(RangeHeader(4294967295u), L"Range: bytes=4294967295-\r\n");
  EXPECT_EQ(RestartCommand(0), L"REST 0");
  EXPECT_EQ(RestartCommand(1000), L"REST 1000");
  EXPECT_EQ(RestartCommand(4294967295u), L"REST 4294967295");
}

TEST(FtpReplyCode, NumberBeforeTheFirstSpace) {
  const struct {
    const wchar_t* response;
    uint32_t code;
  } cases[] = {
      {L"350 Restarting at 1000.", 350},
      {L"502 Command not implemented.", 502},
      {L"350 Restarting at 1000. End with RETR.\r\n", 350},
      {L"350", 350},
      {L"350\r\n", 350},
      {L"350-first line\r\n350 last", 350},
      {L"", 0},
      {L" 350 leading space", 0},
      {L"Restarting", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(FtpReplyCode(c.response), c.code) << c.response;
}

TEST(TransferSizes, FtpDataBeyondOffsetAndCompletePartFiles) {
  EXPECT_TRUE(FtpHasDataBeyond(0, 0));
  EXPECT_TRUE(FtpHasDataBeyond(5000, 0));  // no size announced: try
  EXPECT_TRUE(FtpHasDataBeyond(1000, 5000));
  EXPECT_FALSE(FtpHasDataBeyond(5000, 5000));
  EXPECT_FALSE(FtpHasDataBeyond(6000, 5000));

  EXPECT_TRUE(IsPartComplete(0, 0));
  EXPECT_TRUE(IsPartComplete(123, 0));
  EXPECT_TRUE(IsPartComplete(5000, 5000));
  EXPECT_TRUE(IsPartComplete(5001, 5000));
  EXPECT_FALSE(IsPartComplete(4999, 5000));
  EXPECT_FALSE(IsPartComplete(0, 1));
}

TEST(DecideHttpStatus, StatusRules) {
  using S = HttpStep;
  const struct {
    uint32_t status, contentLength, offset, sendError;
    HttpStep step;
    uint32_t code, newOffset, totalSize;
  } cases[] = {
      // Fresh and resumed whole answers.
      {200, 5000, 0, 0, S::kCheckSendError, 0, 0, 5000},
      {200, 0, 0, 0, S::kCheckSendError, 0, 0, 0},
      {200, 5000, 1000, 0, S::kCheckSendError, 0, 0, 5000},  // range ignored: start again
      {200, 0, 1000, 0, S::kCheckSendError, 0, 0, 0},
      {200, 5000, 5000, 0, S::kFail, TRANSFER_E_ALREADY_COMPLETE, 5000, 5000},
      {200, 5000, 6000, 0, S::kFail, TRANSFER_E_ALREADY_COMPLETE, 6000, 5000},
      {200, 5000, 0, 12045, S::kCheckSendError, 0, 0, 5000},
      // Partial answers continue the part file.
      {206, 4000, 1000, 0, S::kCheckSendError, 0, 1000, 5000},
      {206, 0, 1000, 0, S::kCheckSendError, 0, 1000, 0},
      // Refusals.
      {304, 0, 0, 0, S::kFail, TRANSFER_E_NOT_MODIFIED, 0, 0},
      {401, 20, 0, 0, S::kCredentials, TRANSFER_E_CREDENTIALS_NEEDED, 0, 0},
      {407, 20, 0, 0, S::kCredentials, TRANSFER_E_CREDENTIALS_NEEDED, 0, 0},
      {403, 20, 0, 0, S::kFail, TRANSFER_E_FORBIDDEN, 0, 0},
      {404, 20, 0, 0, S::kFail, TRANSFER_E_NOT_FOUND, 0, 0},
      {410, 20, 1000, 0, S::kFail, TRANSFER_E_NOT_FOUND, 1000, 0},
      // Any other answer to a request that went through is downloaded whole.
      {500, 120, 1000, 0, S::kReceive, 0, 0, 120},
      {302, 0, 0, 0, S::kReceive, 0, 0, 0},
      // A range beyond the end: the part file is complete already.
      {416, 120, 5000, 0, S::kFail, TRANSFER_E_ALREADY_COMPLETE, 5000, 0},
      {416, 120, 0, 0, S::kReceive, 0, 0, 120},
      {500, 120, 1000, 12045, S::kCheckSendError, 0, 1000, 0},
  };
  for (const auto& c : cases) {
    const HttpDecision d = DecideHttpStatus(c.status, c.contentLength, c.offset, c.sendError);
    EXPECT_EQ(d.step, c.step) << c.status << " offset " << c.offset;
    if (d.step == S::kFail || d.step == S::kCredentials) {
      EXPECT_EQ(d.code, c.code) << c.status << " offset " << c.offset;
    } else {
      EXPECT_EQ(d.offset, c.newOffset) << c.status << " offset " << c.offset;
      EXPECT_EQ(d.totalSize, c.totalSize) << c.status << " offset " << c.offset;
    }
  }
}

}  // namespace
}  // namespace kestrune
