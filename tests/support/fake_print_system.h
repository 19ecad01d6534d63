#pragma once
// A print system that the test plays: a default queue or none, whether it is reached and
// answers, the fate it
// gives every job (a job still queued is numbered as the jobs it was given are counted), the
// jobs it was given, and the news it has for the next question.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/print_system.h"

namespace qj::test {

class FakePrintSystem : public PrintSystem {
 public:
  struct Job {
    std::string queue, title, pdf;
  };

  QueueLookup defaultQueue() override { return {queue, answered, reached}; }
  JobReport print(const PrintQueue& q, const std::string& title, std::string_view pdf) override {
    jobs.push_back({q.name, title, std::string(pdf)});
    return {stillQueued(fate) ? static_cast<int>(jobs.size()) : 0, fate, reason};
  }
  std::vector<JobReport> news() override { return std::exchange(heard, {}); }

  std::optional<PrintQueue> queue;
  bool answered = true;
  bool reached = true;
  JobFate fate = JobFate::Printed;
  std::string reason;
  std::vector<Job> jobs;
  std::vector<JobReport> heard;
};

}  // namespace qj::test
