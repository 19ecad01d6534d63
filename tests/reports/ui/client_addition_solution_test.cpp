// The solution of a task on the client addition of the demo city, solved by the optimisation
// run on the system database and opened in the solution viewer through the window factory.

#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include "app/program_windows.h"
#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "optimiser/demo_city_task.h"
#include "optimiser/run.h"
#include "platform/files.h"
#include "platform/ui/qt_text.h"
#include "reports/ui/UViewSolutionWin.h"
#include "support/ui/main_window_fixture.h"
#include "wizard/ui/grid_view.h"

namespace qj::ui {
namespace {

using test::settle;

class ClientAdditionSolution : public test::MainWindowTest {};

TEST_F(ClientAdditionSolution, TheViewerShowsTheStoredRouteLines) {
  start({}, programWindows());
  const DbrnRead sys2 =
      readDbrnFile(std::filesystem::path(QJ_PROGRAM_DIR) / "Dbrn/002sys2_dbrn_eng.dat");
  ASSERT_TRUE(sys2.db);
  dir.write("Dbrn/002sys2_dbrn_eng.dat", writeDbrn(*sys2.db));
  dir.write("Dbrn/002cli2_dbrn_eng.dat", writeDbrn(clientAdditionOf(*sys2.db)));

  // The task as the wizard saves it on the client addition, queued and solved.
  TaskFile task;
  task.points = optim::test::demoCityPoints(*sys2.db);
  task.header = optim::test::demoCityHeader("CLI003", "cli2", *sys2.db, task.points);
  task.header.timeFactorFlag = 1;
  task.header.tactMinutes = 5;
  dir.write("Data/qj_CLI003.dat", writeTaskFile(task));
  dir.write("Solving/qj_CLI003_in.dat",
            writeSolverInput({task.header, task.points, {}, {}, {}}, "Shell (QJ 1.6).eng"));
  AppState& state = main->state();
  optim::RunEnvironment env;
  env.solving = state.dirs().solving();
  env.dbrn = state.dirs().dbrn();
  env.langCode = state.langCode;
  env.shell = &state.texts;
  env.decimalSeparator = ',';
  optim::SilentProgress progress;
  const auto outcomes = optim::runOptimisation(env, {{}, {"CLI003"}}, progress);
  ASSERT_EQ(outcomes.size(), 1u);
  const SolutionFile& solved = outcomes[0].file;
  ASSERT_EQ(solved.header.solutionFound, 1) << solved.header.finalMessage;
  ASSERT_GT(solved.lines.size(), 3u);
  copyFileAtomic(dir / "Solving/qj_CLI003_out.dat", dir / "Data/qj_CLI003_out.dat");
  // The viewer reads no database for such a task.
  std::filesystem::remove(dir / "Dbrn/002sys2_dbrn_eng.dat");

  state.selectedPath = (dir / "Data/qj_CLI003").string();
  auto* viewer = qobject_cast<TfrmViewSolution*>(main->windows().solutionViewer(*main));
  ASSERT_NE(viewer, nullptr) << (messages->shown.empty() ? "" : messages->last().text);
  main->openViewer(viewer);
  settle();
  ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(main->mdiArea()->subWindowList()[0]->widget(), viewer);
  EXPECT_EQ(viewer->windowTitle(), "S768 \"Round of CLI003\"");
  const SolutionView& view = viewer->view();
  EXPECT_EQ(view.routeCost, solved.routeCostTotal);
  ASSERT_EQ(view.route.rows(), static_cast<int>(solved.lines.size()));
  const QAbstractItemModel* shown = viewer->sgSolution->grid()->model();
  ASSERT_EQ(shown->rowCount(), view.route.rows());
  for (int r = 0; r < view.route.rows(); ++r) {
    const RouteLine& l = solved.lines[static_cast<size_t>(r)];
    EXPECT_EQ(shown->index(r, 0).data().toString(), toQt(l.rowNo)) << r;
    EXPECT_EQ(shown->index(r, 1).data().toString(), toQt(l.pointNo)) << r;
    EXPECT_EQ(shown->index(r, 6).data().toString(), toQt(l.sectionName)) << r;
    EXPECT_EQ(shown->index(r, 7).data().toString(), toQt(l.turnText)) << r;
    EXPECT_EQ(view.route.cell(r, kRouteEndNode), l.endNode) << r;
  }
  EXPECT_EQ(solved.lines.front().rowNo, " 1");
  EXPECT_EQ(solved.lines.back().turnText, "( S159 )");
  bool kindShown = false;
  for (const KeyValue& row : view.parameters) kindShown |= row.value == "cli2 (S218), 002";
  EXPECT_TRUE(kindShown);
}

}  // namespace
}  // namespace qj::ui
