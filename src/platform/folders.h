#pragma once
// The program folder and its canonical subfolders, and wildcard listings within them.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qj {

namespace fs = std::filesystem;

// "?" matches exactly one character, "*" any run of characters; ASCII letters match
// without regard to case, everything else exactly. Names are UTF-8; a character is one
// code point.
bool matchesMask(std::string_view name, std::string_view mask);

// Names (not paths) of the regular files in `folder` that match `mask`, sorted by name.
// A missing folder lists nothing.
std::vector<std::string> listMatching(const fs::path& folder, std::string_view mask);

class ProgramFolder {
 public:
  // Resolves each canonical folder under `root` (an existing folder whose name differs only
  // in letter case is used as it is) and creates those that are missing.
  explicit ProgramFolder(fs::path root);

  const fs::path& root() const { return root_; }
  const fs::path& shells() const { return shells_; }
  const fs::path& system() const { return system_; }
  const fs::path& dbrn() const { return dbrn_; }
  const fs::path& data() const { return data_; }
  const fs::path& solving() const { return solving_; }
  // Created on first use: printed reports without a printer, and spreadsheet exports.
  fs::path print() const;
  fs::path exports() const;

 private:
  fs::path resolve(std::string_view canonical) const;

  fs::path root_, shells_, system_, dbrn_, data_, solving_;
};

}  // namespace qj
