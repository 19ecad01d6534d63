// The Qt canvas lays reports out at 600 pixels per inch on A4 within 10 mm margins, and
// places a text by its top-left corner as the report expects.

#include "reports/ui/qt_page_canvas.h"

#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <array>
#include <map>

#include "support/temp_dir.h"

namespace qj::ui {
namespace {

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
    EXPECT_NEAR(height, 10.5 / 72 * 600, 6);  // DejaVu Sans at 9 points
    EXPECT_GT(canvas.textWidth("WW"), canvas.textWidth("ii"));
    const int regular = canvas.textWidth("Bold text");
    canvas.setBold(true);
    canvas.setTextScale(0.5);
    EXPECT_LT(canvas.textHeight(), height);
    EXPECT_GT(canvas.textWidth("Bold text") * 2, regular);  // bold at half the size
    canvas.setTextScale(1);
    canvas.setBold(false);
    canvas.text(1200, 600, "Corner");
    canvas.newPage();
    canvas.text(600, 1200, "Second");
  }
  // poppler's box of a word runs from its font's ascent above the baseline: its top is the
  // corner the text was placed at, the 10 mm margin included.
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
  // In points: the 10 mm margin and the corner at 600 pixels an inch.
  const double mm10 = 10 / 25.4 * 72;
  EXPECT_NEAR(boxes["Corner"][0], mm10 + 144, 1.0);
  EXPECT_NEAR(boxes["Corner"][1], mm10 + 72, 1.0);
  EXPECT_NEAR(boxes["Corner"][2] - boxes["Corner"][1], height * 72 / 600.0, 1.0);
  EXPECT_NEAR(boxes["Second"][1], mm10 + 144, 1.0);
  EXPECT_EQ(html.count("<page "), 2);
}

}  // namespace
}  // namespace qj::ui
