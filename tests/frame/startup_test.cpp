#include "frame/startup.h"

#include <grp.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "frame/frame_fixture.h"

namespace qj {
namespace {

using test::markedShell;
using test::V;
using test::writeShellFile;

using Startup = test::FrameTest;

TEST_F(Startup, ShellFilesAreThoseWithAThreeCharacterExtensionNamedInFileOrder) {
  for (const char* ext : {"en", "engl", "рус"}) writeShellFile(dir, ext, markedShell());
  writeShellFile(dir, "rus", markedShell("rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9"), true);
  writeShellFile(dir, "eng", markedShell("eng English"));
  dir.write("Shells/Shell (QJ 1.6).xyz", "tiny");
  dir.write("Shells/Shell (QJ 1.5).deu", "x");
  dir.write("Shells/notes.txt", "x");
  std::filesystem::create_directories(dir / "Shells/Shell (QJ 1.6).dir");
  const V files = findShellFiles(state.dirs());
  EXPECT_EQ(files, (V{"Shell (QJ 1.6).eng", "Shell (QJ 1.6).rus", "Shell (QJ 1.6).xyz",
                      "Shell (QJ 1.6).рус"}));
  EXPECT_EQ(languageNames(state.dirs(), files),
            (V{"eng English", "rus \xD0\xF3\xF1\xF1\xEA\xE8\xE9", "", "eng English"}));
  EXPECT_EQ(langCodeOfShellFile("Shell (QJ 1.6).Рус") + langCodeOfShellFile("\x80\x80"),
            "\xD0\xF3\xF1??");  // a malformed byte is a character
}

// The chosen name selects the file by its first three characters, in any letter case.
TEST_F(Startup, TheChosenNameSelectsTheFile) {
  writeShellFile(dir, "ENG", markedShell("rus named wrongly"));
  writeShellFile(dir, "rus", markedShell("eng named wrongly"), true);
  LanguageChoice choice = chooseLanguage(state.dirs(), "rus named wrongly");
  EXPECT_FALSE(choice.failure);
  EXPECT_EQ(choice.langCode, "rus");
  EXPECT_EQ(choice.fileName, "Shell (QJ 1.6).rus");
  choice = chooseLanguage(state.dirs(), "eng named wrongly");
  EXPECT_EQ(choice.fileName, "Shell (QJ 1.6).ENG");

  choice = chooseLanguage(state.dirs(), "deu Deutsch");
  ASSERT_TRUE(choice.failure);
  EXPECT_EQ(choice.failure->utf8({}),
            "The chosen file \"Shell (QJ 1.6).deu\" of language shell is missing in the folder "
            "\"Shells\". In this regard, there will an emergency exit from the program.");
}

TEST_F(Startup, LoadingAShellFillsTheStateAndCreatesTheProtocol) {
  writeShellFile(dir, "eng", markedShell());
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", '.');
  ASSERT_TRUE(load.loaded);
  EXPECT_EQ(std::tuple(state.langCode, state.shellFileName, state.texts.shell(419), state.decSep),
            std::tuple("eng", "Shell (QJ 1.6).eng", "S419", '.'));
  EXPECT_EQ(texts(load.messages), V{"S294..."});
  EXPECT_EQ(dir.read("System/protocol.pro"), writeProtocolFile({}));

  // Russian shells are read with their notes; "RUS" is not a Russian code, so the notes are
  // taken for texts.
  writeShellFile(dir, "рус", markedShell("\xF0\xF3\xF1"), true);
  writeShellFile(dir, "RUS", markedShell("RUS"), true);
  state.folderLock.reset();  // each load below is a program of its own, started after this one
  for (const auto& [ext, code, first] :
       {std::tuple{"рус", "\xF0\xF3\xF1", "s0"}, {"RUS", "RUS", "note 0"}}) {
    AppState other;
    other.folder = std::make_unique<ProgramFolder>(dir.path());
    const ShellLoad r = loadShell(other, std::string("Shell (QJ 1.6).") + ext, code, ',');
    ASSERT_TRUE(r.loaded) << ext;
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(other.texts.shortText(0), first);
  }
}

// Another copy of the program, in a process of its own, that holds the program folder until
// it is killed.
class OtherCopy {
 public:
  explicit OtherCopy(const ProgramFolder& folder) {
    const fs::path lockFile = folderLockPath(folder);
    int ready[2];
    if (::pipe(ready) != 0) throw std::runtime_error("no pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
      const FileLock lock(lockFile);
      const char held = lock.state() == FileLock::State::Held ? 'y' : 'n';
      if (::write(ready[1], &held, 1) != 1) ::_exit(1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char held = 'n';
    if (::read(ready[0], &held, 1) != 1) held = 'n';
    ::close(ready[0]);
    held_ = held == 'y';
  }
  ~OtherCopy() { kill(); }
  bool held() const { return held_; }
  // Ends the copy as a crash would: it frees nothing itself.
  void kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  bool held_ = false;
};

// A second copy of the program on the same folder says so in the language of its shell and
// ends before it reads the protocol; once the first copy has gone, however it ended, the
// folder is free again.
TEST_F(Startup, ASecondCopyOnTheSameFolderEndsWithItsMessage) {
  writeShellFile(dir, "eng", markedShell());
  dir.write("System/protocol.pro", "the first copy's protocol");
  OtherCopy first(state.dirs());
  ASSERT_TRUE(first.held());

  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", '.');
  EXPECT_FALSE(load.loaded);
  const std::string root = dir.path().string();
  EXPECT_EQ(texts(load.messages), V{"S1130 \"" + root + "\", S1133."});
  EXPECT_EQ(load.messages[0].kind, MessageKind::Warning);
  EXPECT_FALSE(state.protocolFileOk);
  EXPECT_EQ(dir.read("System/protocol.pro"), "the first copy's protocol");
  // As the user reads it, in either language.
  EXPECT_EQ(load.messages[0].utf8(test::shippedShell("eng")),
            "The program is already running with the program folder \"" + root +
                "\", so this copy of the program closes.");
  EXPECT_EQ(load.messages[0].utf8(test::shippedShell("rus")),
            "Программа уже запущена с папкой программы \"" + root +
                "\", поэтому эта копия программы закрывается.");
  // The first copy's hold outlives its lock file.
  fs::remove(folderLockPath(state.dirs()));
  EXPECT_EQ(texts(loadShell(state, "Shell (QJ 1.6).eng", "eng", '.').messages),
            texts(load.messages));

  // The first copy dies without a word: its lock goes with it.
  first.kill();
  dir.write("System/protocol.pro", writeProtocolFile({}));
  const ShellLoad again = loadShell(state, "Shell (QJ 1.6).eng", "eng", '.');
  EXPECT_TRUE(again.loaded);
  EXPECT_TRUE(again.messages.empty());
  EXPECT_TRUE(state.protocolFileOk);
  // Now this copy holds the folder, and another is refused.
  OtherCopy third(state.dirs());
  EXPECT_FALSE(third.held());
  // Loading a shell again in the running program keeps its own hold.
  EXPECT_TRUE(loadShell(state, "Shell (QJ 1.6).eng", "eng", '.').loaded);
}

// The start-up as a user other than the owner of the files: the tests run as root, who may
// open any file. What the body returns comes back; nullopt where the user cannot be changed.
std::optional<std::string> asNobody(const std::function<std::string()>& body) {
  if (::geteuid() != 0) return std::nullopt;
  int out[2];
  if (::pipe(out) != 0) return std::nullopt;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::close(out[0]);
    constexpr uid_t kNobody = 65534;
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
      ::_exit(1);
    const std::string result = body();
    const bool sent = ::write(out[1], result.data(), result.size()) == ssize_t(result.size());
    ::_exit(sent ? 0 : 1);
  }
  ::close(out[1]);
  std::string result;
  char buf[512];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) result.append(buf, size_t(n));
  ::close(out[0]);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return result;
}

// The lock is never taken through a link or on something other than a file. Where it cannot
// be taken and this user may write in the program folder, the program says which file and
// why, and ends; only a folder that no copy can write is used without the lock.
TEST_F(Startup, ALockThatCannotBeTakenEndsTheProgramUnlessTheFolderIsReadOnly) {
  writeShellFile(dir, "eng", markedShell());
  const fs::path lock = folderLockPath(state.dirs());
  const std::string refused = "S1320 \"" + lock.string() + "\" S1321 (";
  const auto start = [this] {
    AppState copy;
    copy.folder = std::make_unique<ProgramFolder>(dir.path());
    const ShellLoad load = loadShell(copy, "Shell (QJ 1.6).eng", "eng", '.');
    std::string outcome =
        std::string(load.loaded ? "loaded" : "ended") + (copy.folderLock ? " locked" : "");
    for (const auto& m : load.messages) outcome += " | " + m.utf8(markedShell());
    return outcome;
  };
  enum Plant { DanglingLink, LinkToAFile, Folder, OthersPrivateFile, OthersReadableFile };
  struct Case {
    Plant plant;
    bool asOther;   // started by another user than the files' owner
    bool writable;  // that user may write in the program folder
    std::string expected;
  };
  const Case cases[] = {
      {DanglingLink, false, true, "ended | " + refused + "S1322), S1133."},
      {LinkToAFile, false, true, "ended | " + refused + "S1322), S1133."},
      {Folder, false, true, "ended | " + refused + "S1325), S1133."},
      // A file left by a run under another user.
      {OthersPrivateFile, true, true, "ended | " + refused + "S1323), S1133."},
      {OthersReadableFile, true, true, "loaded locked"},
      // No copy can change the folder.
      {OthersPrivateFile, true, false, "loaded"},
      {DanglingLink, true, false, "loaded"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.plant) + (c.asOther ? " as another user" : "") +
                 (c.writable ? "" : " read-only"));
    fs::remove_all(lock);
    dir.write("System/protocol.pro", writeProtocolFile({}));
    ::chmod((dir / "System/protocol.pro").c_str(), 0666);
    const fs::path elsewhere = dir / "elsewhere";
    fs::remove(elsewhere);
    switch (c.plant) {
      case DanglingLink: fs::create_symlink(elsewhere, lock); break;
      case LinkToAFile:
        dir.write("elsewhere", "a file of the user");
        fs::create_symlink(elsewhere, lock);
        break;
      case Folder: fs::create_directories(lock); break;
      case OthersPrivateFile:
      case OthersReadableFile:
        dir.write("System/qj.lock", "");
        ::chmod(lock.c_str(), c.plant == OthersPrivateFile ? 0600 : 0644);
        break;
    }
    for (const char* f : {"", "System", "Dbrn", "Data", "Solving"})
      ::chmod((dir / f).c_str(), c.writable ? 0777 : 0755);
    const std::optional<std::string> outcome = c.asOther ? asNobody(start) : start();
    if (!outcome) continue;  // not run as root: no other user to start it as
    EXPECT_EQ(*outcome, c.expected);
    // Nothing was created through the link.
    EXPECT_EQ(fs::exists(elsewhere), c.plant == LinkToAFile);
    if (c.plant == LinkToAFile) {
      EXPECT_EQ(dir.read("elsewhere"), "a file of the user");
    }
  }
  for (const char* f : {"", "System", "Dbrn", "Data", "Solving"}) ::chmod((dir / f).c_str(), 0755);

  // As the user reads it, in either language.
  const Message m = lockUnavailableMessage(state.dirs(), ELOOP);
  EXPECT_EQ(m.utf8(test::shippedShell("eng")),
            "The lock file \"" + lock.string() +
                "\" of the program folder cannot be taken (it is a symbolic link), so this copy "
                "of the program closes.");
  EXPECT_EQ(lockUnavailableMessage(state.dirs(), EACCES).utf8(test::shippedShell("rus")),
            "Файл блокировки \"" + lock.string() +
                "\" папки программы не удаётся занять (этому пользователю нельзя его открыть), "
                "поэтому эта копия программы закрывается.");
  EXPECT_EQ(texts({lockUnavailableMessage(state.dirs(), ENOLCK),
                   lockUnavailableMessage(state.dirs(), EIO)}),
            (V{refused + "S1324), S1133.", refused + "Input/output error), S1133."}));
}

// A save killed mid-way leaves its hidden temporary file; the next copy that holds the folder
// removes every such file of the program's folders whose writer is gone, and nothing else.
TEST_F(Startup, TemporariesOfSavesThatNeverEndedAreRemoved) {
  writeShellFile(dir, "eng", markedShell());
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string gone = std::to_string(ended), self = std::to_string(::getpid());
  const V left = {"System/.protocol.pro.tmp-" + gone + "-0-12345",
                  "Data/.qj_AB12CD.dat.tmp-" + gone + "-7-0", ".x.tmp-" + gone + "-2-3",
                  "Export/.a b.xlsx.tmp-" + gone + "-9-9",
                  // this process's number, from a process before it
                  "Data/.qj_AB12CD.dat.tmp-" + self + "-1-1"};
  const V kept = {"Data/qj_AB12CD.dat.tmp-" + gone + "-7-0",
                  "Data/.qj_AB12CD.dat.tmp-" + gone + "-7", "Data/.qj_AB12CD.dat.tmp-1-x-0",
                  "Data/.tmp-1-2-3", "Dbrn/.notes.tmp-",
                  // its writer runs
                  "Data/.qj_AB12CD.dat.tmp-" + std::to_string(::getppid()) + "-1-2"};
  for (const auto& f : left) dir.write(f, "half");
  for (const auto& f : kept) dir.write(f, "someone's");
  fs::create_directories(dir / "Solving/.dir.tmp-1-2-3");
  // A save in progress under this process's number, as in a copy on another program folder
  // that shares this Data: its lock alone tells.
  AtomicFile saving(dir / "Data/qj_XY12ZW.dat");
  saving.write("task");
  for (const auto& e : fs::recursive_directory_iterator(dir.path()))
    fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(1));
  // Written during this run by a writer that has gone since.
  dir.write("Data/.qj_AB12CD.dat.tmp-" + gone + "-1-4", "new");

  ASSERT_TRUE(loadShell(state, "Shell (QJ 1.6).eng", "eng", '.').loaded);
  for (const auto& f : left) EXPECT_FALSE(exists(f)) << f;
  for (const auto& f : kept) EXPECT_TRUE(exists(f)) << f;
  EXPECT_TRUE(exists("Solving/.dir.tmp-1-2-3"));
  EXPECT_TRUE(exists("Data/.qj_AB12CD.dat.tmp-" + gone + "-1-4"));
  saving.commit();
  EXPECT_EQ(dir.read("Data/qj_XY12ZW.dat"), "task");
}

TEST_F(Startup, ADamagedShellEndsTheStartUpBeforeTheProtocol) {
  state.texts = {};
  dir.write("Shells/Shell (QJ 1.6).eng", "damaged");
  dir.write("System/protocol.pro", "keep me");
  const ShellLoad load = loadShell(state, "Shell (QJ 1.6).eng", "eng", ',');
  EXPECT_FALSE(load.loaded);
  ASSERT_EQ(load.messages.size(), 1u);
  EXPECT_EQ(load.messages[0].kind, MessageKind::Error);
  EXPECT_TRUE(state.texts.shellTexts.empty());
  EXPECT_FALSE(state.protocolFileOk);
  EXPECT_EQ(dir.read("System/protocol.pro"), "keep me");

  const ShellLoad missing = loadShell(state, "Shell (QJ 1.6).xyz", "xyz", ',');
  EXPECT_FALSE(missing.loaded);
  EXPECT_EQ(texts(missing.messages),
            V{"The language shell \"Shell (QJ 1.6).xyz\" cannot be used: the file cannot be opened "
              "or read. In this regard, there will an emergency exit from the program."});
}

}  // namespace
}  // namespace qj
