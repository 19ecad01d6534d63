#include "task/parameters_step.h"

#include <algorithm>

#include "records/numbers.h"
#include "records/text.h"
#include "task/points_step.h"

namespace qj {

int64_t stageOneStateCount(int32_t sections) {
  return (static_cast<int64_t>(sections) + 2) * 2 + 2;
}

namespace {

// The pages that follow page 2 and carry the point strip.
constexpr int kPointStripSteps[] = {3, 4, 5, 6, 7, 8};

// Item 1: the cargo column of step 4. (The summary page composes its own rows from the header
// when it is shown.)
void cargoColumnTitle(ControlUpdates& u, const Page2Input& in) {
  setFitted(u, "L11_3a",
            in.cargoMode == kCargoByVolume   ? shell(425)
            : in.cargoMode == kCargoByWeight ? shell(74).trimmed()
                                             : Text{});
}

// Item 3: what goes into the header before any check.
void storeOptions(TaskWizardState& state, const Page2Input& in, ControlUpdates& u) {
  TaskHeader& h = state.header;
  h.moneyUnit = cut(in.moneyUnit, 20);
  h.refusalFlag = in.refusals ? 1 : 0;
  h.timeFactorFlag = in.timeFactor ? 1 : 0;
  setFitted(u, "L2_3a", (in.timeFactor ? shell(163) : shell(162)) + unitInBrackets(h.moneyUnit));
  h.tactMinutes = 0;
  h.returnFlag = in.cargoMode > kNoCargo && in.returnToStart ? 1 : 0;
  state.warnedRow = -1;
  h.language = state.langCode;
  h.dbKind = state.db.header.dbKind;
  h.dbCode = state.db.header.dbCode;
  h.dbName = state.db.header.dbName;
  h.dbDate = state.db.header.dbDate;
  h.sectionCount = state.db.header.sectionCount;
}

void pointStrip(ControlUpdates& u, const char* prefix, const Text& text) {
  for (int step : kPointStripSteps) setText(u, prefix + std::string(taskPageSuffix(step)), text);
}

// Item 13: the address grid's titles.
void addressGridTitles(ControlUpdates& u, const TaskHeader& h) {
  const bool cargo = h.cargoMode > kNoCargo;
  setFitted(u, "Title3_T1", cargo ? shell(84) : shell(145));
  setShown(u, "Title4_T1", cargo);
  setShown(u, "Title6_T1", h.orderMode != kNoOrder);
  if (h.orderMode == kNextPointGiven) setFitted(u, "Title6_T1", shell(410));
  if (h.orderMode == kPassedAfterPoint) setFitted(u, "Title6_T1", shell(408));
  if (h.orderMode == kPriorityClasses)
    setFitted(u, "Title6_T1",
              shell(547) + " (>=1 " + shell(1).trimmed() + " <=" + num(h.priorityCount) + ")");
  setFitted(u, "Title5_T1", shell(750) + unitInBrackets(h.moneyUnit));
}

// Item 18: the controls of step 4 that the options call for.
void optionalStepControls(ControlUpdates& u, const TaskHeader& h) {
  for (const char* name :
       {"L1_3a", "Label80", "Label15", "por0", "por1", "por2", "porog1", "porog2"})
    setShown(u, name, h.refusalFlag == 1);
  for (const char* name : {"L3_3a", "L4_3a", "L5_3a", "Label59", "Bevel50", "txtDT"})
    setShown(u, name, h.timeFactorFlag == 1);
  // The rule between the threshold and the tact stands only where both do.
  setShown(u, "Bevel52", h.refusalFlag == 1 && h.timeFactorFlag == 1);
}

StepCheck focusOn(const char* control) {
  return StepCheck::focusOnly(control);
}

StepCheck refuse(Text text, const char* control) {
  return StepCheck::refuse(warningMessage(std::move(text)), control);
}

// Items 6 to 12, in their order; the values are stored as they are read.
StepCheck checkValues(TaskWizardState& state, const Page2Input& in, ControlUpdates& u) {
  TaskHeader& h = state.header;
  const std::optional<int32_t> n = parseInt(in.pointCount);
  if (!n) return focusOn("TS_num");
  if (*n < 2) return refuse(shell(314) + " (< 2).", "TS_num");
  if (*n > 10) return refuse(shell(312) + " (> 10 " + shell(153) + ").", "TS_num");
  h.pointCount = *n;
  pointStrip(u, "nts_", val(in.pointCount));

  const std::optional<int32_t> start = parseInt(in.startPoint);
  if (!start) return focusOn("TS_first");
  h.startPoint = *start;
  if (*start < 1 || *start > *n) return refuse(shell(340) + ".", "TS_first");
  pointStrip(u, "tsf_", val(in.startPoint));

  if (in.endPoint.empty()) {
    h.endPoint = 0;
    pointStrip(u, "tsl_", shell(277));
  } else {
    // Only digits reach this edit, but a number out of range is reported as one.
    const std::optional<int32_t> end = parseInt(in.endPoint);
    h.endPoint = end.value_or(0);
    if (!end || *end < 1 || *end > *n) return refuse(shell(341) + ".", "TS_last");
    if (*end == *start) return refuse(shell(211) + ". " + shell(743) + ".", "TS_first");
    pointStrip(u, "tsl_", val(in.endPoint));
  }

  const std::optional<double> perKm = parseReal(in.finePerKm, state.decSep);
  if (!perKm) return focusOn("fine1");
  h.finePerKm = *perKm;
  const std::optional<double> perHour = parseReal(in.finePerHour, state.decSep);
  if (!perHour) return focusOn("fine2");
  h.finePerHour = *perHour;
  const std::optional<double> speed = parseReal(in.approachSpeed, state.decSep);
  if (!speed) return focusOn("Velo");
  state.approachSpeed = *speed;
  if (state.dbLevel > 1) {
    // The transitions of levels 2 and 3 divide by this speed.
    if (*speed <= 0) return refuse(shell(867) + ".", "Velo");
    h.approachSpeed = *speed;
  }

  h.priorityCount = 0;
  h.orderMode =
      in.orderMode >= kNoOrder && in.orderMode <= kPriorityClasses ? in.orderMode : kNoOrder;
  if (h.orderMode == kPriorityClasses) {
    const std::optional<int32_t> classes = parseInt(in.priorityCount);
    if (!classes) return focusOn("nprio");
    h.priorityCount = *classes;
    if (*classes < 2) return refuse(shell(632) + " >= 2.", "nprio");
    const int32_t limit = h.endPoint != 0 ? h.pointCount - 2 : h.pointCount - 1;
    if (*classes > limit) return refuse(shell(623) + " <= " + num(limit) + ".", "nprio");
  }

  h.cargoMode =
      in.cargoMode == kCargoByVolume || in.cargoMode == kCargoByWeight ? in.cargoMode : kNoCargo;
  if (h.cargoMode > kNoCargo) {
    const std::optional<double> capacity = parseReal(in.capacity, state.decSep);
    if (!capacity) return focusOn("ndol");
    h.capacity = *capacity;
    if (*capacity <= 0.00001) return refuse(shell(328) + ".", "ndol");
  } else {
    h.capacity = 0;
  }

  if (h.refusalFlag == 0 && h.cargoMode > kNoCargo && h.returnFlag == 0)
    return StepCheck::refuse(warningMessage(shell(302) + ". " + shell(202) + "."), "");
  return StepCheck::ok();
}

}  // namespace

Step2Result checkStep2(TaskWizardState& state, const Page2Input& in, const ShellTables& texts) {
  Step2Result result;
  ControlUpdates& u = result.updates;
  cargoColumnTitle(u, in);
  setShown(u, "List2", state.dbLevel >= 2);
  setShown(u, "L2_3", state.dbLevel >= 2);
  storeOptions(state, in, u);

  state.pickers.fill(state, texts);

  result.check = checkValues(state, in, u);
  if (!result.check.passed()) return result;

  const TaskHeader& h = state.header;
  addressGridTitles(u, h);
  // An address typed on page 3 before the user came back here stays marked. A database chosen
  // again on page 1 changes what every address means: every point is marked, once.
  state.pointChanged.resize(static_cast<size_t>(h.pointCount), 0);
  if (state.dbChangedByUser) {
    std::fill(state.pointChanged.begin(), state.pointChanged.end(), 1);
    state.dbChangedByUser = 0;
  }
  fillTable1(state, texts);
  optionalStepControls(u, h);
  state.wizardStep = 3;
  return result;
}

}  // namespace qj
