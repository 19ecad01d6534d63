#include "text/shell_source.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "records/bytes.h"

namespace qj {
namespace {

using V = std::vector<std::string>;

TEST(ShellSource, EntriesFillTheirTablesQuotesKeepBlanksAndGapsStayEmpty) {
  // Comments and blank lines are skipped; 15 characters fit a short text, in any script.
  const auto r = parseShellSource(
      "# English\n\nlanguage = eng English\nshort.2 = none\nshell.0 = Zero\n"
      "shell.3 =   Three  \r\nshell.4 = \" to \"\nshell.5 = \"\"quoted\"\"\n"
      "shell.6 = say \"hi\"\nshell.7 = \"\nshell.8 = \"\"\nshell.9 = a = b\n"
      "long.1.2 = third line\nshort.9999 = z\n"
      "short.7 = xxxxxxxxxxxxxxx\nshort.8 = жжжжжжжжжжжжжжж\n",
      "eng");
  ASSERT_TRUE(r.source) << r.errors.front().message;
  const ShellTables& t = r.source->tables;
  EXPECT_EQ(t.languageName, "eng English");
  EXPECT_EQ(t.shortTexts[2] + t.shortTexts.at(9999), "nonez");
  EXPECT_EQ(t.shellTexts,
            (V{"Zero", "", "", "Three", " to ", "\"quoted\"", "say \"hi\"", "\"", "", "a = b"}));
  EXPECT_EQ(t.longTexts, (std::vector<V>{{}, {"", "", "third line"}}));
}

// Every row is refused with an error at its line whose message names the fault.
TEST(ShellSource, FaultyLinesAreRefusedWithTheirLine) {
  const std::string eng = "language = eng English\n", rus = "language = rus Р\nshort.1 = км\n";
  const std::tuple<std::string, int, const char*> cases[] = {
      {eng + "shell.1 Route\n", 2, "malformed"},
      {eng + "shel.1 = Route\n", 2, "unknown key"},
      {eng + "shell.10000 = Route\n", 2, "unknown key"},
      {eng + "short.1a = km\n", 2, "unknown key"},
      {eng + "long.1. = Route\n", 2, "unknown key"},
      {eng + "shell.1 = a\tb\n", 2, "control character"},
      {eng + "note.1 = a note\n", 2, "without notes"},
      {eng + "shell.7 = a\n\nshell.7 = b\n", 4, "line 2"},
      {eng + "long.0.1 = a\nlong.0.1 = b\n", 3, "duplicate"},
      {eng + eng, 2, "duplicate"},
      {eng + "shell.1 = 漢字\n", 2, "code page 1251"},
      {eng + "short.1 = " + std::string(16, 'x') + "\n", 2, "16 characters"},
      {eng + "shell.1 = " + std::string(256, 'x') + "\n", 2, "255"},
      {"language = eng " + std::string(21, 'x') + "\n", 1, "24"},
      {rus + "note.1 = " + std::string(71, 'x') + "\n", 3, "70"},
      {"shell.1 = a\n", 0, "no \"language"},
      {"language = English\n", 1, "\"eng\""},
      {"language = rus Р\nshort.3 = км\n", 2, "no note.3"},
      {"language = rus Р\nnote.3 = километры\n", 2, "no short.3"},
      {"language = rus Р\nnote.2 = н\nshort.3 = к\n", 3, "no note.3"},
      {"language = rus Р\nnote.1 = н\nshort.1 = \"\"\n", 2, "no short.1"},
  };
  for (const auto& [text, line, part] : cases) {
    const auto r = parseShellSource(text, text.starts_with("language = rus") ? "rus" : "eng");
    EXPECT_FALSE(r.source) << text;
    EXPECT_TRUE(std::any_of(r.errors.begin(), r.errors.end(),
                            [&, &line = line, &part = part](const auto& e) {
                              return e.line == line && e.message.find(part) != std::string::npos;
                            }))
        << text;
  }
}

// Texts become code page 1251; every short text has its note, empty where none is given.
TEST(ShellSource, ATinyRussianShellCompilesToTheseBytes) {
  const auto r = parseShellSource(
      "language = rus Рус\nnote.0 = час\nshort.0 = ч\nshort.2 = \"\"\nshell.1 = \" да \"\n"
      "long.0.0 = Я\nnote.3 = " +
          std::string(70, 'x') + "\nshort.3 = x\n",
      "rus");
  ASSERT_TRUE(r.source) << r.errors.front().message;
  EXPECT_EQ(r.source->notes, (V{"\xF7\xE0\xF1", "", "", std::string(70, 'x')}));
  V notes = r.source->notes;
  notes.pop_back();
  ShellTables t = r.source->tables;
  t.shortTexts.pop_back();
  ByteWriter w;
  w.shortString("rus \xD0\xF3\xF1", 24);
  for (int32_t n : {3, 2, 1}) w.i32(n);
  // A note "час" and its short text "ч", two empty notes and texts, an empty shell text 0,
  // shell text 1, and long text 0 with its one line.
  w.raw(std::string("\3\0\0\0\3\xF7\xE0\xF1\1\0\0\0\1\xF7", 14) + std::string(25, '\0') +
        std::string("\4\0\0\0\4 \xE4\xE0 \1\0\0\0\1\0\0\0\1\xDF", 19));
  EXPECT_EQ(writeShell(t, true, notes), w.bytes());
}

}  // namespace
}  // namespace qj
