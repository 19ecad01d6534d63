// The print system on CUPS. A job is sent as a PDF document through the IPP calls of libcups,
// so that its id is known and its state can be asked for: the print system may take a job
// and still cancel or abort it, and a queue that refuses jobs refuses it at once.
//
// Every question goes over a connection of our own whose waits end at a deadline: libcups
// would otherwise wait for a server that took the connection but never answers for a minute
// and more. Jobs taken are followed on a thread of their own, which the owner's end stops.

#include <cups/cups.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/print_system.h"

namespace qj {
namespace {

using Clock = std::chrono::steady_clock;

// How long libcups waits for data before it asks whether to wait on.
constexpr double kWaitSlice = 0.25;

// The size of a paper that CUPS names in any of its ways ("iso_a4_210x297mm", "Letter",
// "na_letter_8.5x11in"); sizes are in hundredths of a millimetre.
std::optional<PaperSize> paperNamed(const char* name) {
  if (!name || !*name) return std::nullopt;
  const pwg_media_t* media = pwgMediaForPWG(name);
  if (!media) media = pwgMediaForLegacy(name);
  if (!media) media = pwgMediaForPPD(name);
  if (!media || media->width <= 0 || media->length <= 0) return std::nullopt;
  return PaperSize{std::min(media->width, media->length) / 100.0,
                   std::max(media->width, media->length) / 100.0};
}

// The media-size member of a "media-col" value.
std::optional<PaperSize> paperOfCollection(ipp_attribute_t* mediaCol) {
  ipp_t* col = mediaCol ? ippGetCollection(mediaCol, 0) : nullptr;
  ipp_attribute_t* size =
      col ? ippFindAttribute(col, "media-size", IPP_TAG_BEGIN_COLLECTION) : nullptr;
  ipp_t* dims = size ? ippGetCollection(size, 0) : nullptr;
  if (!dims) return std::nullopt;
  ipp_attribute_t* x = ippFindAttribute(dims, "x-dimension", IPP_TAG_INTEGER);
  ipp_attribute_t* y = ippFindAttribute(dims, "y-dimension", IPP_TAG_INTEGER);
  if (!x || !y || ippGetInteger(x, 0) <= 0 || ippGetInteger(y, 0) <= 0) return std::nullopt;
  const int w = ippGetInteger(x, 0), h = ippGetInteger(y, 0);
  return PaperSize{std::min(w, h) / 100.0, std::max(w, h) / 100.0};
}

// The paper the queue prints on unless told otherwise: the user's own choice of media for
// it, else the queue's default media.
std::optional<PaperSize> paperOf(http_t* http, cups_dest_t* dest) {
  for (const char* option : {"media", "PageSize"})
    if (auto paper = paperNamed(cupsGetOption(option, dest->num_options, dest->options)))
      return paper;
  cups_dinfo_t* info = cupsCopyDestInfo(http, dest);
  if (!info) return std::nullopt;
  std::optional<PaperSize> paper =
      paperOfCollection(cupsFindDestDefault(http, dest, info, "media-col"));
  if (!paper) {
    ipp_attribute_t* media = cupsFindDestDefault(http, dest, info, "media");
    if (media) paper = paperNamed(ippGetString(media, 0, nullptr));
  }
  cupsFreeDestInfo(info);
  return paper;
}

bool stopped(int& stop) {
  return std::atomic_ref<int>(stop).load() != 0;
}

// How often a wait for the resolver looks at the stop.
constexpr std::chrono::milliseconds kStopSlice{50};

// A name being resolved off the asking thread: the resolver may wait on a name server for
// far longer than any bound, and an answer that comes after the asker gave up is dropped.
struct Resolving {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false, abandoned = false;
  http_addrlist_t* addresses = nullptr;
};

// The addresses of a server, found before the deadline or the stop; none when the name has
// none. `timedOut` tells that the resolver did not answer in time.
http_addrlist_t* addressesOf(const std::string& host, int service, Clock::time_point deadline,
                             int& stop, bool& timedOut) {
  auto resolving = std::make_shared<Resolving>();
  std::thread([resolving, host, name = std::to_string(service)] {
    http_addrlist_t* addresses = httpAddrGetList(host.c_str(), AF_UNSPEC, name.c_str());
    const std::lock_guard lock(resolving->mutex);
    if (resolving->abandoned)
      httpAddrFreeList(addresses);
    else
      resolving->addresses = addresses;
    resolving->finished = true;
    resolving->done.notify_all();
  }).detach();
  std::unique_lock lock(resolving->mutex);
  while (!resolving->finished && !stopped(stop) && Clock::now() < deadline)
    resolving->done.wait_until(lock, std::min(deadline, Clock::now() + kStopSlice));
  if (resolving->finished) return std::exchange(resolving->addresses, nullptr);
  resolving->abandoned = true;
  timedOut = true;
  return nullptr;
}

// A connection whose every wait, the connecting included, ends at the deadline, or soon after
// its owner sets the stop.
class Link {
 public:
  Link(const std::string& server, std::chrono::milliseconds bound, int& stop)
      : deadline_(Clock::now() + bound), stop_(stop) {
    const std::string host = server.empty() ? std::string(cupsServer()) : server;
    const int service = ippPort();
    http_addrlist_t* addresses = addressesOf(host, service, deadline_, stop_, timedOut_);
    if (!addresses) return;
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now());
    http_ = httpConnect2(
        host.c_str(), service, addresses, AF_UNSPEC, cupsEncryption(), 1,
        static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 1)), &stop_);
    httpAddrFreeList(addresses);
    if (http_) {
      httpSetTimeout(http_, kWaitSlice, &Link::waitOn, this);
    } else {
      // A connection refused fails at once; one that never completes runs out the bound.
      timedOut_ = stopped(stop_) || Clock::now() >= deadline_;
    }
  }
  ~Link() {
    if (http_) httpClose(http_);
  }
  Link(const Link&) = delete;
  Link& operator=(const Link&) = delete;

  http_t* http() const { return http_; }
  // A wait ended at the deadline or the stop: the server did not answer in time.
  bool timedOut() const { return timedOut_; }

 private:
  static int waitOn(http_t*, void* data) {
    auto* link = static_cast<Link*>(data);
    if (stopped(link->stop_) || Clock::now() >= link->deadline_) {
      link->timedOut_ = true;
      return 0;
    }
    return 1;
  }

  http_t* http_ = nullptr;
  Clock::time_point deadline_;
  int& stop_;  // read by libcups while it connects, so a plain int
  bool timedOut_ = false;
};

ipp_t* request(ipp_op_t op, const char* uriName, const std::string& uri,
               std::initializer_list<const char*> wanted) {
  ipp_t* r = ippNewRequest(op);
  ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, uriName, nullptr, uri.c_str());
  ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
  ippAddStrings(r, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                static_cast<int>(wanted.size()), nullptr, wanted.begin());
  return r;
}

std::string text(ipp_t* response, const char* name) {
  ipp_attribute_t* a = ippFindAttribute(response, name, IPP_TAG_TEXT);
  const char* s = a ? ippGetString(a, 0, nullptr) : nullptr;
  return s ? s : "";
}

std::string printerUri(const std::string& name) {
  char uri[HTTP_MAX_URI];
  httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                   "/printers/%s", name.c_str());
  return uri;
}

// What the print system says of the job and its printer; none when it did not answer. A job
// it no longer knows has left the queue, as a printed one does, unless its printer is gone too:
// then it went with its printer, unprinted.
std::optional<JobStatus> jobStatus(http_t* http, const std::string& printer, int job) {
  JobStatus s;
  ipp_t* response = cupsDoRequest(
      http,
      request(IPP_OP_GET_JOB_ATTRIBUTES, "job-uri", "ipp://localhost/jobs/" + std::to_string(job),
              {"job-state", "job-state-reasons", "job-printer-state-message"}),
      "/");
  if (!response) return std::nullopt;
  const bool jobGone = ippGetStatusCode(response) == IPP_STATUS_ERROR_NOT_FOUND;
  if (jobGone) s.state = IPP_JSTATE_COMPLETED;
  if (ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
    s.state = ippGetInteger(state, 0);
  if (ipp_attribute_t* reasons = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD))
    for (int i = 0; i < ippGetCount(reasons); ++i)
      s.reasons.emplace_back(ippGetString(reasons, i, nullptr));
  s.jobMessage = text(response, "job-printer-state-message");
  ippDelete(response);

  const std::string uri = printerUri(printer);
  response = cupsDoRequest(http,
                           request(IPP_OP_GET_PRINTER_ATTRIBUTES, "printer-uri", uri,
                                   {"printer-state", "printer-state-message"}),
                           "/");
  if (!response) return std::nullopt;
  if (jobGone && ippGetStatusCode(response) == IPP_STATUS_ERROR_NOT_FOUND)
    s.state = IPP_JSTATE_CANCELED;
  ipp_attribute_t* state = ippFindAttribute(response, "printer-state", IPP_TAG_ENUM);
  s.printerStopped = state && ippGetInteger(state, 0) == IPP_PSTATE_STOPPED;
  s.printerMessage = text(response, "printer-state-message");
  ippDelete(response);
  if (!s.printerStopped) return s;

  // A printer that stopped after an error keeps the job that met it waiting with the reason
  // "printer-stopped"; one that someone paused has no such job.
  ipp_t* jobs = request(IPP_OP_GET_JOBS, "printer-uri", uri, {"job-state-reasons"});
  ippAddString(jobs, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
  response = cupsDoRequest(http, jobs, "/");
  if (!response) return std::nullopt;
  for (ipp_attribute_t* a = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD); a;
       a = ippFindNextAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD))
    for (int i = 0; i < ippGetCount(a); ++i)
      if (std::string_view(ippGetString(a, i, nullptr)) == "printer-stopped")
        s.printerFailed = true;
  ippDelete(response);
  return s;
}

// A new job on the queue, asked over our own connection: libcups's own call would first look
// the queue up over a connection of its own, which neither the bound nor the stop reaches. 0
// when the queue did not take it.
int createJob(http_t* http, const std::string& printer, const std::string& title) {
  const std::string uri = printerUri(printer);
  ipp_t* r = ippNewRequest(IPP_OP_CREATE_JOB);
  ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
  ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
  ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, title.c_str());
  ipp_t* response = cupsDoRequest(http, r, ("/printers/" + printer).c_str());
  ipp_attribute_t* id = ippFindAttribute(response, "job-id", IPP_TAG_INTEGER);
  const int job = id && cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE ? ippGetInteger(id, 0) : 0;
  ippDelete(response);
  return job;
}

bool sendDocument(http_t* http, const char* name, int job, const std::string& title,
                  std::string_view pdf) {
  if (cupsStartDocument(http, name, job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE) {
    cupsFinishDocument(http, name);
    return false;
  }
  constexpr size_t kChunk = 1 << 16;
  bool sent = true;
  for (size_t at = 0; sent && at < pdf.size(); at += kChunk) {
    const std::string_view chunk = pdf.substr(at, kChunk);
    sent = cupsWriteRequestData(http, chunk.data(), chunk.size()) == HTTP_STATUS_CONTINUE;
  }
  const ipp_status_t finished = cupsFinishDocument(http, name);
  return sent && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// The jobs followed, what was heard of them, and the follower's stop: shared by the print
// system and its follower, so that a follower still stuck in a question of libcups when the
// print system ends may be left to end by itself.
struct Following {
  Following(std::string server, std::chrono::milliseconds answer, std::chrono::milliseconds poll)
      : server(std::move(server)), answer(answer), poll(poll) {}

  struct Followed {
    std::string printer;
    JobFate told;  // the last fate the owner heard of
  };

  void follow() {
    std::unique_lock lock(mutex);
    while (!stopped(stop)) {
      if (followed.empty()) {
        wake.wait(lock, [&] { return stopped(stop) || !followed.empty(); });
        continue;
      }
      const std::map<int, Followed> asked = followed;
      lock.unlock();
      std::map<int, JobStatus> answers;
      {
        const Link link(server, answer, stop);
        for (const auto& [job, f] : asked)
          if (link.http() && !link.timedOut())
            if (auto s = jobStatus(link.http(), f.printer, job)) answers[job] = std::move(*s);
      }
      lock.lock();
      for (const auto& [job, status] : answers) hear(job, status);
      wake.wait_for(lock, poll, [&] { return stopped(stop); });
    }
    running = false;
    wake.notify_all();
  }

  // Under the lock: a job's state read now.
  void hear(int job, const JobStatus& status) {
    const auto f = followed.find(job);
    if (f == followed.end()) return;
    const std::optional<JobFate> fate = settledFate(status);
    if (!fate) return;  // on its way
    // A settled Printed is a completed job, never one on its way.
    const bool ended = *fate == JobFate::Printed || !stillQueued(*fate);
    if (!ended && *fate == f->second.told) return;
    news.push_back({job, *fate, statusReason(status), cancellerOf(status)});
    if (ended)
      followed.erase(f);
    else
      f->second.told = *fate;
  }

  const std::string server;
  const std::chrono::milliseconds answer, poll;
  int stop = 0;  // read through std::atomic_ref, and by libcups while it connects
  std::mutex mutex;
  std::condition_variable wake;
  std::map<int, Followed> followed;
  std::vector<JobReport> news;
  bool running = false;  // a follower thread has started and not ended
};

// How long the end of the print system waits for its follower: a question under way hears the
// stop within a quarter of a second; past this, the follower is left to end by itself.
constexpr std::chrono::milliseconds kMostStopWait{1000};

class CupsPrintSystem : public PrintSystem {
 public:
  CupsPrintSystem(std::string server, std::chrono::milliseconds answer,
                  std::chrono::milliseconds poll)
      : shared_(std::make_shared<Following>(std::move(server), answer, poll)) {}
  ~CupsPrintSystem() override {
    std::unique_lock lock(shared_->mutex);
    std::atomic_ref<int>(shared_->stop).store(1);
    shared_->wake.notify_all();
    shared_->wake.wait_for(lock, kMostStopWait, [&] { return !shared_->running; });
  }
  CupsPrintSystem(const CupsPrintSystem&) = delete;
  CupsPrintSystem& operator=(const CupsPrintSystem&) = delete;

  QueueLookup defaultQueue() override {
    const Link link(shared_->server, shared_->answer, shared_->stop);
    if (!link.http()) {
      // Refused at once: nothing listens there. Not completed in time: something does, and
      // does not answer.
      QueueLookup none;
      none.answered = !link.timedOut();
      none.reached = link.timedOut();
      return none;
    }
    cups_dest_t* dest = cupsGetNamedDest(link.http(), nullptr, nullptr);
    if (!dest) return {std::nullopt, !link.timedOut()};
    PrintQueue queue{dest->name, paperOf(link.http(), dest)};
    cupsFreeDests(1, dest);
    if (link.timedOut()) return {std::nullopt, false};
    return {std::move(queue)};
  }

  JobReport print(const PrintQueue& queue, const std::string& titleUtf8,
                  std::string_view pdf) override {
    const Link link(shared_->server, shared_->answer, shared_->stop);
    if (!link.http()) return {0, link.timedOut() ? JobFate::NoAnswer : JobFate::Refused};
    const char* name = queue.name.c_str();
    const auto notTaken = [&] {
      return JobReport{0, link.timedOut() ? JobFate::NoAnswer : JobFate::Refused,
                       link.timedOut() ? "" : cupsLastErrorString()};
    };
    const int job = createJob(link.http(), queue.name, titleUtf8);
    if (job <= 0) return notTaken();
    if (!sendDocument(link.http(), name, job, titleUtf8, pdf)) {
      const JobReport report = notTaken();
      cupsCancelJob2(link.http(), name, job, 0);
      return report;
    }
    // Taken: a state that cannot be read now is read by the follower.
    const std::optional<JobStatus> status = jobStatus(link.http(), queue.name, job);
    JobReport report{job};
    if (status)
      report = {job, settledFate(*status).value_or(JobFate::Printed), statusReason(*status),
                cancellerOf(*status)};
    if (!stillQueued(report.fate)) {
      report.job = 0;
      return report;
    }
    follow(queue.name, report);
    return report;
  }

  std::vector<JobReport> news() override {
    const std::lock_guard lock(shared_->mutex);
    return std::exchange(shared_->news, {});
  }

 private:
  void follow(const std::string& printer, const JobReport& report) {
    {
      const std::lock_guard lock(shared_->mutex);
      shared_->followed[report.job] = {printer, report.fate};
      if (!shared_->running) {
        shared_->running = true;
        std::thread([shared = shared_] { shared->follow(); }).detach();
      }
    }
    shared_->wake.notify_all();
  }

  const std::shared_ptr<Following> shared_;
};

}  // namespace

std::optional<JobFate> settledFate(const JobStatus& status) {
  const auto says = [&](std::string_view reason) {
    return std::find(status.reasons.begin(), status.reasons.end(), reason) != status.reasons.end();
  };
  // The scheduler's own word for a printer paused without a reason.
  const bool printerSaysWhy = !status.printerMessage.empty() && status.printerMessage != "Paused";
  const auto waiting = [&] {
    return status.printerFailed || says("printer-stopped") || printerSaysWhy ? JobFate::Stopped
                                                                             : JobFate::Paused;
  };
  switch (status.state) {
    case IPP_JSTATE_COMPLETED:
      return says("job-completed-with-errors") ? JobFate::Aborted : JobFate::Printed;
    case IPP_JSTATE_CANCELED: return JobFate::Cancelled;
    case IPP_JSTATE_ABORTED: return JobFate::Aborted;
    case IPP_JSTATE_HELD:
      // The print system holds a job it could not send until its next attempt.
      return says("resources-are-not-ready") ? JobFate::Retrying : JobFate::Held;
    case IPP_JSTATE_STOPPED: return waiting();
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_PROCESSING:
      if (status.printerStopped || says("printer-stopped")) return waiting();
      return std::nullopt;
    default: return std::nullopt;
  }
}

std::string statusReason(const JobStatus& status) {
  if (status.state == IPP_JSTATE_CANCELED || !status.jobMessage.empty()) return status.jobMessage;
  return status.printerMessage;
}

JobCanceller cancellerOf(const JobStatus& status) {
  if (status.state != IPP_JSTATE_CANCELED) return JobCanceller::Unsaid;
  for (const std::string& reason : status.reasons) {
    if (reason == "job-canceled-by-user") return JobCanceller::User;
    if (reason == "job-canceled-by-operator") return JobCanceller::Operator;
    if (reason == "job-canceled-at-device") return JobCanceller::Printer;
  }
  return JobCanceller::Unsaid;
}

std::unique_ptr<PrintSystem> cupsPrintSystem(const std::string& server,
                                             std::chrono::milliseconds answer,
                                             std::chrono::milliseconds poll) {
  return std::make_unique<CupsPrintSystem>(server, answer, poll);
}

}  // namespace qj
