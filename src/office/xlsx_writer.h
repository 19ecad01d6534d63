#pragma once
// Writing a workbook as an .xlsx file, streamed: each row is turned into XML and compressed
// as it comes, so that writing takes little memory however large the workbook is. Every cell
// is written as text (an inline string); a cell of a formatted range that holds no text is
// written blank so that it still shows its format. The file appears whole under its name or
// not at all.

#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "office/workbook.h"
#include "platform/files.h"
#include "platform/progress.h"

namespace qj::office {

namespace fs = std::filesystem;

// A workbook that could not be written; what() says why, in English.
class OfficeError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A workbook written into `file` as a layout gives it (see SheetOutput for the order it
// needs: widths, heights and formats before the rows they touch, rows in ascending order).
// Sheet names are made valid as validSheetNames says. `progress` hears the rows written of
// `expectedRows`. Throws OfficeError; the file's owner commits it once the stream is closed.
class XlsxStream : public WorkbookOutput {
 public:
  explicit XlsxStream(AtomicFile& file, WorkProgress progress = {}, int64_t expectedRows = 0);
  ~XlsxStream() override;
  XlsxStream(const XlsxStream&) = delete;
  XlsxStream& operator=(const XlsxStream&) = delete;

  SheetOutput& addSheet(std::string name) override;
  // Completes the file.
  void close();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A layout that writes a workbook into an output.
using WorkbookLayout = std::function<void(WorkbookOutput&)>;

// The layout's workbook written to `path`, replacing a file of that name. Throws OfficeError.
void writeXlsx(const WorkbookLayout& layout, const fs::path& path,
               const WorkProgress& progress = {}, int64_t expectedRows = 0);
void writeXlsx(const Workbook& book, const fs::path& path);
// The layout's workbook written into `file`, which the caller commits. Throws OfficeError.
void writeXlsx(const WorkbookLayout& layout, AtomicFile& file, const WorkProgress& progress = {},
               int64_t expectedRows = 0);

// Writes into `folder` under the first free name of "<stem>.xlsx", "<stem> (2).xlsx",
// "<stem> (3).xlsx" ..., never replacing a file, and returns its path. Throws OfficeError.
fs::path writeXlsxUnique(const WorkbookLayout& layout, const fs::path& folder,
                         std::string_view stem, const WorkProgress& progress = {},
                         int64_t expectedRows = 0);
fs::path writeXlsxUnique(const Workbook& book, const fs::path& folder, std::string_view stem);

// Puts a workbook held in memory into an output, everything in the order a stream needs.
void copyWorkbook(const Workbook& book, WorkbookOutput& out);

}  // namespace qj::office
