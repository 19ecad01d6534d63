#include "reports/print_output.h"

#include <cstdio>

#include "platform/files.h"
#include "records/cp1251.h"

namespace qj {

namespace fs = std::filesystem;

namespace {

std::string pdfStem(ReportKind kind, std::string_view taskCode, const CivilDateTime& now) {
  std::string code;
  for (const char c : taskCode) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    code += safe ? c : '_';
  }
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  return "qj_" + code + (kind == ReportKind::Task ? "_task_" : "_solution_") + stamp;
}

// The n-th name of the reports of one second: the first without a number.
fs::path pdfName(const fs::path& folder, const std::string& stem, int n) {
  return folder / (stem + (n > 1 ? "_" + std::to_string(n) : std::string()) + ".pdf");
}

}  // namespace

fs::path reportPdfPath(const fs::path& folder, ReportKind kind, std::string_view taskCode,
                       const CivilDateTime& now) {
  const std::string stem = pdfStem(kind, taskCode, now);
  int n = 1;
  while (fs::exists(pdfName(folder, stem, n))) ++n;
  return pdfName(folder, stem, n);
}

namespace {

Text quotedPath(const fs::path& path) {
  return lit(" \"") + val(cp1251::fromUtf8(path.string())) + "\"";
}

// The file's name, then the folder it is in.
Text fileInFolder(const fs::path& path) {
  return quotedPath(path.filename()) + " " + shell(963) + quotedPath(path.parent_path());
}

}  // namespace

namespace {

// "The report could not be printed on the printer "name"."
Text notPrinted(std::string_view printerNameUtf8) {
  return shell(960) + " \"" + val(cp1251::fromUtf8(printerNameUtf8)) + "\".";
}

}  // namespace

Message printerFailedMessage(std::string_view printerNameUtf8) {
  return errorMessage(notPrinted(printerNameUtf8));
}

Message printerRefusedMessage(std::string_view printerNameUtf8, const fs::path& pdf) {
  return errorMessage(notPrinted(printerNameUtf8) + " " + shell(964) + fileInFolder(pdf) + ".");
}

Message printerAndPdfFailedMessage(std::string_view printerNameUtf8, const fs::path& pdf) {
  return errorMessage(notPrinted(printerNameUtf8) + " " + shell(961) + quotedPath(pdf) + ".");
}

Message printerWaitingMessage(std::string_view printerNameUtf8) {
  return {MessageKind::Information,
          shell(965) + " \"" + val(cp1251::fromUtf8(printerNameUtf8)) + "\"."};
}

Message pdfFailedMessage(const fs::path& path) {
  return errorMessage(shell(961) + quotedPath(path) + ".");
}

Message pdfNotShownMessage(const fs::path& path) {
  return {MessageKind::Information, shell(962) + fileInFolder(path) + "."};
}

namespace {

// The report as a PDF file in the Print folder, shown with the desktop's viewer; `refusedBy`
// names the printer that did not take it.
std::optional<Message> writeReportFile(const std::string& pdf, const ReportJob& job,
                                       const ReportTargets& targets,
                                       const std::optional<std::string>& refusedBy) {
  const fs::path folder = targets.folder();
  const std::string stem = pdfStem(job.kind, job.taskCode, targets.now);
  fs::path path = reportPdfPath(folder, job.kind, job.taskCode, targets.now);
  try {
    // Under a name that no file holds when it appears: never over a file put there meanwhile.
    AtomicFile file(path);
    file.write(pdf);
    constexpr int kMaxTries = 10000;
    path = file.commitUnderFreeName([&](int n) { return pdfName(folder, stem, n); }, kMaxTries);
  } catch (const FileError&) {
    return refusedBy ? printerAndPdfFailedMessage(*refusedBy, path) : pdfFailedMessage(path);
  }
  const bool shown = targets.showPdf && targets.showPdf(path);
  if (refusedBy) return printerRefusedMessage(*refusedBy, path);
  if (!shown) return pdfNotShownMessage(path);
  return std::nullopt;
}

}  // namespace

std::optional<Message> deliverReport(const ReportJob& job, const ReportTargets& targets) {
  const std::optional<PrintQueue> queue =
      targets.printers ? targets.printers->defaultQueue() : std::nullopt;
  const PaperSize paper = queue && queue->paper ? *queue->paper : targets.filePaper;
  const std::optional<std::string> pdf = job.renderPdf(paper);
  if (!queue) {
    if (!pdf)
      return pdfFailedMessage(reportPdfPath(targets.folder(), job.kind, job.taskCode, targets.now));
    return writeReportFile(*pdf, job, targets, std::nullopt);
  }
  if (!pdf) return printerFailedMessage(queue->name);
  switch (targets.printers->print(*queue, job.titleUtf8, *pdf)) {
    case JobFate::Printed: return std::nullopt;
    case JobFate::Waiting: return printerWaitingMessage(queue->name);
    case JobFate::Refused: break;
  }
  return writeReportFile(*pdf, job, targets, queue->name);
}

}  // namespace qj
