#pragma once
// The holder of a request or FTP file handle of an asynchronous transfer.
//
// Threads: used by the thread that runs the transfer; the two events are signalled from WinINet's
// callback threads.

#include <windows.h>
#include <wininet.h>

#include "platform/unique_handle.h"
#include "transfer/completion_event.h"

namespace kestrune {

// Owns a request (or FTP file) handle that WinINet serves asynchronously. Closing it resets
// `handleClosed`, closes the handle and then waits, without time-out, until both
// `requestComplete` and `handleClosed` are signalled: WinINet has then ended any operation still
// running on the handle and reported the handle closed, so no notification about it can arrive
// afterwards. The events belong to the transfer and must outlive the holder.
class RequestHandle {
 public:
  RequestHandle(CompletionEvent& requestComplete, HANDLE handleClosed)
      : requestComplete_(requestComplete), handleClosed_(handleClosed) {}
  ~RequestHandle() { reset(); }

  RequestHandle(const RequestHandle&) = delete;
  RequestHandle& operator=(const RequestHandle&) = delete;

  HINTERNET get() const { return handle_.get(); }

  // Closes the handle held (waiting as described above) and takes `handle`.
  void reset(HINTERNET handle = nullptr);

  // Gives up the handle without closing it.
  HINTERNET release() { return handle_.release(); }

 private:
  InternetHandle handle_;
  CompletionEvent& requestComplete_;
  HANDLE handleClosed_;
};

}  // namespace kestrune
