#include "records/text.h"

namespace qj {
namespace {
bool isBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}
char asciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}
}  // namespace

std::string_view trim(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

std::string trimmed(std::string_view s) {
  return std::string(trim(s));
}

std::string trimRight(std::string_view s) {
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return std::string(s);
}

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  return true;
}

std::string cut(std::string_view s, size_t n) {
  return std::string(s.substr(0, n));
}

std::string cutTrimmed(std::string_view s, size_t n) {
  return trimmed(trim(s).substr(0, n));
}

std::string padLeft(std::string_view s, size_t width, char fill) {
  if (s.size() >= width) return std::string(s);
  return std::string(width - s.size(), fill) + std::string(s);
}

bool allDigits(std::string_view text) {
  for (char c : text)
    if (!isDigit(c)) return false;
  return true;
}

bool isCyrillicLower(char c) {
  return static_cast<unsigned char>(c) >= 224;
}

}  // namespace qj
