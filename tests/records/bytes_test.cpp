#include "records/bytes.h"

#include <gtest/gtest.h>

namespace qj {
namespace {

TEST(ShortString, WritesLengthByteTextAndZeroTail) {
  ByteWriter w;
  w.shortString("DEV_OZ", 23);
  const std::string expected = std::string(
                                   "\x06"
                                   "DEV_OZ") +
                               std::string(17, '\0');
  EXPECT_EQ(w.bytes(), expected);
  EXPECT_EQ(w.size(), 24u);
}

TEST(ShortString, CutsLongerTextsToTheSlot) {
  ByteWriter w;
  w.shortString("ABCDEFGH", 6);
  EXPECT_EQ(w.bytes(), std::string("\x06"
                                   "ABCDEF"));
  ByteReader r(w.bytes());
  EXPECT_EQ(r.shortString(6), "ABCDEF");
  EXPECT_TRUE(r.atEnd());
}

TEST(ShortString, ReaderCutsAnOversizedLengthByteAndSkipsTheWholeSlot) {
  const std::string slot = std::string(
                               "\xFF"
                               "abc") +
                           "X";
  ByteReader r(slot);
  EXPECT_EQ(r.shortString(3), "abc");
  EXPECT_EQ(r.pos(), 4u);
  EXPECT_EQ(r.raw(1), "X");
}

TEST(ShortString, EmptyTextIsAllZero) {
  ByteWriter w;
  w.shortString("", 4);
  EXPECT_EQ(w.bytes(), std::string(5, '\0'));
}

TEST(ByteRecords, IntegersAndRealsAreLittleEndian) {
  ByteWriter w;
  w.i32(0x01020304);
  w.i32(-2);
  w.f64(1.0);
  w.zeros(2);
  EXPECT_EQ(w.bytes(), std::string("\x04\x03\x02\x01\xFE\xFF\xFF\xFF"
                                   "\x00\x00\x00\x00\x00\x00\xF0\x3F\x00\x00",
                                   18));
  ByteReader r(w.bytes());
  EXPECT_EQ(r.i32(), 0x01020304);
  EXPECT_EQ(r.i32(), -2);
  EXPECT_EQ(r.f64(), 1.0);
  EXPECT_EQ(r.remaining(), 2u);
}

TEST(ByteRecords, ReadingPastTheEndIsAnErrorNamingTheOffset) {
  ByteReader r(std::string("\x01\x02\x03", 3));
  EXPECT_THROW(r.i32(), ReadError);
  EXPECT_EQ(r.pos(), 0u);  // nothing consumed
  EXPECT_THROW(r.shortString(3), ReadError);
  EXPECT_THROW(r.seek(4), ReadError);
  try {
    r.f64();
  } catch (const ReadError& e) {
    EXPECT_NE(std::string(e.what()).find("byte 0"), std::string::npos);
  }
}

TEST(ByteRecords, HoldsRefusesNegativeAndOverflowingCounts) {
  ByteReader r(std::string(100, '\0'));
  EXPECT_TRUE(r.holds(10, 10));
  EXPECT_FALSE(r.holds(11, 10));
  EXPECT_FALSE(r.holds(-1, 10));
  EXPECT_FALSE(r.holds(int64_t{1} << 62, 80));
}

}  // namespace
}  // namespace qj
