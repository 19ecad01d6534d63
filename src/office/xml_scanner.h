#pragma once
// A streaming XML scanner for the parts of a workbook file: the bytes come in pieces as
// they are unpacked, and each element's start, end and text go to a handler as soon as they
// are complete, so that memory grows with the piece being scanned, never with the part.
//
// It checks what a reader of these files needs to trust: one root element, tags that nest
// and match, attribute syntax, character and entity references. Names are handed over
// without their namespace prefix. Texts and attribute values are decoded (references, line
// ends) before the handler sees them. A document type declaration is refused: no workbook
// part has one, and it is the door to entity expansion. Parts must be UTF-8.
//
// The handler has three members:
//   void start(std::string_view name, const XmlAttributes& attributes);
//   void end(std::string_view name);
//   void text(std::string_view text);  // may come in several pieces within one element
// An empty-element tag gives start and end. Every view is valid during the call only.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qj::office {

// A part that is not well-formed; what() says where it went wrong.
class XmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Appends `raw` (text or an attribute value) to `out` with its references replaced and its
// line ends made "\n"; attribute values also get blanks for tabs and line ends.
void appendDecodedXml(std::string& out, std::string_view raw, bool attribute);

namespace xml {
inline bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
// Classes of bytes: blanks, and the bytes that end a name (blanks, '/', '>', '=', '<').
struct ByteClasses {
  uint8_t of[256] = {};
  static constexpr uint8_t kBlank = 1, kNameStop = 2;
  constexpr ByteClasses() {
    for (unsigned char c : {' ', '\t', '\n', '\r'}) of[c] = kBlank | kNameStop;
    for (unsigned char c : {'/', '>', '=', '<'}) of[c] = kNameStop;
  }
};
inline constexpr ByteClasses kBytes;
inline bool endsName(char c) {
  return kBytes.of[static_cast<unsigned char>(c)] & ByteClasses::kNameStop;
}
inline bool isBlank(char c) {
  return kBytes.of[static_cast<unsigned char>(c)] & ByteClasses::kBlank;
}
// A name against a literal: inlined to a compare or two.
template <size_t N>
inline bool is(std::string_view name, const char (&literal)[N]) {
  return name.size() == N - 1 && std::memcmp(name.data(), literal, N - 1) == 0;
}
// Names compared the quick way: most differ in their length or first byte.
inline bool same(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i] != b[i]) return false;
  return true;
}
// The first `c` in [from, to), or to. Markup and cell texts are short: a plain loop finds the
// byte before a library call would have started.
inline const char* findByte(const char* from, const char* to, char c) {
  const char* stop = to - from > 32 ? from + 32 : to;
  for (const char* p = from; p < stop; ++p)
    if (*p == c) return p;
  if (stop == to) return to;
  const void* found = std::memchr(stop, c, static_cast<size_t>(to - stop));
  return found ? static_cast<const char*>(found) : to;
}
inline std::string_view localName(std::string_view name) {
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}
}  // namespace xml

class XmlAttributes {
 public:
  struct Attribute {
    std::string_view name;  // without its prefix
    std::string_view raw;   // as it stands between the quotes
  };

  // The decoded value of the attribute of that (local) name, or nothing.
  std::optional<std::string> value(std::string_view name) const {
    for (const Attribute& a : list_)
      if (xml::same(a.name, name)) return decode(a.raw);
    return std::nullopt;
  }
  // The raw value; for values that hold no reference or line end by their syntax (numbers,
  // cell references, type letters) this is the value.
  std::optional<std::string_view> raw(std::string_view name) const {
    for (const Attribute& a : list_)
      if (xml::same(a.name, name)) return a.raw;
    return std::nullopt;
  }
  const std::vector<Attribute>& list() const { return list_; }

  static std::string decode(std::string_view raw) {
    std::string out;
    appendDecodedXml(out, raw, true);
    return out;
  }

 private:
  template <typename>
  friend class XmlScanner;
  std::vector<Attribute> list_;
};

template <typename Handler>
class XmlScanner {
 public:
  explicit XmlScanner(Handler& handler) : handler_(handler) {}

  // Room for `n` more bytes at the end of what is buffered; write them there, then commit.
  char* space(size_t n) {
    if (pos_ > 0 && (pos_ * 2 >= end_ || end_ + n > buf_.size())) {
      std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
      wanted_ -= pos_;
      end_ -= pos_;
      pos_ = 0;
    }
    if (end_ + n > buf_.size()) buf_.resize(std::max(end_ + n, buf_.size() * 2));
    return buf_.data() + end_;
  }
  // `n` bytes were written at space(): every token they complete is scanned.
  void commit(size_t n) {
    end_ += n;
    if (end_ >= wanted_) scan(false);
  }
  // The end of the part: what is left must complete the document.
  void finish() {
    scan(true);
    if (!rootSeen_) throw XmlError("the part holds no element");
    if (!starts_.empty())
      throw XmlError("the element <" + names_.substr(starts_.back().start) + "> is not closed");
  }

 private:
  // A token that runs past the bytes buffered: scanned again when the buffer has grown to
  // twice its length, so that a long token costs linear time.
  void later(size_t tokenStart) {
    pos_ = tokenStart;
    wanted_ = end_ + (end_ - tokenStart) + 1;
  }

  void scan(bool last) {
    const char* const base = buf_.data();
    size_t p = pos_;
    if (!started_) {
      if (end_ - p < 3 && !last) return later(p);
      if (end_ - p >= 2 &&
          ((base[p] == '\xFE' && base[p + 1] == '\xFF') ||
           (base[p] == '\xFF' && base[p + 1] == '\xFE') || base[p] == '\0' || base[p + 1] == '\0'))
        throw XmlError("the part is not UTF-8");
      if (end_ - p >= 3 && std::memcmp(base + p, "\xEF\xBB\xBF", 3) == 0) p += 3;
      started_ = true;
    }
    while (p < end_) {
      if (base[p] != '<') {
        const size_t stop = static_cast<size_t>(xml::findByte(base + p, base + end_, '<') - base);
        if (stop == end_ && !last) return later(p);
        text(std::string_view(base + p, stop - p));
        p = stop;
        continue;
      }
      const size_t next = tag(base, p, last);
      if (next == 0) return later(p);
      p = next;
    }
    pos_ = p;
    wanted_ = end_ + 1;
  }

  void text(std::string_view raw) {
    if (starts_.empty()) {
      for (char c : raw)
        if (!xml::isSpace(c)) throw XmlError("text stands outside the root element");
      return;
    }
    bool plain = true;
    for (char c : raw) plain &= c != '&' && c != '\r';
    if (plain) {
      handler_.text(raw);
      return;
    }
    decoded_.clear();
    appendDecodedXml(decoded_, raw, false);
    handler_.text(decoded_);
  }

  // Scans the markup at p; the position after it, or 0 when it is not complete yet.
  size_t tag(const char* base, size_t p, bool last) {
    const size_t left = end_ - p;
    if (left < 2) return need(last);
    const char c = base[p + 1];
    if (c == '/') return endTag(base, p, last);
    if (c == '?') return skipTo(base, p + 2, "?>", last);
    if (c == '!') {
      if (left >= 4 && std::memcmp(base + p, "<!--", 4) == 0)
        return skipTo(base, p + 4, "-->", last);
      if (left >= 9 && std::memcmp(base + p, "<![CDATA[", 9) == 0) {
        const size_t close = find(base, p + 9, "]]>");
        if (close == std::string_view::npos) return need(last);
        if (starts_.empty()) throw XmlError("a CDATA section stands outside the root element");
        handler_.text(std::string_view(base + p + 9, close - p - 9));
        return close + 3;
      }
      if (left < 9 && !last) return 0;
      throw XmlError("a document type declaration or unknown markup");
    }
    return startTag(base, p, last);
  }

  size_t need(bool last) {
    if (last) throw XmlError("the part ends inside markup");
    return 0;
  }

  size_t find(const char* base, size_t from, std::string_view what) const {
    return std::string_view(base, end_).find(what, from);
  }

  size_t skipTo(const char* base, size_t from, std::string_view what, bool last) {
    const size_t at = find(base, from, what);
    if (at == std::string_view::npos) return need(last);
    return at + what.size();
  }

  // Scans a name from i; its end, and in `local` the part after its last ':'.
  size_t scanName(const char* base, size_t i, std::string_view& local) const {
    size_t after = i;
    for (; i < end_ && !xml::endsName(base[i]); ++i)
      if (base[i] == ':') after = i + 1;
    local = std::string_view(base + after, i - after);
    return i;
  }

  size_t startTag(const char* base, size_t p, bool last) {
    std::string_view local;
    size_t i = scanName(base, p + 1, local);
    if (i >= end_) return need(last);
    const std::string_view name(base + p + 1, i - p - 1);
    if (name.empty() || base[i] == '<') throw XmlError("a tag without a name");
    attributes_.list_.clear();
    for (;;) {
      while (i < end_ && xml::isBlank(base[i])) ++i;
      if (i >= end_) return need(last);
      if (base[i] == '>') {
        open(name, local);
        return i + 1;
      }
      if (base[i] == '/') {
        if (i + 1 >= end_) return need(last);
        if (base[i + 1] != '>')
          throw XmlError("a stray '/' in the tag <" + std::string(name) + ">");
        open(name, local);
        close();
        return i + 2;
      }
      const size_t nameStart = i;
      std::string_view attributeLocal;
      i = scanName(base, i, attributeLocal);
      if (i >= end_) return need(last);
      const std::string_view attribute(base + nameStart, i - nameStart);
      while (i < end_ && xml::isBlank(base[i])) ++i;
      if (i >= end_) return need(last);
      if (attribute.empty() || base[i] != '=')
        throw XmlError("an attribute without a value in the tag <" + std::string(name) + ">");
      ++i;
      while (i < end_ && xml::isBlank(base[i])) ++i;
      if (i >= end_) return need(last);
      const char quote = base[i];
      if (quote != '"' && quote != '\'')
        throw XmlError("an attribute value without quotes in the tag <" + std::string(name) + ">");
      const size_t close =
          static_cast<size_t>(xml::findByte(base + i + 1, base + end_, quote) - base);
      if (close == end_) return need(last);
      const std::string_view raw(base + i + 1, close - i - 1);
      if (xml::findByte(raw.data(), raw.data() + raw.size(), '<') != raw.data() + raw.size())
        throw XmlError("a '<' in an attribute value of the tag <" + std::string(name) + ">");
      attributes_.list_.push_back({attributeLocal, raw});
      i = close + 1;
      if (i < end_ && !xml::isBlank(base[i]) && base[i] != '>' && base[i] != '/')
        throw XmlError("attributes run together in the tag <" + std::string(name) + ">");
    }
  }

  size_t endTag(const char* base, size_t p, bool last) {
    const size_t stop = static_cast<size_t>(xml::findByte(base + p + 2, base + end_, '>') - base);
    if (stop == end_) return need(last);
    std::string_view name(base + p + 2, stop - p - 2);
    while (!name.empty() && xml::isBlank(name.back())) name.remove_suffix(1);
    if (starts_.empty() || !xml::same(name, std::string_view(names_).substr(starts_.back().start)))
      throw XmlError("the end tag </" + std::string(name) + "> matches no open element");
    close();
    return stop + 1;
  }

  void open(std::string_view name, std::string_view local) {
    if (rootClosed_) throw XmlError("a second root element");
    if (starts_.size() >= kMaxDepth) throw XmlError("elements nest too deep");
    rootSeen_ = true;
    starts_.push_back({names_.size(), name.size() - local.size()});
    names_.append(name);
    handler_.start(local, attributes_);
  }

  void close() {
    const Open top = starts_.back();
    starts_.pop_back();
    if (starts_.empty()) rootClosed_ = true;
    // The name stays in place until the handler has seen it.
    handler_.end(std::string_view(names_).substr(top.start + top.prefix));
    names_.resize(top.start);
  }

  static constexpr size_t kMaxDepth = 256;

  Handler& handler_;
  std::vector<char> buf_;
  size_t pos_ = 0, end_ = 0, wanted_ = 0;
  bool started_ = false, rootSeen_ = false, rootClosed_ = false;
  // The open elements: their names one after the other, where each begins and the length
  // of its prefix.
  struct Open {
    size_t start, prefix;
  };
  std::string names_;
  std::vector<Open> starts_;
  std::string decoded_;
  XmlAttributes attributes_;
};

}  // namespace qj::office
