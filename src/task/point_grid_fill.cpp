#include "task/point_grid_fill.h"

#include <algorithm>

#include "records/numbers.h"
#include "records/text.h"

namespace qj {

std::string pointNumberCell(const TaskWizardState& state, int row, const ShellTables& texts) {
  std::string cell = std::to_string(row + 1);
  if (state.isStartPoint(row))
    cell += " (" + texts.shortText(11) + ")";
  else if (state.isEndPoint(row))
    cell += " (" + texts.shortText(17) + ")";
  return cell;
}

bool isMarkedPointRow(const GridTable& table, int row) {
  return table.cell(row, 0).find('(') != std::string::npos;
}

bool isExemptCargoRow(const GridTable& table, int row, const ShellTables& texts) {
  const std::string_view mark = trim(texts.shortText(12));
  return !mark.empty() && table.cell(row, 0).find(mark) != std::string::npos;
}

int32_t houseIndexOf(const DbrnFile& db, const TaskPointRec& point) {
  const auto street = std::find_if(db.streets.begin(), db.streets.end(), [&](const StreetRec& s) {
    return s.streetType == point.streetType && s.name == point.street;
  });
  if (street == db.streets.end()) return -1;
  const auto streetIndex = static_cast<int32_t>(street - db.streets.begin());
  for (size_t h = 0; h < db.houses.size(); ++h)
    if (db.houses[h].streetIndex == streetIndex && db.houses[h].houseNo == point.house)
      return static_cast<int32_t>(h);
  return -1;
}

namespace {

// A row of a point the wizard already holds.
void fillFromRecord(TaskWizardState& state, int r, bool exempt) {
  GridTable& t = state.table1;
  const TaskHeader& h = state.header;
  const TaskPointRec& p = state.points[r];
  const bool sameStreet = r > 0 && state.points[r - 1].streetType == p.streetType &&
                          state.points[r - 1].street == p.street;
  t.set(r, 1, p.streetType);
  t.set(r, 2, sameStreet ? "  " + p.street : p.street);
  t.set(r, 3, p.house);
  if (h.cargoMode > 0) {
    t.set(r, 4, exempt ? "-" : formatReal(p.serviceTime, state.decSep));
    t.set(r, 5, exempt ? "-" : formatReal(p.unloadTime, state.decSep));
  } else {
    t.set(r, 4, formatReal(p.serviceTime, state.decSep));
    t.set(r, 5, "");
  }
  t.set(r, 6, formatReal(p.waitPenalty, state.decSep));
  // An empty entry is stored as -1 and shown empty again, so that a saved task passes its
  // checks when it is corrected.
  const bool ordered =
      h.orderMode == 1 || h.orderMode == 2 || (h.orderMode == 3 && !isMarkedPointRow(t, r));
  if (ordered && p.orderValue > 0) t.set(r, 7, std::to_string(p.orderValue));
  t.set(r, 8, state.dbLevel >= 2 ? std::to_string(houseIndexOf(state.db, p)) : "");
}

// A row of a new point.
void fillDefaults(TaskWizardState& state, int r, bool exempt) {
  GridTable& t = state.table1;
  for (int c = 1; c <= 3; ++c) t.set(r, c, "");
  if (state.header.cargoMode > 0) {
    t.set(r, 4, exempt ? "-" : "0");
    t.set(r, 5, exempt ? "-" : "0");
  } else {
    t.set(r, 4, "0");
    t.set(r, 5, "");
  }
  t.set(r, 6, "0");
  t.set(r, 8, "");
}

}  // namespace

void fillPointGrid(TaskWizardState& state, const ShellTables& texts) {
  GridTable& t = state.table1;
  t.setRows(state.header.pointCount);
  for (int r = 0; r < t.rows(); ++r) {
    t.set(r, 0, pointNumberCell(state, r, texts));
    t.set(r, 7, state.header.orderMode == 3 && isMarkedPointRow(t, r) ? "-" : "");
    const bool exempt = isExemptCargoRow(t, r, texts);
    if (static_cast<size_t>(r) < state.points.size())
      fillFromRecord(state, r, exempt);
    else
      fillDefaults(state, r, exempt);
  }
}

}  // namespace qj
