#include "text/hyphenate.h"

namespace qj {
namespace {

// A line may reach the limit with its last character only when that is the text's last.
bool tooWide(int width, int limit, bool lastOfText) {
  return lastOfText ? width > limit : width >= limit;
}

}  // namespace

std::string hyphenateToWidth(std::string_view text, int width, const TextMeasure& measure) {
  const int limit = width - 2;
  if (limit <= 0 || measure(text) <= limit) return std::string(text);
  std::string done;
  std::string line;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    // Blanks that follow a line break would only indent the next line.
    if (line.empty() && text[i] == ' ' && !done.empty() && done.back() == '\n') continue;
    line += text[i];
    const bool last = i + 1 == n;
    // A single character wider than the label stays on its line: breaking before it would
    // only add an empty line.
    while (line.size() > 1 && tooWide(measure(line), limit, last)) {
      const size_t blank = line.rfind(' ');
      if (blank != std::string::npos && blank > 0) {
        // Between words: the line ends at its last blank and the words after it move on.
        done.append(line, 0, blank);
        done += '\n';
        const size_t next = line.find_first_not_of(' ', blank);
        line.erase(0, next == std::string::npos ? line.size() : next);
      } else {
        // A word wider than the whole label breaks inside, before the character that filled
        // the line.
        done.append(line, 0, line.size() - 1);
        done += "- ";
        line.erase(0, line.size() - 1);
      }
    }
  }
  return done + line;
}

}  // namespace qj
