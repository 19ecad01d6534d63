#include "office/workbook.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>

#include "records/cp1251.h"

namespace qj::office {
namespace {

// Checked at every cell: the check inlined, the message built apart.
inline void requireInside(int row, int col) {
  if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns) [[unlikely]]
    cellOutsideSheet(row, col);
}

bool isEmptyRange(const CellRange& r) {
  return r.lastRow < r.firstRow || r.lastColumn < r.firstColumn;
}

bool forbiddenInSheetName(char c) {
  // Control characters: a tab or a line break would come back from the file as a blank.
  if (static_cast<unsigned char>(c) < 0x20) return true;
  switch (c) {
    case '[':
    case ']':
    case ':':
    case '*':
    case '?':
    case '/':
    case '\\': return true;
    default: return false;
  }
}

std::string trimApostrophes(std::string s) {
  while (!s.empty() && s.back() == '\'') s.pop_back();
  const size_t first = s.find_first_not_of('\'');
  return first == std::string::npos ? std::string() : s.substr(first);
}

// The name cut so that `suffix` fits behind it within the length limit.
std::string withSuffix(const std::string& base, const std::string& suffix) {
  std::string cut = base.substr(0, kMaxSheetNameLength - suffix.size());
  return trimApostrophes(cut) + suffix;
}

size_t pageBytes(size_t bytes) {
  static const size_t page = static_cast<size_t>(::sysconf(_SC_PAGESIZE));
  return (bytes + page - 1) / page * page;
}

void* mapBlock(size_t bytes) {
  void* p =
      ::mmap(nullptr, pageBytes(bytes), PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) throw std::bad_alloc();
  return p;
}

// Huge pages where the system gives them on request: a sheet's arrays are touched from
// start to end, a page fault for every two megabytes rather than every four kilobytes.
void askHugePages(void* p, size_t bytes) {
#ifdef MADV_HUGEPAGE
  ::madvise(p, pageBytes(bytes), MADV_HUGEPAGE);
#else
  (void)p;
  (void)bytes;
#endif
}

void freeBlock(void* data, size_t bytes) {
  if (bytes >= kMappedBytes)
    ::munmap(data, pageBytes(bytes));
  else
    std::free(data);
}

}  // namespace

void* resizeBlock(void* data, size_t used, size_t bytes, size_t newBytes) {
  if (newBytes == 0) {
    if (data) freeBlock(data, bytes);
    return nullptr;
  }
  const bool mapped = bytes >= kMappedBytes, willMap = newBytes >= kMappedBytes;
  void* p = nullptr;
  if (!mapped && !willMap) {
    p = std::realloc(data, newBytes);
    if (!p) throw std::bad_alloc();
    return p;
  }
  if (mapped && willMap) {
    p = ::mremap(data, pageBytes(bytes), pageBytes(newBytes), MREMAP_MAYMOVE);
    if (p == MAP_FAILED) throw std::bad_alloc();
  } else {
    p = willMap ? mapBlock(newBytes) : std::malloc(newBytes);
    if (!p) throw std::bad_alloc();
    if (used > 0) std::memcpy(p, data, std::min(used, newBytes));
    if (data) freeBlock(data, bytes);
  }
  if (willMap && newBytes > bytes) askHugePages(p, newBytes);
  return p;
}

CellRange columnRange(int col, int rows) {
  return {0, col, rows - 1, col};
}

CellRange rowRange(int row, int columns) {
  return {row, 0, row, columns - 1};
}

std::string columnLetters(int col) {
  std::string letters;
  for (int n = col + 1; n > 0; n = (n - 1) / 26)
    letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return letters;
}

void Sheet::tooMuchText() {
  throw std::length_error("a sheet holds more text than it can");
}

void cellOutsideSheet(int row, int col) {
  throw std::out_of_range("cell " + std::to_string(row) + "," + std::to_string(col) +
                          " lies outside a sheet");
}

std::string_view Sheet::textIn(std::string_view texts, uint32_t offset) {
  size_t n = 0;
  size_t i = offset;
  for (int shift = 0;; shift += 7) {
    const auto b = static_cast<unsigned char>(texts[i++]);
    n |= static_cast<size_t>(b & 0x7F) << shift;
    if (b < 0x80) break;
  }
  return texts.substr(i, n);
}

size_t Sheet::rowEnd(size_t i) const {
  const int32_t row = cells_[i].row;
  while (i < cells_.size() && cells_[i].row == row) ++i;
  return i;
}

void Sheet::dropGarbage() {
  if (garbage_ < 4096 || garbage_ * 2 < texts_.size()) return;
  PodArray<char> old;
  old.swap(texts_);
  texts_.reserve(old.size() - garbage_);
  for (Entry& e : cells_)
    e.text = storeText(textIn(std::string_view(old.data(), old.size()), e.text));
  garbage_ = 0;
}

void Sheet::set(int row, int col, std::string_view text) {
  requireInside(row, col);
  // Layouts and files give their cells in order: appending is the common case.
  if (cells_.empty() || before(cells_.back(), row, col)) {
    if (!text.empty()) cells_.push_back({row, col, storeText(text)});
    return;
  }
  const auto it = std::lower_bound(
      cells_.begin(), cells_.end(), std::pair(row, col),
      [](const Entry& e, std::pair<int, int> at) { return before(e, at.first, at.second); });
  const bool present = it != cells_.end() && it->row == row && it->column == col;
  if (!present) {
    if (!text.empty()) cells_.insert(it, {row, col, storeText(text)});
    return;
  }
  garbage_ += textAt(it->text).size() + 1;
  if (text.empty())
    cells_.erase(it);
  else
    it->text = storeText(text);
  dropGarbage();
}

std::string_view Sheet::cell(int row, int col) const {
  const auto it = std::lower_bound(
      cells_.begin(), cells_.end(), std::pair(row, col),
      [](const Entry& e, std::pair<int, int> at) { return before(e, at.first, at.second); });
  if (it == cells_.end() || it->row != row || it->column != col) return {};
  return textAt(it->text);
}

int Sheet::rowCount() const {
  return cells_.empty() ? 0 : cells_.back().row + 1;
}

int Sheet::columnCount() const {
  int count = 0;
  for (const Entry& e : cells_) count = std::max(count, e.column + 1);
  return count;
}

size_t Sheet::Rows::size() const {
  size_t n = 0;
  for (auto it = begin(); it != end(); ++it) ++n;
  return n;
}

Sheet::Row Sheet::Rows::operator[](size_t k) const {
  auto it = begin();
  for (; k > 0; --k) ++it;
  return *it;
}

void SheetFiller::finish() {
  PodArray<Sheet::Entry>& cells = sheet_.cells_;
  if (!ordered_) {
    std::stable_sort(cells.begin(), cells.end(), [](const Sheet::Entry& a, const Sheet::Entry& b) {
      return Sheet::before(a, b.row, b.column);
    });
    // Of the cells of one position, the last one given stands.
    size_t kept = 0;
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i + 1 < cells.size() && cells[i + 1].row == cells[i].row &&
          cells[i + 1].column == cells[i].column) {
        sheet_.garbage_ += sheet_.textAt(cells[i].text).size() + 1;
        continue;
      }
      cells[kept++] = cells[i];
    }
    cells.shrink(kept);
    sheet_.dropGarbage();
    ordered_ = true;
  }
  cells.shrink_to_fit();
  sheet_.texts_.shrink_to_fit();
}

void Sheet::setBold(const CellRange& range, bool bold) {
  if (!isEmptyRange(range)) formats_.push_back({range, bold, std::nullopt, std::nullopt});
}

void Sheet::setAlign(const CellRange& range, HAlign align) {
  if (!isEmptyRange(range)) formats_.push_back({range, std::nullopt, align, std::nullopt});
}

void Sheet::setWrap(const CellRange& range, bool wrap) {
  if (!isEmptyRange(range)) formats_.push_back({range, std::nullopt, std::nullopt, wrap});
}

CellFormat Sheet::formatAt(int row, int col) const {
  CellFormat f;
  for (const FormatStep& step : formats_) {
    if (!step.range.contains(row, col)) continue;
    if (step.bold) f.bold = *step.bold;
    if (step.align) f.align = *step.align;
    if (step.wrap) f.wrap = *step.wrap;
  }
  return f;
}

void Sheet::setColumnWidth(int col, double width) {
  requireInside(0, col);
  widths_[col] = width;
}

void Sheet::setRowHeight(int row, double points) {
  requireInside(row, 0);
  heights_[row] = points;
}

std::optional<double> Sheet::columnWidth(int col) const {
  const auto it = widths_.find(col);
  return it == widths_.end() ? std::nullopt : std::optional<double>(it->second);
}

std::optional<double> Sheet::rowHeight(int row) const {
  const auto it = heights_.find(row);
  return it == heights_.end() ? std::nullopt : std::optional<double>(it->second);
}

Sheet& Workbook::addSheet(std::string name) {
  sheets_.emplace_back(std::move(name));
  return sheets_.back();
}

std::string SheetNamer::next(const std::string& given) {
  std::string name = given;
  for (char& c : name)
    if (forbiddenInSheetName(c)) c = '_';
  name = trimApostrophes(name.substr(0, kMaxSheetNameLength));
  ++count_;
  if (name.empty()) name = "Sheet" + std::to_string(count_);
  std::string candidate = name;
  for (int n = 2; taken_.count(cp1251::upper(candidate)) != 0; ++n)
    candidate = withSuffix(name, " (" + std::to_string(n) + ")");
  taken_.insert(cp1251::upper(candidate));
  return candidate;
}

std::vector<std::string> validSheetNames(const std::vector<std::string>& names) {
  SheetNamer namer;
  std::vector<std::string> out;
  for (const std::string& name : names) out.push_back(namer.next(name));
  return out;
}

}  // namespace qj::office
