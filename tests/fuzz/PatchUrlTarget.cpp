// The splitting of a patch download's address, which arrives from a server's
// reply: whatever the text, the path is escaped so that no blank, control
// character or line break stays in it, it starts with a slash, the server
// name holds no slash (a server name with blanks or controls is refused by
// the transfer itself), and the port is a valid one or 0.
#include "FuzzTarget.h"
#include "platform/network/CrackedUrl.h"

#include <string>
#include <string_view>

void FuzzInitialize() {}

int FuzzOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view url(reinterpret_cast<const char*>(data), size);
  const platform::CrackedUrl cracked = platform::CrackUrl(url);
  Require(cracked.object.starts_with('/'), "the object starts with a slash");
  for (const unsigned char c : cracked.object) {
    Require(c > ' ' && c < 0x7f, "the object holds no blank, control or 8-bit byte");
  }
  Require(cracked.server.find('/') == std::string::npos, "the server holds no slash");
  Require(cracked.port <= 65535, "the port fits");
  return 0;
}
