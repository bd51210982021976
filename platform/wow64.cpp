#include "platform/wow64.h"

#include <windows.h>

#include "platform/procedure.h"

namespace kestrune {
namespace {

bool AskSystem() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  const auto isWow64Process =
      FindProcedure<IsWow64ProcessFn>(::GetModuleHandleW(L"kernel32"), "IsWow64Process");
  BOOL wow64 = FALSE;
  return isWow64Process != nullptr && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

}  // namespace

bool IsWow64System() {
  // A function-local static is initialised once even when two threads arrive together.
  static const bool wow64 = AskSystem();
  return wow64;
}

}  // namespace kestrune
