// The program's own message boxes: each stands at the centre of the window that raised it, and
// a question before a deletion answers No to Enter.

#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "app/program_windows.h"
#include "dbrn/ui/USelectDBRN.h"
#include "frame/ui/UMainWin.h"
#include "frame/ui/UProtocolWin.h"
#include "platform/ui/qt_messages.h"
#include "platform/ui/screen_fit.h"
#include "support/shell_fixture.h"
#include "support/task_fixture.h"
#include "support/ui/grid_driver.h"
#include "wizard/ui/wizard_window.h"

namespace qj::ui {
namespace {

using test::settle;

// What a box showed when it was answered.
struct SeenBox {
  QWidget* parent = nullptr;
  QRect outer;  // with the frame that the window manager puts around it
  bool noIsDefault = false;
  QString text;
};

// Answers the next message box with Enter, as a user who only presses Enter does, after a
// window manager has placed it in the corner of the screen where it puts new windows. `seen`
// must live until the box has been answered or the watch has ended.
void answerNextBoxWithEnter(SeenBox& seen) {
  auto* poll = new QTimer;
  QObject::connect(
      poll, &QTimer::timeout, poll, [poll, &seen, ticks = 0, placed = false]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box && ++ticks < 100) return;
        if (box && !placed) {
          box->move(0, 0);
          placed = true;
          return;
        }
        poll->stop();
        poll->deleteLater();
        if (!box) return;
        seen.parent = box->parentWidget();
        seen.outer = box->geometry().marginsAdded(windowFrame(box));
        seen.noIsDefault =
            box->button(QMessageBox::No) && box->defaultButton() == box->button(QMessageBox::No);
        seen.text = box->text();
        QTest::keyClick(box, Qt::Key_Return);
      });
  poll->start(5);
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

// A refusal in the database wizard, the deletion of a database from the chooser and of a task
// from the protocol window, each answered with Enter.
TEST_F(MessageBoxes, EachBoxStandsAtTheCentreOfItsWindowAndADeletionAnswersNoToEnter) {
  const struct {
    MenuItem command;
    std::function<void(QWidget*)> ask;
    bool question;
    const char* kept;
  } boxes[] = {
      {MenuItem::N10,  // no code typed
       [](QWidget* w) { qobject_cast<WizardWindow*>(w)->nextButton()->click(); }, false,
       "System/protocol.pro"},
      {MenuItem::N15,  // the first database is preselected
       [](QWidget* w) { qobject_cast<TfrmSelectDBRN*>(w)->okButton()->click(); }, true,
       "Dbrn/001sys1_dbrn_eng.dat"},
      {MenuItem::mnuOutViewProtocol,
       [](QWidget* w) { qobject_cast<TfrmProtocolWin*>(w)->deleteButton()->click(); }, true,
       "Data/qj_AB12CD.dat"},
  };
  for (const auto& b : boxes) {
    SCOPED_TRACE(b.kept);
    main->runCommand(b.command);
    settle();
    QWidget* asking = QApplication::activeModalWidget();
    ASSERT_NE(asking, nullptr);
    SeenBox seen;
    answerNextBoxWithEnter(seen);
    b.ask(asking);
    EXPECT_FALSE(seen.text.isEmpty());
    EXPECT_EQ(seen.parent, asking);
    EXPECT_LE((seen.outer.center() - asking->frameGeometry().center()).manhattanLength(), 1);
    EXPECT_EQ(seen.noIsDefault, b.question);
    EXPECT_TRUE(std::filesystem::exists(dir / b.kept));
    asking->close();
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

// A notice opens over its window without taking the keys typed there: it is not modal nor made
// the active window, and neither Enter nor the SpaceBar closes it unread, even at the box
// itself; Esc does. The print system's words are shown as it wrote them, never as markup, in a
// notice as in a box that waits for its answer.
TEST(QtMessagesNotice, TakesNoKeysMeantForAnotherWindow) {
  QWidget owner;
  owner.show();
  QtMessages boxes(&owner);
  const QString said = "The job was cancelled: Tray <b>2</b> is &lt;empty&gt;.";
  boxes.notice(MessageKind::Error, said.toStdString());
  settle();
  QMessageBox* box = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) box = b;
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(std::tuple(box->text(), box->textFormat(), box->icon(), box->parentWidget()),
            std::tuple(said, Qt::PlainText, QMessageBox::Critical, &owner));
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_TRUE(box->testAttribute(Qt::WA_ShowWithoutActivating));
  for (const QPushButton* button : box->findChildren<QPushButton*>())
    EXPECT_FALSE(button->isDefault() || button->autoDefault());
  QWidget* at = box->focusWidget();
  ASSERT_NE(at, nullptr);
  const QPointer<QMessageBox> open(box);
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) QTest::keyClick(at, key);
  settle();
  ASSERT_TRUE(open && open->isVisible());
  QTest::keyClick(at, Qt::Key_Escape);
  settle();
  EXPECT_TRUE(!open || !open->isVisible());

  // A box that waits for its answer shows the words as written too. (A test before may have
  // ended its program, which makes the box's event loop return at once.)
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
  QCoreApplication::exec();
  Qt::TextFormat modal = Qt::AutoText;
  QTimer::singleShot(0, [&modal] {
    if (auto* b = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      modal = b->textFormat();
      b->accept();
    }
  });
  boxes.error(said.toStdString());
  EXPECT_EQ(modal, Qt::PlainText);
}

}  // namespace
}  // namespace qj::ui
