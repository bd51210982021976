/* A library whose DllGetVersion always fails. */
#include <windows.h>

__declspec(dllexport) HRESULT WINAPI DllGetVersion(void* request) {
  (void)request;
  return E_NOTIMPL;
}
