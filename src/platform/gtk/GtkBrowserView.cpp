#include "platform/gtk/GtkBrowserView.h"

#include "platform/gtk/GtkPageWindow.h"
#include "platform/ui/BrowserAddress.h"

#include <string>

namespace platform {
namespace {

constexpr char kHostKey[] = "moravine-browser-host";

const char* RequestUri(WebKitPolicyDecision* decision) {
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  return webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
}

gboolean OnDecidePolicy(WebKitWebView*, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type, gpointer data) {
  const auto* askedFor = static_cast<const std::string*>(data);
  switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION:
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION: {
      const char* uri = RequestUri(decision);
      if (uri == nullptr || !MayVisit(uri, askedFor != nullptr ? *askedFor : std::string())) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
      }
      return FALSE;
    }
    case WEBKIT_POLICY_DECISION_TYPE_RESPONSE:
      if (!webkit_response_policy_decision_is_mime_type_supported(WEBKIT_RESPONSE_POLICY_DECISION(decision))) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer) {
  return OpenPageWindow(view, webkit_uri_request_get_uri(webkit_navigation_action_get_request(action)));
}

class GtkBrowser final : public Browser {
 public:
  GtkBrowser(GtkDisplay& display, WebKitWebContext* context, WebKitSettings* settings, GtkWidget* holder,
             ScreenRect rect, BrowserHost& host)
      : display_(display), host_(host) {
    display_.NoteGlibWork();
    view_ = GTK_WIDGET(
        g_object_ref_sink(g_object_new(WEBKIT_TYPE_WEB_VIEW, "web-context", context, "settings", settings, nullptr)));
    g_object_set_data(G_OBJECT(view_), kHostKey, &host_);
    GuardNavigation(WEBKIT_WEB_VIEW(view_), &askedFor_);
    g_signal_connect(view_, "button-press-event", G_CALLBACK(OnButtonPress), this);
    gtk_widget_set_size_request(view_, rect.right - rect.left, rect.bottom - rect.top);
    gtk_container_add(GTK_CONTAINER(holder), view_);
    gtk_widget_show(view_);
  }

  ~GtkBrowser() override {
    display_.NoteGlibWork();
    g_signal_handlers_disconnect_by_data(view_, this);
    g_signal_handlers_disconnect_by_data(view_, &askedFor_);
    g_object_set_data(G_OBJECT(view_), kHostKey, nullptr);
    gtk_widget_destroy(view_);
    g_object_unref(view_);
  }

  GtkBrowser(const GtkBrowser&) = delete;
  GtkBrowser& operator=(const GtkBrowser&) = delete;

  WebKitWebView* View() const { return WEBKIT_WEB_VIEW(view_); }

  void Navigate(const std::string& uri) override {
    askedFor_ = uri;
    display_.NoteGlibWork();
    webkit_web_view_load_uri(WEBKIT_WEB_VIEW(view_), uri.c_str());
  }

 private:
  // The window around the view decides whether a click activates it, as a
  // native child window's parent does.
  static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer data) {
    if (event->type != GDK_BUTTON_PRESS) {
      return FALSE;
    }
    const MouseAnswer answer = static_cast<GtkBrowser*>(data)->host_.MouseActivate();
    if (answer.activate) {
      gtk_widget_grab_focus(widget);
      GtkWidget* top = gtk_widget_get_toplevel(widget);
      if (gtk_widget_is_toplevel(top)) {
        gtk_window_present_with_time(GTK_WINDOW(top), event->time);
      }
    }
    return answer.eat ? TRUE : FALSE;
  }

  GtkDisplay& display_;
  BrowserHost& host_;
  GtkWidget* view_ = nullptr;
  std::string askedFor_;  // the last address the program asked for
};

}  // namespace

std::unique_ptr<Browser> MakeGtkBrowser(GtkDisplay& display, WebKitWebContext* context, WebKitSettings* settings,
                                        GtkWidget* holder, ScreenRect rect, BrowserHost& host, WebKitWebView** view) {
  auto browser = std::make_unique<GtkBrowser>(display, context, settings, holder, rect, host);
  *view = browser->View();
  return browser;
}

BrowserHost* HostOfView(WebKitWebView* view) {
  return view != nullptr ? static_cast<BrowserHost*>(g_object_get_data(G_OBJECT(view), kHostKey)) : nullptr;
}

void GuardNavigation(WebKitWebView* view, const std::string* askedFor) {
  g_signal_connect(view, "decide-policy", G_CALLBACK(OnDecidePolicy), const_cast<std::string*>(askedFor));
  g_signal_connect(view, "create", G_CALLBACK(OnCreate), nullptr);
}

}  // namespace platform
