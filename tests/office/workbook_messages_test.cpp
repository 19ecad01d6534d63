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

}  // namespace
}  // namespace qj::office
