#include "platform/locale.h"

#include <langinfo.h>
#include <locale.h>

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

}  // namespace qj
