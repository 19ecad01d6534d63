// The sheet part of an .xlsx file as its bytes come, in a package whose shared strings hold
// a few texts: the scanner and the reader's cells, the cells taken whole among them.

#include "xlsx_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qj::fuzz;
  static const std::string shared =
      "<sst" + kMainNamespace +
      "><si><t>zero</t></si><si><t xml:space=\"preserve\"> one </t></si><si><r><t>t</t></r>"
      "<r><t>wo</t></r></si><si><t>_x0033_\xD0\x96</t></si></sst>";
  readPackage(packageWith(std::string(reinterpret_cast<const char*>(data), size), shared));
  return 0;
}
