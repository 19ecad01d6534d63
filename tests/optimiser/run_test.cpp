// The optimisation run on queued task files: the checks and their messages, the solution
// file of every task, batches, damaged files, one thread against many.

#include "optimiser/run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

#include "optimiser/progress_log.h"
#include "optimiser/random_task.h"
#include "optimiser/task_fixture.h"
#include "optimiser/town_task.h"
#include "records/cp1251.h"
#include "records/text.h"
#include "reports/solution_rows.h"
#include "route/solver_graph.h"
#include "support/temp_dir.h"
#include "task/auto_transitions.h"

namespace qj::optim {
namespace {

using test::ProgressLog;
using test::TaskFixture;

constexpr char kShellName[] = "Shell (QJ 1.6).eng";

struct Folder {
  qj::test::TempDir dir;
  RunEnvironment env;

  Folder() {
    std::filesystem::create_directories(dir / "Solving");
    std::filesystem::create_directories(dir / "Dbrn");
    env.solving = dir / "Solving";
    env.dbrn = dir / "Dbrn";
    env.langCode = "eng";
    env.shell = &test::indexShell();
    env.infoTexts = {"Info one", "Info two", "Info three"};
    env.decimalSeparator = ',';
    env.threads = 1;
    env.formatDate = [](double) { return std::string("01.02.2026"); };
    env.formatTime = [](double) { return std::string("10:11:12"); };
  }

  void queue(const std::string& code, const std::string& bytes) const {
    dir.write("Solving/" + inputFileName(code), bytes);
  }
  void queue(const std::string& code, const SolverInput& input) const {
    queue(code, writeSolverInput(input, kShellName));
  }
  std::string solution(const std::string& code) const {
    return dir.read("Solving/" + solutionFileName(code));
  }
  SolutionFile read(const std::string& code, bool cli2 = false) const {
    const SolutionRead r = readSolutionFile(solution(code), cli2);
    EXPECT_TRUE(r.file) << r.error;
    return r.file ? *r.file : SolutionFile{};
  }
};

SolverInput smallTask() {
  return test::ringTask();
}

std::string messageOf(const SolutionFile& f) {
  return cp1251::toUtf8(f.header.finalMessage);
}

const std::string kHead = "[193] \"TEST01\". [8]. ";

// A change to the task or the settings, and the message's tail (empty: the task is solved).
// clang-format off
#define CHECK_CASE(body, tail) \
  {#body, []([[maybe_unused]] SolverInput& in, [[maybe_unused]] IterationSettings& s) { body; }, tail}
// clang-format on

TEST(Run, EveryCheckFailsItsTaskWithItsMessage) {
  struct CheckCase {
    const char* name;
    void (*change)(SolverInput&, IterationSettings&);
    std::string tail;
  };
  constexpr double nan = std::numeric_limits<double>::quiet_NaN();
  constexpr double inf = std::numeric_limits<double>::infinity();
  const std::vector<CheckCase> cases = {
      CHECK_CASE(in.header.sectionCount = 0, "[557]."),
      CHECK_CASE(in.header.sectionCount = 10001, "[549] 10001 (> 10000 [153])."),
      CHECK_CASE(in.header.pointCount = 1, "[551] 1 (< 2)."),
      CHECK_CASE(in.header.pointCount = 12, "[550] 12 (> 10 [153])."),
      CHECK_CASE(in.header.startPoint = 0, "[563] 0."),
      CHECK_CASE(in.header.startPoint = 4, "[563] 4."),
      CHECK_CASE(in.header.endPoint = 4, "[564] 4."),
      CHECK_CASE(in.header.endPoint = -1, "[564] -1."),
      CHECK_CASE(s.relaxationCoef = 1.0, "[555] 1,000."),
      CHECK_CASE(s.relaxationCoef = 0.09999, ""),
      CHECK_CASE(s.relaxationCoef = 0.0999, "[555] 0,100."),
      CHECK_CASE(s.relaxationCoef = nan, "[555] nan."),
      CHECK_CASE(s.checkInterval = 0, "[552] 0."),
      CHECK_CASE(s.checkInterval = 1, ""),
      CHECK_CASE(s.iterationLimit = 9, "[556] 9."),
      CHECK_CASE(s.iterationLimit = 10, ""),
      CHECK_CASE(s.stopCriterion = 0.10002, "[553] 0,100 ."),
      CHECK_CASE(s.stopCriterion = 0.1, ""),
      CHECK_CASE(s.stopCriterion = 0.00099, ""),
      CHECK_CASE(s.stopCriterion = 0.00098, "[553] 0,001 ."),
      CHECK_CASE(in.points[1].waitPenalty = -0.5, "[559] 2."),
      CHECK_CASE(in.points[1].waitPenalty = -1e-9, ""),
      CHECK_CASE(in.arcCounts[2] = -1, "[560] 3."),
      CHECK_CASE(in.arcs[1].target = 7, "[554] 1 [198] 2."),  // 7 vertices in all
      CHECK_CASE(in.arcs[1].target = -1, "[554] 1 [198] 2."),
      CHECK_CASE(in.arcs[1].cost = -0.5, "[558] 1 [198] 2."),
      CHECK_CASE(in.arcs[1].cost = -1e-9, ""),
      CHECK_CASE((in.arcs[0].cost = -1, in.arcs[0].target = -1), "[554] 1 [198] 1."),
      CHECK_CASE((in.arcs[0].time = nan, in.arcs[3].target = -1), "[554] 3 [198] 1."),
      CHECK_CASE((in.header.timeFactorFlag = 1, in.header.tactMinutes = 0), "[912] 0."),
      CHECK_CASE(in.header.tactMinutes = 0, ""),
      CHECK_CASE(in.header.endPoint = 1, "[913] 1."),
      CHECK_CASE((in.header.orderMode = 1, in.points[1].orderValue = 4), "[914] 2."),
      CHECK_CASE((in.header.orderMode = 2, in.points[1].orderValue = 4), "[914] 2."),
      CHECK_CASE((in.header.orderMode = 1, in.points[1].orderValue = 3), ""),
      CHECK_CASE((in.header.orderMode = 2, in.points[1].orderValue = -1), ""),
      CHECK_CASE(in.arcs[3].time = nan, "[915] 3 [198] 1."),
      CHECK_CASE(in.arcs[3].time = -0.1, "[915] 3 [198] 1."),
      CHECK_CASE(in.arcs[3].time = inf, "[915] 3 [198] 1."),
      CHECK_CASE(in.arcs[3].cost = inf, "[916] 3 [198] 1."),
      CHECK_CASE(in.header.finePerHour = nan, "[917]."),
      CHECK_CASE(in.header.finePerKm = inf, "[917]."),
      CHECK_CASE(in.header.capacity = nan, "[917]."),
      CHECK_CASE(in.points[2].waitPenalty = nan, "[918] 3."),
      CHECK_CASE(in.points[2].serviceTime = inf, "[918] 3."),
      CHECK_CASE(in.points[0].unloadTime = nan, "[918] 1."),
      CHECK_CASE(in.points[1].volume = nan, "[918] 2."),
      CHECK_CASE(in.points[2].income = -inf, "[918] 3."),
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    SolverInput input = smallTask();
    IterationSettings settings;
    c.change(input, settings);
    folder.queue("TEST01", input);
    ProgressLog log;
    const auto outcomes = runOptimisation(folder.env, {settings, {"TEST01"}}, log);
    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_TRUE(outcomes[0].written);
    const SolutionFile f = folder.read("TEST01");
    if (c.tail.empty()) {
      EXPECT_EQ(f.header.solutionFound, 1);
      EXPECT_EQ(f.header.finalMessage, std::string(255, ' '));
      continue;
    }
    EXPECT_EQ(messageOf(f), kHead + c.tail);
    EXPECT_EQ(f.header.solutionFound, 0);
    EXPECT_EQ(f.header.iterationsDone + f.header.stateCount + f.header.routeStepCount, 0);
    EXPECT_EQ(f.header.objective, 0);
    EXPECT_EQ(folder.solution("TEST01").size(), 488u + 4);  // and one zero loading count
    // The message is the red line, shown before the file is written.
    EXPECT_NE(std::find(log.lines.begin(), log.lines.end(), "L8: " + kHead + c.tail),
              log.lines.end());
  }
}

TEST(Run, ProgressLinesOfAFailedTask) {
  Folder folder;
  SolverInput input = smallTask();
  input.header.pointCount = 11;
  folder.queue("TEST01", input);
  ProgressLog log;
  runOptimisation(folder.env, {{}, {"TEST01"}}, log);
  const std::vector<std::string> expected = {
      "Button: [582]",
      "L2: ",
      "L3: ",
      "L4: ",
      "L5: ",
      "L6: ",
      "L7: ",
      "L8: ",
      "End: ",
      "Start: [270] \"TEST01\":  10:11:12 ([81]) 01.02.2026 ([134]).",
      "L8: " + kHead + "[550] 11 (> 10 [153]).",
      "L7: 6. [170] \"TEST01\", [649].",
      "End: [146] \"TEST01\" - 0:00:00.",
      "Busy hidden",
      "Button: [0]"};
  EXPECT_EQ(log.lines, expected);
}

TEST(Run, TruncatedFilesFailWithTheirMessage) {
  const std::string good = writeSolverInput(smallTask(), kShellName);
  // Cut inside the header, the points, the arc counts and the arcs.
  for (size_t cut : {size_t{0}, size_t{100}, size_t{319}, size_t{320}, size_t{500}, size_t{704},
                     size_t{710}, size_t{740}, size_t{800}}) {
    SCOPED_TRACE(cut);
    Folder folder;
    folder.queue("TEST01", good.substr(0, cut));
    ProgressLog log;
    runOptimisation(folder.env, {{}, {"TEST01"}}, log);
    const SolutionFile f = folder.read("TEST01");
    EXPECT_EQ(messageOf(f), kHead + "[910] \"qj_TEST01_in.dat\".");
    EXPECT_EQ(f.header.solutionFound, 0);
    // A file without a whole header gives no counts: the header alone is written.
    EXPECT_EQ(folder.solution("TEST01").size(), cut < 320 ? 488u : 492u);
  }
  // The shell name trailer is not needed.
  Folder folder;
  folder.queue("TEST01", good.substr(0, good.size() - 25));
  ProgressLog log;
  runOptimisation(folder.env, {{}, {"TEST01"}}, log);
  EXPECT_EQ(folder.read("TEST01").header.solutionFound, 1);
}

TEST(Run, MissingFilesFailTheirTaskAndTheRunGoesOn) {
  Folder folder;
  folder.queue("TEST02", smallTask());
  SolverInput cli = smallTask();
  cli.header.dbKind = "cli2";
  cli.header.dbCode = "007";
  cli.arcCounts.clear();
  cli.arcs.clear();
  folder.queue("TEST03", cli);
  ProgressLog log;
  runOptimisation(folder.env, {{}, {"TEST01", "TEST02", "TEST03"}}, log);
  EXPECT_EQ(messageOf(folder.read("TEST01")), kHead + "[911] \"qj_TEST01_in.dat\".");
  EXPECT_EQ(folder.solution("TEST01").size(), 488u);
  EXPECT_EQ(folder.read("TEST02").header.solutionFound, 1);
  const std::string head3 = "[193] \"TEST03\". [8]. ";
  EXPECT_EQ(messageOf(folder.read("TEST03", true)),
            head3 + "[567] \"007sys2_dbrn_eng.dat\", [368].");
  EXPECT_EQ(folder.solution("TEST03").size(), 488u);
  // A system database that is no database fails the task in the same way.
  folder.dir.write("Dbrn/007sys2_dbrn_eng.dat", "");
  runOptimisation(folder.env, {{}, {"TEST03"}}, log);
  EXPECT_EQ(messageOf(folder.read("TEST03", true)),
            head3 + "[830] \"007sys2_dbrn_eng.dat\" [832]: [833].");
  EXPECT_EQ(folder.solution("TEST03").size(), 488u);
}

// A task on the client addition of the town's level-2 database is solved on the system
// database's network: the same route as the same task entered on the system database, told
// in the lines that the solution viewer would show for it.
TEST(Run, AClientAdditionTaskIsSolvedOnItsSystemDatabase) {
  Folder folder;
  ShellTables texts = test::indexShell();
  texts.shellTexts[79] = "straight on, straight on";  // longer than the turn field
  folder.env.shell = &texts;
  const DbrnFile sys2 = qj::test::smallTown("sys2");
  folder.dir.write("Dbrn/123sys2_dbrn_eng.dat", writeDbrn(sys2));
  const OptimTask cli = test::townHouseTask({0, 2, 3});
  TaskWizardState st;
  st.db = sys2;
  st.points = cli.points;
  st.header = cli.header;
  st.header.dbKind = "sys2";
  st.header.code = "SYS002";
  ASSERT_TRUE(autoTransitions(st).passed());
  folder.queue("SYS002", solverInputOf(st));
  SolverInput cliInput;
  cliInput.header = cli.header;
  cliInput.points = cli.points;
  folder.queue("CLI002", cliInput);

  ProgressLog log;
  runOptimisation(folder.env, {{}, {"SYS002", "CLI002"}}, log);
  const SolutionFile own = folder.read("SYS002");
  const SolutionFile described = folder.read("CLI002", true);
  ASSERT_EQ(own.header.solutionFound, 1) << messageOf(own);
  ASSERT_EQ(described.header.solutionFound, 1) << messageOf(described);
  EXPECT_EQ(described.header.objective, own.header.objective);
  EXPECT_EQ(described.header.routeStepCount, own.header.routeStepCount);
  EXPECT_EQ(described.header.stateCount, own.header.stateCount);
  EXPECT_EQ(described.body, SolutionBody::Description);
  const RouteRows rows =
      buildRouteRows(st.header, st.points, own.steps, own.startServiceTimes, sys2, texts, ',');
  EXPECT_DOUBLE_EQ(described.routeCostTotal, rows.cost);
  ASSERT_EQ(described.lines.size(), static_cast<size_t>(rows.table.rows()));
  EXPECT_EQ(described.lines.size(), own.steps.size() + 1);
  // Every field as the viewer's row shows it, cut to the field's width.
  const size_t widths[] = {4, 8, 40, 20, 20, 20, 50, 14, 5};
  for (size_t r = 0; r < described.lines.size(); ++r) {
    const RouteLine& l = described.lines[r];
    const std::string fields[] = {l.rowNo,       l.pointNo,      l.address,
                                  l.arrivalTime, l.serviceStart, l.serviceEnd,
                                  l.sectionName, l.turnText,     l.endNode};
    for (int c = 0; c < 9; ++c)
      EXPECT_EQ(fields[c], cut(rows.table.cell(static_cast<int>(r), c), widths[c])) << r << c;
  }
  EXPECT_EQ(described.lines.back().turnText, "( [159] )");
  EXPECT_EQ(described.lines[1].turnText, "straight on, s");
}

// A solved task, then one refused by its checks, then one that fails in its final pass:
// nothing of a task reaches the file of the next.
TEST(Run, BatchOfSolvedAndFailedTasks) {
  Folder folder;
  folder.queue("AAAAA1", smallTask());
  SolverInput bad = smallTask();
  bad.arcs[0].cost = -1;
  folder.queue("AAAAA2", bad);
  SolverInput late = smallTask();
  late.header.orderMode = 1;
  late.points[1].orderValue = 1;  // point 1, the start, must follow point 2
  folder.queue("AAAAA3", late);
  ProgressLog log;
  runOptimisation(folder.env, {{}, queuedTaskCodes(folder.env.solving)}, log);
  const SolutionFile f = folder.read("AAAAA1");
  EXPECT_EQ(f.header.solutionFound, 1);
  EXPECT_EQ(f.header.infoText3, "Info three");
  EXPECT_EQ(f.header.elapsedText, "0:00:00");
  EXPECT_GT(f.header.iterationsDone, 0);
  EXPECT_EQ(f.header.stateCount, 9);  // three points without rules
  EXPECT_GT(f.header.objective, 0);
  EXPECT_EQ(f.header.checkInterval, 5);
  EXPECT_GT(f.header.finishDate, 40000);
  EXPECT_LT(f.header.finishTime, 1);
  EXPECT_EQ(f.header.routeStepCount, static_cast<int32_t>(f.steps.size()));
  EXPECT_GE(f.steps.back().code, 4);  // the last step serves a point
  EXPECT_EQ(folder.solution("AAAAA1").size(), 488 + 16 * f.steps.size() + 4 + 8);
  for (const char* code : {"AAAAA2", "AAAAA3"}) {
    const SolutionFile failed = folder.read(code);
    EXPECT_EQ(failed.header.solutionFound, 0);
    EXPECT_TRUE(failed.startServiceTimes.empty());
  }
  EXPECT_EQ(folder.read("AAAAA2").header.routeStepCount, 0);
  EXPECT_EQ(folder.read("AAAAA2").header.stateCount, 0);
  EXPECT_EQ(folder.read("AAAAA2").header.objective, 0);
  EXPECT_NE(messageOf(folder.read("AAAAA3")).find("[767] 2 [601]). [78]."), std::string::npos);
  EXPECT_EQ(log.lines.back(), "Button: [0]");
}

TEST(Run, UnwritableSolutionIsReportedAndTheRunGoesOn) {
  Folder folder;
  folder.queue("TEST01", smallTask());
  folder.queue("TEST02", smallTask());
  std::filesystem::create_directories(folder.env.solving / solutionFileName("TEST01"));
  ProgressLog log;
  const auto outcomes = runOptimisation(folder.env, {{}, {"TEST01", "TEST02"}}, log);
  EXPECT_FALSE(outcomes[0].written);
  EXPECT_TRUE(outcomes[1].written);
  EXPECT_NE(std::find(log.lines.begin(), log.lines.end(),
                      "L8: [193] \"TEST01\". [919] \"qj_TEST01_out.dat\"."),
            log.lines.end());
}

// Clears the fields that depend on the clock.
std::string withoutTimes(std::string bytes) {
  std::fill(bytes.begin() + 123, bytes.begin() + 164, '\0');  // elapsed text
  std::fill(bytes.begin() + 440, bytes.begin() + 456, '\0');  // finish time and date
  return bytes;
}

TEST(Run, OneThreadAndManyWriteTheSameFiles) {
  test::Rng rng(5);
  Folder one, many;
  many.env.threads = 8;
  std::vector<std::string> codes;
  for (int i = 0; i < 8; ++i) {
    TaskFixture f(rng.pick(6, 30), rng.pick(3, 5));
    const SolverInput input = test::toSolverInput(test::randomTask(rng, test::options::kAll, f));
    codes.push_back("TASK0" + std::to_string(i));
    one.queue(codes.back(), input);
    many.queue(codes.back(), input);
  }
  ProgressLog logOne, logMany;
  runOptimisation(one.env, {{}, codes}, logOne);
  runOptimisation(many.env, {{}, codes}, logMany);
  for (const std::string& code : codes)
    EXPECT_EQ(withoutTimes(one.solution(code)), withoutTimes(many.solution(code))) << code;
  EXPECT_EQ(logOne.lines, logMany.lines);
}

// Damaged files of every kind fail their task with a message and never bring the run down.
TEST(Run, HostileFilesNeverCrashTheRun) {
  const std::string good = writeSolverInput(smallTask(), kShellName);
  std::mt19937 rng(99);
  Folder folder;
  SilentProgress quiet;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    const int kind = round % 3;
    if (kind == 0) bytes.resize(rng() % bytes.size());
    const int changes = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < changes && !bytes.empty(); ++i) {
      // Counts, flags and numbers of the header and the graph are the likely targets.
      const size_t at = kind == 1 ? 200 + rng() % 120 : rng() % bytes.size();
      if (at < bytes.size()) bytes[at] = static_cast<char>(rng());
    }
    if (kind == 2) {
      const int32_t values[] = {-1, 0, 1, 2, 3, 11, 10000, 10001, INT32_MAX, INT32_MIN};
      const int32_t v = values[rng() % 10];
      const size_t at = 204 + 4 * (rng() % 29);
      if (at + 4 <= bytes.size()) std::memcpy(bytes.data() + at, &v, 4);
    }
    folder.queue("FUZZ01", bytes);
    const TaskOutcome out = runTask(folder.env, {}, "FUZZ01", quiet);
    ASSERT_TRUE(out.written) << round;
    const SolutionFile& f = out.file;
    EXPECT_LE(f.header.solutionFound, 1);
    if (f.header.solutionFound < 1) {
      EXPECT_NE(f.header.finalMessage, std::string(255, ' '));
    }
    EXPECT_TRUE(readSolutionFile(folder.solution("FUZZ01"), false).file ||
                out.file.body == SolutionBody::None);
  }
}

TEST(Run, QueuedCodesAndNames) {
  Folder folder;
  folder.dir.write("Solving/qj_B00002_in.dat", "");
  folder.dir.write("Solving/qj_A00001_in.dat", "");
  folder.dir.write("Solving/qj_A00001_out.dat", "");
  folder.dir.write("Solving/qj_TOOLONG1_in.dat", "");
  folder.dir.write("Solving/QJ_C00003_IN.DAT", "");  // would be read as qj_C00003_in.dat
  folder.dir.write("Solving/qj_A00001_IN.dat", "");  // would be solved twice
  EXPECT_EQ(queuedTaskCodes(folder.env.solving), (std::vector<std::string>{"A00001", "B00002"}));
  EXPECT_EQ(taskCodeOfFileName("qj_123456_in.dat"), "123456");
  EXPECT_EQ(formatElapsed(0), "0:00:00");
  EXPECT_EQ(formatElapsed(3725.9), "1:02:05");
  EXPECT_EQ(formatElapsed(-5), "0:00:00");
}

TEST(Run, EndPointOfAFreeTaskWaitsAtACost) {
  TaskFixture f(1, 2);
  f.task.header.finePerKm = 0;
  f.task.header.finePerHour = 0;
  f.task.header.endPoint = 2;
  f.arc(f.point(1), 0, 1).arc(0, f.point(2), 1).arc(f.point(2), 0, 1);
  const OptimTask& task = f.finish();
  EXPECT_EQ(task.waitPenalty[1], 0.01);
  EXPECT_EQ(task.waitPenalty[0], 0);
}

}  // namespace
}  // namespace qj::optim
