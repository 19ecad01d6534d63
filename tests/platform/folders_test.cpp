#include "platform/folders.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qj {
namespace {

TEST(Mask, QuestionMarkIsExactlyOneCharacter) {
  EXPECT_TRUE(matchesMask("qj_ABC123_in.dat", "qj_??????_in.dat"));
  EXPECT_FALSE(matchesMask("qj_ABC12_in.dat", "qj_??????_in.dat"));
  EXPECT_FALSE(matchesMask("qj_ABC1234_in.dat", "qj_??????_in.dat"));
  EXPECT_FALSE(matchesMask("qj_ABC123.dat", "qj_??????_in.dat"));
}

TEST(Mask, AsciiLettersIgnoreCaseOtherCharactersCountWhole) {
  EXPECT_TRUE(matchesMask("QJ_abc123_IN.DAT", "qj_??????_in.dat"));
  EXPECT_TRUE(matchesMask("Shell (QJ 1.6).Рус", "Shell (QJ 1.6).???"));
  EXPECT_FALSE(matchesMask("Shell (QJ 1.6).рус", "Shell (QJ 1.6).Рус"));
  EXPECT_TRUE(matchesMask("123sys1_dbrn_eng.dat", "???sys?_dbrn_eng.dat"));
  EXPECT_TRUE(matchesMask("anything.txt", "*.txt"));
  EXPECT_TRUE(matchesMask("a.b.txt", "*.*"));
  EXPECT_FALSE(matchesMask("a.txt", "*.dat"));
}

TEST(Mask, ListingTakesRegularFilesOnlySortedByName) {
  test::TempDir dir;
  dir.write("qj_ZZZ999_in.dat", "");
  dir.write("qj_AAA111_in.dat", "");
  dir.write("qj_BBB22_in.dat", "");
  std::filesystem::create_directories(dir / "qj_CCC333_in.dat");
  EXPECT_EQ(listMatching(dir.path(), "qj_??????_in.dat"),
            (std::vector<std::string>{"qj_AAA111_in.dat", "qj_ZZZ999_in.dat"}));
  EXPECT_TRUE(listMatching(dir / "missing", "*").empty());
}

TEST(ProgramFolder, CreatesMissingFoldersAndKeepsOnesOfAnotherCase) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "data");
  std::filesystem::create_directories(dir / "SHELLS");
  ProgramFolder folder(dir.path());
  EXPECT_EQ(folder.data(), dir / "data");
  EXPECT_EQ(folder.shells(), dir / "SHELLS");
  EXPECT_EQ(folder.solving(), dir / "Solving");
  for (const auto& p : {folder.system(), folder.dbrn(), folder.solving()})
    EXPECT_TRUE(std::filesystem::is_directory(p)) << p;
  EXPECT_FALSE(std::filesystem::exists(dir / "Data"));
}

TEST(ProgramFolder, PrefersTheCanonicalSpellingWhenBothExist) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "data");
  std::filesystem::create_directories(dir / "Data");
  EXPECT_EQ(ProgramFolder(dir.path()).data(), dir / "Data");
}

}  // namespace
}  // namespace qj
