#pragma once
// System libraries loaded at run time, and typed lookup of a function that one may or may not
// export.

#include <windows.h>

namespace kestrune {

// Loads the library `fileName` (a bare name such as "msi.dll") from the system folder by its full
// path, never from the program's own folder or the current directory, where a download may have
// left a file of that name. Returns the module, whose reference the caller owns, or null when
// the system has no such library.
HMODULE LoadSystemLibrary(const wchar_t* fileName);

// The exported function `name` of `module` as a `Function` pointer; null when absent.
template <typename Function>
Function FindProcedure(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Going through void* keeps the conversion explicit for every compiler.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace kestrune
