// Pages a view asks to open in a new window.
#pragma once

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace platform {

// Opens `uri` where NewWindowPlaceOf places it: a web page in the system's
// default web browser, or where none can be started, in a view in a plain
// top-level window of its own, which closes by itself, returned for WebKit to
// load the page into; a mail address in the desktop's mail program; a blank
// page in a window of its own. Null when no window of its own is made.
GtkWidget* OpenPageWindow(WebKitWebView* opener, const char* uri);

}  // namespace platform
