#include "task/section_choice_step.h"

#include <cstdlib>
#include <unordered_set>

#include "records/numbers.h"
#include "records/text.h"
#include "route/state_space.h"
#include "task/point_options_step.h"
#include "task/points_step.h"

namespace qj {

int64_t estimateStateCount(const TaskHeader& header, const std::vector<TaskPointRec>& points) {
  return countFinalStates(finalPassRules(header, points, RefusableRule::AllowedAlone));
}

namespace {

Step5Outcome stay(Step5Outcome out, StepCheck check) {
  out.check = std::move(check);
  out.next = WizardNext::Stay;
  return out;
}

// The served-points threshold from the controls of page 3a. It must leave room for every
// point that cannot be refused and must not cover all points.
StepCheck settleThreshold(TaskWizardState& state, const ThresholdControls& in, Step5Outcome& out) {
  TaskHeader& h = state.header;
  if (h.refusalFlag == 0 || (in.choice != 1 && in.choice != 2)) {
    h.servedThreshold = 0;
    return StepCheck::ok();
  }
  const bool atMost = in.choice == 1;
  const std::string focus = atMost ? "porog1" : "porog2";
  const std::string_view text = trim(atMost ? in.porog1 : in.porog2);
  const auto value = allDigits(text) ? parseInt(text) : std::nullopt;
  if (!value) return StepCheck::focusOnly(focus);
  h.servedThreshold = atMost ? *value : -*value;

  int never = 0, notRefused = 0, refusable = 0;
  for (int r = 0; r < state.table1a.rows(); ++r) {
    const std::string_view mark = trim(state.table1a.cell(r, t1a::kRefusal));
    if (mark == "-")
      ++never;
    else if (mark.empty())
      ++notRefused;
    else
      ++refusable;
  }
  if (refusable == 0) {
    out.resetThreshold = true;
    return StepCheck::refuse(warningMessage(shell(300) + "."), "");
  }
  const int32_t n = h.pointCount;
  if (*value >= n)
    return StepCheck::refuse(warningMessage(shell(630) + " <= " + num(n - 1) + "."), focus);
  if (*value < never + notRefused)
    return StepCheck::refuse(warningMessage(shell(634) + " >= " + num(never + notRefused) + "."),
                             focus);
  return StepCheck::ok();
}

Message tooManyStates(const TaskHeader& h, int64_t count) {
  const Text suffix = h.endPoint <= 0 ? shell(187) + ", " : Text();
  const Text head =
      shell(311) + " " + num(count) + " (> " + num(kStateLimit) + " " + shell(153) + "). ";
  if (h.timeFactorFlag == 0)
    return warningMessage(head + shell(699) + " " + suffix + shell(637) + ".");
  return warningMessage(head + shell(700) + ", " + suffix + shell(637) + ".");
}

// Every point with candidate rows needs one marked. A point's rows follow its first row.
StepCheck checkMarks(const GridTable& t) {
  std::unordered_set<std::string> marked;
  std::vector<int> failing;
  for (int r = t.rows() - 1; r >= 0; --r) {
    if (!t.isEmptyTrimmed(r, t12::kMark)) marked.insert(trimmed(t.cell(r, t12::kPointOfRow)));
    const std::string point = trimmed(t.cell(r, t12::kPoint));
    if (!point.empty() && !marked.count(point)) failing.push_back(r);
  }
  if (failing.empty()) return StepCheck::ok();
  const int r = failing.back();  // the first failing row from the top
  return StepCheck::refuse(warningMessage(shell(274) + " " + val(t.cell(r, t12::kPoint)) + "."),
                           "Table12", r, t12::kMark);
}

}  // namespace

Step5Outcome checkStep5(TaskWizardState& state, const ThresholdControls& threshold) {
  Step5Outcome out;
  if (StepCheck c = settleThreshold(state, threshold, out); !c.passed())
    return stay(std::move(out), std::move(c));
  TaskHeader& h = state.header;
  if (state.dbLevel > 1)
    for (size_t i = 0; i < state.points.size(); ++i)
      state.points[i].houseIndex =
          parseInt(trim(state.table1.cell(static_cast<int>(i), t1::kHouseIndex))).value_or(-1);
  out.stateCount = estimateStateCount(h, state.points);
  if (out.stateCount > kStateLimit)
    return stay(std::move(out), StepCheck::refuse(tooManyStates(h, out.stateCount),
                                                  h.timeFactorFlag == 1 ? "txtDT" : ""));
  h.stateCount2 = static_cast<int32_t>(out.stateCount);
  if (state.ambiguousCount > 0)
    if (StepCheck c = checkMarks(state.table12); !c.passed())
      return stay(std::move(out), std::move(c));
  out.check = StepCheck::ok();
  out.next = state.dbLevel == 1   ? WizardNext::PlaceLevelOnePoints
             : state.dbLevel == 2 ? WizardNext::AutoTransitions
                                  : WizardNext::ShowSummary;
  return out;
}

GridKeyResult table12Key(TaskWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  GridTable& t = state.table12;
  switch (key) {
    case GridKey::InsertRow:
    case GridKey::DeleteRow:
    case GridKey::Delete: r.handled = true; break;  // the candidates are not edited
    case GridKey::Space: {
      r.handled = true;
      if (col != t12::kMark || row < 0 || row >= t.rows()) break;
      const std::string point = trimmed(t.cell(row, t12::kPointOfRow));
      for (int s = 0; s < t.rows(); ++s)
        if (trim(t.cell(s, t12::kPointOfRow)) == point && !t.cell(s, t12::kMark).empty()) {
          t.set(s, t12::kMark, "");
          r.changed(s);
        }
      t.set(row, t12::kMark, std::string(kFlagShown));
      r.changed(row);
      break;
    }
    default: break;
  }
  return r;
}

}  // namespace qj
