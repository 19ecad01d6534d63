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

TEST(TaskWizardFrame, CaptionsCountTheStepsOfTheDatabaseLevel) {
  TaskWizardState s;
  const auto caption = [&](int step) { return taskStepCaption(s, step).resolve(texts()); };
  EXPECT_EQ(caption(1), "S64 (S744 1)");
  s.dbLevel = 1;
  EXPECT_EQ(caption(2), "S64 (S744 2 S200 5)");
  EXPECT_EQ(caption(4), "S64 (S744 S3 S200 5)");
  EXPECT_EQ(caption(5), "S64 (S744 S3 S200 5)");  // after the address page
  s.header.cargoMode = 1;
  EXPECT_EQ(caption(5), "S64 (S744 S4 S200 5)");  // after the optional page
  EXPECT_EQ(caption(6), "S64 (S744 4 S200 5)");
  EXPECT_EQ(caption(7), "S64 (S744 5 S200 5)");
  EXPECT_EQ(caption(8), "S64");
  s.dbLevel = 2;
  s.formMode = kCorrectTask;
  EXPECT_EQ(caption(3), "S233 (S744 3 S200 3)");
  s.dbLevel = 3;
  EXPECT_EQ(caption(2), "S233 (S744 2 S200 3)");
}

// The walks of the flow test go Back over the pages; here the flags and the steps they skip.
TEST(TaskWizardFrame, BackLeadsToThePageThatWasShown) {
  TaskWizardState s;
  s.dbLevel = 2;
  const auto from = [&](int step) {
    s.wizardStep = step;
    const BackMove m = backFrom(s);
    return std::to_string(m.toStep) + " " + m.focus + (m.resetWarnedRow ? " reset" : "") +
           (m.restoreNextCaption ? " next" : "") + (m.disablePrev ? " noprev" : "");
  };
  EXPECT_EQ(from(2), "1 txtShifr noprev");
  EXPECT_EQ(from(8), "3 Table1 next");
  s.header.timeFactorFlag = 1;
  EXPECT_EQ(from(8), "4 Table1a next");
  EXPECT_EQ(from(6), "4 Table1a reset");
  s.formMode = kCorrectTask;
  EXPECT_EQ(from(2), "1 txtName noprev");
}

TEST(TaskWizardFrame, TheDatabaseListFindsATasksDatabase) {
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

TEST(TaskWizardFrame, EditsHaveTheirFilterAndLengthAndKindsTheirNames) {
  std::string rules;
  for (const char* name : {"txtShifr", "txtName", "TS_num", "TS_first", "TS_last", "nprio",
                           "porog1", "porog2", "txtDT", "fine1", "fine2", "ndol", "Velo", "List"}) {
    const auto r = taskEditRule(name);
    const char* kind = !r                               ? "-"
                       : !r->filter                     ? "t"
                       : *r->filter == KeyFilter::Digit ? "d"
                       : *r->filter == KeyFilter::Code  ? "c"
                                                        : "r";
    rules += kind + (r ? std::to_string(r->maxLength) + (r->upperCase ? "U" : "") : "") + " ";
  }
  EXPECT_EQ(rules, "c6U t70 d2 d2 d2 d2 d2 d2 d3 r6 r6 r6 r5 - ");
  std::string kinds;
  for (const char* kind : {"sys1", "sys2", "use1", "use2", "cli2"})
    kinds += taskDbKindText(kind).resolve(texts()) + " ";
  EXPECT_EQ(kinds, "sys1 (S609) sys2 (S610) use1 (S510) use2 (S511) cli2 (S217) ");
}

}  // namespace
}  // namespace qj
