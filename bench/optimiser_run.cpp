// The optimisation run without its window: every task queued in a program folder's Solving/
// is solved with the given iteration parameters and gets its solution file there, as a
// batch run of the optimiser window would do. Prints one line per task.
//
//   bench_optimiser_run FOLDER [--relaxation 0.9] [--stop 0.003] [--interval 5]
//                              [--limit 1000] [--threads 0]
//
// bench_optimiser --write FOLDER queues the largest benchmark task there.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "optimiser/run.h"
#include "optimiser/window_steps.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "records/cp1251.h"
#include "text/shell_texts.h"

using namespace qj;
using namespace qj::optim;

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr,
                 "usage: %s FOLDER [--relaxation W] [--stop E] [--interval N] [--limit N] "
                 "[--threads N]\n",
                 argv[0]);
    return 2;
  }
  IterationSettings settings;
  int threads = 0;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    const char* value = argv[i + 1];
    if (option == "--relaxation")
      settings.relaxationCoef = std::atof(value);
    else if (option == "--stop")
      settings.stopCriterion = std::atof(value);
    else if (option == "--interval")
      settings.checkInterval = std::atoi(value);
    else if (option == "--limit")
      settings.iterationLimit = std::atoi(value);
    else if (option == "--threads")
      threads = std::atoi(value);
  }
  const ProgramFolder folder(argv[1]);
  ShellTables shell;
  const auto shellName = folder.shells() / "Shell (QJ 1.6).eng";
  if (const auto bytes = readFile(shellName)) {
    ShellReadResult read = readShell(*bytes, false);
    if (read.tables) shell = std::move(*read.tables);
  }
  const InfoTexts info = readInfoTexts(folder.system() / "info");

  RunEnvironment env;
  env.solving = folder.solving();
  env.dbrn = folder.dbrn();
  env.langCode = "eng";
  env.shell = &shell;
  env.infoTexts = {info.text1.resolve(shell), info.text2.resolve(shell), info.text3.resolve(shell)};
  env.decimalSeparator = '.';
  env.threads = threads;
  RunSettings run{settings, queuedTaskCodes(folder.solving())};
  std::printf("%zu queued tasks; relaxation %g, stop %g, interval %d, limit %d\n",
              run.taskCodes.size(), settings.relaxationCoef, settings.stopCriterion,
              settings.checkInterval, settings.iterationLimit);
  SilentProgress quiet;
  std::printf("%-8s %6s %16s %10s %10s  %s\n", "code", "found", "objective", "sweeps", "seconds",
              "message");
  for (const TaskOutcome& t : runOptimisation(env, run, quiet)) {
    const SolutionHeader& h = t.file.header;
    std::string message = cp1251::toUtf8(h.finalMessage);
    if (message.find_first_not_of(' ') == std::string::npos) message.clear();
    std::printf("%-8s %6d %16.4f %10d %10.3f  %s%s\n", t.code.c_str(), h.solutionFound, h.objective,
                h.iterationsDone, t.seconds, message.c_str(),
                t.written ? "" : " (solution file not written)");
  }
  return 0;
}
