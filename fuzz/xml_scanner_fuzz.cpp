// The XML scanner on its own: a part fed whole and fed in pieces (of a size the input's first
// byte gives) must give the same elements, attributes and texts, or the same refusal. Room is
// asked for once more before the end, as the reader does.

#include <cstring>

#include "fuzz_support.h"
#include "office/xml_scanner.h"

namespace {

using qj::office::XmlAttributes;

// Every event as text; texts that come in pieces are joined.
struct Recorder {
  std::string events;
  bool inText = false;
  void start(std::string_view name, const XmlAttributes& attributes) {
    inText = false;
    events.append("<").append(name);
    for (const auto& a : attributes.list())
      events.append(" ").append(a.name).append("=").append(XmlAttributes::decode(a.raw));
    events.append(">");
  }
  void end(std::string_view name) {
    inText = false;
    events.append("</").append(name).append(">");
  }
  void text(std::string_view t) {
    if (!inText) events.append("|");
    inText = true;
    events.append(t);
  }
};

std::string scanned(std::string_view doc, size_t piece) {
  Recorder recorder;
  qj::office::XmlScanner<Recorder> scanner(recorder);
  try {
    for (size_t at = 0; at < doc.size(); at += piece) {
      const size_t n = std::min(piece, doc.size() - at);
      std::memcpy(scanner.space(n), doc.data() + at, n);
      scanner.commit(n);
    }
    scanner.space(piece);
    scanner.finish();
  } catch (const qj::office::XmlError&) {
    return "refused";
  }
  return recorder.events;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = 1 + data[0] % 64;
  const std::string_view doc(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::string whole = scanned(doc, doc.size() + 1);
  qj::fuzz::require(scanned(doc, piece) == whole, "pieces give other events than the whole");
  return 0;
}
