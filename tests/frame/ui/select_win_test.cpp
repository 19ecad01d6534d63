#include <gtest/gtest.h>

#include <QMdiSubWindow>
#include <QPointer>
#include <QTest>

#include "app/program_windows.h"
#include "frame/ui/UMainWin.h"
#include "frame/ui/USelectWin.h"
#include "frame/ui/operation_window.h"
#include "support/task_fixture.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::protocolRecord;
using test::settle;
using test::writeTask;

// What a window entry saw when the chooser called it.
struct Opened {
  std::string entry;
  int32_t formMode;
  std::string selectedPath;
  bool mainEnabled;
  QPointer<QWidget> window;
};

class SelectWin : public test::MainWindowTest {
 protected:
  void start() {
    MainWindowTest::start(
        {protocolRecord("AAAAAA", "Entered"), protocolRecord("BBBBBB", "Sent", SentToSolving),
         protocolRecord("CCCCCC", "Solved [2]", SolutionLoaded),
         protocolRecord("DDDDDD", "Entered too")},
        windows());
  }

  WindowMaker recorder(const std::string& entry) {
    return [this, entry](WindowHost& m) -> QWidget* {
      auto* w = new QWidget;
      opened.push_back({entry, m.state().formMode, m.state().selectedPath,
                        m.mainWindow()->isEnabled(), QPointer(w)});
      return w;
    };
  }
  WindowFactory windows() {
    WindowFactory f = programWindows();
    const WindowMaker chooserMaker = f.taskChooser;
    f.taskChooser = [this, chooserMaker](WindowHost& m) -> QWidget* {
      QWidget* w = chooserMaker(m);
      chooser = qobject_cast<TfrmSelectWin*>(w);
      return w;
    };
    f.taskViewer = recorder("taskViewer");
    f.solutionViewer = recorder("solutionViewer");
    f.taskWizard = recorder("taskWizard");
    return f;
  }

  QStringList lines() const {
    QStringList out;
    for (int i = 0; i < chooser->list()->count(); ++i) out << chooser->list()->item(i)->text();
    return out;
  }
  std::string path(const std::string& code) const { return (dir / ("Data/qj_" + code)).string(); }

  QPointer<TfrmSelectWin> chooser;
  std::vector<Opened> opened;
};

TEST_F(SelectWin, ViewingAnInputOffersEveryTaskAndOpensTheViewerInsideTheMainWindow) {
  start();
  writeTask(dir, "BBBBBB", "Sent");
  main->action(MenuItem::mnuInViewTask)->trigger();
  ASSERT_TRUE(chooser);
  EXPECT_TRUE(chooser->isVisible());
  EXPECT_FALSE(main->isEnabled());
  EXPECT_EQ(chooser->windowTitle(), "S653");
  EXPECT_EQ(chooser->okButton()->text(), "ОК");
  EXPECT_EQ(chooser->cancelButton()->text(), "S438");
  EXPECT_EQ(lines(), (QStringList{"[AAAAAA] Entered", "[BBBBBB] Sent", "[CCCCCC] Solved [2]",
                                  "[DDDDDD] Entered too"}));
  EXPECT_EQ(chooser->list()->currentRow(), 0);

  chooser->list()->setCurrentRow(1);
  chooser->okButton()->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].entry, "taskViewer");
  EXPECT_EQ(opened[0].formMode, 1);
  EXPECT_EQ(opened[0].selectedPath, path("BBBBBB"));
  ASSERT_TRUE(opened[0].window);
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(opened[0].window->parentWidget()));
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(messages->shown.empty());
}

TEST_F(SelectWin, ViewingASolutionOffersSolvedTasksOnly) {
  start();
  writeTask(dir, "CCCCCC", "Solved [2]");
  main->action(MenuItem::mnuOutViewSolution)->trigger();
  ASSERT_TRUE(chooser);
  EXPECT_EQ(chooser->windowTitle(), "S657");
  EXPECT_EQ(lines(), QStringList{"[CCCCCC] Solved [2]"});
  chooser->okButton()->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].entry, "solutionViewer");
  EXPECT_EQ(opened[0].formMode, 2);
  // The code of the record builds the path, whatever brackets the name holds.
  EXPECT_EQ(opened[0].selectedPath, path("CCCCCC"));
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(SelectWin, CorrectingHandsOverToTheWizardWithTheMainWindowKeptDisabled) {
  start();
  writeTask(dir, "DDDDDD", "Entered too");
  main->action(MenuItem::mnuInEditTask)->trigger();
  ASSERT_TRUE(chooser);
  EXPECT_EQ(chooser->windowTitle(), "S656");
  EXPECT_EQ(lines(), (QStringList{"[AAAAAA] Entered", "[DDDDDD] Entered too"}));
  chooser->list()->setCurrentRow(1);
  chooser->okButton()->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].entry, "taskWizard");
  EXPECT_EQ(opened[0].formMode, 3);
  EXPECT_EQ(opened[0].selectedPath, path("DDDDDD"));
  EXPECT_FALSE(opened[0].mainEnabled);
  settle();
  EXPECT_FALSE(chooser);
  ASSERT_TRUE(opened[0].window);
  EXPECT_TRUE(opened[0].window->isVisible());
  EXPECT_EQ(opened[0].window->windowModality(), Qt::ApplicationModal);
  EXPECT_FALSE(main->isEnabled());
  opened[0].window->close();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(SelectWin, WithNoSolvedTaskOnlyCancelIsLeft) {
  MainWindowTest::start({protocolRecord("AAAAAA", "Entered")}, windows());
  main->action(MenuItem::mnuOutViewSolution)->trigger();
  ASSERT_TRUE(chooser);
  EXPECT_EQ(chooser->list()->count(), 0);
  EXPECT_FALSE(chooser->okButton()->isEnabled());
  chooser->cancelButton()->click();
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(opened.empty());
}

TEST_F(SelectWin, ATaskOfAnotherLanguageIsRefusedAndTheChooserStays) {
  start();
  writeTask(dir, "AAAAAA", "Entered", "rus");
  writeTask(dir, "DDDDDD", "Entered too");
  main->action(MenuItem::mnuInEditTask)->trigger();
  ASSERT_TRUE(chooser);
  chooser->okButton()->click();
  settle();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S790 (rus), S786 (eng), S791."});
  EXPECT_EQ(messages->last().kind, MessageKind::Warning);
  EXPECT_TRUE(opened.empty());
  ASSERT_TRUE(chooser);
  EXPECT_TRUE(chooser->isVisible());
  EXPECT_FALSE(main->isEnabled());

  // Another choice goes through.
  chooser->list()->setCurrentRow(1);
  chooser->okButton()->click();
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0].entry, "taskWizard");
}

TEST_F(SelectWin, AMissingTaskFileGivesAMessageAndLeavesTheMainWindowUsable) {
  start();
  main->action(MenuItem::mnuInEditTask)->trigger();
  ASSERT_TRUE(chooser);
  chooser->okButton()->click();
  settle();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S815 \"Data/qj_AAAAAA.dat\"."});
  EXPECT_TRUE(opened.empty());
  ASSERT_TRUE(chooser);
  // Escape closes the chooser as Cancel does.
  QTest::keyClick(chooser, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(openOperationWindows(main.get()), 0);
}

TEST_F(SelectWin, AViewerThatDoesNotOpenLeavesTheChooserOpen) {
  start();
  writeTask(dir, "AAAAAA", "Entered");
  main->windows().taskViewer = nullptr;  // not part of the program yet
  main->windows().solutionViewer = [](WindowHost&) -> QWidget* { return nullptr; };
  main->action(MenuItem::mnuInViewTask)->trigger();
  ASSERT_TRUE(chooser);
  chooser->okButton()->click();
  settle();
  EXPECT_TRUE(chooser);
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 0);
  chooser->close();
  settle();

  main->action(MenuItem::mnuOutViewSolution)->trigger();
  writeTask(dir, "CCCCCC", "Solved");
  chooser->okButton()->click();
  settle();
  EXPECT_TRUE(chooser);
  chooser->close();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

}  // namespace
}  // namespace qj::ui
