#include "platform/files.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace qj {
namespace {

size_t entriesIn(const std::filesystem::path& dir) {
  size_t n = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir)) ++n;
  return n;
}

TEST(Files, WritesAndCopiesReplaceTheWholeFileOrNothing) {
  test::TempDir dir;
  dir.write("a", std::string(500, 'x'));
  writeFileAtomic(dir / "a", "short");
  EXPECT_EQ(dir.read("a"), "short");
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
  EXPECT_EQ(dir.read("b"), "short");
  EXPECT_THROW(copyFileAtomic(dir / "missing", dir / "b"), FileError);
  EXPECT_EQ(dir.read("b"), "short");

  EXPECT_EQ(readFile(dir / "a"), "short");
  EXPECT_FALSE(readFile(dir / "a", 4));
  EXPECT_FALSE(readFile(dir.path()));
  EXPECT_FALSE(readFile(dir / "none"));
  EXPECT_EQ(readFilePrefix(dir / "a", 3), "sho");
  EXPECT_EQ(readFilePrefix(dir / "a", 30), "short");
}

TEST(Files, FilesReplacedTogetherAreEitherAllReplacedOrNone) {
  // The writer of a file writes part of its bytes and then fails, as a full disk would.
  enum Fault { None, FirstWriterFails, SecondWriterFails, SecondIsAFolder };
  for (const auto& [fault, oldFiles] : {std::pair{None, false},
                                        {None, true},
                                        {FirstWriterFails, true},
                                        {SecondWriterFails, true},
                                        {SecondWriterFails, false},
                                        {SecondIsAFolder, false}}) {
    SCOPED_TRACE(fault * 10 + oldFiles);
    test::TempDir dir;
    if (oldFiles) {
      dir.write("a.dat", "old a");
      dir.write("b.dat", "old b");
    }
    if (fault == SecondIsAFolder) std::filesystem::create_directory(dir / "b.dat");
    const size_t before = entriesIn(dir.path());
    const auto writer = [](std::string bytes, bool fails) {
      return [bytes, fails](AtomicFile& f) {
        f.write(bytes.substr(0, 3));
        if (fails) throw FileError("the disk is full");
        f.write(bytes.substr(3));
      };
    };
    const std::vector<FileReplacement> files = {
        {dir / "a.dat", writer("new a", fault == FirstWriterFails)},
        {dir / "b.dat", writer("new b", fault == SecondWriterFails)}};
    if (fault == None) {
      replaceFilesTogether(files);
      EXPECT_EQ(dir.read("a.dat") + dir.read("b.dat"), "new anew b");
      EXPECT_EQ(entriesIn(dir.path()), 2u);
      continue;
    }
    try {
      replaceFilesTogether(files);
      ADD_FAILURE() << "no failure reported";
    } catch (const FileError& e) {
      EXPECT_EQ(e.path().filename(), fault == FirstWriterFails ? "a.dat" : "b.dat");
    }
    EXPECT_EQ(entriesIn(dir.path()), before);  // no temporary or kept file is left behind
    if (oldFiles) {
      EXPECT_EQ(dir.read("a.dat") + dir.read("b.dat"), "old aold b");
    }
    EXPECT_EQ(std::filesystem::exists(dir / "a.dat"), oldFiles);
  }
}

}  // namespace
}  // namespace qj
