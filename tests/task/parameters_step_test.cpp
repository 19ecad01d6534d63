#include "task/parameters_step.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "frame/task_handover.h"
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
      const std::map<std::string, std::string*> fields{
          {"num", &input.pointCount},     {"first", &input.startPoint},
          {"last", &input.endPoint},      {"fine1", &input.finePerKm},
          {"fine2", &input.finePerHour},  {"velo", &input.approachSpeed},
          {"prio", &input.priorityCount}, {"dol", &input.capacity}};
      if (fields.count(name)) *fields.at(name) = value;
      if (name == "order") input.orderMode = std::stoi(value);
      if (name == "cargo") input.cargoMode = std::stoi(value);
      if (name == "refusals") input.refusals = value == "1";
      if (name == "return") input.returnToStart = value == "1";
    }
  }
};

TEST_F(StepTwo, EachValueIsCheckedInItsOrder) {
  onDatabase("use2");
  const std::pair<const char*, const char*> cases[] = {
      {"", "passed"},
      {"num=1", "S314 (< 2). @TS_num"},
      {"num=11", "S312 (> 10 S153). @TS_num"},
      {"num=", " @TS_num"},
      {"num=10", "passed"},
      {"first=0", "S340. @TS_first"},
      {"first=", " @TS_first"},
      {"first=5 last= prio=3", "passed"},
      {"last=6", "S341. @TS_last"},
      {"last=1x", "S341. @TS_last"},
      {"last=1", "S211. S743. @TS_first"},
      {"fine1=", " @fine1"},
      {"fine2=1,,5", " @fine2"},
      {"velo=,", " @Velo"},
      {"velo=0", "S867. @Velo"},
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
      {"refusals=0 cargo=2", "S302. S202. @"},
  };
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
  input.timeFactor = input.returnToStart = true;
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
  input.timeFactor = input.returnToStart = true;
  std::tie(input.cargoMode, input.capacity) = std::tuple(2, "1500");
  Step2Result r = next();
  ASSERT_TRUE(r.check.passed());
  EXPECT_EQ(shown(f, r.updates,
                  "L11_3a L2_3a Title3_T1 Title6_T1 Title5_T1 nts_3a tsf_34 tsl_6 List2 porog1 "
                  "txtDT L2_3"),
            "L11_3a=S74 L2_3a=S163 (EUR) Title3_T1=S84 Title6_T1=S547 (>=1 S1 <=2) "
            "Title5_T1=S750 (EUR) nts_3a=5 tsf_34=1 tsl_6=5 List2=? porog1=? txtDT=? L2_3=?");
  EXPECT_TRUE(*updatedVisibility(r.updates, "porog1") &&
              *updatedVisibility(r.updates, "Title4_T1"));
  // The order column is named by the order the task asks for.
  std::string titles;
  for (int order : {0, 1, 2, 3}) {
    input.orderMode = order;
    titles += shown(f, next().updates, "Title6_T1") + " ";
  }
  EXPECT_EQ(titles, "Title6_T1=- Title6_T1=S410 Title6_T1=S408 Title6_T1=S547 (>=1 S1 <=2) ");
  input.orderMode = 3;
  std::tie(state.header.tactMinutes, state.header.servedThreshold, state.header.stateCount2) =
      std::tuple(15, -2, 4);
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
  state.header.cargoMode = 0;
  EXPECT_EQ(shown(f, summaryPage(state), "por_6 Label25_6 ndol_6"),
            "por_6=3 (S782) Label25_6=- ndol_6=-");
  state.header.servedThreshold = 0;
  EXPECT_EQ(shown(f, summaryPage(state), "por_6"), "por_6=S445");
}

struct StepOne : ::testing::Test {
  test::WizardFixture f;
  TaskWizardState state = f.wizard();
  int level1 = f.addDatabase(test::smallTown("use1"));
  int level2 = f.addDatabase(test::smallTown("use2"));
  int client = f.addDatabase(test::smallTown("cli2"));

  Step1Result next(const std::string& code, const std::string& name, int item) {
    return checkStep1(state, f.app, {code, name, item});
  }
  std::string outcome(const std::string& code, const std::string& name, int item) {
    const Step1Result r = next(code, name, item);
    return f.text(r.check) + (r.check.passed() ? "" : " @" + r.check.focus);
  }
  // A database file of the header alone: the rest is missing and must never be read.
  int headerOnly(const char* code, int32_t nodes, int32_t sections) {
    DbrnHeader h = test::smallTown().header;
    std::tie(h.dbCode, h.nodeCount, h.sectionCount) = std::tuple(code, nodes, sections);
    ByteWriter w;
    writeDbrnHeader(w, h);
    f.dir.write("Dbrn/" + h.key() + "_dbrn_eng.dat", w.bytes());
    f.app.dbrnCatalog.push_back({h.key(), "x"});
    return static_cast<int>(f.app.dbrnCatalog.size());
  }
};

TEST_F(StepOne, ChecksComeInTheirOrder) {
  for (const char* code : {"ABC12", "ABC1234", "abc123", "ABC-12", "ABC 12", "", "\xC0QC123"})
    EXPECT_EQ(outcome(code, "", 0), "S299. @txtShifr") << code;
  EXPECT_EQ(outcome("ABC123", "", 0), "S41. @txtName");
  f.app.protocol = {{"ZZZ999", "x"}, {"ABC123", "Old"}};
  EXPECT_EQ(outcome("ABC123", "Deliveries", 0), "S694. @txtShifr");
  const Step1Result r = next("ABC124", "Deliveries", 0);
  EXPECT_EQ(f.text(r.check), "S276.");
  EXPECT_EQ(r.check.message->kind, MessageKind::Warning);
  EXPECT_EQ(state.wizardStep * 10 + state.dbLevel, 10);
  // A corrected task keeps its own code.
  state.formMode = kCorrectTask;
  EXPECT_EQ(outcome("ABC123", "Renamed", level1), "passed");
  EXPECT_TRUE(isTaskCode("000000"));
}

std::string page2(const Page2Values& p) {
  return p.pointCount + "|" + p.startPoint + "|" + p.endPoint + "|" + p.moneyUnit + "|" +
         p.finePerKm + "|" + p.finePerHour + "|" + std::to_string(p.cargoMode) + " " + p.capacity +
         "|" + std::to_string(p.orderMode) + " " + p.priorityCount + "|" +
         std::to_string(p.refusals) + std::to_string(p.timeFactor) +
         std::to_string(p.returnToStart) + " " + p.tact.value_or("-");
}

TEST_F(StepOne, ANewTaskLoadsItsDatabaseAndGetsTheNewTaskValues) {
  state.header.tactMinutes = 7;
  state.header.refusalFlag = 1;
  const Step1Result r = next("ABC123", std::string(75, 'n'), level1);
  ASSERT_TRUE(r.check.passed() && r.page2);
  EXPECT_EQ(page2(*r.page2), "2|1|||0|0|0 |0 |000 -");
  EXPECT_EQ(state.wizardStep * 10 + state.dbLevel, 21);
  EXPECT_EQ(state.db, test::smallTown("use1"));
  EXPECT_EQ(f.app.selectedPath, (f.dir / "Dbrn/123use1_dbrn_eng").string());
  EXPECT_EQ(state.header.code + " " + state.header.name, "ABC123 " + std::string(70, 'n'));
  EXPECT_EQ(state.header.refusalFlag, 0);
  EXPECT_EQ(state.header.tactMinutes, 7);
  std::string strip;  // on each page from 2 to 6
  for (const char* name : {"shifr_2", "DBRN1_34", "DBRN2_3a", "DBRN3_6"})
    strip += f.text(*updatedText(r.updates, name)) + "|";
  EXPECT_EQ(strip, "ABC123|use1 (S510)|123|06.12.2026|");
}

TEST_F(StepOne, ALoadedTaskRefillsPageTwoFromItsHeader) {
  state.points.resize(3);
  state.toTransitions.resize(3);
  state.fromTransitions.resize(3);
  state.header = test::townTask("use2").header;
  TaskHeader& h = state.header;
  std::tie(h.finePerKm, h.capacity, h.orderMode, h.priorityCount) = std::tuple(1.25, 1500.5, 3, 2);
  const Step1Result r = next("ABC123", "Deliveries", level2);
  ASSERT_TRUE(r.check.passed() && r.page2);
  EXPECT_EQ(page2(*r.page2), "4|1|3|EUR|1,25|12|1 1500,5|3 2|111 5");
  EXPECT_EQ(state.dbLevel * 10 + state.transitionsEntered, 21);
  EXPECT_EQ(f.text(*updatedText(r.updates, "DBRN1_3a")), "use2 (S511)");
  // A header's modes out of range come to page 2 as none.
  std::tie(state.header.cargoMode, state.header.orderMode, state.taskRevision) =
      std::tuple(3, 4, 1);
  const Step1Result out = next("ABC123", "Deliveries", client);
  ASSERT_TRUE(out.check.passed() && out.page2);
  EXPECT_EQ(page2(*out.page2), "4|1|3|EUR|1,25|12|0 |0 |111 5");
  EXPECT_EQ(state.dbLevel, 3);
  EXPECT_EQ(state.db, test::smallTown("cli2"));
}

TEST_F(StepOne, DatabaseLimitsAreJudgedOnTheHeaderAndAFailedLoadKeepsTheDatabase) {
  ASSERT_TRUE(next("ABC123", "Deliveries", level1).check.passed());
  state.wizardStep = 1;
  Step1Result r = next("ABC123", "Deliveries", headerOnly("500", 2501, 10));
  EXPECT_EQ(f.text(r.check), "S860 2501 (> 2500 S153).");
  EXPECT_EQ(r.check.message->kind, MessageKind::Warning);
  r = next("ABC123", "Deliveries", headerOnly("501", 2500, 10001));
  EXPECT_EQ(f.text(r.check), "S861 10001 (> 10000 S153).");
  // At the limits the file is read, and found damaged.
  r = next("ABC123", "Deliveries", headerOnly("502", 2500, 10000));
  EXPECT_EQ(f.text(r.check).substr(0, 32), "S830 \"502use1_dbrn_eng.dat\" S832");
  EXPECT_EQ(r.check.message->kind, MessageKind::Error);
  std::filesystem::remove(f.dir / "Dbrn/123use2_dbrn_eng.dat");
  EXPECT_EQ(f.text(next("ABC123", "Deliveries", level2).check),
            "S830 \"123use2_dbrn_eng.dat\" S831.");
  EXPECT_EQ(state.wizardStep * 10 + state.dbLevel, 11);
  EXPECT_EQ(state.db, test::smallTown("use1"));
}

}  // namespace
}  // namespace qj
