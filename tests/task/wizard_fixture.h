#pragma once
// A small city for the task wizard's steps, drawn as lists, and a wizard state on it.
//
//   street types: ul "street" (the default type), pr "avenue", per "lane" (no referenced
//   street), none (the no-street type)
//   streets: 0 ul Lenina, 1 ul Mira, 2 pr Nevsky, 3 per Tihiy (unreferenced), 4 none,
//            5 ul Lenina1
//   sections (from node -> to node, houses):
//     0 Lenina   1 -> 2   2..20        (even side)
//     1 Lenina   2 -> 1   1..19        (odd side, the reverse of 0)
//     2 Lenina   2 -> 3   40..22       (numbered downwards)
//     3 Mira     3 -> 4   1..9  non-standard numbering
//     4 Mira     4 -> 3   2..10
//     5 Nevsky   4 -> 5   1..99
//     6 (none)   5 -> 1
//     7 Lenina1  5 -> 6   2..4
// A level-2 copy adds houses; street 0 holds "3", "2а", "10", "1", "2" in that record order.

#include <string>
#include <vector>

#include "support/shell_fixture.h"
#include "task/wizard_state.h"

namespace qj::test {

// The marked shell with the few texts the steps compare against: the no-street type's short
// name, the default street type's full name and a start mark that contains short text 12.
// (Built here rather than from markedShell, whose inlined concatenations GCC 12 misreads.)
inline ShellTables wizardShell() {
  ShellTables t;
  t.languageName = "eng English";
  auto marked = [](char prefix, int k) {
    std::string text(1, prefix);
    text += std::to_string(k);
    return text;
  };
  for (int k = 0; k < 63; ++k) t.shortTexts.push_back(marked('s', k));
  for (int k = 0; k < kMarkedShellTexts; ++k) t.shellTexts.push_back(marked('S', k));
  t.shortTexts[2] = "none";
  t.shortTexts[11] = "start";
  t.shortTexts[12] = "st";
  t.shortTexts[17] = "end";
  t.shellTexts[697] = "street";
  return t;
}

inline TransitSectionRec section(int32_t street, std::string from, std::string to, int a, int b,
                                 std::string nonStd = "") {
  TransitSectionRec s;
  s.streetIndex = street;
  s.houseFrom = std::move(from);
  s.houseTo = std::move(to);
  s.nonStdNumbering = std::move(nonStd);
  auto node = [](int n) {
    std::string t = std::to_string(n);
    return std::string(5 - t.size(), '0') + t;
  };
  s.startNode = node(a);
  s.endNode = node(b);
  s.length = "100";
  s.speed = "30";
  return s;
}

inline DbrnFile smallCity(int level) {
  DbrnFile db;
  db.header.language = "eng";
  db.header.dbCode = "001";
  db.header.dbName = "Small city";
  db.header.dbKind = level == 1 ? "use1" : "use2";
  db.streetTypes = {{"street", "ul", 3},
                    {"avenue", "pr", 1},
                    {"lane", "per", 1},
                    {"nothing", "none", 1},
                    {"square", "pl", 0}};
  db.streets = {{"ul", "Lenina", "3", 0}, {"ul", "Mira", "3", 1}, {"pr", "Nevsky", "3", 2},
                {"per", "Tihiy", "1", 3}, {"none", "", "3", 4},   {"ul", "Lenina1", "3", 5}};
  db.sections = {section(0, "2", "20", 1, 2),  section(0, "1", "19", 2, 1),
                 section(0, "40", "22", 2, 3), section(1, "1", "9", 3, 4, "*"),
                 section(1, "2", "10", 4, 3),  section(2, "1", "99", 4, 5),
                 section(4, " ", " ", 5, 1),   section(5, "2", "4", 5, 6)};
  if (level >= 2) {
    auto house = [](int32_t street, std::string no) {
      HouseRec h;
      h.streetIndex = street;
      h.houseNo = std::move(no);
      h.yardNo = 1;
      h.links = {{1, 10, 50}};
      return h;
    };
    db.houses = {house(0, "3"), house(0, "2\xE0"), house(0, "10"), house(0, "1"),
                 house(0, "2"), house(1, "7"),     house(2, "15"), house(5, "4")};
    db.streetHouseCounts = {5, 1, 1, 0, 0, 1};
  }
  db.syncHeaderCounts();
  return db;
}

// A wizard on the small city after step 2: `n` points, start point 1, no end point, no
// options, cost of 1 per km.
inline TaskWizardState wizardOn(int level, int32_t n, int32_t start = 1, int32_t end = 0) {
  TaskWizardState s;
  s.formMode = 1;
  s.decSep = ',';
  s.langCode = "eng";
  s.wizardStep = 3;
  s.dbLevel = level;
  s.db = smallCity(level);
  s.header.language = "eng";
  s.header.dbKind = s.db.header.dbKind;
  s.header.sectionCount = static_cast<int32_t>(s.db.sections.size());
  s.header.pointCount = n;
  s.header.startPoint = start;
  s.header.endPoint = end;
  s.header.finePerKm = 1;
  s.header.tactMinutes = 10;
  s.pointChanged.assign(n, 0);
  return s;
}

}  // namespace qj::test
