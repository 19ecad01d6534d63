#pragma once
// Where the target points of a level-1 task lie: each point is put on the transit section
// whose house-number range holds its house (or on the section marked for it on step 5), at a
// distance from the section's start that follows from its place in the range; the reverse
// section gives the second way in. The transitions to every point get their defaults here and
// the step-6 grid is filled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "task/wizard_state.h"
#include "text/shell_texts.h"

namespace qj {

// A house number as written: its number and the letter that may follow it (" " when none).
// Numbers compare first, then letters as code-page-1251 bytes.
struct HouseNumber {
  int32_t number = -1;
  unsigned char letter = ' ';
  auto operator<=>(const HouseNumber&) const = default;
};

// "12" -> {12, ' '}, "12а" -> {12, 'а'}; nullopt when what precedes the letter is no number.
std::optional<HouseNumber> parseHouseNumber(std::string_view text);

// A section that may hold a point, with its house-number range in ascending order.
struct SectionCandidate {
  int32_t section = -1;  // 0-based
  HouseNumber low, high;
  int32_t direction = 0;  // 0 numbers ascend along the section, 1 descend, -1 chosen by a mark
};

inline constexpr size_t kMaxCandidates = 5;

// The first five sections, in section order, on the point's street whose standard numbering
// covers the house number with the house's parity.
std::vector<SectionCandidate> numberingCandidates(const DbrnFile& db, const TaskPointRec& point);

// Which candidate takes the house: the one whose range holds it, else the one whose range ends
// at the house's number with the nearest lower letter, else the one that starts there with the
// nearest higher letter. -1 when none does.
int chooseCandidate(const std::vector<SectionCandidate>& candidates, HouseNumber house);

// The streets that carry the point's street type and name, as a mask over the streets.
std::vector<bool> streetsOfPoint(const DbrnFile& db, const TaskPointRec& point);
bool onStreet(const std::vector<bool>& streets, const TransitSectionRec& s);

// The last part of step 5 for a level-1 task: places every point on its section and reverse
// section, gives each point its to-transitions (stored values where the slot still refers to
// the same section and the point is unchanged, else the defaults) and fills `table2`. Nothing
// is changed when a point lies on a closed section or on none; the check then names the point's
// row of `Table1`.
StepCheck placeLevel1Points(TaskWizardState& state, const ShellTables& texts);

}  // namespace qj
