// Legacy .xls workbooks: a small BIFF8 file made in code is read through the same entry as
// .xlsx files, the kind told by the file's first bytes.

#include <gtest/gtest.h>

#include "office/biff8_file.h"
#include "office/workbook_reader.h"
#include "support/temp_dir.h"

namespace qj::office {
namespace {

using test::TempDir;
using test::XlsCell;
using test::XlsSheet;

TEST(XlsReader, ReadsTheSheetsInOrderWithTextsAndNumbers) {
  TempDir dir;
  const std::vector<XlsSheet> sheets = {
      {u"Info", {{0, 0, u"Language"}, {0, 1, u"eng"}, {1, 1, u"  *"}, {2, 1, u"Улица"}}},
      {u"Points", {{0, 0, {}, true, 12}, {0, 1, {}, true, 2.5}, {3, 2, u"last"}}},
  };
  // Saved under a name that does not say what it is.
  dir.write("task.dat", test::xlsFile(sheets));
  const WorkbookRead r = readWorkbook(dir / "task.dat");
  ASSERT_TRUE(r.book) << r.detail;
  ASSERT_EQ(r.book->sheets().size(), 2u);
  const Sheet& info = r.book->sheets()[0];
  EXPECT_EQ(info.name(), "Info");
  EXPECT_EQ(info.cell(0, 0), "Language");
  EXPECT_EQ(info.cell(0, 1), "eng");
  EXPECT_EQ(info.cell(1, 1), "  *");
  EXPECT_EQ(info.cell(2, 1), "\xd3\xeb\xe8\xf6\xe0");  // code page 1251
  EXPECT_EQ(info.cell(1, 0), "");
  const Sheet& points = r.book->sheets()[1];
  EXPECT_EQ(points.cell(0, 0), "12");
  EXPECT_EQ(points.cell(0, 1), "2.5");
  EXPECT_EQ(points.cell(3, 2), "last");
  EXPECT_EQ(points.rowCount(), 4);
}

TEST(XlsReader, RefusesADamagedCompoundFile) {
  TempDir dir;
  std::string bytes = test::xlsFile({{u"S", {{0, 0, u"x"}}}});
  dir.write("cut.xls", bytes.substr(0, 600));
  const WorkbookRead cut = readWorkbook(dir / "cut.xls");
  EXPECT_FALSE(cut.book);
  EXPECT_NE(cut.fault, ReadFault::None);
  // A stream that holds no workbook records reads as a workbook without sheets.
  std::string blank = bytes;
  std::fill(blank.begin() + 1024, blank.begin() + 1024 + 4096, '\0');
  dir.write("blank.xls", blank);
  const WorkbookRead r = readWorkbook(dir / "blank.xls");
  EXPECT_TRUE(!r.book || r.book->sheets().empty());
}

}  // namespace
}  // namespace qj::office
