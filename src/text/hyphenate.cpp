#include "text/hyphenate.h"

namespace qj {
namespace {

std::string_view separatorBefore(std::string_view text, size_t i) {
  const bool atBlank = text[i] == ' ' || (i > 0 && text[i - 1] == ' ');
  return atBlank ? " " : "- ";
}

}  // namespace

std::string hyphenateToWidth(std::string_view text, int width, const TextMeasure& measure) {
  const int limit = width - 2;
  if (limit <= 0 || measure(text) <= limit) return std::string(text);
  std::string done;
  std::string line;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const std::string prev = line;
    line += text[i];
    const int w = measure(line);
    const bool last = i + 1 == n;
    // A single character wider than the label stays on its line: breaking before it would
    // only add an empty line.
    if (prev.empty()) {
      if (last) done += line;
      continue;
    }
    if (!last && w >= limit) {
      done += prev;
      done += separatorBefore(text, i);
      line = text[i];
    } else if (last) {
      if (w <= limit) {
        done += line;
      } else {
        done += prev;
        done += separatorBefore(text, i);
        done += text[i];
      }
    }
  }
  return done;
}

}  // namespace qj
