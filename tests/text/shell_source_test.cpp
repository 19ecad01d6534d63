#include "text/shell_source.h"

#include <gtest/gtest.h>

#include "records/bytes.h"

namespace qj {
namespace {

ShellSourceResult parse(std::string_view text, std::string_view code = "eng") {
  return parseShellSource(text, code);
}

// Refused with an error at `line` whose message contains `part`.
::testing::AssertionResult refused(std::string_view text, int line, std::string_view part,
                                   std::string_view code = "eng") {
  const auto r = parse(text, code);
  if (r.source) return ::testing::AssertionFailure() << "accepted";
  for (const auto& e : r.errors)
    if (e.line == line && e.message.find(part) != std::string::npos)
      return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "line " << r.errors.front().line << ": " << r.errors.front().message;
}

TEST(ShellSource, EntriesFillTheirTablesAndGapsStayEmpty) {
  const auto r = parse(
      "# English\n"
      "\n"
      "language = eng English\n"
      "short.2 = none\n"
      "shell.0 = Zero\n"
      "shell.3 =   Three  \r\n"
      "long.1.2 = third line\n");
  ASSERT_TRUE(r.source) << r.errors.front().message;
  const ShellTables& t = r.source->tables;
  EXPECT_EQ(t.languageName, "eng English");
  EXPECT_EQ(t.shortTexts, (std::vector<std::string>{"", "", "none"}));
  EXPECT_EQ(t.shellTexts, (std::vector<std::string>{"Zero", "", "", "Three"}));
  ASSERT_EQ(t.longTexts.size(), 2u);
  EXPECT_EQ(t.longTexts[1], (std::vector<std::string>{"", "", "third line"}));
  EXPECT_TRUE(r.source->notes.empty());
}

TEST(ShellSource, QuotesKeepBlanksAndOnlyTheOuterPairIsRemoved) {
  const auto r = parse(
      "language = eng English\n"
      "shell.0 = \" to \"\n"
      "shell.1 = \"\"quoted\"\"\n"
      "shell.2 = say \"hi\"\n"
      "shell.3 = \"\n"
      "shell.4 = \"\"\n"
      "shell.5 = a = b\n");
  ASSERT_TRUE(r.source);
  EXPECT_EQ(r.source->tables.shellTexts,
            (std::vector<std::string>{" to ", "\"quoted\"", "say \"hi\"", "\"", "", "a = b"}));
}

TEST(ShellSource, RussianTextsBecomeCodePage1251WithTheirNotes) {
  const auto r = parse(
      "language = rus Русский\n"
      "note.0 = километры\n"
      "short.0 = км\n"
      "shell.0 = Задача\n",
      "rus");
  ASSERT_TRUE(r.source) << r.errors.front().message;
  EXPECT_EQ(r.source->tables.shortTexts[0], "\xEA\xEC");
  EXPECT_EQ(r.source->notes, (std::vector<std::string>{"\xEA\xE8\xEB\xEE\xEC\xE5\xF2\xF0\xFB"}));
  EXPECT_EQ(r.source->tables.languageName, "rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9");
}

TEST(ShellSource, MalformedLinesAndUnknownKeysAreRefusedWithTheirLine) {
  const std::string head = "language = eng English\n";
  EXPECT_TRUE(refused(head + "shell.1 Route\n", 2, "malformed"));
  EXPECT_TRUE(refused(head + "shel.1 = Route\n", 2, "unknown key"));
  EXPECT_TRUE(refused(head + "shell.x = Route\n", 2, "unknown key"));
  EXPECT_TRUE(refused(head + "shell.-1 = Route\n", 2, "unknown key"));
  EXPECT_TRUE(refused(head + "shell.10000 = Route\n", 2, "unknown key"));
  EXPECT_TRUE(refused(head + "long.1 = Route\n", 2, "unknown key"));
  EXPECT_TRUE(refused(head + "shell.1 = a\tb\n", 2, "control character"));
  EXPECT_TRUE(refused(head + "note.1 = a note\n", 2, "without notes"));
}

TEST(ShellSource, DuplicatesNameTheFirstLine) {
  EXPECT_TRUE(refused("language = eng English\nshell.7 = a\n\nshell.7 = b\n", 4, "line 2"));
  EXPECT_TRUE(refused("language = eng English\nlong.0.1 = a\nlong.0.1 = b\n", 3, "duplicate"));
  EXPECT_TRUE(refused("language = eng English\nlanguage = eng English\n", 2, "duplicate"));
  // The same index in different tables is no duplicate.
  EXPECT_TRUE(parse("language = eng E\nshell.7 = a\nshort.7 = b\nlong.7.0 = c\n").source);
}

TEST(ShellSource, TextsMustFitCodePage1251AndTheirSlots) {
  const std::string head = "language = eng English\n";
  EXPECT_TRUE(refused(head + "shell.1 = 漢字\n", 2, "code page 1251"));
  EXPECT_TRUE(refused(head + "shell.1 = \xFF\n", 2, "code page 1251"));
  EXPECT_TRUE(parse(head + "short.1 = " + std::string(15, 'x') + "\n").source);
  EXPECT_TRUE(refused(head + "short.1 = " + std::string(16, 'x') + "\n", 2, "16 characters"));
  // Limits count characters, not UTF-8 bytes: fifteen Cyrillic letters fit.
  std::string cyrillic;
  for (int i = 0; i < 15; ++i) cyrillic += "ж";
  EXPECT_TRUE(parse(head + "short.1 = " + cyrillic + "\n").source);
  EXPECT_TRUE(parse(head + "shell.1 = " + std::string(255, 'x') + "\n").source);
  EXPECT_TRUE(refused(head + "shell.1 = " + std::string(256, 'x') + "\n", 2, "255"));
  EXPECT_TRUE(refused(head + "long.0.0 = " + std::string(256, 'x') + "\n", 2, "255"));
  EXPECT_TRUE(refused("language = eng " + std::string(21, 'x') + "\n", 1, "24"));
  const std::string rus = "language = rus Русский\nshort.1 = км\n";
  EXPECT_TRUE(parse(rus + "note.1 = " + std::string(70, 'x') + "\n", "rus").source);
  EXPECT_TRUE(refused(rus + "note.1 = " + std::string(71, 'x') + "\n", 3, "70", "rus"));
}

TEST(ShellSource, TheLanguageNameBeginsWithTheCode) {
  EXPECT_TRUE(refused("shell.1 = a\n", 0, "no \"language"));
  EXPECT_TRUE(refused("language = English\n", 1, "\"eng\""));
  EXPECT_TRUE(refused("language = rus Russian\n", 1, "\"eng\""));
  EXPECT_TRUE(parse("language = rus Russian\n", "rus").source);
}

TEST(ShellSource, AShellWithNotesHasANoteForEveryShortText) {
  EXPECT_TRUE(refused("language = rus Р\nshort.3 = км\n", 2, "no note.3", "rus"));
  EXPECT_TRUE(refused("language = rus Р\nnote.3 = километры\n", 2, "no short.3", "rus"));
  const auto r = parse("language = rus Р\nnote.1 = n\nshort.1 = s\nshort.4 = \"\"\n", "rus");
  ASSERT_TRUE(r.source);
  EXPECT_EQ(r.source->notes, (std::vector<std::string>{"", "n", "", "", ""}));
}

TEST(ShellSource, EveryErrorIsReportedInLineOrder) {
  const auto r = parse("shell.1 = x\nbad\nshell.1 = y\n");
  ASSERT_FALSE(r.source);
  ASSERT_EQ(r.errors.size(), 3u);
  EXPECT_EQ(r.errors[0].line, 0);  // the missing language line
  EXPECT_EQ(r.errors[1].line, 2);
  EXPECT_EQ(r.errors[2].line, 3);
}

TEST(ShellSource, ATinyRussianShellCompilesToTheseBytes) {
  const auto r = parse(
      "language = rus Рус\n"
      "note.0 = час\n"
      "short.0 = ч\n"
      "shell.1 = \" да \"\n"
      "long.0.0 = Я\n",
      "rus");
  ASSERT_TRUE(r.source);
  ByteWriter w;
  w.shortString("rus \xD0\xF3\xF1", 24);
  for (int32_t n : {1, 2, 1}) w.i32(n);
  w.i32(3);
  w.raw("\x03\xF7\xE0\xF1");  // note "час"
  w.i32(1);
  w.raw("\x01\xF7");  // "ч"
  w.i32(0);
  w.raw(std::string(1, '\0'));  // shell text 0 is empty
  w.i32(4);
  w.raw("\x04 \xE4\xE0 ");
  w.i32(1);  // long text 0 has one line
  w.i32(1);
  w.raw("\x01\xDF");
  EXPECT_EQ(writeShell(r.source->tables, true, r.source->notes), w.bytes());
}

}  // namespace
}  // namespace qj
