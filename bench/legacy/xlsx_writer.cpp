// The workbook model, reader and writer as the program had them before it streamed its
// workbooks (a tree per sheet part, libxlsxwriter), kept only so that the benchmark measures
// old and new in one run.
#include "legacy/xlsx_writer.h"

#include <unistd.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <map>

#include "records/cp1251.h"

namespace qj::legacy {
namespace {

[[noreturn]] void fail(const std::string& what, lxw_error error) {
  throw OfficeError(what + ": " + lxw_strerror(error));
}

void check(lxw_error error, const char* what) {
  if (error != LXW_NO_ERROR) fail(what, error);
}

// The library's workbook, closed (and so freed) exactly once.
class LxwWorkbook {
 public:
  LxwWorkbook(const fs::path& file, const fs::path& tmpdir, bool constantMemory)
      : tmpdir_(tmpdir.string()) {
    lxw_workbook_options options{};
    options.constant_memory = constantMemory ? LXW_TRUE : LXW_FALSE;
    options.tmpdir = tmpdir_.data();
    book_ = workbook_new_opt(file.string().c_str(), &options);
    if (!book_) throw OfficeError("the workbook could not be created");
  }
  ~LxwWorkbook() {
    if (book_) workbook_close(book_);
  }
  LxwWorkbook(const LxwWorkbook&) = delete;
  LxwWorkbook& operator=(const LxwWorkbook&) = delete;

  lxw_workbook* get() const { return book_; }
  // Writes the file; its result tells whether the file is whole.
  void close() {
    lxw_workbook* book = book_;
    book_ = nullptr;
    check(workbook_close(book), "the workbook could not be written");
  }

 private:
  std::string tmpdir_;
  lxw_workbook* book_ = nullptr;
};

// One format per combination of bold, alignment and wrapping: the library gives a cell one
// format, so the three properties are merged here.
class FormatCache {
 public:
  explicit FormatCache(lxw_workbook* book) : book_(book) {}

  lxw_format* get(const CellFormat& f) {
    if (f.isDefault()) return nullptr;
    const int key = (f.bold ? 100 : 0) + static_cast<int>(f.align) * 10 + (f.wrap ? 1 : 0);
    auto it = formats_.find(key);
    if (it != formats_.end()) return it->second;
    lxw_format* format = workbook_add_format(book_);
    if (!format) throw OfficeError("a cell format could not be created");
    if (f.bold) format_set_bold(format);
    if (f.wrap) format_set_text_wrap(format);
    switch (f.align) {
      case HAlign::General: break;
      case HAlign::Left: format_set_align(format, LXW_ALIGN_LEFT); break;
      case HAlign::Center: format_set_align(format, LXW_ALIGN_CENTER); break;
      case HAlign::Right: format_set_align(format, LXW_ALIGN_RIGHT); break;
    }
    formats_.emplace(key, format);
    return format;
  }

 private:
  lxw_workbook* book_;
  std::map<int, lxw_format*> formats_;
};

// Every row that has a cell, a formatted cell or a height, in ascending order: with
// constant memory the rows must reach the library in order.
std::vector<int> rowsToWrite(const Sheet& sheet) {
  std::vector<int> rows;
  for (const Sheet::Row& r : sheet.rows()) rows.push_back(r.row);
  for (const FormatStep& step : sheet.formatSteps())
    for (int row = step.range.firstRow; row <= step.range.lastRow; ++row) rows.push_back(row);
  for (const auto& [row, height] : sheet.rowHeights()) rows.push_back(row);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

// The columns of `row` that hold a cell or lie in a formatted range.
std::vector<int> columnsToWrite(const Sheet& sheet, int row, const Sheet::Row* cells) {
  std::vector<int> cols;
  if (cells)
    for (const Sheet::Cell& c : cells->cells) cols.push_back(c.column);
  for (const FormatStep& step : sheet.formatSteps())
    if (row >= step.range.firstRow && row <= step.range.lastRow)
      for (int col = step.range.firstColumn; col <= step.range.lastColumn; ++col)
        cols.push_back(col);
  std::sort(cols.begin(), cols.end());
  cols.erase(std::unique(cols.begin(), cols.end()), cols.end());
  return cols;
}

void writeSheet(lxw_worksheet* ws, const Sheet& sheet, FormatCache& formats) {
  for (const auto& [col, width] : sheet.columnWidths())
    check(worksheet_set_column(ws, static_cast<lxw_col_t>(col), static_cast<lxw_col_t>(col), width,
                               nullptr),
          "a column width could not be set");
  auto cellRow = sheet.rows().begin();
  for (const int row : rowsToWrite(sheet)) {
    while (cellRow != sheet.rows().end() && cellRow->row < row) ++cellRow;
    const Sheet::Row* cells =
        cellRow != sheet.rows().end() && cellRow->row == row ? &*cellRow : nullptr;
    if (const auto height = sheet.rowHeight(row))
      check(worksheet_set_row(ws, static_cast<lxw_row_t>(row), *height, nullptr),
            "a row height could not be set");
    auto cell = cells ? cells->cells.begin() : std::vector<Sheet::Cell>::const_iterator();
    for (const int col : columnsToWrite(sheet, row, cells)) {
      while (cells && cell != cells->cells.end() && cell->column < col) ++cell;
      const bool hasText = cells && cell != cells->cells.end() && cell->column == col;
      lxw_format* format = formats.get(sheet.formatAt(row, col));
      const auto r = static_cast<lxw_row_t>(row);
      const auto c = static_cast<lxw_col_t>(col);
      if (hasText)
        check(worksheet_write_string(ws, r, c, cp1251::toUtf8(cell->text).c_str(), format),
              "a cell could not be written");
      else if (format)
        check(worksheet_write_blank(ws, r, c, format), "a cell could not be written");
    }
  }
}

size_t totalCells(const Workbook& book) {
  size_t n = 0;
  for (const Sheet& s : book.sheets()) n += s.cellCount();
  return n;
}

void writeFile(const Workbook& book, const fs::path& file, const fs::path& folder) {
  LxwWorkbook lxw(file, folder, totalCells(book) > kConstantMemoryCells);
  FormatCache formats(lxw.get());
  std::vector<std::string> names;
  for (const Sheet& s : book.sheets()) names.push_back(s.name());
  names = validSheetNames(names);
  for (size_t i = 0; i < book.sheets().size(); ++i) {
    const std::string name = cp1251::toUtf8(names[i]);
    check(workbook_validate_sheet_name(lxw.get(), name.c_str()), "a sheet name is refused");
    lxw_worksheet* ws = workbook_add_worksheet(lxw.get(), name.c_str());
    if (!ws) throw OfficeError("a sheet could not be added");
    writeSheet(ws, book.sheets()[i], formats);
  }
  // A file needs at least one sheet to open.
  if (book.sheets().empty() && !workbook_add_worksheet(lxw.get(), nullptr))
    throw OfficeError("a sheet could not be added");
  lxw.close();
}

// A temporary file in `folder`, removed unless released.
class TempFile {
 public:
  explicit TempFile(const fs::path& folder) {
    static std::atomic<unsigned> counter{0};
    path_ = folder / (".qj-workbook-" + std::to_string(::getpid()) + "-" +
                      std::to_string(counter++) + ".tmp");
  }
  ~TempFile() {
    std::error_code ec;
    if (!path_.empty()) fs::remove(path_, ec);
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

std::string uniqueName(std::string_view stem, int n) {
  std::string name(stem);
  if (n > 1) name += " (" + std::to_string(n) + ")";
  return name + ".xlsx";
}

}  // namespace

void writeXlsx(const Workbook& book, const fs::path& path) {
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  TempFile temp(folder);
  writeFile(book, temp.path(), folder);
  std::error_code ec;
  fs::rename(temp.path(), path, ec);
  if (ec) throw OfficeError("the workbook could not be saved as " + path.string());
}

fs::path writeXlsxUnique(const Workbook& book, const fs::path& folder, std::string_view stem) {
  TempFile temp(folder);
  writeFile(book, temp.path(), folder);
  constexpr int kMaxTries = 10000;
  for (int n = 1; n <= kMaxTries; ++n) {
    const fs::path target = folder / uniqueName(stem, n);
    // A hard link appears under the new name only when no file holds it.
    if (::link(temp.path().c_str(), target.c_str()) == 0) return target;
    if (errno == EEXIST) continue;
    // A file system without hard links: take the name when it is free.
    std::error_code ec;
    if (fs::exists(target, ec) || ec) continue;
    fs::rename(temp.path(), target, ec);
    if (!ec) return target;
    throw OfficeError("the workbook could not be saved in " + folder.string() + ": " +
                      ec.message());
  }
  throw OfficeError("no free name for the workbook in " + folder.string());
}

}  // namespace qj::legacy
