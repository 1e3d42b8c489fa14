#include "platform/network/HeaderText.h"

#include <algorithm>
#include <cctype>

namespace platform {
namespace {

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

}  // namespace

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r' || text.back() == '\n')) {
    text.remove_suffix(1);
  }
  return text;
}

bool IsHeaderNamed(std::string_view line, std::string_view name) {
  const std::size_t colon = line.find(':');
  return colon != std::string_view::npos && SameName(line.substr(0, colon), name);
}

std::optional<std::string> FindHeader(const std::vector<std::string>& lines, std::string_view name) {
  for (const std::string& line : lines) {
    if (IsHeaderNamed(line, name)) {
      return std::string(TrimBlanks(std::string_view(line).substr(line.find(':') + 1)));
    }
  }
  return std::nullopt;
}

std::string RequestUrl(std::string_view server, unsigned port, std::string_view object) {
  constexpr unsigned kHttpPort = 80;
  std::string url = "http://";
  url.append(server);
  if (port != kHttpPort) url.append(":").append(std::to_string(port));
  url.append(object);
  return url;
}

bool HasBlankOrControl(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte <= 0x20 || byte == 0x7F;
  });
}

}  // namespace platform
