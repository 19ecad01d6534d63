#include "task/summary_step.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "task/task_network.h"

namespace qj {
namespace {

struct Shown {
  std::string text;
  bool shown = false;
  bool fit = false;
};

Shown line(const ControlUpdates& page, const std::string& name) {
  static const ShellTables texts = test::markedShell();
  for (const auto& l : page)
    if (l.name == name && l.text) return {l.text->resolve(texts), l.visible.value_or(true), l.fit};
  ADD_FAILURE() << "no line " << name;
  return {};
}

TaskWizardState task() {
  TaskWizardState st =
      test::level1Task(test::mainNetwork().finish(), {{"Main", "3", 0}, {"Main", "15", 0}});
  st.header.moneyUnit = "EUR";
  st.header.finePerKm = 2.5;
  st.header.stateCount2 = 4;
  st.header.dbDate = "01.02.2026";
  return st;
}

TEST(SummaryPage, IdentityRatesAndCountsOfALevel1Task) {
  const auto page = summaryPage(task());
  EXPECT_EQ(line(page, "Label11_6").text, "S748 (EUR):");
  EXPECT_EQ(line(page, "fine1_6").text, "2,5");
  EXPECT_EQ(line(page, "fine2_6").text, "10");
  EXPECT_FALSE(line(page, "velo_6").shown);  // level 1: each transition has its own speed
  EXPECT_FALSE(line(page, "Label13_6").shown);
  // (7 sections + 2 points) x 2 phases + 2.
  EXPECT_EQ(line(page, "nstate1").text, "20");
  EXPECT_EQ(line(page, "nstate2").text, "4");
  EXPECT_EQ(line(page, "vzpp_6").text, "S445");
  EXPECT_FALSE(line(page, "npri_6").shown);
  EXPECT_FALSE(line(page, "por_6").shown);
  EXPECT_FALSE(line(page, "dt_6").shown);
  EXPECT_FALSE(line(page, "ndol_6").shown);
  EXPECT_EQ(line(page, "Label23_6").text, "(S20)");
  EXPECT_TRUE(line(page, "Label23_6").fit);
}

TEST(SummaryPage, OptionsShowTheirValues) {
  TaskWizardState st = task();
  st.dbLevel = 2;
  st.header.dbKind = "sys2";
  st.header.approachSpeed = 12.5;
  st.header.endPoint = 2;
  st.header.refusalFlag = 1;
  st.header.servedThreshold = -2;
  st.header.timeFactorFlag = 1;
  st.header.tactMinutes = 15;
  st.header.cargoMode = 2;
  st.header.capacity = 1500;
  st.header.returnFlag = 1;
  st.header.orderMode = 3;
  st.header.priorityCount = 2;
  auto page = summaryPage(st);
  EXPECT_EQ(line(page, "velo_6").text, "12,5");
  EXPECT_TRUE(line(page, "velo_6").shown);
  EXPECT_EQ(line(page, "pr1_6").text, "1");
  EXPECT_EQ(line(page, "por_6").text, "2 (S607)");
  EXPECT_TRUE(line(page, "por_6").shown);
  EXPECT_EQ(line(page, "dt_6").text, "15");
  EXPECT_EQ(line(page, "pruf_6").text, "2");
  EXPECT_EQ(line(page, "Label25_6").text, "S130:");
  EXPECT_EQ(line(page, "ndol_6").text, "1500");
  EXPECT_EQ(line(page, "prvd_6").text, "1");
  EXPECT_EQ(line(page, "vzpp_6").text, "3");
  EXPECT_EQ(line(page, "npri_6").text, "2");
  EXPECT_TRUE(line(page, "npri_6").shown);

  st.header.servedThreshold = 3;
  st.header.cargoMode = 1;
  page = summaryPage(st);
  EXPECT_EQ(line(page, "por_6").text, "3 (S782)");
  EXPECT_EQ(line(page, "Label25_6").text, "S75:");
  st.header.servedThreshold = 0;
  EXPECT_EQ(line(summaryPage(st), "por_6").text, "S445");
}

}  // namespace
}  // namespace qj
