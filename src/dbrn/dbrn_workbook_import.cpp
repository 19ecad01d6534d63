#include "dbrn/dbrn_workbook_import.h"

#include "dbrn/dbrn_workbook.h"
#include "office/workbook_messages.h"
#include "office/workbook_reader.h"
#include "records/cp1251.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj {
namespace {

// A workbook that stops the import, with the message that says why.
struct ImportStop {
  Message message;
};

// The cells of a database workbook by sheet (1-based), row (1-based, as the spreadsheet
// counts them) and column (0-based); every conversion that fails names its cell, and the
// workbook's file, as the main and the house workbook both have a sheet 1.
class Cells {
 public:
  Cells(const office::Workbook& book, std::string_view fileName)
      : book_(book), head_(shell(132) + " (\"" + val(fileName) + "\")") {}

  const office::Sheet& sheet(int k) const {
    const office::Sheet* s = book_.sheet(static_cast<size_t>(k - 1));
    if (!s) throw ImportStop{office::missingSheetMessage(head_, k)};
    return *s;
  }
  std::string_view text(int k, int row, int col) const { return sheet(k).cell(row - 1, col); }
  std::string trimmedText(int k, int row, int col) const { return trimmed(text(k, row, col)); }

  int32_t integer(int k, int row, int col) const {
    const std::optional<int32_t> n = parseInt(text(k, row, col));
    if (!n) bad(k, row, col, shell(980));
    return *n;
  }
  // The integer of a column that is blank when repeated: an empty cell takes the last value
  // met above it on the sheet (`last`), or `none` before the first.
  int32_t carried(int k, int row, int col, std::optional<int32_t>& last,
                  std::optional<int32_t> none = std::nullopt) const {
    if (trimmedText(k, row, col).empty()) {
      if (last) return *last;
      if (none) return *none;
      bad(k, row, col, shell(980));
    }
    last = integer(k, row, col);
    return *last;
  }

  [[noreturn]] void bad(int k, int row, int col, const Text& why) const {
    throw ImportStop{office::cellMessage(head_, k, row, office::columnLetters(col), why)};
  }

 private:
  const office::Workbook& book_;
  Text head_;
};

// The info sheet's column B.
constexpr int kValue = 1;

Message countMessage(const Text& head) {
  return warningMessage(head + ". " + shell(132) + ".");
}

Message tooManyMessage(const Text& head, int32_t count, const char* limit) {
  return warningMessage(head + " " + num(count) + " (>" + limit + "). " + shell(132) + ".");
}

// The counts of the info sheet, in the order they are checked.
void checkCounts(const DbrnHeader& h, int level) {
  if (h.streetTypeCount <= 0) throw ImportStop{countMessage(shell(330))};
  if (h.streetTypeCount > 100)
    throw ImportStop{tooManyMessage(shell(624), h.streetTypeCount, "100")};
  if (h.streetCount <= 0) throw ImportStop{countMessage(shell(333))};
  if (h.streetCount > 10000) throw ImportStop{tooManyMessage(shell(627), h.streetCount, "10000")};
  if (level == 2) {
    if (h.houseCount <= 0) throw ImportStop{countMessage(shell(329))};
    if (h.houseCount > 300000) throw ImportStop{tooManyMessage(shell(622), h.houseCount, "300000")};
  }
  if (h.nodeCount <= 0) throw ImportStop{countMessage(shell(332))};
  if (h.nodeCount > 99999) throw ImportStop{tooManyMessage(shell(626), h.nodeCount, "99999")};
  if (h.sectionCount <= 0) throw ImportStop{countMessage(shell(331))};
  if (h.sectionCount > 200000)
    throw ImportStop{tooManyMessage(shell(625), h.sectionCount, "200000")};
}

// Sheet 1: the language, the identity, the kind and the counts.
DbrnHeader readInfo(const Cells& cells, std::string_view langCode) {
  DbrnHeader h;
  h.language = cut(cells.trimmedText(1, 1, kValue), 3);
  if (h.language != langCode) throw ImportStop{workbookLanguageMessage(h.language, langCode)};
  // A spreadsheet keeps a code typed as 001 as the number 1.
  h.dbCode = office::digitCodeText(cells.text(1, 2, kValue), 3);
  h.dbName = cut(cells.text(1, 3, kValue), 70);
  h.dbKind = cut(cells.trimmedText(1, 4, kValue), 4);
  const int level = h.level();
  if (level != 1 && level != 2)
    throw ImportStop{warningMessage(shell(208) + ". " + shell(133) + ".")};
  h.streetTypeCount = cells.integer(1, 6, kValue);
  h.streetCount = cells.integer(1, 7, kValue);
  int row = 8;
  if (level == 2) h.houseCount = cells.integer(1, row++, kValue);
  h.nodeCount = cells.integer(1, row++, kValue);
  h.sectionCount = cells.integer(1, row++, kValue);
  checkCounts(h, level);
  h.dbDate = cut(cells.text(1, row, kValue), 40);
  return h;
}

void readStreetTypes(const Cells& cells, DbrnFile& db) {
  std::optional<int32_t> count;
  for (int r = 0; r < db.header.streetTypeCount; ++r) {
    const int row = r + 2;
    StreetTypeRec t;
    t.fullName = cutTrimmed(cells.text(2, row, 0), 20);
    t.shortName = cutTrimmed(cells.text(2, row, 1), 4);
    t.streetCount = cells.carried(2, row, 2, count, 0);
    db.streetTypes.push_back(std::move(t));
  }
}

void readStreets(const Cells& cells, DbrnFile& db) {
  const bool two = db.level() == 2;
  std::string type;
  std::optional<int32_t> houses;
  for (int r = 0; r < db.header.streetCount; ++r) {
    const int row = r + 2;
    StreetRec s;
    if (const std::string b = cutTrimmed(cells.text(3, row, 1), 4); !b.empty()) type = b;
    s.streetType = type;
    s.name = cutTrimmed(cells.text(3, row, 2), 30);
    // A street without the mark enters the wizard as deleted: its step drops it.
    s.state = cells.trimmedText(3, row, 3).empty() ? "2" : std::string(kStreetReferenced);
    s.streetNo = r;
    db.streets.push_back(std::move(s));
    if (two) db.streetHouseCounts.push_back(cells.carried(3, row, 4, houses, 0));
  }
}

// The turn list of a section from its ten node and direction pairs: the first forward turn,
// the first turn back, then every right turn and every left turn in column order, as many
// as the turn count allows. Pairs without a node, with another direction, or a second
// forward or back turn are dropped.
std::vector<TurnRec> turnList(const std::vector<TurnRec>& pairs, int32_t turnCount) {
  std::vector<TurnRec> turns;
  const auto take = [&](const char* direction, bool all) {
    for (const TurnRec& t : pairs) {
      if (static_cast<int32_t>(turns.size()) >= turnCount) return;
      if (t.node.empty() || t.direction != direction) continue;
      turns.push_back(t);
      if (!all) return;
    }
  };
  take("^", false);
  take("v", false);
  take(">", true);
  take("<", true);
  return turns;
}

TransitSectionRec readSection(const Cells& cells, int k, int row, int level,
                              std::optional<int32_t>& street) {
  TransitSectionRec s;
  s.streetIndex = cells.carried(k, row, 1, street) - 1;
  const auto field = [&](int col, size_t width) {
    return cutTrimmed(cells.text(k, row, col), width);
  };
  s.houseFrom = field(4, 9);
  s.houseTo = field(5, 9);
  if (s.houseFrom.empty()) s.houseFrom = " ";
  if (s.houseTo.empty()) s.houseTo = " ";
  if (level == 1) s.nonStdNumbering = field(6, 1);
  // From the start node on, the columns of level 2 stand one to the left of level 1's.
  const int c = 6 + sectionColumnOffset(level);
  s.startNode = field(c, 5);
  s.endNode = field(c + 1, 5);
  s.length = field(c + 2, 10);
  s.speed = field(c + 3, 10);
  s.closed = field(c + 4, 1);
  s.prevObjectsClosed = field(c + 5, 1);
  s.reverseObjectsClosed = field(c + 6, 1);
  int32_t turnCount = cells.integer(k, row, c + 7);
  if (turnCount <= 0 || turnCount > kMaxTurns) turnCount = kMaxTurns;
  std::vector<TurnRec> pairs;
  for (int q = 0; q < kMaxTurns; ++q)
    pairs.push_back({field(c + 8 + 2 * q, 5), field(c + 9 + 2 * q, 1)});
  s.turns = turnList(pairs, turnCount);
  return s;
}

void readSections(const Cells& cells, DbrnFile& db) {
  const int level = db.level();
  const int32_t count = db.header.sectionCount;
  db.sections.reserve(static_cast<size_t>(count));
  for (int k = 0; k < sectionSheetCount(count); ++k) {
    const int sheet = 4 + k;
    std::optional<int32_t> street;  // carried down on this sheet only
    const int32_t first = k * kWorkbookSheetRows;
    const int32_t rows = std::min(count - first, kWorkbookSheetRows);
    for (int32_t i = 0; i < rows; ++i) {
      const int row = i + 2;
      db.sections.push_back(readSection(cells, sheet, row, level, street));
      const int32_t index = db.sections.back().streetIndex;
      if (index < 0 || index >= db.header.streetCount) cells.bad(sheet, row, 1, shell(1056));
    }
  }
}

}  // namespace

Message workbookLanguageMessage(std::string_view workbookLang, std::string_view langCode) {
  return warningMessage(shell(785) + " (" + val(workbookLang) + "), " + shell(786).trimmed() +
                        " (" + val(langCode) + "), " + shell(787) + ".");
}

Message houseWorkbookMissingMessage(std::string_view houseWorkbookName) {
  return warningMessage(shell(27) + ": \"" + val(houseWorkbookName) + "\". " + shell(433) + ".");
}

fs::path houseWorkbookPath(const fs::path& mainWorkbook) {
  fs::path house = mainWorkbook;
  house.replace_filename(mainWorkbook.stem().string() + "#" + mainWorkbook.extension().string());
  return house;
}

DbrnWorkbookRead readDbrnWorkbook(const office::Workbook& book, std::string_view fileName,
                                  std::string_view langCode) {
  DbrnWorkbookRead result;
  const Cells cells(book, fileName);
  try {
    DbrnFile db;
    db.header = readInfo(cells, langCode);
    // Records are read one by one: counts were checked against their limits, and a sheet
    // shorter than its count reads as empty cells, which the wizard's steps then refuse.
    readStreetTypes(cells, db);
    readStreets(cells, db);
    readSections(cells, db);
    result.db = std::move(db);
  } catch (const ImportStop& stop) {
    result.message = stop.message;
  }
  return result;
}

std::optional<Message> readDbrnHouseWorkbook(const office::Workbook& book,
                                             std::string_view fileName, DbrnFile& db) {
  const Cells cells(book, fileName);
  std::vector<HouseRec> houses;
  try {
    const int32_t count = db.header.houseCount;
    houses.reserve(static_cast<size_t>(count));
    for (int k = 0; k < houseSheetCount(count); ++k) {
      const int sheet = 1 + k;
      std::optional<int32_t> street;  // carried down on this sheet only
      const int32_t first = k * kWorkbookSheetRows;
      const int32_t rows = std::min(count - first, kWorkbookSheetRows);
      for (int32_t i = 0; i < rows; ++i) {
        const int row = i + 2;
        HouseRec h;
        h.streetIndex = cells.carried(sheet, row, 0, street) - 1;
        if (h.streetIndex < 0 || h.streetIndex >= db.header.streetCount)
          cells.bad(sheet, row, 0, shell(1056));
        h.houseNo = cutTrimmed(cells.text(sheet, row, 4), 9);
        h.yardNo = cells.trimmedText(sheet, row, 5).empty() ? 0 : cells.integer(sheet, row, 5);
        if (h.yardNo < 0) cells.bad(sheet, row, 5, shell(981));
        for (int n = 0; n < kMaxLinks; ++n) {
          const int col = 7 + 3 * n;  // H, K, N, Q
          if (cells.trimmedText(sheet, row, col).empty()) continue;
          HouseLinkRec l;
          l.sectionNo = cells.integer(sheet, row, col);
          if (l.sectionNo < 1 || l.sectionNo > db.header.sectionCount)
            cells.bad(sheet, row, col, shell(1057));
          l.distToExit = cells.integer(sheet, row, col + 1);
          l.distExitToEnd = cells.integer(sheet, row, col + 2);
          h.links.push_back(l);
        }
        houses.push_back(std::move(h));
      }
    }
  } catch (const ImportStop& stop) {
    return stop.message;
  }
  db.houses = std::move(houses);
  return std::nullopt;
}

ImportedDbrnWorkbook importDbrnWorkbook(const fs::path& file, std::string_view langCode,
                                        const WorkProgress& progress) {
  ImportedDbrnWorkbook result;
  result.workbookName = cp1251::fromUtf8(file.filename().string());
  const office::WorkbookRead main = office::readWorkbook(file, {}, progress);
  if (!main.book) {
    result.messages.push_back(office::workbookReadMessage(result.workbookName, main.fault));
    return result;
  }
  DbrnWorkbookRead read = readDbrnWorkbook(*main.book, result.workbookName, langCode);
  if (!read.db) {
    result.messages.push_back(*read.message);
    return result;
  }
  DbrnFile& db = *read.db;
  if (db.level() == 2) {
    const fs::path housePath = houseWorkbookPath(file);
    std::error_code ec;
    if (!fs::exists(housePath, ec)) {
      result.messages.push_back(houseWorkbookMissingMessage(cp1251::fromUtf8(housePath.string())));
    } else {
      // The rows of the house workbook go on from those of the main one.
      int64_t mainRows = 0;
      for (const office::Sheet& sheet : main.book->sheets()) mainRows += sheet.rowCount();
      const WorkProgress more = [&](int64_t done, int64_t) {
        if (progress) progress(mainRows + done, 0);
      };
      const office::WorkbookRead houses = office::readWorkbook(housePath, {}, more);
      const std::string houseName = cp1251::fromUtf8(housePath.filename().string());
      std::optional<Message> failure = houses.book
                                           ? readDbrnHouseWorkbook(*houses.book, houseName, db)
                                           : office::workbookReadMessage(houseName, houses.fault);
      if (failure) {
        result.messages.push_back(std::move(*failure));
        return result;
      }
    }
  }
  WizardDbrn w;
  w.curKind = takeOverKind(db.header.dbKind, kImportDbrn);
  w.level = db.level();
  w.kindCaption = dbrnKindCaption(w.curKind);
  w.db = std::move(db);
  result.loaded = std::move(w);
  return result;
}

}  // namespace qj
