#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdint>
#include <cstring>

namespace qj {

char localeDecimalSeparator() {
  char sep = ',';
  locale_t loc = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return sep;
  const char* radix = nl_langinfo_l(RADIXCHAR, loc);
  if (radix && std::strlen(radix) == 1) sep = radix[0];
  freelocale(loc);
  return sep;
}

PaperSize localePaper() {
  locale_t loc = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return kPaperA4;
  // The C library answers these two with numbers (millimetres) in place of texts.
  const auto width = reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_PAPER_WIDTH, loc));
  const auto height = reinterpret_cast<intptr_t>(nl_langinfo_l(_NL_PAPER_HEIGHT, loc));
  freelocale(loc);
  return width == 216 && height == 279 ? kPaperLetter : kPaperA4;
}

}  // namespace qj
