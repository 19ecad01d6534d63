#include "dbrn/identity_step.h"

#include <algorithm>

#include "dbrn/street_types_step.h"
#include "dbrn/wizard_frame.h"
#include "records/text.h"
#include "wizard/grid.h"

namespace qj {

bool isValidDbCode(std::string_view code) {
  return code.size() == 3 && allDigits(code);
}

ControlUpdates levelTitleUpdates(int32_t level) {
  ControlUpdates u;
  if (level == 1) {
    setFitted(u, "Label5", shell(386));
    setFitted(u, "Label6", shell(384));
    setFitted(u, "Label10", shell(263) + " (*)");
    setFitted(u, "Title2_T3", shell(263) + " (*)");
  } else if (level == 2) {
    setFitted(u, "Label5", shell(394).trimmed());
    setFitted(u, "Label6", shell(393).trimmed());
    setFitted(u, "Label10", shell(264).trimmed());
    setFitted(u, "Title2_T3", shell(264).trimmed());
  }
  return u;
}

namespace {

bool isKnownKind(std::string_view kind) {
  return kind == "use1" || kind == "use2" || kind == "sys1" || kind == "sys2" || kind == "cli2";
}

// The refusals of a new database's kind and key (creation modes only).
StepCheck checkNewDatabase(const DbrnWizardState& state, const AppState& app,
                           const std::string& code) {
  if (!isKnownKind(state.curKind))
    return StepCheck::refuse(warningMessage(shell(205) + ". " + shell(179) + "."), "cbImport");
  if (state.curKind == "cli2")
    return StepCheck::refuse(warningMessage(shell(26) + ". " + shell(158).trimmed() + "."),
                             "cbImport");
  const std::string key = code + state.curKind;
  for (const DbrnCatalogEntry& e : app.dbrnCatalog)
    if (e.key == key)
      return StepCheck::refuse(warningMessage(shell(693) + " " + state.kindCaption + " " +
                                              shell(603) + ". " + shell(38) + "."),
                               "txtKod");
  return StepCheck::ok();
}

}  // namespace

StepResult checkGeneralPage(DbrnWizardState& state, const AppState& app,
                            const DbrnIdentityInput& input) {
  // A new database's code becomes its file name; a loaded one keeps the code of its file.
  const bool codeOk = state.creating() ? isValidDbCode(input.code) : input.code.size() == 3;
  if (!codeOk)
    return StepResult::refuse(StepCheck::refuse(warningMessage(shell(297) + "."), "txtKod"));
  if (input.name.empty())
    return StepResult::refuse(StepCheck::refuse(warningMessage(shell(40) + "."), "txtName"));

  // A kind that no import or load has given comes from the radio buttons.
  if (state.db.header.dbKind.empty()) {
    if (input.use1) {
      state.curKind = "use1";
      state.kindCaption = dbrnKindCaption("use1");
    } else if (input.use2) {
      state.curKind = "use2";
      state.kindCaption = dbrnKindCaption("use2");
    }
  }
  StepResult r;
  if (state.creating()) {
    r.check = checkNewDatabase(state, app, input.code);
    if (!r.check.passed()) {
      setText(r.updates, "DBRN1_0", state.kindCaption);
      return r;
    }
  }

  DbrnHeader& h = state.db.header;
  h.language = cut(app.langCode, 3);
  h.dbCode = cut(input.code, 3);
  h.dbName = cut(input.name, 70);
  const int level = dbLevel(state.curKind);
  state.level = level == 1 || level == 2 ? level : 3;

  fillTable0(state);
  refreshTypeLocks(state);

  r.updates = identityStripUpdates(state);
  for (ControlUpdate& u : levelTitleUpdates(state.level)) r.updates.push_back(std::move(u));
  state.wizardStep = 2;
  r.nextStep = 2;
  r.focus = state.viewing() ? "Table0" : "skor";
  return r;
}

}  // namespace qj
