// The task import of the wizard's page 1: a task exported by the task viewer and imported
// from that workbook file comes back as it was; every refusal names what it refuses; the
// import of a protocol task's file and of "none".

#include "task/task_import.h"

#include <gtest/gtest.h>

#include <sstream>

#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"
#include "reports/report_workbooks.h"
#include "reports/task_view.h"
#include "support/town.h"
#include "support/task_fixture.h"
#include "task/task_wizard_fixture.h"

namespace qj {
namespace {

using office::Workbook;
using test::WizardFixture;

// The town task as the wizard keeps it: nothing at the start point that the workbook marks
// with "-", and no refusal at the start or end point.
TaskFile wizardTask(const char* kind) {
  TaskFile t = test::townTask(kind);
  TaskPointRec& start = t.points[0];
  start.serviceTime = start.unloadTime = start.volume = start.income = 0;
  start.waitPenalty = 1.25;
  t.points[2].windowLow = t.points[2].windowHigh = 0;  // the end point
  return t;
}

// What the import gives for `t`: the user's code and name; the section count and state count
// of the base header, which the workbook does not carry; points without the numbers the
// wizard derives again (vertex, reverse section, house) and, above level 1, without
// sections and transitions.
ImportedTask expectedImport(const TaskFile& t, const TaskHeader& base) {
  ImportedTask e;
  e.header = t.header;
  e.header.code = "NEW001";
  e.header.name = "Imported";
  e.header.sectionCount = base.sectionCount;
  e.header.stateCount2 = base.stateCount2;
  const int level = dbLevel(t.header.dbKind);
  if (level != 2 && level != 3) e.header.approachSpeed = base.approachSpeed;
  e.points = t.points;
  for (auto& p : e.points) {
    p.vertexNo = 0;
    p.reverseSectionIndex = -1;
    p.houseIndex = 0;
    if (level != 1) p.sectionIndex = -1, p.toCount = p.fromCount = 0;
    if (p.toCount == 0) p.sectionIndex = -1;
  }
  if (level == 1) {
    e.toLists = t.toLists;
    e.fromLists = t.fromLists;
  }
  return e;
}

// Readable forms for the comparisons below.
std::string describe(const TaskHeader& h) {
  std::ostringstream o;
  o << h.language << "|" << h.code << "|" << h.name << "|" << h.dbKind << "|" << h.dbCode << "|"
    << h.dbName << "|" << h.dbDate << "|sections " << h.sectionCount << "|points " << h.pointCount
    << "|" << h.startPoint << "-" << h.endPoint << "|" << h.moneyUnit << "|" << h.finePerKm << "|"
    << h.finePerHour << "|speed " << h.approachSpeed << "|refusal " << h.refusalFlag << " "
    << h.servedThreshold << "|time " << h.timeFactorFlag << " " << h.tactMinutes << "|cargo "
    << h.cargoMode << " " << h.capacity << " " << h.returnFlag << "|order " << h.orderMode << " "
    << h.priorityCount << "|states " << h.stateCount2;
  return o.str();
}
std::string describe(const TaskPointRec& p) {
  std::ostringstream o;
  o << p.streetType << "|" << p.street << "|" << p.house << "|service " << p.serviceTime << " "
    << p.unloadTime << "|penalty " << p.waitPenalty << "|order " << p.orderValue << "|refusal "
    << p.refusalAllowed << "|volume " << p.volume << "|income " << p.income << "|window "
    << p.windowLow << "-" << p.windowHigh << "|counts " << p.toCount << " " << p.fromCount
    << "|vertex " << p.vertexNo << "|sections " << p.sectionIndex << " " << p.reverseSectionIndex
    << "|house " << p.houseIndex;
  return o.str();
}

void expectSameTask(const ImportedTask& got, const ImportedTask& want) {
  EXPECT_EQ(describe(got.header), describe(want.header));
  EXPECT_EQ(got.header, want.header);
  ASSERT_EQ(got.points.size(), want.points.size());
  for (size_t i = 0; i < want.points.size(); ++i) {
    EXPECT_EQ(describe(got.points[i]), describe(want.points[i])) << i;
    EXPECT_EQ(got.points[i], want.points[i]) << i;
  }
  EXPECT_EQ(got.toLists, want.toLists);
  EXPECT_EQ(got.fromLists, want.fromLists);
}

class TaskImport : public ::testing::Test {
 protected:
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
  void roundTrip(const TaskFile& t, char sep = ',') {
    TaskHeader base;
    base.sectionCount = 77;
    base.stateCount2 = 555;
    base.approachSpeed = 9;
    const TaskWorkbookRead r = import(exported(t, sep), base);
    ASSERT_TRUE(r.task) << text(r.message);
    expectSameTask(*r.task, expectedImport(t, base));
  }

  WizardFixture f;
  int files = 0;
};

TEST_F(TaskImport, AnExportedTaskComesBackFromItsWorkbookFile) {
  for (const char* kind : {"use1", "sys1", "use2", "sys2", "cli2"}) {
    SCOPED_TRACE(kind);
    roundTrip(wizardTask(kind));
    roundTrip(wizardTask(kind), '.');
  }
}

TEST_F(TaskImport, EveryCombinationOfSettingsComesBack) {
  TaskFile t = wizardTask("use1");
  // Served-point thresholds: at most, exactly and none; no refusals at all.
  for (int32_t threshold : {2, -3, 0}) {
    t.header.servedThreshold = threshold;
    roundTrip(t);
  }
  t.header.refusalFlag = 0;
  t.header.servedThreshold = 0;
  for (auto& p : t.points) p.refusalAllowed = 0;
  roundTrip(t);
  // Priority classes: the start and end points' "-" read back as 0 and N; a point without a
  // class as -1.
  t.header.orderMode = 3;
  t.header.priorityCount = 2;
  t.points[0].orderValue = 0;
  t.points[1].orderValue = 2;
  t.points[2].orderValue = 4;
  t.points[3].orderValue = -1;
  roundTrip(t);
  // Weight instead of volume, then no cargo; no time factor; no end point.
  t.header.cargoMode = 2;
  roundTrip(t);
  t.header.cargoMode = 0;
  t.header.capacity = 0;
  t.header.returnFlag = 0;
  for (auto& p : t.points) p.unloadTime = p.volume = 0;
  t.points[0].serviceTime = 3;  // without cargo the start point keeps no service time
  roundTrip([&] {
    TaskFile s = t;
    s.points[0].serviceTime = 0;
    return s;
  }());
  t.points[0].serviceTime = 0;
  t.header.timeFactorFlag = 0;
  t.header.tactMinutes = 0;
  for (auto& p : t.points) p.windowLow = p.windowHigh = 0;
  t.header.endPoint = 0;
  t.header.orderMode = 1;
  t.header.priorityCount = 0;
  t.points[2].orderValue = 1;
  for (auto& p : t.points) p.income = 0;  // no refusals, time factor or cargo: no incomes
  roundTrip(t);
}

TEST_F(TaskImport, AWorkbookOfAnotherLanguageIsRefused) {
  Workbook book = exported(wizardTask("use1"));
  book.sheets()[0].set(0, 1, "  rusX ");
  const TaskWorkbookRead r = import(book);
  EXPECT_FALSE(r.task);
  ASSERT_TRUE(r.message);
  EXPECT_EQ(r.message->kind, MessageKind::Warning);
  EXPECT_EQ(text(r.message), "S785 (rus), S786 (eng), S789.");
}

TEST_F(TaskImport, ACellThatDoesNotConvertNamesItsSheetRowAndColumn) {
  const Workbook good = exported(wizardTask("use1"));
  struct Case {
    int sheet, row;
    char col;
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {1, 9, 'B', "two", "S975: S976 1, S977 9, S978 B S980."},
      {1, 9, 'B', "-1", "S975: S976 1, S977 9, S978 B S981."},
      {1, 13, 'B', "2 EUR", "S975: S976 1, S977 13, S978 B S979."},
      {1, 18, 'B', "", "S975: S976 1, S977 18, S978 B S980."},  // the threshold count
      // Point 2's penalty, in column I of a cargo task.
      {2, 3, 'I', "", "S975: S976 2, S977 3, S978 I S979."},
      {2, 5, 'M', "30.5", "S975: S976 2, S977 5, S978 M S980."},
      {2, 2, 'O', "-2", "S975: S976 2, S977 2, S978 O S981."},
      {3, 2, 'B', "x", "S975: S976 3, S977 2, S978 B S980."},
      {3, 11, 'F', "fast", "S975: S976 3, S977 11, S978 F S979."},
      {3, 12, 'D', "5: x", "S975: S976 3, S977 12, S978 D S980."},
  };
  for (const Case& c : cases) {
    Workbook book = good;
    book.sheets()[static_cast<size_t>(c.sheet - 1)].set(c.row - 1, c.col - 'A', c.text);
    const TaskWorkbookRead r = import(book);
    EXPECT_FALSE(r.task) << c.message;
    EXPECT_EQ(text(r.message), c.message);
    if (r.message) {
      EXPECT_EQ(r.message->kind, MessageKind::Error);
    }
  }
}

TEST_F(TaskImport, SheetsThatEndTooEarlyOrAreMissingAreNamed) {
  Workbook book = exported(wizardTask("use1"));
  // More points than the sheet has rows: the first missing row is named.
  book.sheets()[0].set(8, 1, "9");
  EXPECT_EQ(text(import(book).message), "S975: S976 2, S977 6, S978 G S979.");
  book = exported(wizardTask("use1"));
  book.sheets().pop_back();
  EXPECT_EQ(text(import(book).message), "S975: S982 3.");
  book.sheets().clear();
  EXPECT_EQ(text(import(book).message), "S975: S982 1.");
  // Transitions beyond the sheet's rows.
  book = exported(wizardTask("use1"));
  book.sheets()[1].set(4, 15, "1000000000");
  EXPECT_EQ(text(import(book).message), "S975: S976 3, S977 16, S978 D S980.");
}

TEST_F(TaskImport, ReadsTheCellsAsTheLayoutAllowsThem) {
  Workbook book = exported(wizardTask("use1"));
  office::Sheet& tr = book.sheets()[2];
  tr.set(10, 3, "5:2");  // "5", ":" and the number: the transition to point 2
  tr.set(11, 3, " 3 ");  // a plain kind with blanks around
  TaskWorkbookRead r = import(book);
  ASSERT_TRUE(r.task) << text(r.message);
  EXPECT_EQ(r.task->fromLists[1][0].kind, -2);
  EXPECT_EQ(r.task->fromLists[1][1].kind, 3);

  // A point without transitions, whose count cells are empty: no sheet-3 row, no section.
  TaskFile t = wizardTask("use1");
  t.toLists[1].clear();
  t.fromLists[1].clear();
  t.points[1].toCount = t.points[1].fromCount = 0;
  book = exported(t);
  book.sheets()[1].set(2, 14, "");
  r = import(book);
  ASSERT_TRUE(r.task) << text(r.message);
  EXPECT_EQ(r.task->points[1].toCount, 0);
  EXPECT_EQ(r.task->points[1].fromCount, 0);
  EXPECT_EQ(r.task->points[1].sectionIndex, -1);
  EXPECT_EQ(r.task->points[2].sectionIndex, 6);
  EXPECT_EQ(r.task->fromLists[2], t.fromLists[2]);
}

TEST_F(TaskImport, ClampsFlagsAndModes) {
  TaskFile t = wizardTask("use2");
  t.header.refusalFlag = 0;
  t.header.servedThreshold = 0;
  t.header.timeFactorFlag = 0;
  t.header.cargoMode = 0;
  t.header.orderMode = 0;
  Workbook book = exported(t);
  // Row 15 the approach speed, 16 refusals, 17 time factor, 18 cargo, 19 order mode.
  book.sheets()[0].set(15, 1, "-4");
  book.sheets()[0].set(16, 1, "0");
  book.sheets()[0].set(17, 1, "-1");
  book.sheets()[0].set(18, 1, "-7");
  const TaskWorkbookRead r = import(book);
  ASSERT_TRUE(r.task) << text(r.message);
  EXPECT_EQ(r.task->header.refusalFlag, 0);
  EXPECT_EQ(r.task->header.cargoMode, 0);
  EXPECT_EQ(r.task->header.orderMode, 0);
  EXPECT_EQ(r.task->header.approachSpeed, 5);
}

TEST_F(TaskImport, TheWizardChangesOnlyWhenTheWholeWorkbookWasRead) {
  const int item = f.addDatabase(test::smallTown("use1"));
  TaskWizardState state = f.wizard(kImportTask);
  state.header.dbKind = "use2";
  state.points.resize(3);
  const TaskWizardState before = state;

  // A workbook with a bad cell and a file that is no workbook leave everything as it was.
  Workbook book = exported(wizardTask("use1"));
  book.sheets()[1].set(3, 8, "x");
  office::writeXlsx(book, f.dir / "bad.xlsx");
  ImportOutcome out = importTaskWorkbook(state, f.app, f.dir / "bad.xlsx", "NEW001", "Imported");
  EXPECT_EQ(text(out.message), "S975: S976 2, S977 4, S978 I S979.");
  EXPECT_FALSE(out.dbItem);
  EXPECT_TRUE(out.updates.empty());
  EXPECT_EQ(state.header, before.header);
  EXPECT_EQ(state.points.size(), 3u);
  f.dir.write("notes.xlsx", "not a workbook");
  out = importTaskWorkbook(state, f.app, f.dir / "notes.xlsx", "NEW001", "Imported");
  EXPECT_EQ(text(out.message), "S970 \"notes.xlsx\" S972.");
  out = importTaskWorkbook(state, f.app, f.dir / "gone.xlsx", "NEW001", "Imported");
  EXPECT_EQ(text(out.message), "S970 \"gone.xlsx\" S971.");
  EXPECT_EQ(state.header, before.header);

  // The whole workbook: the task, its labels and its database.
  office::writeXlsx(exported(wizardTask("use1")), f.dir / "good.xlsx");
  out = importTaskWorkbook(state, f.app, f.dir / "good.xlsx", "NEW001", "Imported");
  EXPECT_FALSE(out.message) << text(out.message);
  EXPECT_EQ(out.dbItem, item);
  EXPECT_EQ(state.header.code, "NEW001");
  EXPECT_EQ(state.points.size(), 4u);
  EXPECT_EQ(state.toTransitions.size(), 4u);
  EXPECT_EQ(f.text(*updatedText(out.updates, "Label_ex1")), "S108:");
  EXPECT_EQ(f.text(*updatedText(out.updates, "Label_ex2")), "good.xlsx");
  EXPECT_FALSE(updatedText(out.updates, "Velo"));  // level 1 has no approach speed
}

TEST_F(TaskImport, ALevelTwoWorkbookGivesTheApproachSpeedInTheTypedSeparator) {
  TaskWizardState state = f.wizard(kImportTask);
  TaskFile t = wizardTask("use2");
  t.header.approachSpeed = 4.5;
  office::writeXlsx(exported(t, '.'), f.dir / "l2.xlsx");
  const ImportOutcome out = importTaskWorkbook(state, f.app, f.dir / "l2.xlsx", "NEW001", "I");
  ASSERT_FALSE(out.message) << text(out.message);
  EXPECT_EQ(f.text(*updatedText(out.updates, "Velo")), "4,5");
  EXPECT_EQ(out.dbItem, 0);  // the database is not in the catalogue
  EXPECT_TRUE(state.toTransitions.empty());
}

TEST_F(TaskImport, AProtocolTaskIsImportedFromItsFileAndNoneResetsTheHeader) {
  const int item = f.addDatabase(test::smallTown("use1"));
  TaskFile t = wizardTask("use1");
  t.header.code = "TOWN01";
  f.dir.write("Data/qj_TOWN01.dat", writeTaskFile(t));
  TaskFile other = t;
  other.header.code = "RUS001";
  other.header.language = "rus";
  f.dir.write("Data/qj_RUS001.dat", writeTaskFile(other));
  f.app.protocol = {test::protocolRecord("TOWN01", "Morning round"),
                    test::protocolRecord("RUS001", "Other"), test::protocolRecord("GONE01", "Gone"),
                    test::protocolRecord("../..", "Bad")};
  TaskWizardState state = f.wizard(kImportTask);

  ImportOutcome out = importProtocolTask(state, f.app, 1);
  EXPECT_FALSE(out.message);
  EXPECT_EQ(f.text(*updatedText(out.updates, "staticTask")), "[TOWN01] Morning round");
  EXPECT_EQ(out.dbItem, item);
  EXPECT_EQ(state.transitionsEntered, 1);
  EXPECT_EQ(state.points.size(), 4u);
  EXPECT_EQ(f.app.selectedPath, (f.dir / "Data/qj_TOWN01").string());

  // "none": a new task's header that keeps the database found before.
  out = importProtocolTask(state, f.app, 0);
  EXPECT_EQ(f.text(*updatedText(out.updates, "staticTask")), "S275.");
  EXPECT_EQ(state.header.pointCount, 2);
  EXPECT_EQ(state.header.cargoMode, 0);
  EXPECT_EQ(state.header.dbCode, "123");
  EXPECT_TRUE(state.points.empty());
  EXPECT_EQ(state.transitionsEntered, 0);
  EXPECT_EQ(out.dbItem, item);

  out = importProtocolTask(state, f.app, 2);
  EXPECT_EQ(text(out.message), "S790 (rus), S786 (eng), S791.");
  EXPECT_EQ(f.text(*updatedText(out.updates, "staticTask")), "S275.");
  out = importProtocolTask(state, f.app, 3);
  EXPECT_TRUE(out.message);
  EXPECT_EQ(f.text(*updatedText(out.updates, "staticTask")), "S275.");
  out = importProtocolTask(state, f.app, 4);  // a code that is no file name
  EXPECT_TRUE(out.message);
  EXPECT_EQ(f.text(*updatedText(out.updates, "staticTask")), "S275.");
}

}  // namespace
}  // namespace qj
