#include "app/installer_mutex.h"

#include <windows.h>

#include "platform/unique_handle.h"

namespace kestrune {

const wchar_t kInstallerMutexName[] = L"Global\\_MSIExecute";

bool WaitForInstallerIdle() {
  KernelHandle mutex(::OpenMutexW(SYNCHRONIZE, FALSE, kInstallerMutexName));
  if (!mutex) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  const DWORD wait = ::WaitForSingleObject(mutex.get(), INFINITE);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) ::ReleaseMutex(mutex.get());
  return wait == WAIT_OBJECT_0;
}

}  // namespace kestrune
