#include "reports/viewer_files.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "dbrn/dbrn_io.h"
#include "reports/solution_view.h"
#include "reports/task_view.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/town.h"

namespace qj {
namespace {

// A program folder holding the town's database, the task and its solution.
class ViewerFiles : public ::testing::Test {
 protected:
  ViewerFiles() {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
    state.selectedPath = (dir / "Data/qj_TOWN01").string();
  }

  void writeTask(const TaskFile& t) const { dir.write("Data/qj_TOWN01.dat", writeTaskFile(t)); }
  void writeSolution(const SolutionFile& s) const {
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(s));
  }
  void writeDb(const DbrnFile& db) const {
    dir.write("Dbrn/" + dbrnFileName(db.header.dbCode, db.header.dbKind, "eng"), writeDbrn(db));
  }
  std::string messageOf(const Message& m) const { return m.text.utf8(state.texts); }
  // The message of a viewer that does not open, its kind checked.
  template <typename Load>
  std::string failure(const Load& load) const {
    EXPECT_FALSE(load.view);
    EXPECT_EQ(load.message.kind, MessageKind::Error);
    return messageOf(load.message);
  }
  std::string solutionFailure() const { return failure(loadSolutionView(state, ',')); }
  std::string taskFailure() const { return failure(loadTaskView(state, ',')); }

  test::TempDir dir;
  AppState state;
};

// Both viewers read the task file first; the solution viewer then its solution and the
// database. Each fault names its file and what is wrong with it.
TEST_F(ViewerFiles, BadFilesGiveTheirMessageAndNoView) {
  const std::string task = "S940 \"Data/qj_TOWN01.dat\" ";
  const std::string solution = "S941 \"Data/qj_TOWN01_out.dat\" ";
  const std::string taskBytes = writeTaskFile(test::townTask());
  const std::string solutionBytes = writeSolutionFile(test::townSolution());
  const auto header = [&](std::function<void(TaskHeader&)> change) {
    TaskFile t = test::townTask();
    change(t.header);
    return writeTaskFile(t);
  };
  const auto steps = [&](std::function<void(SolutionFile&)> change) {
    SolutionFile s = test::townSolution();
    change(s);
    return writeSolutionFile(s);
  };
  struct Case {
    std::string taskFile, solutionFile;  // "-": no file
    std::string message;
    bool taskToo;  // the task viewer gives the same message
  } cases[] = {
      {"-", solutionBytes, task + "S942.", true},
      {taskBytes.substr(0, taskBytes.size() - 1), solutionBytes, task + "S943: S944.", true},
      {header([](TaskHeader& h) { h.code = "../x01"; }), solutionBytes, task + "S943: S947.", true},
      {header([](TaskHeader& h) { h.code = "town01"; }), solutionBytes, task + "S943: S947.", true},
      {header([](TaskHeader& h) { h.dbCode = "1/2"; }), solutionBytes, task + "S943: S948.", true},
      {header([](TaskHeader& h) { h.startPoint = 0; }), solutionBytes, task + "S943: S945.", true},
      {header([](TaskHeader& h) { h.startPoint = 5; }), solutionBytes, task + "S943: S945.", true},
      {header([](TaskHeader& h) { h.endPoint = 5; }), solutionBytes, task + "S943: S946.", true},
      // A negative point count is a count the file cannot hold.
      {header([](TaskHeader& h) { h.pointCount = -1; }), solutionBytes, task + "S943: S944.", true},
      // A good task followed by far more than any task file holds is refused unread.
      {taskBytes, solutionBytes, task + "S943: S954.", true},
      {taskBytes, "-", solution + "S942.", false},
      {taskBytes, solutionBytes.substr(0, solutionBytes.size() - 8), solution + "S943: S944.",
       false},
      {taskBytes, solutionBytes.substr(0, 100), solution + "S943: S944.", false},
      {taskBytes, steps([](SolutionFile& s) { s.steps[2].code = 15; }), solution + "S943: S949.",
       false},
      {taskBytes, steps([](SolutionFile& s) { s.steps[0].hours = std::nan(""); }),
       solution + "S943: S950.", false},
      {taskBytes, solutionBytes, solution + "S943: S954.", false},
  };
  writeDb(test::smallTown());
  for (const Case& c : cases) {
    std::filesystem::remove(dir / "Data/qj_TOWN01.dat");
    std::filesystem::remove(dir / "Data/qj_TOWN01_out.dat");
    if (c.taskFile != "-") dir.write("Data/qj_TOWN01.dat", c.taskFile);
    if (c.solutionFile != "-") dir.write("Data/qj_TOWN01_out.dat", c.solutionFile);
    if (c.message.ends_with("S954."))
      std::filesystem::resize_file(
          dir / (c.taskToo ? "Data/qj_TOWN01.dat" : "Data/qj_TOWN01_out.dat"),
          kMaxTaskFileBytes + 1);
    EXPECT_EQ(solutionFailure(), c.message);
    if (c.taskToo)
      EXPECT_EQ(taskFailure(), c.message);
    else
      EXPECT_EQ(loadTaskView(state, ',').view->caption, "S574 \"Morning round\"");
  }

  writeSolution(test::townSolution());
  const SolutionViewLoad good = loadSolutionView(state, ',');
  ASSERT_TRUE(good.view) << messageOf(good.message);
  EXPECT_EQ(good.view->caption, "S768 \"Morning round\"");
  EXPECT_EQ(good.view->route.rows(), 12);
  EXPECT_NEAR(good.view->routeCost, -72.05333333, 1e-6);
  // The database lost sections since the task was solved.
  DbrnFile db = test::smallTown();
  db.sections.resize(2);
  db.syncHeaderCounts();
  writeDb(db);
  EXPECT_EQ(solutionFailure(), solution + "S951 \"Dbrn/123use1_dbrn_eng.dat\".");
  // Missing or damaged: the database layer's own message, naming the file.
  std::filesystem::remove(dir / "Dbrn/123use1_dbrn_eng.dat");
  EXPECT_EQ(solutionFailure(), messageOf(errorMessage(dbrnReadFailure(
                                   "123use1_dbrn_eng.dat", DbrnError{DbrnFault::Unreadable}))));
  dir.write("Dbrn/123use1_dbrn_eng.dat", "short");
  EXPECT_EQ(solutionFailure(), messageOf(errorMessage(dbrnReadFailure(
                                   "123use1_dbrn_eng.dat", DbrnError{DbrnFault::Truncated}))));
}

// No database is read for a solution without a route to show: a failed task, an unsolved
// one, and a client addition, which shows its stored lines.
TEST_F(ViewerFiles, SolutionsWithoutARouteToDriveNeedNoDatabase) {
  writeTask(test::townTask());
  SolutionFile failed;
  failed.header.solutionFound = -1;
  failed.header.finalMessage = "pair pass 2 failed";
  failed.body = SolutionBody::Route;
  SolutionViewLoad load;
  for (const int found : {-1, 0}) {  // failed, or not solved
    failed.header.solutionFound = found;
    writeSolution(failed);
    load = loadSolutionView(state, ',');
    ASSERT_TRUE(load.view) << messageOf(load.message);
    EXPECT_EQ(load.view->route.rows(), 1);
    EXPECT_EQ(load.view->parameters[1], (KeyValue{"S668", "pair pass 2 failed"}));
  }

  writeTask(test::townTask("cli2"));
  EXPECT_EQ(loadTaskView(state, ',').view->layout, TaskLayout::Points);
  SolutionFile s = test::townSolution();
  s.body = SolutionBody::Description;
  s.routeCostTotal = 12.5;
  s.lines = {{" 1", "1 (s) (1", "st. Main, 3", "0 h", "0 h", "0 h", "", "", ""},
             {" 2", "", "", "", "", "", "st. Main, 1-9", "straight", "00002"}};
  writeSolution(s);
  load = loadSolutionView(state, ',');
  ASSERT_TRUE(load.view) << messageOf(load.message);
  ASSERT_EQ(load.view->route.rows(), 2);
  EXPECT_EQ(load.view->route.cell(1, kRouteEndNode), "00002");
  EXPECT_EQ(load.view->route.cell(0, kRoutePoint), "1 (s) (1");
  EXPECT_EQ(load.view->parameters[load.view->parameters.size() - 2],
            (KeyValue{"    S21 (EUR)", "-12,50"}));
  // Unsolved: nothing after the header is read.
  s.header.solutionFound = 0;
  s.body = SolutionBody::None;
  writeSolution(s);
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
  // The last point may start and end the round; the codes take six of A-Z and 0-9 and three
  // digits.
  h.startPoint = h.endPoint = h.pointCount;
  EXPECT_FALSE(checkViewedTaskHeader(h));
  const std::tuple<const char*, const char*, std::optional<ViewerFault>> codes[] = {
      {"AZ09AZ", "909", std::nullopt},          {"@AAAAA", "123", ViewerFault::TaskCode},
      {"AAAAA[", "123", ViewerFault::TaskCode}, {"AAAAA:", "123", ViewerFault::TaskCode},
      {"/AAAAA", "123", ViewerFault::TaskCode}, {"TOWN0", "123", ViewerFault::TaskCode},
      {"TOWN01", "12", ViewerFault::DbCode},    {"TOWN01", "12:", ViewerFault::DbCode},
      {"TOWN01", "/12", ViewerFault::DbCode},   {"TOWN01", "A23", ViewerFault::DbCode}};
  for (const auto& [code, db, fault] : codes) {
    h.code = code;
    h.dbCode = db;
    EXPECT_EQ(checkViewedTaskHeader(h), fault) << code << " " << db;
  }
}

}  // namespace
}  // namespace qj
