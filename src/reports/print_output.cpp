#include "reports/print_output.h"

#include <cstdio>

#include "records/cp1251.h"

namespace qj {

namespace fs = std::filesystem;

fs::path reportPdfPath(const fs::path& folder, ReportKind kind, std::string_view taskCode,
                       const CivilDateTime& now) {
  std::string code;
  for (const char c : taskCode) {
    const bool safe = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    code += safe ? c : '_';
  }
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.year, now.month, now.day,
                now.hour, now.minute, now.second);
  const std::string stem =
      "qj_" + code + (kind == ReportKind::Task ? "_task_" : "_solution_") + stamp;
  fs::path path = folder / (stem + ".pdf");
  for (int n = 2; fs::exists(path); ++n) path = folder / (stem + "_" + std::to_string(n) + ".pdf");
  return path;
}

namespace {

Text quotedPath(const fs::path& path) {
  return lit(" \"") + val(cp1251::fromUtf8(path.string())) + "\"";
}

// The file's name, then the folder it is in.
Text fileInFolder(const fs::path& path) {
  return quotedPath(path.filename()) + " " + shell(963) + quotedPath(path.parent_path());
}

}  // namespace

Message printerFailedMessage(std::string_view printerNameUtf8) {
  return errorMessage(shell(960) + " \"" + val(cp1251::fromUtf8(printerNameUtf8)) + "\".");
}

Message pdfFailedMessage(const fs::path& path) {
  return errorMessage(shell(961) + quotedPath(path) + ".");
}

Message pdfNotShownMessage(const fs::path& path) {
  return {MessageKind::Information, shell(962) + fileInFolder(path) + "."};
}

}  // namespace qj
