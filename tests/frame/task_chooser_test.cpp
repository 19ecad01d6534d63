#include "frame/task_chooser.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "support/task_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::TempDir;

class TaskChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.texts = test::markedShell();
    state.langCode = "eng";
    state.protocol = {protocolRecord("AAAAAA", "Entered"),
                      protocolRecord("BBBBBB", "Sent", SentToSolving),
                      protocolRecord("CCCCCC", "Solved", SolutionLoaded),
                      protocolRecord("DDDDDD", "Entered too")};
  }
  std::string text(const std::optional<Message>& m) const {
    return m ? m->utf8(state.texts) : "(none)";
  }

  TempDir dir;
  AppState state;
};

TEST_F(TaskChooser, EachModeOffersItsTasksInProtocolOrder) {
  EXPECT_EQ(offeredTasks(state.protocol, kChooserViewInput), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(offeredTasks(state.protocol, kChooserViewSolution), (std::vector<int>{2}));
  EXPECT_EQ(offeredTasks(state.protocol, kChooserCorrectTask), (std::vector<int>{0, 3}));
  EXPECT_TRUE(offeredTasks(state.protocol, 4).empty());
  EXPECT_TRUE(offeredTasks(state.protocol, 0).empty());
  state.protocol.pop_back();
  state.protocol.erase(state.protocol.begin() + 2);
  EXPECT_TRUE(offeredTasks(state.protocol, kChooserViewSolution).empty());
  EXPECT_TRUE(offeredTasks({}, kChooserViewInput).empty());
}

TEST_F(TaskChooser, ATaskIsListedByItsCodeInBracketsAndItsName) {
  EXPECT_EQ(taskListLine(protocolRecord("AB12CD", "Morning [2] run")), "[AB12CD] Morning [2] run");
  EXPECT_EQ(taskListLine(protocolRecord("AB12CD", "")), "[AB12CD] ");
}

TEST_F(TaskChooser, MessagesAreComposedFromTheirShellTexts) {
  state.texts.shellTexts[786] = "  while running in  ";
  const Message other = otherLanguageTaskMessage("rus", "eng");
  EXPECT_EQ(other.kind, MessageKind::Warning);
  EXPECT_EQ(other.utf8(state.texts), "S790 (rus), while running in (eng), S791.");
  const Message unreadable = taskFileUnreadableMessage("Data/qj_AB12CD.dat");
  EXPECT_EQ(unreadable.kind, MessageKind::Warning);
  EXPECT_EQ(unreadable.utf8(state.texts), "S815 \"Data/qj_AB12CD.dat\".");
}

TEST_F(TaskChooser, ATaskOfTheRunningLanguageOpensTheWindowOfTheMode) {
  test::writeTask(dir, "CCCCCC", "Solved");
  const std::pair<int32_t, ChooserTarget> modes[] = {
      {kChooserViewInput, ChooserTarget::TaskViewer},
      {kChooserViewSolution, ChooserTarget::SolutionViewer},
      {kChooserCorrectTask, ChooserTarget::TaskWizard}};
  for (const auto& [mode, target] : modes) {
    SCOPED_TRACE(mode);
    state.formMode = mode;
    state.selectedPath.clear();
    const TaskChoice choice = chooseTask(state, 2);
    EXPECT_EQ(choice.target, target);
    EXPECT_EQ(text(choice.message), "(none)");
    EXPECT_EQ(state.selectedPath, (dir / "Data/qj_CCCCCC").string());
  }
}

TEST_F(TaskChooser, ATaskOfAnotherLanguageIsRefusedWithBothCodes) {
  state.formMode = kChooserViewInput;
  test::writeTask(dir, "AAAAAA", "Entered", "rus");
  const TaskChoice choice = chooseTask(state, 0);
  EXPECT_EQ(choice.target, ChooserTarget::None);
  EXPECT_EQ(text(choice.message), "S790 (rus), S786 (eng), S791.");

  // The comparison is exact: letter case counts.
  test::writeTask(dir, "AAAAAA", "Entered", "ENG");
  EXPECT_EQ(text(chooseTask(state, 0).message), "S790 (ENG), S786 (eng), S791.");
}

TEST_F(TaskChooser, AMissingOrShortTaskFileOpensNothing) {
  state.formMode = kChooserCorrectTask;
  TaskChoice choice = chooseTask(state, 3);
  EXPECT_EQ(choice.target, ChooserTarget::None);
  EXPECT_EQ(text(choice.message), "S815 \"Data/qj_DDDDDD.dat\".");

  test::writeTask(dir, "DDDDDD", "Entered too");
  const std::string whole = dir.read("Data/qj_DDDDDD.dat");
  dir.write("Data/qj_DDDDDD.dat", whole.substr(0, 319));
  choice = chooseTask(state, 3);
  EXPECT_EQ(choice.target, ChooserTarget::None);
  EXPECT_EQ(text(choice.message), "S815 \"Data/qj_DDDDDD.dat\".");

  // Only the header is read: a file cut after it still opens.
  dir.write("Data/qj_DDDDDD.dat", whole.substr(0, 320));
  EXPECT_EQ(chooseTask(state, 3).target, ChooserTarget::TaskWizard);
}

TEST_F(TaskChooser, ACodeThatCannotBeAFileNameOpensNothing) {
  state.formMode = kChooserViewInput;
  state.protocol[0].code = "../../";
  const TaskChoice choice = chooseTask(state, 0);
  EXPECT_EQ(choice.target, ChooserTarget::None);
  EXPECT_EQ(text(choice.message), "S815 \"Data/qj_../../.dat\".");
  EXPECT_TRUE(state.selectedPath.empty());
}

}  // namespace
}  // namespace qj
