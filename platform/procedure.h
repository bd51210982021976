#pragma once
// Typed lookup of a function that a system library may or may not export.

#include <windows.h>

namespace kestrune {

// The exported function `name` of `module` as a `Function` pointer; null when absent.
template <typename Function>
Function FindProcedure(HMODULE module, const char* name) {
  if (module == nullptr) return nullptr;
  // Going through void* keeps the conversion explicit for every compiler.
  return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

}  // namespace kestrune
