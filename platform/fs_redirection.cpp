#include "platform/fs_redirection.h"

#include <windows.h>

#include "platform/procedure.h"

namespace kestrune {
namespace {

using DisableFn = BOOL(WINAPI*)(PVOID*);
using RevertFn = BOOL(WINAPI*)(PVOID);

// Windows XP before SP2 and 32-bit systems without WOW64 lack these, so they are looked up.
struct RedirectionFunctions {
  DisableFn disable;
  RevertFn revert;
};

const RedirectionFunctions& Functions() {
  // A function-local static is initialised once even when two threads arrive together.
  static const RedirectionFunctions functions = [] {
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return RedirectionFunctions{
        FindProcedure<DisableFn>(kernel, "Wow64DisableWow64FsRedirection"),
        FindProcedure<RevertFn>(kernel, "Wow64RevertWow64FsRedirection")};
  }();
  return functions;
}

}  // namespace

FsRedirectionGuard::~FsRedirectionGuard() { Revert(); }

void FsRedirectionGuard::Disable() {
  if (disabled_ || Functions().disable == nullptr) return;
  // A 32-bit system answers FALSE; the old value is then meaningless and must not be restored.
  PVOID oldValue = nullptr;
  if (Functions().disable(&oldValue)) {
    oldValue_ = oldValue;
    disabled_ = true;
  }
}

void FsRedirectionGuard::Revert() {
  if (!disabled_) return;
  disabled_ = false;
  if (Functions().revert != nullptr) Functions().revert(oldValue_);
  oldValue_ = nullptr;
}

}  // namespace kestrune
