#include "records/numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "records/text.h"

namespace qj {

double roundHalfEven(double x) {
  // nearbyint rounds in the current mode, which the program never changes from
  // round-to-nearest-even.
  return std::nearbyint(x);
}

int64_t roundToInt64(double x) {
  if (std::isnan(x)) return 0;
  const double r = roundHalfEven(x);
  if (r >= 9.2233720368547758e18) return std::numeric_limits<int64_t>::max();
  if (r <= -9.2233720368547758e18) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(r);
}

namespace {

std::string withSeparator(std::string s, char sep) {
  for (char& c : s)
    if (c == '.') c = sep;
  return s;
}

std::optional<double> parseWith(std::string_view text, char sep, bool eitherSeparator) {
  std::string s(trim(text));
  if (s.empty()) return std::nullopt;
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  bool digits = false, point = false;
  for (; i < s.size(); ++i) {
    char& c = s[i];
    if (c >= '0' && c <= '9') {
      digits = true;
    } else if (!point && (c == sep || (eitherSeparator && (c == '.' || c == ',')))) {
      point = true;
      c = '.';
    } else {
      break;
    }
  }
  if (!digits) return std::nullopt;
  if (i < s.size()) {
    if (s[i] != 'e' && s[i] != 'E') return std::nullopt;
    size_t j = i + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
    if (j == s.size()) return std::nullopt;
    for (; j < s.size(); ++j)
      if (s[j] < '0' || s[j] > '9') return std::nullopt;
  }
  const char* begin = s.data() + (s[0] == '+' ? 1 : 0);
  double value = 0;
  const auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::string formatReal(double x, char sep) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::general, 15);
  return withSeparator(std::string(buf, end), sep);
}

std::string formatFixed(double x, int decimals, char sep) {
  // The largest double has 309 digits before the point.
  char buf[400];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed,
                                       std::clamp(decimals, 0, 20));
  return withSeparator(std::string(buf, end), sep);
}

std::optional<double> parseReal(std::string_view text, char sep) {
  return parseWith(text, sep, false);
}

std::optional<double> parseStoredReal(std::string_view text) {
  return parseWith(text, '.', true);
}

std::string shownStoredReal(std::string_view text, char sep) {
  std::string s(trim(text));
  if (parseStoredReal(s))
    std::replace_if(
        s.begin(), s.end(), [](char c) { return c == '.' || c == ','; }, sep);
  return s;
}

std::optional<int32_t> parseInt(std::string_view text) {
  const std::string_view s = trim(text);
  if (s.empty()) return std::nullopt;
  // from_chars takes a minus sign but no plus sign.
  const bool plus = s[0] == '+';
  const char* begin = s.data() + (plus ? 1 : 0);
  if (begin == s.data() + s.size() || (plus && *begin == '-')) return std::nullopt;
  int32_t value = 0;
  const auto [end, ec] = std::from_chars(begin, s.data() + s.size(), value);
  if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
  return value;
}

}  // namespace qj
