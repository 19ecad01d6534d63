// What the optimiser window checks and shows, as core values.

#include "optimiser/window_steps.h"

#include <gtest/gtest.h>

#include "frame/task_handover.h"
#include "optimiser/progress_log.h"
#include "support/temp_dir.h"

namespace qj::optim {
namespace {

std::string text(const Text& t) {
  return t.utf8(test::indexShell());
}

TEST(WindowSteps, ParametersInTheOrderOfTheEdits) {
  struct Case {
    ParameterTexts typed;
    ParameterEdit focus;
    std::string message;  // "ok": accepted; empty: back to the edit silently
  };
  const std::vector<Case> cases = {
      {{"0,09999", "0,00099", "1", "10"}, {}, "ok"},
      {{"0,99999", "0,10001", "5", "1000"}, {}, "ok"},
      {{"0,09998", "0,003", "5", "1000"}, ParameterEdit::Relaxation, "[320]."},
      {{"1,0", "0,003", "5", "1000"}, ParameterEdit::Relaxation, "[320]."},
      {{"0,9", "0,00098", "5", "1000"}, ParameterEdit::Stop, "[319]."},
      {{"0,9", "0,10002", "5", "1000"}, ParameterEdit::Stop, "[319]."},
      {{"0,9", "0,003", "0", "1000"}, ParameterEdit::Interval, "[760]."},
      {{"0,9", "0,003", "5", "9"}, ParameterEdit::Limit, "[761]."},
      {{"1,0", "0,5", "0", "9"}, ParameterEdit::Relaxation, "[320]."},
      {{"", "0,003", "5", "1000"}, ParameterEdit::Relaxation, ""},
      {{",", "0,003", "5", "1000"}, ParameterEdit::Relaxation, ""},
      {{"0.9", "0,003", "5", "1000"}, ParameterEdit::Relaxation, ""},  // not the separator
      {{"0,9", "", "5", "1000"}, ParameterEdit::Stop, ""},
      {{"0,9", "0,003", "", "1000"}, ParameterEdit::Interval, ""},
      {{"0,9", "0,003", "5", "99999999999"}, ParameterEdit::Limit, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.relaxation + " " + c.typed.stop + " " + c.typed.interval);
    const ParameterCheck check = checkParameters(c.typed, ',');
    EXPECT_EQ(check.settings.has_value(), c.message == "ok");
    if (c.message == "ok") continue;
    EXPECT_EQ(check.focus, c.focus);
    EXPECT_EQ(check.message ? check.message->utf8(test::indexShell()) : "", c.message);
    EXPECT_TRUE(!check.message || check.message->kind == MessageKind::Warning);
  }
  const IterationSettings d = checkParameters(defaultParameterTexts(','), ',').settings.value();
  EXPECT_EQ(std::tie(d.relaxationCoef, d.stopCriterion, d.checkInterval, d.iterationLimit),
            std::make_tuple(0.9, 0.003, 5, 1000));
}

TEST(WindowSteps, NumbersAreWrittenWithTheSeparatorInUse) {
  const SummaryTexts s = summaryTexts({0.9, 0.003, 5, 1000}, ',');
  EXPECT_EQ(text(s.relaxation), "<s40> = 0,90");
  EXPECT_EQ(text(s.stop), "<s19> = 0,003");
  EXPECT_EQ(text(windowCaptions(',').relaxation), "[431] (>=0,1 [1] <1,0)");
  EXPECT_EQ(text(windowCaptions('.').stop), "[221] (>=0.001 [1] <=0.1)");
  ShellTables shell = test::indexShell();
  shell.shellTexts[0] = "  Start  ";  // the start caption is trimmed
  EXPECT_EQ(windowCaptions(',').start.utf8(shell), "Start");
}

TEST(WindowSteps, TaskCodes) {
  EXPECT_TRUE(isTaskCode("AZ09AZ"));
  for (const char* bad : {"AB12C", "AB12CDE", "ab12cd", "AB12C_", "AB 2CD", "AB12C@", "AB12C["})
    EXPECT_FALSE(isTaskCode(bad)) << bad;
}

TEST(WindowSteps, InfoFileGivesLinesTwoFourAndSix) {
  qj::test::TempDir dir;
  const auto read = [&](const std::filesystem::path& path) {
    const InfoTexts info = readInfoTexts(path);
    return text(info.text1) + "|" + text(info.text2) + "|" + text(info.text3);
  };
  EXPECT_EQ(read(dir / "info"), "? ([460] System\\info)|? ([683])|? ([683])");
  dir.write("info", "one\r\n  City services  \r\nthree\r\nDepartment\nfive\n\tLicence 7\nseven\n");
  EXPECT_EQ(read(dir / "info"), "City services|Department|Licence 7");
  dir.write("info", "one\ntwo");
  EXPECT_EQ(read(dir / "info"), "two||");
  // A folder where the file should be cannot be read: the defaults.
  std::filesystem::create_directories(dir / "folder-info");
  EXPECT_EQ(read(dir / "folder-info"), "? ([460] System\\info)|? ([683])|? ([683])");
}

}  // namespace
}  // namespace qj::optim
