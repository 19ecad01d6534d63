#pragma once
// A streaming XML scanner for the parts of a workbook file: the bytes come in pieces as
// they are unpacked, and each element's start, end and text go to a handler as soon as they
// are complete, so that memory grows with the piece being scanned, never with the part.
//
// It checks what a reader of these files needs to trust: one root element, tags that nest
// and match, attribute syntax, character and entity references. Names are handed over
// without their namespace prefix. Texts and attribute values are decoded (references, line
// ends) before the handler sees them. A document type declaration is refused: no workbook
// part has one, and it is the door to entity expansion. Parts must be UTF-8. A token longer
// than the scanner's limit ends the part (XmlTooLong): the scanner's memory stays within
// twice that limit, whatever the part holds.
//
// The handler has three members:
//   void start(std::string_view name, const XmlAttributes& attributes);
//   void end(std::string_view name);
//   void text(std::string_view text);  // may come in several pieces within one element
// An empty-element tag gives start and end. Every view is valid during the call only.
// Names and raw attribute values are views into the scanned bytes, which can be read
// kReadAhead bytes past their end.
//
// A handler may also take whole elements of a form it knows, faster than event by event:
//   const char* element(const char* p, const char* end);
// is asked at each start tag inside the root, p at its '<', with the bytes buffered up to
// end (a '\0' stands there, and kReadAhead bytes from end can be read). It returns where
// the element ends if it took it -- then the bytes must be an element that the scanner too
// would take, complete before end, given to the handler's own steps as the events would
// have been -- or nullptr to leave the element to the scanner.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qj::office {

// A part that is not well-formed; what() says where it went wrong.
class XmlError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A part with a token (a text, a tag, a comment) longer than the scanner holds.
class XmlTooLong : public XmlError {
 public:
  using XmlError::XmlError;
};

// Appends `raw` (text or an attribute value) to `out` with its references replaced and its
// line ends made "\n"; attribute values also get blanks for tabs and line ends.
void appendDecodedXml(std::string& out, std::string_view raw, bool attribute);

namespace xml {
inline bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}
inline bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ' && isSpace(c);
}

// The scanner looks at sixteen bytes at a time: the buffer it scans keeps this many bytes
// after its end that may be read, the first of them a '\0' that ends every search.
inline constexpr size_t kReadAhead = 16;

// The longest token scanned: a token is held whole in the buffer, which holds up to twice
// the longest token seen. No workbook part needs more: a cell holds at most 32767 characters.
inline constexpr size_t kMaxToken = 16 << 20;

// Bytes sought in a block of sixteen: the bytes of a kind marked in a Mask, the marks
// joined, then one bit for each byte.
#if defined(__SSE2__)
using Block = __m128i;
using Mask = __m128i;
inline Block load(const char* p) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
inline Mask is(Block b, char c) {
  return _mm_cmpeq_epi8(b, _mm_set1_epi8(c));
}
// The bytes from `low` to `high`, compared without sign.
inline Mask within(Block b, unsigned char low, unsigned char high) {
  const __m128i x = _mm_sub_epi8(b, _mm_set1_epi8(static_cast<char>(low)));
  return _mm_cmpeq_epi8(_mm_min_epu8(x, _mm_set1_epi8(static_cast<char>(high - low))), x);
}
inline Mask either(Mask a, Mask b) {
  return _mm_or_si128(a, b);
}
inline uint32_t bits(Mask m) {
  return static_cast<uint32_t>(_mm_movemask_epi8(m));
}
#else
struct Block {
  const char* p;
};
using Mask = uint32_t;
inline Block load(const char* p) {
  return {p};
}
inline Mask is(Block b, char c) {
  uint32_t m = 0;
  for (int i = 0; i < 16; ++i) m |= static_cast<uint32_t>(b.p[i] == c) << i;
  return m;
}
inline Mask within(Block b, unsigned char low, unsigned char high) {
  uint32_t m = 0;
  for (int i = 0; i < 16; ++i) {
    const auto c = static_cast<unsigned char>(b.p[i]);
    m |= static_cast<uint32_t>(c >= low && c <= high) << i;
  }
  return m;
}
inline Mask either(Mask a, Mask b) {
  return a | b;
}
inline uint32_t bits(Mask m) {
  return m;
}
#endif
inline uint32_t equal(Block b, char c) {
  return bits(is(b, c));
}

// The first byte in [from, to) that `match` marks in its block, or to; reads up to
// kReadAhead bytes past `to`.
template <typename Match>
inline const char* findFirst(const char* from, const char* to, Match match) {
  for (; from < to; from += 16)
    if (const uint32_t m = match(load(from))) return std::min(from + __builtin_ctz(m), to);
  return to;
}
inline const char* findByte(const char* from, const char* to, char c) {
  return findFirst(from, to, [c](Block b) { return equal(b, c); });
}
// The end of a name: a blank or a control character (which no name holds), '/', '<', '='
// or '>'.
inline uint32_t nameStops(Block b) {
  return bits(either(either(within(b, 0, ' '), within(b, '<', '>')), is(b, '/')));
}
// The end of a plain text: '<', or '&' and '\r', which need decoding, or '\0'.
inline uint32_t textStops(Block b) {
  return bits(either(either(is(b, '<'), is(b, '&')), either(is(b, '\r'), is(b, '\0'))));
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
}  // namespace xml

class XmlAttributes {
 public:
  struct Attribute {
    std::string_view name;  // without its prefix
    std::string_view raw;   // as it stands between the quotes
  };

  // The decoded value of the attribute of that (local) name, or nothing.
  std::optional<std::string> value(std::string_view name) const {
    for (const Attribute& a : list())
      if (xml::same(a.name, name)) return decode(a.raw);
    return std::nullopt;
  }
  // The raw value; for values that hold no reference or line end by their syntax (numbers,
  // cell references, type letters) this is the value.
  std::optional<std::string_view> raw(std::string_view name) const {
    for (const Attribute& a : list())
      if (xml::same(a.name, name)) return a.raw;
    return std::nullopt;
  }
  std::span<const Attribute> list() const { return {slots_.data(), count_}; }

  static std::string decode(std::string_view raw) {
    std::string out;
    appendDecodedXml(out, raw, true);
    return out;
  }

 private:
  template <typename>
  friend class XmlScanner;
  void add(std::string_view name, std::string_view raw) {
    if (count_ == slots_.size()) slots_.resize(std::max<size_t>(8, slots_.size() * 2));
    slots_[count_++] = {name, raw};
  }
  // The first count_ slots hold the attributes of the tag scanned last.
  std::vector<Attribute> slots_;
  size_t count_ = 0;
};

// The scanner's steps are small and run millions of times a part: inlined into its loop they
// cost no calls.
#if defined(__GNUC__)
#define QJ_XML_INLINE [[gnu::always_inline]] inline
#else
#define QJ_XML_INLINE inline
#endif

template <typename Handler>
class XmlScanner {
 public:
  explicit XmlScanner(Handler& handler, size_t maxToken = xml::kMaxToken)
      : handler_(handler), maxToken_(maxToken) {}

  // Room for `n` more bytes at the end of what is buffered; write them there, then commit.
  char* space(size_t n) {
    const size_t wanted = end_ + n + xml::kReadAhead;
    if (pos_ > 0 && (pos_ * 2 >= end_ || wanted > buf_.size())) {
      std::memmove(buf_.data(), buf_.data() + pos_, end_ - pos_);
      wanted_ -= pos_;
      end_ -= pos_;
      pos_ = 0;
    }
    if (end_ + n + xml::kReadAhead > buf_.size())
      buf_.resize(std::max(end_ + n + xml::kReadAhead, buf_.size() * 2));
    // The bytes that stood after the moved tail are stale: the caller may commit nothing more
    // before finish(), which must see the end where it is.
    buf_[end_] = '\0';
    return buf_.data() + end_;
  }
  // `n` bytes were written at space(): every token they complete is scanned.
  void commit(size_t n) {
    end_ += n;
    buf_[end_] = '\0';
    if (end_ >= wanted_) scan(false);
  }
  // The end of the part: what is left must complete the document.
  void finish() {
    scan(true);
    if (!rootSeen_) throw XmlError("the part holds no element");
    if (depth_ > 0) throw XmlError("the element <" + std::string(top()) + "> is not closed");
  }

 private:
  // The markup and texts of a part are short tokens: each is scanned with pointers into the
  // buffer, and a token that runs past the bytes buffered is scanned again when the buffer
  // has grown to twice its length, so that a long token costs linear time.
  void later(const char* tokenStart) {
    pos_ = static_cast<size_t>(tokenStart - buf_.data());
    if (end_ - pos_ > maxToken_) tooLong();
    wanted_ = end_ + (end_ - pos_) + 1;
  }
  [[noreturn]] void tooLong() const {
    throw XmlTooLong("a token runs longer than " + std::to_string(maxToken_) + " bytes");
  }

  void scan(bool last) {
    const char* p = buf_.data() + pos_;
    const char* const end = buf_.data() + end_;
    if (!started_) {
      if (end - p < 3 && !last) return later(p);
      if (end - p >= 2 && ((p[0] == '\xFE' && p[1] == '\xFF') ||
                           (p[0] == '\xFF' && p[1] == '\xFE') || p[0] == '\0' || p[1] == '\0'))
        throw XmlError("the part is not UTF-8");
      if (end - p >= 3 && std::memcmp(p, "\xEF\xBB\xBF", 3) == 0) p += 3;
      started_ = true;
    }
    // Each step looks at most kReadAhead bytes past end; byte by byte, it stops at the '\0'
    // there.
    while (p < end) {
      const char* next;
      if (*p != '<')
        next = text(p, end, last);
      else if (end - p < 2)
        next = need(last);
      else if (p[1] == '/')
        next = endTag(p, end, last);
      else if (p[1] == '?' || p[1] == '!')
        next = special(p, end, last);
      else if (const char* taken = takenWhole(p, end))
        next = taken;
      else
        next = startTag(p, end, last);
      if (!next) return later(p);
      if (static_cast<size_t>(next - p) > maxToken_) [[unlikely]]
        tooLong();
      p = next;
    }
    pos_ = end_;
    wanted_ = end_ + 1;
  }

  // Where an element that the handler took whole ends, or nullptr.
  QJ_XML_INLINE const char* takenWhole(const char* p, const char* end) {
    if constexpr (requires { handler_.element(p, end); }) {
      if (depth_ > 0) return handler_.element(p, end);
    }
    return nullptr;
  }

  // The text from p to the next markup; nullptr when it may go on past the bytes buffered.
  QJ_XML_INLINE const char* text(const char* p, const char* end, bool last) {
    const char* stop = xml::findFirst(p, end, xml::textStops);
    const bool plain = *stop == '<';
    if (!plain) {
      stop = xml::findByte(stop, end, '<');
      if (stop == end && !last) return nullptr;
    }
    const std::string_view raw(p, static_cast<size_t>(stop - p));
    if (depth_ == 0) {
      for (char c : raw)
        if (!xml::isSpace(c)) throw XmlError("text stands outside the root element");
    } else if (plain) {
      handler_.text(raw);
    } else {
      decoded_.clear();
      appendDecodedXml(decoded_, raw, false);
      handler_.text(decoded_);
    }
    return stop;
  }

  // A processing instruction, a comment, a CDATA section or what is refused: markup that
  // starts "<?" or "<!".
  const char* special(const char* p, const char* end, bool last) {
    if (p[1] == '?') return skipTo(p + 2, end, "?>", last);
    const std::string_view rest(p, static_cast<size_t>(end - p));
    if (rest.starts_with("<!--")) return skipTo(p + 4, end, "-->", last);
    if (rest.starts_with("<![CDATA[")) {
      const char* close = find(p + 9, end, "]]>");
      if (!close) return need(last);
      if (depth_ == 0) throw XmlError("a CDATA section stands outside the root element");
      handler_.text(std::string_view(p + 9, static_cast<size_t>(close - p - 9)));
      return close + 3;
    }
    if (rest.size() < 9 && !last) return nullptr;
    throw XmlError("a document type declaration or unknown markup");
  }

  static const char* need(bool last) {
    if (last) throw XmlError("the part ends inside markup");
    return nullptr;
  }

  static const char* find(const char* from, const char* end, std::string_view what) {
    if (from > end) return nullptr;
    const size_t at = std::string_view(from, static_cast<size_t>(end - from)).find(what);
    return at == std::string_view::npos ? nullptr : from + at;
  }

  const char* skipTo(const char* from, const char* end, std::string_view what, bool last) {
    const char* at = find(from, end, what);
    return at ? at + what.size() : need(last);
  }

  // Scans a name from i; its end (`end` when it may go on), and in `local` the part after
  // its last ':'. The '\0' after the buffered bytes ends every name.
  QJ_XML_INLINE static const char* scanName(const char* i, std::string_view& local) {
    const char* after = i;
    for (;; i += 16) {
      const xml::Block block = xml::load(i);
      const uint32_t stops = xml::nameStops(block);
      uint32_t colons = xml::equal(block, ':');
      if (stops) colons &= (stops & (0u - stops)) - 1;
      if (colons) after = i + (32 - __builtin_clz(colons));
      if (stops) {
        i += __builtin_ctz(stops);
        break;
      }
    }
    local = std::string_view(after, static_cast<size_t>(i - after));
    return i;
  }

  // The '\0' after the buffered bytes is no blank: the loop stops there at the latest.
  QJ_XML_INLINE static const char* skipBlanks(const char* i) {
    while (xml::isBlank(*i)) ++i;
    return i;
  }

  QJ_XML_INLINE const char* startTag(const char* p, const char* end, bool last) {
    std::string_view local;
    const char* i = scanName(p + 1, local);
    if (i >= end) return need(last);
    const std::string_view name(p + 1, static_cast<size_t>(i - p - 1));
    if (name.empty() || *i == '<') throw XmlError("a tag without a name");
    attributes_.count_ = 0;
    for (;;) {
      i = skipBlanks(i);
      if (*i == '>') {
        open(name, local);
        return i + 1;
      }
      if (*i == '/') {
        if (i[1] != '>') {
          if (i + 1 >= end) return need(last);
          throw XmlError("a stray '/' in the tag <" + std::string(name) + ">");
        }
        open(name, local);
        close();
        return i + 2;
      }
      if (i >= end) return need(last);
      const char* const attributeStart = i;
      std::string_view attributeLocal;
      const char* const nameEnd = scanName(i, attributeLocal);
      i = skipBlanks(nameEnd);
      if (*i != '=' || nameEnd == attributeStart) {
        if (i >= end) return need(last);
        throw XmlError("an attribute without a value in the tag <" + std::string(name) + ">");
      }
      i = skipBlanks(i + 1);
      const char quote = *i;
      if (quote != '"' && quote != '\'') {
        if (i >= end) return need(last);
        throw XmlError("an attribute value without quotes in the tag <" + std::string(name) + ">");
      }
      const char* valueEnd = xml::findFirst(i + 1, end, [quote](xml::Block b) {
        return xml::bits(xml::either(xml::is(b, quote), xml::is(b, '<')));
      });
      if (valueEnd >= end) return need(last);
      if (*valueEnd == '<')
        throw XmlError("a '<' in an attribute value of the tag <" + std::string(name) + ">");
      attributes_.add(attributeLocal,
                      std::string_view(i + 1, static_cast<size_t>(valueEnd - i - 1)));
      i = valueEnd + 1;
      if (!xml::isBlank(*i) && *i != '>' && *i != '/' && i < end)
        throw XmlError("attributes run together in the tag <" + std::string(name) + ">");
    }
  }

  QJ_XML_INLINE const char* endTag(const char* p, const char* end, bool last) {
    // Mostly the name of the open element, then '>'.
    if (depth_ > 0) {
      const std::string_view expected = top();
      const char* i = p + 2;
      if (static_cast<size_t>(end - i) > expected.size() && sameName(i, expected)) {
        i += expected.size();
        if (*i == '>') {
          close();
          return i + 1;
        }
        i = skipBlanks(i);
        if (i >= end) return need(last);
        if (*i == '>') {
          close();
          return i + 1;
        }
      }
    }
    const char* stop = xml::findByte(p + 2, end, '>');
    if (stop == end) return need(last);
    std::string_view name(p + 2, static_cast<size_t>(stop - p - 2));
    while (!name.empty() && xml::isBlank(name.back())) name.remove_suffix(1);
    if (depth_ == 0 || !xml::same(name, top()))
      throw XmlError("the end tag </" + std::string(name) + "> matches no open element");
    close();
    return stop + 1;
  }

  // The bytes at i against an open element's name. Both can be read sixteen bytes far (the
  // buffer's read-ahead, the slack kept after the names): a name of up to sixteen bytes is
  // compared at once.
  static bool sameName(const char* i, std::string_view name) {
#if defined(__SSE2__)
    if (name.size() <= 16) {
      const uint32_t differ = ~static_cast<uint32_t>(
          _mm_movemask_epi8(_mm_cmpeq_epi8(xml::load(i), xml::load(name.data()))));
      return (differ & ((uint32_t{1} << name.size()) - 1)) == 0;
    }
#endif
    return xml::same(std::string_view(i, name.size()), name);
  }

  // The full name of the innermost open element.
  std::string_view top() const {
    const Open& o = starts_[depth_ - 1];
    return std::string_view(names_.data() + o.start, namesSize_ - o.start);
  }

  QJ_XML_INLINE void open(std::string_view name, std::string_view local) {
    if (depth_ == 0) {
      if (rootClosed_) throw XmlError("a second root element");
      rootSeen_ = true;
    } else if (depth_ == kMaxDepth) {
      throw XmlError("elements nest too deep");
    }
    starts_[depth_++] = {namesSize_, name.size() - local.size()};
    // Room for the name and sixteen bytes more: a name of up to sixteen bytes (nearly all) is
    // copied as one block, from the buffer, which can be read that far.
    if (names_.size() - namesSize_ < name.size() + 16)
      names_.resize(std::max(names_.size() * 2, namesSize_ + name.size() + 256));
    if (name.size() <= 16)
      std::memcpy(names_.data() + namesSize_, name.data(), 16);
    else
      std::memcpy(names_.data() + namesSize_, name.data(), name.size());
    namesSize_ += name.size();
    handler_.start(local, attributes_);
  }

  QJ_XML_INLINE void close() {
    const Open o = starts_[--depth_];
    if (depth_ == 0) rootClosed_ = true;
    // The name stays in place until the handler has seen it.
    handler_.end(
        std::string_view(names_.data() + o.start + o.prefix, namesSize_ - o.start - o.prefix));
    namesSize_ = o.start;
  }

  static constexpr size_t kMaxDepth = 256;

  Handler& handler_;
  const size_t maxToken_;
  std::vector<char> buf_;
  size_t pos_ = 0, end_ = 0, wanted_ = 0;
  bool started_ = false, rootSeen_ = false, rootClosed_ = false;
  // The open elements: their names one after the other (the first namesSize_ bytes of
  // names_), where each begins and the length of its prefix.
  struct Open {
    size_t start, prefix;
  };
  std::vector<char> names_;
  size_t namesSize_ = 0;
  Open starts_[kMaxDepth];
  size_t depth_ = 0;
  std::string decoded_;
  XmlAttributes attributes_;
};

}  // namespace qj::office
