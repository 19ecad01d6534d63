#pragma once
// No exception may leave a Qt slot or event handler: it would cross the event loop. The
// guard catches it, shows its text in an error box and runs the restore step (for example
// enabling a window that the handler had disabled).

#include <QApplication>
#include <exception>
#include <functional>
#include <utility>

#include "platform/messages.h"

namespace qj::ui {

// Shows an exception's text; the program's message sink unless set otherwise.
void reportException(const std::exception_ptr& error);
void setExceptionSink(Messages* sink);

template <typename F>
void guarded(F&& body, const std::function<void()>& restore = {}) {
  try {
    std::forward<F>(body)();
  } catch (...) {
    reportException(std::current_exception());
    if (restore) restore();
  }
}

// A slot body without arguments wrapped by `guarded`, ready for QObject::connect. Slots
// that take the signal's arguments call `guarded` themselves.
template <typename F>
auto guardSlot(F body, std::function<void()> restore = {}) {
  return [body = std::move(body), restore = std::move(restore)] { guarded(body, restore); };
}

// The application object: its event dispatch is the last guard for handlers that were not
// wrapped one by one.
class GuardedApplication : public QApplication {
 public:
  using QApplication::QApplication;
  bool notify(QObject* receiver, QEvent* event) override;
};

// The program's name and font, the same for the program and its window tests. No display
// name is set: the window system would append it to every title, and each window's title
// is exactly its caption.
void setUpApplication();

}  // namespace qj::ui
