#include "records/protocol_file.h"

#include <gtest/gtest.h>

#include "records/bytes.h"
#include "records/record_layout.h"
#include "support/task_fixture.h"

namespace qj {
namespace {

using test::expectFields;
using test::protocolRecord;
using test::putI32;
using test::Zeros;

std::string header(uint8_t length, const std::string& signature, int32_t version) {
  ByteWriter w;
  w.u8(length);
  w.raw(signature);
  w.zeros(23 - signature.size());
  w.i32(version);
  w.i32(0);
  return w.take();
}

TEST(ProtocolFileLayout, HeaderCountAndRecordsByteForByte) {
  const std::vector<ProtocolRec> records{protocolRecord("AB12CD", "Solved", SolutionLoaded),
                                         protocolRecord("ZZ0001", "Entered")};
  const std::string b = writeProtocolFile(records);
  ASSERT_EQ(b.size(), 32u + 144u * 2);
  expectFields(b, {{0, "DEV_OZ"}, {7, Zeros{17}}, {24, 1}, {28, 2}});
  // clang-format off
  expectFields(b,
               {{0, "AB12CD"},
                {7, "Solved"}, {14, Zeros{94}}, {108, 2}, {112, 46000.25}, {120, 46001.0},
                {128, 46001.5}, {136, 46002.75}},
               32);
  // clang-format on
  expectFields(b, {{0, "ZZ0001"}, {108, 0}, {128, 0.0}, {136, 0.0}}, 32 + 144);
  EXPECT_EQ(writeProtocolFile({}), header(6, "DEV_OZ", 1));
}

TEST(ProtocolFile, RoundTripCutsTextsToTheirSlots) {
  ProtocolRec longOne = protocolRecord("ABCDEFGH", std::string(120, 'n'));
  const auto content =
      readProtocolFile(writeProtocolFile({protocolRecord("AB12CD", "a"), longOne}));
  ASSERT_TRUE(content.headerMatches);
  ASSERT_EQ(content.records.size(), 2u);
  EXPECT_EQ(content.records[0], protocolRecord("AB12CD", "a"));
  EXPECT_EQ(content.records[1].code + content.records[1].name, "ABCDEF" + std::string(100, 'n'));
}

TEST(ProtocolFile, OnlyAHeaderOfThisVersionIsRead) {
  std::string wrongVersion = writeProtocolFile({protocolRecord("AB12CD", "a")});
  wrongVersion[24] = 2;
  for (const std::string& foreign : {wrongVersion, header(6, "DEV_OY", 1), header(5, "DEV_OZ", 1),
                                     std::string("DEV_OZ"), std::string()}) {
    EXPECT_FALSE(readProtocolFile(foreign).headerMatches) << foreign;
    EXPECT_TRUE(readProtocolFile(foreign).records.empty());
  }
  // Bytes after the signature are not compared.
  std::string bytes = writeProtocolFile({protocolRecord("AB12CD", "a")});
  bytes[10] = 'x';
  EXPECT_TRUE(readProtocolFile(bytes).headerMatches);
  EXPECT_EQ(readProtocolFile(bytes).records.size(), 1u);
}

TEST(ProtocolFile, OnlyTheRecordsPresentAreRead) {
  const std::string three =
      writeProtocolFile({protocolRecord("A00001", "a"), protocolRecord("A00002", "b"),
                         protocolRecord("A00003", "c")});
  // Each row: the count in the file, the bytes kept, and the records read.
  // clang-format off
  const struct {
    int32_t count;
    size_t size, records;
  } cases[] = {{3, 32 + 144 * 2 + 100, 2}, {2000000000, three.size(), 3}, {1, three.size(), 1},
               {-4, three.size(), 0}, {3, 28, 0}};
  // clang-format on
  for (const auto& c : cases) {
    std::string b = three;
    putI32(b, 28, c.count);
    const auto content = readProtocolFile(b.substr(0, c.size));
    EXPECT_TRUE(content.headerMatches);
    ASSERT_EQ(content.records.size(), c.records) << c.count << " " << c.size;
    if (c.records) {
      EXPECT_EQ(content.records.back().code, "A0000" + std::to_string(c.records));
    }
  }
}

}  // namespace
}  // namespace qj
