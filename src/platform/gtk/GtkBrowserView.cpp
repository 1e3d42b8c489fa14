#include "platform/gtk/GtkBrowserView.h"

#include "platform/gtk/GtkPageWindow.h"
#include "platform/ui/BrowserAddress.h"

#include <string>

namespace platform {
namespace {

constexpr char kHostKey[] = "moravine-browser-host";
// Set on a view while a press of the player's waits to open a new window.
constexpr char kPressWaitingKey[] = "moravine-press-waiting";
constexpr char kEmptyPage[] = "about:blank";

const char* RequestUri(WebKitPolicyDecision* decision) {
  WebKitNavigationAction* action =
      webkit_navigation_policy_decision_get_navigation_action(WEBKIT_NAVIGATION_POLICY_DECISION(decision));
  return webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
}

gboolean OnDecidePolicy(WebKitWebView* view, WebKitPolicyDecision* decision, WebKitPolicyDecisionType type,
                        gpointer data) {
  const auto* askedFor = static_cast<const std::string*>(data);
  switch (type) {
    case WEBKIT_POLICY_DECISION_TYPE_NAVIGATION_ACTION: {
      const char* uri = RequestUri(decision);
      const char* shown = webkit_web_view_get_uri(view);
      if (uri == nullptr ||
          !MayVisit(uri, askedFor != nullptr ? *askedFor : std::string(), shown != nullptr ? shown : "")) {
        webkit_policy_decision_ignore(decision);
        return TRUE;
      }
      return FALSE;
    }
    case WEBKIT_POLICY_DECISION_TYPE_NEW_WINDOW_ACTION: {
      const char* uri = RequestUri(decision);
      if (uri == nullptr || NewWindowPlaceOf(uri) == NewWindowPlace::kNowhere) {
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

// A press of the player's in the view (a click, or a key that follows a
// link) may open one new window.
gboolean OnPlayerPress(GtkWidget* view, GdkEvent*, gpointer) {
  g_object_set_data(G_OBJECT(view), kPressWaitingKey, GINT_TO_POINTER(1));
  return FALSE;
}

// A page opens at most one new window per press of the player's, and none on
// its own; an address that opens nowhere uses up no press.
GtkWidget* OnCreate(WebKitWebView* view, WebKitNavigationAction* action, gpointer) {
  const char* uri = webkit_uri_request_get_uri(webkit_navigation_action_get_request(action));
  const bool pressWaiting = g_object_get_data(G_OBJECT(view), kPressWaitingKey) != nullptr;
  if (!pressWaiting || !webkit_navigation_action_is_user_gesture(action) ||
      NewWindowPlaceOf(uri != nullptr ? uri : "") == NewWindowPlace::kNowhere) {
    return nullptr;
  }
  g_object_set_data(G_OBJECT(view), kPressWaitingKey, nullptr);
  return OpenPageWindow(view, uri);
}

// A web process that crashed or was ended for its memory leaves the view
// with nothing to show: it shows an empty page, in a new web process.
void OnWebProcessEnded(WebKitWebView* view, WebKitWebProcessTerminationReason reason, gpointer) {
  if (reason != WEBKIT_WEB_PROCESS_TERMINATED_BY_API) {
    webkit_web_view_load_uri(view, kEmptyPage);
  }
}

class GtkBrowser final : public Browser {
 public:
  GtkBrowser(WebKitWebContext* context, WebKitSettings* settings, GtkWidget* holder, ScreenRect rect, BrowserHost& host)
      : host_(host) {
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

  BrowserHost& host_;
  GtkWidget* view_ = nullptr;
  std::string askedFor_;  // the last address the program asked for
};

}  // namespace

std::unique_ptr<Browser> MakeGtkBrowser(WebKitWebContext* context, WebKitSettings* settings, GtkWidget* holder,
                                        ScreenRect rect, BrowserHost& host, WebKitWebView** view) {
  auto browser = std::make_unique<GtkBrowser>(context, settings, holder, rect, host);
  *view = browser->View();
  return browser;
}

BrowserHost* HostOfView(WebKitWebView* view) {
  return view != nullptr ? static_cast<BrowserHost*>(g_object_get_data(G_OBJECT(view), kHostKey)) : nullptr;
}

void GuardNavigation(WebKitWebView* view, const std::string* askedFor) {
  g_signal_connect(view, "decide-policy", G_CALLBACK(OnDecidePolicy), const_cast<std::string*>(askedFor));
  g_signal_connect(view, "button-press-event", G_CALLBACK(OnPlayerPress), nullptr);
  g_signal_connect(view, "key-press-event", G_CALLBACK(OnPlayerPress), nullptr);
  g_signal_connect(view, "create", G_CALLBACK(OnCreate), nullptr);
  g_signal_connect(view, "web-process-terminated", G_CALLBACK(OnWebProcessEnded), nullptr);
}

}  // namespace platform
