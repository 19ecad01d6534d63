#include "frame/menu.h"

#include <gtest/gtest.h>

#include <set>

#include "records/bytes.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::TempDir;

std::string caption(MenuItem item, const ShellTables& t) {
  return menuCaption(item).utf8(t);
}

TEST(MenuCaptions, ComeFromTheirShellTexts) {
  ShellTables t = test::markedShell();
  t.shellTexts[65] = "  Input  ";
  t.shellTexts[109] = " Output ";
  t.shellTexts[66] = " New task ";
  EXPECT_EQ(mainWindowCaption().utf8(t), "S419");
  EXPECT_EQ(caption(MenuItem::mnuIn, t), "Input");
  EXPECT_EQ(caption(MenuItem::mnuOut, t), "Output");
  EXPECT_EQ(caption(MenuItem::mnuInNewTask, t), " New task ");  // used as stored

  const std::vector<std::pair<MenuItem, int>> expected{{MenuItem::mnuInNewTaskExportData, 67},
                                                       {MenuItem::mnuInEditTask, 232},
                                                       {MenuItem::mnuInExit, 121},
                                                       {MenuItem::mnuControl, 701},
                                                       {MenuItem::mnuOutViewProtocol, 584},
                                                       {MenuItem::mnuSolving, 600},
                                                       {MenuItem::Optim, 113},
                                                       {MenuItem::mnuInViewTask, 575},
                                                       {MenuItem::mnuOutViewSolution, 576},
                                                       {MenuItem::mnuOutExpInExcel, 753},
                                                       {MenuItem::mnuOutPrint, 503},
                                                       {MenuItem::DBRN, 583},
                                                       {MenuItem::N10, 642},
                                                       {MenuItem::N11, 643},
                                                       {MenuItem::N12, 231},
                                                       {MenuItem::N13, 573},
                                                       {MenuItem::Excel1, 752},
                                                       {MenuItem::N14, 641},
                                                       {MenuItem::N15, 689},
                                                       {MenuItem::mnuHelp, 513},
                                                       {MenuItem::N101, 417},
                                                       {MenuItem::N102, 415},
                                                       {MenuItem::N103, 421}};
  for (const auto& [item, k] : expected)
    EXPECT_EQ(caption(item, t), "S" + std::to_string(k)) << static_cast<int>(item);

  // Every one of the 26 items has its own caption.
  std::set<std::string> all;
  for (const MenuItem item : allMenuItems()) all.insert(caption(item, test::markedShell()));
  EXPECT_EQ(all.size(), 26u);
}

TEST(MenuCommands, CarryTheirModeScanAndCaption) {
  const ShellTables t = test::markedShell();
  struct Row {
    MenuItem item;
    MenuTarget target;
    int32_t mode;
    CatalogueScanKind scan;
    const char* caption;
  };
  using T = MenuTarget;
  using S = CatalogueScanKind;
  const Row rows[] = {
      {MenuItem::mnuInNewTask, T::TaskWizard, 1, S::Dbrn, ""},
      {MenuItem::mnuInNewTaskExportData, T::TaskWizard, 2, S::Dbrn, ""},
      {MenuItem::mnuInEditTask, T::TaskChooser, 3, S::Dbrn, "S656"},
      {MenuItem::mnuInExit, T::Exit, 0, S::None, ""},
      {MenuItem::mnuOutViewProtocol, T::ProtocolWindow, 0, S::None, ""},
      {MenuItem::Optim, T::Optimiser, 0, S::None, ""},
      {MenuItem::mnuInViewTask, T::TaskChooser, 1, S::None, "S653"},
      {MenuItem::mnuOutViewSolution, T::TaskChooser, 2, S::None, "S657"},
      {MenuItem::mnuOutExpInExcel, T::ExportActiveViewer, 0, S::None, ""},
      {MenuItem::mnuOutPrint, T::PrintActiveViewer, 0, S::None, ""},
      {MenuItem::N10, T::DatabaseWizard, 1, S::DbrnA, ""},
      {MenuItem::N11, T::DatabaseWizard, 2, S::DbrnA, ""},
      {MenuItem::N12, T::DatabaseChooser, 3, S::DbrnA, "S655"},
      {MenuItem::N13, T::DatabaseChooser, 4, S::Dbrn, "S650"},
      {MenuItem::Excel1, T::DatabaseChooser, 5, S::DbrnA, "S650"},
      {MenuItem::N14, T::ClientAddition, 7, S::SysDbrn, "S651"},
      {MenuItem::N15, T::DatabaseChooser, 6, S::Dbrn, "S650"},
      {MenuItem::N101, T::Help, 1, S::None, ""},
      {MenuItem::N102, T::Help, 2, S::None, ""},
      {MenuItem::N103, T::Help, 3, S::None, ""},
  };
  for (const Row& row : rows) {
    const MenuCommand c = menuCommand(row.item);
    SCOPED_TRACE(static_cast<int>(row.item));
    EXPECT_EQ(c.target, row.target);
    EXPECT_EQ(c.formMode, row.mode);
    EXPECT_EQ(c.scan, row.scan);
    EXPECT_EQ(c.caption ? c.caption->utf8(t) : "", row.caption);
  }
  ShellTables padded = t;
  padded.shellTexts[651] = "  Client addition ";
  EXPECT_EQ(menuCommand(MenuItem::N14).caption->utf8(padded), "Client addition");
  for (const MenuItem top : {MenuItem::mnuIn, MenuItem::mnuControl, MenuItem::mnuSolving,
                             MenuItem::mnuOut, MenuItem::DBRN, MenuItem::mnuHelp}) {
    EXPECT_TRUE(isTopMenu(top));
    EXPECT_EQ(menuCommand(top).target, T::Submenu);
  }
}

class MenuState : public ::testing::Test {
 protected:
  void SetUp() override {
    state.folder = std::make_unique<ProgramFolder>(dir.path());
    state.langCode = "eng";
    state.texts = test::markedShell();
  }
  void database(const std::string& code, const std::string& kind, const std::string& headerCode) {
    ByteWriter w;
    w.shortString("eng", 3);
    w.shortString(headerCode, 3);
    w.shortString("City", 70);
    w.shortString(kind, 4);
    w.zeros(148 - w.size());
    dir.write("Dbrn/" + code + kind + "_dbrn_eng.dat", w.bytes());
  }
  std::vector<std::string> catalogKeys() const {
    std::vector<std::string> keys;
    for (const auto& e : state.dbrnCatalog) keys.push_back(e.key);
    return keys;
  }
  TempDir dir;
  AppState state;
};

TEST_F(MenuState, ACommandSetsItsModeAndRunsItsScan) {
  database("001", "sys2", "001");
  database("002", "sys1", "002");
  database("100", "use1", "100");
  database("200", "cli2", "200");

  EXPECT_TRUE(startCommand(state, MenuItem::N12).proceed);
  EXPECT_EQ(state.formMode, 3);
  EXPECT_EQ(catalogKeys(), std::vector<std::string>{"100use1"});

  EXPECT_TRUE(startCommand(state, MenuItem::Excel1).proceed);
  EXPECT_EQ(state.formMode, 5);
  EXPECT_EQ(catalogKeys(), (std::vector<std::string>{"001sys2", "002sys1", "100use1"}));

  EXPECT_TRUE(startCommand(state, MenuItem::N14).proceed);
  EXPECT_EQ(state.formMode, 7);
  EXPECT_EQ(catalogKeys(), std::vector<std::string>{"001sys2"});

  EXPECT_TRUE(startCommand(state, MenuItem::mnuInNewTask).proceed);
  EXPECT_EQ(catalogKeys().size(), 4u);

  // Commands without a code leave FormMode alone; those without a scan keep the catalogue.
  EXPECT_TRUE(startCommand(state, MenuItem::mnuOutViewProtocol).proceed);
  EXPECT_EQ(state.formMode, 1);
  EXPECT_TRUE(startCommand(state, MenuItem::N103).proceed);
  EXPECT_EQ(state.formMode, 3);
  EXPECT_EQ(catalogKeys().size(), 4u);
}

TEST_F(MenuState, AScanThatRejectsAFileEndsTheCommand) {
  database("123", "use1", "124");
  const CommandStart start = startCommand(state, MenuItem::N13);
  EXPECT_FALSE(start.proceed);
  ASSERT_TRUE(start.message);
  EXPECT_EQ(start.message->utf8(state.texts),
            "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"124use1_dbrn_eng.dat\".");
  EXPECT_EQ(state.formMode, 4);
  EXPECT_EQ(state.dbCheckFailed, 1);

  // The client addition looks only at level-2 system files and goes on.
  const CommandStart client = startCommand(state, MenuItem::N14);
  EXPECT_TRUE(client.proceed);
  EXPECT_FALSE(client.message);
  EXPECT_EQ(state.dbCheckFailed, 0);
}

TEST_F(MenuState, TheOptimiserIsOfferedOnlyWhileATaskIsQueued) {
  state.solveAtOnce = 1;
  EXPECT_FALSE(openSolvingMenu(state));
  EXPECT_EQ(state.solveAtOnce, 0);

  dir.write("Solving/qj_AB12CD_out.dat", "x");
  dir.write("Solving/qj_AB12C_in.dat", "x");
  dir.write("Data/qj_AB12CD_in.dat", "x");
  // Not named as the optimiser would open it.
  dir.write("Solving/QJ_AB12CD_IN.DAT", "x");
  dir.write("Solving/qj_AB12CD_In.dat", "x");
  EXPECT_FALSE(openSolvingMenu(state));

  dir.write("Solving/qj_AB12CD_in.dat", "x");
  state.solveAtOnce = 1;
  EXPECT_TRUE(openSolvingMenu(state));
  EXPECT_EQ(state.solveAtOnce, 0);
}

}  // namespace
}  // namespace qj
