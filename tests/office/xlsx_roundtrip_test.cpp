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
  book.addSheet("Empty [1]");  // named as a sheet may not be
  return book;
}

void expectSameCells(const Workbook& written, const Workbook& read) {
  ASSERT_EQ(read.sheets().size(), written.sheets().size());
  for (size_t s = 0; s < written.sheets().size(); ++s) {
    const Sheet& w = written.sheets()[s];
    const Sheet& r = read.sheets()[s];
    EXPECT_EQ(r.name(), validSheetNames({w.name()})[0]);
    EXPECT_EQ(r.cellCount(), w.cellCount()) << w.name();
    for (const Sheet::Row& row : w.rows())
      for (const Sheet::Cell& c : row.cells)
        EXPECT_EQ(r.cell(row.row, c.column), c.text)
            << w.name() << " " << row.row << "," << c.column;
  }
}

// The cell format `n` of the style sheet's list.
std::string cellFormat(const std::string& styles, int n) {
  size_t at = styles.find("<cellXfs");
  for (int i = 0; i <= n; ++i) at = styles.find("<xf ", at + 1);
  return styles.substr(at, styles.find("<xf ", at + 1) - at);
}

TEST(XlsxRoundTrip, TextsComeBackExactlyBlanksAndCodePageIncluded) {
  TempDir dir;
  const Workbook book = sample();
  writeXlsx(book, dir / "t.xlsx");
  const WorkbookRead read = readWorkbook(dir / "t.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  expectSameCells(book, *read.book);
  EXPECT_EQ(read.book->sheets()[0].cell(4, 1), "2,5");  // text stays text
  EXPECT_EQ(read.book->sheets()[2].name(), "Empty _1_");
  EXPECT_EQ(read.book->sheets()[2].cellCount(), 0u);
}

// What a spreadsheet program reads: texts escaped for XML and for the spreadsheet's own
// escapes, blanks kept, widths with their padding, the title row's height, and formatted
// cells without text written blank within their range only.
TEST(XlsxWriter, WritesSheetsByteForByte) {
  TempDir dir;
  writeXlsx(sample(), dir / "t.xlsx");
  const auto data = [&](int sheet) {
    const std::string xml =
        readZipPart(dir / "t.xlsx", "xl/worksheets/sheet" + std::to_string(sheet) + ".xml");
    const size_t from = xml.find("<sheetView ");
    return xml.substr(from, xml.find("<pageMargins") - from);
  };
  // Row r: column A blank and left-aligned, column B bold with its text.
  const auto row = [](int r, const std::string& t) {
    const std::string n = std::to_string(r);
    return "<row r=\"" + n + "\"><c r=\"A" + n + "\" s=\"2\"/><c r=\"B" + n +
           "\" s=\"8\" t=\"inlineStr\"><is><t" + t + "</t></is></c></row>";
  };
  EXPECT_EQ(data(1),
            "<sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
            "<sheetFormatPr defaultRowHeight=\"15\"/><cols>"
            "<col min=\"1\" max=\"1\" width=\"75.7109375\" customWidth=\"1\"/>"
            "<col min=\"2\" max=\"2\" width=\"74.7109375\" customWidth=\"1\"/></cols><sheetData>"
            "<row r=\"1\"><c r=\"A1\" s=\"2\" t=\"inlineStr\"><is><t>Language</t></is></c><c "
            "r=\"B1\" s=\"8\" t=\"inlineStr\"><is><t>eng</t></is></c></row><row r=\"2\"><c "
            "r=\"A2\" s=\"2\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> 0 - leading "
            "blank</t></is></c><c r=\"B2\" s=\"8\" t=\"inlineStr\"><is><t "
            "xml:space=\"preserve\">  *</t></is></c></row>" +
                row(3, " xml:space=\"preserve\">trailing  ") + row(4, ">12") + row(5, ">2,5") +
                row(6, ">\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82") +
                row(7, ">a &amp; &lt;b&gt; \"c\"") + row(8, " xml:space=\"preserve\">   ") +
                "<row r=\"9\"><c r=\"A9\" t=\"inlineStr\"><is><t>_x005F_x0041_ stays "
                "_x005F_x0041_, _x0001_ and _x000D_ too</t></is></c></row></sheetData>");
  std::string blanks;
  for (char c = 'D'; c <= 'Q'; ++c) blanks += "<c r=\"" + std::string(1, c) + "1\" s=\"9\"/>";
  EXPECT_EQ(data(2),
            "<sheetView workbookViewId=\"0\"/></sheetViews><sheetFormatPr "
            "defaultRowHeight=\"15\"/><cols><col min=\"4\" max=\"4\" width=\"12.28515625\" "
            "customWidth=\"1\"/></cols><sheetData><row r=\"1\" ht=\"54\" customHeight=\"1\"><c "
            "r=\"A1\" s=\"9\" t=\"inlineStr\"><is><t>No.</t></is></c><c r=\"B1\" s=\"9\"/><c "
            "r=\"C1\" s=\"9\" t=\"inlineStr\"><is><t>Street</t></is></c>" +
                blanks +
                "</row><row r=\"5\"><c r=\"Q5\" t=\"inlineStr\"><is><t>last</t></is></c></row>"
                "</sheetData>");
  // The default format first; 2 left-aligned, 8 bold, 9 bold and wrapped.
  const std::string styles = readZipPart(dir / "t.xlsx", "xl/styles.xml");
  const std::string plain =
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
  const std::string bold = "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
  EXPECT_EQ(cellFormat(styles, 0), plain + "/>");
  EXPECT_EQ(cellFormat(styles, 2),
            plain + " applyAlignment=\"1\"><alignment horizontal=\"left\"/></xf>");
  EXPECT_EQ(cellFormat(styles, 8), bold + " applyFont=\"1\"/>");
  EXPECT_EQ(cellFormat(styles, 9),
            bold + " applyFont=\"1\" applyAlignment=\"1\"><alignment wrapText=\"1\"/></xf>");
  EXPECT_TRUE(
      cellFormat(styles, 15)
          .starts_with(bold +
                       " applyFont=\"1\" applyAlignment=\"1\"><alignment horizontal=\"right\" "
                       "wrapText=\"1\"/></xf></cellXfs>"));
  EXPECT_NE(styles.find("<font><b/>"), std::string::npos);
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
  // The rows written are heard every 256 rows, and once more when the file is complete.
  std::vector<std::pair<int64_t, int64_t>> heard;
  writeXlsx([&](WorkbookOutput& out) { copyWorkbook(book, out); }, dir / "big.xlsx",
            [&](int64_t done, int64_t total) { heard.emplace_back(done, total); }, rows);
  ASSERT_EQ(heard.size(), rows / 256 + 1u);
  EXPECT_EQ(heard[0], (std::pair<int64_t, int64_t>(256, rows)));
  EXPECT_EQ(heard.back(), (std::pair<int64_t, int64_t>(rows, rows)));
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

// Unique names never replace a file and leave no temporary file behind; a folder that
// cannot be written is an error and keeps nothing.
TEST(XlsxWriter, UniqueNamesAndFoldersThatCannotBeWritten) {
  TempDir dir;
  const Workbook book = sample();
  const fs::path first = writeXlsxUnique(book, dir.path(), "qj_TASK01");
  const fs::path second = writeXlsxUnique(book, dir.path(), "qj_TASK01");
  EXPECT_EQ(first, dir / "qj_TASK01.xlsx");
  EXPECT_EQ(second, dir / "qj_TASK01 (2).xlsx");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  const WorkbookRead read = readWorkbook(second);
  ASSERT_TRUE(read.book);
  expectSameCells(book, *read.book);

  EXPECT_THROW(writeXlsx(book, dir / "missing/t.xlsx"), OfficeError);
  EXPECT_THROW(writeXlsxUnique(book, dir / "missing", "x"), OfficeError);
  if (::geteuid() != 0) {
    fs::create_directories(dir / "ro");
    ::chmod((dir / "ro").c_str(), 0555);
    EXPECT_THROW(writeXlsxUnique(book, dir / "ro", "x"), OfficeError);
    ::chmod((dir / "ro").c_str(), 0755);
    EXPECT_TRUE(fs::is_empty(dir / "ro"));
  }
}

TEST(NumberText, IntegralNumbersHaveNoFraction) {
  const std::pair<double, const char*> cases[] = {{12.0, "12"},
                                                  {-3.0, "-3"},
                                                  {-0.0, "0"},
                                                  {2.5, "2.5"},
                                                  {0.1 + 0.2, "0.3"},
                                                  {1e20, "1e+20"},
                                                  {100.0 / 3, "33.3333333333333"}};
  for (const auto& [x, text] : cases) EXPECT_EQ(numberText(x), text);
}

}  // namespace
}  // namespace qj::office
