#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/locale.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

size_t entriesIn(const std::filesystem::path& dir) {
  return std::distance(std::filesystem::directory_iterator(dir), {});
}

TEST(Files, WritesAndCopiesReplaceTheWholeFileOrNothing) {
  test::TempDir dir;
  dir.write("a", std::string(500, 'x'));
  writeFileAtomic(dir / "a", "short");
  try {
    AtomicFile file(dir / "a");
    file.write("new hea");
    throw FileError("the disk is full");  // the rest never arrives
  } catch (const FileError&) {
  }
  EXPECT_EQ(dir.read("a"), "short");
  EXPECT_EQ(entriesIn(dir.path()), 1u);  // no temporary file is left behind
  EXPECT_THROW(writeFileAtomic(dir / "no" / "file.dat", "x"), FileError);
  dir.write("b", "BBBBBB");
  copyFileAtomic(dir / "a", dir / "b");
  EXPECT_THROW(copyFileAtomic(dir / "missing", dir / "b"), FileError);
  EXPECT_EQ(dir.read("b"), "short");
  EXPECT_FALSE(readFile(dir / "a", 4) || readFile(dir.path()) || readFile(dir / "none") ||
               isWritableFile(dir.path()));
  EXPECT_EQ(readFile(dir / "a", 5), "short");
  EXPECT_EQ(readFilePrefix(dir / "a", 3), "sho");
  EXPECT_EQ(readFilePrefix(dir / "a", 30), "short");
}

// The writer of a file writes part of its bytes and then fails, as a full disk would; a
// folder in the place of the second file cannot be replaced.
TEST(Files, FilesReplacedTogetherAreEitherAllReplacedOrNone) {
  enum Fault { None, FirstWriterFails, SecondWriterFails, SecondIsAFolder };
  // clang-format off
  for (const auto& [fault, oldFiles] : {std::pair{None, false}, {None, true}, {FirstWriterFails, true},
       {SecondWriterFails, true}, {SecondWriterFails, false}, {SecondIsAFolder, false}}) {
    // clang-format on
    SCOPED_TRACE(fault * 10 + oldFiles);
    test::TempDir dir;
    if (oldFiles) dir.write("a.dat", "old a");
    if (oldFiles) dir.write("b.dat", "old b");
    if (fault == SecondIsAFolder) std::filesystem::create_directory(dir / "b.dat");
    const size_t before = entriesIn(dir.path());
    const auto writer = [](std::string bytes, bool fails) {
      return [bytes, fails](AtomicFile& f) {
        f.write(bytes.substr(0, 3));
        if (!fails)
          f.write(bytes.substr(3));
        else
          throw FileError("the disk is full");
      };
    };
    const std::vector<FileReplacement> files = {{dir / "a.dat", writer("new a", fault == 1)},
                                                {dir / "b.dat", writer("new b", fault == 2)}};
    try {
      replaceFilesTogether(files);
      EXPECT_EQ(fault, None);
    } catch (const FileError& e) {
      EXPECT_EQ(e.path().filename(), fault == FirstWriterFails ? "a.dat" : "b.dat");
    }
    // No temporary or kept file is left behind.
    EXPECT_EQ(entriesIn(dir.path()), fault == None ? 2 : before);
    const bool kept = fault == None || oldFiles;  // b.dat may be a folder otherwise
    const std::string expected = fault == None ? "new anew b" : "old aold b";
    EXPECT_EQ(kept ? dir.read("a.dat") + dir.read("b.dat") : expected, expected);
    EXPECT_EQ(std::filesystem::exists(dir / "a.dat"), kept);
  }
}

// "?" is exactly one character; ASCII letters ignore case, other characters count whole.
TEST(Folders, MasksMatchNamesAndListingTakesRegularFilesSortedByName) {
  const std::string in = "qj_??????_in.dat";
  const std::tuple<const char*, std::string, bool> cases[] = {
      // clang-format off
      {"qj_ABC123_in.dat", in, true}, {"qj_ABC12_in.dat", in, false},
      {"qj_ABC1234_in.dat", in, false}, {"qj_ABC123.dat", in, false}, {"QJ_abc123_IN.DAT", in, true},
      {"Shell (QJ 1.6).Рус", "Shell (QJ 1.6).???", true},
      {"Shell (QJ 1.6).рус", "Shell (QJ 1.6).Рус", false}, {"a😀b", "a?b", true},
      {"aअb", "a?b", true}, {"a\xC0\x80" "b", "a?b", true},
      {"anything.txt", "*.txt", true}, {"a.b.txt", "*.*", true}, {"a.txt", "*.dat", false}};
  // clang-format on
  for (const auto& [name, mask, matches] : cases)
    EXPECT_EQ(matchesMask(name, mask), matches) << name;

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
  ProgramFolder folder(dir.path());
  EXPECT_EQ(folder.data(), dir / "data");
  for (const auto& p : {folder.system(), folder.dbrn(), folder.solving()})
    EXPECT_TRUE(std::filesystem::is_directory(p)) << p;
  EXPECT_EQ(folder.solving(), dir / "Solving");
  // The canonical spelling is preferred when both exist.
  std::filesystem::create_directories(dir / "Data");
  EXPECT_EQ(ProgramFolder(dir.path()).data(), dir / "Data");
}

TEST(Locale, TheCLocaleHasAPointAnUnknownOneFallsBackToAComma) {
  for (const auto& [name, separator] : {std::pair{"C", '.'}, {"xx_NOWHERE.UTF-8", ','}}) {
    setenv("LC_ALL", name, 1);
    EXPECT_EQ(localeDecimalSeparator(), separator) << name;
  }
  unsetenv("LC_ALL");
}

}  // namespace
}  // namespace qj
