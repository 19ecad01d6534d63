#include "task/transition_grid.h"

#include <cmath>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "records/numbers.h"
#include "records/text.h"
#include "task/points_step.h"
#include "text/message.h"

namespace qj {
namespace {

using Lists = std::vector<std::vector<TransitionRec>>;

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

Text distanceMissing(Way way, bool reverse) {
  if (way == Way::From) return shell(456);
  return reverse ? shell(287) : shell(288);
}

Text speedMissing(Way way, bool reverse) {
  if (way == Way::From) return shell(457);
  return reverse ? shell(284) : shell(285);
}

Text tooLong(int point, bool reverse, const TransitSectionRec& s, char decSep) {
  return shell(619) + " " + num(point + 1) + ", " + (reverse ? shell(237) : shell(238)) +
         " (= " + val(shownStoredReal(s.length, decSep)) + " " + shortText(22) + "), " +
         shell(742).trimmed() + ".";
}

Text tooFast(int point, bool reverse, const TransitSectionRec& s, char decSep) {
  return shell(620) + " " + num(point + 1) + ", " + (reverse ? shell(234) : shell(621)) +
         " (= " + val(shownStoredReal(s.speed, decSep)) + " " + shortText(15) + "), " +
         shell(742).trimmed() + ".";
}

// A row's fault and the cell it is in.
struct RowFault {
  Text text;
  int column;
};

// The checks of one row, in the order the steps apply them.
std::optional<RowFault> rowFault(const TaskWizardState& st, Way way, const GridTable& grid, int r,
                                 int point, int32_t kind) {
  const bool reverse = kind == (way == Way::To ? kToReverseSection : kFromReverseSection);
  const TaskPointRec& p = st.points[point];
  const TransitSectionRec* s = sectionAt(st, reverse ? p.reverseSectionIndex : p.sectionIndex);
  const Text who = lit(" ") + val(grid.cell(r, 0)) + ".";

  const std::string_view distText = trim(grid.cell(r, kDistanceColumn));
  if (distText.empty()) return RowFault{distanceMissing(way, reverse) + who, kDistanceColumn};
  const auto dist = readGridNumber(distText, st.decSep);
  if (!dist) return RowFault{shell(352) + who, kDistanceColumn};
  if (s && !(*dist < sectionLength(*s) + 1e-5))
    return RowFault{tooLong(point, reverse, *s, st.decSep), kDistanceColumn};

  const std::string_view speedText = trim(grid.cell(r, kSpeedColumn));
  if (speedText.empty()) return RowFault{speedMissing(way, reverse) + who, kSpeedColumn};
  const auto speed = readGridNumber(speedText, st.decSep);
  if (!speed) return RowFault{shell(353) + who, kSpeedColumn};
  // A way at speed 0 would take forever: the optimiser could not price it.
  if (*speed <= 0) return RowFault{shell(890) + who, kSpeedColumn};
  if (s && !(*speed < 10.0 * sectionSpeed(*s) + 1e-5))
    return RowFault{tooFast(point, reverse, *s, st.decSep), kSpeedColumn};
  return std::nullopt;
}

}  // namespace

const TransitSectionRec* sectionAt(const TaskWizardState& st, int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= st.db.sections.size()) return nullptr;
  return &st.db.sections[index];
}

StepCheck checkRows(const TaskWizardState& st, Way way) {
  const GridTable& grid = way == Way::To ? st.table2 : st.table3;
  const Lists& lists = way == Way::To ? st.toTransitions : st.fromTransitions;
  const std::vector<RowSlot> rows = checkedRowSlots(grid, lists);
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const auto [point, slot] = rows[r];
    if (auto fault = rowFault(st, way, grid, r, point, lists[point][slot].kind))
      return StepCheck::refuse(warningMessage(fault->text), way == Way::To ? "Table2" : "Table3", r,
                               fault->column);
  }
  return StepCheck::ok();
}

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

bool TransitionGridRules::typable(const GridTable&, int, int col) const {
  return col == kDistanceColumn || col == kSpeedColumn;
}

FieldRule TransitionGridRules::cellRule(const GridTable&, int, int) const {
  return {KeyFilter::Decimal, 6, false, decSep_};
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
  grid.set(row, 6, shownStoredReal(s->length, st.decSep));
  grid.set(row, 7, shownStoredReal(s->speed, st.decSep));
}

}  // namespace qj
