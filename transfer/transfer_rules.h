#pragma once
// The decisions of a transfer that need no system call: which locations are usable, when another
// mirror is tried, what an HTTP status or FTP reply means, which texts go to the server. Also
// built for the host.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrune {

// The system's URL-scheme numbers (INTERNET_SCHEME_*) a transfer knows.
const int kSchemeFtp = 1;
const int kSchemeHttp = 3;
const int kSchemeHttps = 4;
const int kSchemeFile = 5;

enum class LocationKind {
  kNetwork,  // http, https, ftp: through WinINet
  kLocal,    // file: a local or network-share path, copied by the file system
  kUnknown,  // any other scheme: ERROR_INTERNET_UNRECOGNIZED_SCHEME
};

LocationKind KindOfScheme(int scheme);

// True when `target` is at least 2 characters long and either begins with two backslashes or
// has a colon as its second character: the only targets a transfer writes to.
bool IsUsableTarget(const std::wstring& target);

// Walks the location list of one open: after a failure that allows another attempt it moves to
// the next location (after the last comes the first again), until the attempts run out. A list
// of one location is retried only after failures to reach the server at all.
class MirrorRotation {
 public:
  // `retryCount` extra attempts, at least one per location after the first.
  MirrorRotation(int retryCount, size_t locationCount);

  // Index of the location to open now.
  size_t current() const { return index_; }

  // Called with the result of opening current(). True when another attempt is due; current()
  // then names the location to open. False for success and for failures that end the open.
  bool Advance(uint32_t code);

 private:
  size_t count_;
  size_t index_ = 0;
  int attemptsLeft_;
};

// True when an open that failed with `code` may be tried again on the next location: failures to
// connect or to resolve the name always; a missing path, an extended error, a missing item, a
// dropped FTP transfer and a missing file only when there are several locations.
bool IsRetryEligible(uint32_t code, size_t locationCount);

// True for the read failures after which a network transfer reconnects and resumes.
bool IsReconnectError(uint32_t code);

// True for the send failures that are about the server's or client's certificate; the observer
// decides whether the request is sent again.
bool IsCertificateError(uint32_t code);

// True for an FTP logon refused by the server.
bool IsFtpLogonRefusal(uint32_t code);

// True for a share logon refused with the credentials given (or those of the current user).
bool IsShareLogonRefusal(uint32_t code);

// The request header of a resumed HTTP transfer: "Range: bytes=<offset>-" and CR LF; empty for
// offset 0 (a fresh transfer sends no header).
std::wstring RangeHeader(uint32_t offset);

// The FTP command that restarts the next transfer at `offset`: "REST <offset>".
std::wstring RestartCommand(uint32_t offset);

// The reply code at the start of an FTP server response: the number in the text before the first
// space (the whole text when there is none); 0 for an empty response or one without digits.
uint32_t FtpReplyCode(const std::wstring& response);

// True when an FTP file of `totalSize` bytes (0: size unknown) still has data beyond `offset`.
bool FtpHasDataBeyond(uint32_t offset, uint32_t totalSize);

// True when a part file of `partSize` bytes holds a whole source of `totalSize` bytes (0: size
// unknown, the data ended when the server said so).
bool IsPartComplete(uint64_t partSize, uint32_t totalSize);

// What an HTTP answer means for the open.
enum class HttpStep {
  kCheckSendError,  // the body may be received; the send error (if any) decides
  kReceive,         // received at once, whatever the send reported
  kCredentials,     // ask for credentials, then fail with `code`
  kFail,            // fail with `code`
};

struct HttpDecision {
  HttpStep step;
  uint32_t code;       // for kFail and kCredentials
  uint32_t offset;     // where the body continues the part file
  uint32_t totalSize;  // the whole resource's size; 0 when not announced
};

// Interprets `status` with the Content-Length (0 when absent) of an answer to a request that
// asked for the data from `offset` on (0: everything); `sendError` is the send's failure code.
HttpDecision DecideHttpStatus(uint32_t status, uint32_t contentLength, uint32_t offset,
                              uint32_t sendError);

}  // namespace kestrune
