// The print system on CUPS, against a CUPS server of the test's own (a scheduler started in a
// temporary folder, listening on a local socket): the default queue and its paper, and the fate
// of a job on a queue that prints, refuses jobs, or is paused. Where the scheduler is not
// installed or cannot run, those tests are skipped; the reading of a job's state is tested
// everywhere.

#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <thread>

#include "platform/print_system.h"
#include "support/temp_dir.h"

namespace qj {
namespace {

namespace fs = std::filesystem;

TEST(JobFates, FollowTheJobStateItsReasonsAndThePrinter) {
  const struct {
    int state;
    std::vector<std::string> reasons;
    bool printerStopped;
    std::optional<JobFate> fate;
  } cases[] = {
      {9, {"job-completed-successfully"}, false, JobFate::Printed},
      {9, {"job-completed-with-warnings"}, false, JobFate::Printed},
      {9, {"job-completed-with-errors"}, false, JobFate::Refused},
      {7, {"job-canceled-by-user"}, false, JobFate::Refused},
      {8, {"aborted-by-system"}, false, JobFate::Refused},
      {4, {"job-hold-until-specified"}, false, JobFate::Waiting},
      {6, {}, false, JobFate::Waiting},
      {3, {"none"}, true, JobFate::Waiting},
      {3, {"printer-stopped"}, false, JobFate::Waiting},
      {5, {}, true, JobFate::Waiting},
      {3, {"none"}, false, std::nullopt},
      {5, {"job-printing"}, false, std::nullopt},
      {0, {}, false, std::nullopt},  // the state could not be read
  };
  for (const auto& c : cases)
    EXPECT_EQ(settledFate({c.state, c.reasons, c.printerStopped}), c.fate)
        << c.state << (c.reasons.empty() ? "" : " " + c.reasons[0]);
}

constexpr const char* kSbin = "/usr/sbin/";

// A CUPS scheduler in a temporary folder, for this test alone.
class PrivateCups {
 public:
  ~PrivateCups() {
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

  // Starts the scheduler; the reason when it cannot run here.
  std::optional<std::string> start() {
    for (const char* tool : {"cupsd", "lpadmin", "cupsreject", "cupsaccept", "cupsdisable"})
      if (access((std::string(kSbin) + tool).c_str(), X_OK) != 0)
        return std::string(tool) + " is not installed";
    // The scheduler's filters run as another user when it runs as root: they must reach it.
    fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    for (const char* sub : {"spool", "cache", "state", "log", "tmp"})
      fs::create_directories(dir_ / sub);
    fs::permissions(dir_ / "tmp", fs::perms::all | fs::perms::sticky_bit);
    const std::string root = dir_.path().string();
    std::ofstream(dir_ / "cupsd.conf") << "Listen " << socket() << "\n"
                                       << "LogLevel warn\nBrowsing Off\nWebInterface No\n"
                                       << "DefaultAuthType None\n"
                                       << "<Location />\nOrder Allow,Deny\nAllow all\n"
                                          "</Location>\n"
                                       << "<Policy default>\n<Limit All>\nOrder Deny,Allow\n"
                                          "</Limit>\n</Policy>\n";
    std::ofstream files(dir_ / "cups-files.conf");
    files << "ServerRoot " << root << "\nRequestRoot " << root << "/spool\nTempDir " << root
          << "/tmp\nCacheDir " << root << "/cache\nStateDir " << root << "/state\nErrorLog " << root
          << "/log/error_log\nAccessLog " << root << "/log/access_log\nPageLog " << root
          << "/log/page_log\nPrintcap " << root
          << "/printcap\nServerBin /usr/lib/cups\nDataDir /usr/share/cups\nFileDevice Yes\n";
    if (getuid() == 0) {
      files << "User lp\nGroup lp\nSystemGroup root\n";
    } else if (const group* g = getgrgid(getegid())) {
      files << "SystemGroup " << g->gr_name << "\n";
    }
    files.close();

    pid_ = fork();
    if (pid_ == 0) {
      const std::string conf = (dir_ / "cupsd.conf").string();
      const std::string filesConf = (dir_ / "cups-files.conf").string();
      execl((std::string(kSbin) + "cupsd").c_str(), "cupsd", "-f", "-c", conf.c_str(), "-s",
            filesConf.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    if (pid_ < 0) return "the scheduler could not be started";
    for (int i = 0; i < 100 && !fs::exists(socket()); ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = 0;
        return "the scheduler ended at once: " + dir_.read("log/error_log");
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!fs::exists(socket())) return "the scheduler does not listen";
    return std::nullopt;
  }

  std::string socket() const { return (dir_ / "cups.sock").string(); }

  // Runs one of the administration tools on this scheduler; true when it succeeded.
  bool run(const std::string& tool, const std::string& arguments) const {
    const std::string command =
        std::string(kSbin) + tool + " -h " + socket() + " " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

  const test::TempDir& dir() const { return dir_; }

 private:
  test::TempDir dir_;
  pid_t pid_ = 0;
};

class CupsPrinting : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    cups_ = new PrivateCups;
    // The user's and the machine's own settings must not name another default queue.
    setenv("HOME", cups_->dir().path().c_str(), 1);
    setenv("CUPS_SERVERROOT", cups_->dir().path().c_str(), 1);
    unsetenv("LPDEST");
    unsetenv("PRINTER");
    skipped_ = cups_->start();
  }
  static void TearDownTestSuite() {
    delete cups_;
    cups_ = nullptr;
  }
  void SetUp() override {
    if (skipped_) GTEST_SKIP() << *skipped_;
  }

  // A queue that writes its jobs to nothing, with the given default paper.
  static bool addQueue(const std::string& name, const std::string& media) {
    return cups_->run("lpadmin",
                      "-p " + name + " -E -v file:///dev/null -o media-default=" + media);
  }
  static std::unique_ptr<PrintSystem> printers() {
    return cupsPrintSystem(cups_->socket(), std::chrono::seconds(20));
  }

  static inline PrivateCups* cups_ = nullptr;
  static inline std::optional<std::string> skipped_;
};

// The default queue names its paper: Letter or A4. A job on a queue that accepts and prints it
// is printed; a queue that refuses jobs refuses it; a paused queue holds it.
TEST_F(CupsPrinting, TheDefaultQueueItsPaperAndTheFateOfAJob) {
  const std::unique_ptr<PrintSystem> system = printers();
  EXPECT_EQ(system->defaultQueue(), std::nullopt);  // no queue yet

  ASSERT_TRUE(addQueue("qjLetter", "na_letter_8.5x11in"));
  ASSERT_TRUE(addQueue("qjA4", "iso_a4_210x297mm"));
  ASSERT_TRUE(cups_->run("lpadmin", "-d qjLetter"));
  std::optional<PrintQueue> queue = system->defaultQueue();
  ASSERT_TRUE(queue);
  EXPECT_EQ(queue->name, "qjLetter");
  EXPECT_EQ(queue->paper, kPaperLetter);
  const std::string pdf = "%PDF-1.4\n%%EOF\n";
  EXPECT_EQ(system->print(*queue, "Report \xD0\x9F", pdf), JobFate::Printed);

  ASSERT_TRUE(cups_->run("cupsreject", "qjLetter"));
  EXPECT_EQ(system->print(*queue, "Report", pdf), JobFate::Refused);
  ASSERT_TRUE(cups_->run("cupsaccept", "qjLetter"));
  ASSERT_TRUE(cups_->run("cupsdisable", "qjLetter"));
  EXPECT_EQ(system->print(*queue, "Report", pdf), JobFate::Waiting);
  EXPECT_EQ(system->print(PrintQueue{"qjNone", kPaperA4}, "Report", pdf), JobFate::Refused);

  ASSERT_TRUE(cups_->run("lpadmin", "-d qjA4"));
  queue = system->defaultQueue();
  ASSERT_TRUE(queue);
  EXPECT_EQ(std::pair(queue->name, queue->paper),
            std::pair(std::string("qjA4"), std::optional<PaperSize>(kPaperA4)));
}

// A server that does not answer has no queue and takes no job.
TEST(CupsPrintingNowhere, AServerThatDoesNotAnswerHasNoQueue) {
  test::TempDir dir;
  const auto system = cupsPrintSystem((dir / "no.sock").string());
  EXPECT_EQ(system->defaultQueue(), std::nullopt);
  EXPECT_EQ(system->print(PrintQueue{"any", kPaperA4}, "Report", "%PDF"), JobFate::Refused);
}

}  // namespace
}  // namespace qj
