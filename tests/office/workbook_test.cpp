// Sheets held in memory, their names, and saving workbooks into Export/ with the messages of
// the export and of reading workbooks.

#include "office/workbook.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "office/workbook_export.h"
#include "office/workbook_messages.h"
#include "office/workbook_reader.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj::office {
namespace {

TEST(Sheet, HoldsOnlyCellsWithTextInAnyOrderOfSetting) {
  Sheet s("x");
  s.set(3, 2, "c");
  s.set(0, 5, "a");
  s.set(3, 0, "b");
  s.set(7, 1, "");  // an empty text makes no cell
  EXPECT_EQ(std::tuple(s.cellCount(), s.rowCount(), s.columnCount()), std::tuple(size_t{3}, 4, 6));
  EXPECT_EQ(std::tuple(s.cell(3, 0), s.cell(3, 1), s.cell(3, 2), s.cell(100, 100)),
            std::tuple("b", "", "c", ""));
  ASSERT_EQ(s.rows().size(), 2u);
  EXPECT_EQ(s.rows()[1].cells[0].column, 0);
  s.set(3, 2, std::string(128, 'c'));  // its length takes two bytes
  EXPECT_EQ(s.cell(3, 2), std::string(128, 'c'));
  s.set(3, 2, "");
  s.set(3, 0, "");
  EXPECT_EQ(std::pair(s.cellCount(), s.rowCount()),
            std::pair(size_t{1}, 1));  // the emptied row goes
  for (const auto& [r, c] : {std::pair(kMaxRows, 0), {0, kMaxColumns}, {0, -1}, {-1, 0}})
    EXPECT_THROW(s.set(r, c, "x"), std::out_of_range) << r << "," << c;
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
  filler.add(0, 0, "first");
  filler.finish();
  // Of many cells at one position, more than a mapping holds, the last stands; the cell
  // beside them stays.
  Sheet one;
  SheetFiller same(one);
  same.add(0, 1, "b");
  for (int k = 0; k <= 100000; ++k) same.add(0, 0, std::to_string(k));
  same.finish();
  EXPECT_EQ(std::tuple(one.cell(0, 0), one.cell(0, 1), one.cellCount()),
            std::tuple(std::string_view("100000"), std::string_view("b"), size_t{2}));
  // A little garbage is left where it lies: packing copies every text.
  Sheet small;
  small.set(0, 0, "abc");
  const size_t bytes = small.textBytes();
  small.set(0, 0, "de");
  EXPECT_GT(small.textBytes(), bytes);
  for (const int r : {0, 1, 5, 10, kRows / 2 + 3, kRows - 1}) {
    EXPECT_EQ(copy.cell(r, 0), text(r, 0)) << r;
    EXPECT_EQ(copy.cell(r, 1), text(r, 1)) << r;
    EXPECT_EQ(s.cell(r, 0), text(r, 0)) << r;
    EXPECT_EQ(s.cell(r, 1), r % 10 == 0 ? text(r, 1) : "-") << r;
    EXPECT_EQ(filled.cell(r, 0), r == kRows - 1 ? "last" : r == 0 ? "first" : text(r, 0)) << r;
  }
  EXPECT_EQ(copy.cellCount(), 2u * kRows);
  EXPECT_EQ(std::tuple(s.cell(5, 2), s.cell(kRows - 2, 1)), std::tuple("inserted", ""));
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
  std::string letters;
  for (const int col : {0, 16, 25, 26, 701, 702, kMaxColumns - 1})
    letters += columnLetters(col) + " ";
  EXPECT_EQ(letters, "A Q Z AA ZZ AAA XFD ");
}

TEST(SheetNames, AreMadeValidAndUniqueWithoutRegardToCase) {
  const std::string cyr = "\xcb\xe8\xf1\xf2";       // "Лист"
  const std::string cyrUpper = "\xcb\xc8\xd1\xd2";  // "ЛИСТ"
  const std::vector<std::string> names = validSheetNames(
      {"Points [1]: a/b\\c*?", "'quoted'", "", std::string(40, 'x'), std::string(40, 'x'), cyr,
       cyrUpper, "history", "Sheet3", "Tab\tCR\rLF\n\x01\x1F end"});
  EXPECT_EQ(names[0], "Points _1__ a_b_c__");
  EXPECT_EQ(names[1], "quoted");
  EXPECT_EQ(names[2], "Sheet3");
  EXPECT_EQ(names[3], std::string(31, 'x'));
  EXPECT_EQ(names[4], std::string(27, 'x') + " (2)");
  EXPECT_EQ(names[5], cyr);
  EXPECT_EQ(names[6], cyrUpper + " (2)");
  EXPECT_EQ(names[7], "history (2)");  // reserved by spreadsheet programs
  EXPECT_EQ(names[8], "Sheet3 (2)");
  EXPECT_EQ(names[9], "Tab_CR_LF___ end");  // a read file would give blanks for the first
  for (const auto& n : names) EXPECT_LE(n.size(), kMaxSheetNameLength) << n;
}

const ShellTables kTexts = test::markedShell();

TEST(WorkbookExport, EveryExportGetsANewFileAndAFailureTheOneExportMessage) {
  test::TempDir dir;
  const ProgramFolder folder(dir.path());
  Workbook book;
  book.addSheet("S").set(0, 0, "x");
  const qj::WorkbookExport first = qj::saveExportedWorkbook(book, folder, "qj_TOWN01");
  const qj::WorkbookExport second = qj::saveExportedWorkbook(book, folder, "qj_TOWN01");
  ASSERT_TRUE(first.file && second.file);
  EXPECT_FALSE(first.message);
  EXPECT_EQ(*first.file, dir / "Export/qj_TOWN01.xlsx");
  EXPECT_EQ(*second.file, dir / "Export/qj_TOWN01 (2).xlsx");
  EXPECT_EQ(readWorkbook(*second.file).book->sheets()[0].cell(0, 0), "x");

  std::filesystem::remove_all(dir / "Export");
  dir.write("Export", "a file where the folder should be");
  const qj::WorkbookExport failed = qj::saveExportedWorkbook(book, folder, "qj_TOWN01");
  EXPECT_FALSE(failed.file);
  ASSERT_TRUE(failed.message);
  EXPECT_EQ(failed.message->kind, MessageKind::Error);
  EXPECT_EQ(failed.message->utf8(kTexts), "S465...");
}

TEST(WorkbookMessages, NameTheFileAndWhatHappened) {
  const auto read = [](ReadFault f) { return workbookReadMessage("a.xlsx", f); };
  const Message notOpened = qj::workbookNotOpenedMessage("/home/user/QJ/Export/qj_TOWN01 (2).xlsx");
  const std::tuple<Message, MessageKind, const char*> cases[] = {
      {notOpened, MessageKind::Information,
       "S952 \"qj_TOWN01 (2).xlsx\" S963 \"/home/user/QJ/Export\", S953."},
      {read(ReadFault::Unreadable), MessageKind::Error, "S970 \"a.xlsx\" S971."},
      {read(ReadFault::NotAWorkbook), MessageKind::Error, "S970 \"a.xlsx\" S972."},
      {read(ReadFault::Damaged), MessageKind::Error, "S970 \"a.xlsx\" S973."},
      {read(ReadFault::TooLarge), MessageKind::Error, "S970 \"a.xlsx\" S974."},
      {read(ReadFault::ReaderMissing), MessageKind::Error,
       "S970 \"a.xlsx\" S1300 \"qjroute-xls\" S1301."},
      {read(ReadFault::Cancelled), MessageKind::Warning, "S970 \"a.xlsx\" S1302."},
      {cellMessage(shell(975), 2, 14, "AB", shell(979)), MessageKind::Error,
       "S975: S976 2, S977 14, S978 AB S979."},
      {missingSheetMessage(shell(975), 3), MessageKind::Error, "S975: S982 3."},
  };
  for (const auto& [message, kind, text] : cases)
    EXPECT_EQ(std::pair(message.utf8(kTexts), message.kind), std::pair(std::string(text), kind));
  EXPECT_EQ(workbookWorkCaption(true).utf8(kTexts), "S983 ...");
  EXPECT_EQ(workbookWorkCaption(false).utf8(kTexts), "S114 ...");
  EXPECT_EQ(workRowsText(1200, 0).utf8(kTexts), "S984: 1200");
  EXPECT_EQ(workRowsText(1200, 260004).utf8(kTexts), "S984: 1200 / 260004");
  EXPECT_EQ(workbookFileFilter().utf8(kTexts), "S1280 (*.xlsx *.xls *.XLSX *.XLS)");
}

}  // namespace
}  // namespace qj::office
