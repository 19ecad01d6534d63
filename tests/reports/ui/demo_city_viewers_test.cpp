// Both viewers on the shipped demo city: a delivery round along its real streets and turns.
// With QJ_VIEWER_SHOTS set to a folder the test also saves pictures of the two viewers in the
// main window and their printed reports as PDF files; QJ_VIEWER_SHELL may name a compiled
// shell to take the texts from and QJ_VIEWER_LANG its language code (eng when not given),
// which also chooses the database.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QPrinterInfo>
#include <cstdlib>
#include <fstream>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/UMainWin.h"
#include "records/text.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/print_reports.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj::ui {
namespace {

using test::TempDir;

void settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

// Sections driven from `start`: at each end the turn the plan asks for ('^', '>', '<', 'v'),
// else straight on, else the first turn that leads somewhere open.
std::vector<int32_t> walk(const DbrnFile& db, int32_t start, std::string_view plan) {
  const SectionLookup lookup(db.sections);
  std::vector<int32_t> route{start};
  for (const char want : plan) {
    const TransitSectionRec& at = db.sections[route.back()];
    int32_t next = -1;
    for (const char choice : {want, '^', '*'}) {
      for (const TurnRec& t : at.turns) {
        const int32_t to = lookup.target(route.back(), t);
        if (to < 0 || db.sections[to].isClosed()) continue;
        if (choice == '*' || t.direction == std::string(1, choice)) {
          next = to;
          break;
        }
      }
      if (next >= 0) break;
    }
    if (next < 0) break;
    route.push_back(next);
  }
  return route;
}

double hoursOf(const TransitSectionRec& s) {
  return s.lengthMetres().value_or(0) / 1000 / s.speedKmh().value_or(40);
}

TaskPointRec pointOn(const DbrnFile& db, int32_t section) {
  const TransitSectionRec& s = db.sections[section];
  TaskPointRec p;
  p.streetType = db.streets[s.streetIndex].streetType;
  p.street = db.streets[s.streetIndex].name;
  p.house = qj::trimmed(s.houseFrom).empty() ? "1" : qj::trimmed(s.houseFrom);
  p.sectionIndex = section;
  p.reverseSectionIndex = SectionLookup(db.sections).reverseOf(section);
  return p;
}

struct DemoRound {
  TaskFile task;
  SolutionFile solution;
};

// Four points: the depot, a shop whose window opens at 25 minutes, a kiosk that is refused
// and the end of the round.
std::string viewerLanguage() {
  const char* lang = std::getenv("QJ_VIEWER_LANG");
  return lang && *lang ? lang : "eng";
}

DemoRound demoRound(const DbrnFile& db) {
  // From the first section of a named street with a junction at its end.
  int32_t from = 0;
  while (from + 1 < static_cast<int32_t>(db.sections.size()) &&
         (db.streets[db.sections[from].streetIndex].name.empty() ||
          db.sections[from].turns.size() < 3))
    ++from;
  const std::vector<int32_t> w = walk(db, from, "^^>^^<^^^>^^v^^<^^");
  EXPECT_GE(w.size(), 12u);
  DemoRound r;
  TaskHeader& h = r.task.header;
  h.language = viewerLanguage();
  h.code = "DEMO01";
  h.name = "Morning round in the demo city";
  h.dbKind = db.header.dbKind;
  h.dbCode = db.header.dbCode;
  h.dbName = db.header.dbName;
  h.dbDate = db.header.dbDate;
  h.sectionCount = static_cast<int32_t>(db.sections.size());
  h.pointCount = 4;
  h.startPoint = 1;
  h.endPoint = 4;
  h.moneyUnit = "USD";
  h.finePerKm = 0.5;
  h.finePerHour = 20;
  h.approachSpeed = 5;
  h.refusalFlag = 1;
  h.timeFactorFlag = 1;
  h.tactMinutes = 5;
  h.stateCount2 = 2817;
  const size_t shop = 6, last = w.size() - 1;
  r.task.points = {pointOn(db, w[0]), pointOn(db, w[shop]), pointOn(db, w[3]),
                   pointOn(db, w[last])};
  r.task.points[1].serviceTime = 12;
  r.task.points[1].windowLow = 25;
  r.task.points[1].windowHigh = 90;
  r.task.points[1].income = 40;
  r.task.points[1].waitPenalty = 3;
  r.task.points[2].serviceTime = 5;
  r.task.points[2].refusalAllowed = 1;
  r.task.points[2].income = 8.5;
  r.task.points[3].serviceTime = 7.5;
  r.task.points[3].income = 15;
  r.task.toLists.resize(4);
  r.task.fromLists.resize(4);
  for (int32_t i = 0; i < 4; ++i) {
    TaskPointRec& p = r.task.points[i];
    p.vertexNo = h.sectionCount + i;
    r.task.toLists[i] = {{35.5, 5, 1}};
    if (p.reverseSectionIndex >= 0) r.task.toLists[i].push_back({64.5, 5, 2});
    r.task.fromLists[i] = {{64.5, 5, 3}};
    if (i == 1) r.task.fromLists[i].push_back({120, 5, -4});
    if (p.reverseSectionIndex >= 0) r.task.fromLists[i].push_back({35.5, 5, 4});
    p.toCount = static_cast<int32_t>(r.task.toLists[i].size());
    p.fromCount = static_cast<int32_t>(r.task.fromLists[i].size());
  }

  SolutionFile& s = r.solution;
  s.header.infoText1 = "Demo city transport office";
  s.header.infoText2 = "Dispatcher: J. Smith";
  s.header.infoText3 = "Shift 1";
  s.header.elapsedText = "0:00:03";
  s.header.finalMessage = std::string(255, ' ');
  s.header.checkInterval = 10;
  s.header.iterationLimit = 10000;
  s.header.solutionFound = 1;
  s.header.iterationsDone = 240;
  s.header.relaxationCoef = 0.9;
  s.header.stopCriterion = 0.003;
  s.header.objective = -31.42;
  s.body = SolutionBody::Route;
  const auto served = [&](int32_t p, double minutes) {
    s.steps.push_back({h.sectionCount + p - 1, 0.01 + minutes / 60});
  };
  for (size_t k = 1; k < w.size(); ++k) {
    if (k == shop) {
      served(2, 12);
      s.steps.push_back({-3, 0});
    }
    if (k == last) {
      served(4, 7.5);
      break;
    }
    s.steps.push_back({w[k], hoursOf(db.sections[w[k]])});
  }
  s.header.routeStepCount = static_cast<int32_t>(s.steps.size());
  s.startServiceTimes = {8};
  return r;
}

class DemoCityViewers : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string lang = viewerLanguage();
    const char* shell = std::getenv("QJ_VIEWER_SHELL");
    if (shell && *shell) {
      std::ifstream in(shell, std::ios::binary);
      dir.write("Shells/Shell (QJ 1.6)." + lang,
                std::string(std::istreambuf_iterator<char>(in), {}));
    } else {
      test::writeShellFile(dir, lang, test::markedShell());
    }
    const std::string dbFile = "Dbrn/001sys1_dbrn_" + lang + ".dat";
    const DbrnRead read = readDbrnFile(std::filesystem::path(QJ_PROGRAM_DIR) / dbFile);
    ASSERT_TRUE(read.db) << read.error.text;
    db = *read.db;
    dir.write(dbFile, writeDbrn(db));
    const DemoRound round = demoRound(db);
    dir.write("Data/qj_DEMO01.dat", writeTaskFile(round.task));
    dir.write("Data/qj_DEMO01_out.dat", writeSolutionFile(round.solution));
    TaskFile level2 = round.task;
    level2.header.code = "DEMO02";
    level2.header.dbKind = "sys2";
    level2.header.cargoMode = 1;
    level2.header.capacity = 3.5;
    level2.points[1].volume = 1.25;
    level2.points[3].volume = 2;
    dir.write("Data/qj_DEMO02.dat", writeTaskFile(level2));

    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), programWindows());
    ASSERT_TRUE(main->startupComplete());
    main->resize(1060, 780);
    main->show();
    settle();
  }
  void TearDown() override {
    main.reset();
    settle();
  }

  QWidget* open(const WindowMaker& maker, const char* code) {
    main->state().selectedPath = (dir / (std::string("Data/qj_") + code)).string();
    QWidget* w = maker(*main);
    if (w) main->openViewer(w);
    settle();
    return w;
  }

  // Saves the main window with its viewer, and the viewer alone, when pictures are asked for.
  void shoot(QWidget* viewer, const std::string& name) {
    const char* folder = std::getenv("QJ_VIEWER_SHOTS");
    if (!folder || !*folder) return;
    settle();
    main->grab().save(QString::fromStdString(std::string(folder) + "/" + name + "-main.png"));
    viewer->parentWidget()->grab().save(
        QString::fromStdString(std::string(folder) + "/" + name + ".png"));
  }

  TempDir dir;
  DbrnFile db;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<TfrmMainWin> main;
};

TEST_F(DemoCityViewers, SolutionOfARoundThroughTheCity) {
  auto* v = qobject_cast<TfrmViewSolution*>(open(main->windows().solutionViewer, "DEMO01"));
  ASSERT_NE(v, nullptr) << (messages->shown.empty() ? "" : messages->last().text);
  const GridTable& route = v->view().route;
  // The start row, one row per section and point step, the refusal included.
  EXPECT_EQ(route.rows(), static_cast<int>(demoRound(db).solution.steps.size()) + 1);
  int turns = 0;
  for (int r = 0; r < route.rows(); ++r) turns += route.cell(r, kRouteTurn).empty() ? 0 : 1;
  EXPECT_GT(turns, route.rows() / 2);
  shoot(v, "solution");
  v->sgSolution->titles()->dragSplitter(kRouteAddress, 40);
  v->sgSolution->titles()->dragSplitter(kRoutePoint, -20);
  shoot(v, "solution-dragged");
}

TEST_F(DemoCityViewers, InputOfTheRoundInBothLayouts) {
  auto* level1 = qobject_cast<TfrmViewTask*>(open(main->windows().taskViewer, "DEMO01"));
  ASSERT_NE(level1, nullptr);
  EXPECT_EQ(level1->view().layout, TaskLayout::Transitions);
  shoot(level1, "task-level1");
  level1->parentWidget()->close();
  settle();
  auto* level2 = qobject_cast<TfrmViewTask*>(open(main->windows().taskViewer, "DEMO02"));
  ASSERT_NE(level2, nullptr);
  EXPECT_EQ(level2->view().layout, TaskLayout::Points);
  shoot(level2, "task-level2");
}

// The three reports of the round, printed with no printer: each becomes a PDF file in the
// Print folder and is handed to the viewer. With QJ_VIEWER_SHOTS set they are copied there.
TEST_F(DemoCityViewers, PrintedReportsOfTheRound) {
  messages->clear();
  std::vector<QString> shown;
  const ReportOutput noPrinter{QPrinterInfo(), [&](const QString& path) {
                                 shown.push_back(path);
                                 return true;
                               }};
  QWidget* solution = open(main->windows().solutionViewer, "DEMO01");
  ASSERT_NE(solution, nullptr);
  PrintSolution(*main, solution, noPrinter);
  QWidget* level1 = open(main->windows().taskViewer, "DEMO01");
  ASSERT_NE(level1, nullptr);
  PrintTask(*main, level1, noPrinter);
  QWidget* level2 = open(main->windows().taskViewer, "DEMO02");
  ASSERT_NE(level2, nullptr);
  PrintTask(*main, level2, noPrinter);
  EXPECT_TRUE(messages->shown.empty()) << messages->last().text;
  ASSERT_EQ(shown.size(), 3u);

  const char* names[] = {"solution", "task-level1", "task-level2"};
  const char* folder = std::getenv("QJ_VIEWER_SHOTS");
  for (size_t i = 0; i < shown.size(); ++i) {
    const std::filesystem::path pdf = shown[i].toStdString();
    EXPECT_EQ(pdf.parent_path(), dir / "Print");
    ASSERT_TRUE(std::filesystem::is_regular_file(pdf)) << pdf;
    if (folder && *folder)
      std::filesystem::copy_file(pdf,
                                 std::filesystem::path(folder) / (std::string(names[i]) + ".pdf"),
                                 std::filesystem::copy_options::overwrite_existing);
  }
}

}  // namespace
}  // namespace qj::ui
