#include "wizard/ui/wizard_grid.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/ui/design.h"
#include "support/shell_fixture.h"

namespace qj::ui {
namespace {

struct WizardGridTest : ::testing::Test {
  WizardGridTest() : table(4) { table.setRows(2); }

  ShellTables shell = test::markedShell();
  GridTable table;
  ReadOnlyRules rules;
  QWidget page;
};

TEST_F(WizardGridTest, TitlesStandOverTheirColumnsAndFollowHiddenOnes) {
  auto* grid = new WizardGrid(&page, "Grid", table, &rules, {60, 80, 70, 0}, shell);
  using Line = WizardGrid::Line;
  QLabel* first = grid->addTitle("First", lit("One"), 0, 0, Line::Both);
  QLabel* group = grid->addTitle("Group", lit("Pair"), 1, 2, Line::Group);
  QLabel* second = grid->addTitle("Second", lit("Two"), 1, 1, Line::Column);
  QLabel* third = grid->addTitle("Third", lit("Three"), 2, 2, Line::Column);
  grid->showColumns({0, 1, 2});
  GridView* view = grid->view();
  const int x0 = view->frameWidth();
  EXPECT_EQ(first->x(), x0 + 1);
  // The design widths, scaled to the font in use.
  EXPECT_EQ(second->x(), x0 + px(60) + 1);
  EXPECT_EQ(group->x(), x0 + px(60) + 1);
  EXPECT_EQ(group->width(), px(80) + px(70) - 2);
  EXPECT_EQ(third->x(), x0 + px(60) + px(80) + 1);
  // The group title stands above the column titles; a title without a group spans both.
  EXPECT_EQ(second->y(), group->height());
  EXPECT_EQ(first->height(), group->height() + second->height());

  grid->showColumns({0, 2});
  EXPECT_TRUE(second->isHidden());
  EXPECT_FALSE(group->isHidden());
  EXPECT_EQ(group->width(), px(70) - 2);
  EXPECT_EQ(third->x(), x0 + px(60) + 1);
  EXPECT_EQ(view->columnWidth(1), px(70));
}

TEST_F(WizardGridTest, AColumnWidensUntilItsTitleBreaksNoWord) {
  auto* grid = new WizardGrid(&page, "Grid", table, &rules, {30, 40, 40, 0}, shell);
  QLabel* fitted =
      grid->addTitle("Fitted", lit("Considerable length"), 0, 0, WizardGrid::Line::Both);
  QLabel* wrapped =
      grid->addTitle("Wrapped", lit("Extraordinarily long"), 1, 1, WizardGrid::Line::Both, false);
  grid->showColumns({0, 1, 2});
  const QFontMetrics metrics(fitted->font());
  EXPECT_GT(grid->view()->columnWidth(0), metrics.horizontalAdvance("Considerable"));
  EXPECT_FALSE(fitted->text().contains("- "));
  EXPECT_GT(grid->view()->columnWidth(1), metrics.horizontalAdvance("Extraordinarily"));
  EXPECT_EQ(wrapped->text(), "Extraordinarily long");
  EXPECT_EQ(grid->view()->columnWidth(2), px(40));  // a column whose title fits keeps its width
}

}  // namespace
}  // namespace qj::ui
