#include "records/protocol_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "records/bytes.h"

namespace qj {
namespace {

ProtocolRec record(const std::string& code, int32_t status) {
  ProtocolRec r;
  r.code = code;
  r.name = "Deliveries of " + code;
  r.status = status;
  r.createdAt = 46000.25;
  r.changedAt = 46001.5;
  r.sentToSolvingAt = status >= 1 ? 46002.75 : 0;
  r.solutionLoadedAt = status >= 2 ? 46003.125 : 0;
  return r;
}

std::string header(uint8_t length, const std::string& signature, int32_t version) {
  ByteWriter w;
  w.u8(length);
  w.raw(signature);
  w.zeros(23 - signature.size());
  w.i32(version);
  return w.take();
}

TEST(ProtocolFileLayout, HeaderCountAndRecordsByteForByte) {
  const std::string bytes = writeProtocolFile({record("AB12CD", 2), record("ZZ0001", 0)});
  ASSERT_EQ(bytes.size(), 32u + 144u * 2);

  ByteWriter expected;
  expected.raw(header(6, "DEV_OZ", 1));
  expected.i32(2);
  for (const auto& r : {record("AB12CD", 2), record("ZZ0001", 0)}) {
    expected.u8(6);
    expected.raw(r.code);
    expected.u8(static_cast<uint8_t>(r.name.size()));
    expected.raw(r.name);
    expected.zeros(100 - r.name.size());
    expected.i32(r.status);
    expected.f64(r.createdAt);
    expected.f64(r.changedAt);
    expected.f64(r.sentToSolvingAt);
    expected.f64(r.solutionLoadedAt);
  }
  EXPECT_EQ(bytes, expected.bytes());

  // The record's fields at their offsets: status at 108, the four date-times from 112.
  int32_t status;
  std::memcpy(&status, bytes.data() + 32 + 108, 4);
  EXPECT_EQ(status, 2);
  double loaded;
  std::memcpy(&loaded, bytes.data() + 32 + 136, 8);
  EXPECT_EQ(loaded, 46003.125);
}

TEST(ProtocolFileLayout, AnEmptyProtocolIs32Bytes) {
  ByteWriter expected;
  expected.raw(header(6, "DEV_OZ", 1));
  expected.i32(0);
  EXPECT_EQ(writeProtocolFile({}), expected.bytes());
}

TEST(ProtocolFile, RoundTripCutsTextsToTheirSlots) {
  ProtocolRec longOne = record("ABCDEFGH", 1);
  longOne.name = std::string(120, 'n');
  const auto content = readProtocolFile(writeProtocolFile({record("AB12CD", 2), longOne}));
  ASSERT_TRUE(content.headerMatches);
  ASSERT_EQ(content.records.size(), 2u);
  EXPECT_EQ(content.records[0], record("AB12CD", 2));
  EXPECT_EQ(content.records[1].code, "ABCDEF");
  EXPECT_EQ(content.records[1].name, std::string(100, 'n'));
}

TEST(ProtocolFile, ForeignAndOtherVersionHeadersAreNotRead) {
  std::string wrongVersion = writeProtocolFile({record("AB12CD", 0)});
  wrongVersion[24] = 2;
  EXPECT_FALSE(readProtocolFile(wrongVersion).headerMatches);
  EXPECT_TRUE(readProtocolFile(wrongVersion).records.empty());

  EXPECT_FALSE(readProtocolFile(header(6, "DEV_OY", 1) + std::string(4, '\0')).headerMatches);
  EXPECT_FALSE(readProtocolFile(header(5, "DEV_OZ", 1) + std::string(4, '\0')).headerMatches);
  EXPECT_FALSE(readProtocolFile("DEV_OZ").headerMatches);
  EXPECT_FALSE(readProtocolFile("").headerMatches);
}

TEST(ProtocolFile, BytesAfterTheSignatureAreNotCompared) {
  std::string bytes = writeProtocolFile({record("AB12CD", 0)});
  bytes[10] = 'x';
  const auto content = readProtocolFile(bytes);
  EXPECT_TRUE(content.headerMatches);
  EXPECT_EQ(content.records.size(), 1u);
}

TEST(ProtocolFile, OnlyTheRecordsPresentAreRead) {
  const std::string three =
      writeProtocolFile({record("A00001", 0), record("A00002", 1), record("A00003", 2)});

  // A count larger than the file holds: only the whole records present.
  std::string cut = three.substr(0, 32 + 144 * 2 + 100);
  const auto partial = readProtocolFile(cut);
  ASSERT_TRUE(partial.headerMatches);
  ASSERT_EQ(partial.records.size(), 2u);
  EXPECT_EQ(partial.records[1].code, "A00002");

  // A huge count allocates nothing beyond the records present.
  std::string huge = three;
  const int32_t big = 2000000000;
  std::memcpy(huge.data() + 28, &big, 4);
  EXPECT_EQ(readProtocolFile(huge).records.size(), 3u);

  // A smaller count: the bytes after the counted records mean nothing.
  std::string shrunk = three;
  const int32_t one = 1;
  std::memcpy(shrunk.data() + 28, &one, 4);
  EXPECT_EQ(readProtocolFile(shrunk).records, std::vector<ProtocolRec>{record("A00001", 0)});

  std::string negative = three;
  const int32_t minus = -4;
  std::memcpy(negative.data() + 28, &minus, 4);
  EXPECT_TRUE(readProtocolFile(negative).records.empty());

  // The header alone, without a count.
  const auto headerOnly = readProtocolFile(three.substr(0, 28));
  EXPECT_TRUE(headerOnly.headerMatches);
  EXPECT_TRUE(headerOnly.records.empty());
}

TEST(ProtocolFile, ALengthByteBeyondItsSlotIsCut) {
  std::string bytes = writeProtocolFile({record("AB12CD", 0)});
  bytes[32] = static_cast<char>(200);      // code length
  bytes[32 + 7] = static_cast<char>(255);  // name length
  const auto content = readProtocolFile(bytes);
  ASSERT_EQ(content.records.size(), 1u);
  EXPECT_EQ(content.records[0].code.size(), 6u);
  EXPECT_EQ(content.records[0].name.size(), 100u);
  EXPECT_EQ(content.records[0].status, 0);
}

}  // namespace
}  // namespace qj
