#include "text/access_keys.h"

#include <gtest/gtest.h>

#include "support/access_key_clashes.h"
#include "text/message.h"

namespace qj {
namespace {

// A caption marks its access key with "&"; "&&" is one ampersand; the plain text drops the
// marks, and the key is the first marked character in upper case, Cyrillic included.
TEST(AccessKeys, AreMarkedByAnAmpersandAndDroppedFromThePlainText) {
  const struct {
    std::string caption, plain;
    char key;
  } cases[] = {
      {"&Next", "Next", 'N'},
      {"Ba&ck", "Back", 'C'},
      {"R&&D &report", "R&D report", 'R'},
      {"R&&D", "R&D", 0},
      {"no mark", "no mark", 0},
      {"ends &", "ends ", 0},
      {"&", "", 0},
      {"&one &two", "one two", 'O'},
      {"\xC4\xE0&\xEB\xE5\xE5", "\xC4\xE0\xEB\xE5\xE5", '\xCB'},  // Да&лее: Л
      {"&\xB8", "\xB8", '\xA8'},                                  // ё: Ё
      {"", "", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(withoutAccessKeys(c.caption), c.plain) << c.caption;
    EXPECT_EQ(accessKey(c.caption), c.key) << c.caption;
  }
}

// Within one window every caption marks a key of its own, whatever its case.
TEST(AccessKeys, ClashesNameTheCaptionsThatShareOrLackAKey) {
  EXPECT_TRUE(test::clashingAccessKeys({"&Back", "&Next", "&Cancel"}).empty());
  EXPECT_EQ(test::clashingAccessKeys({"&Back", "&Next", "&cancel", "&Close", "Help"}),
            (std::vector<std::string>{"&cancel", "&Close", "Help"}));
  EXPECT_EQ(test::clashingAccessKeys({"& x", "&x"}), (std::vector<std::string>{"& x"}));
}

// The shell holds the marks; every text the program composes from it (a message, a report
// title, a window caption) reads without them, and only a caption asked for with its access
// key keeps it.
TEST(AccessKeys, ShellTextsReadPlainUnlessAskedForAsCaptions) {
  ShellTables t;
  t.shellTexts = {" &Print ", "Save && go"};
  EXPECT_EQ(t.shell(0), " Print ");
  EXPECT_EQ(t.markedShell(0), " &Print ");
  EXPECT_EQ(t.shell(1), "Save & go");
  EXPECT_EQ(t.shell(7), "");
  EXPECT_EQ((shell(0).trimmed() + ": " + shell(1)).resolve(t), "Print: Save & go");
  EXPECT_EQ(shell(0).trimmed().withAccessKeys().resolve(t), "&Print");
  EXPECT_EQ((shell(0).withAccessKeys() + val("A&B")).resolve(t), " &Print A&B");
  EXPECT_EQ(warningMessage(shell(0) + ".").utf8(t), " Print .");
}

}  // namespace
}  // namespace qj
