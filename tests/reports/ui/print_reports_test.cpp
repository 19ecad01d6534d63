// The output menu's print command on the active viewer, with no printer installed: the
// report becomes a PDF file in the Print folder, handed to the desktop's viewer.

#include "reports/ui/print_reports.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>

#include "app/program_windows.h"
#include "dbrn/dbrn_io.h"
#include "frame/ui/UMainWin.h"
#include "platform/folders.h"
#include "reports/ui/UViewSolutionWin.h"
#include "reports/ui/UViewTaskWin.h"
#include "reports/ui/qt_page_canvas.h"
#include "support/town.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj::ui {
namespace {

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// The text of a PDF file, as poppler reads it.
QString pdfText(const std::filesystem::path& pdf) {
  QProcess p;
  p.start(QStringLiteral("pdftotext"), {QString::fromStdString(pdf.string()), QStringLiteral("-")});
  if (!p.waitForFinished(30000)) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

int pdfPages(const QString& text) {
  return static_cast<int>(text.count(QChar('\f')));
}

// The Qt canvas lays reports out at 600 pixels per inch on A4 within 10 mm margins, and
// places a text by its top-left corner as the report expects.
TEST(QtPageCanvas, MeasuresTheA4PageAt600DpiAndPlacesTextsByTheirTopLeftCorner) {
  test::TempDir dir;
  const std::filesystem::path pdfPath = dir / "canvas.pdf";
  int height = 0;
  {
    QPdfWriter pdf(QString::fromStdString(pdfPath.string()));
    pdf.setResolution(600);
    pdf.setPageLayout(reportPageLayout());
    QPainter painter(&pdf);
    QtPageCanvas canvas(painter, pdf);
    // 190 x 277 mm, A4 taken in whole points (595 x 842) as Qt does.
    EXPECT_EQ(canvas.pageWidth(), 4492);
    EXPECT_EQ(canvas.pageHeight(), 6551);
    height = canvas.textHeight();
    // DejaVu Sans at 9 points: a line of about 10.5 points.
    EXPECT_NEAR(height, 10.5 / 72 * 600, 6);
    EXPECT_GT(canvas.textWidth("WW"), canvas.textWidth("ii"));
    canvas.setBold(true);
    EXPECT_GT(canvas.textWidth("Bold text"), 0);
    canvas.setBold(false);
    canvas.text(1200, 600, "Corner");
    canvas.newPage();
    canvas.text(600, 1200, "Second");
  }
  // poppler's box of a word runs from its font's ascent above the baseline: its top is the
  // corner the text was placed at, 10 mm margin (28.35 points) included.
  QProcess p;
  p.start("pdftotext", {"-bbox", QString::fromStdString(pdfPath.string()), "-"});
  ASSERT_TRUE(p.waitForFinished(30000));
  const QString html = QString::fromUtf8(p.readAllStandardOutput());
  const QRegularExpression word(
      R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">(\w+)</word>)re");
  std::map<std::string, std::array<double, 3>> boxes;
  for (auto it = word.globalMatch(html); it.hasNext();) {
    const auto m = it.next();
    boxes[m.captured(4).toStdString()] = {m.captured(1).toDouble(), m.captured(2).toDouble(),
                                          m.captured(3).toDouble()};
  }
  ASSERT_EQ(boxes.count("Corner"), 1u) << html.toStdString();
  const double margin = 10 / 25.4 * 72;
  EXPECT_NEAR(boxes["Corner"][0], margin + 1200 / 600.0 * 72, 1.0);
  EXPECT_NEAR(boxes["Corner"][1], margin + 600 / 600.0 * 72, 1.0);
  EXPECT_NEAR(boxes["Corner"][2] - boxes["Corner"][1], height / 600.0 * 72, 1.0);
  ASSERT_EQ(boxes.count("Second"), 1u);
  EXPECT_NEAR(boxes["Second"][1], margin + 1200 / 600.0 * 72, 1.0);
  EXPECT_TRUE(html.contains("<page", Qt::CaseSensitive));
  EXPECT_EQ(html.count("<page "), 2);
}

class PrintReports : public ::testing::Test {
 protected:
  void SetUp() override {
    ShellTables shell = test::markedShell();
    shell.shellTexts[265] = "Transit section";
    test::writeShellFile(dir, "eng", shell);
    dir.write("Data/qj_TOWN01.dat", writeTaskFile(test::townTask("use1")));
    dir.write("Data/qj_TOWN01_out.dat", writeSolutionFile(test::townSolution()));
    const DbrnFile db = test::smallTown("use1");
    dir.write("Dbrn/" + dbrnFileName(db.header.dbCode, "use1", "eng"), writeDbrn(db));

    WindowFactory windows = programWindows();
    // No printer, and a desktop viewer that the test plays.
    const ReportOutput output{QPrinterInfo(), [this](const QString& path) {
                                shown.push_back(path.toStdString());
                                return viewerFound;
                              }};
    windows.printTask = [output](WindowHost& m, QWidget* v) { PrintTask(m, v, output); };
    windows.printSolution = [output](WindowHost& m, QWidget* v) { PrintSolution(m, v, output); };
    auto box = std::make_unique<ScriptedMessages>();
    messages = box.get();
    main = std::make_unique<TfrmMainWin>(dir.path(), std::move(box), std::move(windows));
    ASSERT_TRUE(main->startupComplete());
    messages->clear();
    main->show();
    main->state().selectedPath = (dir / "Data/qj_TOWN01").string();
  }
  void TearDown() override {
    main.reset();
    settle();
  }

  void openViewer(const WindowMaker& maker) {
    QWidget* w = maker(*main);
    ASSERT_NE(w, nullptr);
    main->openViewer(w);
    settle();
  }
  // The Output menu opened and its print command chosen.
  void print() {
    main->mnuOutClick();
    ASSERT_TRUE(main->action(MenuItem::mnuOutPrint)->isEnabled());
    main->action(MenuItem::mnuOutPrint)->trigger();
    settle();
  }
  std::vector<std::string> printed() const { return listMatching(dir / "Print", "*.pdf"); }

  test::TempDir dir;
  ScriptedMessages* messages = nullptr;
  std::unique_ptr<TfrmMainWin> main;
  std::vector<std::string> shown;
  bool viewerFound = true;
};

TEST_F(PrintReports, TheSolutionBecomesAPdfFileThatTheViewerShows) {
  openViewer(main->windows().solutionViewer);
  print();
  EXPECT_TRUE(messages->shown.empty());
  ASSERT_EQ(printed().size(), 1u);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(std::filesystem::path(shown[0]), dir / "Print" / printed()[0]);
  EXPECT_TRUE(printed()[0].starts_with("qj_TOWN01_solution_"));

  const QString text = pdfText(shown[0]);
  // Rows as tall as their cells: the route fits under the long parameter list.
  EXPECT_EQ(pdfPages(text), 1);
  EXPECT_TRUE(text.contains("S599 \"Morning round\"")) << text.toStdString();
  EXPECT_TRUE(text.contains("Transit section"));
  EXPECT_TRUE(text.contains("S519"));
  // Every route row's number, and the parameter lines with their values.
  for (const char* row : {"1", "2", "11", "12"})
    EXPECT_TRUE(text.contains(QString("\n%1\n").arg(row))) << row;
  EXPECT_TRUE(text.contains("TOWN01"));

  // A second print of the same second keeps the first file.
  print();
  EXPECT_EQ(printed().size(), 2u);
  EXPECT_EQ(shown.size(), 2u);
}

TEST_F(PrintReports, TheTaskPrintsItsParametersAndItsPoints) {
  openViewer(main->windows().taskViewer);
  print();
  EXPECT_TRUE(messages->shown.empty());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(printed()[0].starts_with("qj_TOWN01_task_"));
  const QString text = pdfText(shown[0]);
  EXPECT_GE(pdfPages(text), 1);
  EXPECT_TRUE(text.contains("S88 \"Morning round\"")) << text.toStdString();
  EXPECT_TRUE(text.contains("S405"));
  EXPECT_TRUE(text.contains("st. Main, 25")) << text.toStdString();
  EXPECT_TRUE(text.contains("----------------"));
}

TEST_F(PrintReports, APdfThatNothingCanShowIsNamedInAMessage) {
  viewerFound = false;
  openViewer(main->windows().taskViewer);
  print();
  ASSERT_EQ(printed().size(), 1u);
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().kind, MessageKind::Information);
  EXPECT_EQ(messages->last().text,
            "S962 \"" + printed()[0] + "\" S963 \"" + (dir / "Print").string() + "\".");
}

TEST_F(PrintReports, APdfThatCannotBeWrittenIsReported) {
  dir.write("Print", "a file where the folder should be");
  openViewer(main->windows().solutionViewer);
  print();
  EXPECT_TRUE(shown.empty());
  ASSERT_EQ(messages->shown.size(), 1u);
  EXPECT_EQ(messages->last().kind, MessageKind::Error);
  EXPECT_TRUE(messages->last().text.starts_with("S961 \"" + (dir / "Print").string() + "/"))
      << messages->last().text;
}

}  // namespace
}  // namespace qj::ui
