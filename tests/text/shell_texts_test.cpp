#include "text/shell_texts.h"

#include <gtest/gtest.h>

#include <cstring>

#include "records/bytes.h"
#include "support/shell_fixture.h"

namespace qj {
namespace {

// A shell file's header with these counts of short texts, shell texts and long texts,
// followed by `rest`.
std::string shellFile(int32_t shorts, int32_t shells, int32_t longs, const std::string& rest) {
  ByteWriter w;
  w.shortString("eng", 24);
  w.i32(shorts);
  w.i32(shells);
  w.i32(longs);
  w.raw(rest);
  return w.take();
}

TEST(ShellFile, LayoutIsCountedTextsAfterTheHeader) {
  const ShellTables t{
      .languageName = "eng", .shortTexts = {"km"}, .shellTexts = {"Go"}, .longTexts = {{"L"}}};
  EXPECT_EQ(writeShell(t, false, {}),
            shellFile(1, 1, 1, std::string("\2\0\0\0\2km\2\0\0\0\2Go\1\0\0\0\1\0\0\0\1L", 24)));
}

TEST(ShellFile, RoundTripCutsShortTextsAndRussianShellsCarryNotes) {
  ShellTables t = test::markedShell();
  t.shortTexts[2] = "a short text that is too long";
  t.longTexts[1].clear();
  for (const bool russian : {false, true}) {
    const std::vector<std::string> notes(t.shortTexts.size(), russian ? "a note" : "");
    const std::string bytes = writeShell(t, russian, russian ? notes : std::vector<std::string>{});
    const auto r = readShell(bytes, russian);
    ASSERT_TRUE(r.tables) << r.error;
    EXPECT_EQ(r.tables->shortText(2), "a short text th");
    EXPECT_EQ(r.tables->shellTexts, t.shellTexts);
    const auto lines = [&](int i) { return r.tables->longTextLines(i); };
    EXPECT_EQ(std::tuple(lines(-1), lines(0), lines(1), lines(7), lines(8)),
              std::tuple(0, 4, 0, 4, 0));
    EXPECT_EQ(r.tables->longText(7, 3), "L7.3");
    EXPECT_EQ(readLanguageName(bytes), "eng English");
    // Past the end every text is empty.
    for (const std::string& empty :
         {r.tables->shell(test::kMarkedShellTexts), r.tables->shell(-1), r.tables->shortText(63),
          r.tables->shortText(-1), r.tables->longText(7, 4), r.tables->longText(8, 0),
          r.tables->longText(-1, 0), r.tables->longText(0, -1)})
      EXPECT_EQ(empty, "");
    // Read by the other rule, every entry is shifted.
    EXPECT_EQ(readShell(bytes, !russian).tables->shortText(0), russian ? "a note" : "s1");
  }
  // Short texts without notes get empty ones.
  EXPECT_EQ(writeShell(t, true, {}), writeShell(t, true, std::vector<std::string>(63)));
  const std::pair<const char*, bool> codes[] = {
      {"rus", true}, {"Rus", true}, {"\xD0\xF3\xF1", true}, {"RUS", false}, {"eng", false}};
  for (const auto& [code, russian] : codes) EXPECT_EQ(isRussianShell(code), russian) << code;
}

// A long text takes at least its line count, four bytes: long texts of no line or of one
// short line, many of them, come back as they were written.
TEST(ShellFile, LongTextsOfFewLinesComeBackAsWritten) {
  using Lines = std::vector<std::string>;
  const std::vector<std::vector<Lines>> tables = {
      std::vector<Lines>(1000),
      std::vector<Lines>(300, Lines{""}),
      {{}, {"a"}, {}, {}, {"", ""}, {}, {}, {}, {}, {}, {}, {}},
  };
  for (const bool russian : {false, true}) {
    for (const auto& longTexts : tables) {
      const ShellTables t{.languageName = "eng", .shortTexts = {"s"}, .longTexts = longTexts};
      const auto r = readShell(writeShell(t, russian, {}), russian);
      ASSERT_TRUE(r.tables) << r.error;
      EXPECT_EQ(r.tables->longTexts, longTexts);
      EXPECT_EQ(r.tables->shortTexts, t.shortTexts);
    }
  }
  // The least a file of these counts holds: five bytes a counted text, four a long text.
  EXPECT_TRUE(readShell(shellFile(1, 2, 3, std::string(27, '\0')), false).tables);
  EXPECT_FALSE(readShell(shellFile(1, 2, 3, std::string(26, '\0')), false).tables);
  EXPECT_TRUE(readShell(shellFile(1, 2, 3, std::string(32, '\0')), true).tables);
  EXPECT_FALSE(readShell(shellFile(1, 2, 3, std::string(31, '\0')), true).tables);
}

TEST(ShellFile, AFileThatEndsEarlyLeavesTheRestEmpty) {
  std::string bytes = writeShell(test::markedShell(), false, {});
  bytes.resize(bytes.size() - 12);  // the last long text line and the one before it are lost
  const auto r = readShell(bytes, false);
  ASSERT_TRUE(r.tables) << r.error;
  EXPECT_EQ(r.tables->shell(test::kMarkedShellTexts - 1),
            "S" + std::to_string(test::kMarkedShellTexts - 1));
  EXPECT_EQ(r.tables->longText(7, 2), "");
}

// Millions of empty texts fit a file of some megabytes but would take several times its
// length once read: a table of more texts, or a long text of more lines, than any shell has
// is refused however long the file.
TEST(ShellFile, MoreTextsOrLinesThanAnyShellHasAreRefusedThoughTheFileHoldsThem) {
  const std::string empties(65536 * 5, '\0');
  EXPECT_TRUE(readShell(shellFile(0, 65535, 0, empties), false).tables);
  EXPECT_FALSE(readShell(shellFile(0, 65536, 0, empties), false).tables);
  EXPECT_FALSE(readShell(shellFile(65536, 0, 0, empties), false).tables);
  EXPECT_FALSE(readShell(shellFile(0, 0, 65536, empties), false).tables);
  EXPECT_EQ(readShell(shellFile(0, 65536, 0, empties), false).error,
            "The language shell is damaged: its counts of texts (0, 65536, 0) are more than a "
            "shell holds (65535 of each at most).");
  // One long text of 65536 empty lines: its lines are not read.
  const auto lines = [&](int32_t n) {
    std::string count(4, '\0');
    std::memcpy(count.data(), &n, 4);
    return readShell(shellFile(0, 0, 1, count + empties), false);
  };
  ASSERT_TRUE(lines(65535).tables);
  EXPECT_EQ(lines(65535).tables->longTexts[0].size(), 65535u);
  ASSERT_TRUE(lines(65536).tables);
  EXPECT_TRUE(lines(65536).tables->longTexts[0].empty());
}

TEST(ShellFile, HostileCountsAndLengthsAreRefusedOrCut) {
  // clang-format off
  for (const auto& [shorts, shells, longs] :
       {std::tuple{-1, 5, 0}, {0, 2000000000, 0}, {0, 5, -1}, {0, -1, 5}, {5, 0, -1}, {0, 0, 51},
        {0, 39, 2}, {1, 38, 2}})
    EXPECT_FALSE(readShell(shellFile(shorts, shells, longs, std::string(200, '\0')), false).tables)
        << shorts << " " << shells << " " << longs;
  // Each short text of a Russian shell comes with its note.
  EXPECT_FALSE(readShell(shellFile(30, 0, 0, std::string(200, '\0')), true).tables);
  // clang-format on
  EXPECT_NE(readShell(shellFile(0, 2000000000, 0, ""), false).error.find("2000000000"),
            std::string::npos);

  // A negative or overlong text length ends the texts; a length byte beyond its slot is cut.
  using V = std::vector<std::string>;
  const std::tuple<std::string, V, V> cases[] = {
      // clang-format off
      {shellFile(0, 3, 0, std::string("\1\0\0\0\1A\xFB\xFF\xFF\xFF", 10) + std::string(10, 'x')),
       {"A", "", ""}, {}},
      {shellFile(0, 1, 0, std::string("\x40\x42\x0F\0\3abc", 8)), {""}, {}},
      {shellFile(1, 0, 0, std::string("\x14\0\0\0\x14" "ABCDEFGHIJKLMNOPQRST", 25)), {},
       {"ABCDEFGHIJKLMNO"}},
      // A long text of 2000000000 lines in a file of 200 more bytes.
      {shellFile(0, 0, 1, std::string("\0\x94\x35\x77", 4) + std::string(200, '\0')), {}, {}},
      // clang-format on
  };
  for (const auto& [file, shells, shorts] : cases) {
    const auto r = readShell(file, false);
    ASSERT_TRUE(r.tables) << r.error;
    EXPECT_EQ(r.tables->shellTexts, shells);
    EXPECT_EQ(r.tables->shortTexts, shorts);
  }
}

}  // namespace
}  // namespace qj
