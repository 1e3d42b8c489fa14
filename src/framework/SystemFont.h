// The font a fresh device context draws with: the desktop's user-interface
// font with a Traditional Chinese fallback, at a size whose letters fit a
// 15-pixel line, and laid out as Traditional Chinese whatever the locale, so
// that the same glyph forms are chosen everywhere.
#pragma once

#include "framework/LineInk.h"
#include "framework/TextLines.h"
#include "platform/ui/DesktopFont.h"

#include <pango/pangoft2.h>

#include <deque>
#include <memory>
#include <string_view>

class SystemFont {
 public:
  explicit SystemFont(const platform::DesktopFont& desktop);

  // The font for the framework's display's settings as they are now; the
  // built-in settings when no display was chosen.
  static const SystemFont& Current();

  // One line of UTF-8 text in this font, without wrapping. Each layout has
  // a font map of its own, which goes with it: the fonts it opened, their
  // files and shaping data (some megabytes of the Chinese font's file) are
  // kept only while it lives, for a cost of about 2 ms per line that was
  // not kept.
  std::unique_ptr<PangoLayout, decltype(&g_object_unref)> NewLayout(std::string_view utf8) const;
  // One line as DrawTextA shows it, with its underlines, drawn once. The
  // font keeps the last few lines it was asked for: the status lines are
  // drawn ten times a second, mostly unchanged, and a kept line is neither
  // shaped nor drawn again. Valid until the next call.
  const LineInk& Line(const TextLine& line) const;
  int PixelSize() const { return pixelSize_; }
  const platform::DesktopFont& Desktop() const { return desktop_; }

 private:
  using Context = std::unique_ptr<PangoContext, decltype(&g_object_unref)>;
  // A context for this font's settings over a new font map.
  Context NewContext() const;

  platform::DesktopFont desktop_;
  std::unique_ptr<PangoFontDescription, decltype(&pango_font_description_free)> description_;
  int pixelSize_ = 0;

  struct KeptLine {
    TextLine line;
    LineInk ink;
  };
  mutable std::deque<KeptLine> kept_;  // the latest first
};
