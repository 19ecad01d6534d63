#include "contenders/expat_reader.h"

#include <expat.h>
#include <zip.h>

#include <charconv>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "office/workbook_reader.h"
#include "records/cp1251.h"

namespace bench {
namespace {

using qj::office::Sheet;
using qj::office::SheetFiller;
using qj::office::Workbook;

// Names as the file spells them ("c", or "x:c" where the file gives the namespace a prefix):
// only the local part counts. Expat's namespace processing would hand over every name with
// its namespace's URI in front, which costs more than the parsing of the names.
std::string_view local(const XML_Char* name) {
  const std::string_view n(name);
  const size_t colon = n.find(':');
  return colon == std::string_view::npos ? n : n.substr(colon + 1);
}

bool prefixed(const XML_Char* name) {
  return std::string_view(name).find(':') != std::string_view::npos;
}

// The value of an attribute by its local name ("r:id" is "id", prefixed).
const XML_Char* attribute(const XML_Char** atts, std::string_view name, bool withPrefix = false) {
  for (; *atts; atts += 2)
    if (local(atts[0]) == name && prefixed(atts[0]) == withPrefix) return atts[1];
  return nullptr;
}

// UTF-8 in code page 1251; plain ASCII as it stands.
std::string_view toCodePage(std::string_view utf8, std::string& scratch) {
  bool plain = true;
  for (const char c : utf8) plain &= static_cast<unsigned char>(c) < 0x80 && c != '_';
  if (plain) return utf8;
  scratch = qj::cp1251::fromUtf8(utf8.find("_x") == std::string_view::npos
                                     ? std::string(utf8)
                                     : qj::office::unescapeText(utf8));
  return scratch;
}

class Archive {
 public:
  explicit Archive(const std::filesystem::path& file) {
    int error = 0;
    zip_ = zip_open(file.c_str(), ZIP_RDONLY, &error);
    if (!zip_) throw ExpatError("not a zip archive: " + file.string());
  }
  ~Archive() { zip_discard(zip_); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // Parses the part as libzip unpacks it, straight into expat's buffer. False when the
  // archive has no such part.
  template <typename Handler>
  bool parse(const std::string& part, Handler& handler) const {
    zip_file_t* f = zip_fopen(zip_, part.c_str(), ZIP_FL_NOCASE);
    if (!f) return false;
    const std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> closer(f, zip_fclose);
    const std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate(nullptr),
                                                                         XML_ParserFree);
    XML_Parser p = parser.get();
    XML_SetUserData(p, &handler);
    XML_SetElementHandler(
        p,
        [](void* h, const XML_Char* name, const XML_Char** atts) {
          static_cast<Handler*>(h)->start(local(name), atts);
        },
        [](void* h, const XML_Char* name) { static_cast<Handler*>(h)->end(local(name)); });
    XML_SetCharacterDataHandler(p, [](void* h, const XML_Char* s, int n) {
      static_cast<Handler*>(h)->text(std::string_view(s, static_cast<size_t>(n)));
    });
    constexpr int kChunk = 1 << 18;
    for (;;) {
      void* buffer = XML_GetBuffer(p, kChunk);
      if (!buffer) throw ExpatError("out of memory");
      const zip_int64_t n = zip_fread(f, buffer, kChunk);
      if (n < 0) throw ExpatError("the part " + part + " cannot be unpacked");
      if (XML_ParseBuffer(p, static_cast<int>(n), n == 0) != XML_STATUS_OK)
        throw ExpatError("the part " + part + ": " + XML_ErrorString(XML_GetErrorCode(p)));
      if (n == 0) return true;
    }
  }

 private:
  zip_t* zip_ = nullptr;
};

std::string folderOf(const std::string& part) {
  const size_t slash = part.rfind('/');
  return slash == std::string::npos ? std::string() : part.substr(0, slash + 1);
}

struct Relationship {
  std::string type, target;
};

// The relationships of a part by id, their targets resolved against its folder.
std::map<std::string, Relationship> relationships(const Archive& zip, const std::string& part) {
  struct Handler {
    std::string folder;
    std::map<std::string, Relationship> rels;
    void start(std::string_view name, const XML_Char** atts) {
      if (name != "Relationship") return;
      const XML_Char *id = attribute(atts, "Id"), *target = attribute(atts, "Target");
      const XML_Char* type = attribute(atts, "Type");
      if (!id || !target) return;
      std::string t = target;
      if (t.starts_with('/'))
        t.erase(0, 1);
      else
        t = folder + t;
      rels[id] = {type ? type : "", t};
    }
    void end(std::string_view) {}
    void text(std::string_view) {}
  } handler{folderOf(part), {}};
  const size_t slash = part.rfind('/') + 1;
  zip.parse(folderOf(part) + "_rels/" + part.substr(slash) + ".rels", handler);
  return std::move(handler.rels);
}

// The text of every <si>, rich text runs joined and phonetic runs left out.
std::vector<std::string> sharedStrings(const Archive& zip, const std::string& part) {
  struct Handler {
    std::vector<std::string> strings;
    std::string utf8, scratch;
    bool inText = false;
    int phonetic = 0;
    void start(std::string_view name, const XML_Char**) {
      if (name == "si") utf8.clear();
      if (name == "rPh") ++phonetic;
      if (name == "t") inText = phonetic == 0;
    }
    void end(std::string_view name) {
      if (name == "t") inText = false;
      if (name == "rPh") --phonetic;
      if (name == "si") strings.emplace_back(toCodePage(utf8, scratch));
    }
    void text(std::string_view s) {
      if (inText) utf8 += s;
    }
  } handler;
  zip.parse(part, handler);
  return std::move(handler.strings);
}

// "BC12": column 54, row 11 (from 0).
bool parseReference(std::string_view ref, int& row, int& col) {
  size_t i = 0;
  int c = 0;
  for (; i < ref.size() && ref[i] >= 'A' && ref[i] <= 'Z'; ++i) c = c * 26 + (ref[i] - 'A' + 1);
  int r = 0;
  const auto [end, ec] = std::from_chars(ref.data() + i, ref.data() + ref.size(), r);
  if (i == 0 || ec != std::errc() || end != ref.data() + ref.size() || r < 1) return false;
  row = r - 1;
  col = c - 1;
  return true;
}

// One worksheet into its sheet.
void readSheet(const Archive& zip, const std::string& part, const std::vector<std::string>& strings,
               Sheet& sheet) {
  struct Handler {
    const std::vector<std::string>& strings;
    SheetFiller filler;
    int row = -1, col = -1;
    enum class Type { Number, Shared, Inline, Text } type = Type::Number;
    std::string utf8, scratch;
    bool collecting = false;
    int phonetic = 0;

    void start(std::string_view name, const XML_Char** atts) {
      if (name == "c") {
        const XML_Char* r = attribute(atts, "r");
        if (!r || !parseReference(r, row, col)) ++col;
        const XML_Char* t = attribute(atts, "t");
        const std::string_view ts = t ? t : "n";
        type = ts == "s"           ? Type::Shared
               : ts == "inlineStr" ? Type::Inline
               : ts == "n"         ? Type::Number
                                   : Type::Text;
        utf8.clear();
      } else if (name == "v") {
        collecting = type != Type::Inline;
      } else if (name == "t") {
        collecting = type == Type::Inline && phonetic == 0;
      } else if (name == "rPh") {
        ++phonetic;
      } else if (name == "row") {
        const XML_Char* r = attribute(atts, "r");
        row = r ? std::atoi(r) - 1 : row + 1;
        col = -1;
      }
    }
    void end(std::string_view name) {
      if (name == "v" || name == "t") {
        collecting = false;
      } else if (name == "rPh") {
        --phonetic;
      } else if (name == "c") {
        cell();
      }
    }
    void text(std::string_view s) {
      if (collecting) utf8 += s;
    }

    void cell() {
      if (utf8.empty()) return;
      switch (type) {
        case Type::Shared: {
          size_t i = 0;
          const auto [end, ec] = std::from_chars(utf8.data(), utf8.data() + utf8.size(), i);
          if (ec != std::errc() || i >= strings.size())
            throw ExpatError("a shared string out of range");
          filler.add(row, col, strings[i]);
          return;
        }
        case Type::Number: {
          double x = 0;
          const auto [end, ec] = std::from_chars(utf8.data(), utf8.data() + utf8.size(), x);
          if (ec != std::errc()) throw ExpatError("a number that is none: " + utf8);
          filler.add(row, col, qj::office::numberText(x));
          return;
        }
        default: filler.add(row, col, toCodePage(utf8, scratch));
      }
    }
  } handler{strings, SheetFiller(sheet)};
  if (!zip.parse(part, handler)) throw ExpatError("no part " + part);
  handler.filler.finish();
}

}  // namespace

Workbook readWithExpat(const std::filesystem::path& file) {
  const Archive zip(file);
  std::string bookPart;
  for (const auto& [id, rel] : relationships(zip, ""))
    if (rel.type.ends_with("/officeDocument")) bookPart = rel.target;
  if (bookPart.empty()) throw ExpatError("no workbook part");

  struct Handler {
    std::vector<std::pair<std::string, std::string>> sheets;  // name, relationship id
    void start(std::string_view name, const XML_Char** atts) {
      if (name != "sheet") return;
      const XML_Char *n = attribute(atts, "name"), *id = attribute(atts, "id", true);
      if (n && id) sheets.emplace_back(n, id);
    }
    void end(std::string_view) {}
    void text(std::string_view) {}
  } book;
  if (!zip.parse(bookPart, book)) throw ExpatError("no workbook part");

  const auto rels = relationships(zip, bookPart);
  std::vector<std::string> strings;
  for (const auto& [id, rel] : rels)
    if (rel.type.ends_with("/sharedStrings")) strings = sharedStrings(zip, rel.target);

  Workbook out;
  std::string scratch;
  for (const auto& [name, id] : book.sheets) {
    const auto rel = rels.find(id);
    if (rel == rels.end() || !rel->second.type.ends_with("/worksheet")) continue;
    Sheet& sheet = out.addSheet(std::string(toCodePage(name, scratch)));
    readSheet(zip, rel->second.target, strings, sheet);
  }
  return out;
}

}  // namespace bench
