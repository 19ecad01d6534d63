#pragma once
// Little-endian byte records: every file of the program is a sequence of int32 values,
// IEEE doubles, fixed short-string slots and raw bytes. The reader never reads past the
// bytes it holds; a record that does not fit becomes a ReadError naming the offset.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qj {

class ReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  size_t pos() const { return pos_; }
  size_t size() const { return bytes_.size(); }
  size_t remaining() const { return bytes_.size() - pos_; }
  bool atEnd() const { return pos_ == bytes_.size(); }
  // True when `count` items of `itemSize` bytes each are still present (no overflow).
  bool holds(int64_t count, size_t itemSize) const;

  void seek(size_t pos);
  void skip(size_t n);
  uint8_t u8();
  int32_t i32();
  double f64();
  std::string raw(size_t n);
  // A short string of up to n characters in its slot of n + 1 bytes. A length byte
  // larger than the slot is cut to the slot.
  std::string shortString(int n);

 private:
  void need(size_t n) const;

  std::string_view bytes_;
  size_t pos_ = 0;
};

class ByteWriter {
 public:
  const std::string& bytes() const { return bytes_; }
  std::string take() { return std::move(bytes_); }
  size_t size() const { return bytes_.size(); }

  void u8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void i32(int32_t v);
  void f64(double v);
  void raw(std::string_view bytes) { bytes_.append(bytes); }
  void zeros(size_t n) { bytes_.append(n, '\0'); }
  // A short string slot of n + 1 bytes: length byte, the text cut to n characters, zero tail.
  void shortString(std::string_view text, int n);

 private:
  std::string bytes_;
};

}  // namespace qj
