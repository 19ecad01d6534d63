#include "wizard/grid.h"

#include <gtest/gtest.h>

#include "wizard/step_result.h"

namespace qj {
namespace {

TEST(GridTable, RowsKeepTheirCellsAndCellsOutsideTheGridReadEmpty) {
  GridTable t(3);
  t.setRows(2);
  t.set(0, 0, "a");
  t.set(1, 2, "b");
  t.insertRow(1);
  EXPECT_EQ(t.rows(), 3);
  EXPECT_EQ(t.cell(0, 0) + t.cell(1, 2) + t.cell(2, 2), "ab");
  t.removeRow(1);
  t.insertRow(0);
  t.setRows(4);
  t.setColumns(4);
  t.set(2, 3, " \t");
  t.insertRow(4);  // appended
  EXPECT_EQ(t.cell(1, 0) + t.cell(2, 2) + t.cell(4, 0) + t.cell(2, 3), "ab \t");
  EXPECT_TRUE(t.isEmptyTrimmed(2, 3) && !t.isEmptyTrimmed(2, 2));
  // Writes outside the grid are ignored, as are rows inserted or removed there.
  for (const auto& [row, col] : {std::pair{5, 0}, {0, -1}, {-1, 1}, {0, 4}}) {
    t.set(row, col, "x");
    EXPECT_EQ(t.cell(row, col), "") << row << " " << col;
  }
  t.insertRow(7);
  t.removeRow(5);
  EXPECT_EQ(t.rows(), 5);
}

TEST(GridText, CharacterClasses) {
  EXPECT_TRUE(allDigits("0123") && allDigits("") && !allDigits("1a"));
  EXPECT_TRUE(isCyrillicLower('\xE0') && !isCyrillicLower('z'));
  EXPECT_TRUE(isFlagSet("  *") && !isFlagSet(""));
}

// The window applies a step's updates in order, so the last one of a control counts.
TEST(StepResult, UpdatesSayWhatTheyChangeAndTheLastOneCounts) {
  ControlUpdates u;
  setText(u, "a", lit("one"));
  setFitted(u, "a", lit("two"));
  setShown(u, "a", false);
  setShown(u, "a", true);
  setSized(u, "a", 3, 4);
  EXPECT_EQ(std::tuple(u[0].fit, u[1].fit, u[2].fit, u[4].fit, u[4].size),
            std::tuple(false, true, false, false, std::optional(std::pair(3, 4))));
  EXPECT_EQ(updatedText(u, "a")->utf8({}), "two");
  EXPECT_EQ(updatedVisibility(u, "a"), true);
  EXPECT_FALSE(updatedText(u, "b") || updatedVisibility(u, "b"));
}

}  // namespace
}  // namespace qj
