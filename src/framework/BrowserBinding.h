// The browser engine the framework's HTML views embed, chosen once by the
// program (WebKitGTK) or by a test (the headless engine).
#pragma once

#include "platform/ui/Browser.h"

// Makes `engine` the one HTML views create their browsers with; null: none.
void UseBrowserEngine(platform::BrowserEngine* engine);
// The engine in use, or null when none was chosen.
platform::BrowserEngine* CurrentBrowserEngine();
