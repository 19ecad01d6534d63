#pragma once
// File access for the whole program: whole-file reads with a size limit, atomic writes
// (temporary file in the same folder, then rename) and atomic copies.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qj {

namespace fs = std::filesystem;

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The whole file, or nullopt when it cannot be opened or read. Files larger than
// maxBytes are refused rather than loaded.
std::optional<std::string> readFile(const fs::path& path, uint64_t maxBytes = 1ull << 31);
// The length of a regular file; nullopt when there is none or it cannot be asked.
std::optional<uint64_t> fileSize(const fs::path& path);
// At most the first n bytes (fewer when the file is shorter).
std::optional<std::string> readFilePrefix(const fs::path& path, size_t n);

// True when the path is an existing regular file that this process may write.
bool isWritableFile(const fs::path& path);

// A file written in pieces that appears under its name only on commit(). Until then the
// bytes go to a temporary file beside it; destroying the object uncommitted removes the
// temporary file and leaves any old file untouched.
class AtomicFile {
 public:
  explicit AtomicFile(fs::path target);
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void write(std::string_view bytes);  // throws FileError
  void commit();                       // throws FileError

 private:
  fs::path target_;
  fs::path temp_;
  int fd_ = -1;
};

// Replaces (or creates) the file with exactly these bytes; throws FileError.
void writeFileAtomic(const fs::path& path, std::string_view bytes);
// Copies a file over its target atomically; throws FileError.
void copyFileAtomic(const fs::path& from, const fs::path& to);

}  // namespace qj
