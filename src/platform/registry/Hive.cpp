#include "platform/registry/Hive.h"

#include <glib.h>

#include <algorithm>

#include "platform/registry/WineString.h"

namespace {

constexpr std::string_view HEADER = "WINE REGISTRY Version 2";

// Calls take(offset, line) for each line of text[begin, end), without its line end.
template <typename Take>
void ForEachLine(std::string_view text, std::size_t begin, std::size_t end, Take take) {
  while (begin < end) {
    std::size_t eol = text.find('\n', begin);
    if (eol == std::string_view::npos || eol > end) {
      eol = end;
    }
    std::string_view line = text.substr(begin, eol - begin);
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (!take(begin, line)) {
      return;
    }
    begin = eol + 1;
  }
}

}  // namespace

Hive::Hive(std::string text) : m_text(std::move(text)) {
  const std::string_view all = m_text;
  std::string_view first = all.substr(0, all.find('\n'));
  if (first.ends_with('\r')) {
    first.remove_suffix(1);
  }
  if (first != HEADER) {
    return;
  }
  ForEachLine(all, 0, all.size(), [this](std::size_t offset, std::string_view line) {
    if (line.starts_with('[')) {
      if (!m_sections.empty()) {
        m_sections.back().key.end = offset;
      }
      std::size_t used = 0;
      if (const auto path = DecodeWineString(line.substr(1), ']', &used)) {
        m_sections.push_back({FoldName(*path), {offset + line.size(), offset + line.size()}});
      }
    } else if (m_sections.empty() && line.starts_with("#arch=")) {
      m_bWin64 = line == "#arch=win64";
    }
    return true;
  });
  if (!m_sections.empty()) {
    m_sections.back().key.end = m_text.size();
  }
  std::stable_sort(m_sections.begin(), m_sections.end(),
                   [](const Section& a, const Section& b) { return a.path < b.path; });
}

std::optional<HiveKey> Hive::FindKey(std::string_view path) const {
  const std::string folded = FoldName(path);
  const auto found = std::lower_bound(
      m_sections.begin(), m_sections.end(), folded,
      [](const Section& section, const std::string& p) { return section.path < p; });
  if (found == m_sections.end() || found->path != folded) {
    return std::nullopt;
  }
  return found->key;
}

std::optional<std::string> Hive::FindString(const HiveKey& key, std::string_view name) const {
  const std::string wanted = FoldName(name);
  std::optional<std::string> found;
  // Value lines are "name"=value or @=value; other lines (#time=, continued
  // hex data) are skipped.
  ForEachLine(m_text, key.begin, key.end, [&](std::size_t, std::string_view line) {
    std::string lineName;
    std::size_t rest = 1;
    if (line.starts_with('"')) {
      std::size_t used = 0;
      const auto decoded = DecodeWineString(line.substr(1), '"', &used);
      if (!decoded) {
        return true;
      }
      lineName = *decoded;
      rest = used + 2;
    } else if (!line.starts_with('@')) {
      return true;
    }
    if (line.substr(rest, 1) != "=" || FoldName(lineName) != wanted) {
      return true;
    }
    if (line.substr(rest + 1, 1) == "\"") {
      std::size_t used = 0;
      found = DecodeWineString(line.substr(rest + 2), '"', &used);
    }
    return false;
  });
  return found;
}

std::string FoldName(std::string_view utf8) {
  // Nearly all names are ASCII, which folds without GLib's Unicode tables.
  if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
    std::string folded(utf8);
    for (char& c : folded) {
      c = g_ascii_tolower(c);
    }
    return folded;
  }
  gchar* valid = g_utf8_make_valid(utf8.data(), static_cast<gssize>(utf8.size()));
  gchar* folded = g_utf8_casefold(valid, -1);
  std::string result(folded);
  g_free(folded);
  g_free(valid);
  return result;
}
