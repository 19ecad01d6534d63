#include "task/identity_step.h"

#include <gtest/gtest.h>

#include "democity/demo_city.h"
#include "task/task_wizard_fixture.h"

namespace qj {
namespace {

using test::tinyDb;
using test::WizardFixture;

class StepOne : public ::testing::Test {
 protected:
  StepOne() : state(f.wizard()) {
    level1 = f.addDatabase(tinyDb(1));
    level2 = f.addDatabase(tinyDb(2));
    client = f.addDatabase(tinyDb(3));
  }

  Step1Result next(const std::string& code, const std::string& name, int item) {
    return checkStep1(state, f.app, {code, name, item});
  }
  // The refusal's text, or "passed".
  std::string outcome(const Step1Result& r) const {
    if (r.check.passed()) return "passed";
    return r.check.message ? f.text(*r.check.message) : "focus " + r.check.focus;
  }

  WizardFixture f;
  TaskWizardState state;
  int level1 = 0, level2 = 0, client = 0;
};

TEST_F(StepOne, TheCodeIsSixCapitalLettersOrDigitsAndComesFirst) {
  for (const char* code : {"ABC12", "ABC1234", "abc123", "ABC-12", "ABC 12", "",
                           "\xC0"
                           "BC123"}) {
    const Step1Result r = next(code, "", 0);
    EXPECT_EQ(outcome(r), "S299.") << code;
    EXPECT_EQ(r.check.focus, "txtShifr");
  }
  EXPECT_EQ(state.wizardStep, 1);
}

TEST_F(StepOne, ThenTheNameThenTheProtocolThenTheDatabase) {
  Step1Result r = next("ABC123", "", 0);
  EXPECT_EQ(outcome(r), "S41.");
  EXPECT_EQ(r.check.focus, "txtName");

  f.app.protocol = {{"ZZZ999", "x"}, {"ABC123", "Old"}};
  r = next("ABC123", "Deliveries", 0);
  EXPECT_EQ(outcome(r), "S694.");
  EXPECT_EQ(r.check.focus, "txtShifr");

  r = next("ABC124", "Deliveries", 0);
  EXPECT_EQ(outcome(r), "S276.");
  EXPECT_EQ(r.check.focus, "");
  EXPECT_EQ(r.check.message->kind, MessageKind::Warning);
  EXPECT_EQ(state.dbLevel, 0);
}

TEST_F(StepOne, ACorrectedTaskKeepsItsOwnCode) {
  state.formMode = 3;
  f.app.protocol = {{"ABC123", "Old"}};
  EXPECT_EQ(outcome(next("ABC123", "Renamed", level1)), "passed");
  EXPECT_EQ(state.header.name, "Renamed");
}

TEST_F(StepOne, ANewTaskLoadsItsDatabaseAndGetsTheNewTaskValues) {
  state.header.tactMinutes = 7;
  state.header.refusalFlag = 1;
  const Step1Result r = next("ABC123", "Deliveries", level1);
  ASSERT_EQ(outcome(r), "passed");
  EXPECT_EQ(state.wizardStep, 2);
  EXPECT_EQ(state.dbLevel, 1);
  EXPECT_EQ(state.db, tinyDb(1));
  EXPECT_EQ(f.app.selectedPath, (f.dir / "Dbrn/001use1_dbrn_eng").string());
  EXPECT_EQ(state.header.code, "ABC123");
  EXPECT_EQ(state.header.name, "Deliveries");
  EXPECT_EQ(state.header.pointCount, 2);
  EXPECT_EQ(state.header.startPoint, 1);
  EXPECT_EQ(state.header.refusalFlag, 0);
  EXPECT_EQ(state.header.tactMinutes, 7);  // kept
  EXPECT_EQ(state.transitionsEntered, 0);

  ASSERT_TRUE(r.page2);
  const Page2Values& p = *r.page2;
  EXPECT_EQ(p.pointCount, "2");
  EXPECT_EQ(p.startPoint, "1");
  EXPECT_EQ(p.endPoint, "");
  EXPECT_EQ(p.moneyUnit, "");
  EXPECT_EQ(p.finePerKm, "0");
  EXPECT_EQ(p.cargoMode, 0);
  EXPECT_EQ(p.capacity, "");
  EXPECT_EQ(p.orderMode, 0);
  EXPECT_EQ(p.priorityCount, "");
  EXPECT_FALSE(p.refusals);
  EXPECT_FALSE(p.timeFactor);
  EXPECT_FALSE(p.tact);

  for (const char* page : {"2", "3", "3a", "34", "4", "5", "6"}) {
    const std::string s(page);
    EXPECT_EQ(f.text(*updatedText(r.updates, "shifr_" + s)), "ABC123");
    EXPECT_EQ(f.text(*updatedText(r.updates, "name_" + s)), "Deliveries");
    EXPECT_EQ(f.text(*updatedText(r.updates, "DBRN1_" + s)), "use1 (S510)");
    EXPECT_EQ(f.text(*updatedText(r.updates, "DBRN2_" + s)), "001");
    EXPECT_EQ(f.text(*updatedText(r.updates, "DBRN3_" + s)), "01.02.2026");
  }
}

TEST_F(StepOne, ALoadedTaskRefillsPageTwoFromItsHeader) {
  state.points.resize(3);
  state.toTransitions.resize(3);
  state.fromTransitions.resize(3);
  TaskHeader& h = state.header;
  h.pointCount = 3;
  h.startPoint = 2;
  h.endPoint = 3;
  h.moneyUnit = "EUR";
  h.finePerKm = 1.25;
  h.finePerHour = 30;
  h.cargoMode = 2;
  h.capacity = 1500.5;
  h.orderMode = 3;
  h.priorityCount = 2;
  h.refusalFlag = 1;
  h.timeFactorFlag = 1;
  h.tactMinutes = 15;
  h.returnFlag = 1;
  const Step1Result r = next("ABC123", "Deliveries", level2);
  ASSERT_EQ(outcome(r), "passed");
  EXPECT_EQ(state.dbLevel, 2);
  EXPECT_EQ(state.transitionsEntered, 1);
  EXPECT_EQ(h.pointCount, 3);
  ASSERT_TRUE(r.page2);
  const Page2Values& p = *r.page2;
  EXPECT_EQ(p.pointCount, "3");
  EXPECT_EQ(p.startPoint, "2");
  EXPECT_EQ(p.endPoint, "3");
  EXPECT_EQ(p.moneyUnit, "EUR");
  EXPECT_EQ(p.finePerKm, "1,25");
  EXPECT_EQ(p.finePerHour, "30");
  EXPECT_EQ(p.cargoMode, 2);
  EXPECT_EQ(p.capacity, "1500,5");
  EXPECT_EQ(p.orderMode, 3);
  EXPECT_EQ(p.priorityCount, "2");
  EXPECT_TRUE(p.refusals);
  EXPECT_TRUE(p.timeFactor);
  EXPECT_EQ(p.tact, "15");
  EXPECT_TRUE(p.returnToStart);
  EXPECT_EQ(f.text(*updatedText(r.updates, "DBRN1_3a")), "use2 (S511)");
}

TEST_F(StepOne, AClientAdditionIsLevelThree) {
  ASSERT_EQ(outcome(next("ABC123", "Deliveries", client)), "passed");
  EXPECT_EQ(state.dbLevel, 3);
  EXPECT_EQ(state.db.houses.size(), 5u);
  EXPECT_EQ(state.db.houses[2].links.size(), 0u);
}

TEST_F(StepOne, TheDatabaseLimitsAreJudgedOnTheHeaderBeforeTheFileIsRead) {
  // Headers alone: the rest of these files is missing, and never read.
  DbrnHeader h = tinyDb(1).header;
  h.dbCode = "500";
  h.nodeCount = 2501;
  ByteWriter nodes;
  writeDbrnHeader(nodes, h);
  f.writeBytes("500use1", nodes.bytes());
  f.app.dbrnCatalog.push_back({"500use1", "Too many nodes"});
  const int tooManyNodes = static_cast<int>(f.app.dbrnCatalog.size());

  h.dbCode = "501";
  h.nodeCount = 2500;
  h.sectionCount = 10001;
  ByteWriter sections;
  writeDbrnHeader(sections, h);
  f.writeBytes("501use1", sections.bytes());
  f.app.dbrnCatalog.push_back({"501use1", "Too many sections"});
  const int tooManySections = static_cast<int>(f.app.dbrnCatalog.size());

  ASSERT_EQ(outcome(next("ABC123", "Deliveries", level1)), "passed");
  state.wizardStep = 1;
  Step1Result r = next("ABC123", "Deliveries", tooManyNodes);
  EXPECT_EQ(outcome(r), "S860 2501 (> 2500 S153).");
  EXPECT_EQ(r.check.message->kind, MessageKind::Warning);
  r = next("ABC123", "Deliveries", tooManySections);
  EXPECT_EQ(outcome(r), "S861 10001 (> 10000 S153).");
  // The database loaded before stays the wizard's.
  EXPECT_EQ(state.wizardStep, 1);
  EXPECT_EQ(state.dbLevel, 1);
  EXPECT_EQ(state.db, tinyDb(1));
}

TEST_F(StepOne, ADatabaseAtTheLimitsIsTaken) {
  const DbrnFile large = largeCity(1, "eng");
  ASSERT_EQ(large.header.nodeCount, 2500);
  ASSERT_EQ(large.header.sectionCount, 10000);
  const int item = f.addDatabase(large);
  ASSERT_EQ(outcome(next("ABC123", "Deliveries", item)), "passed");
  EXPECT_EQ(state.db.sections.size(), 10000u);
}

TEST_F(StepOne, AMissingOrDamagedDatabaseIsReportedWithItsFileName) {
  std::filesystem::remove(f.dir / "Dbrn/001use1_dbrn_eng.dat");
  Step1Result r = next("ABC123", "Deliveries", level1);
  EXPECT_EQ(outcome(r), "S830 \"001use1_dbrn_eng.dat\" S831.");
  EXPECT_EQ(r.check.message->kind, MessageKind::Error);

  const std::string bytes = writeDbrn(tinyDb(2));
  f.writeBytes("002use2", bytes.substr(0, bytes.size() - 30));
  r = next("ABC123", "Deliveries", level2);
  EXPECT_EQ(r.check.message->kind, MessageKind::Error);
  EXPECT_TRUE(outcome(r).starts_with("S830 \"002use2_dbrn_eng.dat\" S832: ")) << outcome(r);
  EXPECT_EQ(state.wizardStep, 1);
}

TEST(TaskCode, OnlySixCapitalLettersAndDigitsMakeACode) {
  EXPECT_TRUE(isValidTaskCode("ABC123"));
  EXPECT_TRUE(isValidTaskCode("000000"));
  EXPECT_FALSE(isValidTaskCode("ABC12"));
  EXPECT_FALSE(isValidTaskCode("ABc123"));
  EXPECT_FALSE(isValidTaskCode("ABC12/"));
}

}  // namespace
}  // namespace qj
