// Opening an ftp location: log on in passive mode, restart at the part file's size when resuming,
// open the file and learn its size.

#include "transfer/transfer_rules.h"
#include "transfer/transfer_session.h"

namespace kestrune {

uint32_t TransferSession::OpenFtp(HINTERNET internet, const std::wstring& url,
                                  const UrlParts& parts, uint32_t& offset, uint32_t& totalSize) {
  uint32_t code = CreateHandleAsync(kPendingConnect, [&] {
    return ::InternetConnectW(internet, parts.host.c_str(), parts.port,
                              NullWhenEmpty(parts.userName), NullWhenEmpty(parts.password),
                              INTERNET_SERVICE_FTP, INTERNET_FLAG_PASSIVE, Context());
  });
  if (code != 0) {
    if (IsFtpLogonRefusal(code)) RequestCredentials(url);
    return code;
  }
  connectHandle_.reset(currentHandle_);

  uint32_t start = offset;
  if (start != 0) {
    code = Restart(connectHandle_.get(), start);
    if (code != 0) {
      connectHandle_.reset();
      return code;
    }
  }
  code = CreateHandleAsync(kPendingOpenFtpFile, [&] {
    return ::FtpOpenFileW(connectHandle_.get(), parts.path.c_str(), GENERIC_READ,
                          FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD, Context());
  });
  if (code != 0) {
    connectHandle_.reset();
    return code;
  }
  RequestHandle file(requestComplete_, handleClosed_.get());
  file.reset(currentHandle_);

  // A size the server cannot give counts as not announced, not as 4 GiB.
  DWORD size = ::FtpGetFileSize(file.get(), nullptr);
  if (size == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) size = 0;
  if (!FtpHasDataBeyond(start, size)) {
    file.reset();
    connectHandle_.reset();
    return TRANSFER_E_ALREADY_COMPLETE;
  }
  offset = start;
  totalSize = size;
  currentHandle_ = file.release();
  return 0;
}

uint32_t TransferSession::Restart(HINTERNET connect, uint32_t& offset) {
  const std::wstring command = RestartCommand(offset);
  BeginAsync(kPendingFtpCommand);
  uint32_t failure = 0;
  if (::FtpCommandW(connect, FALSE, FTP_TRANSFER_TYPE_ASCII, command.c_str(), Context(),
                    nullptr)) {
    serverResponse_ = LastResponseText();
    // Wine keeps a reply's text only after a failure: a restart it reports done was accepted.
    if (serverResponse_.empty()) serverResponse_ = L"350";
    FinishedAtOnce();
  } else {
    const DWORD lastError = ::GetLastError();
    if (lastError == ERROR_IO_PENDING) {
      const uint32_t code = WaitAsync(lastError);
      if (code != 0) return code;
      if (!asyncResult_) failure = asyncError_;
    } else {
      serverResponse_ = LastResponseText();
      failure = lastError;
    }
  }
  // Anything but "350" means the server will send the whole file: the part file starts again.
  if (FtpReplyCode(serverResponse_) != 350) offset = 0;
  // An error reply to the command (its text is the response) is the server refusing to restart,
  // which is no failure; a dropped or broken connection is.
  return failure == ERROR_INTERNET_EXTENDED_ERROR ? 0 : failure;
}

}  // namespace kestrune
