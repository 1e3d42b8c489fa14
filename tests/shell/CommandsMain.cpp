// The command tests' program: the desktop sandbox is made before any test
// asks GIO.
#include "DesktopSandbox.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const DesktopSandbox sandbox;
  return RUN_ALL_TESTS();
}
