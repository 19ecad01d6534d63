#include "office/workbook_messages.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace qj::office {
namespace {

TEST(WorkbookReadMessage, NamesTheFileAndWhyItCannotBeRead) {
  const ShellTables t = test::markedShell();
  const auto text = [&](ReadFault f) { return workbookReadMessage("a.xlsx", f).utf8(t); };
  EXPECT_EQ(text(ReadFault::Unreadable), "S970 \"a.xlsx\" S971.");
  EXPECT_EQ(text(ReadFault::NotAWorkbook), "S970 \"a.xlsx\" S972.");
  EXPECT_EQ(text(ReadFault::Damaged), "S970 \"a.xlsx\" S973.");
  EXPECT_EQ(text(ReadFault::TooLarge), "S970 \"a.xlsx\" S974.");
  EXPECT_EQ(workbookReadMessage("a.xlsx", ReadFault::Damaged).kind, MessageKind::Error);
}

TEST(WorkbookWork, CaptionsAndRowCounts) {
  const ShellTables t = test::markedShell();
  EXPECT_EQ(workbookWorkCaption(true).utf8(t), "S983 ...");
  EXPECT_EQ(workbookWorkCaption(false).utf8(t), "S114 ...");
  EXPECT_EQ(workRowsText(1200, 0).utf8(t), "S984: 1200");
  EXPECT_EQ(workRowsText(1200, 260004).utf8(t), "S984: 1200 / 260004");
}

}  // namespace
}  // namespace qj::office
