// Opening an http or https location: connect, send a GET (with a byte range when resuming), and
// read what the status code means for the transfer.

#include "transfer/transfer_rules.h"
#include "transfer/transfer_session.h"

namespace kestrune {

namespace {

// Always a fresh answer from the server, nothing kept in the cache, one connection for the
// request, and redirects between http and https followed like any other.
const DWORD kHttpRequestFlags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE |
                                INTERNET_FLAG_KEEP_CONNECTION |
                                INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP |
                                INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS;
static_assert(kHttpRequestFlags == 0x8440C000, "request flags");

// A numeric header of the answer; false (with the error in GetLastError) when it is missing.
bool QueryNumber(HINTERNET request, DWORD info, uint32_t& value) {
  DWORD number = 0;
  DWORD size = sizeof(number);
  if (!::HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &number, &size, nullptr)) {
    return false;
  }
  value = number;
  return true;
}

}  // namespace

uint32_t TransferSession::OpenHttp(HINTERNET internet, const std::wstring& url,
                                   const UrlParts& parts, bool https, uint32_t& offset,
                                   uint32_t& totalSize) {
  uint32_t code = CreateHandleAsync(kPendingConnect, [&] {
    return ::InternetConnectW(internet, parts.host.c_str(), parts.port,
                              NullWhenEmpty(parts.userName), NullWhenEmpty(parts.password),
                              INTERNET_SERVICE_HTTP, 0, Context());
  });
  if (code != 0) return code;
  connectHandle_.reset(currentHandle_);

  const std::wstring object = parts.path + parts.extraInfo;
  const DWORD flags = kHttpRequestFlags | (https ? INTERNET_FLAG_SECURE : 0);
  const wchar_t* acceptTypes[] = {L"*/*", nullptr};
  code = CreateHandleAsync(kPendingOpenRequest, [&] {
    return ::HttpOpenRequestW(connectHandle_.get(), L"GET", object.c_str(), L"HTTP/1.0", L"",
                              acceptTypes, flags, Context());
  });
  if (code != 0) {
    connectHandle_.reset();
    return code;
  }
  RequestHandle request(requestComplete_, handleClosed_.get());
  request.reset(currentHandle_);

  const std::wstring headers = RangeHeader(offset);
  for (;;) {
    const uint32_t sendError = SendRequest(request.get(), headers);
    uint32_t status = 0;
    HttpDecision decision = {HttpStep::kCheckSendError, 0, offset, 0};
    if (QueryNumber(request.get(), HTTP_QUERY_STATUS_CODE, status)) {
      uint32_t contentLength = 0;
      QueryNumber(request.get(), HTTP_QUERY_CONTENT_LENGTH, contentLength);
      decision = DecideHttpStatus(status, contentLength, offset, sendError);
    } else if (sendError == 0) {
      code = ::GetLastError();
      break;
    }
    // Without an answer (the server was not reached, its certificate was refused) the send's
    // own failure is what happened.

    if (decision.step == HttpStep::kCredentials) RequestCredentials(url);
    if (decision.step == HttpStep::kFail || decision.step == HttpStep::kCredentials) {
      code = decision.code;
      break;
    }
    if (decision.step == HttpStep::kCheckSendError && sendError != 0) {
      const int context = static_cast<int>(reinterpret_cast<intptr_t>(request.get()));
      if (IsCertificateError(sendError) && observer_ != nullptr &&
          observer_->ReportError(nullptr, sendError, context) == 0) {
        continue;  // the observer wants the request sent again
      }
      code = sendError;
      break;
    }
    offset = decision.offset;
    totalSize = decision.totalSize;
    currentHandle_ = request.release();
    return 0;
  }
  request.reset();
  connectHandle_.reset();
  return code;
}

uint32_t TransferSession::SendRequest(HINTERNET request, const std::wstring& headers) {
  BeginAsync(kPendingSendRequest);
  if (::HttpSendRequestW(request, NullWhenEmpty(headers), static_cast<DWORD>(headers.size()),
                         nullptr, 0)) {
    FinishedAtOnce();
    return 0;
  }
  const uint32_t code = WaitAsync(::GetLastError());
  if (code != 0) return code;
  return asyncResult_ ? 0 : asyncError_;
}

}  // namespace kestrune
