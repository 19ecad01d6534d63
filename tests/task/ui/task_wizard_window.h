#pragma once
// The task wizard opened from a real main window over a program folder with the demo
// databases of the build and a shell whose texts name their indices, and the moves of a user:
// typing into edits and grid cells, choosing list items, pressing keys in the grids, Next and
// Back.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimer>

#include "app/program_windows.h"
#include "frame/task_handover.h"
#include "platform/ui/qt_text.h"
#include "support/ui/main_window_fixture.h"
#include "task/ui/UCreateTaskWin.h"
#include "task/ui/wizard_page.h"

namespace qj::ui {

using test::settle;

// A program folder with the demo databases of the build and a shell whose texts name their
// indices; the main window opens the real task wizard.
class TaskWizardWindow : public test::MainWindowTest {
 protected:
  TaskWizardWindow() {
    std::filesystem::create_directories(dir / "Dbrn");
    for (const char* db : {"001sys1_dbrn_eng.dat", "002sys2_dbrn_eng.dat"})
      std::filesystem::copy_file(std::filesystem::path(QJ_PROGRAM_DIR) / "Dbrn" / db,
                                 dir / ("Dbrn/" + std::string(db)));
    windows = programWindows();
    windows.optimiser = [this](WindowHost& m) -> QWidget* {
      optimiserFor = m.state().solveAtOnce ? m.state().curTaskCode : "batch";
      return new QWidget;
    };
    // The task chooser hands the chosen task over to the wizard and closes.
    windows.taskChooser = [this](WindowHost& m) -> QWidget* {
      m.state().selectedPath = taskBasePath(m.state().dirs(), chosenTask);
      if (QWidget* wizard = m.windows().taskWizard(m)) m.openWindow(wizard);
      auto* chooser = new QWidget;
      QTimer::singleShot(0, chooser, &QWidget::close);
      return chooser;
    };
  }

  void start() {
    MainWindowTest::start({}, windows);
    main->state().texts.shortTexts[2] = "none";
    main->state().decSep = ',';  // whatever the locale of the machine says
  }

  TfrmCreateTaskWin* wizard() const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* wizard = qobject_cast<TfrmCreateTaskWin*>(w); wizard && wizard->isVisible())
        return wizard;
    return nullptr;
  }
  TfrmCreateTaskWin* open(MenuItem item) {
    main->runCommand(item);
    settle();
    return wizard();
  }

  template <typename T = QWidget>
  T* control(const char* name) const {
    T* c = wizard()->control<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  QLineEdit* edit(const char* name) const { return control<QLineEdit>(name); }
  // Types the text key by key into the emptied edit, as a user would.
  void type(const char* name, const QString& text) const {
    edit(name)->clear();
    for (const QChar c : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(edit(name), &press);
    }
  }
  void choose(const char* name, const QString& prefix) const {
    auto* list = control<QComboBox>(name);
    list->setCurrentIndex(list->findText(prefix, Qt::MatchStartsWith));
    ASSERT_GT(list->currentIndex(), 0) << prefix.toStdString();
  }
  // Next as a mouse click presses it: the button takes the focus first.
  void next() const {
    wizard()->nextButton()->setFocus();
    wizard()->nextButton()->click();
    settle();
  }
  void back() const {
    wizard()->prevButton()->click();
    settle();
  }
  int step() const { return wizard()->state().wizardStep; }
  std::string lastMessage() const {
    return messages->shown.empty() ? std::string() : messages->last().text;
  }
  std::string label(const char* name) const { return control<QLabel>(name)->text().toStdString(); }

  GridView* grid(const char* name) const { return control<GridView>(name); }
  // Makes a cell of a grid current, as a click on it would.
  void goTo(const char* gridName, int row, int tableColumn) const {
    test::goToCell(grid(gridName), row, tableColumn);
  }
  // Types the text into a cell in place of what it held and leaves the cell with Enter.
  void typeInCell(const char* gridName, int row, int tableColumn, const QString& text) const {
    test::typeIntoCell(grid(gridName), row, tableColumn, text);
  }
  // A key pressed in a grid: the open cell editor gets it first, as it has the focus.
  void press(const char* gridName, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
    test::pressInGrid(grid(gridName), key, modifiers);
  }

  // Page 1 filled for a new task on the level-1 demo city.
  void fillPageOne() {
    type("txtShifr", "abc123");
    type("txtName", "Deliveries");
    choose("list_DBRN", "[001sys1]");
  }

  WindowFactory windows;
  std::string optimiserFor;
  std::string chosenTask;
};

}  // namespace qj::ui
