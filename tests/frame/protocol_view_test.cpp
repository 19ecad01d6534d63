#include "frame/protocol_view.h"

#include <array>

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::V;

// Moments as "d.m.y" with ", h:m" when the time is shown.
std::string testFormat(const ShownMoment& m) {
  const CivilDateTime& t = m.at;
  std::string s =
      std::to_string(t.day) + "." + std::to_string(t.month) + "." + std::to_string(t.year);
  if (m.withTime) s += ", " + std::to_string(t.hour) + ":" + std::to_string(t.minute);
  return s;
}

class ProtocolView : public test::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    protocol({protocolRecord("AAAAAA", "Entered"), protocolRecord("BBBBBB", "Sent", SentToSolving),
              protocolRecord("CCCCCC", "Solved", SolutionLoaded)});
  }
  // Each row as "key = value".
  V rows(int record) const {
    V out;
    for (const auto& r : taskDetails(state, record, &testFormat).rows)
      out.push_back(r.key.utf8(state.texts) + " = " + r.value.utf8(state.texts));
    return out;
  }
  // Whether the task can be deleted, queued and loaded: 0 no, 1 yes, 2 left alone.
  std::array<int, 3> actions(int record) const {
    const TaskDetails d = taskDetails(state, record, &testFormat);
    const auto open = [](std::optional<bool> b) { return b ? int(*b) : 2; };
    return {int(d.canDelete), open(d.canQueue), open(d.canLoad)};
  }
};

TEST_F(ProtocolView, EachStatusShowsItsRowsAndOpensItsActions) {
  EXPECT_FALSE(shownMoment(46001).withTime);  // exactly midnight
  EXPECT_TRUE(shownMoment(46001 + 1.0 / 86400).withTime);
  const V common{"S137 = 9.12.2025, 6:0", "S136 = 10.12.2025"};
  state.texts.shellTexts[755] = " input entered ";  // trimmed
  EXPECT_EQ(rows(0),
            (V{"S745 = AAAAAA", "S261 = Entered", "S648 = input entered", common[0], common[1]}));
  EXPECT_EQ(actions(0), (std::array{1, 1, 0}));
  EXPECT_EQ(rows(1), (V{"S745 = BBBBBB", "S261 = Sent", "S648 = S430", common[0], common[1],
                        "S140 = 10.12.2025, 12:0"}));
  EXPECT_EQ(actions(1), (std::array{1, 0, 0}));  // no solution in Solving yet
  dir.write("Solving/qj_BBBBBB_out.dat", "solution");
  EXPECT_EQ(actions(1), (std::array{1, 0, 1}));
  EXPECT_EQ(rows(2), (V{"S745 = CCCCCC", "S261 = Solved", "S648 = S195", common[0], common[1],
                        "S140 = 10.12.2025, 12:0", "S135 = 11.12.2025, 18:0"}));
  EXPECT_EQ(actions(2), (std::array{1, 0, 0}));
  EXPECT_TRUE(rows(3).empty());
  EXPECT_TRUE(rows(-1).empty());
  // An unknown status shows no status row and leaves the actions alone.
  state.protocol[1].status = 7;
  EXPECT_EQ(rows(1), (V{"S745 = BBBBBB", "S261 = Sent", common[0], common[1]}));
  EXPECT_EQ(actions(1), (std::array{1, 2, 2}));
  // Demonstration tasks cannot be deleted.
  const std::pair<const char*, int> demo[] = {{"DEMR01", 0}, {"DEME01", 0}, {"1DEMR2", 0},
                                              {"00DEME", 0}, {"DEMO01", 1}, {"demr01", 1}};
  for (const auto& [code, deletable] : demo) {
    state.protocol[0].code = code;
    EXPECT_EQ(actions(0)[0], deletable) << code;
  }
  ProtocolRec r = protocolRecord("AAAAAA", std::string(70, 'a') + "bcd");
  EXPECT_EQ(deleteTaskQuestion(r).utf8(state.texts), "S90 \"" + std::string(70, 'a') + "\"?");
}

TEST_F(ProtocolView, DeletingRemovesEveryFileOfTheTaskAndItsRecord) {
  test::writeTask(dir, "BBBBBB", "Sent");
  test::writeTask(dir, "AAAAAA", "Entered");
  const V files{"Data/qj_BBBBBB.dat", "Data/qj_BBBBBB_in.dat", "Data/qj_BBBBBB_out.dat",
                "Solving/qj_BBBBBB_in.dat", "Solving/qj_BBBBBB_out.dat"};
  for (size_t i = 2; i < files.size(); ++i) dir.write(files[i], "x");
  ASSERT_TRUE(taskFileExists(state, 1));
  const Deletion d = deleteTask(state, 1);
  EXPECT_TRUE(d.deleted);
  EXPECT_TRUE(d.messages.empty());
  for (const auto& file : files) EXPECT_FALSE(exists(file)) << file;
  EXPECT_TRUE(exists("Data/qj_AAAAAA.dat"));
  ASSERT_EQ(state.protocol.size(), 2u);
  EXPECT_EQ(state.protocol[1].code, "CCCCCC");
  EXPECT_EQ(saved(), state.protocol);
  // A deletion that cannot be saved is reported.
  fs::remove(dir / "System/protocol.pro");
  const Deletion unsaved = deleteTask(state, 0);
  EXPECT_TRUE(unsaved.deleted);
  EXPECT_EQ(texts(unsaved.messages), V{"S301 !!!"});
  EXPECT_EQ(state.protocol.size(), 1u);
}

TEST_F(ProtocolView, AFileThatCannotBeDeletedKeepsTheTask) {
  test::writeTask(dir, "CCCCCC", "Solved");
  dir.write("Solving/qj_CCCCCC_out.dat", "solution");
  dir.write("Data/qj_CCCCCC_out.dat/x", "a folder in the way");
  const auto before = state.protocol;
  const Deletion d = deleteTask(state, 2);
  EXPECT_FALSE(d.deleted);
  EXPECT_EQ(texts(d.messages), V{"S816 \"Data/qj_CCCCCC_out.dat\". S817."});
  EXPECT_EQ(saved(), before);
  // The task file stays, so the task can be deleted once the obstacle is gone.
  EXPECT_TRUE(taskFileExists(state, 2));
  fs::remove_all(dir / "Data/qj_CCCCCC_out.dat");
  EXPECT_TRUE(deleteTask(state, 2).deleted);
  // A task file gone since it was looked for: nothing the user chose was deleted.
  EXPECT_EQ(texts(deleteTask(state, 0).messages), V{"S816 \"Data/qj_AAAAAA.dat\". S817."});
  // A record with a foreign code touches no file.
  dir.write("x.dat", "outside");
  state.protocol[0].code = "/../x";
  EXPECT_FALSE(taskFileExists(state, 0));
  EXPECT_FALSE(deleteTask(state, 0).deleted);
  EXPECT_TRUE(exists("x.dat"));
  EXPECT_EQ(state.protocol.size(), 2u);
  // The row after a deletion keeps its position or takes the new last line.
  const std::array<int, 3> after[] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 1}, {0, 0, -1}};
  for (const auto& [row, left, next] : after) EXPECT_EQ(rowAfterDeletion(row, left), next);
}

}  // namespace
}  // namespace qj
