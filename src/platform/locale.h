#pragma once

#include "platform/print_system.h"

namespace qj {

// The decimal point of the user's locale (LC_NUMERIC from the environment), read anew on
// each call; "," when the locale gives none or one of several bytes.
char localeDecimalSeparator();

// The paper of the user's locale (LC_PAPER): Letter where the locale's paper is Letter, A4
// otherwise.
PaperSize localePaper();

}  // namespace qj
