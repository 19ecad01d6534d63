#pragma once
// The messages of the imports that read workbooks: a file that cannot be read, a cell that
// cannot be taken, a sheet that is missing.

#include <cstdint>
#include <string_view>

#include "office/workbook_reader.h"
#include "text/message.h"

namespace qj::office {

// "<970> "<file>" <971..974>.": the workbook cannot be opened, is not an Excel workbook, is
// damaged or is too large to be read; "<970> "<file>" <1300> "qjroute-xls" <1301>.": the
// program's .xls reader is missing; "<970> "<file>" <1302>.": the user cancelled the read.
// `fileName` is code page 1251.
Message workbookReadMessage(std::string_view fileName, ReadFault fault);

// A cell that an import cannot take: "<head>: <976> k, <977> row, <978> column <why>." with
// the sheet's 1-based position, the spreadsheet's 1-based row and the column's letters.
Message cellMessage(const Text& head, int sheet, int row, std::string_view column, const Text& why);
// A sheet the import needs is missing: "<head>: <982> k."
Message missingSheetMessage(const Text& head, int sheet);

// The window that shows a workbook being written ("<983> ...") or read ("<114> ..."), and
// the rows done under its bar: "<984>: n", or "<984>: n / total" when the total is known.
Text workbookWorkCaption(bool writing);
Text workRowsText(int64_t done, int64_t total);

// The open-file dialog's filter of the workbooks an import reads: "<1280> (*.xlsx *.xls ...)".
Text workbookFileFilter();

}  // namespace qj::office
