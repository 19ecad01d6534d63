#pragma once
// The optimisation run: every task of the run in turn is read from Solving/, checked,
// solved and ended with its solution file Solving/qj_<code>_out.dat, whatever the outcome.
// The run reports through RunProgress only; a task that fails does not stop the run.

#include <array>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "optimiser/passes.h"
#include "optimiser/progress.h"
#include "optimiser/task_data.h"
#include "records/solution_file.h"
#include "text/message.h"
#include "text/shell_texts.h"

namespace qj::optim {

struct RunEnvironment {
  std::filesystem::path solving;       // the queue folder
  std::filesystem::path dbrn;          // the database folder (system databases of client additions)
  std::string langCode;                // the running shell's language code
  const ShellTables* shell = nullptr;  // also the texts of a client-addition route
  std::array<std::string, 3> infoTexts;  // code page 1251
  char decimalSeparator = ',';
  int threads = 0;  // 0: every core
  // The clock of the start line and the solution's finish (date-time in days since
  // 1899-12-30); the system's clock when not set.
  std::function<double()> now;
};

struct RunSettings {
  IterationSettings iteration;
  // The codes of the run's tasks: every queued task in batch mode, one in individual mode.
  std::vector<std::string> taskCodes;
};

// The code of a queued file name: qj_123456_in.dat gives 123456.
std::string taskCodeOfFileName(std::string_view fileName);
// The codes of every task queued in the folder, in name order.
std::vector<std::string> queuedTaskCodes(const std::filesystem::path& solving);

std::string inputFileName(std::string_view code);
std::string solutionFileName(std::string_view code);

// What a task left behind.
struct TaskOutcome {
  std::string code;
  SolutionFile file;     // as written (or as it would have been)
  bool written = false;  // the solution file is in place
  double seconds = 0;    // wall time of the task
};

// Solves and ends one task.
TaskOutcome runTask(const RunEnvironment& env, const IterationSettings& settings,
                    std::string_view code, RunProgress& progress);

// The whole run.
std::vector<TaskOutcome> runOptimisation(const RunEnvironment& env, const RunSettings& settings,
                                         RunProgress& progress);

// "h:mm:ss" of a duration in seconds, never negative.
std::string formatElapsed(double seconds);

}  // namespace qj::optim
