#include "transfer/transfer_session.h"

#include <algorithm>

#include "platform/path_text.h"
#include "transfer/transfer_rules.h"

namespace kestrune {

std::wstring TransferSession::LastResponseText() {
  // Asked with a buffer from the start: Wine reports no length for a null buffer.
  DWORD error = 0;
  std::wstring text(512, L'\0');
  DWORD length = static_cast<DWORD>(text.size());
  if (!::InternetGetLastResponseInfoW(&error, &text[0], &length)) {
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::wstring();
    text.assign(length + 1, L'\0');
    length = static_cast<DWORD>(text.size());
    if (!::InternetGetLastResponseInfoW(&error, &text[0], &length)) return std::wstring();
  }
  text.resize(std::min<size_t>(length, text.size()));
  return text;
}

const wchar_t* TransferSession::NullWhenEmpty(const std::wstring& text) {
  return text.empty() ? nullptr : text.c_str();
}

namespace {

// The size (low 32 bits) of an existing part file; 0 when there is none or it cannot be read.
uint32_t PartFileSize(const std::wstring& partPath) {
  const FileHandle file(::CreateFileW(partPath.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 0;
  const DWORD size = ::GetFileSize(file.get(), nullptr);
  return size == INVALID_FILE_SIZE ? 0 : size;
}

}  // namespace

TransferSession::TransferSession(OperationObserver* observer) : observer_(observer) {}

TransferSession::~TransferSession() = default;

void TransferSession::SetExpectedSize(uint32_t size) { expectedSize_ = size; }

uint32_t TransferSession::Download(const std::wstring& url, const std::wstring& target) {
  return DownloadFromList(std::vector<std::wstring>{url}, target);
}

uint32_t TransferSession::DownloadFromList(const std::vector<std::wstring>& urls,
                                           const std::wstring& target) {
  urls_ = urls;
  target_ = target;
  partPath_ = target + L".part";
  currentHandle_ = nullptr;
  connectHandle_.reset();
  networkTransfer_ = true;

  uint32_t code = CheckLocations();
  if (code != 0) {
    Report(nullptr, code);
    return code;
  }
  CallbackInternetHandle internet;
  code = OpenInternet(internet);
  if (code != 0) return code;
  if (!IsUsableTarget(target_)) {
    Report(nullptr, TRANSFER_E_BAD_TARGET);
    return TRANSFER_E_BAD_TARGET;
  }

  uint32_t offset = PartFileSize(partPath_);
  uint32_t totalSize = 0;
  bool local = false;
  RequestHandle request(requestComplete_, handleClosed_.get());
  code = OpenWithRetries(internet.get(), offset, totalSize, local);
  if (code == 0 && !local) request.reset(currentHandle_);

  const std::wstring fileName = FileNameOfPath(target_);
  if (Canceled()) {
    code = TRANSFER_E_CANCELED;
  } else if (code != 0) {
    if (code != TRANSFER_E_NOT_MODIFIED) Report(fileName.c_str(), code);
  } else if (expectedSize_ != 0 && totalSize != 0 && totalSize != expectedSize_) {
    code = TRANSFER_E_SIZE_MISMATCH;
    Report(fileName.c_str(), code);
  } else if (local) {
    code = CopyLocalFile(localSource_);
  } else {
    code = ReceiveToFile(internet.get(), request, totalSize, offset);
  }

  // The request first (its closing is waited for), then the connection, then WinINet itself.
  request.reset();
  connectHandle_.reset();
  internet.reset();
  return code;
}

uint32_t TransferSession::CheckLocations() {
  if (urls_.empty()) return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  for (const std::wstring& url : urls_) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    if (!::InternetCrackUrlW(url.c_str(), 0, 0, &parts)) return ::GetLastError();
    switch (KindOfScheme(parts.nScheme)) {
      case LocationKind::kLocal:
        networkTransfer_ = false;
        break;
      case LocationKind::kNetwork:
        break;
      case LocationKind::kUnknown:
        return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
    }
  }
  return 0;
}

uint32_t TransferSession::OpenInternet(CallbackInternetHandle& internet) {
  handleClosed_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!requestComplete_.Create() || !handleClosed_) return ::GetLastError();

  internet.reset(::InternetOpenW(L"Kestrune", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                                 INTERNET_FLAG_ASYNC));
  if (!internet) return ::GetLastError();
  // Without the callback no asynchronous operation would ever be seen to complete.
  if (::InternetSetStatusCallbackW(internet.get(), &TransferSession::StatusCallback) ==
      INTERNET_INVALID_STATUS_CALLBACK) {
    const DWORD error = ::GetLastError();
    internet.reset();
    return error;
  }
  return 0;
}

uint32_t TransferSession::OpenWithRetries(HINTERNET internet, uint32_t& offset,
                                          uint32_t& totalSize, bool& local) {
  if (urls_.empty()) return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  MirrorRotation rotation(retryCount_, urls_.size());
  for (;;) {
    const uint32_t code = OpenUrl(internet, urls_[rotation.current()], offset, totalSize, local);
    if (!rotation.Advance(code)) return code;
  }
}

uint32_t TransferSession::OpenUrl(HINTERNET internet, const std::wstring& url, uint32_t& offset,
                                  uint32_t& totalSize, bool& local) {
  const UrlParts parts = ParseUrl(url);
  if (parts.error != 0) return parts.error;
  switch (parts.scheme) {
    case kSchemeFtp:
      local = false;
      return OpenFtp(internet, url, parts, offset, totalSize);
    case kSchemeHttp:
    case kSchemeHttps:
      local = false;
      return OpenHttp(internet, url, parts, parts.scheme == kSchemeHttps, offset, totalSize);
    case kSchemeFile:
      local = true;
      localSource_ = parts.path;
      return OpenShareFile(url, parts.path, parts.userName, parts.password, offset, totalSize);
    default:
      return ERROR_INTERNET_UNRECOGNIZED_SCHEME;
  }
}

void TransferSession::RequestCredentials(const std::wstring& url) {
  // No credentials are ever asked for: the locations carry the only ones a transfer uses. The
  // report tells the user why the attempt fails.
  if (observer_ != nullptr) observer_->ReportError(url.c_str(), TRANSFER_E_CREDENTIALS_NEEDED, 0);
}

void TransferSession::Report(const wchar_t* text, uint32_t code) {
  if (observer_ != nullptr) observer_->ReportError(text, code, 0);
}

void CALLBACK TransferSession::StatusCallback(HINTERNET, DWORD_PTR context, DWORD status,
                                              LPVOID info, DWORD) {
  TransferSession* session = reinterpret_cast<TransferSession*>(context);
  if (session == nullptr) return;
  switch (status) {
    case INTERNET_STATUS_CONNECTION_CLOSED:
      session->connectionClosed_ = true;
      break;
    case INTERNET_STATUS_HANDLE_CLOSING:
      ::SetEvent(session->handleClosed_.get());
      break;
    case INTERNET_STATUS_REQUEST_COMPLETE:
      if (info != nullptr) {
        session->OnRequestComplete(*static_cast<const INTERNET_ASYNC_RESULT*>(info));
      }
      break;
    default:
      break;
  }
}

void TransferSession::OnRequestComplete(const INTERNET_ASYNC_RESULT& result) {
  asyncError_ = result.dwError;
  asyncResult_ = static_cast<uint32_t>(result.dwResult);
  switch (pendingOperation_.load()) {
    case kPendingFtpCommand:
      serverResponse_ = LastResponseText();
      break;
    case kPendingConnect:
    case kPendingOpenFtpFile:
    case kPendingOpenRequest:
      currentHandle_ = reinterpret_cast<HINTERNET>(result.dwResult);
      serverResponse_ = LastResponseText();
      break;
    default:
      break;
  }
  completed_ = true;
  requestComplete_.Signal();
}

void TransferSession::BeginAsync(PendingOperation kind) {
  pendingOperation_ = kind;
  completed_ = false;
  requestComplete_.Begin();
  // Wine's FtpOpenFileW goes asynchronous without setting ERROR_IO_PENDING; a cleared code tells
  // that case from a real failure (see WaitAsync).
  ::SetLastError(ERROR_SUCCESS);
}

void TransferSession::FinishedAtOnce() {
  completed_ = true;
  requestComplete_.FinishedAtOnce();
}

uint32_t TransferSession::WaitAsync(DWORD lastError) {
  // A call that failed without any code has not failed: it went asynchronous (see BeginAsync).
  if (lastError != ERROR_IO_PENDING && lastError != ERROR_SUCCESS) return lastError;
  while (!completed_) {
    if (Canceled()) return TRANSFER_E_CANCELED;
    ::WaitForSingleObject(requestComplete_.get(), 10);
  }
  return 0;
}

uint32_t TransferSession::CreateHandleAsync(PendingOperation kind,
                                            const std::function<HINTERNET()>& call) {
  currentHandle_ = nullptr;
  BeginAsync(kind);
  const HINTERNET handle = call();
  if (handle != nullptr) {
    currentHandle_ = handle;
    FinishedAtOnce();
    return 0;
  }
  const uint32_t code = WaitAsync(::GetLastError());
  if (code != 0) return code;
  return currentHandle_ != nullptr ? 0 : asyncError_;
}

}  // namespace kestrune
