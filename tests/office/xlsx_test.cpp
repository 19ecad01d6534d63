// The .xlsx files: the streaming XML scanner against itself; the reader on workbooks written
// by hand, as other spreadsheet programs write them, and on damaged or hostile files, each
// refused with its fault rather than read on; and workbooks written by our writer, read back
// and as the file holds them for a spreadsheet program.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <atomic>
#include <cstring>
#include <iterator>
#include <random>
#include <thread>

#include "office/workbook_reader.h"
#include "office/xlsx_writer.h"
#include "office/xml_scanner.h"
#include "records/cp1251.h"
#include "support/sheet_rows.h"
#include "support/temp_dir.h"
#include "support/write_faults.h"
#include "support/zip_ends.h"

namespace qj::office {
namespace {

using test::rowsOf;
using test::TempDir;
using namespace std::string_literals;

// Zip archives built in code, part by part: well-formed workbooks written by hand as well
// as damaged and hostile ones; and a part of an archive read back as text.
using ZipParts = std::vector<std::pair<std::string, std::string>>;

inline void writeZip(const std::filesystem::path& path, const ZipParts& parts) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) throw std::runtime_error("zip_open failed");
  for (const auto& [name, bytes] : parts) {
    zip_source_t* src = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    const zip_int64_t i = src ? zip_file_add(zip, name.c_str(), src, ZIP_FL_ENC_UTF_8) : -1;
    if (i < 0) {
      zip_source_free(src);
      zip_discard(zip);
      throw std::runtime_error("zip_file_add failed");
    }
    // Some writers store small parts as they are.
    if (name.ends_with("sharedStrings.xml")) zip_set_file_compression(zip, i, ZIP_CM_STORE, 0);
  }
  if (zip_close(zip) != 0) throw std::runtime_error("zip_close failed");
}

inline std::string readZipPart(const std::filesystem::path& path, const std::string& name) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
  std::string bytes;
  zip_file_t* f = zip ? zip_fopen(zip, name.c_str(), 0) : nullptr;
  char buf[4096];
  for (zip_int64_t n; f && (n = zip_fread(f, buf, sizeof buf)) > 0;)
    bytes.append(buf, static_cast<size_t>(n));
  if (f) zip_fclose(f);
  if (zip) zip_discard(zip);
  return bytes;
}

// The parts of a small workbook whose sheets are given as the XML of their <sheetData>
// (and anything else inside <worksheet>), in workbook order, with optional shared strings.
inline ZipParts workbookParts(const std::vector<std::pair<std::string, std::string>>& sheets,
                              const std::string& sharedStrings = {}) {
  const std::string ns =
      " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
  const std::string rel = "<Relationship Id=\"rId";
  const std::string type =
      "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  const std::string relationships =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  ZipParts parts = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
      {"_rels/.rels", relationships + rel + "1" + type +
                          "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"}};
  std::string book = "<workbook" + ns + "<sheets>", rels = relationships;
  for (size_t i = 0; i < sheets.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    book += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    rels += rel + n + type + "worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    parts.push_back({"xl/worksheets/sheet" + n + ".xml",
                     "<?xml version=\"1.0\"?><worksheet" + ns + sheets[i].second + "</worksheet>"});
  }
  if (!sharedStrings.empty()) {
    rels += rel + "S" + type + "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    parts.push_back({"xl/sharedStrings.xml", "<sst" + ns + sharedStrings + "</sst>"});
  }
  parts.push_back({"xl/workbook.xml", book + "</sheets></workbook>"});
  parts.push_back({"xl/_rels/workbook.xml.rels", rels + "</Relationships>"});
  return parts;
}

uint32_t get32(const std::string& b, size_t at) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(b[at + i]);
  return v;
}
void put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}

class XlsxReader : public ::testing::Test {
 protected:
  WorkbookRead read(const ZipParts& parts, const ReadLimits& limits = {}) {
    writeZip(dir / "w.xlsx", parts);
    return readWorkbook(dir / "w.xlsx", limits);
  }
  // The size of the central directory that the end record of these parts' archive gives.
  uint64_t directoryBytes(const ZipParts& parts) {
    writeZip(dir / "w.xlsx", parts);
    return test::directoryBytesOf(dir.read("w.xlsx"));
  }
  static ZipParts without(ZipParts parts, const std::string& name) {
    std::erase_if(parts, [&](const auto& p) { return p.first == name; });
    return parts;
  }
  static ZipParts replaced(ZipParts parts, const std::string& name, std::string bytes) {
    for (auto& p : parts)
      if (p.first == name) p.second = std::move(bytes);
    return parts;
  }
  TempDir dir;
};

TEST_F(XlsxReader, ReadsEveryKindOfCellAsText) {
  const std::string shared =
      "<si><t>pla</t><si/><t>in</t></si><extLst/>"
      "<si><r><t>rich </t></r><r><rPr><b/></rPr><t>runs</t></r><rPh><t>phonetic</t></rPh></si>"
      "<si><t xml:space=\"preserve\">  *</t></si>"
      "<si><t>line_x000D_end</t></si>"
      "<si><t>\xd0\x9f\xd1\x80\xd0\xb8</t></si>"  // "При" in UTF-8
      "<si/><si/><si/><si/><si><t>tenth</t></si>";
  const WorkbookRead r = read(workbookParts(
      {{"One",
        "<dimension ref=\"A1:C5\"/><sheetData>"
        "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
        "<c r=\"C1\" t=\"s\"><v>2</v></c><c r=\"D1\"><v>007</v></c>"
        "<c r=\"E1\"><v>1234567890123456</v></c></row>"
        "<row r=\"2\"><c r=\"A2\"><v>12</v></c><c r=\"B2\" t=\"n\"><v>2.5</v></c>"
        "<c r=\"C2\"><v>1.2E+1</v></c><c r=\"D2\"><v>-0.0</v></c></row>"
        "<row r=\"3\"><c r=\"A3\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> x </t></is></c>"
        "<c r=\"B3\" t=\"b\"><v>1</v></c><c r=\"C3\" t=\"e\"><v>#N/A</v></c>"
        "<c r=\"D3\" t=\"str\"><f>A1</f><v>formula</v></c><c r=\"E3\" s=\"1\"/></row>"
        "<row r=\"4\"><c r=\"A4\"><v>12abc</v></c><x><c r=\"B4\"><v>9</v></c></x>"
        "<c r=\"C4\" i=\"s\"><v>1</v></c></row>"
        "<row r=\"5\"><c t=\"s\"><v>3</v></c><c t=\"s\"><v>4</v></c><c "
        "t=\"str\"><v>0123456789abcdef\xd0\x9f"
        "23456789abcdef0123456789</v></c><c r=\"E5\" t=\"s\"><v>9</v></c></row>"
        // Rows out of order (the last of one position stands, a cell naming another row stands in
        // that row), CDATA and "\r\n".
        "<row r='2'><c r='E2' t='str'><v><![CDATA[<raw> & ]]>a\r\nb</v></c><c r='A2'><v>7</v>"
        "</c></row><row r=\"21\"><c r=\"B2\"><v>8</v></c></row></sheetData>"
        "<sheetData><row r=\"9\"><c><v>9</v></c></row></sheetData>"
        "<extLst><ext><c r=\"C1\"><v>7</v></c></ext></extLst>"}},
      shared));
  ASSERT_TRUE(r.book) << r.detail;
  const Sheet& s = r.book->sheets()[0];
  EXPECT_EQ(s.name(), "One");
  // A formatted cell without a value and an absent row are empty; "_x000D_" is a character;
  // a value that is no number stays as it is, only "t" gives a type; a second sheetData, cells
  // outside a row or nested deeper in it, and elements of the shared strings that are no
  // strings, are not read.
  EXPECT_EQ(rowsOf(s, 5), (std::vector<std::string>{"plain|rich runs|  *|7|1.23456789012346e+15",
                                                    "7|8|12|0|<raw> & a\nb",
                                                    " x |TRUE|#N/A|formula|", "12abc||1||",
                                                    "line\rend|\xcf\xf0\xe8|0123456789abcdef\xcf"
                                                    "23456789abcdef0123456789||tenth"}));
  EXPECT_EQ(s.rowCount(), 5);
}

TEST_F(XlsxReader, ConvertsTextsToTheCodePageAsItsOwnConversionDoes) {
  // Cyrillic and other two-byte characters by the reader's table, others by the code page's
  // own conversion: the same either way, '?' for what the code page does not hold.
  const std::string texts[] = {
      "\xd0\x81\xd0\xb6 \xe2\x84\x96"
      "5",                                         // "Ёж №5": a three-byte character
      "\xd0\xa3\xd0\xbb\xd0\xb8\xd1\x86\xd0\xb0",  // "Улица"
      "\xc3\xbf \xc2\xa0 \xc2\xbb",                // ÿ (not in the code page), no-break space, »
      "\xc0\xb1 overlong",
      "\xd0 cut",
      "\x80 stray",
      "a_x0416_b",
      "\xf0\x9f\x98\x80 four"};
  std::string row = "<row r=\"1\">";
  for (size_t i = 0; i < std::size(texts); ++i)
    row += "<c r=\"" + std::string(1, static_cast<char>('A' + i)) + "1\" t=\"inlineStr\"><is><t>" +
           texts[i] + "</t></is></c>";
  const WorkbookRead r = read(workbookParts({{"S", "<sheetData>" + row + "</row></sheetData>"}}));
  ASSERT_TRUE(r.book) << r.detail;
  for (size_t i = 0; i < std::size(texts); ++i) {
    const std::string expected = cp1251::fromUtf8(i == 6 ? "a\xd0\x96"
                                                           "b"
                                                         : texts[i]);  // _x0416_ is "Ж"
    EXPECT_EQ(r.book->sheets()[0].cell(0, static_cast<int>(i)), expected) << i;
  }
}

TEST_F(XlsxReader, TakesTheSheetOrderFromTheWorkbookNotFromThePartNames) {
  ZipParts parts = workbookParts({{"First", "<sheetData><row><c><v>1</v></c></row></sheetData>"},
                                  {"Second", "<sheetData><row><c><v>2</v></c></row></sheetData>"}});
  // The workbook lists sheet2.xml first, with prefixed names as some programs write them,
  // and a chart sheet that is not a worksheet; the relationships hold external and foreign
  // entries as well, and a type known by its last part only.
  const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  parts =
      replaced(parts, "xl/workbook.xml",
               "<x:workbook xmlns:x=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
               "xmlns:rel=\"" +
                   rel.substr(0, rel.size() - 1) +
                   "\"><x:sheets>"
                   "<x:sheet name=\"B\" sheetId=\"2\" rel:id=\"rId2\"/>"
                   "<x:sheet name=\"Chart\" sheetId=\"3\" rel:id=\"rId3\"/>"
                   "<x:sheet name=\"A\" sheetId=\"1\" rel:id=\"rId1\"/></x:sheets>"
                   "<x:sheets><x:sheet name=\"C\" sheetId=\"4\" rel:id=\"rId1\"/></x:sheets>"
                   "</x:workbook>");
  parts = replaced(parts, "xl/_rels/workbook.xml.rels",
                   "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/"
                   "relationships\"><Relationship Id=\"rId1\" Type=\"" +
                       rel +
                       "worksheet\" Target=\"/xl/worksheets/sheet1.xml\" TargetMode=\"Internal\"/>"
                       "<Relationship Id=\"rId2\" Type=\"/worksheet\" "
                       "Target=\"./worksheets/../worksheets/SHEET2.xml\"/>"
                       "<Relationship Id=\"rId3\" Type=\"" +
                       rel +
                       "chartsheet\" Target=\"chartsheets/sheet1.xml\"/>"
                       // Not relationships of the workbook: they change nothing.
                       "<Relationship Id=\"rId1\" Type=\"" +
                       rel +
                       "worksheet\" Target=\"http://elsewhere/\" TargetMode=\"External\"/>"
                       "<Relationship Id=\"rId1\"/><Relationship Target=\"none.xml\"/><Override "
                       "Id=\"rId1\" Target=\"none.xml\"/><x><Relationship Id=\"rId2\" "
                       "Target=\"none.xml\"/></x></Relationships>");
  const WorkbookRead r = read(parts);
  ASSERT_TRUE(r.book) << r.detail;
  ASSERT_EQ(r.book->sheets().size(), 2u);
  const auto& s = r.book->sheets();
  EXPECT_EQ(std::tuple(s[0].name(), s[0].cell(0, 0), s[1].name(), s[1].cell(0, 0)),
            std::tuple("B", "2", "A", "1"));
}

// Cells in the forms writers mostly use are taken whole; the same cells with a blank before
// each tag's end go event by event. Both must read the same, across the pieces a part is
// unpacked in.
TEST_F(XlsxReader, CellsTakenWholeReadAsCellsScannedEventByEvent) {
  const char* texts[] = {
      "plain", " lead", "trail ", "a_x0041_b", "\xd0\x9f\xd1\x80\xd0\xb8",
      "x > y", "_",     "",       "a &amp; b", "a long text of more than sixteen bytes"};
  const char* values[][2] = {{"", "12"},    {"n", "2.5"},    {"", "1.2E+1"}, {"", "-0.0"},
                             {"", "007"},   {"", ""},        {"s", "1"},     {"b", "1"},
                             {"e", "#N/A"}, {"str", "text"}, {"d", "2024"},  {"s", "0"}};
  std::mt19937 random(7);
  const auto pick = [&](size_t n) { return static_cast<size_t>(random() % n); };
  std::string fast = "<sheetData>", slow = "<sheetData>";
  for (int row = 1; row <= 4000; row += 1 + static_cast<int>(pick(3))) {
    const std::string r = std::to_string(row);
    fast += "<row r=\"" + r + "\">";
    slow += "<row r=\"" + r + "\">";
    for (int col = 0; col < 26; col += 1 + static_cast<int>(pick(4))) {
      std::string head = "<c r=\"" + std::string(1, static_cast<char>('A' + col)) +
                         (pick(20) == 0 ? std::to_string(row + 1) : r) + "\"";
      if (pick(3) == 0) head += " s=\"" + std::to_string(pick(20)) + "\"";
      std::string body;
      switch (pick(4)) {
        case 0:
          head += " t=\"inlineStr\"";
          body = "<is><t>" + std::string(texts[pick(std::size(texts))]) + "</t></is></c>";
          break;
        case 1: body = pick(2) ? "</c>" : ""; break;
        default: {
          const auto& v = values[pick(std::size(values))];
          if (*v[0]) head += " t=\"" + std::string(v[0]) + "\"";
          body = "<v>" + std::string(v[1]) + "</v></c>";
        }
      }
      const bool selfClosing = body.empty();
      fast += head + (selfClosing ? "/>" : ">" + body);
      slow += head + (selfClosing ? " />" : " >" + body);
    }
    fast += "</row>";
    slow += "</row>";
  }
  const std::string shared = "<si><t>first</t></si><si><t>second</t></si>";
  const WorkbookRead a = read(workbookParts({{"S", fast + "</sheetData>"}}, shared));
  const WorkbookRead b = read(workbookParts({{"S", slow + "</sheetData>"}}, shared));
  ASSERT_TRUE(a.book) << a.detail;
  ASSERT_TRUE(b.book) << b.detail;
  const Sheet& x = a.book->sheets()[0];
  const Sheet& y = b.book->sheets()[0];
  ASSERT_GT(y.cellCount(), 10000u);
  ASSERT_EQ(x.cellCount(), y.cellCount());
  for (const Sheet::Row row : y.rows())
    for (const Sheet::Cell cell : row.cells)
      ASSERT_EQ(x.cell(row.row, cell.column), cell.text) << row.row << "," << cell.column;
}

// The declared dimension sizes nothing; parts, cells and text beyond the limits are refused
// (one long shared string shown by many cells counts at every cell).
TEST_F(XlsxReader, ReadsOnlyWithinItsLimits) {
  const WorkbookRead bomb = read(
      workbookParts({{"Bomb",
                      "<dimension ref=\"A1:XFD1048576\"/><sheetData>"
                      "<row r=\"1\"><c r=\"XFD1\"><v>1</v></c></row>"
                      "<row r=\"1048576\"><c r=\"A1048576\"><v>2</v></c></row></sheetData>"}}));
  ASSERT_TRUE(bomb.book) << bomb.detail;
  const Sheet& s = bomb.book->sheets()[0];
  EXPECT_EQ(s.cellCount(), 2u);
  EXPECT_EQ(s.rows().size(), 2u);
  EXPECT_EQ(s.cell(0, kMaxColumns - 1), "1");
  EXPECT_EQ(s.cell(kMaxRows - 1, 0), "2");

  std::string values = "<row>", shown = "<row>";
  for (int c = 0; c < 50; ++c) {
    values += "<c><v>1</v></c>";
    shown += "<c t=\"s\"><v>0</v></c>";
  }
  const ZipParts fifty = workbookParts({{"S", "<sheetData>" + values + "</row></sheetData>"}});
  const ZipParts sharedFifty = workbookParts({{"S", "<sheetData>" + shown + "</row></sheetData>"}},
                                             "<si><t>" + std::string(1000, 'x') + "</t></si>");
  // A part that compresses to almost nothing and unpacks to far more than allowed: no more
  // than the limit is read (its third part is the sheet).
  const ZipParts filled = workbookParts({{"S", "<sheetData/>" + std::string(4 << 20, ' ')}});
  // Five parts; six sheets on one part, read six times; seven relationships of a part.
  const ZipParts five = workbookParts({{"S", "<sheetData/>"}});
  const ZipParts six = replaced(five, "xl/workbook.xml", [] {
    std::string book = "<workbook xmlns:r=\"r\"><sheets>";
    for (int i = 0; i < 6; ++i) book += "<sheet name=\"" + std::to_string(i) + "\" r:id=\"rId1\"/>";
    return book + "</sheets></workbook>";
  }());
  const uint64_t sixRead =
      six[1].second.size() + six[3].second.size() + six[4].second.size() + 6 * six[2].second.size();
  const ZipParts seven = replaced(five, "xl/_rels/workbook.xml.rels", [&] {
    std::string rels = five[4].second.substr(0, five[4].second.find("</Relationships>"));
    for (int i = 2; i <= 7; ++i)
      rels += "<Relationship Id=\"rId" + std::to_string(i) + "\" Target=\"x\"/>";
    return rels + "</Relationships>";
  }());
  struct Case {
    const ZipParts& parts;
    uint64_t ReadLimits::*limit;
    uint64_t value;
    bool read;
  } cases[] = {
      {fifty, &ReadLimits::maxCells, 49, false},
      {fifty, &ReadLimits::maxCells, 50, true},
      {sharedFifty, &ReadLimits::maxTextBytes, 49 * 1000, false},
      {sharedFifty, &ReadLimits::maxTextBytes, 50 * 1000, true},
      {filled, &ReadLimits::maxPartBytes, filled[2].second.size() - 1, false},
      {filled, &ReadLimits::maxPartBytes, filled[2].second.size(), true},
      // The shared-string table counts its strings whether cells show them or not.
      {sharedFifty, &ReadLimits::maxSharedStrings, 0, false},
      {sharedFifty, &ReadLimits::maxSharedStrings, 1, true},
      // Parts of the archive, sheets and relationships of a part count against the parts.
      {five, &ReadLimits::maxParts, 4, false},
      {five, &ReadLimits::maxParts, 5, true},
      {six, &ReadLimits::maxParts, 5, false},
      {six, &ReadLimits::maxParts, 6, true},
      {seven, &ReadLimits::maxParts, 6, false},
      {seven, &ReadLimits::maxParts, 7, true},
      // The central directory counts as its end record declares it.
      {five, &ReadLimits::maxDirectoryBytes, directoryBytes(five) - 1, false},
      {five, &ReadLimits::maxDirectoryBytes, directoryBytes(five), true},
      // Every part read counts, as often as it is read.
      {six, &ReadLimits::maxTotalBytes, sixRead - 1, false},
      {six, &ReadLimits::maxTotalBytes, sixRead, true},
  };
  for (const Case& c : cases) {
    ReadLimits limits;
    limits.*c.limit = c.value;
    const WorkbookRead r = read(c.parts, limits);
    EXPECT_EQ(r.fault, c.read ? ReadFault::None : ReadFault::TooLarge) << c.value << r.detail;
    EXPECT_EQ(bool(r.book), c.read) << c.value;
  }
  // A read the user cancels ends at its next piece.
  std::atomic<bool> cancel{true};
  const WorkCancelScope scope(cancel);
  EXPECT_EQ(read(five).fault, ReadFault::Cancelled);
}

// A text is held whole before it becomes a cell: one longer than any cell holds is refused as
// it grows, within the program's limits, whether it comes as one token or in many pieces.
TEST_F(XlsxReader, RefusesTextsLongerThanACellHoldsBeforeHoldingThem) {
  const auto cell = [](const std::string& value) {
    return "<sheetData><row r=\"1\"><c r=\"A1\" t=\"str\"><v>" + value +
           "</v></c></row></sheetData>";
  };
  const auto sharedCell =
      "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row></sheetData>";
  // Pieces of a kilobyte between comments, `n` of them.
  const auto pieces = [](size_t n) {
    std::string s;
    for (size_t k = 0; k < n; ++k) s += std::string(1024, 'p') + "<!---->";
    return s;
  };
  const std::string oneToken(xml::kMaxToken + 1, 'x');
  const struct {
    const char* what;
    ZipParts parts;
    ReadFault fault;
  } cases[] = {
      {"one token longer than the scanner holds", workbookParts({{"S", cell(oneToken)}}),
       ReadFault::TooLarge},
      {"blanks longer than the scanner holds",
       workbookParts({{"S", "<sheetData/>" + std::string(xml::kMaxToken + 1, ' ')}}),
       ReadFault::TooLarge},
      {"a cell of 1025 pieces of a kilobyte", workbookParts({{"S", cell(pieces(1025))}}),
       ReadFault::TooLarge},
      {"a cell of 1024 pieces of a kilobyte", workbookParts({{"S", cell(pieces(1024))}}),
       ReadFault::None},
      {"a shared string of 1025 runs of a kilobyte",
       workbookParts(
           {{"S", sharedCell}}, "<si>" +
                                    [] {
                                      std::string runs;
                                      for (int k = 0; k < 1025; ++k)
                                        runs += "<r><t>" + std::string(1024, 'r') + "</t></r>";
                                      return runs;
                                    }() +
                                    "</si>"),
       ReadFault::TooLarge},
  };
  for (const auto& c : cases) {
    const WorkbookRead r = read(c.parts);
    EXPECT_EQ(r.fault, c.fault) << c.what << ": " << r.detail;
    EXPECT_EQ(bool(r.book), c.fault == ReadFault::None) << c.what;
  }
}

// What a package lists costs memory before any cell is read: more sheets or parts than a
// workbook can have are refused before they are held.
TEST_F(XlsxReader, RefusesPackagesThatListMorePartsThanAnyWorkbook) {
  const ZipParts one = workbookParts({{"S", "<sheetData/>"}});
  std::string book = "<workbook xmlns:r=\"r\"><sheets>";
  for (int i = 0; i <= 0xFFFF; ++i) book += "<sheet name=\"\" r:id=\"rId1\"/>";
  const WorkbookRead sheets = read(replaced(one, "xl/workbook.xml", book + "</sheets></workbook>"));
  EXPECT_EQ(sheets.fault, ReadFault::TooLarge) << sheets.detail;

  // Archives whose end records declare more than a workbook's directory: an end record after
  // the archive's own that says "more entries" and a central directory of 4 GiB (libzip would
  // read entries for all of it); 70 more entries, each a 64 KiB extra field of empty fields
  // that libzip keeps at eight times their size; a ZIP64 end record that declares a directory
  // of 1 GiB. The archive's own figures moved into a ZIP64 end record are read. The 70
  // entries also where libzip finds them beyond the first 64 KiB from the end; and any end that
  // libzip could take otherwise than as checked: a last entry past the directory's end (libzip
  // reads on through the 70 after it), two end records (it reads every local header for each).
  writeZip(dir / "w.xlsx", one);
  const std::string zip = dir.read("w.xlsx"), end = zip.substr(zip.size() - 22);
  const uint64_t entries = test::littleEndianAt(end, 10, 2), bytes = test::directoryBytesOf(zip);
  const std::string big = test::withExtraFieldEntries(zip, 70),
                    zip64 = test::zip64Ended(zip, bytes);
  const std::string big64 = test::zip64Ended(big, test::directoryBytesOf(big));
  using test::littleEndian;
  const struct {
    const char* what;
    std::string bytes;
    ReadFault fault;
    const char* detail = "";  // what the refusal says, where libzip would refuse too
  } cases[] = {
      {"an end record of 4 GiB and more entries",
       zip + "PK\5\6" + littleEndian(0, 4) + littleEndian(0xFFFFFFFF, 4) +
           littleEndian(0xFFFFFFF0, 4) + littleEndian(0, 6),
       ReadFault::TooLarge},
      {"entries of large extra fields", big, ReadFault::TooLarge},
      {"a ZIP64 directory of 1 GiB", test::zip64Ended(zip, 1 << 30), ReadFault::TooLarge},
      {"a ZIP64 directory of its own size", zip64, ReadFault::None},
      {"70 entries and 64 KiB after the end record", big + std::string(65536, '\0'),
       ReadFault::TooLarge},
      {"70 entries in a ZIP64 end record 65,560 bytes from the end",
       test::withComment(big64.substr(0, big64.size() - 22) + end, std::string(65518, 'c')),
       ReadFault::TooLarge},
      {"a last entry that runs past the directory's end",
       test::withEndFigures(big, entries + 1, bytes + 46), ReadFault::Damaged, "whole entries"},
      {"two end records", test::withComment(zip, end), ReadFault::Damaged},
      {"a byte after the end record", zip + '\0', ReadFault::Damaged},
      {"end records that disagree", test::withEndFigures(zip64, entries, bytes - 1),
       ReadFault::Damaged},
      {"end records that agree", test::withEndFigures(zip64, entries, bytes), ReadFault::None},
      {"a comment of 64 KiB", test::withComment(zip, std::string(65535, 'c')), ReadFault::None},
  };
  for (const auto& c : cases) {
    dir.write("hostile.xlsx", c.bytes);
    const WorkbookRead r = readWorkbook(dir / "hostile.xlsx");
    EXPECT_EQ(r.fault, c.fault) << c.what << ": " << r.detail;
    EXPECT_NE(r.detail.find(c.detail), std::string::npos) << c.what << ": " << r.detail;
  }
}

// The file under a workbook's name, swapped again and again while it is read, is read as one
// file: a good workbook, or a refused one, never the refused one's parts after the good one's
// check.
TEST_F(XlsxReader, AFileSwappedWhileItIsReadIsReadWhole) {
  for (const std::string name : {"good", "hostile"})
    writeZip(dir / (name + ".xlsx"),
             workbookParts({{"S", "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" +
                                      name + "</t></is></c></row></sheetData>"}}));
  dir.write("hostile.xlsx",
            test::withExtraFieldEntries(dir.read("hostile.xlsx"), 70) + std::string(65536, '\0'));
  std::filesystem::copy_file(dir / "good.xlsx", dir / "w.xlsx");
  std::jthread swapper([&](std::stop_token stop) {
    for (int k = 0; !stop.stop_requested(); ++k) {
      std::filesystem::create_hard_link(dir / (k % 2 ? "hostile.xlsx" : "good.xlsx"),
                                        dir / "next.xlsx");
      std::filesystem::rename(dir / "next.xlsx", dir / "w.xlsx");
    }
  });
  for (int k = 0; k < 200; ++k) {
    const WorkbookRead r = readWorkbook(dir / "w.xlsx");
    EXPECT_TRUE(r.fault == ReadFault::TooLarge ||
                (r.book && r.book->sheets()[0].cell(0, 0) == "good"))
        << k << ": " << r.detail;
  }
}

TEST_F(XlsxReader, RefusesDamagedPackagesWithTheirFault) {
  const ZipParts good = workbookParts(
      {{"S", "<sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row></sheetData>"}},
      "<si><t>a</t></si>");
  ASSERT_TRUE(read(good).book);
  const std::string sheet = "xl/worksheets/sheet1.xml", rels = "xl/_rels/workbook.xml.rels";
  // The sheet part holding these rows, or one cell in its first row.
  const auto rows = [&](const std::string& r) {
    return replaced(good, sheet, "<worksheet><sheetData>" + r + "</sheetData></worksheet>");
  };
  const auto cell = [&](const std::string& c) { return rows("<row r=\"1\">" + c + "</row>"); };
  const std::tuple<const char*, ZipParts, ReadFault> cases[] = {
      {"no workbook part", without(without(good, "xl/workbook.xml"), "_rels/.rels"),
       ReadFault::Damaged},
      {"a zip that is no package", {{"readme.txt", "hello"}}, ReadFault::NotAWorkbook},
      {"no sheet part", without(good, sheet), ReadFault::Damaged},
      {"no shared strings part", without(good, "xl/sharedStrings.xml"), ReadFault::Damaged},
      {"bad XML", replaced(good, sheet, "<worksheet><sheetData><row>"), ReadFault::Damaged},
      {"tags that do not match", rows("</row>"), ReadFault::Damaged},
      {"an unknown entity", cell("<c t=\"str\"><v>&bomb;</v></c>"), ReadFault::Damaged},
      {"a document type",
       replaced(good, sheet,
                "<!DOCTYPE w [<!ENTITY a \"aaaa\">]><worksheet><sheetData/></worksheet>"),
       ReadFault::Damaged},
      {"UTF-16", replaced(good, sheet, std::string("\xFF\xFE<\0w\0/\0>\0", 8)), ReadFault::Damaged},
      {"two roots", replaced(good, sheet, "<worksheet/><worksheet/>"), ReadFault::Damaged},
      // Markup cut short at the part's very end, with bytes of a processing instruction, an
      // end tag and a comment at the front of the part.
      {"a '<' after the root", replaced(good, sheet, "<?xml version=\"1.0\"?><worksheet/><"),
       ReadFault::Damaged},
      {"a '<' inside the root", replaced(good, sheet, "</worksheet><worksheet><"),
       ReadFault::Damaged},
      {"a '<' after a comment", replaced(good, sheet, "<!-- c --><worksheet/><"),
       ReadFault::Damaged},
      {"a shared string beyond the list", cell("<c r=\"A1\" t=\"s\"><v>7</v></c>"),
       ReadFault::Damaged},
      {"the first shared string past the list", cell("<c r=\"A1\" t=\"s\"><v>1</v></c>"),
       ReadFault::Damaged},
      {"a negative shared string", cell("<c r=\"A1\" t=\"s\"><v>-1</v></c>"), ReadFault::Damaged},
      {"row 0", rows("<row r=\"0\"/>"), ReadFault::Damaged},
      {"a row beyond the sheet", rows("<row r=\"1048577\"/>"), ReadFault::Damaged},
      {"a row without a number after the last",
       rows("<row r=\"1048576\"/><row><c><v>1</v></c></row>"), ReadFault::Damaged},
      {"a cell without a reference after the last column",
       cell("<c r=\"XFD1\"><v>1</v></c><c><v>2</v></c>"), ReadFault::Damaged},
      {"a bracket among the column letters", cell("<c r=\"A[1\"><v>1</v></c>"), ReadFault::Damaged},
      {"a column beyond the sheet", cell("<c r=\"XFE1\"><v>1</v></c>"), ReadFault::Damaged},
      {"a cell reference without a row", cell("<c r=\"A\"><v>1</v></c>"), ReadFault::Damaged},
      {"a row number that is no number", rows("<row r=\"1x\"/>"), ReadFault::Damaged},
      {"a shared string that is no number", cell("<c r=\"A1\" t=\"s\"><v>0x</v></c>"),
       ReadFault::Damaged},
      {"a relationship out of the package",
       replaced(good, rels,
                "<Relationships><Relationship Id=\"rId1\" Type=\"x/worksheet\" "
                "Target=\"../../../etc/passwd\"/></Relationships>"),
       ReadFault::Damaged},
      {"a sheet without its relationship", replaced(good, rels, "<Relationships/>"),
       ReadFault::Damaged},
  };
  for (const auto& [what, parts, fault] : cases) {
    const WorkbookRead r = read(parts);
    EXPECT_EQ(r.fault, fault) << what << ": " << r.detail;
    EXPECT_FALSE(r.book) << what;
  }
}

// A field of an entry's local and central headers, by its offsets in either.
struct EntryField {
  size_t local, central;
};
constexpr EntryField kCrc{14, 16}, kPackedSize{18, 20}, kSize{22, 24};

// Where the entry's header with this signature starts: its name follows at `nameAt`.
size_t headerOf(const std::string& zip, const char* signature, size_t nameAt,
                const std::string& name) {
  for (size_t at = zip.find(signature); at != std::string::npos; at = zip.find(signature, at + 1))
    if (zip.compare(at + nameAt, name.size(), name) == 0) return at;
  return std::string::npos;
}

TEST_F(XlsxReader, RefusesDeflatedPartsThatDoNotUnpackAsTheArchiveSays) {
  // A sheet large enough to be deflated in several blocks.
  std::string rows;
  for (int r = 1; r <= 3000; ++r)
    rows += "<row r=\"" + std::to_string(r) + "\"><c t=\"inlineStr\"><is><t>" +
            std::to_string(r * 7919 % 100003) + "</t></is></c></row>";
  writeZip(dir / "good.xlsx", workbookParts({{"S", "<sheetData>" + rows + "</sheetData>"}}));
  const std::string good = dir.read("good.xlsx");
  const std::string sheet = "xl/worksheets/sheet1.xml";
  const size_t local = headerOf(good, "PK\x03\x04", 30, sheet);
  const size_t central = headerOf(good, "PK\x01\x02", 46, sheet);
  ASSERT_NE(local, std::string::npos);
  ASSERT_NE(central, std::string::npos);
  ASSERT_EQ(good[local + 8], 8) << "the sheet is deflated";
  std::vector<int64_t> progress;  // heard every thousand rows
  const WorkbookRead whole =
      readWorkbook(dir / "good.xlsx", {}, [&](int64_t done, int64_t) { progress.push_back(done); });
  EXPECT_EQ(progress, (std::vector<int64_t>{1000, 2000, 3000}));
  ASSERT_TRUE(whole.book) << whole.detail;
  EXPECT_EQ(whole.book->sheets()[0].cell(2999, 0), std::to_string(3000 * 7919 % 100003));

  const auto changed = [&](EntryField f, int64_t by) {
    std::string z = good;
    const uint32_t v = get32(z, central + f.central) + static_cast<uint32_t>(by);
    put32(z, local + f.local, v);
    put32(z, central + f.central, v);
    return z;
  };
  const size_t data = local + 30 + sheet.size() + get32(good, local + 28) % 0x10000;
  const uint32_t packed = get32(good, central + kPackedSize.central);
  std::string garbled = good;
  for (size_t i = packed / 2; i < packed / 2 + 64; ++i) garbled[data + i] ^= 0x5A;
  const std::pair<const char*, std::string> cases[] = {
      {"a wrong checksum", changed(kCrc, 1)},
      {"more bytes declared", changed(kSize, 1)},
      {"fewer bytes declared", changed(kSize, -1)},
      {"the data cut short", changed(kPackedSize, -static_cast<int64_t>(packed / 2))},
      {"garbled data", garbled},
  };
  for (const auto& [what, zip] : cases) {
    dir.write("bad.xlsx", zip);
    const WorkbookRead r = readWorkbook(dir / "bad.xlsx");
    EXPECT_EQ(r.fault, ReadFault::Damaged) << what << ": " << r.detail;
    EXPECT_FALSE(r.book) << what;
  }
}

TEST_F(XlsxReader, TellsFilesThatAreNoWorkbookFromFilesThatCannotBeRead) {
  writeZip(dir / "whole.xlsx", workbookParts({{"S", "<sheetData/>"}}));
  dir.write("cut.xlsx", dir.read("whole.xlsx").substr(0, 200));
  dir.write("text.xlsx", "Language;eng\n");
  dir.write("empty.xlsx", "");
  // A legacy workbook's signature and nothing a workbook holds after it.
  dir.write("garbage.xls",
            std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, 'x'));
  ReadLimits small;
  small.maxFileBytes = 10;
  const std::tuple<const char*, ReadLimits, ReadFault> cases[] = {
      {"missing.xlsx", {}, ReadFault::Unreadable}, {"text.xlsx", {}, ReadFault::NotAWorkbook},
      {"empty.xlsx", {}, ReadFault::NotAWorkbook}, {"cut.xlsx", {}, ReadFault::Damaged},
      {"garbage.xls", {}, ReadFault::Damaged},     {"whole.xlsx", small, ReadFault::TooLarge}};
  for (const auto& [file, limits, fault] : cases) {
    const WorkbookRead r = readWorkbook(dir / file, limits);
    EXPECT_FALSE(r.book) << file;
    // A cut or garbled file may not even show what it is.
    EXPECT_TRUE(r.fault == fault ||
                (fault == ReadFault::Damaged && r.fault == ReadFault::NotAWorkbook))
        << file << ": " << r.detail;
  }
  small.maxFileBytes = fs::file_size(dir / "whole.xlsx");
  EXPECT_TRUE(readWorkbook(dir / "whole.xlsx", small).book);  // right at the limit
}

// The scanner: a document fed in pieces of any size gives the same elements, attributes
// and texts as the document fed whole.

// Every event as one line of text.
struct Recorder {
  std::string events;
  // Appended piece by piece: GCC 12 warns falsely of an overlapping copy in "<" + name.
  void start(std::string_view name, const XmlAttributes& attributes) {
    events.append("<").append(name);
    for (const auto& a : attributes.list())
      events.append(" ").append(a.name).append("=").append(XmlAttributes::decode(a.raw));
    events.append(">");
  }
  void end(std::string_view name) { events.append("</").append(name).append(">"); }
  void text(std::string_view t) { events.append("[").append(t).append("]"); }
};

// The events of a document fed in pieces. Room is asked for once more before the end, as
// the reader does: it learns that a part has ended only then.
std::string scanned(std::string_view doc, size_t piece, size_t maxToken = xml::kMaxToken) {
  Recorder recorder;
  XmlScanner<Recorder> scanner(recorder, maxToken);
  for (size_t at = 0; at < doc.size(); at += piece) {
    const size_t n = std::min(piece, doc.size() - at);
    std::memcpy(scanner.space(n), doc.data() + at, n);
    scanner.commit(n);
  }
  scanner.space(1 << 18);
  scanner.finish();
  return recorder.events;
}

TEST(XmlScanner, PiecesOfAnySizeGiveTheSameEvents) {
  const std::string doc =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- a > comment -->"
      "<x:root xmlns:x=\"u\" a='1 > 0' b=\"&lt;&#x44;&#1103;\tz\r\ny\r\">"
      "<x:c r=\"A1\"/>text &amp; more<![CDATA[ <raw> ]]>\r\ne\rnd\r<x:d>"
      "<?pi stays out?></x:d><a-name-longer-than-sixteen-bytes k = \"v\"\t>t"
      "</a-name-longer-than-sixteen-bytes\n></x:root >\n";
  const std::string whole = scanned(doc, doc.size());
  EXPECT_EQ(whole,
            "<root x=u a=1 > 0 b=<D\xD1\x8F z y ><c r=A1></c>[text & more][ <raw> ][\ne\nnd\n]"
            "<d></d><a-name-longer-than-sixteen-bytes k=v>[t]</a-name-longer-than-sixteen-bytes>"
            "</root>");
  for (size_t piece = 1; piece < 40; ++piece) EXPECT_EQ(scanned(doc, piece), whole) << piece;
  // Character references at the bounds of UTF-8's one to four bytes and of the surrogates, and
  // the longest one taken.
  EXPECT_EQ(scanned("<a>&#0000000065;&#9;&#x7F;&#x80;&#x7FF;&#x800;&#xFFFF;&#x10000;"
                    "&#xD7FF;&#xE000;&#x10FFFF;</a>",
                    64),
            "<a>[A\t\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80"
            "\xED\x9F\xBF\xEE\x80\x80\xF4\x8F\xBF\xBF]</a>");
}

// The reader asks for room once more before it learns that the part has ended: the end of
// what is buffered must hold there too, whatever stood behind it before.
TEST(XmlScanner, EndsWhereTheBytesEndAfterMakingRoom) {
  for (const std::string doc : {"<?xml v?><a/><", "<a></a><", "<!-- ?> --><a/><", "<a/><!"})
    for (size_t piece = 1; piece <= doc.size(); ++piece)
      EXPECT_THROW(scanned(doc, piece), XmlError) << doc << " " << piece;
}

// No token is held longer than the scanner's limit, in whatever pieces it comes.
TEST(XmlScanner, RefusesTokensLongerThanItsLimit) {
  const std::string text(100, 't');
  for (const std::string& token :
       {text, "<a " + std::string(92, 'b') + "='1'/>", "<!--" + std::string(93, 'c') + "-->"}) {
    const std::string doc = "<r>" + token + "</r>";
    for (size_t piece : {size_t{1}, size_t{7}, size_t{64}}) {
      EXPECT_THROW(scanned(doc, piece, token.size() - 1), XmlTooLong) << token << " " << piece;
      if (token[0] == 't') {
        EXPECT_EQ(scanned(doc, piece, token.size()), "<r>[" + text + "]</r>");
      }
    }
  }
}

TEST(XmlScanner, RefusesWhatIsNotWellFormed) {
  // Beyond the damaged parts the reader refuses: names that only nearly match, attributes
  // without a quoted value, references cut short, text outside the root.
  const char* bad[] = {"",
                       "text only",
                       "<a></ab>",
                       "<ab></a>",
                       "<a-name-longer-than-sixteen></a-name-longer-than-sixteeN>",
                       "<a b></a>",
                       "<a b=c></a>",
                       "<a b=\"<\"></a>",
                       "<a>&#0;</a>",
                       "<a>&amp</a>",
                       "<a>&#xD800;</a>",
                       "<a>&#xDFFF;</a>",
                       "<a>&#x110000;</a>",
                       "<a>&#00000000065;</a>",
                       "<a/>tail",
                       "<a><!-- open </a>"};
  for (const char* doc : bad) EXPECT_THROW(scanned(doc, 3), XmlError) << doc;
}

// ---- the writer ----

const std::string kCyrillic = "\xcf\xf0\xe8\xe2\xe5\xf2";  // "Привет" in code page 1251

Workbook sample() {
  Workbook book;
  Sheet& a = book.addSheet("Parameters");
  a.set(0, 0, "Language");
  a.set(0, 1, "eng");
  a.set(1, 0, " 0 - leading blank");
  a.set(1, 1, "  *");
  a.set(2, 1, "trailing  ");
  a.set(3, 1, "12");
  a.set(4, 1, "2,5");
  a.set(5, 1, kCyrillic);
  a.set(6, 1, "a & <b> \"c\"");
  a.set(7, 1, "   ");
  a.set(8, 0, "\t_x0041_ stays _x0041_, \x01 and \r too\n");
  a.setAlign(columnRange(0, 8), HAlign::Left);
  a.setBold(columnRange(1, 8));
  a.setColumnWidth(0, 75);
  a.setColumnWidth(1, 74);
  Sheet& b = book.addSheet("Points");
  b.set(0, 0, "No.");
  b.set(0, 2, "Street");
  b.set(4, 16, "last");
  b.setBold(rowRange(0, 17));
  b.setWrap(rowRange(0, 17));
  b.setRowHeight(0, 54);
  b.setRowHeight(2, 30);  // a row of no cells
  b.setColumnWidth(3, 11.5);
  b.setColumnWidth(5, 0.5);
  book.addSheet("Empty [1]");  // named as a sheet may not be
  return book;
}

void expectSameCells(const Workbook& written, const Workbook& read) {
  ASSERT_EQ(read.sheets().size(), written.sheets().size());
  for (size_t s = 0; s < written.sheets().size(); ++s) {
    const Sheet& w = written.sheets()[s];
    const Sheet& r = read.sheets()[s];
    EXPECT_EQ(r.name(), validSheetNames({w.name()})[0]);
    EXPECT_EQ(r.cellCount(), w.cellCount()) << w.name();
    for (const Sheet::Row& row : w.rows())
      for (const Sheet::Cell& c : row.cells)
        EXPECT_EQ(r.cell(row.row, c.column), c.text)
            << w.name() << " " << row.row << "," << c.column;
  }
}

// The cell format `n` of the style sheet's list.
std::string cellFormat(const std::string& styles, int n) {
  size_t at = styles.find("<cellXfs");
  for (int i = 0; i <= n; ++i) at = styles.find("<xf ", at + 1);
  return styles.substr(at, styles.find("<xf ", at + 1) - at);
}

// What a spreadsheet program reads: texts escaped for XML and for the spreadsheet's own
// escapes, blanks kept, widths with their padding, the title row's height, and formatted
// cells without text written blank within their range only.
TEST(XlsxWriter, WritesSheetsByteForByte) {
  TempDir dir;
  writeXlsx(sample(), dir / "t.xlsx");
  const auto data = [&](int sheet) {
    const std::string xml =
        readZipPart(dir / "t.xlsx", "xl/worksheets/sheet" + std::to_string(sheet) + ".xml");
    const size_t from = xml.find("<sheetView ");
    return xml.substr(from, xml.find("<pageMargins") - from);
  };
  // Row r: column A blank and left-aligned, column B bold with its text.
  const auto row = [](int r, const std::string& t) {
    const std::string n = std::to_string(r);
    return "<row r=\"" + n + "\"><c r=\"A" + n + "\" s=\"2\"/><c r=\"B" + n +
           "\" s=\"8\" t=\"inlineStr\"><is><t" + t + "</t></is></c></row>";
  };
  EXPECT_EQ(
      data(1),
      "<sheetView tabSelected=\"1\" workbookViewId=\"0\"/></sheetViews>"
      "<sheetFormatPr defaultRowHeight=\"15\"/><cols>"
      "<col min=\"1\" max=\"1\" width=\"75.7109375\" customWidth=\"1\"/>"
      "<col min=\"2\" max=\"2\" width=\"74.7109375\" customWidth=\"1\"/></cols><sheetData>"
      "<row r=\"1\"><c r=\"A1\" s=\"2\" t=\"inlineStr\"><is><t>Language</t></is></c><c "
      "r=\"B1\" s=\"8\" t=\"inlineStr\"><is><t>eng</t></is></c></row><row r=\"2\"><c "
      "r=\"A2\" s=\"2\" t=\"inlineStr\"><is><t xml:space=\"preserve\"> 0 - leading "
      "blank</t></is></c><c r=\"B2\" s=\"8\" t=\"inlineStr\"><is><t "
      "xml:space=\"preserve\">  *</t></is></c></row>" +
          row(3, " xml:space=\"preserve\">trailing  ") + row(4, ">12") + row(5, ">2,5") +
          row(6, ">\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82") +
          row(7, ">a &amp; &lt;b&gt; \"c\"") + row(8, " xml:space=\"preserve\">   ") +
          "<row r=\"9\"><c r=\"A9\" t=\"inlineStr\"><is><t xml:space=\"preserve\">\t_x005F_x0041_ "
          "stays _x005F_x0041_, _x0001_ and _x000D_ too\n</t></is></c></row></sheetData>");
  std::string blanks;
  for (char c = 'D'; c <= 'Q'; ++c) blanks += "<c r=\"" + std::string(1, c) + "1\" s=\"9\"/>";
  EXPECT_EQ(data(2),
            "<sheetView workbookViewId=\"0\"/></sheetViews><sheetFormatPr "
            "defaultRowHeight=\"15\"/><cols><col min=\"4\" max=\"4\" width=\"12.28515625\" "
            "customWidth=\"1\"/><col min=\"6\" max=\"6\" width=\"0.85546875\" "
            "customWidth=\"1\"/></cols><sheetData><row r=\"1\" ht=\"54\" customHeight=\"1\"><c "
            "r=\"A1\" s=\"9\" t=\"inlineStr\"><is><t>No.</t></is></c><c r=\"B1\" s=\"9\"/><c "
            "r=\"C1\" s=\"9\" t=\"inlineStr\"><is><t>Street</t></is></c>" +
                blanks +
                "</row><row r=\"3\" ht=\"30\" customHeight=\"1\"></row><row r=\"5\"><c r=\"Q5\" "
                "t=\"inlineStr\"><is><t>last</t></is></c></row>"
                "</sheetData>");
  // The default format first; 2 left-aligned, 8 bold, 9 bold and wrapped.
  const std::string styles = readZipPart(dir / "t.xlsx", "xl/styles.xml");
  const std::string plain =
      "<xf numFmtId=\"0\" fontId=\"0\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
  const std::string bold = "<xf numFmtId=\"0\" fontId=\"1\" fillId=\"0\" borderId=\"0\" xfId=\"0\"";
  EXPECT_EQ(cellFormat(styles, 0), plain + "/>");
  EXPECT_EQ(cellFormat(styles, 2),
            plain + " applyAlignment=\"1\"><alignment horizontal=\"left\"/></xf>");
  EXPECT_EQ(cellFormat(styles, 8), bold + " applyFont=\"1\"/>");
  EXPECT_EQ(cellFormat(styles, 9),
            bold + " applyFont=\"1\" applyAlignment=\"1\"><alignment wrapText=\"1\"/></xf>");
  EXPECT_TRUE(
      cellFormat(styles, 15)
          .starts_with(bold +
                       " applyFont=\"1\" applyAlignment=\"1\"><alignment horizontal=\"right\" "
                       "wrapText=\"1\"/></xf></cellXfs>"));
  EXPECT_NE(styles.find("<font><b/>"), std::string::npos);
  // Each entry's data ends where the next header starts; its central entry repeats the
  // checksum and sizes of its local header.
  const std::string zip = dir.read("t.xlsx");
  const size_t directory = zip.find("PK\x01\x02");
  size_t local = 0, central = directory;
  for (; zip.compare(local, 4, "PK\x03\x04") == 0;
       central += 46 + get32(zip, central + 28) % 0x10000) {
    EXPECT_EQ(zip.substr(local + 14, 12), zip.substr(central + 16, 12)) << local;
    EXPECT_EQ(get32(zip, central + 42), local);
    local += 30 + get32(zip, local + 26) % 0x10000 + get32(zip, local + 18);
  }
  EXPECT_EQ(local, directory);
  EXPECT_EQ(get32(zip, zip.size() - 6), directory);
}

TEST(XlsxRoundTrip, LargeSheetsAreWrittenRowByRowAndReadBackAsInlineStrings) {
  TempDir dir;
  Workbook book;
  Sheet& s = book.addSheet("Sections (1)");
  const int rows = 30000, cols = 8;  // more cells than the constant-memory threshold
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) s.set(r, c, std::to_string(r * 10 + c) + (c == 3 ? " " : ""));
  s.setBold(rowRange(0, cols));
  s.setRowHeight(0, 55);
  // Texts that look like the file's escapes, with hex digits at their bounds, or not quite.
  s.set(1, 3, "_xAF09_ _xaf90_ _x00G0_ _x00g0_ _x0@0/_");
  s.set(2, 3, std::string(300000, 'x'));  // far longer than the buffer's first size
  // The rows written are heard every 256 rows, and once more when the file is complete.
  std::vector<std::pair<int64_t, int64_t>> heard;
  writeXlsx([&](WorkbookOutput& out) { copyWorkbook(book, out); }, dir / "big.xlsx",
            [&](int64_t done, int64_t total) { heard.emplace_back(done, total); }, rows);
  ASSERT_EQ(heard.size(), rows / 256 + 1u);
  EXPECT_EQ(heard[0], (std::pair<int64_t, int64_t>(256, rows)));
  EXPECT_EQ(heard.back(), (std::pair<int64_t, int64_t>(rows, rows)));
  EXPECT_NE(readZipPart(dir / "big.xlsx", "xl/worksheets/sheet1.xml").find("inlineStr"),
            std::string::npos);
  const WorkbookRead read = readWorkbook(dir / "big.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  expectSameCells(book, *read.book);
}

// Texts that look like the file's escapes, or nearly, beside characters that are escaped
// themselves, entities, blanks and Cyrillic: each comes back from the file as it was written,
// as a cell and as a sheet name (made valid first).
TEST(XlsxRoundTrip, TrickyTextsComeBackAsWritten) {
  const std::string texts[] = {
      "_x0041\x01",
      "_x0041\x1F_",
      "_x0041_x0042_",
      "_x0041__x0042\x02",
      "__x0041_",
      "_x0041_\x01",
      "_X0041_",
      "_x004_",
      "_x0041",
      "x0041_",
      "_x0041&",
      "_x0041<_",
      "_x0041\xCF",
      "_xD7FF_ _xFFFF_",
      "\x01\x02_",
      "_",
      "__",
      "a_x00AF\t",
      "_x0041\r\n",
      "tab\there",
      "line\nbreak",
      "cr\rhere",
      "\"quoted\" & <b>",
      " blanks around ",
      kCyrillic + "_x0",
      "_x0041" + kCyrillic,
      "'apostrophes'",
      "_x005F_",
  };
  TempDir dir;
  Workbook book;
  Sheet& cells = book.addSheet("Cells");
  for (size_t i = 0; i < std::size(texts); ++i) cells.set(static_cast<int>(i), 0, texts[i]);
  std::vector<std::string> names{"Cells"};
  for (const std::string& t : texts) {
    book.addSheet(t);
    names.push_back(t);
  }
  writeXlsx(book, dir / "t.xlsx");
  const WorkbookRead read = readWorkbook(dir / "t.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  const Sheet& back = read.book->sheets()[0];
  for (size_t i = 0; i < std::size(texts); ++i)
    EXPECT_EQ(back.cell(static_cast<int>(i), 0), texts[i]) << i;
  const std::vector<std::string> valid = validSheetNames(names);
  ASSERT_EQ(read.book->sheets().size(), valid.size());
  for (size_t i = 0; i < valid.size(); ++i) EXPECT_EQ(read.book->sheets()[i].name(), valid[i]) << i;
  // The escape that the next character's escape would have closed is escaped itself.
  EXPECT_NE(
      readZipPart(dir / "t.xlsx", "xl/worksheets/sheet1.xml").find("<t>_x005F_x0041_x0001_</t>"),
      std::string::npos);
}

TEST(XlsxStream, FormatsGivenWhileARowIsOpenLeaveItsFormattedBlanksAlone) {
  // Cells go into the file as they are set: the blanks of an open formatted row come after
  // formats for later rows were given (many, so that their list moves in memory).
  TempDir dir;
  writeXlsx(
      [](WorkbookOutput& out) {
        SheetOutput& s = out.addSheet("S");
        s.setBold({0, 0, 1, 3});
        s.set(1, 0, "a");
        for (int r = 10; r < 60; ++r) s.setWrap(rowRange(r, 2));
        s.set(1, 2, "b");
        s.set(12, 0, "c");
        s.set(13, 5, "d");  // after the row's formatted columns
      },
      dir / "s.xlsx");
  const std::string xml = readZipPart(dir / "s.xlsx", "xl/worksheets/sheet1.xml");
  for (const char* cell : {"<c r=\"A2\" s=\"8\" t=", "<c r=\"B2\" s=\"8\"/>",
                           "<c r=\"C2\" s=\"8\" t=", "<c r=\"D2\" s=\"8\"/>",
                           "<c r=\"A13\" s=\"1\" t=", "<c r=\"B13\" s=\"1\"/>",
                           "<c r=\"B14\" s=\"1\"/><c r=\"F14\" t="})
    EXPECT_NE(xml.find(cell), std::string::npos) << cell << "\n" << xml;
}

TEST(XlsxStream, RowsAndFormatsMustComeInTheOrderOfTheFile) {
  // A layout that breaks the order would lose cells or formats: it is a programming error.
  TempDir dir;
  const auto layout = [](int step) {
    return [step](WorkbookOutput& out) {
      SheetOutput& s = out.addSheet("S");
      s.set(step == 5 ? 0 : 3, 2, step == 5 ? "" : "x");  // an empty cell begins its row too
      switch (step) {
        case 0: s.set(3, 1, "left of the last"); break;
        case 1: s.set(2, 0, "above the last"); break;
        case 2: s.setBold(rowRange(3, 4)); break;
        case 3: s.setRowHeight(3, 20); break;
        case 4:
        case 5: s.setColumnWidth(0, 9); break;
      }
    };
  };
  for (int step = 0; step < 6; ++step)
    EXPECT_THROW(writeXlsx(layout(step), dir / "s.xlsx"), std::logic_error) << step;
  EXPECT_FALSE(fs::exists(dir / "s.xlsx"));
  // Cells outside a sheet are refused as such, and the sheet's last cell is written.
  writeXlsx(
      [](WorkbookOutput& out) {
        SheetOutput& s = out.addSheet("S");
        for (const auto& [r, c] : {std::pair(-1, 0), {0, -1}, {kMaxRows, 0}, {0, kMaxColumns}})
          EXPECT_THROW(s.set(r, c, "x"), std::out_of_range) << r << "," << c;
        s.set(kMaxRows - 1, kMaxColumns - 1, "corner");
        s.setBold(columnRange(0, 0));  // no rows: late, but no format
      },
      dir / "c.xlsx");
  EXPECT_EQ(readWorkbook(dir / "c.xlsx").book->sheets()[0].cell(kMaxRows - 1, kMaxColumns - 1),
            "corner");
}

// Unique names never replace a file and leave no temporary file behind; a folder that
// cannot be written is an error and keeps nothing.
TEST(XlsxWriter, UniqueNamesAndFoldersThatCannotBeWritten) {
  TempDir dir;
  const Workbook book = sample();
  const fs::path first = writeXlsxUnique(book, dir.path(), "qj_TASK01");
  const fs::path second = writeXlsxUnique(book, dir.path(), "qj_TASK01");
  EXPECT_EQ(first, dir / "qj_TASK01.xlsx");
  EXPECT_EQ(second, dir / "qj_TASK01 (2).xlsx");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  // Read back: texts exactly, blanks and code page included; text stays text.
  const WorkbookRead read = readWorkbook(second);
  ASSERT_TRUE(read.book) << read.detail;
  expectSameCells(book, *read.book);
  EXPECT_EQ(read.book->sheets()[2].name(), "Empty _1_");

  EXPECT_THROW(writeXlsx(book, dir / "missing/t.xlsx"), OfficeError);
  EXPECT_THROW(writeXlsxUnique(book, dir / "missing", "x"), OfficeError);
  if (::geteuid() != 0) {
    fs::create_directories(dir / "ro");
    ::chmod((dir / "ro").c_str(), 0555);
    EXPECT_THROW(writeXlsxUnique(book, dir / "ro", "x"), OfficeError);
    ::chmod((dir / "ro").c_str(), 0755);
    EXPECT_TRUE(fs::is_empty(dir / "ro"));
  }
}

// A workbook replaces an old one, or takes a free name, only once its bytes are on the disk,
// and its folder is synced after; a sync that fails is a workbook not written, and the old
// one stays.
TEST(XlsxWriter, AWorkbookIsDurableBeforeAndAfterItTakesItsName) {
  if (test::WriteFaults::ranInChild()) return;
  TempDir dir;
  dir.write("t.xlsx", "the old workbook");
  {
    test::WriteFaults faults(dir.path());
    writeXlsx(sample(), dir / "t.xlsx");
    EXPECT_EQ(faults.syncsAndRenames(),
              (std::vector<std::string>{"fsync D/<temp> -> ok", "rename D/<temp> D/t.xlsx -> ok",
                                        "fsync D -> ok"}));
    faults.clear();
    writeXlsxUnique(sample(), dir.path(), "t");
    // The first name is taken: its link fails, as the system refuses it.
    EXPECT_EQ(faults.syncsAndRenames(),
              (std::vector<std::string>{"fsync D/<temp> -> ok", "link D/<temp> D/t.xlsx -> ok",
                                        "link D/<temp> D/t (2).xlsx -> ok", "fsync D -> ok"}));
  }
  dir.write("t.xlsx", "the old workbook");
  for (const long skip : {0, 1}) {  // the workbook's own sync, then its folder's
    test::WriteFaults faults(dir.path());
    faults.fail("fsync", skip);
    EXPECT_THROW(writeXlsx(sample(), dir / "t.xlsx"), OfficeError);
    EXPECT_THROW(writeXlsxUnique(sample(), dir.path(), "t"), OfficeError);
    faults.clear();
    if (skip == 0) {
      EXPECT_EQ(dir.read("t.xlsx"), "the old workbook");
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  }
}

TEST(NumberText, IntegralNumbersHaveNoFraction) {
  std::string texts;
  for (const double x : {12.0, -3.0, -0.0, 2.5, 0.1 + 0.2, 1e15, 999999999999999.0,
                         -999999999999999.0, -1e15, 1e20, 100.0 / 3})
    texts += numberText(x) + " ";
  EXPECT_EQ(
      texts,
      "12 -3 0 2.5 0.3 1e+15 999999999999999 -999999999999999 -1e+15 1e+20 33.3333333333333 ");
}

}  // namespace
}  // namespace qj::office
