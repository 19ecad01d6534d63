// The two viewers of the small town as the user reaches them (a menu command, the task
// chooser, OK), their title strips, and the output menu's Print and Export acting on the
// active viewer: the report becomes a PDF in Print/ when no printer is installed, the
// workbook lands in Export/, and what cannot be written or shown is said in a box.

#include <gtest/gtest.h>

#include <QApplication>
#include <QMdiSubWindow>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/USelectWin.h"
#include "frame/ui/viewer_kind.h"
#include "office/workbook_reader.h"
#include "platform/folders.h"
#include "platform/ui/design.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/print_reports.h"
#include "support/fake_print_system.h"
#include "support/task_fixture.h"
#include "support/temp_dir.h"
#include "support/town.h"
#include "support/ui/main_window_fixture.h"
#include "support/ui/scripted_desktop.h"
#include "text/ui/fit_caption.h"

namespace qj::ui {
namespace {

using test::settle;

QString cell(const QAbstractItemModel* m, int row, int col) {
  return m->index(row, col).data().toString();
}

QString pdfText(const std::string& pdf) {
  QProcess p;
  p.start("pdftotext", {QString::fromStdString(pdf), "-"});
  return p.waitForFinished(30000) ? QString::fromUtf8(p.readAllStandardOutput()) : QString();
}

// How many lines a cell's text takes in its grid column, broken at blanks as the style lays
// it out between its margins.
int cellLines(const GridView* grid, int row, int col) {
  const QString text = grid->model()->index(row, col).data().toString();
  const int margins = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
  const QFontMetrics metrics(grid->font());
  const QRect box = metrics.boundingRect(QRect(0, 0, grid->columnWidth(col) - margins, 10000),
                                         Qt::TextWordWrap, text);
  return text.isEmpty() ? 0 : (box.height() + metrics.leading()) / metrics.lineSpacing();
}

bool titleShown(const TitleStrip* titles, int c) {
  return titles->label(c)->isVisibleTo(titles);
}

// The height of the tallest shown title at its width.
int tallestTitle(const TitleStrip* titles) {
  int tallest = 0;
  for (int c = 0; c < titles->count(); ++c)
    if (titleShown(titles, c))
      tallest = std::max(tallest, titles->label(c)->heightForWidth(titles->titleWidth(c)));
  return tallest;
}

// The page size of a PDF document in points, and the box of each word on its first page
// (points from the top left), as pdftotext measures them.
struct PdfWord {
  QString text;
  double xMin, yMin, xMax, yMax;
};
struct PdfPage {
  double width = 0, height = 0;
  std::vector<PdfWord> words;
};
PdfPage pdfPage(const std::string& bytes) {
  test::TempDir dir;
  dir.write("report.pdf", bytes);
  QProcess p;
  p.start("pdftotext", {"-bbox", "-f", "1", "-l", "1",
                        QString::fromStdString((dir / "report.pdf").string()), "-"});
  if (!p.waitForFinished(30000)) return {};
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  PdfPage page;
  static const QRegularExpression pageBox(R"re(<page width="([\d.]+)" height="([\d.]+)")re");
  static const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
  if (const auto m = pageBox.match(html); m.hasMatch()) {
    page.width = m.captured(1).toDouble();
    page.height = m.captured(2).toDouble();
  }
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    page.words.push_back({m.captured(5), m.captured(1).toDouble(), m.captured(2).toDouble(),
                          m.captured(3).toDouble(), m.captured(4).toDouble()});
  }
  return page;
}

class Viewers : public test::MainWindowTest {
 protected:
  void SetUp() override {
    WindowFactory windows = programWindows();
    // A print system with no queue until a test gives it one, and a desktop PDF viewer that
    // the test plays.
    const ReportOutput output{&printers, [this](const QString& path) {
                                shownPdfs.push_back(path.toStdString());
                                return pdfViewerFound;
                              }};
    windows.printTask = [output](WindowHost& m, QWidget* v) { PrintTask(m, v, output); };
    windows.printSolution = [output](WindowHost& m, QWidget* v) { PrintSolution(m, v, output); };
    start({test::protocolRecord("TOWN01", "Morning round", SolutionLoaded)}, std::move(windows));
    dir.write("Data/qj_TOWN01.dat", writeTaskFile(test::townTask()));
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(test::townSolution()));
    dir.write("Dbrn/123use1_dbrn_eng.dat", writeDbrn(test::smallTown()));
    main->state().selectedPath = (dir / "Data/qj_TOWN01").string();
  }

  TfrmSelectWin* chooser() const {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* c = qobject_cast<TfrmSelectWin*>(w); c && c->isVisible()) return c;
    return nullptr;
  }
  // Runs a menu command and presses OK on the first task the chooser offers.
  template <typename Viewer>
  Viewer* choose(MenuItem command) {
    main->action(command)->trigger();
    TfrmSelectWin* c = chooser();
    if (!c) return nullptr;
    c->okButton()->click();
    settle();
    QMdiSubWindow* sub = main->mdiArea()->currentSubWindow();
    return sub ? qobject_cast<Viewer*>(sub->widget()) : nullptr;
  }
  // Opens a viewer straight from the factory, as the chooser's OK does.
  template <typename Viewer>
  Viewer* open(const WindowMaker& maker) {
    QWidget* w = maker(*main);
    if (!w) return nullptr;
    main->openViewer(w);
    settle();
    return qobject_cast<Viewer*>(w);
  }
  void activate(QWidget* viewer) {
    main->mdiArea()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(viewer->parentWidget()));
    settle();
  }
  void output(MenuItem item) {
    main->mnuOutClick();
    ASSERT_TRUE(main->action(item)->isEnabled());
    main->action(item)->trigger();
    settle();
  }
  std::vector<std::string> files(const char* folder) const {
    return listMatching(dir / folder, "*.*");
  }

  test::ScriptedDesktop desktop;
  test::FakePrintSystem printers;
  std::vector<std::string> shownPdfs;
  bool pdfViewerFound = true;
};

TEST_F(Viewers, TheSolutionViewerFromTheOutputMenuShowsItsListAndRoute) {
  main->state().texts.shellTexts[265] = "Transit section with its house numbers";
  main->state().texts.shellTexts[159] = "parked-at-points";
  auto* v = choose<TfrmViewSolution>(MenuItem::mnuOutViewSolution);
  ASSERT_NE(v, nullptr) << (messages->shown.empty() ? "" : messages->last().text);
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_EQ(chooser(), nullptr);
  EXPECT_TRUE(main->isEnabled());
  ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(viewerKind(v), ViewerKind::Solution);
  EXPECT_EQ(v->windowTitle(), "S768 \"Morning round\"");

  const QAbstractItemModel* params = v->VarList->model();
  EXPECT_EQ(params->headerData(1, Qt::Horizontal).toString(), "S197");
  EXPECT_EQ(params->rowCount(), static_cast<int>(v->view().parameters.size()));
  EXPECT_EQ(v->VarList->columnWidth(0), px(505));

  // Eight shown columns; the end nodes stay hidden. Reals take the regional separator.
  const QAbstractItemModel* route = v->sgSolution->grid()->model();
  EXPECT_EQ(route->columnCount(), kRouteShownColumns);
  EXPECT_EQ(route->rowCount(), 12);
  EXPECT_EQ(cell(route, 10, kRouteTurn), "2S214");
  // A served point's brackets stay on one line with their word.
  EXPECT_EQ(cell(route, 3, kRouteTurn), QString::fromUtf8("(\u00A0parked-at-points\u00A0)"));
  const GridView* grid = v->sgSolution->grid();
  EXPECT_LE(grid->fontMetrics().horizontalAdvance(cell(route, 3, kRouteTurn)) +
                2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1),
            grid->columnWidth(kRouteTurn));
  EXPECT_EQ(cell(route, 3, kRouteServiceStart),
            QString("0 s62 30") + QChar(regionalSeparator()) + QString("00 s24"));

  // Titles at their design widths scaled to the font, or wider within their limits where
  // that breaks fewer words; the columns under them by the viewer's rule.
  TitleStrip* titles = v->sgSolution->titles();
  ASSERT_EQ(titles->count(), kRouteShownColumns);
  for (int c = 0; c < kRouteShownColumns; ++c) {
    const int width = titles->titleWidth(c);
    EXPECT_GE(width, px(routeTitleWidths(c).design)) << c;
    EXPECT_LE(width, px(routeTitleWidths(c).max)) << c;
    EXPECT_EQ(v->sgSolution->columnWidth(c), routeGridColumnWidth(c, width)) << c;
    EXPECT_EQ(v->sgSolution->grid()->columnWidth(c), routeGridColumnWidth(c, width) + 1) << c;
  }

  // The titles stand right over the grid: no empty band lies between them.
  EXPECT_EQ(titles->height(), std::max(tallestTitle(titles), titles->fontMetrics().height()));

  // Dragging a title moves its column within its limits (140 to 220) and fits the title anew;
  // the titles take the height it then needs.
  QLabel* label = titles->label(kRouteSection);
  titles->dragSplitter(kRouteSection, px(140) - titles->titleWidth(kRouteSection));
  EXPECT_EQ(titles->height(), std::max(tallestTitle(titles), titles->fontMetrics().height()));
  EXPECT_EQ(titles->titleWidth(kRouteSection), px(140));
  EXPECT_EQ(v->sgSolution->columnWidth(kRouteSection), px(140) + 1);
  EXPECT_EQ(label->width(), px(140));
  EXPECT_EQ(label->text(),
            fittedCaption(label->font(), "Transit section with its house numbers", px(140)));
  EXPECT_EQ(titles->label(kRouteTurn)->x(), label->x() + px(140) + TitleStrip::kHandleWidth);
  // 140 is the least, 220 the most.
  titles->dragSplitter(kRouteSection, -30);
  EXPECT_EQ(titles->titleWidth(kRouteSection), px(140));
  titles->dragSplitter(kRouteSection, 500);
  EXPECT_EQ(titles->titleWidth(kRouteSection), px(220));
  EXPECT_EQ(v->sgSolution->columnWidth(kRouteSection), px(220) + 1);
  titles->dragSplitter(kRouteRowNo, -100);
  EXPECT_EQ(v->sgSolution->columnWidth(kRouteRowNo), px(40) - 1);
}

// The labels of the shown titles left to right, each right after the splitter of the one
// before it: a hidden title takes no room and draws no splitter.
void expectTitlesSideBySide(const TitleStrip* titles, int left) {
  int x = left;
  for (int c = 0; c < titles->count(); ++c) {
    if (!titleShown(titles, c)) continue;
    EXPECT_EQ(titles->label(c)->x(), x) << c;
    x += titles->titleWidth(c) + TitleStrip::kHandleWidth;
  }
}

TEST_F(Viewers, TheTaskViewerFromTheInputMenuHidesTheColumnsThatDoNotApply) {
  main->state().texts.shellTexts[162] = "Income of the point";
  main->state().texts.shellTexts[750] = "Waitingpenaltyperhour";
  main->state().texts.shellTexts[781] = "to the end of the reverse section";
  auto* v = choose<TfrmViewTask>(MenuItem::mnuInViewTask);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(viewerKind(v), ViewerKind::Task);
  EXPECT_EQ(v->windowTitle(), "S574 \"Morning round\"");
  EXPECT_EQ(v->Table->objectName(), "Table");
  EXPECT_EQ(cell(v->VarList->model(), 1, 1), "TOWN01");
  EXPECT_EQ(v->Table->grid()->model()->columnCount(), 16);
  EXPECT_EQ(v->Table->grid()->model()->rowCount(), 14);

  // No order mode: the order column and its title take no room and draw no rule, dragged or
  // not; the titles on either side of it stand side by side.
  TitleStrip* titles = v->Table->titles();
  for (const int drag : {0, 30}) {
    titles->dragSplitter(kTaskOrder, drag);
    EXPECT_FALSE(titleShown(titles, kTaskOrder));
    EXPECT_EQ(titles->titleWidth(kTaskOrder), 0);
    EXPECT_TRUE(v->Table->grid()->isColumnHidden(kTaskOrder));
    expectTitlesSideBySide(titles, v->Table->grid()->frameWidth());
  }
  for (int c = 0; c < titles->count(); ++c)
    EXPECT_EQ(v->Table->grid()->isColumnHidden(c), !titleShown(titles, c)) << c;
  EXPECT_EQ(titles->titleWidth(kTaskVolume), px(40));
  EXPECT_EQ(v->Table->columnWidth(kTaskAddress), px(160) + 1);
  // This title breaks inside a word at its design width: it is widened within its limit.
  QLabel* penalty = titles->label(kTaskWaitPenalty);
  EXPECT_GT(titles->titleWidth(kTaskWaitPenalty), px(52));
  EXPECT_LE(titles->titleWidth(kTaskWaitPenalty), px(72));
  EXPECT_EQ(penalty->text(), fittedCaption(penalty->font(), "Waitingpenaltyperhour (EUR)",
                                           titles->titleWidth(kTaskWaitPenalty)));
  // This one breaks between its words only and keeps its design width.
  QLabel* income = titles->label(kTaskIncome);
  EXPECT_EQ(titles->titleWidth(kTaskIncome), px(48));
  EXPECT_EQ(income->text(), "Income\nof the\npoint\n(EUR)");
  // Every transition kind, the longest too, reads in at most two lines; the separator row's
  // dashes are cut at the column rather than widening it.
  const GridView* grid = v->Table->grid();
  for (int r = 0; r < grid->model()->rowCount(); ++r)
    EXPECT_LE(cellLines(grid, r, kTaskTransitionKind), 2) << r;
  EXPECT_LT(grid->columnWidth(kTaskTransitionKind),
            grid->fontMetrics().horizontalAdvance(cell(grid->model(), 7, kTaskTransitionKind)));
}

// In a main window smaller than a viewer's design (a small screen) the viewer takes the room
// there is; its grid scrolls sideways to its last column and the titles follow their columns.
TEST_F(Viewers, InASmallMainWindowAViewerFitsAndItsGridScrollsSideways) {
  main->resize(px(700), px(480));
  main->show();
  settle();
  for (const MenuItem command : {MenuItem::mnuOutViewSolution, MenuItem::mnuInViewTask}) {
    main->action(command)->trigger();
    ASSERT_NE(chooser(), nullptr);
    chooser()->okButton()->click();
    settle();
    QMdiSubWindow* sub = main->mdiArea()->currentSubWindow();
    ASSERT_NE(sub, nullptr);
    EXPECT_TRUE(main->mdiArea()->viewport()->rect().contains(sub->geometry()));
    const auto* grid = sub->widget()->findChild<TitledGrid*>();
    ASSERT_NE(grid, nullptr);
    GridView* view = grid->grid();
    QScrollBar* bar = view->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    std::vector<int> before;
    for (int c = 0; c < grid->titles()->count(); ++c)
      before.push_back(grid->titles()->label(c)->x());
    bar->setValue(bar->maximum());
    settle();
    int last = view->model()->columnCount() - 1;
    while (last > 0 && view->isColumnHidden(last)) --last;
    EXPECT_LE(view->columnViewportPosition(last) + view->columnWidth(last),
              view->viewport()->width());
    for (int c = 0; c < grid->titles()->count(); ++c)
      if (titleShown(grid->titles(), c)) {
        EXPECT_EQ(grid->titles()->label(c)->x(), before[c] - bar->maximum()) << c;
      }
    sub->close();
    settle();
  }
}

TEST_F(Viewers, ADamagedSolutionIsRefusedAndTheChooserStaysOpen) {
  SolutionFile s = test::townSolution();
  s.steps[1].code = 40;  // a point the task does not have
  dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(s));
  EXPECT_EQ(choose<TfrmViewSolution>(MenuItem::mnuOutViewSolution), nullptr);
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{"S941 \"Data/qj_TOWN01_out.dat\" S943: S949."});
  ASSERT_NE(chooser(), nullptr);
  EXPECT_TRUE(main->mdiArea()->subWindowList().isEmpty());
  chooser()->close();
  settle();
  EXPECT_TRUE(main->isEnabled());
}

TEST_F(Viewers, PrintAndExportActOnTheActiveViewer) {
  // Words that a typeface could set with ligatures stay searchable in the PDF.
  main->state().texts.shellTexts[745] = "Profit of the final office";
  QWidget* task = open<TfrmViewTask>(main->windows().taskViewer);
  auto* solution = open<TfrmViewSolution>(main->windows().solutionViewer);
  ASSERT_TRUE(task && solution);
  // Another task chosen since does not change what a viewer prints or exports.
  main->state().selectedPath = (dir / "Data/qj_OTHER1").string();

  activate(task);
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(shownPdfs.size(), 1u);
  EXPECT_EQ(std::filesystem::path(shownPdfs[0]).parent_path(), dir / "Print");
  EXPECT_TRUE(
      std::filesystem::path(shownPdfs[0]).filename().string().starts_with("qj_TOWN01_task_"));
  const QString taskText = pdfText(shownPdfs[0]);
  for (const char* shown : {"S88 \"Morning round\"", "S405", "st. Main, 25", "----------",
                            "Profit of the final office"})
    EXPECT_TRUE(taskText.contains(shown)) << shown << "\n" << taskText.toStdString();
  output(MenuItem::mnuOutExpInExcel);
  ASSERT_EQ(desktop.opened.size(), 1u);
  EXPECT_EQ(desktop.opened[0].toStdString(), (dir / "Export/qj_TOWN01.xlsx").string());
  const office::WorkbookRead taskBook = office::readWorkbook(dir / "Export/qj_TOWN01.xlsx");
  ASSERT_TRUE(taskBook.book) << taskBook.detail;
  EXPECT_EQ(taskBook.book->sheets().size(), 3u);
  EXPECT_EQ(taskBook.book->sheets()[2].cell(11, 3), "5: 3");

  activate(solution);
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(shownPdfs.size(), 2u);
  const QString text = pdfText(shownPdfs[1]);
  // Rows as tall as their cells: the route fits under the long parameter list.
  EXPECT_EQ(text.count(QChar('\f')), 1);
  EXPECT_TRUE(text.contains("S599 \"Morning round\"")) << text.toStdString();
  for (const char* row : {"1", "2", "11", "12"})
    EXPECT_TRUE(text.contains(QString("\n%1\n").arg(row))) << row;
  output(MenuItem::mnuOutExpInExcel);
  const office::WorkbookRead book = office::readWorkbook(dir / "Export/qj_TOWN01_out.xlsx");
  ASSERT_TRUE(book.book) << book.detail;
  EXPECT_EQ(book.book->sheets()[1].rowCount(), solution->view().route.rows() + 1);

  // Again in the same second: new files beside the first ones.
  output(MenuItem::mnuOutPrint);
  output(MenuItem::mnuOutExpInExcel);
  EXPECT_EQ(files("Print").size(), 3u);
  EXPECT_EQ(files("Export"), (std::vector<std::string>{"qj_TOWN01.xlsx", "qj_TOWN01_out (2).xlsx",
                                                       "qj_TOWN01_out.xlsx"}));
  EXPECT_TRUE(messages->shown.empty()) << messages->last().text;
  EXPECT_EQ(main->state().selectedPath, (dir / "Data/qj_OTHER1").string());
}

TEST_F(Viewers, WhatCannotBeWrittenOrShownIsSaidInABox) {
  pdfViewerFound = false;
  desktop.opens = false;
  QWidget* viewer = open<TfrmViewTask>(main->windows().taskViewer);
  ASSERT_NE(viewer, nullptr);
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(files("Print").size(), 1u);
  output(MenuItem::mnuOutExpInExcel);
  EXPECT_EQ(messages->texts(),
            (std::vector<std::string>{
                "S962 \"" + files("Print")[0] + "\" S963 \"" + (dir / "Print").string() + "\".",
                "S952 \"qj_TOWN01.xlsx\" S963 \"" + (dir / "Export").string() + "\", S953."}));
  // Both are notices of where a file was left, with one icon.
  EXPECT_EQ(messages->shown[0].kind, messages->shown[1].kind);

  messages->clear();
  std::filesystem::remove_all(dir / "Print");
  std::filesystem::remove_all(dir / "Export");
  dir.write("Print", "a file where the folder should be");
  dir.write("Export", "a file where the folder should be");
  output(MenuItem::mnuOutPrint);
  output(MenuItem::mnuOutExpInExcel);
  ASSERT_EQ(messages->shown.size(), 2u);
  EXPECT_EQ(messages->shown[0].kind, MessageKind::Error);
  EXPECT_TRUE(messages->shown[0].text.starts_with("S961 \"" + (dir / "Print").string() + "/"));
  EXPECT_EQ(messages->shown[1].text, "S465...");
  EXPECT_EQ(shownPdfs.size(), 1u);
  EXPECT_EQ(desktop.opened.size(), 1u);
  // The viewer stays open and usable.
  ASSERT_EQ(main->mdiArea()->subWindowList().size(), 1);
  EXPECT_EQ(main->mdiArea()->subWindowList()[0]->widget(), viewer);
}

// A report goes to the default queue laid out on the queue's paper: on Letter, the title and
// the page number keep their margins from the paper's edges. A queue that refuses the job, or
// fails it, leaves the report as a file in Print/, and the box says so; a paused queue holds
// it, and the box says that too.
TEST_F(Viewers, PrintingFollowsTheQueuesPaperAndItsVerdict) {
  auto* solution = open<TfrmViewSolution>(main->windows().solutionViewer);
  ASSERT_NE(solution, nullptr);
  printers.queue = PrintQueue{"Office Letter", kPaperLetter};
  output(MenuItem::mnuOutPrint);
  EXPECT_TRUE(messages->shown.empty()) << messages->last().text;
  ASSERT_EQ(printers.jobs.size(), 1u);
  EXPECT_EQ(printers.jobs[0].queue, "Office Letter");
  EXPECT_EQ(printers.jobs[0].title, "S599 \"Morning round\"");
  EXPECT_TRUE(shownPdfs.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "Print"));
  const PdfPage page = pdfPage(printers.jobs[0].pdf);
  EXPECT_NEAR(page.width, 612, 1);
  EXPECT_NEAR(page.height, 792, 1);
  ASSERT_FALSE(page.words.empty());
  for (const PdfWord& w : page.words) {
    EXPECT_GE(w.yMin, 28) << w.text.toStdString();  // 10 mm from the edges, less a little
    EXPECT_LE(w.yMax, page.height - 28) << w.text.toStdString();
    EXPECT_LE(w.xMax, page.width - 28) << w.text.toStdString();
  }
  EXPECT_EQ(page.words.front().text, "S599");
  EXPECT_EQ(page.words.back().text, "1");  // the page number, at the bottom
  EXPECT_GT(page.words.back().yMin, page.height - 60);

  printers.fate = JobFate::Refused;
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(files("Print").size(), 1u);
  EXPECT_EQ(shownPdfs, std::vector<std::string>{(dir / "Print" / files("Print")[0]).string()});
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{"S960 \"Office Letter\". S964 \"" + files("Print")[0] +
                                     "\" S963 \"" + (dir / "Print").string() + "\"."});
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
  EXPECT_NEAR(pdfPage(dir.read("Print/" + files("Print")[0])).height, 792, 1);

  messages->clear();
  printers.fate = JobFate::Paused;
  output(MenuItem::mnuOutPrint);
  EXPECT_EQ(messages->texts(), std::vector<std::string>{"S965 \"Office Letter\"."});
  EXPECT_EQ(files("Print").size(), 1u);
  EXPECT_EQ(printers.jobs.size(), 3u);
}

// The window is free as soon as the print system has taken the job. The job is followed: when
// the print system aborts it later, the report becomes a file in Print/ at once, and a notice in
// the print system's words waits for the wizard open meanwhile to close; a job printed at last
// is heard of no more. A print system that does not answer leaves the report as a file too, and the
// box says so. A job still queued as the program closes has its report kept, with the printer said.
TEST_F(Viewers, AJobThatFailsLaterIsToldAndTheReportKept) {
  auto* task = open<TfrmViewTask>(main->windows().taskViewer);
  ASSERT_NE(task, nullptr);
  printers.queue = PrintQueue{"Office", kPaperA4};
  output(MenuItem::mnuOutPrint);
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(printers.jobs.size(), 2u);
  EXPECT_TRUE(messages->shown.empty());
  EXPECT_FALSE(std::filesystem::exists(dir / "Print"));

  main->runCommand(MenuItem::N10);
  settle();
  QWidget* wizard = QApplication::activeModalWidget();
  ASSERT_NE(wizard, nullptr);
  printers.heard = {{2, JobFate::Printed, ""}, {1, JobFate::Aborted, "Out of order"}};
  QTest::qWait(1200);
  EXPECT_TRUE(messages->shown.empty());
  ASSERT_EQ(files("Print").size(), 1u);  // kept at once
  wizard->close();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->shown.empty(); }, 3000));
  ASSERT_EQ(files("Print").size(), 1u);
  EXPECT_EQ(dir.read("Print/" + files("Print")[0]), printers.jobs[0].pdf);
  EXPECT_EQ(shownPdfs, std::vector<std::string>{(dir / "Print" / files("Print")[0]).string()});
  EXPECT_EQ(
      messages->texts(),
      std::vector<std::string>{"S960 \"Office\". S1262: Out of order. S964 \"" + files("Print")[0] +
                               "\" S963 \"" + (dir / "Print").string() + "\"."});
  EXPECT_TRUE(messages->last().unasked);
  // Both jobs have ended: later news of them is not heard.
  printers.heard = {{1, JobFate::Aborted, ""}, {2, JobFate::Aborted, ""}};
  QTest::qWait(1200);
  EXPECT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(files("Print").size(), 1u);

  messages->clear();
  printers.queue.reset();
  printers.answered = false;
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(files("Print").size(), 2u);
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{"S1260 S964 \"" + files("Print")[1] + "\" S963 \"" +
                                     (dir / "Print").string() + "\"."});
  EXPECT_FALSE(messages->last().unasked);
  EXPECT_EQ(printers.jobs.size(), 2u);

  messages->clear();
  printers.queue = PrintQueue{"Office", kPaperA4};
  printers.answered = true;
  output(MenuItem::mnuOutPrint);
  ASSERT_EQ(printers.jobs.size(), 3u);
  const std::vector<std::string> before = files("Print");
  main->close();
  settle();
  std::vector<std::string> kept = files("Print");
  std::erase_if(kept, [&](const std::string& f) { return std::ranges::count(before, f) != 0; });
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(dir.read("Print/" + kept[0]), printers.jobs[2].pdf);
  EXPECT_EQ(messages->texts(),
            std::vector<std::string>{"S1275 \"" + (dir / "Print").string() + "\": \"" + kept[0] +
                                     "\" S1274 \"Office\"."});
  EXPECT_FALSE(messages->last().unasked);
}

}  // namespace
}  // namespace qj::ui
