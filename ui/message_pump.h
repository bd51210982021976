#pragma once
// Keeping the windows of the calling thread alive while it waits for another thread.

#include <windows.h>

namespace kestrune {

// Dispatches the calling thread's window messages, one at a time, until `handle` is signalled
// or the wait fails.
void PumpMessagesUntilSignaled(HANDLE handle);

}  // namespace kestrune
