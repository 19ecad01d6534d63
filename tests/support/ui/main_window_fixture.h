#pragma once
// A running main window over a temporary program folder with the marked test shell (or a
// shipped one) and a protocol, its message boxes scripted.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
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
    launch(protocol, std::move(windows));
  }
  // With the shipped shell of a language ("eng", "rus") and its demo databases.
  void startShipped(const std::string& language, ui::WindowFactory windows) {
    const std::filesystem::path shipped(QJ_PROGRAM_DIR);
    const std::string shell = "Shells/Shell (QJ 1.6)." + language;
    std::filesystem::create_directories(dir / "Shells");
    std::filesystem::create_directories(dir / "Dbrn");
    std::filesystem::copy_file(shipped / shell, dir / shell);
    for (const char* db : {"001sys1", "002sys2"}) {
      const std::string file = "Dbrn/" + std::string(db) + "_dbrn_" + language + ".dat";
      std::filesystem::copy_file(shipped / file, dir / file);
    }
    launch({}, std::move(windows));
  }
  void launch(const std::vector<ProtocolRec>& protocol, ui::WindowFactory windows) {
    dir.write("System/protocol.pro", writeProtocolFile(protocol));
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<ui::TfrmMainWin>(dir.path(), std::move(box), std::move(windows));
    ASSERT_TRUE(main->startupComplete());
    ASSERT_TRUE(messages->shown.empty());
  }

  // Waits until the only task of the protocol has its solution loaded and the main window is
  // usable again (the optimiser's automatic run has ended).
  bool waitForTheSolution() const {
    return QTest::qWaitFor(
        [&] {
          return main->isEnabled() && main->state().protocol.size() == 1 &&
                 main->state().protocol[0].status == SolutionLoaded;
        },
        60000);
  }

  std::vector<ProtocolRec> savedProtocol() const {
    return readProtocolFile(dir.read("System/protocol.pro")).records;
  }

  TempDir dir;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<ui::TfrmMainWin> main;
};

}  // namespace qj::test
