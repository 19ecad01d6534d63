// Whatever the user typed on a page of the task wizard survives any walk of Back and Next over
// the pages, stored by its step or not, unless the point's address changed. The walks run the
// steps as the window chains them, from page 1 on the small city:
//
//   point 1 (start) ul Lenina 4   on section 1 (its reverse, section 2, gives a second way in)
//   point 2         ul Mira -     no number: a section to choose on page 34 (sections 4 and 5)
//   point 3         pr Nevsky 7   on section 6 (no reverse)
//
// A walk is written as words: N (Next, which must pass), B (Back), "grid:row:col=text" (typed
// into a cell of Table1, 1a, 12, 2 or 3; "*" is a mark), "mark:row" (the SpaceBar on Table12's mark
// column), "page2.field=text" and "tact=text" and "threshold=choice,count" (the edits of pages 2
// and 3a), and checks: "grid:row:col?text", "page2.field?text", "tact?text",
// "threshold?choice,count", "step?n".

#include <gtest/gtest.h>

#include <sstream>

#include "task/auto_transitions.h"
#include "task/from_transitions_step.h"
#include "task/identity_step.h"
#include "task/parameters_step.h"
#include "task/placement.h"
#include "task/point_options_step.h"
#include "task/points_step.h"
#include "task/section_choice_step.h"
#include "task/task_wizard_fixture.h"
#include "task/to_transitions_step.h"
#include "task/transition_grid.h"
#include "task/wizard_fixture.h"

namespace qj {
namespace {

using test::WizardFixture;

class Walk {
 public:
  Walk() : s_(f_.wizard()) {
    page1_ = {"ABC123", "Round", f_.addDatabase(test::smallCity(1))};
    next();
    page2_.pointCount = "3";
    page2_.finePerKm = "1";
    page2_.approachSpeed = "15,0";
    next();
    const char* addresses[3][3] = {
        {"ul", "Lenina", "4"}, {"ul", "Mira", "-"}, {"pr", "Nevsky", "7"}};
    for (int r = 0; r < 3; ++r)
      for (int c = 0; c < 3; ++c) type(s_.table1, r, t1::kType + c, addresses[r][c]);
  }

  // Runs the words; returns the first that did not go as written.
  std::string run(const std::string& words) {
    std::istringstream in(words);
    for (std::string word; in >> word;)
      if (!step(word)) return word + (failure_.empty() ? "" : ": " + failure_);
    return "";
  }

 private:
  bool step(const std::string& word) {
    if (word == "N") return next();
    if (word == "B") {
      const BackMove m = backFrom(s_);
      if (m.resetWarnedRow) s_.warnedRow = -1;
      s_.wizardStep = m.toStep;
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
    if (target == "step") return s_.wizardStep == std::stoi(text) || fail(s_.wizardStep);
    if (target == "tact") return check ? tact_ == text || fail(tact_) : (tact_ = text, true);
    if (target == "threshold") {
      const ThresholdControls wanted{
          std::stoi(text), text.size() > 2 && text[0] == '1' ? text.substr(2) : std::string(),
          text.size() > 2 && text[0] == '2' ? text.substr(2) : std::string()};
      if (!check) return (threshold_ = wanted, true);
      return threshold_ == wanted || fail(threshold_.porog1 + "|" + threshold_.porog2);
    }
    if (target.rfind("page2.", 0) == 0) {
      std::string& field = page2Field(target.substr(6));
      return check ? field == text || fail(field) : (field = text, true);
    }
    // grid:row:col
    const size_t c1 = target.find(':'), c2 = target.rfind(':');
    GridTable& grid = table(target.substr(0, c1));
    const int row = std::stoi(target.substr(c1 + 1, c2 - c1 - 1)),
              col = std::stoi(target.substr(c2 + 1));
    if (check) return grid.cell(row, col) == text || fail(grid.cell(row, col));
    type(grid, row, col, text);
    return true;
  }

  bool fail(const std::string& what) {
    failure_ = "found \"" + what + "\"";
    return false;
  }
  bool fail(int what) { return fail(std::to_string(what)); }

  // The edits of page 2 that the walks change; the options are "1" or "0".
  std::string& page2Field(const std::string& name) {
    if (name == "num") return page2_.pointCount;
    if (name == "fine2") return page2_.finePerHour;
    if (name == "refusals") return options_[0];
    return options_[1];  // "time"
  }

  GridTable& table(const std::string& name) {
    if (name == "1") return s_.table1;
    if (name == "1a") return s_.table1a;
    if (name == "12") return s_.table12;
    if (name == "2") return s_.table2;
    return s_.table3;
  }

  // A cell typed by the user; the address grid also learns which point changed.
  void type(GridTable& grid, int row, int col, const std::string& text) {
    grid.set(row, col, text);
    if (&grid == &s_.table1) table1Typed(s_, row, col);
  }

  // Next as the window runs it, chaining the steps that follow without a page of their own.
  bool next() {
    const ShellTables& texts = f_.app.texts;
    switch (s_.wizardStep) {
      case 1: {
        Step1Result r = checkStep1(s_, f_.app, page1_);
        if (!r.check.passed()) return refused(r.check);
        if (r.page2) {
          page2_.pointCount = r.page2->pointCount;
          page2_.startPoint = r.page2->startPoint;
          page2_.endPoint = r.page2->endPoint;
          page2_.finePerKm = r.page2->finePerKm;
          page2_.finePerHour = r.page2->finePerHour;
          options_ = {r.page2->refusals ? "1" : "0", r.page2->timeFactor ? "1" : "0"};
          if (r.page2->tact) tact_ = *r.page2->tact;
        }
        return true;
      }
      case 2: {
        page2_.refusals = options_[0] == "1";
        page2_.timeFactor = options_[1] == "1";
        const Step2Result r = checkStep2(s_, page2_, texts);
        return r.check.passed() || refused(r.check);
      }
      case 3: {
        const Step3Outcome out = checkStep3(s_, texts);
        if (out.threshold) threshold_ = *out.threshold;
        return follow(out);
      }
      case 4: return follow(checkStep4(s_, texts, tact_));
      case 5: {
        const Step5Outcome out = checkStep5(s_, threshold_);
        if (out.resetThreshold) threshold_ = {};
        return follow(out);
      }
      case 6: return follow(checkStep6(s_, texts));
      case 7: return follow(checkStep7(s_));
      default: return fail("no Next on step 8");
    }
  }

  bool follow(const StepOutcome& out) {
    if (!out.check.passed()) return refused(out.check);
    switch (out.next) {
      case WizardNext::ShowStep4Page: s_.wizardStep = 4; return true;
      case WizardNext::ShowSectionChoicePage: s_.wizardStep = 5; return true;
      case WizardNext::RunStep5: s_.wizardStep = 5; return next();
      case WizardNext::PlaceLevelOnePoints: {
        const StepCheck c = placeLevel1Points(s_, f_.app.texts);
        if (!c.passed()) return refused(c);
        s_.wizardStep = 6;
        return true;
      }
      case WizardNext::ShowStep7Page: s_.wizardStep = 7; return true;
      case WizardNext::ShowSummary: s_.wizardStep = 8; return true;
      default: return fail("unexpected page");
    }
  }

  bool refused(const StepCheck& c) {
    return fail(c.message ? f_.text(*c.message) : "focus on " + c.focus);
  }

  WizardFixture f_;
  TaskWizardState s_;
  Step1Input page1_;
  Page2Input page2_;
  std::array<std::string, 2> options_{"0", "0"};
  std::string tact_;
  ThresholdControls threshold_;
  std::string failure_;
};

TEST(BackAndNext, WhatIsTypedSurvivesEveryWalkUnlessTheAddressChanges) {
  // Table2 rows: 0-1 point 1 (own section 1, reverse section 2), 2-3 point 2 (the marked
  // section 5, reverse section 4), 4 point 3. Table3 row 0: point 1 to the end of section 1.
  const std::string toPage6 = "N mark:1 N ";
  const struct {
    const char* name;
    std::string words;
  } walks[] = {
      {"a time typed on page 3, Back to page 2", "1:2:6=7 B N 1:2:6?7 1:0:3?4"},
      {"page 3 as typed, Back to page 1 and on", "1:2:6=7 B B N N 1:2:6?7 1:1:2?Mira"},
      {"page 2 typed, Back to page 1 and on", "B page2.fine2=3 B N page2.fine2?3"},
      {"the section's mark before page 34 was passed", "N mark:1 B N 12:1:8?* 12:0:8?"},
      {"the mark moved after the placement", toPage6 + "B mark:0 B N 12:0:8?* 12:1:8?"},
      {"the ways in typed, Back to the addresses and on",
       toPage6 + "2:0:9=77 2:0:10=22 B B N N step?6 2:0:9?77 2:0:10?22"},
      {"the ways in stored, Back to page 34 and on",
       toPage6 + "2:0:9=7 2:0:10=4 N B B N 2:0:9?7 2:0:10?4"},
      {"the ways out typed, Back and on", toPage6 + "N 3:0:9=55 B N 3:0:9?55"},
      {"the ways out stored, typed again, Back and on",
       toPage6 + "N 3:0:9=55 N B 3:0:9=33 B N 3:0:9?33"},
      {"the ways out typed, Back to page 1 and on",
       toPage6 + "N 3:0:10=9 B B B B B N N N N N 3:0:10?9"},
      {"a changed address gives its point's ways their defaults",
       toPage6 + "2:0:9=7 2:2:9=8 N B B B 1:0:3=20 N N step?6 2:0:9?100 2:2:9?8"},
      {"page 3a typed, Back to page 3 and on",
       "B page2.refusals=1 N N 1a:1:4=12 threshold=1,2 B N 1a:1:4?12 threshold?1,2"},
      {"the tact typed, Back to page 1 and on",
       "B page2.time=1 N N tact=15 1a:1:5=30 B B B N N N tact?15 1a:1:5?30"},
  };
  for (const auto& walk : walks) {
    SCOPED_TRACE(walk.name);
    Walk w;
    EXPECT_EQ(w.run(walk.words), "");
  }
}

}  // namespace
}  // namespace qj
