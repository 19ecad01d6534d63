#include "platform/files.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>

namespace qj {

std::optional<std::string> readFile(const fs::path& path, uint64_t maxBytes) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  const auto size = fs::file_size(path, ec);
  if (ec || size > maxBytes) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(static_cast<size_t>(size), '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return bytes;
}

std::optional<uint64_t> fileSize(const fs::path& path) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  const auto size = fs::file_size(path, ec);
  if (ec) return std::nullopt;
  return size;
}

std::optional<std::string> readFilePrefix(const fs::path& path, size_t n) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes(n, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(n));
  bytes.resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return std::nullopt;
  return bytes;
}

namespace {

// FNV-1a over 64 bits: not a defence against a forger, only a way to tell contents apart.
class Digest {
 public:
  void add(std::string_view bytes) {
    for (const char c : bytes) hash_ = (hash_ ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 0xcbf29ce484222325ull;
};

}  // namespace

ContentMark contentMark(std::string_view bytes) {
  Digest d;
  d.add(bytes);
  return {bytes.size(), d.value()};
}

std::optional<ContentMark> fileContentMark(const fs::path& path, uint64_t maxBytes) {
  // Never waiting on a pipe at the name.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<ContentMark> mark;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) &&
      static_cast<uint64_t>(st.st_size) <= maxBytes) {
    Digest d;
    uint64_t size = 0;
    std::vector<char> piece(64 << 10);
    ssize_t n = 0;
    // A file that grows while it is read is followed no further than maxBytes.
    while (size <= maxBytes &&
           ((n = ::read(fd, piece.data(), piece.size())) > 0 || (n < 0 && errno == EINTR))) {
      if (n < 0) continue;
      d.add(std::string_view(piece.data(), static_cast<size_t>(n)));
      size += static_cast<uint64_t>(n);
    }
    if (n == 0 && size <= maxBytes) mark = ContentMark{size, d.value()};
  }
  ::close(fd);
  return mark;
}

bool isWritableFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), W_OK) == 0;
}

bool isWritableFolder(const fs::path& folder) {
  std::error_code ec;
  return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

namespace {

constexpr std::string_view kTempMark = ".tmp-";

std::string errnoText(const std::string& what, const fs::path& path) {
  return what + " \"" + path.string() + "\": " + std::strerror(errno);
}

fs::path tempNameBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  std::string name = ".";
  name += target.filename().string();
  name += kTempMark;
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter++);
  name += '-';
  name += std::to_string(rd() % 100000);
  return target.parent_path() / name;
}

bool isDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The process that wrote a temporary of a name as tempNameBeside makes them,
// ".<name>.tmp-<process>-<count>-<random>"; 0 where the number cannot be a process; nullopt
// for any other name.
std::optional<pid_t> tempWriter(std::string_view name) {
  const size_t mark = name.rfind(kTempMark);
  if (name.size() < 2 || name[0] != '.' || mark == std::string_view::npos || mark < 2)
    return std::nullopt;
  std::string_view numbers = name.substr(mark + kTempMark.size());
  pid_t writer = 0;
  for (int part = 0; part < 3; ++part) {
    const size_t dash = part < 2 ? numbers.find('-') : numbers.size();
    if (dash == std::string_view::npos || !isDigits(numbers.substr(0, dash))) return std::nullopt;
    if (part == 0) std::from_chars(numbers.data(), numbers.data() + dash, writer);
    numbers.remove_prefix(std::min(numbers.size(), dash + 1));
  }
  return writer;
}

// When this program started: what was written since may belong to a save in progress.
const timespec kRunStart = [] {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return now;
}();

bool writtenBeforeThisRun(const struct stat& st) {
  return st.st_mtim.tv_sec < kRunStart.tv_sec ||
         (st.st_mtim.tv_sec == kRunStart.tv_sec && st.st_mtim.tv_nsec < kRunStart.tv_nsec);
}

// True while a process of this number runs. This process's own number on a file written
// before it started was a process of that number before it.
bool processRuns(pid_t pid) {
  if (pid <= 0 || pid == ::getpid()) return false;
  return ::kill(pid, 0) == 0 || errno == EPERM;
}

fs::path folderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

// Links `file` under the first of the names that no file holds; nullopt when the file system
// makes no links.
std::optional<fs::path> linkUnderFreeName(const fs::path& file,
                                          const std::function<fs::path(int)>& nameFor,
                                          int maxTries) {
  for (int n = 1; n <= maxTries; ++n) {
    const fs::path name = nameFor(n);
    if (::link(file.c_str(), name.c_str()) == 0) return name;
    if (errno != EEXIST) return std::nullopt;
  }
  throw FileError("no free name beside \"" + file.string() + "\"", file);
}

// Copies the file into `out` in pieces, so that a file of any length takes little memory.
void copyInto(const fs::path& from, AtomicFile& out) {
  std::error_code ec;
  std::ifstream in;
  if (fs::is_regular_file(from, ec)) in.open(from, std::ios::binary);
  if (!in.is_open()) throw FileError("cannot read \"" + from.string() + "\"", from);
  std::vector<char> piece(1 << 20);
  while (in) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    out.write(std::string_view(piece.data(), static_cast<size_t>(in.gcount())));
  }
  if (in.bad()) throw FileError("cannot read \"" + from.string() + "\"", from);
}

bool nameIsFree(const fs::path& name) {
  std::error_code ec;
  return fs::symlink_status(name, ec).type() == fs::file_type::not_found;
}

}  // namespace

int removeLeftTemporaries(const fs::path& folder) {
  int removed = 0;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const fs::path& path = it->path();
    const std::optional<pid_t> writer = tempWriter(path.filename().string());
    if (!writer) continue;
    // A link is removed itself, never what it points to; a folder is nothing of ours.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) continue;
    // A folder may be shared with copies of the program that run now: their saves in progress
    // stay.
    if (!writtenBeforeThisRun(st) || processRuns(*writer)) continue;
    // A writer that runs elsewhere (another machine, another process namespace) holds its
    // temporary's lock.
    const int fd = S_ISREG(st.st_mode)
                       ? ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)
                       : -1;
    const bool locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    if (!locked && ::unlink(path.c_str()) == 0) ++removed;
    if (fd >= 0) ::close(fd);
  }
  return removed;
}

void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) throw FileError(errnoText("cannot open the folder", folder), folder);
  // A file system that cannot sync a folder (EINVAL) keeps its entries as it keeps them.
  const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
  const std::string text = synced ? std::string() : errnoText("cannot sync the folder", folder);
  ::close(fd);
  if (!synced) throw FileError(text, folder);
}

AtomicFile::AtomicFile(fs::path target) : target_(std::move(target)) {
  temp_ = tempNameBeside(target_);
  fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd_ < 0) throw FileError(errnoText("cannot create a file in the folder of", target_));
  // Until the file is closed: a copy of the program that starts on a folder shared with this
  // one sees that the temporary is being written. Where the file system has no locks, the
  // process number in the name says the same.
  ::flock(fd_, LOCK_EX | LOCK_NB);
}

AtomicFile::~AtomicFile() {
  if (fd_ >= 0) ::close(fd_);
  // A temporary file that was never renamed into place goes.
  if (!temp_.empty()) ::unlink(temp_.c_str());
}

void AtomicFile::write(std::string_view bytes) {
  if (fd_ < 0) throw FileError("the file \"" + target_.string() + "\" is already closed");
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      throw FileError(errnoText("cannot write", target_));
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
}

void AtomicFile::writeAt(uint64_t offset, std::string_view bytes) {
  if (fd_ < 0) throw FileError("the file \"" + target_.string() + "\" is already closed");
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd_, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) throw FileError(errnoText("cannot write", target_));
    bytes.remove_prefix(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
}

void AtomicFile::finish() {
  if (fd_ < 0) throw FileError("the file \"" + target_.string() + "\" is already closed");
  // The bytes reach the disk before the file can take the target's place.
  const bool synced = ::fsync(fd_) == 0;
  const int syncError = errno;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed) {
    if (!synced) errno = syncError;
    const std::string text = errnoText("cannot write", target_);
    ::unlink(temp_.c_str());
    temp_.clear();
    throw FileError(text);
  }
}

void AtomicFile::commit() {
  finish();
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const std::string text = errnoText("cannot write", target_);
    ::unlink(temp_.c_str());
    temp_.clear();
    throw FileError(text);
  }
  temp_.clear();
  try {
    syncFolder(folderOf(target_));
  } catch (const FileError& e) {
    throw FileError::inPlaceButNotDurable(e.what(), target_);
  }
}

fs::path AtomicFile::commitUnderFreeName(const std::function<fs::path(int)>& nameFor,
                                         int maxTries) {
  return commitUnderFreeNames(
             {this}, [&](int n) { return std::vector{nameFor(n)}; }, maxTries)
      .front();
}

std::vector<fs::path> AtomicFile::commitUnderFreeNames(
    const std::vector<AtomicFile*>& files,
    const std::function<std::vector<fs::path>(int)>& namesFor, int maxTries) {
  if (files.empty()) return {};
  for (AtomicFile* f : files) f->finish();
  std::vector<fs::path> placed;
  const auto unplace = [&placed] {
    for (const fs::path& p : placed) ::unlink(p.c_str());
    placed.clear();
  };
  bool links = true;
  for (int n = 1; n <= maxTries && placed.empty(); ++n) {
    const std::vector<fs::path> names = namesFor(n);
    if (names.size() < files.size()) throw FileError("too few names", files.front()->target_);
    if (links) {
      // A link appears under its name only when no file holds it.
      int error = 0;
      for (size_t i = 0; i < files.size() && !error; ++i) {
        if (::link(files[i]->temp_.c_str(), names[i].c_str()) == 0)
          placed.push_back(names[i]);
        else
          error = errno;
      }
      if (!error) break;
      unplace();
      if (error == EEXIST) continue;
      links = false;
    }
    // Without links: names that no file holds now.
    if (!std::all_of(names.begin(), names.begin() + static_cast<ptrdiff_t>(files.size()),
                     nameIsFree))
      continue;
    for (size_t i = 0; i < files.size(); ++i) {
      if (::rename(files[i]->temp_.c_str(), names[i].c_str()) != 0) {
        const std::string text = errnoText("cannot write", names[i]);
        unplace();
        throw FileError(text, names[i]);
      }
      files[i]->temp_.clear();
      placed.push_back(names[i]);
    }
  }
  if (placed.empty())
    throw FileError("no free name for \"" + files.front()->target_.string() + "\"",
                    files.front()->target_);
  for (AtomicFile* f : files) {
    if (!f->temp_.empty()) ::unlink(f->temp_.c_str());
    f->temp_.clear();
  }
  try {
    std::vector<fs::path> synced;
    for (const fs::path& p : placed) {
      if (std::find(synced.begin(), synced.end(), folderOf(p)) != synced.end()) continue;
      syncFolder(folderOf(p));
      synced.push_back(folderOf(p));
    }
  } catch (const FileError&) {
    // A new file that may vanish at a power loss was not saved.
    unplace();
    throw;
  }
  return placed;
}

fs::path keepUnderFreeName(const fs::path& file) {
  const auto nameFor = [&](int n) {
    return fs::path(file.string() + ".bak" + (n > 1 ? std::to_string(n) : std::string()));
  };
  constexpr int kMaxTries = 1000;
  // A hard link keeps the old file without copying it; a copy where links are not possible.
  if (std::optional<fs::path> kept = linkUnderFreeName(file, nameFor, kMaxTries)) return *kept;
  AtomicFile copy(file);
  copyInto(file, copy);
  return copy.commitUnderFreeName(nameFor, kMaxTries);
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
  AtomicFile file(path);
  file.write(bytes);
  file.commit();
}

// The steps of replaceFilesTogether, with what each has done so far so that a failure can
// undo it.
struct FileReplacer {
  std::vector<std::unique_ptr<AtomicFile>> files;
  // The old content of each target, linked (or copied) under another name until every new
  // file is in place; empty where the target did not exist.
  std::vector<fs::path> backups;
  size_t renamed = 0;

  ~FileReplacer() { undo(); }

  void write(const FileReplacement& r) {
    try {
      files.push_back(std::make_unique<AtomicFile>(r.target));
      r.write(*files.back());
      files.back()->finish();
    } catch (const FileError& e) {
      throw FileError(e.what(), r.target);
    }
  }

  void keepOld(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (status.type() == fs::file_type::not_found) {
      backups.emplace_back();
      return;
    }
    if (status.type() != fs::file_type::regular)
      throw FileError("\"" + target.string() + "\" is not a file", target);
    backups.push_back(keepUnderFreeName(target));
  }

  void renameAll() {
    for (; renamed < files.size(); ++renamed) {
      AtomicFile& f = *files[renamed];
      if (::rename(f.temp_.c_str(), f.target_.c_str()) != 0)
        throw FileError(errnoText("cannot write", f.target_), f.target_);
      f.temp_.clear();
    }
  }

  // Each folder of the targets once; a folder that fails names its first target.
  void syncFolders() const {
    std::vector<fs::path> synced;
    for (const auto& f : files) {
      const fs::path folder = folderOf(f->target_);
      if (std::find(synced.begin(), synced.end(), folder) != synced.end()) continue;
      try {
        syncFolder(folder);
      } catch (const FileError& e) {
        throw FileError(e.what(), f->target_);
      }
      synced.push_back(folder);
    }
  }

  // Puts back what was renamed and removes the backups; returns the backups of targets that
  // could not be put back, which stay.
  std::vector<FileError::Kept> undo() {
    std::vector<FileError::Kept> kept;
    const bool touched = renamed > 0;
    for (size_t i = renamed; i-- > 0;) {
      const fs::path& target = files[i]->target_;
      if (backups[i].empty()) {
        ::unlink(target.c_str());
      } else if (::rename(backups[i].c_str(), target.c_str()) != 0) {
        kept.push_back({target, backups[i]});
        backups[i].clear();
      } else {
        backups[i].clear();
      }
    }
    renamed = 0;
    dropBackups();
    if (touched) {
      try {
        syncFolders();
      } catch (const FileError&) {
        // The replacement has failed already; this only makes its undoing durable.
      }
    }
    return kept;
  }

  // Removes the backups; returns those that stay.
  std::vector<fs::path> dropBackups() {
    std::vector<fs::path> left;
    for (const fs::path& backup : backups)
      if (!backup.empty() && ::unlink(backup.c_str()) != 0 && errno != ENOENT)
        left.push_back(backup);
    backups.clear();
    return left;
  }

  std::vector<fs::path> commit() {
    renamed = 0;
    std::vector<fs::path> left = dropBackups();
    try {
      syncFolders();
    } catch (const FileError&) {
      // The new files are in place and durable; a backup may merely come back.
    }
    return left;
  }
};

std::vector<fs::path> replaceFilesTogether(const std::vector<FileReplacement>& replacements) {
  FileReplacer r;
  for (const FileReplacement& f : replacements) r.write(f);
  for (const FileReplacement& f : replacements) {
    try {
      r.keepOld(f.target);
    } catch (const FileError& e) {
      throw FileError(e.what(), f.target);
    }
  }
  try {
    r.renameAll();
    // Until the folders are synced, a power loss may bring back any mix of old and new files.
    r.syncFolders();
  } catch (const FileError& e) {
    throw FileError(e.what(), e.path(), r.undo());
  }
  return r.commit();
}

void copyFileAtomic(const fs::path& from, const fs::path& to) {
  // The source is checked before a temporary file is made beside the target.
  std::error_code ec;
  if (!fs::is_regular_file(from, ec)) throw FileError("cannot read \"" + from.string() + "\"");
  AtomicFile out(to);
  copyInto(from, out);
  out.commit();
}

FileLock::FileLock(const fs::path& file) {
  // Never through a link at the name; never waiting on a pipe planted there.
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | kFlags, 0644);
  if (fd_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
    // A lock file that this user may not write can still be locked.
    const int writeError = errno;
    fd_ = ::open(file.c_str(), O_RDONLY | kFlags);
    if (fd_ < 0 && errno == ENOENT) errno = writeError;
  }
  if (fd_ < 0) {
    error_ = errno;
    return;
  }
  struct stat st {};
  int locked = -1;
  if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
    errno = EISDIR;
  } else {
    // flock belongs to the open file, not to the process: a second open in this process is
    // refused too, and the lock ends with the last descriptor of it.
    do locked = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
  }
  if (locked == 0) {
    state_ = lockFolderOf(file);
    if (state_ == State::Held) return;
  } else if (errno == EWOULDBLOCK) {
    state_ = State::HeldElsewhere;
  } else {
    error_ = errno;
  }
  ::close(fd_);
  fd_ = -1;
}

FileLock::State FileLock::lockFolderOf(const fs::path& file) {
  folderFd_ = ::open(folderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int locked = -1;
  if (folderFd_ >= 0) {
    do locked = ::flock(folderFd_, LOCK_EX | LOCK_NB);
    while (locked != 0 && errno == EINTR);
  }
  if (locked == 0) return State::Held;
  const bool elsewhere = folderFd_ >= 0 && errno == EWOULDBLOCK;
  if (folderFd_ >= 0) ::close(folderFd_);
  folderFd_ = -1;
  return elsewhere ? State::HeldElsewhere : State::Held;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
  if (folderFd_ >= 0) ::close(folderFd_);
}

}  // namespace qj
