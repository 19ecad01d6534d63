#pragma once
// A minimal legacy .xls file built in code: a compound file holding one "Workbook" stream of
// BIFF8 records (workbook globals with the sheet list and the shared strings, then each
// sheet with its dimension, string cells and number cells). Enough for a reader test; no
// spreadsheet program is needed to make it.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace qj::test {

struct XlsCell {
  uint16_t row = 0, col = 0;
  std::u16string text;  // a string cell when `isNumber` is false
  bool isNumber = false;
  double number = 0;
};

struct XlsSheet {
  std::u16string name;
  std::vector<XlsCell> cells;
};

namespace biff8 {

inline void put16(std::string& s, uint16_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>(v >> 8);
}
inline void put32(std::string& s, uint32_t v) {
  put16(s, static_cast<uint16_t>(v & 0xFFFF));
  put16(s, static_cast<uint16_t>(v >> 16));
}
inline void putDouble(std::string& s, double d) {
  char b[8];
  std::memcpy(b, &d, 8);
  s.append(b, 8);
}
inline void putUtf16(std::string& s, const std::u16string& text) {
  for (char16_t c : text) put16(s, static_cast<uint16_t>(c));
}
inline void record(std::string& s, uint16_t type, const std::string& data) {
  put16(s, type);
  put16(s, static_cast<uint16_t>(data.size()));
  s += data;
}
inline std::string bof(uint16_t kind) {
  std::string d;
  put16(d, 0x0600);  // BIFF8
  put16(d, kind);    // 0x0005 workbook globals, 0x0010 worksheet
  put16(d, 0x0DBB);
  put16(d, 0x07CC);
  put32(d, 0);
  put32(d, 0x06);
  return d;
}

// The BIFF8 stream of the sheets.
inline std::string workbookStream(const std::vector<XlsSheet>& sheets) {
  std::vector<std::u16string> strings;
  for (const auto& sheet : sheets)
    for (const auto& c : sheet.cells)
      if (!c.isNumber) strings.push_back(c.text);

  // Globals; each sheet list entry names its sheet's offset, patched once it is known.
  std::string s;
  record(s, 0x0809, bof(0x0005));
  std::string codepage;
  put16(codepage, 0x04B0);
  record(s, 0x0042, codepage);
  std::vector<size_t> offsetSlots;
  for (const auto& sheet : sheets) {
    std::string d;
    offsetSlots.push_back(s.size() + 4);
    put32(d, 0);
    d += '\0';  // visible
    d += '\0';  // worksheet
    d += static_cast<char>(sheet.name.size());
    d += '\1';  // UTF-16 characters
    putUtf16(d, sheet.name);
    record(s, 0x0085, d);
  }
  std::string sst;
  put32(sst, static_cast<uint32_t>(strings.size()));
  put32(sst, static_cast<uint32_t>(strings.size()));
  for (const auto& text : strings) {
    put16(sst, static_cast<uint16_t>(text.size()));
    sst += '\1';
    putUtf16(sst, text);
  }
  record(s, 0x00FC, sst);
  record(s, 0x000A, "");

  uint32_t nextString = 0;
  for (size_t i = 0; i < sheets.size(); ++i) {
    const uint32_t offset = static_cast<uint32_t>(s.size());
    for (int b = 0; b < 4; ++b)
      s[offsetSlots[i] + b] = static_cast<char>((offset >> (8 * b)) & 0xFF);
    record(s, 0x0809, bof(0x0010));
    uint16_t rows = 0, cols = 0;
    for (const auto& c : sheets[i].cells) {
      rows = std::max<uint16_t>(rows, c.row + 1);
      cols = std::max<uint16_t>(cols, c.col + 1);
    }
    std::string dim;
    put32(dim, 0);
    put32(dim, rows);
    put16(dim, 0);
    put16(dim, cols);
    put16(dim, 0);
    record(s, 0x0200, dim);
    for (const auto& c : sheets[i].cells) {
      std::string d;
      put16(d, c.row);
      put16(d, c.col);
      put16(d, 0);
      if (c.isNumber) {
        putDouble(d, c.number);
        record(s, 0x0203, d);
      } else {
        put32(d, nextString++);
        record(s, 0x00FD, d);
      }
    }
    record(s, 0x000A, "");
  }
  return s;
}

}  // namespace biff8

// The whole .xls file: a version-3 compound file of 512-byte sectors. The stream is padded
// to 4096 bytes so that it lives in ordinary sectors, as spreadsheet programs keep it.
inline std::string xlsFile(const std::vector<XlsSheet>& sheets) {
  using biff8::put16;
  using biff8::put32;
  std::string stream = biff8::workbookStream(sheets);
  if (stream.size() < 4096) stream.resize(4096, '\0');
  stream.resize((stream.size() + 511) / 512 * 512, '\0');
  const uint32_t streamSectors = static_cast<uint32_t>(stream.size() / 512);
  const uint32_t dirSector = 1 + streamSectors;
  constexpr uint32_t kEnd = 0xFFFFFFFE, kFree = 0xFFFFFFFF, kFatSector = 0xFFFFFFFD;

  std::string header;
  header += std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  header += std::string(16, '\0');
  put16(header, 0x003E);
  put16(header, 0x0003);
  put16(header, 0xFFFE);
  put16(header, 0x0009);
  put16(header, 0x0006);
  header += std::string(6, '\0');
  put32(header, 0);          // directory sectors (version 3)
  put32(header, 1);          // FAT sectors
  put32(header, dirSector);  // first directory sector
  put32(header, 0);
  put32(header, 0x1000);  // mini stream cutoff
  put32(header, kEnd);    // no mini FAT
  put32(header, 0);
  put32(header, kEnd);  // no DIFAT sectors
  put32(header, 0);
  put32(header, 0);  // the FAT is sector 0
  for (int i = 1; i < 109; ++i) put32(header, kFree);

  std::string fat;
  put32(fat, kFatSector);
  for (uint32_t i = 1; i <= streamSectors; ++i) put32(fat, i == streamSectors ? kEnd : i + 1);
  put32(fat, kEnd);  // the directory
  while (fat.size() < 512) put32(fat, kFree);

  const auto entry = [](const std::u16string& name, uint8_t type, uint32_t child, uint32_t start,
                        uint32_t size) {
    std::string e;
    std::u16string n = name;
    biff8::putUtf16(e, n);
    e.resize(64, '\0');
    put16(e, name.empty() ? 0 : static_cast<uint16_t>((name.size() + 1) * 2));
    e += static_cast<char>(type);
    e += '\1';  // black
    put32(e, kFree);
    put32(e, kFree);
    put32(e, child);
    e += std::string(16 + 4 + 16, '\0');
    put32(e, start);
    put32(e, size);
    put32(e, 0);
    return e;
  };
  std::string dir;
  dir += entry(u"Root Entry", 5, 1, kEnd, 0);
  dir += entry(u"Workbook", 2, kFree, 1, static_cast<uint32_t>(stream.size()));
  dir += entry(u"", 0, kFree, kFree, 0);
  dir += entry(u"", 0, kFree, kFree, 0);

  return header + fat + stream + dir;
}

}  // namespace qj::test
