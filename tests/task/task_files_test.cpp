#include "task/task_files.h"

#include <gtest/gtest.h>

#include <cstring>

#include "task/task_wizard_fixture.h"

namespace qj {
namespace {

using test::WizardFixture;

// The expected bytes of a file, placed field by field at the offsets of the file layout.
class Layout {
 public:
  explicit Layout(size_t size) : b_(size, '\0') {}
  void str(size_t at, std::string_view s) {
    b_[at] = static_cast<char>(s.size());
    b_.replace(at + 1, s.size(), s);
  }
  void i32(size_t at, int32_t v) { std::memcpy(b_.data() + at, &v, 4); }
  void f64(size_t at, double v) { std::memcpy(b_.data() + at, &v, 8); }
  const std::string& bytes() const { return b_; }

  void header(const TaskHeader& h) {
    str(0, h.language);
    str(4, h.code);
    str(11, h.name);
    str(82, h.dbKind);
    str(87, h.dbCode);
    str(91, h.dbName);
    str(162, h.dbDate);
    i32(204, h.sectionCount);
    i32(208, h.pointCount);
    i32(212, h.startPoint);
    i32(216, h.endPoint);
    str(220, h.moneyUnit);
    f64(248, h.finePerKm);
    f64(256, h.finePerHour);
    f64(264, h.approachSpeed);
    i32(272, h.refusalFlag);
    i32(276, h.servedThreshold);
    i32(280, h.timeFactorFlag);
    i32(284, h.tactMinutes);
    i32(288, h.cargoMode);
    f64(296, h.capacity);
    i32(304, h.returnFlag);
    i32(308, h.orderMode);
    i32(312, h.priorityCount);
    i32(316, h.stateCount2);
  }
  void point(size_t at, const TaskPointRec& p) {
    str(at + 0, p.streetType);
    str(at + 5, p.street);
    str(at + 36, p.house);
    f64(at + 48, p.serviceTime);
    f64(at + 56, p.unloadTime);
    f64(at + 64, p.waitPenalty);
    i32(at + 72, p.orderValue);
    i32(at + 76, p.refusalAllowed);
    f64(at + 80, p.volume);
    f64(at + 88, p.income);
    i32(at + 96, p.windowLow);
    i32(at + 100, p.windowHigh);
    i32(at + 104, p.toCount);
    i32(at + 108, p.fromCount);
    i32(at + 112, p.vertexNo);
    i32(at + 116, p.sectionIndex);
    i32(at + 120, p.reverseSectionIndex);
    i32(at + 124, p.houseIndex);
  }
  void transition(size_t at, double dist, double speed, int32_t kind) {
    f64(at, dist);
    f64(at + 8, speed);
    i32(at + 16, kind);
  }
  void arc(size_t at, int32_t target, double time, double cost) {
    i32(at, target);
    f64(at + 8, time);
    f64(at + 16, cost);
  }
  void trailer(size_t at, std::string_view shellFileName) {
    b_[at] = static_cast<char>(std::min<size_t>(shellFileName.size(), 25));
    const std::string_view chars = shellFileName.substr(0, 24);
    b_.replace(at + 1, chars.size(), chars);
  }

 private:
  std::string b_;
};

TaskHeader taskHeader(const char* kind, int32_t sections) {
  TaskHeader h;
  h.language = "eng";
  h.code = "ABC123";
  h.name = "Deliveries";
  h.dbKind = kind;
  h.dbCode = "001";
  h.dbName = "Tiny town";
  h.dbDate = "01.02.2026";
  h.sectionCount = sections;
  h.pointCount = 2;
  h.startPoint = 1;
  h.endPoint = 2;
  h.moneyUnit = "EUR";
  h.finePerKm = 1.5;
  h.finePerHour = 12;
  h.timeFactorFlag = 1;
  h.tactMinutes = 5;
  h.stateCount2 = 4;
  return h;
}

TaskPointRec taskPoint(const char* type, const char* street, const char* house, int32_t vertex) {
  TaskPointRec p;
  p.streetType = type;
  p.street = street;
  p.house = house;
  p.serviceTime = 5 + vertex;
  p.waitPenalty = 2.5;
  p.windowLow = 10 * vertex;
  p.vertexNo = vertex;
  return p;
}

// Two points on a network of four sections: point 1 on section 0 with its reverse section 1,
// point 2 on section 2, which has none.
TaskWizardState levelOneTask(const WizardFixture& f) {
  TaskWizardState s = f.wizard();
  s.header = taskHeader("use1", 4);
  s.points = {taskPoint("av.", "Main", "3", 4), taskPoint("st.", "Oak", "7", 5)};
  s.points[0].sectionIndex = 0;
  s.points[0].reverseSectionIndex = 1;
  s.points[1].sectionIndex = 2;
  s.toTransitions = {{{35, 40, 1}, {65, 40, 2}}, {{70, 40, 1}}};
  s.fromTransitions = {{{65, 40, 3}, {35, 40, 4}, {300, 20, -2}}, {{30, 40, 3}, {300, 20, -1}}};
  for (size_t i = 0; i < 2; ++i) {
    s.points[i].toCount = static_cast<int32_t>(s.toTransitions[i].size());
    s.points[i].fromCount = static_cast<int32_t>(s.fromTransitions[i].size());
  }
  s.sectionVertices.resize(4);
  s.arcs = {{{1, 0.0025, 0.1}, {4, 0.001, 0.05}},
            {{0, 0.0025, 0.1}},
            {{5, 0.002, 0.07}},
            {},
            {{0, 0.1, 1.2}, {1, 0.2, 2.4}, {5, 0.3, 3.6}},
            {{2, 0.4, 4.8}, {4, 0.5, 6.0}}};
  for (size_t v = 0; v < 4; ++v)
    s.sectionVertices[v].arcCount = static_cast<int32_t>(s.arcs[v].size());
  return s;
}

// The solver input of a task with a graph: header, points, arc counts, arcs, trailer.
std::string expectedSolverInput(const TaskWizardState& s, std::string_view shellFileName) {
  size_t arcs = 0;
  for (const auto& list : s.arcs) arcs += list.size();
  const size_t n = s.points.size();
  const size_t m = s.sectionVertices.size();
  Layout l(320 + 128 * n + 4 * (m + n) + 24 * arcs + 25);
  l.header(s.header);
  for (size_t i = 0; i < n; ++i) l.point(320 + 128 * i, s.points[i]);
  size_t at = 320 + 128 * n;
  for (size_t v = 0; v < m + n; ++v, at += 4) l.i32(at, static_cast<int32_t>(s.arcs[v].size()));
  for (const auto& list : s.arcs)
    for (const auto& a : list) {
      l.arc(at, a.target, a.time, a.cost);
      at += 24;
    }
  l.trailer(at, shellFileName);
  return l.bytes();
}

TEST(TaskFiles, ALevelOneTaskIsWrittenInTheFileLayout) {
  WizardFixture f;
  const TaskWizardState s = levelOneTask(f);
  ASSERT_EQ(saveTaskFiles(s, f.app, 46000.5), std::nullopt);

  Layout task(320 + 2 * 128 + 20 * (3 + 5));
  task.header(s.header);
  task.point(320, s.points[0]);
  task.point(448, s.points[1]);
  // All to-lists, point 1 first, then all from-lists.
  task.transition(576, 35, 40, 1);
  task.transition(596, 65, 40, 2);
  task.transition(616, 70, 40, 1);
  task.transition(636, 65, 40, 3);
  task.transition(656, 35, 40, 4);
  task.transition(676, 300, 20, -2);
  task.transition(696, 30, 40, 3);
  task.transition(716, 300, 20, -1);
  EXPECT_EQ(f.dir.read("Data/qj_ABC123.dat"), task.bytes());

  const std::string input = f.dir.read("Data/qj_ABC123_in.dat");
  ASSERT_EQ(input.size(), 320u + 256 + 4 * (4 + 2) + 24 * 9 + 25);
  EXPECT_EQ(input, expectedSolverInput(s, "Shell (QJ 1.6).eng"));
  // The arc counts: sections 2, 1, 1, 0, then the points' from-counts 3 and 2.
  Layout counts(24);
  const int32_t c[] = {2, 1, 1, 0, 3, 2};
  for (size_t i = 0; i < 6; ++i) counts.i32(4 * i, c[i]);
  EXPECT_EQ(input.substr(576, 24), counts.bytes());
}

TEST(TaskFiles, ALevelTwoTaskStoresSectionNumbersAsKinds) {
  WizardFixture f;
  TaskWizardState s = levelOneTask(f);
  s.header.dbKind = "use2";
  s.header.dbCode = "002";
  s.header.approachSpeed = 4.5;
  s.points[0].houseIndex = 3;
  s.points[1].houseIndex = 0;
  s.toTransitions = {{{90, 4.5, 1}}, {{30, 4.5, 3}, {70, 4.5, 4}}};
  s.fromTransitions = {{{110, 4.5, 1}, {100, 4.5, -2}}, {}};
  for (size_t i = 0; i < 2; ++i) {
    s.points[i].toCount = static_cast<int32_t>(s.toTransitions[i].size());
    s.points[i].fromCount = static_cast<int32_t>(s.fromTransitions[i].size());
  }
  s.arcs[4] = {{0, 0.02, 0.3}, {5, 0.03, 0.4}};
  s.arcs[5] = {};
  f.app.shellFileName = "Shell (QJ 1.6).rus";
  ASSERT_EQ(saveTaskFiles(s, f.app, 46000.5), std::nullopt);

  Layout task(320 + 2 * 128 + 20 * 5);
  task.header(s.header);
  task.point(320, s.points[0]);
  task.point(448, s.points[1]);
  task.transition(576, 90, 4.5, 1);
  task.transition(596, 30, 4.5, 3);
  task.transition(616, 70, 4.5, 4);
  task.transition(636, 110, 4.5, 1);
  task.transition(656, 100, 4.5, -2);
  EXPECT_EQ(f.dir.read("Data/qj_ABC123.dat"), task.bytes());
  EXPECT_EQ(f.dir.read("Data/qj_ABC123_in.dat"), expectedSolverInput(s, "Shell (QJ 1.6).rus"));
}

TEST(TaskFiles, AClientAdditionTaskHasNeitherTransitionsNorGraph) {
  WizardFixture f;
  TaskWizardState s = levelOneTask(f);  // lists and graph left over from another database
  s.header.dbKind = "cli2";
  s.header.sectionCount = 9000;                        // the system database's count
  f.app.shellFileName = "Shell (QJ 1.6).engineering";  // 26 characters: cut to 24
  ASSERT_EQ(saveTaskFiles(s, f.app, 46000.5), std::nullopt);

  Layout task(320 + 2 * 128);
  task.header(s.header);
  task.point(320, s.points[0]);
  task.point(448, s.points[1]);
  EXPECT_EQ(f.dir.read("Data/qj_ABC123.dat"), task.bytes());

  Layout input(320 + 2 * 128 + 25);
  input.header(s.header);
  input.point(320, s.points[0]);
  input.point(448, s.points[1]);
  input.trailer(576, "Shell (QJ 1.6).engineering");
  const std::string written = f.dir.read("Data/qj_ABC123_in.dat");
  EXPECT_EQ(written, input.bytes());
  EXPECT_EQ(static_cast<uint8_t>(written[576]), 25);
  EXPECT_EQ(written.substr(577), "Shell (QJ 1.6).engineeri");
}

TEST(TaskFiles, ListsOrAGraphThatDisagreeWithTheirCountsAreNeverWritten) {
  WizardFixture f;
  TaskWizardState s = levelOneTask(f);
  s.points[1].toCount = 2;
  EXPECT_THROW(saveTaskFiles(s, f.app, 1), std::logic_error);
  s = levelOneTask(f);
  s.sectionVertices[3].arcCount = 1;
  EXPECT_THROW(saveTaskFiles(s, f.app, 1), std::logic_error);
  s = levelOneTask(f);
  s.sectionVertices.pop_back();
  EXPECT_THROW(saveTaskFiles(s, f.app, 1), std::logic_error);
  EXPECT_FALSE(std::filesystem::exists(f.dir / "Data/qj_ABC123.dat"));
  EXPECT_TRUE(f.app.protocol.empty());
}

TEST(TaskFiles, ANewTaskAddsAProtocolRecordAndACorrectionRenamesIt) {
  WizardFixture f;
  TaskWizardState s = levelOneTask(f);
  f.app.protocol = {{"OTHER1", "Other", SolutionLoaded, 1, 2, 3, 4}};
  ASSERT_EQ(saveTaskFiles(s, f.app, 100.25), std::nullopt);
  ASSERT_EQ(f.app.protocol.size(), 2u);
  EXPECT_EQ(f.app.protocol[1],
            (ProtocolRec{"ABC123", "Deliveries", InputEntered, 100.25, 100.25, 0, 0}));

  s.formMode = 2;  // typed or imported, a new task is a new record
  s.header.code = "ABC124";
  ASSERT_EQ(saveTaskFiles(s, f.app, 101), std::nullopt);
  EXPECT_EQ(f.app.protocol.size(), 3u);

  f.app.protocol[1].status = SentToSolving;
  f.app.protocol[1].sentToSolvingAt = 100.5;
  s.formMode = 3;
  s.header.code = "ABC123";
  s.header.name = "Evening deliveries";
  ASSERT_EQ(saveTaskFiles(s, f.app, 102), std::nullopt);
  ASSERT_EQ(f.app.protocol.size(), 3u);
  EXPECT_EQ(f.app.protocol[1],
            (ProtocolRec{"ABC123", "Evening deliveries", SentToSolving, 100.25, 102, 100.5, 0}));
  EXPECT_EQ(f.app.protocol[0].name, "Other");
}

TEST(TaskFiles, AFileThatCannotBeWrittenIsReportedAndChangesNoFileNorRecord) {
  WizardFixture f;
  // A folder where the solver input belongs: the input cannot be written, so the old task
  // file stays as it was.
  f.dir.write("Data/qj_ABC123.dat", "the old task");
  std::filesystem::create_directories(f.dir / "Data/qj_ABC123_in.dat");
  const auto failure = saveTaskFiles(levelOneTask(f), f.app, 1);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind, MessageKind::Error);
  EXPECT_EQ(f.text(*failure), "S863 \"qj_ABC123_in.dat\" S865.");
  EXPECT_TRUE(f.app.protocol.empty());
  EXPECT_EQ(f.dir.read("Data/qj_ABC123.dat"), "the old task");
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(f.dir / "Data"))
    ++files;
  EXPECT_EQ(files, 2u);
}

TEST(TaskFiles, ASavedTaskReadsBackIntoTheWizard) {
  WizardFixture f;
  TaskWizardState saved = levelOneTask(f);
  saved.header.dbKind = "use2";
  saved.header.approachSpeed = 4.5;
  ASSERT_EQ(saveTaskFiles(saved, f.app, 1), std::nullopt);

  TaskWizardState s = f.wizard(3);
  const TaskLoad load = loadTaskFile(s, taskBasePath(f.app.dirs(), "ABC123"));
  EXPECT_EQ(load.outcome, TaskLoadOutcome::Loaded);
  EXPECT_FALSE(load.message);
  EXPECT_EQ(load.approachSpeedText, "4,5");
  EXPECT_EQ(s.loadFailed, 0);
  EXPECT_EQ(s.header, saved.header);
  EXPECT_EQ(s.points, saved.points);
  EXPECT_EQ(s.toTransitions, saved.toTransitions);
  EXPECT_EQ(s.fromTransitions, saved.fromTransitions);
}

TEST(TaskFiles, ALevelOneTaskLoadsWithoutASpeedAndAClientTaskWithoutLists) {
  WizardFixture f;
  ASSERT_EQ(saveTaskFiles(levelOneTask(f), f.app, 1), std::nullopt);
  TaskWizardState s = f.wizard(3);
  EXPECT_FALSE(loadTaskFile(s, (f.dir / "Data/qj_ABC123").string()).approachSpeedText);

  TaskWizardState cli = levelOneTask(f);
  cli.header.dbKind = "cli2";
  cli.header.code = "CLI001";
  ASSERT_EQ(saveTaskFiles(cli, f.app, 1), std::nullopt);
  const TaskLoad load = loadTaskFile(s, (f.dir / "Data/qj_CLI001").string());
  EXPECT_EQ(load.outcome, TaskLoadOutcome::Loaded);
  EXPECT_EQ(load.approachSpeedText, "0");
  EXPECT_TRUE(s.toTransitions.empty());
  EXPECT_TRUE(s.fromTransitions.empty());
}

TEST(TaskFiles, ATaskOfAnotherLanguageGivesItsHeaderOnly) {
  WizardFixture f;
  TaskWizardState saved = levelOneTask(f);
  saved.header.language = "rus";
  ASSERT_EQ(saveTaskFiles(saved, f.app, 1), std::nullopt);

  TaskWizardState s = f.wizard(3);
  s.points = {taskPoint("ln.", "Quiet", "1", 9)};
  const auto before = s.points;
  const TaskLoad load = loadTaskFile(s, (f.dir / "Data/qj_ABC123").string());
  EXPECT_EQ(load.outcome, TaskLoadOutcome::OtherLanguage);
  ASSERT_TRUE(load.message);
  EXPECT_EQ(load.message->kind, MessageKind::Warning);
  EXPECT_EQ(f.text(*load.message), "S790 (rus), S786 (eng), S791.");
  EXPECT_EQ(s.loadFailed, 1);
  EXPECT_EQ(s.header.language, "rus");
  EXPECT_EQ(s.header.code, "ABC123");
  EXPECT_EQ(s.points, before);
}

TEST(TaskFiles, AMissingOrDamagedTaskFileChangesNothing) {
  WizardFixture f;
  TaskWizardState s = f.wizard(3);
  s.header.name = "kept";
  TaskLoad load = loadTaskFile(s, (f.dir / "Data/qj_NOPE00").string());
  EXPECT_EQ(load.outcome, TaskLoadOutcome::Unreadable);
  ASSERT_TRUE(load.message);
  EXPECT_EQ(f.text(*load.message), "S815 \"qj_NOPE00.dat\".");

  // A header that promises more points than the file holds.
  ASSERT_EQ(saveTaskFiles(levelOneTask(f), f.app, 1), std::nullopt);
  std::string bytes = f.dir.read("Data/qj_ABC123.dat");
  f.dir.write("Data/qj_BROKEN.dat", bytes.substr(0, 400));
  load = loadTaskFile(s, (f.dir / "Data/qj_BROKEN").string());
  EXPECT_EQ(load.outcome, TaskLoadOutcome::Unreadable);
  EXPECT_EQ(f.text(*load.message), "S815 \"qj_BROKEN.dat\".");
  f.dir.write("Data/qj_SHORT1.dat", bytes.substr(0, 100));
  EXPECT_EQ(loadTaskFile(s, (f.dir / "Data/qj_SHORT1").string()).outcome,
            TaskLoadOutcome::Unreadable);
  // A good task with far more behind it than any task file holds is not read.
  f.dir.write("Data/qj_LONG01.dat", bytes);
  std::filesystem::resize_file(f.dir / "Data/qj_LONG01.dat", kMaxTaskFileBytes + 1);
  EXPECT_EQ(loadTaskFile(s, (f.dir / "Data/qj_LONG01").string()).outcome,
            TaskLoadOutcome::Unreadable);
  EXPECT_EQ(s.header.name, "kept");
  EXPECT_TRUE(s.points.empty());
}

}  // namespace
}  // namespace qj
