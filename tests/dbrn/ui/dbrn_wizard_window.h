#pragma once
// The database wizard and chooser opened from a real main window over a program folder with
// the demo databases of the build, and the moves of a user: typing into edits and grid cells,
// choosing list items, pressing keys in the grids, Next and Back.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/program_windows.h"
#include "dbrn/ui/UCreateDBRN.h"
#include "dbrn/ui/USelectDBRN.h"
#include "frame/ui/UMainWin.h"
#include "platform/ui/qt_text.h"
#include "support/ui/main_window_fixture.h"
#include "wizard/ui/grid_view.h"

namespace qj::ui {

using test::settle;

class DbrnWizardWindow : public test::MainWindowTest {
 protected:
  DbrnWizardWindow() {
    std::filesystem::create_directories(dir / "Dbrn");
    for (const char* db : {"001sys1_dbrn_eng.dat", "002sys2_dbrn_eng.dat"})
      std::filesystem::copy_file(std::filesystem::path(QJ_PROGRAM_DIR) / "Dbrn" / db,
                                 dir / ("Dbrn/" + std::string(db)));
  }
  void start() {
    MainWindowTest::start({}, programWindows());
    ShellTables& texts = main->state().texts;
    texts.shortTexts[2] = "none";
    texts.shellTexts[697] = "street";
    main->state().decSep = ',';  // whatever the locale of the machine says
  }

  template <typename W>
  W* topLevel() const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* found = qobject_cast<W*>(w); found && found->isVisible()) return found;
    return nullptr;
  }
  TfrmCreateDBRN* wizard() const { return topLevel<TfrmCreateDBRN>(); }
  TfrmSelectDBRN* chooser() const { return topLevel<TfrmSelectDBRN>(); }

  void open(MenuItem item) const {
    main->runCommand(item);
    settle();
  }

  template <typename T = QWidget>
  T* control(const char* name) const {
    T* c = wizard()->control<T>(name);
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
  // Types the text key by key into the emptied edit, as a user would.
  void type(const char* name, const QString& text) const {
    control<QLineEdit>(name)->clear();
    test::typeKeys(control<QLineEdit>(name), text);
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
  // Next until the summary, then Next once more; true when the wizard closed.
  bool nextToTheEnd() const {
    for (int guard = 0; guard < 10 && wizard() && step() < kDbrnSteps; ++guard) next();
    if (!wizard() || step() != kDbrnSteps) return false;
    next();
    return wizard() == nullptr;
  }
  std::string lastMessage() const {
    return messages->shown.empty() ? std::string() : messages->last().text;
  }

  GridView* grid(const char* name) const { return control<GridView>(name); }
  // Makes a cell current, as a click on it would.
  void goTo(const char* gridName, int row, int tableColumn) const {
    test::goToCell(grid(gridName), row, tableColumn);
  }
  // Types the text into a cell in place of what it held and leaves the cell with Enter.
  void typeInCell(const char* gridName, int row, int tableColumn, const QString& text) const {
    test::typeIntoCell(grid(gridName), row, tableColumn, text);
  }
  // Keys typed to whatever has the focus, "\t" for Tab, as a user types on without looking.
  void keys(const QString& text) const {
    for (const QChar c : text) {
      if (c == '\t')
        QTest::keyClick(wizard()->focusWidget(), Qt::Key_Tab);
      else
        test::typeKeys(wizard()->focusWidget(), c);
      settle();
    }
  }
  // A key pressed in a grid: the open cell editor gets it first, as it has the focus.
  void press(const char* gridName, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) const {
    test::pressInGrid(grid(gridName), key, modifiers);
  }
  void pressAt(const char* gridName, int row, int tableColumn, Qt::Key key,
               Qt::KeyboardModifiers modifiers = {}) const {
    goTo(gridName, row, tableColumn);
    press(gridName, key, modifiers);
  }
  // A list item chosen by the user (the list reports it as the user's choice).
  void pick(const char* name, const QString& prefix) const {
    auto* list = control<QComboBox>(name);
    const int index = list->findText(prefix, Qt::MatchStartsWith);
    ASSERT_GE(index, 0) << name << " " << prefix.toStdString();
    list->setCurrentIndex(index);
    emit list->activated(index);
    settle();
  }

  // The chooser's OK on the database whose list line starts with "[key]".
  void chooseInChooser(const std::string& key) const {
    TfrmSelectDBRN* c = chooser();
    ASSERT_NE(c, nullptr);
    const auto items =
        c->list()->findItems(QString::fromStdString("[" + key + "]"), Qt::MatchStartsWith);
    ASSERT_EQ(items.size(), 1) << key;
    c->list()->setCurrentItem(items[0]);
    c->okButton()->click();
    settle();
  }
};

}  // namespace qj::ui
