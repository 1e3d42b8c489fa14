// One WebKitGTK view serving a browser host, and the way back from a view to
// its host.
#pragma once

#include "platform/gtk/GtkDisplay.h"
#include "platform/ui/Browser.h"

#include <gtk/gtk.h>
#include <webkit2/webkit2.h>

namespace platform {

// A view with `settings` in `context`, filling `holder` (a child window's widget) at `rect`;
// *view is set to its WebKit view.
std::unique_ptr<Browser> MakeGtkBrowser(WebKitWebContext* context, WebKitSettings* settings, GtkWidget* holder,
                                        ScreenRect rect, BrowserHost& host, WebKitWebView** view);
// The host a view serves; null for views that serve none.
BrowserHost* HostOfView(WebKitWebView* view);

// Decides where a view may go: a local file only as MayVisit allows with
// `*askedFor` (none when null), only content it can show (nothing is
// downloaded), and new windows only for the player's presses, one each, and
// only for the addresses NewWindowPlaceOf places somewhere. A view whose web
// process crashed or was ended for its memory shows an empty page.
void GuardNavigation(WebKitWebView* view, const std::string* askedFor);

}  // namespace platform
