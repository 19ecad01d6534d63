// The optimiser's lines as the user reads them in the shipped shells.

#include "optimiser/texts.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace qj::optim {
namespace {

// The line of a solution written: the task's name, then what became of it, set off by the
// comma the line puts after the code.
TEST(RunTexts, TheSolutionWrittenLineReadsAsOnePhrase) {
  const std::pair<const char*, const char*> shells[] = {
      {"eng", "6. Solution of task \"KBD001\", written to the Solving folder."},
      {"rus", "6. Решение задачи \"KBD001\", записанное в папку Solving."},
  };
  for (const auto& [language, line] : shells)
    EXPECT_EQ(solutionWrittenLine("KBD001").utf8(test::shippedShell(language)), line) << language;
}

}  // namespace
}  // namespace qj::optim
