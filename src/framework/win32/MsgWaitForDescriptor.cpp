#include "framework/MessageQueue.h"

void MsgWaitForDescriptor(platform::FdWatch& watch, DWORD timeoutMs) {
  watch.ready = false;
  HANDLE event = static_cast<HANDLE>(watch.event);
  const DWORD count = watch.Watches() ? 1 : 0;
  // MWMO_INPUTAVAILABLE: a message already in the queue ends the wait at once,
  // seen or not.
  const DWORD woken =
      MsgWaitForMultipleObjectsEx(count, count != 0 ? &event : nullptr, timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  watch.ready = count != 0 && woken == WAIT_OBJECT_0;
}
