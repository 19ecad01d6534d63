#include <gtest/gtest.h>

#include <QGroupBox>

#include "frame/protocol.h"
#include "platform/ui/design.h"
#include "records/datetime.h"
#include "records/protocol_file.h"
#include "task/task_files.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

using test::TempDir;

TEST_F(TaskWizardWindow, ANewTaskWalksStepsOneAndTwo) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_EQ(w->windowTitle(), "S64 (S744 1)");
  EXPECT_TRUE(onPage(1));
  EXPECT_FALSE(w->prevButton()->isEnabled());
  EXPECT_EQ(w->nextButton()->text(), "S80");
  EXPECT_FALSE(control("pnlImort")->isVisibleTo(w));
  auto* list = control<QComboBox>("list_DBRN");
  ASSERT_EQ(list->count(), 3);
  EXPECT_EQ(list->itemText(0), "S445");
  EXPECT_EQ(list->currentIndex(), 0);

  next();
  EXPECT_EQ(lastMessage(), "S299.");
  type("txtShifr", "abc123");
  EXPECT_EQ(edit("txtShifr")->text(), "ABC123");
  next();
  EXPECT_EQ(lastMessage(), "S41.");
  type("txtName", "Deliveries");
  next();
  EXPECT_EQ(lastMessage(), "S276.");
  EXPECT_EQ(step(), 1);
  choose("list_DBRN", "[001sys1]");
  messages->clear();
  next();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();

  ASSERT_EQ(step(), 2);
  EXPECT_TRUE(onPage(2));
  EXPECT_EQ(w->windowTitle(), "S64 (S744 2 S200 5)");
  EXPECT_TRUE(w->prevButton()->isEnabled());
  EXPECT_EQ(label("shifr_2"), "ABC123");
  EXPECT_EQ(label("name_2"), "Deliveries");
  EXPECT_EQ(label("DBRN1_2"), "sys1 (S609)");
  EXPECT_EQ(label("DBRN2_4"), "001");
  EXPECT_EQ(label("Decimal_2"), ",");
  EXPECT_EQ(edit("TS_num")->text(), "2");
  EXPECT_EQ(edit("TS_first")->text(), "1");
  EXPECT_EQ(edit("TS_last")->text(), "");
  EXPECT_EQ(edit("Velo")->text(), "15,0");
  EXPECT_EQ(control<QComboBox>("UnitOfMeasurement")->currentIndex(), -1);
  EXPECT_TRUE(control<QRadioButton>("fak0")->isChecked());
  EXPECT_TRUE(control<QRadioButton>("pro_0")->isChecked());
  EXPECT_TRUE(control<QRadioButton>("ref_2")->isChecked());

  type("TS_num", "1");
  next();
  EXPECT_EQ(lastMessage(), "S314 (< 2).");
  type("TS_num", "11");
  next();
  EXPECT_EQ(lastMessage(), "S312 (> 10 S153).");
  type("TS_num", "4");
  type("TS_last", "4");
  type("TS_first", "4");
  next();
  EXPECT_EQ(lastMessage(), "S211. S743.");
  type("TS_first", "1");
  EXPECT_EQ(edit("TS_first")->text(), "1");
  control<QRadioButton>("fak1")->click();
  next();
  EXPECT_EQ(wizard()->focusWidget(), edit("ndol"));  // an empty capacity only moves the focus
  type("ndol", "0");
  next();
  EXPECT_EQ(lastMessage(), "S328.");
  type("ndol", "10");
  next();
  EXPECT_EQ(lastMessage(), "S302. S202.");
  EXPECT_EQ(step(), 2);
  control<QRadioButton>("prvd_1")->click();
  control<QComboBox>("UnitOfMeasurement")->setCurrentIndex(1);
  messages->clear();
  next();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();

  ASSERT_EQ(step(), 3);
  EXPECT_TRUE(onPage(3));
  EXPECT_EQ(w->windowTitle(), "S64 (S744 3 S200 5)");
  EXPECT_EQ(label("nts_3"), "4");
  EXPECT_EQ(label("tsf_3"), "1");
  EXPECT_EQ(label("tsl_5"), "4");
  EXPECT_EQ(w->state().header.moneyUnit, "s7");
  EXPECT_EQ(w->state().header.cargoMode, 1);
  EXPECT_EQ(w->state().table1.rows(), 4);
  EXPECT_FALSE(w->state().pickers.typeItems().empty());

  // Back keeps what was typed.
  back();
  EXPECT_EQ(step(), 2);
  EXPECT_EQ(w->windowTitle(), "S64 (S744 2 S200 5)");
  EXPECT_EQ(edit("ndol")->text(), "10");
  back();
  EXPECT_EQ(step(), 1);
  EXPECT_EQ(w->windowTitle(), "S64 (S744 1)");
  EXPECT_FALSE(w->prevButton()->isEnabled());
  EXPECT_EQ(edit("txtName")->text(), "Deliveries");

  w->closeButton()->click();
  settle();
  EXPECT_EQ(wizard(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(main->state().protocol.empty());
  EXPECT_TRUE(std::filesystem::is_empty(dir / "Data"));
}

TEST_F(TaskWizardWindow, EditsTakeOnlyTheirCharacters) {
  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  // A refused character refuses what is typed after it (see the key filters).
  type("txtShifr", "ab12c34");
  EXPECT_EQ(edit("txtShifr")->text(), "AB12C3");
  type("txtShifr", "ab-12");
  EXPECT_EQ(edit("txtShifr")->text(), "AB");
  type("txtName", QString::fromUtf8("Склад №1 ✓"));
  EXPECT_EQ(edit("txtName")->text(), QString::fromUtf8("Склад №1 "));
  EXPECT_EQ(edit("txtName")->maxLength(), 70);
  type("TS_num", "123");
  EXPECT_EQ(edit("TS_num")->text(), "12");
  type("fine1", "1,5x.7654");
  EXPECT_EQ(edit("fine1")->text(), "1,5");
  type("Velo", "123456");
  EXPECT_EQ(edit("Velo")->text(), "12345");
}

TEST_F(TaskWizardWindow, TheOptionsShowTheirControls) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  fillPageOne();
  next();
  ASSERT_EQ(step(), 2);
  EXPECT_FALSE(control("GroupBox4")->isVisible());
  EXPECT_FALSE(control("ndol")->isVisible());
  control<QRadioButton>("fak2")->click();
  EXPECT_TRUE(control("GroupBox4")->isVisible());
  EXPECT_TRUE(control("ndol")->isVisible());
  EXPECT_EQ(label("Label13_2"), "S36:");
  EXPECT_EQ(wizard()->focusWidget(), control("ndol"));
  control<QRadioButton>("fak1")->click();
  EXPECT_EQ(label("Label13_2"), "S34:");
  control<QRadioButton>("fak0")->click();
  EXPECT_FALSE(control("GroupBox4")->isVisible());
  EXPECT_FALSE(control("Label13_2")->isVisible());

  EXPECT_FALSE(control("nprio")->isVisible());
  control<QRadioButton>("pro_3")->click();
  EXPECT_TRUE(control("nprio")->isVisible());
  EXPECT_TRUE(control("Label16_2")->isVisible());
  EXPECT_EQ(wizard()->focusWidget(), control("nprio"));
  control<QRadioButton>("pro_1")->click();
  EXPECT_FALSE(control("nprio")->isVisible());

  // A refusal names its control: the focus goes there.
  control<QRadioButton>("pro_3")->click();
  type("TS_num", "5");
  type("nprio", "5");
  next();
  EXPECT_EQ(lastMessage(), "S623 <= 4.");
  EXPECT_EQ(wizard()->focusWidget(), control("nprio"));
}

TEST_F(TaskWizardWindow, ADatabaseBeyondTheTaskLimitsIsRefused) {
  // The level-1 demo city with a header that claims more nodes than a task may have.
  std::string bytes = dir.read("Dbrn/001sys1_dbrn_eng.dat");
  ByteReader in(bytes);
  DbrnHeader header = readDbrnHeader(in);
  header.dbCode = "500";
  header.nodeCount = 2501;
  ByteWriter out;
  writeDbrnHeader(out, header);
  bytes.replace(0, kDbrnHeaderSize, out.bytes());
  dir.write("Dbrn/500sys1_dbrn_eng.dat", bytes);

  start();
  ASSERT_NE(open(MenuItem::mnuInNewTask), nullptr);
  type("txtShifr", "BIG001");
  type("txtName", "Too big");
  choose("list_DBRN", "[500sys1]");
  next();
  EXPECT_EQ(lastMessage(), "S860 2501 (> 2500 S153).");
  EXPECT_EQ(step(), 1);
  EXPECT_TRUE(onPage(1));
}

TEST_F(TaskWizardWindow, TheImportModeShowsItsPanel) {
  start();
  main->state().protocol = {{"OLD001", "Old task"}};
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTaskExportData);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "S64 (S744 1)");
  EXPECT_TRUE(control("pnlImort")->isVisible());
  auto* tasks = control<QComboBox>("cbImport");
  ASSERT_EQ(tasks->count(), 2);
  EXPECT_EQ(tasks->itemText(1), "[OLD001] Old task");
  EXPECT_EQ(label("staticTask"), "S275.");
  EXPECT_FALSE(control("btnLoadOutData")->isEnabled());
  control<QRadioButton>("RB_2")->click();
  EXPECT_TRUE(control("btnLoadOutData")->isEnabled());
  EXPECT_FALSE(control("btnImport")->isEnabled());
  EXPECT_FALSE(control("cbImport")->isEnabled());
  control<QRadioButton>("RB_1")->click();
  EXPECT_FALSE(control("btnLoadOutData")->isEnabled());
  EXPECT_TRUE(control("btnImport")->isEnabled());
}

// A level-2 task on the demo city saved earlier, with three points.
void writeLevelTwoTask(const TempDir& dir, const char* language) {
  TaskFile task;
  TaskHeader& h = task.header;
  h.language = language;
  h.code = "COR001";
  h.name = "Morning round";
  h.dbKind = "sys2";
  h.dbCode = "002";
  h.pointCount = 3;
  h.startPoint = 2;
  h.endPoint = 0;
  h.moneyUnit = "s9";
  h.finePerKm = 0.75;
  h.approachSpeed = 4.5;
  h.refusalFlag = 1;
  h.cargoMode = 2;
  h.capacity = 250;
  h.returnFlag = 1;
  task.points.resize(3);
  task.toLists.resize(3);
  task.fromLists.resize(3);
  dir.write("Data/qj_COR001.dat", writeTaskFile(task));
}

TEST_F(TaskWizardWindow, ACorrectionOpensOnTheSavedTask) {
  writeLevelTwoTask(dir, "eng");
  start();
  main->state().protocol = {{"COR001", "Morning round", InputEntered, 1, 1, 0, 0}};
  chosenTask = "COR001";
  TfrmCreateTaskWin* w = open(MenuItem::mnuInEditTask);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->windowTitle(), "S233 (S744 1)");
  EXPECT_EQ(label("Label1_1"), "S746:");
  EXPECT_EQ(edit("txtShifr")->text(), "COR001");
  EXPECT_FALSE(edit("txtShifr")->isEnabled());
  EXPECT_EQ(edit("txtName")->text(), "Morning round");
  EXPECT_TRUE(control<QComboBox>("list_DBRN")->currentText().startsWith("[002sys2]"));
  EXPECT_EQ(edit("Velo")->text(), "4,5");

  type("txtName", "Evening round");
  EXPECT_EQ(w->state().dbChangedByUser, 0);
  emit control<QComboBox>("list_DBRN")->activated(2);  // the user picks the database again
  EXPECT_EQ(w->state().dbChangedByUser, 1);
  next();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  ASSERT_EQ(step(), 2);
  EXPECT_EQ(w->windowTitle(), "S233 (S744 2 S200 3)");
  EXPECT_EQ(edit("TS_num")->text(), "3");
  EXPECT_EQ(edit("TS_first")->text(), "2");
  EXPECT_EQ(edit("TS_last")->text(), "");
  EXPECT_EQ(control<QComboBox>("UnitOfMeasurement")->currentText(), "s9");
  EXPECT_EQ(edit("fine1")->text(), "0,75");
  EXPECT_TRUE(control<QRadioButton>("ref_1")->isChecked());
  EXPECT_TRUE(control<QRadioButton>("fak2")->isChecked());
  EXPECT_EQ(edit("ndol")->text(), "250");
  EXPECT_TRUE(control<QRadioButton>("prvd_1")->isChecked());
  EXPECT_EQ(label("name_2"), "Evening round");

  back();
  EXPECT_EQ(wizard()->focusWidget(), edit("txtName"));
}

TEST_F(TaskWizardWindow, ACorrectionOfAnUnreadableTaskOpensNothing) {
  start();
  chosenTask = "GONE01";
  EXPECT_EQ(open(MenuItem::mnuInEditTask), nullptr);
  EXPECT_EQ(lastMessage(), "S815 \"qj_GONE01.dat\".");
  EXPECT_TRUE(main->isEnabled());

  writeLevelTwoTask(dir, "rus");
  chosenTask = "COR001";
  EXPECT_EQ(open(MenuItem::mnuInEditTask), nullptr);
  EXPECT_EQ(lastMessage(), "S790 (rus), S786 (eng), S791.");
  EXPECT_TRUE(main->isEnabled());
}

// The summary page's choice between solving at once (Order1) and later (Order2).
void chooseSolveNow(TfrmCreateTaskWin* w, bool solveNow) {
  w->control<QRadioButton>(solveNow ? "Order1" : "Order2")->click();
}

// A client-addition task (no graph) with its points entered.
void enterClientTask(TfrmCreateTaskWin* w) {
  TaskWizardState& s = w->state();
  s.header.language = "eng";
  s.header.code = "ABC123";
  s.header.name = "Deliveries";
  s.header.dbKind = "cli2";
  s.header.pointCount = 2;
  s.points.resize(2);
  w->showStep(8);
}

TEST_F(TaskWizardWindow, TheLastStepSavesAndHandsTheTaskToTheOptimiser) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  enterClientTask(w);
  chooseSolveNow(w, true);
  EXPECT_EQ(w->windowTitle(), "S64");
  const double before = nowDateTime();
  next();
  EXPECT_EQ(wizard(), nullptr);
  EXPECT_EQ(optimiserFor, "ABC123");
  EXPECT_EQ(main->state().solveAtOnce, 1);
  EXPECT_FALSE(main->isEnabled());  // the optimiser window holds it
  EXPECT_EQ(dir.read("Solving/qj_ABC123_in.dat"), dir.read("Data/qj_ABC123_in.dat"));
  EXPECT_EQ(dir.read("Data/qj_ABC123.dat").size(), 320u + 2 * 128);
  ASSERT_EQ(main->state().protocol.size(), 1u);
  const ProtocolRec& rec = main->state().protocol[0];
  EXPECT_EQ(rec.code, "ABC123");
  EXPECT_EQ(rec.status, SentToSolving);
  EXPECT_GE(rec.createdAt, before);
  EXPECT_EQ(rec.createdAt, rec.changedAt);
  EXPECT_GE(rec.sentToSolvingAt, rec.createdAt);
  // The status change is in the file at once.
  const ProtocolFileContent file = readProtocolFile(dir.read("System/protocol.pro"));
  ASSERT_EQ(file.records.size(), 1u);
  EXPECT_EQ(file.records[0], rec);
}

TEST_F(TaskWizardWindow, SolvingLaterOnlySavesTheTask) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  enterClientTask(w);
  chooseSolveNow(w, false);
  next();
  EXPECT_EQ(wizard(), nullptr);
  EXPECT_EQ(optimiserFor, "");
  EXPECT_EQ(main->state().solveAtOnce, 0);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_FALSE(std::filesystem::exists(dir / "Solving/qj_ABC123_in.dat"));
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records.at(0).status, InputEntered);
}

TEST_F(TaskWizardWindow, AFailedSaveKeepsTheWizardOpen) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  enterClientTask(w);
  std::filesystem::create_directories(dir / "Data/qj_ABC123.dat");
  next();
  EXPECT_EQ(lastMessage(), "S863 \"qj_ABC123.dat\" S865.");
  EXPECT_EQ(wizard(), w);
  EXPECT_EQ(step(), 8);
  EXPECT_TRUE(main->state().protocol.empty());

  // Back from the summary of a level-3 task without options lands on the address page.
  w->state().dbLevel = 3;
  back();
  EXPECT_EQ(step(), 3);
  EXPECT_EQ(w->windowTitle(), "S64 (S744 3 S200 3)");
  EXPECT_EQ(w->nextButton()->text(), "S80");
}

TEST_F(TaskWizardWindow, TheBusyLabelShowsWhileALongStepRuns) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  EXPECT_FALSE(w->busyLabel()->isVisible());
  w->showBusy(stateCountBusyLabel());
  EXPECT_TRUE(w->busyLabel()->isVisible());
  EXPECT_EQ(w->busyLabel()->size(), px(QSize(243, 26)));
  EXPECT_EQ(w->busyLabel()->text(), "S124 ...");
  w->hideBusy();
  EXPECT_FALSE(w->busyLabel()->isVisible());
}

// Back, Next and Cancel stay where they are: the window keeps one size from page to page,
// whatever each page holds.
TEST_F(TaskWizardWindow, TheWindowKeepsOneSizeFromPageToPage) {
  start();
  TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTask);
  ASSERT_NE(w, nullptr);
  settle();
  const QSize first = w->size();
  const QPoint nextAt = w->nextButton()->pos();
  fillPageOne();
  next();
  ASSERT_EQ(step(), 2);
  type("TS_num", "10");
  type("fine1", "1");
  type("fine2", "10");
  // Controls shown and hidden again.
  control<QRadioButton>("fak1")->click();
  control<QRadioButton>("pro_3")->click();
  settle();
  EXPECT_EQ(w->size(), first);
  control<QRadioButton>("fak0")->click();
  control<QRadioButton>("pro_0")->click();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  settle();
  EXPECT_EQ(w->size(), first);
  EXPECT_EQ(w->nextButton()->pos(), nextAt);
  back();
  settle();
  EXPECT_EQ(w->size(), first);
}

}  // namespace
}  // namespace qj::ui
