// The receive loop of a network transfer: from the open request or FTP file into the part file,
// with pause, cancel and reconnection.

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "transfer/transfer_rules.h"
#include "transfer/transfer_session.h"

namespace kestrune {

namespace {

const DWORD kReadBufferSize = 51200;

uint64_t FileSizeOf(HANDLE file) {
  LARGE_INTEGER size = {};
  return ::GetFileSizeEx(file, &size) ? static_cast<uint64_t>(size.QuadPart) : 0;
}

}  // namespace

uint32_t TransferSession::ReceiveToFile(HINTERNET internet, RequestHandle& request,
                                        uint32_t totalSize, uint32_t offset) {
  if (observer_ != nullptr) observer_->BeginTransfer(kTransferKind, totalSize, target_.c_str());
  if (Canceled()) return TRANSFER_E_CANCELED;
  const DWORD folderError = CreateFolderTree(partPath_, false, nullptr);
  if (folderError != 0) {
    Report(nullptr, folderError);
    return folderError;
  }
  FileHandle file(::CreateFileW(partPath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                offset != 0 ? OPEN_EXISTING : CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (Canceled()) return TRANSFER_E_CANCELED;
    Report(nullptr, error);
    return error;
  }
  if (offset != 0) ::SetFilePointer(file.get(), 0, nullptr, FILE_END);
  if (observer_ != nullptr) observer_->Progress(offset);

  std::vector<char> buffer(kReadBufferSize);
  // A server that fails again and again before sending anything would otherwise keep the loop
  // reconnecting for ever: after retryCount_ reconnections in a row that brought no data, the
  // failure stands.
  uint64_t receivedSinceReconnect = 0;
  int fruitlessReconnects = 0;
  for (;;) {
    uint32_t received = 0;
    uint32_t code = ReceiveChunk(request, buffer.data(), received);
    if (code == 0 && received > 0) {
      DWORD written = 0;
      if (!::WriteFile(file.get(), buffer.data(), received, &written, nullptr)) {
        code = ::GetLastError();
        Report(nullptr, code);
        return code;
      }
      receivedSinceReconnect += written;
      fruitlessReconnects = 0;
      if (observer_ != nullptr) observer_->Progress(written);
      if (!IdleWhilePaused()) return TRANSFER_E_CANCELED;
      continue;
    }
    if (code == 0) {
      // End of data: complete, or cut short.
      if (IsPartComplete(FileSizeOf(file.get()), totalSize)) return MovePartFileOntoTarget(file);
      code = TRANSFER_E_INCOMPLETE;
      if (!networkTransfer_) {
        Report(nullptr, code);
        return code;
      }
    } else if (code == TRANSFER_E_CANCELED) {
      return code;
    } else if (!networkTransfer_ || !IsReconnectError(code)) {
      Report(nullptr, code);
      return code;
    }
    if (receivedSinceReconnect == 0 && ++fruitlessReconnects > retryCount_) {
      Report(nullptr, code);
      return code;
    }
    receivedSinceReconnect = 0;
    code = Reconnect(internet, file.get(), request, totalSize);
    if (code != 0) {
      if (code != TRANSFER_E_CANCELED) Report(nullptr, code);
      return code;
    }
  }
}

uint32_t TransferSession::ReceiveChunk(RequestHandle& request, char* buffer,
                                       uint32_t& received) {
  received = 0;
  DWORD available = 0;
  BeginAsync(kPendingQueryData);
  if (::InternetQueryDataAvailable(request.get(), &available, 0, 0)) {
    FinishedAtOnce();
  } else {
    const uint32_t code = WaitReceiving(::GetLastError());
    if (code != 0) return code;
    if (!asyncResult_) return asyncError_;
    available = asyncError_;
  }
  if (available == 0) return 0;

  // WinINet writes `read` when the read completes; it lives until the wait below is over.
  DWORD read = 0;
  BeginAsync(kPendingRead);
  if (::InternetReadFile(request.get(), buffer, std::min(available, kReadBufferSize), &read)) {
    FinishedAtOnce();
  } else {
    const uint32_t code = WaitReceiving(::GetLastError());
    if (code != 0) return code;
    if (!asyncResult_) return asyncError_;
    if (asyncError_ > 0) read = asyncError_;
  }
  received = read;
  return 0;
}

uint32_t TransferSession::WaitReceiving(DWORD lastError) {
  if (lastError != ERROR_IO_PENDING && lastError != ERROR_SUCCESS) return lastError;
  while (!completed_) {
    if (Canceled()) return TRANSFER_E_CANCELED;
    if (Paused()) {
      ::Sleep(10);
      continue;
    }
    ::WaitForSingleObject(requestComplete_.get(), 10);
  }
  return 0;
}

bool TransferSession::IdleWhilePaused() {
  while (Paused()) {
    if (Canceled()) return false;
    ::Sleep(10);
  }
  return !Canceled();
}

uint32_t TransferSession::Reconnect(HINTERNET internet, HANDLE file, RequestHandle& request,
                                    uint32_t& totalSize) {
  request.reset();
  ::FlushFileBuffers(file);
  const uint32_t partSize = static_cast<uint32_t>(FileSizeOf(file));
  uint32_t offset = partSize;
  bool local = false;
  const uint32_t code = OpenWithRetries(internet, offset, totalSize, local);
  if (code != 0) return code;
  request.reset(currentHandle_);
  // A source that starts again from the beginning cannot continue this part file.
  if (partSize != 0 && offset != partSize) return ERROR_INTERNET_TIMEOUT;
  return 0;
}

uint32_t TransferSession::MovePartFileOntoTarget(FileHandle& file) {
  file.reset();
  DeleteFileLong(target_);
  if (!::MoveFileW(partPath_.c_str(), target_.c_str())) {
    if (!::CopyFileW(partPath_.c_str(), target_.c_str(), FALSE)) {
      const DWORD error = ::GetLastError();
      Report(nullptr, error);
      return error;
    }
    DeleteFileLong(partPath_);
  }
  if (observer_ != nullptr) observer_->Completed(kTransferKind, 0);
  return 0;
}

}  // namespace kestrune
