#include "text/key_filters.h"

#include <algorithm>

#include "records/text.h"

namespace qj {
namespace {

bool isLatinLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isHouseCharacter(char c) {
  return isDigit(c) || (c >= 'a' && c <= 'z') || isCyrillicLower(c);
}

bool isStreetTypeCharacter(char c) {
  const auto b = static_cast<unsigned char>(c);
  return !isDigit(c) && !(c >= 'A' && c <= 'Z') && !(b >= 192 && b <= 223) && c != ' ';
}

bool allowed(KeyFilter filter, char c, char decSep) {
  // Control characters come only from pasted text and belong in no field.
  if (c == kForeignChar || static_cast<unsigned char>(c) < ' ') return false;
  switch (filter) {
    case KeyFilter::Digit: return isDigit(c);
    case KeyFilter::Decimal: return isDigit(c) || c == decSep;
    case KeyFilter::Code: return isDigit(c) || isLatinLetter(c);
    case KeyFilter::HouseNumber: return isHouseCharacter(c);
    case KeyFilter::HouseNumberSlash: return isHouseCharacter(c) || c == '/' || c == '\\';
    case KeyFilter::PointHouse: return isDigit(c) || isCyrillicLower(c);
    case KeyFilter::StreetType: return isStreetTypeCharacter(c);
    case KeyFilter::Text: return true;
  }
  return false;
}

// True when `after` is `before` with some characters taken out.
bool onlyRemoved(std::string_view before, std::string_view after) {
  if (after.size() >= before.size()) return false;
  size_t i = 0;
  for (const char c : before)
    if (i < after.size() && after[i] == c) ++i;
  return i == after.size();
}

}  // namespace

bool keyFilterAccepts(KeyFilter filter, std::string_view text, char decSep) {
  if (filter == KeyFilter::PointHouse && text == "-") return true;
  return std::all_of(text.begin(), text.end(), [&](char c) { return allowed(filter, c, decSep); });
}

FieldEdit judgeEdit(const FieldRule& rule, std::string_view before, std::string_view proposed) {
  if (proposed == before || onlyRemoved(before, proposed)) return {true, std::string(proposed)};
  // The characters typed or pasted: what stands between the common head and tail.
  const size_t shorter = std::min(before.size(), proposed.size());
  size_t head = 0;
  while (head < shorter && before[head] == proposed[head]) ++head;
  size_t tail = 0;
  while (tail < shorter - head &&
         before[before.size() - 1 - tail] == proposed[proposed.size() - 1 - tail])
    ++tail;
  std::string text(proposed);
  const size_t end = text.size() - tail;
  if (end == head + 1) {
    text[head] = typedCharacter(rule, text[head]);
  } else if (rule.upperCase) {
    for (size_t i = head; i < end; ++i) text[i] = typedCharacter(rule, text[i]);
  }
  const bool tooLong =
      rule.maxLength > 0 && text.size() > rule.maxLength && text.size() > before.size();
  if (tooLong) return {false, std::string(before)};
  // A text the program put in may hold what the filter refuses (a stored "40.5" under ",",
  // a type name with a capital): the change is then judged by what it brings in alone.
  // A text that passes must still pass after the change.
  const std::string_view brought = std::string_view(text).substr(head, end - head);
  const bool fits = keyFilterAccepts(rule.filter, text, rule.decSep) ||
                    (!keyFilterAccepts(rule.filter, before, rule.decSep) &&
                     std::all_of(brought.begin(), brought.end(),
                                 [&](char c) { return allowed(rule.filter, c, rule.decSep); }));
  if (!fits) return {false, std::string(before)};
  return {true, std::move(text)};
}

char typedCharacter(const FieldRule& rule, char c) {
  // Either key enters the separator, so that "32,5" and "32.5" give the same number whichever
  // separator the user's settings name. Pasted text keeps its separators.
  if (rule.filter == KeyFilter::Decimal && (c == ',' || c == '.')) return rule.decSep;
  if (rule.upperCase && c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
  return c;
}

Text keyFilterTip(const FieldRule& rule) {
  Text tip = shell(1140) + " ";
  switch (rule.filter) {
    case KeyFilter::Digit: tip += shell(1141); break;
    case KeyFilter::Decimal:
      tip += shell(1142) + " \"" + val(std::string(1, rule.decSep)) + "\"";
      break;
    case KeyFilter::Code: tip += shell(1143); break;
    case KeyFilter::HouseNumber: tip += shell(1144); break;
    case KeyFilter::HouseNumberSlash: tip += shell(1145); break;
    case KeyFilter::PointHouse: tip += shell(1146); break;
    case KeyFilter::StreetType: tip += shell(1147); break;
    case KeyFilter::Text: tip += shell(1148); break;
  }
  if (rule.maxLength > 0)
    tip = tip + ", " + shell(1149) + " " + num(static_cast<int64_t>(rule.maxLength)) + " " +
          shell(1150);
  return tip + ".";
}

Text noTypingTip() {
  return shell(1220) + ".";
}

}  // namespace qj
