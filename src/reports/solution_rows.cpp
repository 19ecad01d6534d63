#include "reports/solution_rows.h"

#include <cmath>

#include "dbrn/dbrn_io.h"
#include "records/text.h"

namespace qj {
GridTable routeLineRows(const std::vector<RouteLine>& lines) {
  GridTable table(kRouteColumns);
  table.setRows(static_cast<int>(lines.size()));
  for (size_t i = 0; i < lines.size(); ++i) {
    const RouteLine& l = lines[i];
    const int r = static_cast<int>(i);
    table.set(r, kRouteRowNo, l.rowNo);
    table.set(r, kRoutePoint, l.pointNo);
    table.set(r, kRouteAddress, l.address);
    table.set(r, kRouteArrival, l.arrivalTime);
    table.set(r, kRouteServiceStart, l.serviceStart);
    table.set(r, kRouteServiceEnd, l.serviceEnd);
    table.set(r, kRouteSection, l.sectionName);
    table.set(r, kRouteTurn, l.turnText);
    table.set(r, kRouteEndNode, l.endNode);
  }
  return table;
}

GridTable emptyRouteRows() {
  GridTable table(kRouteColumns);
  table.setRows(1);
  return table;
}

std::string routeColumnTitle(int col, const ShellTables& texts) {
  switch (col) {
    case kRouteRowNo: return texts.shell(519);
    case kRoutePoint: return texts.shell(406);
    case kRouteAddress: return trimmed(texts.shell(13));
    case kRouteArrival: return texts.shell(85);
    case kRouteServiceStart: return texts.shell(83);
    case kRouteServiceEnd: return texts.shell(82);
    case kRouteSection: return texts.shell(265);
    case kRouteTurn: return texts.shell(268);
    default: return {};
  }
}

TitleWidths routeTitleWidths(int col) {
  switch (col) {
    case kRouteRowNo: return {67, 40, 67};
    case kRoutePoint: return {80, 60, 100};
    case kRouteAddress: return {165, 165, 220};
    case kRouteArrival: return {88, 60, 100};
    case kRouteServiceStart: return {90, 70, 110};
    case kRouteServiceEnd: return {88, 60, 100};
    case kRouteSection: return {180, 140, 220};
    case kRouteTurn: return {74, 50, 90};
    default: return {};
  }
}

int routeGridColumnWidth(int col, int labelWidth) {
  if (col == kRouteRowNo) return labelWidth - 1;
  if (col == kRoutePoint) return labelWidth;
  return labelWidth + 1;
}

std::string solutionCaption(const TaskHeader& h, const ShellTables& texts) {
  return texts.shell(768) + " \"" + h.name + "\"";
}

namespace {

// The optimiser's message in pieces of 80 characters (the last of 15), as many as it fills.
void appendFinalMessage(KeyValueList& rows, const std::string& message, const ShellTables& texts) {
  rows.push_back({texts.shell(668), message.substr(0, 80)});
  for (size_t from : {80u, 160u, 240u}) {
    if (from >= message.size()) break;
    rows.push_back({"", message.substr(from, from == 240 ? 15 : 80)});
  }
}

// The result rows of a solved task: its cost, or its profit when points may be refused or
// cargo is carried; with the time factor also the profit along the route.
void appendResults(KeyValueList& rows, const TaskHeader& h, const SolutionHeader& s,
                   double routeCost, const ShellTables& texts, char sep) {
  const std::string mu = unitSuffix(h.moneyUnit);
  const double objective = s.objective;
  if (h.timeFactorFlag == 0) {
    if (h.refusalFlag == 0 && h.cargoMode == kNoCargo)
      rows.push_back({"  - " + texts.shell(252) + mu, fixed2Text(objective, sep)});
    else
      rows.push_back({"  " + texts.shell(596) + mu, fixed2Text(-objective, sep)});
    return;
  }
  rows.push_back({"  - " + texts.shell(596) + mu, fixed2Text(-objective, sep)});
  if (h.finePerKm <= 0.001) {
    rows.push_back({"  - " + texts.shell(709) + mu, fixed2Text(-routeCost, sep)});
  } else {
    rows.push_back({"  - " + texts.shell(709), ""});
    rows.push_back({"    " + texts.shell(21) + mu, fixed2Text(-routeCost, sep)});
  }
}

}  // namespace

KeyValueList solutionParameters(const TaskHeader& h, int dbLevel, const SolutionHeader& s,
                                double routeCost, std::string_view langCode,
                                const ShellTables& texts, char sep) {
  KeyValueList rows;
  const auto add = [&rows](std::string key, std::string value = {}) {
    rows.push_back({std::move(key), std::move(value)});
  };
  add(texts.shell(541), intText(s.solutionFound));
  if (s.solutionFound <= 0) appendFinalMessage(rows, s.finalMessage, texts);
  add(trimmed(texts.shell(788)), std::string(langCode));
  add(texts.shell(745), h.code);
  add(texts.shell(261), h.name);
  add(trimmed(texts.shell(673)) + ":", dbrnKindCaption(h.dbKind).resolve(texts) + ", " + h.dbCode);
  add(texts.shell(741), intText(h.pointCount));
  add(texts.shell(411),
      intText(h.startPoint) + ", " + (h.endPoint > 0 ? intText(h.endPoint) : texts.shell(277)));
  appendTaskSettingRows(rows, h, dbLevel, texts, sep);
  add(texts.shell(490) + ":");
  add("  - " + texts.shell(248), realText(s.stopCriterion, sep));
  add("  - " + texts.shell(246), intText(s.checkInterval));
  add("  - " + texts.shell(524), intText(s.iterationLimit));
  add("  - " + texts.shell(439), realText(s.relaxationCoef, sep));
  add(texts.shell(486) + ":");
  add("  - " + texts.shell(676), s.infoText1);
  add("  - " + texts.shell(667), s.infoText2);
  add("  - " + texts.shell(426), s.infoText3);
  if (s.solutionFound == 1) {
    add(texts.shell(123) + ":");
    add("  - " + texts.shell(712), intText(s.iterationsDone));
    add("  - " + texts.shell(724), intText(static_cast<int64_t>(s.routeStepCount) + 1));
    appendResults(rows, h, s, routeCost, texts, sep);
  }
  add("  - " + texts.shell(147), s.elapsedText);
  return rows;
}

}  // namespace qj
