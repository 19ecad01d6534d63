#include "records/protocol_file.h"

#include <algorithm>

#include "records/bytes.h"

namespace qj {
namespace {

constexpr int kSignatureMax = 23;
constexpr int kCodeMax = 6;
constexpr int kNameMax = 100;

ProtocolRec readRecord(ByteReader& in) {
  ProtocolRec r;
  r.code = in.shortString(kCodeMax);
  r.name = in.shortString(kNameMax);
  r.status = in.i32();
  r.createdAt = in.f64();
  r.changedAt = in.f64();
  r.sentToSolvingAt = in.f64();
  r.solutionLoadedAt = in.f64();
  return r;
}

void writeRecord(ByteWriter& out, const ProtocolRec& r) {
  out.shortString(r.code, kCodeMax);
  out.shortString(r.name, kNameMax);
  out.i32(r.status);
  out.f64(r.createdAt);
  out.f64(r.changedAt);
  out.f64(r.sentToSolvingAt);
  out.f64(r.solutionLoadedAt);
}

}  // namespace

ProtocolFileContent readProtocolFile(std::string_view bytes) {
  ProtocolFileContent content;
  if (bytes.size() < kProtocolHeaderSize || bytes.size() > kMaxProtocolFileBytes) return content;
  ByteReader in(bytes);
  const auto length = in.u8();
  const std::string signature = in.raw(kSignatureMax);
  const int32_t version = in.i32();
  content.headerMatches = length == kProtocolSignature.size() &&
                          signature.compare(0, length, kProtocolSignature) == 0 &&
                          version == kProtocolVersion;
  if (!content.headerMatches) return content;
  // A file that ends before its count holds no records.
  if (in.remaining() < 4) return content;
  const int32_t count = in.i32();
  if (count <= 0) return content;
  const size_t present = in.remaining() / kProtocolRecSize;
  const size_t n = std::min(static_cast<size_t>(count), present);
  content.records.reserve(n);
  for (size_t i = 0; i < n; ++i) content.records.push_back(readRecord(in));
  return content;
}

std::string writeProtocolFile(const std::vector<ProtocolRec>& records) {
  ByteWriter out;
  out.shortString(kProtocolSignature, kSignatureMax);
  out.i32(kProtocolVersion);
  out.i32(static_cast<int32_t>(records.size()));
  for (const auto& r : records) writeRecord(out, r);
  return out.take();
}

}  // namespace qj
