// The task wizard's flow from page 1 to the summary on the small city: what each Next shows,
// including the steps it chains without a page of their own (step 5's count, the placement of
// level-1 points, the automatic transitions of level 2) with the red label of each, and the
// refusals of the chained steps.
//
// A path is written as the results of its Nexts, one Next per entry and the results of one
// Next joined by " > ": "<step> <focus> [<row> [<column>]]" for the page shown, "busy <width>"
// for work announced under a label (243 the state count, 206 the section graph) and
// "refused <focus> <row>".

#include "task/wizard_flow.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "task/points_step.h"
#include "task/section_choice_step.h"
#include "task/task_wizard_fixture.h"
#include "task/wizard_fixture.h"

namespace qj {
namespace {

std::string described(const StepResult& r) {
  std::string out;
  if (r.busy) return "busy " + std::to_string(r.busy->width);
  if (!r.passed()) return "refused " + r.check.focus + " " + std::to_string(r.check.row);
  out = std::to_string(r.nextStep) + " " + r.focus;
  if (r.focusRow >= 0) out += " " + std::to_string(r.focusRow);
  if (r.focusColumn >= 0) out += " " + std::to_string(r.focusColumn);
  return out;
}

struct Path {
  const char* name;
  int level;
  // Type, street and house of each point; at level 2 with the index of the house picked.
  std::vector<std::array<const char*, 4>> addresses;
  bool refusals;
  std::function<void(DbrnFile&)> change;  // of the database
  std::vector<std::string> nexts;
};

class FlowWalk {
 public:
  explicit FlowWalk(const Path& p) : s_(f_.wizard()), flow_(s_, f_.app) {
    DbrnFile db = test::smallCity(p.level);
    if (p.change) p.change(db);
    page1_ = {"ABC123", "Round", f_.addDatabase(db)};
  }

  // Next on the current page as the window runs it: the page's step, then the work each
  // result announces; the page shown becomes the current step.
  std::string next(const Path& p) {
    std::string out;
    if (const std::optional<BusyLabel> busy = flow_.busyWhileNext(s_.wizardStep))
      out = "busy " + std::to_string(busy->width) + " > ";
    StepResult r;
    switch (s_.wizardStep) {
      case 1: r = flow_.identityNext(page1_); break;
      case 2: {
        // Page 2 as step 1 filled it, with the path's count and options typed over it.
        const std::optional<Page2Values> filled = flow_.takePage2Fill();
        Page2Input typed;
        if (filled) {
          typed.startPoint = filled->startPoint;
          typed.endPoint = filled->endPoint;
          typed.finePerHour = filled->finePerHour;
        }
        typed.pointCount = std::to_string(p.addresses.size());
        typed.finePerKm = "1";
        typed.approachSpeed = "15,0";
        typed.refusals = p.refusals;
        r = flow_.parametersNext(typed);
        break;
      }
      case 3:
        for (size_t i = 0; i < p.addresses.size(); ++i)
          for (int c = 0; c < 3; ++c) {
            s_.table1.set(static_cast<int>(i), t1::kType + c, p.addresses[i][c]);
            table1Typed(s_, static_cast<int>(i), t1::kType + c);
            s_.table1.set(static_cast<int>(i), t1::kHouseIndex, p.addresses[i][3]);
          }
        r = flow_.pointsNext();
        break;
      case 4: r = flow_.pointOptionsNext(""); break;
      case 5:
        // The point without a number takes the second of its sections.
        table12Key(s_, GridKey::Space, 1, t12::kMark);
        r = flow_.sectionChoiceNext();
        break;
      case 6: r = flow_.toTransitionsNext(); break;
      case 7: r = flow_.fromTransitionsNext(); break;
    }
    out += described(r);
    while (r.busy) {
      r = flow_.resume();
      out += " > " + described(r);
    }
    if (r.passed()) flow_.setCurrentStep(r.nextStep);
    return out;
  }

 private:
  test::WizardFixture f_;
  TaskWizardState s_;
  TaskWizardFlow flow_;
  Step1Input page1_;
};

TEST(TaskWizardFlow, EachNextShowsItsPageOrChainsTheStepsThatHaveNone) {
  const auto closeSection0 = [](DbrnFile& db) { db.sections[0].closed = "*"; };
  const auto unlinkMira7 = [](DbrnFile& db) { db.houses[5].links.clear(); };
  using Addresses = std::vector<std::array<const char*, 4>>;
  const Addresses numbered = {
      {"ul", "Lenina", "4", ""}, {"ul", "Lenina", "6", ""}, {"pr", "Nevsky", "7", ""}};
  const Addresses unnumbered = {
      {"ul", "Lenina", "4", ""}, {"ul", "Mira", "-", ""}, {"pr", "Nevsky", "7", ""}};
  const Addresses houses = {
      {"ul", "Lenina", "3", "0"}, {"ul", "Mira", "7", "5"}, {"pr", "Nevsky", "15", "6"}};
  const Path paths[] = {
      {"level 1, every point placed by its number",
       1,
       numbered,
       false,
       {},
       {"2 TS_num", "3 Table1 0", "busy 243 > 6 Table2 0 9", "7 Table3 0 9",
        "busy 206 > 8 btnNext"}},
      {"level 1, a point without a number has its section chosen",
       1,
       unnumbered,
       false,
       {},
       {"2 TS_num", "3 Table1 0", "5 Table12 0", "busy 243 > 6 Table2 0 9"}},
      {"level 1 with the optional page",
       1,
       numbered,
       true,
       {},
       {"2 TS_num", "3 Table1 0", "4 Table1a 0", "busy 243 > 6 Table2 0 9"}},
      {"level 1, the optional page before the section choice",
       1,
       unnumbered,
       true,
       {},
       {"2 TS_num", "3 Table1 0", "4 Table1a 0", "5 Table12 0", "busy 243 > 6 Table2 0 9"}},
      {"level 1, a point on a closed section",
       1,
       numbered,
       false,
       closeSection0,
       {"2 TS_num", "3 Table1 0", "busy 243 > refused Table1 0"}},
      {"level 2, the transitions come from the houses",
       2,
       houses,
       false,
       {},
       {"2 TS_num", "3 Table1 0", "busy 243 > busy 206 > 8 btnNext"}},
      {"level 2, a point that no way reaches",
       2,
       houses,
       false,
       unlinkMira7,
       {"2 TS_num", "3 Table1 0", "busy 243 > busy 206 > refused Table1 1"}},
  };
  for (const Path& p : paths) {
    SCOPED_TRACE(p.name);
    FlowWalk walk(p);
    std::vector<std::string> seen;
    for (size_t i = 0; i < p.nexts.size(); ++i) seen.push_back(walk.next(p));
    EXPECT_EQ(seen, p.nexts);
  }
}

}  // namespace
}  // namespace qj
