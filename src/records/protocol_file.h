#pragma once
// The task protocol System/protocol.pro: a 28-byte header (signature "DEV_OZ", version 1),
// the record count and one 144-byte record per task.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

inline constexpr size_t kProtocolHeaderSize = 28;
inline constexpr size_t kProtocolRecSize = 144;
inline constexpr std::string_view kProtocolSignature = "DEV_OZ";
inline constexpr int32_t kProtocolVersion = 1;

// The longest protocol read, some 230000 tasks: a longer file is no protocol of this program
// (and would take its length and more in memory).
inline constexpr uint64_t kMaxProtocolFileBytes = 32ull << 20;

enum TaskStatus : int32_t { InputEntered = 0, SentToSolving = 1, SolutionLoaded = 2 };

// One task of the protocol.
struct ProtocolRec {
  std::string code;  // up to 6 characters
  std::string name;  // up to 100 characters
  int32_t status = InputEntered;
  double createdAt = 0, changedAt = 0, sentToSolvingAt = 0, solutionLoadedAt = 0;
  bool operator==(const ProtocolRec&) const = default;
};

struct ProtocolFileContent {
  // False for a foreign file or another version: nothing of it is read.
  bool headerMatches = false;
  std::vector<ProtocolRec> records;
};

// The records of a protocol file. The signature's length byte and characters and the
// version must match, and the file may not be longer than kMaxProtocolFileBytes; the 17
// bytes after the signature are not compared. Only the records the file really holds are
// read, however large the stored count; a negative count reads none, and bytes after the
// last counted record are ignored.
ProtocolFileContent readProtocolFile(std::string_view bytes);

// The whole file: header, count and records (32 + 144 x n bytes).
std::string writeProtocolFile(const std::vector<ProtocolRec>& records);

}  // namespace qj
