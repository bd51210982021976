#pragma once
// The progress routine of a local copy (CopyFileExW), which turns the copy's byte counts into
// the observer's BeginTransfer and Progress calls and its cancel into PROGRESS_CANCEL.
//
// Threads: CopyFileExW calls the routine on the thread that copies.

#include <windows.h>

#include <cstdint>

#include "transfer/operation_observer.h"

namespace kestrune {

// What the routine needs from the transfer; `reported` is reset at the start of each copy.
struct CopyJob {
  OperationObserver* observer;  // may be null: the copy then just runs
  uint64_t reported;            // bytes reported so far
};

// The LPPROGRESS_ROUTINE given to CopyFileExW with a CopyJob as its data. On a new stream it
// starts a transfer of the file's size (low 32 bits); it reports the bytes copied since its last
// report, and answers PROGRESS_CANCEL once the observer asks for cancel.
DWORD CALLBACK CopyProgress(LARGE_INTEGER totalFileSize, LARGE_INTEGER totalBytesTransferred,
                            LARGE_INTEGER streamSize, LARGE_INTEGER streamBytesTransferred,
                            DWORD streamNumber, DWORD reason, HANDLE source, HANDLE destination,
                            LPVOID data);

}  // namespace kestrune
