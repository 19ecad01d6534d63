#include "office/workbook_reader.h"

#include <algorithm>
#include <cstring>

#include "records/numbers.h"
#include "records/text.h"

namespace qj::office {
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
  // A negative zero reads as "0", as the cell shows it.
  return formatReal(x + 0.0, '.');
}

std::string digitCodeText(std::string_view cell, size_t digits) {
  const std::string_view number = trim(cell);
  if (number.empty() || !allDigits(number)) return cut(cell, digits);
  // Its first digits would name another code: whole, it names none.
  if (number.size() > digits) return std::string(number);
  return std::string(digits - number.size(), '0').append(number);
}

WorkbookRead readWorkbook(const fs::path& path, const ReadLimits& limits,
                          const WorkProgress& progress) {
  const OpenFile file(path);
  if (!file.isOpen()) return refused(ReadFault::Unreadable, "the file cannot be opened");
  if (file.size() > limits.maxFileBytes)
    return refused(ReadFault::TooLarge, "the file is too large");
  const std::optional<std::string> head =
      file.read(0, std::min<uint64_t>(file.size(), sizeof kCompoundSignature));
  if (!head) return refused(ReadFault::Unreadable, "the file cannot be opened");
  if (startsWithBytes(*head, kZipSignature, sizeof kZipSignature))
    return readXlsx(file, limits, progress);
  if (startsWithBytes(*head, kCompoundSignature, sizeof kCompoundSignature))
    return readXls(path, limits, progress);
  return refused(ReadFault::NotAWorkbook, "neither an .xlsx nor an .xls file");
}

}  // namespace qj::office
