#include "dbrn/dbrn_workbook.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "dbrn/dbrn_io.h"
#include "records/text.h"

namespace qj {

using office::columnRange;
using office::HAlign;
using office::rowRange;
using office::SheetOutput;
using office::Workbook;
using office::WorkbookOutput;

int sectionSheetCount(int64_t sections) {
  const int64_t extra = sections > 0 ? (sections - 1) / kWorkbookSheetRows : 0;
  return 1 + static_cast<int>(std::min<int64_t>(extra, kMaxSectionSheets - 1));
}

int houseSheetCount(int64_t houses) {
  const int64_t extra = houses > 0 ? (houses - 1) / kWorkbookSheetRows : 0;
  return 1 + static_cast<int>(std::min<int64_t>(extra, kMaxHouseSheets - 1));
}

int sectionColumnOffset(int level) {
  return level == 1 ? 1 : 0;
}

namespace {

std::string number(int64_t n) {
  return std::to_string(n);
}

// The cells of the columns that are blank when repeated: a cell stays empty when its value
// equals the value of the same column in the previous data row of the sheet.
class RepeatBlanking {
 public:
  explicit RepeatBlanking(int columns) : last_(static_cast<size_t>(columns)) {}

  // The text to write for `value` in column `col` of the next row.
  std::string cell(int col, const std::string& value) {
    std::optional<std::string>& last = last_[static_cast<size_t>(col)];
    const bool repeated = last && *last == value;
    last = value;
    return repeated ? std::string() : value;
  }

 private:
  std::vector<std::optional<std::string>> last_;
};

// A title row: bold, `points` high, wrapped, over `columns` columns whatever number of them
// holds a title.
void formatTitleRow(SheetOutput& sheet, int columns, double points) {
  sheet.setBold(rowRange(0, columns));
  sheet.setRowHeight(0, points);
  sheet.setWrap(rowRange(0, columns));
}

void setWidths(SheetOutput& sheet, std::initializer_list<double> widths, int from = 0) {
  int col = from;
  for (double w : widths) sheet.setColumnWidth(col++, w);
}

void setRow(SheetOutput& sheet, int row, const std::vector<std::string>& cells) {
  for (size_t c = 0; c < cells.size(); ++c) sheet.set(row, static_cast<int>(c), cells[c]);
}

// ---- info sheet ----

void addInfoSheet(WorkbookOutput& book, const DbrnFile& db, const ShellTables& t) {
  const DbrnHeader& h = db.header;
  const bool two = db.level() == 2;
  SheetOutput& sheet = book.addSheet(t.shell(422));
  sheet.setAlign(columnRange(0, kInfoSheetRows), HAlign::Left);
  sheet.setColumnWidth(0, 57);
  sheet.setBold(columnRange(1, kInfoSheetRows));
  sheet.setAlign(columnRange(1, kInfoSheetRows), HAlign::Left);
  sheet.setColumnWidth(1, 81);
  const std::string kind = dbrnKindCaption(h.dbKind).resolve(t);
  std::vector<std::pair<std::string, std::string>> rows = {
      {trimmed(t.shell(788)), h.language},
      {trimmed(t.shell(222)), h.dbCode},
      {t.shell(260), h.dbName},
      {t.shell(672), kind},
      {t.shell(534), two ? "1" : "0"},
      {trimmed(t.shell(721)), number(h.streetTypeCount)},
      {trimmed(t.shell(739)), number(h.streetCount)}};
  if (two) {
    rows.push_back({trimmed(t.shell(723)), number(h.houseCount)});
    rows.push_back({trimmed(t.shell(738)), number(h.nodeCount)});
    rows.push_back({trimmed(t.shell(735)), number(h.sectionCount)});
    rows.push_back({t.shell(139), h.dbDate});
  } else {
    rows.push_back({trimmed(t.shell(738)), number(h.nodeCount)});
    rows.push_back({trimmed(t.shell(735)), number(h.sectionCount)});
    rows.push_back({t.shell(139), h.dbDate});
  }
  for (size_t r = 0; r < rows.size(); ++r) {
    sheet.set(static_cast<int>(r), 0, rows[r].first);
    sheet.set(static_cast<int>(r), 1, rows[r].second);
  }
}

// ---- street types and streets ----

void addStreetTypeSheet(WorkbookOutput& book, const DbrnFile& db, const ShellTables& t) {
  SheetOutput& sheet = book.addSheet(trimmed(t.shell(682)));
  setWidths(sheet, {20, 8, 12});
  formatTitleRow(sheet, 3, 42);
  setRow(sheet, 0, {t.shell(678), t.shell(645), trimmed(t.shell(728))});
  RepeatBlanking blank(3);
  int row = 1;
  for (const StreetTypeRec& type : db.streetTypes)
    setRow(sheet, row++, {type.fullName, type.shortName, blank.cell(2, number(type.streetCount))});
}

void addStreetSheet(WorkbookOutput& book, const DbrnFile& db, const ShellTables& t) {
  const bool two = db.level() == 2;
  SheetOutput& sheet = book.addSheet(t.shell(698));
  setWidths(sheet, {6.5, 8, 25, 12.5});
  if (two) sheet.setColumnWidth(4, 13);
  formatTitleRow(sheet, 5, 42);
  setRow(sheet, 0,
         {t.shell(404), t.shell(645), t.shell(266), t.shell(533) + " (*)",
          two ? trimmed(t.shell(722)) : std::string()});
  RepeatBlanking blank(5);
  for (size_t i = 0; i < db.streets.size(); ++i) {
    const StreetRec& s = db.streets[i];
    const std::string houses = two ? blank.cell(4, number(db.streetHouseCounts[i])) : "";
    setRow(sheet, static_cast<int>(i) + 1,
           {number(static_cast<int64_t>(i) + 1), blank.cell(1, s.streetType), s.name,
            s.state == kStreetReferenced ? "*" : "", houses});
  }
}

// ---- transit sections ----

std::string sheetName(const std::string& base, int k) {
  return base + " (" + number(k) + ")";
}

std::vector<std::string> sectionTitles(int level, const ShellTables& t) {
  std::vector<std::string> titles = {trimmed(t.shell(402)), t.shell(404), t.shell(646),
                                     t.shell(266)};
  if (level == 1) {
    titles.push_back(t.shell(386));
    titles.push_back(t.shell(384));
    titles.push_back(t.shell(540) + " (*)");
  } else {
    titles.push_back(t.shell(396));
    titles.push_back(t.shell(395));
  }
  const std::vector<std::string> rest = {
      t.shell(399),           trimmed(t.shell(391)),
      t.shell(144),           t.shell(616) + " (" + t.shortText(15) + ")",
      t.shell(1058) + " (*)", t.shell(537) + " (*)",
      t.shell(536) + " (*)",  trimmed(t.shell(729))};
  titles.insert(titles.end(), rest.begin(), rest.end());
  // The turn's number written directly before the text, built by appending: GCC 12 warns
  // falsely of an overlapping copy in number + text.
  const auto numbered = [](int n, const std::string& text) {
    std::string title = number(n);
    title += text;
    return title;
  };
  for (int n = 1; n <= kMaxTurns; ++n) {
    titles.push_back(numbered(n, trimmed(t.shell(215))));
    titles.push_back(numbered(n, t.shell(164)));
  }
  titles.resize(kSectionSheetColumns);  // level 2: column AI stays empty
  return titles;
}

void setSectionWidths(SheetOutput& sheet, int level) {
  if (level == 1)
    setWidths(sheet, {6.5, 6.5, 7.5, 25, 10.5, 10, 14.5, 12, 10.5, 7, 9.5, 11.5, 15, 14.5, 13});
  else
    setWidths(sheet, {6.5, 6.5, 7.5, 25, 10.5, 10, 12, 10.5, 7, 10.5, 11.5, 16.5, 16, 13.5});
  const int first = 14 + sectionColumnOffset(level);
  for (int n = 0; n < kMaxTurns; ++n) {
    sheet.setColumnWidth(first + 2 * n, 10);
    sheet.setColumnWidth(first + 2 * n + 1, 6);
  }
}

std::vector<std::string> sectionRow(const DbrnFile& db, const TransitSectionRec& s, int rowNo,
                                    RepeatBlanking& blank) {
  const StreetRec& street = db.streets[static_cast<size_t>(s.streetIndex)];
  std::vector<std::string> cells = {number(rowNo),
                                    blank.cell(1, number(s.streetIndex + 1)),
                                    blank.cell(2, street.streetType),
                                    blank.cell(3, street.name),
                                    s.houseFrom,
                                    s.houseTo};
  if (db.level() == 1) cells.push_back(s.nonStdNumbering);
  const std::vector<std::string> rest = {s.startNode,
                                         s.endNode,
                                         s.length,
                                         s.speed,
                                         s.closed,
                                         s.prevObjectsClosed,
                                         s.reverseObjectsClosed,
                                         number(static_cast<int64_t>(s.turns.size()))};
  cells.insert(cells.end(), rest.begin(), rest.end());
  for (const TurnRec& turn : s.turns) {
    cells.push_back(turn.node);
    cells.push_back(turn.direction);
  }
  return cells;
}

void addSectionSheets(WorkbookOutput& book, const DbrnFile& db, const ShellTables& t) {
  const int level = db.level();
  const std::vector<std::string> titles = sectionTitles(level, t);
  const int sheets = sectionSheetCount(static_cast<int64_t>(db.sections.size()));
  for (int k = 1; k <= sheets; ++k) {
    SheetOutput& sheet = book.addSheet(sheetName(t.shortText(58), k));
    setSectionWidths(sheet, level);
    formatTitleRow(sheet, kSectionSheetColumns, 55);
    setRow(sheet, 0, titles);
    RepeatBlanking blank(kSectionSheetColumns);
    const size_t first = static_cast<size_t>(k - 1) * kWorkbookSheetRows;
    const size_t last = std::min(first + kWorkbookSheetRows, db.sections.size());
    for (size_t i = first; i < last; ++i) {
      const int rowNo = static_cast<int>(i - first) + 1;
      setRow(sheet, rowNo, sectionRow(db, db.sections[i], rowNo, blank));
    }
  }
}

// ---- houses ----

std::vector<std::string> houseTitles(const ShellTables& t) {
  std::vector<std::string> titles = {t.shell(404),         trimmed(t.shell(517)), t.shell(646),
                                     t.shell(266),         t.shell(711),          t.shell(612),
                                     trimmed(t.shell(730))};
  const std::string sectionTitle[kMaxLinks] = {t.shell(375), t.shell(376), t.shell(377),
                                               t.shell(378)};
  for (int n = 1; n <= kMaxLinks; ++n) {
    titles.push_back(sectionTitle[n - 1]);
    titles.push_back(t.shell(594) + " " + number(n) + trimmed(t.shell(165)));
    titles.push_back(t.shell(593) + " " + number(n) + t.shell(166));
  }
  return titles;
}

std::vector<std::string> houseRow(const DbrnFile& db, const HouseRec& h, int64_t position,
                                  RepeatBlanking& blank) {
  const StreetRec& street = db.streets[static_cast<size_t>(h.streetIndex)];
  std::vector<std::string> cells = {blank.cell(0, number(h.streetIndex + 1)),
                                    number(position),
                                    blank.cell(2, street.streetType),
                                    blank.cell(3, street.name),
                                    h.houseNo,
                                    h.yardNo > 0 ? number(h.yardNo) : "",
                                    number(static_cast<int64_t>(h.links.size()))};
  for (const HouseLinkRec& l : h.links) {
    cells.push_back(number(l.sectionNo));
    cells.push_back(number(l.distToExit));
    cells.push_back(number(l.distExitToEnd));
  }
  return cells;
}

}  // namespace

void layDbrnWorkbook(const DbrnFile& db, const ShellTables& texts, WorkbookOutput& book) {
  addInfoSheet(book, db, texts);
  addStreetTypeSheet(book, db, texts);
  addStreetSheet(book, db, texts);
  addSectionSheets(book, db, texts);
}

void layDbrnHouseWorkbook(const DbrnFile& db, const ShellTables& texts, WorkbookOutput& book) {
  const std::vector<std::string> titles = houseTitles(texts);
  const int sheets = houseSheetCount(static_cast<int64_t>(db.houses.size()));
  // A house's position among the houses of its street goes on across sheets.
  int64_t position = 0;
  int32_t street = -1;
  for (int k = 1; k <= sheets; ++k) {
    SheetOutput& sheet = book.addSheet(sheetName(trimmed(texts.shell(160)), k));
    setWidths(sheet,
              {6.5, 8, 7.5, 25, 10.5, 12.5, 9.5, 7, 14, 13, 7, 14, 13, 7, 14, 13, 7, 14, 13});
    formatTitleRow(sheet, kHouseSheetColumns, 55);
    setRow(sheet, 0, titles);
    RepeatBlanking blank(kHouseSheetColumns);
    const size_t first = static_cast<size_t>(k - 1) * kWorkbookSheetRows;
    const size_t last = std::min(first + kWorkbookSheetRows, db.houses.size());
    for (size_t i = first; i < last; ++i) {
      const HouseRec& h = db.houses[i];
      position = h.streetIndex == street ? position + 1 : 1;
      street = h.streetIndex;
      setRow(sheet, static_cast<int>(i - first) + 1, houseRow(db, h, position, blank));
    }
  }
}

int64_t dbrnWorkbookRows(const DbrnFile& db) {
  const auto sections = static_cast<int64_t>(db.sections.size());
  return kInfoSheetRows + 1 + static_cast<int64_t>(db.streetTypes.size()) + 1 +
         static_cast<int64_t>(db.streets.size()) + sectionSheetCount(sections) + sections;
}

int64_t dbrnHouseWorkbookRows(const DbrnFile& db) {
  const auto houses = static_cast<int64_t>(db.houses.size());
  return houseSheetCount(houses) + houses;
}

Workbook dbrnWorkbook(const DbrnFile& db, const ShellTables& texts) {
  Workbook book;
  layDbrnWorkbook(db, texts, book);
  return book;
}

Workbook dbrnHouseWorkbook(const DbrnFile& db, const ShellTables& texts) {
  Workbook book;
  layDbrnHouseWorkbook(db, texts, book);
  return book;
}

}  // namespace qj
