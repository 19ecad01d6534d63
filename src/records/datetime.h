#pragma once
// Date-times are doubles counting days from 30 December 1899, local time; the fraction is
// the time of day.

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

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

// Every date the program shows or writes, in the short date format of the interface
// language (the shell's three-letter code) with a four-digit year: English "dd/MM/yyyy"
// (day first, as the demo city's dates), Russian and any other language "dd.MM.yyyy".
std::string dateText(const CivilDateTime& t, std::string_view langCode);
// The time of day as "hh:mm:ss".
std::string clockText(const CivilDateTime& t);
// A date-time as the protocol shows it: the date, then a blank and the time of day unless
// it is exactly midnight (a date-time that holds only a date).
std::string momentText(double dateTime, std::string_view langCode);

}  // namespace qj
