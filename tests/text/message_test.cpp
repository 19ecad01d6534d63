#include "text/message.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

// Shell texts, literals and values compose a message; texts keep their blanks unless trimmed,
// trimming never touches values, missing indices resolve empty, and a box shows the message
// and returns the answer.
TEST(Message, ComposesShellTextsLiteralsAndValuesAndIsShownInItsBox) {
  ShellTables t;
  t.shellTexts = {"  Task  ", "is saved"};
  t.shortTexts = {" min "};
  t.longTexts = {{" Help "}};
  const Text text = shell(0).trimmed() + " " + val("AB12CD") + " " + shell(1) + ", " + num(-5) +
                    " " + shortText(0) + " мин.";
  EXPECT_EQ(text.utf8(t), "Task AB12CD is saved, -5  min  мин.");
  EXPECT_EQ(text.resolve(t), "Task AB12CD is saved, -5  min  \xEC\xE8\xED.");
  EXPECT_EQ((shell(0) + val("  x  ")).trimmed().resolve(t), "Task  x  ");
  EXPECT_EQ((shell(0) + "|").resolve(t), "  Task  |");
  EXPECT_EQ((shell(700) + "..." + longText(0, 0) + longText(3, 3)).resolve(t), "... Help ");

  ScriptedMessages box;
  box.answers = {true};
  EXPECT_TRUE(show(box, warningMessage(shell(1)), t) && show(box, errorMessage(shell(1)), t) &&
              show(box, {MessageKind::Information, shell(1)}, t));
  EXPECT_TRUE(show(box, confirmMessage(shell(1) + "?"), t));
  EXPECT_FALSE(show(box, confirmMessage(shell(1) + "?"), t));
  ASSERT_EQ(box.shown.size(), 5u);
  EXPECT_EQ(std::tuple(box.shown[1].kind, box.shown[2].kind),
            std::tuple(MessageKind::Error, MessageKind::Information));
  EXPECT_EQ(box.shown[3].text, "is saved?");
}

}  // namespace
}  // namespace qj
