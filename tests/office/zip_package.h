#pragma once
// Zip archives built in code, part by part, for tests of the .xlsx reader: well-formed
// workbooks written by hand as well as damaged and hostile ones; and a part of an archive
// read back as text.

#include <zip.h>

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace qj::test {

using ZipParts = std::vector<std::pair<std::string, std::string>>;

inline void writeZip(const std::filesystem::path& path, const ZipParts& parts) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) throw std::runtime_error("zip_open failed");
  for (const auto& [name, bytes] : parts) {
    zip_source_t* src = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    if (!src || zip_file_add(zip, name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(src);
      zip_discard(zip);
      throw std::runtime_error("zip_file_add failed");
    }
  }
  if (zip_close(zip) != 0) throw std::runtime_error("zip_close failed");
}

inline std::string readZipPart(const std::filesystem::path& path, const std::string& name) {
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_RDONLY, &error);
  std::string bytes;
  zip_file_t* f = zip ? zip_fopen(zip, name.c_str(), 0) : nullptr;
  char buf[4096];
  for (zip_int64_t n; f && (n = zip_fread(f, buf, sizeof buf)) > 0;)
    bytes.append(buf, static_cast<size_t>(n));
  if (f) zip_fclose(f);
  if (zip) zip_discard(zip);
  return bytes;
}

// The parts of a small workbook whose sheets are given as the XML of their <sheetData>
// (and anything else inside <worksheet>), in workbook order, with optional shared strings.
inline ZipParts workbookParts(const std::vector<std::pair<std::string, std::string>>& sheets,
                              const std::string& sharedStrings = {}) {
  const std::string ns =
      " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
      "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">";
  const std::string rel = "<Relationship Id=\"rId";
  const std::string type =
      "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
  const std::string relationships =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  ZipParts parts = {
      {"[Content_Types].xml",
       "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"},
      {"_rels/.rels", relationships + rel + "1" + type +
                          "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"}};
  std::string book = "<workbook" + ns + "<sheets>", rels = relationships;
  for (size_t i = 0; i < sheets.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    book += "<sheet name=\"" + sheets[i].first + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
    rels += rel + n + type + "worksheet\" Target=\"worksheets/sheet" + n + ".xml\"/>";
    parts.push_back({"xl/worksheets/sheet" + n + ".xml",
                     "<?xml version=\"1.0\"?><worksheet" + ns + sheets[i].second + "</worksheet>"});
  }
  if (!sharedStrings.empty()) {
    rels += rel + "S" + type + "sharedStrings\" Target=\"sharedStrings.xml\"/>";
    parts.push_back({"xl/sharedStrings.xml", "<sst" + ns + sharedStrings + "</sst>"});
  }
  parts.push_back({"xl/workbook.xml", book + "</sheets></workbook>"});
  parts.push_back({"xl/_rels/workbook.xml.rels", rels + "</Relationships>"});
  return parts;
}

}  // namespace qj::test
