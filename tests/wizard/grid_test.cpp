#include "wizard/grid.h"

#include <gtest/gtest.h>

#include <array>

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

// Cells of any length, written in any order, even from a cell of the same row; a row that
// holds only empty cells again takes no more than an empty row.
TEST(GridTable, CellsOfAnyLengthKeepTheirTextsAndTheirNeighbours) {
  GridTable t(4);
  t.setRows(2);
  const uint64_t empty = t.keptBytes();
  const std::string texts[] = {"", "x", std::string(127, 'a'), std::string(128, 'b'),
                               std::string(20000, 'c')};
  for (const std::string& text : texts) {
    SCOPED_TRACE(text.size());
    t.set(0, 2, text);
    t.set(0, 0, "left");
    t.set(0, 3, std::string(1, '\0') + "right");
    EXPECT_EQ(t.cell(0, 2), text);
    EXPECT_EQ(t.cell(0, 0) + t.cell(0, 1) + t.cell(0, 3).substr(1), "leftright");
  }
  t.set(0, 1, t.cell(0, 0));
  t.set(0, 0, t.cell(0, 2).substr(19990));
  EXPECT_EQ(t.cell(0, 1) + t.cell(0, 0), "left" + std::string(10, 'c'));
  t.setColumns(2);
  t.setColumns(3);
  EXPECT_EQ(t.cell(0, 0) + "|" + t.cell(0, 1) + "|" + t.cell(0, 2),
            std::string(10, 'c') + "|left|");
  // A text as long as the cell's is written over it, even from its own row; a row is read
  // whole in one pass, and cells beyond the grid read as empty.
  t.set(0, 1, t.cell(0, 0).substr(0, 4));
  std::array<CellText, 4> row;
  t.rowCells(0, row);
  EXPECT_EQ(row[0] + "|" + row[1] + "|" + row[2] + "|" + row[3], std::string(10, 'c') + "|cccc||");
  for (int col = 0; col < 3; ++col) t.set(0, col, "");
  EXPECT_EQ(t.keptBytes(), empty);
  EXPECT_TRUE(t.cell(1, 1).empty());
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
