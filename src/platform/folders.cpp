#include "platform/folders.h"

#include <algorithm>

#include "records/text.h"

namespace qj {
namespace {

// Splits a UTF-8 text into its characters (a malformed byte stands alone).
std::vector<std::string_view> characters(std::string_view s) {
  std::vector<std::string_view> out;
  for (size_t i = 0; i < s.size();) {
    size_t n = 1;
    const auto b = static_cast<unsigned char>(s[i]);
    if (b >= 0xF0)
      n = 4;
    else if (b >= 0xE0)
      n = 3;
    else if (b >= 0xC0)
      n = 2;
    n = std::min(n, s.size() - i);
    out.push_back(s.substr(i, n));
    i += n;
  }
  return out;
}

bool sameChar(std::string_view a, std::string_view b) {
  return equalsIgnoreAsciiCase(a, b);
}

}  // namespace

bool matchesMask(std::string_view name, std::string_view mask) {
  const auto n = characters(name);
  const auto m = characters(mask);
  // Iterative wildcard match with one backtrack point for "*".
  size_t i = 0, j = 0, star = std::string_view::npos, mark = 0;
  while (i < n.size()) {
    if (j < m.size() && (m[j] == "?" || (m[j] != "*" && sameChar(m[j], n[i])))) {
      ++i;
      ++j;
    } else if (j < m.size() && m[j] == "*") {
      star = j++;
      mark = i;
    } else if (star != std::string_view::npos) {
      j = star + 1;
      i = ++mark;
    } else {
      return false;
    }
  }
  while (j < m.size() && m[j] == "*") ++j;
  return j == m.size();
}

std::vector<std::string> listMatching(const fs::path& folder, std::string_view mask) {
  std::vector<std::string> names;
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError)) continue;
    std::string name = it->path().filename().string();
    if (matchesMask(name, mask)) names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

ProgramFolder::ProgramFolder(fs::path root) : root_(std::move(root)) {
  shells_ = resolve("Shells");
  system_ = resolve("System");
  dbrn_ = resolve("Dbrn");
  data_ = resolve("Data");
  solving_ = resolve("Solving");
}

fs::path ProgramFolder::resolve(std::string_view canonical) const {
  std::error_code ec;
  std::vector<std::string> candidates;
  for (fs::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code typeError;
    const std::string name = it->path().filename().string();
    if (it->is_directory(typeError) && equalsIgnoreAsciiCase(name, canonical))
      candidates.push_back(name);
  }
  if (std::find(candidates.begin(), candidates.end(), canonical) != candidates.end())
    return root_ / canonical;
  if (!candidates.empty()) {
    std::sort(candidates.begin(), candidates.end());
    return root_ / candidates.front();
  }
  const fs::path path = root_ / canonical;
  fs::create_directories(path, ec);
  return path;
}

fs::path ProgramFolder::print() const {
  return resolve("Print");
}

fs::path ProgramFolder::exports() const {
  return resolve("Export");
}

}  // namespace qj
