#include "office/xls_cells.h"

#include <stdexcept>

namespace qj::office {
namespace {

constexpr size_t kStreamFlushBytes = 1 << 16;
constexpr size_t kMaxStreamLength = 0xFFFF;

void appendLittleEndian(std::string& out, uint64_t v, int bytes) {
  for (int k = 0; k < bytes; ++k) out += static_cast<char>((v >> (8 * k)) & 0xFF);
}

uint64_t littleEndianAt(std::string_view in, size_t at, int bytes) {
  uint64_t v = 0;
  for (int k = 0; k < bytes; ++k) v |= uint64_t{static_cast<unsigned char>(in[at + k])} << (8 * k);
  return v;
}

}  // namespace

XlsCellWriter::XlsCellWriter(std::function<void(std::string_view)> out) : out_(std::move(out)) {
  buffer_ = kXlsStreamStart;
}

XlsCellWriter::~XlsCellWriter() = default;

void XlsCellWriter::text(std::string_view bytes) {
  if (bytes.size() > kMaxStreamLength)
    throw std::length_error("a text of the .xls stream is too long");
  appendLittleEndian(buffer_, bytes.size(), 2);
  buffer_ += bytes;
  if (buffer_.size() >= kStreamFlushBytes) flush();
}

void XlsCellWriter::sheet(std::string_view name) {
  buffer_ += 'S';
  text(name);
}

void XlsCellWriter::cell(uint32_t row, uint16_t column, std::string_view text) {
  buffer_ += 'C';
  appendLittleEndian(buffer_, row, 4);
  appendLittleEndian(buffer_, column, 2);
  this->text(text);
}

void XlsCellWriter::end() {
  buffer_ += 'E';
  flush();
}

void XlsCellWriter::fault(ReadFault fault, std::string_view detail) {
  buffer_ += 'F';
  appendLittleEndian(buffer_, static_cast<uint8_t>(fault), 1);
  text(detail.substr(0, kMaxStreamLength));
  flush();
}

void XlsCellWriter::flush() {
  if (!buffer_.empty()) out_(buffer_);
  buffer_.clear();
}

std::string xlsCellStream(const Workbook& book) {
  std::string stream;
  XlsCellWriter out([&](std::string_view bytes) { stream += bytes; });
  for (const Sheet& sheet : book.sheets()) {
    out.sheet(sheet.name());
    for (const Sheet::Row row : sheet.rows())
      for (const Sheet::Cell cell : row.cells)
        out.cell(static_cast<uint32_t>(row.row), static_cast<uint16_t>(cell.column), cell.text);
  }
  out.end();
  return stream;
}

XlsCellReader::XlsCellReader(const ReadLimits& limits, const WorkProgress& progress)
    : limits_(limits), progress_(progress) {}

void XlsCellReader::refuse(ReadFault fault, std::string detail) {
  done_ = true;
  result_.book.reset();
  result_.fault = fault;
  result_.detail = std::move(detail);
}

void XlsCellReader::closeSheet() {
  if (filler_) filler_->finish();
  filler_.reset();
}

bool XlsCellReader::take(std::string_view bytes) {
  if (done_) return false;
  // Only an unfinished record is kept between pieces: at most a few bytes more than the
  // longest record.
  std::string_view rest = bytes;
  if (!pending_.empty()) {
    pending_ += bytes;
    rest = pending_;
  }
  size_t used = 0;
  if (!started_) {
    const size_t n = std::min(rest.size(), kXlsStreamStart.size());
    if (rest.substr(0, n) != kXlsStreamStart.substr(0, n)) {
      refuse(ReadFault::Damaged, "the .xls reader's output does not start as it should");
      return false;
    }
    if (n == kXlsStreamStart.size()) {
      started_ = true;
      used = n;
    }
  }
  while (started_ && !done_ && used < rest.size()) {
    const size_t n = record(rest.substr(used));
    if (n == 0) break;
    used += n;
  }
  if (done_) {
    pending_.clear();
    return false;
  }
  pending_ = std::string(rest.substr(used));
  return true;
}

bool XlsCellReader::countText(size_t length) {
  textBytes_ += length;
  if (textBytes_ <= limits_.maxTextBytes) return true;
  refuse(ReadFault::TooLarge, "the workbook holds too much text");
  return false;
}

size_t XlsCellReader::record(std::string_view in) {
  const auto textAt = [&](size_t at, size_t& length) {
    if (in.size() < at + 2) return false;
    length = static_cast<size_t>(littleEndianAt(in, at, 2));
    return in.size() >= at + 2 + length;
  };
  size_t length = 0;
  switch (in[0]) {
    case 'S': {
      if (!textAt(1, length)) return 0;
      closeSheet();
      if (book_.sheets().size() >= static_cast<size_t>(kMaxXlsSheets)) {
        refuse(ReadFault::Damaged, "the .xls file names more sheets than it can hold");
        return 0;
      }
      if (length > kMaxXlsSheetName) {
        refuse(ReadFault::Damaged, "the .xls file names a sheet longer than a sheet name can be");
        return 0;
      }
      // Names are text the program holds, as cells are.
      if (!countText(length)) return 0;
      filler_.emplace(book_.addSheet(std::string(in.substr(3, length))));
      lastRow_ = lastColumn_ = -1;
      return 3 + length;
    }
    case 'C': {
      if (!textAt(7, length)) return 0;
      const int64_t row = static_cast<int64_t>(littleEndianAt(in, 1, 4));
      const int64_t column = static_cast<int64_t>(littleEndianAt(in, 5, 2));
      if (!filler_ || row >= kMaxRows || column >= kMaxColumns || length == 0 || row < lastRow_ ||
          (row == lastRow_ && column <= lastColumn_)) {
        refuse(ReadFault::Damaged, "the .xls reader's output holds a cell out of place");
        return 0;
      }
      if (++cells_ > limits_.maxCells) {
        refuse(ReadFault::TooLarge, "the workbook holds too many cells");
        return 0;
      }
      if (!countText(length)) return 0;
      if (row != lastRow_ && progress_ && ++rowsSeen_ % 1000 == 0) progress_(rowsSeen_, 0);
      lastRow_ = row;
      lastColumn_ = column;
      filler_->add(static_cast<int>(row), static_cast<int>(column), in.substr(9, length));
      return 9 + length;
    }
    case 'E':
      closeSheet();
      done_ = true;
      result_.book = std::move(book_);
      return 1;
    case 'F': {
      if (!textAt(2, length)) return 0;
      const auto fault = static_cast<ReadFault>(static_cast<unsigned char>(in[1]));
      switch (fault) {
        case ReadFault::Unreadable:
        case ReadFault::NotAWorkbook:
        case ReadFault::Damaged:
        case ReadFault::TooLarge: refuse(fault, std::string(in.substr(4, length))); break;
        default: refuse(ReadFault::Damaged, "the .xls reader's output names no fault");
      }
      return 4 + length;
    }
    default: refuse(ReadFault::Damaged, "the .xls reader's output is not understood"); return 0;
  }
}

std::optional<WorkbookRead> XlsCellReader::outcome() {
  if (!done_) return std::nullopt;
  return std::move(result_);
}

}  // namespace qj::office
