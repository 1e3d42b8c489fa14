// The system's network monitor on Windows: WinINet's connected state.
#include "platform/network/NetworkState.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// Run by the tests' CMake inside private network namespaces, once with a
// default route and once without; EXPECT_NETWORK tells which.
TEST(NetworkStateTest, TheSystemsMonitorSeesWhetherThereIsARoute) {
  const char* expected = std::getenv("EXPECT_NETWORK");
  if (expected == nullptr) {
    GTEST_SKIP() << "runs only in a network namespace of known state";
  }
  EXPECT_EQ(platform::CurrentNetworkState().IsNetworkAvailable(), std::string(expected) == "1");
}
