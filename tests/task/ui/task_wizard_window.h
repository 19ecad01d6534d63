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
#include "dbrn/dbrn_io.h"
#include "frame/task_handover.h"
#include "platform/ui/qt_text.h"
#include "records/text.h"
#include "support/ui/main_window_fixture.h"
#include "task/points_step.h"
#include "task/ui/UCreateTaskWin.h"
#include "task/ui/wizard_page.h"

namespace qj::ui {

using test::settle;

// A place of the demo city for a target point.
struct Address {
  std::string type, street, house;
};

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

  DbrnFile demoCity(const char* file) const {
    DbrnRead read = readDbrnFile(dir / ("Dbrn/" + std::string(file)));
    EXPECT_TRUE(read.db) << file;
    return read.db ? *read.db : DbrnFile{};
  }

  // Level 1: the first house number of the n-th open section of a street with standard
  // numbering. Only that section's numbering holds it.
  static Address houseOfSection(const DbrnFile& db, const std::string& street, int n) {
    for (size_t k = 0; k < db.sections.size(); ++k) {
      const TransitSectionRec& s = db.sections[k];
      if (db.streets.at(s.streetIndex).name != street || s.hasNonStdNumbering() || s.isClosed())
        continue;
      if (n-- == 0) return {db.streets[s.streetIndex].streetType, street, trimmed(s.houseFrom)};
    }
    ADD_FAILURE() << street;
    return {};
  }

  // Level 2: the n-th house (in record order) that leaves its yard by one open section only,
  // on a street of its own type other than the streets already taken.
  static Address singleLinkHouse(const DbrnFile& db, int n) {
    for (const HouseRec& h : db.houses) {
      if (h.links.size() != 1 || h.yardNo != 0) continue;
      const TransitSectionRec& s = db.sections.at(h.links[0].sectionNo - 1);
      if (s.isClosed() || s.areReverseObjectsClosed()) continue;
      if (n-- == 0)
        return {db.streets.at(h.streetIndex).streetType, db.streets[h.streetIndex].name, h.houseNo};
    }
    ADD_FAILURE();
    return {};
  }

  // Steps a picker with its grid keys (previous / next) until it shows the wanted item.
  void stepPicker(const char* list, const QString& wanted, Qt::Key previous, Qt::Key following) {
    auto* box = control<QComboBox>(list);
    int target = -1;
    for (int i = 0; i < box->count() && target < 0; ++i)
      if (box->itemText(i) == wanted || box->itemText(i).endsWith("(" + wanted + ")")) target = i;
    ASSERT_GE(target, 0) << wanted.toStdString();
    for (int guard = 0; box->currentIndex() != target && guard < 200; ++guard)
      press("Table1", box->currentIndex() < target ? following : previous, Qt::ControlModifier);
    ASSERT_EQ(box->currentIndex(), target) << wanted.toStdString();
  }

  // The address entered into a row of Table1 from the pickers, as a user enters it: a click on
  // the row, type and street with Ctrl+A/S and Ctrl+Q/W, the house picked from its list
  // (levels 2 and 3), the SpaceBar, and at level 1 the house number typed.
  void enterAddress(int row, const Address& a, int level) {
    goTo("Table1", row, t1::kType);
    stepPicker("List", toQt(a.type), Qt::Key_A, Qt::Key_S);
    stepPicker("List1", toQt(a.street), Qt::Key_Q, Qt::Key_W);
    if (level >= 2) {
      auto* houses = control<QComboBox>("List2");
      const int house = houses->findText(toQt(a.house));
      ASSERT_GE(house, 0) << a.house;
      houses->setCurrentIndex(house);  // as the user chooses it
      emit houses->activated(house);
    }
    press("Table1", Qt::Key_Space);
    const TaskWizardState& s = wizard()->state();
    EXPECT_EQ(trimmed(s.table1.cell(row, t1::kType)), a.type);
    EXPECT_EQ(trimmed(s.table1.cell(row, t1::kStreet)), a.street);
    if (level == 1) typeInCell("Table1", row, t1::kHouse, toQt(a.house));
    EXPECT_EQ(s.table1.cell(row, t1::kHouse), a.house);
  }

  WindowFactory windows;
  std::string optimiserFor;
  std::string chosenTask;
};

}  // namespace qj::ui
