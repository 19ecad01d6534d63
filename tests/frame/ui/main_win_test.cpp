// The main window's own wiring: the start-up with its language chooser, the menu commands and
// the operation windows they open, the viewers that Print and Export act on, Qt's own texts in
// the shell's language.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDate>
#include <QLocale>
#include <QMdiSubWindow>
#include <QPointer>
#include <QScreen>

#include "frame/ui/USelLang.h"
#include "frame/ui/operation_window.h"
#include "frame/ui/shell_language.h"
#include "frame/ui/viewer_kind.h"
#include "platform/ui/screen_fit.h"
#include "support/task_fixture.h"
#include "support/ui/main_window_fixture.h"

namespace qj::ui {
namespace {

using test::markedShell;
using test::settle;
using test::writeShellFile;

// What a window entry saw when the frame called it.
struct Call {
  std::string entry;
  int32_t formMode;
  int32_t solveAtOnce;
  QPointer<QWidget> window;
};

class MainWin : public test::MainWindowTest {
 protected:
  void startWithOneShell() { start({}, recordingWindows()); }
  // Two shells: the language chooser comes first.
  void startWithTwoShells() {
    writeShellFile(dir, "eng", markedShell("eng English"));
    ShellTables rus = markedShell("rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9");
    rus.shellTexts[419] = "\xCF\xEB\xE0\xED";  // План
    writeShellFile(dir, "rus", rus, true);
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), recordingWindows());
    settle();
  }

  WindowFactory recordingWindows() {
    const auto window = [this](const char* entry) -> WindowMaker {
      return [this, entry](WindowHost& m) -> QWidget* {
        calls.push_back({entry, m.state().formMode, m.state().solveAtOnce, new QWidget});
        return calls.back().window;
      };
    };
    const auto command = [this](const char* entry) -> ViewerCommand {
      return [this, entry](WindowHost& m, QWidget* viewer) {
        calls.push_back({entry, m.state().formMode, m.state().solveAtOnce, viewer});
      };
    };
    WindowFactory f;
    f.taskWizard = window("taskWizard");
    f.taskChooser = window("taskChooser");
    f.protocolWindow = window("protocolWindow");
    f.optimiser = window("optimiser");
    f.databaseWizard = window("databaseWizard");
    f.databaseChooser = window("databaseChooser");
    f.clientAddition = window("clientAddition");
    f.help = window("help");
    f.printTask = command("printTask");
    f.printSolution = command("printSolution");
    f.exportTask = command("exportTask");
    f.exportSolution = command("exportSolution");
    return f;
  }
  QWidget* viewer(ViewerKind kind) {
    auto* w = new QWidget;
    markViewer(w, kind);
    main->openViewer(w);
    return w;
  }
  void activate(QWidget* viewer) {
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(viewer->parentWidget()));
    emit main->menu(MenuItem::mnuOut)->aboutToShow();
  }
  QString text(MenuItem item) const { return main->action(item)->text(); }

  std::vector<Call> calls;
};

// With two shells the language chooser comes first and holds the captions back. A choice
// starts the program; closing the chooser or the main window before one ends it without
// touching the protocol.
TEST_F(MainWin, TheLanguageChooserDecidesTheStart) {
  for (const int end : {1, 2, 0}) {  // close the chooser, close the main window, choose
    SCOPED_TRACE(end);
    startWithTwoShells();
    TfrmSelLang* chooser = main->languageChooser();
    ASSERT_NE(chooser, nullptr);
    EXPECT_TRUE(chooser->isVisible());
    EXPECT_FALSE(main->isEnabled());
    for (const MenuItem item : allMenuItems()) EXPECT_TRUE(text(item).isEmpty());
    if (end == 0) {
      chooser->okButton()->click();  // no language chosen: the chooser stays
      EXPECT_EQ(messages->texts(), std::vector<std::string>{"A shell language is not selected."});
      EXPECT_EQ(main->languageChooser(), chooser);
      chooser->list()->setFocus();
      QTest::keyClick(chooser->list(), Qt::Key_Down);
      QTest::keyClick(chooser->list(), Qt::Key_Down);
      QTest::keyClick(chooser->list(), Qt::Key_Return);  // Enter chooses as OK does
    }
    if (end == 1) chooser->close();
    if (end == 2) main->close();
    settle();
    EXPECT_EQ(main->languageChooser(), nullptr);
    EXPECT_EQ(main->startupComplete(), end == 0);
    EXPECT_EQ(main->terminated(), end != 0);
    EXPECT_EQ(main->isEnabled(), end == 0);
    EXPECT_EQ(main->windowTitle(), end == 0 ? "План" : "");
    for (const MenuItem item : allMenuItems()) EXPECT_EQ(text(item).isEmpty(), end != 0);
    main->close();
    EXPECT_EQ(std::filesystem::exists(dir / "System/protocol.pro"), end == 0);
  }
}

// A second copy on the same program folder says so in its shell's language and ends without
// writing the first copy's protocol; the first goes on.
TEST_F(MainWin, ASecondCopyOnTheSameFolderSaysSoAndEnds) {
  startWithOneShell();
  const ProtocolRec r = test::protocolRecord("AB12CD", "Morning");
  main->state().protocol = {r};
  main->SaveProtocol();
  auto box = std::make_unique<ScriptedMessages>();
  ScriptedMessages* said = box.get();
  auto second = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), recordingWindows());
  EXPECT_TRUE(second->terminated());
  EXPECT_FALSE(second->startupComplete());
  EXPECT_EQ(said->texts(),
            std::vector<std::string>{"S1130 \"" + dir.path().string() + "\", S1133."});
  second->close();
  second.reset();
  settle();
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records, std::vector<ProtocolRec>{r});
  EXPECT_FALSE(main->terminated());
}

TEST_F(MainWin, ExitWritesTheProtocol) {
  startWithOneShell();
  const ProtocolRec r = test::protocolRecord("AB12CD", "Morning");
  main->state().protocol = {r, r};
  main->action(MenuItem::mnuInExit)->trigger();
  EXPECT_EQ(readProtocolFile(dir.read("System/protocol.pro")).records,
            (std::vector<ProtocolRec>{r, r}));
}

// Each command opens its window, modal, and the main window waits until it closes. The
// optimiser is offered while a task is queued and runs in batch mode from the menu.
TEST_F(MainWin, EachCommandOpensItsWindowModalUntilItCloses) {
  startWithOneShell();
  QMenu* solving = main->menu(MenuItem::mnuSolving);
  emit solving->aboutToShow();
  EXPECT_FALSE(main->action(MenuItem::Optim)->isEnabled());
  dir.write("Solving/qj_AB12CD_in.dat", "queued");
  emit solving->aboutToShow();
  main->state().solveAtOnce = 1;
  struct Row {
    MenuItem item;
    const char* entry;
    int32_t mode;  // -1: the command keeps the mode
  };
  const Row rows[] = {
      {MenuItem::mnuInNewTask, "taskWizard", 1},
      {MenuItem::mnuInNewTaskExportData, "taskWizard", 2},
      {MenuItem::mnuInEditTask, "taskChooser", 3},
      {MenuItem::mnuOutViewProtocol, "protocolWindow", 3},
      {MenuItem::mnuInViewTask, "taskChooser", 1},
      {MenuItem::mnuOutViewSolution, "taskChooser", 2},
      {MenuItem::N10, "databaseWizard", 1},
      {MenuItem::N11, "databaseWizard", 2},
      {MenuItem::N12, "databaseChooser", 3},
      {MenuItem::N13, "databaseChooser", 4},
      {MenuItem::Excel1, "databaseChooser", 5},
      {MenuItem::N14, "clientAddition", 7},
      {MenuItem::N15, "databaseChooser", 6},
      {MenuItem::N101, "help", 1},
      {MenuItem::N102, "help", 2},
      {MenuItem::N103, "help", 3},
      {MenuItem::Optim, "optimiser", -1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry + std::to_string(row.mode));
    calls.clear();
    main->action(row.item)->trigger();
    ASSERT_EQ(calls.size(), 1u);
    const Call& call = calls.front();
    EXPECT_EQ(call.entry, row.entry);
    EXPECT_TRUE(row.mode < 0 || call.formMode == row.mode) << call.formMode;
    ASSERT_TRUE(call.window);
    EXPECT_EQ(call.window->windowModality(), Qt::ApplicationModal);
    EXPECT_FALSE(main->isEnabled());
    call.window->close();
    settle();
    EXPECT_FALSE(call.window);  // freed on closing
    EXPECT_TRUE(main->isEnabled());
  }
  EXPECT_EQ(calls.front().solveAtOnce, 0);
}

// A command whose window is not there and a window that throws leave the main window usable.
TEST_F(MainWin, ACommandThatOpensNothingLeavesTheMainWindowUsable) {
  startWithOneShell();
  messages->clear();
  main->windows().protocolWindow = nullptr;
  main->action(MenuItem::mnuOutViewProtocol)->trigger();
  EXPECT_TRUE(main->isEnabled());
  main->windows().help = [](WindowHost&) -> QWidget* {
    throw std::runtime_error("the help pictures are missing");
  };
  main->action(MenuItem::N101)->trigger();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"the help pictures are missing"});
  EXPECT_TRUE(main->isEnabled());
}

// Print and Export act on the active viewer, and a viewer that the task chooser opens while it
// holds the main window disabled becomes the active one.
TEST_F(MainWin, PrintAndExportActOnTheActiveViewer) {
  startWithOneShell();
  main->show();
  QApplication::setActiveWindow(main.get());
  auto* other = new QWidget;  // an MDI child that is no viewer
  main->openViewer(other);
  activate(other);
  EXPECT_FALSE(main->action(MenuItem::mnuOutPrint)->isEnabled());
  QWidget* task = viewer(ViewerKind::Task);
  QWidget chooser;
  chooser.show();
  main->setEnabled(false);
  QApplication::setActiveWindow(&chooser);
  QWidget* solution = viewer(ViewerKind::Solution);
  chooser.close();
  main->setEnabled(true);
  QApplication::setActiveWindow(main.get());
  settle();
  EXPECT_EQ(main->mdiArea()->currentSubWindow()->widget(), solution);

  for (QWidget* v : {solution, task}) {
    activate(v);
    main->action(MenuItem::mnuOutPrint)->trigger();
    main->action(MenuItem::mnuOutExpInExcel)->trigger();
  }
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].entry, "printSolution");
  EXPECT_EQ(calls[0].window, solution);
  EXPECT_EQ(calls[1].entry, "exportSolution");
  EXPECT_EQ(calls[2].entry, "printTask");
  EXPECT_EQ(calls[2].window, task);
  EXPECT_EQ(calls[3].entry, "exportTask");

  // A window opened over the main window and closed again, a wizard cancelled, leaves the
  // viewer that the user had made active the active one.
  for (QWidget* v : {solution, task}) {
    QApplication::setActiveWindow(main.get());
    activate(v);
    QWidget wizard;
    wizard.show();
    main->setEnabled(false);
    QApplication::setActiveWindow(&wizard);
    settle();
    wizard.close();
    main->setEnabled(true);
    QApplication::setActiveWindow(main.get());
    settle();
    EXPECT_EQ(main->mdiArea()->currentSubWindow()->widget(), v);
  }
}

// Print and Export act on the viewer the user sees: minimising the active viewer makes the
// viewer shown that was active before it the active one; with every viewer minimised the
// commands say that none is shown, and restoring one brings it back.
TEST_F(MainWin, PrintAndExportActOnTheViewerShown) {
  startWithOneShell();
  main->show();
  QApplication::setActiveWindow(main.get());
  QWidget* solution = viewer(ViewerKind::Solution);
  QWidget* task = viewer(ViewerKind::Task);
  const auto sub = [](QWidget* v) { return qobject_cast<QMdiSubWindow*>(v->parentWidget()); };
  const auto print = [&] {
    emit main->menu(MenuItem::mnuOut)->aboutToShow();
    EXPECT_TRUE(main->action(MenuItem::mnuOutPrint)->isEnabled());
    EXPECT_TRUE(main->action(MenuItem::mnuOutExpInExcel)->isEnabled());
    main->action(MenuItem::mnuOutPrint)->trigger();
    main->action(MenuItem::mnuOutExpInExcel)->trigger();
  };
  activate(task);
  sub(task)->showMinimized();
  settle();
  EXPECT_EQ(main->mdiArea()->activeSubWindow(), sub(solution));
  print();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(std::pair(calls[0].entry, calls[0].window.data()),
            std::pair(std::string("printSolution"), solution));
  EXPECT_EQ(calls[1].entry, "exportSolution");

  sub(solution)->showMinimized();
  settle();
  print();
  EXPECT_EQ(calls.size(), 2u);
  EXPECT_EQ(messages->texts(), (std::vector<std::string>{"S966", "S966"}));
  EXPECT_EQ(messages->last().kind, MessageKind::Information);

  sub(task)->showNormal();
  settle();
  print();
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(std::pair(calls[2].entry, calls[2].window.data()),
            std::pair(std::string("printTask"), task));
  EXPECT_EQ(calls[3].entry, "exportTask");
}

// A parent given is dropped: the window stays enabled under the disabled main window and may
// outlive it.
TEST(OperationWindow, StandsOnItsOwnBesideTheMainWindow) {
  QPointer<QWidget> window;
  {
    QWidget mainWindow;
    window = new QWidget(&mainWindow);
    openOperationWindow(&mainWindow, window);
    EXPECT_FALSE(mainWindow.isEnabled());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
  }
  ASSERT_TRUE(window);
  window->close();
  settle();
  EXPECT_FALSE(window);
}

TEST(OperationWindow, AWiderWindowIsCentredButStaysOnTheScreen) {
  QWidget mainWindow;
  mainWindow.setGeometry(0, 0, 300, 200);
  mainWindow.show();
  // Centred with the frame that the window manager will put around it.
  QWidget small;
  small.setFixedSize(100, 50);
  centreOn(&small, &mainWindow);
  EXPECT_EQ(QRect(small.pos(), small.size().grownBy(windowFrame(&small))).center(),
            mainWindow.frameGeometry().center());
  QWidget wide;
  wide.setFixedSize(700, 100);
  centreOn(&wide, &mainWindow);
  const QRect area = mainWindow.screen()->availableGeometry();
  EXPECT_GE(wide.frameGeometry().left(), area.left());
  EXPECT_GE(wide.frameGeometry().top(), area.top());
  // Over a main window asked to be maximised, before it is, or not shown yet: at the centre of
  // the screen.
  for (const bool maximised : {true, false}) {
    QWidget starting;
    starting.setGeometry(0, 0, 300, 200);
    if (maximised) starting.setWindowState(Qt::WindowMaximized);
    centreOn(&small, &starting);
    EXPECT_EQ(QRect(small.pos(), small.size().grownBy(windowFrame(&small))).center(),
              area.center());
  }
}

// The window manager frames a window after it is shown; a window that takes the room its frame
// leaves (a wizard) takes it again then, though nothing else asks it to lay itself out.
TEST(OperationWindow, AWindowThatTakesItsRoomTakesItOnceFramed) {
  struct RoomTaker : QWidget {
    bool event(QEvent* e) override {
      if (e->type() == QEvent::LayoutRequest) setFixedSize(windowRoom(this));
      return QWidget::event(e);
    }
  } window;
  window.setFixedSize(windowRoom(&window));  // with a frame guessed before it is shown
  window.show();
  settle();
  EXPECT_EQ(window.size(), windowRoom(&window));
  EXPECT_TRUE(window.screen()->availableGeometry().contains(window.frameGeometry()));
}

// The standard buttons of message boxes and the shown dates speak the shell's language.
TEST(ShellLanguage, QtsOwnTextsAndDatesFollowTheShell) {
  const QLocale before;
  const QDate day(2024, 6, 1);
  const auto yes = [] { return QCoreApplication::translate("QPlatformTheme", "&Yes"); };

  useShellLanguage("rus");
  EXPECT_EQ(yes(), QString::fromUtf8("&Да"));
  EXPECT_EQ(QLocale().toString(day, QLocale::ShortFormat), "01.06.2024");

  useShellLanguage("eng");
  EXPECT_EQ(yes(), "&Yes");
  EXPECT_EQ(QLocale().language(), QLocale::English);

  // A code Qt does not know changes nothing.
  useShellLanguage("xx?");
  EXPECT_EQ(QLocale().language(), QLocale::English);
  QLocale::setDefault(before);
}

// What Qt's translations lack of the file dialogs comes from the shell; the rest stays Qt's.
TEST(ShellLanguage, TheFileDialogsGapsInQtsTranslationsComeFromTheShell) {
  useShellLanguage("rus");
  useShellForQtGaps(test::markedShell());
  const auto kind = [](const char* source) {
    return QCoreApplication::translate("QAbstractFileIconProvider", source);
  };
  EXPECT_EQ(
      std::vector<QString>({kind("Folder"), kind("Drive"), kind("Shortcut"), kind("Unknown")}),
      std::vector<QString>({"S1281", "S1282", "S1283", "S1284"}));
  EXPECT_EQ(QCoreApplication::translate("QAbstractFileIconProvider", "Other"), "Other");
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString::fromUtf8("&Да"));
  useShellLanguage("eng");
}

}  // namespace
}  // namespace qj::ui
