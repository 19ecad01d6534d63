// The shipped shells against the program: every shell text the sources name by a literal
// index must have a text in every shipped language, and the shells must load the way the
// start-up loads them.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "records/bytes.h"
#include "records/text.h"
#include "support/temp_dir.h"
#include "text/shell_source.h"
#include "text/shell_texts.h"

namespace qj {
namespace {

namespace fs = std::filesystem;

const fs::path kShells = fs::path(QJ_PROGRAM_DIR) / "Shells";
const std::vector<std::string> kCodes = {"eng", "rus"};

std::string shellBytes(const std::string& code) {
  const auto bytes = readFile(kShells / ("Shell (QJ 1.6)." + code));
  if (!bytes) ADD_FAILURE() << "the shipped shell " << code << " is missing";
  return bytes.value_or("");
}

ShellTables shipped(const std::string& code) {
  const auto r = readShell(shellBytes(code), isRussianShell(code));
  if (!r.tables) ADD_FAILURE() << code << ": " << r.error;
  return r.tables.value_or(ShellTables{});
}

// Every literal index looked up in the files under `root`, with a file it was seen in.
struct Uses {
  std::map<int, std::string> shell, shortText;
  std::map<std::pair<int, int>, std::string> longText;
};

// A cursor over source text that reads "name ( 12 , 3 )" with any blanks in between.
class LookupReader {
 public:
  LookupReader(std::string_view text, size_t pos) : text_(text), pos_(pos) {}

  bool punct(char c) {
    blanks();
    if (pos_ >= text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }
  std::optional<int> number() {
    blanks();
    const size_t start = pos_;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
    if (pos_ == start || pos_ - start > 6) return std::nullopt;
    return std::stoi(std::string(text_.substr(start, pos_ - start)));
  }

 private:
  void blanks() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) ++pos_;
  }
  std::string_view text_;
  size_t pos_;
};

bool isIdentifierChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Calls found(reader) after every whole-word occurrence of `name` in `text`.
template <typename Found>
void eachLookup(std::string_view text, std::string_view name, Found&& found) {
  for (size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
    if (at > 0 && isIdentifierChar(text[at - 1])) continue;
    LookupReader reader(text, at + name.size());
    if (reader.punct('(')) found(reader);
  }
}

Uses scanUses(const fs::path& root) {
  Uses uses;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    const std::string text = readFile(entry.path()).value_or("");
    const std::string where = fs::relative(entry.path(), root).string();
    const auto single = [&](std::map<int, std::string>& into) {
      return [&](LookupReader& r) {
        if (const auto k = r.number(); k && r.punct(')')) into.emplace(*k, where);
      };
    };
    eachLookup(text, "shell", single(uses.shell));
    eachLookup(text, "shortText", single(uses.shortText));
    eachLookup(text, "longText", [&](LookupReader& r) {
      const auto i = r.number();
      if (!i || !r.punct(',')) return;
      if (const auto j = r.number(); j && r.punct(')'))
        uses.longText.emplace(std::pair(*i, *j), where);
    });
  }
  return uses;
}

TEST(ShellCoverage, TheScanFindsLiteralLookupsOnly) {
  test::TempDir dir;
  dir.write("a/x.cpp",
            "t = shell(12) + shell( 7 ).trimmed() + lit(\"a\");\nshell(k); myshell(5);\n");
  dir.write("b/y.h",
            "tables.shortText(3); shortText (\n 11 ); longText(1, 2) + longText( 0 ,3 );\n");
  dir.write("c.txt", "longText(i, 2) shortText(n) shell(-1)");
  const Uses uses = scanUses(dir.path());
  std::set<int> shells, shorts;
  for (const auto& [k, where] : uses.shell) shells.insert(k);
  for (const auto& [k, where] : uses.shortText) shorts.insert(k);
  EXPECT_EQ(shells, (std::set<int>{7, 12}));
  EXPECT_EQ(shorts, (std::set<int>{3, 11}));
  ASSERT_EQ(uses.longText.size(), 2u);
  EXPECT_EQ(uses.longText.count({1, 2}), 1u);
  EXPECT_EQ(uses.longText.count({0, 3}), 1u);
  EXPECT_EQ(uses.shell.at(12), "a/x.cpp");
}

TEST(ShippedShells, HaveATextForEveryIndexTheProgramUses) {
  const Uses uses = scanUses(fs::path(QJ_SOURCE_DIR) / "src");
  for (const auto& code : kCodes) {
    const ShellTables t = shipped(code);
    for (const auto& [k, where] : uses.shell)
      EXPECT_FALSE(t.shell(k).empty()) << code << ": shell text " << k << " (" << where << ")";
    for (const auto& [k, where] : uses.shortText)
      EXPECT_FALSE(t.shortText(k).empty()) << code << ": short text " << k << " (" << where << ")";
    for (const auto& [ij, where] : uses.longText)
      EXPECT_FALSE(t.longText(ij.first, ij.second).empty())
          << code << ": long text " << ij.first << "." << ij.second << " (" << where << ")";
  }
}

TEST(ShippedShells, LoadCompleteWithTheirCodeFirstInTheName) {
  for (const auto& code : kCodes) {
    const std::string bytes = shellBytes(code);
    const ShellTables t = shipped(code);
    EXPECT_GE(t.shellTexts.size(), 792u) << code;
    EXPECT_GE(t.shortTexts.size(), 63u) << code;
    EXPECT_GE(t.longTexts.size(), 8u) << code;
    // The chooser takes the language code from the first three characters of the name.
    EXPECT_EQ(readLanguageName(bytes).substr(0, 3), code);
    EXPECT_EQ(t.languageName, readLanguageName(bytes));
    for (int i = 0; i < 8; ++i) {
      EXPECT_FALSE(t.longText(i, 0).empty()) << code << ": help page " << i;
      EXPECT_LE(t.longTextLines(i), 4) << code << ": the help window shows four lines";
    }
  }
}

// A text present in one language and missing in the other is a forgotten translation.
TEST(ShippedShells, HaveTheSameTextsInEveryLanguage) {
  const ShellTables first = shipped(kCodes.front());
  for (const auto& code : kCodes) {
    const ShellTables t = shipped(code);
    ASSERT_EQ(t.shellTexts.size(), first.shellTexts.size()) << code;
    ASSERT_EQ(t.shortTexts.size(), first.shortTexts.size()) << code;
    ASSERT_EQ(t.longTexts.size(), first.longTexts.size()) << code;
    for (size_t k = 0; k < t.shellTexts.size(); ++k)
      EXPECT_EQ(t.shellTexts[k].empty(), first.shellTexts[k].empty()) << code << ": shell " << k;
    for (size_t k = 0; k < t.shortTexts.size(); ++k)
      EXPECT_EQ(t.shortTexts[k].empty(), first.shortTexts[k].empty()) << code << ": short " << k;
    for (size_t i = 0; i < t.longTexts.size(); ++i)
      EXPECT_EQ(t.longTextLines(static_cast<int>(i)), first.longTextLines(static_cast<int>(i)))
          << code << ": help page " << i;
  }
}

// The stored lengths themselves, not what the reader makes of them: the reader would
// silently cut an overlong short text.
TEST(ShippedShells, StoreEveryShortTextAndNoteWithinItsSlot) {
  for (const auto& code : kCodes) {
    const std::string bytes = shellBytes(code);
    ByteReader in(bytes);
    in.skip(25);
    const int32_t shortCount = in.i32();
    in.skip(8);
    const bool notes = isRussianShell(code);
    for (int32_t i = 0; i < shortCount; ++i) {
      if (notes) {
        const int32_t len = in.i32();
        EXPECT_LE(len, kNoteMax) << code << ": note " << i;
        in.skip(static_cast<size_t>(len) + 1);
      }
      const int32_t len = in.i32();
      EXPECT_LE(len, kShortTextMax) << code << ": short text " << i;
      in.skip(static_cast<size_t>(len) + 1);
    }
  }
}

TEST(ShippedShells, AreTheCompiledSources) {
  for (const auto& code : kCodes) {
    const auto source = readFile(fs::path(QJ_SOURCE_DIR) / "shells" / (code + ".txt"));
    ASSERT_TRUE(source) << code;
    const auto r = parseShellSource(*source, code);
    ASSERT_TRUE(r.source) << code << ":" << r.errors.front().line << ": "
                          << r.errors.front().message;
    EXPECT_EQ(writeShell(r.source->tables, isRussianShell(code), r.source->notes),
              shellBytes(code));
  }
}

// A Russian shell copied under the extension "RUS" is read without its notes: every entry
// after the first note slides along, and only the exact code brings the texts back.
TEST(ShippedShells, TheRussianShellIsReadRightOnlyWithTheRussianRule) {
  const std::string bytes = shellBytes("rus");
  const auto source = parseShellSource(
      readFile(fs::path(QJ_SOURCE_DIR) / "shells" / "rus.txt").value_or(""), "rus");
  ASSERT_TRUE(source.source);
  const ShellTables& expected = source.source->tables;

  const auto right = readShell(bytes, isRussianShell("rus"));
  ASSERT_TRUE(right.tables);
  EXPECT_EQ(right.tables->shortTexts, expected.shortTexts);
  EXPECT_EQ(right.tables->shellTexts, expected.shellTexts);
  EXPECT_EQ(right.tables->longTexts, expected.longTexts);

  ASSERT_FALSE(isRussianShell("RUS"));
  const auto shifted = readShell(bytes, isRussianShell("RUS"));
  ASSERT_TRUE(shifted.tables);
  EXPECT_EQ(shifted.tables->shortText(2), cut(source.source->notes.at(1), kShortTextMax));
  EXPECT_EQ(shifted.tables->shortText(3), expected.shortText(1));
  EXPECT_NE(shifted.tables->shell(419), expected.shell(419));
  EXPECT_NE(shifted.tables->shellTexts, expected.shellTexts);
}

}  // namespace
}  // namespace qj
