// The installed version as the launcher reads it on Windows: the game's key
// in the registry's 32-bit view, where the game's 32-bit installer wrote it,
// never the 64-bit view's. A value too long for the version field is not
// copied at all by Windows (ERROR_MORE_DATA), so the field stays empty.
#include "base/GameKey.h"
#include "update/UpdateAgent.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "ScratchKey.h"

namespace {

TEST(InstalledVersionTest, IsReadFromTheGameKeyInThe32BitViewOnly) {
  const struct {
    const char* what;
    DWORD view;                        // where the key is written
    std::optional<std::string> value;  // GameVerSP's bytes; none: no value
    std::string read;
  } cases[] = {
      {"the 32-bit view", KEY_WOW64_32KEY, std::string("2.0.1.0.3", 10), "2.0.1.0.3"},
      {"the 64-bit view only", KEY_WOW64_64KEY, std::string("2.0.1.0.3", 10), ""},
      {"no value", KEY_WOW64_32KEY, std::nullopt, ""},
      {"a value too long", KEY_WOW64_32KEY, std::string("2.0.1.0.4-build-20240520", 25), ""},
  };
  for (const auto& c : cases) {
    ScratchKey key(kGameKey, c.view);
    if (c.value) key.SetString(kVersionValue, *c.value);
    UpdateAgent agent;
    agent.ReadInstalledVersion();
    EXPECT_EQ(agent.m_szInstalledVersion, c.read) << c.what;
  }
}

}  // namespace
