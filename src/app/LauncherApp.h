// The launcher's application object: creates and shows the main window.
#pragma once

#include "framework/CWinApp.h"

class LauncherApp : public CWinApp {
 public:
  // Creates the main window; FALSE, with the reason on standard error, when
  // no window can be made (for instance when no display can be opened).
  BOOL InitInstance() override;
};
