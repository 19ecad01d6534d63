// The two files of a task: the task file and the solver input as the records read them, and
// the solver input as the optimiser reads and checks it. What the records read is written
// again and read back the same.

#include "fuzz_support.h"
#include "optimiser/task_input.h"
#include "records/task_file.h"

namespace qj {

// The files' values compared whole (found by the round trip's lookup in qj).
bool operator==(const TaskFile& a, const TaskFile& b) {
  return a.header == b.header && a.points == b.points && a.toLists == b.toLists &&
         a.fromLists == b.fromLists;
}
bool operator==(const SolverInput& a, const SolverInput& b) {
  return a.header == b.header && a.points == b.points && a.arcCounts == b.arcCounts &&
         a.arcs == b.arcs && a.shellNameTrailer == b.shellNameTrailer;
}

}  // namespace qj

namespace {

using namespace qj;

// The shell's name as the trailer holds it: a length byte and its first 24 characters.
std::string shellName(const SolverInput& input) {
  const std::string& trailer = input.shellNameTrailer;
  return trailer.substr(1, std::min<size_t>(static_cast<unsigned char>(trailer[0]), 24));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (const TaskFileRead task = readTaskFile(bytes); task.task) {
    const TaskFileRead again = readTaskFile(writeTaskFile(*task.task));
    fuzz::require(again.task && fuzz::sameValues(*task.task, *again.task, writeTaskFile),
                  "a task file written is read back otherwise");
  }
  if (const SolverInputRead input = readSolverInput(bytes); input.input) {
    const auto write = [&](const SolverInput& in) { return writeSolverInput(in, shellName(in)); };
    const SolverInputRead again = readSolverInput(write(*input.input));
    fuzz::require(again.input && fuzz::sameValues(*input.input, *again.input, write),
                  "a solver input written is read back otherwise");
  }
  optim::readTaskInput(bytes, "FUZZ01", "qj_FUZZ01_in.dat", {}, ',');
  return 0;
}
