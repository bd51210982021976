#include "transfer/completion_event.h"

namespace kestrune {

bool CompletionEvent::Create() {
  event_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  signalled_ = false;
  owed_ = false;
  return event_.valid();
}

void CompletionEvent::Begin() {
  owed_ = false;
  if (signalled_.exchange(false)) ::ResetEvent(event_.get());
}

void CompletionEvent::Signal() {
  signalled_ = true;
  ::SetEvent(event_.get());
}

HANDLE CompletionEvent::Settled() {
  if (owed_) {
    owed_ = false;
    Signal();
  }
  return event_.get();
}

}  // namespace kestrune
