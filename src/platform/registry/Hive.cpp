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

// Where the first section line at or after `from` starts; the text's size when none does.
std::size_t NextSection(std::string_view text, std::size_t from) {
  for (std::size_t at = text.find('[', from); at != std::string_view::npos; at = text.find('[', at + 1)) {
    if (at > 0 && text[at - 1] == '\n') {
      return at;
    }
  }
  return text.size();
}

enum class HeaderMatch { kYes, kNo, kDecodeToTell };

// Compares a section header's escaped text (after its "[") with a
// case-folded path, without decoding: doubled backslashes stand for one,
// ASCII letters compare without case. A header holding any other escape or
// a non-ASCII byte before a difference shows up needs decoding to tell.
HeaderMatch CompareHeader(std::string_view header, std::string_view folded) {
  std::size_t j = 0;
  for (std::size_t i = 0; i < header.size();) {
    char c = header[i];
    if (c == ']') {
      return j == folded.size() ? HeaderMatch::kYes : HeaderMatch::kNo;
    }
    if (c == '\n' || c == '\r') {
      return HeaderMatch::kNo;
    }
    if ((c & 0x80) != 0) {
      return HeaderMatch::kDecodeToTell;
    }
    if (c == '\\') {
      if (i + 1 >= header.size() || header[i + 1] != '\\') {
        return HeaderMatch::kDecodeToTell;
      }
      ++i;
    } else if (c >= 'A' && c <= 'Z') {
      c = static_cast<char>(c - 'A' + 'a');
    }
    ++i;
    if (j == folded.size() || folded[j] != c) {
      return HeaderMatch::kNo;
    }
    ++j;
  }
  return HeaderMatch::kNo;
}

}  // namespace

Hive::Hive(std::string text) : text_(std::move(text)) {
  const std::string_view all = text_;
  std::string_view first = all.substr(0, all.find('\n'));
  if (first.ends_with('\r')) {
    first.remove_suffix(1);
  }
  if (first != HEADER) {
    return;
  }
  valid_ = true;
  const std::size_t firstSection = NextSection(all, 0);
  ForEachLine(all, 0, firstSection, [this](std::size_t, std::string_view line) {
    if (line.starts_with("#arch=")) {
      m_bWin64 = line == "#arch=win64";
    }
    return true;
  });
}

std::optional<HiveKey> Hive::FindKey(std::string_view path) const {
  std::string folded = FoldName(path);
  for (const auto& [asked, key] : found_) {
    if (asked == folded) {
      return key;
    }
  }
  const std::optional<HiveKey> key = SearchKey(folded);
  found_.emplace_back(std::move(folded), key);
  return key;
}

std::optional<HiveKey> Hive::SearchKey(const std::string& folded) const {
  if (!valid_) {
    return std::nullopt;
  }
  const std::string_view all = text_;
  // "[" is rare outside section headers, so looking for it skips most of the text at once.
  for (std::size_t at = all.find('['); at != std::string_view::npos; at = all.find('[', at + 1)) {
    if (at == 0 || all[at - 1] != '\n') {
      continue;
    }
    const std::size_t start = at + 1;
    const std::string_view header = all.substr(start);
    HeaderMatch match = CompareHeader(header, folded);
    if (match == HeaderMatch::kDecodeToTell) {
      std::size_t used = 0;
      const auto decoded = DecodeWineString(header.substr(0, header.find('\n')), ']', &used);
      match = decoded && FoldName(*decoded) == folded ? HeaderMatch::kYes : HeaderMatch::kNo;
    }
    if (match == HeaderMatch::kYes) {
      std::size_t lineEnd = std::min(all.find('\n', start), all.size());
      if (lineEnd > start && all[lineEnd - 1] == '\r') {
        --lineEnd;
      }
      return HiveKey{lineEnd, NextSection(all, lineEnd)};
    }
  }
  return std::nullopt;
}

std::optional<std::string> Hive::FindString(const HiveKey& key, std::string_view name) const {
  const std::string wanted = FoldName(name);
  std::optional<std::string> found;
  // Value lines are "name"=value or @=value; other lines (#time=, continued
  // hex data) are skipped.
  ForEachLine(text_, key.begin, key.end, [&](std::size_t, std::string_view line) {
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
