// The shared strings of an .xlsx file as their bytes come, in a package whose sheet shows the
// first strings.

#include "xlsx_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj::fuzz;
  static const std::string sheet = [] {
    std::string s = "<worksheet" + kMainNamespace + "><sheetData><row r=\"1\">";
    for (int i = 0; i < 8; ++i)
      s += "<c r=\"" + std::string(1, static_cast<char>('A' + i)) + "1\" t=\"s\"><v>" +
           std::to_string(i) + "</v></c>";
    return s + "</row><row r=\"3\"><c r=\"B3\" t=\"s\"><v>0</v></c></row></sheetData></worksheet>";
  }();
  const std::string shared(reinterpret_cast<const char*>(data), size);
  // An empty part is no part: the package would have no shared strings at all.
  readPackage(packageWith(sheet, shared.empty() ? std::string(" ") : shared));
  return 0;
}
