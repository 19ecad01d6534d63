// The task's files: the import of the wizard's page 1 (a task exported by the task viewer and
// imported from that workbook file comes back as it was; every refusal names what it refuses;
// the import of a protocol task's file and of "none"), and the task file and solver input the
// wizard saves and reads back.

#include "task/task_import.h"

#include <gtest/gtest.h>

#include "frame/protocol.h"
#include "office/workbook_export.h"
#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"
#include "reports/report_workbooks.h"
#include "reports/task_view.h"
#include "support/hostile_xls.h"
#include "support/task_fixture.h"
#include "support/town.h"
#include "support/write_faults.h"
#include "task/task_files.h"
#include "task/task_network.h"

namespace qj {
namespace {

using office::Workbook;

// The town task as the wizard keeps it: nothing at the start point that the workbook marks
// with "-", and no window at the end point.
TaskFile wizardTask(const char* kind = "use1") {
  TaskFile t = test::townTask(kind);
  TaskPointRec& start = t.points[0];
  start.serviceTime = start.unloadTime = start.volume = start.income = 0;
  start.waitPenalty = 1.25;
  t.points[2].windowLow = t.points[2].windowHigh = 0;
  return t;
}

struct TaskImport : ::testing::Test {
  test::WizardFixture f;
  int files = 0;

  // The workbook of `t` as the task viewer exports it, written to a file and read back.
  Workbook exported(const TaskFile& t, char sep = ',') {
    const TaskView view = makeTaskView(t, "eng", f.app.texts, sep);
    const fs::path file = f.dir / ("export" + std::to_string(files++) + ".xlsx");
    office::writeXlsx(taskWorkbook(view, f.app.texts, sep), file);
    office::WorkbookRead read = office::readWorkbook(file);
    EXPECT_TRUE(read.book) << read.detail;
    return read.book ? std::move(*read.book) : Workbook{};
  }
  TaskWorkbookRead import(const Workbook& book, const TaskHeader& base = {}) {
    return readTaskWorkbook(book, base, "eng", "NEW001", "Imported");
  }
  std::string text(const std::optional<Message>& m) const {
    return m ? f.text(*m) : std::string("(no message)");
  }
  // What comes back: the user's code and name, the base header's section and state counts
  // (and approach speed below level 2), points without what the wizard derives again (vertex,
  // reverse section, house) and above level 1 without sections and transitions.
  void roundTrip(const TaskFile& t, char sep = ',') {
    TaskHeader base;
    std::tie(base.sectionCount, base.stateCount2, base.approachSpeed) = std::tuple(77, 555, 9);
    const TaskWorkbookRead r = import(exported(t, sep), base);
    ASSERT_TRUE(r.task) << text(r.message);
    const int level = dbLevel(t.header.dbKind);
    TaskHeader h = t.header;
    std::tie(h.code, h.name, h.sectionCount, h.stateCount2) =
        std::tuple("NEW001", "Imported", 77, 555);
    if (level == 1) h.approachSpeed = 9;
    EXPECT_EQ(r.task->header, h);
    ASSERT_EQ(r.task->points.size(), t.points.size());
    for (size_t i = 0; i < t.points.size(); ++i) {
      TaskPointRec p = t.points[i];
      p.vertexNo = p.houseIndex = 0;
      p.reverseSectionIndex = -1;
      if (level != 1) p.sectionIndex = -1, p.toCount = p.fromCount = 0;
      EXPECT_EQ(r.task->points[i], p) << i;
    }
    EXPECT_EQ(r.task->toLists, level == 1 ? t.toLists : decltype(t.toLists){});
    EXPECT_EQ(r.task->fromLists, level == 1 ? t.fromLists : decltype(t.fromLists){});
  }
};

TEST_F(TaskImport, AnExportedTaskComesBackWithEveryCombinationOfSettings) {
  for (const char* kind : {"use1", "sys1", "use2", "sys2", "cli2"}) {
    SCOPED_TRACE(kind);
    roundTrip(wizardTask(kind));
    roundTrip(wizardTask(kind), '.');
  }
  // Priority classes (the ends' "-" read back as 0 and N, no class as -1) with cargo by weight.
  TaskFile t = wizardTask();
  std::tie(t.header.orderMode, t.header.priorityCount, t.header.cargoMode, t.header.returnFlag,
           t.header.servedThreshold) = std::tuple(3, 2, 2, 0, 2);
  std::tie(t.points[1].orderValue, t.points[2].orderValue, t.points[3].orderValue) =
      std::tuple(2, 4, -1);
  roundTrip(t);
  // Each option alone and none: the columns follow the options.
  for (int only : {0, 1, 2, 3}) {
    SCOPED_TRACE(only);
    t = wizardTask();
    TaskHeader& h = t.header;
    if (only != 1) h.refusalFlag = h.servedThreshold = 0;
    if (only != 2) h.timeFactorFlag = h.tactMinutes = 0;
    if (only != 3) h.cargoMode = h.returnFlag = 0, h.capacity = 0;
    for (TaskPointRec& p : t.points) {
      if (only != 1) p.refusalAllowed = 0;
      if (only != 2) p.windowLow = p.windowHigh = 0;
      if (only != 3) p.volume = p.unloadTime = 0;
      if (only == 0) p.income = 0;
    }
    if (only != 3) t.points[0].serviceTime = 2.5;  // typed at the start point without cargo
    roundTrip(t);
  }
}

// The transitions sheet is read to its end: a task with more transitions than the parameter
// sheet has rows comes back whole.
TEST_F(TaskImport, TransitionsPastTheParameterRowsComeBack) {
  TaskFile t = wizardTask();
  for (int k = 0; k < 40; ++k) t.fromLists[1].push_back({10.0 + k, 20, k % 2 ? 3 : 4});
  t.points[1].fromCount = static_cast<int32_t>(t.fromLists[1].size());
  roundTrip(t);
}

TEST_F(TaskImport, ACellThatDoesNotConvertNamesItsSheetRowAndColumn) {
  const Workbook good = exported(wizardTask());
  const struct {
    int sheet, row;
    char col;
    const char *text, *message;
  } cases[] = {
      {1, 1, 'B', "  rusX ", "S785 (rus), S786 (eng), S789."},
      {1, 9, 'B', "two", "S975: S976 1, S977 9, S978 B S980."},
      {1, 9, 'B', "-1", "S975: S976 1, S977 9, S978 B S981."},
      {1, 9, 'B', "9", "S975: S976 2, S977 6, S978 G S979."},  // more points than rows
      {1, 13, 'B', "2 EUR", "S975: S976 1, S977 13, S978 B S979."},
      {1, 18, 'B', "", "S975: S976 1, S977 18, S978 B S980."},
      {2, 3, 'I', "", "S975: S976 2, S977 3, S978 I S979."},
      {2, 5, 'M', "30.5", "S975: S976 2, S977 5, S978 M S980."},
      {2, 2, 'O', "-2", "S975: S976 2, S977 2, S978 O S981."},
      {2, 5, 'P', "1000000000", "S975: S976 3, S977 16, S978 D S980."},
      {3, 2, 'B', "x", "S975: S976 3, S977 2, S978 B S980."},
      {3, 11, 'F', "fast", "S975: S976 3, S977 11, S978 F S979."},
      {3, 12, 'D', "5: x", "S975: S976 3, S977 12, S978 D S980."},
  };
  for (const auto& c : cases) {
    Workbook book = good;
    book.sheets()[static_cast<size_t>(c.sheet - 1)].set(c.row - 1, c.col - 'A', c.text);
    const TaskWorkbookRead r = import(book);
    EXPECT_FALSE(r.task) << c.message;
    EXPECT_EQ(text(r.message), c.message);
    if (r.message) {
      EXPECT_EQ(r.message->kind, c.row == 1 ? MessageKind::Warning : MessageKind::Error);
    }
  }
  Workbook book = good;
  book.sheets().pop_back();
  EXPECT_EQ(text(import(book).message), "S975: S982 3.");
  book.sheets().clear();
  EXPECT_EQ(text(import(book).message), "S975: S982 1.");
}

TEST_F(TaskImport, CellsAreReadAsTheLayoutAllowsThem) {
  Workbook book;
  TaskWorkbookRead r;
  // A point without transitions, its counts 0 or empty: no sheet-3 row, no section.
  TaskFile t = wizardTask();
  for (size_t i : {1, 3}) {
    t.toLists[i].clear();
    t.fromLists[i].clear();
    t.points[i].toCount = t.points[i].fromCount = 0;
  }
  book = exported(t);
  book.sheets()[1].set(4, 14, "");    // point 4's counts empty, point 2's 0
  book.sheets()[1].set(1, 9, "  *");  // the start and end points are never refused
  book.sheets()[1].set(3, 9, "  *");
  r = import(book);
  ASSERT_TRUE(r.task) << text(r.message);
  const std::vector<TaskPointRec>& p = r.task->points;
  EXPECT_EQ(std::to_string(p[1].toCount + p[1].fromCount + p[3].toCount + p[3].fromCount +
                           p[0].refusalAllowed + p[2].refusalAllowed) +
                std::to_string(p[1].sectionIndex) + std::to_string(p[2].sectionIndex) +
                std::to_string(p[3].sectionIndex),
            "0-16-1");
  EXPECT_EQ(r.task->fromLists[2], t.fromLists[2]);
  // A street type or street longer than its field, cut just after a blank, keeps no blank at
  // its end: the task comes back from its own workbook as it was read.
  book = exported(wizardTask());
  book.sheets()[1].set(2, 3, " abc de");  // point 2
  book.sheets()[1].set(2, 4, std::string(29, 'x') + " yyyy");
  r = import(book);
  ASSERT_TRUE(r.task) << text(r.message);
  EXPECT_EQ(r.task->points[1].streetType + "|" + r.task->points[1].street,
            "abc|" + std::string(29, 'x'));
  const ImportedTask once = *r.task;
  r = import(exported({once.header, once.points, once.toLists, once.fromLists}));
  ASSERT_TRUE(r.task) << text(r.message);
  EXPECT_TRUE(r.task->header == once.header && r.task->points == once.points);
  // A database code typed into a spreadsheet as a number loses its leading zeros; a whole
  // number of up to three digits gets them back, a longer one names no database (never the
  // one of its first three digits), anything else is cut as it stands. A code that finds no
  // database is named in a warning.
  f.app.dbrnCatalog = {{"001use1", "One"}, {"100use1", "Hundred"}};
  TaskWizardState state = f.wizard(kImportTask);
  const std::tuple<const char*, const char*, int> codes[] = {
      {"1", "001", 1},     {" 7 ", "007", 0}, {"42", "042", 0},  {"0", "000", 0},
      {"999", "999", 0},   {"001", "001", 1}, {"100", "100", 2}, {"1000", "1000", 0},
      {"1009", "1009", 0}, {"-1", "-1", 0},   {"1.5", "1.5", 0}, {"", "", 0}};
  std::string read, wanted;
  for (const auto& [cell, code, item] : codes) {
    book = exported(wizardTask());
    book.sheets()[0].set(5, 1, cell);
    const ImportOutcome out = takeTaskWorkbook(state, f.app, {"b.xlsx", import(book)});
    read += state.header.dbCode + ">" + std::to_string(out.dbItem.value_or(-1)) + "|";
    wanted += code + (">" + std::to_string(item)) + "|";
    EXPECT_EQ(text(out.message),
              item ? "(no message)" : "S1200 \"" + std::string(code) + "\" S1201 \"use1\", S1202.")
        << cell;
  }
  EXPECT_EQ(read, wanted);
}

// A damaged legacy workbook that would take all memory: its reading process is stopped at its
// limit, and the import says why the workbook was not read (too large, or damaged where a
// sanitizer's own limit ends the process).
TEST_F(TaskImport, ALegacyWorkbookThatWouldTakeAllMemoryGivesTheWorkbookMessage) {
  const fs::path file = f.dir / "bomb.xls";
  f.dir.write("bomb.xls", test::endlessDifatXls());
  const LoadedTaskWorkbook loaded = loadTaskWorkbook(file, {}, "eng", "NEW001", "Imported", {});
  EXPECT_FALSE(loaded.read.task);
  const std::string message = text(loaded.read.message);
  EXPECT_TRUE(message == "S970 \"bomb.xls\" S974." || message == "S970 \"bomb.xls\" S973.")
      << message;
}

TEST_F(TaskImport, TheWizardChangesOnlyWhenTheWholeWorkbookWasRead) {
  const int item = f.addDatabase(test::smallTown("use1"));
  TaskWizardState state = f.wizard(kImportTask);
  state.header.dbKind = "use2";
  state.points.resize(3);
  const TaskWizardState before = state;
  Workbook book = exported(wizardTask());
  book.sheets()[1].set(3, 8, "x");
  office::writeXlsx(book, f.dir / "bad.xlsx");
  f.dir.write("notes.xlsx", "not a workbook");
  const std::pair<const char*, const char*> bad[] = {
      {"bad.xlsx", "S975: S976 2, S977 4, S978 I S979."},
      {"notes.xlsx", "S970 \"notes.xlsx\" S972."},
      {"gone.xlsx", "S970 \"gone.xlsx\" S971."}};
  for (const auto& [file, message] : bad) {
    const ImportOutcome out = importTaskWorkbook(state, f.app, f.dir / file, "NEW001", "I");
    EXPECT_EQ(text(out.message), message);
    EXPECT_TRUE(!out.dbItem && out.updates.empty() && state.points.size() == 3);
    EXPECT_EQ(state.header, before.header);
  }
  // The whole workbook: the task, its labels and its database.
  office::writeXlsx(exported(wizardTask()), f.dir / "good.xlsx");
  ImportOutcome out = importTaskWorkbook(state, f.app, f.dir / "good.xlsx", "NEW001", "I");
  EXPECT_FALSE(out.message) << text(out.message);
  EXPECT_EQ(*out.dbItem, item);
  EXPECT_EQ(state.header.code + std::to_string(state.toTransitions.size()) + " " +
                f.text(*updatedText(out.updates, "Label_ex1")) +
                f.text(*updatedText(out.updates, "Label_ex2")),
            "NEW0014 S108:good.xlsx");
  EXPECT_FALSE(updatedText(out.updates, "Velo"));  // level 1 has no approach speed
  // Level 2: the speed in the typed separator; a database not in the catalogue.
  TaskFile t = wizardTask("use2");
  t.header.approachSpeed = 4.5;
  office::writeXlsx(exported(t, '.'), f.dir / "l2.xlsx");
  out = importTaskWorkbook(state, f.app, f.dir / "l2.xlsx", "NEW001", "I");
  EXPECT_EQ(f.text(*updatedText(out.updates, "Velo")) + std::to_string(*out.dbItem), "4,50");
  EXPECT_EQ(text(out.message), "S1200 \"123\" S1201 \"use2\", S1202.");
  EXPECT_EQ(out.message->kind, MessageKind::Warning);
  EXPECT_EQ(state.points.size(), 4u);  // the task is taken all the same
  // A database code that a spreadsheet keeps as a number finds its database.
  DbrnFile first = test::smallTown("use1");
  first.header.dbCode = "001";
  const int numbered = f.addDatabase(first);
  Workbook typed = exported(wizardTask());
  typed.sheets()[0].set(5, 1, "1");
  office::writeXlsx(typed, f.dir / "typed.xlsx");
  out = importTaskWorkbook(state, f.app, f.dir / "typed.xlsx", "NEW001", "I");
  EXPECT_FALSE(out.message) << text(out.message);
  EXPECT_EQ(std::tuple(*out.dbItem, state.header.dbCode), std::tuple(numbered, "001"));
  // A client task finds its client database; a kind the program does not know finds none,
  // even where the catalogue lists one of that kind.
  const int client = f.addDatabase(test::smallTown("cli2"));
  office::writeXlsx(exported(wizardTask("cli2")), f.dir / "cli.xlsx");
  EXPECT_EQ(importTaskWorkbook(state, f.app, f.dir / "cli.xlsx", "NEW001", "I").dbItem, client);
  f.app.dbrnCatalog = {{"123sys1", "One"}, {"123sys2", "Two"}, {"123use3", "Odd"}};
  std::string items;
  for (const char* kind : {"sys1", "sys2", "use3"}) {
    state.header.dbKind = kind;
    items += std::to_string(importedDatabaseItem(f.app.dbrnCatalog, state.header));
  }
  EXPECT_EQ(items, "120");
}

TEST_F(TaskImport, AProtocolTaskIsImportedFromItsFileAndNoneResetsTheHeader) {
  const int item = f.addDatabase(test::smallTown("use1"));
  TaskFile t = wizardTask();
  f.dir.write("Data/qj_TOWN01.dat", writeTaskFile(t));
  t.header.code = "RUS001";
  t.header.language = "rus";
  f.dir.write("Data/qj_RUS001.dat", writeTaskFile(t));
  f.app.protocol = {test::protocolRecord("TOWN01", "Morning round"),
                    test::protocolRecord("RUS001", "Other"), test::protocolRecord("GONE01", "Gone"),
                    test::protocolRecord("../..", "Bad")};
  TaskWizardState state = f.wizard(kImportTask);
  const auto label = [&](const ImportOutcome& out) {
    return f.text(*updatedText(out.updates, "staticTask"));
  };
  ImportOutcome out = importProtocolTask(state, f.app, 1);
  EXPECT_FALSE(out.message);
  EXPECT_EQ(label(out) + " " +
                std::to_string(*out.dbItem * 100 + state.transitionsEntered * 10 +
                               static_cast<int>(state.points.size())),
            "[TOWN01] Morning round " + std::to_string(item * 100 + 14));
  EXPECT_EQ(f.app.selectedPath, (f.dir / "Data/qj_TOWN01").string());
  // "none": a new task's header that keeps the database found before.
  out = importProtocolTask(state, f.app, 0);
  EXPECT_EQ(label(out) + state.header.dbCode +
                std::to_string(state.header.pointCount * 10 + state.header.cargoMode) +
                std::to_string(state.points.size() + state.transitionsEntered),
            "S275.123200");
  EXPECT_EQ(out.dbItem, item);
  // Another language, a missing file, a code that is no file name.
  EXPECT_EQ(text(importProtocolTask(state, f.app, 2).message), "S790 (rus), S786 (eng), S791.");
  for (int k : {2, 3, 4}) EXPECT_EQ(label(importProtocolTask(state, f.app, k)), "S275.");
}

using test::WizardFixture;

// The town's task in the wizard, with a graph of its 10 sections (0 to 3 arcs each) and its 4
// points (an arc per way out).
TaskWizardState townInWizard(const WizardFixture& f, const char* kind = "use1") {
  const TaskFile t = test::townTask(kind);
  TaskWizardState s = f.wizard();
  std::tie(s.header, s.points, s.toTransitions, s.fromTransitions) =
      std::tie(t.header, t.points, t.toLists, t.fromLists);
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
    s.header.approachSpeed = 4.5;
    f.app.shellFileName = std::string("Shell (QJ 1.6).") + kind;
    ASSERT_EQ(saveTaskFiles(s, f.app, 46000.5), std::nullopt);
    TaskFile want = test::townTask("use1");
    want.header.dbKind = kind;
    want.header.approachSpeed = 4.5;
    if (dbLevel(kind) == 3) want.toLists = want.fromLists = {};
    EXPECT_EQ(f.dir.read("Data/qj_TOWN01.dat"), writeTaskFile(want));
    EXPECT_EQ(f.dir.read("Data/qj_TOWN01_in.dat"),
              solverInputBytes(s, dbLevel(kind) < 3, f.app.shellFileName.c_str()));
    // Read back into the wizard, with the approach speed to show above level 1.
    TaskWizardState back = f.wizard(kCorrectTask);
    back.loadFailed = 1;
    const TaskLoad load = loadTaskFile(back, taskBasePath(f.app.dirs(), "TOWN01"));
    EXPECT_EQ(load.outcome, TaskLoadOutcome::Loaded);
    EXPECT_EQ(load.approachSpeedText.value_or("-") + std::to_string(back.loadFailed),
              dbLevel(kind) == 1 ? "-0" : "4,50");
    EXPECT_EQ(writeTaskFile({back.header, back.points, back.toTransitions, back.fromTransitions}),
              writeTaskFile(want));
  }
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
  std::tie(f.app.protocol[1].status, f.app.protocol[1].sentToSolvingAt) =
      std::tuple(SentToSolving, 100.5);
  std::tie(s.formMode, s.header.code, s.header.name) =
      std::tuple(kCorrectTask, "TOWN01", "Evening round");
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
  ASSERT_TRUE(failure && failure->kind == MessageKind::Error && f.app.protocol.empty());
  EXPECT_EQ(f.text(*failure), "S863 \"qj_TOWN01_in.dat\" S865.");
  EXPECT_EQ(f.dir.read("Data/qj_TOWN01.dat"), "the old task");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir / "Data"), {}), 2);
}

// The solver input cannot be renamed into place, and the old task file, already replaced,
// cannot be put back: the old task file's content stays beside it, and the message names
// that file. Or both files are saved, but the old contents kept aside meanwhile cannot be
// deleted: the task is recorded, and a warning names what stays.
TEST(TaskFiles, AnOldTaskFileThatCannotBePutBackIsKeptAndNamed) {
  if (test::WriteFaults::ranInChild()) return;
  struct Case {
    const char* call;
    long skip;
    MessageKind kind;
    size_t records;  // in the protocol afterwards
    std::string message, input;
    long entries;  // in Data afterwards
  };
  const Case cases[] = {
      {"rename", 1, MessageKind::Error, 0,
       "S863 \"qj_TOWN01_in.dat\" S865. S1131 \"qj_TOWN01.dat\" S1132 \"qj_TOWN01.dat.bak\".",
       "the old input", 3},
      {"unlink", 0, MessageKind::Warning, 1,
       "S1330 \"qj_TOWN01.dat.bak\", \"qj_TOWN01_in.dat.bak\".", "", 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    WizardFixture f;
    f.dir.write("Data/qj_TOWN01.dat", "the old task");
    f.dir.write("Data/qj_TOWN01_in.dat", "the old input");
    std::optional<Message> message;
    {
      test::WriteFaults faults(f.dir / "Data");
      faults.fail(c.call, c.skip);
      message = saveTaskFiles(townInWizard(f), f.app, 1);
    }
    ASSERT_TRUE(message && message->kind == c.kind && f.app.protocol.size() == c.records);
    EXPECT_EQ(f.text(*message), c.message);
    EXPECT_EQ(f.dir.read("Data/qj_TOWN01.dat.bak"), "the old task");
    if (!c.input.empty()) {
      EXPECT_EQ(f.dir.read("Data/qj_TOWN01_in.dat"), c.input);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(f.dir / "Data"), {}), c.entries);
  }
  // As the user reads them.
  EXPECT_EQ(taskFileNotWrittenMessage("qj_A.dat", {{"qj_B.dat", "qj_B.dat.bak"}})
                .utf8(test::shippedShell("eng")),
            "The task file \"qj_A.dat\" could not be written. The previous content of the file "
            "\"qj_B.dat\" is kept in the file \"qj_B.dat.bak\".");
  EXPECT_EQ(taskBackupsLeftMessage({"qj_A.dat.bak"}).utf8(test::shippedShell("eng")),
            "The task files were written, but the copies of their previous content could not be "
            "deleted: \"qj_A.dat.bak\".");
}

// Each save of the program on a disk that fails at each step in turn: the failure is reported
// and every file stays as it was, with no temporary file left. A save that does not make the
// failing call (the workbook is written with pwrite, the others with write; a link that
// fails has a way round it) saves.
TEST(Saving, EverySaveReportsAFailingDiskAndKeepsTheOldFile) {
  if (test::WriteFaults::ranInChild()) return;
  enum Save { Protocol, Database, Task, Workbook };
  const std::pair<const char*, std::vector<Save>> faults[] = {
      {"write", {Protocol, Database, Task}},
      {"pwrite", {Workbook}},
      {"fsync", {Protocol, Database, Task, Workbook}},
      {"rename", {Protocol, Database, Task}},
      {"link", {}},
  };
  for (const auto& [call, failing] : faults) {
    for (const Save save : {Protocol, Database, Task, Workbook}) {
      SCOPED_TRACE(std::string(call) + " " + std::to_string(save));
      WizardFixture f;
      const DbrnFile db = test::smallTown();
      f.dir.write("System/protocol.pro", writeProtocolFile({}));
      ASSERT_TRUE(loadProtocol(f.app).empty());
      f.app.protocol = {{"OTHER1", "Other", SolutionLoaded, 1, 2, 3, 4}};
      f.dir.write("Data/qj_TOWN01.dat", "old task");
      f.dir.write("Data/qj_TOWN01_in.dat", "old input");
      f.dir.write("Dbrn/" + db.header.key() + "_dbrn_eng.dat", "old database");
      office::Workbook book;
      book.addSheet("S").set(0, 0, "x");
      // Each file with its content.
      const auto files = [&] {
        std::string all;
        for (const auto& e : std::filesystem::recursive_directory_iterator(f.dir.path())) {
          const std::string name = e.path().lexically_relative(f.dir.path()).string();
          if (e.is_regular_file()) all += name + "=" + f.dir.read(name).substr(0, 20) + "; ";
        }
        return all;
      };
      const std::string before = files();
      bool reported = false;
      {
        test::WriteFaults injected(f.dir.path());
        injected.fail(call);
        switch (save) {
          case Protocol: reported = saveProtocol(f.app).has_value(); break;
          case Database: try { saveDbrn(f.dir / "Dbrn", "eng", db.header.dbKind, db);
            } catch (const FileError&) {
              reported = true;
            }
            break;
          case Task:
            reported = saveTaskFiles(townInWizard(f), f.app, 1).has_value();
            EXPECT_EQ(f.app.protocol.size(), reported ? 1u : 2u);
            break;
          case Workbook:
            reported = saveExportedWorkbook(book, f.app.dirs(), "qj_TOWN01").message.has_value();
            break;
        }
      }
      const bool fails = std::find(failing.begin(), failing.end(), save) != failing.end();
      EXPECT_EQ(reported, fails);
      if (fails) {
        EXPECT_EQ(files(), before);
      }
    }
  }
}

TEST(TaskFiles, AForeignDamagedOrMissingTaskFileGivesNoTask) {
  WizardFixture f;
  // A file of another language's header alone.
  TaskFile foreign = test::townTask();
  foreign.header.language = "rus";
  f.dir.write("Data/qj_TOWN01.dat", writeTaskFile(foreign).substr(0, kTaskHeaderSize));
  TaskWizardState s = f.wizard(kCorrectTask);
  s.points.resize(1);
  const auto load = [&](const char* code) {
    return loadTaskFile(s, (f.dir / "Data" / (std::string("qj_") + code)).string());
  };
  // Another language: its header only.
  TaskLoad l = load("TOWN01");
  EXPECT_TRUE(l.outcome == TaskLoadOutcome::OtherLanguage &&
              l.message->kind == MessageKind::Warning);
  EXPECT_EQ(f.text(*l.message), "S790 (rus), S786 (eng), S791.");
  EXPECT_EQ(s.header.code + s.header.language + std::to_string(s.loadFailed * 10 + s.points.size()),
            "TOWN01rus11");

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
    const std::string name = "\"qj_" + std::string(code) + ".dat\"";
    // A file beyond the bound is said to be too long, as the viewers say it.
    EXPECT_EQ(f.text(*l.message), code == std::string("LONG01") ? "S940 " + name + " S943: S954."
                                                                : "S815 " + name + ".");
  }
  EXPECT_EQ(s.header.name, "kept");
  EXPECT_EQ(s.points.size(), 1u);
}

}  // namespace
}  // namespace qj
