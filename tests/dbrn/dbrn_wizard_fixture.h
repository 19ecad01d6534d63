#pragma once
// The database wizard's state over a program folder and a shell whose texts name their indices,
// with the rows of a small city typed into its grids as a user types them:
//
//   street types: street (st.), avenue (av.), unnamed (none: sections without a street)
//   streets:      st. Oak, st. Elm, av. Kings (level 2: 2, 1 and 1 houses)
//   sections:     1  st. Oak    1 -> 2   1-9         4  av. Kings  3 -> 1   1-7
//                 2  st. Oak    2 -> 1   2-10        5  (none)     3 -> 4   level 1 only
//                 3  st. Elm    2 -> 3   1-5
//   turns:        1 -> (2 back to 1 "v", 2 on to 3 ">1"); 3 -> 4 "^"; 4 -> 1 "^"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "dbrn/access_step.h"
#include "dbrn/houses_step.h"
#include "dbrn/identity_step.h"
#include "dbrn/sections_step.h"
#include "dbrn/street_types_step.h"
#include "dbrn/streets_step.h"
#include "dbrn/turns_step.h"
#include "dbrn/wizard_frame.h"
#include "dbrn/wizard_state.h"
#include "records/datetime.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj::test {

inline void setRow(GridTable& t, int row,
                   std::initializer_list<std::pair<int, const char*>> cells) {
  if (t.rows() <= row) t.setRows(row + 1);
  for (const auto& [col, text] : cells) t.set(row, col, text);
}

// A grid column, every row's cell in brackets.
inline std::string column(const GridTable& t, int col) {
  std::string out;
  for (int r = 0; r < t.rows(); ++r) out += "[" + t.cell(r, col) + "]";
  return out;
}

// A picker's items with what they stand for, the chosen one marked.
inline std::string items(const Picker& p) {
  std::string out;
  for (size_t i = 0; i < p.items.size(); ++i)
    out += (static_cast<int>(i) == p.row ? "*" : "") + p.items[i] + "=" +
           std::to_string(p.values[i]) + ";";
  return out;
}

// The section records one a line: street, nodes, house range, reverse section, the marks of
// non-standard numbering, closed, previous and reverse objects closed, and the turns.
inline std::vector<std::string> sectionLines(const std::vector<TransitSectionRec>& sections) {
  std::vector<std::string> out;
  for (const TransitSectionRec& s : sections) {
    std::string line = std::to_string(s.streetIndex) + " " + s.startNode + ">" + s.endNode + " " +
                       s.houseFrom + "-" + s.houseTo + " r" + s.reverseSection + " ";
    for (const std::string* mark :
         {&s.nonStdNumbering, &s.closed, &s.prevObjectsClosed, &s.reverseObjectsClosed})
      line += mark->empty() ? "." : *mark;
    for (const TurnRec& t : s.turns) line += " " + t.node + t.direction;
    out.push_back(line);
  }
  return out;
}

struct DbrnWizardFixture : ::testing::Test {
  TempDir dir;
  AppState app;
  DbrnWizardState s;

  DbrnWizardFixture() {
    app.folder = std::make_unique<ProgramFolder>(dir.path());
    app.langCode = "eng";
    // The marked shell with the two texts the wizard compares against: the no-street type's
    // short name and the full name of the type chosen first.
    app.texts = markedShell();
    app.texts.shortTexts[2] = "none";
    app.texts.shellTexts[697] = "street";
    app.decSep = ',';
    app.formMode = kCreateDbrn;
    s = newDbrnWizard(kCreateDbrn, ',', "eng", app.texts);
  }

  // Texts in UTF-8, as the boxes show them.
  std::string text(const Text& t) const { return t.utf8(app.texts); }
  std::string text(const std::optional<Message>& m) const {
    return m ? m->utf8(app.texts) : std::string("no message");
  }
  // The refusal's text, or "passed".
  std::string outcome(const StepCheck& c) const {
    return c.passed() ? "passed" : c.message ? text(c.message) : "focus " + c.focus;
  }
  std::string outcome(const StepResult& r) const {
    return r.passed() ? "passed" : outcome(r.check);
  }
  // The refusal with the grid row (and the cell's column, where it names one) and the control
  // it leads to.
  std::string refusal(const StepResult& r) const {
    const int col = r.check.column;
    return outcome(r) + " @" + std::to_string(r.check.row) +
           (col >= 0 ? ":" + std::to_string(col) : "") + " " + r.check.focus;
  }

  // ---- The small city, step by step --------------------------------------------------------

  void passIdentity(int level = 1) {
    DbrnIdentityInput in{"123", "Small city", level == 1, level == 2};
    ASSERT_EQ(outcome(checkGeneralPage(s, app, in)), "passed");
  }

  void typeStreetTypes() {
    const char* rows[][2] = {{"street", "st."}, {"avenue", "av."}, {"unnamed", "none"}};
    for (int r = 0; r < 3; ++r)
      setRow(s.table0, r, {{typeCol::kFullName, rows[r][0]}, {typeCol::kShortName, rows[r][1]}});
    renumberRows(s.table0);
  }
  void passStreetTypes() { ASSERT_EQ(outcome(checkStreetTypesPage(s, "35,0")), "passed"); }

  // The streets typed as a free list (every row names its type).
  void typeStreets() {
    listStreetsByType(s, false);
    s.table_0.clear();
    const bool houses = s.level == 2;
    const char* rows[][3] = {{"st.", "Oak", "2"}, {"st.", "Elm", "1"}, {"av.", "Kings", "1"}};
    // clang-format off
    for (int r = 0; r < 3; ++r)
      setRow(s.table_0, r, {{streetCol::kType, rows[r][0]}, {streetCol::kName, rows[r][1]},
                            {streetCol::kHouses, houses ? rows[r][2] : ""}});
    // clang-format on
    renumberRows(s.table_0);
  }
  void passStreets() { ASSERT_EQ(outcome(checkStreetsPage(s, {})), "passed"); }

  int32_t street(const std::string& type, const std::string& name) const {
    for (size_t i = 0; i < s.db.streets.size(); ++i)
      if (s.db.streets[i].streetType == type && s.db.streets[i].name == name)
        return static_cast<int32_t>(i);
    ADD_FAILURE() << type << " " << name;
    return -1;
  }

  // A section row as the SpaceBar and typing fill it.
  void typeSection(int row, const std::string& type, const std::string& name, const char* from,
                   const char* to, const char* start, const char* end, const char* nonStd = "") {
    GridTable& t = s.table1;
    if (t.rows() <= row)
      for (GridTable* g : {&s.table1, &s.table2, &s.table3}) g->setRows(row + 1);
    t.set(row, sectionCol::kType, type);
    t.set(row, sectionCol::kName, name);
    if (!name.empty() || type != "none")
      t.set(row, sectionCol::kStreet, std::to_string(street(type, name)));
    // clang-format off
    setRow(t, row, {{sectionCol::kFrom, from}, {sectionCol::kTo, to}, {sectionCol::kNonStd, nonStd},
                    {sectionCol::kStart, start}, {sectionCol::kEnd, end},
                    {sectionCol::kLength, "100"}, {sectionCol::kSpeed, "35,0"}});
    // clang-format on
    for (GridTable* g : {&s.table1, &s.table2, &s.table3}) renumberRows(*g);
  }
  void typeSections() {
    const bool one = s.level == 1;
    typeSection(0, "st.", "Oak", "1", "9", "1", "2");
    typeSection(1, "st.", "Oak", "2", "10", "2", "1");
    typeSection(2, "st.", "Elm", "1", "5", "2", "3");
    typeSection(3, "av.", "Kings", "1", "7", "3", "1");
    if (one) typeSection(4, "none", "", "", "", "3", "4", "  *");
  }
  void passSections() { ASSERT_EQ(outcome(checkSectionsPage(s)), "passed"); }

  void typeTurns() {
    // clang-format off
    setRow(s.table2, 0, {{turnCol::node(0), "1"}, {turnCol::direction(0), "v"},
                         {turnCol::node(1), "3"}, {turnCol::direction(1), ">1"}});
    // clang-format on
    setRow(s.table2, 2, {{turnCol::node(0), "1"}, {turnCol::direction(0), "^"}});
    setRow(s.table2, 3, {{turnCol::node(0), "2"}, {turnCol::direction(0), "^"}});
  }
  void passTurns() { ASSERT_EQ(outcome(checkTurnsPage(s)), "passed"); }
  void passAccess() { ASSERT_EQ(outcome(checkAccessPage(s, toDateTime({2024, 12, 6}))), "passed"); }

  // Level 2: the house rows (Kings, Elm, Oak, Oak after the re-sort) numbered, on section 4
  // (Kings), 3 (Elm) or 1 (Oak).
  void typeHouses() {
    GridTable& t = s.table4;
    const char* section[] = {"4", "3", "1", "1"};
    const char* number[] = {"5", "1", "1", "3"};
    // clang-format off
    for (int r = 0; r < 4; ++r)
      setRow(t, r, {{houseCol::kHouseNo, number[r]}, {houseCol::section(0), section[r]},
                    {houseCol::toExit(0), "0"}, {houseCol::exitToEnd(0), "40"}});
    // clang-format on
  }
  void passHouses() { ASSERT_EQ(outcome(checkHousesPage(s)), "passed"); }

  // The small city passed up to the page of `step`, that page's rows typed from the sections
  // on; 8 enters it up to the summary.
  void enterUntil(int level, int step) {
    passIdentity(level);
    if (step == 2) return typeStreetTypes();
    typeStreetTypes();
    passStreetTypes();
    if (step == 3) return;
    typeStreets();
    passStreets();
    typeSections();
    if (step == 4) return;
    passSections();
    typeTurns();
    if (step == 5) return;
    passTurns();
    if (step == 6) return;
    passAccess();
    if (level == 1) return;
    typeHouses();
    if (step == 7) return;
    passHouses();
  }
  // Every step of an opened database passed as it is, the summary dated `date`.
  void passEveryStep(const DbrnIdentityInput& identity, double date) {
    ASSERT_EQ(outcome(checkGeneralPage(s, app, identity)), "passed");
    passStreetTypes();
    passStreets();
    passSections();
    passTurns();
    ASSERT_EQ(outcome(checkAccessPage(s, date)), "passed");
    if (s.level == 2) passHouses();
    ASSERT_EQ(s.wizardStep, 8);
  }
};

}  // namespace qj::test
