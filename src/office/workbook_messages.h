#pragma once
// The message of a workbook file that cannot be read, for every import that reads one.

#include <string_view>

#include "frame/message.h"
#include "office/workbook_reader.h"

namespace qj::office {

// "<970> "<file>" <971..974>.": the workbook cannot be opened, is not an Excel workbook, is
// damaged or is too large to be read. `fileName` is code page 1251.
Message workbookReadMessage(std::string_view fileName, ReadFault fault);

}  // namespace qj::office
