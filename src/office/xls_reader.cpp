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

#include "office/xls_cells.h"
#include "records/cp1251.h"

extern char** environ;

// Sanitizers reserve terabytes of address space for their shadow memory: under them the
// child cannot limit its address space (their own options limit its memory instead).
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QJ_SHADOW_MEMORY 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || \
    __has_feature(memory_sanitizer)
#define QJ_SHADOW_MEMORY 1
#endif
#endif

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

void limitChild(uint64_t memoryBytes, uint64_t seconds) {
#if !defined(QJ_SHADOW_MEMORY)
  const rlimit memory{memoryBytes, memoryBytes};
  setrlimit(RLIMIT_AS, &memory);
#else
  (void)memoryBytes;
#endif
  // SIGXCPU at the limit, SIGKILL a second later.
  const rlimit cpu{seconds, seconds + 1};
  setrlimit(RLIMIT_CPU, &cpu);
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

// The child reading one file. Dropped, it is killed (if it still runs) and waited for.
class XlsProcess {
 public:
  XlsProcess(const fs::path& program, const fs::path& file, const ReadLimits& limits) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
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
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const std::string memory = std::to_string(limits.xlsMemoryBytes);
    const std::string seconds = std::to_string(limits.xlsSeconds);
    const std::string programText = program.string(), fileText = file.string();
    char* argv[] = {const_cast<char*>(programText.c_str()), const_cast<char*>(fileText.c_str()),
                    const_cast<char*>(memory.c_str()), const_cast<char*>(seconds.c_str()), nullptr};
    const int rc = posix_spawn(&pid_, programText.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(fds[1]);
    if (rc != 0) {
      pid_ = -1;
      ::close(fds[0]);
      return;
    }
    fd_ = fds[0];
  }
  ~XlsProcess() {
    if (fd_ >= 0) ::close(fd_);
    if (pid_ > 0 && !waited_) {
      ::kill(pid_, SIGKILL);
      waitFor();
    }
  }
  XlsProcess(const XlsProcess&) = delete;
  XlsProcess& operator=(const XlsProcess&) = delete;

  bool started() const { return pid_ > 0; }
  int output() const { return fd_; }

  // The child's end, waited for until `deadline` and then forced; its wait status.
  int finish(std::chrono::steady_clock::time_point deadline) {
    while (!waited_) {
      const pid_t r = ::waitpid(pid_, &status_, WNOHANG);
      if (r == pid_ || (r < 0 && errno != EINTR)) {
        waited_ = true;
        break;
      }
      if (std::chrono::steady_clock::now() >= deadline) {
        ::kill(pid_, SIGKILL);
        waitFor();
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return status_;
  }

 private:
  void waitFor() {
    while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
    }
    waited_ = true;
  }

  pid_t pid_ = -1;
  int fd_ = -1;
  int status_ = 0;
  bool waited_ = false;
};

// What a child that ended without saying so did.
WorkbookRead childFailure(int status) {
  if (WIFSIGNALED(status) && (WTERMSIG(status) == SIGXCPU || WTERMSIG(status) == SIGKILL))
    return refused(ReadFault::TooLarge, "the .xls file takes too much memory or time to read");
  if (WIFSIGNALED(status))
    return refused(ReadFault::Damaged,
                   "reading the .xls file ended with signal " + std::to_string(WTERMSIG(status)));
  return refused(ReadFault::Damaged, "reading the .xls file ended without its cells");
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
    if (sheetName.size() > kMaxStreamText)
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
  limitChild(numberArgument(argv[2]), numberArgument(argv[3]));
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
    return refused(ReadFault::Unreadable, "the .xls reader " + program.string() + " is missing");
  XlsProcess child(program, path, limits);
  if (!child.started())
    return refused(ReadFault::Unreadable, "the .xls reader " + program.string() + " cannot start");

  using Clock = std::chrono::steady_clock;
  // The child's processor time is limited; this bounds the wall time a stalled child takes.
  const auto deadline = Clock::now() + std::chrono::seconds(2 * std::max(limits.xlsSeconds, 1));
  XlsCellReader reader(limits, progress);
  char buffer[1 << 16];
  for (;;) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return refused(ReadFault::TooLarge, "the .xls file takes too long to read");
    pollfd watched{child.output(), POLLIN, 0};
    const int ready = ::poll(&watched, 1, static_cast<int>(std::min<int64_t>(left, 1000)));
    if (ready < 0 && errno != EINTR) break;
    if (ready <= 0) continue;
    const ssize_t n = ::read(child.output(), buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (n <= 0) break;
    if (!reader.take(std::string_view(buffer, static_cast<size_t>(n)))) break;
  }
  if (std::optional<WorkbookRead> outcome = reader.outcome()) return std::move(*outcome);
  return childFailure(child.finish(deadline));
}

}  // namespace qj::office
