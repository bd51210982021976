/* A shell-style library whose DllGetVersion answers 7.3, but only when asked with the original
   20-byte structure whose other fields are zero, as the reader of library versions must ask. */
#include <windows.h>

typedef struct {
  DWORD cbSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformID;
} VersionRequest;

__declspec(dllexport) HRESULT WINAPI DllGetVersion(VersionRequest* request) {
  if (request == NULL || request->cbSize != 20 || request->dwMajorVersion != 0 ||
      request->dwMinorVersion != 0 || request->dwBuildNumber != 0 ||
      request->dwPlatformID != 0) {
    return E_INVALIDARG;
  }
  request->dwMajorVersion = 7;
  request->dwMinorVersion = 3;
  request->dwBuildNumber = 99;
  return S_OK;
}
