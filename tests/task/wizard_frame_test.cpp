#include "task/wizard_frame.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "task/step_outcome.h"

namespace qj {
namespace {

const ShellTables& texts() {
  static const ShellTables t = test::markedShell();
  return t;
}

std::string caption(const TaskWizardState& s, int step) {
  return taskStepCaption(s, step).resolve(texts());
}

TEST(TaskWizardCaption, ShowsTheStepOfTheTotalOfTheDatabaseLevel) {
  TaskWizardState s;
  s.formMode = 1;
  EXPECT_EQ(caption(s, 1), "S64 (S744 1)");
  s.dbLevel = 1;
  EXPECT_EQ(caption(s, 2), "S64 (S744 2 S200 5)");
  EXPECT_EQ(caption(s, 3), "S64 (S744 3 S200 5)");
  EXPECT_EQ(caption(s, 4), "S64 (S744 S3 S200 5)");
  EXPECT_EQ(caption(s, 5), "S64 (S744 S3 S200 5)");  // after the address page
  s.header.cargoMode = 1;
  EXPECT_EQ(caption(s, 5), "S64 (S744 S4 S200 5)");  // after the optional page
  EXPECT_EQ(caption(s, 6), "S64 (S744 4 S200 5)");
  EXPECT_EQ(caption(s, 7), "S64 (S744 5 S200 5)");
  EXPECT_EQ(caption(s, 8), "S64");
  s.dbLevel = 2;
  s.formMode = 3;
  EXPECT_EQ(caption(s, 1), "S233 (S744 1)");
  EXPECT_EQ(caption(s, 3), "S233 (S744 3 S200 3)");
  s.dbLevel = 3;
  EXPECT_EQ(caption(s, 2), "S233 (S744 2 S200 3)");
}

TEST(TaskWizardBack, LeadsWhereTheTableSays) {
  TaskWizardState s;
  s.dbLevel = 1;
  const auto from = [&](int step) {
    s.wizardStep = step;
    const BackMove m = backFrom(s);
    return std::to_string(m.toStep) + " " + m.focus + (m.resetWarnedRow ? " reset" : "") +
           (m.restoreNextCaption ? " next" : "") + (m.disablePrev ? " noprev" : "");
  };
  EXPECT_EQ(from(2), "1 txtShifr noprev");
  s.formMode = 3;
  EXPECT_EQ(from(2), "1 txtName noprev");
  EXPECT_EQ(from(3), "2 TS_num");
  EXPECT_EQ(from(4), "3 Table1 reset");
  // Without time factor, refusals or cargo there is no step 4 to go back to.
  EXPECT_EQ(from(5), "3 Table1 reset");
  EXPECT_EQ(from(6), "3 Table1 reset");
  s.ambiguousCount = 2;
  EXPECT_EQ(from(6), "5 Table12");
  EXPECT_EQ(from(7), "6 Table2");
  EXPECT_EQ(from(8), "7 Table3 next");

  s.header.timeFactorFlag = 1;
  EXPECT_EQ(from(5), "4 Table1a");
  s.ambiguousCount = 0;
  EXPECT_EQ(from(6), "4 Table1a reset");
  s.dbLevel = 2;
  EXPECT_EQ(from(8), "4 Table1a next");
  s.header.timeFactorFlag = 0;
  EXPECT_EQ(from(8), "3 Table1 next");
}

TEST(TaskWizardEdits, EachEditHasItsFilterAndLength) {
  const auto rule = [](const char* name) {
    const auto r = taskEditRule(name);
    if (!r) return std::string("none");
    std::string kind = !r->filter                       ? "text"
                       : *r->filter == KeyFilter::Digit ? "digit"
                       : *r->filter == KeyFilter::Code  ? "code"
                                                        : "decimal";
    return kind + " " + std::to_string(r->maxLength) + (r->upperCase ? " upper" : "");
  };
  EXPECT_EQ(rule("txtShifr"), "code 6 upper");
  EXPECT_EQ(rule("txtName"), "text 70");
  for (const char* digits : {"TS_num", "TS_first", "TS_last", "nprio", "porog1", "porog2"})
    EXPECT_EQ(rule(digits), "digit 2") << digits;
  EXPECT_EQ(rule("txtDT"), "digit 3");
  for (const char* decimal : {"fine1", "fine2", "ndol"}) EXPECT_EQ(rule(decimal), "decimal 6");
  EXPECT_EQ(rule("Velo"), "decimal 5");
  EXPECT_EQ(rule("Table1"), "none");
}

TEST(TaskWizardDatabases, TheListNamesEveryDatabaseAndFindsTheTasks) {
  // "Nothing chosen" comes from the shell, as every text the user reads.
  const std::vector<std::string> items = databaseListItems(
      {{"001sys1", "Demo city"}, {"002sys2", "Demo city 2"}, {"002cli2", "Shop"}}, texts());
  EXPECT_EQ(items, (std::vector<std::string>{"S445", "[001sys1] Demo city", "[002sys2] Demo city 2",
                                             "[002cli2] Shop"}));
  TaskHeader h;
  h.dbCode = "002";
  h.dbKind = "cli2";
  EXPECT_EQ(databaseItemOf(items, h), 3);
  h.dbKind = "use2";
  EXPECT_EQ(databaseItemOf(items, h), 0);
}

TEST(TaskWizardDatabases, KindsAreNamedForTheHeaderStrips) {
  const auto kind = [](const char* k) { return taskDbKindText(k).resolve(texts()); };
  EXPECT_EQ(kind("use1"), "use1 (S510)");
  EXPECT_EQ(kind("use2"), "use2 (S511)");
  EXPECT_EQ(kind("sys1"), "sys1 (S609)");
  EXPECT_EQ(kind("sys2"), "sys2 (S610)");
  EXPECT_EQ(kind("cli2"), "cli2 (S217)");
}

TEST(TaskWizardUpdates, TheLastChangeOfAControlCounts) {
  ControlUpdates u;
  setText(u, "a", lit("first"));
  setShown(u, "a", false);
  setText(u, "a", lit("second"));
  setShown(u, "b", true);
  EXPECT_EQ(updatedText(u, "a")->resolve(texts()), "second");
  EXPECT_EQ(updatedVisibility(u, "a"), false);
  EXPECT_FALSE(updatedText(u, "b"));
  EXPECT_FALSE(updatedVisibility(u, "c"));
}

TEST(TaskWizardBusyLabel, CountingAndBuildingTheGraphSayWhatTheyDo) {
  const BusyLabel count = stateCountBusyLabel();
  EXPECT_EQ(count.width, 243);
  EXPECT_EQ(count.height, 26);
  EXPECT_EQ(count.text.resolve(texts()), "S124 ...");
  const BusyLabel graph = graphBusyLabel();
  EXPECT_EQ(graph.width, 206);
  EXPECT_EQ(graph.height, 26);
  EXPECT_EQ(graph.text.resolve(texts()), "S118 ...");
}

}  // namespace
}  // namespace qj
