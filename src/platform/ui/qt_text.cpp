#include "platform/ui/qt_text.h"

#include "records/cp1251.h"

namespace qj::ui {

QString toQt(std::string_view cp1251Text) {
  return QString::fromStdString(cp1251::toUtf8(cp1251Text));
}

std::string fromQt(const QString& text) {
  return cp1251::fromUtf8(text.toStdString());
}

bool representable(const QString& text) {
  return cp1251::representable(text.toStdString());
}

QString utf8(const std::string& utf8Text) {
  return QString::fromStdString(utf8Text);
}

}  // namespace qj::ui
