// Legacy .xls files, read through the freexl library in a process of their own (see
// xls_cells.h): the program starts qjroute-xls on the file and reads the cells it writes
// back; the child reads the file and writes them, within its limits.

#include <fcntl.h>
#include <freexl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <utility>

#include "office/xls_cells.h"
#include "platform/progress.h"
#include "records/cp1251.h"

extern char** environ;

namespace qj::office {
namespace {

// ---- the child: the library on the file ----

class XlsFile {
 public:
  explicit XlsFile(const char* path) { status_ = freexl_open(path, &handle_); }
  ~XlsFile() {
    // The library asks to be closed after a failed open as well.
    if (handle_) freexl_close(handle_);
  }
  XlsFile(const XlsFile&) = delete;
  XlsFile& operator=(const XlsFile&) = delete;

  int status() const { return status_; }
  const void* handle() const { return handle_; }

 private:
  const void* handle_ = nullptr;
  int status_ = FREEXL_OK;
};

ReadFault openFault(int status) {
  switch (status) {
    case FREEXL_FILE_NOT_FOUND: return ReadFault::Unreadable;
    case FREEXL_INSUFFICIENT_MEMORY: return ReadFault::TooLarge;
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE: return ReadFault::NotAWorkbook;
    default: return ReadFault::Damaged;
  }
}

std::string valueText(const FreeXL_CellValue& v) {
  switch (v.type) {
    case FREEXL_CELL_INT: return std::to_string(v.value.int_value);
    case FREEXL_CELL_DOUBLE: return numberText(v.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      return v.value.text_value ? cp1251::fromUtf8(v.value.text_value) : std::string();
    default: return {};
  }
}

constexpr size_t kMaxStreamText = 0xFFFF;

// The limits of the reading process, set on the process `pid` (0: this one).
bool limitReader(pid_t pid, uint64_t memoryBytes, uint64_t seconds) {
  if (kXlsAddressSpaceLimited) {
    const rlimit memory{memoryBytes, memoryBytes};
    if (::prlimit(pid, RLIMIT_AS, &memory, nullptr) != 0) return false;
  }
  // SIGXCPU at the limit, SIGKILL a second later.
  const rlimit cpu{seconds, seconds + 1};
  return ::prlimit(pid, RLIMIT_CPU, &cpu, nullptr) == 0;
}

void writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    // The program no longer listens: nothing is left to do.
    if (n <= 0) _exit(1);
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

uint64_t numberArgument(const char* text) {
  char* end = nullptr;
  errno = 0;
  const unsigned long long v = std::strtoull(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' ? v : 0;
}

// ---- the program: the child started, watched and read ----

fs::path defaultXlsReader() {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return (ec ? fs::path() : self.parent_path()) / kXlsReaderName;
}

WorkbookRead refused(ReadFault fault, std::string detail) {
  WorkbookRead r;
  r.fault = fault;
  r.detail = std::move(detail);
  return r;
}

// A pipe whose ends the program and the child take, both closed on exec.
struct Pipe {
  Pipe() {
    if (::pipe2(fds, O_CLOEXEC) != 0) fds[0] = fds[1] = -1;
  }
  ~Pipe() {
    for (int fd : fds)
      if (fd >= 0) ::close(fd);
  }
  Pipe(const Pipe&) = delete;
  Pipe& operator=(const Pipe&) = delete;
  bool open() const { return fds[0] >= 0; }
  // The program's end; this pipe no longer closes it.
  int take(int end) { return std::exchange(fds[end], -1); }
  int fds[2];
};

// The child reading one file, in a process group of its own so that whatever it starts ends
// with it, and within the limits that the program sets on it. Dropped, its group is killed
// and it is waited for.
class XlsProcess {
 public:
  XlsProcess(const fs::path& program, const fs::path& file, const ReadLimits& limits) {
    Pipe out, errors;
    if (!out.open() || !errors.open()) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out.fds[1], STDOUT_FILENO);
    // What the child says on its error output is the program's to bound, not to pass on.
    posix_spawn_file_actions_adddup2(&actions, errors.fds[1], STDERR_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // None of the program's other files (windows, sockets, files being written) goes along.
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int s : {SIGPIPE, SIGXCPU, SIGSEGV, SIGBUS, SIGABRT, SIGTERM, SIGINT})
      sigaddset(&defaults, s);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const std::string memory = std::to_string(limits.xlsMemoryBytes);
    const std::string seconds = std::to_string(limits.xlsSeconds);
    const std::string programText = program.string(), fileText = file.string();
    char* argv[] = {const_cast<char*>(programText.c_str()), const_cast<char*>(fileText.c_str()),
                    const_cast<char*>(memory.c_str()), const_cast<char*>(seconds.c_str()), nullptr};
    const int rc = posix_spawn(&pid_, programText.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (rc != 0) {
      pid_ = -1;
      return;
    }
    // posix_spawn returns once the child runs the reader: from here on it is bounded whether
    // or not the reader limits itself.
    if (!limitReader(pid_, limits.xlsMemoryBytes, static_cast<uint64_t>(limits.xlsSeconds))) {
      end();
      pid_ = -1;
      return;
    }
    output_ = out.take(0);
    errors_ = errors.take(0);
    ::fcntl(errors_, F_SETFL, O_NONBLOCK);
  }
  ~XlsProcess() {
    for (int fd : {output_, errors_})
      if (fd >= 0) ::close(fd);
    if (pid_ > 0) end();
  }
  XlsProcess(const XlsProcess&) = delete;
  XlsProcess& operator=(const XlsProcess&) = delete;

  bool started() const { return pid_ > 0; }
  int output() const { return output_; }
  // The child's error output while it is open, -1 after.
  int errors() const { return errors_; }

  // Reads what the child has written to its error output: the first kilobytes are kept for
  // the detail of a failure, the rest dropped.
  void readErrors() {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(errors_, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0 && errno == EAGAIN) return;
      if (n <= 0) {
        ::close(std::exchange(errors_, -1));
        return;
      }
      errorText_.append(buffer,
                        std::min(static_cast<size_t>(n), kKeptErrorBytes - errorText_.size()));
    }
  }
  const std::string& errorText() const { return errorText_; }

  // A child that has exited has said all it will: its group is ended, so that nothing it
  // left behind keeps its output open.
  void endIfExited() {
    if (!reaped_ && exited()) end();
  }

  // The child's end, waited for until `deadline` and then forced; its wait status.
  int finish(std::chrono::steady_clock::time_point deadline) {
    // A child that fills its error output would wait for the program to read it: what it
    // says from here on is not heard, and writing it ends the child.
    if (errors_ >= 0) {
      readErrors();
      if (errors_ >= 0) ::close(std::exchange(errors_, -1));
    }
    while (!reaped_ && !exited() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    end();
    return status_;
  }

 private:
  static constexpr size_t kKeptErrorBytes = 4096;

  // Kills the child's group (its processes end even where the child has) and reaps the child.
  // The child is reaped last: until then its process id, and so its group's, is not reused.
  void end() {
    if (reaped_) return;
    ::kill(-pid_, SIGKILL);
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    reaped_ = true;
  }

  // Whether the child has exited, left unreaped.
  bool exited() const {
    siginfo_t info{};
    const int r = ::waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT);
    return (r == 0 && info.si_pid == pid_) || (r < 0 && errno != EINTR);
  }

  pid_t pid_ = -1;
  int output_ = -1, errors_ = -1;
  int status_ = 0;
  bool reaped_ = false;
  std::string errorText_;
};

// What a child that ended without saying so did, with the start of what it said on its error
// output.
WorkbookRead childFailure(int status, const std::string& errors) {
  WorkbookRead r;
  if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL))
    r = refused(ReadFault::TooLarge, "the .xls file takes too much memory or time to read");
  else if (WIFSIGNALED(status))
    r = refused(ReadFault::Damaged,
                "reading the .xls file ended with signal " + std::to_string(WTERMSIG(status)));
  else
    r = refused(ReadFault::Damaged, "reading the .xls file ended without its cells");
  if (!errors.empty()) r.detail += "; the reader said: " + errors;
  return r;
}

}  // namespace

void writeXlsCells(const char* path, XlsCellWriter& out) {
  const XlsFile file(path);
  if (file.status() != FREEXL_OK)
    return out.fault(openFault(file.status()), "the .xls file cannot be read (freexl error " +
                                                   std::to_string(file.status()) + ")");
  unsigned int password = 0;
  if (freexl_get_info(file.handle(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
      password == FREEXL_BIFF_OBFUSCATED)
    return out.fault(ReadFault::Damaged, "the .xls file is protected by a password");
  unsigned int sheets = 0;
  if (freexl_get_info(file.handle(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
    return out.fault(ReadFault::Damaged, "the .xls file does not tell its sheets");
  if (sheets > static_cast<unsigned int>(kMaxXlsSheets))
    return out.fault(ReadFault::Damaged, "the .xls file names more sheets than it can hold");

  for (unsigned int s = 0; s < sheets; ++s) {
    const auto index = static_cast<unsigned short>(s);
    const char* name = nullptr;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_get_worksheet_name(file.handle(), index, &name) != FREEXL_OK ||
        freexl_select_active_worksheet(file.handle(), index) != FREEXL_OK ||
        freexl_worksheet_dimensions(file.handle(), &rows, &columns) != FREEXL_OK)
      return out.fault(ReadFault::Damaged, "a sheet of the .xls file cannot be read");
    if (rows > static_cast<unsigned int>(kMaxRows) || columns > kMaxColumns)
      return out.fault(ReadFault::Damaged,
                       "a sheet of the .xls file is larger than a sheet can be");
    const std::string sheetName = name ? cp1251::fromUtf8(name) : std::string();
    if (sheetName.size() > kMaxXlsSheetName)
      return out.fault(ReadFault::Damaged, "a sheet name of the .xls file is too long");
    out.sheet(sheetName);
    for (unsigned int r = 0; r < rows; ++r) {
      for (unsigned short c = 0; c < columns; ++c) {
        FreeXL_CellValue value{};
        if (freexl_get_cell_value(file.handle(), r, c, &value) != FREEXL_OK)
          return out.fault(ReadFault::Damaged, "a cell of the .xls file cannot be read");
        const std::string text = valueText(value);
        if (text.size() > kMaxStreamText)
          return out.fault(ReadFault::Damaged, "a cell of the .xls file holds too long a text");
        if (!text.empty()) out.cell(r, c, text);
      }
    }
  }
  out.end();
}

void runXlsReader(int argc, char** argv) {
  if (argc != 4) _exit(2);
  limitReader(0, numberArgument(argv[2]), numberArgument(argv[3]));
  XlsCellWriter out([](std::string_view bytes) { writeAll(STDOUT_FILENO, bytes); });
  try {
    writeXlsCells(argv[1], out);
  } catch (const std::bad_alloc&) {
    out.fault(ReadFault::TooLarge, "the .xls file does not fit into memory");
  } catch (const std::exception& e) {
    out.fault(ReadFault::Damaged, e.what());
  }
  // What the library leaked on a damaged file goes with the process: it ends at once.
  _exit(0);
}

WorkbookRead readXls(const fs::path& path, const ReadLimits& limits, const WorkProgress& progress) {
  const fs::path program = limits.xlsReader.empty() ? defaultXlsReader() : limits.xlsReader;
  if (::access(program.c_str(), X_OK) != 0)
    return refused(ReadFault::ReaderMissing, "the .xls reader " + program.string() + " is missing");
  XlsProcess child(program, path, limits);
  if (!child.started())
    return refused(ReadFault::ReaderMissing,
                   "the .xls reader " + program.string() + " cannot start");

  using Clock = std::chrono::steady_clock;
  // The child's processor time is limited; this bounds the wall time a stalled child takes.
  const auto deadline = Clock::now() + std::chrono::seconds(2 * std::max(limits.xlsSeconds, 1));
  XlsCellReader reader(limits, progress);
  char buffer[1 << 16];
  for (;;) {
    if (workCancelled()) return refused(ReadFault::Cancelled, "the read was cancelled");
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return refused(ReadFault::TooLarge, "the .xls file takes too long to read");
    pollfd watched[] = {{child.output(), POLLIN, 0}, {child.errors(), POLLIN, 0}};
    // A short wait, so that a cancel is heard at once.
    const int ready = ::poll(watched, 2, static_cast<int>(std::min<int64_t>(left, 100)));
    if (ready < 0 && errno != EINTR) break;
    child.endIfExited();
    if (ready <= 0) continue;
    if (watched[1].revents) child.readErrors();
    if (!watched[0].revents) continue;
    const ssize_t n = ::read(child.output(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) break;
    if (!reader.take(std::string_view(buffer, static_cast<size_t>(n)))) break;
  }
  if (std::optional<WorkbookRead> outcome = reader.outcome()) return std::move(*outcome);
  const int status = child.finish(deadline);
  return childFailure(status, child.errorText());
}

}  // namespace qj::office
