#include "frame/task_chooser.h"

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using test::protocolRecord;

class TaskChooser : public test::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    state.protocol = {protocolRecord("AAAAAA", "Entered"),
                      protocolRecord("BBBBBB", "Sent", SentToSolving),
                      protocolRecord("CCCCCC", "Solved", SolutionLoaded),
                      protocolRecord("DDDDDD", "Entered too")};
  }
  // The window the choice opens, and its message.
  std::pair<ChooserTarget, std::string> choose(int32_t mode, int record) {
    state.formMode = mode;
    const TaskChoice c = chooseTask(state, record);
    return {c.target, text(c.message)};
  }
};

TEST_F(TaskChooser, EachModeOffersItsTasksInProtocolOrder) {
  EXPECT_EQ(offeredTasks(state.protocol, kChooserViewInput), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(offeredTasks(state.protocol, kChooserViewSolution), (std::vector<int>{2}));
  EXPECT_EQ(offeredTasks(state.protocol, kChooserCorrectTask), (std::vector<int>{0, 3}));
  EXPECT_TRUE(offeredTasks(state.protocol, 4).empty());
  EXPECT_TRUE(offeredTasks(state.protocol, 0).empty());
  EXPECT_EQ(taskListLine(protocolRecord("AB12CD", "Morning [2] run")), "[AB12CD] Morning [2] run");
}

TEST_F(TaskChooser, ATaskOfTheRunningLanguageOpensTheWindowOfTheMode) {
  test::writeTask(dir, "CCCCCC", "Solved");
  const std::pair<int32_t, ChooserTarget> modes[] = {
      {kChooserViewInput, ChooserTarget::TaskViewer},
      {kChooserViewSolution, ChooserTarget::SolutionViewer},
      {kChooserCorrectTask, ChooserTarget::TaskWizard}};
  for (const auto& [mode, target] : modes) {
    state.selectedPath.clear();
    EXPECT_EQ(choose(mode, 2), std::pair(target, std::string("(none)")));
    EXPECT_EQ(state.selectedPath, (dir / "Data/qj_CCCCCC").string());
  }
}

TEST_F(TaskChooser, AnUnreadableOrForeignTaskOpensNothing) {
  using R = std::pair<ChooserTarget, std::string>;
  const R unreadable{ChooserTarget::None, "S815 \"Data/qj_DDDDDD.dat\"."};
  EXPECT_EQ(choose(kChooserCorrectTask, 3), unreadable);
  test::writeTask(dir, "DDDDDD", "Entered too");
  const std::string whole = dir.read("Data/qj_DDDDDD.dat");
  dir.write("Data/qj_DDDDDD.dat", whole.substr(0, 319));
  EXPECT_EQ(choose(kChooserCorrectTask, 3), unreadable);
  // Only the header is read: a file cut after it still opens.
  dir.write("Data/qj_DDDDDD.dat", whole.substr(0, 320));
  EXPECT_EQ(choose(kChooserCorrectTask, 3).first, ChooserTarget::TaskWizard);

  // Another language is refused with both codes, compared exactly.
  state.texts.shellTexts[786] = "  while running in  ";
  test::writeTask(dir, "AAAAAA", "Entered", "rus");
  EXPECT_EQ(choose(kChooserViewInput, 0),
            R(ChooserTarget::None, "S790 (rus), while running in (eng), S791."));
  test::writeTask(dir, "AAAAAA", "Entered", "ENG");
  EXPECT_EQ(choose(kChooserViewInput, 0).second, "S790 (ENG), while running in (eng), S791.");

  state.protocol[0].code = "../../";
  state.selectedPath.clear();
  EXPECT_EQ(choose(kChooserViewInput, 0), R(ChooserTarget::None, "S815 \"Data/qj_../../.dat\"."));
  EXPECT_TRUE(state.selectedPath.empty());
}

}  // namespace
}  // namespace qj
