#include "route/route_texts.h"

#include <cmath>

#include "records/numbers.h"
#include "route/route_task.h"

namespace qj {

std::string intText(int64_t n) {
  return std::to_string(n);
}

std::string realText(double x, char sep) {
  return formatReal(x, sep);
}

std::string fixed2Text(double x, char sep) {
  std::string s = formatFixed(x, 2, sep);
  const std::string zeroDigits = std::string("0") + sep;
  if (s.size() > 1 && s[0] == '-' && s.find_first_not_of(zeroDigits, 1) == std::string::npos)
    s.erase(0, 1);
  return s;
}

std::string timeText(double minutes, const ShellTables& texts, char sep) {
  // Whole hours taken off one by one, as a clock would show them; the division gives the
  // same result without a loop that a huge time would make endless.
  double hours = 0;
  double t = minutes;
  if (t >= 60 && std::isfinite(t)) {
    hours = std::floor(t / 60);
    t -= 60 * hours;
    if (t < 0) {
      hours -= 1;
      t += 60;
    } else if (t >= 60) {
      hours += 1;
      t -= 60;
    }
  }
  std::string out = formatFixed(hours, 0, sep);
  out += ' ';
  out += texts.shortText(62);
  out += ' ';
  out += fixed2Text(t, sep);
  out += ' ';
  out += texts.shortText(24);
  return out;
}

std::string transitionKindText(int32_t kind, bool toList, const ShellTables& texts) {
  if (toList) {
    if (kind == kToOwnSection) return texts.shell(271);
    if (kind == kToReverseSection) return texts.shell(772);
    return {};
  }
  if (kind == kFromOwnSection) return texts.shell(228);
  if (kind == kFromReverseSection) return texts.shell(781);
  if (kind < 0) return texts.shortText(61) + " " + intText(-static_cast<int64_t>(kind));
  return {};
}

std::string addressOf(const TaskPointRec& p) {
  return p.streetType + " " + p.street + ", " + p.house;
}

std::string sectionText(const DbrnFile& db, size_t s) {
  const TransitSectionRec& sec = db.sections[s];
  const StreetRec& street = db.streets[static_cast<size_t>(sec.streetIndex)];
  return street.streetType + " " + street.name + ", " + sec.houseFrom + "-" + sec.houseTo +
         sec.nonStdNumbering;
}

std::string pointNumberText(int64_t i, const TaskHeader& h, const ShellTables& texts) {
  if (i == h.startPoint) return intText(i) + " (" + texts.shortText(11) + ")";
  if (i == h.endPoint) return intText(i) + " (" + texts.shortText(17) + ")";
  return intText(i);
}

}  // namespace qj
