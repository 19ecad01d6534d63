#pragma once
// A file from outside, opened once and then read at positions only: whatever happens to its
// name meanwhile (a rename, another file put in its place), every read is of the file that was
// opened, at the size it had then.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace qj::office {

class OpenFile {
 public:
  // Nothing is open when `path` cannot be opened for reading or is not a regular file.
  explicit OpenFile(const std::filesystem::path& path);
  ~OpenFile();
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  int descriptor() const { return fd_; }
  // The size when it was opened: what lies beyond it is never read.
  uint64_t size() const { return size_; }

  // Up to `n` bytes at `at` (none past size()) into `out`: fewer only where the file now ends
  // sooner; -1 when it cannot be read.
  int64_t readSome(uint64_t at, char* out, size_t n) const;
  // The `n` bytes at `at`, all of them, or nothing.
  std::optional<std::string> read(uint64_t at, size_t n) const;

 private:
  int fd_ = -1;
  uint64_t size_ = 0;
};

// Up to `n` bytes at `at` of the open file `fd` into `out`: fewer only where the file ends
// sooner; -1 when it cannot be read.
int64_t readAt(int fd, uint64_t at, char* out, size_t n);

}  // namespace qj::office
