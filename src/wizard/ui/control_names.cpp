#include "wizard/ui/control_names.h"

#include <QtGlobal>
#include <string>
#include <utility>

namespace qj::ui {
namespace {

MissingControlHandler& handler() {
  static MissingControlHandler h = [](const QWidget& window, std::string_view name) {
#ifndef NDEBUG
    qFatal("no control \"%s\" in %s", std::string(name).c_str(),
           qUtf8Printable(window.objectName()));
#else
    (void)window;
    (void)name;
#endif
  };
  return h;
}

}  // namespace

MissingControlHandler setMissingControlHandler(MissingControlHandler h) {
  return std::exchange(handler(), std::move(h));
}

QWidget* namedControl(const QWidget& window, std::string_view name) {
  if (name.empty()) return nullptr;
  const QString objectName = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  if (QWidget* w = window.findChild<QWidget*>(objectName)) return w;
  if (handler()) handler()(window, name);
  return nullptr;
}

}  // namespace qj::ui
