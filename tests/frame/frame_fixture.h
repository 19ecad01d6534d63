#pragma once
// A program folder with the marked test shell and the running language "eng", for the
// frame's tests.

#include <gtest/gtest.h>

#include "frame/protocol.h"
#include "records/bytes.h"
#include "support/shell_fixture.h"
#include "support/task_fixture.h"
#include "support/temp_dir.h"

namespace qj::test {

using V = std::vector<std::string>;

class FrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.texts = markedShell();
    state.langCode = "eng";
  }
  // Creates the protocol file and saves these records in it.
  void protocol(std::vector<ProtocolRec> records) {
    ASSERT_EQ(loadProtocol(state).size(), 1u);
    state.protocol = std::move(records);
    ASSERT_FALSE(saveProtocol(state));
  }
  std::vector<ProtocolRec> saved() const {
    return readProtocolFile(dir.read("System/protocol.pro")).records;
  }
  V texts(const std::vector<Message>& messages) const {
    V out;
    for (const auto& m : messages) out.push_back(m.utf8(state.texts));
    return out;
  }
  std::string text(const std::optional<Message>& m) const {
    return m ? m->utf8(state.texts) : "(none)";
  }
  bool exists(const std::string& relative) const { return fs::exists(dir / relative); }
  // A database file of the language named by `file` ("123use1") whose header holds `code`,
  // `kind` and `name`, cut to `size` bytes.
  void database(const std::string& file, const std::string& code, const std::string& kind,
                const std::string& name = "City", size_t size = 198) const {
    ByteWriter w;
    w.shortString("eng", 3);
    w.shortString(code, 3);
    w.shortString(name, 70);
    w.shortString(kind, 4);
    w.zeros(198 - w.size());
    dir.write("Dbrn/" + file + "_dbrn_eng.dat", w.bytes().substr(0, size));
  }

  TempDir dir;
  AppState state;
};

}  // namespace qj::test
