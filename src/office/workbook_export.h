#pragma once
// Saving a workbook for the user (the viewers' and the databases' exports): written into the
// program folder's Export/ under a name of its own that no earlier export holds, then handed to the
// desktop's spreadsheet program by the window.

#include <filesystem>
#include <optional>
#include <string_view>

#include "office/workbook.h"
#include "office/xlsx_writer.h"
#include "platform/folders.h"
#include "platform/progress.h"
#include "text/message.h"

namespace qj {

namespace fs = std::filesystem;

struct WorkbookExport {
  std::optional<fs::path> file;    // the workbook written
  std::optional<Message> message;  // why none was
};

// Writes the layout's workbook, row by row, as Export/<stem>.xlsx, or "<stem> (2).xlsx" and
// so on when that name is taken. Any failure gives the one export failure message.
// `progress` hears the rows written of `rows`.
WorkbookExport saveExportedWorkbook(const office::WorkbookLayout& layout,
                                    const ProgramFolder& folder, std::string_view stem,
                                    const WorkProgress& progress = {}, int64_t rows = 0);
WorkbookExport saveExportedWorkbook(const office::Workbook& book, const ProgramFolder& folder,
                                    std::string_view stem);

// "<465>...": the export failed.
Message exportFailedMessage();
// "<952> "<name>" <963> "<folder>", <953>.": the workbook was saved but nothing could open it.
Message workbookNotOpenedMessage(const fs::path& file);

}  // namespace qj
