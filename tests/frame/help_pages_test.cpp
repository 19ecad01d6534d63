#include "frame/help_pages.h"

#include <gtest/gtest.h>

#include "support/shell_fixture.h"

namespace qj {
namespace {

using test::markedShell;
using V = std::vector<std::string>;

TEST(HelpPages, EachPageJoinsTheLinesOfItsLongTexts) {
  EXPECT_EQ(std::tuple(helpPageOf(1), helpPageOf(2), helpPageOf(3), helpPageOf(0) || helpPageOf(4)),
            std::tuple(HelpPage::AboutSystem, HelpPage::AboutDeveloper, HelpPage::Notation, false));
  HelpTexts t = helpTexts(HelpPage::AboutSystem, markedShell());
  EXPECT_EQ(t.caption, " S417");
  EXPECT_EQ(t.paragraphs,
            (V{"L0.0L0.1L0.2L0.3", "L1.0L1.1", "L2.0L2.1L2.2L2.3", "L3.0L3.1", "L4.0"}));
  t = helpTexts(HelpPage::AboutDeveloper, markedShell());
  EXPECT_EQ(t.paragraphs, V{"L5.0L5.1"});

  ShellTables shell = markedShell();
  for (int k : {17, 216, 608, 521}) shell.shellTexts[k] = "  S" + std::to_string(k) + " ";
  for (int k : {688, 687}) shell.shellTexts[k] = " S" + std::to_string(k) + " ";
  shell.shortTexts[13] = " s13 ";
  t = helpTexts(HelpPage::Notation, shell);
  EXPECT_EQ(t.caption, " S421");
  EXPECT_EQ(t.headings, (V{"S420:", "S521:"}));
  EXPECT_EQ(t.terms, (V{"s1 - S17", "s13 - S216", "s49 - S608", "s59 -  S688 ", "s58 -  S687 ",
                        "s47 - S598", "s61 - S714"}));
  EXPECT_EQ(t.paragraphs, (V{"L6.0L6.1", "L7.0L7.1"}));

  // Missing lines of a long text are empty.
  shell.longTexts[0].resize(1);
  shell.longTexts[5].clear();
  shell.longTexts.resize(6);
  EXPECT_EQ(helpTexts(HelpPage::AboutSystem, shell).paragraphs[0], "L0.0");
  EXPECT_EQ(helpTexts(HelpPage::AboutDeveloper, shell).paragraphs[0], "");
  EXPECT_EQ(helpTexts(HelpPage::Notation, shell).paragraphs, (V{"", ""}));
}

TEST(HelpPages, LabelsStackAndCentre) {
  EXPECT_EQ(stackedTops(12, {40, 20, 13, 0, 20}, 3), (std::vector<int>{12, 55, 78, 94, 97}));
  EXPECT_TRUE(stackedTops(12, {}, 3).empty());
  EXPECT_EQ(aboutSystemHeight({40, 20, 13, 0, 20}), 93 + 62);
  // 421 - width / 2, halves to the even neighbour.
  const std::pair<int, int> centred[] = {{100, 371}, {101, 370}, {103, 370}, {0, 421}, {900, -29}};
  for (const auto& [width, left] : centred) EXPECT_EQ(centredLeft(421, width), left) << width;
}

}  // namespace
}  // namespace qj
