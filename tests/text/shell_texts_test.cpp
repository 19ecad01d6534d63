#include "text/shell_texts.h"

#include <gtest/gtest.h>

#include "records/bytes.h"

namespace qj {
namespace {

ShellTables sample() {
  ShellTables t;
  t.languageName = "eng English";
  t.shortTexts = {"km", "h", "a short text that is too long"};
  t.shellTexts = {"Zero", "", "Two"};
  t.longTexts = {{"line 0.0", "line 0.1"}, {}, {"line 2.0"}};
  return t;
}

TEST(ShellFile, LayoutIsCountedTextsAfterTheHeader) {
  ShellTables t;
  t.languageName = "eng";
  t.shortTexts = {"km"};
  t.shellTexts = {"Go"};
  t.longTexts = {{"L"}};
  ByteWriter w;
  w.shortString("eng", 24);
  for (int32_t n : {1, 1, 1}) w.i32(n);
  w.i32(2);
  w.raw("\x02km");
  w.i32(2);
  w.raw("\x02Go");
  w.i32(1);
  w.i32(1);
  w.raw("\x01L");
  EXPECT_EQ(writeShell(t, false, {}), w.bytes());
}

TEST(ShellFile, RoundTripCutsShortTextsToTheirSlot) {
  const std::string bytes = writeShell(sample(), false, {});
  const auto r = readShell(bytes, false);
  ASSERT_TRUE(r.tables) << r.error;
  EXPECT_EQ(r.tables->shortText(2), "a short text th");
  EXPECT_EQ(r.tables->shell(2), "Two");
  EXPECT_EQ(r.tables->longText(0, 1), "line 0.1");
  EXPECT_EQ(r.tables->longTextLines(1), 0);
  EXPECT_EQ(readLanguageName(bytes), "eng English");
}

TEST(ShellFile, RussianShellsCarryNotesThatAreNotKept) {
  const std::string bytes = writeShell(sample(), true, {"note for km", "note for h", ""});
  const auto r = readShell(bytes, true);
  ASSERT_TRUE(r.tables);
  EXPECT_EQ(r.tables->shortTexts, (std::vector<std::string>{"km", "h", "a short text th"}));
  EXPECT_EQ(r.tables->shell(0), "Zero");
  // Read as a shell without notes, every entry is shifted.
  const auto shifted = readShell(bytes, false);
  ASSERT_TRUE(shifted.tables);
  EXPECT_EQ(shifted.tables->shortText(0), "note for km");
}

TEST(ShellFile, RussianCodesAreExact) {
  EXPECT_TRUE(isRussianShell("rus"));
  EXPECT_TRUE(isRussianShell("Rus"));
  EXPECT_TRUE(isRussianShell("\xD0\xF3\xF1"));
  EXPECT_FALSE(isRussianShell("RUS"));
  EXPECT_FALSE(isRussianShell("eng"));
}

TEST(ShellFile, IndicesPastTheEndGiveEmptyTexts) {
  const auto r = readShell(writeShell(sample(), false, {}), false);
  EXPECT_EQ(r.tables->shell(791), "");
  EXPECT_EQ(r.tables->shell(-1), "");
  EXPECT_EQ(r.tables->shortText(62), "");
  EXPECT_EQ(r.tables->longText(7, 3), "");
}

TEST(ShellFile, AFileThatEndsEarlyLeavesTheRestEmpty) {
  std::string bytes = writeShell(sample(), false, {});
  bytes.resize(bytes.size() - 12);  // the last long text line and the one before it are lost
  const auto r = readShell(bytes, false);
  ASSERT_TRUE(r.tables) << r.error;
  EXPECT_EQ(r.tables->shell(2), "Two");
  EXPECT_EQ(r.tables->longText(2, 0), "");
}

TEST(ShellFile, HostileCountsAndLengthsAreRefused) {
  ByteWriter w;
  w.shortString("eng", 24);
  w.i32(-1);
  w.i32(0);
  w.i32(0);
  EXPECT_FALSE(readShell(w.bytes(), false).tables);

  ByteWriter huge;
  huge.shortString("eng", 24);
  huge.i32(0);
  huge.i32(2000000000);
  huge.i32(0);
  const auto r = readShell(huge.bytes(), false);
  EXPECT_FALSE(r.tables);
  EXPECT_NE(r.error.find("2000000000"), std::string::npos);

  ByteWriter negativeLines;
  negativeLines.shortString("eng", 24);
  negativeLines.i32(0);
  negativeLines.i32(0);
  negativeLines.i32(-3);
  EXPECT_FALSE(readShell(negativeLines.bytes(), false).tables);

  EXPECT_FALSE(readShell("short", false).tables);
}

TEST(ShellFile, ANegativeOrOverlongTextLengthEndsTheTexts) {
  ByteWriter w;
  w.shortString("eng", 24);
  w.i32(0);
  w.i32(3);
  w.i32(0);
  w.i32(1);
  w.raw(
      "\x01"
      "A");
  w.i32(-5);
  w.raw(std::string(10, 'x'));
  const auto r = readShell(w.bytes(), false);
  ASSERT_TRUE(r.tables);
  EXPECT_EQ(r.tables->shellTexts, (std::vector<std::string>{"A", "", ""}));

  ByteWriter overlong;
  overlong.shortString("eng", 24);
  overlong.i32(0);
  overlong.i32(1);
  overlong.i32(0);
  overlong.i32(1000000);
  overlong.raw(
      "\x03"
      "abc");
  ASSERT_TRUE(readShell(overlong.bytes(), false).tables);
  EXPECT_EQ(readShell(overlong.bytes(), false).tables->shell(0), "");
}

TEST(ShellFile, ALengthByteBeyondItsSlotIsCut) {
  ByteWriter w;
  w.shortString("eng", 24);
  w.i32(1);
  w.i32(0);
  w.i32(0);
  w.i32(20);
  w.u8(20);
  w.raw("ABCDEFGHIJKLMNOPQRST");
  const auto r = readShell(w.bytes(), false);
  ASSERT_TRUE(r.tables);
  EXPECT_EQ(r.tables->shortText(0), "ABCDEFGHIJKLMNO");
}

}  // namespace
}  // namespace qj
