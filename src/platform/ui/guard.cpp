#include "platform/ui/guard.h"

#include <QFont>
#include <stdexcept>

#include "platform/ui/qt_messages.h"
#include "platform/ui/radio_groups.h"
#include "platform/ui/screen_fit.h"

namespace qj::ui {
namespace {
Messages* g_sink = nullptr;
}  // namespace

void setExceptionSink(Messages* sink) {
  g_sink = sink;
}

void reportException(const std::exception_ptr& error) {
  std::string text = "Unknown error.";
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  if (g_sink) {
    g_sink->error(text);
  } else {
    QtMessages box(QApplication::activeWindow());
    box.error(text);
  }
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    reportException(std::current_exception());
    return false;
  }
}

void setUpApplication() {
  QApplication::setApplicationName("Lite_Orvel_QJ");
  // The design's 8 points; windows scale their design pixels to what this font needs.
  QApplication::setFont(QFont("DejaVu Sans", 8));
  keepWindowsOnScreen();
  keepRadioGroupsAsUsual();
}

}  // namespace qj::ui
