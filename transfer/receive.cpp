// The receive loop of a network transfer: from the open request or FTP file into the part file,
// with pause, cancel and reconnection.

#include <algorithm>
#include <vector>

#include "platform/files.h"
#include "transfer/partfile_writer.h"
#include "transfer/transfer_rules.h"
#include "transfer/transfer_session.h"

namespace kestrune {

namespace {

// The most a read asks for.
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
  FileHandle file;
  const uint32_t openError = OpenPartFile(offset, file);
  if (openError != 0) return openError;
  if (observer_ != nullptr) observer_->Progress(offset);

  // Reads land in blocks that a thread of the writer puts into the part file while the next
  // block is received. A block goes when it is full, and whenever the transfer is about to wait
  // (for the network, a pause, a reconnection, the end), so that a transfer that waits has its
  // data written and its progress reported as the data comes.
  PartFileWriter writer(file.get(), observer_, kReadBufferSize);
  // A server that fails again and again before sending anything would otherwise keep the loop
  // reconnecting for ever: after retryCount_ reconnections in a row that brought no data, the
  // failure stands.
  uint64_t receivedSinceReconnect = 0;
  int fruitlessReconnects = 0;
  for (;;) {
    uint32_t received = 0;
    uint32_t code = ReceiveChunk(request, writer, received);
    if (code == 0 && received > 0) {
      receivedSinceReconnect += received;
      fruitlessReconnects = 0;
      code = writer.Added(received);
      if (code == 0 && Paused()) code = writer.Flush();
      if (code != 0) {
        Report(nullptr, code);
        return code;
      }
      if (!IdleWhilePaused()) return FlushAndReturn(writer, TRANSFER_E_CANCELED);
      continue;
    }
    // Whatever ends the loop or reconnects needs the part file as received so far.
    const uint32_t writeError = writer.Flush();
    if (writeError != 0) {
      Report(nullptr, writeError);
      return writeError;
    }
    if (code == 0) {
      // End of data: complete, or cut short.
      if (IsPartComplete(FileSizeOf(file.get()), totalSize)) {
        file.reset();
        return MovePartFileOntoTarget();
      }
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

uint32_t TransferSession::OpenPartFile(uint32_t offset, FileHandle& file) {
  const DWORD folderError = CreateFolderTree(partPath_, false, nullptr);
  if (folderError != 0) {
    Report(nullptr, folderError);
    return folderError;
  }
  // Continued at its end, or started anew (replacing whatever has that name).
  file.reset(::CreateFileW(partPath_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                           offset != 0 ? OPEN_EXISTING : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr));
  if (!file) {
    const DWORD error = ::GetLastError();
    if (Canceled()) return TRANSFER_E_CANCELED;
    Report(nullptr, error);
    return error;
  }
  if (offset != 0) ::SetFilePointer(file.get(), 0, nullptr, FILE_END);
  return 0;
}

uint32_t TransferSession::FlushAndReturn(PartFileWriter& writer, uint32_t code) {
  // The data received before a cancel stays in the part file for the next transfer.
  writer.Flush();
  return code;
}

uint32_t TransferSession::ReceiveChunk(RequestHandle& request, PartFileWriter& writer,
                                       uint32_t& received) {
  received = 0;
  DWORD available = 0;
  BeginAsync(kPendingQueryData);
  if (::InternetQueryDataAvailable(request.get(), &available, 0, 0)) {
    FinishedAtOnce();
  } else {
    const DWORD lastError = ::GetLastError();
    // The network makes the transfer wait: a good moment to write what came so far.
    const uint32_t writeError = writer.Start();
    uint32_t code = WaitReceiving(lastError);
    if (code == 0 && writeError != 0) code = writeError;
    if (code != 0) return code;
    if (!asyncResult_) return asyncError_;
    available = asyncError_;
  }
  if (available == 0) return 0;

  // WinINet writes `read` when the read completes; it lives until the wait below is over.
  DWORD read = 0;
  BeginAsync(kPendingRead);
  if (::InternetReadFile(request.get(), writer.Space(), std::min(available, kReadBufferSize),
                         &read)) {
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

uint32_t TransferSession::MovePartFileOntoTarget() {
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
