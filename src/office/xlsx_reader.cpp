// The .xlsx reader: a zip archive of XML parts (libzip), each part scanned as it is unpacked
// (deflated parts by the build's codec, zip_codec.h).
// The workbook part is found through the package relationships, the sheets in the order of
// the workbook's <sheets> list through the workbook's relationships, and their cells are
// read one by one; nothing is sized from what a part declares about itself.

#include <zip.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <map>
#include <memory>
#include <string_view>
#include <vector>

#include "office/archive_end.h"
#include "office/workbook_reader.h"
#include "office/xml_scanner.h"
#include "office/zip_codec.h"
#include "records/cp1251.h"

namespace qj::office {
namespace {

// A refusal of the file, carried out of the nested readers.
struct Refusal {
  ReadFault fault;
  std::string detail;
};

[[noreturn]] void refuse(ReadFault fault, std::string detail) {
  throw Refusal{fault, std::move(detail)};
}

[[noreturn]] void damaged(std::string detail) {
  refuse(ReadFault::Damaged, std::move(detail));
}

// The bytes of one part as they are unpacked. A deflated part is read as it is stored and
// inflated here, its size and checksum checked against the archive's at its end; a part
// stored otherwise is unpacked by libzip.
class PartReader {
 public:
  PartReader(zip_t* zip, zip_uint64_t index, const std::string& name) : name_(name) {
    zip_stat_t st;
    zip_stat_init(&st);
    constexpr zip_uint64_t kKnown =
        ZIP_STAT_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    const bool stated = zip_stat_index(zip, index, 0, &st) == 0;
    if (stated && (st.valid & ZIP_STAT_SIZE)) declared_ = st.size;
    inflating_ = stated && (st.valid & kKnown) == kKnown && st.comp_method == ZIP_CM_DEFLATE &&
                 st.encryption_method == ZIP_EM_NONE;
    file_ = zip_fopen_index(zip, index, inflating_ ? ZIP_FL_COMPRESSED : 0);
    if (!file_) damaged("the part " + name + " cannot be opened");
    if (!inflating_) return;
    size_ = st.size;
    crc_ = st.crc;
    inflater_ = makeInflater();
    packed_.reset(new uint8_t[kPackedChunk]);
  }
  ~PartReader() { zip_fclose(file_); }
  PartReader(const PartReader&) = delete;
  PartReader& operator=(const PartReader&) = delete;

  // How many bytes to ask for at a time, at most `most`: a part that says it is small is read
  // into a small buffer. What the part says only sizes the pieces; it bounds nothing.
  size_t piece(size_t most) const {
    return declared_ < most ? std::max<size_t>(static_cast<size_t>(declared_) + 1, 4096) : most;
  }

  // Up to `n` bytes of the part into `out`; 0 at its end.
  size_t read(char* out, size_t n) {
    if (!inflating_) {
      const zip_int64_t got = zip_fread(file_, out, n);
      if (got < 0) broken();
      return static_cast<size_t>(got);
    }
    Inflater& in = *inflater_;
    size_t got = 0;
    while (got < n && in.state() == Inflater::State::Going) {
      if (in.hungry() && !packedEnd_) {
        const zip_int64_t read = zip_fread(file_, packed_.get(), kPackedChunk);
        if (read < 0) broken();
        packedEnd_ = read == 0;
        in.give(packed_.get(), static_cast<size_t>(read));
      }
      const size_t more = in.unpack(reinterpret_cast<uint8_t*>(out) + got, n - got);
      got += more;
      if (in.state() == Inflater::State::Broken) broken();
      // Everything stored was taken and nothing more came out: the data stops short.
      if (packedEnd_ && in.hungry() && more == 0 && in.state() == Inflater::State::Going) broken();
    }
    unpacked_ += got;
    if (in.state() == Inflater::State::Finished && !checked_) {
      checked_ = true;
      if (unpacked_ != size_ || in.crc() != crc_)
        damaged("the part " + name_ + " does not unpack to what the archive says it holds");
    }
    return got;
  }

 private:
  [[noreturn]] void broken() { damaged("the part " + name_ + " cannot be unpacked"); }

  static constexpr size_t kPackedChunk = 1 << 16;

  std::string name_;
  zip_file_t* file_ = nullptr;
  bool inflating_ = false, packedEnd_ = false, checked_ = false;
  uint64_t size_ = 0, unpacked_ = 0;
  uint64_t declared_ = UINT64_MAX;  // the size the archive gives, where it gives one
  uint32_t crc_ = 0;
  std::unique_ptr<Inflater> inflater_;
  std::unique_ptr<uint8_t[]> packed_;
};

class ZipArchive {
 public:
  // The archive of the open file: its end is checked before libzip is given it, and libzip
  // reads the bytes the check read.
  ZipArchive(const OpenFile& file, const ReadLimits& limits) : limits_(limits) {
    ArchiveEnd end = checkArchiveEnd(file, limits);
    if (end.fault != ReadFault::None) refuse(end.fault, std::move(end.detail));
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = checkedSource(file, std::move(end.checked), &error);
    if (source) {
      zip_ = zip_open_from_source(source, ZIP_RDONLY, &error);
      if (!zip_) zip_source_free(source);
    }
    const int code = zip_error_code_zip(&error);
    zip_error_fini(&error);
    if (zip_) return;
    switch (code) {
      case ZIP_ER_NOENT:
      case ZIP_ER_OPEN:
      case ZIP_ER_READ: refuse(ReadFault::Unreadable, "the file cannot be opened");
      case ZIP_ER_NOZIP: refuse(ReadFault::NotAWorkbook, "not a zip archive");
      default:
        damaged("the zip archive cannot be read (libzip error " + std::to_string(code) + ")");
    }
  }
  ~ZipArchive() {
    if (zip_) zip_discard(zip_);
  }
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool has(const std::string& name) const { return locate(name) >= 0; }

  // Scans the part as it is unpacked, refused as soon as it passes the limit of a part or of
  // all parts read, whatever size the archive declares. False when the archive has no such
  // part.
  template <typename Handler>
  bool scan(const std::string& name, Handler& handler) {
    const zip_int64_t index = locate(name);
    if (index < 0) return false;
    PartReader part(zip_, static_cast<zip_uint64_t>(index), name);
    XmlScanner<Handler> scanner(handler);
    const size_t chunk = part.piece(1 << 18);
    uint64_t total = 0;
    try {
      for (;;) {
        const size_t n = part.read(scanner.space(chunk), chunk);
        if (n == 0) break;
        if (workCancelled()) refuse(ReadFault::Cancelled, "the read was cancelled");
        total += n;
        unpacked_ += n;
        if (total > limits_.maxPartBytes)
          refuse(ReadFault::TooLarge, "the part " + name + " unpacks to more than " +
                                          std::to_string(limits_.maxPartBytes) + " bytes");
        if (unpacked_ > limits_.maxTotalBytes)
          refuse(ReadFault::TooLarge, "the parts read unpack to more than " +
                                          std::to_string(limits_.maxTotalBytes) + " bytes");
        scanner.commit(n);
      }
      scanner.finish();
    } catch (const XmlTooLong& e) {
      refuse(ReadFault::TooLarge, "the part " + name + " holds too long a text: " + e.what());
    } catch (const XmlError& e) {
      damaged("the part " + name + " is not well-formed XML: " + e.what());
    }
    return true;
  }

 private:
  // Part names are compared without regard to letter case, as the package format says.
  zip_int64_t locate(const std::string& name) const {
    return zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE);
  }

  zip_t* zip_ = nullptr;
  const ReadLimits& limits_;
  uint64_t unpacked_ = 0;  // by all scans
};

bool endsWith(std::string_view s, std::string_view tail) {
  return s.size() >= tail.size() && s.substr(s.size() - tail.size()) == tail;
}

// A relationship target resolved against the folder of the part that names it; "/" starts
// at the package root. A target that climbs out of the package is refused.
std::string resolvePart(const std::string& folder, std::string_view target) {
  std::string joined = !target.empty() && target[0] == '/' ? std::string(target.substr(1))
                                                           : folder + std::string(target);
  std::vector<std::string> segments;
  size_t start = 0;
  while (start <= joined.size()) {
    const size_t end = std::min(joined.find('/', start), joined.size());
    const std::string segment = joined.substr(start, end - start);
    if (segment == "..") {
      if (segments.empty()) damaged("a relationship points outside the package");
      segments.pop_back();
    } else if (!segment.empty() && segment != ".") {
      segments.push_back(segment);
    }
    start = end + 1;
  }
  std::string path;
  for (const std::string& s : segments) path += (path.empty() ? "" : "/") + s;
  return path;
}

std::string folderOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

std::string relsOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  const std::string name = slash == std::string::npos ? part : part.substr(slash + 1);
  return folderOf(part) + "_rels/" + name + ".rels";
}

struct Relationship {
  std::string type;
  std::string target;  // resolved part name
};

// Counts elements in and out, so that a handler knows how deep it stands (the root is 1).
struct Depth {
  int depth = 0;
};

// The relationships of `part` by id; none when it has no relationship part.
std::map<std::string, Relationship> relationships(ZipArchive& zip, const std::string& part,
                                                  const ReadLimits& limits) {
  struct Handler : Depth {
    std::map<std::string, Relationship> rels;
    std::string folder;
    uint64_t most = 0;
    void start(std::string_view name, const XmlAttributes& a) {
      if (++depth != 2 || name != "Relationship") return;
      const std::optional<std::string> id = a.value("Id"), target = a.value("Target");
      const std::optional<std::string> mode = a.value("TargetMode");
      if (!id || !target || (mode && *mode == "External")) return;
      // A relationship names a part: a part has no more of them than the package has parts.
      if (rels.size() >= most && !rels.contains(*id))
        refuse(ReadFault::TooLarge, "a part names more than " + std::to_string(most) + " parts");
      rels[*id] = {a.value("Type").value_or(""), resolvePart(folder, *target)};
    }
    void end(std::string_view) { --depth; }
    void text(std::string_view) {}
  } handler;
  handler.folder = folderOf(part);
  handler.most = limits.maxParts;
  zip.scan(relsOf(part), handler);
  return std::move(handler.rels);
}

}  // namespace

std::string unescapeText(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    unsigned code = 0;
    if (s[i] == '_' && i + 6 < s.size() && s[i + 1] == 'x' && s[i + 6] == '_') {
      const auto [end, ec] = std::from_chars(s.data() + i + 2, s.data() + i + 6, code, 16);
      if (ec == std::errc() && end == s.data() + i + 6) {
        if (code < 0x80) {
          out += static_cast<char>(code);
        } else if (code < 0x800) {
          out += static_cast<char>(0xC0 | (code >> 6));
          out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
          out += static_cast<char>(0xE0 | (code >> 12));
          out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
          out += static_cast<char>(0x80 | (code & 0x3F));
        }
        i += 6;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

namespace {

// The code-page-1251 byte of each character from U+0080 to U+07FF (Cyrillic among them),
// '?' for those it does not hold: a Russian workbook is mostly two-byte sequences.
class TwoByteChars {
 public:
  TwoByteChars() {
    std::fill(std::begin(byte_), std::end(byte_), '?');
    for (int b = 0x80; b < 0x100; ++b) {
      const std::string utf8 = cp1251::toUtf8(std::string(1, static_cast<char>(b)));
      if (utf8.size() != 2) continue;
      const unsigned code = (static_cast<unsigned char>(utf8[0]) & 0x1Fu) << 6 |
                            (static_cast<unsigned char>(utf8[1]) & 0x3Fu);
      byte_[code] = static_cast<char>(b);
    }
  }
  char operator[](unsigned code) const { return byte_[code]; }

 private:
  char byte_[0x800];
};

// UTF-8 in code page 1251 as cp1251::fromUtf8 gives it: ASCII and two-byte sequences by
// table, a text with any other sequence by that function.
void fromUtf8(std::string_view utf8, std::string& out) {
  static const TwoByteChars twoByte;
  out.resize(utf8.size());
  size_t n = 0;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out[n++] = static_cast<char>(b);
      continue;
    }
    const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0u;
    if ((b & 0xE0) != 0xC0 || (next & 0xC0) != 0x80) {
      out = cp1251::fromUtf8(utf8);
      return;
    }
    const unsigned code = (b & 0x1Fu) << 6 | (next & 0x3Fu);
    out[n++] = code < 0x80 ? static_cast<char>(code) : twoByte[code];
    ++i;
  }
  out.resize(n);
}

// A cell's UTF-8 text in code page 1251. Most texts are plain ASCII without an escape and are
// taken as they stand; others are converted into `scratch`.
std::string_view cellText(std::string_view utf8, std::string& scratch) {
  bool plain = true, escapes = false;
  for (const char c : utf8) {
    plain &= static_cast<unsigned char>(c) < 0x80;
    escapes |= c == '_';
  }
  if (plain && !escapes) return utf8;
  if (escapes)
    fromUtf8(unescapeText(utf8), scratch);
  else
    fromUtf8(utf8, scratch);
  return scratch;
}

std::string cellText(std::string_view utf8) {
  std::string scratch;
  return std::string(cellText(utf8, scratch));
}

// The longest text of one cell or shared string (UTF-8, as the part holds it): a cell holds
// at most 32767 characters, each up to seven bytes as an escape. A text can come in many
// pieces (between comments, say), each within the scanner's limit.
constexpr size_t kMaxCellText = 1 << 20;

// The text of a cell as its pieces come, with sixteen bytes to spare after it, so that a
// short text is checked as one block.
class TextBuffer {
 public:
  void clear() { size_ = 0; }
  void append(std::string_view piece) {
    if (size_ + piece.size() > kMaxCellText)
      refuse(ReadFault::TooLarge,
             "a cell holds more than " + std::to_string(kMaxCellText) + " bytes of text");
    if (bytes_.size() - size_ < piece.size() + xml::kReadAhead)
      bytes_.resize(std::max(bytes_.size() * 2, size_ + piece.size() + 64));
    copyBytes(bytes_.data() + size_, piece.data(), piece.size());
    size_ += piece.size();
  }
  // The text becomes `t`, which can be read kReadAhead bytes past its end: a short one is
  // copied as one block.
  void set(std::string_view t) {
    if (t.size() > xml::kReadAhead) {
      clear();
      append(t);
      return;
    }
    std::memcpy(bytes_.data(), t.data(), xml::kReadAhead);
    size_ = t.size();
  }
  std::string_view view() const { return std::string_view(bytes_.data(), size_); }
  // True when the text is ASCII without a '_', and so needs no conversion.
  bool plain() const {
    size_t i = 0;
    for (; i + 16 <= size_; i += 16)
      if (oddBytes(bytes_.data() + i)) return false;
    const uint32_t rest = (uint32_t{1} << (size_ - i)) - 1;
    return (oddBytes(bytes_.data() + i) & rest) == 0;
  }

 private:
  // The bytes of a block that are not ASCII or are '_'.
  static uint32_t oddBytes(const char* p) {
    const xml::Block b = xml::load(p);
#if defined(__SSE2__)
    return static_cast<uint32_t>(_mm_movemask_epi8(b)) | xml::equal(b, '_');
#else
    uint32_t m = xml::equal(b, '_');
    for (int k = 0; k < 16; ++k)
      m |= static_cast<uint32_t>(static_cast<unsigned char>(p[k]) >= 0x80) << k;
    return m;
#endif
  }

  std::vector<char> bytes_ = std::vector<char>(64);
  size_t size_ = 0;
};

// A cell's text in code page 1251, converted into `scratch` when it needs it.
std::string_view cellText(const TextBuffer& utf8, std::string& scratch) {
  return utf8.plain() ? utf8.view() : cellText(utf8.view(), scratch);
}

// Collects the text of a shared or inline string whose element (<si> or <is>) stands at
// depth `base`: its plain text or its runs joined; phonetic runs are not part of the text.
class RichText {
 public:
  void start(std::string_view name, int depth, int base) {
    if (depth == base + 1) {
      inRun_ = xml::is(name, "r");
      collecting_ = xml::is(name, "t");
    } else if (depth == base + 2) {
      collecting_ = inRun_ && xml::is(name, "t");
    }
  }
  void end() { collecting_ = false; }
  void text(std::string_view t) {
    if (collecting_) utf8_.append(t);
  }
  // The whole text of a string without runs; `t` can be read kReadAhead bytes past its end.
  void set(std::string_view t) { utf8_.set(t); }
  void clear() {
    utf8_.clear();
    inRun_ = collecting_ = false;
  }
  const TextBuffer& utf8() const { return utf8_; }

 private:
  TextBuffer utf8_;
  bool inRun_ = false, collecting_ = false;
};

// The shared strings, packed one after the other: a part of many tiny strings must not cost
// a string object each. Each costs four bytes and its text, within the limits.
class SharedStrings {
 public:
  void add(std::string_view text, const ReadLimits& limits) {
    if (ends_.size() >= limits.maxSharedStrings)
      refuse(ReadFault::TooLarge, "the workbook lists more than " +
                                      std::to_string(limits.maxSharedStrings) + " shared strings");
    if (texts_.size() + text.size() > UINT32_MAX)
      refuse(ReadFault::TooLarge, "the shared strings hold too much text");
    texts_.append(text.data(), text.size());
    ends_.push_back(static_cast<uint32_t>(texts_.size()));
  }
  size_t size() const { return ends_.size(); }
  std::string_view operator[](size_t i) const {
    const size_t begin = i == 0 ? 0 : ends_[i - 1];
    return std::string_view(texts_.data() + begin, ends_[i] - begin);
  }

 private:
  PodArray<char> texts_;
  PodArray<uint32_t> ends_;
};

SharedStrings sharedStrings(ZipArchive& zip, const std::string& part, const ReadLimits& limits) {
  struct Handler : Depth {
    SharedStrings strings;
    RichText rich;
    std::string converted;
    void start(std::string_view name, const XmlAttributes&) {
      ++depth;
      if (depth == 2 && xml::is(name, "si")) rich.clear();
      if (depth > 2) rich.start(name, depth, 2);
    }
    const ReadLimits* limits = nullptr;
    void end(std::string_view name) {
      if (depth == 2 && xml::is(name, "si")) {
        strings.add(cellText(rich.utf8(), converted), *limits);
      }
      rich.end();
      --depth;
    }
    void text(std::string_view t) { rich.text(t); }
  } handler;
  handler.limits = &limits;
  if (!zip.scan(part, handler)) damaged("the shared strings part " + part + " is missing");
  return std::move(handler.strings);
}

// Decimal digits and nothing else as a number up to `max`; -1 when they are not one. Every
// row and cell names its number: a loop reads them quicker than a general conversion.
int64_t digitsValue(std::string_view digits, int64_t max) {
  if (digits.empty()) return -1;
  int64_t n = 0;
  for (const char ch : digits) {
    if (ch < '0' || ch > '9') return -1;
    n = n * 10 + (ch - '0');
    if (n > max) return -1;
  }
  return n;
}

// The digits of the row a sheet is reading, kept with room to be compared as one block.
class RowDigits {
 public:
  void assign(std::string_view digits) {
    // Longer numbers (leading zeros) are read at every cell.
    size_ = digits.size() <= kMost ? digits.size() : 0;
    std::memcpy(bytes_, digits.data(), size_);
  }
  void clear() { size_ = 0; }
  // The `n` digits at `p`, which can be read kReadAhead bytes far, against these.
  bool same(const char* p, size_t n) const {
    if (n != size_ || n == 0) return false;
#if defined(__SSE2__)
    const uint32_t equalBytes = xml::bits(_mm_cmpeq_epi8(xml::load(p), xml::load(bytes_)));
    return (~equalBytes & ((uint32_t{1} << n) - 1)) == 0;
#else
    return std::memcmp(p, bytes_, n) == 0;
#endif
  }

 private:
  static constexpr size_t kMost = 8;
  char bytes_[kMost + xml::kReadAhead] = {};
  size_t size_ = 0;
};

// "B12" as 0-based row 11 and column 1; `ref` can be read kReadAhead bytes past its end. Most
// cells name the row they stand in: when their digits are those of `rowDigits`, the row that
// `row` holds, they are not read again.
bool parseCellRef(std::string_view ref, const RowDigits& rowDigits, int& row, int& col) {
  const char* p = ref.data();
  const char* const end = p + ref.size();
  const char* const lettersEnd = p + std::min<size_t>(ref.size(), 4);
  int64_t c = 0;
  for (; p < lettersEnd; ++p) {
    // Upper and lower case alike: only letters fold into 'a'..'z'.
    const unsigned letter = static_cast<unsigned>(static_cast<unsigned char>(*p | 0x20)) - 'a';
    if (letter >= 26) break;
    c = c * 26 + letter + 1;
  }
  if (c == 0 || c > kMaxColumns) return false;
  const size_t digits = static_cast<size_t>(end - p);
  if (!rowDigits.same(p, digits)) {
    const int64_t r = digitsValue(std::string_view(p, digits), kMaxRows);
    if (r < 1) return false;
    row = static_cast<int>(r - 1);
  }
  col = static_cast<int>(c - 1);
  return true;
}

// What the reader keeps over the whole workbook, against the limits.
struct Totals {
  uint64_t cells = 0, textBytes = 0;
  int64_t rows = 0;
};

// Markup of up to sixteen bytes, padded so that it can be compared as one block.
struct Literal {
  char bytes[xml::kReadAhead] = {};
  size_t size = 0;
  template <size_t N>
  consteval Literal(const char (&text)[N]) : size(N - 1) {
    static_assert(N - 1 <= xml::kReadAhead);
    for (size_t k = 0; k + 1 < N; ++k) bytes[k] = text[k];
  }
};

// Letters and digits, the bytes of cell references and type names.
struct AlnumTable {
  bool of[256] = {};
  constexpr AlnumTable() {
    for (int c = '0'; c <= '9'; ++c) of[c] = true;
    for (int c = 'A'; c <= 'Z'; ++c) of[c] = of[c + 'a' - 'A'] = true;
  }
};
constexpr AlnumTable kAlnum{};

// One worksheet part: the rows of its <sheetData>, cell by cell, into the sheet.
class SheetHandler : public Depth {
  enum class Type { Number, Shared, Inline, Text, Boolean };

 public:
  SheetHandler(Sheet& sheet, const SharedStrings& strings, const ReadLimits& limits, Totals& totals,
               const WorkProgress& progress)
      : filler_(sheet), strings_(strings), limits_(limits), totals_(totals), progress_(progress) {}

  // Called for every element of the largest parts: inlined into the scanner's loop.
  QJ_XML_INLINE void start(std::string_view name, const XmlAttributes& a) {
    switch (++depth) {
      case 2:
        if (xml::is(name, "sheetData") && !seenData_) inData_ = seenData_ = true;
        break;
      case 3:
        if (inData_ && xml::is(name, "row")) startRow(a);
        break;
      case 4:
        if (inRow_ && xml::is(name, "c")) startCell(a);
        break;
      case 5:
        if (!inCell_) break;
        if (xml::is(name, "v") && !inline_) {
          inValue_ = haveValue_ = true;
        } else if (xml::is(name, "is") && inline_) {
          inInline_ = true;
          rich_.clear();
        }
        break;
      default:
        if (inInline_) rich_.start(name, depth, 5);
    }
  }

  QJ_XML_INLINE void end(std::string_view) {
    switch (depth--) {
      case 2: inData_ = false; break;
      case 3:
        if (inRow_ && progress_ && ++totals_.rows % 1000 == 0) progress_(totals_.rows, 0);
        inRow_ = false;
        break;
      case 4: finishCell(); break;
      case 5:
        inValue_ = false;
        inInline_ = false;
        break;
      default: rich_.end();
    }
  }

  QJ_XML_INLINE void text(std::string_view t) {
    if (inValue_)
      value_.append(t);
    else if (inInline_)
      rich_.text(t);
  }

  // The cells of a row in the forms writers mostly give them, taken whole:
  //   <c r="B5" s="3" t="inlineStr"><is><t>text</t></is></c>
  //   <c r="B5" s="3" t="s"><v>7</v></c>    <c r="B5"></c>    <c r="B5" s="3"/>
  // exactly so (the attributes r, then s and t if at all; no blanks, no references in the
  // text). Any other form is left to the scanner; either way the cell goes through
  // beginCell, its text and endCell.
  QJ_XML_INLINE const char* element(const char* p, const char* end) {
    if (depth != 3 || !inRow_ || !startsWith<"<c r=\"">(p, end)) return nullptr;
    const char* i = p + 6;
    const char* const ref = i;
    while (isAlnum(*i)) ++i;  // the '\0' at end stops it
    if (*i != '"') return nullptr;
    const std::string_view refText(ref, static_cast<size_t>(i - ref));
    ++i;
    if (startsWith<" s=\"">(i, end)) {
      for (i += 4; *i >= '0' && *i <= '9';) ++i;
      if (*i++ != '"') return nullptr;
    }
    Type type = Type::Number;
    if (startsWith<" t=\"">(i, end)) {
      const char* const t = i + 4;
      for (i = t; isAlnum(*i);) ++i;
      if (*i != '"') return nullptr;
      type = typeOf(std::string_view(t, static_cast<size_t>(i - t)));
      ++i;
    }
    const char* text;
    if (type == Type::Inline) {
      if (!startsWith<"><is><t>">(i, end)) return nullptr;
      text = i + 8;
      i = xml::findFirst(text, end, xml::textStops);
      if (!startsWith<"</t></is></c>">(i, end)) return nullptr;
      beginCell(refText, type);
      rich_.set(std::string_view(text, static_cast<size_t>(i - text)));
      finishCell();
      return i + 13;
    }
    if (startsWith<"><v>">(i, end)) {
      text = i + 4;
      i = xml::findFirst(text, end, xml::textStops);
      if (!startsWith<"</v></c>">(i, end)) return nullptr;
      beginCell(refText, type);
      haveValue_ = true;
      value_.set(std::string_view(text, static_cast<size_t>(i - text)));
      finishCell();
      return i + 8;
    }
    // A cell without a value.
    const size_t length = startsWith<"/>">(i, end) ? 2 : startsWith<"></c>">(i, end) ? 5 : 0;
    if (length == 0) return nullptr;
    beginCell(refText, type);
    finishCell();
    return i + length;
  }

  void finish() { filler_.finish(); }

 private:
  void startRow(const XmlAttributes& a) {
    inRow_ = true;
    col_ = -1;
    const std::optional<std::string_view> number = a.raw("r");
    // A row without a number follows the previous one.
    if (!number) {
      if (row_ + 1 >= kMaxRows) damaged("a row lies beyond the last row of a sheet");
      ++row_;
      rowDigits_.clear();
      return;
    }
    const int64_t n = digitsValue(*number, kMaxRows);
    if (n < 1) damaged("a row number is not a row of a sheet: " + std::string(*number));
    row_ = static_cast<int>(n - 1);
    rowDigits_.assign(*number);
  }

  // The first "r" and "t" of the cell's attributes, in one pass.
  void startCell(const XmlAttributes& a) {
    std::optional<std::string_view> ref, type;
    for (const XmlAttributes::Attribute& at : a.list()) {
      if (at.name.size() != 1) continue;
      if (at.name[0] == 'r' && !ref)
        ref = at.raw;
      else if (at.name[0] == 't' && !type)
        type = at.raw;
    }
    beginCell(ref, type ? typeOf(*type) : Type::Number);
  }

  // A literal at i, all of it before end; the bytes at i can be read kReadAhead far, and the
  // literal is compared as one block.
  template <Literal L>
  static bool startsWith(const char* i, const char* end) {
    if (end - i < static_cast<ptrdiff_t>(L.size)) return false;
#if defined(__SSE2__)
    constexpr uint32_t all = (uint32_t{1} << L.size) - 1;
    return (xml::bits(_mm_cmpeq_epi8(xml::load(i), xml::load(L.bytes))) & all) == all;
#else
    return std::memcmp(i, L.bytes, L.size) == 0;
#endif
  }
  static bool isAlnum(char c) {
    return kAlnum.of[static_cast<unsigned char>(c)];
  }

  // A cell's reference gives its place; a cell without one follows the previous cell of its
  // row.
  void beginCell(std::optional<std::string_view> ref, Type type) {
    inCell_ = true;
    haveValue_ = inValue_ = inInline_ = false;
    value_.clear();
    cellRow_ = row_;
    type_ = type;
    inline_ = type_ == Type::Inline;
    if (inline_) rich_.clear();
    if (!ref) {
      if (row_ < 0 || col_ + 1 >= kMaxColumns) damaged("a cell lies outside a sheet");
      ++col_;
      return;
    }
    if (!parseCellRef(*ref, rowDigits_, cellRow_, col_))
      damaged("a cell reference is not a cell of a sheet: " + std::string(*ref));
  }

  void finishCell() {
    if (inCell_) endCell();
    inCell_ = false;
  }

  void endCell() {
    const std::string_view text = cellValue();
    if (text.empty()) return;
    if (++totals_.cells > limits_.maxCells)
      refuse(ReadFault::TooLarge,
             "the workbook holds more than " + std::to_string(limits_.maxCells) + " cells");
    totals_.textBytes += text.size();
    if (totals_.textBytes > limits_.maxTextBytes)
      refuse(ReadFault::TooLarge, "the workbook holds more than " +
                                      std::to_string(limits_.maxTextBytes) + " bytes of text");
    filler_.add(cellRow_, col_, text);
  }

  std::string_view cellValue() {
    if (inline_) return cellText(rich_.utf8(), converted_);
    if (!haveValue_) return {};
    const std::string_view v = value_.view();
    if (type_ == Type::Shared) {
      const int64_t index = digitsValue(v, static_cast<int64_t>(strings_.size()) - 1);
      if (index < 0) damaged("a cell names a shared string that the workbook does not have");
      return strings_[static_cast<size_t>(index)];
    }
    if (type_ == Type::Text) return cellText(value_, converted_);
    if (type_ == Type::Boolean) return v == "1" ? "TRUE" : "FALSE";
    if (plainInteger(v)) return v;
    double x = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), x);
    if (ec != std::errc() || end != v.data() + v.size()) return cellText(v, converted_);
    converted_ = numberText(x);
    return converted_;
  }

  static Type typeOf(std::string_view t) {
    if (t.size() == 1) {
      switch (t[0]) {
        case 's': return Type::Shared;
        case 'e':
        case 'd': return Type::Text;
        case 'b': return Type::Boolean;
        default: return Type::Number;
      }
    }
    if (xml::is(t, "inlineStr")) return Type::Inline;
    if (xml::is(t, "str")) return Type::Text;
    return Type::Number;
  }

  // Digits that numberText would give back unchanged: no sign, no leading zero, fewer than
  // 16 digits.
  static bool plainInteger(std::string_view v) {
    if (v.empty() || v.size() > 15 || (v[0] == '0' && v.size() > 1)) return false;
    for (char c : v)
      if (c < '0' || c > '9') return false;
    return true;
  }

  SheetFiller filler_;
  const SharedStrings& strings_;
  const ReadLimits& limits_;
  Totals& totals_;
  const WorkProgress& progress_;
  bool seenData_ = false, inData_ = false, inRow_ = false, inCell_ = false;
  bool inValue_ = false, haveValue_ = false, inline_ = false, inInline_ = false;
  int row_ = -1, col_ = -1, cellRow_ = -1;
  Type type_ = Type::Number;
  TextBuffer value_;
  std::string converted_;
  RowDigits rowDigits_;  // the current row's number as the file gives it
  RichText rich_;
};

// The workbook part: named by the package's office-document relationship, by default
// xl/workbook.xml.
std::string workbookPart(ZipArchive& zip, const ReadLimits& limits) {
  for (const auto& [id, rel] : relationships(zip, "", limits))
    if (endsWith(rel.type, "/officeDocument")) return rel.target;
  if (zip.has("xl/workbook.xml")) return "xl/workbook.xml";
  refuse(zip.has("[Content_Types].xml") ? ReadFault::Damaged : ReadFault::NotAWorkbook,
         "the archive has no workbook part");
}

// The workbook's <sheets>, in order: each sheet's name and relationship id.
struct SheetEntry {
  std::string name;
  std::optional<std::string> id;
};

std::vector<SheetEntry> sheetList(ZipArchive& zip, const std::string& part,
                                  const ReadLimits& limits) {
  struct Handler : Depth {
    std::vector<SheetEntry> sheets;
    uint64_t most = 0;
    bool seenSheets = false, inSheets = false;
    void start(std::string_view name, const XmlAttributes& a) {
      ++depth;
      if (depth == 2 && xml::is(name, "sheets") && !seenSheets) inSheets = seenSheets = true;
      if (depth != 3 || !inSheets || !xml::is(name, "sheet")) return;
      // Each sheet is a part of its own.
      if (sheets.size() >= most)
        refuse(ReadFault::TooLarge,
               "the workbook lists more than " + std::to_string(most) + " sheets");
      sheets.push_back({a.value("name").value_or(""), a.value("id")});
    }
    void end(std::string_view) {
      if (depth-- == 2) inSheets = false;
    }
    void text(std::string_view) {}
  } handler;
  handler.most = limits.maxParts;
  if (!zip.scan(part, handler)) damaged("the workbook part " + part + " is missing");
  return std::move(handler.sheets);
}

Workbook readPackage(ZipArchive& zip, const ReadLimits& limits, const WorkProgress& progress) {
  const std::string part = workbookPart(zip, limits);
  const std::vector<SheetEntry> sheets = sheetList(zip, part, limits);
  const std::map<std::string, Relationship> rels = relationships(zip, part, limits);

  SharedStrings strings;
  for (const auto& [id, rel] : rels)
    if (endsWith(rel.type, "/sharedStrings")) strings = sharedStrings(zip, rel.target, limits);

  Workbook book;
  Totals totals;
  for (const SheetEntry& s : sheets) {
    const auto rel = s.id ? rels.find(*s.id) : rels.end();
    if (rel == rels.end()) damaged("a sheet of the workbook has no part");
    // Chart and dialog sheets are not worksheets: positions count worksheets only.
    if (!endsWith(rel->second.type, "/worksheet")) continue;
    Sheet& sheet = book.addSheet(cellText(s.name));
    SheetHandler handler(sheet, strings, limits, totals, progress);
    if (!zip.scan(rel->second.target, handler))
      damaged("the sheet part " + rel->second.target + " is missing");
    handler.finish();
  }
  return book;
}

}  // namespace

WorkbookRead readXlsx(const fs::path& path, const ReadLimits& limits,
                      const WorkProgress& progress) {
  const OpenFile file(path);
  if (!file.isOpen()) {
    WorkbookRead result;
    result.fault = ReadFault::Unreadable;
    result.detail = "the file cannot be opened";
    return result;
  }
  return readXlsx(file, limits, progress);
}

WorkbookRead readXlsx(const OpenFile& file, const ReadLimits& limits,
                      const WorkProgress& progress) {
  WorkbookRead result;
  try {
    ZipArchive zip(file, limits);
    result.book = readPackage(zip, limits, progress);
  } catch (const Refusal& r) {
    result.fault = r.fault;
    result.detail = r.detail;
  } catch (const std::bad_alloc&) {
    result.fault = ReadFault::TooLarge;
    result.detail = "the workbook does not fit into memory";
  } catch (const std::length_error&) {
    result.fault = ReadFault::TooLarge;
    result.detail = "the workbook does not fit into memory";
  }
  return result;
}

}  // namespace qj::office
