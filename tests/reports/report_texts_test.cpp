#include "reports/report_texts.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace qj {
namespace {

TEST(ReportTexts, TitlesOfAParameterList) {
  EXPECT_EQ(parameterListTitles(test::markedShell()), (KeyValue{"S483", "S197"}));
}

}  // namespace
}  // namespace qj
