#include "frame/protocol.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::TempDir;

class Protocol : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.texts = test::markedShell();
  }
  std::vector<std::string> load() {
    std::vector<std::string> texts;
    for (const auto& m : loadProtocol(state)) texts.push_back(m.utf8(state.texts));
    return texts;
  }
  std::string file() const { return dir.read("System/protocol.pro"); }

  static ProtocolRec task(const std::string& code, int32_t status) {
    ProtocolRec r;
    r.code = code;
    r.name = "Task " + code;
    r.status = status;
    r.createdAt = 46000;
    r.changedAt = 46000.5;
    return r;
  }

  TempDir dir;
  AppState state;
};

TEST_F(Protocol, MessagesAreComposedFromTheirShellTexts) {
  const ShellTables texts = test::markedShell();
  EXPECT_EQ(protocolMissingMessage().utf8(texts), "S294...");
  EXPECT_EQ(protocolMissingMessage().kind, MessageKind::Warning);
  EXPECT_EQ(protocolNotOpenedMessage().utf8(texts), "S301 !!!");
  EXPECT_EQ(protocolNotOpenedMessage().kind, MessageKind::Warning);
  EXPECT_EQ(protocolForeignMessage().utf8(texts), "S464 !!!");
  EXPECT_EQ(protocolForeignMessage().kind, MessageKind::Error);
}

TEST_F(Protocol, AMissingFileIsCreatedEmptyAfterItsMessage) {
  EXPECT_EQ(load(), std::vector<std::string>{"S294..."});
  EXPECT_EQ(file(), writeProtocolFile({}));
  EXPECT_TRUE(state.protocolFileOk);
  EXPECT_TRUE(state.protocol.empty());
}

TEST_F(Protocol, AFileThatCannotBeCreatedLeavesAnEmptyProtocolAndIsNotWrittenLater) {
  // The System folder is a file, so nothing can be created in it.
  std::filesystem::remove(dir / "System");
  dir.write("System", "not a folder");
  state.folder = std::make_unique<ProgramFolder>(dir.path());
  EXPECT_EQ(load(), (std::vector<std::string>{"S294...", "S301 !!!"}));
  EXPECT_TRUE(state.protocol.empty());
  state.protocol.push_back(task("AB12CD", 0));
  ASSERT_TRUE(saveProtocol(state));
  EXPECT_EQ(saveProtocol(state)->utf8(state.texts), "S301 !!!");
}

TEST_F(Protocol, AValidFileLoadsWithoutMessage) {
  dir.write("System/protocol.pro", writeProtocolFile({}));
  EXPECT_TRUE(load().empty());
  EXPECT_TRUE(state.protocol.empty());

  const std::vector<ProtocolRec> two{task("AB12CD", 2), task("XY34ZZ", 0)};
  dir.write("System/protocol.pro", writeProtocolFile(two));
  EXPECT_TRUE(load().empty());
  EXPECT_EQ(state.protocol, two);
}

TEST_F(Protocol, AForeignOrNewerFileIsKeptAsBakAndReplaced) {
  std::string newer = writeProtocolFile({task("AB12CD", 1)});
  newer[24] = 2;  // version 2
  dir.write("System/protocol.pro", newer);
  EXPECT_EQ(load(), std::vector<std::string>{"S464 !!!"});
  EXPECT_TRUE(state.protocol.empty());
  EXPECT_EQ(file(), writeProtocolFile({}));
  EXPECT_EQ(dir.read("System/protocol.pro.bak"), newer);
  EXPECT_TRUE(state.protocolFileOk);

  dir.write("System/protocol.pro", "some other program's file");
  EXPECT_EQ(load(), std::vector<std::string>{"S464 !!!"});
  EXPECT_EQ(dir.read("System/protocol.pro.bak"), "some other program's file");
  EXPECT_EQ(file(), writeProtocolFile({}));
}

TEST_F(Protocol, AForeignFileThatCannotBeKeptIsNeverOverwritten) {
  dir.write("System/protocol.pro", "foreign bytes");
  dir.write("System/protocol.pro.bak/occupied", "x");  // the backup's name is a folder
  EXPECT_EQ(load(), (std::vector<std::string>{"S464 !!!", "S301 !!!"}));
  EXPECT_FALSE(state.protocolFileOk);
  state.protocol.push_back(task("AB12CD", 0));
  ASSERT_TRUE(saveProtocol(state));
  EXPECT_EQ(saveProtocol(state)->utf8(state.texts), "S301 !!!");
  EXPECT_EQ(file(), "foreign bytes");
}

TEST_F(Protocol, AFileThatCannotBeReadIsLeftAlone) {
  std::filesystem::create_directories(dir / "System/protocol.pro");
  EXPECT_EQ(load(), std::vector<std::string>{"S301 !!!"});
  EXPECT_TRUE(state.protocol.empty());
  EXPECT_TRUE(saveProtocol(state));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "System/protocol.pro"));
}

TEST_F(Protocol, SavingWritesTheWholeFile) {
  dir.write("System/protocol.pro", writeProtocolFile({}));
  load();
  state.protocol = {task("AB12CD", 0), task("XY34ZZ", 1), task("QQ0000", 2)};
  EXPECT_FALSE(saveProtocol(state));
  EXPECT_EQ(file().size(), 32u + 144u * 3);
  EXPECT_EQ(file(), writeProtocolFile(state.protocol));

  // A deleted task: the file is written whole, so it shrinks with the protocol.
  state.protocol.erase(state.protocol.begin() + 1);
  EXPECT_FALSE(saveProtocol(state));
  EXPECT_EQ(file().size(), 32u + 144u * 2);
  AppState next;
  next.folder = std::make_unique<ProgramFolder>(dir.path());
  EXPECT_TRUE(loadProtocol(next).empty());
  EXPECT_EQ(next.protocol, state.protocol);
}

TEST_F(Protocol, AFileRemovedMeanwhileIsNotRecreated) {
  load();
  std::filesystem::remove(dir / "System/protocol.pro");
  state.protocol.push_back(task("AB12CD", 0));
  const auto failure = saveProtocol(state);
  ASSERT_TRUE(failure);
  EXPECT_EQ(failure->utf8(state.texts), "S301 !!!");
  EXPECT_EQ(failure->kind, MessageKind::Warning);
  EXPECT_FALSE(std::filesystem::exists(dir / "System/protocol.pro"));
  EXPECT_EQ(state.protocol.size(), 1u);
}

TEST_F(Protocol, ASaveLeavesNoTemporaryFileBehind) {
  load();
  state.protocol.push_back(task("AB12CD", 0));
  EXPECT_FALSE(saveProtocol(state));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir / "System")) {
    ++files;
    EXPECT_EQ(entry.path().filename(), "protocol.pro");
  }
  EXPECT_EQ(files, 1);
}

}  // namespace
}  // namespace qj
