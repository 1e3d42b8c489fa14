#include "update/ReplyText.h"

#include <cstring>

#include "base/NarrowText.h"
#include "update/VersionText.h"

namespace {

constexpr char VERSION_KEY[] = "MRVVERSION";
constexpr char NO_DOWNLOADS_KEY[] = "NO_AVAILABLE_DOWNLOADS";
constexpr char SITE_KEY[] = "MRVDOWNLOADSITEKEY=";

}  // namespace

bool ReadVersionReply(const char* reply, int* components) {
  const char* key = MbsStr(reply, VERSION_KEY);
  if (key == nullptr) {
    return false;
  }
  ParseVersion(key + std::strlen(VERSION_KEY), components);
  return true;
}

SiteReply ReadSiteReply(const char* reply, char* site, std::size_t capacity) {
  if (MbsStr(reply, NO_DOWNLOADS_KEY) != nullptr) {
    return SiteReply::NO_DOWNLOADS;
  }
  const char* key = MbsStr(reply, SITE_KEY);
  if (key == nullptr) {
    return SiteReply::NO_SITE_KEY;
  }
  // No address holds a raw line break: the site ends at the first CR or LF,
  // and what follows it is no part of it.
  const char* text = key + std::strlen(SITE_KEY);
  const std::size_t length = std::strcspn(text, "\r\n");
  if (length >= capacity) {
    return SiteReply::SITE_TOO_LONG;
  }
  std::memcpy(site, text, length);
  site[length] = '\0';
  return SiteReply::SITE;
}
