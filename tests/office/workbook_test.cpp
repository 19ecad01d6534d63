#include "office/workbook.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace qj::office {
namespace {

TEST(Sheet, HoldsOnlyCellsWithTextInAnyOrderOfSetting) {
  Sheet s("x");
  s.set(3, 2, "c");
  s.set(0, 5, "a");
  s.set(3, 0, "b");
  s.set(7, 1, "");  // an empty text makes no cell
  EXPECT_EQ(std::tuple(s.cellCount(), s.rowCount(), s.columnCount()), std::tuple(size_t{3}, 4, 6));
  EXPECT_EQ(s.cell(3, 0), "b");
  EXPECT_EQ(s.cell(3, 2), "c");
  EXPECT_EQ(s.cell(3, 1), "");
  EXPECT_EQ(s.cell(100, 100), "");
  ASSERT_EQ(s.rows().size(), 2u);
  EXPECT_EQ(s.rows()[1].cells[0].column, 0);
  s.set(3, 2, "changed");
  EXPECT_EQ(s.cell(3, 2), "changed");
  s.set(3, 2, "");
  s.set(3, 0, "");
  EXPECT_EQ(std::pair(s.cellCount(), s.rowCount()),
            std::pair(size_t{1}, 1));  // the emptied row goes
  EXPECT_THROW(s.set(kMaxRows, 0, "x"), std::out_of_range);
  EXPECT_THROW(s.set(0, kMaxColumns, "x"), std::out_of_range);
  EXPECT_THROW(s.set(0, -1, "x"), std::out_of_range);
  s.set(kMaxRows - 1, kMaxColumns - 1, "corner");
  EXPECT_EQ(s.cell(kMaxRows - 1, kMaxColumns - 1), "corner");
}

TEST(Sheet, LargeSheetsKeepEveryCellAsTheirArraysGrowShrinkAndAreCopied) {
  // Enough cells and text for arrays that live in mappings of their own.
  constexpr int kRows = 120000;
  const auto text = [](int r, int c) { return std::to_string(r * 7 + c) + (c ? " text" : ""); };
  Sheet s;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < 2; ++c) s.set(r, c, text(r, c));
  const Sheet copy = s;
  // Replacing most texts leaves garbage that is packed away; an insert and an erase move
  // the cells after them.
  for (int r = 0; r < kRows; ++r)
    if (r % 10 != 0) s.set(r, 1, "-");
  s.set(5, 2, "inserted");
  s.set(kRows - 2, 1, "");
  // Cells given out of order are put in order when the filler finishes, the last of a
  // position standing, and the arrays are cut to their size.
  Sheet filled;
  SheetFiller filler(filled);
  for (int r = kRows - 1; r >= 0; --r) filler.add(r, 0, text(r, 0));
  filler.add(kRows - 1, 0, "last");
  filler.finish();
  for (const int r : {0, 1, 5, 10, kRows / 2 + 3, kRows - 1}) {
    EXPECT_EQ(copy.cell(r, 0), text(r, 0)) << r;
    EXPECT_EQ(copy.cell(r, 1), text(r, 1)) << r;
    EXPECT_EQ(s.cell(r, 0), text(r, 0)) << r;
    EXPECT_EQ(s.cell(r, 1), r % 10 == 0 ? text(r, 1) : "-") << r;
    EXPECT_EQ(filled.cell(r, 0), r == kRows - 1 ? "last" : text(r, 0)) << r;
  }
  EXPECT_EQ(copy.cellCount(), 2u * kRows);
  EXPECT_EQ(s.cell(5, 2), "inserted");
  EXPECT_EQ(s.cell(kRows - 2, 1), "");
  EXPECT_EQ(s.cellCount(), 2u * kRows);
  EXPECT_LT(s.textBytes(), copy.textBytes());
  EXPECT_EQ(filled.cellCount(), static_cast<size_t>(kRows));
}

TEST(Sheet, LaterFormatStepsOverrideEarlierOnesOnTheirCellsOnly) {
  Sheet s;
  s.setAlign(columnRange(0, 10), HAlign::Left);
  s.setBold(rowRange(0, 3));
  s.setWrap(rowRange(0, 3));
  s.setBold({0, 1, 0, 1}, false);
  EXPECT_EQ(s.formatAt(0, 0), (CellFormat{true, HAlign::Left, true}));
  EXPECT_EQ(s.formatAt(0, 1), (CellFormat{false, HAlign::General, true}));
  EXPECT_EQ(s.formatAt(9, 0), (CellFormat{false, HAlign::Left, false}));
  EXPECT_TRUE(s.formatAt(10, 0).isDefault());
  s.setBold(columnRange(4, 0));  // a range of no rows makes no step
  EXPECT_EQ(s.formatSteps().size(), 4u);
}

TEST(Sheet, ColumnLettersRunAsInASpreadsheet) {
  for (const auto& [col, letters] : {std::pair(0, "A"),
                                     {16, "Q"},
                                     {25, "Z"},
                                     {26, "AA"},
                                     {701, "ZZ"},
                                     {702, "AAA"},
                                     {kMaxColumns - 1, "XFD"}})
    EXPECT_EQ(columnLetters(col), letters) << col;
}

TEST(SheetNames, AreMadeValidAndUniqueWithoutRegardToCase) {
  const std::string cyr = "\xcb\xe8\xf1\xf2";       // "Лист"
  const std::string cyrUpper = "\xcb\xc8\xd1\xd2";  // "ЛИСТ"
  const std::vector<std::string> names =
      validSheetNames({"Points [1]: a/b\\c*?", "'quoted'", "", std::string(40, 'x'),
                       std::string(40, 'x'), cyr, cyrUpper, "history", "Sheet3"});
  EXPECT_EQ(names[0], "Points _1__ a_b_c__");
  EXPECT_EQ(names[1], "quoted");
  EXPECT_EQ(names[2], "Sheet3");
  EXPECT_EQ(names[3], std::string(31, 'x'));
  EXPECT_EQ(names[4], std::string(27, 'x') + " (2)");
  EXPECT_EQ(names[5], cyr);
  EXPECT_EQ(names[6], cyrUpper + " (2)");
  EXPECT_EQ(names[7], "history (2)");  // reserved by spreadsheet programs
  EXPECT_EQ(names[8], "Sheet3 (2)");
  for (const auto& n : names) EXPECT_LE(n.size(), kMaxSheetNameLength) << n;
}

}  // namespace
}  // namespace qj::office
