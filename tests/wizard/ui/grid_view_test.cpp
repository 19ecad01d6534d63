#include "wizard/ui/grid_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "support/shell_fixture.h"

namespace qj::ui {
namespace {

// Column 0 is a fixed number column; the columns from 1 to `lastTypable` take decimals of up to
// 6 characters with the separator ".", the others nothing.
class DecimalRules : public GridRules {
 public:
  explicit DecimalRules(int lastTypable = 1) : lastTypable_(lastTypable) {}
  bool typable(const GridTable&, int, int col) const override {
    return col >= 1 && col <= lastTypable_;
  }
  FieldRule cellRule(const GridTable&, int, int) const override {
    return {KeyFilter::Decimal, 6, false, '.'};
  }

 private:
  int lastTypable_;
};

struct GridFixture : ::testing::Test {
  GridFixture() : table(4), model(table, &rules) {
    view.setShellTexts(shell);
    table.setRows(3);
    for (int r = 0; r < 3; ++r) table.set(r, 0, std::to_string(r + 1));
    model.setVisibleColumns({0, 1, 2});
    model.setFixedColumns(1);
    view.setGridModel(&model);
    view.resize(300, 200);
    view.show();
    QApplication::setActiveWindow(&view);
  }
  QLineEdit* openEditor(int row, int viewCol) {
    view.setCurrentIndex(model.index(row, viewCol));
    view.edit(model.index(row, viewCol));
    return qobject_cast<QLineEdit*>(view.indexWidget(model.index(row, viewCol)));
  }

  ShellTables shell = test::markedShell();
  DecimalRules rules;
  GridTable table;
  GridModel model;
  GridView view;
};

TEST_F(GridFixture, TypedAndPastedTextObeysTheRuleAndReachesTheTable) {
  QLineEdit* editor = openEditor(1, 1);
  ASSERT_NE(editor, nullptr);
  int edits = 0;
  QObject::connect(&model, &GridModel::cellEdited, [&](int row, int col) {
    EXPECT_EQ(std::pair(row, col), std::pair(1, 1));
    ++edits;
  });
  // The cell editor filters as the edits do: the refused "x" alone is dropped and the tip
  // under the cell names what it takes, the "," enters the separator, the limit stops typing.
  QTest::keyClicks(editor, "12x,5678");
  EXPECT_EQ(editor->text(), "12.567");
  auto* tip = view.findChild<QLabel*>("refusalTip");
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->isVisible());
  EXPECT_EQ(tip->text(), "S1140 S1142 \".\", S1149 6 S1150.");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the delegate commits on a queued call
  EXPECT_EQ(table.cell(1, 1), "12.567");
  EXPECT_EQ(edits, 1);

  for (const char* refused : {"12a", "1234567"})
    EXPECT_FALSE(model.setData(model.index(0, 1), refused, Qt::EditRole));
  EXPECT_FALSE(model.setData(model.index(0, 2), "1", Qt::EditRole));
  editor = openEditor(2, 1);
  ASSERT_NE(editor, nullptr);
  for (const auto& [pasted, shown] : {std::pair{"9,9", ""}, {"9.9", "9.9"}}) {
    QApplication::clipboard()->setText(pasted);
    editor->paste();
    EXPECT_EQ(editor->text(), shown);
  }
}

// A text the program put into a cell is longer than typing may make it: the editor shows it
// whole, leaving the cell keeps it, and typing may shorten it but not lengthen it.
TEST_F(GridFixture, ALongStoredTextIsKeptWhole) {
  table.set(0, 1, "1234.5678");
  model.reload();
  QLineEdit* editor = openEditor(0, 1);
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->text(), "1234.5678");
  editor->end(false);
  QTest::keyClicks(editor, "9");
  EXPECT_EQ(editor->text(), "1234.5678");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(table.cell(0, 1), "1234.5678");
  editor = openEditor(0, 1);
  ASSERT_NE(editor, nullptr);
  editor->end(false);
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(table.cell(0, 1), "1234.56");
}

// Inside an open editor and out of it the wizards' keys go to the handler instead of Qt's
// bindings (Ctrl+A does not select the grid, the blank is not typed), and the handler finds
// the text typed into the open editor.
TEST_F(GridFixture, WizardKeysReachTheHandlerWithTheTypedText) {
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, GridKey> keys[] = {
      {Qt::Key_Insert, Qt::ControlModifier, GridKey::InsertRow},
      {Qt::Key_Delete, Qt::ControlModifier, GridKey::DeleteRow},
      {Qt::Key_A, Qt::ControlModifier, GridKey::PrevType},
      {Qt::Key_S, Qt::ControlModifier, GridKey::NextType},
      {Qt::Key_Q, Qt::ControlModifier, GridKey::PrevName},
      {Qt::Key_W, Qt::ControlModifier, GridKey::NextName},
      {Qt::Key_Space, Qt::NoModifier, GridKey::Space},
      {Qt::Key_Delete, Qt::NoModifier, GridKey::Delete}};
  std::vector<std::tuple<GridKey, int, std::string>> seen;
  view.setKeyHandler([&](GridKey key, int row, int col) {
    seen.emplace_back(key, row, table.cell(row, col));
    return true;
  });
  for (const auto& [key, modifiers, gridKey] : keys) {
    seen.clear();
    view.setCurrentIndex(model.index(2, 2));
    QTest::keyClick(&view, key, modifiers);
    table.set(0, 1, "");
    model.reload();
    QLineEdit* editor = openEditor(0, 1);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "12");
    QTest::keyClick(editor, key, modifiers);
    EXPECT_EQ(seen, (std::vector<std::tuple<GridKey, int, std::string>>{{gridKey, 2, ""},
                                                                        {gridKey, 0, "12"}}))
        << key;
    EXPECT_EQ(editor->text(), "12");
  }
}

// The arrows pass over the fixed column; Tab and Shift+Tab also over the cells that take no
// typing, and a character typed on such a cell stays there.
TEST_F(GridFixture, TheKeyboardPassesOverTheFixedColumn) {
  table.set(0, 2, "1-9");  // what a search for the typed "1" would find
  model.reload();
  const std::tuple<int, int, Qt::Key, Qt::KeyboardModifiers, int, int> moves[] = {
      {0, 2, Qt::Key_Tab, {}, 1, 1},
      {0, 1, Qt::Key_Tab, {}, 1, 1},
      {1, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 1},
      {1, 2, Qt::Key_Backtab, Qt::ShiftModifier, 1, 1},
      {0, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 1},
      {2, 2, Qt::Key_Home, {}, 2, 1},
      {1, 1, Qt::Key_Left, {}, 1, 1},
      {2, 2, Qt::Key_1, {}, 2, 2}};
  for (const auto& [row, col, key, modifiers, toRow, toCol] : moves) {
    view.setCurrentIndex(model.index(row, col));
    QTest::keyClick(&view, key, modifiers);
    EXPECT_EQ(std::pair(view.currentRow(), view.currentIndex().column()), std::pair(toRow, toCol))
        << key;
  }
  // The character typed on column 2 searched nothing: it was refused at its cell.
  EXPECT_EQ(table.cell(2, 1), "");
  auto* tip = view.findChild<QLabel*>("refusalTip");
  ASSERT_NE(tip, nullptr);
  EXPECT_TRUE(tip->isVisible());
  EXPECT_EQ(tip->text(), "S1220.");
  // A refusal's cell is entered closed: Backspace or Delete there erases its text as in its
  // open editor; a page shown opens its grid's cell, current or not.
  for (const Qt::Key erase : {Qt::Key_Backspace, Qt::Key_Delete}) {
    table.set(2, 1, "7.5");
    model.reload();
    view.enterCell(2);
    EXPECT_EQ(view.indexWidget(view.currentIndex()), nullptr);
    QTest::keyClick(&view, erase);
    auto* editor = qobject_cast<QLineEdit*>(view.indexWidget(view.currentIndex()));
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "8");
    view.commitEditor();
    EXPECT_EQ(table.cell(2, 1), "8") << erase;
  }
  view.enterCell(2);
  view.showRowAtTop(2);
  EXPECT_EQ(std::pair(view.currentRow(), view.currentTableColumn()), std::pair(2, 1));
  EXPECT_NE(view.indexWidget(view.currentIndex()), nullptr);
  // A grid that gets the focus without a current cell starts on the first free one.
  GridView fresh;
  fresh.setGridModel(&model);
  fresh.show();
  QApplication::setActiveWindow(&fresh);
  fresh.setFocus(Qt::TabFocusReason);
  EXPECT_EQ(std::pair(fresh.currentRow(), fresh.currentIndex().column()), std::pair(0, 1));
}

struct ArrowFixture : ::testing::Test {
  ArrowFixture() : table(4), model(table, &rules) {
    view.setShellTexts(shell);
    model.setFixedColumns(1);
    view.setGridModel(&model);
    view.resize(400, 200);
    view.show();
    QApplication::setActiveWindow(&view);
  }
  // Fresh rows, and the cell reached as Tab or a click reaches it: its editor open.
  void arriveAt(int row, int col) {
    table.setRows(2);
    for (int r = 0; r < 2; ++r)
      for (int c = 0; c < 4; ++c) table.set(r, c, std::vector{"1", "2.5", "7.25", "8"}[c]);
    model.reload();
    view.setFocus();
    view.setCurrentIndex(model.index(row, 0));
    view.setCurrentIndex(model.index(row, col));
  }
  static QWidget* focused() { return QApplication::focusWidget(); }
  std::string rowText(int row) const {
    return table.cell(row, 1) + " " + table.cell(row, 2) + " " + table.cell(row, 3);
  }

  ShellTables shell = test::markedShell();
  DecimalRules rules{3};  // three typable columns, as the wizards' grids of figures have
  GridTable table;
  GridModel model;
  GridView view;
};

// An open cell editor keeps Left and Right while its caret has somewhere to go in the text; at
// the text's start (end), or with the whole text selected as a cell is arrived at, they move to
// the cell on the left (right), the typed text stored first, and what is typed next replaces
// that cell's text as on any arrival. Home and End stay in the text; Up and Down move.
TEST_F(ArrowFixture, LeftAndRightLeaveTheCellAtTheEndsOfItsText) {
  const struct {
    int col;
    std::vector<Qt::Key> keys;
    const char* typed;
    int toRow, toCol;
    const char* row0;
    const char* row1;
  } cases[] = {
      {2, {Qt::Key_Left}, "5", 0, 1, "5 7.25 8", "2.5 7.25 8"},
      {1, {Qt::Key_Right, Qt::Key_Right}, "9", 0, 3, "2.5 7.25 9", "2.5 7.25 8"},
      {2, {Qt::Key_Home, Qt::Key_Right}, "0", 0, 2, "2.5 70.25 8", "2.5 7.25 8"},
      {2, {Qt::Key_End, Qt::Key_Left, Qt::Key_Left}, "9", 0, 2, "2.5 7.925 8", "2.5 7.25 8"},
      {2, {Qt::Key_End, Qt::Key_Right}, "1", 0, 3, "2.5 7.25 1", "2.5 7.25 8"},
      {2, {Qt::Key_Home, Qt::Key_Left}, "3", 0, 1, "3 7.25 8", "2.5 7.25 8"},
      {3, {Qt::Key_Left, Qt::Key_Left, Qt::Key_Right}, "4", 0, 2, "2.5 4 8", "2.5 7.25 8"},
      // At the grid's edge the cell stays, its text still selected.
      {1, {Qt::Key_Left}, "4", 0, 1, "4 7.25 8", "2.5 7.25 8"},
      {3, {Qt::Key_Right}, "6", 0, 3, "2.5 7.25 6", "2.5 7.25 8"},
      {2, {Qt::Key_Down}, "1", 1, 2, "2.5 7.25 8", "2.5 1 8"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "from column " << c.col << ", typed " << c.typed);
    arriveAt(0, c.col);
    ASSERT_TRUE(qobject_cast<QLineEdit*>(focused()));
    for (const Qt::Key key : c.keys) QTest::keyClick(focused(), key);
    QTest::keyClicks(focused(), c.typed);
    QTest::keyClick(focused(), Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(std::pair(view.currentRow(), view.currentIndex().column()),
              std::pair(c.toRow, c.toCol));
    EXPECT_EQ(rowText(0), c.row0);
    EXPECT_EQ(rowText(1), c.row1);
  }
  // What was typed is in the table before the cell on the right is reached.
  arriveAt(1, 1);
  QTest::keyClicks(focused(), "12");
  std::string seenOnArrival;
  QObject::connect(view.selectionModel(), &QItemSelectionModel::currentChanged,
                   [&] { seenOnArrival = table.cell(1, 1); });
  QTest::keyClick(focused(), Qt::Key_Right);
  EXPECT_EQ(seenOnArrival, "12");
  EXPECT_EQ(view.currentIndex().column(), 2);
  // Shift with an arrow selects in the text and stays.
  QTest::keyClick(focused(), Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(view.currentIndex().column(), 2);
  // A key with Alt is a command that types nothing into the cell.
  QTest::sendKeyEvent(QTest::Click, focused(), Qt::Key_5, QStringLiteral("5"), Qt::AltModifier);
  view.commitEditor();
  EXPECT_EQ(rowText(1), "12 7.25 8");
}

// The grid between an edit and a button, as on a wizard page.
struct GridOnAPage : GridFixture {
  GridOnAPage() {
    auto* layout = new QVBoxLayout(&page);
    layout->addWidget(before);
    layout->addWidget(&view);
    layout->addWidget(after);
    page.show();
    QApplication::setActiveWindow(&page);
  }
  ~GridOnAPage() override { view.setParent(nullptr); }  // the fixture's own
  QWidget* focused() const { return QApplication::focusWidget(); }
  std::string where() const {
    return focused() == before  ? "before"
           : focused() == after ? "after"
                                : std::to_string(view.currentRow()) + "," +
                                      std::to_string(view.currentIndex().column());
  }

  QWidget page;
  QLineEdit* before = new QLineEdit;
  QPushButton* after = new QPushButton("x");
};

// Tab runs through the cells and leaves the grid from its last cell, Shift+Tab from its first
// free one; Ctrl+Tab and Ctrl+Shift+Tab leave it from any cell, an open editor's text kept.
TEST_F(GridOnAPage, TabLeavesTheGridAtItsEndsAndCtrlTabAlways) {
  const Qt::KeyboardModifiers none, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier;
  const struct {
    int row, col;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    std::string to;
  } moves[] = {
      {2, 2, Qt::Key_Tab, none, "after"},       {1, 2, Qt::Key_Tab, none, "2,1"},
      {2, 1, Qt::Key_Tab, none, "after"},       {0, 1, Qt::Key_Tab, none, "1,1"},
      {0, 1, Qt::Key_Backtab, shift, "before"}, {0, 1, Qt::Key_Tab, shift, "before"},
      {1, 1, Qt::Key_Backtab, shift, "0,1"},    {1, 1, Qt::Key_Tab, ctrl, "after"},
      {0, 1, Qt::Key_Tab, ctrl, "after"},       {2, 2, Qt::Key_Backtab, ctrl | shift, "before"},
  };
  for (const auto& m : moves) {
    view.setFocus();
    view.setCurrentIndex(model.index(m.row, m.col));
    QTest::keyClick(focused(), m.key, m.modifiers);
    EXPECT_EQ(where(), m.to) << m.row << "," << m.col << " " << m.key << " " << m.modifiers;
  }

  // From an open editor: Tab moves on inside the grid; Ctrl+Tab and Tab from the last cell
  // leave it, the typed text stored.
  model.setVisibleColumns({0, 1});
  for (const auto& [row, modifiers, to] : {std::tuple{1, ctrl, "after"},
                                           {1, none, "2,1"},
                                           {2, none, "after"},
                                           {0, ctrl | shift, "before"}}) {
    view.setFocus();
    QLineEdit* editor = openEditor(row, 1);
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, QString::number(70 + row));
    QTest::keyClick(editor, modifiers & shift ? Qt::Key_Backtab : Qt::Key_Tab, modifiers);
    QApplication::processEvents();
    EXPECT_EQ(where(), to) << row << " " << modifiers;
    EXPECT_EQ(table.cell(row, 1), "7" + std::to_string(row));
  }
}

}  // namespace
}  // namespace qj::ui
