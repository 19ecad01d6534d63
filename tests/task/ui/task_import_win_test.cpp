// The import panel of the task wizard's page 1: a protocol task's file, a workbook chosen in
// the file dialog (here a workbook exported from a task on the demo city), and the
// refusals, as a user meets them.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include "dbrn/dbrn_io.h"
#include "office/xlsx_writer.h"
#include "reports/report_workbooks.h"
#include "reports/task_view.h"
#include "support/town.h"
#include "support/ui/scripted_desktop.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

// The town's level-2 task under the code of a protocol task.
TaskFile oldTask(const char* language = "eng") {
  TaskFile task = test::townTask("use2");
  task.header.language = language;
  task.header.code = "OLD001";
  task.header.name = "Old round";
  return task;
}

class TaskImportWindow : public TaskWizardWindow {
 protected:
  // The wizard in import mode with the user's code and name typed.
  TfrmCreateTaskWin* openImport() {
    dir.write("Dbrn/123use2_dbrn_eng.dat", writeDbrn(test::smallTown("use2")));
    start();
    main->state().protocol = {{"OLD001", "Old round"}};
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

// The panel's sources enable their own buttons; going back and forth between them leaves one
// dialog per press. A cancelled dialog or a refused workbook (another language, no workbook at
// all) changes nothing; a chosen workbook fills the wizard but for the user's code and name,
// and the steps go on from it.
TEST_F(TaskImportWindow, AWorkbookChosenInTheDialogFillsTheWizard) {
  writeWorkbook(oldTask(), "round.xlsx");
  writeWorkbook(oldTask("rus"), "foreign.xlsx");
  dir.write("notes.xlsx", "plain text");
  ASSERT_NE(openImport(), nullptr);
  EXPECT_TRUE(control("pnlImort")->isVisible());
  EXPECT_FALSE(control("btnLoadOutData")->isEnabled());
  control<QRadioButton>("RB_2")->click();
  EXPECT_TRUE(control("btnLoadOutData")->isEnabled());
  EXPECT_FALSE(control("btnImport")->isEnabled());
  control<QRadioButton>("RB_1")->click();
  EXPECT_FALSE(control("btnLoadOutData")->isEnabled());
  EXPECT_TRUE(control("btnImport")->isEnabled());
  control<QRadioButton>("RB_1")->click();
  control<QRadioButton>("RB_2")->click();
  choose("list_DBRN", "[001sys1]");

  for (const char* file : {"", "foreign.xlsx", "notes.xlsx"}) {
    messages->clear();
    desktop.chosen = *file ? QString::fromStdString((dir / file).string()) : QString();
    control<QPushButton>("btnLoadOutData")->click();
    settle();
    EXPECT_EQ(messages->shown.size(), *file ? 1u : 0u) << file;
    EXPECT_EQ(label("Label_ex2"), "");
    EXPECT_TRUE(selectedDatabase().startsWith("[001sys1]"));
    EXPECT_TRUE(wizard()->state().points.empty());
  }
  EXPECT_EQ(desktop.captions.size(), 3u);

  messages->clear();
  desktop.chosen = QString::fromStdString((dir / "round.xlsx").string());
  control<QPushButton>("btnLoadOutData")->click();
  settle();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  EXPECT_EQ(label("Label_ex2"), "round.xlsx");
  // The name stands apart from its caption.
  const QRect caption = control("Label_ex1")->geometry(), name = control("Label_ex2")->geometry();
  EXPECT_GE(name.left() - caption.left(),
            control("Label_ex1")->fontMetrics().horizontalAdvance("S108: "));
  EXPECT_TRUE(selectedDatabase().startsWith("[123use2]"));
  EXPECT_EQ(edit("Velo")->text(), "5");
  EXPECT_EQ(edit("txtShifr")->text(), "NEW001");
  EXPECT_EQ(edit("txtName")->text(), "New round");
  EXPECT_EQ(wizard()->state().points[1].house, "25");

  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  EXPECT_EQ(edit("TS_num")->text(), "4");
}

// A protocol task imported from its file; "none" goes back to a new task's values.
TEST_F(TaskImportWindow, AProtocolTaskIsImportedFromItsFile) {
  dir.write("Data/qj_OLD001.dat", writeTaskFile(oldTask()));
  ASSERT_NE(openImport(), nullptr);
  auto* tasks = control<QComboBox>("cbImport");
  tasks->setCurrentIndex(1);
  control<QPushButton>("btnImport")->click();
  settle();
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();
  EXPECT_EQ(label("staticTask"), "[OLD001] Old round");
  EXPECT_TRUE(selectedDatabase().startsWith("[123use2]"));
  EXPECT_EQ(wizard()->state().points.size(), 4u);

  tasks->setCurrentIndex(0);
  control<QPushButton>("btnImport")->click();
  settle();
  EXPECT_EQ(label("staticTask"), "S275.");
  EXPECT_TRUE(wizard()->state().points.empty());
}

}  // namespace
}  // namespace qj::ui
