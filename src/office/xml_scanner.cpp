#include "office/xml_scanner.h"

#include <charconv>

namespace qj::office {
namespace {

void appendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The reference after an '&' (without it and its ';').
void appendReference(std::string& out, std::string_view ref) {
  if (ref == "lt") {
    out += '<';
  } else if (ref == "gt") {
    out += '>';
  } else if (ref == "amp") {
    out += '&';
  } else if (ref == "quot") {
    out += '"';
  } else if (ref == "apos") {
    out += '\'';
  } else if (ref.size() >= 2 && ref[0] == '#') {
    const bool hex = ref[1] == 'x';
    const std::string_view digits = ref.substr(hex ? 2 : 1);
    uint32_t code = 0;
    const auto [end, ec] =
        std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || code == 0 ||
        code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
      throw XmlError("a character reference names no character: &" + std::string(ref) + ";");
    appendUtf8(out, code);
  } else {
    throw XmlError("an unknown entity: &" + std::string(ref.substr(0, 16)) + ";");
  }
}

}  // namespace

void appendDecodedXml(std::string& out, std::string_view raw, bool attribute) {
  for (size_t i = 0; i < raw.size(); ++i) {
    const char c = raw[i];
    if (c == '&') {
      const size_t semi = raw.find(';', i + 1);
      if (semi == std::string_view::npos || semi - i > 12)
        throw XmlError("a reference without its ';'");
      appendReference(out, raw.substr(i + 1, semi - i - 1));
      i = semi;
    } else if (c == '\r') {
      // "\r\n" and a lone "\r" are one line end.
      if (i + 1 < raw.size() && raw[i + 1] == '\n') ++i;
      out += attribute ? ' ' : '\n';
    } else if (attribute && (c == '\n' || c == '\t')) {
      out += ' ';
    } else {
      out += c;
    }
  }
}

}  // namespace qj::office
