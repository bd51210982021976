#pragma once
// The wait for a running Windows Installer transaction.

namespace kestrune {

// The name of the Windows Installer's global execution mutex.
extern const wchar_t kInstallerMutexName[];

// Waits without time-out until no Windows Installer transaction runs. True when the run may go
// on: the mutex does not exist, or it was acquired. False when it was abandoned by its owner, the
// wait failed, or it could not be opened for another reason than its absence.
//
// The mutex is released at once after the wait: keeping it would block every installer package
// that the run starts afterwards.
bool WaitForInstallerIdle();

}  // namespace kestrune
