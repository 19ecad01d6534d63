// The legacy .xls reader on the freexl library: every worksheet of the file, cell by cell,
// with texts converted from the library's UTF-8.

#include <freexl.h>

#include <string>

#include "office/workbook_reader.h"
#include "records/cp1251.h"

namespace qj::office {
namespace {

class XlsFile {
 public:
  explicit XlsFile(const fs::path& path) { status_ = freexl_open(path.c_str(), &handle_); }
  ~XlsFile() {
    // The library asks to be closed after a failed open as well.
    if (handle_) freexl_close(handle_);
  }
  XlsFile(const XlsFile&) = delete;
  XlsFile& operator=(const XlsFile&) = delete;

  int status() const { return status_; }
  const void* handle() const { return handle_; }

 private:
  const void* handle_ = nullptr;
  int status_ = FREEXL_OK;
};

ReadFault openFault(int status) {
  switch (status) {
    case FREEXL_FILE_NOT_FOUND: return ReadFault::Unreadable;
    case FREEXL_INSUFFICIENT_MEMORY: return ReadFault::TooLarge;
    case FREEXL_INVALID_CFBF_HEADER:
    case FREEXL_CFBF_INVALID_SIGNATURE: return ReadFault::NotAWorkbook;
    default: return ReadFault::Damaged;
  }
}

WorkbookRead refused(ReadFault fault, std::string detail) {
  WorkbookRead r;
  r.fault = fault;
  r.detail = std::move(detail);
  return r;
}

std::string valueText(const FreeXL_CellValue& v) {
  switch (v.type) {
    case FREEXL_CELL_INT: return std::to_string(v.value.int_value);
    case FREEXL_CELL_DOUBLE: return numberText(v.value.double_value);
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME:
      return v.value.text_value ? cp1251::fromUtf8(v.value.text_value) : std::string();
    default: return {};
  }
}

}  // namespace

WorkbookRead readXls(const fs::path& path, const ReadLimits& limits, const WorkProgress& progress) {
  const XlsFile file(path);
  if (file.status() != FREEXL_OK)
    return refused(openFault(file.status()), "the .xls file cannot be read (freexl error " +
                                                 std::to_string(file.status()) + ")");
  unsigned int password = 0;
  if (freexl_get_info(file.handle(), FREEXL_BIFF_PASSWORD, &password) == FREEXL_OK &&
      password == FREEXL_BIFF_OBFUSCATED)
    return refused(ReadFault::Damaged, "the .xls file is protected by a password");
  unsigned int sheets = 0;
  if (freexl_get_info(file.handle(), FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
    return refused(ReadFault::Damaged, "the .xls file does not tell its sheets");

  WorkbookRead result;
  Workbook book;
  uint64_t cells = 0, textBytes = 0;
  int64_t rowsRead = 0;
  for (unsigned int s = 0; s < sheets && s <= 0xFFFF; ++s) {
    const auto index = static_cast<unsigned short>(s);
    const char* name = nullptr;
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_get_worksheet_name(file.handle(), index, &name) != FREEXL_OK ||
        freexl_select_active_worksheet(file.handle(), index) != FREEXL_OK ||
        freexl_worksheet_dimensions(file.handle(), &rows, &columns) != FREEXL_OK)
      return refused(ReadFault::Damaged, "a sheet of the .xls file cannot be read");
    if (rows > static_cast<unsigned int>(kMaxRows) || columns > kMaxColumns)
      return refused(ReadFault::Damaged, "a sheet of the .xls file is larger than a sheet can be");
    Sheet& sheet = book.addSheet(name ? cp1251::fromUtf8(name) : std::string());
    for (unsigned int r = 0; r < rows; ++r) {
      if (progress && ++rowsRead % 1000 == 0) progress(rowsRead, 0);
      for (unsigned short c = 0; c < columns; ++c) {
        FreeXL_CellValue value{};
        if (freexl_get_cell_value(file.handle(), r, c, &value) != FREEXL_OK)
          return refused(ReadFault::Damaged, "a cell of the .xls file cannot be read");
        std::string text = valueText(value);
        if (text.empty()) continue;
        if (++cells > limits.maxCells)
          return refused(ReadFault::TooLarge, "the workbook holds too many cells");
        textBytes += text.size();
        if (textBytes > limits.maxTextBytes)
          return refused(ReadFault::TooLarge, "the workbook holds too much text");
        sheet.set(static_cast<int>(r), c, text);
      }
    }
  }
  result.book = std::move(book);
  return result;
}

}  // namespace qj::office
