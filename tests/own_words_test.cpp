// The sources, tests, tools, shells and documents describe this program in its own right:
// none of them speaks of another program that it would follow, or of a paper it was built
// from and that paper's numbered sections. The words that would do so are listed once, here.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace qj {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = fs::path(QJ_SOURCE_DIR);

std::string contents(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

bool scanned(const fs::path& file) {
  static const std::regex kinds(R"(\.(cpp|h|txt|md|cmake)$|^CMakeLists\.txt$|^[a-z]+$)");
  return std::regex_search(file.filename().string(), kinds);
}

TEST(OwnWords, NoFileSpeaksOfAnotherProgramOrOfTheRequirementsPaper) {
  const std::regex foreign(
      // Each word is spelt with a bracket so that this file does not say it itself.
      R"(\b(the origina[l]|origina[l]'s|origina[l]s|por[t]s?|por[t]ed|por[t]ing|spe[c]s?|specificatio[n]|Par[t]s? [0-9]+\.[0-9]+)\b)",
      std::regex::icase);
  int files = 0;
  for (const char* top : {"src", "tests", "tools", "bench", "shells", "scripts", "cmake"}) {
    for (const auto& entry : fs::recursive_directory_iterator(kRoot / top)) {
      if (!entry.is_regular_file() || !scanned(entry.path())) continue;
      ++files;
      std::istringstream lines(contents(entry.path()));
      std::string line;
      for (int number = 1; std::getline(lines, line); ++number) {
        std::smatch m;
        if (std::regex_search(line, m, foreign))
          ADD_FAILURE() << fs::relative(entry.path(), kRoot).string() << ":" << number << ": \""
                        << m.str() << "\"";
      }
    }
  }
  EXPECT_GT(files, 200);
  for (const char* doc : {"README.md", "CMakeLists.txt"}) {
    std::smatch m;
    const std::string text = contents(kRoot / doc);
    EXPECT_FALSE(std::regex_search(text, m, foreign)) << doc << ": \"" << m.str() << "\"";
  }
}

}  // namespace
}  // namespace qj
