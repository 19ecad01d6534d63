// The viewers reached as the user reaches them: a menu command, the task chooser, OK.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QPointer>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/USelectWin.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "support/town.h"
#include "support/task_fixture.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::settle;

class ViewersThroughTheChooser : public test::MainWindowTest {
 protected:
  void SetUp() override {
    start({test::protocolRecord("TOWN01", "Morning round", SolutionLoaded)}, programWindows());
    dir.write("Data/qj_TOWN01.dat", writeTaskFile(test::townTask()));
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(test::townSolution()));
    dir.write("Dbrn/" + dbrnFileName("123", "use1", "eng"), writeDbrn(test::smallTown()));
  }

  TfrmSelectWin* chooser() const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* c = qobject_cast<TfrmSelectWin*>(w); c && c->isVisible()) return c;
    return nullptr;
  }
  // Runs a menu command and presses OK on the first task the chooser offers.
  QWidget* chooseWith(MenuItem command) {
    main->action(command)->trigger();
    TfrmSelectWin* c = chooser();
    if (!c) return nullptr;
    c->okButton()->click();
    settle();
    QMdiSubWindow* sub = main->mdiArea()->currentSubWindow();
    return sub ? sub->widget() : nullptr;
  }
};

TEST_F(ViewersThroughTheChooser, OutputMenuOpensTheSolutionViewer) {
  auto* v = qobject_cast<TfrmViewSolution*>(chooseWith(MenuItem::mnuOutViewSolution));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->windowTitle(), "S768 \"Morning round\"");
  EXPECT_EQ(v->view().route.rows(), 12);
  EXPECT_EQ(chooser(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(messages->shown.empty());
}

TEST_F(ViewersThroughTheChooser, InputMenuOpensTheTaskViewer) {
  auto* v = qobject_cast<TfrmViewTask*>(chooseWith(MenuItem::mnuInViewTask));
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->windowTitle(), "S574 \"Morning round\"");
  EXPECT_EQ(v->view().layout, TaskLayout::Transitions);
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(ViewersThroughTheChooser, ADamagedSolutionKeepsTheChooserOpen) {
  SolutionFile s = test::townSolution();
  s.steps[1].code = 40;  // a point the task does not have
  dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(s));
  EXPECT_EQ(chooseWith(MenuItem::mnuOutViewSolution), nullptr);
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{"S941 \"Data/qj_TOWN01_out.dat\" S943: S949."});
  ASSERT_NE(chooser(), nullptr);
  EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
  chooser()->close();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

}  // namespace
}  // namespace qj::ui
