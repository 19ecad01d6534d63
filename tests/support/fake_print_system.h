#pragma once
// A print system that the test plays: a default queue or none, the fate it gives every job,
// and the jobs it was given.

#include <optional>
#include <string>
#include <vector>

#include "platform/print_system.h"

namespace qj::test {

class FakePrintSystem : public PrintSystem {
 public:
  struct Job {
    std::string queue, title, pdf;
  };

  std::optional<PrintQueue> defaultQueue() override { return queue; }
  JobFate print(const PrintQueue& q, const std::string& title, std::string_view pdf) override {
    jobs.push_back({q.name, title, std::string(pdf)});
    return fate;
  }

  std::optional<PrintQueue> queue;
  JobFate fate = JobFate::Printed;
  std::vector<Job> jobs;
};

}  // namespace qj::test
