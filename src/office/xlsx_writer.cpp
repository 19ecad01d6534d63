#include "office/xlsx_writer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <map>
#include <vector>

#include "office/zip_codec.h"
#include "records/cp1251.h"

namespace qj::office {
namespace {

// ---- The zip container ----------------------------------------------------------------------

// A zip archive written part by part, each part deflated as its bytes come. The sizes and
// checksum of a part are put into its header when the part is complete.
//
// Deflating is the larger half of writing a big workbook: the build's codec (zip_codec.h)
// packs at its fastest level.
class ZipWriter {
 public:
  explicit ZipWriter(AtomicFile& file)
      : file_(file), out_(new char[kOutBuffer]), deflater_(makeDeflater()) {}
  ZipWriter(const ZipWriter&) = delete;
  ZipWriter& operator=(const ZipWriter&) = delete;

  void begin(std::string name) {
    Entry e;
    e.name = std::move(name);
    e.offset = offset_ + used_;
    // The checksum and sizes are filled in by end().
    put32(0x04034b50);
    put16(20);
    put16(0);
    put16(8);
    put16(0);
    put16(kDosDate);
    put32(0);
    put32(0);
    put32(0);
    put16(static_cast<uint16_t>(e.name.size()));
    put16(0);
    put(e.name);
    entries_.push_back(std::move(e));
    deflater_->reset();
    size_ = 0;
    packedStart_ = offset_ + used_;
  }

  void write(std::string_view data) {
    size_ += data.size();
    // The compressor counts its input in 32 bits.
    constexpr size_t kPiece = size_t{1} << 30;
    for (size_t at = 0; at < data.size(); at += kPiece) pump(data.substr(at, kPiece), false);
  }

  void end() {
    pump({}, true);
    Entry& e = entries_.back();
    e.crc = deflater_->crc();
    e.size = size_;
    e.packed = offset_ + used_ - packedStart_;
    if (e.size > kMaxSize || e.packed > kMaxSize || offset_ + used_ > kMaxSize)
      throw OfficeError("the workbook is too large for its file format");
    std::array<char, 12> sizes{};
    store32(sizes.data(), e.crc);
    store32(sizes.data() + 4, static_cast<uint32_t>(e.packed));
    store32(sizes.data() + 8, static_cast<uint32_t>(e.size));
    patch(e.offset + 14, sizes.data(), sizes.size());
  }

  // The central directory; then the file is complete.
  void finish() {
    const uint64_t start = offset_ + used_;
    for (const Entry& e : entries_) {
      put32(0x02014b50);
      put16(20);
      put16(20);
      put16(0);
      put16(8);
      put16(0);
      put16(kDosDate);
      put32(e.crc);
      put32(static_cast<uint32_t>(e.packed));
      put32(static_cast<uint32_t>(e.size));
      put16(static_cast<uint16_t>(e.name.size()));
      put16(0);
      put16(0);
      put16(0);
      put16(0);
      put32(0);
      put32(static_cast<uint32_t>(e.offset));
      put(e.name);
    }
    const uint64_t size = offset_ + used_ - start;
    if (offset_ + used_ > kMaxSize) throw OfficeError("the workbook is too large");
    put32(0x06054b50);
    put16(0);
    put16(0);
    put16(static_cast<uint16_t>(entries_.size()));
    put16(static_cast<uint16_t>(entries_.size()));
    put32(static_cast<uint32_t>(size));
    put32(static_cast<uint32_t>(start));
    put16(0);
    flush();
  }

 private:
  struct Entry {
    std::string name;
    uint64_t offset = 0, size = 0, packed = 0;
    uint32_t crc = 0;
  };
  static constexpr uint16_t kDosDate = (0 << 9) | (1 << 5) | 1;  // 1 January 1980
  static constexpr uint64_t kMaxSize = 0xFFFFFFFFull;
  static constexpr size_t kOutBuffer = 1 << 20;

  static void store32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(v >> (8 * i));
  }
  // Headers and names: far smaller than the buffer.
  void put(std::string_view bytes) {
    if (kOutBuffer - used_ < bytes.size()) flush();
    std::memcpy(out_.get() + used_, bytes.data(), bytes.size());
    used_ += bytes.size();
  }
  void put16(uint16_t v) {
    const char b[2] = {static_cast<char>(v), static_cast<char>(v >> 8)};
    put(std::string_view(b, 2));
  }
  void put32(uint32_t v) {
    char b[4];
    store32(b, v);
    put(std::string_view(b, 4));
  }

  void pump(std::string_view data, bool last) {
    deflater_->give(data, last);
    for (;;) {
      if (used_ == kOutBuffer) flush();
      try {
        used_ +=
            deflater_->pack(reinterpret_cast<uint8_t*>(out_.get() + used_), kOutBuffer - used_);
      } catch (const std::runtime_error&) {
        throw OfficeError("the compressor failed");
      }
      if (deflater_->done()) return;
    }
  }

  void flush() {
    writeAll(out_.get(), used_, offset_);
    offset_ += used_;
    used_ = 0;
  }

  // Bytes already written: those in the file are rewritten there, the rest in the buffer.
  void patch(uint64_t at, const char* data, size_t n) {
    const size_t inFile =
        at >= offset_ ? 0 : static_cast<size_t>(std::min<uint64_t>(n, offset_ - at));
    writeAll(data, inFile, at);
    if (inFile < n) std::memcpy(out_.get() + (at + inFile - offset_), data + inFile, n - inFile);
  }

  void writeAll(const char* data, size_t n, uint64_t at) {
    try {
      file_.writeAt(at, std::string_view(data, n));
    } catch (const FileError& e) {
      throw OfficeError(std::string("the workbook could not be written: ") + e.what());
    }
  }

  AtomicFile& file_;
  std::unique_ptr<char[]> out_;
  size_t used_ = 0;
  uint64_t offset_ = 0;  // of out_'s first byte in the file
  std::vector<Entry> entries_;
  std::unique_ptr<Deflater> deflater_;
  uint64_t size_ = 0, packedStart_ = 0;
};

// ---- XML text ---------------------------------------------------------------------------------

constexpr std::string_view kMainNs = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
constexpr std::string_view kRelNs =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
constexpr std::string_view kXmlHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";

// What a byte of code page 1251 needs in XML text: nothing, an entity, a spreadsheet escape
// (control characters, and "_" which could start one), or its UTF-8 form. The kinds whose
// XML may begin with "_" come together from kEscape.
enum ByteKind : uint8_t { kPlain, kEntity, kHigh, kEscape, kUnderscore };

constexpr std::array<uint8_t, 256> byteKinds() {
  std::array<uint8_t, 256> k{};
  for (int b = 0; b < 256; ++b)
    k[b] = b >= 0x80 ? kHigh : b < 0x20 && b != '\t' && b != '\n' ? kEscape : kPlain;
  k['&'] = k['<'] = k['>'] = kEntity;
  k['_'] = kUnderscore;
  return k;
}
constexpr std::array<uint8_t, 256> kByteKinds = byteKinds();

// The most bytes one character of code page 1251 becomes in XML text ("_x0001_").
constexpr size_t kMaxXmlPerChar = 7;

// The UTF-8 form of each byte of code page 1251 from 0x80 up: its length and bytes.
struct HighBytes {
  uint8_t length[128];
  char bytes[128][3];
  HighBytes() {
    for (int b = 0x80; b < 0x100; ++b) {
      const std::string utf8 = cp1251::toUtf8(std::string(1, static_cast<char>(b)));
      length[b - 0x80] = static_cast<uint8_t>(utf8.size());
      std::memcpy(bytes[b - 0x80], utf8.data(), utf8.size());
    }
  }
};

bool isHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

char* put(char* out, std::string_view s) {
  std::memcpy(out, s.data(), s.size());
  return out + s.size();
}

// `text` (code page 1251) as XML text in UTF-8, written at `out`, which has room for
// kMaxXmlPerChar bytes a character; returns the end of what was written.
char* putXmlText(char* out, std::string_view text) {
  static const HighBytes high;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const auto b = static_cast<unsigned char>(text[i]);
    switch (kByteKinds[b]) {
      case kPlain: *out++ = static_cast<char>(b); continue;
      case kEntity: out = put(out, b == '&' ? "&amp;" : b == '<' ? "&lt;" : "&gt;"); continue;
      case kHigh:
        std::memcpy(out, high.bytes[b - 0x80], 3);
        out += high.length[b - 0x80];
        continue;
      case kUnderscore:
        // "_xHHHH" reads as an escape when a "_" follows it, and so it does when the next
        // character is itself escaped: its escape begins with one.
        if (!(i + 6 < n && text[i + 1] == 'x' && isHex(text[i + 2]) && isHex(text[i + 3]) &&
              isHex(text[i + 4]) && isHex(text[i + 5]) &&
              kByteKinds[static_cast<unsigned char>(text[i + 6])] >= kEscape)) {
          *out++ = '_';
          continue;
        }
        [[fallthrough]];
      default: {
        // A control character, or a "_" that would read as the start of an escape.
        constexpr char kHex[] = "0123456789ABCDEF";
        out = put(out, "_x00");
        *out++ = kHex[b >> 4];
        *out++ = kHex[b & 15];
        *out++ = '_';
      }
    }
  }
  return out;
}

// An attribute value (sheet names), escaped as a cell's text is, since a reader takes the
// spreadsheet's escapes in both.
std::string attributeText(std::string_view text) {
  std::string xml(text.size() * kMaxXmlPerChar, '\0');
  xml.resize(static_cast<size_t>(putXmlText(xml.data(), text) - xml.data()));
  std::string out;
  for (const char c : xml) {
    if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

// The XML of a part as it is made: a buffer written through a pointer, so that a cell costs
// a few copies rather than a dozen appends.
class XmlBuffer {
 public:
  // Room for `n` more bytes at the end; write there and pass the new end to done().
  char* room(size_t n) {
    if (buf_.size() - used_ < n) buf_.resize(std::max(buf_.size() * 2, used_ + n + kMinSize));
    return buf_.data() + used_;
  }
  void done(const char* end) { used_ = static_cast<size_t>(end - buf_.data()); }
  XmlBuffer& operator+=(std::string_view s) {
    done(put(room(s.size()), s));
    return *this;
  }
  std::string_view view() const { return std::string_view(buf_.data(), used_); }
  size_t size() const { return used_; }
  void clear() { used_ = 0; }

 private:
  static constexpr size_t kMinSize = 1 << 16;
  std::string buf_;
  size_t used_ = 0;
};

void appendNumber(XmlBuffer& out, int64_t n) {
  char buf[24];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
  out += std::string_view(buf, static_cast<size_t>(end - buf));
}

void appendReal(XmlBuffer& out, double x) {
  char buf[32];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x);
  out += std::string_view(buf, static_cast<size_t>(end - buf));
}

// The column width as a spreadsheet program stores it: the characters of the standard
// font's digit width (7 pixels) with its padding (5 pixels), in 1/256 of a character.
double storedWidth(double width) {
  if (width <= 0) return 0;
  const double pixels =
      width < 1 ? static_cast<int>(width * 12 + 0.5) : static_cast<int>(width * 7 + 0.5) + 5;
  return static_cast<int>(pixels / 7 * 256) / 256.0;
}

// Sixteen cell formats, one for each combination: the index holds bold in bit 3, the
// alignment in bits 1-2 and wrapping in bit 0, so that format 0 is the default.
int styleIndex(const CellFormat& f) {
  return (f.bold ? 8 : 0) + static_cast<int>(f.align) * 2 + (f.wrap ? 1 : 0);
}

std::string stylesPart() {
  std::string s(kXmlHead);
  s += "<styleSheet xmlns=\"";
  s += kMainNs;
  s += "\"><fonts count=\"2\"><font><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/>"
       "</font><font><b/><sz val=\"11\"/><name val=\"Calibri\"/><family val=\"2\"/></font></fonts>"
       "<fills count=\"2\"><fill><patternFill patternType=\"none\"/></fill><fill><patternFill "
       "patternType=\"gray125\"/></fill></fills><borders count=\"1\"><border><left/><right/><top/>"
       "<bottom/><diagonal/></border></borders><cellStyleXfs count=\"1\"><xf numFmtId=\"0\" "
       "fontId=\"0\" fillId=\"0\" borderId=\"0\"/></cellStyleXfs><cellXfs count=\"16\">";
  constexpr const char* kAlign[] = {nullptr, "left", "center", "right"};
  for (int i = 0; i < 16; ++i) {
    const bool bold = i & 8, wrap = i & 1;
    const char* align = kAlign[(i >> 1) & 3];
    s += "<xf numFmtId=\"0\" fontId=\"";
    s += bold ? "1" : "0";
    s += "\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
    if (bold) s += " applyFont=\"1\"";
    if (!align && !wrap) {
      s += "/>";
      continue;
    }
    s += " applyAlignment=\"1\"><alignment";
    if (align) s += std::string(" horizontal=\"") + align + "\"";
    if (wrap) s += " wrapText=\"1\"";
    s += "/></xf>";
  }
  s += "</cellXfs><cellStyles count=\"1\"><cellStyle name=\"Normal\" xfId=\"0\" builtinId=\"0\"/>"
       "</cellStyles><dxfs count=\"0\"/><tableStyles count=\"0\"/></styleSheet>";
  return s;
}

[[noreturn]] void outside(int row, int col) {
  throw std::out_of_range("cell " + std::to_string(row) + "," + std::to_string(col) +
                          " lies outside a sheet");
}

// Checked at every cell: the check inlined, the message built apart.
inline void requireInside(int row, int col) {
  if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns) [[unlikely]]
    outside(row, col);
}

[[noreturn]] void outOfOrder(const char* what) {
  throw std::logic_error(std::string("a streamed sheet takes ") + what);
}

}  // namespace

// ---- One sheet, streamed ------------------------------------------------------------------------

// Each cell goes into the part's XML as it is set; the rows between that formats or heights
// touch are written when a later row (or the end) shows they are complete.
class SheetStream : public SheetOutput {
 public:
  SheetStream(ZipWriter& zip, int number, int64_t& rowsWritten, const WorkProgress& progress,
              int64_t expectedRows)
      : zip_(zip),
        number_(number),
        rowsWritten_(rowsWritten),
        progress_(progress),
        expectedRows_(expectedRows) {}

  void setColumnWidth(int col, double width) override {
    requireInside(0, col);
    if (begun_ || row_ >= 0) outOfOrder("its column widths before its rows");
    widths_[col] = width;
  }
  void setRowHeight(int row, double points) override {
    requireInside(row, 0);
    if (row <= row_) outOfOrder("a row's height before the row");
    heights_[row] = points;
  }
  void setBold(const CellRange& range, bool bold) override {
    addStep({range, bold, std::nullopt, std::nullopt});
  }
  void setAlign(const CellRange& range, HAlign align) override {
    addStep({range, std::nullopt, align, std::nullopt});
  }
  void setWrap(const CellRange& range, bool wrap) override {
    addStep({range, std::nullopt, std::nullopt, wrap});
  }

  void set(int row, int col, std::string_view text) override {
    requireInside(row, col);
    if (row < row_ || (row == row_ && col <= lastColumn_))
      outOfOrder("its cells in order of rows and columns");
    if (row != row_) {
      endRow();
      writeFormattedRowsBefore(row);
      startRow(row);
    }
    lastColumn_ = col;
    if (text.empty()) return;
    if (formatted_.empty()) {
      openRow();
      textCell(col, 0, text);
      return;
    }
    // Formatted blanks before it, then the cell in its own format.
    blanksBefore(col);
    int style = 0;
    if (nextFormatted_ < formatted_.size() && formatted_[nextFormatted_].col == col)
      style = formatted_[nextFormatted_++].style;
    textCell(col, style, text);
  }

  // The rest of the sheet: its last row and the formatted rows after it.
  void finish() {
    endRow();
    writeFormattedRowsBefore(kMaxRows);
    begin();
    xml_ +=
        "</sheetData><pageMargins left=\"0.7\" right=\"0.7\" top=\"0.75\" bottom=\"0.75\" "
        "header=\"0.3\" footer=\"0.3\"/></worksheet>";
    zip_.write(xml_.view());
    xml_.clear();
    zip_.end();
  }

 private:
  void addStep(const FormatStep& step) {
    if (step.range.lastRow < step.range.firstRow || step.range.lastColumn < step.range.firstColumn)
      return;
    if (step.range.firstRow <= row_) outOfOrder("its formats before the rows they touch");
    steps_.push_back(step);
  }

  // The part's start and the column widths, before the first row.
  void begin() {
    if (begun_) return;
    begun_ = true;
    zip_.begin("xl/worksheets/sheet" + std::to_string(number_) + ".xml");
    xml_ += kXmlHead;
    xml_ += "<worksheet xmlns=\"";
    xml_ += kMainNs;
    xml_ += "\" xmlns:r=\"";
    xml_ += kRelNs;
    xml_ += "\"><sheetViews><sheetView ";
    if (number_ == 1) xml_ += "tabSelected=\"1\" ";
    xml_ += "workbookViewId=\"0\"/></sheetViews><sheetFormatPr defaultRowHeight=\"15\"/>";
    if (!widths_.empty()) {
      xml_ += "<cols>";
      for (const auto& [col, width] : widths_) {
        xml_ += "<col min=\"";
        appendNumber(xml_, col + 1);
        xml_ += "\" max=\"";
        appendNumber(xml_, col + 1);
        xml_ += "\" width=\"";
        appendReal(xml_, storedWidth(width));
        xml_ += "\" customWidth=\"1\"/>";
      }
      xml_ += "</cols>";
    }
    xml_ += "<sheetData>";
  }

  // Rows without cells between the current row and `row` that a format or a height touches.
  void writeFormattedRowsBefore(int row) {
    for (int r = row_ + 1; r < row;) {
      int next = row;
      for (const FormatStep& s : steps_)
        if (s.range.lastRow >= r) next = std::min(next, std::max(s.range.firstRow, r));
      const auto h = heights_.lower_bound(r);
      if (h != heights_.end()) next = std::min(next, h->first);
      if (next >= row) break;
      startRow(next);
      endRow();
      r = next + 1;
    }
  }

  // A row begins: the columns the formats touch and the style of each (no format can be
  // added for a row once it has begun). A row with formats or a height is written even
  // without cells; others when their first cell comes.
  void startRow(int row) {
    row_ = row;
    lastColumn_ = -1;
    rowOpen_ = false;
    formatted_.clear();
    nextFormatted_ = 0;
    bool touched = false;
    for (const FormatStep& s : steps_) {
      if (row < s.range.firstRow || row > s.range.lastRow) continue;
      touched = true;
      for (int col = s.range.firstColumn; col <= s.range.lastColumn; ++col)
        formatted_.push_back({col, 0});
    }
    const auto byColumn = [](const FormattedColumn& a, const FormattedColumn& b) {
      return a.col < b.col;
    };
    std::sort(formatted_.begin(), formatted_.end(), byColumn);
    formatted_.erase(std::unique(formatted_.begin(), formatted_.end(),
                                 [](const FormattedColumn& a, const FormattedColumn& b) {
                                   return a.col == b.col;
                                 }),
                     formatted_.end());
    for (FormattedColumn& f : formatted_) f.style = styleAt(row, f.col);
    const char* const end = std::to_chars(rowNumber_, rowNumber_ + sizeof rowNumber_, row + 1).ptr;
    rowNumberLength_ = static_cast<size_t>(end - rowNumber_);
    if (touched || heights_.count(row)) openRow();
  }

  void openRow() {
    if (rowOpen_) return;
    rowOpen_ = true;
    begin();
    xml_ += "<row r=\"";
    xml_ += std::string_view(rowNumber_, rowNumberLength_);
    xml_ += "\"";
    const auto height = heights_.find(row_);
    if (height != heights_.end()) {
      xml_ += " ht=\"";
      appendReal(xml_, height->second);
      xml_ += "\" customHeight=\"1\"";
    }
    xml_ += ">";
  }

  void endRow() {
    if (!rowOpen_) return;
    blanksBefore(kMaxColumns);
    xml_ += "</row>";
    rowOpen_ = false;
    if (xml_.size() >= kXmlChunk) {
      zip_.write(xml_.view());
      xml_.clear();
    }
    if (progress_ && ++rowsWritten_ % 256 == 0) progress_(rowsWritten_, expectedRows_);
  }

  // The formatted columns of the row before `col` that hold no text: written blank, so that
  // they show their format.
  void blanksBefore(int col) {
    for (; nextFormatted_ < formatted_.size() && formatted_[nextFormatted_].col < col;
         ++nextFormatted_) {
      const FormattedColumn f = formatted_[nextFormatted_];
      if (f.style == 0) continue;
      char* out = cellStart(xml_.room(64), f.col, f.style);
      xml_.done(put(out, "/>"));
    }
  }

  // The style of a cell: the steps that touch it, in order.
  int styleAt(int row, int col) const {
    CellFormat f;
    for (const FormatStep& s : steps_) {
      if (!s.range.contains(row, col)) continue;
      if (s.bold) f.bold = *s.bold;
      if (s.align) f.align = *s.align;
      if (s.wrap) f.wrap = *s.wrap;
    }
    return styleIndex(f);
  }

  std::string_view letters(int col) {
    if (static_cast<size_t>(col) >= letters_.size()) letters_.resize(static_cast<size_t>(col) + 1);
    std::string& l = letters_[static_cast<size_t>(col)];
    if (l.empty()) l = columnLetters(col);
    return l;
  }

  // `<c r="B12"` and its style; at most 32 bytes.
  char* cellStart(char* out, int col, int style) {
    out = put(out, "<c r=\"");
    out = put(out, letters(col));
    out = put(out, std::string_view(rowNumber_, rowNumberLength_));
    *out++ = '"';
    if (style != 0) {
      out = put(out, " s=\"");
      out = std::to_chars(out, out + 2, style).ptr;
      *out++ = '"';
    }
    return out;
  }

  void textCell(int col, int style, std::string_view text) {
    char* out = cellStart(xml_.room(text.size() * kMaxXmlPerChar + 96), col, style);
    out = put(out, " t=\"inlineStr\"><is><t");
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    if (blank(text.front()) || blank(text.back())) out = put(out, " xml:space=\"preserve\"");
    *out++ = '>';
    out = putXmlText(out, text);
    xml_.done(put(out, "</t></is></c>"));
  }

  static constexpr size_t kXmlChunk = 1 << 18;

  ZipWriter& zip_;
  int number_;
  int64_t& rowsWritten_;
  const WorkProgress& progress_;
  int64_t expectedRows_;
  bool begun_ = false, rowOpen_ = false;
  std::map<int, double> widths_, heights_;
  std::vector<FormatStep> steps_;
  // The current row: its number, its last column set, the columns its formats touch with
  // their styles, left to right (the next one not yet written).
  struct FormattedColumn {
    int col, style;
  };
  int row_ = -1, lastColumn_ = -1;
  char rowNumber_[12];
  size_t rowNumberLength_ = 0;
  std::vector<FormattedColumn> formatted_;
  size_t nextFormatted_ = 0;
  std::vector<std::string> letters_;
  XmlBuffer xml_;
};

// ---- The workbook
// ---------------------------------------------------------------------------------

struct XlsxStream::Impl {
  Impl(AtomicFile& file, WorkProgress p, int64_t rows)
      : zip(file), progress(std::move(p)), expectedRows(rows) {}

  ZipWriter zip;
  WorkProgress progress;
  int64_t expectedRows;
  int64_t rowsWritten = 0;
  SheetNamer namer;
  std::vector<std::string> names;  // valid, UTF-8
  std::unique_ptr<SheetStream> sheet;

  void endSheet() {
    if (sheet) sheet->finish();
    sheet.reset();
  }

  void part(const std::string& name, const std::string& xml) {
    zip.begin(name);
    zip.write(xml);
    zip.end();
  }

  void close() {
    endSheet();
    // A file needs at least one sheet to open.
    if (names.empty()) {
      names.push_back("Sheet1");
      SheetStream(zip, 1, rowsWritten, progress, expectedRows).finish();
    }
    std::string book(kXmlHead);
    book += "<workbook xmlns=\"" + std::string(kMainNs) + "\" xmlns:r=\"" + std::string(kRelNs) +
            "\"><bookViews><workbookView/></bookViews><sheets>";
    std::string rels(kXmlHead);
    rels +=
        "<Relationships "
        "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    std::string types(kXmlHead);
    types +=
        "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
        "<Default Extension=\"rels\" "
        "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
        "<Override PartName=\"/xl/workbook.xml\" "
        "ContentType=\"application/"
        "vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml\"/>"
        "<Override PartName=\"/xl/styles.xml\" "
        "ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml\"/>";
    for (size_t i = 0; i < names.size(); ++i) {
      const std::string n = std::to_string(i + 1);
      book += "<sheet name=\"" + names[i] + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
      rels += "<Relationship Id=\"rId" + n + "\" Type=\"" + std::string(kRelNs) +
              "/worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
      types += "<Override PartName=\"/xl/worksheets/sheet" + n +
               ".xml\" ContentType=\"application/"
               "vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
    }
    book += "</sheets></workbook>";
    rels += "<Relationship Id=\"rId" + std::to_string(names.size() + 1) + "\" Type=\"" +
            std::string(kRelNs) + "/styles\" Target=\"styles.xml\"/></Relationships>";
    types += "</Types>";
    part("xl/workbook.xml", book);
    part("xl/_rels/workbook.xml.rels", rels);
    part("xl/styles.xml", stylesPart());
    part("[Content_Types].xml", types);
    part("_rels/.rels",
         std::string(kXmlHead) +
             "<Relationships "
             "xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
             "<Relationship Id=\"rId1\" Type=\"" +
             std::string(kRelNs) +
             "/officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>");
    zip.finish();
    if (progress) progress(rowsWritten, expectedRows);
  }
};

XlsxStream::XlsxStream(AtomicFile& file, WorkProgress progress, int64_t expectedRows)
    : impl_(std::make_unique<Impl>(file, std::move(progress), expectedRows)) {}

XlsxStream::~XlsxStream() = default;

SheetOutput& XlsxStream::addSheet(std::string name) {
  impl_->endSheet();
  impl_->names.push_back(attributeText(impl_->namer.next(name)));
  impl_->sheet =
      std::make_unique<SheetStream>(impl_->zip, static_cast<int>(impl_->names.size()),
                                    impl_->rowsWritten, impl_->progress, impl_->expectedRows);
  return *impl_->sheet;
}

void XlsxStream::close() {
  impl_->close();
}

void copyWorkbook(const Workbook& book, WorkbookOutput& out) {
  for (const Sheet& sheet : book.sheets()) {
    SheetOutput& s = out.addSheet(sheet.name());
    for (const auto& [col, width] : sheet.columnWidths()) s.setColumnWidth(col, width);
    for (const auto& [row, height] : sheet.rowHeights()) s.setRowHeight(row, height);
    for (const FormatStep& step : sheet.formatSteps()) {
      if (step.bold) s.setBold(step.range, *step.bold);
      if (step.align) s.setAlign(step.range, *step.align);
      if (step.wrap) s.setWrap(step.range, *step.wrap);
    }
    for (const Sheet::Row row : sheet.rows())
      for (const Sheet::Cell cell : row.cells) s.set(row.row, cell.column, cell.text);
  }
}

namespace {

std::string uniqueName(std::string_view stem, int n) {
  std::string name(stem);
  if (n > 1) name += " (" + std::to_string(n) + ")";
  return name + ".xlsx";
}

// The workbook written into `file`, which its caller commits. A failure of the file becomes
// the writer's own error.
void writeFile(const WorkbookLayout& layout, AtomicFile& file, const WorkProgress& progress,
               int64_t expectedRows) {
  XlsxStream stream(file, progress, expectedRows);
  layout(stream);
  stream.close();
}

WorkbookLayout copyOf(const Workbook& book) {
  return [&book](WorkbookOutput& out) { copyWorkbook(book, out); };
}

}  // namespace

void writeXlsx(const WorkbookLayout& layout, const fs::path& path, const WorkProgress& progress,
               int64_t expectedRows) {
  try {
    AtomicFile file(path);
    writeFile(layout, file, progress, expectedRows);
    file.commit();
  } catch (const FileError& e) {
    throw OfficeError("the workbook could not be saved as " + path.string() + ": " + e.what());
  }
}

void writeXlsx(const Workbook& book, const fs::path& path) {
  writeXlsx(copyOf(book), path);
}

void writeXlsx(const WorkbookLayout& layout, AtomicFile& file, const WorkProgress& progress,
               int64_t expectedRows) {
  writeFile(layout, file, progress, expectedRows);
}

fs::path writeXlsxUnique(const WorkbookLayout& layout, const fs::path& folder,
                         std::string_view stem, const WorkProgress& progress,
                         int64_t expectedRows) {
  try {
    AtomicFile file(folder / uniqueName(stem, 1));
    writeFile(layout, file, progress, expectedRows);
    constexpr int kMaxTries = 10000;
    return file.commitUnderFreeName([&](int n) { return folder / uniqueName(stem, n); }, kMaxTries);
  } catch (const FileError& e) {
    throw OfficeError("the workbook could not be saved in " + folder.string() + ": " + e.what());
  }
}

fs::path writeXlsxUnique(const Workbook& book, const fs::path& folder, std::string_view stem) {
  return writeXlsxUnique(copyOf(book), folder, stem);
}

}  // namespace qj::office
