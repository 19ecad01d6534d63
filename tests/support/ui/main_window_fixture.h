#pragma once
// A running main window over a temporary program folder with the marked test shell and a
// protocol, its message boxes scripted.

#include <gtest/gtest.h>

#include <QApplication>
#include <memory>
#include <vector>

#include "frame/ui/UMainWin.h"
#include "records/protocol_file.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/ui/grid_driver.h"

namespace qj::test {

class MainWindowTest : public ::testing::Test {
 protected:
  void TearDown() override {
    // Windows a test left open go first, so that none outlives its program folder.
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w != main.get() && w->isVisible()) w->close();
    settle();
    main.reset();
    settle();
  }

  void start(const std::vector<ProtocolRec>& protocol, ui::WindowFactory windows) {
    writeShellFile(dir, "eng", markedShell());
    dir.write("System/protocol.pro", writeProtocolFile(protocol));
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<ui::TfrmMainWin>(dir.path(), std::move(box), std::move(windows));
    ASSERT_TRUE(main->startupComplete());
    ASSERT_TRUE(messages->shown.empty());
  }

  std::vector<ProtocolRec> savedProtocol() const {
    return readProtocolFile(dir.read("System/protocol.pro")).records;
  }

  TempDir dir;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<ui::TfrmMainWin> main;
};

}  // namespace qj::test
