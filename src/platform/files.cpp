#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

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

}  // namespace

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

void AtomicFile::finish() {
  if (fd_ < 0) throw FileError("the file \"" + target_.string() + "\" is already closed");
  const bool synced = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed) {
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
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
  AtomicFile file(path);
  file.write(bytes);
  file.commit();
}

// The steps of replaceFilesTogether, with what each has done so far so that a failure can
// undo it.
struct FileReplacer {
  // The old content of a target, kept under another name until every new file is in place.
  struct Kept {
    fs::path backup;  // empty when the target did not exist
  };

  std::vector<std::unique_ptr<AtomicFile>> files;
  std::vector<Kept> kept;
  size_t renamed = 0;

  ~FileReplacer() {
    // Whatever was renamed is put back; the kept old files are then no longer needed.
    for (size_t i = renamed; i-- > 0;) {
      const fs::path& target = files[i]->target_;
      if (kept[i].backup.empty())
        ::unlink(target.c_str());
      else if (::rename(kept[i].backup.c_str(), target.c_str()) == 0)
        kept[i].backup.clear();
    }
    for (const Kept& k : kept)
      if (!k.backup.empty()) ::unlink(k.backup.c_str());
  }

  void write(const FileReplacement& r) {
    try {
      files.push_back(std::make_unique<AtomicFile>(r.target));
      r.write(*files.back());
      files.back()->finish();
    } catch (const FileError& e) {
      throw FileError(e.what(), r.target);
    }
  }

  // A hard link keeps the old file without copying it; a copy where links are not possible.
  void keepOld(const fs::path& target) {
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(target, ec);
    if (status.type() == fs::file_type::not_found) {
      kept.push_back({});
      return;
    }
    if (status.type() != fs::file_type::regular)
      throw FileError("\"" + target.string() + "\" is not a file", target);
    const fs::path backup = tempNameBeside(target);
    if (::link(target.c_str(), backup.c_str()) != 0) {
      const auto bytes = readFile(target);
      if (!bytes) throw FileError(errnoText("cannot keep", target), target);
      AtomicFile copy(backup);
      copy.write(*bytes);
      copy.commit();
    }
    kept.push_back({backup});
  }

  void renameAll() {
    for (; renamed < files.size(); ++renamed) {
      AtomicFile& f = *files[renamed];
      if (::rename(f.temp_.c_str(), f.target_.c_str()) != 0)
        throw FileError(errnoText("cannot write", f.target_), f.target_);
      f.temp_.clear();
    }
  }

  void commit() {
    for (const Kept& k : kept)
      if (!k.backup.empty()) ::unlink(k.backup.c_str());
    kept.clear();
    renamed = 0;
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
  r.renameAll();
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

}  // namespace qj
