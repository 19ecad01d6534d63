// The workbook model, reader and writer as the program had them before it streamed its
// workbooks (a tree per sheet part, libxlsxwriter), kept only so that the benchmark measures
// old and new in one run.
#include "legacy/workbook_reader.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

#include "platform/files.h"

namespace qj::legacy {
namespace {

constexpr char kZipSignature[] = {'P', 'K'};
constexpr unsigned char kCompoundSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};

bool startsWithBytes(const std::string& bytes, const void* signature, size_t n) {
  return bytes.size() >= n && std::memcmp(bytes.data(), signature, n) == 0;
}

WorkbookRead refused(ReadFault fault, std::string detail) {
  WorkbookRead r;
  r.fault = fault;
  r.detail = std::move(detail);
  return r;
}

}  // namespace

std::string numberText(double x) {
  // Locale-independent, so that the point is a point whatever the program's locale.
  char buf[64];
  if (std::isfinite(x) && x == std::trunc(x) && std::fabs(x) < 1e15) {
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, static_cast<int64_t>(x));
    return std::string(buf, end);
  }
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
  return std::string(buf, end);
}

WorkbookRead readWorkbook(const fs::path& path, const ReadLimits& limits) {
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (ec) return refused(ReadFault::Unreadable, "the file cannot be opened");
  if (size > limits.maxFileBytes) return refused(ReadFault::TooLarge, "the file is too large");
  const std::optional<std::string> head = readFilePrefix(path, sizeof kCompoundSignature);
  if (!head) return refused(ReadFault::Unreadable, "the file cannot be opened");
  if (startsWithBytes(*head, kZipSignature, sizeof kZipSignature)) return readXlsx(path, limits);
  return refused(ReadFault::NotAWorkbook, "neither an .xlsx nor an .xls file");
}

}  // namespace qj::legacy
