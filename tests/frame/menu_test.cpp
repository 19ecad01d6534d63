#include "frame/menu.h"

#include <set>

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using MenuState = test::FrameTest;
using test::V;

TEST_F(MenuState, EveryItemHasItsOwnCaptionAndTheTopOnesAreTrimmed) {
  std::set<std::string> all;
  for (const MenuItem item : allMenuItems()) all.insert(menuCaption(item).utf8(state.texts));
  EXPECT_EQ(all.size(), 26u);
  state.texts.shellTexts[65] = "  Input  ";
  state.texts.shellTexts[66] = " New task ";
  state.texts.shellTexts[651] = "  Client addition ";
  EXPECT_EQ(menuCaption(MenuItem::mnuIn).utf8(state.texts), "Input");
  EXPECT_EQ(menuCaption(MenuItem::mnuInNewTask).utf8(state.texts), " New task ");  // as stored
  EXPECT_EQ(menuCommand(MenuItem::N14).caption->utf8(state.texts), "Client addition");
}

TEST_F(MenuState, ACommandSetsItsModeAndRunsItsScan) {
  for (const char* kind : {"sys2", "sys1", "use1", "use2", "cli2"})
    database(std::string("001") + kind, "001", kind);
  const V every{"001sys1", "001sys2", "001use1", "001use2", "001cli2"};
  const struct {
    MenuItem item;
    int32_t mode;
    V keys;
  } rows[] = {
      {MenuItem::N12, 3, {"001use1", "001use2"}},
      {MenuItem::Excel1, 5, {"001sys1", "001sys2", "001use1", "001use2"}},
      {MenuItem::N14, 7, {"001sys2"}},
      {MenuItem::mnuInNewTask, 1, every},
      // Commands without a code leave FormMode alone; those without a scan keep the catalogue.
      {MenuItem::mnuOutViewProtocol, 1, every},
      {MenuItem::N103, 3, every},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.item));
    EXPECT_TRUE(startCommand(state, row.item).proceed);
    EXPECT_EQ(state.formMode, row.mode);
    V keys;
    for (const auto& e : state.dbrnCatalog) keys.push_back(e.key);
    EXPECT_EQ(keys, row.keys);
  }
  // A scan that rejects a file ends the command; the client addition looks only at level-2
  // system files and goes on.
  database("123use1", "124", "use1");
  const CommandStart start = startCommand(state, MenuItem::N13);
  EXPECT_FALSE(start.proceed);
  EXPECT_EQ(text(start.message),
            "S204 \"123use1_dbrn_eng.dat\" S707. S496: \"124use1_dbrn_eng.dat\".");
  EXPECT_EQ(state.formMode, 4);
  const CommandStart client = startCommand(state, MenuItem::N14);
  EXPECT_TRUE(client.proceed);
  EXPECT_FALSE(client.message);
}

TEST_F(MenuState, TheOptimiserIsOfferedOnlyWhileATaskIsQueued) {
  state.solveAtOnce = 1;
  EXPECT_FALSE(openSolvingMenu(state));
  EXPECT_EQ(state.solveAtOnce, 0);
  // None named as the optimiser would open it.
  for (const char* f :
       {"Solving/qj_AB12CD_out.dat", "Solving/qj_AB12C_in.dat", "Data/qj_AB12CD_in.dat",
        "Solving/QJ_AB12CD_IN.DAT", "Solving/qj_AB12CD_In.dat"})
    dir.write(f, "x");
  EXPECT_FALSE(openSolvingMenu(state));
  dir.write("Solving/qj_AB12CD_in.dat", "x");
  state.solveAtOnce = 1;
  EXPECT_TRUE(openSolvingMenu(state));
  EXPECT_EQ(state.solveAtOnce, 0);
}

}  // namespace
}  // namespace qj
