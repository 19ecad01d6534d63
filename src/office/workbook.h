#pragma once
// A spreadsheet workbook held in memory: sheets by position, each a sparse set of text cells
// with the little formatting the program's workbooks use (bold, horizontal alignment,
// wrapping, column widths, row heights). Layouts write into a WorkbookOutput: this workbook
// (for small exports and tests) or a file written as the rows come (xlsx_writer.h); imports
// read a file into one with readWorkbook and take cells by position.
//
// Texts and sheet names are code-page-1251 byte strings like every text of the core; the
// file layers convert to and from UTF-8.
//
// Rows and columns are counted from 0 here (row 0, column 0 is the spreadsheet's cell A1).

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace qj::office {

// The largest sheet the .xlsx format holds.
inline constexpr int kMaxRows = 1048576;
inline constexpr int kMaxColumns = 16384;
inline constexpr size_t kMaxSheetNameLength = 31;

enum class HAlign : uint8_t { General, Left, Center, Right };

struct CellFormat {
  bool bold = false;
  HAlign align = HAlign::General;
  bool wrap = false;
  bool operator==(const CellFormat&) const = default;
  bool isDefault() const { return *this == CellFormat{}; }
};

// A rectangle of cells, corners included.
struct CellRange {
  int firstRow = 0, firstColumn = 0, lastRow = 0, lastColumn = 0;
  bool contains(int row, int col) const {
    return row >= firstRow && row <= lastRow && col >= firstColumn && col <= lastColumn;
  }
};
// All rows 0..rows-1 of one column; an empty range when rows is 0.
CellRange columnRange(int col, int rows);
// Columns 0..columns-1 of one row.
CellRange rowRange(int row, int columns);

// A formatting step on a range; the steps apply in the order they were made, a later step
// overriding what an earlier one set on the same cell.
struct FormatStep {
  CellRange range;
  std::optional<bool> bold;
  std::optional<HAlign> align;
  std::optional<bool> wrap;
};

// "A", "B", ..., "Z", "AA", ...: the letters of column `col` (0-based).
std::string columnLetters(int col);

// Copies `n` bytes: texts of cells are mostly a few bytes, copied here with two overlapping
// moves of the right width rather than a library call.
inline void copyBytes(char* to, const char* from, size_t n) {
  if (n >= 8) {
    if (n > 16) {
      std::memcpy(to, from, n);
      return;
    }
    uint64_t a, b;
    std::memcpy(&a, from, 8);
    std::memcpy(&b, from + n - 8, 8);
    std::memcpy(to, &a, 8);
    std::memcpy(to + n - 8, &b, 8);
  } else if (n >= 4) {
    uint32_t a, b;
    std::memcpy(&a, from, 4);
    std::memcpy(&b, from + n - 4, 4);
    std::memcpy(to, &a, 4);
    std::memcpy(to + n - 4, &b, 4);
  } else if (n > 0) {
    to[0] = from[0];
    to[n / 2] = from[n / 2];
    to[n - 1] = from[n - 1];
  }
}

// Throws std::out_of_range for a cell position outside the format's limits.
[[noreturn]] void cellOutsideSheet(int row, int col);

// The memory of a PodArray: a block of `bytes` holding `used` bytes moved into one of
// `newBytes` (0 frees it). Blocks from kMappedBytes up are mappings of their own, which grow
// and shrink in place (the pages move, the bytes are not copied) and ask for huge pages.
// Throws std::bad_alloc.
inline constexpr size_t kMappedBytes = size_t{1} << 20;
void* resizeBlock(void* data, size_t used, size_t bytes, size_t newBytes);

// A growing array of plain values, for the cells and texts of sheets that hold millions of
// them: it grows without copying what it holds and without the page faults of fresh copies,
// and is cut to its size when it is complete.
template <typename T>
class PodArray {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  PodArray() = default;
  PodArray(const PodArray& other) { append(other.data(), other.size()); }
  PodArray(PodArray&& other) noexcept { swap(other); }
  PodArray& operator=(PodArray other) noexcept {
    swap(other);
    return *this;
  }
  ~PodArray() { resizeBlock(data_, 0, capacity_ * sizeof(T), 0); }
  void swap(PodArray& other) noexcept {
    std::swap(data_, other.data_);
    std::swap(size_, other.size_);
    std::swap(capacity_, other.capacity_);
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  T* data() { return data_; }
  const T* data() const { return data_; }
  T* begin() { return data_; }
  T* end() { return data_ + size_; }
  const T* begin() const { return data_; }
  const T* end() const { return data_ + size_; }
  T& operator[](size_t i) { return data_[i]; }
  const T& operator[](size_t i) const { return data_[i]; }
  T& back() { return data_[size_ - 1]; }
  const T& back() const { return data_[size_ - 1]; }

  void push_back(const T& v) {
    if (size_ == capacity_) grow(size_ + 1);
    data_[size_++] = v;
  }
  // Room for `n` more values at the end, to be written there and then added by grown().
  T* room(size_t n) {
    if (capacity_ - size_ < n) grow(size_ + n);
    return data_ + size_;
  }
  void grown(size_t n) { size_ += n; }
  void append(const T* from, size_t n) {
    if (capacity_ - size_ < n) grow(size_ + n);
    if (n > 0) std::memcpy(data_ + size_, from, n * sizeof(T));
    size_ += n;
  }
  T* insert(T* at, const T& v) {
    const size_t i = static_cast<size_t>(at - data_);
    if (size_ == capacity_) grow(size_ + 1);
    std::memmove(data_ + i + 1, data_ + i, (size_ - i) * sizeof(T));
    data_[i] = v;
    ++size_;
    return data_ + i;
  }
  void erase(T* at) {
    std::memmove(at, at + 1, static_cast<size_t>(end() - at - 1) * sizeof(T));
    --size_;
  }
  // Fewer values; the first `n` stay.
  void shrink(size_t n) { size_ = std::min(size_, n); }
  void clear() { size_ = 0; }
  void reserve(size_t n) {
    if (n > capacity_) setCapacity(n);
  }
  void shrink_to_fit() {
    if (capacity_ > size_) setCapacity(size_);
  }

 private:
  void grow(size_t needed) { setCapacity(std::max({needed, capacity_ * 2, size_t{16}})); }
  void setCapacity(size_t n) {
    data_ = static_cast<T*>(
        resizeBlock(data_, size_ * sizeof(T), capacity_ * sizeof(T), n * sizeof(T)));
    capacity_ = n;
  }

  T* data_ = nullptr;
  size_t size_ = 0, capacity_ = 0;
};

// Where a layout puts one sheet. A sheet written straight to a file needs its widths,
// heights and formats before the rows they touch, and its rows in ascending order with the
// cells of a row left to right; the in-memory Sheet takes them in any order.
class SheetOutput {
 public:
  virtual ~SheetOutput() = default;

  // Widths in characters of the standard font, heights in points, as a spreadsheet program
  // counts them.
  virtual void setColumnWidth(int col, double width) = 0;
  virtual void setRowHeight(int row, double points) = 0;
  virtual void setBold(const CellRange& range, bool bold = true) = 0;
  virtual void setAlign(const CellRange& range, HAlign align) = 0;
  virtual void setWrap(const CellRange& range, bool wrap = true) = 0;
  // An empty text is no cell. Positions outside the format's limits are a programming error
  // (std::out_of_range).
  virtual void set(int row, int col, std::string_view text) = 0;
};

// Where a layout puts a workbook: its sheets one after the other.
class WorkbookOutput {
 public:
  virtual ~WorkbookOutput() = default;
  // The next sheet; the one before it is complete.
  virtual SheetOutput& addSheet(std::string name) = 0;
};

class Sheet : public SheetOutput {
 public:
  struct Cell {
    int32_t column;
    std::string_view text;
  };
  // The cells of one row, left to right.
  class RowCells {
   public:
    RowCells(const Sheet* sheet, size_t first, size_t last)
        : sheet_(sheet), first_(first), last_(last) {}
    class iterator {
     public:
      iterator(const Sheet* sheet, size_t i) : sheet_(sheet), i_(i) {}
      Cell operator*() const { return sheet_->cellAt(i_); }
      iterator& operator++() {
        ++i_;
        return *this;
      }
      bool operator==(const iterator&) const = default;

     private:
      const Sheet* sheet_;
      size_t i_;
    };
    iterator begin() const { return {sheet_, first_}; }
    iterator end() const { return {sheet_, last_}; }
    size_t size() const { return last_ - first_; }
    Cell operator[](size_t k) const { return sheet_->cellAt(first_ + k); }

   private:
    const Sheet* sheet_;
    size_t first_, last_;
  };
  struct Row {
    int32_t row;
    RowCells cells;  // never empty, never an empty text
  };
  // The rows that hold cells, in ascending order.
  class Rows {
   public:
    explicit Rows(const Sheet* sheet) : sheet_(sheet) {}
    class iterator {
     public:
      iterator(const Sheet* sheet, size_t i) : sheet_(sheet), i_(i) {}
      Row operator*() const { return {sheet_->cells_[i_].row, {sheet_, i_, sheet_->rowEnd(i_)}}; }
      iterator& operator++() {
        i_ = sheet_->rowEnd(i_);
        return *this;
      }
      bool operator==(const iterator&) const = default;

     private:
      const Sheet* sheet_;
      size_t i_;
    };
    iterator begin() const { return {sheet_, 0}; }
    iterator end() const { return {sheet_, sheet_->cells_.size()}; }
    size_t size() const;
    Row operator[](size_t k) const;

   private:
    const Sheet* sheet_;
  };

  explicit Sheet(std::string name = {}) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }

  // An empty text removes the cell: a sheet holds only cells with text.
  void set(int row, int col, std::string_view text) override;
  // The cell's text; empty for a cell the sheet does not hold. Valid until the sheet changes.
  std::string_view cell(int row, int col) const;

  // One more than the last row and column that hold a cell (0 for an empty sheet).
  int rowCount() const;
  int columnCount() const;
  size_t cellCount() const { return cells_.size(); }
  Rows rows() const { return Rows(this); }

  void setBold(const CellRange& range, bool bold = true) override;
  void setAlign(const CellRange& range, HAlign align) override;
  void setWrap(const CellRange& range, bool wrap = true) override;
  const std::vector<FormatStep>& formatSteps() const { return formats_; }
  CellFormat formatAt(int row, int col) const;

  void setColumnWidth(int col, double width) override;
  void setRowHeight(int row, double points) override;
  std::optional<double> columnWidth(int col) const;
  std::optional<double> rowHeight(int row) const;
  const std::map<int, double>& columnWidths() const { return widths_; }
  const std::map<int, double>& rowHeights() const { return heights_; }

  // Bytes the cells take, for the limits of a reader.
  size_t textBytes() const { return texts_.size(); }

 private:
  friend class SheetFiller;

  // A cell: its place and where its text starts in texts_ (a length, then the bytes). Twelve
  // bytes a cell and the texts packed one after the other: the largest workbooks hold
  // millions of short texts.
  struct Entry {
    int32_t row;
    int32_t column;
    uint32_t text;
  };
  static bool before(const Entry& e, int row, int col) {
    return e.row < row || (e.row == row && e.column < col);
  }
  Cell cellAt(size_t i) const { return {cells_[i].column, textAt(cells_[i].text)}; }
  static std::string_view textIn(std::string_view texts, uint32_t offset);
  std::string_view texts() const { return std::string_view(texts_.data(), texts_.size()); }
  std::string_view textAt(uint32_t offset) const { return textIn(texts(), offset); }
  // The text's length (seven bits a byte, the lowest first; a byte with its top bit set has
  // more), then its bytes.
  uint32_t storeText(std::string_view text) {
    if (texts_.size() + text.size() + 5 > UINT32_MAX) tooMuchText();
    const auto offset = static_cast<uint32_t>(texts_.size());
    char* const start = texts_.room(text.size() + 5);
    char* out = start;
    size_t n = text.size();
    for (; n >= 0x80; n >>= 7) *out++ = static_cast<char>(0x80 | (n & 0x7F));
    *out++ = static_cast<char>(n);
    copyBytes(out, text.data(), text.size());
    texts_.grown(static_cast<size_t>(out - start) + text.size());
    return offset;
  }
  [[noreturn]] static void tooMuchText();
  size_t rowEnd(size_t i) const;
  void dropGarbage();

  std::string name_;
  PodArray<Entry> cells_;  // in order of row, then column
  PodArray<char> texts_;
  size_t garbage_ = 0;  // bytes of texts_ no cell refers to any more
  std::vector<FormatStep> formats_;
  std::map<int, double> widths_, heights_;
};

// Fills a sheet from cells in the order a file gives them: cells in order go straight in; a
// file that gives them out of order is put in order once, when it is finished (a later
// cell of a position replacing an earlier one).
class SheetFiller {
 public:
  explicit SheetFiller(Sheet& sheet) : sheet_(sheet) {}
  // Inline: a read adds every cell of the workbook here.
  void add(int row, int col, std::string_view text) {
    if (row < 0 || row >= kMaxRows || col < 0 || col >= kMaxColumns) [[unlikely]]
      cellOutsideSheet(row, col);
    if (text.empty()) return;
    PodArray<Sheet::Entry>& cells = sheet_.cells_;
    if (ordered_ && !cells.empty() && !Sheet::before(cells.back(), row, col)) ordered_ = false;
    cells.push_back({row, col, sheet_.storeText(text)});
  }
  void finish();

 private:
  Sheet& sheet_;
  bool ordered_ = true;
};

class Workbook : public WorkbookOutput {
 public:
  // Appends a sheet; the reference stays valid until the next sheet is added.
  Sheet& addSheet(std::string name) override;
  std::vector<Sheet>& sheets() { return sheets_; }
  const std::vector<Sheet>& sheets() const { return sheets_; }
  // The sheet at 0-based `position`, or nullptr.
  const Sheet* sheet(size_t position) const {
    return position < sheets_.size() ? &sheets_[position] : nullptr;
  }

 private:
  std::vector<Sheet> sheets_;
};

// The names the sheets get in a file: at most 31 characters, none of []:*?/\ nor a control
// character (each becomes "_"), no apostrophe at either end, not empty ("Sheet<n>"), not the
// reserved "History", and unique without regard to letter case (a repeated name gets " (2)", " (3)"
// ...). Names are code page 1251.
std::vector<std::string> validSheetNames(const std::vector<std::string>& names);

// The same rule for names that come one at a time.
class SheetNamer {
 public:
  std::string next(const std::string& name);

 private:
  size_t count_ = 0;
  std::set<std::string> taken_{"HISTORY"};  // reserved by spreadsheet programs
};

}  // namespace qj::office
