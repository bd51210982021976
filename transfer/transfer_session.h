#pragma once
// Brings one file from a list of equivalent locations (http, https, ftp or file URLs) to a target
// path. The data goes into a part file (the target with ".part" appended) that is moved onto the
// target when complete, so an interrupted transfer is continued by the next one to the same
// target. Network locations go through WinINet in asynchronous mode; file locations are copied
// by the file system.
//
// Threads: a session is used by one thread, which also calls the observer. WinINet calls the
// status callback on its own threads; the callback writes the completion fields and then sets
// `completed_` and signals `requestComplete_`, and the session's thread reads those fields only
// after it has seen one of the two. The observer's IsCanceled and IsPaused are polled every 10 ms.

#include <windows.h>
#include <wininet.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/unique_handle.h"
#include "platform/url.h"
#include "transfer/completion_event.h"
#include "transfer/operation_observer.h"
#include "transfer/partfile_writer.h"
#include "transfer/request_handle.h"
#include "transfer/transfer_codes.h"

namespace kestrune {

class TransferSession {
 public:
  // `observer` (may be null: a silent run) receives progress and errors and carries cancel and
  // pause; it must outlive the session.
  explicit TransferSession(OperationObserver* observer);
  ~TransferSession();

  TransferSession(const TransferSession&) = delete;
  TransferSession& operator=(const TransferSession&) = delete;

  // The size the source must have; 0 (the default) checks no size.
  void SetExpectedSize(uint32_t size);

  // DownloadFromList with the one location `url`.
  uint32_t Download(const std::wstring& url, const std::wstring& target);

  // Brings the file from the first of `urls` that answers (trying the others as the retry rules
  // allow) to `target`, an absolute drive or network path whose missing folders are created.
  // Continues an existing part file of `target`. Returns 0, when `target` then holds the complete
  // file and no part file remains, or a result code (transfer_codes.h, Win32, WinINet); a part
  // file received so far stays for the next attempt. Every failure but cancel, HTTP 304 and a
  // failure to start WinINet is reported once to the observer.
  uint32_t DownloadFromList(const std::vector<std::wstring>& urls, const std::wstring& target);

 private:
  // What the operation started last is (the callback acts on it when it completes).
  enum PendingOperation : uint32_t {
    kPendingConnect = 0,
    kPendingOpenFtpFile = 2,
    kPendingRead = 3,
    kPendingFtpCommand = 4,
    kPendingOpenRequest = 6,
    kPendingSendRequest = 7,
    kPendingQueryData = 8,
  };

  // Session (transfer_session.cpp).
  uint32_t CheckLocations();
  uint32_t OpenInternet(CallbackInternetHandle& internet);
  uint32_t OpenWithRetries(HINTERNET internet, uint32_t& offset, uint32_t& totalSize,
                           bool& local);
  uint32_t OpenUrl(HINTERNET internet, const std::wstring& url, uint32_t& offset,
                   uint32_t& totalSize, bool& local);
  void RequestCredentials(const std::wstring& url);

  // Asynchronous machinery (transfer_session.cpp).
  static void CALLBACK StatusCallback(HINTERNET handle, DWORD_PTR context, DWORD status,
                                      LPVOID info, DWORD infoLength);
  void OnRequestComplete(const INTERNET_ASYNC_RESULT& result);
  DWORD_PTR Context() { return reinterpret_cast<DWORD_PTR>(this); }
  void BeginAsync(PendingOperation kind);
  void FinishedAtOnce();
  uint32_t WaitAsync(DWORD lastError);
  uint32_t CreateHandleAsync(PendingOperation kind, const std::function<HINTERNET()>& call);

  // Receiving (receive.cpp).
  uint32_t ReceiveToFile(HINTERNET internet, RequestHandle& request, uint32_t totalSize,
                         uint32_t offset);
  uint32_t ReceiveChunk(RequestHandle& request, PartFileWriter& writer, uint32_t& received);
  uint32_t OpenPartFile(uint32_t offset, FileHandle& file);
  uint32_t FlushAndReturn(PartFileWriter& writer, uint32_t code);
  uint32_t WaitReceiving(DWORD lastError);
  bool IdleWhilePaused();
  uint32_t Reconnect(HINTERNET internet, HANDLE file, RequestHandle& request,
                     uint32_t& totalSize);
  // Replaces the target with the finished (closed) part file; reports a failure.
  uint32_t MovePartFileOntoTarget();

  // HTTP (http_transfer.cpp).
  uint32_t OpenHttp(HINTERNET internet, const std::wstring& url, const UrlParts& parts,
                    bool https, uint32_t& offset, uint32_t& totalSize);
  uint32_t SendRequest(HINTERNET request, const std::wstring& headers);

  // FTP (ftp_transfer.cpp).
  uint32_t OpenFtp(HINTERNET internet, const std::wstring& url, const UrlParts& parts,
                   uint32_t& offset, uint32_t& totalSize);
  uint32_t Restart(HINTERNET connect, uint32_t& offset);

  // Network share and local copy (local_copy.cpp).
  uint32_t OpenShareFile(const std::wstring& url, const std::wstring& localPath,
                         const std::wstring& user, const std::wstring& password,
                         uint32_t& offset, uint32_t& totalSize);
  // Copies `source` into the part file of the current target, then onto the target.
  uint32_t CopyLocalFile(const std::wstring& source);

  // The server's last response text; WinINet keeps it per thread.
  static std::wstring LastResponseText();
  static const wchar_t* NullWhenEmpty(const std::wstring& text);

  bool Canceled() { return observer_ != nullptr && observer_->IsCanceled(); }
  bool Paused() { return observer_ != nullptr && observer_->IsPaused(); }
  void Report(const wchar_t* text, uint32_t code);

  // Written by the status callback before `completed_` is set (see the top of this file).
  HINTERNET currentHandle_ = nullptr;
  CallbackInternetHandle connectHandle_;
  OperationObserver* observer_;
  std::wstring target_;
  std::wstring partPath_;
  std::vector<std::wstring> urls_;
  std::wstring localSource_;  // the path of a file location, once opened
  uint32_t asyncError_ = 0;
  uint32_t asyncResult_ = 0;
  std::atomic<uint32_t> pendingOperation_{kPendingConnect};
  std::atomic<bool> completed_{false};
  std::wstring serverResponse_;
  std::atomic<bool> connectionClosed_{false};
  CompletionEvent requestComplete_;
  KernelHandle handleClosed_;
  int retryCount_ = 6;
  uint32_t expectedSize_ = 0;
  bool networkTransfer_ = true;
};

}  // namespace kestrune
