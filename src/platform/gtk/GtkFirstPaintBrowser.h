// A browser of the real screen whose WebKit view is made only once the
// window holding it has been painted, so that the window's first paint
// never waits for WebKit to start.
#pragma once

#include "platform/ui/DeferredBrowser.h"

#include <gtk/gtk.h>

namespace platform {

class GtkFirstPaintBrowser final : public Browser {
 public:
  // `make` makes the view in `holder`, a child window's widget.
  GtkFirstPaintBrowser(GtkWidget* holder, DeferredBrowser::Maker make);
  ~GtkFirstPaintBrowser() override;
  GtkFirstPaintBrowser(const GtkFirstPaintBrowser&) = delete;
  GtkFirstPaintBrowser& operator=(const GtkFirstPaintBrowser&) = delete;

  void Navigate(const std::string& uri) override { browser_.Navigate(uri); }

 private:
  static gboolean OnTopLevelDrawn(GtkWidget* top, cairo_t* cr, gpointer self);
  static gboolean OnIdle(gpointer self);
  static gboolean OnTime(gpointer self);
  void Make();
  void StopWatching();

  DeferredBrowser browser_;
  GtkWidget* top_ = nullptr;  // the holder's top-level window, referenced while watched
  gulong drawnHandler_ = 0;
  guint idleSource_ = 0;
  guint latestSource_ = 0;
};

}  // namespace platform
