#include "dbrn/sections_step.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "dbrn/duplicates.h"
#include "dbrn/houses_step.h"
#include "dbrn/summary_step.h"
#include "dbrn/wizard_frame.h"
#include "records/numbers.h"
#include "records/text.h"

namespace qj {

namespace sc = sectionCol;

bool SectionGridRules::typable(const GridTable&, int, int col) const {
  if (state_.viewing()) return false;
  switch (col) {
    case sc::kFrom:
    case sc::kTo:
    case sc::kStart:
    case sc::kEnd:
    case sc::kLength:
    case sc::kSpeed: return true;
    default: return false;
  }
}

FieldRule SectionGridRules::cellRule(const GridTable&, int, int col) const {
  switch (col) {
    case sc::kFrom:
    case sc::kTo:
      if (state_.level >= 2) return {KeyFilter::HouseNumberSlash, 9};
      return {KeyFilter::HouseNumber, 4};
    case sc::kStart:
    case sc::kEnd: return {KeyFilter::Digit, 5};
    default: return {KeyFilter::Decimal, 7, false, state_.decSep};
  }
}

bool isSectionHouseNumber(std::string_view text) {
  if (text.empty()) return false;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (!isDigit(text[i])) return false;
  const char last = text.back();
  if (text.size() == 1) return isDigit(last);
  return isDigit(last) || (last >= 'a' && last <= 'z') || isCyrillicLower(last);
}

bool sameParity(std::string_view a, std::string_view b) {
  const auto parityDigit = [](std::string_view t) {
    return isDigit(t.back()) ? t.back() : t[t.size() - 2];
  };
  return (parityDigit(a) - '0') % 2 == (parityDigit(b) - '0') % 2;
}

// ---- Filling the page -------------------------------------------------------------------

namespace {

// The display texts of a section's turn directions: ">" and "<" numbered in their order.
void fillTurns(GridTable& t2, int row, const std::vector<TurnRec>& turns) {
  int right = 0, left = 0;
  for (size_t k = 0; k < turns.size() && k < kMaxTurns; ++k) {
    const std::string& d = turns[k].direction;
    std::string shown = trimmed(d);
    if (shown == ">") shown += std::to_string(++right);
    if (shown == "<") shown += std::to_string(++left);
    t2.set(row, turnCol::node(static_cast<int>(k)), turns[k].node);
    t2.set(row, turnCol::direction(static_cast<int>(k)), shown);
  }
}

std::string flagCell(bool set) {
  return set ? std::string(kFlagShown) : std::string();
}

bool isNoStreetRecordType(const DbrnWizardState& state, const StreetRec& street) {
  return !state.noStreetType.empty() && trim(street.streetType) == state.noStreetType;
}

const StreetRec* streetOf(const DbrnWizardState& state, int32_t index) {
  return index >= 0 && index < state.streetTotal() ? &state.db.streets[index] : nullptr;
}

// Columns 1 and 2 of a row from its street; `previous` is the street of the row above.
void showStreet(const DbrnWizardState& state, GridTable& t1, int row, const StreetRec& street,
                const StreetRec* previous) {
  t1.set(row, sc::kType, street.streetType);
  t1.set(row, sc::kName,
         isNoStreetRecordType(state, street) ? std::string() : streetNameCell(street, previous));
}

void putSection(DbrnWizardState& state, int row, size_t r, const StreetRec* previous) {
  const TransitSectionRec& s = state.db.sections[r];
  GridTable& t1 = state.table1;
  t1.set(row, sc::kRow, std::to_string(r + 1));
  if (const StreetRec* street = streetOf(state, s.streetIndex)) {
    showStreet(state, t1, row, *street, previous);
    t1.set(row, sc::kStreet, std::to_string(s.streetIndex));
  }
  t1.set(row, sc::kFrom, s.houseFrom);
  t1.set(row, sc::kTo, s.houseTo);
  t1.set(row, sc::kNonStd, flagCell(state.level == 1 && s.hasNonStdNumbering()));
  t1.set(row, sc::kStart, s.startNode);
  t1.set(row, sc::kEnd, s.endNode);
  // Viewing writes nothing back, so its numbers show the separator in use; the other modes
  // show the texts as stored, which their records are rebuilt from.
  const auto number = [&state](const std::string& stored) {
    return state.viewing() ? shownStoredReal(stored, state.decSep) : stored;
  };
  t1.set(row, sc::kLength, number(s.length));
  const bool noSpeed = trim(s.speed).empty() && !state.viewing();
  t1.set(row, sc::kSpeed, noSpeed ? state.avgSpeedText : number(s.speed));
  t1.set(row, sc::kClosed, flagCell(s.isClosed()));
  state.table2.set(row, turnCol::kRow, std::to_string(r + 1));
  fillTurns(state.table2, row, s.turns);
  state.table3.set(row, accessCol::kRow, std::to_string(r + 1));
  // The turns page works out the reverse sections of what is entered; viewing passes it
  // without a check, so the accessibility page shows the numbers the database holds.
  if (state.viewing()) state.table3.set(row, accessCol::kReverse, trimmed(s.reverseSection));
  state.table3.set(row, accessCol::kPrevClosed, flagCell(s.arePrevObjectsClosed()));
  state.table3.set(row, accessCol::kReverseClosed, flagCell(s.areReverseObjectsClosed()));
}

void resizeSectionGrids(DbrnWizardState& state, int rows) {
  for (GridTable* t : {&state.table1, &state.table2, &state.table3}) {
    t->clear();
    t->setRows(rows);
  }
}

void fillFromRecords(DbrnWizardState& state) {
  const auto& sections = state.db.sections;
  if (sections.empty()) {
    resizeSectionGrids(state, 1);
    for (GridTable* t : {&state.table1, &state.table2, &state.table3}) t->set(0, 0, "1");
    state.table1.set(0, sc::kSpeed, state.avgSpeedText);
    state.sectionRowCount = 1;
    return;
  }
  resizeSectionGrids(state, static_cast<int>(sections.size()));
  const StreetRec* previous = nullptr;
  for (size_t r = 0; r < sections.size(); ++r) {
    putSection(state, static_cast<int>(r), r, previous);
    previous = streetOf(state, sections[r].streetIndex);
  }
  state.sectionRowCount = static_cast<int32_t>(sections.size());
}

// View mode: the sections whose street passes the filter, under their own numbers.
void fillFiltered(DbrnWizardState& state) {
  const auto& sections = state.db.sections;
  std::vector<size_t> listed;
  if (state.level <= 2)
    for (size_t r = 0; r < sections.size(); ++r) {
      const StreetRec* street = streetOf(state, sections[r].streetIndex);
      if (street && matchesPhrase(street->streetType, state.keyPhraseType) &&
          matchesPhrase(street->name, state.keyPhraseName))
        listed.push_back(r);
    }
  resizeSectionGrids(state, std::max<int>(static_cast<int>(listed.size()), 1));
  std::string previousName;
  for (size_t i = 0; i < listed.size(); ++i) {
    const int row = static_cast<int>(i);
    putSection(state, row, listed[i], nullptr);
    const std::string name = trimmed(state.table1.cell(row, sc::kName));
    if (i > 0 && !name.empty() && name == previousName)
      state.table1.set(row, sc::kName, "  " + std::string(state.table1.cell(row, sc::kName)));
    previousName = name;
  }
  state.sectionRowCount = static_cast<int32_t>(listed.size());
}

// Rows typed since the last load keep their values; only their streets are shown anew.
void refreshStreets(DbrnWizardState& state) {
  GridTable& t1 = state.table1;
  const StreetRec* previous = nullptr;
  for (int r = 0; r < t1.rows(); ++r) {
    const StreetRec* street = streetOf(state, cellInt(t1, r, sc::kStreet).value_or(-1));
    if (street) showStreet(state, t1, r, *street, previous);
    previous = street;
  }
  state.sectionRowCount = t1.rows();
}

}  // namespace

void fillSectionPickers(DbrnWizardState& state) {
  const auto& types = state.db.streetTypes;
  state.list1.clear();
  for (size_t t = 0; t < types.size(); ++t) {
    if (types[t].streetCount <= 0) continue;
    if (types[t].fullName == state.defaultTypeName)
      state.list1.row = static_cast<int>(state.list1.items.size());
    state.list1.add(typeItem(types[t]), static_cast<int32_t>(t));
  }
  if (state.list1.row < 0 && !state.list1.items.empty()) state.list1.row = 0;
  list1Change(state, state.list1.row);
}

void list1Change(DbrnWizardState& state, int row) {
  state.list1.choose(row);
  state.list2.clear();
  const std::optional<int32_t> type = state.list1.chosen();
  if (!type) return;
  const std::string& shortName = state.db.streetTypes[*type].shortName;
  const auto& streets = state.db.streets;
  for (size_t s = 0; s < streets.size(); ++s)
    if (streets[s].streetType == shortName && streets[s].state != kStreetDeleted)
      state.list2.add(streets[s].name.empty() ? " " : streets[s].name, static_cast<int32_t>(s));
  if (!state.list2.items.empty()) state.list2.row = 0;
}

void list2Change(DbrnWizardState& state, int row) {
  state.list2.choose(row);
}

Text sectionInfo(const DbrnWizardState& state, int row) {
  const GridTable& t1 = state.table1;
  const int32_t type = typeIndexOf(state, t1.cell(row, sc::kType));
  if (row < 0 || row >= t1.rows() || type < 0) return {};
  return shell(156) + " " + val(trim(t1.cell(row, sc::kRow))) + " " + shell(674).trimmed() +
         " - \"" + val(typeItem(state.db.streetTypes[type])) + " " +
         val(trim(t1.cell(row, sc::kName))) + "\".";
}

namespace {

// The pickers show the street of a row: its type, and the street where the type lists it.
void pickStreetOfRow(DbrnWizardState& state, int row) {
  if (row < 0 || row >= state.table1.rows()) return;
  const int32_t type = typeIndexOf(state, state.table1.cell(row, sc::kType));
  const auto& types = state.list1.values;
  const auto typeItem = std::find(types.begin(), types.end(), type);
  if (type < 0 || typeItem == types.end()) return;
  list1Change(state, static_cast<int>(typeItem - types.begin()));
  const auto& streets = state.list2.values;
  const auto street = std::find(streets.begin(), streets.end(),
                                cellInt(state.table1, row, sc::kStreet).value_or(-1));
  if (street != streets.end()) list2Change(state, static_cast<int>(street - streets.begin()));
}

}  // namespace

Text chooseSectionRow(DbrnWizardState& state, int row) {
  state.sectionInfoRow = row;
  const Text info = sectionInfo(state, row);
  if (state.viewing() && !info.empty()) pickStreetOfRow(state, row);
  return info;
}

void returnToSectionsPage(DbrnWizardState& state) {
  pickStreetOfRow(state, state.sectionInfoRow);
}

ControlUpdates prepareSectionsPage(DbrnWizardState& state, int table1Row) {
  if (state.viewing())
    fillFiltered(state);
  else if (state.table1Load != state.recordsLoad)
    fillFromRecords(state);
  else
    refreshStreets(state);
  state.table1Load = state.recordsLoad;
  fillSectionPickers(state);
  ControlUpdates u;
  setText(u, "Label_02",
          chooseSectionRow(state, std::clamp(table1Row, 0, state.table1.rows() - 1)));
  if (state.viewing())
    for (const char* label : {"_L2", "_L3", "_L4"})
      setText(u, label, filterLine(state, state.sectionRowCount));
  return u;
}

// ---- Rows and keys ------------------------------------------------------------------------

int insertSectionRow(DbrnWizardState& state, int row) {
  const int at = std::clamp(row + 1, 0, state.table1.rows());
  for (GridTable* t : {&state.table1, &state.table2, &state.table3}) {
    t->insertRow(at);
    renumberRows(*t, at);
  }
  if (const auto type = state.list1.chosen())
    state.table1.set(at, sc::kType, state.db.streetTypes[*type].shortName);
  state.table1.set(at, sc::kSpeed, state.avgSpeedText);
  sectionInserted(state, at + 1);
  return at;
}

void deleteSectionRow(DbrnWizardState& state, int row) {
  if (state.table1.rows() < 2 || row < 0 || row >= state.table1.rows()) return;
  for (GridTable* t : {&state.table1, &state.table2, &state.table3}) {
    t->removeRow(row);
    renumberRows(*t, row);
  }
  sectionRemoved(state, row + 1);
}

namespace {

void toggleFlag(GridTable& t, int row, int col) {
  t.set(row, col, t.isEmptyTrimmed(row, col) ? std::string(kFlagShown) : std::string());
}

// The SpaceBar on the street columns: the street picked in List_1 and List_2.
void enterPickedStreet(DbrnWizardState& state, int row) {
  const auto type = state.list1.chosen();
  if (!type) return;
  GridTable& t1 = state.table1;
  t1.set(row, sc::kType, state.db.streetTypes[*type].shortName);
  const auto street = state.list2.chosen();
  t1.set(row, sc::kName, street ? state.list2.items[state.list2.row] : std::string());
  t1.set(row, sc::kStreet, street ? std::to_string(*street) : std::string());
}

}  // namespace

GridKeyResult sectionGridKey(DbrnWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  if (state.viewing() || row < 0 || row >= state.table1.rows()) return r;
  switch (key) {
    case GridKey::Delete: r.handled = col == sc::kType || col == sc::kName; break;
    case GridKey::PrevType:
    case GridKey::NextType:
      r.handled = true;
      if (state.list1.step(key == GridKey::PrevType ? -1 : 1)) {
        list1Change(state, state.list1.row);
        r.pickersChanged = true;
      }
      break;
    case GridKey::PrevName:
    case GridKey::NextName:
      r.handled = true;
      r.pickersChanged = state.list2.step(key == GridKey::PrevName ? -1 : 1);
      break;
    case GridKey::Space:
      if (col == sc::kType || col == sc::kName) {
        enterPickedStreet(state, row);
      } else if (col == sc::kClosed || (col == sc::kNonStd && state.level == 1)) {
        toggleFlag(state.table1, row, col);
      } else {
        break;
      }
      r.handled = true;
      r.changed(row);
      break;
    case GridKey::InsertRow:
      r.handled = r.rowsChanged = true;
      r.newRow = insertSectionRow(state, row);
      break;
    case GridKey::DeleteRow:
      r.handled = true;
      if (state.table1.rows() < 2) break;
      deleteSectionRow(state, row);
      r.rowsChanged = true;
      break;
  }
  return r;
}

// ---- Next -----------------------------------------------------------------------------------

std::string sectionNameText(const GridTable& t1, int row) {
  std::string text = trimmed(t1.cell(row, sc::kType)) + " " + trimmed(t1.cell(row, sc::kName)) +
                     ", " + std::string(t1.cell(row, sc::kFrom)) + "-" +
                     std::string(t1.cell(row, sc::kTo)) + std::string(t1.cell(row, sc::kNonStd));
  const bool sameStreet = row > 0 &&
                          trim(t1.cell(row, sc::kType)) == trim(t1.cell(row - 1, sc::kType)) &&
                          trim(t1.cell(row, sc::kName)) == trim(t1.cell(row - 1, sc::kName));
  return sameStreet ? "  " + text : text;
}

namespace {

// Row r into Table2 and Table3: its name text and its nodes, padded in Table1 first.
void copySectionRow(DbrnWizardState& state, int r) {
  GridTable& t1 = state.table1;
  const std::string name = sectionNameText(t1, r);
  for (int col : {sc::kStart, sc::kEnd}) t1.set(r, col, paddedNode(t1.cell(r, col)));
  for (GridTable* t : {&state.table2, &state.table3}) {
    t->set(r, 1, name);
    t->set(r, 2, t1.cell(r, sc::kStart));
    t->set(r, 3, t1.cell(r, sc::kEnd));
  }
}

Message rowMessage(const Text& what, int n) {
  return warningMessage(what + " " + num(n) + ".");
}
Message rowMessage(const Text& what, int n, const Text& tail) {
  return warningMessage(what + " " + num(n) + ", " + tail + ".");
}

struct RowCheckContext {
  const DbrnWizardState& state;
  std::unordered_set<std::string> types;
};

// A row's refusal and the cell it names.
struct RowRefusal {
  Message message;
  int column;
};

// The checks of one row in their order; the first refusal.
std::optional<RowRefusal> checkSectionRow(const RowCheckContext& c, int r) {
  // The row is read once: a cell alone is found by walking the row up to it.
  std::array<CellText, sc::kCount> cells;
  c.state.table1.rowCells(r, cells);
  const auto cell = [&](int col) { return cells[static_cast<size_t>(col)]; };
  const int n = r + 1;
  const auto empty = [&](int col) { return trim(cell(col)).empty(); };
  const auto refuse = [&](int col, const Text& what) {
    return RowRefusal{rowMessage(what, n), col};
  };
  const auto refuseFor = [&](int col, const Text& what, const Text& tail) {
    return RowRefusal{rowMessage(what, n, tail), col};
  };
  if (empty(sc::kType)) return refuse(sc::kType, shell(444));
  if (!c.types.count(trimmed(cell(sc::kType)))) return refuse(sc::kType, shell(355));
  const bool noStreet = cell(sc::kType) == c.state.noStreetType;
  if (!noStreet) {
    // A row whose street was never picked (or is gone) names none.
    const auto street = parseInt(trim(cell(sc::kStreet)));
    const bool known = street && *street >= 0 && *street < c.state.streetTotal();
    if (empty(sc::kName) || !known) return refuseFor(sc::kName, shell(443), shell(150));
  } else {
    if (empty(sc::kNonStd)) return refuseFor(sc::kNonStd, shell(441), shell(152));
    if (!empty(sc::kName))
      return RowRefusal{warningMessage(shell(470) + " " + num(n) + ", " + shell(151) + ")."),
                        sc::kName};
    if (!empty(sc::kFrom)) return refuseFor(sc::kFrom, shell(472), shell(151));
    if (!empty(sc::kTo)) return refuseFor(sc::kTo, shell(471).trimmed(), shell(151));
  }
  for (int col : {sc::kStart, sc::kEnd, sc::kLength, sc::kSpeed})
    if (cell(col).empty()) return refuse(col, shell(295));
  const auto start = parseInt(cell(sc::kStart));
  if (!start) return refuse(sc::kStart, shell(350));
  const auto end = parseInt(cell(sc::kEnd));
  if (!end) return refuse(sc::kEnd, shell(349));
  if (!parseStoredReal(cell(sc::kLength))) return refuse(sc::kLength, shell(345));
  if (!parseStoredReal(cell(sc::kSpeed))) return refuse(sc::kSpeed, shell(354));
  if (*start == 0) return refuse(sc::kStart, shell(367));
  if (*end == 0) return refuse(sc::kEnd, shell(366));
  const std::string from = trimmed(cell(sc::kFrom)), to = trimmed(cell(sc::kTo));
  if (c.state.level == 1 && empty(sc::kNonStd)) {
    if (from.empty()) return refuse(sc::kFrom, shell(449));
    if (!isSectionHouseNumber(from)) return refuseFor(sc::kFrom, shell(363), shell(776));
    if (to.empty()) return refuse(sc::kTo, shell(450));
    if (!isSectionHouseNumber(to)) return refuseFor(sc::kTo, shell(364), shell(776));
    if (from == to) return refuse(sc::kTo, shell(338));
    if (!sameParity(from, to)) return refuseFor(sc::kTo, shell(335), shell(777));
  }
  if (c.state.level == 2) {
    if (from.empty()) return refuse(sc::kFrom, shell(448));
    if (to.empty()) return refuse(sc::kTo, shell(447));
    if (from == to) return refuse(sc::kTo, shell(336));
  }
  return std::nullopt;
}

uint64_t nodePair(int32_t a, int32_t b) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32) | static_cast<uint32_t>(b);
}

StepCheck checkNodePairs(const DbrnWizardState& state) {
  const GridTable& t = state.table1;
  DuplicateFinder<uint64_t> pairs;
  std::vector<uint64_t> keys(static_cast<size_t>(t.rows()));
  for (int r = 0; r < t.rows(); ++r) {
    keys[r] = nodePair(*parseInt(t.cell(r, sc::kStart)), *parseInt(t.cell(r, sc::kEnd)));
    pairs.add(r, keys[r]);
  }
  for (int r = 0; r < t.rows(); ++r) {
    if (*parseInt(t.cell(r, sc::kStart)) == *parseInt(t.cell(r, sc::kEnd)))
      return StepCheck::refuse(rowMessage(shell(337), r + 1), "Table1", r, sc::kEnd);
    if (const int j = pairs.laterOf(r, keys[r]); j >= 0)
      return StepCheck::refuse(
          warningMessage(shell(469) + " " + num(r + 1) + " " + shell(1).trimmed() + " " +
                         num(j + 1) + " " + shell(604) + " (" + val(t.cell(j, sc::kStart)) + " " +
                         shell(1).trimmed() + " " + val(t.cell(j, sc::kEnd)) + ")."),
          "Table1", j, sc::kStart);
  }
  return StepCheck::ok();
}

// The range key of a row: its type, then its street name without blanks and its house range.
std::string rangeKey(const GridTable& t, int r) {
  std::string name;
  for (char ch : t.cell(r, sc::kName))
    if (ch != ' ') name += ch;
  const std::string range =
      cut(name + "," + trimmed(t.cell(r, sc::kFrom)) + "-" + trimmed(t.cell(r, sc::kTo)), 40);
  return std::string(t.cell(r, sc::kType)) + '\n' + range;
}

StepCheck checkRanges(const DbrnWizardState& state) {
  const GridTable& t = state.table1;
  DuplicateFinder<std::string> ranges;
  for (int r = 0; r < t.rows(); ++r)
    if (t.cell(r, sc::kType) != state.noStreetType) ranges.add(r, rangeKey(t, r));
  if (const auto pair = ranges.firstPair()) {
    StepCheck refusal = StepCheck::refuse(
        warningMessage(shell(157) + " " + num(pair->first + 1) + " " + shell(1).trimmed() + " " +
                       num(pair->second + 1) + " " + shell(192) + ". " + shell(203) + "."),
        "Table1", pair->second);
    refusal.scrollOnly = true;
    return refusal;
  }
  return StepCheck::ok();
}

}  // namespace

StepResult checkSectionsPage(DbrnWizardState& state) {
  GridTable& t1 = state.table1;
  for (GridTable* t : {&state.table2, &state.table3}) t->setRows(t1.rows());
  if (state.sectionRowCount > 0)
    for (int r = 0; r < t1.rows(); ++r) copySectionRow(state, r);

  if (state.viewing()) {
    state.nodeCount = state.db.header.nodeCount;
    state.sectionTotal = state.db.header.sectionCount;
  } else {
    if (t1.rows() > kMaxSections)
      return StepResult::refuse(StepCheck::refuse(
          warningMessage(shell(307) + " " + num(t1.rows()) + " (>" + num(kMaxSections) + ")."),
          "Table1"));
    RowCheckContext context{state, {}};
    for (const StreetTypeRec& type : state.db.streetTypes)
      context.types.insert(trimmed(type.shortName));
    for (int r = 0; r < t1.rows(); ++r) {
      if (auto refusal = checkSectionRow(context, r))
        return StepResult::refuse(
            StepCheck::refuse(std::move(refusal->message), "Table1", r, refusal->column));
      // Every route over a section without speed would take forever; a length of 0 is fine.
      if (!(*parseStoredReal(t1.cell(r, sc::kSpeed)) > 0))
        return StepResult::refuse(
            StepCheck::refuse(rowMessage(shell(1070), r + 1), "Table1", r, sc::kSpeed));
    }
    if (StepCheck pairs = checkNodePairs(state); !pairs.passed())
      return StepResult::refuse(std::move(pairs));
    if (StepCheck ranges = checkRanges(state); !ranges.passed())
      return StepResult::refuse(std::move(ranges));
    std::unordered_set<int32_t> nodes;
    for (int r = 0; r < t1.rows(); ++r) {
      nodes.insert(*parseInt(t1.cell(r, sc::kStart)));
      nodes.insert(*parseInt(t1.cell(r, sc::kEnd)));
    }
    const auto count = static_cast<int32_t>(nodes.size());
    if (count == 0)
      return StepResult::refuse(StepCheck::refuse(warningMessage(shell(327) + "."), ""));
    if (count > kMaxNodes)
      return StepResult::refuse(StepCheck::refuse(
          warningMessage(shell(309).trimmed() + " " + num(count) + " (>" + num(kMaxNodes) + ")."),
          ""));
    state.nodeCount = count;
    state.sectionTotal = t1.rows();
  }
  StepResult r;
  r.updates = countUpdates(state);
  state.wizardStep = 5;
  r.nextStep = 5;
  r.focus = "Table2";
  return r;
}

}  // namespace qj
