#include "text/shell_source.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <tuple>

#include "records/cp1251.h"

namespace qj {
namespace {

enum class Table { Language, Short, Note, Shell, Long };

struct Key {
  Table table = Table::Language;
  int index = 0;
  int line = 0;  // the line of a long text

  auto tie() const { return std::tie(table, index, line); }
  bool operator<(const Key& other) const { return tie() < other.tie(); }
};

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// A decimal index of at most kMaxSourceIndex; nullopt for anything else.
std::optional<int> parseIndex(std::string_view s) {
  if (s.empty() || s.size() > 4 ||
      !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int value = 0;
  std::from_chars(s.data(), s.data() + s.size(), value);
  return value;
}

std::optional<Key> parseKey(std::string_view name) {
  if (name == "language") return Key{Table::Language};
  const size_t dot = name.find('.');
  if (dot == std::string_view::npos) return std::nullopt;
  const std::string_view table = name.substr(0, dot);
  std::string_view rest = name.substr(dot + 1);
  if (table == "long") {
    const size_t second = rest.find('.');
    if (second == std::string_view::npos) return std::nullopt;
    const auto i = parseIndex(rest.substr(0, second));
    const auto j = parseIndex(rest.substr(second + 1));
    if (!i || !j) return std::nullopt;
    return Key{Table::Long, *i, *j};
  }
  const auto k = parseIndex(rest);
  if (!k) return std::nullopt;
  if (table == "short") return Key{Table::Short, *k};
  if (table == "note") return Key{Table::Note, *k};
  if (table == "shell") return Key{Table::Shell, *k};
  return std::nullopt;
}

std::string describe(const Key& key) {
  switch (key.table) {
    case Table::Language: return "language";
    case Table::Short: return "short." + std::to_string(key.index);
    case Table::Note: return "note." + std::to_string(key.index);
    case Table::Shell: return "shell." + std::to_string(key.index);
    case Table::Long: return "long." + std::to_string(key.index) + "." + std::to_string(key.line);
  }
  return {};
}

size_t slotOf(Table table) {
  switch (table) {
    case Table::Language: return kLanguageNameMax;
    case Table::Short: return kShortTextMax;
    case Table::Note: return kNoteMax;
    case Table::Shell:
    case Table::Long: return kShellTextMax;
  }
  return 0;
}

// The text of an entry: after the "=" and its blanks, without trailing blanks; outer double
// quotes are removed so that a text can keep leading and trailing blanks.
std::string_view textOf(std::string_view afterEquals) {
  std::string_view text = trimBlanks(afterEquals);
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    text = text.substr(1, text.size() - 2);
  return text;
}

template <typename T>
void place(std::vector<T>& table, size_t index, T value) {
  if (table.size() <= index) table.resize(index + 1);
  table[index] = std::move(value);
}

class Parser {
 public:
  Parser(std::string_view code, bool notes) : code_(code), notes_(notes) {}

  void line(int number, std::string_view text) {
    const std::string_view content = trimBlanks(text);
    if (content.empty() || content.front() == '#') return;
    const size_t eq = content.find('=');
    if (eq == std::string_view::npos)
      return fail(number, "malformed line: expected \"key = text\"");
    const std::string_view name = trimBlanks(content.substr(0, eq));
    const auto key = parseKey(name);
    if (!key)
      return fail(number, "unknown key \"" + std::string(name) +
                              "\": expected language, short.<k>, note.<k>, shell.<k> or "
                              "long.<i>.<j> with indices up to " +
                              std::to_string(kMaxSourceIndex));
    if (key->table == Table::Note && !notes_)
      return fail(number, "a note in a shell without notes (only Russian shells carry notes)");
    const auto [seen, fresh] = lines_.emplace(*key, number);
    if (!fresh)
      return fail(number, "duplicate " + describe(*key) + " (first given at line " +
                              std::to_string(seen->second) + ")");
    store(number, *key, textOf(content.substr(eq + 1)));
  }

  ShellSourceResult finish() {
    checkLanguage();
    if (notes_) checkNotes();
    std::stable_sort(errors_.begin(), errors_.end(),
                     [](const auto& a, const auto& b) { return a.line < b.line; });
    ShellSourceResult result;
    result.errors = std::move(errors_);
    if (result.errors.empty()) {
      if (notes_) source_.notes.resize(source_.tables.shortTexts.size());
      result.source = std::move(source_);
    }
    return result;
  }

 private:
  void fail(int line, std::string message) { errors_.push_back({line, std::move(message)}); }

  void store(int number, const Key& key, std::string_view utf8) {
    bool ok = true;
    std::string text = cp1251::fromUtf8(utf8, &ok);
    if (!ok) return fail(number, describe(key) + ": a character that code page 1251 cannot hold");
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
      return fail(number, describe(key) + ": a control character in the text");
    if (text.size() > slotOf(key.table))
      return fail(number, describe(key) + ": " + std::to_string(text.size()) +
                              " characters, more than the " + std::to_string(slotOf(key.table)) +
                              " its slot holds");
    ShellTables& t = source_.tables;
    switch (key.table) {
      case Table::Language: t.languageName = std::move(text); break;
      case Table::Short: place(t.shortTexts, key.index, std::move(text)); break;
      case Table::Note: place(source_.notes, key.index, std::move(text)); break;
      case Table::Shell: place(t.shellTexts, key.index, std::move(text)); break;
      case Table::Long:
        if (t.longTexts.size() <= static_cast<size_t>(key.index)) t.longTexts.resize(key.index + 1);
        place(t.longTexts[key.index], key.line, std::move(text));
        break;
    }
  }

  void checkLanguage() {
    const auto at = lines_.find(Key{Table::Language});
    if (at == lines_.end()) return fail(0, "no \"language = <code> <name>\" line");
    const std::string code = cp1251::fromUtf8(code_);
    if (source_.tables.languageName.compare(0, code.size(), code) != 0)
      fail(at->second,
           "the language name must begin with the language code \"" + std::string(code_) + "\"");
  }

  // Every short text of a shell with notes has its note, and every note its short text.
  void checkNotes() {
    const auto& shorts = source_.tables.shortTexts;
    for (const auto& [key, number] : lines_) {
      const auto has = [index = key.index](const std::vector<std::string>& table) {
        return static_cast<size_t>(index) < table.size() && !table[index].empty();
      };
      if (key.table == Table::Short && has(shorts) && !has(source_.notes))
        fail(number, describe(key) + " has no note." + std::to_string(key.index));
      if (key.table == Table::Note && has(source_.notes) && !has(shorts))
        fail(number, describe(key) + " has no short." + std::to_string(key.index));
    }
  }

  std::string_view code_;
  bool notes_;
  ShellSource source_;
  std::map<Key, int> lines_;  // the line of every key given
  std::vector<ShellSourceError> errors_;
};

}  // namespace

ShellSourceResult parseShellSource(std::string_view utf8, std::string_view code) {
  Parser parser(code, isRussianShell(code));
  int number = 0;
  while (!utf8.empty()) {
    const size_t end = utf8.find('\n');
    parser.line(++number, utf8.substr(0, end));
    utf8 = end == std::string_view::npos ? std::string_view() : utf8.substr(end + 1);
  }
  return parser.finish();
}

}  // namespace qj
