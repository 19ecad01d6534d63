#pragma once
// The print system that the printed reports go to: its default queue with the paper it
// holds, and the fate of a job sent to it. Sending a job returns as soon as the print system
// has taken it or not; a job it took is followed from then on without anyone waiting for it,
// until it is printed, cancelled or aborted, and what happens to it is handed out as news.
// No call waits for a print system that does not answer longer than a short bound.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

// A sheet's size in millimetres, portrait.
struct PaperSize {
  double widthMm = 0, heightMm = 0;
  bool operator==(const PaperSize&) const = default;
};
inline constexpr PaperSize kPaperA4{210, 297};
inline constexpr PaperSize kPaperLetter{215.9, 279.4};

struct PrintQueue {
  std::string name;                // UTF-8
  std::optional<PaperSize> paper;  // the queue's default paper, when it names one
  bool operator==(const PrintQueue&) const = default;
};

// The default queue of the user's or the system's settings. No queue: the print system names
// none, or none was reached (nothing took the connection), or it did not answer in time (it
// took the question and gave no answer, or the connection never completed).
struct QueueLookup {
  std::optional<PrintQueue> queue;
  bool answered = true;
  bool reached = true;
};

enum class JobFate {
  Printed,    // printed, or in the queue on its way to the printer
  Paused,     // waits in the queue of a printer that someone paused
  Held,       // held in the queue until someone releases it
  Stopped,    // waits in the queue of a printer that stopped after an error
  Retrying,   // waits in the queue to be sent again after an attempt failed
  Refused,    // not taken
  Cancelled,  // taken, then cancelled
  Aborted,    // taken, then aborted or failed
  NoAnswer,   // not taken: the print system gave no answer in time
};

// A job still in the queue, whose end is yet to come.
constexpr bool stillQueued(JobFate fate) {
  return fate == JobFate::Printed || fate == JobFate::Paused || fate == JobFate::Held ||
         fate == JobFate::Stopped || fate == JobFate::Retrying;
}

// Who cancelled a job, where the print system says so.
enum class JobCanceller { Unsaid, User, Operator, Printer };

// What the print system said of a job: its fate, in its own words where it gave any, and the
// job's number while it is followed (0: it is not).
struct JobReport {
  int job = 0;
  JobFate fate = JobFate::Printed;
  std::string reasonUtf8;
  JobCanceller cancelledBy = JobCanceller::Unsaid;
  bool operator==(const JobReport&) const = default;
};

class PrintSystem {
 public:
  virtual ~PrintSystem() = default;
  virtual QueueLookup defaultQueue() = 0;
  // Sends a PDF document as one job to the queue. A job still queued is followed from then on.
  virtual JobReport print(const PrintQueue& queue, const std::string& titleUtf8,
                          std::string_view pdf) = 0;
  // What became of the followed jobs since the last call, without waiting for the print
  // system: a job that comes to wait for another reason than before, and its end. A job is
  // followed no more once its end is told; a followed job printed at last is told as Printed.
  virtual std::vector<JobReport> news() = 0;
};

// What the print system says of a job and of its printer: the job's IPP state (3 pending
// ... 9 completed) and reasons, and the words of the job's printer on it; whether the
// printer is stopped, and whether it stopped after an error (a job of it waits because of
// that), with the printer's own words. A stopped printer that says why, in other words than
// the scheduler's bare "Paused", is stopped for that reason even when no job waits because of it.
struct JobStatus {
  int state = 0;
  std::vector<std::string> reasons;
  bool printerStopped = false;
  bool printerFailed = false;
  std::string jobMessage, printerMessage;
};
// The job's fate, or none while it is on its way.
std::optional<JobFate> settledFate(const JobStatus& status);
// The print system's own words on the job: the job's printer's on it, else the printer's; for
// a cancelled job only its own, as its printer's present state says nothing of it.
std::string statusReason(const JobStatus& status);
// Who cancelled the job, by its reasons.
JobCanceller cancellerOf(const JobStatus& status);

// CUPS: the server of the user's settings, or the one at `server` (a host name or the path
// of a local socket). A question to it that is not answered within `answer`, the finding of
// its address and the connection included, counts as not answered; a followed job is asked
// about every `poll`. Its end waits no more than about a second for a question under way.
std::unique_ptr<PrintSystem> cupsPrintSystem(
    const std::string& server = {},
    std::chrono::milliseconds answer = std::chrono::milliseconds(3000),
    std::chrono::milliseconds poll = std::chrono::milliseconds(500));

}  // namespace qj
