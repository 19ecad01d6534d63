#include "optimiser/texts.h"

#include "records/numbers.h"

namespace qj::optim {

namespace {

Text quoted(std::string_view code) {
  return lit("\"") + val(code) + "\"";
}

// " 3/12 (" … "From to To" as the pair lines write it: p + 1, the pair count, shell text
// 716, the two points joined by shell text 1.
Text pairPart(int32_t passIndex, int32_t pairCount, int32_t from, int32_t to) {
  return lit(" ") + num(passIndex + 1) + "/" + num(pairCount) + " " + shell(716) + " " + num(from) +
         " " + shell(1).trimmed() + " " + num(to);
}

}  // namespace

Text taskPrefix(std::string_view code) {
  return shell(193) + " " + quoted(code) + ". ";
}

Text validationHead(std::string_view code) {
  return taskPrefix(code) + shell(8) + ". ";
}

Text startLine(std::string_view code, std::string_view timeOfDay, std::string_view date) {
  return shell(270) + " " + quoted(code) + ":  " + val(timeOfDay) + " (" + shell(81) + ") " +
         val(date) + " (" + shell(134) + ").";
}

Text passesBeginLine() {
  return lit("1. ") + shell(171).trimmed() + ".";
}

Text stateSpaceLine(bool finalPass, int32_t passIndex, int32_t pairCount, int32_t from, int32_t to,
                    int64_t stateCount) {
  if (finalPass) return lit("2. ") + shell(173) + " " + num(stateCount) + ".";
  return lit("2. ") + shell(172) + pairPart(passIndex, pairCount, from, to) + "), " + shell(727) +
         " " + num(stateCount) + ".";
}

Text transitionsLine(bool finalPass, int32_t passIndex, int32_t pairCount, int32_t from,
                     int32_t to) {
  if (finalPass) return lit("3. ") + shell(175) + ".";
  return lit("3. ") + shell(174) + pairPart(passIndex, pairCount, from, to) + ").";
}

Text convergedLine(int32_t passKind, int64_t sweeps, int32_t pointCount, double gain,
                   bool showsProfit, char decimalSeparator) {
  const Text what = showsProfit ? shell(764) : shell(253);
  const double shown = showsProfit ? -gain : gain;
  const std::string g = formatFixed(shown, 2, decimalSeparator);
  return lit("4. ") + shell(178) + " " + num(passKind) + " " + shell(601) + "). " + shell(435) +
         " " + shell(726) + " - " + num(sweeps) + ". " + what + " " + num(pointCount) + " " +
         shell(715) + " - " + val(g) + " " + shortText(54) + " " + shortText(10);
}

Text routeLine(bool finalPass, int32_t passIndex, int32_t pairCount, int32_t from, int32_t to) {
  if (finalPass) return lit("5. ") + shell(177) + ".";
  return lit("5. ") + shell(176) + pairPart(passIndex, pairCount, from, to) + ").";
}

Text solutionWrittenLine(std::string_view code) {
  return lit("6. ") + shell(170) + " " + quoted(code) + ", " + shell(649) + ".";
}

Text endLine(std::string_view code, std::string_view elapsed) {
  return shell(146) + " " + quoted(code) + " - " + val(elapsed) + ".";
}

Text busyStatesText() {
  return shell(117) + " ...";
}

Text busyTransitionsText() {
  return shell(119) + " ...";
}

Text busyIterationText() {
  return shell(115) + " ...";
}

Text stateLimitMessage(std::string_view code, int32_t passKind, int64_t stateCount) {
  return taskPrefix(code) + shell(7) + ". " + shell(765) + " " + num(passKind) + " " + shell(766) +
         " " + num(stateCount) + " (> " + num(30000) + " " + shell(153) + ").";
}

Text relaxationMessage(std::string_view code, int32_t passKind, int32_t status, bool finalPass,
                       bool timeFactor) {
  Text x, y;
  switch (status) {
    case 1: x = shell(10), y = shell(561); break;
    case 2: x = shell(10), y = shell(562); break;
    case 3: x = shell(10), y = shell(548); break;
    default:
      x = shell(767);
      y = !finalPass ? shell(77) : (timeFactor ? shell(76) : shell(78));
      break;
  }
  return taskPrefix(code) + x + " " + num(passKind) + " " + shell(601) + "). " + y + ".";
}

Text notAStepMessage(std::string_view code, int32_t passKind, int32_t alternative) {
  return taskPrefix(code) + shell(9) + " " + num(passKind) + " " + shell(601) + "). " + shell(565) +
         " " + num(alternative) + ".";
}

Text revisitsStatesMessage(std::string_view code, int32_t passKind) {
  return taskPrefix(code) + shell(9) + " " + num(passKind) + " " + shell(601) + "). " + shell(566) +
         ".";
}

}  // namespace qj::optim
