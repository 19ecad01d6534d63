#include "office/workbook_messages.h"

namespace qj::office {

Message workbookReadMessage(std::string_view fileName, ReadFault fault) {
  Text why;
  switch (fault) {
    case ReadFault::None:
    case ReadFault::Unreadable: why = shell(971); break;
    case ReadFault::NotAWorkbook: why = shell(972); break;
    case ReadFault::Damaged: why = shell(973); break;
    case ReadFault::TooLarge: why = shell(974); break;
  }
  return errorMessage(shell(970) + " \"" + val(fileName) + "\" " + why + ".");
}

}  // namespace qj::office
