// Windows' browser addresses: the web browser control is given local paths
// as they are (it names the file itself), a drive root's doubled separator
// and characters outside ASCII included, and web and res addresses unchanged.
#include "platform/ui/BrowserAddress.h"

#include <gtest/gtest.h>

namespace {

TEST(BrowserUri, PathsAndAddressesReachTheControlAsTheyAre) {
  const char* const addresses[] = {
      "C:\\\\default.htm",
      "C:\\Games\\My Games\\default.htm",
      "D:\\遊戲\\a#b?c%d\\default.htm",
      "\\\\server\\share\\default.htm",
      "res://C:\\Games\\Launcher.exe/101",
      "http://127.0.0.1/MRV/loader/SP/index.htm",
      "default.htm",
  };
  for (const char* address : addresses) {
    EXPECT_EQ(platform::BrowserUri(address), address);
  }
}

}  // namespace
