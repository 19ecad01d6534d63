// A database created from the main menu as a user enters it, with the refusals on the way; a
// correction, a read-only view and a deletion through the chooser.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <thread>

#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "dbrn/ui/UCreateCliDB.h"
#include "dbrn/ui/dbrn_wizard_window.h"
#include "platform/files.h"

namespace qj::ui {
namespace {

namespace sc = sectionCol;

class CreateDbrnWin : public DbrnWizardWindow {
 protected:
  // A section row: its street picked in the lists and entered with the SpaceBar, the rest typed.
  void typeSection(int row, const QString& street, const char* from, const char* to,
                   const char* start, const char* end) {
    goTo("Table1", row, sc::kType);
    pick("List_1", "street");
    pick("List_2", street);
    press("Table1", Qt::Key_Space);
    typeInCell("Table1", row, sc::kFrom, from);
    typeInCell("Table1", row, sc::kTo, to);
    typeInCell("Table1", row, sc::kStart, start);
    typeInCell("Table1", row, sc::kEnd, end);
    typeInCell("Table1", row, sc::kLength, "1x20");  // the "x" alone is refused
  }
};

// A level-2 database through every page: a refused cell becomes current with its editor closed,
// Back and Next keep the typed rows, a used street type is locked, a speed of 0 focuses its cell
// while a repeated range leaves the focus where it was; the pickers and the grid keys enter the
// rest.
TEST_F(CreateDbrnWin, ALevelTwoDatabaseFromTheMenu) {
  start();
  open(MenuItem::N10);
  ASSERT_NE(wizard(), nullptr);
  EXPECT_FALSE(main->isEnabled());
  type("txtKod", "5x56");
  EXPECT_EQ(control<QLineEdit>("txtKod")->text(), "556");
  type("txtName", "Дома 测试 Houses");
  control<QRadioButton>("RBT2")->click();
  next();
  ASSERT_EQ(step(), 2) << lastMessage();

  const DbrnWizardState& s = wizard()->state();
  // Keys as typed, each to where the focus is: Ctrl+Ins leaves the row as typed and the keys
  // after it fill the new row.
  goTo("Table0", 0, typeCol::kFullName);
  keys("street\tst.");
  press("Table0", Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(grid("Table0")->indexWidget(grid("Table0")->currentIndex()), nullptr);
  keys("street\tnone");
  next();
  EXPECT_EQ(lastMessage(), "S149 1 S1 2 S189. S203.");
  for (int col : {typeCol::kFullName, typeCol::kShortName})
    EXPECT_EQ(s.table0.cell(0, col) + "|" + s.table0.cell(1, col),
              col == typeCol::kFullName ? "street|street" : "st.|none");
  // The refused cell is current with its editor closed and the focus: typing replaces its text.
  EXPECT_EQ(grid("Table0")->currentRow(), 1);
  EXPECT_EQ(grid("Table0")->currentTableColumn(), typeCol::kFullName);
  EXPECT_EQ(wizard()->focusWidget(), grid("Table0"));
  keys("road");
  back();
  EXPECT_EQ(s.table0.cell(1, typeCol::kFullName), "road");
  EXPECT_EQ(step(), 1);
  next();
  EXPECT_EQ(wizard()->state().table0.cell(1, typeCol::kShortName), "none");
  typeInCell("Table0", 1, typeCol::kFullName, "unnamed");
  next();
  ASSERT_EQ(step(), 3) << lastMessage();

  // The streets of the type "street", the type entered with the SpaceBar.
  pressAt("Table_0", 0, streetCol::kType, Qt::Key_Space);
  typeInCell("Table_0", 0, streetCol::kName, "Oak");
  typeInCell("Table_0", 0, streetCol::kHouses, "2");
  press("Table_0", Qt::Key_Insert, Qt::ControlModifier);
  typeInCell("Table_0", 1, streetCol::kName, "Elm");
  typeInCell("Table_0", 1, streetCol::kHouses, "1");
  back();
  ASSERT_EQ(step(), 2);
  goTo("Table0", 0, typeCol::kFullName);
  QTest::keyClick(grid("Table0"), Qt::Key_X);
  EXPECT_EQ(lastMessage(), "S639.");
  next();
  next();
  ASSERT_EQ(step(), 4) << lastMessage();

  typeSection(0, "Oak", "1", "9", "1", "2");
  press("Table1", Qt::Key_Insert, Qt::ControlModifier);
  typeSection(1, "Oak", "1", "9", "2", "1");
  typeInCell("Table1", 0, sc::kSpeed, "0");
  next();
  EXPECT_EQ(lastMessage(), "S1070 1.");
  const QWidget* focus = wizard()->focusWidget();
  EXPECT_TRUE(focus == grid("Table1") || grid("Table1")->isAncestorOf(focus));
  EXPECT_EQ(grid("Table1")->currentRow(), 0);
  EXPECT_EQ(grid("Table1")->currentTableColumn(), sc::kSpeed);
  typeInCell("Table1", 0, sc::kSpeed, "32.5");  // either separator key enters ","
  next();
  EXPECT_EQ(lastMessage(), "S157 1 S1 2 S192. S203.");
  EXPECT_EQ(wizard()->focusWidget(), wizard()->nextButton());
  typeSection(1, "Elm", "2", "10", "2", "1");
  // A mouse press on a typable cell opens its editor: the line above names that cell's section.
  const QModelIndex length =
      grid("Table1")->gridModel()->index(0, grid("Table1")->gridModel()->viewColumn(sc::kLength));
  QTest::mouseClick(grid("Table1")->viewport(), Qt::LeftButton, {},
                    grid("Table1")->visualRect(length).center());
  EXPECT_TRUE(control<QLabel>("Label_02")->text().startsWith("S156 1 "))
      << control<QLabel>("Label_02")->text().toStdString();
  messages->clear();
  next();
  ASSERT_EQ(step(), 5) << lastMessage();
  // Back keeps the cursor on its cell; the pickers show the street that the line above names.
  back();
  EXPECT_EQ(std::pair(grid("Table1")->currentRow(), grid("Table1")->currentTableColumn()),
            std::pair(0, sc::kLength));
  EXPECT_EQ(control<QComboBox>("List_2")->currentText(), "Oak");
  EXPECT_TRUE(control<QLabel>("Label_02")->text().startsWith("S156 1 "));
  next();
  ASSERT_EQ(step(), 5) << lastMessage();

  // From the end of section 1 on to node 1 (section 2).
  typeInCell("Table2", 0, turnCol::node(0), "1");
  pressAt("Table2", 0, turnCol::direction(0), Qt::Key_Space);
  EXPECT_EQ(s.table2.cell(0, turnCol::direction(0)), "^");
  // A turn that no section takes is refused at its node, the cell current and closed.
  typeInCell("Table2", 0, turnCol::node(1), "9");
  pressAt("Table2", 0, turnCol::direction(1), Qt::Key_Space);
  next();
  EXPECT_EQ(lastMessage(), "S361 2S128 1 (S775).");
  EXPECT_EQ(grid("Table2")->currentTableColumn(), turnCol::node(1));
  EXPECT_EQ(wizard()->focusWidget(), grid("Table2"));
  typeInCell("Table2", 0, turnCol::node(1), "");
  next();
  ASSERT_EQ(step(), 6) << lastMessage();
  pressAt("Table3", 1, accessCol::kPrevClosed, Qt::Key_Space);
  next();
  ASSERT_EQ(step(), 7) << lastMessage();
  ASSERT_EQ(s.table4.rows(), 3);  // Elm 1, Oak 2
  // Each house: its number, its section from the list with the SpaceBar, two distances.
  const char* numbers[] = {"2", "1", "3"};
  for (int r = 0; r < 3; ++r) {
    typeInCell("Table4", r, houseCol::kHouseNo, numbers[r]);
    goTo("Table4", r, houseCol::section(0));
    pick("List_42", r == 0 ? "Elm" : "Oak");
    press("Table4", Qt::Key_Space);
    typeInCell("Table4", r, houseCol::toExit(0), r == 0 ? "10" : "0");
    typeInCell("Table4", r, houseCol::exitToEnd(0), "30");
  }
  // A house without a yard is refused at its distance to the exit: the "0" typed after the
  // box goes there, the house number kept.
  next();
  EXPECT_EQ(lastMessage(), "S334 1S127 1.");
  EXPECT_EQ(std::pair(grid("Table4")->currentRow(), grid("Table4")->currentTableColumn()),
            std::pair(0, houseCol::toExit(0)));
  EXPECT_EQ(wizard()->focusWidget(), grid("Table4"));
  keys("0");
  press("Table4", Qt::Key_Return);
  EXPECT_EQ(s.table4.cell(0, houseCol::kHouseNo) + "|" + s.table4.cell(0, houseCol::toExit(0)),
            "2|0");
  messages->clear();
  next();
  ASSERT_EQ(step(), 8) << lastMessage();
  next();
  EXPECT_EQ(wizard(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  EXPECT_TRUE(messages->shown.empty()) << lastMessage();

  const DbrnRead read = readDbrnFile(dir / "Dbrn/556use2_dbrn_eng.dat");
  ASSERT_TRUE(read.db) << read.error.text;
  const DbrnFile& db = *read.db;
  EXPECT_EQ(db.header.dbName, cp1251::fromUtf8("Дома  Houses"));
  ASSERT_EQ(db.sections.size(), 2u);
  EXPECT_EQ(std::tuple(db.sections[0].length, db.sections[0].speed), std::tuple("120", "32,5"));
  EXPECT_EQ(db.sections[0].turns.size(), 1u);
  EXPECT_EQ(db.sections[1].prevObjectsClosed, "*");
  ASSERT_EQ(db.houses.size(), 3u);
  EXPECT_EQ(db.houses[2].houseNo, "3");
  EXPECT_EQ(db.houses[2].links[0].sectionNo, 1);
}

// A user database (the level-2 demo city under code 321) handed over by the chooser to the
// wizard, which holds the main window until it closes: the correction is written under the
// database's own name, with the stored values longer than their cells take by typing kept
// whole. Then deleted: No keeps it, Yes deletes it.
TEST_F(DbrnWizardWindow, AUserDatabaseCorrectedAndDeleted) {
  DbrnFile source = *readDbrnFile(dir / "Dbrn/002sys2_dbrn_eng.dat").db;
  source.header.dbCode = "321";
  source.header.dbKind = "use2";
  std::tie(source.sections[0].length, source.sections[0].speed) =
      std::tuple("12345.678", "35.12345");
  source.houses[0].links[0].distExitToEnd = 123456;
  writeFileAtomic(dir / "Dbrn/321use2_dbrn_eng.dat", writeDbrn(source));
  start();
  open(MenuItem::N12);
  chooseInChooser("321use2");
  EXPECT_EQ(chooser(), nullptr);
  ASSERT_NE(wizard(), nullptr);
  EXPECT_FALSE(main->isEnabled());
  EXPECT_FALSE(control<QLineEdit>("txtKod")->isEnabled());
  type("txtName", "Corrected");
  ASSERT_TRUE(nextToTheEnd()) << lastMessage();
  EXPECT_TRUE(main->isEnabled());
  const DbrnRead read = readDbrnFile(dir / "Dbrn/321use2_dbrn_eng.dat");
  ASSERT_TRUE(read.db) << read.error.text;
  EXPECT_EQ(read.db->header.dbName, "Corrected");
  EXPECT_EQ(read.db->sections, source.sections);
  EXPECT_EQ(read.db->houses, source.houses);

  for (const bool yes : {false, true}) {
    open(MenuItem::N15);
    messages->answers = {yes};
    chooseInChooser("321use2");
    EXPECT_EQ(chooser(), nullptr);
    EXPECT_EQ(messages->last().kind, MessageKind::Confirm);
    EXPECT_EQ(std::filesystem::exists(dir / "Dbrn/321use2_dbrn_eng.dat"), !yes);
    EXPECT_TRUE(main->isEnabled());
  }
}

// In view mode nothing is typed, no grid key changes a cell and nothing is written.
TEST_F(DbrnWizardWindow, ASystemDatabaseIsViewedReadOnly) {
  start();
  const std::string before = dir.read("Dbrn/002sys2_dbrn_eng.dat");
  open(MenuItem::N13);
  chooseInChooser("002sys2");
  ASSERT_NE(wizard(), nullptr);
  EXPECT_FALSE(control<QLineEdit>("txtName")->isEnabled());
  for (int page = 1; page < 4; ++page) next();
  ASSERT_EQ(step(), 4);
  // A key that moves the cursor moves the pickers to the street that the line above names.
  const GridTable& sections = wizard()->state().table1;
  const int last = sections.rows() - 1;
  const QString street = toQt(trim(sections.cell(last, sectionCol::kName)));
  ASSERT_NE(control<QComboBox>("List_2")->currentText().trimmed(), street);
  grid("Table1")->setCurrentIndex(grid("Table1")->gridModel()->index(last, 1));
  settle();
  EXPECT_EQ(control<QComboBox>("List_2")->currentText().trimmed(), street);
  EXPECT_TRUE(control<QLabel>("Label_02")->text().contains(street));
  next();
  back();
  EXPECT_EQ(grid("Table1")->currentRow(), last);
  EXPECT_EQ(control<QComboBox>("List_2")->currentText().trimmed(), street);
  EXPECT_TRUE(control<QLabel>("Label_02")->text().contains(street));
  const std::string closed = wizard()->state().table1.cell(0, sectionCol::kClosed);
  pressAt("Table1", 0, sectionCol::kClosed, Qt::Key_Space);
  EXPECT_EQ(wizard()->state().table1.cell(0, sectionCol::kClosed), closed);
  ASSERT_TRUE(nextToTheEnd()) << lastMessage();
  EXPECT_EQ(dir.read("Dbrn/002sys2_dbrn_eng.dat"), before);
}

// A step rewrites the sections grid's table on its worker thread while the window goes on
// asking the grid, as paints, resizes, tooltips, accessibility clients and editors do: no read
// reaches the table (under the sanitizers, none touches its freed rows) until the step has
// ended, and then the grid shows the rows the step left, its cursor where it was.
TEST_F(DbrnWizardWindow, NoGridReadsATableWhileAStepRewritesIt) {
  start();
  open(MenuItem::N13);
  chooseInChooser("002sys2");
  for (int page = 1; page < 4; ++page) next();
  ASSERT_EQ(step(), 4);
  GridView* view = grid("Table1");
  const QAbstractItemView* measures = view;  // as a resize to contents measures cells
  GridModel* model = view->gridModel();
  goTo("Table1", 2, sectionCol::kName);
  const int name = model->viewColumn(sectionCol::kName), rows = wizard()->state().table1.rows();
  const int widest = measures->sizeHintForColumn(name);
  const auto cell = [&](int r) { return model->index(r, name); };
  // Each read gives what it found in the cell, if anything.
  const std::function<QString(int)> reads[] = {
      [&](int r) { return cell(r).data().toString(); },
      [&](int r) {
        return QAccessible::queryAccessibleInterface(view)->tableInterface()->cellAt(r, name)->text(
            QAccessible::Name);
      },
      [&](int r) {
        const bool wider = measures->sizeHintForColumn(name) > widest;
        return wider || measures->sizeHintForRow(r) <= 0 ? QString("measured") : QString();
      },
      [&](int r) {
        QHelpEvent tip(QEvent::ToolTip, view->visualRect(cell(r)).center(), QPoint());
        QApplication::sendEvent(view->viewport(), &tip);
        view->resize(view->size() + QSize(0, 1));
        view->viewport()->grab();
        // An editor that loses the focus commits its text.
        const bool edited = model->setData(cell(r), QString("1"), Qt::EditRole) ||
                            (model->flags(cell(r)) & Qt::ItemIsEditable);
        return edited ? QString("edited") : QString();
      }};
  std::atomic<bool> written{false};
  std::atomic<int> rounds{0};
  QStringList seen;
  QTimer probe;
  QObject::connect(&probe, &QTimer::timeout, [&] {
    if (!written) return;
    for (const auto& read : reads)
      for (int r = 0; r < std::min(rows, 20); ++r)
        if (const QString text = read(r); !text.isEmpty()) seen << text;
    ++rounds;
  });
  probe.start(0);
  wizard()->runNext([&] {
    GridTable& table = wizard()->state().table1;
    for (int r = 0; r < rows; ++r) table.set(r, sectionCol::kName, std::string(40, 'W'));
    table.setRows(rows + 5);
    written = true;
    // The window asks while the step moves and rewrites rows.
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (int r = 0; rounds < 10 && std::chrono::steady_clock::now() < until; ++r) {
      table.insertRow(0);
      table.removeRow(0);
      table.set(r % rows, sectionCol::kName, r % 2 ? "W" : "");
    }
    return StepResult{};  // refused without a word: the page stays
  });
  probe.stop();
  EXPECT_GE(rounds, 10);
  EXPECT_TRUE(seen.empty()) << seen.join(", ").toStdString();
  EXPECT_EQ(view->verticalHeader()->count(), rows + 5);
  EXPECT_EQ(cell(rows - 1).data().toString(),
            toQt(wizard()->state().table1.cell(rows - 1, sectionCol::kName)));
  EXPECT_EQ(view->currentRow(), 2);
}

TEST_F(DbrnWizardWindow, AnEmptyCatalogueLeavesOnlyCancel) {
  std::filesystem::remove(dir / "Dbrn/001sys1_dbrn_eng.dat");
  std::filesystem::remove(dir / "Dbrn/002sys2_dbrn_eng.dat");
  start();
  open(MenuItem::N12);
  ASSERT_NE(chooser(), nullptr);
  EXPECT_FALSE(chooser()->okButton()->isEnabled());
  chooser()->cancelButton()->click();
  settle();
  EXPECT_EQ(chooser(), nullptr);
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(DbrnWizardWindow, ADatabaseDamagedAfterTheScanOpensNoWizardAndTheChooserStays) {
  start();
  open(MenuItem::N13);
  dir.write("Dbrn/001sys1_dbrn_eng.dat", dir.read("Dbrn/001sys1_dbrn_eng.dat").substr(0, 200));
  chooseInChooser("001sys1");
  EXPECT_EQ(wizard(), nullptr);
  ASSERT_NE(chooser(), nullptr);
  EXPECT_EQ(lastMessage().substr(0, 5), "S830 ");
}

// The client-addition dialog offers the level-2 system databases, writes the client addition of
// the chosen one and closes; asked again it refuses and stays open until cancelled.
TEST_F(DbrnWizardWindow, TheClientAdditionIsMadeOnce) {
  start();
  for (int round = 0; round < 2; ++round) {
    open(MenuItem::N14);
    QPointer<TfrmCreateCliDB> dialog = topLevel<TfrmCreateCliDB>();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(main->isEnabled());
    ASSERT_EQ(dialog->list()->count(), 1);  // the level-2 system database
    dialog->okButton()->click();
    settle();
    if (round == 0) {
      EXPECT_FALSE(dialog);
      EXPECT_TRUE(messages->shown.empty());
      const DbrnFile sys2 = *readDbrnFile(dir / "Dbrn/002sys2_dbrn_eng.dat").db;
      EXPECT_EQ(dir.read("Dbrn/002cli2_dbrn_eng.dat"), writeDbrn(clientAdditionOf(sys2)));
    } else {
      EXPECT_EQ(messages->texts(), std::vector<std::string>{"S705 \"002cli2_dbrn_eng.dat\", S31."});
      ASSERT_TRUE(dialog && dialog->isVisible());
      dialog->cancelButton()->click();
      settle();
      EXPECT_FALSE(dialog);
    }
    EXPECT_TRUE(main->isEnabled());
  }
}

}  // namespace
}  // namespace qj::ui
