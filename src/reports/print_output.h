#pragma once
// Where a printed report goes: the default print queue, on the paper the queue holds; with
// no queue, or when the queue does not take the job, a PDF file in the program's Print
// folder, shown with the desktop's viewer. And the messages of a report that could not be
// printed, written or shown.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/print_system.h"
#include "records/datetime.h"
#include "text/message.h"

namespace qj {

enum class ReportKind { Task, Solution };

// "qj_<code>_task_<yyyymmdd-hhmmss>.pdf" or "..._solution_..." in `folder`, with "_2", "_3"
// ... before the extension when a report of the same second is there already. Characters of
// the code that a file name should not carry become "_".
std::filesystem::path reportPdfPath(const std::filesystem::path& folder, ReportKind kind,
                                    std::string_view taskCode, const CivilDateTime& now);

// The report could not be drawn for the printer (printer name in UTF-8).
Message printerFailedMessage(std::string_view printerNameUtf8);
// The printer's queue did not take the job, or ended it without printing it (`fate`, in the
// print system's own words where it gave any): the report went to the file instead, or the
// file could not be written either.
// A cancelled job says who cancelled it, where the print system told.
Message printerRefusedMessage(std::string_view printerNameUtf8, const std::filesystem::path& pdf,
                              JobFate fate = JobFate::Refused, std::string_view reasonUtf8 = {},
                              JobCanceller by = JobCanceller::Unsaid);
Message printerAndPdfFailedMessage(std::string_view printerNameUtf8,
                                   const std::filesystem::path& pdf,
                                   JobFate fate = JobFate::Refused,
                                   std::string_view reasonUtf8 = {},
                                   JobCanceller by = JobCanceller::Unsaid);
// The print system did not answer when asked for its printer: the report went to the file,
// or the file could not be written either.
Message noAnswerMessage(const std::filesystem::path& pdf, bool written);
// The job waits in the printer's queue (`fate` tells why, in the print system's own words
// where it gave any).
Message printerWaitingMessage(std::string_view printerNameUtf8, JobFate fate = JobFate::Paused,
                              std::string_view reasonUtf8 = {});
// The caption shown while the print system is asked.
Text printWorkCaption();
// The PDF file could not be written.
Message pdfFailedMessage(const std::filesystem::path& path);
// The PDF file was written, but no program could show it.
Message pdfNotShownMessage(const std::filesystem::path& path);

// A report to print: what it is, and how it is drawn as a PDF document on a given paper
// (nothing when it cannot be drawn).
struct ReportJob {
  ReportKind kind = ReportKind::Task;
  std::string taskCode;
  std::string titleUtf8;
  std::function<std::optional<std::string>(const PaperSize&)> renderPdf;
};

// Where a report may go: the print system (none: no printer), the paper of a PDF file made
// without a printer, the Print folder (asked for only when a file is written) with the moment
// that names its files, and the desktop's viewer for a PDF file (false when nothing could show
// it).
struct ReportTargets {
  PrintSystem* printers = nullptr;
  PaperSize filePaper = kPaperA4;
  std::function<std::filesystem::path()> folder;
  CivilDateTime now;
  std::function<bool(const std::filesystem::path&)> showPdf;
};

// A report whose job the print system took and still has in its queue: the report is kept
// until the job's end is known, to be written to a file should the job not print.
struct FollowedReport {
  int job = 0;
  std::string printerUtf8;
  ReportKind kind = ReportKind::Task;
  std::string taskCode;
  CivilDateTime printedAt;
  std::string pdf;
};

struct ReportDelivery {
  std::optional<Message> message;          // what the user must be told now, if anything
  std::optional<FollowedReport> followed;  // the job still in the queue
};

// Prints the report on the default queue, laid out on the queue's paper, or writes it to a
// file when there is no queue or the queue does not take it.
ReportDelivery deliverReport(const ReportJob& job, const ReportTargets& targets);

// Hears the print system's news of the followed reports: a job that prints at last is
// forgotten; one that comes to wait is told; one cancelled or aborted becomes a file, as a
// refused one does, and is told. Returns what the user must be told, in order.
std::vector<Message> hearPrintNews(std::vector<FollowedReport>& followed,
                                   const std::vector<JobReport>& news,
                                   const ReportTargets& targets);

// The program closes while the print system still has the followed reports' jobs, whose end
// nobody will hear of: each report is kept as a file in the Print folder, not shown, and the
// one message names the files with their printers. Nothing when no report was followed.
std::optional<Message> keepUnendedReports(std::vector<FollowedReport>& followed,
                                          const ReportTargets& targets);

}  // namespace qj
