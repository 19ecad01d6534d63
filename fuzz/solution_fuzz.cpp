// Solution files, of a task on its own graph and of a client-addition task. A solution read
// is written again and read back the same.

#include "fuzz_support.h"
#include "records/solution_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const bool clientAddition : {false, true}) {
    const SolutionRead read = readSolutionFile(bytes, clientAddition);
    if (!read.file) continue;
    const SolutionRead again = readSolutionFile(writeSolutionFile(*read.file), clientAddition);
    fuzz::require(again.file && fuzz::sameValues(*read.file, *again.file, writeSolutionFile),
                  "a solution written is read back otherwise");
  }
  return 0;
}
