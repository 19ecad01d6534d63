#include "task/points_step.h"

#include <algorithm>
#include <set>
#include <unordered_set>
#include <utility>

#include "records/numbers.h"
#include "records/text.h"
#include "task/placement.h"

namespace qj {
namespace {

// Whether `needle` occurs in `hay`; an empty needle occurs nowhere.
bool containsText(std::string_view hay, std::string_view needle) {
  return !needle.empty() && hay.find(needle) != std::string_view::npos;
}

std::string cellNumber(double x, char sep) {
  return formatReal(x, sep);
}

bool sameTrimmed(std::string_view a, std::string_view b) {
  return trim(a) == trim(b);
}

// The house record of a point's address (levels 2 and 3): the first house of the first
// street of its type and name whose number is the point's house; -1 when there is none.
int32_t houseIndexOf(const DbrnFile& db, const TaskPointRec& p) {
  const int32_t street = findStreet(db, p.streetType, p.street);
  if (street < 0) return -1;
  for (size_t h = 0; h < db.houses.size(); ++h)
    if (db.houses[h].streetIndex == street && sameTrimmed(db.houses[h].houseNo, p.house))
      return static_cast<int32_t>(h);
  return -1;
}

}  // namespace

// ---- Shared by the point grids ------------------------------------------------------------

std::string pointLabel(const TaskHeader& header, const ShellTables& shell, int point) {
  std::string label = std::to_string(point + 1);
  if (point + 1 == header.startPoint)
    label += " (" + shell.shortText(11) + ")";
  else if (point + 1 == header.endPoint)
    label += " (" + shell.shortText(17) + ")";
  return label;
}

std::string addressText(const TaskPointRec& p) {
  return trimmed(p.streetType) + " " + trimmed(p.street) + ", " + trimmed(p.house);
}

bool isExemptRow(const GridTable& table, int row, const ShellTables& shell) {
  return containsText(table.cell(row, 0), shell.shortText(12));
}

bool isDash(std::string_view cell) {
  return trim(cell) == "-";
}

bool hasPointMark(const GridTable& table, int row) {
  return table.cell(row, 0).find('(') != std::string::npos;
}

double cellReal(const GridTable& table, int row, int col, char sep) {
  return parseReal(trim(table.cell(row, col)), sep).value_or(0);
}

bool isValidHouseNumber(std::string_view text) {
  if (text.empty() || !isDigit(text.front())) return false;
  for (size_t i = 0; i + 1 < text.size(); ++i)
    if (!isDigit(text[i])) return false;
  return isDigit(text.back()) || isCyrillicLower(text.back());
}

// ---- Filling the grid ---------------------------------------------------------------------

void fillTable1(TaskWizardState& state, const ShellTables& shell) {
  const TaskHeader& h = state.header;
  const char sep = state.decSep;
  GridTable& t = state.table1;
  state.typed1.collect(t);
  t.clear();
  t.setRows(std::max(h.pointCount, 0));
  for (int r = 0; r < t.rows(); ++r) {
    t.set(r, t1::kPoint, pointLabel(h, shell, r));
    const bool mark = hasPointMark(t, r);
    const bool exempt = h.cargoMode > kNoCargo && isExemptRow(t, r, shell);
    if (h.orderMode == kPriorityClasses && mark) t.set(r, t1::kOrder, "-");
    if (r >= static_cast<int>(state.points.size())) {
      t.set(r, t1::kService, exempt ? "-" : "0");
      t.set(r, t1::kUnload, h.cargoMode > kNoCargo ? (exempt ? "-" : "0") : "");
      t.set(r, t1::kPenalty, "0");
      continue;
    }
    const TaskPointRec& p = state.points[r];
    t.set(r, t1::kType, p.streetType);
    const bool sameAsPrevious = r > 0 && state.points[r - 1].streetType == p.streetType &&
                                state.points[r - 1].street == p.street;
    t.set(r, t1::kStreet, sameAsPrevious ? "  " + p.street : p.street);
    t.set(r, t1::kHouse, p.house);
    if (h.cargoMode > kNoCargo) {
      t.set(r, t1::kService, exempt ? "-" : cellNumber(p.serviceTime, sep));
      t.set(r, t1::kUnload, exempt ? "-" : cellNumber(p.unloadTime, sep));
    } else {
      t.set(r, t1::kService, cellNumber(p.serviceTime, sep));
    }
    t.set(r, t1::kPenalty, cellNumber(p.waitPenalty, sep));
    const bool orderShown =
        p.orderValue > 0 && (h.orderMode == kNextPointGiven || h.orderMode == kPassedAfterPoint ||
                             (h.orderMode == kPriorityClasses && !mark));
    if (orderShown) t.set(r, t1::kOrder, std::to_string(p.orderValue));
    if (state.dbLevel >= 2) t.set(r, t1::kHouseIndex, std::to_string(houseIndexOf(state.db, p)));
  }
  // What was typed into a row before the user went back stays in the row of that point: an
  // address always, a time, penalty or order value where the cell still takes one (the options
  // chosen again may have made it a "-" cell or dropped its column).
  std::vector<std::string> keys;
  for (int r = 0; r < t.rows(); ++r) keys.push_back(pointKey(r));
  const Table1Rules rules(state, shell);
  state.typed1.filled(t, std::move(keys), [&](int r, int col) {
    switch (col) {
      case t1::kType:
      case t1::kStreet:
      case t1::kHouse:
      case t1::kHouseIndex: return true;
      default: return rules.typable(t, r, col);
    }
  });
}

// ---- Keys ----------------------------------------------------------------------------------

bool Table1Rules::typable(const GridTable& table, int row, int col) const {
  const TaskHeader& h = state_.header;
  if (col != t1::kHouse && isDash(table.cell(row, col))) return false;
  const bool exempt = h.cargoMode > kNoCargo && isExemptRow(table, row, shell_);
  switch (col) {
    case t1::kHouse: return state_.dbLevel == 1;
    case t1::kService: return !exempt;
    case t1::kUnload: return h.cargoMode > kNoCargo && !exempt;
    case t1::kPenalty: return true;
    case t1::kOrder:
      return h.orderMode != kNoOrder &&
             !(h.orderMode == kPriorityClasses && hasPointMark(table, row));
    default: return false;
  }
}

FieldRule Table1Rules::cellRule(const GridTable&, int, int col) const {
  switch (col) {
    case t1::kHouse: return {KeyFilter::PointHouse, 4};
    case t1::kOrder: return {KeyFilter::Digit, 2};
    default: return {KeyFilter::Decimal, 6, false, state_.decSep};
  }
}

namespace {

bool deleteIgnored(const TaskWizardState& state, int row, int col) {
  const GridTable& t = state.table1;
  return col == t1::kType || col == t1::kStreet || (col == t1::kHouse && state.dbLevel >= 2) ||
         (col == t1::kPenalty && hasPointMark(t, row)) || isDash(t.cell(row, col));
}

// The SpaceBar on an address cell: the picked type, street and (levels 2 and 3) house.
bool enterPickedAddress(TaskWizardState& state, int row) {
  const AddressPickers& pickers = state.pickers;
  const auto type = pickers.chosenType(state.db);
  if (!type || row < 0 || row >= state.table1.rows()) return false;
  GridTable& t = state.table1;
  t.set(row, t1::kType, state.db.streetTypes[*type].shortName);
  const int street = pickers.streetRow();
  t.set(row, t1::kStreet, street >= 0 ? pickers.streetItems()[street] : std::string());
  if (state.dbLevel >= 2) {
    const HousePick* house = pickers.chosenHouse();
    t.set(row, t1::kHouse, house ? house->houseNo : std::string());
    t.set(row, t1::kHouseIndex, house ? std::to_string(house->houseIndex) : std::string());
  }
  return true;
}

}  // namespace

GridKeyResult table1Key(TaskWizardState& state, GridKey key, int row, int col) {
  AddressPickers& pickers = state.pickers;
  GridKeyResult r;
  switch (key) {
    case GridKey::InsertRow:
    case GridKey::DeleteRow: r.handled = true; break;  // the grid has one row per point
    case GridKey::PrevType:
    case GridKey::NextType:
      pickers.stepType(state, key == GridKey::PrevType ? -1 : 1);
      r.handled = r.pickersChanged = true;
      break;
    case GridKey::PrevName:
    case GridKey::NextName:
      pickers.stepStreet(state, key == GridKey::PrevName ? -1 : 1);
      r.handled = r.pickersChanged = true;
      break;
    case GridKey::Space:
      if (col == t1::kType || col == t1::kStreet || (col == t1::kHouse && state.dbLevel >= 2)) {
        r.handled = true;
        if (enterPickedAddress(state, row)) {
          r.changed(row);
          r.warning = table1Typed(state, row, col);
        }
      }
      break;
    case GridKey::Delete: r.handled = deleteIgnored(state, row, col); break;
  }
  return r;
}

std::optional<Message> table1Typed(TaskWizardState& state, int row, int col) {
  if (state.dbLevel != 1 || row < 0) return std::nullopt;
  auto markChanged = [&] {
    if (row < static_cast<int>(state.pointChanged.size())) state.pointChanged[row] = 1;
  };
  if (row >= static_cast<int>(state.points.size())) {
    markChanged();
    return std::nullopt;
  }
  if (col < t1::kType || col > t1::kHouse) return std::nullopt;
  markChanged();
  // Only a point whose transitions the wizard holds has values to lose: the record that a
  // refused step makes for a point not yet entered has none, and the warning would be untrue.
  const auto holds = [row](const std::vector<std::vector<TransitionRec>>& lists) {
    return row < static_cast<int>(lists.size()) && !lists[row].empty();
  };
  if (row == state.warnedRow || !(holds(state.toTransitions) || holds(state.fromTransitions)))
    return std::nullopt;
  state.warnedRow = row;
  return warningMessage(shell(30).trimmed() + " " + num(row + 1) + " " + shell(25) + ".");
}

// ---- Next ----------------------------------------------------------------------------------

namespace {

// The streets on which some transit section lies: their names, and their types and names.
struct SectionStreets {
  std::unordered_set<std::string> names;
  std::set<std::pair<std::string, std::string>> typesAndNames;

  explicit SectionStreets(const DbrnFile& db) {
    std::vector<bool> seen(db.streets.size(), false);
    for (const TransitSectionRec& s : db.sections) {
      if (s.streetIndex < 0 || s.streetIndex >= static_cast<int32_t>(seen.size()) ||
          seen[s.streetIndex])
        continue;
      seen[s.streetIndex] = true;
      const StreetRec& street = db.streets[s.streetIndex];
      names.insert(trimmed(street.name));
      typesAndNames.insert({trimmed(street.streetType), trimmed(street.name)});
    }
  }
};

class RowChecker {
 public:
  RowChecker(const TaskWizardState& state, const ShellTables& shell)
      : s_(state), h_(state.header), t_(state.table1), shell_(shell) {
    if (state.dbLevel == 1) streets_.emplace(state.db);
  }

  StepCheck check(int r) {
    r_ = r;
    const std::string type = trimmed(t_.cell(r, t1::kType));
    const std::string street = trimmed(t_.cell(r, t1::kStreet));
    const std::string house = trimmed(t_.cell(r, t1::kHouse));
    const bool level1 = s_.dbLevel == 1;
    if (type.empty()) return refuse(shell(458) + " " + row() + ".", t1::kType);
    if (level1 && !offeredType(type)) return refuse(shell(356) + " " + row() + ".", t1::kType);
    if (street.empty()) return refuse(shell(454) + " " + row() + ".", t1::kStreet);
    if (level1 && !streets_->names.count(street))
      return refuse(shell(348) + " " + row() + ".", t1::kStreet);
    if (level1 && !streets_->typesAndNames.count({type, street}))
      return refuse(shell(359) + " " + row() + ".", t1::kStreet);
    if (house.empty())
      return refuse(shell(455) + " " + row() + ". " + shell(696) + " \"-\".", t1::kHouse);
    if (level1 && house != "-" && !isValidHouseNumber(house))
      return refuse(shell(362) + " " + row() + ". " + shell(432) + ".", t1::kHouse);
    if (!level1 && !houseIndex(r))
      return refuse(shell(360) + " " + row() + ", " + shell(242) + ".", t1::kHouse);
    if (auto c = checkTimes(); !c.passed()) return c;
    if (auto c = checkPenalty(); !c.passed()) return c;
    return checkOrder();
  }

  // The house index of column 8, when it names a house of the database.
  std::optional<int32_t> houseIndex(int r) const {
    const auto v = parseInt(trim(t_.cell(r, t1::kHouseIndex)));
    if (!v || *v < 0 || *v >= static_cast<int32_t>(s_.db.houses.size())) return std::nullopt;
    return v;
  }

 private:
  Text row() const { return num(r_ + 1); }
  // A refusal of the row, naming the cell of table column `col`.
  StepCheck refuse(Text text, int col) const {
    return StepCheck::refuse(warningMessage(std::move(text)), "Table1", r_, col);
  }

  bool offeredType(std::string_view type) const { return s_.pickers.offersType(s_.db, type); }

  // An empty cell or one that does not hold a number, with its two messages.
  std::optional<StepCheck> number(int col, Text missing, Text notNumber) const {
    const std::string_view cell = trim(t_.cell(r_, col));
    if (cell.empty()) return refuse(std::move(missing) + " " + row() + ".", col);
    if (!parseReal(cell, s_.decSep)) return refuse(std::move(notNumber) + " " + row() + ".", col);
    return std::nullopt;
  }

  StepCheck checkTimes() const {
    if (h_.cargoMode > kNoCargo) {
      if (isExemptRow(t_, r_, shell_)) return StepCheck::ok();
      if (auto c = number(t1::kService, shell(451), shell(343))) return *c;
      if (auto c = number(t1::kUnload, shell(452), shell(344))) return *c;
      return StepCheck::ok();
    }
    if (auto c = number(t1::kService, shell(453), shell(346))) return *c;
    return StepCheck::ok();
  }

  StepCheck checkPenalty() const {
    if (auto c = number(t1::kPenalty, shell(459), shell(358))) return *c;
    if (s_.isStartPoint(r_) || s_.isEndPoint(r_)) return StepCheck::ok();
    const double penalty = parseReal(trim(t_.cell(r_, t1::kPenalty)), s_.decSep).value_or(0);
    constexpr double kLeast = 0.009999;
    if (penalty < kLeast && h_.finePerKm < kLeast && h_.finePerHour < kLeast)
      return refuse(shell(631) + " " + row() + " " + shell(525) + " < 0" +
                        val(std::string(1, s_.decSep)) + "01.",
                    t1::kPenalty);
    return StepCheck::ok();
  }

  // The point that row r names in its order column, when the text is a number.
  std::optional<int32_t> orderValue(int r) const {
    const std::string_view cell = trim(t_.cell(r, t1::kOrder));
    if (cell.empty() || !allDigits(cell)) return std::nullopt;
    return parseInt(cell);
  }

  StepCheck checkOrder() const {
    const std::string_view cell = trim(t_.cell(r_, t1::kOrder));
    if (cell.empty()) return StepCheck::ok();
    if (h_.orderMode == kPriorityClasses) {
      if (cell == "-") return StepCheck::ok();
      const auto p = orderValue(r_);
      if (!p || *p < 1 || *p > h_.priorityCount)
        return refuse(shell(323) + " " + row() + ".", t1::kOrder);
      return StepCheck::ok();
    }
    if (h_.orderMode != kNextPointGiven && h_.orderMode != kPassedAfterPoint)
      return StepCheck::ok();
    const auto value = orderValue(r_);
    if (!value) return refuse(shell(876) + " " + row() + ".", t1::kOrder);
    const int32_t q = *value, n = h_.pointCount;
    if (q == 0) return refuse(shell(325) + " " + row() + ".", t1::kOrder);
    // Shell text 512 ("in row") reads well in the other order messages but not before the
    // point count; this one names the count with a text of its own.
    if (q > n)
      return refuse(shell(617) + " " + row() + ", " + shell(877) + " (= " + num(n) + ").",
                    t1::kOrder);
    if (q == h_.startPoint)
      return refuse(
          shell(316) + " " + num(q) + " " + shell(512) + " " + row() + ", " + shell(585) + ".",
          t1::kOrder);
    if (s_.isEndPoint(r_)) return refuse(shell(315) + " " + row() + ".", t1::kOrder);
    if (q == r_ + 1) return refuse(shell(321) + " " + row() + ", " + shell(586) + ".", t1::kOrder);
    if (closesCycle(q))
      return refuse(shell(316) + " " + num(q) + " " + shell(512) + " " + row() + ", " + shell(236) +
                        " " + row() + " " + shell(757) + " " + num(q) + ".",
                    t1::kOrder);
    return StepCheck::ok();
  }

  // Whether the order links from point q lead back to this row's point through rows above it:
  // a cycle of any length is reported at its last row, as a mutual pair is at its second.
  bool closesCycle(int32_t q) const {
    int32_t point = q;
    for (int32_t steps = 0; steps < h_.pointCount; ++steps) {
      if (point - 1 >= r_) return false;
      const auto next = orderValue(point - 1);
      if (!next || *next < 1 || *next > h_.pointCount) return false;
      if (*next == r_ + 1) return true;
      point = *next;
    }
    return false;
  }

  const TaskWizardState& s_;
  const TaskHeader& h_;
  const GridTable& t_;
  const ShellTables& shell_;
  std::optional<SectionStreets> streets_;
  int r_ = 0;
};

StepCheck checkAllRows(const TaskWizardState& state) {
  const TaskHeader& h = state.header;
  const GridTable& t = state.table1;
  const int n = h.pointCount;
  auto field = [&](int r, int col) { return trim(t.cell(r, col)); };
  auto startEndPair = [&](int r, int j) {
    return (state.isStartPoint(r) && state.isEndPoint(j)) ||
           (state.isEndPoint(r) && state.isStartPoint(j));
  };
  for (int r = 0; r < n; ++r)
    for (int j = r + 1; j < n; ++j) {
      const bool same = field(r, t1::kType) == field(j, t1::kType) &&
                        field(r, t1::kStreet) == field(j, t1::kStreet) &&
                        field(r, t1::kHouse) == field(j, t1::kHouse);
      // The later row's house becomes current: the message asks for one address to change.
      if (same && !startEndPair(r, j))
        return StepCheck::refuse(
            warningMessage(shell(155) + " " + num(r + 1) + " " + shell(1).trimmed() + " " +
                           num(j + 1) + ", " + shell(240) + ". " + shell(201) + "."),
            "Table1", j, t1::kHouse);
    }
  if (h.orderMode == kNextPointGiven)
    for (int r = 0; r < n; ++r)
      for (int j = r + 1; j < n; ++j) {
        const auto q = parseInt(field(r, t1::kOrder));
        if (q && q == parseInt(field(j, t1::kOrder)))
          return StepCheck::refuse(
              warningMessage(shell(316) + " " + num(*q) + " " + shell(512) + " " + num(j + 1) +
                             ", " + shell(239) + " " + num(r + 1) + "."),
              "Table1", j, t1::kOrder);
      }
  // A value missing from the order column is asked for in the first order cell that takes
  // one, an empty one before any other.
  const auto orderRow = [&] {
    int first = -1;
    for (int r = 0; r < n; ++r) {
      if (isDash(t.cell(r, t1::kOrder)) || (h.orderMode == kPriorityClasses && hasPointMark(t, r)))
        continue;
      if (field(r, t1::kOrder).empty()) return r;
      if (first < 0) first = r;
    }
    return std::max(first, 0);
  };
  if (h.orderMode == kNextPointGiven || h.orderMode == kPassedAfterPoint) {
    bool any = false;
    for (int r = 0; r < n && !any; ++r) any = !field(r, t1::kOrder).empty();
    if (!any)
      return StepCheck::refuse(warningMessage(shell(286) + "."), "Table1", orderRow(), t1::kOrder);
  }
  if (h.orderMode == kPriorityClasses)
    for (int32_t p = 1; p <= h.priorityCount; ++p) {
      bool given = false;
      for (int r = 0; r < n && !given; ++r) given = parseInt(field(r, t1::kOrder)) == p;
      if (!given)
        return StepCheck::refuse(warningMessage(shell(283) + " " + num(p) + " " + shell(713) + "."),
                                 "Table1", orderRow(), t1::kOrder);
    }
  return StepCheck::ok();
}

void writePointRecords(TaskWizardState& state, const ShellTables& shell) {
  const TaskHeader& h = state.header;
  const GridTable& t = state.table1;
  for (int i = 0; i < h.pointCount; ++i) {
    TaskPointRec& p = state.points[i];
    const std::string_view order = trim(t.cell(i, t1::kOrder));
    if (h.orderMode == kNoOrder)
      p.orderValue = 0;
    else if (order.empty())
      p.orderValue = -1;
    else if (order == "-")
      p.orderValue = state.isStartPoint(i) ? 0 : h.pointCount;
    else
      p.orderValue = parseInt(order).value_or(-1);
    if (h.refusalFlag == 0) p.refusalAllowed = 0;
    if (h.timeFactorFlag == 0) p.windowLow = p.windowHigh = 0;
    if (h.refusalFlag == 0 && h.timeFactorFlag == 0 && h.cargoMode == kNoCargo) p.income = 0;
    p.vertexNo = h.sectionCount + i;
    p.streetType = cut(t.cell(i, t1::kType), 4);
    p.street = cutTrimmed(t.cell(i, t1::kStreet), 30);
    p.house = cut(state.dbLevel == 1 ? trim(t.cell(i, t1::kHouse)) : t.cell(i, t1::kHouse), 9);
    const bool exempt = h.cargoMode > kNoCargo && isExemptRow(t, i, shell);
    p.serviceTime = exempt ? 0 : cellReal(t, i, t1::kService, state.decSep);
    p.unloadTime =
        h.cargoMode > kNoCargo && !exempt ? cellReal(t, i, t1::kUnload, state.decSep) : 0;
    p.waitPenalty = cellReal(t, i, t1::kPenalty, state.decSep);
  }
}

// A mark set on the candidate page before the user went back to the addresses stays on its
// section while the point keeps its address; it replaces the point's stored mark.
void keepTypedMarks(TaskWizardState& state, const std::vector<std::string>& keys) {
  GridTable& t12 = state.table12;
  state.typed12.filled(t12, keys, [](int, int col) { return col == t12::kMark; });
  const auto typedMark = [&](int r) { return state.typed12.typed(keys[r], t12::kMark); };
  for (int r = 0; r < t12.rows(); ++r) {
    const std::string* mark = typedMark(r);
    if (!mark || !isFlagSet(*mark)) continue;
    for (int s = 0; s < t12.rows(); ++s)
      if (s != r && !typedMark(s) && t12.cell(s, t12::kPointOfRow) == t12.cell(r, t12::kPointOfRow))
        t12.set(s, t12::kMark, "");
  }
}

// Level 1: the sections a point may lie on when its house number cannot tell, one Table12 row
// each, grouped by point.
void buildCandidateRows(TaskWizardState& state) {
  GridTable& t12 = state.table12;
  state.typed12.collect(t12);
  t12.clear();
  state.ambiguousCount = 0;
  if (state.dbLevel != 1) return;
  std::vector<std::string> keys;
  const DbrnFile& db = state.db;
  for (int i = 0; i < state.header.pointCount; ++i) {
    const TaskPointRec& p = state.points[i];
    // A house number that some standard section's range holds places the point itself.
    if (!numberingCandidates(db, p).empty()) continue;
    const std::vector<bool> streets = streetsOfPoint(db, p);
    const bool dash = trim(p.house) == "-";
    const std::string address = addressText(p);
    bool first = true;
    for (size_t k = 0; k < db.sections.size(); ++k) {
      const TransitSectionRec& sec = db.sections[k];
      if (!onStreet(streets, sec) || !(dash || sec.hasNonStdNumbering())) continue;
      const int row = t12.rows();
      t12.setRows(row + 1);
      // A mark belongs to the point, its address and the section.
      keys.push_back(pointKey(i) + "|" + address + "|" + std::to_string(k));
      t12.set(row, t12::kPointOfRow, std::to_string(i + 1));
      t12.set(row, t12::kPoint, first ? std::to_string(i + 1) : std::string());
      t12.set(row, t12::kAddress, first ? address : "  " + address);
      t12.set(row, t12::kSection, std::to_string(k + 1));
      if (first) {
        t12.set(row, t12::kType, db.streets[sec.streetIndex].streetType);
        t12.set(row, t12::kName, db.streets[sec.streetIndex].name);
      }
      t12.set(row, t12::kFrom, sec.houseFrom);
      t12.set(row, t12::kTo, sec.houseTo);
      t12.set(row, t12::kNonStd, sec.nonStdNumbering);
      if (static_cast<int32_t>(k) == p.sectionIndex)
        t12.set(row, t12::kMark, std::string(kFlagShown));
      first = false;
    }
  }
  state.ambiguousCount = t12.rows();
  keepTypedMarks(state, keys);
}

}  // namespace

Step3Outcome checkStep3(TaskWizardState& state, const ShellTables& shell) {
  const int n = std::max(state.header.pointCount, 0);
  state.points.resize(n);
  if (state.dbLevel == 1) state.pointSectionInfo.resize(n);
  Step3Outcome out;
  RowChecker rows(state, shell);
  for (int r = 0; r < n; ++r)
    if (StepCheck c = rows.check(r); !c.passed()) {
      out.check = std::move(c);
      return out;
    }
  if (StepCheck c = checkAllRows(state); !c.passed()) {
    out.check = std::move(c);
    return out;
  }
  writePointRecords(state, shell);
  state.typed1.stored(state.table1);
  buildCandidateRows(state);
  fillTable1a(state, shell);
  const TaskHeader& h = state.header;
  if (h.timeFactorFlag == 0 && h.refusalFlag == 0 && h.cargoMode == kNoCargo) {
    out.next = state.ambiguousCount >= 1 ? WizardNext::ShowSectionChoicePage : WizardNext::RunStep5;
    return out;
  }
  out.next = WizardNext::ShowStep4Page;
  // The threshold controls show the stored threshold once per task; after that they keep
  // what the user chose on them, stored by step 5 or not.
  if (h.refusalFlag == 1 && state.thresholdRevision != state.taskRevision) {
    out.threshold = thresholdControls(h.servedThreshold);
    state.thresholdRevision = state.taskRevision;
  }
  return out;
}

}  // namespace qj
