#include "text/access_keys.h"

#include "records/cp1251.h"

namespace qj {

std::string withoutAccessKeys(std::string_view caption) {
  std::string plain;
  plain.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] != '&') {
      plain += caption[i];
      continue;
    }
    if (i + 1 < caption.size() && caption[i + 1] == '&') plain += caption[++i];
  }
  return plain;
}

char accessKey(std::string_view caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] != '&') return cp1251::upper(caption[i + 1]);
    ++i;
  }
  return 0;
}

}  // namespace qj
