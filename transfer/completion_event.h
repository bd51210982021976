#pragma once
// The "request complete" event of an asynchronous transfer: a manual-reset event that is reset
// when an operation starts and signalled when it has completed.
//
// WinINet's status callback signals it for an operation that completes asynchronously. An
// operation that finishes inside its call only leaves the signal owed: it is given when somebody
// is about to wait for the event without starting another operation (Settled). The receive loop
// thus makes no event call for the chunks WinINet has at hand, two system calls fewer per chunk
// (under Wine each one is a round trip to the wineserver).
//
// Threads: Create, Begin, FinishedAtOnce and Settled on the transfer's thread; Signal on a
// callback thread, while an operation is pending (Wine also signals within some calls).

#include <windows.h>

#include <atomic>

#include "platform/unique_handle.h"

namespace kestrune {

class CompletionEvent {
 public:
  // A new non-signalled event (the previous one is closed); false, with GetLastError set, when
  // it cannot be created.
  bool Create();

  // The event, to wait on while an operation is pending.
  HANDLE get() const { return event_.get(); }

  // An operation starts: the event is (made) non-signalled.
  void Begin();
  // The operation finished within its call: the signal is owed.
  void FinishedAtOnce() { owed_ = true; }
  // The operation completed (called by the status callback).
  void Signal();
  // Gives an owed signal and returns the event, for a wait outside any operation.
  HANDLE Settled();

 private:
  KernelHandle event_;
  std::atomic<bool> signalled_{false};  // SetEvent was called since the last reset
  bool owed_ = false;                   // an operation completed without SetEvent
};

}  // namespace kestrune
