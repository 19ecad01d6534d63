#include "task/to_transitions_step.h"

#include <cmath>
#include <string>
#include <vector>

#include "records/numbers.h"
#include "route/route_task.h"
#include "route/route_texts.h"
#include "task/transition_grid.h"
#include "task/typed_cells.h"
#include "text/message.h"

namespace qj {
namespace {

using Lists = std::vector<std::vector<TransitionRec>>;

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
      grid.set(row, 8, transitionKindText(slot.kind, false, texts));
      grid.set(row, 9, formatReal(slot.dist, st.decSep));
      grid.set(row, 10, formatReal(slot.speed, st.decSep));
      keys.push_back(slotKey(static_cast<int>(i), slot.kind));
      ++row;
    }
  // A distance or speed typed before the user went back stays with its way.
  st.typed3.filled(grid, std::move(keys), [](int, int col) { return col == 9 || col == 10; });
}

}  // namespace

StepCheck checkTable2Rows(const TaskWizardState& st) {
  return checkRows(st, Way::To);
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

}  // namespace qj
