#include "frame/protocol.h"

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using test::protocolRecord;
using test::V;

class Protocol : public test::FrameTest {
 protected:
  V load() { return texts(loadProtocol(state)); }
  std::string file() const { return dir.read("System/protocol.pro"); }
  // A later save is refused and leaves the file as it is.
  void expectNoSave() {
    state.protocol.push_back(protocolRecord("AB12CD", "x"));
    const auto failure = saveProtocol(state);
    EXPECT_EQ(text(failure), "S301 !!!");
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, MessageKind::Warning);
  }
};

TEST_F(Protocol, AMissingFileIsCreatedEmptyAValidOneLoadsSilently) {
  EXPECT_EQ(load(), V{"S294..."});
  EXPECT_EQ(file(), writeProtocolFile({}));
  EXPECT_TRUE(state.protocolFileOk);
  EXPECT_TRUE(state.protocol.empty());
  const std::vector<ProtocolRec> two{protocolRecord("AB12CD", "a", SolutionLoaded),
                                     protocolRecord("XY34ZZ", "b")};
  dir.write("System/protocol.pro", writeProtocolFile(two));
  EXPECT_TRUE(load().empty());
  EXPECT_EQ(state.protocol, two);
}

TEST_F(Protocol, AForeignOrNewerFileIsKeptAsBakAndReplaced) {
  std::string newer = writeProtocolFile({protocolRecord("AB12CD", "a")});
  newer[24] = 2;  // version 2
  for (const std::string& foreign : {newer, std::string("some other program's file")}) {
    dir.write("System/protocol.pro", foreign);
    EXPECT_EQ(load(), V{"S464 !!!"});
    EXPECT_TRUE(state.protocol.empty());
    EXPECT_EQ(file(), writeProtocolFile({}));
    EXPECT_EQ(dir.read("System/protocol.pro.bak"), foreign);
    EXPECT_TRUE(state.protocolFileOk);
  }
}

TEST_F(Protocol, AFileThatCannotBeCreatedKeptOrReadIsNeverWritten) {
  dir.write("System/protocol.pro", "foreign bytes");
  dir.write("System/protocol.pro.bak/occupied", "x");  // the backup's name is a folder
  EXPECT_EQ(load(), (V{"S464 !!!", "S301 !!!"}));
  EXPECT_FALSE(state.protocolFileOk);
  expectNoSave();
  EXPECT_EQ(file(), "foreign bytes");

  fs::remove(dir / "System/protocol.pro");
  fs::create_directories(dir / "System/protocol.pro");
  EXPECT_EQ(load(), V{"S301 !!!"});
  EXPECT_TRUE(state.protocol.empty());
  expectNoSave();
  EXPECT_TRUE(fs::is_directory(dir / "System/protocol.pro"));

  // The System folder is a file, so nothing can be created in it.
  fs::remove_all(dir / "System");
  dir.write("System", "not a folder");
  EXPECT_EQ(load(), (V{"S294...", "S301 !!!"}));
  EXPECT_TRUE(state.protocol.empty());
  expectNoSave();
}

TEST_F(Protocol, SavingWritesTheWholeFileAndNeverRecreatesARemovedOne) {
  protocol({protocolRecord("AB12CD", "a"), protocolRecord("XY34ZZ", "b"),
            protocolRecord("QQ0000", "c")});
  EXPECT_EQ(file(), writeProtocolFile(state.protocol));
  // A deleted task: the file is written whole, so it shrinks with the protocol.
  state.protocol.erase(state.protocol.begin() + 1);
  EXPECT_FALSE(saveProtocol(state));
  EXPECT_EQ(file(), writeProtocolFile(state.protocol));
  size_t files = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "System")) ++files;
  EXPECT_EQ(files, 1u);  // no temporary file is left behind

  fs::remove(dir / "System/protocol.pro");
  expectNoSave();
  EXPECT_FALSE(exists("System/protocol.pro"));
}

}  // namespace
}  // namespace qj
