#include "wizard/ui/grid_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

namespace qj::ui {
namespace {

// Column 0 is a fixed number column, column 1 takes up to 4 digits, column 2 nothing,
// column 3 is hidden record data.
class DigitsRules : public GridRules {
 public:
  bool typable(const GridTable&, int, int col) const override { return col == 1; }
  bool accepts(const GridTable&, int, int col, std::string_view text) const override {
    return col == 1 && text.size() <= 4 && allDigits(text);
  }
};

struct GridFixture : ::testing::Test {
  GridFixture() : table(4), model(table, &rules) {
    table.setRows(3);
    for (int r = 0; r < 3; ++r) {
      table.set(r, 0, std::to_string(r + 1));
      table.set(r, 3, "hidden");
    }
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

  DigitsRules rules;
  GridTable table;
  GridModel model;
  GridView view;
};

TEST_F(GridFixture, HiddenColumnsStayInTheTable) {
  EXPECT_EQ(model.columnCount(), 3);
  EXPECT_EQ(model.tableColumn(2), 2);
  EXPECT_EQ(model.viewColumn(3), -1);
  EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsEditable);
  EXPECT_TRUE(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
  EXPECT_FALSE(model.flags(model.index(0, 2)) & Qt::ItemIsEditable);
}

TEST_F(GridFixture, TypedTextObeysTheRuleAndReachesTheTable) {
  QLineEdit* editor = openEditor(1, 1);
  ASSERT_NE(editor, nullptr);
  int edits = 0;
  QObject::connect(&model, &GridModel::cellEdited, [&](int row, int col) {
    EXPECT_EQ(row, 1);
    EXPECT_EQ(col, 1);
    ++edits;
  });
  // The refused "x" beeps and refuses the "3" after it, rather than leave "123" as if it had
  // been typed; Backspace ends the refusal.
  QTest::keyClicks(editor, "12x3");
  EXPECT_EQ(editor->text(), "12");
  QTest::keyClick(editor, Qt::Key_Backspace);
  QTest::keyClicks(editor, "3456");
  EXPECT_EQ(editor->text(), "1345");
  QTest::keyClick(editor, Qt::Key_Return);
  QApplication::processEvents();  // the delegate commits on a queued call
  EXPECT_EQ(table.cell(1, 1), "1345");
  EXPECT_EQ(edits, 1);
}

TEST_F(GridFixture, PastedTextIsRefusedWhenTheWholeTextBreaksTheRule) {
  EXPECT_FALSE(model.setData(model.index(0, 1), "12a", Qt::EditRole));
  EXPECT_FALSE(model.setData(model.index(0, 1), "12345", Qt::EditRole));
  EXPECT_FALSE(model.setData(model.index(0, 2), "1", Qt::EditRole));
  EXPECT_TRUE(model.setData(model.index(0, 1), "77", Qt::EditRole));
  EXPECT_EQ(table.cell(0, 1), "77");

  QLineEdit* editor = openEditor(2, 1);
  ASSERT_NE(editor, nullptr);
  QApplication::clipboard()->setText("9z9");
  editor->paste();
  EXPECT_EQ(editor->text(), "");
  QApplication::clipboard()->setText("99");
  editor->paste();
  EXPECT_EQ(editor->text(), "99");
}

TEST_F(GridFixture, WizardKeysReachTheHandlerInsteadOfQtBindings) {
  std::vector<std::pair<GridKey, int>> seen;
  view.setKeyHandler([&](GridKey key, int row, int) {
    seen.emplace_back(key, row);
    return key == GridKey::Space;
  });
  view.setCurrentIndex(model.index(1, 2));
  QTest::keyClick(&view, Qt::Key_Insert, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_W, Qt::ControlModifier);
  QTest::keyClick(&view, Qt::Key_Space);
  QTest::keyClick(&view, Qt::Key_Delete, Qt::ControlModifier);
  ASSERT_EQ(seen.size(), 5u);
  EXPECT_EQ(seen[0].first, GridKey::InsertRow);
  EXPECT_EQ(seen[1].first, GridKey::PrevType);
  EXPECT_EQ(seen[2].first, GridKey::NextName);
  EXPECT_EQ(seen[3].first, GridKey::Space);
  EXPECT_EQ(seen[4].first, GridKey::DeleteRow);
  EXPECT_EQ(seen[0].second, 1);
  // Ctrl+A did not select the whole grid.
  EXPECT_LE(view.selectionModel()->selectedIndexes().size(), 1);

  // Inside an open editor the same keys go to the handler, and the blank is not typed.
  seen.clear();
  QLineEdit* editor = openEditor(0, 1);
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, "5");
  QTest::keyClick(editor, Qt::Key_Space);
  QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(editor->text(), "5");
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].first, GridKey::Space);
  EXPECT_EQ(seen[1].first, GridKey::NextType);
}

TEST_F(GridFixture, EveryWizardKeyFindsTheTextTypedIntoTheOpenEditor) {
  const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {
      {Qt::Key_Insert, Qt::ControlModifier}, {Qt::Key_Delete, Qt::ControlModifier},
      {Qt::Key_A, Qt::ControlModifier},      {Qt::Key_S, Qt::ControlModifier},
      {Qt::Key_Q, Qt::ControlModifier},      {Qt::Key_W, Qt::ControlModifier},
      {Qt::Key_Space, Qt::NoModifier},       {Qt::Key_Delete, Qt::NoModifier}};
  std::string seen;
  view.setKeyHandler([&](GridKey, int row, int col) {
    seen = table.cell(row, col);
    return true;
  });
  for (const auto& [key, modifiers] : keys) {
    table.set(0, 1, "");
    model.reload();
    QLineEdit* editor = openEditor(0, 1);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "12");
    seen.clear();
    QTest::keyClick(editor, key, modifiers);
    EXPECT_EQ(seen, "12") << key;
    EXPECT_EQ(table.cell(0, 1), "12") << key;
  }
}

TEST_F(GridFixture, TheKeyboardPassesOverTheFixedColumn) {
  struct Move {
    int row, col;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int toRow, toCol;
  };
  const Move moves[] = {{0, 2, Qt::Key_Tab, {}, 1, 1},
                        {1, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 2},
                        {0, 1, Qt::Key_Backtab, Qt::ShiftModifier, 0, 1},
                        {2, 2, Qt::Key_Home, {}, 2, 1},
                        {1, 1, Qt::Key_Left, {}, 1, 1}};
  for (const Move& m : moves) {
    view.setCurrentIndex(model.index(m.row, m.col));
    QTest::keyClick(&view, m.key, m.modifiers);
    EXPECT_EQ(std::pair(view.currentRow(), view.currentIndex().column()),
              std::pair(m.toRow, m.toCol))
        << m.key;
  }
  // A grid that gets the focus without a current cell starts on the first free one.
  GridView fresh;
  fresh.setGridModel(&model);
  fresh.show();
  QApplication::setActiveWindow(&fresh);
  fresh.setFocus(Qt::TabFocusReason);
  EXPECT_EQ(std::pair(fresh.currentRow(), fresh.currentIndex().column()), std::pair(0, 1));
}

TEST_F(GridFixture, ShowRowAtTopMakesTheRowCurrent) {
  view.showRowAtTop(2);
  EXPECT_EQ(view.currentRow(), 2);
  EXPECT_EQ(view.currentTableColumn(), 1);  // never the fixed column
}

TEST(GridLarge, TwoHundredThousandRowsNeedNoWidgetPerCell) {
  GridTable table(5);
  table.setRows(200000);
  ReadOnlyRules rules;
  GridModel model(table, &rules);
  GridView view;
  view.setGridModel(&model);
  view.resize(400, 300);
  view.show();
  view.scrollToBottom();
  EXPECT_EQ(model.rowCount(), 200000);
  EXPECT_FALSE(model.flags(model.index(5, 1)) & Qt::ItemIsEditable);
}

}  // namespace
}  // namespace qj::ui
