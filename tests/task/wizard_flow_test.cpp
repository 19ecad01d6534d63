// The task wizard's flow from page 1 to the summary on the small city, driven as its window
// drives it: what each Next shows, including the steps it chains without a page of their own
// (step 5's count, the placement of level-1 points, the automatic transitions of level 2) with
// the red label of each; and whatever the user typed on a page survives any walk of Back and
// Next, unless the point's address changed.
//
// A walk is written as words: N (Next, which must pass), n (Next, which may be refused), B
// (Back), "grid:row:col=text" (typed into a cell of Table1, 1a, 12, 2 or 3; "*" is a mark),
// "mark:row" (the SpaceBar on Table12's mark column), "page2.field=text", "tact=text" and
// "threshold=choice,count" (the edits of pages 2 and 3a), and checks: "grid:row:col?text",
// "page2.field?text", "tact?text", "threshold?choice,count", "step?n", "enabled:name?0|1" and
// "checked:name?0|1" (a control as the last Next left it); "served=n" stands for a
// threshold loaded with the task. The addresses are
// typed when page 3 is first shown.

#include "task/wizard_flow.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "dbrn/client_addition.h"
#include "support/shell_fixture.h"
#include "task/points_step.h"
#include "task/section_choice_step.h"
#include "task/step_outcome.h"
#include "task/task_network.h"
#include "task/wizard_frame.h"

namespace qj {
namespace {

class Walk {
 public:
  Walk(int level, std::vector<std::string> addresses,
       const std::function<void(DbrnFile&)>& change = {})
      : s_(f_.wizard()), flow_(s_, f_.app), addresses_(std::move(addresses)) {
    // Level 3: the client addition of the level-2 city.
    DbrnFile db = level == 3 ? clientAdditionOf(test::smallCity(2)) : test::smallCity(level);
    if (change) change(db);
    page1_ = {"ABC123", "Round", f_.addDatabase(db)};
  }

  // Runs the words; returns the first that did not go as written.
  std::string run(const std::string& words) {
    std::istringstream in(words);
    for (std::string word; in >> word;)
      if (!step(word)) return word + (failure_.empty() ? "" : ": " + failure_);
    return "";
  }
  // What each Next showed: "<step> <focus> [<row> [<column>]]", "busy <width>" for work under
  // a red label (243 the state count, 206 the section graph), "refused <focus> <row>"; the
  // results of one Next joined by " > ".
  const std::vector<std::string>& nexts() const { return nexts_; }

 private:
  bool step(const std::string& word) {
    if (word == "N" || word == "n") return next() || word == "n";
    if (word == "B") {
      flow_.setCurrentStep(flow_.back().nextStep);
      return true;
    }
    const size_t op = word.find_first_of("=?");
    const std::string target = word.substr(0, op);
    std::string text = op == std::string::npos ? std::string() : word.substr(op + 1);
    if (text == "*") text = std::string(kFlagShown);
    const bool check = op != std::string::npos && word[op] == '?';
    if (target.rfind("mark:", 0) == 0) {
      table12Key(s_, GridKey::Space, std::stoi(target.substr(5)), t12::kMark);
      return true;
    }
    if (target == "step")
      return s_.wizardStep == std::stoi(text) || fail(std::to_string(s_.wizardStep));
    if (target == "served") return (s_.header.servedThreshold = std::stoi(text), true);
    if (target.rfind("enabled:", 0) == 0 || target.rfind("checked:", 0) == 0) {
      for (const ControlUpdate& u : shown_) {  // a control as the last Next left it
        const std::optional<bool>& flag = target[0] == 'e' ? u.enabled : u.checked;
        if (u.name == target.substr(8) && flag) return *flag == (text == "1") || fail("not so");
      }
      return fail("no such control");
    }
    if (target == "threshold") {
      const ThresholdControls wanted{std::stoi(text), text[0] == '1' ? text.substr(2) : "",
                                     text[0] == '2' ? text.substr(2) : ""};
      if (!check) return (flow_.setThreshold(wanted), true);
      const ThresholdControls& held = flow_.threshold();
      return held == wanted || fail(held.porog1 + "|" + held.porog2);
    }
    std::string* field = target == "tact"             ? &tact_
                         : target == "page2.num"      ? &page2_.pointCount
                         : target == "page2.fine2"    ? &page2_.finePerHour
                         : target == "page2.refusals" ? &options_[0]
                         : target == "page2.time"     ? &options_[1]
                                                      : nullptr;
    if (field) return check ? *field == text || fail(*field) : (*field = text, true);
    // grid:row:col
    const size_t c1 = target.find(':'), c2 = target.rfind(':');
    const std::string name = target.substr(0, c1);
    GridTable& grid = name == "1"    ? s_.table1
                      : name == "1a" ? s_.table1a
                      : name == "12" ? s_.table12
                      : name == "2"  ? s_.table2
                                     : s_.table3;
    const int row = std::stoi(target.substr(c1 + 1, c2 - c1 - 1)),
              col = std::stoi(target.substr(c2 + 1));
    if (check) return grid.cell(row, col) == text || fail(grid.cell(row, col));
    grid.set(row, col, text);
    if (&grid == &s_.table1) table1Typed(s_, row, col);
    return true;
  }

  bool fail(const std::string& what) {
    failure_ = "found \"" + what + "\"";
    return false;
  }

  static std::string described(const StepResult& r) {
    if (r.busy) return "busy " + std::to_string(r.busy->width);
    if (!r.passed()) return "refused " + r.check.focus + " " + std::to_string(r.check.row);
    std::string out = std::to_string(r.nextStep) + " " + r.focus;
    if (r.focusRow >= 0) out += " " + std::to_string(r.focusRow);
    if (r.focusColumn >= 0) out += " " + std::to_string(r.focusColumn);
    return out;
  }

  // Next on the current page with what the page holds, then the work each result announces.
  bool next() {
    std::string seen;
    if (const auto busy = flow_.busyWhileNext(s_.wizardStep))
      seen = "busy " + std::to_string(busy->width) + " > ";
    StepResult r;
    switch (s_.wizardStep) {
      case 1: r = flow_.identityNext(page1_); break;
      case 2: {
        if (const std::optional<Page2Values> filled = flow_.takePage2Fill()) {
          page2_.startPoint = filled->startPoint;
          page2_.endPoint = filled->endPoint;
          page2_.finePerHour = filled->finePerHour;
          page2_.pointCount = std::to_string(addresses_.size());
          page2_.finePerKm = "1";
          page2_.approachSpeed = "15,0";
        }
        page2_.refusals = options_[0] == "1";
        page2_.timeFactor = options_[1] == "1";
        r = flow_.parametersNext(page2_);
        break;
      }
      case 3: r = flow_.pointsNext(); break;
      case 4: r = flow_.pointOptionsNext(tact_); break;
      case 5: r = flow_.sectionChoiceNext(); break;
      case 6: r = flow_.toTransitionsNext(); break;
      case 7: r = flow_.fromTransitionsNext(); break;
      default: return fail("no Next on step 8");
    }
    seen += described(r);
    shown_ = r.updates;
    while (r.busy) {
      r = flow_.resume();
      seen += " > " + described(r);
    }
    nexts_.push_back(seen);
    if (!r.passed()) return fail(seen + (r.check.message ? " " + f_.text(*r.check.message) : ""));
    flow_.setCurrentStep(r.nextStep);
    if (r.nextStep == 3 && !typed_) {
      typed_ = true;
      for (size_t i = 0; i < addresses_.size(); ++i) {
        std::istringstream in(addresses_[i]);
        std::string cell;
        for (int c = t1::kType; c <= t1::kHouse && in >> cell; ++c)
          step("1:" + std::to_string(i) + ":" + std::to_string(c) + "=" + cell);
        if (in >> cell) s_.table1.set(static_cast<int>(i), t1::kHouseIndex, cell);
      }
    }
    return true;
  }

  test::WizardFixture f_;
  TaskWizardState s_;
  TaskWizardFlow flow_;
  std::vector<std::string> addresses_;
  bool typed_ = false;
  Step1Input page1_;
  Page2Input page2_;
  std::array<std::string, 2> options_{"0", "0"};
  std::string tact_;
  std::string failure_;
  std::vector<std::string> nexts_;
  ControlUpdates shown_;
};

const std::vector<std::string> kNumbered = {"ul Lenina 4", "ul Lenina 6", "pr Nevsky 7"};
const std::vector<std::string> kUnnumbered = {"ul Lenina 4", "ul Mira -", "pr Nevsky 7"};
const std::vector<std::string> kHouses = {"ul Lenina 3 0", "ul Mira 7 5", "pr Nevsky 15 6"};

TEST(TaskWizardFlow, EachNextShowsItsPageOrChainsTheStepsThatHaveNone) {
  const std::function<void(DbrnFile&)> changes[] = {
      {},
      [](DbrnFile& db) { db.sections[0].closed = "*"; },
      [](DbrnFile& db) { db.houses[5].links.clear(); }};
  const struct {
    const char* name;
    int level;
    const std::vector<std::string>& addresses;
    int change;
    const char *words, *nexts;
  } paths[] = {
      {"every point placed by its number", 1, kNumbered, 0, "n n n n n",
       "2 TS_num|3 Table1 0|busy 243 > 6 Table2 0 9|7 Table3 0 9|busy 206 > 8 btnNext|"},
      {"a point without a number has its section chosen", 1, kUnnumbered, 0, "n n n mark:1 n",
       "2 TS_num|3 Table1 0|5 Table12 0 8|busy 243 > 6 Table2 0 9|"},
      {"the optional page before the section choice", 1, kUnnumbered, 0,
       "n page2.refusals=1 n n n mark:1 n",
       "2 TS_num|3 Table1 0|4 Table1a 0|5 Table12 0 8|busy 243 > 6 Table2 0 9|"},
      {"a point on a closed section", 1, kNumbered, 1, "n n n",
       "2 TS_num|3 Table1 0|busy 243 > refused Table1 0|"},
      {"level 2: the transitions come from the houses", 2, kHouses, 0, "n n n",
       "2 TS_num|3 Table1 0|busy 243 > busy 206 > 8 btnNext|"},
      {"level 2: a point that no way reaches", 2, kHouses, 2, "n n n",
       "2 TS_num|3 Table1 0|busy 243 > busy 206 > refused Table1 1|"},
      {"level 3: the count, then the summary without transitions", 3, kHouses, 0, "n n n",
       "2 TS_num|3 Table1 0|busy 243 > 8 btnNext|"},
      {"level 3: the optional page before the count", 3, kHouses, 0, "n page2.refusals=1 n n n",
       "2 TS_num|3 Table1 0|4 Table1a 0|busy 243 > 8 btnNext|"}};
  for (const auto& p : paths) {
    Walk walk(p.level, p.addresses, changes[p.change]);
    walk.run(p.words);
    std::string seen;
    for (const std::string& next : walk.nexts()) seen += next + "|";
    EXPECT_EQ(seen, p.nexts) << p.name;
  }
}

TEST(TaskWizardFlow, WhatIsTypedSurvivesEveryWalkUnlessTheAddressChanges) {
  // Point 1 on section 1 (its reverse, section 2, a second way in); point 2 without a number
  // (sections 4 and 5 on page 34); point 3 on section 6 (no reverse). Table2 rows: 0-1 point 1,
  // 2-3 point 2 (the marked section 5, reverse section 4), 4 point 3. Table3 row 0: point 1 to
  // the end of section 1.
  const std::string at3 = "N N ", at6 = "N N N mark:1 N ";
  const struct {
    const char* name;
    std::string words;
    std::function<void(DbrnFile&)> change = {};
  } walks[] = {
      {"a time typed on page 3, Back to page 2 and to page 1, then typed back to the record's",
       at3 + "1:2:6=7 B N 1:2:6?7 1:0:3?4 B B N N 1:2:6?7 1:1:2?Mira 1:2:6=0 B N 1:2:6?0"},
      {"page 2 typed, Back to page 1 and on", at3 + "B page2.fine2=3 B N page2.fine2?3"},
      {"the section's mark before page 34 was passed", at3 + "N mark:1 B N 12:1:8?* 12:0:8?"},
      {"the mark moved after the placement", at6 + "B mark:0 B N 12:0:8?* 12:1:8?"},
      {"a mark on a closed section, refused by the placement", at3 + "N mark:1 n B N 12:1:8?*",
       [](DbrnFile& db) { db.sections[4].closed = "*"; }},
      {"the ways in typed, Back to the addresses and on",
       at6 + "2:0:9=77 2:0:10=22 B B N N step?6 2:0:9?77 2:0:10?22"},
      {"the ways in stored, Back to page 34 and on",
       at6 + "2:0:9=7 2:0:10=4 N B B N 2:0:9?7 2:0:10?4"},
      {"the ways out stored, typed again, Back and on",
       at6 + "N 3:0:9=55 N B 3:0:9=33 B N 3:0:9?33"},
      {"the ways out typed, Back and on, then to page 1 and on",
       at6 + "N 3:0:9=55 B N 3:0:9?55 3:0:10=9 B B B B B N N N N N 3:0:10?9"},
      {"a changed address gives its point's ways their defaults",
       at6 + "2:0:9=7 2:2:9=8 N B B B 1:0:3=20 N N step?6 2:0:9?100 2:2:9?8"},
      {"a loaded threshold shown on page 3a",
       at3 + "B page2.refusals=1 served=-3 N N threshold?2,3 enabled:porog2?1 enabled:porog1?0 "
             "checked:por2?1 checked:por1?0 checked:por0?0"},
      {"a loaded threshold at most", at3 + "B page2.refusals=1 served=2 N N threshold?1,2"},
      {"page 3a typed, Back to page 3 and on", at3 + "B page2.refusals=1 N N threshold?0 1a:1:4=12 "
                                                     "threshold=1,2 B N 1a:1:4?12 threshold?1,2"},
      {"the tact typed, Back to page 1 and on",
       at3 + "B page2.time=1 N N tact=15 1a:1:5=30 B B B N N N tact?15 1a:1:5?30"},
  };
  for (const auto& [name, words, change] : walks) {
    SCOPED_TRACE(name);
    Walk w(1, kUnnumbered, change);
    EXPECT_EQ(w.run(words), "");
  }
}

const ShellTables& texts() {
  static const ShellTables t = test::markedShell();
  return t;
}

TEST(TaskWizardFrame, CaptionsCountTheStepsOfTheDatabaseLevel) {
  TaskWizardState s;
  const auto captions = [&](std::initializer_list<int> steps) {
    std::string out;
    for (int step : steps) out += taskStepCaption(s, step).resolve(texts()) + "|";
    return out;
  };
  EXPECT_EQ(captions({1}), "S64 (S744 1)|");
  s.dbLevel = 1;  // step 5 comes after the address page, then after the optional page
  EXPECT_EQ(captions({2, 4, 5}), "S64 (S744 2 S200 5)|S64 (S744 S3 S200 5)|S64 (S744 S3 S200 5)|");
  s.header.cargoMode = 1;
  EXPECT_EQ(captions({5, 6, 7, 8}),
            "S64 (S744 S4 S200 5)|S64 (S744 4 S200 5)|S64 (S744 5 S200 5)|S64|");
  s.dbLevel = 2;
  s.formMode = kCorrectTask;
  EXPECT_EQ(captions({3}), "S233 (S744 3 S200 3)|");
  s.dbLevel = 3;
  EXPECT_EQ(captions({2}), "S233 (S744 2 S200 3)|");
  // Next finishes on the summary only; Back leads somewhere from every page but the first.
  test::WizardFixture f;
  const TaskWizardFlow flow(s, f.app);
  std::string buttons;
  for (int step = 1; step <= kTaskSteps; ++step)
    buttons += flow.nextCaption(step).resolve(texts()) + (flow.backEnabled(step) ? "<" : "") + " ";
  EXPECT_EQ(buttons, "S80 S80< S80< S80< S80< S80< S80< S129< ");
}

// The walks of the flow test go Back over the pages; here the steps they skip and the warning
// row of the address page.
TEST(TaskWizardFrame, BackLeadsToThePageThatWasShown) {
  TaskWizardState s;
  const auto backs = [&] {
    std::string out;
    for (s.wizardStep = 1; s.wizardStep <= 8; ++s.wizardStep) {
      const BackMove m = backFrom(s);
      out += std::to_string(m.toStep) + m.focus + (m.resetWarnedRow ? " reset" : "") + "|";
    }
    return out;
  };
  s.dbLevel = 2;
  EXPECT_EQ(backs(),
            "1|1txtShifr|2TS_num|3Table1 reset|3Table1 reset|3Table1 reset|6Table2|3Table1|");
  s.header.timeFactorFlag = 1;
  EXPECT_EQ(backs(), "1|1txtShifr|2TS_num|3Table1 reset|4Table1a|4Table1a reset|6Table2|4Table1a|");
  std::tie(s.dbLevel, s.ambiguousCount, s.formMode) = std::tuple(1, 1, kCorrectTask);
  EXPECT_EQ(backs(), "1|1txtName|2TS_num|3Table1 reset|4Table1a|5Table12|6Table2|7Table3|");
}

TEST(TaskWizardFrame, EditsHaveTheirFilterAndLengthAndKindsTheirNames) {
  std::string rules;
  for (const char* name : {"txtShifr", "txtName", "TS_num", "TS_first", "TS_last", "nprio",
                           "porog1", "porog2", "txtDT", "fine1", "fine2", "ndol", "Velo", "List"}) {
    const auto r = taskEditRule(name);
    const char* kind = !r                              ? "-"
                       : r->filter == KeyFilter::Text  ? "t"
                       : r->filter == KeyFilter::Digit ? "d"
                       : r->filter == KeyFilter::Code  ? "c"
                                                       : "r";
    rules += kind + (r ? std::to_string(r->maxLength) + (r->upperCase ? "U" : "") : "") + " ";
  }
  EXPECT_EQ(rules, "c6U t70 d2 d2 d2 d2 d2 d2 d3 r6 r6 r6 r5 - ");
  std::string kinds;
  for (const char* kind : {"sys1", "sys2", "use1", "use2", "cli2"})
    kinds += taskDbKindText(kind).resolve(texts()) + " ";
  EXPECT_EQ(kinds, "sys1 (S609) sys2 (S610) use1 (S510) use2 (S511) cli2 (S217) ");
}

// Typed back to what was filled, a cell holds the filled text again.
TEST(TypedCells, EachCollectTakesWhatChangedSinceTheLast) {
  GridTable g(1);
  g.setRows(1);
  TypedCells typed;
  typed.filled(g, {"a"}, [](int, int) { return true; });
  for (const char* text : {"x", ""}) {
    g.set(0, 0, text);
    typed.collect(g);
  }
  ASSERT_TRUE(typed.typed("a", 0));
  EXPECT_EQ(*typed.typed("a", 0), "");
}

}  // namespace
}  // namespace qj
