// The floors of the code as src/floors.txt states them: every folder of src/ has its line, the
// lines stand without a circle, and no file of src/ includes a header of a folder that its
// folder does not stand on. The build stops at such an include too; this check says why, in
// one line per include.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace qj {
namespace {

namespace fs = std::filesystem;

const fs::path kSrc = fs::path(QJ_SOURCE_DIR) / "src";

// Each folder with the folders right below it, as written.
using Floors = std::map<std::string, std::vector<std::string>>;

Floors readFloors() {
  Floors floors;
  std::ifstream in(kSrc / "floors.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t colon = line.find(':');
    if (colon == std::string::npos) {
      ADD_FAILURE() << "src/floors.txt: a line without a colon: " << line;
      continue;
    }
    std::vector<std::string>& below = floors[line.substr(0, colon)];
    std::istringstream rest(line.substr(colon + 1));
    for (std::string folder; rest >> folder;) below.push_back(folder);
  }
  return floors;
}

// Every folder a folder stands on, directly or through the folders below it. A circle is
// reported with the path that closes it.
std::set<std::string> reach(const Floors& floors, const std::string& folder,
                            std::vector<std::string>& path, std::vector<std::string>& circles) {
  std::set<std::string> out;
  path.push_back(folder);
  const auto it = floors.find(folder);
  if (it != floors.end())
    for (const std::string& below : it->second) {
      if (std::find(path.begin(), path.end(), below) != path.end()) {
        std::string circle;
        for (const std::string& f : path) circle += f + " -> ";
        circles.push_back(circle + below);
        continue;
      }
      out.insert(below);
      const std::set<std::string> further = reach(floors, below, path, circles);
      out.insert(further.begin(), further.end());
    }
  path.pop_back();
  return out;
}

std::string folderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

TEST(Floors, EveryFolderHasItsLineAndTheLinesStandWithoutACircle) {
  const Floors floors = readFloors();
  ASSERT_FALSE(floors.empty()) << "src/floors.txt is missing or empty";
  for (const auto& [folder, below] : floors) {
    EXPECT_TRUE(fs::is_directory(kSrc / folder))
        << "src/floors.txt names src/" << folder << ", which does not exist";
    for (const std::string& b : below)
      EXPECT_TRUE(floors.contains(b))
          << "src/floors.txt: " << folder << " stands on " << b << ", which has no line of its own";
    std::vector<std::string> path, circles;
    reach(floors, folder, path, circles);
    for (const std::string& c : circles) ADD_FAILURE() << "src/floors.txt: a circle: " << c;
  }
  for (const auto& entry : fs::recursive_directory_iterator(kSrc))
    if (entry.is_directory()) {
      const std::string folder = fs::relative(entry.path(), kSrc).generic_string();
      EXPECT_TRUE(floors.contains(folder)) << "src/" << folder << " has no line in src/floors.txt";
    }
}

TEST(Floors, NoFileIncludesAFolderItDoesNotStandOn) {
  const Floors floors = readFloors();
  std::map<std::string, std::set<std::string>> allowed;
  for (const auto& [folder, below] : floors) {
    std::vector<std::string> path, circles;
    allowed[folder] = reach(floors, folder, path, circles);
  }
  const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
  for (const auto& entry : fs::recursive_directory_iterator(kSrc)) {
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    const std::string file = fs::relative(entry.path(), kSrc).generic_string();
    const std::string own = folderOf(file);
    std::ifstream in(entry.path());
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      const std::string header = m[1];
      const std::string theirs = folderOf(header);
      const std::string where =
          "src/" + file + ":" + std::to_string(number) + " includes \"" + header + "\": ";
      if (header.find("..") != std::string::npos || theirs.empty())
        ADD_FAILURE() << where << "an include names its header from src/, folder and file";
      else if (theirs != own && !allowed[own].contains(theirs))
        ADD_FAILURE() << where << own << " does not stand on " << theirs
                      << " (src/floors.txt): move what both use below both, or hand it up "
                         "through an interface";
    }
  }
}

}  // namespace
}  // namespace qj
