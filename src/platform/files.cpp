#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
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
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
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

void AtomicFile::commit() {
  if (fd_ < 0) throw FileError("the file \"" + target_.string() + "\" is already closed");
  const bool synced = ::fsync(fd_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!synced || !closed || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    const std::string text = errnoText("cannot write", target_);
    ::unlink(temp_.c_str());
    throw FileError(text);
  }
}

void writeFileAtomic(const fs::path& path, std::string_view bytes) {
  AtomicFile file(path);
  file.write(bytes);
  file.commit();
}

void copyFileAtomic(const fs::path& from, const fs::path& to) {
  const auto bytes = readFile(from);
  if (!bytes) throw FileError("cannot read \"" + from.string() + "\"");
  writeFileAtomic(to, *bytes);
}

}  // namespace qj
