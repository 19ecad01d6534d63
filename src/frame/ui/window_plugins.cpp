// Every window that the frame opens is wired in here, one line each.
#include "frame/ui/window_factory.h"

namespace qj::ui {

WindowFactory programWindows() {
  WindowFactory windows;
  return windows;
}

}  // namespace qj::ui
