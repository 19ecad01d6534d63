#include "task/transitions.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "records/numbers.h"
#include "records/text.h"
#include "route/solver_graph.h"
#include "task/placement.h"
#include "task/step3.h"
#include "text/message.h"

namespace qj {
namespace {

using Lists = std::vector<std::vector<TransitionRec>>;

enum class Way { To, From };  // Table2 (step 6) or Table3 (step 7)

// Rows of a transition grid follow the slots of the lists, point by point.
struct RowSlot {
  int point = 0;
  int slot = 0;
};

std::vector<RowSlot> rowSlots(const Lists& lists) {
  std::vector<RowSlot> rows;
  for (size_t i = 0; i < lists.size(); ++i)
    for (size_t j = 0; j < lists[i].size(); ++j)
      rows.push_back({static_cast<int>(i), static_cast<int>(j)});
  return rows;
}

std::vector<RowSlot> checkedRowSlots(const GridTable& grid, const Lists& lists) {
  std::vector<RowSlot> rows = rowSlots(lists);
  if (static_cast<size_t>(grid.rows()) != rows.size())
    throw std::logic_error("a transition grid does not match its transition lists");
  return rows;
}

// A distance or speed of the grids: a non-negative number typed with the separator.
std::optional<double> readGridNumber(std::string_view text, char sep) {
  const auto v = parseReal(text, sep);
  if (!v || !std::isfinite(*v) || *v < 0) return std::nullopt;
  return v;
}

const TransitSectionRec* sectionAt(const TaskWizardState& st, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= st.db.sections.size()) return nullptr;
  return &st.db.sections[index];
}

Text distanceMissing(Way way, bool reverse) {
  if (way == Way::From) return shell(456);
  return reverse ? shell(287) : shell(288);
}

Text speedMissing(Way way, bool reverse) {
  if (way == Way::From) return shell(457);
  return reverse ? shell(284) : shell(285);
}

Text tooLong(int point, bool reverse, const TransitSectionRec& s) {
  return shell(619) + " " + num(point + 1) + ", " + (reverse ? shell(237) : shell(238)) +
         " (= " + val(trim(s.length)) + " " + shortText(22) + "), " + shell(742).trimmed() + ".";
}

Text tooFast(int point, bool reverse, const TransitSectionRec& s) {
  return shell(620) + " " + num(point + 1) + ", " + (reverse ? shell(234) : shell(621)) +
         " (= " + val(trim(s.speed)) + " " + shortText(15) + "), " + shell(742).trimmed() + ".";
}

// The checks of one row, in the order the steps apply them.
std::optional<Text> rowFault(const TaskWizardState& st, Way way, const GridTable& grid, int r,
                             int point, int32_t kind) {
  const bool reverse = kind == (way == Way::To ? kToReverseSection : kFromReverseSection);
  const TaskPointRec& p = st.points[point];
  const TransitSectionRec* s = sectionAt(st, reverse ? p.reverseSectionIndex : p.sectionIndex);
  const Text who = lit(" ") + val(grid.cell(r, 0)) + ".";

  const std::string_view distText = trim(grid.cell(r, 9));
  if (distText.empty()) return distanceMissing(way, reverse) + who;
  const auto dist = readGridNumber(distText, st.decSep);
  if (!dist) return shell(352) + who;
  if (s && !(*dist < sectionLength(*s) + 1e-5)) return tooLong(point, reverse, *s);

  const std::string_view speedText = trim(grid.cell(r, 10));
  if (speedText.empty()) return speedMissing(way, reverse) + who;
  const auto speed = readGridNumber(speedText, st.decSep);
  if (!speed) return shell(353) + who;
  // A way at speed 0 would take forever: the optimiser could not price it.
  if (*speed <= 0) return shell(890) + who;
  if (s && !(*speed < 10.0 * sectionSpeed(*s) + 1e-5)) return tooFast(point, reverse, *s);
  return std::nullopt;
}

StepCheck checkRows(const TaskWizardState& st, Way way) {
  const GridTable& grid = way == Way::To ? st.table2 : st.table3;
  const Lists& lists = way == Way::To ? st.toTransitions : st.fromTransitions;
  const std::vector<RowSlot> rows = checkedRowSlots(grid, lists);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const auto [point, slot] = rows[r];
    if (auto fault = rowFault(st, way, grid, r, point, lists[point][slot].kind))
      return StepCheck::refuse(warningMessage(*fault), way == Way::To ? "Table2" : "Table3", r);
  }
  return StepCheck::ok();
}

// Copies the checked grid into the lists; returns the rows' slots.
std::vector<RowSlot> storeRows(TaskWizardState& st, Way way) {
  const GridTable& grid = way == Way::To ? st.table2 : st.table3;
  Lists& lists = way == Way::To ? st.toTransitions : st.fromTransitions;
  const std::vector<RowSlot> rows = checkedRowSlots(grid, lists);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    TransitionRec& t = lists[rows[r].point][rows[r].slot];
    t.dist = *readGridNumber(trim(grid.cell(r, 9)), st.decSep);
    t.speed = *readGridNumber(trim(grid.cell(r, 10)), st.decSep);
  }
  return rows;
}

// One way from a point, with the distance it gets by default.
struct FromWay {
  int32_t kind = 0;
  double defaultDist = 0;
};

// The ways from point i: to the end of its section, straight to the points that can be reached
// along its section or its reverse section, then to the end of the reverse section.
std::vector<FromWay> fromWays(const TaskWizardState& st, int i) {
  const TaskPointRec& p = st.points[i];
  const double start = st.startSectionDist[i], back = st.reverseSectionDist[i];
  std::vector<FromWay> ways{{kFromOwnSection, st.pointSectionInfo[i].length - start}};
  const TransitSectionRec* s = sectionAt(st, p.sectionIndex);
  if (!s) return ways;
  const TransitSectionRec* r = sectionAt(st, p.reverseSectionIndex);
  const int n = static_cast<int>(st.points.size());
  for (int k = 0; k < n; ++k) {
    if (k == i) continue;
    const double other = st.startSectionDist[k];
    if (st.points[k].sectionIndex == p.sectionIndex) {
      if (other >= start || !s->arePrevObjectsClosed())
        ways.push_back({toPointKind(k), std::fabs(other - start)});
    } else if (r && st.points[k].sectionIndex == p.reverseSectionIndex) {
      if (!r->isClosed() && !s->areReverseObjectsClosed())
        ways.push_back({toPointKind(k), std::fabs(other - back)});
    }
  }
  if (r && !s->areReverseObjectsClosed() && !r->isClosed())
    ways.push_back({kFromReverseSection, sectionLength(*r) - back});
  return ways;
}

// The new from-list of point i: the stored distance and speed of a way that was there before
// (the placement has dropped the ways of changed points), the default otherwise.
std::vector<TransitionRec> fromList(const TaskWizardState& st, int i) {
  const std::vector<TransitionRec>& stored = st.fromTransitions[i];
  std::vector<TransitionRec> list;
  for (const FromWay& way : fromWays(st, i)) {
    const bool defaults = st.transitionsEntered == 0;
    const TransitionRec* old = nullptr;
    for (const auto& t : stored)
      if (t.kind == way.kind) old = &t;
    TransitionRec t;
    t.kind = way.kind;
    if (defaults || !old) {
      t.dist = way.defaultDist < 1e-4 ? 0 : way.defaultDist;
      t.speed = st.approachSpeed;
    } else {
      t.dist = old->dist < 1e-8 ? 0 : old->dist;
      t.speed = old->speed < 1e-8 ? 0 : old->speed;
    }
    list.push_back(t);
  }
  return list;
}

Text fromKindText(int32_t kind) {
  if (kind == kFromOwnSection) return shell(773);
  if (kind == kFromReverseSection) return shell(781);
  return shortText(61) + " " + num(-kind);
}

void fillTable3(TaskWizardState& st, const ShellTables& texts) {
  GridTable& grid = st.table3;
  st.typed3.collect(grid);
  std::vector<std::string> keys;
  int rows = 0;
  for (const auto& list : st.fromTransitions) rows += static_cast<int>(list.size());
  grid.setColumns(11);
  grid.clear();
  grid.setRows(rows);
  int row = 0;
  for (size_t i = 0; i < st.fromTransitions.size(); ++i)
    for (const TransitionRec& slot : st.fromTransitions[i]) {
      if (slot.kind == kFromOwnSection)
        writePointRow(grid, row, st, static_cast<int>(i));
      else
        grid.set(row, 0, std::string(" ").append(std::to_string(i + 1)));
      grid.set(row, 8, fromKindText(slot.kind).resolve(texts));
      grid.set(row, 9, formatReal(slot.dist, st.decSep));
      grid.set(row, 10, formatReal(slot.speed, st.decSep));
      keys.push_back(slotKey(static_cast<int>(i), slot.kind));
      ++row;
    }
  // A distance or speed typed before the user went back stays with its way.
  st.typed3.filled(grid, std::move(keys), [](int, int col) { return col == 9 || col == 10; });
}

}  // namespace

bool TransitionGridRules::typable(const GridTable&, int, int col) const {
  return col == 9 || col == 10;
}

bool TransitionGridRules::accepts(const GridTable& table, int row, int col,
                                  std::string_view text) const {
  if (!typable(table, row, col) || !digitsAndSeparator(text, decSep_)) return false;
  return text.size() <= 6 || text.size() <= table.cell(row, col).size();
}

void resizePointLists(TaskWizardState& st) {
  const size_t n = st.points.size();
  st.toTransitions.resize(n);
  st.fromTransitions.resize(n);
  st.pointSectionInfo.resize(n);
  st.startSectionDist.resize(n);
  st.reverseSectionDist.resize(n);
  st.pointChanged.resize(n);
}

bool isPointChanged(const TaskWizardState& st, int point) {
  return point >= 0 && static_cast<size_t>(point) < st.pointChanged.size() &&
         st.pointChanged[point] != 0;
}

void writePointRow(GridTable& grid, int row, const TaskWizardState& st, int i) {
  const TaskPointRec& p = st.points[i];
  grid.set(row, 0, std::to_string(i + 1));
  grid.set(row, 1, addressText(p));
  const TransitSectionRec* s = sectionAt(st, p.sectionIndex);
  if (!s) return;
  grid.set(row, 2, std::to_string(p.sectionIndex + 1));
  grid.set(row, 3, st.pointSectionInfo[i].rangeText);
  grid.set(row, 4, std::string(trim(s->startNode)));
  grid.set(row, 5, std::string(trim(s->endNode)));
  grid.set(row, 6, std::string(trim(s->length)));
  grid.set(row, 7, std::string(trim(s->speed)));
}

StepCheck checkTable2Rows(const TaskWizardState& st) {
  return checkRows(st, Way::To);
}

StepCheck checkTable3Rows(const TaskWizardState& st) {
  return checkRows(st, Way::From);
}

StepOutcome checkStep6(TaskWizardState& st, const ShellTables& texts) {
  resizePointLists(st);
  if (StepCheck c = checkTable2Rows(st); !c.passed()) return StepOutcome::stay(std::move(c));
  for (const RowSlot& rs : storeRows(st, Way::To)) {
    const TransitionRec& t = st.toTransitions[rs.point][rs.slot];
    (t.kind == kToReverseSection ? st.reverseSectionDist : st.startSectionDist)[rs.point] = t.dist;
  }
  st.typed2.stored(st.table2);
  const int n = static_cast<int>(st.points.size());
  Lists from(n);
  for (int i = 0; i < n; ++i) from[i] = fromList(st, i);
  st.fromTransitions = std::move(from);
  for (int i = 0; i < n; ++i)
    st.points[i].fromCount = static_cast<int32_t>(st.fromTransitions[i].size());
  fillTable3(st, texts);
  // The to-transitions now hold what the user entered: shown again instead of defaults.
  st.transitionsEntered = 1;
  st.wizardStep = 7;
  return StepOutcome::go(WizardNext::ShowStep7Page);
}

StepOutcome checkStep7(TaskWizardState& st) {
  resizePointLists(st);
  if (StepCheck c = checkTable3Rows(st); !c.passed()) return StepOutcome::stay(std::move(c));
  storeRows(st, Way::From);
  st.typed3.stored(st.table3);
  priceTransitions(st);
  buildSolverGraph(st);
  st.transitionsEntered = 1;
  st.wizardStep = 8;
  return StepOutcome::go(WizardNext::ShowSummary);
}

}  // namespace qj
