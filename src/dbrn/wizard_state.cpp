#include "dbrn/wizard_state.h"

#include <algorithm>
#include <array>

#include "records/numbers.h"
#include "records/text.h"

namespace qj {

std::string_view dbrnPageSuffix(int step) {
  static constexpr std::array<std::string_view, kDbrnSteps> kSuffix = {"0", "1", "12", "2",
                                                                       "3", "4", "4a", "5"};
  return step >= 1 && step <= kDbrnSteps ? kSuffix[step - 1] : std::string_view();
}

std::string_view dbrnStripSuffix(int step) {
  static constexpr std::array<std::string_view, kDbrnSteps> kSuffix = {"",  "0", "12", "2",
                                                                       "3", "4", "4a", "5"};
  return step >= 1 && step <= kDbrnSteps ? kSuffix[step - 1] : std::string_view();
}

// ---- Picker -----------------------------------------------------------------------------

std::optional<int32_t> Picker::chosen() const {
  if (row < 0 || row >= static_cast<int>(values.size())) return std::nullopt;
  return values[row];
}

void Picker::add(std::string item, int32_t value) {
  items.push_back(std::move(item));
  values.push_back(value);
}

bool Picker::step(int delta) {
  if (items.empty()) return false;
  return choose(std::clamp(row + delta, 0, static_cast<int>(items.size()) - 1));
}

bool Picker::choose(int r) {
  if (r < 0 || r >= static_cast<int>(items.size()) || r == row) return false;
  row = r;
  return true;
}

// ---- The wizard's database --------------------------------------------------------------

DbrnWizardState newDbrnWizard(int32_t mode, char decSep, std::string langCode,
                              const ShellTables& shell) {
  DbrnWizardState s;
  s.mode = mode;
  s.decSep = decSep;
  s.langCode = std::move(langCode);
  s.noStreetType = trimmed(shell.shortText(2));
  s.defaultTypeName = shell.shell(697);
  // The average speed a new database starts with.
  s.avgSpeedText = std::string("35") + decSep + "0";
  return s;
}

void installDbrn(DbrnWizardState& state, WizardDbrn loaded) {
  state.db = std::move(loaded.db);
  state.curKind = std::move(loaded.curKind);
  state.level = loaded.level;
  state.kindCaption = std::move(loaded.kindCaption);
  state.nodeCount = state.db.header.nodeCount;
  ++state.recordsLoad;
}

void clearDbrn(DbrnWizardState& state) {
  state.db = DbrnFile();
  state.curKind.clear();
  state.kindCaption = Text();
  state.nodeCount = 0;
  ++state.recordsLoad;
}

// ---- Shared by the steps ----------------------------------------------------------------

std::string paddedNode(std::string_view cell) {
  const std::string_view t = trim(cell);
  if (t.empty() || t.size() > 4) return std::string(t);
  return padLeft(t, 5, '0');
}

std::optional<int32_t> cellInt(const GridTable& table, int row, int col) {
  return parseInt(trim(table.cell(row, col)));
}

void renumberRows(GridTable& table, int from) {
  for (int r = std::max(from, 0); r < table.rows(); ++r) table.set(r, 0, std::to_string(r + 1));
}

std::string typeItem(const StreetTypeRec& type) {
  return type.fullName + " (" + type.shortName + ")";
}

int32_t typeIndexOf(const DbrnWizardState& state, std::string_view shortName) {
  const auto& types = state.db.streetTypes;
  for (size_t t = 0; t < types.size(); ++t)
    if (types[t].shortName == shortName) return static_cast<int32_t>(t);
  return -1;
}

int32_t noStreetStreet(const DbrnWizardState& state) {
  const auto& streets = state.db.streets;
  for (size_t s = 0; s < streets.size(); ++s)
    if (isNoStreetStreet(state, static_cast<int32_t>(s))) return static_cast<int32_t>(s);
  return -1;
}

bool isNoStreetStreet(const DbrnWizardState& state, int32_t street) {
  if (street < 0 || street >= state.streetTotal()) return false;
  const StreetRec& s = state.db.streets[street];
  return !state.noStreetType.empty() && trim(s.streetType) == state.noStreetType &&
         trim(s.name).empty() && s.state != kStreetDeleted;
}

std::string streetNameCell(const StreetRec& street, const StreetRec* previous) {
  const bool same =
      previous && previous->streetType == street.streetType && previous->name == street.name;
  return same ? "  " + street.name : street.name;
}

bool matchesPhrase(std::string_view text, std::string_view phrase) {
  return phrase.empty() || text.find(phrase) != std::string_view::npos;
}

Text filterLine(const DbrnWizardState& state, int32_t rowsShown, Text everything) {
  const Text count = shell(725).trimmed() + " - " + num(rowsShown) + ".";
  if (state.keyPhraseType.empty() && state.keyPhraseName.empty())
    return std::move(everything) + ".   " + count;
  return shell(219) + " - \"" + val(state.keyPhraseType) + "\" + \"" + val(state.keyPhraseName) +
         "\".   " + count;
}

}  // namespace qj
