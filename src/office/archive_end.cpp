#include "office/archive_end.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>

namespace qj::office {
namespace {

constexpr std::string_view kEndSignature("PK\5\6", 4);
constexpr std::string_view kLocatorSignature("PK\6\7", 4);
constexpr std::string_view kZip64EndSignature("PK\6\6", 4);
constexpr std::string_view kEntrySignature("PK\1\2", 4);
constexpr uint64_t kEndBytes = 22;  // an end record before its comment
constexpr uint64_t kLocatorBytes = 20;
constexpr uint64_t kZip64EndBytes = 56;  // a ZIP64 end record before its extensible data
constexpr uint64_t kEntryBytes = 46;     // a directory entry before its name, fields and comment
// Where libzip looks for the end record: a comment of up to 64 KiB, the record, the locator.
constexpr uint64_t kTailBytes = 65536 + kEndBytes + kLocatorBytes;

uint64_t number(std::string_view bytes, size_t at, int width) {
  uint64_t v = 0;
  for (int k = width - 1; k >= 0; --k) v = v << 8 | static_cast<unsigned char>(bytes[at + k]);
  return v;
}

// One end record and the directory it declares: with a ZIP64 locator right before it that
// names a ZIP64 end record, the figures are that record's, as libzip takes them.
struct EndRecord {
  uint64_t at = 0, commentEnd = 0;  // in the file
  uint64_t entries = 0, bytes = 0, offset = 0;
  uint64_t zip64At = 0;
  bool zip64 = false;
  // The end record's own figures, where they are not the placeholders of ZIP64 figures, are
  // those of the ZIP64 record.
  bool agrees = true;
};

EndRecord endRecord(const OpenFile& file, std::string_view tail, uint64_t tailAt, size_t at,
                    std::vector<CheckedBytes>& checked) {
  EndRecord end;
  end.at = tailAt + at;
  end.commentEnd = end.at + kEndBytes + number(tail, at + 20, 2);
  const uint64_t diskEntries = number(tail, at + 8, 2), entries = number(tail, at + 10, 2);
  end.entries = std::max(diskEntries, entries);
  end.bytes = number(tail, at + 12, 4);
  end.offset = number(tail, at + 16, 4);
  if (at < kLocatorBytes || tail.substr(at - kLocatorBytes, 4) != kLocatorSignature) return end;
  const uint64_t locatorAt = end.at - kLocatorBytes;
  const uint64_t recordAt = number(tail, at - kLocatorBytes + 8, 8);
  if (recordAt > locatorAt || locatorAt - recordAt < kZip64EndBytes) return end;
  const std::optional<std::string> record = file.read(recordAt, kZip64EndBytes);
  if (!record || record->compare(0, 4, kZip64EndSignature) != 0) return end;
  const uint64_t zip64Entries = std::max(number(*record, 24, 8), number(*record, 32, 8));
  const uint64_t zip64Bytes = number(*record, 40, 8), zip64Offset = number(*record, 48, 8);
  end.agrees = (diskEntries == 0xFFFF || diskEntries == zip64Entries) &&
               (entries == 0xFFFF || entries == zip64Entries) &&
               (end.bytes == 0xFFFFFFFF || end.bytes == zip64Bytes) &&
               (end.offset == 0xFFFFFFFF || end.offset == zip64Offset);
  // Where they disagree, the larger figures count against the limits.
  end.entries = end.agrees ? zip64Entries : std::max(end.entries, zip64Entries);
  end.bytes = end.agrees ? zip64Bytes : std::max(end.bytes, zip64Bytes);
  end.offset = zip64Offset;
  end.zip64 = true;
  end.zip64At = recordAt;
  checked.push_back({recordAt, *record});
  return end;
}

// The number of entries in a central directory when whole entries fill it exactly. libzip
// reads an entry that runs past the directory's end and goes on reading the entries after it,
// as many as the file holds.
std::optional<uint64_t> entriesFilling(std::string_view directory) {
  uint64_t count = 0;
  for (size_t at = 0; at < directory.size(); ++count) {
    if (directory.size() - at < kEntryBytes || directory.substr(at, 4) != kEntrySignature)
      return std::nullopt;
    const uint64_t length = kEntryBytes + number(directory, at + 28, 2) +
                            number(directory, at + 30, 2) + number(directory, at + 32, 2);
    if (length > directory.size() - at) return std::nullopt;
    at += length;
  }
  return count;
}

ArchiveEnd refusal(ReadFault fault, std::string detail) {
  ArchiveEnd end;
  end.fault = fault;
  end.detail = std::move(detail);
  return end;
}

std::string tooManyParts(uint64_t entries, const ReadLimits& limits) {
  return "the archive holds " + std::to_string(entries) + " parts, more than " +
         std::to_string(limits.maxParts);
}

}  // namespace

ArchiveEnd checkArchiveEnd(const OpenFile& file, const ReadLimits& limits) {
  const uint64_t size = file.size();
  const uint64_t tailAt = size - std::min(size, kTailBytes);
  std::optional<std::string> tail = file.read(tailAt, static_cast<size_t>(size - tailAt));
  if (!tail) return refusal(ReadFault::Unreadable, "the file cannot be read");
  ArchiveEnd result;
  std::vector<EndRecord> ends;
  for (size_t at = tail->find(kEndSignature);
       at != std::string::npos && at + kEndBytes <= tail->size();
       at = tail->find(kEndSignature, at + 1))
    ends.push_back(endRecord(file, *tail, tailAt, at, result.checked));
  result.checked.push_back({tailAt, std::move(*tail)});
  if (ends.empty()) return result;

  // Whichever record libzip would take, it holds all of that record's directory.
  for (const EndRecord& e : ends) {
    if (e.entries > limits.maxParts)
      return refusal(ReadFault::TooLarge, tooManyParts(e.entries, limits));
    if (e.bytes > limits.maxDirectoryBytes)
      return refusal(ReadFault::TooLarge, "the archive's central directory takes " +
                                              std::to_string(e.bytes) + " bytes, more than " +
                                              std::to_string(limits.maxDirectoryBytes));
  }
  if (ends.size() > 1)
    return refusal(ReadFault::Damaged,
                   "the archive has " + std::to_string(ends.size()) + " end records");
  const EndRecord& end = ends.front();
  if (end.commentEnd != size)
    return refusal(ReadFault::Damaged, end.commentEnd < size
                                           ? "bytes follow the end of the archive"
                                           : "the archive's comment runs past its end");
  if (!end.agrees) return refusal(ReadFault::Damaged, "the archive's end records disagree");
  const uint64_t directoryEnd = end.zip64 ? end.zip64At : end.at;
  if (end.offset > directoryEnd || directoryEnd - end.offset < end.bytes)
    return refusal(ReadFault::Damaged, "the central directory does not lie before its end");
  std::optional<std::string> directory = file.read(end.offset, static_cast<size_t>(end.bytes));
  if (!directory) return refusal(ReadFault::Unreadable, "the file cannot be read");
  const std::optional<uint64_t> entries = entriesFilling(*directory);
  if (!entries)
    return refusal(ReadFault::Damaged, "the central directory is not filled by whole entries");
  if (*entries > limits.maxParts)
    return refusal(ReadFault::TooLarge, tooManyParts(*entries, limits));
  result.checked.push_back({end.offset, std::move(*directory)});
  return result;
}

namespace {

// The state of a source made by checkedSource.
struct CheckedSource {
  int fd = -1;
  uint64_t size = 0, offset = 0;
  std::vector<CheckedBytes> checked;
  zip_error_t error;

  CheckedSource() { zip_error_init(&error); }
  ~CheckedSource() {
    if (fd >= 0) ::close(fd);
    zip_error_fini(&error);
  }

  zip_int64_t read(char* out, uint64_t n) {
    const int64_t got = readAt(fd, offset, out, static_cast<size_t>(std::min(n, size - offset)));
    if (got < 0) {
      zip_error_set(&error, ZIP_ER_READ, errno);
      return -1;
    }
    // What the check read stands in for what the file holds now.
    for (const CheckedBytes& c : checked) {
      const uint64_t from = std::max(offset, c.at);
      const uint64_t to = std::min(offset + static_cast<uint64_t>(got), c.at + c.bytes.size());
      if (from < to) std::memcpy(out + (from - offset), c.bytes.data() + (from - c.at), to - from);
    }
    offset += static_cast<uint64_t>(got);
    return got;
  }
};

zip_int64_t checkedSourceCall(void* state, void* data, zip_uint64_t length,
                              zip_source_cmd_t command) {
  CheckedSource& s = *static_cast<CheckedSource*>(state);
  switch (command) {
    case ZIP_SOURCE_OPEN: s.offset = 0; return 0;
    case ZIP_SOURCE_READ: return s.read(static_cast<char*>(data), length);
    case ZIP_SOURCE_CLOSE: return 0;
    case ZIP_SOURCE_STAT: {
      zip_stat_t* st = ZIP_SOURCE_GET_ARGS(zip_stat_t, data, length, &s.error);
      if (!st) return -1;
      zip_stat_init(st);
      st->size = s.size;
      st->valid |= ZIP_STAT_SIZE;
      return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR: return zip_error_to_data(&s.error, data, length);
    case ZIP_SOURCE_FREE: delete &s; return 0;
    case ZIP_SOURCE_SEEK: {
      const zip_int64_t to =
          zip_source_seek_compute_offset(s.offset, s.size, data, length, &s.error);
      if (to < 0) return -1;
      s.offset = static_cast<uint64_t>(to);
      return 0;
    }
    case ZIP_SOURCE_TELL: return static_cast<zip_int64_t>(s.offset);
    case ZIP_SOURCE_SUPPORTS:
      return zip_source_make_command_bitmap(
          ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR,
          ZIP_SOURCE_FREE, ZIP_SOURCE_SEEK, ZIP_SOURCE_TELL, ZIP_SOURCE_SUPPORTS, -1);
    default: zip_error_set(&s.error, ZIP_ER_OPNOTSUPP, 0); return -1;
  }
}

}  // namespace

zip_source_t* checkedSource(const OpenFile& file, std::vector<CheckedBytes> checked,
                            zip_error_t* error) {
  auto state = std::make_unique<CheckedSource>();
  state->fd = ::fcntl(file.descriptor(), F_DUPFD_CLOEXEC, 0);
  if (state->fd < 0) {
    zip_error_set(error, ZIP_ER_OPEN, errno);
    return nullptr;
  }
  state->size = file.size();
  state->checked = std::move(checked);
  zip_source_t* source = zip_source_function_create(checkedSourceCall, state.get(), error);
  if (source) state.release();  // freed by the source
  return source;
}

}  // namespace qj::office
