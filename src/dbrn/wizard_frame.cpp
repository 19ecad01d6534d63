#include "dbrn/wizard_frame.h"

#include "dbrn/sections_step.h"
#include "dbrn/street_types_step.h"
#include "frame/catalogue.h"
#include "platform/files.h"
#include "records/cp1251.h"

namespace qj {

DbrnWizardOpen openDbrnWizard(const AppState& app) {
  DbrnWizardOpen open;
  DbrnWizardState state = newDbrnWizard(app.formMode, app.decSep, app.langCode, app.texts);
  if (state.mode == kCorrectDbrn || state.mode == kViewDbrn) {
    WizardDbrnLoad load = loadDbrn(app.selectedPath, state.mode);
    if (!load.loaded) {
      open.message = std::move(load.message);
      return open;
    }
    installDbrn(state, std::move(*load.loaded));
  }
  open.state = std::move(state);
  return open;
}

Text dbrnBaseTitle(int32_t mode) {
  switch (mode) {
    case kCorrectDbrn: return shell(230).trimmed();
    case kViewDbrn: return shell(572).trimmed();
    default: return shell(640).trimmed();
  }
}

Text dbrnStepCaption(const DbrnWizardState& state, int step) {
  const Text title = dbrnBaseTitle(state.mode);
  if (step >= kDbrnSteps) return title;
  const Text n = step == 7 ? lit("6a") : num(std::max(step, 1));
  return title + " (" + shell(744).trimmed() + " " + n + " " + shell(200) + " 6)";
}

Text dbrnPageHeading(int32_t mode, int step) {
  const bool view = mode == kViewDbrn;
  switch (step) {
    case 2: return (view ? shell(652) : shell(665)) + ":";
    case 3: return (view ? shell(658) : shell(666)) + ":";
    case 4: return (view ? shell(493) : shell(47)) + ":";
    case 5: return (view ? shell(487) : shell(45)) + ":";
    case 6: return (view ? shell(482) : shell(44)) + ":";
    case 7: return (view ? shell(481) : shell(43)) + ":";
    case 8: return shell(423) + ":";
    default: return shell(100) + ":";
  }
}

ControlUpdates identityPageCaptions(const DbrnWizardState& state) {
  ControlUpdates u;
  const bool loaded = state.mode == kCorrectDbrn || state.mode == kViewDbrn;
  if (loaded) {
    setText(u, "Label1_1", (state.mode == kViewDbrn ? shell(226) : shell(224)) + ":");
    setText(u, "Label2_1", shell(260) + ":");
  } else {
    setText(u, "Label1_1", shell(39) + ":");
    setText(u, "Label2_1", shell(40) + ":");
  }
  // The kind of a loaded or imported database is shown; a new one's is chosen.
  if (kindChoiceShown(state))
    setText(u, "Label11_1", shell(182) + ":");
  else
    setText(u, "Label11_1", shell(672) + ":   " + state.kindCaption);
  setText(u, "DBRN1_0", state.kindCaption);
  setShown(u, "RBT1", kindChoiceShown(state));
  setShown(u, "RBT2", kindChoiceShown(state));
  // The workbook line names what is loaded, never a workbook whose import was refused.
  const bool fromWorkbook = !state.importedWorkbook.empty();
  setText(u, "Label_ex1", fromWorkbook ? shell(108) + ":" : Text());
  setText(u, "Label_ex2", val(state.importedWorkbook));
  setShown(u, "Label_ex1", fromWorkbook);
  setShown(u, "Label_ex2", fromWorkbook);
  return u;
}

bool kindChoiceShown(const DbrnWizardState& state) {
  return state.creating() && !state.kindFinal && state.db.header.dbKind.empty();
}

std::optional<FieldRule> dbrnEditRule(std::string_view name) {
  struct Entry {
    std::string_view name;
    FieldRule rule;
  };
  static const Entry kRules[] = {
      {"txtKod", {KeyFilter::Digit, 3, true}},     {"txtName", {KeyFilter::Text, 70, false}},
      {"skor", {KeyFilter::Decimal, 5, false}},    {"EditKey_1", {KeyFilter::Text, 4, false}},
      {"EditKey_2", {KeyFilter::Text, 30, false}},
  };
  for (const auto& e : kRules)
    if (e.name == name) return e.rule;
  return std::nullopt;
}

DbrnBackMove dbrnBack(DbrnWizardState& state) {
  DbrnBackMove m;
  switch (state.wizardStep) {
    case 2:
      m.toStep = 1;
      m.focus = state.mode == kViewDbrn      ? "EditKey_1"
                : state.mode == kCorrectDbrn ? "txtName"
                                             : "txtKod";
      break;
    case 3:
    case 4:
      m.toStep = 2;
      m.focus = "Table0";
      refreshTypeLocks(state);
      break;
    case 5:
      m = {4, "Table1", true};
      returnToSectionsPage(state);
      break;
    case 6: m = {5, "Table2", true}; break;
    case 7: m = {6, "Table3", true}; break;
    case 8:
      m = state.level == 1 ? DbrnBackMove{6, "Table3", true} : DbrnBackMove{7, "Table4", true};
      break;
    default: m.toStep = state.wizardStep; break;
  }
  return m;
}

DbrnImport importDbrnFile(DbrnWizardState& state, const AppState& app, int item) {
  DbrnImport result;
  if (item <= 0 || item > static_cast<int>(app.dbrnCatalog.size())) {
    clearDbrn(state);
    result.source = shell(275) + ".";
    return result;
  }
  const DbrnCatalogEntry& entry = app.dbrnCatalog[static_cast<size_t>(item - 1)];
  const fs::path base = app.dirs().dbrn() / cp1251::toUtf8(entry.key + "_dbrn_" + app.langCode);
  WizardDbrnLoad load = loadDbrn(base.string(), state.mode);
  if (!load.loaded) {
    result.message = std::move(load.message);
    return result;
  }
  installDbrn(state, std::move(*load.loaded));
  result.source = val("[" + entry.key + "] " + entry.name);
  return result;
}

BusyLabel dbrnBusyLabel() {
  return {330, 20, shell(118) + " ..."};
}

ControlUpdates installWorkbook(DbrnWizardState& state, DbrnWorkbookImport imported) {
  if (imported.loaded) {
    installDbrn(state, std::move(*imported.loaded));
    state.kindFinal = true;
    state.importedWorkbook = std::move(imported.workbookName);
  }
  return identityPageCaptions(state);
}

ControlUpdates identityStripUpdates(const DbrnWizardState& state) {
  ControlUpdates u;
  const DbrnHeader& h = state.db.header;
  const bool dated = !h.dbDate.empty();
  for (int step = 2; step <= kDbrnSteps; ++step) {
    const std::string suffix(dbrnStripSuffix(step));
    setText(u, "kod_" + suffix, val(h.dbCode));
    setText(u, "name_" + suffix, val(h.dbName));
    setText(u, "DBRN1_" + suffix, state.kindCaption);
    setText(u, "DBRN2_" + suffix, val(h.dbDate));
    setShown(u, "DBRN2_" + suffix, dated);
    // The summary names its date line differently.
    setShown(u, step == kDbrnSteps ? "Label10_5" : "Label4_" + suffix, dated);
  }
  return u;
}

}  // namespace qj
