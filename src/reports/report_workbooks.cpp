#include "reports/report_workbooks.h"

#include <functional>

#include "records/text.h"

namespace qj {

using office::CellRange;
using office::columnRange;
using office::HAlign;
using office::rowRange;
using office::SheetOutput;
using office::Workbook;
using office::WorkbookOutput;

namespace {

// A title row as both workbooks format it: bold, 54 points high, wrapped, over `columns`
// columns whatever number of them holds a title.
void formatTitleRow(SheetOutput& sheet, int columns) {
  sheet.setBold(rowRange(0, columns));
  sheet.setRowHeight(0, 54);
  sheet.setWrap(rowRange(0, columns));
}

void setWidths(SheetOutput& sheet, std::initializer_list<double> widths) {
  int col = 0;
  for (double w : widths) sheet.setColumnWidth(col++, w);
}

// The parameter list: keys in column A (left-aligned, `keyWidth` wide), values in column B
// (bold, left-aligned, 74 wide).
void addParameterSheet(WorkbookOutput& book, const KeyValueList& rows, double keyWidth,
                       const ShellTables& texts) {
  SheetOutput& sheet = book.addSheet(texts.shell(483));
  const int r = static_cast<int>(rows.size());
  sheet.setAlign(columnRange(0, r), HAlign::Left);
  sheet.setColumnWidth(0, keyWidth);
  sheet.setBold(columnRange(1, r));
  sheet.setAlign(columnRange(1, r), HAlign::Left);
  sheet.setColumnWidth(1, 74);
  for (size_t k = 0; k < rows.size(); ++k) {
    sheet.set(static_cast<int>(k), 0, rows[k].key);
    sheet.set(static_cast<int>(k), 1, rows[k].value);
  }
}

constexpr int kPointSheetColumns = 17;  // A .. Q
constexpr int kTransitionSheetColumns = 6;

// One column of the points sheet: its title and the value of point i (1-based).
struct PointColumn {
  std::string title;
  std::function<std::string(int64_t i, const TaskPointRec& p)> value;
};

// The columns of the points sheet from G on, as the task's settings call for them.
std::vector<PointColumn> settingColumns(const TaskHeader& h, int dbLevel, const ShellTables& t,
                                        char sep) {
  const std::string mu = unitSuffix(h.moneyUnit);
  const auto start = [&h](int64_t i) { return i == h.startPoint; };
  const auto startOrEnd = [&h](int64_t i) { return i == h.startPoint || i == h.endPoint; };
  const auto real = [sep](double x) { return realText(x, sep); };
  std::vector<PointColumn> cols;
  if (h.cargoMode == kNoCargo) {
    cols.push_back(
        {t.shell(145), [=](int64_t, const TaskPointRec& p) { return real(p.serviceTime); }});
  } else {
    cols.push_back({t.shell(84), [=](int64_t i, const TaskPointRec& p) {
                      return start(i) ? "-" : real(p.serviceTime);
                    }});
    cols.push_back({t.shell(86), [=](int64_t i, const TaskPointRec& p) {
                      return start(i) ? "-" : real(p.unloadTime);
                    }});
  }
  cols.push_back(
      {t.shell(750) + mu, [=](int64_t, const TaskPointRec& p) { return real(p.waitPenalty); }});
  if (h.orderMode > kNoOrder) {
    const std::string title = h.orderMode == kNextPointGiven     ? t.shell(410)
                              : h.orderMode == kPassedAfterPoint ? t.shell(408)
                                                                 : t.shell(547);
    cols.push_back({title, [=](int64_t i, const TaskPointRec& p) -> std::string {
                      if (h.orderMode == kPriorityClasses && startOrEnd(i)) return "-";
                      return p.orderValue < 0 ? "" : intText(p.orderValue);
                    }});
  }
  if (h.refusalFlag > 0)
    cols.push_back({t.shell(531), [=](int64_t i, const TaskPointRec& p) -> std::string {
                      if (startOrEnd(i)) return "-";
                      return p.refusalAllowed == 1 ? std::string(kFlagShown) : "";
                    }});
  if (h.cargoMode == kCargoByVolume || h.cargoMode == kCargoByWeight)
    cols.push_back(
        {h.cargoMode == kCargoByVolume ? t.shell(425) : trimmed(t.shell(74)),
         [=](int64_t i, const TaskPointRec& p) { return start(i) ? "-" : real(p.volume); }});
  if (h.refusalFlag > 0 || h.timeFactorFlag > 0 || h.cargoMode > kNoCargo)
    cols.push_back(
        {(h.timeFactorFlag == 0 ? t.shell(162) : t.shell(163)) + mu,
         [=](int64_t i, const TaskPointRec& p) { return start(i) ? "-" : real(p.income); }});
  if (h.timeFactorFlag > 0) {
    cols.push_back({t.shell(374), [=](int64_t i, const TaskPointRec& p) {
                      return startOrEnd(i) ? "-" : intText(p.windowLow);
                    }});
    cols.push_back({t.shell(71), [=](int64_t i, const TaskPointRec& p) -> std::string {
                      if (startOrEnd(i)) return "-";
                      return p.windowHigh == 0 ? "" : intText(p.windowHigh);
                    }});
  }
  if (dbLevel == 1) {
    cols.push_back(
        {t.shell(733), [](int64_t, const TaskPointRec& p) { return intText(p.toCount); }});
    cols.push_back(
        {t.shell(734), [](int64_t, const TaskPointRec& p) { return intText(p.fromCount); }});
  }
  return cols;
}

// A text of a column that repeats the value above it only where it changes.
class RepeatBlanking {
 public:
  std::string next(const std::string& value) {
    if (value == last_) return {};
    last_ = value;
    return value;
  }

 private:
  std::string last_;
};

void addPointSheet(WorkbookOutput& book, const TaskView& view, const ShellTables& t, char sep) {
  const TaskHeader& h = view.task.header;
  SheetOutput& sheet = book.addSheet(t.shell(495) + (view.dbLevel == 1 ? " (1)" : ""));
  formatTitleRow(sheet, kPointSheetColumns);
  setWidths(sheet, {7, 6, 6, 11.5, 25, 7, 14, 15, 21, 21, 21, 21, 21.5, 22.5, 21});
  if (view.dbLevel == 1) {
    sheet.setColumnWidth(15, 21);
    sheet.setColumnWidth(16, 21);
  }
  std::vector<PointColumn> cols = {
      {t.shell(405), [](int64_t i, const TaskPointRec&) { return intText(i); }},
      {t.shell(769) + " (*)",
       [&h](int64_t i, const TaskPointRec&) { return i == h.startPoint ? "*" : ""; }},
      {t.shell(770) + " (*)",
       [&h](int64_t i, const TaskPointRec&) { return i == h.endPoint ? "*" : ""; }},
  };
  // Street type and name are filled in the loop below, each blanked where it repeats.
  cols.push_back({t.shell(16), nullptr});
  cols.push_back({t.shell(14), nullptr});
  cols.push_back({trimmed(t.shell(15)), [](int64_t, const TaskPointRec& p) { return p.house; }});
  for (PointColumn& c : settingColumns(h, view.dbLevel, t, sep)) cols.push_back(std::move(c));

  for (size_t c = 0; c < cols.size(); ++c) sheet.set(0, static_cast<int>(c), cols[c].title);
  RepeatBlanking types, streets;
  for (size_t k = 0; k < view.task.points.size(); ++k) {
    const TaskPointRec& p = view.task.points[k];
    const int row = static_cast<int>(k) + 1;
    const int64_t i = static_cast<int64_t>(k) + 1;
    // The street type and name, blanked where they repeat, in their places among the rest.
    const std::string type = types.next(p.streetType), street = streets.next(p.street);
    for (size_t c = 0; c < cols.size(); ++c) {
      const int col = static_cast<int>(c);
      if (cols[c].value)
        sheet.set(row, col, cols[c].value(i, p));
      else
        sheet.set(row, col, col == 3 ? type : street);
    }
  }
}

// One block of the transitions sheet: every point's list, a row per transition, the point's
// number and section on the first row of its run.
void addTransitionBlock(SheetOutput& sheet, int& row, const TaskFile& task, bool to, char sep) {
  const auto& lists = to ? task.toLists : task.fromLists;
  for (size_t i = 0; i < task.points.size() && i < lists.size(); ++i) {
    for (size_t j = 0; j < lists[i].size(); ++j) {
      const TransitionRec& tr = lists[i][j];
      if (j == 0) {
        sheet.set(row, 0, intText(static_cast<int64_t>(i) + 1));
        sheet.set(row, 1, intText(static_cast<int64_t>(task.points[i].sectionIndex) + 1));
      }
      sheet.set(row, 2, intText(static_cast<int64_t>(j) + 1));
      sheet.set(
          row, 3,
          !to && tr.kind < 0 ? "5: " + intText(-static_cast<int64_t>(tr.kind)) : intText(tr.kind));
      sheet.set(row, 4, realText(tr.dist, sep));
      sheet.set(row, 5, realText(tr.speed, sep));
      ++row;
    }
  }
}

void addTransitionSheet(WorkbookOutput& book, const TaskView& view, const ShellTables& t,
                        char sep) {
  SheetOutput& sheet = book.addSheet(t.shell(495) + " (2)");
  formatTitleRow(sheet, kTransitionSheetColumns);
  setWidths(sheet, {7, 7, 30, 24.5, 19, 15});
  const std::string titles[kTransitionSheetColumns] = {t.shell(405),          trimmed(t.shell(402)),
                                                       t.shell(381),          t.shell(771),
                                                       trimmed(t.shell(591)), t.shell(614)};
  for (int c = 0; c < kTransitionSheetColumns; ++c) sheet.set(0, c, titles[c]);
  int row = 1;
  addTransitionBlock(sheet, row, view.task, true, sep);
  const int dashes[kTransitionSheetColumns] = {13, 13, 53, 44, 34, 26};
  for (int c = 0; c < kTransitionSheetColumns; ++c)
    sheet.set(row, c, std::string(static_cast<size_t>(dashes[c]), '-'));
  ++row;
  addTransitionBlock(sheet, row, view.task, false, sep);
}

}  // namespace

void laySolutionWorkbook(const SolutionView& view, const ShellTables& texts, WorkbookOutput& out) {
  addParameterSheet(out, view.parameters, 86, texts);
  SheetOutput& route = out.addSheet(texts.shell(434));
  formatTitleRow(route, kRouteShownColumns);
  setWidths(route, {12, 16.5, 27, 14.5, 14.5, 14.5, 30, 13});
  for (int c = 0; c < kRouteShownColumns; ++c) route.set(0, c, routeColumnTitle(c, texts));
  // The end node kept beside the shown columns is not exported.
  for (int r = 0; r < view.route.rows(); ++r)
    for (int c = 0; c < kRouteShownColumns; ++c) route.set(r + 1, c, view.route.cell(r, c));
}

void layTaskWorkbook(const TaskView& view, const ShellTables& texts, char sep,
                     WorkbookOutput& out) {
  addParameterSheet(out, view.parameters, 75, texts);
  addPointSheet(out, view, texts, sep);
  if (view.dbLevel == 1) addTransitionSheet(out, view, texts, sep);
}

int64_t solutionWorkbookRows(const SolutionView& view) {
  return static_cast<int64_t>(view.parameters.size()) + 1 + view.route.rows();
}

int64_t taskWorkbookRows(const TaskView& view) {
  int64_t rows = static_cast<int64_t>(view.parameters.size()) + 1 +
                 static_cast<int64_t>(view.task.points.size());
  if (view.dbLevel == 1) {
    rows += 2;
    for (const auto& list : view.task.toLists) rows += static_cast<int64_t>(list.size());
    for (const auto& list : view.task.fromLists) rows += static_cast<int64_t>(list.size());
  }
  return rows;
}

Workbook solutionWorkbook(const SolutionView& view, const ShellTables& texts) {
  Workbook book;
  laySolutionWorkbook(view, texts, book);
  return book;
}

Workbook taskWorkbook(const TaskView& view, const ShellTables& texts, char sep) {
  Workbook book;
  layTaskWorkbook(view, texts, sep, book);
  return book;
}

std::string taskWorkbookStem(const TaskHeader& h) {
  return "qj_" + h.code;
}

std::string solutionWorkbookStem(const TaskHeader& h) {
  return "qj_" + h.code + "_out";
}

}  // namespace qj
