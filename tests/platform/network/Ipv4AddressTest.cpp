// Dotted IPv4 addresses as the update's addresses may write them: every form
// inet_aton reads, and nothing that merely starts like an address.
#include "platform/network/Ipv4Address.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

std::optional<platform::Ipv4Address> Parsed(const char* text) {
  platform::Ipv4Address address{};
  if (!platform::ParseDottedIpv4(text, &address)) return std::nullopt;
  return address;
}

}  // namespace

TEST(Ipv4AddressTest, EveryFormOfInetAtonIsRead) {
  using A = platform::Ipv4Address;
  const struct {
    const char* text;
    A address;
  } cases[] = {
      {"127.0.0.1", {127, 0, 0, 1}},        {"255.255.255.255", {255, 255, 255, 255}}, {"0.0.0.0", {0, 0, 0, 0}},
      {"0x7f.1", {127, 0, 0, 1}},            // the last number fills three bytes
      {"10.1.258", {10, 1, 1, 2}},           // ... or two
      {"2130706433", {127, 0, 0, 1}},        // ... or all four
      {"0xFFFFFFFF", {255, 255, 255, 255}},  // hexadecimal in either case
      {"010.0x0A.012.10", {8, 10, 10, 10}},  // octal after a leading 0
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parsed(c.text), std::optional(c.address)) << c.text;
  }
}

TEST(Ipv4AddressTest, TextsThatAreNotAWholeAddressAreRefused) {
  for (const char* text : {"",           "localhost", "1.2.3.4.5", "256.1.1.1", "1.2.3.256", "1.2.65536", "4294967296",
                           "1.2.3.4 ",   " 1.2.3.4",  "1.2.3.4\n", "1.2.3.4.",  ".1.2.3",    "1..2.3",    "08.1.1.1",
                           "0x1g.1.1.1", "0x",        "0x.1",      "1.2.3.4x",  "-1.2.3.4",  "+1.2.3.4"}) {
    EXPECT_EQ(Parsed(text), std::nullopt) << '"' << text << '"';
  }
}
