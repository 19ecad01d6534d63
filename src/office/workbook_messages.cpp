#include "office/workbook_messages.h"

#include "office/xls_cells.h"

namespace qj::office {

Message workbookReadMessage(std::string_view fileName, ReadFault fault) {
  Text why;
  switch (fault) {
    case ReadFault::None:
    case ReadFault::Unreadable: why = shell(971); break;
    case ReadFault::NotAWorkbook: why = shell(972); break;
    case ReadFault::Damaged: why = shell(973); break;
    case ReadFault::TooLarge: why = shell(974); break;
    // The file may be sound: the program's own reader is what is missing.
    case ReadFault::ReaderMissing:
      why = shell(1300) + " \"" + val(kXlsReaderName) + "\" " + shell(1301);
      break;
    case ReadFault::Cancelled: why = shell(1302); break;
  }
  const Text text = shell(970) + " \"" + val(fileName) + "\" " + why + ".";
  // The user's own cancel is no fault of the file.
  return fault == ReadFault::Cancelled ? warningMessage(text) : errorMessage(text);
}

Message cellMessage(const Text& head, int sheet, int row, std::string_view column,
                    const Text& why) {
  return errorMessage(head + ": " + shell(976) + " " + num(sheet) + ", " + shell(977) + " " +
                      num(row) + ", " + shell(978) + " " + val(column) + " " + why + ".");
}

Message missingSheetMessage(const Text& head, int sheet) {
  return errorMessage(head + ": " + shell(982) + " " + num(sheet) + ".");
}

Text workbookWorkCaption(bool writing) {
  return (writing ? shell(983) : shell(114)) + " ...";
}

Text workRowsText(int64_t done, int64_t total) {
  Text t = shell(984) + ": " + num(done);
  if (total > 0) {
    t += " / ";
    t += num(total);
  }
  return t;
}

Text workbookFileFilter() {
  // Linux names are case-sensitive: both spellings of each extension are offered.
  return shell(1280) + " (*.xlsx *.xls *.XLSX *.XLS)";
}

}  // namespace qj::office
