#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPushButton>

#include "frame/ui/UMainWin.h"
#include "frame/ui/USelLang.h"
#include "frame/ui/operation_window.h"
#include "frame/ui/viewer_kind.h"
#include "records/bytes.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj::ui {
namespace {

using test::markedShell;
using test::TempDir;
using test::writeShellFile;

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// What a plug-in saw when the frame called it.
struct Call {
  std::string entry;
  int32_t formMode;
  int32_t solveAtOnce;
  bool mainEnabled;
  QPointer<QWidget> window;
};

class MainWin : public ::testing::Test {
 protected:
  void TearDown() override {
    main.reset();
    settle();
  }

  void start() {
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), recordingWindows());
  }

  WindowMaker recorder(const std::string& entry) {
    return [this, entry](WindowHost& m) -> QWidget* {
      auto* w = new QWidget;
      calls.push_back(
          {entry, m.state().formMode, m.state().solveAtOnce, m.mainWindow()->isEnabled(), w});
      return w;
    };
  }
  ViewerCommand viewerRecorder(const std::string& entry) {
    return [this, entry](WindowHost& m, QWidget* viewer) {
      calls.push_back(
          {entry, m.state().formMode, m.state().solveAtOnce, m.mainWindow()->isEnabled(), viewer});
    };
  }
  WindowFactory recordingWindows() {
    WindowFactory f;
    f.taskWizard = recorder("taskWizard");
    f.taskChooser = recorder("taskChooser");
    f.protocolWindow = recorder("protocolWindow");
    f.optimiser = recorder("optimiser");
    f.databaseWizard = recorder("databaseWizard");
    f.databaseChooser = recorder("databaseChooser");
    f.clientAddition = recorder("clientAddition");
    f.help = recorder("help");
    f.printTask = viewerRecorder("printTask");
    f.printSolution = viewerRecorder("printSolution");
    f.exportTask = viewerRecorder("exportTask");
    f.exportSolution = viewerRecorder("exportSolution");
    return f;
  }

  void twoShells() {
    writeShellFile(dir, "eng", markedShell("eng English"));
    ShellTables rus = markedShell("rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9");
    rus.shellTexts[419] = "\xCF\xEB\xE0\xED";  // План
    writeShellFile(dir, "rus", rus, true);
  }

  // Closes the operation window that a plug-in made, as its close box would.
  void closeWindow(const Call& call) {
    ASSERT_TRUE(call.window);
    call.window->close();
    settle();
  }

  QString text(MenuItem item) const { return main->action(item)->text(); }

  TempDir dir;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<TfrmMainWin> main;
  std::vector<Call> calls;
};

TEST_F(MainWin, WithOneShellTheCaptionsAppearAtOnce) {
  writeShellFile(dir, "eng", markedShell());
  start();
  EXPECT_EQ(main->languageChooser(), nullptr);
  EXPECT_TRUE(main->startupComplete());
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(main->windowTitle(), "S419");
  EXPECT_EQ(text(MenuItem::mnuIn), "S65");
  EXPECT_EQ(text(MenuItem::N103), "S421");
  for (const MenuItem item : allMenuItems()) EXPECT_FALSE(text(item).isEmpty());
  EXPECT_EQ(main->state().langCode, "eng");
  EXPECT_EQ(main->state().shellFileName, "Shell (QJ 1.6).eng");
  EXPECT_EQ(main->state().solveAtOnce, 0);
  // The protocol did not exist: its message, and an empty file.
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S294..."});
  EXPECT_EQ(dir.read("System/protocol.pro").size(), 32u);
  EXPECT_FALSE(main->action(MenuItem::mnuOutPrint)->isEnabled());
  EXPECT_FALSE(main->action(MenuItem::mnuOutExpInExcel)->isEnabled());
}

TEST_F(MainWin, WithTwoShellsTheChooserComesFirstAndTheCaptionsWait) {
  twoShells();
  start();
  TfrmSelLang* chooser = main->languageChooser();
  ASSERT_NE(chooser, nullptr);
  settle();
  EXPECT_TRUE(chooser->isVisible());
  EXPECT_FALSE(main->isEnabled());
  EXPECT_FALSE(main->startupComplete());
  EXPECT_TRUE(main->windowTitle().isEmpty());
  for (const MenuItem item : allMenuItems()) EXPECT_TRUE(text(item).isEmpty());
  EXPECT_EQ(chooser->windowTitle(), "Selection of program interface language");
  EXPECT_EQ(chooser->okButton()->text(), "ОК");
  ASSERT_EQ(chooser->list()->count(), 2);
  EXPECT_EQ(chooser->list()->itemText(0), "eng English");
  EXPECT_EQ(chooser->list()->itemText(1), "rus Русский");
  EXPECT_EQ(chooser->list()->currentIndex(), -1);

  // OK without a choice keeps the chooser.
  chooser->okButton()->click();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"A shell language is not selected."});
  EXPECT_EQ(main->languageChooser(), chooser);
  EXPECT_TRUE(main->windowTitle().isEmpty());

  chooser->list()->setCurrentIndex(1);
  chooser->okButton()->click();
  settle();
  EXPECT_EQ(main->languageChooser(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(main->startupComplete());
  EXPECT_FALSE(main->terminated());
  EXPECT_EQ(main->windowTitle(), "План");
  EXPECT_EQ(main->state().langCode, "rus");
  EXPECT_EQ(main->state().shellFileName, "Shell (QJ 1.6).rus");
  EXPECT_EQ(main->state().texts.shortText(0), "s0");  // the notes were skipped
  EXPECT_EQ(messages->last().text, "S294...");
}

TEST_F(MainWin, ClosingTheChooserWithoutAChoiceEndsTheProgram) {
  twoShells();
  start();
  settle();
  main->languageChooser()->close();
  settle();
  EXPECT_TRUE(main->terminated());
  EXPECT_EQ(main->languageChooser(), nullptr);
  EXPECT_FALSE(main->startupComplete());
  main->close();
  EXPECT_FALSE(std::filesystem::exists(dir / "System/protocol.pro"));
}

TEST_F(MainWin, ClosingTheMainWindowBeforeAChoiceEndsTheProgram) {
  twoShells();
  start();
  settle();
  main->close();
  settle();
  EXPECT_TRUE(main->terminated());
  EXPECT_EQ(main->languageChooser(), nullptr);
  EXPECT_FALSE(std::filesystem::exists(dir / "System/protocol.pro"));
}

TEST_F(MainWin, AChosenLanguageWithoutItsShellEndsTheProgram) {
  writeShellFile(dir, "eng", markedShell("deu Deutsch"));
  writeShellFile(dir, "fra", markedShell("fra"));
  start();
  main->languageChooser()->list()->setCurrentIndex(0);
  main->languageChooser()->okButton()->click();
  settle();
  EXPECT_TRUE(main->terminated());
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{
                "The chosen file \"Shell (QJ 1.6).deu\" of language shell is missing in the "
                "folder \"Shells\". In this regard, there will an emergency exit from the "
                "program."});
  EXPECT_TRUE(main->windowTitle().isEmpty());
}

TEST_F(MainWin, WithoutAShellTheProgramEnds) {
  dir.write("System/protocol.pro", "keep");
  start();
  EXPECT_TRUE(main->terminated());
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{"There are no files of language shells in the folder "
                                     "\"Shells\". In this regard, there will an emergency exit "
                                     "from the program."});
  main->close();
  EXPECT_EQ(dir.read("System/protocol.pro"), "keep");
}

TEST_F(MainWin, ClosingTheProgramWritesTheProtocol) {
  writeShellFile(dir, "eng", markedShell());
  start();
  ProtocolRec r;
  r.code = "AB12CD";
  r.name = "Morning";
  main->state().protocol = {r, r};
  main->action(MenuItem::mnuInExit)->trigger();
  const std::string bytes = dir.read("System/protocol.pro");
  ASSERT_EQ(bytes.size(), 32u + 144u * 2);
  EXPECT_EQ(bytes.substr(0, 7),
            "\x06"
            "DEV_OZ");
  EXPECT_EQ(bytes[24], 1);
  EXPECT_EQ(bytes[28], 2);
}

TEST_F(MainWin, AForeignProtocolIsReplacedAndKeptBesideIt) {
  writeShellFile(dir, "eng", markedShell());
  dir.write("System/protocol.pro", "not a protocol");
  start();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S464 !!!"});
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
  EXPECT_EQ(dir.read("System/protocol.pro").size(), 32u);
  EXPECT_EQ(dir.read("System/protocol.pro.bak"), "not a protocol");
}

TEST_F(MainWin, SavingAfterTheFileWasRemovedSaysSoAndDoesNotRecreateIt) {
  writeShellFile(dir, "eng", markedShell());
  start();
  messages->clear();
  std::filesystem::remove(dir / "System/protocol.pro");
  main->SaveProtocol();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S301 !!!"});
  EXPECT_FALSE(std::filesystem::exists(dir / "System/protocol.pro"));
}

TEST_F(MainWin, EachCommandCallsItsWindowWithItsModeAndCaption) {
  writeShellFile(dir, "eng", markedShell());
  start();
  struct Row {
    MenuItem item;
    const char* entry;
    int32_t mode;
    const char* caption;
  };
  const Row rows[] = {
      {MenuItem::mnuInNewTask, "taskWizard", 1, ""},
      {MenuItem::mnuInNewTaskExportData, "taskWizard", 2, ""},
      {MenuItem::mnuInEditTask, "taskChooser", 3, "S656"},
      {MenuItem::mnuOutViewProtocol, "protocolWindow", 3, ""},
      {MenuItem::mnuInViewTask, "taskChooser", 1, "S653"},
      {MenuItem::mnuOutViewSolution, "taskChooser", 2, "S657"},
      {MenuItem::N10, "databaseWizard", 1, ""},
      {MenuItem::N11, "databaseWizard", 2, ""},
      {MenuItem::N12, "databaseChooser", 3, "S655"},
      {MenuItem::N13, "databaseChooser", 4, "S650"},
      {MenuItem::Excel1, "databaseChooser", 5, "S650"},
      {MenuItem::N14, "clientAddition", 7, "S651"},
      {MenuItem::N15, "databaseChooser", 6, "S650"},
      {MenuItem::N101, "help", 1, ""},
      {MenuItem::N102, "help", 2, ""},
      {MenuItem::N103, "help", 3, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.entry + std::to_string(row.mode));
    calls.clear();
    main->action(row.item)->trigger();
    ASSERT_EQ(calls.size(), 1u);
    const Call& call = calls.front();
    EXPECT_EQ(call.entry, row.entry);
    EXPECT_EQ(call.formMode, row.mode);
    EXPECT_FALSE(call.mainEnabled);
    ASSERT_TRUE(call.window);
    EXPECT_EQ(call.window->windowTitle(), row.caption);
    EXPECT_TRUE(call.window->isWindow());
    EXPECT_EQ(call.window->windowModality(), Qt::ApplicationModal);
    EXPECT_FALSE(main->isEnabled());
    closeWindow(call);
    EXPECT_FALSE(call.window);  // freed on closing
    EXPECT_TRUE(main->isEnabled());
  }
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S294..."});
}

TEST_F(MainWin, AScanThatRejectsAFileOpensNothing) {
  writeShellFile(dir, "eng", markedShell());
  ByteWriter w;
  w.shortString("eng", 3);
  w.shortString("124", 3);
  w.shortString("City", 70);
  w.shortString("use1", 4);
  w.zeros(148 - w.size());
  dir.write("Dbrn/123use1_dbrn_eng.dat", w.bytes());
  start();
  messages->clear();
  main->action(MenuItem::N13)->trigger();
  EXPECT_TRUE(calls.empty());
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(main->state().dbCheckFailed, 1);
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{
                "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"124use1_dbrn_eng.dat\"."});

  // The client addition looks at level-2 system databases only, so it opens.
  main->action(MenuItem::N14)->trigger();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].entry, "clientAddition");
}

TEST_F(MainWin, ACommandWithoutItsWindowYetDoesNothingAfterItsScan) {
  writeShellFile(dir, "eng", markedShell());
  start();
  main->windows() = WindowFactory{};
  main->action(MenuItem::N12)->trigger();
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(main->state().formMode, 3);
  main->action(MenuItem::mnuOutViewProtocol)->trigger();
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(MainWin, AFailingWindowLeavesTheMainWindowUsable) {
  writeShellFile(dir, "eng", markedShell());
  start();
  messages->clear();
  main->windows().help = [](WindowHost&) -> QWidget* {
    throw std::runtime_error("the help pictures are missing");
  };
  main->action(MenuItem::N101)->trigger();
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"the help pictures are missing"});
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(MainWin, TheOptimiserItemFollowsTheQueue) {
  writeShellFile(dir, "eng", markedShell());
  start();
  QMenu* solving = main->menu(MenuItem::mnuSolving);
  main->state().solveAtOnce = 1;
  emit solving->aboutToShow();
  EXPECT_FALSE(main->action(MenuItem::Optim)->isEnabled());
  EXPECT_EQ(main->state().solveAtOnce, 0);

  dir.write("Solving/qj_AB12CD_in.dat", "queued");
  main->state().solveAtOnce = 1;
  emit solving->aboutToShow();
  ASSERT_TRUE(main->action(MenuItem::Optim)->isEnabled());
  EXPECT_EQ(main->state().solveAtOnce, 0);
  main->action(MenuItem::Optim)->trigger();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].entry, "optimiser");
  EXPECT_EQ(calls[0].solveAtOnce, 0);
  closeWindow(calls[0]);
  EXPECT_TRUE(main->isEnabled());

  std::filesystem::remove(dir / "Solving/qj_AB12CD_in.dat");
  emit solving->aboutToShow();
  EXPECT_FALSE(main->action(MenuItem::Optim)->isEnabled());
}

TEST_F(MainWin, TheSolveNowHandOverRunsTheOptimiserForOneTask) {
  writeShellFile(dir, "eng", markedShell());
  start();
  main->openOptimiserFor("AB12CD");
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].entry, "optimiser");
  EXPECT_EQ(calls[0].solveAtOnce, 1);
  EXPECT_EQ(main->state().curTaskCode, "AB12CD");
  EXPECT_FALSE(main->isEnabled());
  closeWindow(calls[0]);
  EXPECT_TRUE(main->isEnabled());
}

// The task chooser opens a viewer while it holds the main window disabled; the new viewer is
// the one that Print and Export act on from then on.
TEST_F(MainWin, AViewerOpenedFromTheChooserBecomesTheActiveOne) {
  writeShellFile(dir, "eng", markedShell());
  start();
  main->show();
  QApplication::setActiveWindow(main.get());
  auto* first = new QWidget;
  markViewer(first, ViewerKind::Task);
  main->openViewer(first);
  settle();
  ASSERT_EQ(main->mdiArea()->currentSubWindow()->widget(), first);

  // The chooser is the active window, the main window disabled under it.
  QWidget chooser;
  chooser.show();
  main->setEnabled(false);
  QApplication::setActiveWindow(&chooser);
  auto* second = new QWidget;
  markViewer(second, ViewerKind::Solution);
  main->openViewer(second);
  chooser.close();
  main->setEnabled(true);
  QApplication::setActiveWindow(main.get());
  settle();
  EXPECT_EQ(main->mdiArea()->currentSubWindow()->widget(), second);
  emit main->menu(MenuItem::mnuOut)->aboutToShow();
  main->action(MenuItem::mnuOutPrint)->trigger();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].entry, "printSolution");
}

TEST_F(MainWin, PrintAndExportActOnTheActiveViewer) {
  writeShellFile(dir, "eng", markedShell());
  start();
  QMenu* out = main->menu(MenuItem::mnuOut);
  emit out->aboutToShow();
  EXPECT_FALSE(main->action(MenuItem::mnuOutPrint)->isEnabled());
  EXPECT_FALSE(main->action(MenuItem::mnuOutExpInExcel)->isEnabled());

  // Another MDI child is no viewer.
  auto* other = new QWidget;
  main->openViewer(other);
  main->mdiArea()->setActiveSubWindow(main->mdiArea()->subWindowList().back());
  emit out->aboutToShow();
  EXPECT_FALSE(main->action(MenuItem::mnuOutPrint)->isEnabled());

  auto* task = new QWidget;
  markViewer(task, ViewerKind::Task);
  main->openViewer(task);
  auto* solution = new QWidget;
  markViewer(solution, ViewerKind::Solution);
  main->openViewer(solution);
  EXPECT_TRUE(main->isEnabled());

  main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(task->parentWidget()));
  emit out->aboutToShow();
  ASSERT_TRUE(main->action(MenuItem::mnuOutPrint)->isEnabled());
  ASSERT_TRUE(main->action(MenuItem::mnuOutExpInExcel)->isEnabled());
  main->action(MenuItem::mnuOutPrint)->trigger();
  main->action(MenuItem::mnuOutExpInExcel)->trigger();

  main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(solution->parentWidget()));
  emit out->aboutToShow();
  main->action(MenuItem::mnuOutPrint)->trigger();
  main->action(MenuItem::mnuOutExpInExcel)->trigger();

  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].entry, "printTask");
  EXPECT_EQ(calls[0].window, task);
  EXPECT_EQ(calls[1].entry, "exportTask");
  EXPECT_EQ(calls[2].entry, "printSolution");
  EXPECT_EQ(calls[2].window, solution);
  EXPECT_EQ(calls[3].entry, "exportSolution");

  // A closed viewer is freed; with none left the items are disabled again.
  for (auto* sub : main->mdiArea()->subWindowList()) sub->close();
  settle();
  emit out->aboutToShow();
  EXPECT_FALSE(main->action(MenuItem::mnuOutPrint)->isEnabled());
}

TEST_F(MainWin, AChooserHandingOverToAWizardKeepsTheMainWindowDisabled) {
  writeShellFile(dir, "eng", markedShell());
  start();
  main->windows().taskChooser = [this](WindowHost& m) -> QWidget* {
    auto* chooser = new QPushButton("OK");
    QObject::connect(chooser, &QPushButton::clicked, chooser, [&m, chooser] {
      m.state().formMode = 3;
      m.openWindow(new QWidget);  // the task wizard
      chooser->close();
    });
    calls.push_back({"taskChooser", m.state().formMode, 0, m.mainWindow()->isEnabled(), chooser});
    return chooser;
  };
  main->action(MenuItem::mnuInEditTask)->trigger();
  ASSERT_EQ(calls.size(), 1u);
  qobject_cast<QPushButton*>(calls[0].window.data())->click();
  settle();
  EXPECT_FALSE(calls[0].window);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_EQ(openOperationWindows(main.get()), 1);
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->windowModality() == Qt::ApplicationModal && w->isVisible()) w->close();
  settle();
  EXPECT_TRUE(main->isEnabled());
  EXPECT_EQ(openOperationWindows(main.get()), 0);
}

}  // namespace
}  // namespace qj::ui
