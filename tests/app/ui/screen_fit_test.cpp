// Every window of the program on a laptop's screen (1366 x 768 on the offscreen platform, or
// the size QJ_TEST_SCREEN gives), in both shells, at the largest demo database and tasks: the
// language chooser, the main window, every page of both wizards in every mode, the choosers,
// the protocol and help windows, the optimiser in each of its states and both viewers. Each
// window's frame lies inside the screen's available area, its buttons are in view and its
// controls lie inside it (on a page, inside the area that scrolls), and the buttons are enabled
// where the program enables them.

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWindow>
#include <map>
#include <set>
#include <type_traits>

#include "app/program_windows.h"
#include "dbrn/ui/UCreateDBRN.h"
#include "frame/ui/UHelpWin.h"
#include "frame/ui/UProtocolWin.h"
#include "frame/ui/USelLang.h"
#include "frame/ui/list_chooser.h"
#include "optimiser/ui/OM_QJ.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "task/section_choice_step.h"
#include "task/ui/task_wizard_window.h"

namespace qj::ui {
namespace {

namespace fs = std::filesystem;

// The control's rectangle in its window, and the part of it that the widgets it lies in leave
// shown. Where `scrolled` is false, what lies in a scrolled area counts as shown as far as it
// lies inside the area's content: it is reached by scrolling.
std::pair<QRect, QRect> shownPart(const QWidget* w, bool scrolled) {
  const QWidget* window = w->window();
  const QRect whole(w->mapTo(window, QPoint()), w->size());
  QRect shown = whole;
  for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget()) {
    const auto* area = qobject_cast<const QAbstractScrollArea*>(p->parentWidget());
    if (!scrolled && area && area->viewport() == p) break;
    shown &= QRect(p->mapTo(window, QPoint()), p->size());
    if (p == window) break;
  }
  return {whole, shown};
}

std::string nameOf(const QWidget* w) {
  return w->objectName().isEmpty() ? w->metaObject()->className() : w->objectName().toStdString();
}

// A window as the user sees it on the screen.
void expectFits(const QWidget* window, const std::string& what) {
  ASSERT_NE(window, nullptr) << what;
  ASSERT_TRUE(window->isVisible()) << what;
  const QRect area = window->screen()->availableGeometry();
  const QRect frame = window->geometry().marginsAdded(window->windowHandle()->frameMargins());
  EXPECT_TRUE(area.contains(frame)) << what << ": frame " << frame.x() << "," << frame.y() << " "
                                    << frame.width() << "x" << frame.height();
  for (const QWidget* c : window->findChildren<QWidget*>()) {
    if (!c->isVisible() || c->window() != window) continue;
    const bool button = qobject_cast<const QPushButton*>(c) != nullptr;
    const bool control = button || qobject_cast<const QAbstractButton*>(c) ||
                         qobject_cast<const QLineEdit*>(c) || qobject_cast<const QComboBox*>(c) ||
                         qobject_cast<const QAbstractItemView*>(c);
    if (!control) continue;
    const auto [whole, shown] = shownPart(c, button);
    EXPECT_EQ(whole, shown) << what << ": " << nameOf(c) << (button ? " not in view" : " cut off");
  }
}

class ScreenFit : public TaskWizardWindow, public ::testing::WithParamInterface<const char*> {
 protected:
  ScreenFit() {
    const fs::path program(QJ_PROGRAM_DIR);
    fs::create_directories(dir / "Shells");
    for (const char* lang : {"eng", "rus"})
      fs::copy_file(program / "Shells" / ("Shell (QJ 1.6)." + std::string(lang)),
                    dir / ("Shells/Shell (QJ 1.6)." + std::string(lang)));
    for (const char* db : {"001sys1_dbrn_rus.dat", "002sys2_dbrn_rus.dat"})
      fs::copy_file(program / "Dbrn" / db, dir / ("Dbrn/" + std::string(db)));
    fs::create_directories(dir / "System");
    for (const char* file : {"info", "help1.jpg", "help2.jpg", "help3.jpg"})
      fs::copy_file(program / "System" / file, dir / ("System/" + std::string(file)));
    const WindowFactory real = programWindows();
    windows.optimiser = real.optimiser;
    windows.taskChooser = real.taskChooser;
  }
  static std::string lang() { return GetParam(); }

  // A wizard's page: Back from the second step on, Next and Cancel always, and the size that
  // the wizard took when it opened (`what` names one opening).
  void expectWizardFits(WizardWindow* wizard, const std::string& what) {
    ASSERT_NE(wizard, nullptr) << what;
    const std::string page = what + ", step " + std::to_string(wizard->currentStep());
    expectFits(wizard, page);
    EXPECT_EQ(wizard->prevButton()->isEnabled(), wizard->currentStep() > 1) << page;
    EXPECT_TRUE(wizard->nextButton()->isEnabled()) << page;
    EXPECT_TRUE(wizard->closeButton()->isEnabled()) << page;
    const QSize opened = wizardSizes.emplace(what, wizard->size()).first->second;
    EXPECT_EQ(wizard->size(), opened) << page;
  }
  std::map<std::string, QSize> wizardSizes;

  // The program as it starts: both shells, the language chosen in the chooser.
  void startProgram() {
    dir.write("System/protocol.pro", writeProtocolFile({}));
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), windows);
    main->showMaximized();
    settle();
    TfrmSelLang* chooser = main->languageChooser();
    expectFits(chooser, "language chooser");
    ASSERT_NE(chooser, nullptr);
    chooser->list()->setCurrentIndex(
        chooser->list()->findText(QString::fromStdString(lang()), Qt::MatchStartsWith));
    chooser->okButton()->click();
    settle();
    ASSERT_TRUE(main->startupComplete());
    ASSERT_EQ(main->state().langCode, lang());
    expectFits(main.get(), "main window");
  }

  template <typename T>
  T* shown() const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) return t;
    return nullptr;
  }
  // A menu command whose chooser opens; the line starting with `line` chosen and OK pressed.
  void chooseAfter(MenuItem command, const QString& line, const std::string& what) {
    main->runCommand(command);
    settle();
    auto* chooser = shown<ListChooser>();
    expectFits(chooser, what);
    ASSERT_NE(chooser, nullptr);
    const auto found = chooser->list()->findItems(line, Qt::MatchStartsWith);
    ASSERT_FALSE(found.empty()) << what << ": " << line.toStdString();
    chooser->list()->setCurrentItem(found.front());
    ASSERT_TRUE(chooser->okButton()->isEnabled()) << what;
    chooser->okButton()->click();
    settle();
  }
  // A menu command whose window is only looked at, and closed.
  template <typename Window>
  void lookAt(MenuItem command, const std::string& what) {
    main->runCommand(command);
    settle();
    Window* window = shown<Window>();
    if constexpr (std::is_base_of_v<WizardWindow, Window>)
      expectWizardFits(window, what);
    else
      expectFits(window, what);
    if (window) window->close();
    settle();
  }
  // A menu command whose chooser only is looked at.
  void lookAtChooser(MenuItem command, const std::string& what) {
    main->runCommand(command);
    settle();
    auto* chooser = shown<ListChooser>();
    expectFits(chooser, what);
    if (!chooser) return;
    EXPECT_TRUE(chooser->cancelButton()->isEnabled()) << what;
    chooser->cancelButton()->click();
    settle();
  }

  // Next on every page of the database wizard up to its last, each page looked at.
  void walkDatabaseWizard(const std::string& what) {
    auto* wizard = shown<TfrmCreateDBRN>();
    ASSERT_NE(wizard, nullptr) << what;
    for (int guard = 0; guard < 10; ++guard) {
      expectWizardFits(wizard, what);
      const int step = wizard->currentStep();
      if (step == wizard->flow().stepCount()) break;
      wizard->nextButton()->click();
      settle();
      ASSERT_GT(wizard->currentStep(), step) << what << " " << lastMessage();
    }
  }
  void walkTaskWizard(const std::string& what) {
    for (int guard = 0; guard < 10 && step() < wizard()->flow().stepCount(); ++guard) {
      expectWizardFits(wizard(), what);
      const int was = step();
      next();
      ASSERT_GT(step(), was) << what << " " << lastMessage();
    }
    expectWizardFits(wizard(), what);
  }

  void expectViewerFits(QWidget* viewer, const std::string& what) {
    ASSERT_NE(viewer, nullptr) << what << " " << lastMessage();
    auto* sub = qobject_cast<QMdiSubWindow*>(viewer->parentWidget());
    ASSERT_NE(sub, nullptr) << what;
    EXPECT_TRUE(main->mdiArea()->viewport()->rect().contains(sub->geometry()))
        << what << ": " << sub->width() << "x" << sub->height() << " in "
        << main->mdiArea()->viewport()->width() << "x" << main->mdiArea()->viewport()->height();
    expectFits(main.get(), what);
  }
  QWidget* activeViewer() const {
    QMdiSubWindow* sub = main->mdiArea()->currentSubWindow();
    return sub ? sub->widget() : nullptr;
  }

  // Ten houses of the level-2 demo city, far apart.
  std::vector<Address> tenHouses() const {
    const DbrnFile db = demoCity(("002sys2_dbrn_" + lang() + ".dat").c_str());
    std::vector<Address> houses;
    for (int k = 0; k < 10; ++k) houses.push_back(singleLinkHouse(db, 17 * k));
    return houses;
  }
  // The first house numbers of open sections of nine streets, and a point on the first of
  // those streets with no number.
  std::vector<Address> tenPlaces() const {
    const DbrnFile db = demoCity(("001sys1_dbrn_" + lang() + ".dat").c_str());
    std::vector<Address> places;
    std::set<int32_t> streets;
    for (const TransitSectionRec& s : db.sections) {
      if (places.size() == 9) break;
      if (s.hasNonStdNumbering() || s.isClosed() || !streets.insert(s.streetIndex).second) continue;
      const StreetRec& street = db.streets.at(static_cast<size_t>(s.streetIndex));
      places.push_back({street.streetType, street.name, trimmed(s.houseFrom)});
    }
    places.push_back({places.front().type, places.front().street, "-"});
    return places;
  }
};

TEST_P(ScreenFit, EveryWindowAndPageFitsTheScreen) {
  startProgram();

  // The database wizard: a new database, one imported from the level-2 demo city through
  // every page, the level-1 demo city viewed, and the choosers.
  lookAt<TfrmCreateDBRN>(MenuItem::N10, "new database");

  main->runCommand(MenuItem::N11);
  settle();
  auto* dbWizard = shown<TfrmCreateDBRN>();
  ASSERT_NE(dbWizard, nullptr);
  auto* source = dbWizard->control<QComboBox>("cbImport");
  source->setCurrentIndex(source->findText("[002sys2]", Qt::MatchStartsWith));
  ASSERT_GT(source->currentIndex(), 0);
  EXPECT_TRUE(dbWizard->control("btnImport")->isEnabled());
  dbWizard->control<QPushButton>("btnImport")->click();
  settle();
  dbWizard->control<QLineEdit>("txtKod")->setText("003");
  dbWizard->control<QLineEdit>("txtName")->setText("Copy");
  walkDatabaseWizard("database by import");
  dbWizard->nextButton()->click();
  settle();
  ASSERT_EQ(shown<TfrmCreateDBRN>(), nullptr) << lastMessage();
  ASSERT_TRUE(fs::exists(dir / ("Dbrn/003use2_dbrn_" + lang() + ".dat")));

  chooseAfter(MenuItem::N12, "[003use2]", "database chooser to correct");
  walkDatabaseWizard("database corrected");
  shown<TfrmCreateDBRN>()->closeButton()->click();
  settle();
  chooseAfter(MenuItem::N13, "[001sys1]", "database chooser to view");
  walkDatabaseWizard("database viewed");
  shown<TfrmCreateDBRN>()->closeButton()->click();
  settle();
  lookAtChooser(MenuItem::Excel1, "database chooser to export");
  lookAtChooser(MenuItem::N14, "client addition");
  lookAtChooser(MenuItem::N15, "database chooser to delete");

  // A level-2 task of ten points with refusals and time windows, solved at once.
  main->runCommand(MenuItem::mnuInNewTask);
  settle();
  ASSERT_NE(wizard(), nullptr);
  expectWizardFits(wizard(), "new task");
  type("txtShifr", "TEN002");
  type("txtName", "Ten houses");
  choose("list_DBRN", "[002sys2]");
  next();
  ASSERT_EQ(step(), 2) << lastMessage();
  type("TS_num", "10");
  type("TS_last", "10");
  type("fine1", "1");
  control<QRadioButton>("ref_1")->click();
  control<QRadioButton>("tm_1")->click();
  expectWizardFits(wizard(), "new task");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  const std::vector<Address> houses = tenHouses();
  for (int r = 0; r < 10; ++r) enterAddress(r, houses[r], 2);
  messages->clear();
  expectWizardFits(wizard(), "new task");
  next();
  ASSERT_EQ(step(), 4) << lastMessage();
  type("txtDT", "30");
  walkTaskWizard("new task");
  EXPECT_TRUE(control<QRadioButton>("Order1")->isChecked());
  next();
  ASSERT_EQ(wizard(), nullptr) << lastMessage();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return main->isEnabled() && !main->state().protocol.empty() &&
               main->state().protocol[0].status == SolutionLoaded;
      },
      120000))
      << lastMessage();

  // Its viewers.
  chooseAfter(MenuItem::mnuInViewTask, "[TEN002]", "task chooser to view");
  expectViewerFits(qobject_cast<TfrmViewTask*>(activeViewer()), "task viewer");
  chooseAfter(MenuItem::mnuOutViewSolution, "[TEN002]", "task chooser to view a solution");
  expectViewerFits(qobject_cast<TfrmViewSolution*>(activeViewer()), "solution viewer");

  // A level-1 task of ten points with time windows, one of them on a street without a number,
  // saved.
  main->runCommand(MenuItem::mnuInNewTask);
  settle();
  ASSERT_NE(wizard(), nullptr);
  type("txtShifr", "TEN001");
  type("txtName", "Ten places");
  choose("list_DBRN", "[001sys1]");
  next();
  type("TS_num", "10");
  type("fine1", "1");
  control<QRadioButton>("tm_1")->click();
  next();
  ASSERT_EQ(step(), 3) << lastMessage();
  const std::vector<Address> places = tenPlaces();
  for (int r = 0; r < 10; ++r) enterAddress(r, places[r], 1);
  messages->clear();
  next();
  ASSERT_EQ(step(), 4) << lastMessage();
  type("txtDT", "30");
  expectWizardFits(wizard(), "level-1 task");
  next();
  ASSERT_EQ(step(), 5) << lastMessage();
  goTo("Table12", 0, t12::kMark);
  press("Table12", Qt::Key_Space);
  messages->clear();
  walkTaskWizard("level-1 task");
  control<QRadioButton>("Order2")->click();
  next();
  ASSERT_EQ(wizard(), nullptr) << lastMessage();

  chooseAfter(MenuItem::mnuInEditTask, "[TEN001]", "task chooser to correct");
  walkTaskWizard("task corrected");
  wizard()->closeButton()->click();
  settle();
  lookAt<TfrmCreateTaskWin>(MenuItem::mnuInNewTaskExportData, "task import");

  // The protocol window, the help windows and the optimiser's steps.
  lookAt<TfrmProtocolWin>(MenuItem::mnuOutViewProtocol, "protocol window");
  for (const MenuItem help : {MenuItem::N101, MenuItem::N102, MenuItem::N103})
    lookAt<TfrmHelp>(help, "help page " + std::to_string(static_cast<int>(help)));
  main->runCommand(MenuItem::Optim);
  settle();
  auto* optimiser = shown<TForm1>();
  expectFits(optimiser, "optimiser: mode");
  ASSERT_NE(optimiser, nullptr);
  optimiser->findChild<QRadioButton*>("RB2")->click();
  optimiser->findChild<QPushButton*>("BNext1")->click();
  expectFits(optimiser, "optimiser: task code");
  optimiser->findChild<QLineEdit*>("MaskEdit1_3")->setText("TEN000");
  optimiser->findChild<QPushButton*>("BNext2")->click();
  expectFits(optimiser, "optimiser: no input");
  EXPECT_TRUE(optimiser->findChild<QPushButton*>("BEnd")->isEnabled());
  optimiser->close();
  settle();

  // The level-1 task solved in the optimiser's window, step by step.
  fs::copy_file(dir / "Data/qj_TEN001_in.dat", dir / "Solving/qj_TEN001_in.dat");
  main->runCommand(MenuItem::Optim);
  settle();
  optimiser = shown<TForm1>();
  ASSERT_NE(optimiser, nullptr);
  optimiser->findChild<QRadioButton*>("RB2")->click();
  optimiser->findChild<QPushButton*>("BNext1")->click();
  optimiser->findChild<QLineEdit*>("MaskEdit1_3")->setText("TEN001");
  optimiser->findChild<QPushButton*>("BNext2")->click();
  ASSERT_EQ(optimiser->step(), TForm1::Step::Parameters);
  expectFits(optimiser, "optimiser: parameters");
  optimiser->findChild<QPushButton*>("BNext3")->click();
  ASSERT_EQ(optimiser->step(), TForm1::Step::Summary);
  expectFits(optimiser, "optimiser: summary");
  optimiser->findChild<QPushButton*>("BStart")->click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !optimiser->running(); }, 120000));
  settle();
  expectFits(optimiser, "optimiser: run done");
  for (const char* button : {"BStart", "BReset", "BEnd"})
    EXPECT_TRUE(optimiser->findChild<QPushButton*>(button)->isEnabled()) << button;
  optimiser->close();
  settle();
}

INSTANTIATE_TEST_SUITE_P(Shells, ScreenFit, ::testing::Values("eng", "rus"));

}  // namespace
}  // namespace qj::ui
