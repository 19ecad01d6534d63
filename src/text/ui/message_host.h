#pragma once
// What a window needs to speak to the user: the texts of the loaded shell and a box that shows
// a composed message. The main window provides it to every window it opens; the wizard kit's
// window needs nothing else of the program.

#include <QWidget>

#include "text/message.h"
#include "text/shell_texts.h"

namespace qj::ui {

class MessageHost {
 public:
  virtual const ShellTables& texts() const = 0;
  // Shows a message in a box over `over`'s window, the window that raised it; without one,
  // over the window the user works in. For a question, true for Yes.
  virtual bool showMessage(const Message& message, QWidget* over = nullptr) = 0;

 protected:
  ~MessageHost() = default;
};

}  // namespace qj::ui
