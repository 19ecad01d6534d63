#include "dbrn/summary_step.h"

#include "dbrn/street_types_step.h"
#include "frame/task_handover.h"
#include "platform/files.h"

namespace qj {

namespace {

// At level 1, the program's street of sections without a street when no section belongs to
// it (-1 otherwise). The steps keep it so that it can be picked; it is not written.
int32_t unneededNoStreetStreet(const DbrnWizardState& state) {
  if (state.level != 1 || state.viewing()) return -1;
  const int32_t street = noStreetStreet(state);
  if (street < 0) return -1;
  for (const TransitSectionRec& s : state.db.sections)
    if (s.streetIndex == street) return -1;
  return street;
}

}  // namespace

DbrnFile databaseToWrite(const DbrnWizardState& state) {
  DbrnFile db = state.db;
  const int32_t unneeded = unneededNoStreetStreet(state);
  if (unneeded < 0) return db;
  const std::string type = db.streets[static_cast<size_t>(unneeded)].streetType;
  db.streets.erase(db.streets.begin() + unneeded);
  for (size_t s = static_cast<size_t>(unneeded); s < db.streets.size(); ++s)
    db.streets[s].streetNo = static_cast<int32_t>(s);
  for (TransitSectionRec& s : db.sections)
    if (s.streetIndex > unneeded) --s.streetIndex;
  for (StreetTypeRec& t : db.streetTypes)
    if (t.shortName == type) --t.streetCount;
  db.header.streetCount = static_cast<int32_t>(db.streets.size());
  return db;
}

ControlUpdates countUpdates(const DbrnWizardState& state) {
  ControlUpdates u;
  for (const char* suffix : {"3", "4", "5"}) {
    setText(u, std::string("ndsum_") + suffix, num(state.nodeCount));
    setText(u, std::string("tlsum_") + suffix, num(state.sectionTotal));
  }
  setText(u, "nts_5", num(state.typeCount));
  setText(u, "nstr_5", num(state.streetTotal() - (unneededNoStreetStreet(state) >= 0 ? 1 : 0)));
  setText(u, "nHs_5", num(state.db.header.houseCount));
  setShown(u, "Label7_5", state.level >= 2);
  setShown(u, "nHs_5", state.level >= 2);
  return u;
}

std::optional<Message> finishDbrn(DbrnWizardState& state, const AppState& app) {
  if (state.mode >= kViewDbrn) return std::nullopt;
  try {
    saveDbrn(app.dirs().dbrn(), app.langCode, state.curKind, databaseToWrite(state));
  } catch (const FileError& e) {
    if (e.inPlace()) return fileWrittenNotDurableMessage(shownFileName(app.dirs(), e.path()));
    const std::string name = dbrnFileName(state.db.header.dbCode, state.curKind, app.langCode);
    return errorMessage(shell(830) + " \"" + val(name) + "\" " + shell(865) + ".");
  }
  return std::nullopt;
}

}  // namespace qj
