#include "optimiser/window_steps.h"

#include <gtest/gtest.h>

#include "optimiser/progress_log.h"
#include "optimiser/run.h"
#include "support/temp_dir.h"

namespace qj::optim {
namespace {

std::string text(const Text& t) {
  return t.utf8(test::indexShell());
}

ParameterCheck check(std::string w, std::string x, std::string interval, std::string limit) {
  return checkParameters({w, x, interval, limit}, ',');
}

TEST(WindowSteps, DefaultParametersUseTheDecimalSeparator) {
  const ParameterTexts comma = defaultParameterTexts(',');
  EXPECT_EQ(comma.relaxation, "0,9");
  EXPECT_EQ(comma.stop, "0,003");
  EXPECT_EQ(comma.interval, "5");
  EXPECT_EQ(comma.limit, "1000");
  EXPECT_EQ(defaultParameterTexts('.').relaxation, "0.9");
  const ParameterCheck c = checkParameters(comma, ',');
  ASSERT_TRUE(c.settings);
  EXPECT_EQ(c.settings->relaxationCoef, 0.9);
  EXPECT_EQ(c.settings->stopCriterion, 0.003);
  EXPECT_EQ(c.settings->checkInterval, 5);
  EXPECT_EQ(c.settings->iterationLimit, 1000);
  EXPECT_FALSE(c.message);
}

TEST(WindowSteps, ParameterBoundaries) {
  EXPECT_TRUE(check("0,09999", "0,003", "5", "1000").settings);
  EXPECT_TRUE(check("0,99999", "0,003", "5", "1000").settings);
  EXPECT_TRUE(check("0,9", "0,00099", "5", "1000").settings);
  EXPECT_TRUE(check("0,9", "0,10001", "5", "1000").settings);
  EXPECT_TRUE(check("0,9", "0,003", "1", "10").settings);

  struct Refused {
    ParameterCheck c;
    ParameterEdit focus;
    std::string message;
  };
  const std::vector<Refused> refused = {
      {check("0,09998", "0,003", "5", "1000"), ParameterEdit::Relaxation, "[320]."},
      {check("1,0", "0,003", "5", "1000"), ParameterEdit::Relaxation, "[320]."},
      {check("0,9", "0,00098", "5", "1000"), ParameterEdit::Stop, "[319]."},
      {check("0,9", "0,10002", "5", "1000"), ParameterEdit::Stop, "[319]."},
      {check("0,9", "0,003", "0", "1000"), ParameterEdit::Interval, "[760]."},
      {check("0,9", "0,003", "5", "9"), ParameterEdit::Limit, "[761]."},
      // The first failure in the order of the edits.
      {check("1,0", "0,5", "0", "9"), ParameterEdit::Relaxation, "[320]."},
  };
  for (const Refused& r : refused) {
    EXPECT_FALSE(r.c.settings);
    EXPECT_EQ(r.c.focus, r.focus);
    ASSERT_TRUE(r.c.message);
    EXPECT_EQ(r.c.message->kind, MessageKind::Warning);
    EXPECT_EQ(r.c.message->utf8(test::indexShell()), r.message);
  }
}

TEST(WindowSteps, TextsThatAreNotNumbersGoBackSilently) {
  for (const auto& [c, focus] : std::vector<std::pair<ParameterCheck, ParameterEdit>>{
           {check("", "0,003", "5", "1000"), ParameterEdit::Relaxation},
           {check(",", "0,003", "5", "1000"), ParameterEdit::Relaxation},
           {check("0.9", "0,003", "5", "1000"), ParameterEdit::Relaxation},  // not the separator
           {check("0,9", "", "5", "1000"), ParameterEdit::Stop},
           {check("0,9", "0,003", "", "1000"), ParameterEdit::Interval},
           {check("0,9", "0,003", "5", "99999999999"), ParameterEdit::Limit},
       }) {
    EXPECT_FALSE(c.settings);
    EXPECT_FALSE(c.message);
    EXPECT_EQ(c.focus, focus);
  }
}

TEST(WindowSteps, SummaryFormats) {
  const SummaryTexts s = summaryTexts({0.9, 0.003, 5, 1000}, ',');
  EXPECT_EQ(text(s.heading), "[489]:");
  EXPECT_EQ(text(s.relaxation), "<s40> = 0,90");
  EXPECT_EQ(text(s.stop), "<s19> = 0,003");
  EXPECT_EQ(text(s.interval), "<s18> = 5");
  EXPECT_EQ(text(s.limit), "<s21> = 1000");
}

TEST(WindowSteps, Captions) {
  const WindowCaptions c = windowCaptions(',');
  EXPECT_EQ(text(c.window), "[255]");
  EXPECT_EQ(text(c.relaxation), "[431] (>=0,1 [1] <1,0)");
  EXPECT_EQ(text(c.stop), "[221] (>=0,001 [1] <=0,1)");
  // Numbers in captions are written with the separator in use.
  EXPECT_EQ(text(windowCaptions('.').relaxation), "[431] (>=0.1 [1] <1.0)");
  EXPECT_EQ(text(windowCaptions('.').stop), "[221] (>=0.001 [1] <=0.1)");
  EXPECT_EQ(text(c.interval), "[247] (>=1)");
  EXPECT_EQ(text(c.limit), "[249] (>=10)");
  EXPECT_EQ(text(c.modeHeading), "[98]:");
  EXPECT_EQ(text(c.codePrompt), "[57]:");
  EXPECT_EQ(text(c.parameterHeading), "[46]:");
  EXPECT_EQ(text(c.start), "[0]");
  EXPECT_EQ(text(nothingQueuedText()), "[6]. [569].");
  EXPECT_EQ(text(noInputText("AB12CD")), "[8]. [568] \"qj_AB12CD_in.dat\".");
  EXPECT_EQ(text(taskLineText("AB12CD")), "[747] - \"AB12CD\".");
  // The start caption is trimmed.
  ShellTables shell = test::indexShell();
  shell.shellTexts[0] = "  Start  ";
  EXPECT_EQ(c.start.utf8(shell), "Start");
}

TEST(WindowSteps, TaskCodes) {
  EXPECT_TRUE(isTaskCode("AB12CD"));
  EXPECT_FALSE(isTaskCode("AB12C"));
  EXPECT_FALSE(isTaskCode("ab12cd"));
  EXPECT_FALSE(isTaskCode("AB12C_"));
  EXPECT_EQ(taskCodeEditText("ab-12 cd9"), "AB12CD");
  EXPECT_EQ(taskCodeEditText("\xE0\xE1"
                             "x1"),
            "X1");  // Cyrillic letters are not taken
}

TEST(WindowSteps, InfoFile) {
  qj::test::TempDir dir;
  const auto path = dir / "info";
  InfoTexts info = readInfoTexts(path);
  EXPECT_EQ(text(info.text1), "? ([460] System\\info)");
  EXPECT_EQ(text(info.text2), "? ([683])");
  EXPECT_EQ(text(info.text3), "? ([683])");

  dir.write("info", "one\r\n  City services  \r\nthree\r\nDepartment\nfive\n\tLicence 7\nseven\n");
  info = readInfoTexts(path);
  EXPECT_EQ(text(info.text1), "City services");
  EXPECT_EQ(text(info.text2), "Department");
  EXPECT_EQ(text(info.text3), "Licence 7");

  dir.write("info", "one\ntwo");
  info = readInfoTexts(path);
  EXPECT_EQ(text(info.text1), "two");
  EXPECT_EQ(text(info.text2), "");
  EXPECT_EQ(text(info.text3), "");

  // A folder where the file should be cannot be read: the defaults.
  std::filesystem::create_directories(dir / "folder-info");
  EXPECT_EQ(text(readInfoTexts(dir / "folder-info").text2), "? ([683])");
}

}  // namespace
}  // namespace qj::optim

namespace qj::optim {
namespace {

TEST(WindowSteps, ShippedInformationFileHasThreeTexts) {
  const InfoTexts info = readInfoTexts(std::filesystem::path(QJ_PROGRAM_DIR) / "System" / "info");
  EXPECT_EQ(text(info.text1), "City route planning office");
  EXPECT_EQ(text(info.text2), "Transport and deliveries");
  EXPECT_EQ(text(info.text3), "Demo installation");
}

}  // namespace
}  // namespace qj::optim
