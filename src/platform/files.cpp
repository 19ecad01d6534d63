#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
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

bool isWritableFile(const fs::path& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec) && ::access(path.c_str(), W_OK) == 0;
}

namespace {

std::string errnoText(const std::string& what, const fs::path& path) {
  return what + " \"" + path.string() + "\": " + std::strerror(errno);
}

fs::path tempNameBeside(const fs::path& target) {
  static std::atomic<unsigned> counter{0};
  std::random_device rd;
  std::string name = ".";
  name += target.filename().string();
  name += ".tmp-";
  name += std::to_string(::getpid());
  name += '-';
  name += std::to_string(counter++);
  name += '-';
  name += std::to_string(rd() % 100000);
  return target.parent_path() / name;
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

}  // namespace

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
  syncFolder(folderOf(target_));
}

fs::path AtomicFile::commitUnderFreeName(const std::function<fs::path(int)>& nameFor,
                                         int maxTries) {
  finish();
  // A link appears under its name only when no file holds it.
  std::optional<fs::path> name = linkUnderFreeName(temp_, nameFor, maxTries);
  if (name) {
    ::unlink(temp_.c_str());
  } else {
    // Without links: the first name that no file holds now.
    for (int n = 1; n <= maxTries && !name; ++n) {
      std::error_code ec;
      const fs::path candidate = nameFor(n);
      if (fs::exists(candidate, ec) || ec) continue;
      if (::rename(temp_.c_str(), candidate.c_str()) != 0)
        throw FileError(errnoText("cannot write", candidate), candidate);
      name = candidate;
    }
    if (!name) throw FileError("no free name for \"" + target_.string() + "\"", target_);
  }
  temp_.clear();
  try {
    syncFolder(folderOf(*name));
  } catch (const FileError&) {
    // A file that may vanish at a power loss was not saved.
    ::unlink(name->c_str());
    throw;
  }
  return *name;
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

  static fs::path backupName(const fs::path& target, int n) {
    return target.string() + ".bak" + (n > 1 ? std::to_string(n) : std::string());
  }

  // A hard link keeps the old file without copying it; a copy where links are not possible.
  void keepOld(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (status.type() == fs::file_type::not_found) {
      backups.emplace_back();
      return;
    }
    if (status.type() != fs::file_type::regular)
      throw FileError("\"" + target.string() + "\" is not a file", target);
    const auto nameFor = [&](int n) { return backupName(target, n); };
    constexpr int kMaxTries = 1000;
    std::optional<fs::path> backup = linkUnderFreeName(target, nameFor, kMaxTries);
    if (!backup) {
      const auto bytes = readFile(target);
      if (!bytes) throw FileError(errnoText("cannot keep", target), target);
      AtomicFile copy(target);
      copy.write(*bytes);
      backup = copy.commitUnderFreeName(nameFor, kMaxTries);
    }
    backups.push_back(*backup);
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

  void dropBackups() {
    for (const fs::path& backup : backups)
      if (!backup.empty()) ::unlink(backup.c_str());
    backups.clear();
  }

  void commit() {
    renamed = 0;
    dropBackups();
    try {
      syncFolders();
    } catch (const FileError&) {
      // The new files are in place and durable; a backup may merely come back.
    }
  }
};

void replaceFilesTogether(const std::vector<FileReplacement>& replacements) {
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
  r.commit();
}

void copyFileAtomic(const fs::path& from, const fs::path& to) {
  // In pieces: a file of any length is copied in little memory.
  std::error_code ec;
  std::ifstream in;
  if (fs::is_regular_file(from, ec)) in.open(from, std::ios::binary);
  if (!in.is_open()) throw FileError("cannot read \"" + from.string() + "\"");
  AtomicFile out(to);
  std::vector<char> piece(1 << 20);
  while (in) {
    in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
    out.write(std::string_view(piece.data(), static_cast<size_t>(in.gcount())));
  }
  if (in.bad()) throw FileError("cannot read \"" + from.string() + "\"");
  out.commit();
}

FileLock::FileLock(const fs::path& file) {
  fd_ = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  // A lock file that this user may not write can still be locked.
  if (fd_ < 0) fd_ = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return;
  // flock belongs to the open file, not to the process: a second open in this process is
  // refused too, and the lock ends with the last descriptor of it.
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno == EWOULDBLOCK) state_ = State::HeldElsewhere;
    ::close(fd_);
    fd_ = -1;
    return;
  }
  state_ = State::Held;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace qj
