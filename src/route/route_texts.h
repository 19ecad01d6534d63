#pragma once
// The value texts of routes and tasks that the route rows, the viewers, the printed reports and
// the workbooks share: numbers in the regional format, times of day, addresses, sections and
// the marks of the start and end points. All texts are code page 1251.

#include <cstddef>
#include <cstdint>
#include <string>

#include "records/dbrn_file.h"
#include "records/task_file.h"
#include "text/shell_texts.h"

namespace qj {

// Integers in decimal.
std::string intText(int64_t n);

// Reals in general format, up to 15 significant digits, with the regional separator.
std::string realText(double x, char sep);

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

// The name of a level-1 transition kind, the same on the wizard's pages, in the viewer, the
// printed report and the workbook: kinds 1 and 2 of a to-list (shell texts 271, 772), kinds 3
// and 4 of a from-list (228, 781), and a way straight to point q (short text 61 and q).
// Anything else has no name.
std::string transitionKindText(int32_t kind, bool toList, const ShellTables& texts);

// A point number as the task's tables show it: "<i> (<short 11>)" for the start point,
// "<i> (<short 17>)" for the end point, else the number alone. The start point wins.
std::string pointNumberText(int64_t i, const TaskHeader& h, const ShellTables& texts);

}  // namespace qj
