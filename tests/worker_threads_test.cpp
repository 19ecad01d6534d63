// The work that the windows hand to worker threads, several pieces at once: optimisation
// runs (whose pair passes run on threads of their own, a failing pair stopping the others)
// and the export of a database's workbooks with their import, while the calling thread
// composes texts from the same shell as a window does while it waits. Each gives what it
// gives alone. Built with ThreadSanitizer (scripts/check), a state that two of them share
// without a lock is reported here.

#include <gtest/gtest.h>

#include <thread>

#include "dbrn/dbrn_export.h"
#include "dbrn/dbrn_workbook_import.h"
#include "democity/demo_city.h"
#include "optimiser/progress_log.h"
#include "optimiser/random_task.h"
#include "optimiser/run.h"
#include "records/datetime.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using optim::test::indexShell;

// A folder of queued tasks: a solvable one with many pairs and one whose second point
// cannot be reached.
struct Queue {
  test::TempDir dir;
  optim::RunEnvironment env;

  explicit Queue(int threads) {
    std::filesystem::create_directories(dir / "Solving");
    std::filesystem::create_directories(dir / "Dbrn");
    env.solving = dir / "Solving";
    env.dbrn = dir / "Dbrn";
    env.langCode = "eng";
    env.shell = &indexShell();
    env.threads = threads;
    env.now = [] { return toDateTime(CivilDateTime{2026, 2, 1, 10, 11, 12}); };

    optim::test::Rng rng(21);
    optim::test::TaskFixture wide(16, 7);
    queue("WIDE01", optim::test::randomTask(rng, optim::test::options::kAll, wide));
    optim::test::TaskFixture cut(4, 3);  // the second point lies off the ring
    for (int32_t s = 0; s < 4; ++s) cut.arc(s, (s + 1) % 4, 1 + s, 0.05);
    cut.arc(0, cut.point(3), 2, 0.02).arc(cut.point(1), 1, 1, 0.03).arc(cut.point(3), 2, 1, 0.03);
    cut.arc(cut.point(2), 3, 1, 0.03);
    queue("CUT001", cut.finish());
  }
  void queue(const std::string& code, optim::OptimTask& task) const {
    task.header.code = code;
    dir.write("Solving/" + optim::inputFileName(code),
              writeSolverInput(optim::test::toSolverInput(task), "Shell (QJ 1.6).eng"));
  }
  // The progress lines of a run and its solution files, each but for how long it
  // took.
  std::vector<std::string> run() const {
    optim::test::ProgressLog log;
    optim::runOptimisation(env, {{}, {"WIDE01", "CUT001"}}, log);
    std::vector<std::string> out = log.lines;
    for (const char* code : {"WIDE01", "CUT001"}) {
      const SolutionRead read =
          readSolutionFile(dir.read("Solving/" + optim::solutionFileName(code)), false);
      if (!read.file) return {read.error};
      SolutionFile file = *read.file;
      file.header.elapsedText.clear();
      out.push_back(writeSolutionFile(file));
    }
    return out;
  }
};

// The demo city's level-2 database exported to its two workbooks and imported back.
struct RoundTrip {
  test::TempDir dir;
  AppState state;

  RoundTrip() {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
    const DbrnFile db = demoCity(2, "eng");
    const std::string name = dbrnFileName(db.header.dbCode, db.header.dbKind, "eng");
    dir.write("Dbrn/" + name, writeDbrn(db));
    state.selectedPath = (dir / "Dbrn" / name).replace_extension().string();
  }
  std::string run() const {
    const DbrnExport out = exportDbrnWorkbooks(state);
    if (!out.mainWorkbook) return "not exported";
    const ImportedDbrnWorkbook in = importDbrnWorkbook(*out.mainWorkbook, "eng");
    if (!in.loaded) return "not imported";
    return writeDbrn(in.loaded->db);
  }
};

// What a window composes while it waits.
std::string texts() {
  std::string out;
  const ShellTables tables = test::markedShell();
  for (int k = 0; k < 300; ++k)
    out += (shell(k % test::kMarkedShellTexts) + lit(" ") + num(k)).utf8(tables);
  return out;
}

TEST(WorkerThreads, WorkRunAtOnceGivesWhatItGivesAlone) {
  const Queue serial(1);
  const std::vector<std::string> alone = serial.run();
  const RoundTrip first;
  const std::string roundTrip = first.run();
  ASSERT_EQ(roundTrip.size() > 1000, true) << roundTrip;
  ASSERT_NE(alone.back().find("[601]"), std::string::npos) << "the cut task fails its pair";

  const Queue a(4), b(3);
  const RoundTrip second;
  std::vector<std::string> runA, runB;
  std::string tripped;
  {
    std::jthread ta([&] { runA = a.run(); });
    std::jthread tb([&] { runB = b.run(); });
    std::jthread tc([&] { tripped = second.run(); });
    EXPECT_EQ(texts(), texts());
  }
  EXPECT_EQ(runA, alone);
  EXPECT_EQ(runB, alone);
  EXPECT_TRUE(tripped == roundTrip);
}

}  // namespace
}  // namespace qj
