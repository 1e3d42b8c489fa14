// Pages a view asks to open in a new window.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace platform {

// Opens `uri` in the system's default web browser; where none can be started,
// makes a view in a plain top-level window of its own, which closes by
// itself, and returns it for WebKit to load the page into. Null otherwise.
GtkWidget* OpenPageWindow(WebKitWebView* opener, const char* uri);

}  // namespace platform
