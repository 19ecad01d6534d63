#include "wizard/grid.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

TEST(GridTable, RowsKeepTheirCellsWhenResizedInsertedAndRemoved) {
  GridTable t(3);
  t.setRows(2);
  t.set(0, 0, "a");
  t.set(1, 2, "b");
  t.insertRow(1);
  EXPECT_EQ(t.rows(), 3);
  EXPECT_EQ(t.cell(0, 0), "a");
  EXPECT_EQ(t.cell(1, 2), "");
  EXPECT_EQ(t.cell(2, 2), "b");
  t.removeRow(0);
  EXPECT_EQ(t.cell(1, 2), "b");
  t.setRows(5);
  EXPECT_EQ(t.cell(1, 2), "b");
  EXPECT_EQ(t.cell(4, 0), "");
  t.setColumns(4);
  EXPECT_EQ(t.cell(1, 2), "b");
}

TEST(GridTable, CellsOutsideTheGridReadEmptyAndIgnoreWrites) {
  GridTable t(2);
  t.setRows(1);
  t.set(5, 0, "x");
  t.set(0, -1, "x");
  EXPECT_EQ(t.cell(5, 0), "");
  EXPECT_EQ(t.cell(-1, 1), "");
  t.insertRow(7);
  t.removeRow(3);
  EXPECT_EQ(t.rows(), 1);
}

TEST(GridText, CharacterClasses) {
  EXPECT_TRUE(allDigits("0123"));
  EXPECT_TRUE(allDigits(""));
  EXPECT_FALSE(allDigits("1a"));
  EXPECT_TRUE(digitsAndSeparator("1,5", ','));
  EXPECT_FALSE(digitsAndSeparator("1.5", ','));
  EXPECT_TRUE(isCyrillicLower('\xE0'));
  EXPECT_FALSE(isCyrillicLower('z'));
  EXPECT_TRUE(isFlagSet("  *"));
  EXPECT_FALSE(isFlagSet(""));
}

}  // namespace
}  // namespace qj
