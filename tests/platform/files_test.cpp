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

TEST(AtomicWrite, ReplacesTheWholeFile) {
  test::TempDir dir;
  dir.write("protocol.pro", std::string(500, 'x'));
  writeFileAtomic(dir / "protocol.pro", "short");
  EXPECT_EQ(dir.read("protocol.pro"), "short");
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

TEST(AtomicWrite, AWriteThatFailsPartWayLeavesTheOldFileIntact) {
  test::TempDir dir;
  dir.write("task.dat", "old contents");
  try {
    AtomicFile file(dir / "task.dat");
    file.write("new hea");
    throw FileError("the disk is full");  // the rest never arrives
  } catch (const FileError&) {
  }
  EXPECT_EQ(dir.read("task.dat"), "old contents");
  EXPECT_EQ(entriesIn(dir.path()), 1u);  // no temporary file is left behind
}

TEST(AtomicWrite, FailsCleanlyWhenTheFolderIsMissing) {
  test::TempDir dir;
  EXPECT_THROW(writeFileAtomic(dir / "no" / "file.dat", "x"), FileError);
}

TEST(FilesReplacedTogether, EitherAllAreReplacedOrNoneIs) {
  // The writer of file b writes part of its bytes and then fails, as a full disk would.
  enum class Fault { None, FirstWriterFails, SecondWriterFails, SecondIsAFolder };
  struct Case {
    Fault fault;
    bool oldFiles;
  };
  for (const Case c :
       {Case{Fault::None, false}, Case{Fault::None, true}, Case{Fault::FirstWriterFails, true},
        Case{Fault::SecondWriterFails, true}, Case{Fault::SecondWriterFails, false},
        Case{Fault::SecondIsAFolder, false}}) {
    SCOPED_TRACE(static_cast<int>(c.fault) * 10 + c.oldFiles);
    test::TempDir dir;
    if (c.oldFiles) {
      dir.write("a.dat", "old a");
      dir.write("b.dat", "old b");
    }
    if (c.fault == Fault::SecondIsAFolder) std::filesystem::create_directory(dir / "b.dat");
    const size_t before = entriesIn(dir.path());
    const auto writer = [](std::string bytes, bool fails) {
      return [bytes, fails](AtomicFile& f) {
        f.write(bytes.substr(0, 3));
        if (fails) throw FileError("the disk is full");
        f.write(bytes.substr(3));
      };
    };
    const std::vector<FileReplacement> files = {
        {dir / "a.dat", writer("new a", c.fault == Fault::FirstWriterFails)},
        {dir / "b.dat", writer("new b", c.fault == Fault::SecondWriterFails)}};
    if (c.fault == Fault::None) {
      replaceFilesTogether(files);
      EXPECT_EQ(dir.read("a.dat"), "new a");
      EXPECT_EQ(dir.read("b.dat"), "new b");
      EXPECT_EQ(entriesIn(dir.path()), 2u);
      continue;
    }
    try {
      replaceFilesTogether(files);
      ADD_FAILURE() << "no failure reported";
    } catch (const FileError& e) {
      EXPECT_EQ(e.path().filename(), c.fault == Fault::FirstWriterFails ? "a.dat" : "b.dat");
    }
    EXPECT_EQ(entriesIn(dir.path()), before);  // no temporary or kept file is left behind
    if (c.oldFiles) {
      EXPECT_EQ(dir.read("a.dat"), "old a");
      EXPECT_EQ(dir.read("b.dat"), "old b");
    } else {
      EXPECT_FALSE(std::filesystem::exists(dir / "a.dat"));
    }
  }
}

TEST(AtomicCopy, OverwritesItsTarget) {
  test::TempDir dir;
  dir.write("a", "AAA");
  dir.write("b", "BBBBBB");
  copyFileAtomic(dir / "a", dir / "b");
  EXPECT_EQ(dir.read("b"), "AAA");
  EXPECT_THROW(copyFileAtomic(dir / "missing", dir / "b"), FileError);
  EXPECT_EQ(dir.read("b"), "AAA");
}

TEST(ReadFile, RefusesMissingFoldersAndOversizedFiles) {
  test::TempDir dir;
  dir.write("f", "12345");
  EXPECT_EQ(readFile(dir / "f"), "12345");
  EXPECT_FALSE(readFile(dir / "f", 4));
  EXPECT_FALSE(readFile(dir.path()));
  EXPECT_FALSE(readFile(dir / "none"));
  EXPECT_EQ(readFilePrefix(dir / "f", 3), "123");
  EXPECT_EQ(readFilePrefix(dir / "f", 30), "12345");
}

}  // namespace
}  // namespace qj
