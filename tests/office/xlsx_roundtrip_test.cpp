// Workbooks written by our writer and read back by our reader, and what the file holds for
// a spreadsheet program: formats, widths, heights and blanks where a format has no text.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"
#include "office/zip_package.h"
#include "support/temp_dir.h"

namespace qj::office {
namespace {

using test::readZipPart;
using test::TempDir;

const std::string kCyrillic = "\xcf\xf0\xe8\xe2\xe5\xf2";  // "Привет" in code page 1251

Workbook sample() {
  Workbook book;
  Sheet& a = book.addSheet("Parameters");
  a.set(0, 0, "Language");
  a.set(0, 1, "eng");
  a.set(1, 0, " 0 - leading blank");
  a.set(1, 1, "  *");
  a.set(2, 1, "trailing  ");
  a.set(3, 1, "12");
  a.set(4, 1, "2,5");
  a.set(5, 1, kCyrillic);
  a.set(6, 1, "a & <b> \"c\"");
  a.set(7, 1, "   ");
  a.set(8, 0, "_x0041_ stays _x0041_, \x01 and \r too");
  a.setAlign(columnRange(0, 8), HAlign::Left);
  a.setBold(columnRange(1, 8));
  a.setColumnWidth(0, 75);
  a.setColumnWidth(1, 74);
  Sheet& b = book.addSheet("Points");
  b.set(0, 0, "No.");
  b.set(0, 2, "Street");
  b.set(4, 16, "last");
  b.setBold(rowRange(0, 17));
  b.setWrap(rowRange(0, 17));
  b.setRowHeight(0, 54);
  b.setColumnWidth(3, 11.5);
  book.addSheet("Empty");
  return book;
}

void expectSameCells(const Workbook& written, const Workbook& read) {
  ASSERT_EQ(read.sheets().size(), written.sheets().size());
  for (size_t s = 0; s < written.sheets().size(); ++s) {
    const Sheet& w = written.sheets()[s];
    const Sheet& r = read.sheets()[s];
    EXPECT_EQ(r.name(), w.name());
    EXPECT_EQ(r.cellCount(), w.cellCount()) << w.name();
    for (const Sheet::Row& row : w.rows())
      for (const Sheet::Cell& c : row.cells)
        EXPECT_EQ(r.cell(row.row, c.column), c.text)
            << w.name() << " " << row.row << "," << c.column;
  }
}

TEST(XlsxRoundTrip, TextsComeBackExactlyBlanksAndCodePageIncluded) {
  TempDir dir;
  const Workbook book = sample();
  writeXlsx(book, dir / "t.xlsx");
  const WorkbookRead read = readWorkbook(dir / "t.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  expectSameCells(book, *read.book);
  EXPECT_EQ(read.book->sheets()[0].cell(4, 1), "2,5");  // text stays text
  EXPECT_EQ(read.book->sheets()[2].cellCount(), 0u);
}

TEST(XlsxRoundTrip, FormatsWidthsHeightsAndFormattedBlanksReachTheFile) {
  TempDir dir;
  writeXlsx(sample(), dir / "t.xlsx");
  const std::string points = readZipPart(dir / "t.xlsx", "xl/worksheets/sheet2.xml");
  const std::string styles = readZipPart(dir / "t.xlsx", "xl/styles.xml");
  // The title row: 54 points high, its 17 cells formatted, those without text blank.
  EXPECT_NE(points.find("ht=\"54\""), std::string::npos) << points;
  EXPECT_NE(points.find("<c r=\"Q1\" s=\""), std::string::npos) << points;
  EXPECT_NE(points.find("<c r=\"B1\" s=\""), std::string::npos) << points;
  EXPECT_NE(points.find("width=\"12.2"), std::string::npos) << points;  // 11.5 + padding
  EXPECT_NE(styles.find("<b/>"), std::string::npos);
  EXPECT_NE(styles.find("wrapText=\"1\""), std::string::npos);
  EXPECT_NE(styles.find("horizontal=\"left\""), std::string::npos);
  // Three combinations: left; bold; bold and wrapped (the column of bold texts is not
  // left-aligned in its unformatted rows).
  const std::string params = readZipPart(dir / "t.xlsx", "xl/worksheets/sheet1.xml");
  EXPECT_EQ(params.find("r=\"B9\""), std::string::npos) << "no blank beyond the range";
}

TEST(XlsxRoundTrip, LargeSheetsAreWrittenRowByRowAndReadBackAsInlineStrings) {
  TempDir dir;
  Workbook book;
  Sheet& s = book.addSheet("Sections (1)");
  const int rows = 30000, cols = 8;  // more cells than the constant-memory threshold
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) s.set(r, c, std::to_string(r * 10 + c) + (c == 3 ? " " : ""));
  s.setBold(rowRange(0, cols));
  s.setRowHeight(0, 55);
  writeXlsx(book, dir / "big.xlsx");
  EXPECT_NE(readZipPart(dir / "big.xlsx", "xl/worksheets/sheet1.xml").find("inlineStr"),
            std::string::npos);
  const WorkbookRead read = readWorkbook(dir / "big.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  expectSameCells(book, *read.book);
}

TEST(XlsxStream, FormatsGivenWhileARowIsOpenLeaveItsFormattedBlanksAlone) {
  // Cells go into the file as they are set: the blanks of an open formatted row come after
  // formats for later rows were given (many, so that their list moves in memory).
  TempDir dir;
  writeXlsx(
      [](WorkbookOutput& out) {
        SheetOutput& s = out.addSheet("S");
        s.setBold({0, 0, 1, 3});
        s.set(1, 0, "a");
        for (int r = 10; r < 60; ++r) s.setWrap(rowRange(r, 2));
        s.set(1, 2, "b");
        s.set(12, 0, "c");
      },
      dir / "s.xlsx");
  const std::string xml = readZipPart(dir / "s.xlsx", "xl/worksheets/sheet1.xml");
  for (const char* cell : {"<c r=\"A2\" s=\"8\" t=", "<c r=\"B2\" s=\"8\"/>",
                           "<c r=\"C2\" s=\"8\" t=", "<c r=\"D2\" s=\"8\"/>",
                           "<c r=\"A13\" s=\"1\" t=", "<c r=\"B13\" s=\"1\"/>"})
    EXPECT_NE(xml.find(cell), std::string::npos) << cell << "\n" << xml;
}

TEST(XlsxStream, RowsAndFormatsMustComeInTheOrderOfTheFile) {
  // A layout that breaks the order would lose cells or formats: it is a programming error.
  TempDir dir;
  const auto layout = [](int step) {
    return [step](WorkbookOutput& out) {
      SheetOutput& s = out.addSheet("S");
      s.set(3, 2, "x");
      switch (step) {
        case 0: s.set(3, 1, "left of the last"); break;
        case 1: s.set(2, 0, "above the last"); break;
        case 2: s.setBold(rowRange(3, 4)); break;
        case 3: s.setRowHeight(3, 20); break;
        case 4: s.setColumnWidth(0, 9); break;
      }
    };
  };
  for (int step = 0; step < 5; ++step)
    EXPECT_THROW(writeXlsx(layout(step), dir / "s.xlsx"), std::logic_error) << step;
  EXPECT_FALSE(fs::exists(dir / "s.xlsx"));
}

TEST(XlsxRoundTrip, SheetNamesAreMadeValidInTheFile) {
  TempDir dir;
  Workbook book;
  book.addSheet("Transit sections [1]");
  book.addSheet("transit sections _1_");
  book.addSheet("");
  writeXlsx(book, dir / "n.xlsx");
  const WorkbookRead read = readWorkbook(dir / "n.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  ASSERT_EQ(read.book->sheets().size(), 3u);
  EXPECT_EQ(read.book->sheets()[0].name(), "Transit sections _1_");
  EXPECT_EQ(read.book->sheets()[1].name(), "transit sections _1_ (2)");
  EXPECT_EQ(read.book->sheets()[2].name(), "Sheet3");
}

TEST(XlsxWriter, UniqueNamesNeverReplaceAFile) {
  TempDir dir;
  const Workbook book = sample();
  const fs::path first = writeXlsxUnique(book, dir.path(), "qj_TASK01");
  const fs::path second = writeXlsxUnique(book, dir.path(), "qj_TASK01");
  EXPECT_EQ(first.filename(), "qj_TASK01.xlsx");
  EXPECT_EQ(second.filename(), "qj_TASK01 (2).xlsx");
  // Nothing else is left in the folder: the temporary files are gone.
  int files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path())) ++files;
  EXPECT_EQ(files, 2);
  const WorkbookRead a = readWorkbook(first), b = readWorkbook(second);
  ASSERT_TRUE(a.book && b.book);
  expectSameCells(*a.book, *b.book);
}

TEST(XlsxWriter, AFolderThatCannotBeWrittenIsAnErrorAndLeavesNothing) {
  TempDir dir;
  EXPECT_THROW(writeXlsx(sample(), dir / "missing/t.xlsx"), OfficeError);
  EXPECT_THROW(writeXlsxUnique(sample(), dir / "missing", "x"), OfficeError);
  if (::geteuid() != 0) {
    fs::create_directories(dir / "ro");
    ::chmod((dir / "ro").c_str(), 0555);
    EXPECT_THROW(writeXlsxUnique(sample(), dir / "ro", "x"), OfficeError);
    ::chmod((dir / "ro").c_str(), 0755);
    EXPECT_TRUE(fs::is_empty(dir / "ro"));
  }
}

TEST(NumberText, IntegralNumbersHaveNoFraction) {
  EXPECT_EQ(numberText(12.0), "12");
  EXPECT_EQ(numberText(-3.0), "-3");
  EXPECT_EQ(numberText(-0.0), "0");
  EXPECT_EQ(numberText(2.5), "2.5");
  EXPECT_EQ(numberText(0.1 + 0.2), "0.3");
  EXPECT_EQ(numberText(100.0 / 3), "33.3333333333333");
  EXPECT_EQ(numberText(1e20), "1e+20");
}

}  // namespace
}  // namespace qj::office
