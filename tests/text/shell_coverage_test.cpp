// The shipped shells against the program: every shell text the sources name by a literal
// index must have a text in every shipped language, and the shells must be the compiled
// sources, read the way the start-up reads them.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <regex>
#include <set>

#include "dbrn/wizard_state.h"
#include "platform/files.h"
#include "records/text.h"
#include "route/route_texts.h"
#include "text/shell_source.h"
#include "text/shell_texts.h"

namespace qj {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kCodes = {"eng", "rus"};

std::string shellBytes(const std::string& code) {
  return readFile(fs::path(QJ_PROGRAM_DIR) / "Shells" / ("Shell (QJ 1.6)." + code)).value_or("");
}

ShellTables shipped(const std::string& code) {
  const auto r = readShell(shellBytes(code), isRussianShell(code));
  EXPECT_TRUE(r.tables) << code << ": " << r.error;
  return r.tables.value_or(ShellTables{});
}

TEST(ShippedShells, HaveATextForEveryIndexTheProgramUses) {
  // shell(12), shortText( 3 ), longText(1, 2): literal lookups with any blanks inside.
  const std::regex lookup(R"(\b(shell|shortText|longText)\s*\(\s*(\d+)\s*(,\s*(\d+)\s*)?\))");
  std::map<std::tuple<std::string, int, int>, std::string> uses;  // with a file using it
  for (const auto& entry : fs::recursive_directory_iterator(fs::path(QJ_SOURCE_DIR) / "src")) {
    const std::string text = readFile(entry.path()).value_or("");
    for (std::sregex_iterator m(text.begin(), text.end(), lookup), end; m != end; ++m)
      if (((*m)[1] == "longText") == (*m)[4].matched)
        uses.emplace(
            std::tuple((*m)[1].str(), std::stoi((*m)[2]), (*m)[4].matched ? std::stoi((*m)[4]) : 0),
            entry.path().filename().string());
  }
  ASSERT_GT(uses.size(), 300u);  // the scan finds the lookups
  for (const auto& code : kCodes) {
    const ShellTables t = shipped(code);
    for (const auto& [use, where] : uses) {
      const auto& [kind, k, j] = use;
      const std::string text = kind == "shell"       ? t.shell(k)
                               : kind == "shortText" ? t.shortText(k)
                                                     : t.longText(k, j);
      EXPECT_FALSE(text.empty()) << code << ": " << kind << " " << k << " (" << where << ")";
    }
  }
}

// A text present in one language and missing in the other is a forgotten translation; the
// chooser takes the language code from the first three characters of the name.
TEST(ShippedShells, HaveTheSameTextsInEveryLanguage) {
  const ShellTables first = shipped(kCodes.front());
  for (const auto& code : kCodes) {
    const ShellTables t = shipped(code);
    EXPECT_EQ(t.languageName.substr(0, 3), code);
    ASSERT_EQ(t.shellTexts.size(), first.shellTexts.size()) << code;
    ASSERT_EQ(t.shortTexts.size(), first.shortTexts.size()) << code;
    ASSERT_EQ(t.longTexts.size(), 8u) << code;
    for (size_t k = 0; k < t.shellTexts.size(); ++k)
      EXPECT_EQ(t.shellTexts[k].empty(), first.shellTexts[k].empty()) << code << ": shell " << k;
    for (size_t k = 0; k < t.shortTexts.size(); ++k)
      EXPECT_EQ(t.shortTexts[k].empty(), first.shortTexts[k].empty()) << code << ": short " << k;
    for (int i = 0; i < 8; ++i) {
      EXPECT_FALSE(t.longText(i, 0).empty()) << code << ": help page " << i;
      EXPECT_LE(t.longTextLines(i), 4) << code << ": the help window shows four lines";
    }
  }
}

// The four kinds of a level-1 way are told apart by their names in every language.
TEST(ShippedShells, NameEachKindOfWayApart) {
  for (const auto& code : kCodes) {
    const ShellTables t = shipped(code);
    const std::set<std::string> names = {
        transitionKindText(1, true, t), transitionKindText(2, true, t),
        transitionKindText(3, false, t), transitionKindText(4, false, t)};
    EXPECT_EQ(names.size(), 4u) << code;
    EXPECT_EQ(names.count(""), 0u) << code;
  }
}

// The viewer's filter line reads as a sentence in every language.
TEST(ShippedShells, CountTheRowsShownInASentence) {
  DbrnWizardState state;
  state.keyPhraseType = "st";
  const std::pair<std::string, std::string> lines[] = {
      {"eng", "Selected by the key phrase - \"st\" + \"\".   Number of rows shown - 414."},
      {"rus", "Отобрано по ключевой фразе - \"st\" + \"\".   Число показанных строк - 414."}};
  for (const auto& [code, line] : lines)
    EXPECT_EQ(filterLine(state, 414).utf8(shipped(code)), line) << code;
}

// The shells are compiled from the sources (whose parser keeps every text within its slot);
// a Russian shell copied under the extension "RUS" is read without its notes, so every entry
// after the first note slides along.
TEST(ShippedShells, AreTheCompiledSourcesReadRightOnlyWithTheirOwnRule) {
  for (const auto& code : kCodes) {
    const auto r = parseShellSource(
        readFile(fs::path(QJ_SOURCE_DIR) / "shells" / (code + ".txt")).value_or(""), code);
    ASSERT_TRUE(r.source) << code << ":" << r.errors.front().line << ": "
                          << r.errors.front().message;
    const std::string bytes = shellBytes(code);
    EXPECT_EQ(writeShell(r.source->tables, isRussianShell(code), r.source->notes), bytes);
    const ShellTables& expected = r.source->tables;
    EXPECT_EQ(shipped(code).shellTexts, expected.shellTexts);
    if (code != "rus") continue;
    const auto shifted = readShell(bytes, isRussianShell("RUS"));
    ASSERT_TRUE(shifted.tables);
    EXPECT_EQ(shifted.tables->shortText(2), cut(r.source->notes.at(1), kShortTextMax));
    EXPECT_EQ(shifted.tables->shortText(3), expected.shortText(1));
  }
}

}  // namespace
}  // namespace qj
