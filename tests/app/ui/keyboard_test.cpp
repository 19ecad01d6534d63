// The program from the keyboard alone, in both shipped languages: the main menu by F10 and its
// access keys, the buttons of every window by theirs, the wizards' tab order page by page, and a
// whole level-1 task entered from the main menu and handed to the optimiser. Keys are sent to
// whatever holds the keyboard (the open menu, else the focused control), as a keyboard does.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRadioButton>
#include <QTest>
#include <algorithm>
#include <map>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "dbrn/ui/UCreateDBRN.h"
#include "dbrn/wizard_state.h"
#include "frame/ui/list_chooser.h"
#include "platform/files.h"
#include "platform/ui/qt_text.h"
#include "platform/ui/radio_groups.h"
#include "records/protocol_file.h"
#include "records/text.h"
#include "support/access_key_clashes.h"
#include "support/ui/main_window_fixture.h"
#include "task/points_step.h"
#include "task/ui/UCreateTaskWin.h"
#include "text/access_keys.h"
#include "wizard/ui/grid_view.h"
#include "wizard/ui/wizard_window.h"

namespace qj::ui {
namespace {

using test::settle;

std::string nameOf(const QWidget* w) {
  return w ? w->objectName().toStdString() : std::string("nothing");
}

// What holds the keyboard: the open menu, else the focused control of the window in front.
QWidget* keyboard() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  // The window manager gives the keyboard to the window that opened last.
  if (QWidget* modal = QApplication::activeModalWidget();
      modal && QGuiApplication::focusWindow() != modal->windowHandle()) {
    modal->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(modal)) << nameOf(modal);
  }
  if (QWidget* focus = QApplication::focusWidget()) return focus;
  return QApplication::activeWindow();
}

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* target = keyboard();
  ASSERT_NE(target, nullptr) << key;
  QTest::keyClick(target, key, modifiers);
  settle();
}

void type(const QString& text) {
  QTest::keyClicks(keyboard(), text);
  settle();
}

// The key a caption underlines, pressed as a user reads it: alone in an open menu, with Alt
// elsewhere.
void pressAccessKey(const QString& caption, Qt::KeyboardModifiers modifiers = Qt::AltModifier) {
  const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
  ASSERT_FALSE(mnemonic.isEmpty()) << caption.toStdString();
  const Qt::Key key = mnemonic[0].key();
  QTest::sendKeyEvent(QTest::Click, keyboard(), key, QString(QChar(key)).toLower(), modifiers);
  // A button shows itself pressed for a moment before it acts.
  QTest::qWait(modifiers ? 150 : 0);
  settle();
}

void closeMenus() {
  for (int guard = 0; QApplication::activePopupWidget() && guard < 5; ++guard)
    press(Qt::Key_Escape);
}

// The control that holds the focus, a grid's cell editor counted as its grid.
QWidget* focused() {
  QWidget* focus = QApplication::focusWidget();
  for (QWidget* w = focus; w; w = w->parentWidget())
    if (qobject_cast<GridView*>(w)) return w;
  return focus;
}

std::vector<std::string> captions(const std::vector<QAbstractButton*>& buttons) {
  std::vector<std::string> out;
  for (const QAbstractButton* b : buttons) out.push_back(fromQt(b->text()));
  return out;
}

// The places Tab stops at on a wizard's page: its visible, enabled controls that take the focus
// by Tab, a group of radio buttons counted once (as the group it belongs to).
const QObject* tabStopOf(QWidget* w) {
  if (auto* radio = qobject_cast<QRadioButton*>(w))
    return radio->group() ? static_cast<const QObject*>(radio->group()) : radio->parentWidget();
  return w;
}
std::set<const QObject*> tabStops(const WizardWindow& wizard, const QWidget* page) {
  std::set<const QObject*> stops;
  for (QWidget* w : page->findChildren<QWidget*>()) {
    bool inGrid = false;
    for (QWidget* p = w->parentWidget(); p && p != page; p = p->parentWidget())
      inGrid = inGrid || qobject_cast<GridView*>(p);
    if (!inGrid && w->isVisibleTo(&wizard) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus))
      stops.insert(tabStopOf(w));
  }
  return stops;
}

QRect placeOf(const QWidget* w) {
  return QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size());
}

// From Cancel, Tab runs through every field of the page once (Ctrl+Tab out of a grid), in the
// order they stand (down a column, then on to the column at its right), then Next, then Back
// while it is enabled, then Cancel.
void expectTabOrder(WizardWindow& wizard) {
  SCOPED_TRACE("step " + std::to_string(wizard.currentStep()));
  const std::set<const QObject*> expected = tabStops(wizard, wizard.page(wizard.currentStep()));
  wizard.closeButton()->setFocus(Qt::TabFocusReason);
  std::set<const QObject*> seen;
  std::string order;
  press(Qt::Key_Tab);
  const QWidget* previous = nullptr;
  for (int guard = 0; focused() != wizard.nextButton() && guard < 40; ++guard) {
    order += nameOf(focused()) + " ";
    EXPECT_TRUE(seen.insert(tabStopOf(focused())).second) << order;
    // A group of radio buttons is entered on its checked button.
    if (auto* radio = qobject_cast<QRadioButton*>(focused())) {
      const QList<QAbstractButton*> group = radioGroupOf(radio);
      EXPECT_TRUE(radio->isChecked() ||
                  std::none_of(group.begin(), group.end(), [](auto* b) { return b->isChecked(); }))
          << order;
    }
    if (previous) {
      const QRect before = placeOf(previous), here = placeOf(focused());
      EXPECT_TRUE(here.top() >= before.top() || here.left() >= before.right()) << order;
    }
    previous = focused();
    press(Qt::Key_Tab, qobject_cast<GridView*>(focused()) ? Qt::ControlModifier : Qt::NoModifier);
  }
  EXPECT_EQ(seen, expected) << order;
  std::vector<QWidget*> after;
  for (int i = 0; i < 3 && focused() != wizard.closeButton(); ++i) {
    press(Qt::Key_Tab);
    after.push_back(focused());
  }
  std::vector<QWidget*> buttons = {wizard.prevButton(), wizard.closeButton()};
  if (!wizard.prevButton()->isEnabled()) buttons.erase(buttons.begin());
  EXPECT_EQ(after, buttons) << order;
}

// A group of radio buttons is one stop of the tab order, entered on its checked button (its
// first usable one while none is checked); the arrows check the next or the previous usable
// button, round the group. A group is a button group, or the radio buttons of one parent.
TEST(RadioGroups, AreOneTabStopEnteredOnTheCheckedButtonWhereTheArrowsCheck) {
  QWidget window;
  auto* box = new QWidget(&window);
  auto* first = new QLineEdit(&window);
  auto* grouped = new QButtonGroup(&window);
  QRadioButton *a[3], *b[2];
  for (QRadioButton*& r : a) grouped->addButton(r = new QRadioButton(&window));
  for (QRadioButton*& r : b) r = new QRadioButton(box);
  auto* last = new QLineEdit(&window);
  a[1]->setEnabled(false);
  a[2]->setChecked(true);
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  first->setFocus();
  const std::tuple<Qt::Key, QWidget*, bool> walk[] = {
      {Qt::Key_Tab, a[2], true},     {Qt::Key_Down, a[0], true},
      {Qt::Key_Down, a[2], true},    {Qt::Key_Up, a[0], true},
      {Qt::Key_Tab, b[0], false},    {Qt::Key_Right, b[1], true},
      {Qt::Key_Left, b[0], true},    {Qt::Key_Right, b[1], true},
      {Qt::Key_Tab, last, false},    {Qt::Key_Backtab, b[1], true},
      {Qt::Key_Backtab, a[0], true}, {Qt::Key_Backtab, first, false}};
  int step = 0;
  for (const auto& [key, focus, checked] : walk) {
    ++step;
    QTest::keyClick(QApplication::focusWidget(), key,
                    key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(QApplication::focusWidget(), focus) << step;
    EXPECT_EQ(qobject_cast<QRadioButton*>(focus) && focus->property("checked").toBool(), checked)
        << step;
  }
}

class Keyboard : public test::MainWindowTest, public ::testing::WithParamInterface<std::string> {
 protected:
  void start(WindowFactory windows = programWindows()) {
    startShipped(GetParam(), std::move(windows));
    main->show();
    QApplication::setActiveWindow(main.get());
    settle();
  }
  // A window that a command opened, in front of the main window.
  template <typename W = QWidget>
  W* front() const {
    return qobject_cast<W*>(QApplication::activeModalWidget());
  }
  QString caption(const Text& text) const { return toQt(text.resolve(main->texts())); }
  std::string lastMessage() const {
    return messages->shown.empty() ? std::string() : messages->last().text;
  }
};

INSTANTIATE_TEST_SUITE_P(Shells, Keyboard, ::testing::Values("eng", "rus"));

// F10 opens the first menu; Alt and a title's underlined letter open its menu, whose items
// mark letters of their own, and a letter pressed in the open menu runs its item. Each menu's
// keys and the titles' keys are unique, in both shells.
TEST_P(Keyboard, TheMainMenuOpensWithF10AndItsAccessKeys) {
  start();
  press(Qt::Key_F10);
  EXPECT_EQ(QApplication::activePopupWidget(), main->menu(MenuItem::mnuIn));
  closeMenus();

  std::vector<std::string> titles;
  for (const MenuItem item : allMenuItems()) {
    if (!isTopMenu(item)) continue;
    const QString title = main->action(item)->text();
    titles.push_back(fromQt(title));
    closeMenus();
    pressAccessKey(title);
    EXPECT_EQ(QApplication::activePopupWidget(), main->menu(item)) << title.toStdString();
    std::vector<std::string> items;
    for (const QAction* a : main->menu(item)->actions())
      if (!a->isSeparator()) items.push_back(fromQt(a->text()));
    EXPECT_EQ(test::clashingAccessKeys(items), std::vector<std::string>{}) << title.toStdString();
  }
  closeMenus();
  EXPECT_EQ(test::clashingAccessKeys(titles), std::vector<std::string>{});

  // Control, then Task protocol by their letters; the window's Close by its own.
  pressAccessKey(main->action(MenuItem::mnuControl)->text());
  pressAccessKey(main->action(MenuItem::mnuOutViewProtocol)->text(), Qt::NoModifier);
  QPointer<QWidget> protocol = front();
  ASSERT_TRUE(protocol);
  EXPECT_FALSE(main->isEnabled());
  pressAccessKey(caption(shell(196).withAccessKeys()));
  EXPECT_FALSE(protocol);
  EXPECT_TRUE(main->isEnabled());
}

// Escape closes every chooser as Cancel does: the window goes and the main window takes input.
TEST_P(Keyboard, EscapeClosesEveryChooser) {
  start();
  for (const MenuItem item :
       {MenuItem::mnuInEditTask, MenuItem::mnuInViewTask, MenuItem::mnuOutViewSolution,
        MenuItem::N12, MenuItem::N13, MenuItem::Excel1, MenuItem::N14, MenuItem::N15}) {
    main->runCommand(item);
    settle();
    QPointer<ListChooser> chooser = front<ListChooser>();
    ASSERT_TRUE(chooser) << static_cast<int>(item);
    press(Qt::Key_Escape);
    EXPECT_FALSE(chooser) << static_cast<int>(item);
    EXPECT_TRUE(main->isEnabled()) << static_cast<int>(item);
  }
}

// Every operation window's buttons and every wizard page's buttons with Back, Next (Finish) and
// Cancel mark access keys, unique within their window; a default button is Enter's and may go
// without one.
TEST_P(Keyboard, EveryWindowsButtonsHaveAccessKeysOfTheirOwn) {
  start();
  for (const MenuItem item :
       {MenuItem::mnuInNewTaskExportData, MenuItem::N11, MenuItem::mnuInEditTask,
        MenuItem::mnuOutViewProtocol, MenuItem::Optim, MenuItem::N12, MenuItem::N14}) {
    main->runCommand(item);
    settle();
    QWidget* window = front();
    ASSERT_NE(window, nullptr) << static_cast<int>(item);
    SCOPED_TRACE(window->objectName().toStdString());
    if (auto* wizard = qobject_cast<WizardWindow*>(window)) {
      for (int step = 1; wizard->page(step); ++step) {
        std::vector<QAbstractButton*> buttons = {wizard->prevButton(), wizard->nextButton(),
                                                 wizard->closeButton()};
        for (QPushButton* b : wizard->page(step)->findChildren<QPushButton*>())
          buttons.push_back(b);
        std::vector<std::string> texts = captions(buttons);
        texts.push_back(fromQt(caption(shell(129).withAccessKeys())));  // Next on the last step
        EXPECT_EQ(test::clashingAccessKeys(texts), std::vector<std::string>{}) << "step " << step;
      }
    } else {
      std::vector<QAbstractButton*> buttons;
      for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->isVisibleTo(window) &&
            !(b->isDefault() && QKeySequence::mnemonic(b->text()).isEmpty()))
          buttons.push_back(b);
      EXPECT_FALSE(buttons.empty());
      EXPECT_EQ(test::clashingAccessKeys(captions(buttons)), std::vector<std::string>{});
    }
    window->close();
    settle();
  }
}

// On every page of the database wizard (a user database corrected from the first page to the
// last) Tab runs through the page's fields, then Next, Back and Cancel.
TEST_P(Keyboard, TheDatabaseWizardTabsThroughTheFieldsThenNextBackCancel) {
  DbrnFile db = *readDbrnFile(std::filesystem::path(QJ_PROGRAM_DIR) /
                              ("Dbrn/002sys2_dbrn_" + GetParam() + ".dat"))
                     .db;
  db.header.dbCode = "321";
  db.header.dbKind = "use2";
  std::filesystem::create_directories(dir / "Dbrn");
  writeFileAtomic(dir / ("Dbrn/321use2_dbrn_" + GetParam() + ".dat"), writeDbrn(db));
  start();
  main->runCommand(MenuItem::N12);
  settle();
  ASSERT_NE(front(), nullptr);
  type("[321");  // the chooser's list finds the line as it is typed
  press(Qt::Key_Return);
  auto* wizard = front<TfrmCreateDBRN>();
  ASSERT_NE(wizard, nullptr);
  // Finish's access key is bound on the last page only: elsewhere Alt with its letter is a
  // command that nothing takes, and no edit or cell takes it as typing.
  const QString finish = caption(shell(129).withAccessKeys());
  const GridTable& houses = wizard->state().table4;
  for (int step = 1; step <= kDbrnSteps; ++step) {
    ASSERT_EQ(wizard->currentStep(), step) << lastMessage();
    expectTabOrder(*wizard);
    if (step == 1) {
      auto* name = wizard->control<QLineEdit>("txtName");
      name->setFocus(Qt::TabFocusReason);
      const QString before = name->text();
      pressAccessKey(finish);
      EXPECT_EQ(name->text(), before);
    }
    if (step == 7) {
      for (int guard = 0; nameOf(focused()) != "Table4" && guard < 30; ++guard) press(Qt::Key_Tab);
      auto* grid = wizard->control<GridView>("Table4");
      ASSERT_EQ(focused(), grid);
      const int row = grid->currentRow();
      const auto cells = [&] {
        std::vector<std::string> out;
        for (int c = 0; c < houses.columns(); ++c) out.push_back(houses.cell(row, c));
        return out;
      };
      const std::vector<std::string> before = cells();
      // Over to the next cell and back: the house number's editor opens, its text selected.
      press(Qt::Key_Right);
      press(Qt::Key_Left);
      ASSERT_EQ(grid->currentTableColumn(), houseCol::kHouseNo);
      ASSERT_TRUE(qobject_cast<QLineEdit*>(keyboard()));
      pressAccessKey(finish);
      press(Qt::Key_Return);
      EXPECT_EQ(cells(), before);
      EXPECT_EQ(wizard->currentStep(), step);
    }
    if (step < kDbrnSteps) pressAccessKey(wizard->nextButton()->text());
  }
}

// A place of the demo city for a target point: its street type's short name, its street and
// the first house number of one of the street's open sections with standard numbering (only
// that section's numbering holds it), or "-" for no number.
struct Address {
  std::string type, street, house;
};

// Two houses on one street, and a third point on another street without a number, whose
// section the user marks among the street's sections.

std::vector<Address> threeAddresses(const DbrnFile& db) {
  std::map<int, std::vector<const TransitSectionRec*>> sections;  // by street
  for (const TransitSectionRec& s : db.sections)
    if (!s.hasNonStdNumbering() && !s.isClosed() && !trimmed(s.houseFrom).empty())
      sections[s.streetIndex].push_back(&s);
  const auto address = [&](const TransitSectionRec* s) {
    const StreetRec& street = db.streets.at(s->streetIndex);
    return Address{trimmed(street.streetType), trimmed(street.name), trimmed(s->houseFrom)};
  };
  std::vector<Address> out;
  for (const auto& [street, list] : sections) {
    if (out.empty() && list.size() >= 4) {
      out.push_back(address(list[0]));
      out.push_back(address(list[3]));
    } else if (out.size() == 2 && list.size() >= 2) {
      out.push_back(address(list[0]));
      out.back().house = "-";
      break;
    }
  }
  return out;
}

class KeyboardTask : public Keyboard {
 protected:
  TfrmCreateTaskWin* wizard() const { return front<TfrmCreateTaskWin>(); }
  int step() const { return wizard() ? wizard()->currentStep() : 0; }
  // Tab until the control with this name has the focus.
  void tabTo(const char* name) {
    for (int guard = 0; nameOf(focused()) != name && guard < 30; ++guard) press(Qt::Key_Tab);
    ASSERT_EQ(nameOf(focused()), name);
  }
  // The access key of Next (Finish on the last step).
  void next() {
    ASSERT_NE(wizard(), nullptr);
    pressAccessKey(wizard()->nextButton()->text());
  }
  // Steps a picker with its grid keys until it shows the wanted item (its text, or its short
  // name in brackets), as a user watching it does.
  void stepPicker(const char* list, const std::string& wanted, Qt::Key previous,
                  Qt::Key following) {
    auto* box = wizard()->control<QComboBox>(list);
    ASSERT_NE(box, nullptr);
    int target = -1;
    for (int i = 0; i < box->count() && target < 0; ++i)
      if (box->itemText(i) == toQt(wanted) || box->itemText(i).endsWith("(" + toQt(wanted) + ")"))
        target = i;
    ASSERT_GE(target, 0) << wanted;
    for (int guard = 0; box->currentIndex() != target && guard < 300; ++guard)
      press(box->currentIndex() < target ? following : previous, Qt::ControlModifier);
    ASSERT_EQ(box->currentIndex(), target) << wanted;
  }
  // From the type cell of a row of Table1: type and street picked with Ctrl+A/S and Ctrl+Q/W,
  // entered with the SpaceBar, the house number typed in the next cell that takes typing.
  void enterAddress(const Address& a) {
    stepPicker("List", a.type, Qt::Key_A, Qt::Key_S);
    stepPicker("List1", a.street, Qt::Key_Q, Qt::Key_W);
    press(Qt::Key_Space);
    press(Qt::Key_Tab);
    type(toQt(a.house));
    press(Qt::Key_Return);
  }
};

INSTANTIATE_TEST_SUITE_P(Shells, KeyboardTask, ::testing::Values("eng", "rus"));

// A level-1 task with refusals, entered by keys alone from F10 to Finish and handed to the
// optimiser with the last page's solve-now option; on every page Tab runs through the fields,
// then Next, Back and Cancel. The optimiser solves it and loads its solution.
TEST_P(KeyboardTask, ALevelOneTaskFromTheMenuToTheOptimiser) {
  const std::vector<Address> points =
      threeAddresses(*readDbrnFile(std::filesystem::path(QJ_PROGRAM_DIR) /
                                   ("Dbrn/001sys1_dbrn_" + GetParam() + ".dat"))
                          .db);
  ASSERT_EQ(points.size(), 3u);
  start();
  press(Qt::Key_F10);
  pressAccessKey(main->action(MenuItem::mnuInNewTask)->text(), Qt::NoModifier);
  ASSERT_NE(wizard(), nullptr);
  const TaskWizardState& s = wizard()->state();

  // Page 1: the code, the name, the database chosen with the arrows; Tab from the list is on
  // Next, and the SpaceBar goes on.
  EXPECT_EQ(nameOf(focused()), "txtShifr");
  type("key001");
  press(Qt::Key_Tab);
  type("By keys");
  press(Qt::Key_Tab);
  auto* databases = wizard()->control<QComboBox>("list_DBRN");
  for (int guard = 0; !databases->currentText().startsWith("[001sys1]") && guard < 10; ++guard)
    press(Qt::Key_Down);
  expectTabOrder(*wizard());
  tabTo("list_DBRN");
  press(Qt::Key_Tab);
  EXPECT_EQ(focused(), wizard()->nextButton());
  press(Qt::Key_Space);
  ASSERT_EQ(step(), 2) << lastMessage();

  // Page 2: three points, a fine per kilometre, refusals allowed.
  expectTabOrder(*wizard());
  tabTo("TS_num");
  type("3");
  tabTo("fine1");
  type("1");
  for (int guard = 0; nameOf(focused()) != "ref_1" && nameOf(focused()) != "ref_2" && guard < 20;
       ++guard)
    press(Qt::Key_Tab);
  // Entered on its checked button, the group checks the one before with Up.
  EXPECT_EQ(nameOf(focused()), "ref_2");
  press(Qt::Key_Up);
  EXPECT_EQ(nameOf(focused()), "ref_1");
  press(Qt::Key_Space);
  EXPECT_TRUE(wizard()->control<QRadioButton>("ref_1")->isChecked());
  next();
  ASSERT_EQ(step(), 3) << lastMessage();

  // Page 3: the addresses from the pickers into the grid.
  expectTabOrder(*wizard());
  tabTo("Table1");
  for (int row = 0; row < 3; ++row) {
    const auto* grid = wizard()->control<GridView>("Table1");
    ASSERT_EQ(std::pair(grid->currentRow(), grid->currentTableColumn()), std::pair(row, t1::kType));
    enterAddress(points[row]);
    EXPECT_EQ(trimmed(s.table1.cell(row, t1::kStreet)), points[row].street);
    EXPECT_EQ(s.table1.cell(row, t1::kHouse), points[row].house);
    // Down to the next row, and left over the street to its type: Shift+Tab and Tab pass over
    // the cells that take no typing.
    press(Qt::Key_Down);
    const auto* cells = wizard()->control<GridView>("Table1");
    if (row < 2) {
      press(Qt::Key_Backtab, Qt::ShiftModifier);
      EXPECT_EQ(std::pair(cells->currentRow(), cells->currentTableColumn()),
                std::pair(row, t1::kPenalty));
      press(Qt::Key_Tab);
      EXPECT_EQ(std::pair(cells->currentRow(), cells->currentTableColumn()),
                std::pair(row + 1, t1::kHouse));
    }
    press(Qt::Key_Left);
    press(Qt::Key_Left);
  }
  // The arrows walk the cells: Right from the type cell over the street, house and service
  // cells to the penalty cell, whose text what is typed replaces; Left walks the caret to the
  // text's start and on to the service cell, the typed penalty kept. Tab into the penalty
  // cell and Left go back to the service cell, whose text what is typed replaces.
  {
    const auto* grid = wizard()->control<GridView>("Table1");
    const int row = grid->currentRow();
    const std::string house = s.table1.cell(row, t1::kHouse);
    for (int i = 0; i < 4; ++i) press(Qt::Key_Right);
    EXPECT_EQ(grid->currentTableColumn(), t1::kPenalty);
    type("2,5");
    for (int i = 0; i < 4; ++i) press(Qt::Key_Left);
    EXPECT_EQ(grid->currentTableColumn(), t1::kService);
    type("5");
    press(Qt::Key_Tab);
    press(Qt::Key_Left);
    type("4");
    press(Qt::Key_Return);
    const std::string sep(1, main->state().decSep);
    EXPECT_EQ(s.table1.cell(row, t1::kPenalty), "2" + sep + "5");
    EXPECT_EQ(s.table1.cell(row, t1::kService), "4");
    EXPECT_EQ(s.table1.cell(row, t1::kHouse), house);
    for (int i = 0; i < 3; ++i) press(Qt::Key_Left);
    EXPECT_EQ(grid->currentTableColumn(), t1::kType);
  }
  next();

  // Page 4: the point options as proposed (no point refused).
  ASSERT_EQ(step(), 4) << lastMessage();
  expectTabOrder(*wizard());
  next();

  // Page 5: the third point's section marked with the SpaceBar in the mark column.
  ASSERT_EQ(step(), 5) << lastMessage();
  expectTabOrder(*wizard());
  tabTo("Table12");
  const auto* choices = wizard()->control<GridView>("Table12");
  for (int guard = 0; choices->currentTableColumn() != t12::kMark && guard < 20; ++guard)
    press(Qt::Key_Right);
  ASSERT_EQ(std::pair(choices->currentRow(), choices->currentTableColumn()),
            std::pair(0, t12::kMark));
  press(Qt::Key_Space);
  EXPECT_FALSE(trimmed(s.table12.cell(0, t12::kMark)).empty());
  next();

  // The pages that follow keep what they propose; each is tabbed through first.
  for (int guard = 0; step() > 5 && step() < kTaskSteps && guard < 10; ++guard) {
    const int page = step();
    expectTabOrder(*wizard());
    next();
    ASSERT_GT(step(), page) << lastMessage();
  }
  ASSERT_EQ(step(), kTaskSteps) << lastMessage();
  expectTabOrder(*wizard());
  tabTo("Order1");
  press(Qt::Key_Space);
  EXPECT_TRUE(wizard()->control<QRadioButton>("Order1")->isChecked());
  // Tab on to Finish, which Enter presses as the SpaceBar would.
  for (int guard = 0; focused() != wizard()->nextButton() && guard < 10; ++guard)
    press(Qt::Key_Tab);
  ASSERT_EQ(focused(), wizard()->nextButton());
  press(Qt::Key_Return);
  EXPECT_EQ(wizard(), nullptr) << lastMessage();

  // The optimiser runs the handed-over task by itself and loads its solution.
  ASSERT_TRUE(waitForTheSolution()) << lastMessage();
  EXPECT_EQ(main->state().protocol[0].code, "KEY001");
}

}  // namespace
}  // namespace qj::ui
