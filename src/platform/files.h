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
  // The new file is in place under its name and whole, but its folder could not be synced:
  // a power loss may still bring back what the name held before.
  bool inPlace() const { return inPlace_; }
  static FileError inPlaceButNotDurable(const std::string& what, fs::path path) {
    FileError e(what, std::move(path));
    e.inPlace_ = true;
    return e;
  }

 private:
  fs::path path_;
  std::vector<Kept> kept_;
  bool inPlace_ = false;
};

// The whole file, or nullopt when it cannot be opened or read. Files larger than
// maxBytes are refused rather than loaded.
std::optional<std::string> readFile(const fs::path& path, uint64_t maxBytes = 1ull << 31);
// The length of a regular file; nullopt when there is none or it cannot be asked.
std::optional<uint64_t> fileSize(const fs::path& path);
// At most the first n bytes (fewer when the file is shorter).
std::optional<std::string> readFilePrefix(const fs::path& path, size_t n);

// What a file holds, told apart from another content by its length and a digest of its
// bytes: a file that another program replaced or wrote over has another mark.
struct ContentMark {
  uint64_t size = 0;
  uint64_t digest = 0;
  bool operator==(const ContentMark&) const = default;
};
ContentMark contentMark(std::string_view bytes);
// The mark of what the file holds now; nullopt when it is no regular file, cannot be read or
// holds more than maxBytes (which are not read).
std::optional<ContentMark> fileContentMark(const fs::path& path, uint64_t maxBytes);

// True when the path is an existing regular file that this process may write.
bool isWritableFile(const fs::path& path);
// True when this process may create files in the folder.
bool isWritableFolder(const fs::path& folder);

// Removes what a write of this program that never ended (a process killed mid-way) left in
// the folder: its hidden temporary files whose writer is gone, that is, last written before
// this program started, by a process that no longer runs and that holds no lock on the file
// (as every writer of this program does until its file is complete). Returns how many were
// removed.
int removeLeftTemporaries(const fs::path& folder);

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
  // Replaces the target with the written file; throws FileError (inPlace() when only the
  // sync of the folder after the rename failed).
  void commit();
  // Puts the written file under the first of nameFor(1), nameFor(2) ... nameFor(maxTries)
  // that no file holds, never replacing a file, and returns that name; throws FileError.
  fs::path commitUnderFreeName(const std::function<fs::path(int)>& nameFor, int maxTries);
  // The same for files that belong together: each file i goes under namesFor(n)[i], for the
  // first n at which every one of those names is free. When they cannot all be placed (or
  // not made durable), none of them is left under a name. Throws FileError.
  static std::vector<fs::path> commitUnderFreeNames(
      const std::vector<AtomicFile*>& files,
      const std::function<std::vector<fs::path>(int)>& namesFor, int maxTries);

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
// Keeps the present content of a file beside it under the first free name of "<name>.bak",
// "<name>.bak2" ..., never replacing a file (as a link where the file system makes links,
// else as a copy), and returns that name. Throws FileError.
fs::path keepUnderFreeName(const fs::path& file);

// Replaces (or creates) the files together, for files that are only sound beside each other:
// every file is first written whole into a temporary file beside its target, and only when
// all of them are complete are they renamed into place. When anything fails, every target
// keeps its old content (or stays absent), no temporary file is left, and FileError names the
// target that failed. An exception of a writer other than FileError passes through, with the
// same guarantee. Only when a target renamed into place cannot be put back does its old
// content stay under another name beside it ("<name>.bak", "<name>.bak2" ...): FileError's
// kept() names it. After a replacement, the old contents' names that could not be removed
// are returned: they still hold the old files.
std::vector<fs::path> replaceFilesTogether(const std::vector<FileReplacement>& files);
// Copies a file over its target atomically; throws FileError.
void copyFileAtomic(const fs::path& from, const fs::path& to);

// An exclusive lock on a file (created when missing), held while the object lives. The
// system releases it when the process ends, however it ends, so a lock that a dead process
// held is free again. Another open of the same file, in this process or another, is refused
// while the lock is held. A link at the file's name is never followed: a lock through it
// would lock, or create, a file elsewhere. The folder that holds the file is locked as well,
// so that the lock still holds when the file is removed or renamed and another holder
// creates a new one at its name; only on a file system that cannot lock a folder does the
// file's lock stand alone.
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
  // Why the lock is Unavailable: the system's error number (ELOOP for a link at the name,
  // EISDIR for something other than a file).
  int error() const { return error_; }

 private:
  // Held when the folder is locked here or cannot be locked at all; HeldElsewhere when
  // another holder has it.
  State lockFolderOf(const fs::path& file);

  int fd_ = -1;
  int folderFd_ = -1;
  State state_ = State::Unavailable;
  int error_ = 0;
};

}  // namespace qj
