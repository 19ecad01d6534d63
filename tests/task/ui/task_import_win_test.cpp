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

// Stored values longer than their edits and cells take by typing, in a task as the wizard
// saved it: the costs, the approach speed, the capacity, a point's times, cargo and income,
// and at level 1 every transition typed, each with a value of its own (exact in binary, so
// that the text shown reads back the same), the ways along and against a two-way street among
// them (level 2 takes them from the database's houses).
TaskFile withLongValues(TaskFile task) {
  TaskHeader& h = task.header;
  std::tie(h.finePerKm, h.finePerHour, h.approachSpeed, h.capacity) =
      std::tuple(1234.5678, 98765.4321, 12.345, 0.54321);
  TaskPointRec& p = task.points.at(1);
  std::tie(p.serviceTime, p.unloadTime, p.waitPenalty, p.volume, p.income) =
      std::tuple(1.234567, 2.345678, 123.4567, 0.12345, 1234.567);
  int typed = 0;
  for (auto* lists : {&task.toLists, &task.fromLists})
    for (auto& list : *lists)
      for (TransitionRec& t : list)
        if (dbLevel(h.dbKind) == 2)
          t.speed = h.approachSpeed;
        else {
          std::tie(t.dist, t.speed) = std::tuple(40.0625 + 7 * typed, 5.03125 + typed);
          ++typed;
        }
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
  // Next through every page, then saved to be solved later; the saved task file.
  std::optional<TaskFile> passThroughAndSave(const std::string& code) {
    for (int page = step(); page < 8; page = step()) {
      next();
      if (step() <= page) {
        ADD_FAILURE() << "stays on page " << page << ": " << lastMessage();
        return std::nullopt;
      }
    }
    control<QRadioButton>("Order2")->click();
    next();
    EXPECT_EQ(wizard(), nullptr) << lastMessage();
    return readTaskFile(dir.read("Data/qj_" + code + ".dat")).task;
  }

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
  for (const QString& filter : desktop.filters)
    EXPECT_EQ(filter, "S1280 (*.xlsx *.xls *.XLSX *.XLS)");

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

// A stored value longer than its edit or cell takes by typing is shown whole and saved as it was
// read, whether the task is corrected or imported from a protocol task or a workbook.
TEST_F(TaskImportWindow, StoredValuesPassThroughTheWizardWhole) {
  dir.write("Dbrn/123use1_dbrn_eng.dat", writeDbrn(test::smallTown("use1")));
  ASSERT_NE(openImport(), nullptr);
  wizard()->close();
  settle();
  main->state().protocol = {{"OLD001", "Old round"}, {"OLD002", "Old round"}};
  const std::tuple<const char*, const char*, const char*, const char*> tasks[] = {
      {"use2", "OLD001", "new001", "new002"}, {"use1", "OLD002", "new011", "new012"}};
  for (const auto& [kind, code, imported, fromWorkbook] : tasks) {
    SCOPED_TRACE(kind);
    // The town's task (but its fourth point, whose house the level-2 database lacks), as the
    // wizard saves it; then its values made long.
    TaskFile town = oldTask();
    std::tie(town.header.dbKind, town.header.code) = std::tuple(kind, code);
    std::tie(town.header.pointCount, town.header.servedThreshold) = std::tuple(3, 0);
    town.header.capacity = 1.5;  // less than all the cargo
    town.points.resize(3);
    town.points[1].refusalAllowed = 1;
    town.points[0].serviceTime = 0;  // with cargo the start point has none
    town.toLists.resize(3);
    town.fromLists.resize(3);
    dir.write("Data/qj_" + std::string(code) + ".dat", writeTaskFile(town));
    chosenTask = code;
    ASSERT_NE(open(MenuItem::mnuInEditTask), nullptr);
    const std::optional<TaskFile> saved = passThroughAndSave(code);
    ASSERT_TRUE(saved);
    const TaskFile stored = withLongValues(*saved);
    dir.write("Data/qj_" + std::string(code) + ".dat", writeTaskFile(stored));

    // A level-1 task imported keeps the approach speed of the wizard. The saved task file is
    // the stored one byte for byte but for its code and name (and that speed), and the section
    // graph is the one the correction builds.
    const bool level2 = dbLevel(kind) == 2;
    const std::string ownCode = code;  // clang before 16 does not let a lambda capture a binding
    std::optional<SolverInput> graph;
    const auto expectKept = [&](const std::optional<TaskFile>& task, const char* how) {
      SCOPED_TRACE(how);
      ASSERT_TRUE(task);
      const TaskHeader &h = task->header, &s = stored.header;
      EXPECT_EQ(std::tuple(h.finePerKm, h.finePerHour, h.capacity),
                std::tuple(s.finePerKm, s.finePerHour, s.capacity));
      if (level2 || task->header.code == ownCode) {
        EXPECT_EQ(h.approachSpeed, s.approachSpeed);
      }
      EXPECT_EQ(task->points, stored.points);
      EXPECT_EQ(task->toLists, stored.toLists);
      EXPECT_EQ(task->fromLists, stored.fromLists);
      TaskFile expected = stored;
      std::tie(expected.header.code, expected.header.name, expected.header.approachSpeed) =
          std::tuple(h.code, h.name, h.approachSpeed);
      EXPECT_TRUE(dir.read("Data/qj_" + h.code + ".dat") == writeTaskFile(expected));
      const std::optional<SolverInput> in =
          readSolverInput(dir.read("Data/qj_" + h.code + "_in.dat")).input;
      ASSERT_TRUE(in);
      if (!graph) graph = in;
      EXPECT_EQ(std::tie(in->points, in->arcCounts, in->arcs),
                std::tie(graph->points, graph->arcCounts, graph->arcs));
    };
    ASSERT_NE(open(MenuItem::mnuInEditTask), nullptr);
    expectKept(passThroughAndSave(code), "corrected");

    ASSERT_NE(open(MenuItem::mnuInNewTaskExportData), nullptr);
    type("txtShifr", imported);
    type("txtName", "New round");
    auto* list = control<QComboBox>("cbImport");
    list->setCurrentIndex(list->findText(QString("[%1]").arg(code), Qt::MatchStartsWith));
    control<QPushButton>("btnImport")->click();
    settle();
    if (level2) {
      EXPECT_EQ(edit("Velo")->text(), "12,345");
    }
    expectKept(passThroughAndSave(cp1251::upper(imported)), "imported from the protocol task");

    writeWorkbook(stored, "long.xlsx");
    ASSERT_NE(open(MenuItem::mnuInNewTaskExportData), nullptr);
    type("txtShifr", fromWorkbook);
    type("txtName", "From the workbook");
    control<QRadioButton>("RB_2")->click();
    desktop.chosen = QString::fromStdString((dir / "long.xlsx").string());
    control<QPushButton>("btnLoadOutData")->click();
    settle();
    if (level2) {
      EXPECT_EQ(edit("Velo")->text(), "12,345");
    }
    const std::optional<TaskFile> read = passThroughAndSave(cp1251::upper(fromWorkbook));
    expectKept(read, "imported from the workbook");
    ASSERT_TRUE(read);
    EXPECT_EQ(read->header.finePerKm, 1234.5678);
    if (level2) {
      EXPECT_EQ(read->header.approachSpeed, 12.345);
    }
  }
}

}  // namespace
}  // namespace qj::ui
