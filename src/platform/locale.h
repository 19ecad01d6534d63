#pragma once

namespace qj {

// The decimal point of the user's locale (LC_NUMERIC from the environment), read anew on
// each call; "," when the locale gives none or one of several bytes.
char localeDecimalSeparator();

}  // namespace qj
