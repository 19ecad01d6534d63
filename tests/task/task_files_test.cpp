#include "task/task_files.h"

#include <gtest/gtest.h>

#include "support/town.h"
#include "task/task_network.h"

namespace qj {
namespace {

using test::WizardFixture;

// The town's task in the wizard, with a graph of its 10 sections (0 to 3 arcs each) and its 4
// points (an arc per way out).
TaskWizardState townInWizard(const WizardFixture& f, const char* kind = "use1") {
  const TaskFile t = test::townTask(kind);
  TaskWizardState s = f.wizard();
  s.header = t.header;
  s.points = t.points;
  s.toTransitions = t.toLists;
  s.fromTransitions = t.fromLists;
  s.sectionVertices.resize(10);
  s.arcs.resize(14);
  for (int v = 0; v < 14; ++v) {
    const int count = v < 10 ? v % 4 : s.points[v - 10].fromCount;
    for (int k = 0; k < count; ++k) s.arcs[v].push_back({(v + k) % 14, 0.01 * v, 0.1 * k});
    if (v < 10) s.sectionVertices[v].arcCount = static_cast<int32_t>(s.arcs[v].size());
  }
  return s;
}

std::string solverInputBytes(const TaskWizardState& s, bool withGraph, const char* shell) {
  SolverInput in{s.header, s.points, {}, {}, {}};
  for (size_t v = 0; withGraph && v < s.arcs.size(); ++v) {
    in.arcCounts.push_back(static_cast<int32_t>(s.arcs[v].size()));
    in.arcs.insert(in.arcs.end(), s.arcs[v].begin(), s.arcs[v].end());
  }
  return writeSolverInput(in, shell);
}

TEST(TaskFiles, BothFilesHoldTheTaskOfItsLevel) {
  for (const char* kind : {"use1", "use2", "cli2"}) {
    SCOPED_TRACE(kind);
    WizardFixture f;
    // A client task keeps neither the lists nor the graph left over from another database.
    TaskWizardState s = townInWizard(f);
    s.header.dbKind = kind;
    f.app.shellFileName = std::string("Shell (QJ 1.6).") + kind;
    ASSERT_EQ(saveTaskFiles(s, f.app, 46000.5), std::nullopt);
    TaskFile want = test::townTask("use1");
    want.header.dbKind = kind;
    if (dbLevel(kind) == 3) want.toLists = want.fromLists = {};
    EXPECT_EQ(f.dir.read("Data/qj_TOWN01.dat"), writeTaskFile(want));
    EXPECT_EQ(f.dir.read("Data/qj_TOWN01_in.dat"),
              solverInputBytes(s, dbLevel(kind) < 3, f.app.shellFileName.c_str()));
  }
}

TEST(TaskFiles, ListsOrAGraphThatDisagreeWithTheirCountsAreNeverWritten) {
  WizardFixture f;
  for (const auto& spoil : std::vector<std::function<void(TaskWizardState&)>>{
           [](TaskWizardState& s) { s.points[1].toCount = 3; },
           [](TaskWizardState& s) { s.points[2].fromCount = 0; },
           [](TaskWizardState& s) { s.sectionVertices[3].arcCount = 1; },
           [](TaskWizardState& s) { s.sectionVertices.pop_back(); }}) {
    TaskWizardState s = townInWizard(f);
    spoil(s);
    EXPECT_THROW(saveTaskFiles(s, f.app, 1), std::logic_error);
  }
  EXPECT_FALSE(std::filesystem::exists(f.dir / "Data/qj_TOWN01.dat"));
  EXPECT_TRUE(f.app.protocol.empty());
}

TEST(TaskFiles, ANewTaskAddsAProtocolRecordAndACorrectionRenamesIt) {
  WizardFixture f;
  TaskWizardState s = townInWizard(f);
  f.app.protocol = {{"OTHER1", "Other", SolutionLoaded, 1, 2, 3, 4}};
  ASSERT_EQ(saveTaskFiles(s, f.app, 100.25), std::nullopt);
  ASSERT_EQ(f.app.protocol.size(), 2u);
  EXPECT_EQ(f.app.protocol[1],
            (ProtocolRec{"TOWN01", "Morning round", InputEntered, 100.25, 100.25, 0, 0}));
  s.formMode = kImportTask;  // typed or imported, a new task is a new record
  s.header.code = "TOWN02";
  ASSERT_EQ(saveTaskFiles(s, f.app, 101), std::nullopt);
  EXPECT_EQ(f.app.protocol.size(), 3u);
  f.app.protocol[1].status = SentToSolving;
  f.app.protocol[1].sentToSolvingAt = 100.5;
  s.formMode = kCorrectTask;
  s.header.code = "TOWN01";
  s.header.name = "Evening round";
  ASSERT_EQ(saveTaskFiles(s, f.app, 102), std::nullopt);
  ASSERT_EQ(f.app.protocol.size(), 3u);
  EXPECT_EQ(f.app.protocol[1],
            (ProtocolRec{"TOWN01", "Evening round", SentToSolving, 100.25, 102, 100.5, 0}));
  EXPECT_EQ(f.app.protocol[0].name, "Other");
}

TEST(TaskFiles, AFileThatCannotBeWrittenChangesNoFileNorRecord) {
  WizardFixture f;
  // A folder where the solver input belongs: the old task file stays as it was.
  f.dir.write("Data/qj_TOWN01.dat", "the old task");
  std::filesystem::create_directories(f.dir / "Data/qj_TOWN01_in.dat");
  const auto failure = saveTaskFiles(townInWizard(f), f.app, 1);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->kind, MessageKind::Error);
  EXPECT_EQ(f.text(*failure), "S863 \"qj_TOWN01_in.dat\" S865.");
  EXPECT_TRUE(f.app.protocol.empty());
  EXPECT_EQ(f.dir.read("Data/qj_TOWN01.dat"), "the old task");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir / "Data"), {}), 2);
}

TEST(TaskFiles, ASavedTaskReadsBackIntoTheWizard) {
  for (const char* kind : {"use1", "use2", "cli2"}) {
    SCOPED_TRACE(kind);
    WizardFixture f;
    TaskWizardState saved = townInWizard(f, kind);
    saved.header.approachSpeed = 4.5;
    ASSERT_EQ(saveTaskFiles(saved, f.app, 1), std::nullopt);
    TaskWizardState s = f.wizard(kCorrectTask);
    const TaskLoad load = loadTaskFile(s, taskBasePath(f.app.dirs(), "TOWN01"));
    EXPECT_EQ(load.outcome, TaskLoadOutcome::Loaded);
    EXPECT_FALSE(load.message);
    // Level 1 has no approach speed to show.
    EXPECT_EQ(load.approachSpeedText.value_or("none"), dbLevel(kind) == 1 ? "none" : "4,5");
    EXPECT_EQ(s.loadFailed, 0);
    EXPECT_EQ(s.header, saved.header);
    EXPECT_EQ(s.points, saved.points);
    EXPECT_EQ(s.toTransitions, saved.toTransitions);
    EXPECT_EQ(s.fromTransitions, saved.fromTransitions);
  }
}

TEST(TaskFiles, AForeignDamagedOrMissingTaskFileGivesNoTask) {
  WizardFixture f;
  TaskWizardState saved = townInWizard(f);
  saved.header.language = "rus";
  ASSERT_EQ(saveTaskFiles(saved, f.app, 1), std::nullopt);
  TaskWizardState s = f.wizard(kCorrectTask);
  s.points.resize(1);
  const auto load = [&](const char* code) {
    return loadTaskFile(s, (f.dir / "Data" / (std::string("qj_") + code)).string());
  };
  // Another language: its header only.
  TaskLoad l = load("TOWN01");
  EXPECT_EQ(l.outcome, TaskLoadOutcome::OtherLanguage);
  EXPECT_EQ(l.message->kind, MessageKind::Warning);
  EXPECT_EQ(f.text(*l.message), "S790 (rus), S786 (eng), S791.");
  EXPECT_EQ(s.loadFailed, 1);
  EXPECT_EQ(s.header.code + s.header.language, "TOWN01rus");
  EXPECT_EQ(s.points.size(), 1u);

  // Missing; shorter than its header promises; shorter than a header; beyond any task file.
  s.header.name = "kept";
  const std::string bytes = writeTaskFile(test::townTask());
  f.dir.write("Data/qj_BROKEN.dat", bytes.substr(0, 400));
  f.dir.write("Data/qj_SHORT1.dat", bytes.substr(0, 100));
  f.dir.write("Data/qj_LONG01.dat", bytes);
  std::filesystem::resize_file(f.dir / "Data/qj_LONG01.dat", kMaxTaskFileBytes + 1);
  for (const char* code : {"NOPE00", "BROKEN", "SHORT1", "LONG01"}) {
    l = load(code);
    EXPECT_EQ(l.outcome, TaskLoadOutcome::Unreadable) << code;
    EXPECT_EQ(f.text(*l.message), "S815 \"qj_" + std::string(code) + ".dat\".");
  }
  EXPECT_EQ(s.header.name, "kept");
  EXPECT_EQ(s.points.size(), 1u);
}

}  // namespace
}  // namespace qj
