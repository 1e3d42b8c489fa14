// libFuzzer's entry points for one fuzz target.
#include "FuzzTarget.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitialize();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) { return FuzzOneInput(data, size); }
