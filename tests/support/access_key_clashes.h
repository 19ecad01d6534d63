#pragma once
// The tests' check of a window's access keys: every caption of one window marks a key of its
// own, whatever its case.

#include <map>
#include <string>
#include <vector>

#include "text/access_keys.h"

namespace qj::test {

// The captions whose access key another caption marks too, or that mark none.
inline std::vector<std::string> clashingAccessKeys(const std::vector<std::string>& captions) {
  std::map<char, int> uses;
  for (const std::string& c : captions) ++uses[accessKey(c)];
  std::vector<std::string> clashing;
  for (const std::string& c : captions) {
    const char key = accessKey(c);
    if (key == 0 || key == ' ' || uses[key] > 1) clashing.push_back(c);
  }
  return clashing;
}

}  // namespace qj::test
