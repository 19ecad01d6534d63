#include "platform/folders.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qj {
namespace {

// "?" is exactly one character; ASCII letters ignore case, other characters count whole.
TEST(Folders, MasksMatchNamesAndListingTakesRegularFilesSortedByName) {
  const struct {
    const char *name, *mask;
    bool matches;
  } cases[] = {{"qj_ABC123_in.dat", "qj_??????_in.dat", true},
               {"qj_ABC12_in.dat", "qj_??????_in.dat", false},
               {"qj_ABC1234_in.dat", "qj_??????_in.dat", false},
               {"qj_ABC123.dat", "qj_??????_in.dat", false},
               {"QJ_abc123_IN.DAT", "qj_??????_in.dat", true},
               {"Shell (QJ 1.6).Рус", "Shell (QJ 1.6).???", true},
               {"Shell (QJ 1.6).рус", "Shell (QJ 1.6).Рус", false},
               {"anything.txt", "*.txt", true},
               {"a.b.txt", "*.*", true},
               {"a.txt", "*.dat", false}};
  for (const auto& c : cases) EXPECT_EQ(matchesMask(c.name, c.mask), c.matches) << c.name;

  test::TempDir dir;
  for (const char* name : {"qj_ZZZ999_in.dat", "qj_AAA111_in.dat", "qj_BBB22_in.dat"})
    dir.write(name, "");
  std::filesystem::create_directories(dir / "qj_CCC333_in.dat");
  EXPECT_EQ(listMatching(dir.path(), "qj_??????_in.dat"),
            (std::vector<std::string>{"qj_AAA111_in.dat", "qj_ZZZ999_in.dat"}));
  EXPECT_TRUE(listMatching(dir / "missing", "*").empty());
}

TEST(Folders, MissingFoldersAreCreatedAndOnesOfAnotherCaseKept) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "data");
  std::filesystem::create_directories(dir / "SHELLS");
  ProgramFolder folder(dir.path());
  EXPECT_EQ(folder.data(), dir / "data");
  EXPECT_EQ(folder.shells(), dir / "SHELLS");
  for (const auto& p : {folder.system(), folder.dbrn(), folder.solving()})
    EXPECT_TRUE(std::filesystem::is_directory(p)) << p;
  EXPECT_EQ(folder.solving(), dir / "Solving");
  // The canonical spelling is preferred when both exist.
  std::filesystem::create_directories(dir / "Data");
  EXPECT_EQ(ProgramFolder(dir.path()).data(), dir / "Data");
}

}  // namespace
}  // namespace qj
