#include "task/identity_step.h"

#include <algorithm>

#include "dbrn/dbrn_io.h"
#include "frame/task_handover.h"
#include "records/cp1251.h"
#include "records/numbers.h"

namespace qj {

Message tooManyNodesMessage(int32_t nodes) {
  return warningMessage(shell(860) + " " + num(nodes) + " (> 2500 " + shell(153) + ").");
}

Message tooManySectionsMessage(int32_t sections) {
  return warningMessage(shell(861) + " " + num(sections) + " (> 10000 " + shell(153) + ").");
}

fs::path taskDbrnBasePath(const ProgramFolder& folder, std::string_view key,
                          std::string_view langCode) {
  return folder.dbrn() / (std::string(key) + "_dbrn_" + cp1251::toUtf8(langCode));
}

TaskDbrnLoad loadDbrnForTask(const fs::path& file) {
  TaskDbrnLoad result;
  const auto refused = [&](const DbrnError& error) {
    result.message =
        errorMessage(dbrnReadFailure(cp1251::fromUtf8(file.filename().string()), error));
    return result;
  };
  // The limits are judged on the header, before a database of any size is read.
  const std::optional<DbrnHeader> header = readDbrnHeaderFile(file);
  if (!header) return refused(readDbrnFile(file).error);
  if (header->nodeCount > kTaskMaxNodes) {
    result.message = tooManyNodesMessage(header->nodeCount);
    return result;
  }
  if (header->sectionCount > kTaskMaxSections) {
    result.message = tooManySectionsMessage(header->sectionCount);
    return result;
  }
  DbrnRead read = readDbrnFile(file);
  if (!read.db) return refused(read.error);
  result.db = std::move(read.db);
  return result;
}

namespace {

std::string numberText(double x, char decSep) {
  return formatReal(x, decSep);
}

Page2Values page2From(const TaskHeader& h, char decSep) {
  Page2Values v;
  v.cargoMode =
      h.cargoMode == kCargoByVolume || h.cargoMode == kCargoByWeight ? h.cargoMode : kNoCargo;
  if (v.cargoMode > kNoCargo) v.capacity = numberText(h.capacity, decSep);
  v.pointCount = std::to_string(h.pointCount);
  v.startPoint = std::to_string(h.startPoint);
  v.endPoint = h.endPoint > 0 ? std::to_string(h.endPoint) : "";
  v.moneyUnit = h.moneyUnit;
  v.finePerKm = numberText(h.finePerKm, decSep);
  v.finePerHour = numberText(h.finePerHour, decSep);
  v.orderMode = h.orderMode >= kNoOrder && h.orderMode <= kPriorityClasses ? h.orderMode : kNoOrder;
  if (v.orderMode == kPriorityClasses) v.priorityCount = std::to_string(h.priorityCount);
  v.refusals = h.refusalFlag == 1;
  v.timeFactor = h.timeFactorFlag == 1;
  if (v.timeFactor) v.tact = std::to_string(h.tactMinutes);
  v.returnToStart = h.returnFlag == 1;
  return v;
}

}  // namespace

Step1Result checkStep1(TaskWizardState& state, AppState& app, const Step1Input& in) {
  Step1Result result;
  if (!isTaskCode(in.code)) {
    result.check = StepCheck::refuse(warningMessage(shell(299) + "."), "txtShifr");
    return result;
  }
  if (in.name.empty()) {
    result.check = StepCheck::refuse(warningMessage(shell(41) + "."), "txtName");
    return result;
  }
  if (state.formMode != kCorrectTask &&
      std::any_of(app.protocol.begin(), app.protocol.end(),
                  [&](const ProtocolRec& r) { return r.code == in.code; })) {
    result.check = StepCheck::refuse(warningMessage(shell(694) + "."), "txtShifr");
    return result;
  }
  if (in.dbItem <= 0 || static_cast<size_t>(in.dbItem) > app.dbrnCatalog.size()) {
    result.check = StepCheck::refuse(warningMessage(shell(276) + "."), "");
    return result;
  }

  const std::string& key = app.dbrnCatalog[in.dbItem - 1].key;
  const fs::path base = taskDbrnBasePath(app.dirs(), key, state.langCode);
  app.selectedPath = base.string();
  TaskDbrnLoad load = loadDbrnForTask(fs::path(base.string() + ".dat"));
  if (!load.db) {
    result.check = StepCheck::refuse(std::move(*load.message), "");
    return result;
  }
  state.db = std::move(*load.db);
  state.dbLevel = dbLevel(std::string_view(key).substr(std::min<size_t>(3, key.size()), 4));

  state.transitionsEntered =
      !state.points.empty() && !state.toTransitions.empty() && !state.fromTransitions.empty();
  if (state.points.empty()) resetToNewTaskHeader(state.header);
  if (state.page2Revision != state.taskRevision) {
    result.page2 = page2From(state.header, state.decSep);
    state.page2Revision = state.taskRevision;
  }
  state.header.code = in.code;
  state.header.name = in.name.substr(0, 70);
  result.updates = headerStripUpdates(state);
  state.wizardStep = 2;
  return result;
}

}  // namespace qj
