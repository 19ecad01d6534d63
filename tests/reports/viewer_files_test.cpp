#include "reports/viewer_files.h"

#include <gtest/gtest.h>

#include <cmath>

#include "dbrn/dbrn_io.h"
#include "reports/solution_view.h"
#include "reports/task_view.h"
#include "support/town.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::markedShell;
using test::TempDir;

// A program folder holding the town's database, the task and its solution.
class ViewerFiles : public ::testing::Test {
 protected:
  ViewerFiles() {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = markedShell();
    state.selectedPath = (dir / "Data/qj_TOWN01").string();
  }

  void writeTask(const TaskFile& t) const { dir.write("Data/qj_TOWN01.dat", writeTaskFile(t)); }
  void writeSolution(const SolutionFile& s) const {
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(s));
  }
  void writeDb(const DbrnFile& db) const {
    dir.write("Dbrn/" + dbrnFileName(db.header.dbCode, db.header.dbKind, "eng"), writeDbrn(db));
  }
  void writeAll(const char* kind = "use1") const {
    writeTask(test::townTask(kind));
    writeSolution(test::townSolution());
    writeDb(test::smallTown(kind));
  }
  std::string messageOf(const Message& m) const { return m.text.utf8(state.texts); }
  std::string solutionFailure() const {
    const SolutionViewLoad load = loadSolutionView(state, ',');
    EXPECT_FALSE(load.view);
    EXPECT_EQ(load.message.kind, MessageKind::Error);
    return messageOf(load.message);
  }
  std::string taskFailure() const {
    const TaskViewLoad load = loadTaskView(state, ',');
    EXPECT_FALSE(load.view);
    EXPECT_EQ(load.message.kind, MessageKind::Error);
    return messageOf(load.message);
  }

  TempDir dir;
  AppState state;
};

TEST_F(ViewerFiles, SolutionOfALevelOneTaskOpens) {
  writeAll();
  const SolutionViewLoad load = loadSolutionView(state, ',');
  ASSERT_TRUE(load.view) << messageOf(load.message);
  const SolutionView& v = *load.view;
  EXPECT_EQ(v.caption, "S768 \"Morning round\"");
  EXPECT_EQ(v.parameterTitles, (KeyValue{"S483", "S197"}));
  EXPECT_EQ(v.route.rows(), 12);
  EXPECT_EQ(v.route.cell(10, kRouteTurn), "2S214");
  EXPECT_EQ(v.parameters.front(), (KeyValue{"S541", "1"}));
  EXPECT_NEAR(v.routeCost, -72.05333333, 1e-6);
  EXPECT_EQ(v.parameters[v.parameters.size() - 2], (KeyValue{"    S21 (EUR)", "72,05"}));
}

TEST_F(ViewerFiles, TaskViewOfLevelOneAndTwo) {
  writeTask(test::townTask());
  TaskViewLoad load = loadTaskView(state, ',');
  ASSERT_TRUE(load.view);
  EXPECT_EQ(load.view->caption, "S574 \"Morning round\"");
  EXPECT_EQ(load.view->layout, TaskLayout::Transitions);
  EXPECT_EQ(load.view->table.rows(), 14);
  EXPECT_EQ(load.view->parameters[1], (KeyValue{"S745", "TOWN01"}));
  writeTask(test::townTask("cli2"));
  load = loadTaskView(state, ',');
  ASSERT_TRUE(load.view);
  EXPECT_EQ(load.view->dbLevel, 3);
  EXPECT_EQ(load.view->layout, TaskLayout::Points);
  EXPECT_EQ(load.view->table.rows(), 4);
}

TEST_F(ViewerFiles, BadTaskFilesGiveTheirMessage) {
  EXPECT_EQ(taskFailure(), "S940 \"Data/qj_TOWN01.dat\" S942.");
  EXPECT_EQ(solutionFailure(), "S940 \"Data/qj_TOWN01.dat\" S942.");

  TaskFile t = test::townTask();
  std::string bytes = writeTaskFile(t);
  dir.write("Data/qj_TOWN01.dat", bytes.substr(0, bytes.size() - 1));
  EXPECT_EQ(taskFailure(), "S940 \"Data/qj_TOWN01.dat\" S943: S944.");
  EXPECT_EQ(solutionFailure(), "S940 \"Data/qj_TOWN01.dat\" S943: S944.");

  const auto withHeader = [&](auto change) {
    TaskFile changed = test::townTask();
    change(changed.header);
    writeTask(changed);
    return taskFailure();
  };
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.code = "../x01"; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S947.");
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.code = "town01"; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S947.");
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.dbCode = "1/2"; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S948.");
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.startPoint = 0; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S945.");
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.startPoint = 5; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S945.");
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.endPoint = 5; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S946.");
  // A negative point count is a count the file cannot hold.
  EXPECT_EQ(withHeader([](TaskHeader& h) { h.pointCount = -1; }),
            "S940 \"Data/qj_TOWN01.dat\" S943: S944.");
  // A good task followed by far more than any task file holds is refused unread.
  writeTask(test::townTask());
  fs::resize_file(dir / "Data/qj_TOWN01.dat", kMaxTaskFileBytes + 1);
  EXPECT_EQ(taskFailure(), "S940 \"Data/qj_TOWN01.dat\" S943: S954.");
}

TEST_F(ViewerFiles, BadSolutionFilesGiveTheirMessage) {
  writeTask(test::townTask());
  writeDb(test::smallTown());
  EXPECT_EQ(solutionFailure(), "S941 \"Data/qj_TOWN01_out.dat\" S942.");

  const std::string bytes = writeSolutionFile(test::townSolution());
  dir.write("Data/qj_TOWN01_out.dat", bytes.substr(0, bytes.size() - 8));
  EXPECT_EQ(solutionFailure(), "S941 \"Data/qj_TOWN01_out.dat\" S943: S944.");
  dir.write("Data/qj_TOWN01_out.dat", bytes.substr(0, 100));
  EXPECT_EQ(solutionFailure(), "S941 \"Data/qj_TOWN01_out.dat\" S943: S944.");

  SolutionFile s = test::townSolution();
  s.steps[2].code = 15;
  writeSolution(s);
  EXPECT_EQ(solutionFailure(), "S941 \"Data/qj_TOWN01_out.dat\" S943: S949.");
  s = test::townSolution();
  s.steps[0].hours = std::nan("");
  writeSolution(s);
  EXPECT_EQ(solutionFailure(), "S941 \"Data/qj_TOWN01_out.dat\" S943: S950.");
  writeSolution(test::townSolution());
  fs::resize_file(dir / "Data/qj_TOWN01_out.dat", kMaxTaskFileBytes + 1);
  EXPECT_EQ(solutionFailure(), "S941 \"Data/qj_TOWN01_out.dat\" S943: S954.");

  // The database lost sections since the task was solved.
  writeSolution(test::townSolution());
  DbrnFile db = test::smallTown();
  db.sections.resize(2);
  db.syncHeaderCounts();
  writeDb(db);
  EXPECT_EQ(solutionFailure(),
            "S941 \"Data/qj_TOWN01_out.dat\" S951 \"Dbrn/123use1_dbrn_eng.dat\".");
}

TEST_F(ViewerFiles, TheDatabaseIsReadOnlyForARouteToShow) {
  writeTask(test::townTask());
  writeSolution(test::townSolution());
  // Missing: the database layer's own message, naming the file.
  const std::string missing = solutionFailure();
  EXPECT_EQ(missing, messageOf(errorMessage(dbrnReadFailure("123use1_dbrn_eng.dat",
                                                            DbrnError{DbrnFault::Unreadable}))));
  dir.write("Dbrn/123use1_dbrn_eng.dat", "short");
  EXPECT_EQ(solutionFailure(), messageOf(errorMessage(dbrnReadFailure(
                                   "123use1_dbrn_eng.dat", DbrnError{DbrnFault::Truncated}))));

  // A failed task shows its message even without its database.
  SolutionFile failed;
  failed.header.solutionFound = -1;
  failed.header.finalMessage = "pair pass 2 failed";
  failed.body = SolutionBody::Route;
  writeSolution(failed);
  const SolutionViewLoad load = loadSolutionView(state, ',');
  ASSERT_TRUE(load.view) << messageOf(load.message);
  EXPECT_EQ(load.view->route.rows(), 1);
  EXPECT_EQ(load.view->parameters[1], (KeyValue{"S668", "pair pass 2 failed"}));
}

TEST_F(ViewerFiles, ClientAdditionSolutionsShowTheirStoredLines) {
  writeTask(test::townTask("cli2"));
  SolutionFile s = test::townSolution();
  s.body = SolutionBody::Description;
  s.routeCostTotal = 12.5;
  s.lines = {{" 1", "1 (s) (1", "st. Main, 3", "0 h", "0 h", "0 h", "", "", ""},
             {" 2", "", "", "", "", "", "st. Main, 1-9", "straight", "00002"}};
  writeSolution(s);
  // No database is read for a client addition.
  SolutionViewLoad load = loadSolutionView(state, ',');
  ASSERT_TRUE(load.view) << messageOf(load.message);
  ASSERT_EQ(load.view->route.rows(), 2);
  EXPECT_EQ(load.view->route.cell(1, kRouteEndNode), "00002");
  EXPECT_EQ(load.view->route.cell(0, kRoutePoint), "1 (s) (1");
  EXPECT_EQ(load.view->parameters[load.view->parameters.size() - 2],
            (KeyValue{"    S21 (EUR)", "-12,50"}));

  // Unsolved: nothing after the header is read.
  SolutionFile failed = s;
  failed.header.solutionFound = 0;
  failed.body = SolutionBody::None;
  writeSolution(failed);
  load = loadSolutionView(state, ',');
  ASSERT_TRUE(load.view);
  EXPECT_EQ(load.view->route.rows(), 1);
}

TEST_F(ViewerFiles, FileNamesUnderTheProgramFolder) {
  EXPECT_EQ(viewerFileName(state.dirs(), dir / "Data/qj_A.dat"), "Data/qj_A.dat");
  EXPECT_EQ(viewerFileName(state.dirs(), "/elsewhere/x.dat"), "/elsewhere/x.dat");
  TaskHeader h = test::townTask().header;
  h.dbKind = "zzz9";
  EXPECT_EQ(databasePath(state.dirs(), h, "eng").filename(), "123_dbrn_eng.dat");
  h.dbKind = "sys2";
  EXPECT_EQ(databasePath(state.dirs(), h, "\xD0\xF3\xF1").filename().string(),
            "123sys2_dbrn_Рус.dat");
  EXPECT_EQ(solutionPath(state.dirs(), h), state.dirs().data() / "qj_TOWN01_out.dat");
}

}  // namespace
}  // namespace qj
