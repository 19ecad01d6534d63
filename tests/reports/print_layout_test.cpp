#include "reports/print_layout.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "reports/print_output.h"
#include "reports/recording_canvas.h"
#include "support/shell_fixture.h"
#include "support/temp_dir.h"

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

// The lines of a wrapped text joined by '|'.
std::string wrapped(std::string_view text, int limit, LongWord longWord) {
  const RecordingCanvas c(kWidth, 1000);  // 10 pixels a character
  std::string s;
  for (const std::string& line : wrapText(text, limit, c, longWord))
    s += (s.empty() ? "" : "|") + line;
  return s;
}

// Cells wrap at their blanks; a word wider than its column is cut there, a line across the
// page breaks it over lines. No line is wider than the limit unless it holds a single
// character.
TEST(ReportWrap, BreaksAtBlanksAndCutsOrBreaksAWordWiderThanTheLimit) {
  const std::tuple<const char*, int, LongWord, const char*> cases[] = {
      {"abc", 30, LongWord::Cut, "abc"},
      {"ab cd", 30, LongWord::Cut, "ab|cd"},
      {"ab cd", 50, LongWord::Cut, "ab cd"},
      {"a b  c", 30, LongWord::Cut, "a b|c"},
      {"Start of service", 80, LongWord::Cut, "Start of|service"},
      {"a  b", 40, LongWord::Cut, "a  b"},
      {"  ab", 40, LongWord::Cut, "  ab"},
      {"  abcd", 40, LongWord::Cut, "abcd"},
      {"abcdefg hi", 29, LongWord::Cut, "ab|hi"},
      {"abcdefg hi", 29, LongWord::Break, "ab|cd|ef|g|hi"},
      {"abc", 9, LongWord::Cut, "a"},
      {"abc", -5, LongWord::Break, "a|b|c"},
      {"", 30, LongWord::Cut, ""},
      {"   ", 30, LongWord::Cut, ""}};
  for (const auto& [text, limit, longWord, lines] : cases)
    EXPECT_EQ(wrapped(text, limit, longWord), lines) << text << " " << limit;
}

TEST(ReportColumns, EdgesFollowTheSharesOfTheUsableWidthAndTitlesTheCaption) {
  const ReportColumns c = reportColumns({0.05, 0.07, 0.20, 0.12, 0.12, 0.12, 0.22, 0.10}, 1000);
  EXPECT_EQ(c.x, (std::vector<int>{65, 115, 185, 385, 505, 625, 745, 965, 1065}));
  // The text keeps its margin from the rules on both sides.
  EXPECT_EQ(c.limit, (std::vector<int>{20, 40, 170, 90, 90, 90, 190, 70}));
  EXPECT_EQ(c.textX(1), 115 - 5 + 15);
  // Rounding takes halves to the even neighbour; a switched-off column has no width.
  EXPECT_EQ(reportColumns({0.05, 0.0, 0.15}, 1010).x, (std::vector<int>{65, 115, 115, 267}));

  // The title takes the quoted name after the caption's own text and its blank, at most
  // 1000 characters of it.
  ShellTables t = markedShell();
  t.shellTexts[768] = "Solution of the task";
  t.shellTexts[574] = "Input of the task";
  EXPECT_EQ(solutionReportTitle("Solution of the task \"Round\"", t), "S599 \"Round\"");
  EXPECT_EQ(taskReportTitle("Input of the task \"Round\"", t), "S88 \"Round\"");
  EXPECT_EQ(solutionReportTitle("Solution of the task ", t), "S599 ");
  EXPECT_EQ(solutionReportTitle("Solution of the task \"", t), "S599 \"");
  EXPECT_EQ(solutionReportTitle("", t), "S599 ");
  const std::string name(1500, 'n');
  EXPECT_EQ(solutionReportTitle("Solution of the task \"" + name + "\"", t),
            "S599 \"" + name.substr(0, 999));
}

// A column narrower than its widest word with its margins (30 pixels) takes what it lacks first
// from the room that switched-off columns leave at the table's end, then from the columns with
// room to spare in proportion to their shares, none below its own widest word; where all that
// is too little, the columns that lack room share it in proportion to what they lack.
TEST(ReportColumns, AColumnTooNarrowForItsWordTakesRoomFromThoseWithRoomToSpare) {
  const struct {
    std::vector<double> shares;
    std::vector<int> widest;
    bool fit;
    std::vector<int> edges;
  } cases[] = {{{0.2, 0.3, 0.5}, {170, 270, 470}, true, {65, 265, 565, 1065}},
               // 40 lacking: the others spare 100 and 300 and give as three to five.
               {{0.2, 0.3, 0.5}, {210, 170, 170}, true, {65, 305, 590, 1065}},
               // 200 lacking: the one that spares 40 gives just that; the widest gives most.
               {{0.1, 0.1, 0.2, 0.6}, {270, 40, 130, 100}, true, {65, 365, 442, 602, 1065}},
               // 100 lacking: the table's end has 500, the last column keeps its share.
               {{0.2, 0.0, 0.3}, {270, 0, 170}, true, {65, 365, 365, 665}},
               // 200 lacking: the table's end gives its 100 before the last column gives.
               {{0.3, 0.0, 0.6}, {470, 0, 170}, true, {65, 565, 565, 1065}},
               // Exactly all there is to spare.
               {{0.2, 0.3, 0.5}, {470, 370, 70}, true, {65, 565, 965, 1065}},
               // 500 lacking, 400 to spare: shared as four to one.
               {{0.2, 0.3, 0.5}, {570, 370, 70}, false, {65, 585, 965, 1065}},
               // A switched-off column needs nothing, whatever it was given.
               {{0.5, 0.0, 0.5}, {470, 900, 470}, true, {65, 565, 565, 1065}}};
  for (const auto& c : cases) {
    const ReportColumns columns = columnsForWords(c.shares, c.widest, 1000);
    EXPECT_EQ(columns.x, c.edges) << c.widest[0];
    EXPECT_EQ(wordsFitColumns(c.shares, c.widest, 1000), c.fit) << c.widest[0];
    for (size_t k = 0; k < c.shares.size(); ++k)
      EXPECT_EQ(columns.limit[k], columns.x[k + 1] - columns.x[k] - 30);
  }
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
  printSolutionReport(
      c,
      solutionView({{"Alpha", "1"}, {"Group:", ""}, {"  - empty", ""}},
                   {{"1", "1 (s11)", "st. Main, 3", "0 h", "", "", "", ""},
                    {"2", "", "", "", "", "", "st. Main, 1-9", "1 right", "00012"}}),
      shell());
  EXPECT_EQ(c.pages, 1);
  EXPECT_EQ(c.scale, 1);  // every word fits its column
  const ReportColumns cols = drawnColumns(c, 8);
  ASSERT_EQ(cols.x.size(), 9u);
  EXPECT_EQ(cols.x[0], 65);
  EXPECT_EQ(cols.right(), 1065);
  expectCellsInsideTheirColumns(c, cols);

  // The title centred by its regular width and drawn in bold; one line for each parameter
  // (a key with a colon of its own gets no second one); two empty lines, then the table,
  // its headings a margin below its top rule. The point number wraps at its blank: its row
  // is as tall as that cell, and so is the next one, whose turn takes two lines.
  const int top = 180, row0 = top + kTh + 30, row1 = row0 + 2 * kTh + 30, end = row1 + 70;
  const std::tuple<const char*, int, int, bool> placed[] = {
      {"S599 \"Trip\"", (kWidth - 110) / 2, 60, true},
      {"Alpha: 1", 65, 100, false},
      {"Group:", 65, 120, false},
      {"(s11)", cols.textX(1), row0 + 15 + kTh, false},
      {"right", cols.textX(7), row1 + 15 + kTh, false},
      {"st. Main, 1-9", cols.textX(6), row1 + 15, false},
  };
  for (const auto& [text, x, y, bold] : placed) {
    const DrawnText* t = c.find(text);
    ASSERT_NE(t, nullptr) << text;
    EXPECT_EQ(std::tuple(t->x, t->y, t->bold), std::tuple(x, y, bold)) << text;
  }
  EXPECT_EQ(c.find("1 (s11)"), nullptr);
  for (const DrawnText& t : c.texts) EXPECT_LT(t.x, cols.right()) << t.text;  // no end node
  const char* heading[] = {"S519", "S406", "S13", "S85", "S83", "S82", "S265", "S268"};
  for (int k = 0; k < 8; ++k) {
    ASSERT_NE(c.find(heading[k]), nullptr) << heading[k];
    EXPECT_EQ(std::pair(c.find(heading[k])->x, c.find(heading[k])->y),
              std::pair(cols.textX(k), top + 15));
  }

  // Full-width rules: the top, under the headings, under the first row (it has an
  // address); none under the second row but the table's end. Vertical rules close it.
  std::vector<int> ruled;
  std::map<int, std::pair<int, int>> verticals;
  for (const DrawnLine& l : c.lines) {
    if (l.horizontal()) {
      EXPECT_EQ(std::pair(l.x1, l.x2), std::pair(60, 1060));
      ruled.push_back(l.y1);
    } else {
      verticals[l.x1] = {l.y1, l.y2};
    }
  }
  EXPECT_EQ(ruled, (std::vector<int>{top, row0, row1}));
  ASSERT_EQ(verticals.size(), 9u);
  for (const int x : cols.x) EXPECT_EQ(verticals[x - 5], std::pair(top, end)) << x;
  // The page number, at the bottom right.
  EXPECT_EQ(std::tuple(c.texts.back().text, c.texts.back().x, c.texts.back().y),
            std::tuple(std::string("1"), kWidth - 10 - 65, 2000 - 65 - kTh));
}

// The columns start at the shares of the usable width: the first (50 pixels) is too narrow
// for its heading and takes room from the columns with room to spare. Where the words need
// more than the page, the table's text gets smaller, no smaller than it must (a character
// is 8 pixels wide at 0.89, 9 at 0.99), down to half size, and what still does not fit is
// cut at its column's margin. The title and the page number keep their size.
TEST(SolutionReport, ColumnsMakeRoomForTheirWordsAndTheTextShrinksWhereTheyCannot) {
  const std::tuple<size_t, double, bool, std::vector<int>> cases[] = {
      {20, 1.0, true, {65, 135, 205, 445, 554, 663, 773, 974, 1065}},
      {50, 1.0, true, {65, 135, 205, 745, 805, 865, 925, 995, 1065}},
      {60, 0.89, true, {65, 127, 189, 707, 768, 829, 890, 1003, 1065}},
      {160, 0.5, false, {65, 115, 165, 830, 875, 920, 965, 1015, 1065}}};
  for (const auto& [letters, scale, whole, edges] : cases) {
    const std::string word(letters, 'w');
    RecordingCanvas c(kWidth, 2000);
    printSolutionReport(c, solutionView({}, {{"1", "", "st. " + word + ", 3", "", "", "", "", ""}}),
                        shell());
    const ReportColumns cols = drawnColumns(c, 8);
    EXPECT_EQ(cols.x, edges) << letters;
    expectCellsInsideTheirColumns(c, cols);
    const DrawnText* drawn = nullptr;
    for (const DrawnText& t : c.texts)
      if (t.text[0] == 'w') drawn = &t;
    ASSERT_NE(drawn, nullptr);
    EXPECT_EQ(drawn->text == word + ",", whole) << letters;
    EXPECT_NEAR(drawn->scale, scale, 1e-9) << letters;
    EXPECT_NEAR(c.find("S519")->scale, scale, 1e-9) << letters;
    EXPECT_EQ(c.find("S599 \"Trip\"")->scale, 1.0);
    EXPECT_EQ(c.texts.back().scale, 1.0);  // the page number
  }
}

// A task view with every option: all columns printed.
TaskView taskViewWithEveryOption(TaskLayout layout,
                                 const std::vector<std::map<int, std::string>>& rows);

// Where every word fits its column (two pixels a character), the columns of both reports lie
// at their shares of the usable width, and the table's text keeps its size.
TEST(Reports, WordsThatFitLeaveTheColumnsAtTheirShares) {
  const auto edges = [](std::vector<double> shares) {
    std::vector<int> x{65};
    for (const double f : shares) x.push_back(x.back() + static_cast<int>(std::lround(f * 1000)));
    return x;
  };
  RecordingCanvas solution(kWidth, 2000, 2);
  printSolutionReport(
      solution, solutionView({{"Alpha", "1"}}, {{"1", "1 (s11)", "st. Main, 3", "0 h"}}), shell());
  EXPECT_EQ(drawnColumns(solution, 8).x, edges({0.05, 0.07, 0.20, 0.12, 0.12, 0.12, 0.22, 0.10}));
  RecordingCanvas transitions(kWidth, 2000, 2);
  printTaskReport(transitions,
                  taskViewWithEveryOption(TaskLayout::Transitions, {{{0, "1"}, {1, "st. Oak"}}}),
                  shell());
  EXPECT_EQ(drawnColumns(transitions, 16).x,
            edges({0.06, 0.18, 0.05, 0.05, 0.05, 0.06, 0.07, 0.08, 0.05, 0.05, 0.05, 0.05, 0.05,
                   0.05, 0.05, 0.05}));
  RecordingCanvas points(kWidth, 2000, 2);
  printTaskReport(points, taskViewWithEveryOption(TaskLayout::Points, {{{0, "1"}, {1, "st. Oak"}}}),
                  shell());
  EXPECT_EQ(drawnColumns(points, 11).x,
            edges({0.08, 0.20, 0.08, 0.08, 0.08, 0.08, 0.08, 0.08, 0.08, 0.08, 0.08}));
  for (const RecordingCanvas* c : {&solution, &transitions, &points})
    for (const DrawnText& t : c->texts) EXPECT_EQ(t.scale, 1.0) << t.text;
}

// A table whose words need more than the page is printed smaller; the title, the parameter
// lines and the page numbers keep the canvas's own size.
TEST(Reports, AShrunkTableLeavesTheTitleAndTheParametersAtTheirSize) {
  const std::string word(90, 'w');
  RecordingCanvas solution(kWidth, 2000);
  printSolutionReport(solution, solutionView({{"Alpha", "1"}}, {{"1", "", "st. " + word}}),
                      shell());
  RecordingCanvas task(kWidth, 2000);
  printTaskReport(task, taskViewWithEveryOption(TaskLayout::Points, {{{0, "1"}, {1, word}}}),
                  shell());
  for (const RecordingCanvas* c : {&solution, &task}) {
    int shrunk = 0;
    for (const DrawnText& t : c->texts) {
      const bool unshrunk = t.y < 130 || (t.text == "1" && t.y > 1800);  // title, lines, number
      if (unshrunk)
        EXPECT_EQ(t.scale, 1.0) << t.text;
      else
        EXPECT_LT(t.scale, 1.0) << t.text;
      shrunk += unshrunk ? 0 : 1;
    }
    EXPECT_GT(shrunk, 3);
    // The parameter lines are full line heights below the title.
    const DrawnText* line = c->find("Alpha: 1") ? c->find("Alpha: 1") : c->find("Code: LOAD01");
    EXPECT_EQ(line->y, c == &solution ? 60 + 2 * kTh : 60 + kTh);
  }
}

// Every page of a report: its texts and rules within the page, one page number (its own)
// at the bottom right, the vertical rules drawn once or not at all, nothing below the
// footer's line.
void expectSoundPages(const RecordingCanvas& c, int height, size_t verticalRules) {
  std::vector<size_t> verticals(c.pages + 1), texts(c.pages + 1);
  for (size_t i = 0; i < c.texts.size(); ++i) {
    const DrawnText& t = c.texts[i];
    ++texts[t.page];
    // The page number is the page's last text.
    const bool last = i + 1 == c.texts.size() || c.texts[i + 1].page != t.page;
    if (last) {
      EXPECT_EQ(std::tuple(t.text, t.y), std::tuple(std::to_string(t.page), height - 65 - kTh));
    }
    EXPECT_GE(t.y, 60) << t.text;
    if (!last) {
      EXPECT_LE(t.y + kTh, height - 65 - kTh) << "page " << t.page << ": " << t.text;
    }
  }
  for (const DrawnLine& l : c.lines) {
    verticals[l.page] += l.vertical() ? 1 : 0;
    EXPECT_LE(std::max(l.y1, l.y2), height - 65 - kTh) << "page " << l.page;
  }
  for (int page = 1; page <= c.pages; ++page) {
    EXPECT_GT(texts[page], 0u) << "page " << page;
    EXPECT_TRUE(verticals[page] == verticalRules || verticals[page] == 0) << "page " << page;
  }
}

using Rows = std::vector<std::vector<std::string>>;

// A parameter line goes to the next page when it and a line to spare would reach the footer;
// a table that would start low on its page starts on the next one; a row that would reach
// the footer moves on whole, and only a row taller than a page is continued line by line.
// Continuation pages carry neither headings nor a top rule.
TEST(SolutionReport, PageBreaksKeepLinesAndRowsWhole) {
  KeyValueList params20, params24;
  for (int i = 0; i < 24; ++i) (i < 20 ? params20 : params24).push_back({marked("P", i), "v"});
  params24.insert(params24.begin(), params20.begin(), params20.end());
  Rows forty;  // every third row has a section of three lines and an address
  for (int r = 1; r <= 40; ++r) {
    std::string section(5, static_cast<char>('a' + r % 26));
    for (int w = 1; w < 9; ++w) section += " " + std::string(5, static_cast<char>('a' + r % 26));
    forty.push_back(
        {marked("r", r), "", r % 3 ? "" : "addr", "", "", "", r % 3 ? "x" : section, ""});
  }
  Rows single;  // rows of one line, 50 pixels each from 170 on
  for (int r = 1; r <= 23; ++r) single.push_back({marked("r", r)});
  std::string tall = "zz";  // two words a line in column 0: 100 lines
  for (int w = 1; w < 200; ++w) tall += " zz";
  struct Placed {
    std::string text;
    int page, y;
  };
  const std::string k(60, 'k'), v(59, 'v'), w(60, 'w'), x(150, 'x');
  struct Case {
    int width, height;
    KeyValueList parameters;
    Rows rows;
    std::vector<Placed> placed;  // page 0: the last page
  } cases[] = {
      // From 100, a line is drawn at y + 20 while y + 80 <= 335.
      {kWidth, 400, params20, {}, {{"P8: v", 1, 260}, {"P9: v", 2, 85}, {"S519", 0, 80}}},
      // A key and value of 120 characters or more put the value on a line of its own (the
      // page holds 187); a line wider than the page (100) continues below it.
      {2000,
       3000,
       {{k, v}, {k, w}, {"Empty", ""}},
       {},
       {{k + ": " + v, 1, 100}, {k + ":", 1, 120}, {w, 1, 140}, {"Empty:", 1, 160}}},
      {kWidth,
       3000,
       {{"K", x}, {"Next", "1"}},
       {},
       {{"K:", 1, 100}, {x.substr(50), 1, 120}, {x.substr(100), 1, 140}, {"Next: 1", 1, 160}}},
      // The table would start at 80 + 24 x 20 + 40 = 600: below 1700 - 1200.
      {kWidth,
       1700,
       params24,
       {{"1", "", "", "", "", "", "", ""}},
       {{"P23: v", 1, 560}, {"S519", 2, 80}}},
      // ... and right at 1800 - 1200 it stays.
      {kWidth, 1800, params24, {{"1", "", "", "", "", "", "", ""}}, {{"S519", 1, 615}}},
      {kWidth, 1500, {{"A", "1"}}, forty, {{"S519", 1, 140 + 15}, {"r40", 0, -1}}},
      // Row 22 ends right on the footer's line: it stays; row 23 moves on.
      {kWidth, 1355, {}, single, {{"r22", 1, 170 + 21 * 50 + 15}, {"r23", 2, 65 + 15}}},
      {kWidth,
       700,
       {},
       {{"row1"}, {tall}, {"row3"}},
       {{"row1", 2, 65 + kTh + 30 + 15}, {"row3", 0, -1}}},
  };
  for (const Case& each : cases) {
    RecordingCanvas c(each.width, each.height);
    printSolutionReport(c, solutionView(each.parameters, each.rows), shell());
    SCOPED_TRACE(each.height);
    expectSoundPages(c, each.height, 9);
    for (const Placed& p : each.placed) {
      const DrawnText* t = c.find(p.text);
      ASSERT_NE(t, nullptr) << p.text;
      EXPECT_EQ(t->page, p.page ? p.page : c.pages) << p.text;
      if (p.y >= 0) {
        EXPECT_EQ(t->y, p.y) << p.text;
      }
      if (p.text[0] != 'S' && p.text[0] != 'r') {
        EXPECT_EQ(t->x, 65) << p.text;
      }
    }
    // Rows in order, each with all its lines on the page of its first.
    const ReportColumns cols = drawnColumns(c, 8);
    int lastPage = 1;
    std::string printed;  // the tall cell, continued over pages
    for (const DrawnText& t : c.texts)
      if (!t.text.empty() && t.text[0] == 'z') printed += (printed.empty() ? "" : " ") + t.text;
    for (const std::vector<std::string>& row : each.rows) {
      if (row[0] == tall) {
        EXPECT_EQ(printed, tall);
        EXPECT_GE(c.pages, 4);
        continue;
      }
      const DrawnText* first = c.find(row[0]);
      ASSERT_NE(first, nullptr) << row[0];
      EXPECT_GE(first->page, lastPage);
      lastPage = first->page;
      if (row.size() < 7 || row[6].size() < 2) continue;
      int lines = 0;
      for (const DrawnText& t : c.texts)
        if (t.x == cols.textX(kRouteSection) && t.text[0] == row[6][0]) {
          EXPECT_EQ(t.page, first->page) << row[0];
          ++lines;
        }
      EXPECT_EQ(lines, 3) << row[0];
    }
    const int headingsPage = c.find("S519")->page;
    for (const DrawnLine& l : c.lines) {
      if (l.horizontal() && l.page > headingsPage) {
        EXPECT_GT(l.y1, 65);
      }
      // A table without rows is closed under its headings.
      if (each.rows.empty() && l.vertical()) {
        EXPECT_EQ(l.y2 - l.y1, kTh + 2 * kReportCellPad);
      }
    }
  }
}

// A page too short for a single line of a row still takes one, rather than breaking for ever.
TEST(SolutionReport, APageTooShortForALineStillTakesOne) {
  RecordingCanvas c(kWidth, 180);
  printSolutionReport(c, solutionView({}, {{"row"}}), shell());
  EXPECT_LE(c.pages, 3);
  ASSERT_NE(c.find("row"), nullptr);
}

// A task view of the transitions layout (16 columns) or the points layout, its cells given
// as "column=text" pairs.
TaskView taskView(TaskLayout layout, const std::vector<std::map<int, std::string>>& rows) {
  TaskView v;
  v.layout = layout;
  v.caption = "S574 \"Load\"";
  v.header.moneyUnit = "EUR";
  v.parameters = {{"Code", "LOAD01"}, {"Points:", ""}};
  v.table = GridTable(taskColumnCount(layout));
  v.table.setRows(static_cast<int>(rows.size()));
  for (size_t r = 0; r < rows.size(); ++r)
    for (const auto& [k, text] : rows[r]) v.table.set(static_cast<int>(r), k, text);
  return v;
}

TaskView taskViewWithEveryOption(TaskLayout layout,
                                 const std::vector<std::map<int, std::string>>& rows) {
  TaskView v = taskView(layout, rows);
  v.header.cargoMode = 1;
  v.header.orderMode = 1;
  v.header.refusalFlag = 1;
  v.header.timeFactorFlag = 1;
  return v;
}

// Switched-off columns have no width, no heading and no cells; their rules lie on one
// another. Where the words fit (two pixels a character), the columns present keep their
// shares, and the table ends at 0.65 of the usable width.
TEST(TaskReport, SwitchedOffColumnsHaveNoWidthNoHeadingAndNoCells) {
  RecordingCanvas c(kWidth, 2000, 2);
  printTaskReport(
      c, taskView(TaskLayout::Transitions, {{{0, "1"}, {1, "st. Oak, 1"}, {3, "9"}, {12, "7"}}}),
      shell());
  const ReportColumns cols = drawnColumns(c, 16);
  for (const int k : {3, 10, 11, 12, 13, 14, 15}) EXPECT_EQ(cols.x[k], cols.x[k + 1]) << k;
  EXPECT_EQ(cols.x, (std::vector<int>{65, 125, 305, 355, 355, 405, 465, 535, 615, 665, 715, 715,
                                      715, 715, 715, 715, 715}));
  EXPECT_EQ(c.find("9"), nullptr);
  EXPECT_EQ(c.find("7"), nullptr);
  EXPECT_NE(c.find("S750 (EUR)"), nullptr);
  std::set<int> xs;
  for (const DrawnLine& l : c.lines)
    if (l.vertical()) xs.insert(l.x1);
  EXPECT_EQ(xs.size(), 10u);
  EXPECT_EQ(*xs.rbegin(), cols.right() - 5);
}

// A switched-off column and a mode without a title of its own have no heading.
TEST(TaskReport, HeadingsFollowTheModes) {
  const std::tuple<int, int, int, const char*> cases[] = {
      {1, 2, kTaskServiceTime, "S84"}, {-1, 2, kTaskServiceTime, "S84"},
      {1, 2, kTaskVolume, "S425"},     {2, 2, kTaskVolume, "S74"},
      {3, 2, kTaskVolume, ""},         {-1, 2, kTaskUnloadTime, ""},
      {1, 2, kTaskOrder, "S407"},      {1, 1, kTaskOrder, "S409"},
      {1, 3, kTaskOrder, "S547"},      {1, 4, kTaskOrder, ""}};
  for (const auto& [cargo, order, col, heading] : cases) {
    TaskHeader h;
    h.cargoMode = cargo;
    h.orderMode = order;
    EXPECT_EQ(taskReportHeading(TaskLayout::Transitions, col, h, shell()), heading)
        << cargo << " " << order << " " << col;
  }
}

TEST(TaskReport, LaysOutParametersSeparatorRowsAndRulesOfTheTransitionsLayout) {
  std::map<int, std::string> dashes;
  for (int k = 0; k < 16; ++k) dashes[k] = std::string(k == 1 ? 52 : 31, '-');
  TaskView v = taskView(TaskLayout::Transitions,
                        {{{0, "1"}, {1, "st. Oak, 1"}, {6, "1"}, {7, "from"}},
                         {{6, "2"}, {7, "back"}},
                         dashes,
                         {{0, "1"}, {1, "st. Oak, 1"}, {6, "1"}, {7, "a long transition kind"}}});
  v.header.timeFactorFlag = 1;             // income and windows on
  RecordingCanvas c(kWidth + 1000, 2000);  // every word fits its column
  printTaskReport(c, v, shell());
  EXPECT_EQ(c.pages, 1);
  EXPECT_EQ(c.scale, 1);
  // The parameter lines stand right under the title, one empty line below them.
  for (const auto& [text, y] :
       {std::pair("S88 \"Load\"", 60), {"Code: LOAD01", 80}, {"Points:", 100}}) {
    ASSERT_NE(c.find(text), nullptr) << text;
    EXPECT_EQ(c.find(text)->y, y) << text;
  }
  const ReportColumns cols = drawnColumns(c, 16);
  expectCellsInsideTheirColumns(c, cols);
  EXPECT_EQ(c.find("transition")->x, cols.textX(7));  // wrapped at its blanks in its column

  // The separator row: the dashes of the point's own cells fill them within their margins;
  // from column 3 on they are fixed runs of 16, and 10 from column 8 on, cut at the column.
  std::string runs;
  for (const DrawnText& t : c.texts)
    if (t.text.find("---") != std::string::npos) runs += std::to_string(t.text.size()) + " ";
  std::string expected;
  for (const int k : {0, 1, 2, 4, 5, 6, 7, 8, 9, 13, 14, 15})
    expected += std::to_string(std::min(k == 1  ? 52
                                        : k < 3 ? 31
                                        : k < 8 ? 16
                                                : 10,
                                        cols.limit[k] / 10)) +
                " ";
  EXPECT_EQ(runs, expected);

  // Rules: the top, under the headings, a partial rule under columns 6 to 9 where the next
  // row continues the point, full rules elsewhere (the last row too); a row of single lines is
  // a line and its margins tall.
  std::vector<std::tuple<int, int, int>> ruled;
  for (const DrawnLine& l : c.lines)
    if (l.horizontal()) ruled.emplace_back(l.x1, l.x2, l.y1);
  const int top = 80 + 3 * kTh, right = cols.right() - 5, row = kTh + 30;
  ASSERT_EQ(ruled.size(), 6u);
  EXPECT_EQ(ruled[0], std::tuple(60, right, top));
  const int below = std::get<2>(ruled[1]);  // the headings
  EXPECT_EQ(ruled[2], std::tuple(cols.x[6] - 5, cols.x[10] - 5, below + row));
  EXPECT_EQ(ruled[3], std::tuple(60, right, below + 2 * row));
  EXPECT_EQ(std::pair(std::get<0>(ruled[5]), std::get<1>(ruled[5])), std::pair(60, right));
}

TEST(TaskReport, ThePointsLayoutRulesEveryRowAndBreaksPagesWholeRows) {
  std::vector<std::map<int, std::string>> rows;
  for (int r = 1; r <= 30; ++r)
    rows.push_back({{0, std::to_string(100 + r)}, {1, marked("st. Elm, ", r)}, {2, "5"}, {4, "1"}});
  rows.emplace_back();
  TaskView v = taskView(TaskLayout::Points, rows);
  v.header.cargoMode = 1;
  RecordingCanvas c(kWidth, 900);
  printTaskReport(c, v, shell());
  ASSERT_GT(c.pages, 1);
  expectSoundPages(c, 900, 12);
  int full = 0;
  for (const DrawnLine& l : c.lines) full += l.horizontal() && l.x1 == 60 ? 1 : 0;
  EXPECT_EQ(full, 2 + 31);
  for (int r = 1; r <= 30; ++r)
    EXPECT_EQ(c.find(std::to_string(100 + r))->page, c.find(marked("st. Elm, ", r))->page);

  // A table whose headings and first row do not fit under the parameters starts on the next
  // page: from 300, they would reach below 315.
  v = taskView(TaskLayout::Points, {{{0, "1"}}});
  for (int i = 0; i < 8; ++i) v.parameters.push_back({marked("P", i), ""});
  RecordingCanvas low(kWidth, 400);
  printTaskReport(low, v, shell());
  EXPECT_EQ(low.find("P7:")->page, 1);
  EXPECT_EQ(low.find("S405")->page, 2);
  for (const DrawnLine& l : low.lines) EXPECT_EQ(l.page, 2);

  // Cells are cut at a hundred characters (the 100th is a blank).
  std::string cell = "q";
  while (cell.size() < 150) cell += " q";
  RecordingCanvas wide(kWidth, 3000);
  printTaskReport(wide, taskView(TaskLayout::Points, {{{0, "1"}, {1, cell}}}), shell());
  std::string printed;
  for (const DrawnText& t : wide.texts)
    if (t.text[0] == 'q') printed += (printed.empty() ? "" : " ") + t.text;
  EXPECT_EQ(printed, cell.substr(0, 99));
}

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
  // Only letters and digits of the code are kept.
  EXPECT_EQ(reportPdfPath("/x", ReportKind::Task, "@AZ[`az{/09: \xC0", kNow).filename(),
            "qj__AZ__az__09____task_20260307-090502.pdf");
}

TEST(PrintMessages, NameThePrinterOrTheFile) {
  using enum JobCanceller;
  const std::string pdf = "/home/u/QJ/Print/qj_A_task_1.pdf";
  const std::tuple<Message, MessageKind, std::string> cases[] = {
      {printerFailedMessage("Office laser"), MessageKind::Error, "S960 \"Office laser\"."},
      {pdfFailedMessage(pdf), MessageKind::Error, "S961 \"" + pdf + "\"."},
      {pdfNotShownMessage(pdf), MessageKind::Information,
       "S962 \"qj_A_task_1.pdf\" S963 \"/home/u/QJ/Print\"."},
      {printerRefusedMessage("Office laser", pdf), MessageKind::Error,
       "S960 \"Office laser\". S964 \"qj_A_task_1.pdf\" S963 \"/home/u/QJ/Print\"."},
      {printerAndPdfFailedMessage("Office laser", pdf), MessageKind::Error,
       "S960 \"Office laser\". S961 \"" + pdf + "\"."},
      {printerWaitingMessage("Office laser"), MessageKind::Information, "S965 \"Office laser\"."},
      {printerAndPdfFailedMessage("Office laser", pdf, JobFate::Aborted, "Jam"), MessageKind::Error,
       "S960 \"Office laser\". S1262: Jam. S961 \"" + pdf + "\"."},
      {printerAndPdfFailedMessage("Office laser", pdf, JobFate::Cancelled, std::string(500, 'x')),
       MessageKind::Error,
       "S960 \"Office laser\". S1261: " + std::string(200, 'x') + "... S961 \"" + pdf + "\"."},
      {printerRefusedMessage("Office laser", pdf, JobFate::Cancelled, "", User), MessageKind::Error,
       "S960 \"Office laser\". S1270. S964 \"qj_A_task_1.pdf\" S963 \"/home/u/QJ/Print\"."},
      {printerAndPdfFailedMessage("Office laser", pdf, JobFate::Cancelled, "Panel", Printer),
       MessageKind::Error, "S960 \"Office laser\". S1272: Panel. S961 \"" + pdf + "\"."},
      {printerAndPdfFailedMessage("Office laser", pdf, JobFate::Cancelled, "", Operator),
       MessageKind::Error, "S960 \"Office laser\". S1271. S961 \"" + pdf + "\"."},
      {noAnswerMessage(pdf, true), MessageKind::Error,
       "S1260 S964 \"qj_A_task_1.pdf\" S963 \"/home/u/QJ/Print\"."},
      {noAnswerMessage(pdf, false), MessageKind::Error, "S1260 S961 \"" + pdf + "\"."}};
  for (const auto& [m, kind, text] : cases)
    EXPECT_EQ(std::pair(m.kind, m.utf8(shell())), std::pair(kind, text));
}

}  // namespace
}  // namespace qj
