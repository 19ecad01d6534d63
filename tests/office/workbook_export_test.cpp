// Saving workbooks into Export/, and the messages of the export and of reading workbooks.

#include "office/workbook_export.h"

#include <gtest/gtest.h>

#include "office/workbook_messages.h"
#include "office/workbook_reader.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

const ShellTables kTexts = test::markedShell();

TEST(WorkbookExport, EveryExportGetsANewFileAndAFailureTheOneExportMessage) {
  test::TempDir dir;
  const ProgramFolder folder(dir.path());
  office::Workbook book;
  book.addSheet("S").set(0, 0, "x");
  const WorkbookExport first = saveExportedWorkbook(book, folder, "qj_TOWN01");
  const WorkbookExport second = saveExportedWorkbook(book, folder, "qj_TOWN01");
  ASSERT_TRUE(first.file && second.file);
  EXPECT_FALSE(first.message);
  EXPECT_EQ(*first.file, dir / "Export/qj_TOWN01.xlsx");
  EXPECT_EQ(*second.file, dir / "Export/qj_TOWN01 (2).xlsx");
  EXPECT_EQ(office::readWorkbook(*second.file).book->sheets()[0].cell(0, 0), "x");

  std::filesystem::remove_all(dir / "Export");
  dir.write("Export", "a file where the folder should be");
  const WorkbookExport failed = saveExportedWorkbook(book, folder, "qj_TOWN01");
  EXPECT_FALSE(failed.file);
  ASSERT_TRUE(failed.message);
  EXPECT_EQ(failed.message->kind, MessageKind::Error);
  EXPECT_EQ(failed.message->utf8(kTexts), "S465...");
}

TEST(WorkbookMessages, NameTheFileAndWhatHappened) {
  using office::ReadFault;
  const auto read = [](ReadFault f) { return office::workbookReadMessage("a.xlsx", f); };
  const Message notOpened = workbookNotOpenedMessage("/home/user/QJ/Export/qj_TOWN01 (2).xlsx");
  const struct {
    Message message;
    MessageKind kind;
    const char* text;
  } cases[] = {
      {notOpened, MessageKind::Warning,
       "S952 \"qj_TOWN01 (2).xlsx\" S963 \"/home/user/QJ/Export\", S953."},
      {read(ReadFault::Unreadable), MessageKind::Error, "S970 \"a.xlsx\" S971."},
      {read(ReadFault::NotAWorkbook), MessageKind::Error, "S970 \"a.xlsx\" S972."},
      {read(ReadFault::Damaged), MessageKind::Error, "S970 \"a.xlsx\" S973."},
      {read(ReadFault::TooLarge), MessageKind::Error, "S970 \"a.xlsx\" S974."},
      {office::cellMessage(shell(975), 2, 14, "AB", shell(979)), MessageKind::Error,
       "S975: S976 2, S977 14, S978 AB S979."},
      {office::missingSheetMessage(shell(975), 3), MessageKind::Error, "S975: S982 3."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.message.utf8(kTexts), c.text);
    EXPECT_EQ(c.message.kind, c.kind) << c.text;
  }
  EXPECT_EQ(office::workbookWorkCaption(true).utf8(kTexts), "S983 ...");
  EXPECT_EQ(office::workbookWorkCaption(false).utf8(kTexts), "S114 ...");
  EXPECT_EQ(office::workRowsText(1200, 0).utf8(kTexts), "S984: 1200");
  EXPECT_EQ(office::workRowsText(1200, 260004).utf8(kTexts), "S984: 1200 / 260004");
}

}  // namespace
}  // namespace qj
