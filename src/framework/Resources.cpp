#include "framework/Resources.h"

#include "base/NarrowText.h"
#include "framework/BmpDecoder.h"
#include "framework/GdiObjects.h"

#include <gio/gio.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

extern "C" void moravine_register_resource(void);

struct ResourceModule {
  const char* root;
};

namespace {

// The bytes of a compiled-in resource; null when absent.
std::unique_ptr<GBytes, decltype(&g_bytes_unref)> Lookup(const std::string& path) {
  return {g_resources_lookup_data(path.c_str(), G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr), &g_bytes_unref};
}

std::span<const std::uint8_t> BytesOf(GBytes* bytes) {
  gsize size = 0;
  const auto* data = static_cast<const std::uint8_t*>(g_bytes_get_data(bytes, &size));
  return {data, size};
}

std::string PathOf(HINSTANCE instance, const char* folder, UINT id, const char* extension) {
  return std::string(instance->root) + folder + std::to_string(id & 0xFFFF) + extension;
}

// The module's string table, looked up once: the program's resources never change.
std::string_view StringTable(HINSTANCE instance) {
  static std::map<std::string, std::string> tables;
  const std::string path = std::string(instance->root) + "strings.txt";
  auto it = tables.find(path);
  if (it == tables.end()) {
    const auto bytes = Lookup(path);
    if (bytes == nullptr) {
      return {};
    }
    const auto data = BytesOf(bytes.get());
    it = tables.emplace(path, std::string(reinterpret_cast<const char*>(data.data()), data.size())).first;
  }
  return it->second;
}

// The UTF-8 text of string `id` in the table: lines of an id, a tab and the text.
std::string FindTableText(std::string_view table, UINT id) {
  const std::string prefix = std::to_string(id) + "\t";
  std::size_t start = 0;
  while (start < table.size()) {
    std::size_t end = table.find('\n', start);
    if (end == std::string_view::npos) {
      end = table.size();
    }
    const std::string_view line = table.substr(start, end - start);
    if (line.starts_with(prefix)) {
      return std::string(line.substr(prefix.size()));
    }
    start = end + 1;
  }
  return {};
}

// The number of a resource named with MAKEINTRESOURCE; nothing for a name
// in letters, which this program's resources never have.
std::optional<UINT> ResourceNumber(const char* name) {
  const auto number = reinterpret_cast<std::uintptr_t>(name);
  if (number > 0xFFFF) {
    return std::nullopt;
  }
  return static_cast<UINT>(number);
}

}  // namespace

HINSTANCE AfxGetInstanceHandle() {
  static const ResourceModule module = [] {
    moravine_register_resource();
    return ResourceModule{"/org/moravine/launcher/"};
  }();
  return &module;
}

HBITMAP LoadBitmap(HINSTANCE instance, const char* name) {
  // The program's pictures never change, so each is decoded once and shared
  // by every bitmap loaded from it, as runs of one colour when they take less
  // memory than its pixels; a bitmap that is drawn into gets pixels of its
  // own first (OwnPixels).
  static std::map<std::pair<HINSTANCE, UINT>, GdiBitmap> decoded;
  const std::optional<UINT> id = ResourceNumber(name);
  if (instance == nullptr || !id) {
    return nullptr;
  }
  if (const auto it = decoded.find({instance, *id}); it != decoded.end()) {
    return new GdiBitmap{it->second};
  }
  const auto bytes = Lookup(PathOf(instance, "bitmaps/", *id, ".bmp"));
  if (bytes == nullptr) {
    return nullptr;
  }
  auto surface = DecodeBmp24(BytesOf(bytes.get()));
  if (!surface) {
    return nullptr;
  }
  GdiBitmap picture;
  if (auto runs = ColourRuns::Of(*surface)) {
    picture.runs = std::make_shared<const ColourRuns>(std::move(*runs));
  } else {
    picture.pixels = std::make_shared<platform::Surface>(std::move(*surface));
  }
  return new GdiBitmap{decoded.emplace(std::pair{instance, *id}, std::move(picture)).first->second};
}

int LoadString(HINSTANCE instance, UINT id, char* buffer, int bufferMax) {
  if (instance == nullptr || buffer == nullptr || bufferMax <= 0) {
    return 0;
  }
  buffer[0] = '\0';
  const std::string text = LocaleFromUtf8(FindTableText(StringTable(instance), id));
  std::size_t length = std::min(text.size(), static_cast<std::size_t>(bufferMax - 1));
  // Never cut a multibyte character in half.
  std::size_t whole = 0;
  while (whole < length) {
    const int n = CharLength(text.c_str() + whole);
    if (whole + static_cast<std::size_t>(n) > length) {
      break;
    }
    whole += static_cast<std::size_t>(n);
  }
  length = whole;
  std::memcpy(buffer, text.data(), length);
  buffer[length] = '\0';
  return static_cast<int>(length);
}

HICON LoadIcon(HINSTANCE instance, const char* name) {
  static std::map<UINT, IconResource> icons;
  const std::optional<UINT> id = ResourceNumber(name);
  if (instance == nullptr || !id) {
    return nullptr;
  }
  if (const auto it = icons.find(*id); it != icons.end()) {
    return &it->second;
  }
  const auto bytes = Lookup(PathOf(instance, "icons/", *id, ".png"));
  if (bytes == nullptr) {
    return nullptr;
  }
  const auto data = BytesOf(bytes.get());
  return &icons.emplace(*id, IconResource{{data.begin(), data.end()}}).first->second;
}

std::optional<std::string> LoadHtmlResource(HINSTANCE instance, UINT id) {
  if (instance == nullptr) {
    return std::nullopt;
  }
  const auto bytes = Lookup(PathOf(instance, "html/", id, ".htm"));
  if (bytes == nullptr) {
    return std::nullopt;
  }
  const auto data = BytesOf(bytes.get());
  return std::string(reinterpret_cast<const char*>(data.data()), data.size());
}
