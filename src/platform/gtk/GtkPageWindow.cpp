#include "platform/gtk/GtkPageWindow.h"

#include "platform/gtk/GtkBrowserView.h"
#include "platform/ui/BrowserAddress.h"

#include <string_view>

namespace platform {
namespace {

bool OpenInDefaultHandler(const char* uri) {
  GdkDisplay* display = gdk_display_get_default();
  GAppLaunchContext* launch =
      display != nullptr ? G_APP_LAUNCH_CONTEXT(gdk_display_get_app_launch_context(display)) : nullptr;
  GError* error = nullptr;
  const bool started = g_app_info_launch_default_for_uri(uri, launch, &error);
  if (!started) {
    // Not a failure of the launcher: a web page then opens in a window of its
    // own, a mail address nowhere.
    g_error_free(error);
  }
  if (launch != nullptr) {
    g_object_unref(launch);
  }
  return started;
}

}  // namespace

GtkWidget* OpenPageWindow(WebKitWebView* opener, const char* uri) {
  const std::string_view address = uri != nullptr ? uri : "";
  switch (NewWindowPlaceOf(address)) {
    case NewWindowPlace::kNowhere:
      return nullptr;
    case NewWindowPlace::kDesktop:
      OpenInDefaultHandler(uri);
      return nullptr;
    case NewWindowPlace::kDesktopOrOwnWindow:
      if (OpenInDefaultHandler(uri)) {
        return nullptr;
      }
      break;
    case NewWindowPlace::kOwnWindow:
      break;
  }
  GtkWidget* view = webkit_web_view_new_with_related_view(opener);
  webkit_web_view_set_settings(WEBKIT_WEB_VIEW(view), webkit_web_view_get_settings(opener));
  GuardNavigation(WEBKIT_WEB_VIEW(view), nullptr);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_default_size(GTK_WINDOW(window), 800, 600);
  gtk_container_add(GTK_CONTAINER(window), view);
  // The window belongs to GTK's list of top-levels: it shows when the page is
  // ready and goes when the page or the player closes it.
  g_signal_connect_swapped(view, "ready-to-show", G_CALLBACK(gtk_widget_show_all), window);
  g_signal_connect_swapped(view, "close", G_CALLBACK(gtk_widget_destroy), window);
  return view;
}

}  // namespace platform
