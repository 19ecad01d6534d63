#include "text/key_filters.h"

#include "records/text.h"

namespace qj {
namespace {

bool isLatinLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool allowed(KeyFilter filter, char c, char decSep) {
  switch (filter) {
    case KeyFilter::Digit: return isDigit(c);
    case KeyFilter::Decimal: return isDigit(c) || c == decSep;
    case KeyFilter::Code: return isDigit(c) || isLatinLetter(c);
  }
  return false;
}

// True when `after` is `before` with one run of characters taken out.
bool onlyRemoved(std::string_view before, std::string_view after) {
  if (after.size() >= before.size()) return false;
  size_t head = 0;
  while (head < after.size() && after[head] == before[head]) ++head;
  const size_t tail = after.size() - head;
  return before.substr(before.size() - tail) == after.substr(head);
}

}  // namespace

bool keyFilterAccepts(KeyFilter filter, std::string_view text, char decSep) {
  for (const char c : text)
    if (!allowed(filter, c, decSep)) return false;
  return true;
}

bool keyFilterAcceptsEdit(KeyFilter filter, std::string_view before, std::string_view after,
                          char decSep) {
  return keyFilterAccepts(filter, after, decSep) || onlyRemoved(before, after);
}

}  // namespace qj
