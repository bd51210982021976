#include "transfer/transfer_rules.h"

#include <algorithm>

#include "platform/text.h"
#include "transfer/transfer_codes.h"

namespace kestrune {

LocationKind KindOfScheme(int scheme) {
  switch (scheme) {
    case kSchemeFtp:
    case kSchemeHttp:
    case kSchemeHttps:
      return LocationKind::kNetwork;
    case kSchemeFile:
      return LocationKind::kLocal;
    default:
      return LocationKind::kUnknown;
  }
}

bool IsUsableTarget(const std::wstring& target) {
  if (target.size() < 2) return false;
  return (target[0] == L'\\' && target[1] == L'\\') || target[1] == L':';
}

MirrorRotation::MirrorRotation(int retryCount, size_t locationCount)
    : count_(locationCount),
      attemptsLeft_(std::max(retryCount,
                             locationCount == 0 ? 0 : static_cast<int>(locationCount - 1))) {}

bool MirrorRotation::Advance(uint32_t code) {
  if (count_ == 0 || attemptsLeft_ <= 0 || !IsRetryEligible(code, count_)) return false;
  --attemptsLeft_;
  index_ = (index_ + 1) % count_;
  return true;
}

bool IsRetryEligible(uint32_t code, size_t locationCount) {
  using namespace transfer_code;
  if (code == kCannotConnect || code == kNameNotResolved) return true;
  if (locationCount < 2) return false;
  return code == kPathNotFound || code == kInternetExtendedError || code == kItemNotFound ||
         code == kFtpDropped || code == TRANSFER_E_NOT_FOUND;
}

bool IsReconnectError(uint32_t code) {
  using namespace transfer_code;
  return code == kInternetTimeout || code == kConnectionAborted || code == kConnectionReset ||
         code == kDisconnected;
}

bool IsCertificateError(uint32_t code) {
  using namespace transfer_code;
  return code == kInvalidCertAuthority || code == kClientCertNeeded ||
         code == kCertNameInvalid || code == kCertDateInvalid;
}

bool IsFtpLogonRefusal(uint32_t code) {
  using namespace transfer_code;
  return code == kIncorrectUserName || code == kIncorrectPassword || code == kLoginFailure;
}

bool IsShareLogonRefusal(uint32_t code) {
  using namespace transfer_code;
  return code == kLogonFailure || code == kInvalidPassword || code == kBadUserName;
}

std::wstring RangeHeader(uint32_t offset) {
  if (offset == 0) return std::wstring();
  return L"Range: bytes=" + std::to_wstring(offset) + L"-\r\n";
}

std::wstring RestartCommand(uint32_t offset) { return L"REST " + std::to_wstring(offset); }

uint32_t FtpReplyCode(const std::wstring& response) {
  return static_cast<uint32_t>(ParseDecimal(response.substr(0, response.find(L' '))));
}

bool FtpHasDataBeyond(uint32_t offset, uint32_t totalSize) {
  return totalSize == 0 || offset < totalSize;
}

bool IsPartComplete(uint64_t partSize, uint32_t totalSize) {
  return totalSize == 0 || partSize >= totalSize;
}

HttpDecision DecideHttpStatus(uint32_t status, uint32_t contentLength, uint32_t offset,
                              uint32_t sendError) {
  switch (status) {
    case 200:
      if (contentLength != 0 && contentLength <= offset) {
        return {HttpStep::kFail, TRANSFER_E_ALREADY_COMPLETE, offset, contentLength};
      }
      // The server sent the whole resource: the part file starts again.
      return {HttpStep::kCheckSendError, 0, 0, contentLength};
    case 206:
      // Without a length the body still continues the part file; only its end is unknown.
      // Starting the part file anew here would store the tail of the resource as the whole.
      if (contentLength == 0) return {HttpStep::kCheckSendError, 0, offset, 0};
      return {HttpStep::kCheckSendError, 0, offset, offset + contentLength};
    case 304:
      return {HttpStep::kFail, TRANSFER_E_NOT_MODIFIED, offset, 0};
    case 416:
      // Nothing lies beyond the part file: it already holds the whole resource, as with a whole
      // answer no longer than the part file. Taking the refusal page as the download would
      // replace the data with it and report success.
      if (offset != 0) return {HttpStep::kFail, TRANSFER_E_ALREADY_COMPLETE, offset, 0};
      break;
    case 401:
    case 407:
      return {HttpStep::kCredentials, TRANSFER_E_CREDENTIALS_NEEDED, offset, 0};
    case 403:
      return {HttpStep::kFail, TRANSFER_E_FORBIDDEN, offset, 0};
    case 404:
    case 410:
      return {HttpStep::kFail, TRANSFER_E_NOT_FOUND, offset, 0};
    default:
      break;
  }
  // Any other answer to a request that went through is the body to download, error page or
  // not; only the caller's size or digest check can reject it.
  if (sendError == 0) return {HttpStep::kReceive, 0, 0, contentLength};
  return {HttpStep::kCheckSendError, 0, offset, 0};
}

}  // namespace kestrune
