#pragma once
// The print system that the printed reports go to: its default queue with the paper it
// holds, and the fate of a job sent to it. A job counts as printed only when the print system
// took it and did not cancel, abort or fail it while we followed it; a job that the print
// system holds (a paused printer) waits, and is not lost.

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
};

enum class JobFate {
  Printed,  // printed, or in the queue on its way to the printer
  Waiting,  // held in the queue: the printer is paused or the job is on hold
  Refused,  // not taken, or cancelled, aborted or failed: nothing will come of it
};

class PrintSystem {
 public:
  virtual ~PrintSystem() = default;
  // The default queue of the user's or the system's settings; none when the print system
  // does not answer or names none.
  virtual std::optional<PrintQueue> defaultQueue() = 0;
  // Sends a PDF document as one job to the queue and follows it until its fate is known.
  virtual JobFate print(const PrintQueue& queue, const std::string& titleUtf8,
                        std::string_view pdf) = 0;
};

// What the print system says of a job: its IPP state (3 pending ... 9 completed), the
// reasons it gives, and whether its printer is stopped.
struct JobStatus {
  int state = 0;
  std::vector<std::string> reasons;
  bool printerStopped = false;
};
// The job's fate, or none while it is still on its way.
std::optional<JobFate> settledFate(const JobStatus& status);

// CUPS: the server of the user's settings, or the one at `server` (a host name or the path
// of a local socket). A job still on its way after `follow` is taken as printed.
std::unique_ptr<PrintSystem> cupsPrintSystem(
    const std::string& server = {},
    std::chrono::milliseconds follow = std::chrono::milliseconds(2000));

}  // namespace qj
