#include "records/bytes.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

TEST(ByteRecords, ShortStringsAreALengthByteTheTextAndAZeroTailCutToTheSlot) {
  ByteWriter w;
  w.shortString("DEV_OZ", 8);
  w.shortString("ABCDEFGH", 6);
  w.i32(-2);
  w.f64(1.0);
  const std::string expected("\6DEV_OZ\0\0\6ABCDEF\xFE\xFF\xFF\xFF\0\0\0\0\0\0\xF0\x3F", 28);
  EXPECT_EQ(w.bytes(), expected);
  ByteReader r(expected);
  EXPECT_EQ(r.shortString(8), "DEV_OZ");
  EXPECT_EQ(r.shortString(6), "ABCDEF");
  EXPECT_EQ(r.i32(), -2);
  EXPECT_EQ(r.f64(), 1.0);
  EXPECT_TRUE(r.atEnd());
  // An oversized length byte is cut, and the whole slot skipped.
  const std::string slot =
      "\xFF"
      "abcX";
  ByteReader oversized(slot);
  EXPECT_EQ(oversized.shortString(3), "abc");
  EXPECT_EQ(oversized.raw(1), "X");
}

TEST(ByteRecords, ReadingPastTheEndConsumesNothingAndNamesTheOffset) {
  const std::string three("\1\2\3", 3);
  ByteReader r(three);
  EXPECT_THROW(r.i32(), ReadError);
  EXPECT_EQ(r.pos(), 0u);
  EXPECT_THROW(r.shortString(3), ReadError);
  EXPECT_THROW(r.seek(4), ReadError);
  try {
    r.f64();
    ADD_FAILURE() << "read past the end";
  } catch (const ReadError& e) {
    EXPECT_NE(std::string(e.what()).find("byte 0"), std::string::npos);
  }
  const std::string zeros(100, '\0');
  ByteReader hundred(zeros);
  EXPECT_TRUE(hundred.holds(10, 10));
  EXPECT_FALSE(hundred.holds(11, 10) || hundred.holds(-1, 10) ||
               hundred.holds(int64_t{1} << 62, 80));
}

}  // namespace
}  // namespace qj
