#pragma once
// Where a printed report goes when no printer is installed: a PDF file in the program's
// Print folder, shown with the desktop's viewer. And the messages of a report that could
// not be printed or shown.

#include <filesystem>
#include <string_view>

#include "records/datetime.h"
#include "text/message.h"

namespace qj {

enum class ReportKind { Task, Solution };

// "qj_<code>_task_<yyyymmdd-hhmmss>.pdf" or "..._solution_..." in `folder`, with "_2", "_3"
// ... before the extension when a report of the same second is there already. Characters of
// the code that a file name should not carry become "_".
std::filesystem::path reportPdfPath(const std::filesystem::path& folder, ReportKind kind,
                                    std::string_view taskCode, const CivilDateTime& now);

// The printer refused the job (printer name in UTF-8).
Message printerFailedMessage(std::string_view printerNameUtf8);
// The PDF file could not be written.
Message pdfFailedMessage(const std::filesystem::path& path);
// The PDF file was written, but no program could show it.
Message pdfNotShownMessage(const std::filesystem::path& path);

}  // namespace qj
