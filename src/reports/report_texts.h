#pragma once
// Texts that the viewers, the printed reports and the workbooks share: the parameter list's
// rows and titles (the value texts they share with the route rows are route/route_texts.h).
// All texts are code page 1251.

#include <cstdint>
#include <string>
#include <vector>

#include "records/dbrn_file.h"
#include "records/task_file.h"
#include "route/route_texts.h"
#include "text/shell_texts.h"

namespace qj {

// One row of a parameter list: a key and its value.
struct KeyValue {
  std::string key;
  std::string value;
  bool operator==(const KeyValue&) const = default;
};
using KeyValueList = std::vector<KeyValue>;

// The titles of a parameter list's two columns: shell texts 483 (keys) and 197 (values).
KeyValue parameterListTitles(const ShellTables& texts);

// The design width of a column's title label and the limits the user may drag it within,
// in pixels.
struct TitleWidths {
  int design = 0;
  int min = 0;
  int max = 0;
  bool operator==(const TitleWidths&) const = default;
};

// A unit in brackets after a caption (" (EUR)"); nothing for an empty unit.
std::string unitSuffix(const std::string& unit);

// The parameter rows that both viewers show for a task, from the money unit on (rows 12 to 32
// of either list): money unit and rates, approach speed (levels above 1), refusals, time
// factor, cargo, order modes with their legend, priority classes and the state counts.
void appendTaskSettingRows(KeyValueList& rows, const TaskHeader& h, int dbLevel,
                           const ShellTables& texts, char sep);

}  // namespace qj
