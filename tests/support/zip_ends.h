#pragma once
// Zip archives with their ends rewritten, as hostile files and as seeds: the end record moved
// into a ZIP64 end record, more central-directory entries than the archive holds parts, other
// figures in the end record, and a comment after it.
// `zip` is an archive without a comment, as libzip writes it.

#include <cstdint>
#include <string>

namespace qj::test {

inline std::string littleEndian(uint64_t v, int bytes) {
  std::string s;
  for (int k = 0; k < bytes; ++k) s += static_cast<char>(v >> (8 * k));
  return s;
}

inline uint64_t littleEndianAt(const std::string& b, size_t at, int bytes) {
  uint64_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(b[at + k]);
  return v;
}

// The central directory's size as the end record gives it.
inline uint64_t directoryBytesOf(const std::string& zip) {
  return littleEndianAt(zip, zip.size() - 22 + 12, 4);
}

// The end record's figures in a ZIP64 end record that declares a directory of
// `directoryBytes`, and an end record of placeholders after its locator.
inline std::string zip64Ended(const std::string& zip, uint64_t directoryBytes) {
  const size_t end = zip.size() - 22;
  const uint64_t entries = littleEndianAt(zip, end + 10, 2),
                 offset = littleEndianAt(zip, end + 16, 4);
  return zip.substr(0, end) + "PK\6\6" + littleEndian(44, 8) + littleEndian(45, 2) +
         littleEndian(45, 2) + littleEndian(0, 8) + littleEndian(entries, 8) +
         littleEndian(entries, 8) + littleEndian(directoryBytes, 8) + littleEndian(offset, 8) +
         "PK\6\7" + littleEndian(0, 4) + littleEndian(end, 8) + littleEndian(1, 4) + "PK\5\6" +
         littleEndian(0, 4) + littleEndian(0xFFFFFFFF, 4) + littleEndian(0xFFFFFFFFFFFFFFFF, 8) +
         littleEndian(0, 2);
}

// `added` more central-directory entries, each a 12-byte name and an extra field of 16383
// empty fields (64 KiB in the file), the end record counting them.
inline std::string withExtraFieldEntries(const std::string& zip, uint32_t added) {
  const size_t end = zip.size() - 22;
  std::string out = zip.substr(0, end);
  std::string fields;
  for (int f = 0; f < 16383; ++f) fields += std::string("\x99\x99\0\0", 4);
  for (uint32_t k = 0; k < added; ++k) {
    std::string name = std::to_string(k);
    name = "x" + std::string(11 - name.size(), '0') + name;
    out += "PK\1\2" + std::string(24, '\0') + littleEndian(name.size(), 2) +
           littleEndian(fields.size(), 2) + std::string(14, '\0') + name + fields;
  }
  const uint64_t entries = littleEndianAt(zip, end + 10, 2) + added;
  const uint64_t offset = littleEndianAt(zip, end + 16, 4);
  return out + zip.substr(end, 8) + littleEndian(entries, 2) + littleEndian(entries, 2) +
         littleEndian(out.size() - offset, 4) + zip.substr(end + 16);
}

// The end record of `zip` counting `entries` in a central directory of `directoryBytes`.
inline std::string withEndFigures(const std::string& zip, uint64_t entries,
                                  uint64_t directoryBytes) {
  const size_t end = zip.size() - 22;
  return zip.substr(0, end + 8) + littleEndian(entries, 2) + littleEndian(entries, 2) +
         littleEndian(directoryBytes, 4) + zip.substr(end + 16);
}

// `comment` after the end record of `zip`.
inline std::string withComment(const std::string& zip, const std::string& comment) {
  return zip.substr(0, zip.size() - 2) + littleEndian(comment.size(), 2) + comment;
}

}  // namespace qj::test
