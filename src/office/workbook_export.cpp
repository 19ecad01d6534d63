#include "office/workbook_export.h"

#include "office/xlsx_writer.h"
#include "records/cp1251.h"

namespace qj {

WorkbookExport saveExportedWorkbook(const office::WorkbookLayout& layout,
                                    const ProgramFolder& folder, std::string_view stem,
                                    const WorkProgress& progress, int64_t rows) {
  WorkbookExport result;
  try {
    result.file = office::writeXlsxUnique(layout, folder.exports(), stem, progress, rows);
  } catch (const std::exception&) {
    // Whatever stopped the layout or the file, the export has one failure message.
    result.message = exportFailedMessage();
  }
  return result;
}

WorkbookExport saveExportedWorkbook(const office::Workbook& book, const ProgramFolder& folder,
                                    std::string_view stem) {
  return saveExportedWorkbook(
      [&book](office::WorkbookOutput& out) { office::copyWorkbook(book, out); }, folder, stem);
}

Message exportFailedMessage() {
  return errorMessage(shell(465) + "...");
}

Message workbookNotOpenedMessage(const fs::path& file) {
  const auto quoted = [](const fs::path& p) {
    return lit("\"") + val(cp1251::fromUtf8(p.string())) + "\"";
  };
  // A notice, as where a printed report was left: the file is whole, only nothing shows it.
  return {MessageKind::Information, shell(952) + " " + quoted(file.filename()) + " " + shell(963) +
                                        " " + quoted(file.parent_path()) + ", " + shell(953) + "."};
}

}  // namespace qj
