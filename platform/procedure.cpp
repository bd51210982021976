#include "platform/procedure.h"

#include <string>

namespace kestrune {

HMODULE LoadSystemLibrary(const wchar_t* fileName) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + fileName;
  // With a full path this also looks for the library's own dependencies in the system folder
  // first, not in the program's.
  return ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace kestrune
