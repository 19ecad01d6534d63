// The windows' side of the database workbooks: the chooser's export hands its workbooks to
// the desktop, the wizard's import asks for a workbook and reads it.

#include "dbrn/ui/dbrn_workbooks.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTimer>

#include "app/program_windows.h"
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
    dir.write("Dbrn/002sys2_dbrn_eng.dat", writeDbrn(demoCity(2, "eng")));
  }
  void choose(const std::string& key) {
    main->state().selectedPath = (dir / ("Dbrn/" + key + "_dbrn_eng")).string();
  }

  test::ScriptedDesktop desktop;
  QLabel busy;
};

// The export runs on a worker while the event loop goes on, and hands both workbooks to the
// desktop; the import asks for a workbook and reads it back.
TEST_F(DatabaseWorkbooks, TheExportOpensBothWorkbooksAndTheImportReadsThemBack) {
  int ticks = 0;
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
  timer.start(0);
  busy.hide();
  choose("002sys2");
  EXPECT_FALSE(exportDbrnToWorkbook(*main, &busy));
  timer.stop();
  EXPECT_GT(ticks, 0);
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_TRUE(busy.isHidden());
  const QString exported = QString::fromStdString((dir / "Export/002sys2_dbrn_eng").string());
  EXPECT_EQ(desktop.opened, (std::vector<QString>{exported + ".xlsx", exported + "#.xlsx"}));

  desktop.chosen = exported + ".xlsx";
  const std::optional<ImportedDbrnWorkbook> imported = chooseDbrnWorkbook(*main, main.get(), &busy);
  ASSERT_TRUE(imported);
  EXPECT_EQ(desktop.captions, std::vector<QString>{"S207"});
  EXPECT_EQ(desktop.filters, std::vector<QString>{"S1280 (*.xlsx *.xls *.XLSX *.XLS)"});
  ASSERT_TRUE(imported->loaded);
  EXPECT_EQ(imported->workbookName, "002sys2_dbrn_eng.xlsx");
  EXPECT_EQ(imported->loaded->db.houses, demoCity(2, "eng").houses);
  EXPECT_EQ(busy.text(), "S115 ...");
  EXPECT_TRUE(busy.isHidden());

  desktop.chosen.clear();  // the dialog cancelled
  EXPECT_FALSE(chooseDbrnWorkbook(*main, main.get(), &busy));
}

TEST_F(DatabaseWorkbooks, AWorkbookThatNoProgramOpensIsNamedWithItsFolder) {
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
