#pragma once
// Date-times are doubles counting days from 30 December 1899, local time; the fraction is
// the time of day.

#include <chrono>
#include <cstdint>

namespace qj {

struct CivilDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
  bool operator==(const CivilDateTime&) const = default;
};

double toDateTime(const CivilDateTime& t);
// Rounded to the nearest millisecond; before 1899-12-30 the fraction still counts forward
// within the day (-1.25 is 29 December 1899, 06:00).
CivilDateTime fromDateTime(double days);

// The current local date-time, and a system clock moment in local time.
double nowDateTime();
double toDateTime(std::chrono::system_clock::time_point moment);

}  // namespace qj
