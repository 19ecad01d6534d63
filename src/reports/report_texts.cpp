#include "reports/report_texts.h"

#include <cmath>
#include <cstdio>

#include "records/numbers.h"
#include "records/text.h"

namespace qj {

KeyValue parameterListTitles(const ShellTables& texts) {
  return {texts.shell(483), texts.shell(197)};
}

std::string unitSuffix(const std::string& unit) {
  return unit.empty() ? std::string() : " (" + unit + ")";
}

void appendTaskSettingRows(KeyValueList& rows, const TaskHeader& h, int dbLevel,
                           const ShellTables& texts, char sep) {
  const std::string mu = unitSuffix(h.moneyUnit);
  const auto add = [&rows](std::string key, std::string value = {}) {
    rows.push_back({std::move(key), std::move(value)});
  };
  add(texts.shell(167), h.moneyUnit);
  add(texts.shell(749) + mu, realText(h.finePerKm, sep));
  add(texts.shell(751) + mu, realText(h.finePerHour, sep));
  if (dbLevel > 1) add(texts.shell(614), realText(h.approachSpeed, sep));
  add(texts.shell(532), intText(h.refusalFlag));
  if (h.refusalFlag == 1) {
    add(trimmed(texts.shell(488)) + ":");
    const int64_t threshold = h.servedThreshold;
    add("  - " + texts.shell(675), threshold == 0 ? "0" : threshold > 0 ? "1" : "2");
    add("  - " + texts.shell(69),
        threshold == 0 ? "" : intText(threshold < 0 ? -threshold : threshold));
  }
  add(texts.shell(543), intText(h.timeFactorFlag));
  if (h.timeFactorFlag == 1) add(trimmed(texts.shell(148)), intText(h.tactMinutes));
  add(trimmed(texts.shell(542)), intText(h.cargoMode));
  if (h.cargoMode == kCargoByVolume) add(trimmed(texts.shell(75)), realText(h.capacity, sep));
  if (h.cargoMode == kCargoByWeight) add(texts.shell(130), realText(h.capacity, sep));
  if (h.cargoMode > kNoCargo) add(texts.shell(530), intText(h.returnFlag));
  add(texts.shell(33) + ":", intText(h.orderMode));
  add(" 0 - " + texts.shell(445));
  add(" 1 - " + texts.shell(581));
  add(" 2 - " + texts.shell(580));
  add(" 3 - " + texts.shell(579));
  if (h.orderMode == kPriorityClasses) add(texts.shell(732), intText(h.priorityCount));
  const int64_t pairStates = 2 * (static_cast<int64_t>(h.sectionCount) + 2) + 2;
  add(texts.shell(720), intText(pairStates) + "; " + intText(h.stateCount2));
}

}  // namespace qj
