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
