// The tasks of the protocol: the protocol file, a task's details and deletion, handing its
// input to the optimiser and taking its solution back, and choosing a task to open.

#include <array>

#include "frame/frame_fixture.h"
#include "frame/protocol.h"
#include "frame/protocol_view.h"
#include "frame/task_chooser.h"
#include "frame/task_handover.h"
#include "records/datetime.h"
#include "support/write_faults.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::V;

class Tasks : public test::FrameTest {
 protected:
  void SetUp() override {
    FrameTest::SetUp();
    protocol({protocolRecord("AAAAAA", "Entered"), protocolRecord("BBBBBB", "Sent", SentToSolving),
              protocolRecord("CCCCCC", "Solved", SolutionLoaded),
              protocolRecord("DDDDDD", "Entered too")});
    test::writeTask(dir, "DDDDDD", "Entered too");
  }
  V load() { return texts(loadProtocol(state)); }
  std::string file() const { return dir.read("System/protocol.pro"); }
  // A later save is refused and leaves the file as it is.
  void expectNoSave() {
    state.protocol.push_back(protocolRecord("AB12CD", "x"));
    EXPECT_EQ(text(saveProtocol(state)), "S301 !!!");
  }
  // Each row of a task's details as "key = value".
  V rows(int record) const {
    V out;
    for (const auto& r : taskDetails(state, record).rows)
      out.push_back(r.key.utf8(state.texts) + " = " + r.value.utf8(state.texts));
    return out;
  }
  // Whether the task can be deleted, queued and loaded: 0 no, 1 yes, 2 left alone.
  std::array<int, 3> actions(int record) const {
    const TaskDetails d = taskDetails(state, record);
    const auto open = [](std::optional<bool> b) { return b ? int(*b) : 2; };
    return {int(d.canDelete), open(d.canQueue), open(d.canLoad)};
  }
  // A folder with something in it, where a file should be: it cannot be removed or replaced.
  void blockWith(const std::string& relative) const { dir.write(relative + "/x", "x"); }
  // The window the choice opens, and its message.
  std::pair<ChooserTarget, std::string> choose(int32_t mode, int record) {
    state.formMode = mode;
    const TaskChoice c = chooseTask(state, record);
    return {c.target, text(c.message)};
  }
};

TEST_F(Tasks, TheProtocolIsCreatedEmptyLoadedAndSavedWhole) {
  const auto four = state.protocol;
  dir.write("System/protocol.pro", file() + "bytes after the records");  // not read, not kept
  EXPECT_TRUE(load().empty());
  EXPECT_EQ(state.protocol, four);
  // A deleted task: the file is written whole, so it shrinks with the protocol.
  state.protocol.erase(state.protocol.begin() + 1);
  EXPECT_FALSE(saveProtocol(state));
  EXPECT_EQ(file(), writeProtocolFile(state.protocol));
  // No temporary file is left behind.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "System"), {}), 1);
  // A file removed meanwhile is not recreated; a missing one is created at start-up.
  fs::remove(dir / "System/protocol.pro");
  expectNoSave();
  EXPECT_FALSE(exists("System/protocol.pro"));
  EXPECT_EQ(load(), V{"S294..."});
  EXPECT_EQ(file(), writeProtocolFile({}));
  EXPECT_TRUE(state.protocolFileOk);
}

// Each copy is kept under a name of its own, so that a damaged file met later never takes
// the place of an earlier copy; the message names the copy.
TEST_F(Tasks, AForeignOrNewerProtocolIsKeptUnderAFreeNameAndReplaced) {
  std::string newer = writeProtocolFile({protocolRecord("AB12CD", "a")});
  newer[24] = 2;                          // version 2
  blockWith("System/protocol.pro.bak3");  // a folder at a name is passed over
  const std::pair<std::string, std::string> cases[] = {
      {newer, "protocol.pro.bak"},
      {"some other program's file", "protocol.pro.bak2"},
      {"damaged!", "protocol.pro.bak4"},
  };
  for (const auto& [foreign, keptAs] : cases) {
    dir.write("System/protocol.pro", foreign);
    EXPECT_EQ(load(), V{"S464 !!! S1131 \"protocol.pro\" S1132 \"" + keptAs + "\"."});
    EXPECT_TRUE(state.protocol.empty());
    EXPECT_EQ(file(), writeProtocolFile({}));
    EXPECT_TRUE(state.protocolFileOk);
  }
  for (const auto& [foreign, keptAs] : cases) EXPECT_EQ(dir.read("System/" + keptAs), foreign);
  // A file that holds something else at a save than the program last read or wrote there (a
  // protocol the user copied in) is kept as well; the same bytes written again are no change.
  const auto seven = writeProtocolFile(std::vector(7, protocolRecord("AB12CD", "restored")));
  state.protocol = std::vector(3, protocolRecord("EEEEEE", "ours"));
  const std::pair<std::string, std::string> changes[] = {{file(), ""},
                                                         {seven, "protocol.pro.bak5"}};
  for (const auto& [other, keptAs] : changes) {
    dir.write("System/protocol.pro", other);
    const std::string shown = "S1331. S1131 \"protocol.pro\" S1132 \"" + keptAs + "\"; S1332.";
    EXPECT_EQ(text(saveProtocol(state)), keptAs.empty() ? "(none)" : shown);
    EXPECT_EQ(saved(), state.protocol);
    EXPECT_EQ(keptAs.empty() || dir.read("System/" + keptAs) == other, true) << keptAs;
  }
  // As the user reads it.
  EXPECT_EQ(protocolForeignMessage(ProtocolRefusal::TooLarge, "protocol.pro.bak2")
                .utf8(test::shippedShell("eng")),
            "The task protocol file is too large to be read; it is replaced by an empty one !!! "
            "The previous content of the file \"protocol.pro\" is kept in the file "
            "\"protocol.pro.bak2\".");
  EXPECT_EQ(protocolForeignMessage(ProtocolRefusal::Foreign, "protocol.pro.bak")
                .utf8(test::shippedShell("rus")),
            "Файл протокола задач повреждён или другой версии; он заменяется пустым !!! Прежнее "
            "содержимое файла \"protocol.pro\" сохранено в файле \"protocol.pro.bak\".");
  EXPECT_EQ(protocolChangedMessage("protocol.pro.bak5", {}).utf8(test::shippedShell("eng")),
            "The task protocol file was changed by another program after this program had read "
            "or written it. The previous content of the file \"protocol.pro\" is kept in the file "
            "\"protocol.pro.bak5\"; the file now holds the protocol of this program.");
  EXPECT_EQ(protocolChangedMessage({}, {}).utf8(test::shippedShell("rus")),
            "Файл протокола задач изменён другой программой после того, как эта программа его "
            "прочитала или записала; его содержимое не удаётся сохранить в другом файле, поэтому "
            "файл оставлен как есть, а протокол этой программы в него не записан.");
}

// A protocol of this program is never longer than its bound; a longer file is not read. One
// with this program's header is said to be too large, any other is foreign (the bytes after
// the last counted record make up the length here).
TEST_F(Tasks, AProtocolLongerThanAnyIsNotReadAndKept) {
  const std::string one = writeProtocolFile({protocolRecord("AB12CD", "a")});
  std::string foreign = one;
  foreign[24] = 2;
  const std::tuple<std::string, uint64_t, std::string> cases[] = {
      {one, kMaxProtocolFileBytes, ""},
      {one, kMaxProtocolFileBytes + 1, "S1326"},
      {foreign, kMaxProtocolFileBytes + 1, "S464"},
  };
  for (const auto& [head, length, message] : cases) {
    SCOPED_TRACE(message + std::to_string(length));
    fs::remove(dir / "System/protocol.pro.bak");
    dir.write("System/protocol.pro", head);
    fs::resize_file(dir / "System/protocol.pro", length);  // sparse
    const bool refused = !message.empty();
    EXPECT_EQ(load(), refused ? V{message + " !!! S1131 \"protocol.pro\" S1132 "
                                            "\"protocol.pro.bak\"."}
                              : V{});
    EXPECT_EQ(state.protocol.size(), refused ? 0u : 1u);
    EXPECT_TRUE(state.protocolFileOk);
    EXPECT_EQ(exists("System/protocol.pro.bak"), refused);
    if (refused) {
      EXPECT_EQ(fs::file_size(dir / "System/protocol.pro.bak"), length);
      EXPECT_EQ(dir.read("System/protocol.pro.bak").substr(0, head.size()), head);
      EXPECT_EQ(file(), writeProtocolFile({}));
    }
  }
}

TEST_F(Tasks, AProtocolThatCannotBeCreatedKeptOrReadIsNeverWritten) {
  if (test::WriteFaults::ranInChild()) return;
  // Changed while the program runs: kept once, or never written over. Every write after the
  // save's own file fails, so the file cannot be copied aside either.
  const std::pair<const char*, std::string> changed[] = {
      {"link", "S1331; S1333."},
      {"rename", "S1331. S1131 \"protocol.pro\" S1132 \"protocol.pro.bak\". S301 !!!"}};
  for (const auto& [call, shown] : changed) {
    dir.write("System/protocol.pro", "copied in");
    {
      test::WriteFaults faults(dir.path());
      faults.fail(call);
      faults.fail("write", 1);
      EXPECT_EQ(text(saveProtocol(state)), shown);
    }
    EXPECT_EQ(file(), "copied in");
  }
  EXPECT_FALSE(saveProtocol(state));
  EXPECT_EQ(saved(), state.protocol);
  EXPECT_EQ(dir.read("System/protocol.pro.bak"), "copied in");
  fs::remove(dir / "System/protocol.pro.bak");

  dir.write("System/protocol.pro", "foreign bytes");
  {
    // Neither linked nor copied aside.
    test::WriteFaults faults(dir.path());
    faults.fail("link");
    faults.fail("write");
    EXPECT_EQ(load(), (V{"S464 !!!", "S301 !!!"}));
  }
  EXPECT_FALSE(state.protocolFileOk);
  expectNoSave();
  EXPECT_EQ(file(), "foreign bytes");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "System"), {}), 1);
  fs::remove(dir / "System/protocol.pro");
  fs::create_directories(dir / "System/protocol.pro");
  EXPECT_EQ(load(), V{"S301 !!!"});
  expectNoSave();
  EXPECT_TRUE(fs::is_directory(dir / "System/protocol.pro"));
  // The System folder is a file, so nothing can be created in it.
  fs::remove_all(dir / "System");
  dir.write("System", "not a folder");
  EXPECT_EQ(load(), (V{"S294...", "S301 !!!"}));
  expectNoSave();
}

TEST_F(Tasks, EachStatusShowsItsRowsAndOpensItsActions) {
  // The interface language's date; exactly midnight shows no time.
  const V common{"S137 = 09/12/2025 06:00:00", "S136 = 10/12/2025"};
  state.texts.shellTexts[755] = " input entered ";  // trimmed
  EXPECT_EQ(rows(0),
            (V{"S745 = AAAAAA", "S261 = Entered", "S648 = input entered", common[0], common[1]}));
  EXPECT_EQ(actions(0), (std::array{1, 1, 0}));
  EXPECT_EQ(rows(1), (V{"S745 = BBBBBB", "S261 = Sent", "S648 = S430", common[0], common[1],
                        "S140 = 10/12/2025 12:00:00"}));
  EXPECT_EQ(actions(1), (std::array{1, 0, 0}));  // no solution in Solving yet
  dir.write("Solving/qj_BBBBBB_out.dat", "solution");
  EXPECT_EQ(actions(1), (std::array{1, 0, 1}));
  EXPECT_EQ(rows(2), (V{"S745 = CCCCCC", "S261 = Solved", "S648 = S195", common[0], common[1],
                        "S140 = 10/12/2025 12:00:00", "S135 = 11/12/2025 18:00:00"}));
  EXPECT_EQ(actions(2), (std::array{1, 0, 0}));
  EXPECT_TRUE(rows(4).empty() && !taskFileExists(state, 4) && !taskFileExists(state, -1));
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

TEST_F(Tasks, DeletingRemovesEveryFileOfTheTaskAndItsRecordOrNothing) {
  test::writeTask(dir, "BBBBBB", "Sent");
  const V files{"Data/qj_BBBBBB.dat", "Data/qj_BBBBBB_in.dat", "Data/qj_BBBBBB_out.dat",
                "Solving/qj_BBBBBB_in.dat", "Solving/qj_BBBBBB_out.dat"};
  for (size_t i = 3; i < files.size(); ++i) dir.write(files[i], "x");
  blockWith(files[2]);
  const auto before = state.protocol;
  const Deletion kept = deleteTask(state, 1);
  EXPECT_FALSE(kept.deleted);
  EXPECT_EQ(texts(kept.messages), V{"S816 \"Data/qj_BBBBBB_out.dat\". S817."});
  EXPECT_EQ(saved(), before);
  // The task file stays, so the task can be deleted once the obstacle is gone.
  ASSERT_TRUE(taskFileExists(state, 1) && !taskFileExists(state, 0));
  fs::remove_all(dir / files[2]);
  dir.write(files[2], "x");
  const Deletion d = deleteTask(state, 1);
  EXPECT_TRUE(d.deleted);
  EXPECT_TRUE(d.messages.empty());
  for (const auto& file : files) EXPECT_FALSE(exists(file)) << file;
  EXPECT_TRUE(exists("Data/qj_DDDDDD.dat"));
  ASSERT_EQ(state.protocol.size(), 3u);
  EXPECT_EQ(state.protocol[1].code, "CCCCCC");
  EXPECT_EQ(saved(), state.protocol);
  // A task file gone since it was looked for: nothing the user chose was deleted.
  EXPECT_EQ(texts(deleteTask(state, 0).messages), V{"S816 \"Data/qj_AAAAAA.dat\". S817."});
  // A record with a foreign code touches no file.
  dir.write("x.dat", "outside");
  state.protocol[0].code = "/../x";
  EXPECT_FALSE(taskFileExists(state, 0));
  for (const int record : {0, -1, 3}) EXPECT_FALSE(deleteTask(state, record).deleted);
  EXPECT_TRUE(exists("x.dat"));
  // A deletion that cannot be saved is reported.
  fs::remove(dir / "System/protocol.pro");
  const Deletion unsaved = deleteTask(state, 2);
  EXPECT_TRUE(unsaved.deleted);
  EXPECT_EQ(texts(unsaved.messages), V{"S301 !!!"});
  EXPECT_EQ(state.protocol.size(), 2u);
  // The row after a deletion keeps its position or takes the new last line.
  const std::array<int, 3> after[] = {{0, 2, 0}, {1, 2, 1}, {2, 2, 1}, {0, 0, -1}};
  for (const auto& [row, left, next] : after) EXPECT_EQ(rowAfterDeletion(row, left), next);
}

TEST_F(Tasks, QueueingAndLoadingCopyTheFilesMarkTheTaskAndSaveTheProtocol) {
  for (const char* good : {"AB12CD", "Z09A00", "000000", "ZZZZZZ"})
    EXPECT_TRUE(isTaskCode(good)) << good;
  for (const char* bad :
       {"AB12C", "AB12CDE", "ab12cd", "../x/y", "AB 2CD", "\xC0\xC1\xC2\xC3\xC4\xC5", "AB12C/",
        "AB12C:", "AB12C@", "AB12C[", "AB12C`", "AB12Cz", "AB12C\xDF", ""})
    EXPECT_FALSE(isTaskCode(bad)) << bad;
  EXPECT_FALSE(isTaskCode(std::string("AB12C\0", 6)));
  // The code edit and the check agree on every character: a key the edit takes at the end of
  // a code makes a code, any other key leaves none; a code pasted whole is taken as it stands
  // exactly when it is one.
  for (int b = 0; b < 256; ++b) {
    const std::string code = "AB12C" + std::string(1, static_cast<char>(b));
    const FieldEdit typed = judgeEdit(taskCodeRule(), "AB12C", code);
    EXPECT_EQ(typed.taken, isTaskCode(typed.text)) << b;
    const FieldEdit pasted = judgeEdit(taskCodeRule(), {}, code);
    EXPECT_EQ(pasted.taken && pasted.text == code, isTaskCode(code)) << b;
  }
  state.protocol.push_back(protocolRecord("DDDDDD", "A duplicate"));
  dir.write("Solving/qj_DDDDDD_in.dat", "an older copy");
  double before = nowDateTime();
  HandoverResult r = queueTaskInput(state, "DDDDDD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(dir.read("Solving/qj_DDDDDD_in.dat"), dir.read("Data/qj_DDDDDD_in.dat"));
  // The first record of the code is marked.
  const ProtocolRec& task = state.protocol[3];
  EXPECT_EQ(task.status, SentToSolving);
  EXPECT_GE(task.sentToSolvingAt, before);
  EXPECT_EQ(state.protocol[4].status, InputEntered);
  EXPECT_EQ(saved(), state.protocol);

  const double sentAt = task.sentToSolvingAt;
  dir.write("Solving/qj_DDDDDD_out.dat", "the solution");
  dir.write("Data/qj_DDDDDD_out.dat", "an old solution");
  dir.write("Solving/qj_AAAAAA_in.dat", "another queued task");
  before = nowDateTime();
  r = loadTaskSolution(state, "DDDDDD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_TRUE(r.messages.empty());
  EXPECT_EQ(dir.read("Data/qj_DDDDDD_out.dat"), "the solution");
  EXPECT_FALSE(exists("Solving/qj_DDDDDD_out.dat"));
  EXPECT_FALSE(exists("Solving/qj_DDDDDD_in.dat"));
  EXPECT_TRUE(exists("Solving/qj_AAAAAA_in.dat"));
  EXPECT_EQ(task.status, SolutionLoaded);
  EXPECT_EQ(task.sentToSolvingAt, sentAt);
  EXPECT_GE(task.solutionLoadedAt, before);
  EXPECT_EQ(saved(), state.protocol);
}

// A file renamed into place whose folder the disk did not confirm: the user hears that it was
// written but may not survive a power loss, and the step goes on as for a saved file.
TEST_F(Tasks, AFileInPlaceButNotConfirmedIsSaidToBeWritten) {
  if (test::WriteFaults::ranInChild()) return;
  HandoverResult r;
  std::optional<Message> saving;
  {
    test::WriteFaults faults(dir.path());
    faults.fail("fsync", 1, 1);  // the file's own sync passes, its folder's fails
    r = queueTaskInput(state, "DDDDDD");
    faults.clear();
    faults.fail("fsync", 1, 1);
    state.protocol[0].name = "Renamed";
    saving = saveProtocol(state);
  }
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_EQ(texts(r.messages), V{"S1328 \"Solving/qj_DDDDDD_in.dat\" S1329."});
  EXPECT_EQ(dir.read("Solving/qj_DDDDDD_in.dat"), dir.read("Data/qj_DDDDDD_in.dat"));
  EXPECT_EQ(text(saving), "S1328 \"System/protocol.pro\" S1329.");
  EXPECT_EQ(saved(), state.protocol);
  EXPECT_EQ(state.protocol[3].status, SentToSolving);
  // As the user reads it.
  EXPECT_EQ(fileWrittenNotDurableMessage("System/protocol.pro").utf8(test::shippedShell("eng")),
            "The file \"System/protocol.pro\" was written, but may not survive a power loss.");
  EXPECT_EQ(fileWrittenNotDurableMessage("System/protocol.pro").utf8(test::shippedShell("rus")),
            "Файл \"System/protocol.pro\" записан, но может не сохраниться при отключении "
            "питания.");
}

TEST_F(Tasks, AHandoverWithoutItsFileDoesNothingAndAFailedCopyChangesNothing) {
  const auto before = state.protocol;
  for (const char* code : {"AAAAAA", "ZZZZZZ", "../../", "", "DDDDDD"}) {
    EXPECT_EQ(loadTaskSolution(state, code).outcome, HandoverOutcome::NothingToDo) << code;
    if (*code == 'D') break;  // the input is there, but no solution yet
    EXPECT_EQ(queueTaskInput(state, code).outcome, HandoverOutcome::NothingToDo) << code;
  }
  EXPECT_EQ(saved(), before);

  blockWith("Solving/qj_DDDDDD_in.dat");
  HandoverResult r = queueTaskInput(state, "DDDDDD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Failed);
  EXPECT_EQ(texts(r.messages),
            V{"S818 \"Data/qj_DDDDDD_in.dat\" S819 \"Solving/qj_DDDDDD_in.dat\"."});
  EXPECT_EQ(saved(), before);

  state.protocol[3].status = SentToSolving;
  dir.write("Solving/qj_DDDDDD_out.dat", "solution");
  blockWith("Data/qj_DDDDDD_out.dat");
  r = loadTaskSolution(state, "DDDDDD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Failed);
  EXPECT_EQ(texts(r.messages),
            V{"S818 \"Solving/qj_DDDDDD_out.dat\" S819 \"Data/qj_DDDDDD_out.dat\"."});
  EXPECT_EQ(state.protocol[3].status, SentToSolving);
  EXPECT_EQ(dir.read("Solving/qj_DDDDDD_out.dat"), "solution");
}

TEST_F(Tasks, WhatFailsAfterAHandoverCopyIsReportedAndTheStepStillCounts) {
  // A queued file that cannot be removed once the solution is loaded.
  blockWith("Solving/qj_DDDDDD_in.dat");
  dir.write("Solving/qj_DDDDDD_out.dat", "the solution");
  HandoverResult r = loadTaskSolution(state, "DDDDDD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_EQ(texts(r.messages), V{"S816 \"Solving/qj_DDDDDD_in.dat\"."});
  EXPECT_EQ(state.protocol[3].status, SolutionLoaded);
  EXPECT_FALSE(exists("Solving/qj_DDDDDD_out.dat"));
  fs::remove_all(dir / "Solving/qj_DDDDDD_in.dat");
  // A protocol that cannot be saved is reported.
  fs::remove(dir / "System/protocol.pro");
  r = queueTaskInput(state, "DDDDDD");
  EXPECT_EQ(r.outcome, HandoverOutcome::Done);
  EXPECT_EQ(texts(r.messages), V{"S301 !!!"});
  // A queued task without a record is still copied.
  state.protocol.clear();
  fs::remove(dir / "Solving/qj_DDDDDD_in.dat");
  EXPECT_EQ(queueTaskInput(state, "DDDDDD").outcome, HandoverOutcome::Done);
  EXPECT_TRUE(exists("Solving/qj_DDDDDD_in.dat"));
}

TEST_F(Tasks, EachChooserModeOffersItsTasksAndOpensItsWindow) {
  EXPECT_EQ(offeredTasks(state.protocol, kChooserViewInput), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(offeredTasks(state.protocol, kChooserViewSolution), (std::vector<int>{2}));
  EXPECT_EQ(offeredTasks(state.protocol, kChooserCorrectTask), (std::vector<int>{0, 3}));
  EXPECT_TRUE(offeredTasks(state.protocol, kNoFormMode).empty());
  EXPECT_EQ(taskListLine(protocolRecord("AB12CD", "Morning [2] run")), "[AB12CD] Morning [2] run");
  // With nothing to offer, only the correction says why; the viewers' empty lists speak for
  // themselves.
  EXPECT_EQ(noTaskOfferedText(kChooserCorrectTask).value().utf8(state.texts), "S1120.");
  EXPECT_FALSE(noTaskOfferedText(kChooserViewInput) || noTaskOfferedText(kChooserViewSolution));
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

TEST_F(Tasks, AnUnreadableOrForeignTaskOpensNothing) {
  using R = std::pair<ChooserTarget, std::string>;
  const R unreadable{ChooserTarget::None, "S815 \"Data/qj_DDDDDD.dat\"."};
  const std::string whole = dir.read("Data/qj_DDDDDD.dat");
  dir.write("Data/qj_DDDDDD.dat", whole.substr(0, 319));
  EXPECT_EQ(choose(kChooserCorrectTask, 3), unreadable);
  EXPECT_EQ(choose(kChooserCorrectTask, 4), R(ChooserTarget::None, "(none)"));
  // Only the header is read: a file cut after it still opens.
  dir.write("Data/qj_DDDDDD.dat", whole.substr(0, 320));
  EXPECT_EQ(choose(kChooserCorrectTask, 3).first, ChooserTarget::TaskWizard);
  fs::remove(dir / "Data/qj_DDDDDD.dat");
  EXPECT_EQ(choose(kChooserCorrectTask, 3), unreadable);

  // Another language is refused with both codes, compared exactly.
  state.texts.shellTexts[786] = "  while running in  ";
  test::writeTask(dir, "AAAAAA", "Entered", "rus");
  EXPECT_TRUE(taskFileExists(state, 0));
  EXPECT_EQ(choose(kChooserViewInput, 0),
            R(ChooserTarget::None, "S790 (rus), while running in (eng), S791."));
  test::writeTask(dir, "AAAAAA", "Entered", "ENG");
  EXPECT_EQ(choose(kChooserViewInput, 0).second, "S790 (ENG), while running in (eng), S791.");

  state.protocol[0].code = "../../";
  EXPECT_EQ(choose(kChooserViewInput, 0), R(ChooserTarget::None, "S815 \"Data/qj_../../.dat\"."));
}

}  // namespace
}  // namespace qj
