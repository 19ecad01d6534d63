#include "dbrn/access_step.h"

#include <stdexcept>

#include "dbrn/houses_step.h"
#include "dbrn/summary_step.h"
#include "dbrn/wizard_frame.h"
#include "records/datetime.h"
#include "records/text.h"

namespace qj {

namespace sc = sectionCol;

GridKeyResult accessGridKey(DbrnWizardState& state, GridKey key, int row, int col) {
  GridKeyResult r;
  if (state.viewing() || key != GridKey::Space || row < 0 || row >= state.table3.rows()) return r;
  if (col != accessCol::kPrevClosed && col != accessCol::kReverseClosed) return r;
  GridTable& t = state.table3;
  t.set(row, col, t.isEmptyTrimmed(row, col) ? std::string(kFlagShown) : std::string());
  r.handled = true;
  r.changed(row);
  return r;
}

namespace {

std::string houseNumber(std::string_view cell) {
  const std::string n = cut(trim(cell), 9);
  return n.empty() ? " " : n;
}

std::string flag(const GridTable& t, int row, int col) {
  return cut(trim(t.cell(row, col)), 1);
}

// The street of a section row: the one picked; a row of the no-street type belongs to the
// program's street of sections without a street.
int32_t sectionStreet(const DbrnWizardState& state, int row) {
  if (const auto s = cellInt(state.table1, row, sc::kStreet);
      s && *s >= 0 && *s < state.streetTotal())
    return *s;
  if (const int32_t s = noStreetStreet(state); s >= 0) return s;
  throw std::logic_error("transit section " + std::to_string(row + 1) + " has no street");
}

std::vector<TurnRec> turnsOfRow(const GridTable& t2, int row) {
  std::vector<TurnRec> turns;
  for (int k = 0; k < kMaxTurns && !t2.isEmptyTrimmed(row, turnCol::node(k)); ++k)
    turns.push_back({cut(trim(t2.cell(row, turnCol::node(k))), 5),
                     std::string(t2.cell(row, turnCol::direction(k)).substr(0, 1))});
  return turns;
}

}  // namespace

void buildSectionRecords(DbrnWizardState& state, double today) {
  const GridTable& t1 = state.table1;
  DbrnHeader& h = state.db.header;
  h.nodeCount = state.nodeCount;
  h.sectionCount = t1.rows();
  h.dbDate = cut(dateText(fromDateTime(today), state.langCode), 40);
  std::vector<TransitSectionRec> sections(static_cast<size_t>(t1.rows()));
  for (int r = 0; r < t1.rows(); ++r) {
    TransitSectionRec& s = sections[static_cast<size_t>(r)];
    s.streetIndex = sectionStreet(state, r);
    s.houseFrom = houseNumber(t1.cell(r, sc::kFrom));
    s.houseTo = houseNumber(t1.cell(r, sc::kTo));
    s.nonStdNumbering = flag(t1, r, sc::kNonStd);
    s.startNode = cut(t1.cell(r, sc::kStart), 5);
    s.endNode = cut(t1.cell(r, sc::kEnd), 5);
    s.length = cut(t1.cell(r, sc::kLength), 10);
    s.speed = cut(t1.cell(r, sc::kSpeed), 10);
    s.closed = flag(t1, r, sc::kClosed);
    s.prevObjectsClosed = flag(state.table3, r, accessCol::kPrevClosed);
    s.reverseObjectsClosed = flag(state.table3, r, accessCol::kReverseClosed);
    s.reverseSection = cut(state.table3.cell(r, accessCol::kReverse), 6);
    s.turns = turnsOfRow(state.table2, r);
  }
  state.db.sections = std::move(sections);
}

void setStreetStates(DbrnWizardState& state) {
  auto& streets = state.db.streets;
  std::vector<bool> referenced(streets.size(), false);
  for (const TransitSectionRec& s : state.db.sections)
    if (s.streetIndex >= 0 && static_cast<size_t>(s.streetIndex) < streets.size())
      referenced[s.streetIndex] = true;
  for (size_t s = 0; s < streets.size(); ++s) {
    const bool houses = state.level == 2 && s < state.db.streetHouseCounts.size() &&
                        state.db.streetHouseCounts[s] > 0;
    streets[s].state = std::string(referenced[s] || houses ? kStreetReferenced : kStreetEntered);
  }
  // The streets page shows the states that lock its rows.
  GridTable& t = state.table_0;
  for (int r = 0; r < t.rows(); ++r)
    if (const auto s = cellInt(t, r, streetCol::kIndex);
        s && !t.cell(r, streetCol::kState).empty() && *s >= 0 && *s < state.streetTotal())
      t.set(r, streetCol::kState, streets[*s].state);
}

StepResult checkAccessPage(DbrnWizardState& state, double today) {
  if (!state.viewing()) {
    buildSectionRecords(state, today);
    setStreetStates(state);
  }
  StepResult r;
  r.updates = identityStripUpdates(state);
  if (state.level == 1) {
    state.wizardStep = 8;
    r.nextStep = 8;
    r.focus = "btnNext";
  } else {
    for (ControlUpdate& u : prepareHousesPage(state)) r.updates.push_back(std::move(u));
    state.wizardStep = 7;
    r.nextStep = 7;
    r.focus = "Table4";
  }
  for (ControlUpdate& u : countUpdates(state)) r.updates.push_back(std::move(u));
  return r;
}

}  // namespace qj
