// The import panel of the task wizard's page 1: a protocol task's file, a workbook chosen in
// the file dialog (here a workbook exported from a task on the demo city), and the
// refusals, as a user meets them.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "office/xlsx_writer.h"
#include "reports/report_workbooks.h"
#include "reports/task_view.h"
#include "support/ui/scripted_desktop.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

// A level-2 task on the demo city's level-2 database with three points.
TaskFile demoTask(const char* language = "eng") {
  TaskFile task;
  TaskHeader& h = task.header;
  h.language = language;
  h.code = "OLD001";
  h.name = "Old round";
  h.dbKind = "sys2";
  h.dbCode = "002";
  h.pointCount = 3;
  h.startPoint = 1;
  h.endPoint = 3;
  h.moneyUnit = "s9";
  h.finePerKm = 0.75;
  h.finePerHour = 10;
  h.approachSpeed = 4.5;
  h.refusalFlag = 1;
  task.points.resize(3);
  const char* houses[] = {"1", "5", "9"};
  for (int i = 0; i < 3; ++i) {
    task.points[i].streetType = "st.";
    task.points[i].street = "Main";
    task.points[i].house = houses[i];
    task.points[i].waitPenalty = i;
  }
  task.points[1].refusalAllowed = 1;
  return task;
}

class TaskImportWindow : public TaskWizardWindow {
 protected:
  // The wizard in import mode with the user's code and name typed.
  TfrmCreateTaskWin* openImport() {
    start();
    main->state().protocol = {{"OLD001", "Old round"}, {"RUS001", "Foreign"}};
    TfrmCreateTaskWin* w = open(MenuItem::mnuInNewTaskExportData);
    if (w) {
      type("txtShifr", "new001");
      type("txtName", "New round");
    }
    return w;
  }
  void writeWorkbook(const TaskFile& task, const std::string& name) {
    const ShellTables texts = test::markedShell();
    const TaskView view = makeTaskView(task, task.header.language, texts, ',');
    office::writeXlsx(taskWorkbook(view, texts, ','), dir / name);
  }
  QString selectedDatabase() const { return control<QComboBox>("list_DBRN")->currentText(); }

  test::ScriptedDesktop desktop;
};

TEST_F(TaskImportWindow, AWorkbookChosenInTheDialogFillsTheWizard) {
  writeWorkbook(demoTask(), "round.xlsx");
  ASSERT_NE(openImport(), nullptr);
  // Going back and forth between the sources leaves one dialog per press of the button.
  control<QRadioButton>("RB_1")->click();
  control<QRadioButton>("RB_1")->click();
  control<QRadioButton>("RB_2")->click();

  // A cancelled dialog changes nothing.
  control<QPushButton>("btnLoadOutData")->click();
  settle();
  ASSERT_EQ(desktop.captions.size(), 1u);
  EXPECT_EQ(desktop.captions[0], "S207");
  EXPECT_TRUE(desktop.filters[0].contains("*.xlsx"));
  EXPECT_TRUE(desktop.filters[0].contains("*.xls"));
  EXPECT_EQ(label("Label_ex2"), "");

  desktop.chosen = QString::fromStdString((dir / "round.xlsx").string());
  control<QPushButton>("btnLoadOutData")->click();
  settle();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  EXPECT_EQ(label("Label_ex1"), "S108:");
  EXPECT_EQ(label("Label_ex2"), "round.xlsx");
  // The name stands apart from its caption.
  const QRect caption = control("Label_ex1")->geometry(), name = control("Label_ex2")->geometry();
  EXPECT_GE(name.left() - caption.left(),
            control("Label_ex1")->fontMetrics().horizontalAdvance("S108: "));
  EXPECT_TRUE(selectedDatabase().startsWith("[002sys2]"));
  EXPECT_EQ(edit("Velo")->text(), "4,5");
  EXPECT_EQ(edit("txtShifr")->text(), "NEW001");  // the user's code and name stay
  EXPECT_EQ(edit("txtName")->text(), "New round");
  const TaskWizardState& state = wizard()->state();
  EXPECT_EQ(state.header.pointCount, 3);
  EXPECT_EQ(state.points[1].house, "5");
  EXPECT_EQ(state.points[2].street, "Main");  // repeated from the first point
  EXPECT_EQ(state.points[1].refusalAllowed, 1);

  // The ordinary steps go on from the imported task.
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  EXPECT_EQ(edit("TS_num")->text(), "3");
  EXPECT_EQ(edit("TS_last")->text(), "3");
  EXPECT_EQ(edit("fine1")->text(), "0,75");
  EXPECT_EQ(wizard()->state().header.code, "NEW001");
}

TEST_F(TaskImportWindow, AWorkbookThatIsRefusedLeavesTheWizardAsItWas) {
  writeWorkbook(demoTask("rus"), "foreign.xlsx");
  ASSERT_NE(openImport(), nullptr);
  choose("list_DBRN", "[001sys1]");
  control<QRadioButton>("RB_2")->click();
  desktop.chosen = QString::fromStdString((dir / "foreign.xlsx").string());
  control<QPushButton>("btnLoadOutData")->click();
  settle();
  EXPECT_EQ(lastMessage(), "S785 (rus), S786 (eng), S789.");
  EXPECT_EQ(messages->last().kind, MessageKind::Warning);
  EXPECT_EQ(label("Label_ex2"), "");
  EXPECT_TRUE(selectedDatabase().startsWith("[001sys1]"));
  EXPECT_TRUE(wizard()->state().points.empty());

  dir.write("notes.xlsx", "plain text");
  desktop.chosen = QString::fromStdString((dir / "notes.xlsx").string());
  control<QPushButton>("btnLoadOutData")->click();
  settle();
  EXPECT_EQ(lastMessage(), "S970 \"notes.xlsx\" S972.");
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
}

TEST_F(TaskImportWindow, AProtocolTaskIsImportedFromItsFile) {
  TaskFile task = demoTask();
  dir.write("Data/qj_OLD001.dat", writeTaskFile(task));
  task.header.language = "rus";
  task.header.code = "RUS001";
  dir.write("Data/qj_RUS001.dat", writeTaskFile(task));
  ASSERT_NE(openImport(), nullptr);

  auto* tasks = control<QComboBox>("cbImport");
  tasks->setCurrentIndex(1);
  control<QPushButton>("btnImport")->click();
  settle();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  EXPECT_EQ(label("staticTask"), "[OLD001] Old round");
  EXPECT_TRUE(selectedDatabase().startsWith("[002sys2]"));
  EXPECT_EQ(edit("Velo")->text(), "4,5");
  EXPECT_EQ(wizard()->state().points.size(), 3u);

  tasks->setCurrentIndex(2);
  control<QPushButton>("btnImport")->click();
  settle();
  EXPECT_EQ(lastMessage(), "S790 (rus), S786 (eng), S791.");
  EXPECT_EQ(label("staticTask"), "S275.");

  // "none": a new task's values, the database found before still selected.
  tasks->setCurrentIndex(0);
  control<QPushButton>("btnImport")->click();
  settle();
  EXPECT_EQ(label("staticTask"), "S275.");
  EXPECT_TRUE(wizard()->state().points.empty());
  EXPECT_TRUE(selectedDatabase().startsWith("[002sys2]"));
  EXPECT_EQ(edit("txtShifr")->text(), "NEW001");
}

}  // namespace
}  // namespace qj::ui
