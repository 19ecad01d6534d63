// The task chooser's own wiring: the hand-over to the wizard, refusals and Cancel. The viewers
// it opens are tested with them.

#include <gtest/gtest.h>

#include <QPointer>
#include <QTest>

#include "app/program_windows.h"
#include "frame/ui/USelectWin.h"
#include "frame/ui/operation_window.h"
#include "support/task_fixture.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::protocolRecord;
using test::settle;
using test::writeTask;

class SelectWin : public test::MainWindowTest {
 protected:
  void start(const std::vector<ProtocolRec>& protocol) {
    WindowFactory f = programWindows();
    f.taskWizard = [this](WindowHost& m) -> QWidget* {
      wizardPath = m.state().selectedPath;
      wizardFoundMainEnabled = m.mainWindow()->isEnabled();
      wizard = new QWidget;
      return wizard;
    };
    MainWindowTest::start(protocol, std::move(f));
  }
  void openChooser(MenuItem item) {
    main->action(item)->trigger();
    chooser = qobject_cast<TfrmSelectWin*>(QApplication::activeModalWidget());
    ASSERT_TRUE(chooser);
  }

  QPointer<TfrmSelectWin> chooser;
  QPointer<QWidget> wizard;
  std::string wizardPath;
  bool wizardFoundMainEnabled = true;
};

// With every task handed to the optimiser there is nothing to correct: the chooser says so in
// its list, where the line cannot be chosen, and only Cancel acts.
TEST_F(SelectWin, CorrectingWithEveryTaskSolvedSaysThereIsNoTaskToCorrect) {
  start({protocolRecord("BBBBBB", "Sent", SentToSolving),
         protocolRecord("CCCCCC", "Solved", SolutionLoaded)});
  openChooser(MenuItem::mnuInEditTask);
  QListWidget* list = chooser->list();
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->item(0)->text(), "S1120.");
  EXPECT_FALSE(list->item(0)->flags() & (Qt::ItemIsEnabled | Qt::ItemIsSelectable));
  EXPECT_EQ(list->currentRow(), -1);
  EXPECT_FALSE(chooser->okButton()->isEnabled());
  QTest::keyClick(list, Qt::Key_Return);
  settle();
  EXPECT_TRUE(messages->texts().empty());
  EXPECT_FALSE(wizard);
  chooser->cancelButton()->click();
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(main->isEnabled());
}

// A refused task (its file missing) leaves the chooser open for another choice; Escape closes
// it as Cancel does. A task handed over to the wizard keeps the main window disabled from the
// chooser's OK until the wizard closes.
TEST_F(SelectWin, CorrectingHandsOverToTheWizardWithTheMainWindowKeptDisabled) {
  start({protocolRecord("AAAAAA", "Entered"), protocolRecord("BBBBBB", "Sent", SentToSolving),
         protocolRecord("DDDDDD", "Entered too")});
  writeTask(dir, "DDDDDD", "Entered too");
  openChooser(MenuItem::mnuInEditTask);
  chooser->okButton()->click();
  settle();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S815 \"Data/qj_AAAAAA.dat\"."});
  EXPECT_FALSE(wizard);
  ASSERT_TRUE(chooser && chooser->isVisible());
  EXPECT_FALSE(main->isEnabled());
  QTest::keyClick(chooser, Qt::Key_Escape);
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(main->isEnabled());

  openChooser(MenuItem::mnuInEditTask);
  ASSERT_EQ(chooser->list()->count(), 2);
  chooser->list()->setCurrentRow(1);
  chooser->okButton()->click();
  ASSERT_TRUE(wizard);
  EXPECT_EQ(wizardPath, (dir / "Data/qj_DDDDDD").string());
  EXPECT_FALSE(wizardFoundMainEnabled);
  settle();
  EXPECT_FALSE(chooser);
  EXPECT_TRUE(wizard->isVisible());
  EXPECT_EQ(wizard->windowModality(), Qt::ApplicationModal);
  EXPECT_FALSE(main->isEnabled());
  wizard->close();
  settle();
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(openOperationWindows(main.get()), 0);
}

}  // namespace
}  // namespace qj::ui
