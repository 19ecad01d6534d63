#include "text/shell_source.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "records/bytes.h"

namespace qj {
namespace {

using V = std::vector<std::string>;

TEST(ShellSource, EntriesFillTheirTablesQuotesKeepBlanksAndGapsStayEmpty) {
  const auto r = parseShellSource(
      "# English\n"
      "\n"
      "language = eng English\n"
      "short.2 = none\n"
      "shell.0 = Zero\n"
      "shell.3 =   Three  \r\n"
      "shell.4 = \" to \"\n"
      "shell.5 = \"\"quoted\"\"\n"
      "shell.6 = say \"hi\"\n"
      "shell.7 = \"\n"
      "shell.8 = \"\"\n"
      "shell.9 = a = b\n"
      "long.1.2 = third line\n",
      "eng");
  ASSERT_TRUE(r.source) << r.errors.front().message;
  const ShellTables& t = r.source->tables;
  EXPECT_EQ(t.languageName, "eng English");
  EXPECT_EQ(t.shortTexts, (V{"", "", "none"}));
  EXPECT_EQ(t.shellTexts,
            (V{"Zero", "", "", "Three", " to ", "\"quoted\"", "say \"hi\"", "\"", "", "a = b"}));
  EXPECT_EQ(t.longTexts, (std::vector<V>{{}, {"", "", "third line"}}));
  EXPECT_TRUE(r.source->notes.empty());
}

// Every row is refused with an error at its line whose message names the fault.
TEST(ShellSource, FaultyLinesAreRefusedWithTheirLine) {
  const std::string eng = "language = eng English\n", rus = "language = rus Р\nshort.1 = км\n";
  const struct {
    std::string text;
    int line;
    const char* part;
    const char* code;
  } cases[] = {
      {eng + "shell.1 Route\n", 2, "malformed", "eng"},
      {eng + "shel.1 = Route\n", 2, "unknown key", "eng"},
      {eng + "shell.x = Route\n", 2, "unknown key", "eng"},
      {eng + "shell.-1 = Route\n", 2, "unknown key", "eng"},
      {eng + "shell.10000 = Route\n", 2, "unknown key", "eng"},
      {eng + "long.1 = Route\n", 2, "unknown key", "eng"},
      {eng + "shell.1 = a\tb\n", 2, "control character", "eng"},
      {eng + "note.1 = a note\n", 2, "without notes", "eng"},
      {eng + "shell.7 = a\n\nshell.7 = b\n", 4, "line 2", "eng"},
      {eng + "long.0.1 = a\nlong.0.1 = b\n", 3, "duplicate", "eng"},
      {eng + eng, 2, "duplicate", "eng"},
      {eng + "shell.1 = 漢字\n", 2, "code page 1251", "eng"},
      {eng + "shell.1 = \xFF\n", 2, "code page 1251", "eng"},
      {eng + "short.1 = " + std::string(16, 'x') + "\n", 2, "16 characters", "eng"},
      {eng + "shell.1 = " + std::string(256, 'x') + "\n", 2, "255", "eng"},
      {eng + "long.0.0 = " + std::string(256, 'x') + "\n", 2, "255", "eng"},
      {"language = eng " + std::string(21, 'x') + "\n", 1, "24", "eng"},
      {rus + "note.1 = " + std::string(71, 'x') + "\n", 3, "70", "rus"},
      {"shell.1 = a\n", 0, "no \"language", "eng"},
      {"language = English\n", 1, "\"eng\"", "eng"},
      {"language = rus Russian\n", 1, "\"eng\"", "eng"},
      {"language = rus Р\nshort.3 = км\n", 2, "no note.3", "rus"},
      {"language = rus Р\nnote.3 = километры\n", 2, "no short.3", "rus"},
  };
  for (const auto& c : cases) {
    const auto r = parseShellSource(c.text, c.code);
    EXPECT_FALSE(r.source) << c.text;
    EXPECT_TRUE(std::any_of(r.errors.begin(), r.errors.end(), [&](const auto& e) {
      return e.line == c.line && e.message.find(c.part) != std::string::npos;
    })) << c.text;
  }
  // Every error is reported, in line order.
  const auto r = parseShellSource("shell.1 = x\nbad\nshell.1 = y\n", "eng");
  ASSERT_EQ(r.errors.size(), 3u);
  EXPECT_EQ(std::vector({r.errors[0].line, r.errors[1].line, r.errors[2].line}),
            std::vector({0, 2, 3}));
}

TEST(ShellSource, LimitsCountCharactersNotBytes) {
  const std::string eng = "language = eng E\n";
  std::string cyrillic;
  for (int i = 0; i < 15; ++i) cyrillic += "ж";
  for (const std::string& text :
       {eng + "short.1 = " + std::string(15, 'x'), eng + "short.1 = " + cyrillic,
        eng + "shell.1 = " + std::string(255, 'x'),
        // The same index in different tables is no duplicate.
        eng + "shell.7 = a\nshort.7 = b\nlong.7.0 = c\n"})
    EXPECT_TRUE(parseShellSource(text, "eng").source) << text;
  EXPECT_TRUE(parseShellSource("language = rus Р\nnote.1 = " + std::string(70, 'x') +
                                   "\nshort.1 = s\nshort.4 = \"\"\n",
                               "rus")
                  .source);
}

TEST(ShellSource, ATinyRussianShellCompilesToTheseBytesWithANoteForEveryShortText) {
  const auto r = parseShellSource(
      "language = rus Рус\n"
      "note.0 = час\n"
      "short.0 = ч\n"
      "short.2 = \"\"\n"
      "shell.1 = \" да \"\n"
      "long.0.0 = Я\n",
      "rus");
  ASSERT_TRUE(r.source) << r.errors.front().message;
  EXPECT_EQ(r.source->notes, (V{"\xF7\xE0\xF1", "", ""}));
  ByteWriter w;
  w.shortString("rus \xD0\xF3\xF1", 24);
  for (int32_t n : {3, 2, 1}) w.i32(n);
  w.raw(
      std::string("\3\0\0\0\3\xF7\xE0\xF1"  // note "час"
                  "\1\0\0\0\1\xF7"          // "ч"
                  "\0\0\0\0\0\0\0\0\0\0"    // two empty notes and texts
                  "\0\0\0\0\0\0\0\0\0\0"
                  "\0\0\0\0\0"  // shell text 0 is empty
                  "\4\0\0\0\4 \xE4\xE0 "
                  "\1\0\0\0"  // long text 0 has one line
                  "\1\0\0\0\1\xDF",
                  58));
  EXPECT_EQ(writeShell(r.source->tables, true, r.source->notes), w.bytes());
}

}  // namespace
}  // namespace qj
