#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <cmath>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/UMainWin.h"
#include "frame/ui/viewer_kind.h"
#include "platform/design_scale.h"
#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "support/town.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"
#include "text/hyphenate.h"
#include "text/ui/fit_caption.h"

namespace qj::ui {
namespace {

using test::markedShell;
using test::TempDir;

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

QString cell(const GridView* view, int row, int col) {
  return view->model()->index(row, col).data().toString();
}

// The main window of a program folder that holds the small town, its task and its solution,
// with the program's own windows.
class Viewers : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellTables shell = markedShell();
    shell.shellTexts[265] = "Transit section with its house numbers";
    test::writeShellFile(dir, "eng", shell);
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), programWindows());
    ASSERT_TRUE(main->startupComplete());
    messages->clear();
    main->state().selectedPath = (dir / "Data/qj_TOWN01").string();
  }
  void TearDown() override {
    main.reset();
    settle();
  }

  void writeTown(const char* kind = "use1") {
    dir.write("Data/qj_TOWN01.dat", writeTaskFile(test::townTask(kind)));
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(test::townSolution()));
    const DbrnFile db = test::smallTown(kind);
    dir.write("Dbrn/" + dbrnFileName(db.header.dbCode, kind, "eng"), writeDbrn(db));
  }

  // Opens a viewer as the task chooser does: the factory's entry, then an MDI child.
  template <typename Viewer>
  Viewer* open(const WindowMaker& maker) {
    QWidget* w = maker(*main);
    if (!w) return nullptr;
    main->openViewer(w);
    settle();
    return qobject_cast<Viewer*>(w);
  }
  TfrmViewSolution* openSolution() {
    return open<TfrmViewSolution>(main->windows().solutionViewer);
  }
  TfrmViewTask* openTask() { return open<TfrmViewTask>(main->windows().taskViewer); }

  // The caption a title label gets at its width in its own font.
  static QString fitted(QLabel* label, const std::string& text, int width) {
    return fittedCaption(label->font(), text, width);
  }

  TempDir dir;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<TfrmMainWin> main;
};

TEST_F(Viewers, SolutionViewerOpensAsAnMdiChildWithEverythingPrepared) {
  writeTown();
  TfrmViewSolution* v = openSolution();
  ASSERT_NE(v, nullptr) << (messages->shown.empty() ? "" : messages->last().text);
  EXPECT_TRUE(messages->shown.empty());
  ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(main->mdiArea()->subWindowList()[0]->widget(), v);
  EXPECT_EQ(viewerKind(v), ViewerKind::Solution);
  EXPECT_EQ(v->windowTitle(), "S768 \"Morning round\"");
  EXPECT_TRUE(main->isEnabled());

  // The parameter list under its two titles.
  QAbstractItemModel* params = v->VarList->model();
  EXPECT_EQ(params->headerData(0, Qt::Horizontal).toString(), "S483");
  EXPECT_EQ(params->headerData(1, Qt::Horizontal).toString(), "S197");
  EXPECT_EQ(params->rowCount(), static_cast<int>(v->view().parameters.size()));
  EXPECT_EQ(cell(v->VarList, 0, 0), "S541");
  EXPECT_EQ(cell(v->VarList, 0, 1), "1");
  EXPECT_EQ(v->VarList->columnWidth(0), px(505));

  // The route: eight shown columns of twelve rows; the end nodes stay hidden.
  const GridView* grid = v->sgSolution->grid();
  EXPECT_EQ(grid->model()->columnCount(), kRouteShownColumns);
  EXPECT_EQ(grid->model()->rowCount(), 12);
  EXPECT_EQ(cell(grid, 10, kRouteTurn), "2S214");
  EXPECT_EQ(cell(grid, 11, kRoutePoint), "3 (s17) (4)");
  EXPECT_EQ(cell(grid, 3, kRouteServiceStart),
            QString("0 s62 30") + QChar(regionalSeparator()) + QString("00 s24"));

  // Titles at their design widths scaled to the font in use, or wider within their limits
  // where that breaks fewer words; columns under them by the viewer's rule (the view counts
  // its grid line inside the column).
  TitleStrip* titles = v->sgSolution->titles();
  ASSERT_EQ(titles->count(), kRouteShownColumns);
  for (int c = 0; c < kRouteShownColumns; ++c) {
    const int width = titles->titleWidth(c);
    EXPECT_GE(width, px(routeTitleWidths(c).design)) << c;
    EXPECT_LE(width, px(routeTitleWidths(c).max)) << c;
    EXPECT_EQ(v->sgSolution->columnWidth(c), routeGridColumnWidth(c, width));
    EXPECT_EQ(grid->columnWidth(c), routeGridColumnWidth(c, width) + 1);
  }
  EXPECT_EQ(titles->label(kRouteRowNo)->text(), "S519");
  EXPECT_EQ(titles->titleWidth(kRouteRowNo), px(67));

  // The output menu acts on it.
  main->mnuOutClick();
  EXPECT_TRUE(main->action(MenuItem::mnuOutPrint)->isEnabled());
  EXPECT_TRUE(main->action(MenuItem::mnuOutExpInExcel)->isEnabled());
}

TEST_F(Viewers, DraggingATitleSplitterMovesItsColumnAndFitsItsTitleAnew) {
  writeTown();
  TfrmViewSolution* v = openSolution();
  ASSERT_NE(v, nullptr);
  TitleStrip* titles = v->sgSolution->titles();
  QLabel* label = titles->label(kRouteSection);
  titles->dragSplitter(kRouteSection, px(140) - titles->titleWidth(kRouteSection));
  EXPECT_EQ(titles->titleWidth(kRouteSection), px(140));
  EXPECT_EQ(v->sgSolution->columnWidth(kRouteSection), px(140) + 1);
  EXPECT_EQ(label->width(), px(140));
  const std::string title = "Transit section with its house numbers";
  EXPECT_EQ(label->text(), fitted(label, title, px(140)));
  // The labels to the right moved along.
  EXPECT_EQ(titles->label(kRouteTurn)->x(), label->x() + px(140) + TitleStrip::kHandleWidth);
  // The limits hold: 140 is the least, 220 the most.
  titles->dragSplitter(kRouteSection, -30);
  EXPECT_EQ(titles->titleWidth(kRouteSection), px(140));
  titles->dragSplitter(kRouteSection, 500);
  EXPECT_EQ(titles->titleWidth(kRouteSection), px(220));
  EXPECT_EQ(v->sgSolution->columnWidth(kRouteSection), px(220) + 1);
  titles->dragSplitter(kRouteRowNo, -100);
  EXPECT_EQ(v->sgSolution->columnWidth(kRouteRowNo), px(40) - 1);
}

TEST_F(Viewers, NarrowTitlesBreakWithHyphens) {
  writeTown();
  ShellTables& texts = main->state().texts;
  texts.shellTexts[406] = "Pointnumberwithvisitofthepoint";
  TfrmViewSolution* v = openSolution();
  ASSERT_NE(v, nullptr);
  QLabel* label = v->sgSolution->titles()->label(kRoutePoint);
  // Broken where the design breaks it at the title's width.
  const int width = v->sgSolution->titles()->titleWidth(kRoutePoint);
  EXPECT_EQ(fromQt(label->text()),
            hyphenateToWidth("Pointnumberwithvisitofthepoint",
                             static_cast<int>(std::lround(width / designScale())), designAdvance));
  EXPECT_TRUE(label->text().contains("- "));
}

TEST_F(Viewers, TaskViewerOfALevelOneTaskPinsTheColumnsThatDoNotApply) {
  writeTown();
  TfrmViewTask* v = openTask();
  ASSERT_NE(v, nullptr) << (messages->shown.empty() ? "" : messages->last().text);
  EXPECT_EQ(viewerKind(v), ViewerKind::Task);
  EXPECT_EQ(v->windowTitle(), "S574 \"Morning round\"");
  EXPECT_EQ(v->Table->objectName(), "Table");
  EXPECT_EQ(cell(v->VarList, 1, 1), "TOWN01");
  const GridView* grid = v->Table->grid();
  EXPECT_EQ(grid->model()->columnCount(), 16);
  EXPECT_EQ(grid->model()->rowCount(), 14);
  EXPECT_EQ(cell(grid, 7, 1), QString(52, '-'));

  TitleStrip* titles = v->Table->titles();
  // No order mode: the order column is one pixel wide, its title empty, and it stays so.
  EXPECT_EQ(titles->titleWidth(kTaskOrder), 1);
  EXPECT_TRUE(titles->label(kTaskOrder)->text().isEmpty());
  EXPECT_EQ(v->Table->columnWidth(kTaskOrder), 2);
  titles->dragSplitter(kTaskOrder, 30);
  EXPECT_EQ(titles->titleWidth(kTaskOrder), 1);
  EXPECT_EQ(v->Table->columnWidth(kTaskOrder), 2);
  EXPECT_TRUE(titles->label(kTaskOrder)->text().isEmpty());
  // Columns that apply keep their design widths, scaled to the font in use.
  EXPECT_EQ(titles->titleWidth(kTaskVolume), px(40));
  EXPECT_EQ(v->Table->columnWidth(kTaskPointNo), px(46) - 1);
  EXPECT_EQ(v->Table->columnWidth(kTaskAddress), px(160) + 1);
  EXPECT_EQ(
      titles->label(kTaskWaitPenalty)->text(),
      fitted(titles->label(kTaskWaitPenalty), "S750 (EUR)", titles->titleWidth(kTaskWaitPenalty)));
  // That title breaks inside a word at its design width: it is widened, within its limit.
  EXPECT_GT(titles->titleWidth(kTaskWaitPenalty), px(52));
  EXPECT_LE(titles->titleWidth(kTaskWaitPenalty), px(72));
  EXPECT_FALSE(titles->label(kTaskWaitPenalty)->text().contains("- "));
}

TEST_F(Viewers, TaskViewerOfALevelTwoTaskHasOneRowPerPoint) {
  writeTown("use2");
  TfrmViewTask* v = openTask();
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->Table->objectName(), "Table1");
  EXPECT_EQ(v->Table->grid()->model()->columnCount(), 11);
  EXPECT_EQ(v->Table->grid()->model()->rowCount(), 4);
  EXPECT_EQ(v->Table->titles()->titleWidth(5), 1);  // the order column
  EXPECT_EQ(cell(v->Table->grid(), 0, 0), "1 (s11)");
}

TEST_F(Viewers, SeveralViewersAtOnce) {
  writeTown();
  ASSERT_NE(openTask(), nullptr);
  ASSERT_NE(openSolution(), nullptr);
  ASSERT_NE(openSolution(), nullptr);
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 3);
  main->mdiArea()->subWindowList()[0]->close();
  settle();
  EXPECT_EQ(main->mdiArea()->subWindowList().size(), 2);
}

TEST_F(Viewers, BadFilesGiveAMessageAndNoWindow) {
  EXPECT_EQ(openTask(), nullptr);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
  EXPECT_EQ(messages->last().text, "S940 \"Data/qj_TOWN01.dat\" S942.");
  EXPECT_EQ(openSolution(), nullptr);
  EXPECT_EQ(messages->last().text, "S940 \"Data/qj_TOWN01.dat\" S942.");

  writeTown();
  dir.write("Data/qj_TOWN01_out.dat", "too short");
  EXPECT_EQ(openSolution(), nullptr);
  EXPECT_EQ(messages->last().text, "S941 \"Data/qj_TOWN01_out.dat\" S943: S944.");
  EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
  EXPECT_TRUE(main->isEnabled());
}

}  // namespace
}  // namespace qj::ui
