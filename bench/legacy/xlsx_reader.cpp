// The workbook model, reader and writer as the program had them before it streamed its
// workbooks (a tree per sheet part, libxlsxwriter), kept only so that the benchmark measures
// old and new in one run.
// The .xlsx reader: a zip archive of XML parts (libzip, pugixml). The workbook part is found
// through the package relationships, the sheets in the order of the workbook's <sheets> list
// through the workbook's relationships, and their cells are read one by one; nothing is
// sized from what a part declares about itself.

#include <zip.h>

#include <charconv>
#include <cstring>
#include <map>
#include <pugixml.hpp>
#include <string_view>
#include <vector>

#include "legacy/workbook_reader.h"
#include "records/cp1251.h"

namespace qj::legacy {
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

class ZipArchive {
 public:
  explicit ZipArchive(const fs::path& path) {
    int error = 0;
    zip_ = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (zip_) return;
    switch (error) {
      case ZIP_ER_NOENT:
      case ZIP_ER_OPEN:
      case ZIP_ER_READ: refuse(ReadFault::Unreadable, "the file cannot be opened");
      case ZIP_ER_NOZIP: refuse(ReadFault::NotAWorkbook, "not a zip archive");
      default:
        damaged("the zip archive cannot be read (libzip error " + std::to_string(error) + ")");
    }
  }
  ~ZipArchive() {
    if (zip_) zip_discard(zip_);
  }
  ZipArchive(const ZipArchive&) = delete;
  ZipArchive& operator=(const ZipArchive&) = delete;

  bool has(const std::string& name) const { return locate(name) >= 0; }

  // The part's bytes, read in pieces and refused as soon as they pass the limit, whatever
  // size the archive declares.
  std::optional<std::string> read(const std::string& name, uint64_t limit) const {
    const zip_int64_t index = locate(name);
    if (index < 0) return std::nullopt;
    zip_file_t* file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
    if (!file) damaged("the part " + name + " cannot be opened");
    std::string bytes;
    char chunk[1 << 16];
    for (;;) {
      const zip_int64_t n = zip_fread(file, chunk, sizeof chunk);
      if (n < 0) {
        zip_fclose(file);
        damaged("the part " + name + " cannot be unpacked");
      }
      if (n == 0) break;
      if (bytes.size() + static_cast<uint64_t>(n) > limit) {
        zip_fclose(file);
        refuse(ReadFault::TooLarge,
               "the part " + name + " unpacks to more than " + std::to_string(limit) + " bytes");
      }
      bytes.append(chunk, static_cast<size_t>(n));
    }
    zip_fclose(file);
    return bytes;
  }

 private:
  // Part names are compared without regard to letter case, as the package format says.
  zip_int64_t locate(const std::string& name) const {
    return zip_name_locate(zip_, name.c_str(), ZIP_FL_NOCASE);
  }

  zip_t* zip_ = nullptr;
};

// An XML part parsed in its own buffer.
class XmlPart {
 public:
  XmlPart(std::string bytes, const std::string& name) : bytes_(std::move(bytes)) {
    // Blanks of a text that is nothing but blanks are kept; texts are stored in their
    // elements, which halves the nodes of a sheet.
    constexpr unsigned kOptions =
        pugi::parse_default | pugi::parse_ws_pcdata_single | pugi::parse_embed_pcdata;
    const pugi::xml_parse_result result =
        doc_.load_buffer_inplace(bytes_.data(), bytes_.size(), kOptions);
    if (!result) damaged("the part " + name + " is not well-formed XML: " + result.description());
  }
  pugi::xml_node root() const { return doc_.document_element(); }

 private:
  std::string bytes_;
  pugi::xml_document doc_;
};

// Element and attribute names without their namespace prefix.
std::string_view localName(const char* name) {
  const char* colon = std::strrchr(name, ':');
  return colon ? std::string_view(colon + 1) : std::string_view(name);
}

pugi::xml_node child(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && localName(c.name()) == local) return c;
  return {};
}

template <typename F>
void forEachChild(pugi::xml_node node, std::string_view local, F&& f) {
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling())
    if (c.type() == pugi::node_element && localName(c.name()) == local) f(c);
}

const char* attribute(pugi::xml_node node, std::string_view local) {
  for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute())
    if (localName(a.name()) == local) return a.value();
  return nullptr;
}

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

// The relationships of `part` by id; none when it has no relationship part.
std::map<std::string, Relationship> relationships(const ZipArchive& zip, const std::string& part,
                                                  const ReadLimits& limits) {
  std::map<std::string, Relationship> rels;
  const std::string relsName = relsOf(part);
  std::optional<std::string> bytes = zip.read(relsName, limits.maxPartBytes);
  if (!bytes) return rels;
  const XmlPart xml(std::move(*bytes), relsName);
  forEachChild(xml.root(), "Relationship", [&](pugi::xml_node r) {
    const char* id = attribute(r, "Id");
    const char* target = attribute(r, "Target");
    const char* mode = attribute(r, "TargetMode");
    if (!id || !target || (mode && std::string_view(mode) == "External")) return;
    const char* type = attribute(r, "Type");
    rels[id] = {type ? type : "", resolvePart(folderOf(part), target)};
  });
  return rels;
}

// Text as spreadsheet files escape it: "_xHHHH_" stands for the character U+HHHH.
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

std::string cellText(std::string_view utf8) {
  return cp1251::fromUtf8(unescapeText(utf8));
}

// The text of a shared or inline string: its plain text or its runs joined; phonetic runs
// are not part of the text.
std::string richText(pugi::xml_node node) {
  std::string text;
  for (pugi::xml_node c = node.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    const std::string_view name = localName(c.name());
    if (name == "t") text += c.text().get();
    if (name == "r") text += child(c, "t").text().get();
  }
  return cellText(text);
}

std::vector<std::string> sharedStrings(const ZipArchive& zip, const std::string& part,
                                       const ReadLimits& limits) {
  std::vector<std::string> strings;
  std::optional<std::string> bytes = zip.read(part, limits.maxPartBytes);
  if (!bytes) damaged("the shared strings part " + part + " is missing");
  const XmlPart xml(std::move(*bytes), part);
  forEachChild(xml.root(), "si", [&](pugi::xml_node si) { strings.push_back(richText(si)); });
  return strings;
}

// "B12" as 0-based row 11 and column 1.
bool parseCellRef(std::string_view ref, int& row, int& col) {
  size_t i = 0;
  int64_t c = 0, r = 0;
  for (; i < ref.size() && i < 4; ++i) {
    const char ch = ref[i];
    if (ch >= 'A' && ch <= 'Z')
      c = c * 26 + (ch - 'A' + 1);
    else if (ch >= 'a' && ch <= 'z')
      c = c * 26 + (ch - 'a' + 1);
    else
      break;
  }
  if (i == 0 || i == ref.size()) return false;
  const auto [end, ec] = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
  if (ec != std::errc() || end != ref.data() + ref.size()) return false;
  if (c < 1 || c > kMaxColumns || r < 1 || r > kMaxRows) return false;
  row = static_cast<int>(r - 1);
  col = static_cast<int>(c - 1);
  return true;
}

class SheetReader {
 public:
  SheetReader(const std::vector<std::string>& strings, const ReadLimits& limits, uint64_t& cells)
      : strings_(strings), limits_(limits), cells_(cells) {}

  void read(pugi::xml_node worksheet, Sheet& sheet) {
    int row = -1;
    forEachChild(child(worksheet, "sheetData"), "row", [&](pugi::xml_node r) {
      row = rowNumber(r, row);
      int col = -1;
      forEachChild(r, "c", [&](pugi::xml_node c) {
        int cellRow = row;
        cellPosition(c, cellRow, col);
        std::string text = value(c);
        if (text.empty()) return;
        if (++cells_ > limits_.maxCells)
          refuse(ReadFault::TooLarge,
                 "the workbook holds more than " + std::to_string(limits_.maxCells) + " cells");
        sheet.set(cellRow, col, std::move(text));
      });
    });
  }

 private:
  // A row without a number follows the previous one.
  static int rowNumber(pugi::xml_node r, int previous) {
    const char* number = attribute(r, "r");
    if (!number) {
      if (previous + 1 >= kMaxRows) damaged("a row lies beyond the last row of a sheet");
      return previous + 1;
    }
    int64_t n = 0;
    const std::string_view s(number);
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), n);
    if (ec != std::errc() || end != s.data() + s.size() || n < 1 || n > kMaxRows)
      damaged("a row number is not a row of a sheet: " + std::string(s));
    return static_cast<int>(n - 1);
  }

  // A cell's reference gives its place; a cell without one follows the previous cell of its
  // row.
  static void cellPosition(pugi::xml_node c, int& row, int& col) {
    const char* ref = attribute(c, "r");
    if (!ref) {
      if (row < 0 || col + 1 >= kMaxColumns) damaged("a cell lies outside a sheet");
      ++col;
      return;
    }
    if (!parseCellRef(ref, row, col))
      damaged("a cell reference is not a cell of a sheet: " + std::string(ref));
  }

  std::string value(pugi::xml_node c) const {
    const char* typeAttr = attribute(c, "t");
    const std::string_view type = typeAttr ? typeAttr : "n";
    if (type == "inlineStr") return richText(child(c, "is"));
    const pugi::xml_node v = child(c, "v");
    if (!v) return {};
    const std::string_view text = v.text().get();
    if (type == "s") {
      size_t index = 0;
      const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), index);
      if (ec != std::errc() || end != text.data() + text.size() || index >= strings_.size())
        damaged("a cell names a shared string that the workbook does not have");
      return strings_[index];
    }
    if (type == "str" || type == "e" || type == "d") return cellText(text);
    if (type == "b") return text == "1" ? "TRUE" : "FALSE";
    double x = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), x);
    if (ec != std::errc() || end != text.data() + text.size()) return cellText(text);
    return numberText(x);
  }

  const std::vector<std::string>& strings_;
  const ReadLimits& limits_;
  uint64_t& cells_;
};

// The workbook part: named by the package's office-document relationship, by default
// xl/workbook.xml.
std::string workbookPart(const ZipArchive& zip, const ReadLimits& limits) {
  for (const auto& [id, rel] : relationships(zip, "", limits))
    if (endsWith(rel.type, "/officeDocument")) return rel.target;
  if (zip.has("xl/workbook.xml")) return "xl/workbook.xml";
  refuse(zip.has("[Content_Types].xml") ? ReadFault::Damaged : ReadFault::NotAWorkbook,
         "the archive has no workbook part");
}

Workbook readPackage(const ZipArchive& zip, const ReadLimits& limits) {
  const std::string part = workbookPart(zip, limits);
  std::optional<std::string> bytes = zip.read(part, limits.maxPartBytes);
  if (!bytes) damaged("the workbook part " + part + " is missing");
  const XmlPart workbook(std::move(*bytes), part);
  const std::map<std::string, Relationship> rels = relationships(zip, part, limits);

  std::vector<std::string> strings;
  for (const auto& [id, rel] : rels)
    if (endsWith(rel.type, "/sharedStrings")) strings = sharedStrings(zip, rel.target, limits);

  Workbook book;
  uint64_t cells = 0;
  forEachChild(child(workbook.root(), "sheets"), "sheet", [&](pugi::xml_node s) {
    const char* id = attribute(s, "id");
    const auto rel = id ? rels.find(id) : rels.end();
    if (rel == rels.end()) damaged("a sheet of the workbook has no part");
    // Chart and dialog sheets are not worksheets: positions count worksheets only.
    if (!endsWith(rel->second.type, "/worksheet")) return;
    std::optional<std::string> sheetBytes = zip.read(rel->second.target, limits.maxPartBytes);
    if (!sheetBytes) damaged("the sheet part " + rel->second.target + " is missing");
    const XmlPart xml(std::move(*sheetBytes), rel->second.target);
    const char* name = attribute(s, "name");
    Sheet& sheet = book.addSheet(cellText(name ? name : ""));
    SheetReader(strings, limits, cells).read(xml.root(), sheet);
  });
  return book;
}

}  // namespace

WorkbookRead readXlsx(const fs::path& path, const ReadLimits& limits) {
  WorkbookRead result;
  try {
    const ZipArchive zip(path);
    result.book = readPackage(zip, limits);
  } catch (const Refusal& r) {
    result.fault = r.fault;
    result.detail = r.detail;
  } catch (const std::bad_alloc&) {
    result.fault = ReadFault::TooLarge;
    result.detail = "the workbook does not fit into memory";
  }
  return result;
}

}  // namespace qj::legacy
