// One registry file of a Wine prefix in Wine's text format ("WINE REGISTRY
// Version 2"): "[path] timestamp" sections, each followed by its values.
//
// A real prefix's file holds tens of thousands of keys, and the launcher
// wants one value of one of them, so nothing is decoded up front: a key is
// found by running over the section headers with a plain comparison that
// ignores ASCII case, and only its value lines are decoded when asked for.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Where a key's value lines lie in the file's text.
struct HiveKey {
  std::size_t begin = 0;
  std::size_t end = 0;
};

class Hive {
 public:
  // Takes the file's text, reading only its header lines. A text without
  // Wine's header line gives a hive without keys.
  explicit Hive(std::string text);

  // The file's header says "#arch=win64": the prefix is a 64-bit Windows.
  bool Win64() const { return m_bWin64; }

  // The key at path (relative to the file's root, single backslashes between
  // the names, case ignored) when the file has a section for it; the first
  // such section. Wine writes a section for every key that holds values.
  // Answers are remembered, so asking again costs no new search.
  std::optional<HiveKey> FindKey(std::string_view path) const;

  // The string value name ("" for the default value, case ignored) of key,
  // as UTF-8. Values of other types ("dword:", "hex:", "str(2):", ...) are
  // not seen.
  std::optional<std::string> FindString(const HiveKey& key, std::string_view name) const;

 private:
  std::optional<HiveKey> SearchKey(const std::string& folded) const;

  std::string text_;
  bool valid_ = false;
  bool m_bWin64 = false;
  // The keys asked for so far, by case-folded path.
  mutable std::vector<std::pair<std::string, std::optional<HiveKey>>> found_;
};

// The form in which key paths and value names are compared: case ignored.
std::string FoldName(std::string_view utf8);
