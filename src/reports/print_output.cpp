#include "reports/print_output.h"

#include <algorithm>
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
  std::string name = stem;
  if (n > 1) name.append("_").append(std::to_string(n));
  return folder / name.append(".pdf");
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

// "The report could not be printed on the printer "name"."
Text notPrinted(std::string_view printerNameUtf8) {
  return shell(960) + " \"" + val(cp1251::fromUtf8(printerNameUtf8)) + "\".";
}

// The print system's own words after a text of ours: ": words." or ".". A server may say a
// lot: a box shows the beginning.
Text inTheirWords(std::string_view reasonUtf8) {
  constexpr size_t kMostShown = 200;
  std::string words = cp1251::fromUtf8(reasonUtf8);
  while (!words.empty() && (words.back() == '.' || words.back() == ' ')) words.pop_back();
  if (words.empty()) return lit(".");
  if (words.size() > kMostShown) return lit(": ") + val(words.substr(0, kMostShown)) + "...";
  return lit(": ") + val(words) + ".";
}

// Who cancelled the job, where the print system said so.
Text cancelled(JobCanceller by) {
  switch (by) {
    case JobCanceller::User: return shell(1270);
    case JobCanceller::Operator: return shell(1271);
    case JobCanceller::Printer: return shell(1272);
    case JobCanceller::Unsaid: break;
  }
  return shell(1261);
}

// Why the report was not printed on the printer: the printer, then what became of the job.
Text notPrintedBecause(std::string_view printerNameUtf8, JobFate fate, std::string_view reasonUtf8,
                       JobCanceller by) {
  Text why = notPrinted(printerNameUtf8);
  switch (fate) {
    case JobFate::NoAnswer: return why + " " + shell(1260);
    case JobFate::Cancelled: return why + " " + cancelled(by) + inTheirWords(reasonUtf8);
    case JobFate::Aborted: return why + " " + shell(1262) + inTheirWords(reasonUtf8);
    default:
      if (reasonUtf8.empty()) return why;
      return why + " " + shell(1263) + inTheirWords(reasonUtf8);
  }
}

Message savedInstead(const Text& why, const fs::path& pdf) {
  return errorMessage(why + " " + shell(964) + fileInFolder(pdf) + ".");
}

Message lostToo(const Text& why, const fs::path& pdf) {
  return errorMessage(why + " " + shell(961) + quotedPath(pdf) + ".");
}

}  // namespace

Message printerFailedMessage(std::string_view printerNameUtf8) {
  return errorMessage(notPrinted(printerNameUtf8));
}

Message printerRefusedMessage(std::string_view printerNameUtf8, const fs::path& pdf, JobFate fate,
                              std::string_view reasonUtf8, JobCanceller by) {
  return savedInstead(notPrintedBecause(printerNameUtf8, fate, reasonUtf8, by), pdf);
}

Message printerAndPdfFailedMessage(std::string_view printerNameUtf8, const fs::path& pdf,
                                   JobFate fate, std::string_view reasonUtf8, JobCanceller by) {
  return lostToo(notPrintedBecause(printerNameUtf8, fate, reasonUtf8, by), pdf);
}

Message noAnswerMessage(const fs::path& pdf, bool written) {
  return written ? savedInstead(shell(1260), pdf) : lostToo(shell(1260), pdf);
}

Message printerWaitingMessage(std::string_view printerNameUtf8, JobFate fate,
                              std::string_view reasonUtf8) {
  const Text printer = lit(" \"") + val(cp1251::fromUtf8(printerNameUtf8)) + "\"";
  switch (fate) {
    case JobFate::Held:
      return {MessageKind::Information, shell(1264) + printer + ", " + shell(1265) + "."};
    case JobFate::Stopped:
      return warningMessage(shell(1264) + printer + ", " + shell(1266) + inTheirWords(reasonUtf8));
    case JobFate::Retrying:
      return warningMessage(shell(1264) + printer + ", " + shell(1267) + inTheirWords(reasonUtf8));
    default: return {MessageKind::Information, shell(965) + printer + "."};
  }
}

Text printWorkCaption() {
  return shell(1268);
}

Message pdfFailedMessage(const fs::path& path) {
  return errorMessage(shell(961) + quotedPath(path) + ".");
}

Message pdfNotShownMessage(const fs::path& path) {
  return {MessageKind::Information, shell(962) + fileInFolder(path) + "."};
}

namespace {

// The report as a PDF file in the Print folder, under a name that no file holds when it
// appears: never over a file put there meanwhile. The path it went to, or the path it could
// not be written to.
std::pair<fs::path, bool> keepReport(const std::string& pdf, ReportKind kind,
                                     std::string_view taskCode, const CivilDateTime& at,
                                     const fs::path& folder) {
  const std::string stem = pdfStem(kind, taskCode, at);
  const fs::path path = reportPdfPath(folder, kind, taskCode, at);
  try {
    AtomicFile file(path);
    file.write(pdf);
    constexpr int kMaxTries = 10000;
    return {file.commitUnderFreeName([&](int n) { return pdfName(folder, stem, n); }, kMaxTries),
            true};
  } catch (const FileError&) {
    return {path, false};
  }
}

// The report as a PDF file in the Print folder, shown with the desktop's viewer; `why` begins
// the message of a report that was meant for a printer.
std::optional<Message> writeReportFile(const std::string& pdf, ReportKind kind,
                                       std::string_view taskCode, const CivilDateTime& at,
                                       const ReportTargets& targets,
                                       const std::optional<Text>& why) {
  const auto [path, written] = keepReport(pdf, kind, taskCode, at, targets.folder());
  if (!written) return why ? lostToo(*why, path) : pdfFailedMessage(path);
  const bool shown = targets.showPdf && targets.showPdf(path);
  if (why) return savedInstead(*why, path);
  if (!shown) return pdfNotShownMessage(path);
  return std::nullopt;
}

// What the user is told of the report's job: nothing while it is on its way or once it is
// printed; that it waits, and why; or, once the print system gave it up, where the report
// went instead.
std::optional<Message> tell(const FollowedReport& report, const JobReport& heard,
                            const ReportTargets& targets) {
  if (heard.fate == JobFate::Printed) return std::nullopt;
  if (stillQueued(heard.fate))
    return printerWaitingMessage(report.printerUtf8, heard.fate, heard.reasonUtf8);
  return writeReportFile(
      report.pdf, report.kind, report.taskCode, report.printedAt, targets,
      notPrintedBecause(report.printerUtf8, heard.fate, heard.reasonUtf8, heard.cancelledBy));
}

}  // namespace

ReportDelivery deliverReport(const ReportJob& job, const ReportTargets& targets) {
  const QueueLookup lookup = targets.printers ? targets.printers->defaultQueue() : QueueLookup{};
  const std::optional<PrintQueue>& queue = lookup.queue;
  const PaperSize paper = queue && queue->paper ? *queue->paper : targets.filePaper;
  std::optional<std::string> pdf = job.renderPdf(paper);
  if (!queue) {
    if (!pdf)
      return {
          pdfFailedMessage(reportPdfPath(targets.folder(), job.kind, job.taskCode, targets.now))};
    // A print system that names no queue is no printer; one not reached or not answering is
    // said, as the user asked for a printer.
    std::optional<Text> why;
    if (!lookup.answered)
      why = shell(1260);
    else if (!lookup.reached)
      why = shell(1269);
    return {writeReportFile(*pdf, job.kind, job.taskCode, targets.now, targets, why)};
  }
  if (!pdf) return {printerFailedMessage(queue->name)};
  const JobReport sent = targets.printers->print(*queue, job.titleUtf8, *pdf);
  FollowedReport report{sent.job,     queue->name, job.kind,
                        job.taskCode, targets.now, std::move(*pdf)};
  ReportDelivery delivery{tell(report, sent, targets)};
  if (sent.job) delivery.followed = std::move(report);
  return delivery;
}

std::vector<Message> hearPrintNews(std::vector<FollowedReport>& followed,
                                   const std::vector<JobReport>& news,
                                   const ReportTargets& targets) {
  std::vector<Message> told;
  for (const JobReport& heard : news) {
    const auto report = std::find_if(followed.begin(), followed.end(),
                                     [&](const FollowedReport& r) { return r.job == heard.job; });
    if (report == followed.end()) continue;
    if (std::optional<Message> message = tell(*report, heard, targets))
      told.push_back(std::move(*message));
    // A Printed in the news is a job that was printed at last.
    if (heard.fate == JobFate::Printed || !stillQueued(heard.fate)) followed.erase(report);
  }
  return told;
}

std::optional<Message> keepUnendedReports(std::vector<FollowedReport>& followed,
                                          const ReportTargets& targets) {
  if (followed.empty()) return std::nullopt;
  const fs::path folder = targets.folder();
  Text kept, text;
  int written = 0;
  bool lost = false;
  for (const FollowedReport& report : followed) {
    const auto [path, ok] =
        keepReport(report.pdf, report.kind, report.taskCode, report.printedAt, folder);
    if (ok) {
      kept += lit(written++ ? "," : ":") + quotedPath(path.filename()) + " " + shell(1274) + " \"" +
              val(cp1251::fromUtf8(report.printerUtf8)) + "\"";
    } else {
      text += lit(text.empty() ? "" : " ") + pdfFailedMessage(path).text;
      lost = true;
    }
  }
  followed.clear();
  if (written > 0)
    text = (written == 1 ? shell(1275) : shell(1273)) + quotedPath(folder) + kept + "." +
           (lost ? " " : "") + text;
  return Message{lost ? MessageKind::Error : MessageKind::Warning, text};
}

}  // namespace qj
