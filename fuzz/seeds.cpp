// fuzz_seeds CORPUS: writes the seed corpus of every fuzz target into CORPUS/<target>/, each
// file written by the program's own writers (the small town of the tests, sample workbooks,
// small pictures), or taken from the program folder the build lays out.

#include <zip.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "office/workbook.h"
#include "office/xls_cells.h"
#include "office/xlsx_writer.h"
#include "optimiser/task_fixture.h"
#include "platform/jpeg.h"
#include "records/dbrn_file.h"
#include "records/protocol_file.h"
#include "records/solution_file.h"
#include "records/task_file.h"
#include "reports/report_workbooks.h"
#include "reports/task_view.h"
#include "support/shell_fixture.h"
#include "support/town.h"
#include "support/zip_ends.h"
#include "text/shell_texts.h"

namespace qj {
namespace {

namespace fs = std::filesystem;

fs::path corpus;

void put(const std::string& target, const std::string& name, std::string_view bytes) {
  fs::create_directories(corpus / target);
  std::ofstream(corpus / target / name, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string fileBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// ---- workbooks ----

std::vector<office::Workbook> sampleWorkbooks() {
  std::vector<office::Workbook> books(3);
  office::Sheet& info = books[0].addSheet("Info");
  info.set(0, 0, "Language");
  info.set(0, 1, "eng");
  info.set(1, 1, "  *");
  info.set(2, 1, "\xd3\xeb\xe8\xf6\xe0");  // a Cyrillic word in code page 1251
  info.setBold(office::rowRange(0, 2));
  info.setColumnWidth(0, 14.5);
  office::Sheet& points = books[0].addSheet("Points");
  points.set(0, 0, "12");
  points.set(0, 1, "2.5");
  points.set(3, 2, "last & <first>");
  points.set(4, 0, "_x0041_ a\ttab");
  points.setWrap(office::columnRange(2, 5));
  books[1].addSheet("Empty");
  office::Sheet& far = books[2].addSheet("[Far]");
  far.set(70000, office::kMaxColumns - 1, "corner");
  far.set(1, 0, std::string(40, 'x'));
  return books;
}

std::string zipPart(const fs::path& file, const char* name) {
  int error = 0;
  zip_t* zip = zip_open(file.c_str(), ZIP_RDONLY, &error);
  std::string bytes;
  zip_file_t* f = zip ? zip_fopen(zip, name, 0) : nullptr;
  char buffer[4096];
  for (zip_int64_t n; f && (n = zip_fread(f, buffer, sizeof buffer)) > 0;)
    bytes.append(buffer, static_cast<size_t>(n));
  if (f) zip_fclose(f);
  if (zip) zip_discard(zip);
  return bytes;
}

void workbookSeeds() {
  const std::vector<office::Workbook> books = sampleWorkbooks();
  for (size_t i = 0; i < books.size(); ++i) {
    const std::string n = std::to_string(i);
    const fs::path file = corpus / ("book" + n + ".xlsx");
    office::writeXlsx(books[i], file);
    put("xlsx", "book" + n + ".xlsx", fileBytes(file));
    put("sheet_part", "sheet" + n + ".xml", zipPart(file, "xl/worksheets/sheet1.xml"));
    // The scanner's targets take the size of their pieces from the first byte.
    for (const char* part : {"xl/worksheets/sheet1.xml", "xl/workbook.xml", "xl/styles.xml",
                             "xl/_rels/workbook.xml.rels", "[Content_Types].xml"})
      put("xml_scanner", "book" + n + "-" + fs::path(part).filename().string(),
          std::string(1, static_cast<char>(7 * i + 3)) + zipPart(file, part));
    put("xls_stream", "book" + n,
        std::string(1, static_cast<char>(i)) + office::xlsCellStream(books[i]));
    fs::remove(file);
  }
  // The end of an archive as ZIP64 writers give it, a directory larger than the archive, a
  // comment, and a second end record as the first one's comment.
  const std::string zip = fileBytes(corpus / "xlsx" / "book0.xlsx");
  put("xlsx", "book0-zip64.xlsx", test::zip64Ended(zip, test::directoryBytesOf(zip)));
  put("xlsx", "book0-extra-fields.xlsx", test::withExtraFieldEntries(zip, 2));
  put("xlsx", "book0-comment.xlsx", test::withComment(zip, "comment"));
  put("xlsx", "book0-two-ends.xlsx", test::withComment(zip, zip.substr(zip.size() - 22)));
  // A sheet name as long as an .xls file holds.
  office::Workbook named;
  named.addSheet(std::string(office::kMaxXlsSheetName, 'n')).set(0, 0, "x");
  put("xls_stream", "long-name", "\x05" + office::xlsCellStream(named));
  // The program writes no shared strings: these are as other spreadsheet programs write them.
  const std::string sst =
      "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
  put("shared_strings", "plain.xml",
      sst +
          " count=\"8\" uniqueCount=\"8\"><si><t>a</t></si><si><t/></si><si><t>&amp;</t></si>"
          "<si><t xml:space=\"preserve\"> b </t></si><si><t>_x000D_</t></si><si><t>4</t></si>"
          "<si><t>\xD0\x96</t></si><si><t>7</t></si></sst>");
  put("shared_strings", "runs.xml",
      sst +
          "><si><r><rPr><b/></rPr><t>bo</t></r><r><t>ld</t></r><rPh><t>x</t></rPh></si>"
          "<si><t>1</t></si><si><t>2</t></si><si><t>3</t></si><si><t>4</t></si><si><t>5</t>"
          "</si><si><t>6</t></si><si><t><![CDATA[7]]></t></si></sst>");
  put("xls", "two_sheets.xls", fileBytes(fs::path(QJ_SOURCE_DIR) / "tests/office/two_sheets.xls"));
}

// Task workbooks as the task viewer exports them, streamed as the .xls reading process
// streams the cells of a workbook.
void taskWorkbookSeeds() {
  const ShellTables texts = test::markedShell();
  for (const char* kind : {"use1", "use2", "cli2"})
    for (const char sep : {',', '.'}) {
      const TaskView view = makeTaskView(test::townTask(kind), "eng", texts, sep);
      put("task_workbook", std::string(kind) + (sep == ',' ? "-comma" : "-point"),
          office::xlsCellStream(taskWorkbook(view, texts, sep)));
    }
}

// ---- the program's binary files ----

void recordSeeds() {
  for (const char* kind : {"sys1", "use2", "cli2"})
    put("dbrn", kind, writeDbrn(test::smallTown(kind)));

  for (const char* kind : {"use1", "use2", "cli2"}) {
    const TaskFile task = test::townTask(kind);
    put("task", std::string("task-") + kind, writeTaskFile(task));
    SolverInput input;
    input.header = task.header;
    input.points = task.points;
    put("task", std::string("input-points-") + kind, writeSolverInput(input, "Shell (QJ 1.6).eng"));
  }
  put("task", "input-ring", writeSolverInput(optim::test::ringTask(), "Shell (QJ 1.6).eng"));

  SolutionFile route = test::townSolution();
  put("solution", "route", writeSolutionFile(route));
  SolutionFile failed = route;
  failed.body = SolutionBody::None;
  failed.steps.clear();
  failed.startServiceTimes.clear();
  failed.header.solutionFound = 0;
  failed.header.routeStepCount = 0;
  failed.header.finalMessage = "the state count is too large";
  put("solution", "none", writeSolutionFile(failed));
  SolutionFile lines = failed;
  lines.body = SolutionBody::Description;
  lines.header.solutionFound = 1;
  lines.routeCostTotal = 12.25;
  lines.lines = {{"1", "1", "st. Main 3", "08:00", "08:00", "08:10", "st. Main", "", "2"},
                 {"2", "", "", "08:12", "", "", "st. Oak", "right", "5"}};
  put("solution", "description", writeSolutionFile(lines));

  put("protocol", "empty", writeProtocolFile({}));
  put("protocol", "three",
      writeProtocolFile({{"ABC123", "First task", InputEntered, 46000.5, 46001.25, 0, 0},
                         {"ZZ0001", std::string(100, 'n'), SentToSolving, 1, 2, 3, 0},
                         {"Q", "", SolutionLoaded, 1, 2, 3, 4}}));
  // The header alone, as the start-up reads it of a file too large to read whole, and the
  // header of another version.
  const std::string header = writeProtocolFile({}).substr(0, kProtocolHeaderSize);
  put("protocol", "header", header);
  put("protocol", "version2", header.substr(0, 24) + std::string("\2\0\0\0", 4));
}

// ---- shells, the information file, pictures ----

void textSeeds() {
  ShellTables t;
  t.languageName = "English";
  t.shortTexts = {"OK", "", std::string(15, 's')};
  t.shellTexts = {"Task", "", std::string(255, 't'), "Road-network databases"};
  t.longTexts = {{"A line", "", "Another"}, {}, {std::string(255, 'l')}};
  put("shell", "small.eng", writeShell(t, false, {}));
  t.languageName = "\xd0\xf3\xf1\xf1\xea\xe8\xe9";
  put("shell", "small.rus", writeShell(t, true, {"note", "", std::string(70, 'n')}));
  const fs::path shells = fs::path(QJ_PROGRAM_DIR) / "Shells";
  for (const char* lang : {"eng", "rus"})
    put("shell", std::string("shipped.") + lang,
        fileBytes(shells / (std::string("Shell (QJ 1.6).") + lang)));

  put("info", "shipped", fileBytes(fs::path(QJ_SOURCE_DIR) / "cmake/program/info.txt"));
  put("info", "crlf", "Office\r\nRoute planning office\r\n\r\nSmall town\r\n\r\nDemo");

  for (const auto& [w, h, q] : {std::tuple(8, 8, 75), {17, 5, 10}, {3, 40, 100}}) {
    RgbImage image(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        uint8_t* p = image.at(x, y);
        p[0] = static_cast<uint8_t>(x * 30);
        p[1] = static_cast<uint8_t>(y * 7);
        p[2] = static_cast<uint8_t>((x ^ y) * 11);
      }
    put("jpeg", std::to_string(w) + "x" + std::to_string(h), encodeJpeg(image, q));
  }
}

}  // namespace
}  // namespace qj

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds CORPUS\n");
    return 2;
  }
  qj::corpus = argv[1];
  std::filesystem::create_directories(qj::corpus);
  qj::workbookSeeds();
  qj::taskWorkbookSeeds();
  qj::recordSeeds();
  qj::textSeeds();
  return 0;
}
