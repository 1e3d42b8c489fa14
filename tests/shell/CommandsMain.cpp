// The command tests' program. "--handlers=web,text,folder" (the default)
// chooses the stand-in handlers of its desktop sandbox; suites written for
// another choice skip themselves.
#include "DesktopSandbox.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  std::set<std::string> kinds{"web", "text", "folder"};
  constexpr char kFlag[] = "--handlers=";
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], kFlag, sizeof kFlag - 1) != 0) continue;
    kinds.clear();
    std::istringstream list(argv[i] + sizeof kFlag - 1);
    for (std::string kind; std::getline(list, kind, ',');) {
      if (!kind.empty()) kinds.insert(kind);
    }
  }
  const DesktopSandbox sandbox(kinds);
  return RUN_ALL_TESTS();
}
