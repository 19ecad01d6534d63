#include "frame/task_handover.h"

#include <gtest/gtest.h>

#include "frame/protocol.h"
#include "records/datetime.h"
#include "support/shell_fixture.h"
#include "support/task_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::TempDir;

class TaskHandover : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.texts = test::markedShell();
    state.langCode = "eng";
    ASSERT_EQ(loadProtocol(state).size(), 1u);  // the file is created empty
    state.protocol = {protocolRecord("AAAAAA", "First"), protocolRecord("AB12CD", "Second")};
    ASSERT_FALSE(saveProtocol(state));
    test::writeTask(dir, "AB12CD", "Second");
  }

  std::vector<std::string> texts(const StepResult& r) const {
    std::vector<std::string> out;
    for (const auto& m : r.messages) out.push_back(m.utf8(state.texts));
    return out;
  }
  std::vector<ProtocolRec> saved() const {
    return readProtocolFile(dir.read("System/protocol.pro")).records;
  }
  bool exists(const std::string& relative) const { return fs::exists(dir / relative); }
  // A folder with something in it, where a file should be: it cannot be removed or replaced.
  void blockWith(const std::string& relative) const { dir.write(relative + "/x", "x"); }

  TempDir dir;
  AppState state;
};

TEST(TaskCode, IsExactlySixCapitalLettersOrDigits) {
  EXPECT_TRUE(isTaskCode("AB12CD"));
  EXPECT_TRUE(isTaskCode("000000"));
  EXPECT_FALSE(isTaskCode("AB12C"));
  EXPECT_FALSE(isTaskCode("AB12CDE"));
  EXPECT_FALSE(isTaskCode("ab12cd"));
  EXPECT_FALSE(isTaskCode("../x/y"));
  EXPECT_FALSE(isTaskCode("AB 2CD"));
  EXPECT_FALSE(isTaskCode("\xC0\xC1\xC2\xC3\xC4\xC5"));  // Cyrillic capitals
}

TEST_F(TaskHandover, TheFilesOfATaskLieInDataAndSolving) {
  const auto paths = taskPaths(state.dirs(), "AB12CD");
  ASSERT_TRUE(paths);
  EXPECT_EQ(paths->taskFile, dir / "Data/qj_AB12CD.dat");
  EXPECT_EQ(paths->solverInput, dir / "Data/qj_AB12CD_in.dat");
  EXPECT_EQ(paths->solution, dir / "Data/qj_AB12CD_out.dat");
  EXPECT_EQ(paths->queuedInput, dir / "Solving/qj_AB12CD_in.dat");
  EXPECT_EQ(paths->queuedSolution, dir / "Solving/qj_AB12CD_out.dat");
  EXPECT_FALSE(taskPaths(state.dirs(), "/../..").has_value());
  EXPECT_EQ(taskBasePath(state.dirs(), "AB12CD"), (dir / "Data/qj_AB12CD").string());
  EXPECT_EQ(shownFileName(state.dirs(), paths->queuedInput), "Solving/qj_AB12CD_in.dat");
}

TEST_F(TaskHandover, MessagesAreComposedFromTheirShellTexts) {
  const Message copy = fileNotCopiedMessage("Data/a.dat", "Solving/a.dat");
  EXPECT_EQ(copy.kind, MessageKind::Error);
  EXPECT_EQ(copy.utf8(state.texts), "S818 \"Data/a.dat\" S819 \"Solving/a.dat\".");
  const Message del = fileNotDeletedMessage("Solving/a.dat");
  EXPECT_EQ(del.kind, MessageKind::Error);
  EXPECT_EQ(del.utf8(state.texts), "S816 \"Solving/a.dat\".");
}

TEST_F(TaskHandover, QueueingCopiesTheInputMarksTheTaskAndSavesTheProtocol) {
  dir.write("Solving/qj_AB12CD_in.dat", "an older copy");
  const double before = nowDateTime();
  const StepResult r = queueTaskInput(state, "AB12CD");
  const double after = nowDateTime();
  EXPECT_EQ(r.outcome, StepOutcome::Done);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(dir.read("Solving/qj_AB12CD_in.dat"), dir.read("Data/qj_AB12CD_in.dat"));
  const ProtocolRec& task = state.protocol[1];
  EXPECT_EQ(task.status, SentToSolving);
  EXPECT_GE(task.sentToSolvingAt, before);
  EXPECT_LE(task.sentToSolvingAt, after);
  EXPECT_EQ(task.solutionLoadedAt, 0);
  EXPECT_EQ(state.protocol[0], protocolRecord("AAAAAA", "First"));
  EXPECT_EQ(saved(), state.protocol);
}

TEST_F(TaskHandover, WithoutItsFileAStepDoesNothing) {
  const auto before = state.protocol;
  for (const char* code : {"AAAAAA", "ZZZZZZ", "../../", ""}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(queueTaskInput(state, code).outcome, StepOutcome::NothingToDo);
    EXPECT_EQ(loadTaskSolution(state, code).outcome, StepOutcome::NothingToDo);
  }
  // The input is there, but no solution yet.
  const StepResult r = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(r.outcome, StepOutcome::NothingToDo);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(state.protocol, before);
  EXPECT_EQ(saved(), before);
  EXPECT_FALSE(exists("Solving/qj_AB12CD_in.dat"));
}

TEST_F(TaskHandover, AFailedCopyIsReportedAndChangesNothing) {
  blockWith("Solving/qj_AB12CD_in.dat");
  const auto before = state.protocol;
  const StepResult r = queueTaskInput(state, "AB12CD");
  EXPECT_EQ(r.outcome, StepOutcome::Failed);
  EXPECT_EQ(texts(r), std::vector<std::string>{
                          "S818 \"Data/qj_AB12CD_in.dat\" S819 \"Solving/qj_AB12CD_in.dat\"."});
  EXPECT_EQ(state.protocol, before);
  EXPECT_EQ(saved(), before);

  state.protocol[1].status = SentToSolving;
  dir.write("Solving/qj_AB12CD_out.dat", "solution");
  blockWith("Data/qj_AB12CD_out.dat");
  const StepResult load = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(load.outcome, StepOutcome::Failed);
  EXPECT_EQ(texts(load),
            std::vector<std::string>{
                "S818 \"Solving/qj_AB12CD_out.dat\" S819 \"Data/qj_AB12CD_out.dat\"."});
  EXPECT_EQ(state.protocol[1].status, SentToSolving);
  EXPECT_EQ(dir.read("Solving/qj_AB12CD_out.dat"), "solution");
}

TEST_F(TaskHandover, LoadingCopiesTheSolutionMarksTheTaskAndEmptiesTheQueue) {
  ASSERT_EQ(queueTaskInput(state, "AB12CD").outcome, StepOutcome::Done);
  const double sentAt = state.protocol[1].sentToSolvingAt;
  dir.write("Solving/qj_AB12CD_out.dat", "the solution");
  dir.write("Data/qj_AB12CD_out.dat", "an old solution");
  dir.write("Solving/qj_AAAAAA_in.dat", "another queued task");
  const double before = nowDateTime();
  const StepResult r = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(r.outcome, StepOutcome::Done);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(dir.read("Data/qj_AB12CD_out.dat"), "the solution");
  EXPECT_FALSE(exists("Solving/qj_AB12CD_out.dat"));
  EXPECT_FALSE(exists("Solving/qj_AB12CD_in.dat"));
  EXPECT_TRUE(exists("Solving/qj_AAAAAA_in.dat"));
  const ProtocolRec& task = state.protocol[1];
  EXPECT_EQ(task.status, SolutionLoaded);
  EXPECT_EQ(task.sentToSolvingAt, sentAt);
  EXPECT_GE(task.solutionLoadedAt, before);
  EXPECT_EQ(saved(), state.protocol);
}

TEST_F(TaskHandover, AQueuedFileThatCannotBeRemovedIsReportedAfterTheSolutionIsLoaded) {
  blockWith("Solving/qj_AB12CD_in.dat");
  dir.write("Solving/qj_AB12CD_out.dat", "the solution");
  const StepResult r = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(r.outcome, StepOutcome::Done);
  EXPECT_EQ(texts(r), std::vector<std::string>{"S816 \"Solving/qj_AB12CD_in.dat\"."});
  EXPECT_EQ(state.protocol[1].status, SolutionLoaded);
  EXPECT_FALSE(exists("Solving/qj_AB12CD_out.dat"));
}

TEST_F(TaskHandover, TheFirstRecordOfTheCodeIsMarkedAndAProtocolThatCannotBeSavedIsReported) {
  state.protocol.push_back(protocolRecord("AB12CD", "A duplicate"));
  fs::remove(dir / "System/protocol.pro");
  const StepResult r = queueTaskInput(state, "AB12CD");
  EXPECT_EQ(r.outcome, StepOutcome::Done);
  EXPECT_EQ(texts(r), std::vector<std::string>{"S301 !!!"});
  EXPECT_EQ(state.protocol[1].status, SentToSolving);
  EXPECT_EQ(state.protocol[2].status, InputEntered);
}

TEST_F(TaskHandover, AQueuedTaskWithoutARecordIsStillCopied) {
  state.protocol.clear();
  EXPECT_EQ(queueTaskInput(state, "AB12CD").outcome, StepOutcome::Done);
  EXPECT_TRUE(exists("Solving/qj_AB12CD_in.dat"));
  EXPECT_EQ(findTask(state.protocol, "AB12CD"), nullptr);
}

}  // namespace
}  // namespace qj
