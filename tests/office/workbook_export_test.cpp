// Saving workbooks into Export/ and the messages of the export.

#include "office/workbook_export.h"

#include <gtest/gtest.h>

#include "office/workbook_reader.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

const ShellTables kTexts = test::markedShell();

office::Workbook oneCell() {
  office::Workbook book;
  book.addSheet("S").set(0, 0, "x");
  return book;
}

TEST(WorkbookExport, EveryExportGetsANewFileInTheExportFolder) {
  test::TempDir dir;
  const ProgramFolder folder(dir.path());
  const WorkbookExport first = saveExportedWorkbook(oneCell(), folder, "qj_TOWN01");
  const WorkbookExport second = saveExportedWorkbook(oneCell(), folder, "qj_TOWN01");
  ASSERT_TRUE(first.file && second.file);
  EXPECT_FALSE(first.message);
  EXPECT_EQ(*first.file, dir / "Export/qj_TOWN01.xlsx");
  EXPECT_EQ(*second.file, dir / "Export/qj_TOWN01 (2).xlsx");
  EXPECT_EQ(office::readWorkbook(*second.file).book->sheets()[0].cell(0, 0), "x");
}

TEST(WorkbookExport, AFailureGivesTheOneExportMessage) {
  test::TempDir dir;
  const ProgramFolder folder(dir.path());
  dir.write("Export", "a file where the folder should be");
  const WorkbookExport failed = saveExportedWorkbook(oneCell(), folder, "qj_TOWN01");
  EXPECT_FALSE(failed.file);
  ASSERT_TRUE(failed.message);
  EXPECT_EQ(failed.message->kind, MessageKind::Error);
  EXPECT_EQ(failed.message->utf8(kTexts), "S465...");
}

TEST(WorkbookExport, TheMessageOfAWorkbookNothingOpened) {
  const Message m = workbookNotOpenedMessage("/home/user/QJ/Export/qj_TOWN01 (2).xlsx");
  EXPECT_EQ(m.kind, MessageKind::Warning);
  EXPECT_EQ(m.utf8(kTexts), "S952 \"qj_TOWN01 (2).xlsx\" S963 \"/home/user/QJ/Export\", S953.");
}

}  // namespace
}  // namespace qj
