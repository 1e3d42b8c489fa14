#include "framework/MessageBox.h"

#include "base/NarrowText.h"
#include "framework/DisplayBinding.h"
#include "framework/MessageQueue.h"
#include "framework/WindowRecord.h"

#include <cstdio>

int MessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  platform::MessageBoxRequest request;
  request.owner = IsWindow(owner) ? owner->native : 0;
  request.text = Utf8FromLocale(text != nullptr ? text : "");
  request.caption = caption != nullptr ? Utf8FromLocale(caption) : "Error";
  request.stopIcon = (type & MB_ICONSTOP) != 0;

  platform::Display* display = CurrentDisplay();
  if (display == nullptr || !display->FailureReason().empty()) {
    // Nowhere to show it: the player still learns of it on standard error.
    std::fprintf(stderr, "%s: %s\n", request.caption.c_str(), request.text.c_str());
    return IDOK;
  }
  // The box's own loop: the program's timers and paints go on while it is shown.
  const platform::MessageBoxId box = display->OpenMessageBox(request);
  while (display->IsMessageBoxOpen(box)) {
    if (!PumpOneMessage()) {
      // The quit ends the box and is left for the loop that called it.
      display->CloseMessageBox(box);
      break;
    }
  }
  return IDOK;
}
