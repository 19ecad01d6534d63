#include "reports/task_rows.h"

#include "dbrn/dbrn_io.h"
#include "records/text.h"

namespace qj {

TaskLayout taskLayout(int dbLevel) {
  return dbLevel <= 1 ? TaskLayout::Transitions : TaskLayout::Points;
}

int taskColumnCount(TaskLayout layout) {
  return layout == TaskLayout::Transitions ? kTaskTransitionColumns : kTaskPointColumns;
}

int taskColumnContent(TaskLayout layout, int col) {
  if (layout == TaskLayout::Transitions || col <= kTaskWaitPenalty) return col;
  return col - kTaskWaitPenalty - 1 + kTaskOrder;
}

namespace {

bool hasIncome(const TaskHeader& h) {
  return h.refusalFlag > 0 || h.timeFactorFlag > 0 || h.cargoMode > kNoCargo;
}

bool appliesTo(int content, const TaskHeader& h) {
  switch (content) {
    case kTaskUnloadTime:
    case kTaskVolume: return h.cargoMode != kNoCargo;
    case kTaskOrder: return h.orderMode != kNoOrder;
    case kTaskRefusal: return h.refusalFlag != 0;
    case kTaskIncome: return h.refusalFlag != 0 || h.timeFactorFlag != 0 || h.cargoMode != kNoCargo;
    case kTaskWindowLow:
    case kTaskWindowHigh: return h.timeFactorFlag != 0;
    default: return true;
  }
}

std::string titleOf(int content, const TaskHeader& h, const ShellTables& texts) {
  const std::string mu = unitSuffix(h.moneyUnit);
  switch (content) {
    case kTaskPointNo: return texts.shell(405);
    case kTaskAddress: return trimmed(texts.shell(13));
    case kTaskServiceTime: return h.cargoMode != kNoCargo ? texts.shell(84) : texts.shell(145);
    case kTaskUnloadTime: return texts.shell(86);
    case kTaskWaitPenalty: return texts.shell(750) + mu;
    case kTaskSectionNo: return trimmed(texts.shell(402));
    case kTaskTransitionNo: return texts.shell(379);
    case kTaskTransitionKind: return texts.shell(686);
    case kTaskDistance: return trimmed(texts.shell(591));
    case kTaskSpeed: return texts.shell(614);
    case kTaskOrder:
      if (h.orderMode == kNextPointGiven) return texts.shell(409);
      if (h.orderMode == kPassedAfterPoint) return trimmed(texts.shell(407));
      return texts.shell(547);
    case kTaskRefusal: return texts.shell(529);
    case kTaskVolume:
      return h.cargoMode == kCargoByVolume ? texts.shell(425) : trimmed(texts.shell(74));
    case kTaskIncome: return texts.shell(162) + mu;
    case kTaskWindowLow: return texts.shell(372);
    case kTaskWindowHigh: return texts.shell(73);
    default: return {};
  }
}

// The cell of column `content` for point i (1-based) that the point's first row carries.
std::string pointCell(int content, int64_t i, const TaskPointRec& p, const TaskHeader& h,
                      const ShellTables& texts, char sep) {
  const bool start = i == h.startPoint;
  const bool startOrEnd = start || i == h.endPoint;
  switch (content) {
    case kTaskPointNo: return pointNumberText(i, h, texts);
    case kTaskAddress: return addressOf(p);
    case kTaskServiceTime:
      return h.cargoMode != kNoCargo && start ? "-" : realText(p.serviceTime, sep);
    case kTaskUnloadTime:
      if (h.cargoMode == kNoCargo) return {};
      return start ? "-" : realText(p.unloadTime, sep);
    case kTaskWaitPenalty: return realText(p.waitPenalty, sep);
    case kTaskSectionNo: return intText(static_cast<int64_t>(p.sectionIndex) + 1);
    case kTaskOrder:
      if (h.orderMode <= kNoOrder) return {};
      if (h.orderMode == kPriorityClasses && startOrEnd) return "-";
      return p.orderValue < 0 ? "" : intText(p.orderValue);
    case kTaskRefusal:
      if (h.refusalFlag <= 0) return {};
      if (startOrEnd) return "-";
      return p.refusalAllowed != 0 ? std::string(kFlagShown) : "";
    case kTaskVolume:
      if (h.cargoMode <= kNoCargo) return {};
      return start ? "-" : realText(p.volume, sep);
    case kTaskIncome:
      if (!hasIncome(h)) return {};
      return start ? "-" : realText(p.income, sep);
    case kTaskWindowLow:
      if (h.timeFactorFlag <= 0) return {};
      return startOrEnd ? "-" : intText(p.windowLow);
    case kTaskWindowHigh:
      if (h.timeFactorFlag <= 0) return {};
      if (startOrEnd) return "-";
      return p.windowHigh == 0 ? "" : intText(p.windowHigh);
    default: return {};
  }
}

void writePointCells(GridTable& table, int row, int64_t i, const TaskPointRec& p,
                     const TaskHeader& h, const ShellTables& texts, char sep) {
  for (int content : {kTaskPointNo, kTaskAddress, kTaskServiceTime, kTaskUnloadTime,
                      kTaskWaitPenalty, kTaskSectionNo, kTaskOrder, kTaskRefusal, kTaskVolume,
                      kTaskIncome, kTaskWindowLow, kTaskWindowHigh})
    table.set(row, content, pointCell(content, i, p, h, texts, sep));
}

// One part of the transitions layout: every point's list, a row per transition.
void appendTransitionPart(GridTable& table, const TaskFile& task, bool to, const ShellTables& texts,
                          char sep) {
  const auto& lists = to ? task.toLists : task.fromLists;
  for (size_t i = 0; i < task.points.size() && i < lists.size(); ++i) {
    const std::vector<TransitionRec>& list = lists[i];
    for (size_t j = 0; j < list.size(); ++j) {
      const int row = table.rows();
      table.setRows(row + 1);
      if (j == 0)
        writePointCells(table, row, static_cast<int64_t>(i) + 1, task.points[i], task.header, texts,
                        sep);
      table.set(row, kTaskTransitionNo, intText(static_cast<int64_t>(j) + 1));
      table.set(row, kTaskTransitionKind, transitionKindText(list[j].kind, to, texts));
      table.set(row, kTaskDistance, realText(list[j].dist, sep));
      table.set(row, kTaskSpeed, realText(list[j].speed, sep));
    }
  }
}

void appendDashRow(GridTable& table) {
  const int row = table.rows();
  table.setRows(row + 1);
  for (int col = 0; col < kTaskTransitionColumns; ++col)
    table.set(row, col, std::string(col == kTaskAddress ? 52 : 31, '-'));
}

}  // namespace

bool taskColumnApplies(TaskLayout layout, int col, const TaskHeader& h) {
  return appliesTo(taskColumnContent(layout, col), h);
}

std::string taskColumnTitle(TaskLayout layout, int col, const TaskHeader& h,
                            const ShellTables& texts) {
  if (!taskColumnApplies(layout, col, h)) return {};
  return titleOf(taskColumnContent(layout, col), h, texts);
}

TitleWidths taskTitleWidths(TaskLayout layout, int col) {
  static constexpr TitleWidths transitions[kTaskTransitionColumns] = {
      {46, 35, 66}, {160, 120, 220}, {61, 50, 81}, {54, 50, 74}, {52, 52, 72}, {37, 37, 57},
      {69, 50, 89}, {55, 40, 75},    {65, 50, 85}, {56, 50, 76}, {51, 51, 71}, {52, 52, 72},
      {40, 40, 60}, {48, 48, 68},    {55, 50, 75}, {45, 45, 65}};
  static constexpr TitleWidths points[kTaskPointColumns] = {
      {46, 35, 66}, {160, 160, 220}, {61, 50, 81}, {54, 50, 74}, {60, 50, 80}, {52, 52, 72},
      {52, 52, 72}, {40, 40, 60},    {48, 48, 70}, {65, 50, 85}, {45, 45, 65}};
  if (col < 0 || col >= taskColumnCount(layout)) return {};
  return layout == TaskLayout::Transitions ? transitions[col] : points[col];
}

int taskGridColumnWidth(int col, int labelWidth) {
  return col == 0 ? labelWidth - 1 : labelWidth + 1;
}

std::string taskCaption(const TaskHeader& h, const ShellTables& texts) {
  return texts.shell(574) + " \"" + h.name + "\"";
}

KeyValueList taskParameters(const TaskHeader& h, int dbLevel, std::string_view langCode,
                            const ShellTables& texts, char sep) {
  KeyValueList rows;
  const auto add = [&rows](std::string key, std::string value = {}) {
    rows.push_back({std::move(key), std::move(value)});
  };
  add(trimmed(texts.shell(788)), std::string(langCode));
  add(texts.shell(745), h.code);
  add(texts.shell(261), h.name);
  add(texts.shell(484) + ":");
  add("  - " + trimmed(texts.shell(681)), dbrnKindCaption(h.dbKind).resolve(texts));
  add("  - " + trimmed(texts.shell(227)), h.dbCode);
  add("  - " + texts.shell(259), h.dbName);
  add("  - " + texts.shell(138), h.dbDate);
  add(texts.shell(741), intText(h.pointCount));
  add(texts.shell(388), intText(h.startPoint));
  add(texts.shell(390), h.endPoint > 0 ? intText(h.endPoint) : "");
  appendTaskSettingRows(rows, h, dbLevel, texts, sep);
  return rows;
}

GridTable taskRows(const TaskFile& task, TaskLayout layout, const ShellTables& texts, char sep) {
  const TaskHeader& h = task.header;
  GridTable table(taskColumnCount(layout));
  if (layout == TaskLayout::Transitions) {
    appendTransitionPart(table, task, true, texts, sep);
    appendDashRow(table);
    appendTransitionPart(table, task, false, texts, sep);
    return table;
  }
  table.setRows(static_cast<int>(task.points.size()));
  for (size_t i = 0; i < task.points.size(); ++i)
    for (int col = 0; col < kTaskPointColumns; ++col)
      table.set(static_cast<int>(i), col,
                pointCell(taskColumnContent(layout, col), static_cast<int64_t>(i) + 1,
                          task.points[i], h, texts, sep));
  return table;
}

}  // namespace qj
