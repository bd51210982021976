#include "transfer/request_handle.h"

namespace kestrune {

void RequestHandle::reset(HINTERNET handle) {
  if (handle_.valid()) {
    ::ResetEvent(handleClosed_);
    handle_.reset();
    const HANDLE events[] = {requestComplete_.Settled(), handleClosed_};
    ::WaitForMultipleObjects(2, events, TRUE, INFINITE);
  }
  handle_.reset(handle);
}

}  // namespace kestrune
