#include "text/shell_texts.h"

#include <algorithm>

#include "records/bytes.h"
#include "text/access_keys.h"

namespace qj {
namespace {

const std::string kEmpty;

// A counted text: int32 Len, then a short string of Len + 1 bytes. The text is cut to its
// slot; a Len that is negative or runs past the end ends the file (ReadError).
std::string readCounted(ByteReader& in, int slot) {
  const int32_t len = in.i32();
  if (len < 0) throw ReadError("negative text length");
  const std::string stored = in.raw(static_cast<size_t>(len) + 1);
  size_t n = static_cast<uint8_t>(stored[0]);
  n = std::min({n, static_cast<size_t>(len), static_cast<size_t>(slot)});
  return stored.substr(1, n);
}

void writeCounted(ByteWriter& out, std::string_view text, int slot) {
  const size_t n = std::min(text.size(), static_cast<size_t>(slot));
  out.i32(static_cast<int32_t>(n));
  out.u8(static_cast<uint8_t>(n));
  out.raw(text.substr(0, n));
}

// Each counted text takes at least its Len and its length byte.
constexpr size_t kMinCounted = 5;
// The most texts a table, and lines a long text, may hold: a shell has some thousand texts
// of each kind. Within its length a file could count millions of empty texts, each of which
// would take several times its five bytes once read.
constexpr int32_t kMaxTexts = 65535;

}  // namespace

std::string ShellTables::shell(int k) const {
  return withoutAccessKeys(markedShell(k));
}

const std::string& ShellTables::markedShell(int k) const {
  return k >= 0 && static_cast<size_t>(k) < shellTexts.size() ? shellTexts[k] : kEmpty;
}

const std::string& ShellTables::shortText(int k) const {
  return k >= 0 && static_cast<size_t>(k) < shortTexts.size() ? shortTexts[k] : kEmpty;
}

const std::string& ShellTables::longText(int i, int j) const {
  if (i < 0 || static_cast<size_t>(i) >= longTexts.size()) return kEmpty;
  const auto& lines = longTexts[i];
  return j >= 0 && static_cast<size_t>(j) < lines.size() ? lines[j] : kEmpty;
}

int ShellTables::longTextLines(int i) const {
  return i >= 0 && static_cast<size_t>(i) < longTexts.size() ? static_cast<int>(longTexts[i].size())
                                                             : 0;
}

bool isRussianShell(std::string_view langCode) {
  // "rus", "Rus", and Cyrillic "рус", "Рус" in code page 1251.
  return langCode == "rus" || langCode == "Rus" || langCode == "\xF0\xF3\xF1" ||
         langCode == "\xD0\xF3\xF1";
}

std::string readLanguageName(std::string_view bytes) {
  if (bytes.size() < 25) return {};
  ByteReader in(bytes);
  return in.shortString(kLanguageNameMax);
}

ShellReadResult readShell(std::string_view bytes, bool russian) {
  ShellReadResult result;
  ShellTables t;
  ByteReader in(bytes);
  try {
    t.languageName = in.shortString(kLanguageNameMax);
    const int32_t shortCount = in.i32();
    const int32_t shellCount = in.i32();
    const int32_t longCount = in.i32();
    // Each text takes at least its counted form; a long text at least its line count, as
    // one of no lines does.
    const int64_t texts =
        static_cast<int64_t>(shortCount) * (russian ? 2 : 1) + static_cast<int64_t>(shellCount);
    const int64_t leastBytes = texts * static_cast<int64_t>(kMinCounted) + 4ll * longCount;
    const auto outOfRange = [](int32_t count) { return count < 0 || count > kMaxTexts; };
    const bool tooMany = std::max({shortCount, shellCount, longCount}) > kMaxTexts;
    if (outOfRange(shortCount) || outOfRange(shellCount) || outOfRange(longCount) ||
        !in.holds(leastBytes, 1)) {
      result.error =
          "The language shell is damaged: its counts of texts (" + std::to_string(shortCount) +
          ", " + std::to_string(shellCount) + ", " + std::to_string(longCount) + ") " +
          (tooMany
               ? "are more than a shell holds (" + std::to_string(kMaxTexts) + " of each at most)."
               : std::string("do not fit the file."));
      return result;
    }
    t.shortTexts.resize(shortCount);
    t.shellTexts.resize(shellCount);
    t.longTexts.resize(longCount);
    // A file that ends early leaves the remaining entries empty, as does a shell read with
    // the wrong note rule, whose entries come out shifted.
    try {
      for (auto& text : t.shortTexts) {
        if (russian) readCounted(in, kNoteMax);  // notes are not kept
        text = readCounted(in, kShortTextMax);
      }
      for (auto& text : t.shellTexts) text = readCounted(in, kShellTextMax);
      std::vector<int32_t> lineCounts(longCount);
      for (auto& n : lineCounts) n = in.i32();
      for (size_t i = 0; i < lineCounts.size(); ++i) {
        if (outOfRange(lineCounts[i]) || !in.holds(lineCounts[i], kMinCounted)) break;
        t.longTexts[i].resize(lineCounts[i]);
        for (auto& line : t.longTexts[i]) line = readCounted(in, kShellTextMax);
      }
    } catch (const ReadError&) {
    }
  } catch (const ReadError& e) {
    result.error = std::string("The language shell is damaged: ") + e.what() + ".";
    return result;
  }
  result.tables = std::move(t);
  return result;
}

std::string writeShell(const ShellTables& t, bool russian, const std::vector<std::string>& notes) {
  ByteWriter out;
  out.shortString(t.languageName, kLanguageNameMax);
  out.i32(static_cast<int32_t>(t.shortTexts.size()));
  out.i32(static_cast<int32_t>(t.shellTexts.size()));
  out.i32(static_cast<int32_t>(t.longTexts.size()));
  for (size_t i = 0; i < t.shortTexts.size(); ++i) {
    if (russian) writeCounted(out, i < notes.size() ? notes[i] : std::string(), kNoteMax);
    writeCounted(out, t.shortTexts[i], kShortTextMax);
  }
  for (const auto& text : t.shellTexts) writeCounted(out, text, kShellTextMax);
  for (const auto& lines : t.longTexts) out.i32(static_cast<int32_t>(lines.size()));
  for (const auto& lines : t.longTexts)
    for (const auto& line : lines) writeCounted(out, line, kShellTextMax);
  return out.take();
}

}  // namespace qj
