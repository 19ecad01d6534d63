#include "office/open_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace qj::office {

OpenFile::OpenFile(const std::filesystem::path& path) {
  // Without waiting: a pipe put at the name is refused below rather than waited on. Reads of a
  // regular file do not change with it.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
    ::close(fd);
    return;
  }
  fd_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
}

OpenFile::~OpenFile() {
  if (fd_ >= 0) ::close(fd_);
}

int64_t readAt(int fd, uint64_t at, char* out, size_t n) {
  size_t got = 0;
  while (got < n) {
    const ssize_t r = ::pread(fd, out + got, n - got, static_cast<off_t>(at + got));
    if (r < 0 && errno == EINTR) continue;
    if (r < 0) return -1;
    if (r == 0) break;
    got += static_cast<size_t>(r);
  }
  return static_cast<int64_t>(got);
}

int64_t OpenFile::readSome(uint64_t at, char* out, size_t n) const {
  if (fd_ < 0) return -1;
  return readAt(fd_, at, out,
                static_cast<size_t>(std::min<uint64_t>(n, at < size_ ? size_ - at : 0)));
}

std::optional<std::string> OpenFile::read(uint64_t at, size_t n) const {
  std::string bytes(n, '\0');
  if (readSome(at, bytes.data(), n) != static_cast<int64_t>(n)) return std::nullopt;
  return bytes;
}

}  // namespace qj::office
