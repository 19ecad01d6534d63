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

// Column 0 is a fixed number column, column 1 takes decimals of up to 6 characters with the
// separator ".", column 2 nothing, column 3 is hidden record data.
class DecimalRules : public GridRules {
 public:
  bool typable(const GridTable&, int, int col) const override { return col == 1; }
  FieldRule cellRule(const GridTable&, int, int) const override {
    return {KeyFilter::Decimal, 6, false, '.'};
  }
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

TEST_F(GridFixture, TheKeyboardPassesOverTheFixedColumn) {
  const std::tuple<int, int, Qt::Key, Qt::KeyboardModifiers, int, int> moves[] = {
      {0, 2, Qt::Key_Tab, {}, 1, 1},
      {1, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 2},
      {0, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 1},
      {2, 2, Qt::Key_Home, {}, 2, 1},
      {1, 1, Qt::Key_Left, {}, 1, 1}};
  for (const auto& [row, col, key, modifiers, toRow, toCol] : moves) {
    view.setCurrentIndex(model.index(row, col));
    QTest::keyClick(&view, key, modifiers);
    EXPECT_EQ(std::pair(view.currentRow(), view.currentIndex().column()), std::pair(toRow, toCol))
        << key;
  }
  view.showRowAtTop(2);
  EXPECT_EQ(std::pair(view.currentRow(), view.currentTableColumn()), std::pair(2, 1));
  // A grid that gets the focus without a current cell starts on the first free one.
  GridView fresh;
  fresh.setGridModel(&model);
  fresh.show();
  QApplication::setActiveWindow(&fresh);
  fresh.setFocus(Qt::TabFocusReason);
  EXPECT_EQ(std::pair(fresh.currentRow(), fresh.currentIndex().column()), std::pair(0, 1));
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
      {0, 1, Qt::Key_Backtab, shift, "before"}, {0, 1, Qt::Key_Tab, shift, "before"},
      {1, 1, Qt::Key_Backtab, shift, "0,2"},    {1, 1, Qt::Key_Tab, ctrl, "after"},
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
