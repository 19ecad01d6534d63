#include "frame/help_pages.h"

#include <gtest/gtest.h>

#include "platform/files.h"
#include "platform/jpeg.h"
#include "support/shell_fixture.h"

namespace qj {
namespace {

using test::markedShell;

TEST(HelpPages, FormModeChoosesThePage) {
  EXPECT_EQ(helpPageOf(1), HelpPage::AboutSystem);
  EXPECT_EQ(helpPageOf(2), HelpPage::AboutDeveloper);
  EXPECT_EQ(helpPageOf(3), HelpPage::Notation);
  EXPECT_FALSE(helpPageOf(0));
  EXPECT_FALSE(helpPageOf(4));
}

TEST(HelpPages, AboutTheSystemJoinsTheLinesOfLongTexts0To4) {
  const HelpTexts t = helpTexts(HelpPage::AboutSystem, markedShell());
  EXPECT_EQ(t.caption, " S417");
  EXPECT_EQ(t.paragraphs, (std::vector<std::string>{"L0.0L0.1L0.2L0.3", "L1.0L1.1",
                                                    "L2.0L2.1L2.2L2.3", "L3.0L3.1", "L4.0"}));
  EXPECT_TRUE(t.headings.empty());
  EXPECT_TRUE(t.terms.empty());
}

TEST(HelpPages, AboutTheDeveloperIsLongText5) {
  const HelpTexts t = helpTexts(HelpPage::AboutDeveloper, markedShell());
  EXPECT_EQ(t.caption, " S415");
  EXPECT_EQ(t.paragraphs, std::vector<std::string>{"L5.0L5.1"});
}

TEST(HelpPages, NotationNamesEachTermByItsShortTextWithTheTrimsOfThePage) {
  ShellTables shell = markedShell();
  for (int k : {17, 216, 608, 521}) shell.shellTexts[k] = "  S" + std::to_string(k) + " ";
  for (int k : {688, 687}) shell.shellTexts[k] = " S" + std::to_string(k) + " ";
  shell.shortTexts[13] = " s13 ";
  const HelpTexts t = helpTexts(HelpPage::Notation, shell);
  EXPECT_EQ(t.caption, " S421");
  EXPECT_EQ(t.headings, (std::vector<std::string>{"S420:", "S521:"}));
  EXPECT_EQ(t.terms,
            (std::vector<std::string>{"s1 - S17", "s13 - S216", "s49 - S608", "s59 -  S688 ",
                                      "s58 -  S687 ", "s47 - S598", "s61 - S714"}));
  EXPECT_EQ(t.paragraphs, (std::vector<std::string>{"L6.0L6.1", "L7.0L7.1"}));
}

TEST(HelpPages, MissingLinesOfALongTextAreEmpty) {
  ShellTables shell = markedShell();
  shell.longTexts[0].resize(1);
  shell.longTexts[5].clear();
  shell.longTexts.resize(6);  // no texts 6 and 7
  EXPECT_EQ(helpTexts(HelpPage::AboutSystem, shell).paragraphs[0], "L0.0");
  EXPECT_EQ(helpTexts(HelpPage::AboutDeveloper, shell).paragraphs[0], "");
  EXPECT_EQ(helpTexts(HelpPage::Notation, shell).paragraphs, (std::vector<std::string>{"", ""}));
}

TEST(HelpPages, LabelsStackAndCentre) {
  EXPECT_EQ(stackedTops(12, {40, 20, 13, 0, 20}, 3), (std::vector<int>{12, 55, 78, 94, 97}));
  EXPECT_TRUE(stackedTops(12, {}, 3).empty());
  EXPECT_EQ(aboutSystemHeight({40, 20, 13, 0, 20}), 93 + 62);
  // 421 - width / 2, halves to the even neighbour.
  EXPECT_EQ(centredLeft(421, 100), 371);
  EXPECT_EQ(centredLeft(421, 101), 370);  // 370.5
  EXPECT_EQ(centredLeft(421, 103), 370);  // 369.5
  EXPECT_EQ(centredLeft(421, 0), 421);
  EXPECT_EQ(centredLeft(421, 900), -29);
}

double meanLuminance(const RgbImage& img) {
  double sum = 0;
  for (size_t i = 0; i + 2 < img.pixels.size(); i += 3)
    sum += 0.299 * img.pixels[i] + 0.587 * img.pixels[i + 1] + 0.114 * img.pixels[i + 2];
  return sum / (img.pixels.size() / 3);
}

// The build draws the pictures into the program folder at the sizes the pages are laid out
// on; they decode, and each is quiet enough for the colour of the text laid over it: dark
// text on pages 1 and 3, white text on page 2.
TEST(HelpPages, TheShippedPicturesDecodeAtTheirDesignSizes) {
  const ProgramFolder folder(QJ_PROGRAM_DIR);
  const struct {
    HelpPage page;
    int width, height;
    bool dark;
  } pictures[] = {{HelpPage::AboutSystem, 835, 570, false},
                  {HelpPage::AboutDeveloper, 543, 270, true},
                  {HelpPage::Notation, 842, 503, false}};
  for (const auto& p : pictures) {
    const auto bytes = readFile(helpPicturePath(folder, p.page));
    ASSERT_TRUE(bytes) << helpPictureName(p.page);
    const JpegDecode d = decodeJpeg(*bytes);
    ASSERT_TRUE(d.image) << helpPictureName(p.page) << ": " << d.error;
    EXPECT_EQ(d.image->width, p.width);
    EXPECT_EQ(d.image->height, p.height);
    if (p.dark)
      EXPECT_LT(meanLuminance(*d.image), 90) << helpPictureName(p.page);
    else
      EXPECT_GT(meanLuminance(*d.image), 215) << helpPictureName(p.page);
  }
}

}  // namespace
}  // namespace qj
