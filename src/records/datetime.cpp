#include "records/datetime.h"

#include <cmath>
#include <ctime>

namespace qj {
namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t daysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void civilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(static_cast<int64_t>(yoe) + era * 400 + (m <= 2));
}

const int64_t kEpochOffset = daysFromCivil(1899, 12, 30);
constexpr int64_t kMsPerDay = 86400000;

}  // namespace

double toDateTime(const CivilDateTime& t) {
  const int64_t days =
      daysFromCivil(t.year, static_cast<unsigned>(t.month), static_cast<unsigned>(t.day)) -
      kEpochOffset;
  const double fraction =
      ((t.hour * 60.0 + t.minute) * 60.0 + t.second + t.millisecond / 1000.0) / 86400.0;
  return static_cast<double>(days) + fraction;
}

CivilDateTime fromDateTime(double days) {
  CivilDateTime t;
  if (!std::isfinite(days)) return t;
  const auto totalMs = static_cast<int64_t>(std::llround(days * kMsPerDay));
  int64_t day = totalMs / kMsPerDay;
  int64_t ms = totalMs % kMsPerDay;
  if (ms < 0) {
    ms += kMsPerDay;
    --day;
  }
  civilFromDays(day + kEpochOffset, t.year, t.month, t.day);
  t.hour = static_cast<int>(ms / 3600000);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.millisecond = static_cast<int>(ms % 1000);
  return t;
}

double toDateTime(std::chrono::system_clock::time_point moment) {
  const auto ms =
      std::chrono::duration_cast<std::chrono::milliseconds>(moment.time_since_epoch()).count();
  const std::time_t secs = static_cast<std::time_t>(ms / 1000 - (ms % 1000 < 0 ? 1 : 0));
  std::tm local{};
  localtime_r(&secs, &local);
  CivilDateTime t;
  t.year = local.tm_year + 1900;
  t.month = local.tm_mon + 1;
  t.day = local.tm_mday;
  t.hour = local.tm_hour;
  t.minute = local.tm_min;
  t.second = local.tm_sec;
  t.millisecond = static_cast<int>(((ms % 1000) + 1000) % 1000);
  return toDateTime(t);
}

namespace {

void appendDigits(std::string& out, int value, int width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (value < 0) out += '-';
  if (static_cast<int>(digits.size()) < width) out.append(width - digits.size(), '0');
  out += digits;
}

}  // namespace

std::string dateText(const CivilDateTime& t, std::string_view langCode) {
  const char sep = langCode == "eng" ? '/' : '.';
  std::string out;
  appendDigits(out, t.day, 2);
  out += sep;
  appendDigits(out, t.month, 2);
  out += sep;
  appendDigits(out, t.year, 4);
  return out;
}

std::string clockText(const CivilDateTime& t) {
  std::string out;
  appendDigits(out, t.hour, 2);
  out += ':';
  appendDigits(out, t.minute, 2);
  out += ':';
  appendDigits(out, t.second, 2);
  return out;
}

std::string momentText(double dateTime, std::string_view langCode) {
  const CivilDateTime t = fromDateTime(dateTime);
  std::string out = dateText(t, langCode);
  if (t.hour != 0 || t.minute != 0 || t.second != 0 || t.millisecond != 0)
    out += ' ' + clockText(t);
  return out;
}

double nowDateTime() {
  return toDateTime(std::chrono::system_clock::now());
}

}  // namespace qj
