// The codecs of this build against each other: whatever a codec packs, every codec unpacks
// to the same bytes and checksum, and a cut or damaged stream is refused by every codec, or
// unpacked by every codec to the same bytes. In a build with zlib alone, the cases run
// against zlib and the checksum of the test's own.

#include "office/zip_codec.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace qj::office {
namespace {

// CRC-32 as zip keeps it, bit by bit.
uint32_t referenceCrc(std::string_view bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (const unsigned char b : bytes) {
    crc ^= b;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

// Rows of a sheet as a workbook holds them: much repetition, some of it far back.
std::string sheetXml(int rows) {
  std::string s;
  std::mt19937 rng(7);
  for (int r = 1; r <= rows; ++r) {
    s += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) +
         "\" t=\"inlineStr\"><is><t>Street " + std::to_string(rng() % 5000) + "</t></is></c></row>";
  }
  return s;
}

std::string noise(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng());
  return s;
}

// The stream given in pieces of `piece` bytes, the last of them ending it; or, as the
// workbook writer ends a part, ended by no bytes at all (`endApart`).
std::string pack(ZipCodec codec, std::string_view data, size_t piece, bool endApart = false,
                 uint32_t* crc = nullptr) {
  const auto deflater = makeDeflater(codec);
  deflater->reset();
  std::string out;
  std::vector<uint8_t> buffer(4096);
  const auto give = [&](std::string_view bytes, bool last) {
    deflater->give(bytes, last);
    do {
      const size_t n = deflater->pack(buffer.data(), buffer.size());
      out.append(reinterpret_cast<const char*>(buffer.data()), n);
    } while (!deflater->done());
  };
  for (size_t at = 0; at < data.size() || at == 0; at += piece)
    give(data.substr(std::min(at, data.size()), piece), !endApart && at + piece >= data.size());
  if (endApart) give({}, true);
  if (crc) *crc = deflater->crc();
  return out;
}

// What an inflater makes of a stream, taken as the reader takes it: packed bytes given
// `piece` at a time, unpacked into `room` bytes at a time.
struct Unpacked {
  bool whole = false;  // the stream ended; otherwise it is broken or stops short
  std::string bytes;
  uint32_t crc = 0;
  bool operator==(const Unpacked& o) const {
    return whole == o.whole && (!whole || (bytes == o.bytes && crc == o.crc));
  }
};

Unpacked unpack(ZipCodec codec, std::string_view packed, size_t piece, size_t room) {
  const auto in = makeInflater(codec);
  Unpacked u;
  std::vector<uint8_t> out(room);
  size_t at = 0;
  bool end = false;
  while (in->state() == Inflater::State::Going) {
    if (in->hungry() && !end) {
      const size_t n = std::min(piece, packed.size() - at);
      in->give(reinterpret_cast<const uint8_t*>(packed.data()) + at, n);
      at += n;
      end = n == 0;
    }
    const size_t got = in->unpack(out.data(), out.size());
    u.bytes.append(reinterpret_cast<const char*>(out.data()), got);
    if (end && in->hungry() && got == 0) break;
  }
  u.whole = in->state() == Inflater::State::Finished;
  u.crc = in->crc();
  return u;
}

struct Sample {
  const char* name;
  std::string bytes;
  bool repetitive = false;  // packs to less than a third
};

std::vector<Sample> samples() {
  return {{"empty", ""},
          {"one byte", "x"},
          {"sheet rows", sheetXml(4000), true},
          {"noise, stored as it is", noise(100000, 3)},
          {"noise between rows", sheetXml(300) + noise(70000, 4) + sheetXml(300)},
          {"one byte repeated", std::string(300000, 'a'), true}};
}

TEST(ZipCodec, EveryCodecUnpacksWhatEveryCodecPacks) {
  const std::vector<ZipCodec> codecs = zipCodecs();
  EXPECT_EQ(codecs.front(), defaultZipCodec());
  for (const Sample& s : samples()) {
    for (const ZipCodec packer : codecs) {
      for (const auto& [piece, endApart] : {std::pair<size_t, bool>{1 << 20, false},
                                            {1 << 20, true},
                                            {1000, false},
                                            {1000, true}}) {
        SCOPED_TRACE(std::string(s.name) + ", packed by " + std::string(zipCodecName(packer)) +
                     " in pieces of " + std::to_string(piece) + (endApart ? ", ended apart" : ""));
        uint32_t crc = 0;
        const std::string packed = pack(packer, s.bytes, piece, endApart, &crc);
        EXPECT_EQ(crc, referenceCrc(s.bytes));
        if (s.repetitive) {
          EXPECT_LT(packed.size(), s.bytes.size() / 3);
        }
        for (const ZipCodec unpacker : codecs) {
          for (const auto& [feed, room] : {std::pair<size_t, size_t>{1 << 16, 1 << 18}, {7, 13}}) {
            const Unpacked u = unpack(unpacker, packed, feed, room);
            EXPECT_TRUE(u.whole) << zipCodecName(unpacker);
            EXPECT_TRUE(u.bytes == s.bytes) << zipCodecName(unpacker);
            EXPECT_EQ(u.crc, referenceCrc(s.bytes)) << zipCodecName(unpacker);
          }
        }
      }
    }
  }
}

// Every codec's view of a stream: all the same, and the first returned.
Unpacked agreed(std::string_view packed, const std::string& what) {
  const std::vector<ZipCodec> codecs = zipCodecs();
  const Unpacked first = unpack(codecs.front(), packed, 1 << 16, 1 << 18);
  for (const ZipCodec c : codecs) {
    EXPECT_EQ(unpack(c, packed, 1 << 16, 1 << 18), first)
        << what << ": " << zipCodecName(c) << " against " << zipCodecName(codecs.front());
    EXPECT_EQ(unpack(c, packed, 5, 11), first) << what << " in small pieces: " << zipCodecName(c);
  }
  return first;
}

TEST(ZipCodec, CutStreamsAreRefusedByEveryCodec) {
  for (const ZipCodec packer : zipCodecs()) {
    const std::string data = sheetXml(3000) + noise(20000, 5);
    const std::string packed = pack(packer, data, 1 << 20);
    for (size_t cut = 0; cut < packed.size(); cut += 1 + cut / 4) {
      const std::string what = std::string(zipCodecName(packer)) + " cut at " +
                               std::to_string(cut) + " of " + std::to_string(packed.size());
      EXPECT_FALSE(agreed(packed.substr(0, cut), what).whole) << what;
    }
    EXPECT_FALSE(agreed(packed.substr(0, packed.size() - 1), "one byte short").whole);
  }
}

TEST(ZipCodec, DamagedStreamsGetTheSameOutcomeFromEveryCodec) {
  int refused = 0, unpacked = 0;
  for (const ZipCodec packer : zipCodecs()) {
    const std::string data = sheetXml(600);
    const std::string packed = pack(packer, data, 1 << 20);
    std::mt19937 rng(11);
    for (int round = 0; round < 300; ++round) {
      std::string bad = packed;
      const size_t at = rng() % bad.size();
      bad[at] = static_cast<char>(bad[at] ^ (1 + rng() % 255));
      const std::string what = std::string(zipCodecName(packer)) + " changed at " +
                               std::to_string(at) + " of " + std::to_string(bad.size());
      const Unpacked u = agreed(bad, what);
      ++(u.whole ? unpacked : refused);
      // Unpacked to other bytes: the checksum tells, as the reader checks it.
      if (u.whole && u.bytes != data) {
        EXPECT_NE(u.crc, referenceCrc(data)) << what;
      }
    }
  }
  EXPECT_GT(refused, 50);
}

TEST(ZipCodec, StreamsMadeByHand) {
  const std::pair<const char*, std::string> refused[] = {
      {"reserved block type", std::string("\x07", 1)},
      {"stored block whose length and its complement disagree", std::string("\x01\x03\x00\x03\x00"
                                                                            "abc",
                                                                            8)},
      {"a distance before the start", std::string("\x03\x02\x00", 3)},
      {"nothing", ""},
  };
  for (const auto& [what, bytes] : refused) EXPECT_FALSE(agreed(bytes, what).whole) << what;

  // A final empty stored block; a stored block and then data past the stream's end, which
  // the archive's sizes account for, not the stream.
  const Unpacked empty = agreed(std::string("\x01\x00\x00\xff\xff", 5), "empty stored");
  EXPECT_TRUE(empty.whole);
  EXPECT_EQ(empty.bytes, "");
  const Unpacked trailing = agreed(std::string("\x01\x03\x00\xfc\xff"
                                               "abcXYZ",
                                               11),
                                   "trailing");
  EXPECT_TRUE(trailing.whole);
  EXPECT_EQ(trailing.bytes, "abc");
  EXPECT_EQ(trailing.crc, referenceCrc("abc"));
}

}  // namespace
}  // namespace qj::office
