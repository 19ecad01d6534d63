// Writes under injected faults of the disk: every file that replaces another is synced before
// its rename and its folder after it, a failed sync is a failed write, and a replacement that
// cannot be undone keeps the old content under a name it reports.

#include "support/write_faults.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/files.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

using test::WriteFaults;
using V = std::vector<std::string>;

size_t entriesIn(const std::filesystem::path& dir) {
  return std::distance(std::filesystem::directory_iterator(dir), {});
}

TEST(WriteFaults, EveryReplacementSyncsTheFileBeforeItsRenameAndTheFolderAfter) {
  if (WriteFaults::ranInChild()) return;
  test::TempDir dir;
  dir.write("a", "old a");
  dir.write("b", "old b");
  WriteFaults faults(dir.path());

  writeFileAtomic(dir / "a", "new a");
  EXPECT_EQ(faults.syncsAndRenames(),
            (V{"fsync D/<temp> -> ok", "rename D/<temp> D/a -> ok", "fsync D -> ok"}));

  faults.clear();
  AtomicFile fresh(dir / "c");
  fresh.write("new c");
  EXPECT_EQ(fresh.commitUnderFreeName([&](int n) { return dir / ("c" + std::to_string(n)); }, 5),
            dir / "c1");
  EXPECT_EQ(faults.syncsAndRenames(),
            (V{"fsync D/<temp> -> ok", "link D/<temp> D/c1 -> ok", "fsync D -> ok"}));

  faults.clear();
  replaceFilesTogether({{dir / "a", [](AtomicFile& f) { f.write("newer a"); }},
                        {dir / "b", [](AtomicFile& f) { f.write("new b"); }}});
  // The old files are linked aside until both new ones are in place and durable.
  EXPECT_EQ(faults.syncsAndRenames(),
            (V{"fsync D/<temp> -> ok", "fsync D/<temp> -> ok", "link D/a D/a.bak -> ok",
               "link D/b D/b.bak -> ok", "rename D/<temp> D/a -> ok", "rename D/<temp> D/b -> ok",
               "fsync D -> ok", "fsync D -> ok"}));
  EXPECT_EQ(dir.read("a") + dir.read("b") + dir.read("c1"), "newer anew bnew c");
  EXPECT_EQ(entriesIn(dir.path()), 3u);

  // The old contents that cannot be removed after the replacement are named.
  faults.fail("unlink", 0, 1);
  EXPECT_EQ(replaceFilesTogether({{dir / "a", [](AtomicFile& f) { f.write("a again"); }},
                                  {dir / "b", [](AtomicFile& f) { f.write("b again"); }}}),
            std::vector{dir / "a.bak"});
  EXPECT_EQ(dir.read("a.bak") + "|" + dir.read("a") + dir.read("b"), "newer a|a againb again");
}

// Each fault of the disk in turn: the write fails, and where it failed before the rename the
// old file is whole; nothing but the file is left in the folder.
TEST(WriteFaults, AFailedWriteSyncOrRenameIsAFailedWrite) {
  if (WriteFaults::ranInChild()) return;
  struct Case {
    const char* call;
    long skip;
    bool replaced;  // the rename had happened when the fault came
  };
  for (const Case& c : {Case{"write", 0, false}, Case{"fsync", 0, false}, Case{"rename", 0, false},
                        Case{"fsync", 1, true}}) {
    SCOPED_TRACE(std::string(c.call) + "@" + std::to_string(c.skip));
    test::TempDir dir;
    dir.write("a", "old a");
    WriteFaults faults(dir.path());
    // Whether the error says that the new file is in place.
    const auto inPlace = [&](const std::function<void()>& save) -> std::string {
      faults.clear();
      faults.fail(c.call, c.skip);
      try {
        save();
      } catch (const FileError& e) {
        return e.inPlace() ? "in place" : "not written";
      }
      return "saved";
    };
    const std::string expected = c.replaced ? "in place" : "not written";
    EXPECT_EQ(inPlace([&] { copyFileAtomic(dir / "a", dir / "b"); }), expected);
    EXPECT_EQ(inPlace([&] { writeFileAtomic(dir / "a", "new a"); }), expected);
    if (c.replaced) std::filesystem::remove(dir / "b");
    faults.clear();
    EXPECT_EQ(dir.read("a"), c.replaced ? "new a" : "old a");
    EXPECT_EQ(entriesIn(dir.path()), 1u);
  }
}

// Files replaced together: a fault before every new file is in place and durable leaves both
// old files; the backup of a file that cannot be put back stays and is named.
TEST(WriteFaults, FilesReplacedTogetherKeepAnOldFileThatCannotBePutBack) {
  if (WriteFaults::ranInChild()) return;
  struct Case {
    const char* call;
    long skip, times;
    const char* failed;
    V expected;  // a, b, then what else the folder holds
  };
  const Case cases[] = {
      // The second rename fails, and so does putting the first file back.
      {"rename", 1, -1, "b", {"new a", "old b", "a.bak:old a"}},
      // The second rename fails once: the first file goes back.
      {"rename", 1, 1, "b", {"old a", "old b"}},
      // Both renamed, their folder cannot be synced: both go back.
      {"fsync", 2, 1, "a", {"old a", "old b"}},
      {"write", 1, 1, "b", {"old a", "old b"}},
      {"fsync", 1, 1, "b", {"old a", "old b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.call) + "@" + std::to_string(c.skip) + "*" +
                 std::to_string(c.times));
    test::TempDir dir;
    dir.write("a", "old a");
    dir.write("b", "old b");
    std::vector<FileError::Kept> kept;
    {
      WriteFaults faults(dir.path());
      faults.fail(c.call, c.skip, c.times);
      try {
        replaceFilesTogether({{dir / "a", [](AtomicFile& f) { f.write("new a"); }},
                              {dir / "b", [](AtomicFile& f) { f.write("new b"); }}});
        ADD_FAILURE() << "no failure";
      } catch (const FileError& e) {
        EXPECT_EQ(e.path(), dir / c.failed);
        kept = e.kept();
      }
    }
    V found{dir.read("a"), dir.read("b")};
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
      const std::string name = entry.path().filename().string();
      if (name != "a" && name != "b") found.push_back(name + ":" + dir.read(name));
    }
    EXPECT_EQ(found, c.expected);
    if (c.expected.size() > 2) {
      ASSERT_EQ(kept.size(), 1u);
      EXPECT_EQ(kept[0].file, dir / "a");
      EXPECT_EQ(kept[0].backup, dir / "a.bak");
    } else {
      EXPECT_TRUE(kept.empty());
    }
  }
}

// A backup kept by an earlier failure is never overwritten: the next one takes another name.
TEST(WriteFaults, AKeptBackupIsNeverOverwritten) {
  if (WriteFaults::ranInChild()) return;
  test::TempDir dir;
  dir.write("a", "old a");
  dir.write("a.bak", "older a");
  WriteFaults faults(dir.path());
  faults.fail("rename", 1);
  try {
    replaceFilesTogether({{dir / "a", [](AtomicFile& f) { f.write("new a"); }},
                          {dir / "b", [](AtomicFile& f) { f.write("new b"); }}});
  } catch (const FileError& e) {
    ASSERT_EQ(e.kept().size(), 1u);
    EXPECT_EQ(e.kept()[0].backup, dir / "a.bak2");
  }
  faults.clear();
  EXPECT_EQ(dir.read("a.bak") + "|" + dir.read("a.bak2") + "|" + dir.read("a"),
            "older a|old a|new a");
  EXPECT_FALSE(std::filesystem::exists(dir / "b"));  // a new file that failed is not left
}

}  // namespace
}  // namespace qj
