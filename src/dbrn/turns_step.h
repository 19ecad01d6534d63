#pragma once
// Step 5 of the database wizard: up to ten turn pairs per transit section (Table2), each a
// node reachable from the section's end node and a direction stepped with the SpaceBar. Next
// finds every section's reverse section, checks the pairs and opens the accessibility page.

#include <string>
#include <string_view>

#include "dbrn/wizard_state.h"
#include "wizard/grid.h"

namespace qj {

// Only the nodes of the turn pairs are typed: up to 5 digits.
class TurnGridRules : public GridRules {
 public:
  explicit TurnGridRules(const DbrnWizardState& state) : state_(state) {}
  bool typable(const GridTable& table, int row, int col) const override;
  FieldRule cellRule(const GridTable& table, int row, int col) const override;

 private:
  const DbrnWizardState& state_;
};

// The direction a pair takes at the next SpaceBar: on the first pair from its own text; on a
// later pair from the trimmed direction of the pair before it. A row's directions so read: an
// optional "^", an optional "v", right turns ">1", ">2", ..., then left turns "<1", ....
std::string nextDirection(bool firstPair, std::string_view previous, std::string_view current);

// The SpaceBar on a direction cell: the later directions of the row are emptied and this one
// steps on (or is emptied when its node is).
GridKeyResult turnGridKey(DbrnWizardState& state, GridKey key, int row, int col);

StepResult checkTurnsPage(DbrnWizardState& state);

}  // namespace qj
