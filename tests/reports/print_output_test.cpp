#include "reports/print_output.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

const CivilDateTime kNow{2026, 3, 7, 9, 5, 2};

TEST(ReportPdfPath, NamesTheTaskTheReportAndTheMomentAndNeverReplacesAFile) {
  test::TempDir dir;
  EXPECT_EQ(reportPdfPath(dir.path(), ReportKind::Task, "ROUND1", kNow),
            dir.path() / "qj_ROUND1_task_20260307-090502.pdf");
  const auto first = reportPdfPath(dir.path(), ReportKind::Solution, "ROUND1", kNow);
  EXPECT_EQ(first, dir.path() / "qj_ROUND1_solution_20260307-090502.pdf");
  dir.write(first.filename().string(), "%PDF");
  const auto second = reportPdfPath(dir.path(), ReportKind::Solution, "ROUND1", kNow);
  EXPECT_EQ(second, dir.path() / "qj_ROUND1_solution_20260307-090502_2.pdf");
  dir.write(second.filename().string(), "%PDF");
  EXPECT_EQ(reportPdfPath(dir.path(), ReportKind::Solution, "ROUND1", kNow).filename(),
            "qj_ROUND1_solution_20260307-090502_3.pdf");
}

TEST(ReportPdfPath, KeepsOnlyLettersAndDigitsOfTheCode) {
  EXPECT_EQ(reportPdfPath("/x", ReportKind::Task, "../A b\xC0", kNow).filename(),
            "qj____A_b__task_20260307-090502.pdf");
}

TEST(PrintMessages, NameThePrinterOrTheFile) {
  const ShellTables t = test::markedShell();
  const Message printer = printerFailedMessage("Office laser");
  EXPECT_EQ(printer.kind, MessageKind::Error);
  EXPECT_EQ(printer.utf8(t), "S960 \"Office laser\".");
  const Message written = pdfFailedMessage("/home/u/QJ/Print/qj_A_task_1.pdf");
  EXPECT_EQ(written.kind, MessageKind::Error);
  EXPECT_EQ(written.utf8(t), "S961 \"/home/u/QJ/Print/qj_A_task_1.pdf\".");
  const Message shown = pdfNotShownMessage("/home/u/QJ/Print/qj_A_task_1.pdf");
  EXPECT_EQ(shown.kind, MessageKind::Information);
  EXPECT_EQ(shown.utf8(t), "S962 \"qj_A_task_1.pdf\" S963 \"/home/u/QJ/Print\".");
}

}  // namespace
}  // namespace qj
