#pragma once
// The demo city that ships with the program as its system databases, and a large city at the
// task limits for tests and benchmarks. Both are generated from a fixed seed, so every build
// produces the same bytes.
//
// The demo city is a grid of streets and avenues with a river embankment on its south edge,
// two one-way lanes, a one-way square around the central block and (level 1 only) a driveway
// into a park that belongs to no street. Odd house numbers lie on the right of a street's
// direction, even numbers on the opposite side. Turns are derived from the geometry; avenues
// forbid U-turns and, at some junctions, left turns. A few lanes are closed. The level-2
// database adds houses, some of them in yards with up to four exits.

#include <string>
#include <string_view>
#include <vector>

#include "records/datetime.h"
#include "records/dbrn_file.h"

namespace qj {

// Codes of the shipped system databases: the level-1 city and the level-2 city (a client
// addition made from the latter gets the same code and kind cli2).
inline constexpr std::string_view kDemoSys1Code = "001";
inline constexpr std::string_view kDemoSys2Code = "002";
// The code of the large test city.
inline constexpr std::string_view kLargeCityCode = "999";

// The date of the demo city, written as the program writes every date.
inline constexpr CivilDateTime kDemoCityDate{2024, 6, 1};

// The languages the demo city is written in (those of the shipped shells).
inline constexpr std::string_view kDemoLanguages[] = {"eng", "rus"};

// The demo city of level 1 (kind sys1) or 2 (kind sys2) in language "eng" or "rus" (texts in
// code page 1251).
DbrnFile demoCity(int level, std::string_view lang);

// A 50 x 50 grid with star junctions: 2500 nodes, 10000 transit sections, sections entering
// a star have 10 turns. Kind sys1 or sys2; at level 2 with about 19000 houses.
DbrnFile largeCity(int level, std::string_view lang);

struct DemoDatabase {
  std::string fileName;  // <code><kind>_dbrn_<lang>.dat
  DbrnFile db;
};

// Every database the program folder ships: both levels in every language.
std::vector<DemoDatabase> shippedDemoDatabases();

}  // namespace qj
