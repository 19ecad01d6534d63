// The streaming XML scanner against itself: a document fed in pieces of any size gives the
// same elements, attributes and texts as the document fed whole.

#include "office/xml_scanner.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace qj::office {
namespace {

// Every event as one line of text.
struct Recorder {
  std::string events;
  // Appended piece by piece: GCC 12 warns falsely of an overlapping copy in "<" + name.
  void start(std::string_view name, const XmlAttributes& attributes) {
    events.append("<").append(name);
    for (const auto& a : attributes.list())
      events.append(" ").append(a.name).append("=").append(XmlAttributes::decode(a.raw));
    events.append(">");
  }
  void end(std::string_view name) { events.append("</").append(name).append(">"); }
  void text(std::string_view t) { events.append("[").append(t).append("]"); }
};

std::string scanned(std::string_view doc, size_t piece) {
  Recorder recorder;
  XmlScanner<Recorder> scanner(recorder);
  for (size_t at = 0; at < doc.size(); at += piece) {
    const size_t n = std::min(piece, doc.size() - at);
    std::memcpy(scanner.space(n), doc.data() + at, n);
    scanner.commit(n);
  }
  scanner.finish();
  return recorder.events;
}

TEST(XmlScanner, PiecesOfAnySizeGiveTheSameEvents) {
  const std::string doc =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<!-- a > comment -->"
      "<x:root xmlns:x=\"u\" a='1 > 0' b=\"&lt;&#x44;&#1103;\tz\">"
      "<x:c r=\"A1\"/>text &amp; more<![CDATA[ <raw> ]]>\r\nend<x:d>"
      "<?pi stays out?></x:d><a-name-longer-than-sixteen-bytes k = \"v\"\t>t"
      "</a-name-longer-than-sixteen-bytes\n></x:root >\n";
  const std::string whole = scanned(doc, doc.size());
  EXPECT_EQ(whole,
            "<root x=u a=1 > 0 b=<D\xD1\x8F z><c r=A1></c>[text & more][ <raw> ][\nend]"
            "<d></d><a-name-longer-than-sixteen-bytes k=v>[t]</a-name-longer-than-sixteen-bytes>"
            "</root>");
  for (size_t piece = 1; piece < 40; ++piece) EXPECT_EQ(scanned(doc, piece), whole) << piece;
}

TEST(XmlScanner, RefusesWhatIsNotWellFormed) {
  // Beyond the damaged parts the reader refuses: names that only nearly match, attributes
  // without a quoted value, references cut short, text outside the root.
  const char* bad[] = {"",
                       "text only",
                       "<a></ab>",
                       "<ab></a>",
                       "<a-name-longer-than-sixteen></a-name-longer-than-sixteeN>",
                       "<a b></a>",
                       "<a b=c></a>",
                       "<a b=\"<\"></a>",
                       "<a>&#0;</a>",
                       "<a>&amp</a>",
                       "<a/>tail",
                       "<a><!-- open </a>"};
  for (const char* doc : bad) EXPECT_THROW(scanned(doc, 3), XmlError) << doc;
}

}  // namespace
}  // namespace qj::office
