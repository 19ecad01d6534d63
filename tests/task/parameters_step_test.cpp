#include "task/parameters_step.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/town.h"
#include "task/identity_step.h"
#include "task/points_step.h"
#include "task/summary_step.h"
#include "task/task_network.h"

namespace qj {
namespace {

// The named controls' texts as the user reads them, "-" for a hidden one.
std::string shown(const test::WizardFixture& f, const ControlUpdates& u, const char* names) {
  std::istringstream in(names);
  std::string out;
  for (std::string name; in >> name;) {
    const auto text = updatedText(u, name);
    out += (out.empty() ? "" : " ") + name + "=" +
           (updatedVisibility(u, name) == false ? "-"
            : text                              ? f.text(*text)
                                                : "?");
  }
  return out;
}

struct StepTwo : ::testing::Test {
  test::WizardFixture f;
  TaskWizardState state = f.wizard();
  // Every option on, so that every check has something to check.
  Page2Input input{"5", "1", "5", "EUR", "1,5", "10", "15,0", false, true, 1, "1", false, 3, "2"};

  void onDatabase(const char* kind) {
    ASSERT_TRUE(
        checkStep1(state, f.app, {"ABC123", "Deliveries", f.addDatabase(test::smallTown(kind))})
            .check.passed());
  }
  Step2Result next() { return checkStep2(state, input, f.app.texts); }
  std::string outcome() {
    const StepCheck c = next().check;
    return c.passed() ? "passed" : (c.message ? f.text(*c.message) : "") + " @" + c.focus;
  }
  void edit(const std::string& edits) {
    std::istringstream in(edits);
    for (std::string e; in >> e;) {
      const std::string name = e.substr(0, e.find('=')), value = e.substr(e.find('=') + 1);
      std::string* fields[] = {&input.pointCount,    &input.startPoint,  &input.endPoint,
                               &input.finePerKm,     &input.finePerHour, &input.approachSpeed,
                               &input.priorityCount, &input.capacity};
      const char* names[] = {"num", "first", "last", "fine1", "fine2", "velo", "prio", "dol"};
      for (int k = 0; k < 8; ++k)
        if (name == names[k]) *fields[k] = value;
      if (name == "order") input.orderMode = std::stoi(value);
      if (name == "cargo") input.cargoMode = std::stoi(value);
      if (name == "refusals") input.refusals = value == "1";
      if (name == "return") input.returnToStart = value == "1";
    }
  }
};

TEST_F(StepTwo, EachValueIsCheckedInItsOrder) {
  onDatabase("use2");
  const std::pair<const char*, const char*> cases[] = {{"", "passed"},
                                                       {"num=1", "S314 (< 2). @TS_num"},
                                                       {"num=0 first=9", "S314 (< 2). @TS_num"},
                                                       {"num=11", "S312 (> 10 S153). @TS_num"},
                                                       {"num=", " @TS_num"},
                                                       {"num=10", "passed"},
                                                       {"first=0", "S340. @TS_first"},
                                                       {"first=6 last=", "S340. @TS_first"},
                                                       {"first=", " @TS_first"},
                                                       {"first=5 last= prio=3", "passed"},
                                                       {"last=6", "S341. @TS_last"},
                                                       {"last=1x", "S341. @TS_last"},
                                                       {"last=0", "S341. @TS_last"},
                                                       {"last=1", "S211. S743. @TS_first"},
                                                       {"fine1=", " @fine1"},
                                                       {"fine2=1,,5", " @fine2"},
                                                       {"velo=,", " @Velo"},
                                                       {"velo=0", "S867. @Velo"},
                                                       {"velo=-1 prio=1", "S867. @Velo"},
                                                       {"prio=", " @nprio"},
                                                       {"prio=1", "S632 >= 2. @nprio"},
                                                       {"prio=3", "passed"},
                                                       {"prio=4", "S623 <= 3. @nprio"},
                                                       {"prio=4 last=", "passed"},
                                                       {"prio=5 last=", "S623 <= 4. @nprio"},
                                                       {"prio=1 order=2", "passed"},
                                                       {"dol=", " @ndol"},
                                                       {"dol=0", "S328. @ndol"},
                                                       {"dol=0,00001", "S328. @ndol"},
                                                       {"dol=0,0001 refusals=0", "S302. S202. @"},
                                                       {"dol=0 cargo=3 refusals=0", "passed"},
                                                       {"refusals=0 return=1", "passed"},
                                                       {"refusals=0 cargo=2", "S302. S202. @"}};
  const Page2Input base = input;
  for (const auto& [edits, want] : cases) {
    input = base;
    edit(edits);
    EXPECT_EQ(outcome(), want) << edits;
  }
  // What was read before the failing check stays stored.
  edit("first=0");
  next();
  EXPECT_EQ(state.header.pointCount, 5);
  EXPECT_EQ(state.header.startPoint, 0);
}

TEST_F(StepTwo, TheHeaderTakesTheValuesTheOptionsAndTheDatabaseIdentity) {
  onDatabase("use2");
  state.header.tactMinutes = 15;
  input.moneyUnit = "A money unit longer than twenty";
  input.timeFactor = true;
  input.returnToStart = true;
  input.approachSpeed = "4,5";
  ASSERT_EQ(outcome(), "passed");
  const TaskHeader& h = state.header;
  std::ostringstream o;
  o << h.language << "|" << h.moneyUnit << "|" << h.timeFactorFlag << h.refusalFlag << "|"
    << h.tactMinutes << "|" << h.dbKind << h.dbCode << "|" << h.dbName << "|" << h.dbDate << "|"
    << h.sectionCount << "|" << h.pointCount << h.startPoint << h.endPoint << "|" << h.finePerKm
    << " " << h.finePerHour << " " << h.approachSpeed << " " << state.approachSpeed << "|"
    << h.orderMode << h.priorityCount << "|" << h.cargoMode << " " << h.capacity << " "
    << h.returnFlag;
  EXPECT_EQ(
      o.str(),
      "eng|A money unit longer |11|0|use2123|Small town|06.12.2026|10|515|1.5 10 4.5 4.5|32|1 1 "
      "1");
  EXPECT_EQ(state.warnedRow * 10 + state.wizardStep, -7);

  // Without cargo or classes their values are cleared; level 1 keeps no approach speed.
  edit("cargo=0 order=1 prio=x");
  ASSERT_EQ(outcome(), "passed");
  EXPECT_EQ(h.capacity + h.returnFlag + h.priorityCount, 0);
  state = f.wizard();
  onDatabase("use1");
  ASSERT_EQ(outcome(), "passed");
  EXPECT_EQ(h.approachSpeed, 0);
}

TEST_F(StepTwo, TheLaterPagesAndTheSummaryGetTheirCaptions) {
  onDatabase("use2");
  input.timeFactor = true;
  input.cargoMode = 2;
  input.returnToStart = true;
  input.capacity = "1500";
  Step2Result r = next();
  ASSERT_TRUE(r.check.passed());
  EXPECT_EQ(shown(f, r.updates,
                  "L11_3a L2_3a Title3_T1 Title6_T1 Title5_T1 nts_3a tsf_34 tsl_6 List2 porog1 "
                  "txtDT"),
            "L11_3a=S74 L2_3a=S163 (EUR) Title3_T1=S84 Title6_T1=S547 (>=1 S1 <=2) "
            "Title5_T1=S750 (EUR) nts_3a=5 tsf_34=1 tsl_6=5 List2=? porog1=? txtDT=?");
  EXPECT_EQ(updatedVisibility(r.updates, "porog1"), true);
  EXPECT_EQ(updatedVisibility(r.updates, "Title4_T1"), true);
  state.header.tactMinutes = 15;
  state.header.servedThreshold = -2;
  state.header.stateCount2 = 4;
  EXPECT_EQ(shown(f, summaryPage(state),
                  "Label11_6 fine1_6 fine2_6 Label13_6 velo_6 pr1_6 por_6 pr2_6 dt_6 pruf_6 "
                  "Label25_6 ndol_6 prvd_6 vzpp_6 Label16_6 npri_6 nstate1 nstate2 Label23_6"),
            "Label11_6=S748 (EUR): fine1_6=1,5 fine2_6=10 Label13_6=S614: velo_6=15 pr1_6=1 "
            "por_6=2 (S607) pr2_6=1 dt_6=15 pruf_6=2 Label25_6=S130: ndol_6=1500 prvd_6=1 "
            "vzpp_6=3 Label16_6=S731: npri_6=2 nstate1=26 nstate2=4 Label23_6=(S20)");

  state = f.wizard();
  onDatabase("use1");
  input = {"3", "1", "", "", "1", "1", "2", false, false, 1, "2", true, 0, ""};
  r = next();
  ASSERT_TRUE(r.check.passed());
  EXPECT_EQ(shown(f, r.updates, "L11_3a L2_3a Title3_T1 Title6_T1 porog2 txtDT List2 tsl_3"),
            "L11_3a=S425 L2_3a=S162 Title3_T1=S84 Title6_T1=- porog2=- txtDT=- List2=- tsl_3=S277");
  state.header.servedThreshold = 3;
  EXPECT_EQ(shown(f, summaryPage(state),
                  "Label11_6 velo_6 Label13_6 por_6 dt_6 Label25_6 vzpp_6 npri_6 nstate1"),
            "Label11_6=S748: velo_6=- Label13_6=- por_6=- dt_6=- Label25_6=S75: vzpp_6=S445 "
            "npri_6=- nstate1=26");
  state.header.refusalFlag = 1;
  EXPECT_EQ(shown(f, summaryPage(state), "por_6"), "por_6=3 (S782)");
}

}  // namespace
}  // namespace qj
