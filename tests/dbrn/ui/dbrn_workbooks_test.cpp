// The windows' side of the database workbooks: the chooser's export hands its workbooks to
// the desktop, the wizard's import asks for a workbook and reads it.

#include "dbrn/ui/dbrn_workbooks.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>

#include "app/program_windows.h"
#include "dbrn/client_addition.h"
#include "dbrn/dbrn_io.h"
#include "democity/demo_city.h"
#include "support/ui/main_window_fixture.h"
#include "support/ui/scripted_desktop.h"

namespace qj::ui {
namespace {

class DatabaseWorkbooks : public test::MainWindowTest {
 protected:
  void SetUp() override {
    start({}, programWindows());
    const DbrnFile sys2 = demoCity(2, "eng");
    dir.write("Dbrn/002sys2_dbrn_eng.dat", writeDbrn(sys2));
    dir.write("Dbrn/002cli2_dbrn_eng.dat", writeDbrn(clientAdditionOf(sys2)));
  }
  void choose(const std::string& key) {
    main->state().selectedPath = (dir / ("Dbrn/" + key + "_dbrn_eng")).string();
  }

  test::ScriptedDesktop desktop;
  QLabel busy;
};

TEST_F(DatabaseWorkbooks, TheExportOpensBothWorkbooksAndTheImportReadsThemBack) {
  busy.hide();
  choose("002sys2");
  EXPECT_FALSE(exportDbrnToWorkbook(*main, &busy));
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_TRUE(busy.isHidden());
  const QString exported = QString::fromStdString((dir / "Export/002sys2_dbrn_eng").string());
  ASSERT_EQ(desktop.opened.size(), 2u);
  EXPECT_EQ(desktop.opened[0], exported + ".xlsx");
  EXPECT_EQ(desktop.opened[1], exported + "#.xlsx");

  desktop.chosen = exported + ".xlsx";
  const std::optional<ImportedDbrnWorkbook> imported = chooseDbrnWorkbook(*main, main.get(), &busy);
  ASSERT_TRUE(imported);
  ASSERT_EQ(desktop.captions.size(), 1u);
  EXPECT_EQ(desktop.captions[0], "S207");
  EXPECT_TRUE(desktop.filters[0].contains("*.xlsx"));
  ASSERT_TRUE(imported->loaded);
  EXPECT_TRUE(imported->messages.empty());
  EXPECT_EQ(imported->workbookName, "002sys2_dbrn_eng.xlsx");
  EXPECT_EQ(imported->loaded->db.houses, demoCity(2, "eng").houses);
  EXPECT_EQ(busy.text(), "S115 ...");
  EXPECT_TRUE(busy.isHidden());

  desktop.chosen.clear();  // the dialog cancelled
  EXPECT_FALSE(chooseDbrnWorkbook(*main, main.get(), &busy));
}

TEST_F(DatabaseWorkbooks, TheEventLoopGoesOnWhileTheExportRunsAndTheResultIsTakenOver) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(0);
  choose("002sys2");
  EXPECT_FALSE(exportDbrnToWorkbook(*main, &busy));
  timer.stop();
  EXPECT_GT(ticks, 0);
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_EQ(desktop.opened.size(), 2u);
}

TEST_F(DatabaseWorkbooks, RefusalsAndWorkbooksNothingOpens) {
  choose("002cli2");
  EXPECT_TRUE(exportDbrnToWorkbook(*main));
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S28."});
  EXPECT_TRUE(desktop.opened.empty());

  messages->clear();
  desktop.opens = false;
  choose("002sys2");
  EXPECT_FALSE(exportDbrnToWorkbook(*main));
  const std::string folder = " S963 \"" + (dir / "Export").string() + "\", S953.";
  EXPECT_EQ(messages->texts(),
            (std::vector<std::string>{"S952 \"002sys2_dbrn_eng.xlsx\"" + folder,
                                      "S952 \"002sys2_dbrn_eng#.xlsx\"" + folder}));
}

}  // namespace
}  // namespace qj::ui
