#include "framework/BrowserBinding.h"

namespace {

platform::BrowserEngine* g_engine = nullptr;

}  // namespace

void UseBrowserEngine(platform::BrowserEngine* engine) { g_engine = engine; }

platform::BrowserEngine* CurrentBrowserEngine() { return g_engine; }
