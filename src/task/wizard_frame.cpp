#include "task/wizard_frame.h"

#include <array>

#include "dbrn/dbrn_io.h"
#include "frame/task_handover.h"
#include "records/text.h"

namespace qj {

std::string_view taskPageSuffix(int step) {
  static constexpr std::array<std::string_view, kTaskSteps> kSuffix = {"1",  "2", "3", "3a",
                                                                       "34", "4", "5", "6"};
  return step >= 1 && step <= kTaskSteps ? kSuffix[step - 1] : std::string_view();
}

Text taskWizardTitle(int32_t formMode) {
  return formMode == kCorrectTask ? shell(233) : shell(64);
}

bool usesOptionalStep(const TaskHeader& header) {
  return header.timeFactorFlag != 0 || header.refusalFlag != 0 || header.cargoMode != kNoCargo;
}

namespace {

Text stepWord() {
  return shell(744).trimmed();
}

// The number a page shows in the caption.
Text pageNumber(const TaskWizardState& state, int step) {
  switch (step) {
    case 2: return lit("2");
    case 3: return lit("3");
    case 4: return shell(3);
    case 5: return usesOptionalStep(state.header) ? shell(4) : shell(3);
    case 6: return lit("4");
    case 7: return lit("5");
    default: return lit("1");
  }
}

}  // namespace

Text taskStepCaption(const TaskWizardState& state, int step) {
  const Text title = taskWizardTitle(state.formMode);
  if (step <= 1) return title + " (" + stepWord() + " 1)";
  if (step >= kTaskSteps) return title;
  const Text total = state.dbLevel == 1 ? lit("5") : lit("3");
  return title + " (" + stepWord() + " " + pageNumber(state, step) + " " + shell(200) + " " +
         total + ")";
}

BackMove backFrom(const TaskWizardState& state) {
  const bool optional = usesOptionalStep(state.header);
  // The address page or, when the task has it, the optional page after it.
  const BackMove toAddresses{3, "Table1", true};
  const BackMove toOptional{4, "Table1a", true};
  switch (state.wizardStep) {
    case 2: return {1, state.formMode == kCorrectTask ? "txtName" : "txtShifr", false};
    case 3: return {2, "TS_num", false};
    case 4: return toAddresses;
    case 5: {
      BackMove m = optional ? toOptional : toAddresses;
      m.resetWarnedRow = !optional;  // from 5 to 4 the warning row is kept
      return m;
    }
    case 6:
      if (state.ambiguousCount > 0) return {5, "Table12", false};
      return optional ? toOptional : toAddresses;
    case 7: return {6, "Table2", false};
    case 8: {
      BackMove m =
          state.dbLevel == 1 ? BackMove{7, "Table3", false} : (optional ? toOptional : toAddresses);
      m.resetWarnedRow = false;
      return m;
    }
    default: return {1, {}, false};
  }
}

std::optional<FieldRule> taskEditRule(std::string_view name) {
  struct Entry {
    std::string_view name;
    FieldRule rule;
  };
  // clang-format off
  static const Entry kRules[] = {
      {"txtShifr", taskCodeRule()},              {"txtName", {KeyFilter::Text, 70, false}},
      {"TS_num", {KeyFilter::Digit, 2, false}},  {"TS_first", {KeyFilter::Digit, 2, false}},
      {"TS_last", {KeyFilter::Digit, 2, false}}, {"txtDT", {KeyFilter::Digit, 3, false}},
      {"nprio", {KeyFilter::Digit, 2, false}},   {"porog1", {KeyFilter::Digit, 2, false}},
      {"porog2", {KeyFilter::Digit, 2, false}},  {"fine1", {KeyFilter::Decimal, 6, false}},
      {"fine2", {KeyFilter::Decimal, 6, false}}, {"Velo", {KeyFilter::Decimal, 5, false}},
      {"ndol", {KeyFilter::Decimal, 6, false}},
  };
  // clang-format on
  for (const auto& e : kRules)
    if (e.name == name) return e.rule;
  return std::nullopt;
}

std::vector<Text> moneyUnitItems() {
  return {shortText(6), shortText(7), shortText(9), shortText(48)};
}

int databaseItemOf(const std::vector<std::string>& items, const TaskHeader& header) {
  const std::string key = "[" + header.dbCode + header.dbKind + "]";
  for (size_t i = 1; i < items.size(); ++i)
    if (std::string_view(items[i]).substr(0, 9) == key) return static_cast<int>(i);
  return 0;
}

Text taskDbKindText(std::string_view kind) {
  // The task wizard names a client addition by text 217; the other kinds read as in the
  // database wizard.
  if (kind == "cli2") return lit("cli2 (") + shell(217).trimmed() + ")";
  const Text caption = dbrnKindCaption(kind);
  return caption.empty() ? val(kind) : caption;
}

void resetToNewTaskHeader(TaskHeader& h) {
  h.pointCount = 2;
  h.startPoint = 1;
  h.endPoint = 0;
  h.moneyUnit.clear();
  h.finePerKm = 0;
  h.finePerHour = 0;
  h.refusalFlag = 0;
  h.servedThreshold = 0;
  h.timeFactorFlag = 0;
  h.cargoMode = kNoCargo;
  h.returnFlag = 0;
  h.orderMode = kNoOrder;
  h.priorityCount = 0;
  h.stateCount2 = 0;
}

ControlUpdates headerStripUpdates(const TaskWizardState& state) {
  ControlUpdates u;
  for (int step = 2; step <= kTaskSteps; ++step) {
    const std::string suffix(taskPageSuffix(step));
    setText(u, "shifr_" + suffix, val(state.header.code));
    setText(u, "name_" + suffix, val(state.header.name));
    setText(u, "DBRN1_" + suffix, taskDbKindText(state.db.header.dbKind));
    setText(u, "DBRN2_" + suffix, val(state.db.header.dbCode));
    setText(u, "DBRN3_" + suffix, val(state.db.header.dbDate));
  }
  return u;
}

}  // namespace qj
