#pragma once
// File access for the whole program: whole-file reads with a size limit, atomic writes
// (temporary file in the same folder, then rename), files replaced together, and atomic
// copies. Every file that replaces another, or appears under a new name, is made durable
// before its rename and the rename after it, so that a power loss leaves the old file or the
// new one, never an empty one; a sync that fails is a write that fails.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

namespace fs = std::filesystem;

class FileError : public std::runtime_error {
 public:
  // The old content of a file that a failed replacement could not put back: it stays under
  // another name beside the file.
  struct Kept {
    fs::path file;
    fs::path backup;
  };

  using std::runtime_error::runtime_error;
  FileError(const std::string& what, fs::path path, std::vector<Kept> kept = {})
      : std::runtime_error(what), path_(std::move(path)), kept_(std::move(kept)) {}
  // The file that could not be written, when the error names one.
  const fs::path& path() const { return path_; }
  const std::vector<Kept>& kept() const { return kept_; }

 private:
  fs::path path_;
  std::vector<Kept> kept_;
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
  // Bytes at an offset of the file, over bytes written before or beyond them; throws FileError.
  void writeAt(uint64_t offset, std::string_view bytes);
  // Replaces the target with the written file; throws FileError.
  void commit();
  // Puts the written file under the first of nameFor(1), nameFor(2) ... nameFor(maxTries)
  // that no file holds, never replacing a file, and returns that name; throws FileError.
  fs::path commitUnderFreeName(const std::function<fs::path(int)>& nameFor, int maxTries);

 private:
  friend struct FileReplacer;
  // Makes the written bytes durable and closes the temporary file, which stays until it is
  // renamed or the object is destroyed.
  void finish();

  fs::path target_;
  fs::path temp_;
  int fd_ = -1;
};

// Makes the entries of a folder durable: a file renamed, linked or removed in it stays so
// after a power loss. Throws FileError.
void syncFolder(const fs::path& folder);

// Replaces (or creates) the file with exactly these bytes; throws FileError.
void writeFileAtomic(const fs::path& path, std::string_view bytes);

// One file of a replacement of several: its target and what writes its bytes.
struct FileReplacement {
  fs::path target;
  std::function<void(AtomicFile&)> write;
};
// Replaces (or creates) the files together, for files that are only sound beside each other:
// every file is first written whole into a temporary file beside its target, and only when
// all of them are complete are they renamed into place. When anything fails, every target
// keeps its old content (or stays absent), no temporary file is left, and FileError names the
// target that failed. An exception of a writer other than FileError passes through, with the
// same guarantee. Only when a target renamed into place cannot be put back does its old
// content stay under another name beside it ("<name>.bak", "<name>.bak2" ...): FileError's
// kept() names it.
void replaceFilesTogether(const std::vector<FileReplacement>& files);
// Copies a file over its target atomically; throws FileError.
void copyFileAtomic(const fs::path& from, const fs::path& to);

// An exclusive lock on a file (created when missing), held while the object lives. The
// system releases it when the process ends, however it ends, so a lock that a dead process
// held is free again. Another open of the same file, in this process or another, is refused
// while the lock is held.
class FileLock {
 public:
  enum class State {
    Held,           // this object holds the lock
    HeldElsewhere,  // another holder has it
    Unavailable,    // the file cannot be opened or the file system has no locks
  };
  explicit FileLock(const fs::path& file);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  State state() const { return state_; }

 private:
  int fd_ = -1;
  State state_ = State::Unavailable;
};

}  // namespace qj
