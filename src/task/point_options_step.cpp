#include "task/point_options_step.h"

#include <cmath>

#include "records/numbers.h"
#include "records/text.h"
#include "route/route_task.h"
#include "task/points_step.h"

namespace qj {

ThresholdControls thresholdControls(int32_t servedThreshold) {
  if (servedThreshold == 0) return {0, "", ""};
  if (servedThreshold < 0) return {2, "", std::to_string(-static_cast<int64_t>(servedThreshold))};
  return {1, std::to_string(servedThreshold), ""};
}

void fillTable1a(TaskWizardState& state, const ShellTables& shell) {
  const TaskHeader& h = state.header;
  const char sep = state.decSep;
  GridTable& t = state.table1a;
  state.typed1a.collect(t);
  t.clear();
  t.setRows(std::max(h.pointCount, 0));
  for (int r = 0; r < t.rows(); ++r) {
    const TaskPointRec p =
        r < static_cast<int>(state.points.size()) ? state.points[r] : TaskPointRec{};
    const bool start = state.isStartPoint(r), end = state.isEndPoint(r);
    const std::string income = formatReal(p.income, sep);
    t.set(r, t1a::kPoint, pointLabel(h, shell, r));
    t.set(r, t1a::kAddress, addressText(p));
    // Each option writes its cells; a later option overwrites the income of an earlier one.
    if (h.refusalFlag == 1) {
      t.set(r, t1a::kRefusal,
            start || end ? "-" : (p.refusalAllowed != 0 ? std::string(kFlagShown) : ""));
      t.set(r, t1a::kIncome, start ? "-" : income);
    }
    if (h.cargoMode > kNoCargo) {
      t.set(r, t1a::kCargo, start ? "-" : formatReal(p.volume, sep));
      t.set(r, t1a::kIncome, start ? "-" : income);
    }
    if (h.timeFactorFlag == 1) {
      t.set(r, t1a::kIncome, start ? "-" : income);
      if (start || end) {
        t.set(r, t1a::kLow, "-");
        t.set(r, t1a::kHigh, "-");
      } else {
        t.set(r, t1a::kLow, std::to_string(p.windowLow));
        t.set(r, t1a::kHigh, p.windowHigh > 0 ? std::to_string(p.windowHigh) : "");
      }
    }
  }
  // What was typed on the page before the user went back stays in the row of its point where
  // the cell still takes it under the options chosen now.
  std::vector<std::string> keys;
  for (int r = 0; r < t.rows(); ++r) keys.push_back(pointKey(r));
  const Table1aRules rules(state);
  state.typed1a.filled(t, std::move(keys), [&](int r, int col) {
    if (col == t1a::kRefusal) return h.refusalFlag == 1 && !isDash(t.cell(r, col));
    return rules.typable(t, r, col);
  });
}

bool Table1aRules::typable(const GridTable& table, int row, int col) const {
  if (isDash(table.cell(row, col))) return false;
  switch (col) {
    case t1a::kCargo: return state_.header.cargoMode > kNoCargo;
    case t1a::kIncome: return true;
    case t1a::kLow:
    case t1a::kHigh: return state_.header.timeFactorFlag == 1;
    default: return false;  // the refusal mark is set with the SpaceBar
  }
}

FieldRule Table1aRules::cellRule(const GridTable&, int, int col) const {
  if (col == t1a::kLow || col == t1a::kHigh) return {KeyFilter::Digit, 4};
  return {KeyFilter::Decimal, 6, false, state_.decSep};
}

GridKeyResult table1aKey(TaskWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  GridTable& t = state.table1a;
  switch (key) {
    case GridKey::InsertRow:
    case GridKey::DeleteRow: r.handled = true; break;
    case GridKey::Delete: r.handled = isDash(t.cell(row, col)); break;
    case GridKey::Space:
      if (col != t1a::kRefusal) break;
      r.handled = true;
      if (state.header.refusalFlag >= 1 && row >= 0 && row < t.rows() &&
          !isDash(t.cell(row, col))) {
        t.set(row, col, isFlagSet(t.cell(row, col)) ? "" : std::string(kFlagShown));
        r.changed(row);
      }
      break;
    default: break;
  }
  return r;
}

namespace {

class Step4Checker {
 public:
  Step4Checker(const TaskWizardState& state, const ShellTables& shell)
      : s_(state), h_(state.header), t_(state.table1a), shell_(shell) {}

  StepCheck checkRow(int r) {
    r_ = r;
    if (!isExemptRow(t_, r, shell_)) {
      if (h_.cargoMode == kCargoByVolume)
        if (auto c = cargo(shell(282), shell(351), shell(629), shell(243), shortText(20)))
          return *c;
      if (h_.cargoMode == kCargoByWeight)
        if (auto c = cargo(shell(278), shell(342), shell(528), shell(244), shortText(14).trimmed()))
          return *c;
      const std::string_view income = cell(t1a::kIncome);
      if (income.empty()) return refuse(shell(279) + " " + row() + ".", r_, t1a::kIncome);
      if (!isDash(income) && !parseReal(income, s_.decSep))
        return refuse(shell(347) + " " + row() + ".", r_, t1a::kIncome);
    }
    if (h_.timeFactorFlag == 1) return checkWindow();
    return StepCheck::ok();
  }

  // With cargo, the loads must not all fit in at once, and the points that may not be refused
  // must fit in together when the vehicle never returns for more.
  StepCheck checkCargoSums() const {
    const bool volume = h_.cargoMode == kCargoByVolume;
    const Text unit = volume ? shortText(20) : shortText(14).trimmed();
    const Text capacity = real(h_.capacity);
    double refusableFree = 0, total = 0;
    int marked = 0;
    for (int r = 0; r < t_.rows(); ++r) {
      const bool refusable = trim(t_.cell(r, t1a::kRefusal)) == "*";
      marked += refusable ? 1 : 0;
      const std::string_view load = trim(t_.cell(r, t1a::kCargo));
      if (load == "-") continue;
      const double v = parseReal(load, s_.decSep).value_or(0);
      total += v;
      if (!refusable) refusableFree += v;
    }
    if (h_.refusalFlag == 1 && h_.returnFlag == 0) {
      // Both refusals ask for a point marked refusable: the first mark cell that is free.
      int free = -1;
      for (int r = 0; r < t_.rows() && free < 0; ++r)
        if (trim(t_.cell(r, t1a::kRefusal)).empty()) free = r;
      if (marked == 0) return refuse(shell(280) + ".", free, t1a::kRefusal);
      if (refusableFree > h_.capacity + kCargoTolerance) {
        const Text head =
            (volume ? shell(664) : shell(662)) + " (= " + real(refusableFree) + " " + unit + "), ";
        const Text limit = volume ? shell(718).trimmed() : shell(719);
        return refuse(
            head + limit + " (= " + capacity + " " + unit + "), " + shell(742).trimmed() + ".",
            free, t1a::kRefusal);
      }
    }
    if (total <= h_.capacity + kCargoTolerance) {
      const Text head = (volume ? shell(663) : shell(661)) + " (= " + real(total) + " " + unit +
                        "), " + (volume ? shell(718).trimmed() : shell(719)) + " (= " + capacity +
                        " " + unit + "). ";
      return refuse(head + (volume ? shell(784).trimmed() : shell(783)) + ".", -1);
    }
    return StepCheck::ok();
  }

 private:
  std::string_view cell(int col) const { return trim(t_.cell(r_, col)); }
  Text row() const { return num(r_ + 1); }
  Text real(double x) const { return val(formatReal(x, s_.decSep)); }
  // A refusal naming the cell of table column `col` in `gridRow` (no row for -1).
  StepCheck refuse(Text text, int gridRow, int col = -1) const {
    return StepCheck::refuse(warningMessage(std::move(text)), "Table1a", gridRow, col);
  }

  std::optional<StepCheck> cargo(Text missing, Text notNumber, Text tooLarge, Text capacityWord,
                                 Text unit) const {
    const std::string_view load = cell(t1a::kCargo);
    if (load.empty()) return refuse(std::move(missing) + " " + row() + ".", r_, t1a::kCargo);
    if (isDash(load)) return std::nullopt;
    const auto v = parseReal(load, s_.decSep);
    if (!v) return refuse(std::move(notNumber) + " " + row() + ".", r_, t1a::kCargo);
    if (*v > h_.capacity + kCargoTolerance)
      return refuse(std::move(tooLarge) + " " + row() + ", " + capacityWord +
                        " (= " + real(h_.capacity) + " " + unit + "), " + shell(717) + ".",
                    r_, t1a::kCargo);
    return std::nullopt;
  }

  // A window bound in minutes; nothing when the text is not a whole number up to 9999.
  static std::optional<int32_t> minutes(std::string_view text) {
    if (text.empty() || !allDigits(text)) return std::nullopt;
    const auto v = parseInt(text);
    if (!v || *v > kMaxWindowMinutes) return std::nullopt;
    return v;
  }

  // The service must fit into the window: it starts at the lower bound at the earliest and
  // lasts as long as the optimiser counts it (the unloading time in a cargo task).
  StepCheck checkWindow() const {
    const std::string_view low = cell(t1a::kLow), high = cell(t1a::kHigh);
    if (low.empty()) return refuse(shell(281) + " " + row() + ".", r_, t1a::kLow);
    if (isDash(low)) return StepCheck::ok();
    const auto lowMinutes = minutes(low);
    if (!lowMinutes) return refuse(shell(875) + " " + row() + ".", r_, t1a::kLow);
    if (high.empty() || isDash(high)) return StepCheck::ok();
    const auto highMinutes = minutes(high);
    if (!highMinutes) return refuse(shell(875) + " " + row() + ".", r_, t1a::kHigh);
    const TaskPointRec p = r_ < static_cast<int>(s_.points.size()) ? s_.points[r_] : TaskPointRec{};
    const int64_t need = *lowMinutes + static_cast<int64_t>(std::ceil(serviceDuration(h_, p)));
    if (need > *highMinutes)
      return refuse(shell(633) + " " + row() + ", " + shell(241) + " " + num(need) + " " +
                        shortText(24).trimmed() + ".",
                    r_, t1a::kHigh);
    return StepCheck::ok();
  }

  const TaskWizardState& s_;
  const TaskHeader& h_;
  const GridTable& t_;
  const ShellTables& shell_;
  int r_ = 0;
};

int32_t cellMinutes(const GridTable& t, int r, int col) {
  return parseInt(trim(t.cell(r, col))).value_or(0);
}

void writePointRecords(TaskWizardState& state) {
  const TaskHeader& h = state.header;
  const GridTable& t = state.table1a;
  for (int i = 0; i < static_cast<int>(state.points.size()); ++i) {
    TaskPointRec& p = state.points[i];
    p.refusalAllowed = 0;
    p.windowLow = p.windowHigh = 0;
    if (state.isStartPoint(i)) {
      if (h.cargoMode > kNoCargo) p.volume = 0;
      p.income = 0;
      continue;
    }
    if (h.cargoMode > kNoCargo) p.volume = cellReal(t, i, t1a::kCargo, state.decSep);
    p.income = cellReal(t, i, t1a::kIncome, state.decSep);
    if (state.isEndPoint(i)) continue;
    p.refusalAllowed = t.isEmptyTrimmed(i, t1a::kRefusal) ? 0 : 1;
    if (h.timeFactorFlag == 1) {
      p.windowLow = cellMinutes(t, i, t1a::kLow);
      p.windowHigh = cellMinutes(t, i, t1a::kHigh);
    }
  }
}

}  // namespace

StepOutcome checkStep4(TaskWizardState& state, const ShellTables& tables,
                       std::string_view tactText) {
  TaskHeader& h = state.header;
  if (h.timeFactorFlag == 1) {
    const std::string_view text = trim(tactText);
    const auto tact = allDigits(text) ? parseInt(text) : std::nullopt;
    if (!tact) return StepOutcome::stay(StepCheck::focusOnly("txtDT"));
    if (*tact < 1)
      return StepOutcome::stay(StepCheck::refuse(warningMessage(shell(324) + "."), "txtDT"));
    if (*tact > 100)
      return StepOutcome::stay(
          StepCheck::refuse(warningMessage(shell(618) + " (> 100)."), "txtDT"));
    h.tactMinutes = *tact;
  }
  Step4Checker checker(state, tables);
  for (int r = 0; r < state.table1a.rows(); ++r)
    if (StepCheck c = checker.checkRow(r); !c.passed()) return StepOutcome::stay(std::move(c));
  if (h.cargoMode >= kCargoByVolume)
    if (StepCheck c = checker.checkCargoSums(); !c.passed()) return StepOutcome::stay(std::move(c));
  writePointRecords(state);
  state.typed1a.stored(state.table1a);
  return StepOutcome::go(state.ambiguousCount >= 1 ? WizardNext::ShowSectionChoicePage
                                                   : WizardNext::RunStep5);
}

}  // namespace qj
