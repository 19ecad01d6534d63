#pragma once
// A workbook package around one part that a fuzz target varies: the sheet part or the shared
// strings, stored without compression so that the bytes reach the scanner as they are.

#include <zip.h>

#include <string>
#include <utility>
#include <vector>

#include "fuzz_support.h"

namespace qj::fuzz {

inline const std::string kMainNamespace =
    " xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"";
inline const std::string kRelationshipType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// A package of one sheet, with shared strings when `sharedStrings` is not empty.
inline fs::path packageWith(const std::string& sheet, const std::string& sharedStrings) {
  const std::string rels =
      "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
  std::string bookRels = rels + "<Relationship Id=\"rId1\" Type=\"" + kRelationshipType +
                         "worksheet\" Target=\"worksheets/sheet1.xml\"/>";
  if (!sharedStrings.empty())
    bookRels += "<Relationship Id=\"rId2\" Type=\"" + kRelationshipType +
                "sharedStrings\" Target=\"sharedStrings.xml\"/>";
  const std::vector<std::pair<std::string, std::string>> parts = {
      {"_rels/.rels", rels + "<Relationship Id=\"rId1\" Type=\"" + kRelationshipType +
                          "officeDocument\" Target=\"xl/workbook.xml\"/></Relationships>"},
      {"xl/workbook.xml", "<workbook" + kMainNamespace +
                              " xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/"
                              "relationships\"><sheets><sheet name=\"S\" sheetId=\"1\" "
                              "r:id=\"rId1\"/></sheets></workbook>"},
      {"xl/_rels/workbook.xml.rels", bookRels + "</Relationships>"},
      {"xl/worksheets/sheet1.xml", sheet},
      {"xl/sharedStrings.xml", sharedStrings},
  };
  const fs::path path = scratchFolder() / "parts.xlsx";
  int error = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
  if (!zip) std::abort();
  for (const auto& [name, bytes] : parts) {
    if (bytes.empty()) continue;
    zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
    const zip_int64_t i = zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (i < 0) std::abort();
    zip_set_file_compression(zip, static_cast<zip_uint64_t>(i), ZIP_CM_STORE, 0);
  }
  if (zip_close(zip) != 0) std::abort();
  return path;
}

// Reads the package; what it gives comes back from the writer the same.
inline void readPackage(const fs::path& path) {
  const office::WorkbookRead read = office::readXlsx(path, fuzzLimits());
  require(read.book.has_value() != (read.fault != office::ReadFault::None),
          "a read gives a workbook or a fault");
  if (read.book) requireXlsxRoundTrip(*read.book);
}

}  // namespace qj::fuzz
