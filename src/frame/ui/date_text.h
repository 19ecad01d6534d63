#pragma once
// Date-times as the user reads them: the date in the short format of the user's locale, a
// blank and the time as hh:mm:ss (the locale's own time formats may add a time zone).

#include <QString>
#include <string>

#include "frame/protocol_view.h"

namespace qj::ui {

QString momentText(const ShownMoment& moment);
// The same in code page 1251, for the core's tables.
std::string momentText1251(const ShownMoment& moment);

}  // namespace qj::ui
