#pragma once
// The raw deflate streams that zip archives keep their parts in, packed and unpacked piece by
// piece, with the checksum of the unpacked bytes as zip keeps it (CRC-32).
//
// Two codecs do the work: ISA-L, several times as fast as zlib and packing tighter, where
// the build found it; zlib everywhere (libzip stands on it). They unpack every stream to the
// same bytes and refuse the same broken streams; the archive a packer writes differs only in
// its packed bytes. The build picks ISA-L when it has it (QJ_WITH_ISAL).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

namespace qj::office {

enum class ZipCodec { Zlib, Isal };

// The codec that the readers and writers use.
ZipCodec defaultZipCodec();
// Every codec of this build, the default first.
std::vector<ZipCodec> zipCodecs();
std::string_view zipCodecName(ZipCodec codec);

// Unpacks one raw deflate stream.
class Inflater {
 public:
  enum class State { Going, Finished, Broken };

  virtual ~Inflater() = default;

  // The next packed bytes; only once the ones given before are taken (hungry()). They must
  // stay in place until then.
  virtual void give(const uint8_t* packed, size_t n) = 0;
  virtual bool hungry() const = 0;
  // Unpacks into `out` as far as the bytes given and `room` allow: how many it wrote.
  // Nothing more comes out once the stream is Finished or Broken.
  virtual size_t unpack(uint8_t* out, size_t room) = 0;
  virtual State state() const = 0;
  // The checksum of what was unpacked so far.
  virtual uint32_t crc() const = 0;
};

// Packs one raw deflate stream at the codec's fastest level.
class Deflater {
 public:
  virtual ~Deflater() = default;

  // A new stream.
  virtual void reset() = 0;
  // The next bytes of the stream, `last` when they end it. They must stay in place until
  // done().
  virtual void give(std::string_view data, bool last) = 0;
  // Packs into `out` as far as `room` allows: how many bytes it wrote. Throws
  // std::runtime_error when the codec fails.
  virtual size_t pack(uint8_t* out, size_t room) = 0;
  // Everything given is packed; after the last bytes, the stream is complete.
  virtual bool done() const = 0;
  // The checksum of what was given so far.
  virtual uint32_t crc() const = 0;
};

std::unique_ptr<Inflater> makeInflater(ZipCodec codec = defaultZipCodec());
std::unique_ptr<Deflater> makeDeflater(ZipCodec codec = defaultZipCodec());

}  // namespace qj::office
