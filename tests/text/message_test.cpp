#include "text/message.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

ShellTables tables() {
  ShellTables t;
  t.shellTexts = {"  Task  ", "is saved"};
  t.shortTexts = {"min"};
  t.longTexts = {{"Help"}};
  return t;
}

TEST(Message, ComposesShellTextsLiteralsAndValuesTrimmingOnlyShellTexts) {
  const Text t = shell(0).trimmed() + " " + val("AB12CD") + " " + shell(1) + ", " + num(-5) + " " +
                 shortText(0) + " мин.";
  EXPECT_EQ(t.utf8(tables()), "Task AB12CD is saved, -5 min мин.");
  EXPECT_EQ(t.resolve(tables()), "Task AB12CD is saved, -5 min \xEC\xE8\xED.");
  EXPECT_EQ((shell(0) + val("  x  ")).trimmed().resolve(tables()), "Task  x  ");
  EXPECT_EQ((shell(0) + "|").resolve(tables()), "  Task  |");
  // Missing indices resolve empty.
  EXPECT_EQ((shell(700) + "..." + longText(0, 0) + longText(3, 3)).resolve(tables()), "...Help");
}

TEST(Message, ShowPicksTheBoxAndReturnsTheAnswer) {
  ScriptedMessages box;
  box.answers = {true};
  EXPECT_TRUE(show(box, warningMessage(shell(1)), tables()));
  EXPECT_TRUE(show(box, confirmMessage(shell(1) + "?"), tables()));
  EXPECT_FALSE(show(box, confirmMessage(shell(1) + "?"), tables()));
  ASSERT_EQ(box.shown.size(), 3u);
  EXPECT_EQ(box.shown[0].kind, MessageKind::Warning);
  EXPECT_EQ(box.shown[1].kind, MessageKind::Confirm);
  EXPECT_EQ(box.shown[1].text, "is saved?");
}

}  // namespace
}  // namespace qj
