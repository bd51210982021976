#include "ui/message_pump.h"

namespace kestrune {

void PumpMessagesUntilSignaled(HANDLE handle) {
  while (::MsgWaitForMultipleObjectsEx(1, &handle, INFINITE, QS_ALLINPUT | QS_ALLPOSTMESSAGE,
                                       MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 + 1) {
    MSG message;
    if (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
  }
}

}  // namespace kestrune
