// The optimisation run on queued task files: the checks and their messages, the solution
// file of every task, batches, damaged and missing files.

#include "optimiser/run.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <limits>

#include "optimiser/progress_log.h"
#include "optimiser/task_fixture.h"
#include "records/cp1251.h"
#include "records/datetime.h"
#include "support/temp_dir.h"
#include "support/write_faults.h"

namespace qj::optim {
namespace {

struct Folder {
  qj::test::TempDir dir;
  RunEnvironment env;

  Folder() {
    std::filesystem::create_directories(dir / "Solving");
    std::filesystem::create_directories(dir / "Dbrn");
    // clang-format off
    env = {dir / "Solving", dir / "Dbrn", "eng", &test::indexShell(),
           {"Info one", "Info two", "Info three"}, ',', 1};
    // clang-format on
    env.now = [] { return toDateTime(CivilDateTime{2026, 2, 1, 10, 11, 12}); };
  }
  void queue(const std::string& code, const std::string& bytes) const {
    dir.write("Solving/" + inputFileName(code), bytes);
  }
  void queue(const std::string& code, const SolverInput& input) const {
    queue(code, writeSolverInput(input, "Shell (QJ 1.6).eng"));
  }
  std::vector<std::string> run(const std::vector<std::string>& codes,
                               const IterationSettings& settings = {}) const {
    test::ProgressLog log;
    runOptimisation(env, {settings, codes}, log);
    return log.lines;
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

std::string messageOf(const SolutionFile& f) {
  return cp1251::toUtf8(f.header.finalMessage);
}

bool shown(const std::vector<std::string>& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
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
      CHECK_CASE(in.header.startPoint = 3, ""),
      CHECK_CASE(in.header.endPoint = 3, ""),
      CHECK_CASE(in.header.endPoint = -1, "[564] -1."),
      CHECK_CASE(s.relaxationCoef = 1.0, "[555] 1,000."),
      CHECK_CASE(s.relaxationCoef = 0.09999, ""),
      CHECK_CASE(s.relaxationCoef = 0.0999, "[555] 0,100."),
      CHECK_CASE(s.checkInterval = 0, "[552] 0."),
      CHECK_CASE(s.iterationLimit = 9, "[556] 9."),
      CHECK_CASE(s.iterationLimit = 10, ""),
      CHECK_CASE(s.stopCriterion = 0.10002, "[553] 0,100 ."),
      CHECK_CASE(s.stopCriterion = 0.10001, ""),
      CHECK_CASE(s.stopCriterion = 0.00099, ""),
      CHECK_CASE(s.stopCriterion = 0.00098, "[553] 0,001 ."),
      CHECK_CASE(in.points[1].waitPenalty = -1e-8, "[559] 2."),
      CHECK_CASE(in.arcCounts[2] = -1, "[560] 3."),
      CHECK_CASE(in.arcs[1].target = 7, "[554] 1 [198] 2."),  // 7 vertices in all
      CHECK_CASE(in.arcs[1].target = -1, "[554] 1 [198] 2."),
      CHECK_CASE(in.arcs[1].cost = -1e-8, "[558] 1 [198] 2."),
      CHECK_CASE(in.arcs[3].time = 0, ""),
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
      CHECK_CASE(in.header.capacity = nan, "[917]."),
      CHECK_CASE(in.points[2].waitPenalty = nan, "[918] 3."),
      CHECK_CASE(in.points[2].serviceTime = inf, "[918] 3."),
      CHECK_CASE(in.points[2].income = -inf, "[918] 3."),
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.name);
    Folder folder;
    SolverInput input = test::ringTask();
    IterationSettings settings;
    c.change(input, settings);
    folder.queue("TEST01", input);
    const auto lines = folder.run({"TEST01"}, settings);
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
    EXPECT_TRUE(shown(lines, "L8: " + kHead + c.tail));     // the red line
  }
}

TEST(Run, TruncatedFilesFailWithTheirMessage) {
  const std::string good = writeSolverInput(test::ringTask(), "Shell (QJ 1.6).eng");
  // Cut inside the header, the points, the arc counts and the arcs.
  for (size_t cut : {0, 100, 319, 320, 500, 704, 710, 740, 800}) {
    SCOPED_TRACE(cut);
    Folder folder;
    folder.queue("TEST01", good.substr(0, cut));
    folder.run({"TEST01"});
    EXPECT_EQ(messageOf(folder.read("TEST01")), kHead + "[910] \"qj_TEST01_in.dat\".");
    // A file without a whole header gives no counts: the header alone is written.
    EXPECT_EQ(folder.solution("TEST01").size(), cut < 320 ? 488u : 492u);
  }
  // The shell name trailer is not needed.
  Folder folder;
  folder.queue("TEST01", good.substr(0, good.size() - 25));
  folder.run({"TEST01"});
  EXPECT_EQ(folder.read("TEST01").header.solutionFound, 1);
}

TEST(Run, MissingFilesFailTheirTaskAndTheRunGoesOn) {
  Folder folder;
  folder.queue("TEST02", test::ringTask());
  SolverInput cli = test::ringTask();
  cli.header.dbKind = "cli2";
  cli.header.dbCode = "007";
  cli.arcCounts.clear();
  cli.arcs.clear();
  folder.queue("TEST03", cli);
  // Far longer than any input file: said so, not that it cannot be read.
  folder.queue("TEST04", test::ringTask());
  std::filesystem::resize_file(folder.dir / "Solving/qj_TEST04_in.dat", kMaxTaskFileBytes + 1);
  folder.run({"TEST01", "TEST02", "TEST03", "TEST04"});
  EXPECT_EQ(messageOf(folder.read("TEST01")), kHead + "[911] \"qj_TEST01_in.dat\".");
  EXPECT_EQ(messageOf(folder.read("TEST04")),
            "[193] \"TEST04\". [8]. [1327] \"qj_TEST04_in.dat\".");
  EXPECT_EQ(folder.solution("TEST01").size(), 488u);
  EXPECT_EQ(folder.read("TEST02").header.solutionFound, 1);
  const std::string head3 = "[193] \"TEST03\". [8]. ";
  EXPECT_EQ(messageOf(folder.read("TEST03", true)),
            head3 + "[567] \"007sys2_dbrn_eng.dat\", [368].");
  EXPECT_EQ(folder.solution("TEST03").size(), 488u);
  // A system database that is no database fails the task in the same way.
  folder.dir.write("Dbrn/007sys2_dbrn_eng.dat", "");
  folder.run({"TEST03"});
  EXPECT_EQ(messageOf(folder.read("TEST03", true)),
            head3 + "[830] \"007sys2_dbrn_eng.dat\" [832]: [833].");
}

// A solved task, one refused by its checks, one that fails in its final pass, one whose
// file cannot be written: nothing of a task reaches the file of the next.
TEST(Run, BatchOfSolvedAndFailedTasks) {
  Folder folder;
  folder.queue("AAAAA1", test::ringTask());
  SolverInput bad = test::ringTask();
  bad.arcs[0].cost = -1;
  folder.queue("AAAAA2", bad);
  SolverInput late = test::ringTask();
  late.header.orderMode = 1;
  late.points[1].orderValue = 1;  // point 1, the start, must follow point 2
  folder.queue("AAAAA3", late);
  folder.queue("AAAAA4", test::ringTask());
  std::filesystem::create_directories(folder.env.solving / solutionFileName("AAAAA4"));
  const auto lines = folder.run(queuedTaskCodes(folder.env.solving));
  const SolutionFile f = folder.read("AAAAA1");
  EXPECT_EQ(f.header.solutionFound, 1);
  EXPECT_EQ(f.header.infoText3, "Info three");
  EXPECT_EQ(f.header.elapsedText, "0:00:00");
  EXPECT_EQ(f.header.stateCount, 9);  // three points without rules
  EXPECT_TRUE(f.header.iterationsDone > 0 && f.header.objective > 0);
  EXPECT_EQ(f.header.checkInterval, 5);
  EXPECT_TRUE(f.header.finishDate > 40000 && f.header.finishTime < 1);  // a day and its fraction
  EXPECT_EQ(f.header.routeStepCount, static_cast<int32_t>(f.steps.size()));
  EXPECT_GE(f.steps.back().code, 4);  // the last step serves a point
  EXPECT_EQ(folder.solution("AAAAA1").size(), 488 + 16 * f.steps.size() + 4 + 8);
  for (const char* code : {"AAAAA2", "AAAAA3"}) {
    EXPECT_EQ(folder.read(code).header.solutionFound, 0);
    EXPECT_TRUE(folder.read(code).startServiceTimes.empty());
  }
  EXPECT_EQ(folder.read("AAAAA2").header.routeStepCount + folder.read("AAAAA2").header.stateCount,
            0);
  // The final pass's failure shows once, as the passes left it.
  const std::string failure = "L8: [193] \"AAAAA3\". [767] 2 [601]). [78].";
  EXPECT_EQ(messageOf(folder.read("AAAAA3")), failure.substr(4));
  EXPECT_EQ(std::count(lines.begin(), lines.end(), failure), 1);
  EXPECT_TRUE(shown(lines, "L8: [193] \"AAAAA4\". [919] \"qj_AAAAA4_out.dat\"."));
  EXPECT_FALSE(shown(lines, "L7: 6. [170] \"AAAAA4\", [649]."));
  // The lines of the run and of a task, around those of the passes.
  // clang-format off
  const std::vector<std::string> head = {
      "Button: [582]", "L2: ", "L3: ", "L4: ", "L5: ", "L6: ", "L7: ", "L8: ", "End: ",
      "Start: [270] \"AAAAA1\":  10:11:12 ([81]) 01/02/2026 ([134])."};
  // clang-format on
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 10), head);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 2, lines.end()),
            (std::vector<std::string>{"Busy hidden", "Button: [0]"}));
}

// A solution renamed into place whose folder the disk did not confirm is kept, and the run
// says that it may not survive a power loss.
TEST(Run, ASolutionInPlaceButNotConfirmedIsSaidToBeWritten) {
  if (qj::test::WriteFaults::ranInChild()) return;
  Folder folder;
  folder.queue("TEST05", test::ringTask());
  std::vector<std::string> lines;
  {
    qj::test::WriteFaults faults(folder.dir.path());
    faults.fail("fsync", 1, 1);  // the file's own sync passes, its folder's fails
    lines = folder.run({"TEST05"});
  }
  EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.ends_with("[1328] \"qj_TEST05_out.dat\" [1329].");
  })) << testing::PrintToString(lines);
  EXPECT_EQ(folder.read("TEST05").header.solutionFound, 1);
}

// Damaged files of every kind fail their task with a message and never bring the run down.
TEST(Run, HostileFilesNeverCrashTheRun) {
  const std::string good = writeSolverInput(test::ringTask(), "Shell (QJ 1.6).eng");
  std::mt19937 rng(99);
  Folder folder;
  SilentProgress quiet;
  for (int round = 0; round < 300; ++round) {
    std::string bytes = good;
    const int kind = round % 3;
    if (kind == 0) bytes.resize(rng() % bytes.size());
    for (int i = 1 + static_cast<int>(rng() % 6); i > 0 && !bytes.empty(); --i) {
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
    EXPECT_LE(out.file.header.solutionFound, 1);
    EXPECT_TRUE(out.file.header.solutionFound == 1 ||
                out.file.header.finalMessage != std::string(255, ' '));  // a failure says why
    EXPECT_TRUE(readSolutionFile(folder.solution("FUZZ01"), false).file ||
                out.file.body == SolutionBody::None);
  }
}

TEST(Run, QueuedCodesAndNames) {
  Folder folder;
  for (const char* name : {"qj_B00002_in.dat", "qj_A00001_in.dat", "qj_A00001_out.dat",
                           "qj_TOOLONG1_in.dat", "QJ_C00003_IN.DAT", "qj_A00001_IN.dat"})
    folder.dir.write(std::string("Solving/") + name, "");
  EXPECT_EQ(queuedTaskCodes(folder.env.solving), (std::vector<std::string>{"A00001", "B00002"}));
  EXPECT_EQ(taskCodeOfFileName("qj_123456_in.dat"), "123456");
  EXPECT_EQ(formatElapsed(0), "0:00:00");
  EXPECT_EQ(formatElapsed(3725.9), "1:02:05");
  EXPECT_EQ(formatElapsed(-5), "0:00:00");
}

// Where driving costs nothing, the end point's waiting costs a little, so that the route
// still ends there as soon as it can.
TEST(Run, EndPointOfAFreeTaskWaitsAtACost) {
  // Rate per km, rate per hour, the end point's waiting penalty, the penalty taken.
  const std::vector<std::array<double, 4>> cases = {
      {0, 0, 0, 0.01}, {0, 0, 0.005, 0.015}, {0, 0, 0.009999, 0.009999}, {0, 0, 0.01, 0.01},
      {0.01, 0, 0, 0}, {0, 0.01, 0, 0},      {0.009999, 0, 0, 0},        {0, 0.009999, 0, 0}};
  for (const auto& [perKm, perHour, penalty, taken] : cases) {
    test::TaskFixture f(1, 2);
    f.task.header.finePerKm = perKm;
    f.task.header.finePerHour = perHour;
    f.task.header.endPoint = 2;
    f.pointRec(2).waitPenalty = penalty;
    const OptimTask& task = f.finish();
    EXPECT_DOUBLE_EQ(task.waitPenalty[1], taken) << perKm << " " << perHour << " " << penalty;
    EXPECT_EQ(task.waitPenalty[0], 0);
  }
}

}  // namespace
}  // namespace qj::optim
