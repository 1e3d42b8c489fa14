// The browser engine of the real screen: WebKitGTK views inside the GTK
// display's child windows, all in one web process of one web context.
#pragma once

#include "platform/gtk/GtkDisplay.h"
#include "platform/ui/Browser.h"

typedef struct _WebKitWebContext WebKitWebContext;
typedef struct _WebKitSettings WebKitSettings;
typedef struct _WebKitWebView WebKitWebView;
typedef struct _GtkWidget GtkWidget;

namespace platform {

class GtkBrowserEngine final : public BrowserEngine {
 public:
  explicit GtkBrowserEngine(GtkDisplay& display);
  ~GtkBrowserEngine() override;
  GtkBrowserEngine(const GtkBrowserEngine&) = delete;
  GtkBrowserEngine& operator=(const GtkBrowserEngine&) = delete;

  std::unique_ptr<Browser> CreateBrowser(NativeWindow window, ScreenRect rect, BrowserHost& host) override;

 private:
  // The web context and the views' settings, made for the first view.
  void Start();
  // A view in `holder`, made once the window holding it has been painted.
  std::unique_ptr<Browser> MakeView(GtkWidget* holder, ScreenRect rect, BrowserHost& host);

  GtkDisplay& display_;
  WebKitWebContext* context_ = nullptr;
  WebKitSettings* settings_ = nullptr;
  WebKitWebView* lastView_ = nullptr;  // the last view made, while it lives
};

}  // namespace platform
