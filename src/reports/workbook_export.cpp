#include "reports/workbook_export.h"

#include <new>

#include "office/xlsx_writer.h"
#include "records/cp1251.h"

namespace qj {

WorkbookExport saveExportedWorkbook(const office::Workbook& book, const ProgramFolder& folder,
                                    std::string_view stem) {
  WorkbookExport result;
  try {
    result.file = office::writeXlsxUnique(book, folder.exports(), stem);
  } catch (const office::OfficeError&) {
    result.message = exportFailedMessage();
  } catch (const std::bad_alloc&) {
    result.message = exportFailedMessage();
  }
  return result;
}

std::string taskWorkbookStem(const TaskHeader& h) {
  return "qj_" + h.code;
}

std::string solutionWorkbookStem(const TaskHeader& h) {
  return "qj_" + h.code + "_out";
}

Message exportFailedMessage() {
  return errorMessage(shell(465) + "...");
}

Message workbookNotOpenedMessage(const fs::path& file) {
  const auto quoted = [](const fs::path& p) {
    return lit("\"") + val(cp1251::fromUtf8(p.string())) + "\"";
  };
  return warningMessage(shell(952) + " " + quoted(file.filename()) + " " + shell(963) + " " +
                        quoted(file.parent_path()) + ", " + shell(953) + ".");
}

}  // namespace qj
