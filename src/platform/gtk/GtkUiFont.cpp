// The desktop's font settings as GTK keeps them: the font name setting, the
// screen's resolution and the font options GTK derives from its smoothing
// settings for its own widgets. They are read once and again only after one
// of them changed: every text drawn asks for them.
#include "platform/gtk/GtkDisplay.h"

#include <gtk/gtk.h>

namespace platform {

namespace {

Antialias AntialiasOf(cairo_antialias_t a) {
  switch (a) {
    case CAIRO_ANTIALIAS_NONE:
      return Antialias::None;
    case CAIRO_ANTIALIAS_GRAY:
      return Antialias::Gray;
    case CAIRO_ANTIALIAS_SUBPIXEL:
      return Antialias::Subpixel;
    default:
      return Antialias::Default;
  }
}

HintStyle HintStyleOf(cairo_hint_style_t h) {
  switch (h) {
    case CAIRO_HINT_STYLE_NONE:
      return HintStyle::None;
    case CAIRO_HINT_STYLE_SLIGHT:
      return HintStyle::Slight;
    case CAIRO_HINT_STYLE_MEDIUM:
      return HintStyle::Medium;
    case CAIRO_HINT_STYLE_FULL:
      return HintStyle::Full;
    default:
      return HintStyle::Default;
  }
}

void ForgetFont(GObject*, GParamSpec*, gpointer kept) { static_cast<std::optional<DesktopFont>*>(kept)->reset(); }

}  // namespace

DesktopFont GtkDisplay::UiFont() {
  if (uiFont_.has_value()) {
    return *uiFont_;
  }
  DesktopFont font;
  GtkSettings* settings = failure_.empty() ? gtk_settings_get_default() : nullptr;
  if (settings == nullptr) {
    return font;
  }
  GdkScreen* screen = gdk_screen_get_default();
  if (!watchingUiFont_) {
    g_signal_connect(settings, "notify::gtk-font-name", G_CALLBACK(ForgetFont), &uiFont_);
    g_signal_connect(screen, "notify::resolution", G_CALLBACK(ForgetFont), &uiFont_);
    g_signal_connect(screen, "notify::font-options", G_CALLBACK(ForgetFont), &uiFont_);
    watchingUiFont_ = true;
  }
  gchar* name = nullptr;
  g_object_get(settings, "gtk-font-name", &name, nullptr);
  if (name != nullptr && *name != '\0') {
    font.name = name;
  }
  g_free(name);
  if (const double dpi = gdk_screen_get_resolution(screen); dpi > 0) {
    font.dpi = dpi;
  }
  if (const cairo_font_options_t* options = gdk_screen_get_font_options(screen)) {
    font.antialias = AntialiasOf(cairo_font_options_get_antialias(options));
    font.hintStyle = HintStyleOf(cairo_font_options_get_hint_style(options));
  }
  uiFont_ = font;
  return font;
}

void GtkDisplay::StopWatchingUiFont() {
  if (watchingUiFont_) {
    g_signal_handlers_disconnect_by_data(gtk_settings_get_default(), &uiFont_);
    g_signal_handlers_disconnect_by_data(gdk_screen_get_default(), &uiFont_);
    watchingUiFont_ = false;
  }
}

}  // namespace platform
