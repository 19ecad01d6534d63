// The information file System/info, whose lines 2, 4 and 6 go into every solution file. It
// has no writer in the program: it is read only.

#include "fuzz_support.h"
#include "optimiser/window_steps.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const auto path =
      fuzz::scratchFile("info", std::string_view(reinterpret_cast<const char*>(data), size));
  optim::readInfoTexts(path);
  return 0;
}
