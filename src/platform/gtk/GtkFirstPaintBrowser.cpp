#include "platform/gtk/GtkFirstPaintBrowser.h"

#include <malloc.h>

#include <utility>

namespace platform {
namespace {

// A window that is never painted (never shown, or covered on a desktop
// without compositing) still gets its view this long after asking for it.
constexpr guint kLatestViewMs = 1000;

}  // namespace

GtkFirstPaintBrowser::GtkFirstPaintBrowser(GtkWidget* holder, DeferredBrowser::Maker make)
    : browser_(std::move(make)), top_(GTK_WIDGET(g_object_ref(gtk_widget_get_toplevel(holder)))) {
  // After the top-level's own handlers: the frame is drawn and goes to the
  // screen before the idle moment comes.
  drawnHandler_ = g_signal_connect_after(top_, "draw", G_CALLBACK(OnTopLevelDrawn), this);
  latestSource_ = g_timeout_add(kLatestViewMs, OnTime, this);
}

GtkFirstPaintBrowser::~GtkFirstPaintBrowser() {
  StopWatching();
  g_object_unref(top_);
}

gboolean GtkFirstPaintBrowser::OnTopLevelDrawn(GtkWidget*, cairo_t*, gpointer self) {
  auto* browser = static_cast<GtkFirstPaintBrowser*>(self);
  g_signal_handler_disconnect(browser->top_, browser->drawnHandler_);
  browser->drawnHandler_ = 0;
  // Widgets are not made inside a draw: at the next idle moment.
  browser->idleSource_ = g_idle_add(OnIdle, browser);
  return FALSE;
}

gboolean GtkFirstPaintBrowser::OnIdle(gpointer self) {
  auto* browser = static_cast<GtkFirstPaintBrowser*>(self);
  browser->idleSource_ = 0;
  browser->Make();
  return G_SOURCE_REMOVE;
}

gboolean GtkFirstPaintBrowser::OnTime(gpointer self) {
  auto* browser = static_cast<GtkFirstPaintBrowser*>(self);
  browser->latestSource_ = 0;
  browser->Make();
  return G_SOURCE_REMOVE;
}

void GtkFirstPaintBrowser::Make() {
  StopWatching();
  browser_.Make();
  // Start-up is over: GTK's and WebKit's setting up and the pictures'
  // decoding freed about a megabyte of heap that the allocator would keep
  // for the program's life. The launcher mostly idles from here on.
  malloc_trim(0);
}

void GtkFirstPaintBrowser::StopWatching() {
  for (guint* source : {&idleSource_, &latestSource_}) {
    if (*source != 0) {
      g_source_remove(*source);
      *source = 0;
    }
  }
  if (drawnHandler_ != 0) {
    g_signal_handler_disconnect(top_, drawnHandler_);
    drawnHandler_ = 0;
  }
}

}  // namespace platform
