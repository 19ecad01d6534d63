#include "frame/task_handover.h"

#include "frame/frame_fixture.h"
#include "records/datetime.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::V;

class TaskHandover : public test::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    protocol({protocolRecord("AAAAAA", "First"), protocolRecord("AB12CD", "Second")});
    test::writeTask(dir, "AB12CD", "Second");
  }
  V texts(const HandoverResult& r) const { return FrameTest::texts(r.messages); }
  // A folder with something in it, where a file should be: it cannot be removed or replaced.
  void blockWith(const std::string& relative) const { dir.write(relative + "/x", "x"); }
};

TEST_F(TaskHandover, CodesAreSixCapitalLettersOrDigits) {
  for (const char* good : {"AB12CD", "000000"}) EXPECT_TRUE(isTaskCode(good)) << good;
  for (const char* bad :
       {"AB12C", "AB12CDE", "ab12cd", "../x/y", "AB 2CD", "\xC0\xC1\xC2\xC3\xC4\xC5"})
    EXPECT_FALSE(isTaskCode(bad)) << bad;
  EXPECT_FALSE(taskPaths(state.dirs(), "/../..").has_value());
  EXPECT_EQ(taskBasePath(state.dirs(), "AB12CD"), (dir / "Data/qj_AB12CD").string());
}

TEST_F(TaskHandover, QueueingAndLoadingCopyTheFilesMarkTheTaskAndSaveTheProtocol) {
  dir.write("Solving/qj_AB12CD_in.dat", "an older copy");
  double before = nowDateTime();
  HandoverResult r = queueTaskInput(state, "AB12CD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(dir.read("Solving/qj_AB12CD_in.dat"), dir.read("Data/qj_AB12CD_in.dat"));
  const ProtocolRec& task = state.protocol[1];
  EXPECT_EQ(task.status, SentToSolving);
  EXPECT_GE(task.sentToSolvingAt, before);
  EXPECT_LE(task.sentToSolvingAt, nowDateTime());
  EXPECT_EQ(task.solutionLoadedAt, 0);
  EXPECT_EQ(state.protocol[0], protocolRecord("AAAAAA", "First"));
  EXPECT_EQ(saved(), state.protocol);

  const double sentAt = task.sentToSolvingAt;
  dir.write("Solving/qj_AB12CD_out.dat", "the solution");
  dir.write("Data/qj_AB12CD_out.dat", "an old solution");
  dir.write("Solving/qj_AAAAAA_in.dat", "another queued task");
  before = nowDateTime();
  r = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(dir.read("Data/qj_AB12CD_out.dat"), "the solution");
  EXPECT_FALSE(exists("Solving/qj_AB12CD_out.dat"));
  EXPECT_FALSE(exists("Solving/qj_AB12CD_in.dat"));
  EXPECT_TRUE(exists("Solving/qj_AAAAAA_in.dat"));
  EXPECT_EQ(task.status, SolutionLoaded);
  EXPECT_EQ(task.sentToSolvingAt, sentAt);
  EXPECT_GE(task.solutionLoadedAt, before);
  EXPECT_EQ(saved(), state.protocol);
}

TEST_F(TaskHandover, WithoutItsFileAStepDoesNothing) {
  const auto before = state.protocol;
  for (const char* code : {"AAAAAA", "ZZZZZZ", "../../", ""}) {
    SCOPED_TRACE(code);
    EXPECT_EQ(queueTaskInput(state, code).outcome, HandoverOutcome::NothingToDo);
    EXPECT_EQ(loadTaskSolution(state, code).outcome, HandoverOutcome::NothingToDo);
  }
  // The input is there, but no solution yet.
  const HandoverResult r = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(r.outcome, HandoverOutcome::NothingToDo);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(saved(), before);
  EXPECT_FALSE(exists("Solving/qj_AB12CD_in.dat"));
}

TEST_F(TaskHandover, AFailedCopyIsReportedAndChangesNothing) {
  blockWith("Solving/qj_AB12CD_in.dat");
  const auto before = state.protocol;
  const HandoverResult r = queueTaskInput(state, "AB12CD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Failed);
  EXPECT_EQ(texts(r), V{"S818 \"Data/qj_AB12CD_in.dat\" S819 \"Solving/qj_AB12CD_in.dat\"."});
  EXPECT_EQ(r.messages.at(0).kind, MessageKind::Error);
  EXPECT_EQ(state.protocol, before);
  EXPECT_EQ(saved(), before);

  state.protocol[1].status = SentToSolving;
  dir.write("Solving/qj_AB12CD_out.dat", "solution");
  blockWith("Data/qj_AB12CD_out.dat");
  const HandoverResult load = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(load.outcome, HandoverOutcome::Failed);
  EXPECT_EQ(texts(load), V{"S818 \"Solving/qj_AB12CD_out.dat\" S819 \"Data/qj_AB12CD_out.dat\"."});
  EXPECT_EQ(state.protocol[1].status, SentToSolving);
  EXPECT_EQ(dir.read("Solving/qj_AB12CD_out.dat"), "solution");
}

TEST_F(TaskHandover, WhatFailsAfterTheCopyIsReportedAndTheStepStillCounts) {
  // A queued file that cannot be removed once the solution is loaded.
  blockWith("Solving/qj_AB12CD_in.dat");
  dir.write("Solving/qj_AB12CD_out.dat", "the solution");
  HandoverResult r = loadTaskSolution(state, "AB12CD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_EQ(texts(r), V{"S816 \"Solving/qj_AB12CD_in.dat\"."});
  EXPECT_EQ(state.protocol[1].status, SolutionLoaded);
  EXPECT_FALSE(exists("Solving/qj_AB12CD_out.dat"));
  fs::remove_all(dir / "Solving/qj_AB12CD_in.dat");

  // The first record of the code is marked; a protocol that cannot be saved is reported.
  state.protocol[1].status = InputEntered;
  state.protocol.push_back(protocolRecord("AB12CD", "A duplicate"));
  fs::remove(dir / "System/protocol.pro");
  r = queueTaskInput(state, "AB12CD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_EQ(texts(r), V{"S301 !!!"});
  EXPECT_EQ(state.protocol[1].status, SentToSolving);
  EXPECT_EQ(state.protocol[2].status, InputEntered);

  // A queued task without a record is still copied.
  state.protocol.clear();
  fs::remove(dir / "Solving/qj_AB12CD_in.dat");
  EXPECT_EQ(queueTaskInput(state, "AB12CD").outcome, HandoverOutcome::Done);
  EXPECT_TRUE(exists("Solving/qj_AB12CD_in.dat"));
}

}  // namespace
}  // namespace qj
