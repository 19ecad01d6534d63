#pragma once
// Texts that the viewers, the printed reports and the workbooks share: the parameter list's
// rows, numbers in the regional format, times of day, addresses and the marks of the start
// and end points. All texts are code page 1251.

#include <cstdint>
#include <string>
#include <vector>

#include "records/dbrn_file.h"
#include "records/task_file.h"
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

// Integers in decimal.
std::string intText(int64_t n);
// Reals in general format, up to 15 significant digits, with the regional separator.
std::string realText(double x, char sep);
// A unit in brackets after a caption (" (EUR)"); nothing for an empty unit.
std::string unitSuffix(const std::string& unit);
// Times and money: two decimals ("%-.2f"). A value that rounds to zero shows without a sign,
// so that a negated zero cost does not read "-0.00".
std::string fixed2Text(double x, char sep);

// A time of day given in minutes from the route start: whole hours, short text 62, the
// minutes with two decimals and short text 24 ("1 h 5.50 min"). A negative time has 0 hours
// and negative minutes.
std::string timeText(double minutes, const ShellTables& texts, char sep);

// StreetType, a blank, Street, ", ", House.
std::string addressOf(const TaskPointRec& p);

// The street type and name of section s's street, ", ", HouseFrom "-" HouseTo and the mark of
// non-standard numbering ("st. Main, 1-9*"). The section and its street must exist.
std::string sectionText(const DbrnFile& db, size_t s);

// A point number as the task's tables show it: "<i> (<short 11>)" for the start point,
// "<i> (<short 17>)" for the end point, else the number alone. The start point wins.
std::string pointNumberText(int64_t i, const TaskHeader& h, const ShellTables& texts);

// The parameter rows that both viewers show for a task, from the money unit on (rows 12 to 32
// of either list): money unit and rates, approach speed (levels above 1), refusals, time
// factor, cargo, order modes with their legend, priority classes and the state counts.
void appendTaskSettingRows(KeyValueList& rows, const TaskHeader& h, int dbLevel,
                           const ShellTables& texts, char sep);

}  // namespace qj
