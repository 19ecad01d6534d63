#include "reports/print_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "reports/recording_canvas.h"
#include "support/shell_fixture.h"

namespace qj {
namespace {

using test::DrawnLine;
using test::DrawnText;
using test::marked;
using test::markedShell;
using test::RecordingCanvas;

// 1130 pixels wide: the usable width is 1000, so a share of 0.05 is 50 pixels.
constexpr int kWidth = 1130;
constexpr int kTh = 20;

const ShellTables& shell() {
  static const ShellTables s = markedShell();
  return s;
}

// Cells wrap at their blanks; a word wider than its column is cut there, a line across the
// page breaks it over lines. No line is wider than the limit unless it holds a single
// character.
TEST(ReportWrap, BreaksAtBlanksAndCutsOrBreaksAWordWiderThanTheLimit) {
  const RecordingCanvas c(kWidth, 1000);  // 10 pixels a character
  using Lines = std::vector<std::string>;
  struct Case {
    const char* text;
    int limit;
    LongWord longWord;
    Lines lines;
  } cases[] = {
      {"abc", 30, LongWord::Cut, {"abc"}},
      {"ab cd", 30, LongWord::Cut, {"ab", "cd"}},
      {"ab cd", 50, LongWord::Cut, {"ab cd"}},
      {"Start of service", 80, LongWord::Cut, {"Start of", "service"}},
      {"a b  c", 30, LongWord::Cut, {"a b", "c"}},
      {"a  b", 40, LongWord::Cut, {"a  b"}},
      {"  ab", 40, LongWord::Cut, {"  ab"}},
      {"  abcd", 40, LongWord::Cut, {"abcd"}},
      {"abcdefg hi", 29, LongWord::Cut, {"ab", "hi"}},
      {"abcdefg hi", 29, LongWord::Break, {"ab", "cd", "ef", "g", "hi"}},
      {"abc", 9, LongWord::Cut, {"a"}},
      {"abc", -5, LongWord::Break, {"a", "b", "c"}},
      {"", 30, LongWord::Cut, {}},
      {"   ", 30, LongWord::Cut, {}},
  };
  for (const Case& k : cases)
    EXPECT_EQ(wrapText(k.text, k.limit, c, k.longWord), k.lines) << k.text << " " << k.limit;
}

TEST(ReportColumns, EdgesFollowTheSharesOfTheUsableWidth) {
  const ReportColumns c = reportColumns({0.05, 0.07, 0.20, 0.12, 0.12, 0.12, 0.22, 0.10}, 1000);
  EXPECT_EQ(c.x, (std::vector<int>{65, 115, 185, 385, 505, 625, 745, 965, 1065}));
  // The text keeps its margin from the rules on both sides.
  EXPECT_EQ(c.limit, (std::vector<int>{20, 40, 170, 90, 90, 90, 190, 70}));
  EXPECT_EQ(c.textX(1), 115 - 5 + 15);
  EXPECT_EQ(c.right(), 65 + 1000);

  // Rounding takes halves to the even neighbour; a switched-off column has no width.
  const ReportColumns odd = reportColumns({0.05, 0.0, 0.15}, 1010);  // 50.5, 0, 151.5
  EXPECT_EQ(odd.x, (std::vector<int>{65, 115, 115, 267}));
  EXPECT_EQ(sharesOf({1, 0, 3}), (std::vector<double>{0.25, 0, 0.75}));
}

TEST(ReportTitles, TakeTheQuotedNameFromTheViewersCaption) {
  ShellTables t = markedShell();
  t.shellTexts[768] = "Solution of the task";
  t.shellTexts[574] = "Input of the task";
  EXPECT_EQ(solutionReportTitle("Solution of the task \"Round\"", t), "S599 \"Round\"");
  EXPECT_EQ(taskReportTitle("Input of the task \"Round\"", t), "S88 \"Round\"");
  // A caption no longer than its own text and the blank leaves the title text and a blank.
  EXPECT_EQ(solutionReportTitle("Solution of the task ", t), "S599 ");
  EXPECT_EQ(solutionReportTitle("", t), "S599 ");
  // At most 1000 characters of the caption.
  const std::string name(1500, 'n');
  EXPECT_EQ(solutionReportTitle("Solution of the task \"" + name + "\"", t).size(),
            std::string("S599 ").size() + 1000);
}

// A solution view with the marked shell's caption and the given parameters and rows
// (eight cells each).
SolutionView solutionView(KeyValueList parameters,
                          const std::vector<std::vector<std::string>>& rows) {
  SolutionView v;
  v.caption = "S768 \"Trip\"";
  v.parameters = std::move(parameters);
  v.route.setRows(static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t k = 0; k < rows[r].size(); ++k)
      v.route.set(static_cast<int>(r), static_cast<int>(k), rows[r][k]);
  return v;
}

// The columns as the report drew their rules: the first n + 1 vertical rules of page 1 lie
// 5 pixels left of the column edges, in order.
ReportColumns drawnColumns(const RecordingCanvas& c, size_t n) {
  ReportColumns cols;
  for (const DrawnLine& l : c.lines)
    if (l.vertical() && l.page == 1 && cols.x.size() < n + 1) cols.x.push_back(l.x1 + 5);
  for (size_t k = 0; k + 1 < cols.x.size(); ++k)
    cols.limit.push_back(cols.x[k + 1] - cols.x[k] - 2 * kReportCellPad);
  return cols;
}

// Every cell's lines start at its column's text edge and stay within its margins.
void expectCellsInsideTheirColumns(const RecordingCanvas& c, const ReportColumns& cols) {
  for (const DrawnText& t : c.texts)
    for (size_t k = 0; k + 1 < cols.x.size(); ++k)
      if (t.x == cols.textX(k) && cols.limit[k] > 0 && t.y > 60) {
        EXPECT_LE(c.textWidth(t.text), std::max(cols.limit[k], c.charWidth())) << t.text;
      }
}

TEST(SolutionReport, LaysOutTitleParametersHeadingsAndRowsOnOnePage) {
  RecordingCanvas c(kWidth, 2000);
  const SolutionView v = solutionView({{"Alpha", "1"}, {"Group:", ""}, {"  - empty", ""}},
                                      {{"1", "1 (s11)", "st. Main, 3", "0 h", "", "", "", ""},
                                       {"2", "", "", "", "", "", "st. Main, 1-9", "1 right"}});
  printSolutionReport(c, v, shell());
  EXPECT_EQ(c.pages, 1);
  EXPECT_EQ(c.scale, 1);  // every word fits its column

  // The title is centred by its regular width and drawn in bold.
  const DrawnText* title = c.find("S599 \"Trip\"");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->x, (kWidth - 110) / 2);
  EXPECT_EQ(title->y, 60);
  EXPECT_TRUE(title->bold);

  // One line each under the title; a key with a colon of its own gets no second one.
  ASSERT_NE(c.find("Alpha: 1"), nullptr);
  EXPECT_EQ(c.find("Alpha: 1")->y, 100);
  ASSERT_NE(c.find("Group:"), nullptr);
  EXPECT_EQ(c.find("Group:")->y, 120);
  EXPECT_FALSE(c.find("Alpha: 1")->bold);

  // The columns share the width as the viewer's columns do; the headings stand a margin
  // below the top rule, two empty lines under the parameters.
  const ReportColumns cols = drawnColumns(c, 8);
  ASSERT_EQ(cols.x.size(), 9u);
  EXPECT_EQ(cols.x[0], 65);
  EXPECT_NEAR(cols.right(), 1065, 8);
  const int top = 140 + 2 * kTh;
  const char* heading[] = {"S519", "S406", "S13", "S85", "S83", "S82", "S265", "S268"};
  for (int k = 0; k < 8; ++k) {
    const DrawnText* h = c.find(heading[k]);
    ASSERT_NE(h, nullptr) << heading[k];
    EXPECT_EQ(h->x, cols.textX(k));
    EXPECT_EQ(h->y, top + kReportCellPad);
  }
  // The first row's point number wraps at its blank; the row is as tall as that cell.
  const int row0 = top + kTh + 2 * kReportCellPad;
  ASSERT_NE(c.find("(s11)"), nullptr);
  EXPECT_EQ(c.find("1 (s11)"), nullptr);
  EXPECT_EQ(c.find("(s11)")->y, row0 + kReportCellPad + kTh);
  EXPECT_EQ(c.find("(s11)")->x, cols.textX(1));
  const int row1 = row0 + 2 * kTh + 2 * kReportCellPad;
  ASSERT_NE(c.find("st. Main, 1-9"), nullptr);
  EXPECT_EQ(c.find("st. Main, 1-9")->y, row1 + kReportCellPad);
  const int end = row1 + 2 * kTh + 2 * kReportCellPad;  // "1 right" takes two lines
  expectCellsInsideTheirColumns(c, cols);

  // Full-width rules: the top, under the headings, under the first row (it has an
  // address); none under the second row but the table's end. Vertical rules close it.
  std::vector<int> ruled;
  std::map<int, std::pair<int, int>> verticals;
  for (const DrawnLine& l : c.lines) {
    if (l.horizontal()) {
      EXPECT_EQ(l.x1, 60);
      EXPECT_EQ(l.x2, 1060);
      ruled.push_back(l.y1);
    } else {
      verticals[l.x1] = {l.y1, l.y2};
    }
  }
  EXPECT_EQ(ruled, (std::vector<int>{top, row0, row1}));
  ASSERT_EQ(verticals.size(), 9u);
  for (const int x : cols.x) EXPECT_EQ(verticals[x - 5], std::pair(top, end)) << x;

  EXPECT_EQ(c.texts.back().text, "1");
  EXPECT_EQ(c.texts.back().x, kWidth - 10 - 65);
  EXPECT_EQ(c.texts.back().y, 2000 - 65 - kTh);
}

// A column is at least as wide as its widest word, the others giving way; where the words
// need more than the page, the text gets smaller, down to half its size, and what
// still does not fit is cut at its column's margin.
TEST(SolutionReport, ColumnsMakeRoomForTheirWordsAndTheTextShrinksWhereTheyCannot) {
  struct Case {
    size_t letters;
    double scale;
    bool whole;
  } cases[] = {{20, 1.0, true}, {60, 0.0, true}, {160, 0.5, false}};
  for (const Case& k : cases) {
    const std::string word(k.letters, 'w');
    RecordingCanvas c(kWidth, 2000);
    printSolutionReport(c, solutionView({}, {{"1", "", "st. " + word + ", 3", "", "", "", "", ""}}),
                        shell());
    const ReportColumns cols = drawnColumns(c, 8);
    if (k.scale > 0)
      EXPECT_DOUBLE_EQ(c.scale, k.scale) << k.letters;
    else
      EXPECT_LT(c.scale, 1) << k.letters;
    EXPECT_GE(c.scale, 0.5);
    expectCellsInsideTheirColumns(c, cols);
    const DrawnText* drawn = nullptr;
    for (const DrawnText& t : c.texts)
      if (t.text[0] == 'w') drawn = &t;
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->text == word + ",", k.whole) << k.letters;
    EXPECT_LE(cols.right(), 1065 + 8);
  }
}

TEST(SolutionReport, ALongParameterPrintsItsValueOnALineOfItsOwn) {
  RecordingCanvas c(2000, 3000);  // wide enough for 187 characters a line
  const std::string key(60, 'k');
  const SolutionView v =
      solutionView({{key, std::string(59, 'v')}, {key, std::string(60, 'w')}, {"Empty", ""}}, {});
  printSolutionReport(c, v, shell());
  EXPECT_EQ(c.find(key + ": " + std::string(59, 'v'))->y, 80 + kTh);
  EXPECT_EQ(c.find(key + ":")->y, 80 + 2 * kTh);
  EXPECT_EQ(c.find(std::string(60, 'w'))->y, 80 + 3 * kTh);
  EXPECT_EQ(c.find(std::string(60, 'w'))->x, 65);
  EXPECT_EQ(c.find("Empty:")->y, 80 + 4 * kTh);
}

TEST(SolutionReport, AParameterWiderThanThePageContinuesBelowIt) {
  RecordingCanvas c(kWidth, 2000);  // 100 characters a line
  const SolutionView v = solutionView({{"K", std::string(150, 'v')}, {"Next", "1"}}, {});
  printSolutionReport(c, v, shell());
  EXPECT_EQ(c.find("K:")->y, 100);
  EXPECT_EQ(c.find(std::string(100, 'v'))->y, 120);
  EXPECT_EQ(c.find(std::string(50, 'v'))->y, 140);
  EXPECT_EQ(c.find("Next: 1")->y, 160);
}

// Every page of a report: its texts and rules within the page, one page number (its own)
// at the bottom right, the vertical rules drawn once, nothing below the footer's line.
void expectSoundPages(const RecordingCanvas& c, int height, size_t verticalRules) {
  ASSERT_GT(c.pages, 0);
  for (int page = 1; page <= c.pages; ++page) {
    std::vector<DrawnText> texts = c.textsOn(page);
    ASSERT_FALSE(texts.empty()) << "page " << page;
    const DrawnText footer = texts.back();
    EXPECT_EQ(footer.text, std::to_string(page));
    EXPECT_EQ(footer.y, height - 65 - kTh);
    texts.pop_back();
    for (const DrawnText& t : texts) {
      EXPECT_GE(t.y, 60) << t.text;
      EXPECT_LE(t.y + kTh, height - 65 - kTh) << "page " << page << ": " << t.text;
    }
    size_t verticals = 0;
    for (const DrawnLine& l : c.linesOn(page)) {
      verticals += l.vertical() ? 1 : 0;
      EXPECT_LE(std::max(l.y1, l.y2), height - 65 - kTh) << "page " << page;
    }
    EXPECT_EQ(verticals, verticalRules) << "page " << page;
  }
}

TEST(SolutionReport, RowsMoveToTheNextPageWholeAndEveryPageIsClosedOnce) {
  const int height = 1500;
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= 40; ++r) {
    // Every third row has a section text of three lines.
    std::string section(5, static_cast<char>('a' + r % 26));
    for (int w = 1; w < 9; ++w) section += " " + std::string(5, static_cast<char>('a' + r % 26));
    rows.push_back(
        {marked("r", r), "", r % 3 == 0 ? "addr" : "", "", "", "", r % 3 == 0 ? section : "x", ""});
  }
  RecordingCanvas c(kWidth, height);
  printSolutionReport(c, solutionView({{"A", "1"}}, rows), shell());
  ASSERT_GE(c.pages, 2);
  expectSoundPages(c, height, 9);

  // Each row lies on one page, in order, with all its lines; the last page is not empty.
  int lastPage = 1;
  for (int r = 1; r <= 40; ++r) {
    const DrawnText* number = c.find(marked("r", r));
    ASSERT_NE(number, nullptr) << r;
    EXPECT_GE(number->page, lastPage);
    lastPage = number->page;
    if (r % 3 == 0) {
      int lines = 0;
      for (const DrawnText& t : c.texts)
        if (t.x == drawnColumns(c, 8).textX(kRouteSection) && t.text[0] == 'a' + r % 26) {
          EXPECT_EQ(t.page, number->page) << r;
          ++lines;
        }
      EXPECT_EQ(lines, 3) << r;
    }
  }
  EXPECT_EQ(lastPage, c.pages);
  // Continuation pages have neither headings nor a top rule: their rows start at 65.
  for (int page = 2; page <= c.pages; ++page) {
    EXPECT_EQ(c.textsOn(page).front().y, 65 + kReportCellPad);
    for (const DrawnLine& l : c.linesOn(page))
      if (l.horizontal()) {
        EXPECT_GT(l.y1, 65);
      }
  }
  EXPECT_EQ(c.find("S519")->page, 1);
}

TEST(SolutionReport, ATableThatWouldStartLowOnThePageStartsOnTheNext) {
  const int height = 1700;
  KeyValueList params;
  for (int i = 0; i < 24; ++i) params.push_back({marked("P", i), "v"});
  // The table would start at 80 + 24 x 20 + 40 = 600: below 1700 - 1200.
  RecordingCanvas c(kWidth, height);
  printSolutionReport(c, solutionView(params, {{"1", "", "", "", "", "", "", ""}}), shell());
  ASSERT_EQ(c.pages, 2);
  EXPECT_EQ(c.find("S519")->page, 2);
  EXPECT_EQ(c.find("S519")->y, 65 + kReportCellPad);
  EXPECT_EQ(c.textsOn(1).back().text, "1");
  EXPECT_EQ(c.textsOn(2).back().text, "2");
  for (const DrawnLine& l : c.lines) EXPECT_EQ(l.page, 2);
}

TEST(SolutionReport, ParametersThatReachTheFooterContinueOnTheNextPage) {
  const int height = 400;  // from 100, a parameter line needs 4 line heights below the margin
  KeyValueList params;
  for (int i = 0; i < 20; ++i) params.push_back({marked("P", i), "v"});
  RecordingCanvas c(kWidth, height);
  printSolutionReport(c, solutionView(params, {}), shell());
  // A row drawn from y + 20 when y + 80 <= 335: rows at 100 .. 260 on page 1, from 85 on.
  EXPECT_EQ(c.find("P8: v")->page, 1);
  EXPECT_EQ(c.find("P8: v")->y, 260);
  EXPECT_EQ(c.find("P9: v")->page, 2);
  EXPECT_EQ(c.find("P9: v")->y, 85);
  for (int page = 1; page <= c.pages; ++page) {
    const std::vector<DrawnText> texts = c.textsOn(page);
    EXPECT_EQ(texts.back().text, std::to_string(page));
    for (const DrawnText& t : texts) EXPECT_LE(t.y + kTh, height - 65);
  }
}

TEST(SolutionReport, ARowTallerThanAPageIsContinuedLineByLine) {
  const int height = 700;   // room for about 25 lines a page
  std::string tall = "zz";  // two words a line in column 0: 100 lines
  for (int w = 1; w < 200; ++w) tall += " zz";
  RecordingCanvas c(kWidth, height);
  printSolutionReport(c,
                      solutionView({}, {{"row1", "", "", "", "", "", "", ""},
                                        {tall, "", "", "", "", "", "", ""},
                                        {"row3", "", "", "", "", "", "", ""}}),
                      shell());
  std::string printed;
  for (const DrawnText& t : c.texts)
    if (!t.text.empty() && t.text[0] == 'z') printed += (printed.empty() ? "" : " ") + t.text;
  EXPECT_EQ(printed, tall);
  EXPECT_GE(c.pages, 4);
  EXPECT_EQ(c.find("row3")->page, c.pages);
  for (int page = 1; page <= c.pages; ++page) {
    const std::vector<DrawnText> texts = c.textsOn(page);
    EXPECT_EQ(texts.back().text, std::to_string(page));
    for (size_t i = 0; i + 1 < texts.size(); ++i) EXPECT_LE(texts[i].y + kTh, height - 65 - kTh);
  }
}

TEST(SolutionReport, ATableWithoutRowsIsClosedUnderItsHeadings) {
  RecordingCanvas c(kWidth, 2000);
  printSolutionReport(c, solutionView({}, {}), shell());
  EXPECT_EQ(c.pages, 1);
  size_t verticals = 0;
  for (const DrawnLine& l : c.lines)
    if (l.vertical()) {
      ++verticals;
      EXPECT_EQ(l.y2 - l.y1, kTh + 2 * kReportCellPad);
    }
  EXPECT_EQ(verticals, 9u);
}

// A task view of the transitions layout (16 columns) or the points layout.
TaskView taskView(TaskLayout layout, const std::vector<std::vector<std::string>>& rows) {
  TaskView v;
  v.layout = layout;
  v.dbLevel = layout == TaskLayout::Transitions ? 1 : 2;
  v.caption = "S574 \"Load\"";
  v.header.moneyUnit = "EUR";
  v.parameters = {{"Code", "LOAD01"}, {"Points:", ""}};
  v.table = GridTable(taskColumnCount(layout));
  v.table.setRows(static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (size_t k = 0; k < rows[r].size(); ++k)
      v.table.set(static_cast<int>(r), static_cast<int>(k), rows[r][k]);
  return v;
}

std::vector<std::string> cells16(std::initializer_list<std::pair<int, std::string>> set) {
  std::vector<std::string> row(16);
  for (const auto& [k, text] : set) row[static_cast<size_t>(k)] = text;
  return row;
}

TEST(TaskReport, SwitchedOffColumnsHaveNoWidthNoHeadingAndNoCells) {
  TaskView v = taskView(TaskLayout::Transitions,
                        {cells16({{0, "1"}, {1, "st. Oak, 1"}, {3, "9"}, {6, "1"}, {12, "7"}})});
  // No cargo, no order, no refusals, no time factor: columns 3 and 10 to 15 are off.
  RecordingCanvas c(kWidth, 2000);
  printTaskReport(c, v, shell());
  const ReportColumns cols = drawnColumns(c, 16);
  // The columns present share the whole width as in the viewer; those off have none.
  for (const int k : {3, 10, 11, 12, 13, 14, 15}) EXPECT_EQ(cols.x[k], cols.x[k + 1]) << k;
  EXPECT_NEAR(cols.right(), 1065, 16);
  EXPECT_EQ(c.find("9"), nullptr);  // the unloading cell of a task without cargo
  EXPECT_EQ(c.find("7"), nullptr);
  EXPECT_NE(c.find("S405"), nullptr);
  EXPECT_NE(c.find("S750"), nullptr);  // "S750 (EUR)" wrapped in a column of 45 pixels
  // Seventeen vertical rules, several on one another; the right border at x16 - 5.
  std::set<int> xs;
  int verticals = 0;
  for (const DrawnLine& l : c.lines)
    if (l.vertical()) {
      ++verticals;
      xs.insert(l.x1);
    } else {
      EXPECT_EQ(l.x2, cols.right() - 5);
    }
  EXPECT_EQ(verticals, 17);
  EXPECT_EQ(*xs.rbegin(), cols.right() - 5);
  EXPECT_EQ(xs.size(), 10u);

  // Any of refusals, time factor or cargo brings the income column back.
  for (const auto set :
       {+[](TaskHeader& h) { h.refusalFlag = 1; }, +[](TaskHeader& h) { h.timeFactorFlag = 1; },
        +[](TaskHeader& h) { h.cargoMode = 2; }}) {
    TaskHeader h;
    set(h);
    EXPECT_GT(taskReportShares(TaskLayout::Transitions, h)[kTaskIncome], 0);
  }
}

TEST(TaskReport, HeadingsFollowTheModesAndStayEmptyForModesWithoutOne) {
  TaskHeader h;
  h.moneyUnit = "EUR";
  h.cargoMode = 1;
  h.orderMode = 2;
  const ShellTables& t = shell();
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskServiceTime, h, t), "S84");
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskVolume, h, t), "S425");
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskOrder, h, t), "S407");
  EXPECT_EQ(taskReportHeading(TaskLayout::Points, 5, h, t), "S407");
  h.cargoMode = 3;
  h.orderMode = 4;
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskVolume, h, t), "");
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskOrder, h, t), "");
  h.cargoMode = -1;
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskUnloadTime, h, t), "");
  EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, kTaskServiceTime, h, t), "S84");
}

TEST(TaskReport, LaysOutParametersSeparatorRowsAndRulesOfTheTransitionsLayout) {
  TaskView v =
      taskView(TaskLayout::Transitions,
               {cells16({{0, "1"}, {1, "st. Oak, 1"}, {6, "1"}, {7, "from"}}),
                cells16({{6, "2"}, {7, "back"}}),
                [] {
                  std::vector<std::string> dashes(16, std::string(31, '-'));
                  dashes[1] = std::string(52, '-');
                  return dashes;
                }(),
                cells16({{0, "1"}, {1, "st. Oak, 1"}, {6, "1"}, {7, "a long transition kind"}})});
  v.header.timeFactorFlag = 1;             // income and windows on
  RecordingCanvas c(kWidth + 1000, 2000);  // every word fits its column
  printTaskReport(c, v, shell());
  EXPECT_EQ(c.pages, 1);
  ASSERT_NE(c.find("S88 \"Load\""), nullptr);
  EXPECT_EQ(c.find("S88 \"Load\"")->y, 60);
  // The parameter lines stand right under the title, one empty line below them.
  ASSERT_NE(c.find("Code: LOAD01"), nullptr);
  EXPECT_EQ(c.find("Code: LOAD01")->y, 80);
  ASSERT_NE(c.find("Points:"), nullptr);
  EXPECT_EQ(c.find("Points:")->y, 100);
  const int top = 80 + 3 * kTh;

  // The separator row: every cell's dashes fill it within its margins, the point's own and
  // the fixed runs from column 3 on alike; no dash reaches a rule.
  const ReportColumns cols = drawnColumns(c, 16);
  EXPECT_EQ(c.scale, 1);
  int dashCells = 0;
  for (const DrawnText& t : c.texts) {
    if (t.text.find("---") == std::string::npos) continue;
    ++dashCells;
    size_t k = 0;
    while (k + 1 < cols.x.size() && (cols.textX(k) != t.x || cols.limit[k] <= 0)) ++k;
    ASSERT_LT(k + 1, cols.x.size()) << t.x;
    EXPECT_LE(c.textWidth(t.text), cols.limit[k]) << k;
    EXPECT_GE(c.textWidth(t.text), std::min(cols.limit[k] - c.charWidth() + 1,
                                            c.textWidth(k < 3    ? "-------------------------------"
                                                        : k <= 7 ? "----------------"
                                                                 : "----------")))
        << k;
  }
  EXPECT_EQ(dashCells, 3 + 6 + 3);  // columns 3 and 10 to 12 are off
  expectCellsInsideTheirColumns(c, cols);

  // A long cell wraps at its blanks in its column.
  ASSERT_NE(c.find("transition"), nullptr);
  EXPECT_EQ(c.find("transition")->x, cols.textX(7));

  // Rules: the top, under the headings, a partial rule under columns 6 to 9 where the next
  // row continues the point, full rules elsewhere.
  std::vector<DrawnLine> horizontal;
  for (const DrawnLine& l : c.lines)
    if (l.horizontal()) horizontal.push_back(l);
  ASSERT_EQ(horizontal.size(), 6u);
  EXPECT_EQ(horizontal[0].y1, top);
  const DrawnLine partial = horizontal[2];
  EXPECT_EQ(partial.x1, cols.x[6] - 5);
  EXPECT_EQ(partial.x2, cols.x[10] - 5);
  for (const size_t i : {0u, 1u, 3u, 4u, 5u}) {
    EXPECT_EQ(horizontal[i].x1, 60) << i;
    EXPECT_EQ(horizontal[i].x2, cols.right() - 5) << i;
  }
  // A row of single lines is one line height and its margins tall.
  EXPECT_EQ(horizontal[3].y1 - horizontal[2].y1, kTh + 2 * kReportCellPad);
}

TEST(TaskReport, ThePointsLayoutRulesEveryRowAndBreaksPagesWholeRows) {
  std::vector<std::vector<std::string>> rows;
  for (int r = 1; r <= 30; ++r)
    rows.push_back({std::to_string(100 + r), marked("st. Elm, ", r), "5", "", "1"});
  rows.push_back(std::vector<std::string>(11));
  TaskView v = taskView(TaskLayout::Points, rows);
  v.header.cargoMode = 1;
  const int height = 900;
  RecordingCanvas c(kWidth, height);
  printTaskReport(c, v, shell());
  ASSERT_GT(c.pages, 1);
  expectSoundPages(c, height, 12);
  int full = 0;
  for (const DrawnLine& l : c.lines)
    if (l.horizontal()) {
      EXPECT_EQ(l.x1, 60);
      ++full;
    }
  EXPECT_EQ(full, 2 + 31);
  for (int r = 1; r <= 30; ++r)
    EXPECT_EQ(c.find(std::to_string(100 + r))->page, c.find(marked("st. Elm, ", r))->page);
}

TEST(TaskReport, CellsAreCutAtAHundredCharacters) {
  std::string cell = "q";
  while (cell.size() < 150) cell += " q";
  TaskView v = taskView(TaskLayout::Points, {{"1", cell}});
  RecordingCanvas c(kWidth, 3000);
  printTaskReport(c, v, shell());
  std::string printed;
  for (const DrawnText& t : c.texts)
    if (t.text[0] == 'q') printed += (printed.empty() ? "" : " ") + t.text;
  EXPECT_EQ(printed, cell.substr(0, 99));  // the 100th character is a blank
}

}  // namespace
}  // namespace qj
