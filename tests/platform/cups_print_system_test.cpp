// The print system on CUPS, against a CUPS server of the test's own (a scheduler started in a
// temporary folder, listening on a local socket): the default queue and its paper, and the fate
// of a job on a queue that prints, refuses jobs, or is paused. Where the scheduler is not
// installed or cannot run, those tests are skipped; the reading of a job's state is tested
// everywhere.

#include <arpa/inet.h>
#include <cups/cups.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
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
using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

TEST(JobFates, FollowTheJobStateItsReasonsAndThePrinter) {
  using enum JobCanceller;
  const struct {
    int state;
    std::vector<std::string> reasons;
    bool printerStopped;
    std::optional<JobFate> fate;
    bool printerFailed = false;
    std::string printerMessage = "";
    JobCanceller by = Unsaid;
  } cases[] = {
      {9, {"job-completed-successfully"}, false, JobFate::Printed},
      {9, {"job-completed-with-warnings"}, false, JobFate::Printed},
      {9, {"job-completed-with-errors"}, false, JobFate::Aborted},
      {7, {"job-canceled-by-user"}, false, JobFate::Cancelled, false, "", User},
      {7, {"job-canceled-by-operator"}, false, JobFate::Cancelled, false, "", Operator},
      {7, {"job-canceled-at-device"}, false, JobFate::Cancelled, false, "", Printer},
      {7, {"processing-to-stop-point"}, false, JobFate::Cancelled},  // cancelled while it waited
      {8, {"aborted-by-system"}, false, JobFate::Aborted},
      {4, {"job-hold-until-specified"}, false, JobFate::Held},
      {4, {"resources-are-not-ready"}, false, JobFate::Retrying},
      {6, {}, false, JobFate::Paused},
      {6, {}, true, JobFate::Stopped, true},
      {3, {"none"}, true, JobFate::Paused},
      {3, {"none"}, true, JobFate::Stopped, true},  // behind the job that met the error
      {3, {"none"}, true, JobFate::Stopped, false, "device not ready"},  // the failed job cancelled
      {3, {"none"}, true, JobFate::Paused, false, "Paused"},  // paused with no reason given
      {3, {"printer-stopped"}, false, JobFate::Stopped},
      {5, {}, true, JobFate::Paused},
      {3, {"none"}, false, std::nullopt},
      {5, {"job-printing"}, false, std::nullopt},
      {0, {}, false, std::nullopt},  // the state could not be read
  };
  for (const auto& c : cases) {
    JobStatus status{c.state, c.reasons, c.printerStopped, c.printerFailed, "", c.printerMessage};
    EXPECT_EQ(std::pair(settledFate(status), cancellerOf(status)), std::pair(c.fate, c.by))
        << c.state << (c.reasons.empty() ? "" : " " + c.reasons[0]) << " " << c.printerFailed;
  }
  // The job's printer's words on the job come first, the printer's own next.
  JobStatus status{8, {}, false, false, "", "Out of paper"};
  EXPECT_EQ(statusReason(status), "Out of paper");
  status.jobMessage = "Backend failed";
  EXPECT_EQ(statusReason(status), "Backend failed");
  // A cancelled job is told by its own words alone, never by its printer's.
  status = {7, {}, false, false, "", "Ready"};
  EXPECT_EQ(statusReason(status), "");
  status.jobMessage = "Cancelled on the printer's panel";
  EXPECT_EQ(statusReason(status), "Cancelled on the printer's panel");
}

constexpr const char* kSbin = "/usr/sbin/";

// Where a tool of the scheduler is: the administration tools, or the users' ones.
std::string toolPath(const std::string& tool) {
  const std::string admin = kSbin + tool;
  return access(admin.c_str(), X_OK) == 0 ? admin : "/usr/bin/" + tool;
}

// A CUPS scheduler in a temporary folder, for this test alone.
class PrivateCups {
 public:
  ~PrivateCups() {
    if (pid_ > 0) {
      kill(pid_, SIGCONT);
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }

  // Starts the scheduler; the reason when it cannot run here.
  std::optional<std::string> start() {
    for (const char* tool :
         {"cupsd", "lpadmin", "cupsreject", "cupsaccept", "cupsdisable", "cupsenable", "cancel"})
      if (access(toolPath(tool).c_str(), X_OK) != 0) return std::string(tool) + " is not installed";
    // The scheduler's filters run as another user when it runs as root: they must reach it.
    fs::permissions(dir_.path(), fs::perms::owner_all | fs::perms::group_read |
                                     fs::perms::group_exec | fs::perms::others_read |
                                     fs::perms::others_exec);
    for (const char* sub : {"spool", "cache", "state", "log", "tmp", "bin/backend"})
      fs::create_directories(dir_ / sub);
    // The scheduler's own programs, and a backend that fails after as many seconds as its
    // address says ("qjfail://3").
    for (const char* sub : {"filter", "daemon", "cgi-bin", "notifier", "monitor"})
      fs::create_directory_symlink(fs::path("/usr/lib/cups") / sub, dir_ / "bin" / sub);
    dir_.write("bin/backend/qjfail",
               "#!/bin/sh\n"
               "[ $# -eq 0 ] && exit 0\n"
               "sleep ${DEVICE_URI#qjfail://}\n"
               "cat >/dev/null\n"
               "echo 'ERROR: The test printer is out of order' >&2\n"
               "exit 1\n");
    fs::permissions(dir_ / "bin/backend/qjfail",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                        fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(dir_ / "tmp", fs::perms::all | fs::perms::sticky_bit);
    const std::string root = dir_.path().string();
    std::ofstream(dir_ / "cupsd.conf") << "Listen " << socket() << "\n"
                                       << "LogLevel warn\nBrowsing Off\nWebInterface No\n"
                                       << "DefaultAuthType None\n"
                                       << "JobRetryInterval 2\nJobRetryLimit 1\n"
                                       << "<Location />\nOrder Allow,Deny\nAllow all\n"
                                          "</Location>\n"
                                       << "<Policy default>\n<Limit All>\nOrder Deny,Allow\n"
                                          "</Limit>\n</Policy>\n";
    std::ofstream files(dir_ / "cups-files.conf");
    files << "ServerRoot " << root << "\nRequestRoot " << root << "/spool\nTempDir " << root
          << "/tmp\nCacheDir " << root << "/cache\nStateDir " << root << "/state\nErrorLog " << root
          << "/log/error_log\nAccessLog " << root << "/log/access_log\nPageLog " << root
          << "/log/page_log\nPrintcap " << root << "/printcap\nServerBin " << root
          << "/bin\nDataDir /usr/share/cups\nFileDevice Yes\n";
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

  // Runs one of the scheduler's tools on this scheduler; true when it succeeded.
  bool run(const std::string& tool, const std::string& arguments) const {
    const std::string command =
        toolPath(tool) + " -h " + socket() + " " + arguments + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
  }

  // Stops the scheduler where it stands, or lets it go on: a stopped one takes connections
  // and answers nothing.
  void freeze(bool frozen) const {
    if (pid_ > 0) kill(pid_, frozen ? SIGSTOP : SIGCONT);
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
  // A queue whose printer fails every job after `seconds`, and what the scheduler does then.
  static bool addFailingQueue(const std::string& name, int seconds, const std::string& policy) {
    return cups_->run("lpadmin", "-p " + name + " -E -v qjfail://" + std::to_string(seconds) +
                                     " -o printer-error-policy=" + policy);
  }
  static constexpr auto kPoll = 100ms;
  static std::unique_ptr<PrintSystem> printers() {
    return cupsPrintSystem(cups_->socket(), std::chrono::seconds(20), kPoll);
  }
  // The news of one job until its end, or until `within` passes, and whatever is heard of it
  // in the polls that follow its end, which must be nothing.
  static std::vector<JobReport> newsOf(PrintSystem& system, int job,
                                       std::chrono::seconds within = std::chrono::seconds(20)) {
    std::vector<JobReport> heard;
    const auto hear = [&] {
      for (const JobReport& r : system.news())
        if (r.job == job) heard.push_back(r);
    };
    for (const auto until = Clock::now() + within; Clock::now() < until;) {
      hear();
      if (!heard.empty() &&
          (heard.back().fate == JobFate::Printed || !stillQueued(heard.back().fate))) {
        std::this_thread::sleep_for(3 * kPoll);
        hear();
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return heard;
  }
  // Sends a job and tells how long the sending took.
  static std::pair<JobReport, Clock::duration> timedPrint(PrintSystem& system,
                                                          const std::string& queue) {
    const auto start = Clock::now();
    JobReport sent = system.print(PrintQueue{queue, kPaperA4}, "Report", kPdf);
    return {sent, Clock::now() - start};
  }

  static constexpr const char* kPdf = "%PDF-1.4\n%%EOF\n";
  static inline PrivateCups* cups_ = nullptr;
  static inline std::optional<std::string> skipped_;
};

// The default queue names its paper: Letter or A4. A job on a queue that accepts and prints it
// is printed; a queue that refuses jobs refuses it; a paused queue holds it until it goes on.
TEST_F(CupsPrinting, TheDefaultQueueItsPaperAndTheFateOfAJob) {
  const std::unique_ptr<PrintSystem> system = printers();
  const QueueLookup none = system->defaultQueue();
  EXPECT_EQ(std::pair(none.queue, none.answered), std::pair(std::optional<PrintQueue>(), true));

  ASSERT_TRUE(addQueue("qjLetter", "na_letter_8.5x11in"));
  ASSERT_TRUE(addQueue("qjA4", "iso_a4_210x297mm"));
  ASSERT_TRUE(cups_->run("lpadmin", "-d qjLetter"));
  std::optional<PrintQueue> queue = system->defaultQueue().queue;
  ASSERT_TRUE(queue);
  EXPECT_EQ(queue->name, "qjLetter");
  EXPECT_EQ(queue->paper, kPaperLetter);
  const JobReport printed = system->print(*queue, "Report \xD0\x9F", kPdf);
  EXPECT_EQ(printed.fate, JobFate::Printed);
  ASSERT_GT(printed.job, 0);
  const std::vector<JobReport> news = newsOf(*system, printed.job);
  ASSERT_EQ(news.size(), 1u);
  EXPECT_EQ(news[0].fate, JobFate::Printed);

  ASSERT_TRUE(cups_->run("cupsreject", "qjLetter"));
  const JobReport refused = system->print(*queue, "Report", kPdf);
  EXPECT_EQ(std::pair(refused.job, refused.fate), std::pair(0, JobFate::Refused));
  ASSERT_TRUE(cups_->run("cupsaccept", "qjLetter"));
  ASSERT_TRUE(cups_->run("cupsdisable", "qjLetter"));
  const JobReport paused = system->print(*queue, "Report", kPdf);
  EXPECT_EQ(paused.fate, JobFate::Paused);
  EXPECT_EQ(system->print(PrintQueue{"qjNone", kPaperA4}, "Report", kPdf).fate, JobFate::Refused);
  ASSERT_TRUE(cups_->run("cupsenable", "qjLetter"));
  const std::vector<JobReport> resumed = newsOf(*system, paused.job);
  ASSERT_EQ(resumed.size(), 1u);
  EXPECT_EQ(resumed[0].fate, JobFate::Printed);

  ASSERT_TRUE(cups_->run("lpadmin", "-d qjA4"));
  queue = system->defaultQueue().queue;
  ASSERT_TRUE(queue);
  EXPECT_EQ(std::pair(queue->name, queue->paper),
            std::pair(std::string("qjA4"), std::optional<PaperSize>(kPaperA4)));
}

// Sending a job does not wait for its printer: a job that fails at once or a few seconds
// later is heard of as aborted, in the words of its printer, one cancelled from a shell as
// cancelled by a user. A printer that stops after the error holds its jobs (and says why, also
// once that job is cancelled), and a job held to be sent again is heard of until it is given up.
// A job that goes with its queue removed is heard of as cancelled, never as printed.
// The print system's end does not wait for a scheduler that stopped answering about its jobs.
TEST_F(CupsPrinting, AJobIsFollowedToItsEndWithoutWaitingForIt) {
  std::unique_ptr<PrintSystem> system = printers();
  const std::string reason = "The test printer is out of order";
  // What someone does from a shell while the job prints: cancels it; or pauses its queue before
  // it is sent and removes the queue while the job waits.
  enum Meanwhile { Nothing, Cancel, Remove };
  const struct {
    const char* queue;
    int seconds;
    const char* policy;
    std::vector<JobFate> heard;
    Meanwhile meanwhile = Nothing;
  } cases[] = {
      {"qjFailsLater", 3, "abort-job", {JobFate::Aborted}},
      {"qjFailsAtOnce", 0, "abort-job", {JobFate::Aborted}},
      {"qjRetries", 0, "retry-job", {JobFate::Retrying, JobFate::Aborted}},
      {"qjStops", 0, "stop-printer", {JobFate::Stopped}},
      {"qjCancelled", 20, "abort-job", {JobFate::Cancelled}, Cancel},
      {"qjRemoved", 20, "abort-job", {JobFate::Paused, JobFate::Cancelled}, Remove},
  };
  int failed = 0;  // the job that stopped its printer
  for (const auto& c : cases) {
    SCOPED_TRACE(c.queue);
    ASSERT_TRUE(addFailingQueue(c.queue, c.seconds, c.policy));
    if (c.meanwhile == Remove) {
      ASSERT_TRUE(cups_->run("cupsdisable", c.queue));
    }
    const auto [sent, took] = timedPrint(*system, c.queue);
    EXPECT_LT(took, 2s);  // before the slowest backend fails, at 3 s
    if (c.meanwhile != Nothing) {
      std::this_thread::sleep_for(1s);  // the printer has begun
      ASSERT_TRUE(c.meanwhile == Cancel ? cups_->run("cancel", std::to_string(sent.job))
                                        : cups_->run("lpadmin", std::string("-x ") + c.queue));
    }
    std::vector<JobFate> heard;
    if (sent.job == 0) {
      heard.push_back(sent.fate);  // failed before the sending ended
      EXPECT_EQ(sent.reasonUtf8, reason);
    } else {
      if (c.heard.back() == JobFate::Stopped) failed = sent.job;
      // A loaded machine may end the sending after the printer's first failure.
      if (sent.fate != JobFate::Printed) heard.push_back(sent.fate);
      for (const JobReport& r :
           newsOf(*system, sent.job, c.heard.back() == JobFate::Stopped ? 5s : 20s)) {
        heard.push_back(r.fate);
        EXPECT_EQ(r.reasonUtf8, c.meanwhile != Nothing ? "" : reason);
        EXPECT_EQ(r.cancelledBy, c.meanwhile == Cancel ? JobCanceller::User : JobCanceller::Unsaid);
      }
    }
    EXPECT_EQ(heard, c.heard);
  }
  // The stopped printer holds the next job at once, and says why.
  const JobReport next = system->print(PrintQueue{"qjStops", kPaperA4}, "Report", kPdf);
  EXPECT_EQ(std::pair(next.fate, next.reasonUtf8), std::pair(JobFate::Stopped, reason));
  EXPECT_GT(next.job, 0);
  // The job that met the error cancelled (by whom, the scheduler does not say): the next job is
  // not heard of again, and one sent now is still told by the printer's words.
  ASSERT_TRUE(cups_->run("cancel", std::to_string(failed)));
  std::this_thread::sleep_for(5 * kPoll);
  const std::vector<JobReport> cancelled{{failed, JobFate::Cancelled, reason}};
  EXPECT_EQ(system->news(), cancelled);
  const JobReport after = system->print(PrintQueue{"qjStops", kPaperA4}, "Report", kPdf);
  EXPECT_EQ(std::pair(after.fate, after.reasonUtf8), std::pair(JobFate::Stopped, reason));

  cups_->freeze(true);
  std::this_thread::sleep_for(5 * kPoll);  // the follower waits for an answer
  const auto start = Clock::now();
  system.reset();
  const auto took = Clock::now() - start;
  cups_->freeze(false);
  EXPECT_LT(took, 1500ms);
}

// A listener on a loopback address of its own, and that address; nothing listens there once
// it is closed.
int loopbackListener(int backlog, sockaddr_in& address) {
  const int listener = socket(AF_INET, SOCK_STREAM, 0);
  address = {};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener < 0 || bind(listener, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
      getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
      listen(listener, backlog) != 0)
    return -1;
  return listener;
}

// The print system of the settings, pointed at a loopback address for the test's thread.
std::unique_ptr<PrintSystem> serverAt(const sockaddr_in& address,
                                      std::chrono::milliseconds answer) {
  cupsSetServer(("127.0.0.1:" + std::to_string(ntohs(address.sin_port))).c_str());
  return cupsPrintSystem({}, answer);
}

// Where no print system listens (no local socket, a loopback address that nothing listens on)
// none is reached: it has no queue and takes no job, and says so at once.
TEST(CupsPrintingNowhere, AServerThatDoesNotAnswerHasNoQueue) {
  test::TempDir dir;
  sockaddr_in closed;
  close(loopbackListener(1, closed));
  const auto start = Clock::now();
  const std::unique_ptr<PrintSystem> nowhere[] = {cupsPrintSystem((dir / "no.sock").string()),
                                                  serverAt(closed, 3s)};
  for (const auto& printers : nowhere) {
    const QueueLookup lookup = printers->defaultQueue();
    EXPECT_EQ(std::tuple(lookup.queue, lookup.answered, lookup.reached),
              std::tuple(std::optional<PrintQueue>(), true, false));
    EXPECT_EQ(printers->print(PrintQueue{"any", kPaperA4}, "Report", "%PDF").fate,
              JobFate::Refused);
  }
  EXPECT_LT(Clock::now() - start, 1s);
  cupsSetServer(nullptr);
}

// A server that takes the connection and never answers, or whose connection never completes
// (its backlog is full, as behind a firewall that drops the packets), holds no question beyond
// the bound, and is told apart from one that has no queue.
TEST(CupsPrintingNowhere, AServerThatNeverAnswersIsToldWithinTheBound) {
  test::TempDir dir;
  const std::string path = (dir / "mute.sock").string();
  const int mute = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(mute, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(path.size(), sizeof address.sun_path);
  std::copy(path.begin(), path.end(), address.sun_path);
  ASSERT_EQ(bind(mute, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(listen(mute, 16), 0);  // connections wait in the backlog, never accepted

  sockaddr_in at;
  const int full = loopbackListener(0, at);
  ASSERT_GE(full, 0);
  int waiting[4];  // its backlog filled: later connections are never completed
  for (int& fd : waiting) {
    fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    connect(fd, reinterpret_cast<const sockaddr*>(&at), sizeof at);
  }
  std::this_thread::sleep_for(100ms);

  // Made together, so that the settings name the full backlog while the first is asked too: no
  // question may go to the settings' server on a connection of libcups's own, out of the bound.
  const std::unique_ptr<PrintSystem> mutes[] = {cupsPrintSystem(path, 1s), serverAt(at, 1s)};
  for (const auto& printers : mutes) {
    auto start = Clock::now();
    const QueueLookup lookup = printers->defaultQueue();
    EXPECT_LT(Clock::now() - start, 3s);
    EXPECT_EQ(std::pair(lookup.queue, lookup.answered),
              std::pair(std::optional<PrintQueue>(), false));
    start = Clock::now();
    EXPECT_EQ(printers->print(PrintQueue{"any", kPaperA4}, "Report", "%PDF").fate,
              JobFate::NoAnswer);
    EXPECT_LT(Clock::now() - start, 3s);
  }
  cupsSetServer(nullptr);
  for (const int fd : waiting) close(fd);
  close(full);
  close(mute);
}

}  // namespace
}  // namespace qj
