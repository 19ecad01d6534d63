#include "text/message.h"

#include "records/cp1251.h"
#include "records/text.h"

namespace qj {

Text Text::trimmed() const {
  Text t = *this;
  for (auto& p : t.pieces_) p.trim = true;
  return t;
}

Text Text::withAccessKeys() const {
  Text t = *this;
  for (auto& p : t.pieces_) p.marked = true;
  return t;
}

Text& Text::operator+=(const Text& other) {
  pieces_.insert(pieces_.end(), other.pieces_.begin(), other.pieces_.end());
  return *this;
}

Text& Text::operator+=(const char* literalUtf8) {
  return *this += lit(literalUtf8);
}

std::string Text::resolve(const ShellTables& tables) const {
  std::string out;
  for (const auto& p : pieces_) {
    std::string part;
    switch (p.kind) {
      case Kind::Shell:
        part = p.marked ? tables.markedShell(p.index) : tables.shell(p.index);
        break;
      case Kind::Short: part = tables.shortText(p.index); break;
      case Kind::Long: part = tables.longText(p.index, p.line); break;
      case Kind::Fixed: out += p.fixed; continue;
    }
    out += p.trim ? trim(part) : part;
  }
  return out;
}

std::string Text::utf8(const ShellTables& tables) const {
  return cp1251::toUtf8(resolve(tables));
}

Text shell(int k) {
  Text t;
  t.pieces_.push_back({Text::Kind::Shell, false, false, k, 0, {}});
  return t;
}

Text shortText(int k) {
  Text t;
  t.pieces_.push_back({Text::Kind::Short, false, false, k, 0, {}});
  return t;
}

Text longText(int i, int j) {
  Text t;
  t.pieces_.push_back({Text::Kind::Long, false, false, i, j, {}});
  return t;
}

Text lit(std::string_view utf8) {
  return val(cp1251::fromUtf8(utf8));
}

Text val(std::string_view cp1251Text) {
  Text t;
  t.pieces_.push_back({Text::Kind::Fixed, false, false, 0, 0, std::string(cp1251Text)});
  return t;
}

Text num(int64_t n) {
  return val(std::to_string(n));
}

Text unitInBrackets(std::string_view cp1251) {
  return cp1251.empty() ? val({}) : lit(" (") + val(cp1251) + ")";
}

bool show(Messages& messages, const Message& message, const ShellTables& tables) {
  const std::string text = message.utf8(tables);
  switch (message.kind) {
    case MessageKind::Warning: messages.warning(text); return true;
    case MessageKind::Error: messages.error(text); return true;
    case MessageKind::Information: messages.information(text); return true;
    case MessageKind::Confirm: return messages.confirm(text);
  }
  return true;
}

void showNotice(Messages& messages, const Message& message, const ShellTables& tables) {
  messages.notice(message.kind, message.utf8(tables));
}

}  // namespace qj
