// The print system on CUPS. A job is sent as a PDF document through the IPP calls of libcups,
// so that its id is known and its state can be asked for: the print system may take a job
// and still cancel or abort it, and a queue that refuses jobs refuses it at once.

#include <cups/cups.h>

#include <algorithm>
#include <thread>

#include "platform/print_system.h"

namespace qj {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollInterval = std::chrono::milliseconds(100);

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

class CupsPrintSystem : public PrintSystem {
 public:
  CupsPrintSystem(const std::string& server, std::chrono::milliseconds follow) : follow_(follow) {
    if (!server.empty())
      http_ = httpConnect2(server.c_str(), ippPort(), nullptr, AF_UNSPEC,
                           HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr);
    ownServer_ = !server.empty();
  }
  ~CupsPrintSystem() override {
    if (http_) httpClose(http_);
  }
  CupsPrintSystem(const CupsPrintSystem&) = delete;
  CupsPrintSystem& operator=(const CupsPrintSystem&) = delete;

  std::optional<PrintQueue> defaultQueue() override {
    if (ownServer_ && !http_) return std::nullopt;
    cups_dest_t* dest = cupsGetNamedDest(http_, nullptr, nullptr);
    if (!dest) return std::nullopt;
    PrintQueue queue{dest->name, paperOf(dest)};
    cupsFreeDests(1, dest);
    return queue;
  }

  JobFate print(const PrintQueue& queue, const std::string& titleUtf8,
                std::string_view pdf) override {
    if (ownServer_ && !http_) return JobFate::Refused;
    const char* name = queue.name.c_str();
    const int job = cupsCreateJob(http_, name, titleUtf8.c_str(), 0, nullptr);
    if (job <= 0) return JobFate::Refused;
    if (!sendDocument(name, job, titleUtf8, pdf)) {
      cupsCancelJob2(http_, name, job, 0);
      return JobFate::Refused;
    }
    return follow(name, job);
  }

 private:
  // The paper the queue prints on unless told otherwise: the user's own choice of media for
  // it, else the queue's default media.
  std::optional<PaperSize> paperOf(cups_dest_t* dest) {
    for (const char* option : {"media", "PageSize"})
      if (auto paper = paperNamed(cupsGetOption(option, dest->num_options, dest->options)))
        return paper;
    cups_dinfo_t* info = cupsCopyDestInfo(http_, dest);
    if (!info) return std::nullopt;
    std::optional<PaperSize> paper =
        paperOfCollection(cupsFindDestDefault(http_, dest, info, "media-col"));
    if (!paper) {
      ipp_attribute_t* media = cupsFindDestDefault(http_, dest, info, "media");
      if (media) paper = paperNamed(ippGetString(media, 0, nullptr));
    }
    cupsFreeDestInfo(info);
    return paper;
  }

  bool sendDocument(const char* name, int job, const std::string& title, std::string_view pdf) {
    if (cupsStartDocument(http_, name, job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
        HTTP_STATUS_CONTINUE) {
      cupsFinishDocument(http_, name);
      return false;
    }
    constexpr size_t kChunk = 1 << 16;
    bool sent = true;
    for (size_t at = 0; sent && at < pdf.size(); at += kChunk) {
      const std::string_view chunk = pdf.substr(at, kChunk);
      sent = cupsWriteRequestData(http_, chunk.data(), chunk.size()) == HTTP_STATUS_CONTINUE;
    }
    const ipp_status_t finished = cupsFinishDocument(http_, name);
    return sent && finished <= IPP_STATUS_OK_EVENTS_COMPLETE;
  }

  JobFate follow(const char* name, int job) {
    const Clock::time_point until = Clock::now() + follow_;
    for (;;) {
      if (const std::optional<JobFate> fate = settledFate(status(name, job))) return *fate;
      if (Clock::now() >= until) return JobFate::Printed;
      std::this_thread::sleep_for(kPollInterval);
    }
  }

  JobStatus status(const char* name, int job) {
    JobStatus s;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    const std::string uri = "ipp://localhost/jobs/" + std::to_string(job);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    static const char* const wanted[] = {"job-state", "job-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr,
                  wanted);
    if (ipp_t* response = cupsDoRequest(http_, request, "/")) {
      if (ipp_attribute_t* state = ippFindAttribute(response, "job-state", IPP_TAG_ENUM))
        s.state = ippGetInteger(state, 0);
      if (ipp_attribute_t* reasons =
              ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD))
        for (int i = 0; i < ippGetCount(reasons); ++i)
          s.reasons.emplace_back(ippGetString(reasons, i, nullptr));
      ippDelete(response);
    }
    if (cups_dest_t* dest = cupsGetNamedDest(http_, name, nullptr)) {
      const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
      s.printerStopped = state && std::string_view(state) == "5";
      cupsFreeDests(1, dest);
    }
    return s;
  }

  http_t* http_ = nullptr;  // none: the server of the user's settings
  bool ownServer_ = false;
  std::chrono::milliseconds follow_;
};

}  // namespace

std::optional<JobFate> settledFate(const JobStatus& status) {
  const auto says = [&](std::string_view reason) {
    return std::find(status.reasons.begin(), status.reasons.end(), reason) != status.reasons.end();
  };
  switch (status.state) {
    case IPP_JSTATE_COMPLETED:
      return says("job-completed-with-errors") ? JobFate::Refused : JobFate::Printed;
    case IPP_JSTATE_CANCELED:
    case IPP_JSTATE_ABORTED: return JobFate::Refused;
    case IPP_JSTATE_HELD:
    case IPP_JSTATE_STOPPED: return JobFate::Waiting;
    case IPP_JSTATE_PENDING:
    case IPP_JSTATE_PROCESSING:
      if (status.printerStopped || says("printer-stopped")) return JobFate::Waiting;
      return std::nullopt;
    default: return std::nullopt;
  }
}

std::unique_ptr<PrintSystem> cupsPrintSystem(const std::string& server,
                                             std::chrono::milliseconds follow) {
  return std::make_unique<CupsPrintSystem>(server, follow);
}

}  // namespace qj
