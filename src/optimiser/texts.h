#pragma once
// The texts of the optimisation run: its progress lines and every failure message, composed
// of shell texts, literals and values.

#include <cstdint>
#include <string>
#include <string_view>

#include "text/message.h"

namespace qj::optim {

// The opening of every failure message: shell text 193, the task code in quotes, a point.
Text taskPrefix(std::string_view code);
// The opening of a failed check: the task prefix, shell text 8 and a point.
Text validationHead(std::string_view code);

// Run lines.
Text startLine(std::string_view code, std::string_view timeOfDay, std::string_view date);
Text passesBeginLine();
Text stateSpaceLine(bool finalPass, int32_t passIndex, int32_t pairCount, int32_t from, int32_t to,
                    int64_t stateCount);
Text transitionsLine(bool finalPass, int32_t passIndex, int32_t pairCount, int32_t from,
                     int32_t to);
// The iteration has converged after `sweeps` sweeps with gain g; a final pass that may earn
// incomes shows the profit (-g) instead of the cost.
Text convergedLine(int32_t passKind, int64_t sweeps, int32_t pointCount, double gain,
                   bool showsProfit, char decimalSeparator);
Text routeLine(bool finalPass, int32_t passIndex, int32_t pairCount, int32_t from, int32_t to);
Text solutionWrittenLine(std::string_view code);
Text endLine(std::string_view code, std::string_view elapsed);
// The busy line while a pass builds its states, its transitions, and while it iterates.
Text busyStatesText();
Text busyTransitionsText();
Text busyIterationText();

// Pass failures.
Text stateLimitMessage(std::string_view code, int32_t passKind, int64_t stateCount);
Text relaxationMessage(std::string_view code, int32_t passKind, int32_t status, bool finalPass,
                       bool timeFactor);
Text notAStepMessage(std::string_view code, int32_t passKind, int32_t alternative);
Text revisitsStatesMessage(std::string_view code, int32_t passKind);

}  // namespace qj::optim
