#pragma once
// What a window receives of the program instead of the main window: the shared state, the
// message boxes and the protocol's save (AppContext), and for the windows that open other
// windows, those windows and the main window itself (WindowHost). The main window is both.

#include <QWidget>
#include <string>

#include "frame/app_state.h"
#include "frame/ui/window_factory.h"
#include "platform/messages.h"
#include "text/ui/message_host.h"

namespace qj::ui {

class AppContext : public MessageHost {
 public:
  virtual AppState& state() = 0;
  // The program's own boxes, for a window that shows them without an owner of its choice.
  virtual Messages& messages() = 0;
  // Shows news that nobody asked for (what became of a print job) as a notice over the main
  // window, once no window that holds the user (an operation window, a box) is open.
  virtual void showNotice(const Message& message) = 0;
  // Writes the protocol file. Call it after every change of a task's status as well as after
  // a task is saved; a file that cannot be written gives its message.
  virtual void SaveProtocol() = 0;

 protected:
  ~AppContext() = default;
};

class WindowHost : public AppContext {
 public:
  // The main window: operation windows centre on it and enable it again when they close.
  virtual QWidget* mainWindow() = 0;
  // The windows a chooser or a hand-over opens.
  virtual const WindowFactory& windows() const = 0;
  // Opens a window that a command or a hand-over created as an operation window, or a viewer
  // as an MDI child.
  virtual void openWindow(QWidget* window) = 0;
  virtual void openViewer(QWidget* viewer) = 0;
  // The task wizard's solve-now hand-over: the optimiser runs this one task by itself.
  virtual void openOptimiserFor(const std::string& taskCode) = 0;

 protected:
  ~WindowHost() = default;
};

}  // namespace qj::ui
