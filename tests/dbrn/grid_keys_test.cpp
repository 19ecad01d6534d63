// Every key the database wizard gives a meaning to, on every grid, as a user presses it on the
// small city: whether the key is taken (or goes on to the cell), what it changed, where the
// pickers beside the grid moved, and that viewing a database takes none of them.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "dbrn/dbrn_wizard_fixture.h"

namespace qj {
namespace {

namespace sc = sectionCol;
namespace hc = houseCol;
namespace tc = turnCol;

// A key press in a grid: the key, the row and the column of the current cell, and what the
// press showed, "-" for a key that goes on to the cell; then the state it leaves.
struct Press {
  GridKey key;
  int row, col;
  const char* result;
  const char* after;
};

constexpr GridKey kEveryKey[] = {GridKey::InsertRow, GridKey::DeleteRow, GridKey::PrevType,
                                 GridKey::NextType,  GridKey::PrevName,  GridKey::NextName,
                                 GridKey::Space,     GridKey::Delete};

class GridKeys : public test::DbrnWizardFixture {
 protected:
  // "h" taken, "p" a picker moved, "r" rows inserted or removed, "+<row>" the row made (its
  // first typable cell current), "c<row>" cells of a row changed, then the warning and the
  // cell it leads to; "-" when the key goes on to the cell.
  std::string shown(const GridKeyResult& r) const {
    std::string out =
        std::string(r.handled ? "h" : "") + (r.pickersChanged ? "p" : "") +
        (r.rowsChanged ? "r" : "") + (r.newRow >= 0 ? "+" + std::to_string(r.newRow) : "") +
        (r.cellsChanged() ? "c" + std::to_string(r.firstRow) : "") +
        (r.warning ? " " + text(r.warning) : "") +
        (r.focusRow >= 0 ? " @" + std::to_string(r.focusRow) + ":" + std::to_string(r.focusColumn)
                         : "");
    return out.empty() ? "-" : out;
  }

  // Presses the keys in turn; `key` runs a press, `state` describes what it left.
  void pressAll(const std::vector<Press>& presses,
                const std::function<GridKeyResult(GridKey, int, int)>& key,
                const std::function<std::string()>& state) {
    for (const Press& p : presses) {
      const std::string result = shown(key(p.key, p.row, p.col));
      EXPECT_EQ(result + " " + state(), std::string(p.result) + " " + p.after)
          << "key " << static_cast<int>(p.key) << " at " << p.row << "," << p.col;
    }
  }

  // Viewing, no key changes anything (a key may still be taken so that the cell does not get
  // it); the pickers' type keys, which only list, are the exception `listing` names.
  void viewingTakesNoKey(const std::function<GridKeyResult(GridKey, int, int)>& key,
                         const GridTable& grid, std::initializer_list<GridKey> listing = {}) {
    s.mode = kViewDbrn;
    const GridTable before = grid;
    for (GridKey k : kEveryKey) {
      if (std::find(listing.begin(), listing.end(), k) != listing.end()) continue;
      for (int col = 0; col < grid.columns(); ++col) {
        const std::string result = shown(key(k, 0, col));
        EXPECT_TRUE(result == "-" || result == "h") << static_cast<int>(k) << " " << col << result;
      }
    }
    EXPECT_EQ(grid.rows(), before.rows());
    for (int r = 0; r < grid.rows(); ++r)
      for (int col = 0; col < grid.columns(); ++col)
        EXPECT_EQ(grid.cell(r, col), before.cell(r, col)) << r << "," << col;
  }
};

// Street types: rows are inserted after the current one and deleted unless a street uses
// their type; Delete is refused on such a row and goes on to the cell elsewhere.
TEST_F(GridKeys, StreetTypes) {
  enterUntil(1, 4);
  s.wizardStep = 3;
  dbrnBack(s);  // the rows as typed: street and avenue locked by their streets, unnamed free
  const auto key = [&](GridKey k, int row, int col) { return streetTypeGridKey(s, k, row, col); };
  const auto names = [&] {
    return test::column(s.table0, typeCol::kFullName) + test::column(s.table0, 0);
  };
  const int full = typeCol::kFullName;
  pressAll({{GridKey::InsertRow, 0, full, "hr+1", "[street][][avenue][unnamed][1][2][3][4]"},
            {GridKey::DeleteRow, 1, full, "hr", "[street][avenue][unnamed][1][2][3]"},
            {GridKey::DeleteRow, 1, full, "h S111.", "[street][avenue][unnamed][1][2][3]"},
            {GridKey::Delete, 0, full, "h S638.", "[street][avenue][unnamed][1][2][3]"},
            {GridKey::Delete, 2, full, "-", "[street][avenue][unnamed][1][2][3]"},
            {GridKey::InsertRow, 2, full, "hr+3", "[street][avenue][unnamed][][1][2][3][4]"},
            {GridKey::DeleteRow, 3, full, "hr", "[street][avenue][unnamed][1][2][3]"},
            {GridKey::DeleteRow, 2, full, "hr", "[street][avenue][1][2]"},
            {GridKey::Space, 0, full, "-", "[street][avenue][1][2]"},
            {GridKey::PrevType, 0, full, "-", "[street][avenue][1][2]"},
            {GridKey::NextName, 0, full, "-", "[street][avenue][1][2]"}},
           key, names);
  EXPECT_EQ(s.typeCount, 2);
  // Of two free rows the first goes; the only row stays.
  for (int r = 0; r < 2; ++r) s.table0.set(r, typeCol::kStreets, "");
  pressAll({{GridKey::DeleteRow, 0, full, "hr", "[avenue][1]"},
            {GridKey::DeleteRow, 0, full, "h", "[avenue][1]"}},
           key, names);
  viewingTakesNoKey(key, s.table0);
}

// Streets listed by type: Ctrl+A/S step the types (and list their streets), the SpaceBar enters
// the chosen type, Ctrl+Ins inserts a row of that type, Ctrl+Del deletes a street no section
// uses.
TEST_F(GridKeys, Streets) {
  enterUntil(1, 4);  // stored: av. Kings, st. Elm, st. Oak
  listStreetsByType(s, true);
  ASSERT_TRUE(list0Change(s, 1).passed());  // street
  const auto key = [&](GridKey k, int row, int col) { return streetGridKey(s, k, row, col); };
  const auto shownRows = [&] {
    return std::to_string(s.list0.row) + test::column(s.table_0, streetCol::kType) +
           test::column(s.table_0, streetCol::kName);
  };
  const int name = streetCol::kName, type = streetCol::kType;
  pressAll({{GridKey::NextType, 0, name, "hpr", "2[][]"},  // unnamed: no street of its own
            {GridKey::NextType, 0, name, "h", "2[][]"},
            {GridKey::PrevType, 0, name, "hpr", "1[st.][st.][Elm][Oak]"},
            {GridKey::PrevType, 1, name, "hpr", "0[av.][Kings]"},
            {GridKey::PrevType, 0, name, "h", "0[av.][Kings]"},
            {GridKey::InsertRow, 0, name, "hr+1", "0[av.][av.][Kings][]"},
            {GridKey::Space, 1, type, "hc1", "0[av.][av.][Kings][]"},
            {GridKey::Space, 1, name, "-", "0[av.][av.][Kings][]"},
            {GridKey::DeleteRow, 1, name, "hr", "0[av.][Kings]"},
            {GridKey::DeleteRow, 0, name, "h S112.", "0[av.][Kings]"},  // a section uses it
            {GridKey::Delete, 0, name, "-", "0[av.][Kings]"},
            {GridKey::PrevName, 0, name, "h", "0[av.][Kings]"},
            {GridKey::NextName, 0, name, "h", "0[av.][Kings]"},
            {GridKey::NextType, 0, name, "hpr", "1[st.][st.][Elm][Oak]"}},
           key, shownRows);
  // The SpaceBar writes the chosen type over another.
  s.table_0.set(0, type, "xx");
  pressAll({{GridKey::Space, 0, type, "hc0", "1[st.][st.][Elm][Oak]"}}, key, shownRows);
  // A row refused on the way to another type keeps the list where it is; the street keys,
  // which move nothing here, say so too, as a click on the type picker does.
  s.table_0.set(1, type, "");
  pressAll({{GridKey::PrevType, 0, name, "h S292 2. @1:1", "1[st.][][Elm][Oak]"},
            {GridKey::NextName, 0, name, "h S292 2. @1:1", "1[st.][][Elm][Oak]"}},
           key, shownRows);
  EXPECT_EQ(key(GridKey::PrevType, 0, name).focusRow, 1);
  s.table_0.set(1, type, "st.");
  s.table_0.set(1, name, "");
  for (GridKey k : {GridKey::PrevType, GridKey::NextType, GridKey::PrevName, GridKey::NextName})
    pressAll({{k, 0, name, "h S289 2. @1:2", "1[st.][st.][Elm][]"}}, key, shownRows);
  const StepCheck click = list0Change(s, 0);
  EXPECT_EQ(
      text(click.message) + " @" + std::to_string(click.row) + ":" + std::to_string(click.column),
      "S289 2. @1:2");
  s.table_0.set(1, type, "");
  s.table_0.set(1, name, "Oak");
  // Not listed by type, the type keys only move the type.
  listStreetsByType(s, false);
  pressAll({{GridKey::PrevType, 0, name, "hp", "0[st.][][Elm][Oak]"}}, key, shownRows);

  s.table_0.set(1, type, "st.");
  listStreetsByType(s, true);
  viewingTakesNoKey(key, s.table_0, {GridKey::PrevType, GridKey::NextType});
  // Viewing, Ctrl+A/S still list the streets of each type; no cell can be typed into.
  pressAll({{GridKey::NextType, 0, name, "hpr", "1[st.][st.][Elm][Oak]"}}, key, shownRows);
  const StreetGridRules rules(s);
  for (int col = 0; col < streetCol::kCount; ++col) EXPECT_FALSE(rules.typable(s.table_0, 0, col));
}

// Sections: Ctrl+A/S step the types of List_1, Ctrl+Q/W its streets in List_2, the SpaceBar
// enters the picked street or switches a mark, Delete is dropped on the street's cells.
TEST_F(GridKeys, Sections) {
  enterUntil(1, 4);
  const auto key = [&](GridKey k, int row, int col) { return sectionGridKey(s, k, row, col); };
  const auto pickers = [&] { return test::items(s.list1) + " " + test::items(s.list2); };
  const int from = sc::kFrom;
  pressAll(
      {{GridKey::PrevName, 2, from, "h",
        "avenue (av.)=0;*street (st.)=1;unnamed (none)=2; *Elm=1;Oak=2;"},
       {GridKey::NextName, 2, from, "hp",
        "avenue (av.)=0;*street (st.)=1;unnamed (none)=2; Elm=1;*Oak=2;"},
       {GridKey::NextName, 2, from, "h",
        "avenue (av.)=0;*street (st.)=1;unnamed (none)=2; Elm=1;*Oak=2;"},
       {GridKey::NextType, 2, from, "hp", "avenue (av.)=0;street (st.)=1;*unnamed (none)=2; * =3;"},
       {GridKey::NextType, 2, from, "h", "avenue (av.)=0;street (st.)=1;*unnamed (none)=2; * =3;"},
       {GridKey::PrevType, 2, from, "hp",
        "avenue (av.)=0;*street (st.)=1;unnamed (none)=2; *Elm=1;Oak=2;"},
       {GridKey::PrevType, 2, from, "hp",
        "*avenue (av.)=0;street (st.)=1;unnamed (none)=2; *Kings=0;"},
       {GridKey::PrevType, 2, from, "h",
        "*avenue (av.)=0;street (st.)=1;unnamed (none)=2; *Kings=0;"},
       {GridKey::PrevName, 2, from, "h",
        "*avenue (av.)=0;street (st.)=1;unnamed (none)=2; *Kings=0;"}},
      key, pickers);
  const auto row2 = [&] {
    std::string out;
    for (int col : {sc::kType, sc::kName, sc::kStreet, sc::kNonStd, sc::kClosed})
      out += "[" + s.table1.cell(2, col) + "]";
    return out + std::to_string(s.table1.rows());
  };
  pressAll({{GridKey::Space, 2, sc::kName, "hc2", "[av.][Kings][0][][]5"},
            {GridKey::Space, 2, sc::kClosed, "hc2", "[av.][Kings][0][][  *]5"},
            {GridKey::Space, 2, sc::kNonStd, "hc2", "[av.][Kings][0][  *][  *]5"},
            {GridKey::Space, 2, sc::kClosed, "hc2", "[av.][Kings][0][  *][]5"},
            {GridKey::Space, 2, sc::kFrom, "-", "[av.][Kings][0][  *][]5"},
            {GridKey::Space, 2, sc::kStart, "-", "[av.][Kings][0][  *][]5"},
            {GridKey::Delete, 2, sc::kType, "h", "[av.][Kings][0][  *][]5"},
            {GridKey::Delete, 2, sc::kName, "h", "[av.][Kings][0][  *][]5"},
            {GridKey::Delete, 2, sc::kFrom, "-", "[av.][Kings][0][  *][]5"},
            {GridKey::InsertRow, 1, from, "hr+2", "[av.][][][][]6"},
            {GridKey::DeleteRow, 2, from, "hr", "[av.][Kings][0][  *][]5"},
            {GridKey::Space, 2, sc::kType, "hc2", "[av.][Kings][0][  *][]5"},
            {GridKey::Space, 5, sc::kType, "-", "[av.][Kings][0][  *][]5"}},  // no such row
           key, row2);
  // At level 2 there is no numbering mark to switch.
  s.level = 2;
  pressAll({{GridKey::Space, 2, sc::kNonStd, "-", "[av.][Kings][0][  *][]5"}}, key, row2);
  viewingTakesNoKey(key, s.table1);
}

// Turns and accessibility: the SpaceBar steps a direction or switches a flag, nothing else.
TEST_F(GridKeys, TurnsAndAccessibility) {
  enterUntil(1, 5);
  const auto turn = [&](GridKey k, int row, int col) { return turnGridKey(s, k, row, col); };
  const auto pairs = [&] {
    std::string out;
    for (int k = 0; k < kMaxTurns; ++k) out += s.table2.cell(0, tc::direction(k)) + ",";
    return out;
  };
  for (int k = 0; k < kMaxTurns; ++k) s.table2.set(0, tc::node(k), "2");
  for (int k = 2; k < kMaxTurns; ++k) s.table2.set(0, tc::direction(k), "<1");
  // The SpaceBar on a pair empties the directions of every later pair, the tenth included.
  pressAll({{GridKey::Space, 0, tc::direction(1), "hc0", "v,<1,,,,,,,,,"},
            {GridKey::Space, 0, tc::direction(9), "hc0", "v,<1,,,,,,,,,"},  // after an empty pair
            {GridKey::Space, 0, tc::direction(1), "hc0", "v,>1,,,,,,,,,"},
            {GridKey::Space, 0, tc::node(1), "-", "v,>1,,,,,,,,,"},
            {GridKey::Delete, 0, tc::direction(1), "-", "v,>1,,,,,,,,,"},
            {GridKey::InsertRow, 0, tc::direction(1), "-", "v,>1,,,,,,,,,"}},
           turn, pairs);
  // A pair gets a direction by its own node, whatever the next pair holds.
  s.table2.set(0, tc::node(3), "");
  pressAll({{GridKey::Space, 0, tc::direction(2), "hc0", "v,>1,>2,,,,,,,,"},
            {GridKey::Space, 0, tc::direction(3), "hc0", "v,>1,>2,,,,,,,,"}},
           turn, pairs);
  viewingTakesNoKey(turn, s.table2);

  s.mode = kCreateDbrn;
  const auto access = [&](GridKey k, int row, int col) { return accessGridKey(s, k, row, col); };
  const auto flags = [&] {
    return test::column(s.table3, accessCol::kPrevClosed) +
           test::column(s.table3, accessCol::kReverseClosed);
  };
  pressAll({{GridKey::Space, 1, accessCol::kPrevClosed, "hc1", "[][  *][][][][][][][][]"},
            {GridKey::Space, 1, accessCol::kReverseClosed, "hc1", "[][  *][][][][][  *][][][]"},
            {GridKey::Space, 1, accessCol::kReverseClosed, "hc1", "[][  *][][][][][][][][]"},
            {GridKey::Space, 1, accessCol::kReverse, "-", "[][  *][][][][][][][][]"},
            {GridKey::Delete, 1, accessCol::kPrevClosed, "-", "[][  *][][][][][][][][]"}},
           access, flags);
  viewingTakesNoKey(access, s.table3);
}

// Houses: Ctrl+A/S step the types of List_41, Ctrl+Q/W its streets in List_42 (each listing the
// street's sections in List_43), the SpaceBar enters the chosen section into a section cell and
// Delete takes it away; rows follow the house counts, so Ctrl+Ins and Ctrl+Del do nothing.
TEST_F(GridKeys, Houses) {
  enterUntil(2, 7);
  const auto key = [&](GridKey k, int row, int col) { return houseGridKey(s, k, row, col); };
  const auto pickers = [&] {
    return test::items(s.list41) + " " + test::items(s.list42) + " " + test::items(s.list43);
  };
  const int no = hc::kHouseNo;
  pressAll(
      {{GridKey::NextName, 0, no, "hp",
        "avenue (av.)=0;*street (st.)=1; Elm=1;*Oak=2; *1-9=1;2-10=2;"},
       {GridKey::NextName, 0, no, "h",
        "avenue (av.)=0;*street (st.)=1; Elm=1;*Oak=2; *1-9=1;2-10=2;"},
       {GridKey::PrevName, 0, no, "hp", "avenue (av.)=0;*street (st.)=1; *Elm=1;Oak=2; *1-5=3;"},
       {GridKey::PrevName, 0, no, "h", "avenue (av.)=0;*street (st.)=1; *Elm=1;Oak=2; *1-5=3;"},
       {GridKey::NextType, 0, no, "h", "avenue (av.)=0;*street (st.)=1; *Elm=1;Oak=2; *1-5=3;"},
       {GridKey::PrevType, 0, no, "hp", "*avenue (av.)=0;street (st.)=1; *Kings=0; *1-7=4;"},
       {GridKey::PrevType, 0, no, "h", "*avenue (av.)=0;street (st.)=1; *Kings=0; *1-7=4;"},
       {GridKey::NextType, 0, no, "hp", "avenue (av.)=0;*street (st.)=1; *Elm=1;Oak=2; *1-5=3;"}},
      key, pickers);
  const auto links = [&] {
    std::string out;
    for (int k = 0; k < kMaxLinks; ++k) out += "[" + s.table4.cell(1, hc::section(k)) + "]";
    return out + std::to_string(s.table4.rows());
  };
  pressAll({{GridKey::Space, 1, hc::section(1), "hc1", "[3][3][][]4"},
            {GridKey::Space, 1, hc::toExit(1), "-", "[3][3][][]4"},
            {GridKey::Space, 1, no, "-", "[3][3][][]4"},
            {GridKey::Delete, 1, hc::section(0), "hc1", "[][3][][]4"},
            {GridKey::Delete, 1, no, "-", "[][3][][]4"},
            {GridKey::Delete, 1, hc::exitToEnd(1), "-", "[][3][][]4"},
            {GridKey::InsertRow, 1, no, "h", "[][3][][]4"},
            {GridKey::DeleteRow, 1, no, "h", "[][3][][]4"},
            {GridKey::Space, 1, hc::section(3), "hc1", "[][3][][3]4"},
            {GridKey::Space, 4, hc::section(3), "-", "[][3][][3]4"}},  // no such row
           key, links);
  viewingTakesNoKey(key, s.table4);
}

}  // namespace
}  // namespace qj
