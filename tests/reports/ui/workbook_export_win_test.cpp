// The output menu's Excel command on the two viewers of the small town: the workbook lands
// in Export/ under a new name each time and goes to the desktop's spreadsheet program; what
// cannot be written or opened is said in a box.

#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/UMainWin.h"
#include "office/workbook_reader.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "support/town.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "support/ui/main_window_fixture.h"
#include "support/ui/scripted_desktop.h"

namespace qj::ui {
namespace {

using test::settle;

class WorkbookExport : public ::testing::Test {
 protected:
  void SetUp() override {
    test::writeShellFile(dir, "eng", test::markedShell());
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), programWindows());
    ASSERT_TRUE(main->startupComplete());
    messages->clear();
    dir.write("Data/qj_TOWN01.dat", writeTaskFile(test::townTask("use1")));
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(test::townSolution()));
    const DbrnFile db = test::smallTown("use1");
    dir.write("Dbrn/" + dbrnFileName(db.header.dbCode, "use1", "eng"), writeDbrn(db));
    main->state().selectedPath = (dir / "Data/qj_TOWN01").string();
  }
  void TearDown() override {
    main.reset();
    settle();
  }

  // Opens a viewer as the task chooser does and makes it the active MDI child.
  QWidget* open(const WindowMaker& maker) {
    QWidget* w = maker(*main);
    if (!w) return nullptr;
    main->openViewer(w);
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(w->parentWidget()));
    settle();
    return w;
  }
  void exportActive() {
    main->runCommand(MenuItem::mnuOutExpInExcel);
    settle();
  }
  std::vector<std::string> exported() const {
    std::vector<std::string> names;
    if (fs::exists(dir / "Export"))
      for (const auto& e : fs::directory_iterator(dir / "Export"))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  test::TempDir dir;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<TfrmMainWin> main;
  test::ScriptedDesktop desktop;
};

TEST_F(WorkbookExport, TheTaskViewerExportsItsWorkbookAndTheDesktopOpensIt) {
  ASSERT_NE(open(main->windows().taskViewer), nullptr);
  // Another task chosen since does not change what this viewer exports.
  main->state().selectedPath = (dir / "Data/qj_OTHER1").string();
  exportActive();
  EXPECT_TRUE(messages->shown.empty()) << messages->last().text;
  ASSERT_EQ(exported(), std::vector<std::string>{"qj_TOWN01.xlsx"});
  ASSERT_EQ(desktop.opened.size(), 1u);
  EXPECT_EQ(desktop.opened[0].toStdString(), (dir / "Export/qj_TOWN01.xlsx").string());
  EXPECT_EQ(main->state().selectedPath, (dir / "Data/qj_OTHER1").string());

  const office::WorkbookRead read = office::readWorkbook(dir / "Export/qj_TOWN01.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  ASSERT_EQ(read.book->sheets().size(), 3u);
  EXPECT_EQ(read.book->sheets()[0].cell(1, 1), "TOWN01");
  EXPECT_EQ(read.book->sheets()[1].cell(4, 4), "Elm");
  EXPECT_EQ(read.book->sheets()[2].cell(11, 3), "5: 3");

  // Exporting again gives a second workbook beside the first.
  exportActive();
  EXPECT_EQ(exported(), (std::vector<std::string>{"qj_TOWN01 (2).xlsx", "qj_TOWN01.xlsx"}));
}

TEST_F(WorkbookExport, TheSolutionViewerExportsItsParametersAndRoute) {
  auto* viewer = qobject_cast<TfrmViewSolution*>(open(main->windows().solutionViewer));
  ASSERT_NE(viewer, nullptr);
  exportActive();
  EXPECT_TRUE(messages->shown.empty());
  ASSERT_EQ(exported(), std::vector<std::string>{"qj_TOWN01_out.xlsx"});
  const office::WorkbookRead read = office::readWorkbook(dir / "Export/qj_TOWN01_out.xlsx");
  ASSERT_TRUE(read.book) << read.detail;
  const office::Sheet& route = read.book->sheets()[1];
  EXPECT_EQ(route.name(), "S434");
  EXPECT_EQ(route.cell(0, 0), "S519");
  EXPECT_EQ(route.rowCount(), viewer->view().route.rows() + 1);
  EXPECT_EQ(route.cell(11, kRouteTurn), viewer->view().route.cell(10, kRouteTurn));
}

TEST_F(WorkbookExport, AWorkbookNothingOpensIsNamedInABox) {
  desktop.opens = false;
  ASSERT_NE(open(main->windows().taskViewer), nullptr);
  exportActive();
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().kind, MessageKind::Warning);
  EXPECT_EQ(messages->last().text,
            "S952 \"qj_TOWN01.xlsx\" S963 \"" + (dir / "Export").string() + "\", S953.");
}

TEST_F(WorkbookExport, AWorkbookThatCannotBeWrittenGivesTheExportMessage) {
  dir.write("Export", "a file where the folder should be");
  QWidget* viewer = open(main->windows().solutionViewer);
  ASSERT_NE(viewer, nullptr);
  exportActive();
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
  EXPECT_EQ(messages->last().text, "S465...");
  EXPECT_TRUE(desktop.opened.empty());
  // The viewer stays open and usable.
  ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(main->mdiArea()->subWindowList()[0]->widget(), viewer);
}

}  // namespace
}  // namespace qj::ui
