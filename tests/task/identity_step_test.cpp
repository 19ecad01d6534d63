#include "task/identity_step.h"

#include <gtest/gtest.h>

#include "support/town.h"
#include "task/task_network.h"

namespace qj {
namespace {

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
    h.dbCode = code;
    h.nodeCount = nodes;
    h.sectionCount = sections;
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
  EXPECT_EQ(state.wizardStep, 1);
  EXPECT_EQ(state.dbLevel, 0);
  // A corrected task keeps its own code.
  state.formMode = kCorrectTask;
  EXPECT_EQ(outcome("ABC123", "Renamed", level1), "passed");
  EXPECT_TRUE(isValidTaskCode("000000"));
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
  for (const std::string page : {"2", "3", "3a", "34", "4", "5", "6"}) {
    std::string strip;
    for (const char* name : {"shifr_", "DBRN1_", "DBRN2_", "DBRN3_"})
      strip += f.text(*updatedText(r.updates, name + page)) + "|";
    EXPECT_EQ(strip, "ABC123|use1 (S510)|123|06.12.2026|") << page;
  }
}

TEST_F(StepOne, ALoadedTaskRefillsPageTwoFromItsHeader) {
  state.points.resize(3);
  state.toTransitions.resize(3);
  state.fromTransitions.resize(3);
  state.header = test::townTask("use2").header;
  state.header.finePerKm = 1.25;
  state.header.capacity = 1500.5;
  state.header.orderMode = 3;
  state.header.priorityCount = 2;
  const Step1Result r = next("ABC123", "Deliveries", level2);
  ASSERT_TRUE(r.check.passed() && r.page2);
  EXPECT_EQ(page2(*r.page2), "4|1|3|EUR|1,25|12|1 1500,5|3 2|111 5");
  EXPECT_EQ(state.dbLevel * 10 + state.transitionsEntered, 21);
  EXPECT_EQ(f.text(*updatedText(r.updates, "DBRN1_3a")), "use2 (S511)");
  // A header's modes out of range come to page 2 as none.
  state.header.cargoMode = 3;
  state.header.orderMode = 4;
  state.taskRevision = 1;
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
  EXPECT_EQ(state.wizardStep, 1);
  EXPECT_EQ(state.dbLevel, 1);
  EXPECT_EQ(state.db, test::smallTown("use1"));
}

}  // namespace
}  // namespace qj
