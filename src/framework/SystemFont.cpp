#include "framework/SystemFont.h"

#include "framework/DisplayBinding.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// The launcher's status lines are 15 pixels high; letters of the system
// font fit such a line whole, as they did on Windows.
constexpr int kLineRows = 15;
constexpr int kSmallestSize = 8;
// The texts the font must fit: Traditional Chinese, punctuation and digits.
constexpr char kSample[] = "版本目前已下載：0123456789%";
// Installed with the program's set-up, so that Chinese never shows as boxes.
constexpr char kChineseFallback[] = "Noto Sans CJK TC";
constexpr char kLanguage[] = "zh-tw";
// Enough for the two status lines and a message or two between them.
constexpr std::size_t kKeptLines = 8;

// Text is smoothed and hinted as the desktop's settings ask, in grey:
// FreeType's own rasteriser, which draws the lines, smooths no subpixels.
// Settings the desktop leaves to the font configuration are left to it.
struct Smoothing {
  platform::Antialias antialias;
  platform::HintStyle hintStyle;
};

void SetSmoothing(FcPattern* pattern, gpointer data) {
  const auto* smoothing = static_cast<const Smoothing*>(data);
  if (smoothing->antialias != platform::Antialias::Default) {
    FcPatternDel(pattern, FC_ANTIALIAS);
    FcPatternAddBool(pattern, FC_ANTIALIAS, smoothing->antialias != platform::Antialias::None);
  }
  if (smoothing->hintStyle != platform::HintStyle::Default) {
    FcPatternDel(pattern, FC_HINTING);
    FcPatternAddBool(pattern, FC_HINTING, smoothing->hintStyle != platform::HintStyle::None);
  }
}

void ForgetSmoothing(gpointer data) { delete static_cast<Smoothing*>(data); }

// The desktop font's size in pixels; its families with the Chinese fallback last.
double DesktopPixels(const PangoFontDescription* desktop, double dpi) {
  const double size = static_cast<double>(pango_font_description_get_size(desktop)) / PANGO_SCALE;
  if (size <= 0) {
    return 10.0 * 96.0 / 72.0;
  }
  return pango_font_description_get_size_is_absolute(desktop) ? size : size * dpi / 72.0;
}

std::string FamiliesOf(const PangoFontDescription* desktop) {
  const char* family = pango_font_description_get_family(desktop);
  return std::string(family != nullptr && *family != '\0' ? family : "Sans") + "," + kChineseFallback;
}

PangoAttrList* Underlines(const TextLine& line) {
  PangoAttrList* list = pango_attr_list_new();
  for (const auto& [first, last] : line.underlined) {
    PangoAttribute* underline = pango_attr_underline_new(PANGO_UNDERLINE_SINGLE);
    underline->start_index = static_cast<guint>(first);
    underline->end_index = static_cast<guint>(last);
    pango_attr_list_insert(list, underline);
  }
  return list;
}

// The bottom row of the sample's ink, counted from the line's top.
int InkBottom(PangoContext* context) {
  std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(pango_layout_new(context), &g_object_unref);
  pango_layout_set_text(layout.get(), kSample, -1);
  PangoRectangle ink;
  pango_layout_get_pixel_extents(layout.get(), &ink, nullptr);
  return ink.y + ink.height;
}

}  // namespace

SystemFont::SystemFont(const platform::DesktopFont& desktop)
    : desktop_(desktop),
      description_(pango_font_description_from_string(desktop.name.c_str()), &pango_font_description_free) {
  PangoFontDescription* font = description_.get();
  pango_font_description_set_family(font, FamiliesOf(font).c_str());
  // The largest whole pixel size up to the desktop's whose letters fit the line.
  pixelSize_ = static_cast<int>(std::lround(DesktopPixels(font, desktop.dpi)));
  const auto context = NewContext();
  for (;; --pixelSize_) {
    pango_font_description_set_absolute_size(font, pixelSize_ * PANGO_SCALE);
    pango_context_set_font_description(context.get(), font);
    if (pixelSize_ <= kSmallestSize || InkBottom(context.get()) <= kLineRows) {
      break;
    }
  }
}

SystemFont::Context SystemFont::NewContext() const {
  PangoFontMap* fontMap = pango_ft2_font_map_new();
  pango_fc_font_map_set_default_substitute(PANGO_FC_FONT_MAP(fontMap), SetSmoothing,
                                           new Smoothing{desktop_.antialias, desktop_.hintStyle}, ForgetSmoothing);
  Context context(pango_font_map_create_context(fontMap), &g_object_unref);
  g_object_unref(fontMap);
  pango_context_set_language(context.get(), pango_language_from_string(kLanguage));
  pango_context_set_base_dir(context.get(), PANGO_DIRECTION_LTR);
  pango_context_set_font_description(context.get(), description_.get());
  return context;
}

const SystemFont& SystemFont::Current() {
  static std::unique_ptr<SystemFont> font;
  platform::Display* display = CurrentDisplay();
  const platform::DesktopFont desktop = display != nullptr ? display->UiFont() : platform::DesktopFont{};
  if (font == nullptr || !(font->Desktop() == desktop)) {
    font = std::make_unique<SystemFont>(desktop);
  }
  return *font;
}

std::unique_ptr<PangoLayout, decltype(&g_object_unref)> SystemFont::NewLayout(std::string_view utf8) const {
  std::unique_ptr<PangoLayout, decltype(&g_object_unref)> layout(pango_layout_new(NewContext().get()), &g_object_unref);
  pango_layout_set_text(layout.get(), utf8.data(), static_cast<int>(utf8.size()));
  return layout;
}

const LineInk& SystemFont::Line(const TextLine& line) const {
  const auto same = [&line](const KeptLine& k) {
    return k.line.text == line.text && k.line.underlined == line.underlined;
  };
  if (const auto it = std::find_if(kept_.begin(), kept_.end(), same); it != kept_.end()) {
    std::rotate(kept_.begin(), it, it + 1);
    return kept_.front().ink;
  }
  const auto layout = NewLayout(line.text);
  PangoAttrList* underlines = Underlines(line);
  pango_layout_set_attributes(layout.get(), underlines);
  pango_attr_list_unref(underlines);
  if (kept_.size() == kKeptLines) {
    kept_.pop_back();
  }
  kept_.push_front(KeptLine{line, LineInk(layout.get())});
  return kept_.front().ink;
}
