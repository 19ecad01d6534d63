#include "frame/ui/date_text.h"

#include <QDate>
#include <QLocale>
#include <QTime>

#include "platform/ui/qt_text.h"

namespace qj::ui {

QString momentText(const ShownMoment& moment) {
  const CivilDateTime& t = moment.at;
  QString text = QLocale().toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat);
  if (moment.withTime)
    text +=
        QLatin1Char(' ') + QTime(t.hour, t.minute, t.second).toString(QStringLiteral("hh:mm:ss"));
  return text;
}

std::string momentText1251(const ShownMoment& moment) {
  return fromQt(momentText(moment));
}

}  // namespace qj::ui
