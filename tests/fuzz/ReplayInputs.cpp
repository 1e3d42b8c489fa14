// Runs a fuzz target over kept inputs: every file in each folder named on the
// command line, in name order. A fault ends the run; the last file named on
// standard output is the input that caused it.
#include "FuzzTarget.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: " << argv[0] << " FOLDER...\n";
    return 2;
  }
  FuzzInitialize();
  int replayed = 0;
  for (int i = 1; i < argc; ++i) {
    std::vector<std::filesystem::path> inputs;
    for (const auto& entry : std::filesystem::directory_iterator(argv[i])) {
      if (entry.is_regular_file()) {
        inputs.push_back(entry.path());
      }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& path : inputs) {
      std::cout << path.string() << std::endl;
      std::vector<char> bytes(std::filesystem::file_size(path));
      std::ifstream file(path, std::ios::binary);
      if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        std::cerr << "cannot read " << path << "\n";
        return 1;
      }
      FuzzOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
      ++replayed;
    }
  }
  std::cout << replayed << " inputs replayed\n";
  return replayed > 0 ? 0 : 1;
}
