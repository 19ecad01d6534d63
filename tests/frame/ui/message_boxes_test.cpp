// The program's own message boxes: each stands over the window that raised it, and a question
// before a deletion answers No to Enter.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "app/program_windows.h"
#include "dbrn/ui/USelectDBRN.h"
#include "frame/ui/UMainWin.h"
#include "frame/ui/UProtocolWin.h"
#include "platform/ui/qt_messages.h"
#include "records/protocol_file.h"
#include "support/shell_fixture.h"
#include "support/task_fixture.h"
#include "support/temp_dir.h"
#include "support/ui/grid_driver.h"
#include "wizard/ui/wizard_window.h"

namespace qj::ui {
namespace {

using test::settle;

// What a box showed when it was answered.
struct SeenBox {
  QWidget* parent = nullptr;
  bool noIsDefault = false;
  QString text;
};

// Answers the next message box with Enter, as a user who only presses Enter does. `seen`
// must live until the box has been answered or the watch has ended.
void answerNextBoxWithEnter(SeenBox& seen) {
  auto* poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, poll, [poll, &seen, ticks = 0]() mutable {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box && ++ticks < 100) return;
    poll->stop();
    poll->deleteLater();
    if (!box) return;
    seen.parent = box->parentWidget();
    seen.noIsDefault =
        box->button(QMessageBox::No) && box->defaultButton() == box->button(QMessageBox::No);
    seen.text = box->text();
    QTest::keyClick(box, Qt::Key_Return);
  });
  poll->start(5);
}

template <typename W>
W* shown() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
  return nullptr;
}

// A main window with the program's own boxes over a folder with a database and a task.
class MessageBoxes : public ::testing::Test {
 protected:
  MessageBoxes() {
    // A test before may have ended its program (QCoreApplication::exit), which makes every
    // later event loop, a box's too, return at once until the application's loop runs again.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    test::writeShellFile(dir, "eng", test::markedShell());
    dir.write("System/protocol.pro", writeProtocolFile({test::protocolRecord("AB12CD", "Run")}));
    test::writeTask(dir, "AB12CD", "Run");
    std::filesystem::create_directories(dir / "Dbrn");
    std::filesystem::copy_file(std::filesystem::path(QJ_PROGRAM_DIR) / "Dbrn/001sys1_dbrn_eng.dat",
                               dir / "Dbrn/001sys1_dbrn_eng.dat");
    main = std::make_unique<TfrmMainWin>(dir.path(), nullptr, programWindows());
  }
  ~MessageBoxes() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != main.get() && w->isVisible()) w->close();
    settle();
    main.reset();
    settle();
  }

  test::TempDir dir;
  std::unique_ptr<TfrmMainWin> main;
};

TEST_F(MessageBoxes, ARefusalStandsOverTheWizardThatRaisedIt) {
  main->runCommand(MenuItem::N10);
  settle();
  auto* wizard = shown<WizardWindow>();
  ASSERT_NE(wizard, nullptr);
  SeenBox seen;
  answerNextBoxWithEnter(seen);
  wizard->nextButton()->click();  // no code typed
  EXPECT_EQ(seen.text, "S297.");
  EXPECT_EQ(seen.parent, wizard);
}

TEST_F(MessageBoxes, EveryDeletionAsksWithNoAsTheDefault) {
  struct Deletion {
    const char* what;
    std::function<QWidget*()> ask;  // opens the window and asks; the window that asked
    std::filesystem::path kept;
  };
  const Deletion deletions[] = {
      {"database",
       [&]() -> QWidget* {
         main->runCommand(MenuItem::N15);
         settle();
         auto* chooser = shown<TfrmSelectDBRN>();  // the first database is preselected
         if (chooser) chooser->okButton()->click();
         return chooser;
       },
       dir / "Dbrn/001sys1_dbrn_eng.dat"},
      {"task",
       [&]() -> QWidget* {
         main->action(MenuItem::mnuOutViewProtocol)->trigger();
         settle();
         auto* protocol = shown<TfrmProtocolWin>();
         if (protocol) protocol->deleteButton()->click();
         return protocol;
       },
       dir / "Data/qj_AB12CD.dat"},
  };
  for (const Deletion& d : deletions) {
    SeenBox seen;
    answerNextBoxWithEnter(seen);
    QWidget* asking = d.ask();
    ASSERT_NE(asking, nullptr) << d.what;
    EXPECT_TRUE(seen.noIsDefault) << d.what;
    EXPECT_EQ(seen.parent, asking) << d.what;
    EXPECT_TRUE(std::filesystem::exists(d.kept)) << d.what;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != main.get() && w->isVisible()) w->close();
    settle();
  }
}

TEST(QtMessagesParent, TheOwnerThenTheOpenOperationWindowThenTheFallback) {
  QWidget fallback, owner;
  QtMessages boxes(&fallback);
  EXPECT_EQ(boxes.parentOfNextBox(), &fallback);
  QWidget operation;
  operation.setWindowModality(Qt::ApplicationModal);
  operation.show();
  EXPECT_EQ(boxes.parentOfNextBox(), &operation);
  boxes.setOwner(&owner);
  EXPECT_EQ(boxes.parentOfNextBox(), &owner);
}

}  // namespace
}  // namespace qj::ui
