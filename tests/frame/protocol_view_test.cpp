#include "frame/protocol_view.h"

#include <gtest/gtest.h>

#include "frame/protocol.h"
#include "support/shell_fixture.h"
#include "support/task_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::TempDir;

// Moments as "d.m.y" with ", h:m:s" when the time is shown.
std::string testFormat(const ShownMoment& m) {
  const CivilDateTime& t = m.at;
  std::string s =
      std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year);
  if (m.withTime)
    s += ", " + std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
         std::to_string(t.second);
  return s;
}

class ProtocolView : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.texts = test::markedShell();
    state.langCode = "eng";
    ASSERT_EQ(loadProtocol(state).size(), 1u);
    state.protocol = {protocolRecord("AAAAAA", "Entered"),
                      protocolRecord("BBBBBB", "Sent", SentToSolving),
                      protocolRecord("CCCCCC", "Solved", SolutionLoaded)};
    ASSERT_FALSE(saveProtocol(state));
  }

  // Each row as "key = value".
  std::vector<std::string> rows(const TaskDetails& d) const {
    std::vector<std::string> out;
    for (const auto& r : d.rows)
      out.push_back(r.key.utf8(state.texts) + " = " + r.value.utf8(state.texts));
    return out;
  }
  TaskDetails details(int record) const { return taskDetails(state, record, &testFormat); }
  std::vector<std::string> texts(const Deletion& d) const {
    std::vector<std::string> out;
    for (const auto& m : d.messages) out.push_back(m.utf8(state.texts));
    return out;
  }
  std::vector<ProtocolRec> saved() const {
    return readProtocolFile(dir.read("System/protocol.pro")).records;
  }
  bool exists(const std::string& relative) const { return fs::exists(dir / relative); }

  TempDir dir;
  AppState state;
};

TEST(ShownMoment, TheTimeIsLeftOutAtExactlyMidnight) {
  ShownMoment m = shownMoment(46001);
  EXPECT_EQ(m.at, (CivilDateTime{2025, 12, 10, 0, 0, 0, 0}));
  EXPECT_FALSE(m.withTime);
  m = shownMoment(46000.25);
  EXPECT_EQ(m.at, (CivilDateTime{2025, 12, 9, 6, 0, 0, 0}));
  EXPECT_TRUE(m.withTime);
  EXPECT_TRUE(shownMoment(46001 + 1.0 / 86400).withTime);
  // A moment never set is the day count's origin.
  EXPECT_EQ(shownMoment(0).at, (CivilDateTime{1899, 12, 30, 0, 0, 0, 0}));
}

TEST_F(ProtocolView, EachStatusShowsItsRowsAndOpensItsActions) {
  TaskDetails d = details(0);
  EXPECT_EQ(rows(d), (std::vector<std::string>{"S745 = AAAAAA", "S261 = Entered", "S648 = S755",
                                               "S137 = 9.12.2025, 6:0:0", "S136 = 10.12.2025"}));
  EXPECT_TRUE(d.canDelete);
  EXPECT_EQ(d.canQueue, true);
  EXPECT_EQ(d.canLoad, false);

  d = details(1);
  EXPECT_EQ(rows(d), (std::vector<std::string>{"S745 = BBBBBB", "S261 = Sent", "S648 = S430",
                                               "S137 = 9.12.2025, 6:0:0", "S136 = 10.12.2025",
                                               "S140 = 10.12.2025, 12:0:0"}));
  EXPECT_EQ(d.canQueue, false);
  EXPECT_EQ(d.canLoad, false);  // no solution in Solving yet
  dir.write("Solving/qj_BBBBBB_out.dat", "solution");
  EXPECT_EQ(details(1).canLoad, true);

  d = details(2);
  EXPECT_EQ(rows(d),
            (std::vector<std::string>{"S745 = CCCCCC", "S261 = Solved", "S648 = S195",
                                      "S137 = 9.12.2025, 6:0:0", "S136 = 10.12.2025",
                                      "S140 = 10.12.2025, 12:0:0", "S135 = 11.12.2025, 18:0:0"}));
  EXPECT_EQ(d.canQueue, false);
  EXPECT_EQ(d.canLoad, false);

  EXPECT_TRUE(details(3).rows.empty());
  EXPECT_TRUE(details(-1).rows.empty());
}

TEST_F(ProtocolView, TheStatusTextOfEnteredTasksIsTrimmed) {
  state.texts.shellTexts[755] = " input entered ";
  EXPECT_EQ(details(0).rows[2].value.utf8(state.texts), "input entered");
}

TEST_F(ProtocolView, AnUnknownStatusShowsNoStatusRowAndLeavesTheActionsAlone) {
  state.protocol[1].status = 7;
  const TaskDetails d = details(1);
  EXPECT_EQ(rows(d), (std::vector<std::string>{"S745 = BBBBBB", "S261 = Sent",
                                               "S137 = 9.12.2025, 6:0:0", "S136 = 10.12.2025"}));
  EXPECT_FALSE(d.canQueue.has_value());
  EXPECT_FALSE(d.canLoad.has_value());
}

TEST_F(ProtocolView, DemonstrationTasksCannotBeDeleted) {
  for (const char* code : {"DEMR01", "DEME01", "1DEMR2", "00DEME"}) {
    state.protocol[0].code = code;
    EXPECT_FALSE(details(0).canDelete) << code;
  }
  for (const char* code : {"DEMO01", "demr01", "DEM0E1"}) {
    state.protocol[0].code = code;
    EXPECT_TRUE(details(0).canDelete) << code;
  }
}

TEST_F(ProtocolView, TheQuestionNamesAtMostSeventyCharactersOfTheName) {
  ProtocolRec r = protocolRecord("AAAAAA", "Short");
  Message q = deleteTaskQuestion(r);
  EXPECT_EQ(q.kind, MessageKind::Confirm);
  EXPECT_EQ(q.utf8(state.texts), "S90 \"Short\"?");
  r.name = std::string(70, 'a') + "bcd";
  EXPECT_EQ(deleteTaskQuestion(r).utf8(state.texts), "S90 \"" + std::string(70, 'a') + "\"?");

  const Message kept = taskNotDeletedMessage("Data/qj_AAAAAA.dat");
  EXPECT_EQ(kept.kind, MessageKind::Error);
  EXPECT_EQ(kept.utf8(state.texts), "S816 \"Data/qj_AAAAAA.dat\". S817.");
}

TEST_F(ProtocolView, DeletingRemovesEveryFileOfTheTaskAndItsRecord) {
  test::writeTask(dir, "BBBBBB", "Sent");
  test::writeTask(dir, "AAAAAA", "Entered");
  dir.write("Data/qj_BBBBBB_out.dat", "old solution");
  dir.write("Solving/qj_BBBBBB_in.dat", "queued");
  dir.write("Solving/qj_BBBBBB_out.dat", "solution");
  ASSERT_TRUE(taskFileExists(state, 1));

  const Deletion d = deleteTask(state, 1);
  EXPECT_TRUE(d.deleted);
  EXPECT_TRUE(d.messages.empty());
  for (const char* file : {"Data/qj_BBBBBB.dat", "Data/qj_BBBBBB_in.dat", "Data/qj_BBBBBB_out.dat",
                           "Solving/qj_BBBBBB_in.dat", "Solving/qj_BBBBBB_out.dat"})
    EXPECT_FALSE(exists(file)) << file;
  EXPECT_TRUE(exists("Data/qj_AAAAAA.dat"));
  ASSERT_EQ(state.protocol.size(), 2u);
  EXPECT_EQ(state.protocol[1].code, "CCCCCC");
  EXPECT_EQ(saved(), state.protocol);
  EXPECT_FALSE(taskFileExists(state, 1));
}

TEST_F(ProtocolView, AFileThatCannotBeDeletedKeepsTheTask) {
  test::writeTask(dir, "CCCCCC", "Solved");
  dir.write("Solving/qj_CCCCCC_out.dat", "solution");
  dir.write("Data/qj_CCCCCC_out.dat/x", "a folder in the way");
  const auto before = state.protocol;
  const Deletion d = deleteTask(state, 2);
  EXPECT_FALSE(d.deleted);
  EXPECT_EQ(texts(d), std::vector<std::string>{"S816 \"Data/qj_CCCCCC_out.dat\". S817."});
  EXPECT_EQ(state.protocol, before);
  EXPECT_EQ(saved(), before);
  // The task file stays, so the task can be deleted once the obstacle is gone.
  EXPECT_TRUE(taskFileExists(state, 2));
  fs::remove_all(dir / "Data/qj_CCCCCC_out.dat");
  EXPECT_TRUE(deleteTask(state, 2).deleted);
  // A task file gone since it was looked for: nothing the user chose was deleted.
  const Deletion none = deleteTask(state, 0);
  EXPECT_FALSE(none.deleted);
  EXPECT_EQ(texts(none), std::vector<std::string>{"S816 \"Data/qj_AAAAAA.dat\". S817."});
  EXPECT_EQ(state.protocol.size(), 2u);
}

TEST_F(ProtocolView, ADeletionThatCannotBeSavedIsReported) {
  test::writeTask(dir, "AAAAAA", "Entered");
  fs::remove(dir / "System/protocol.pro");
  const Deletion d = deleteTask(state, 0);
  EXPECT_TRUE(d.deleted);
  EXPECT_EQ(texts(d), std::vector<std::string>{"S301 !!!"});
  EXPECT_EQ(state.protocol.size(), 2u);
}

TEST_F(ProtocolView, ARecordWithAForeignCodeTouchesNoFile) {
  dir.write("x.dat", "outside");
  state.protocol[0].code = "/../x";
  EXPECT_FALSE(taskFileExists(state, 0));
  EXPECT_FALSE(deleteTask(state, 0).deleted);
  EXPECT_TRUE(exists("x.dat"));
  EXPECT_EQ(details(0).rows[0].value.utf8(state.texts), "/../x");
}

TEST(RowAfterDeletion, KeepsThePositionOrTakesTheNewLastLine) {
  EXPECT_EQ(rowAfterDeletion(0, 2), 0);
  EXPECT_EQ(rowAfterDeletion(1, 2), 1);
  EXPECT_EQ(rowAfterDeletion(2, 2), 1);  // the last line was deleted
  EXPECT_EQ(rowAfterDeletion(0, 0), -1);
}

}  // namespace
}  // namespace qj
