#pragma once
// The windows of the program: the one place that knows every window the frame opens.

#include "frame/ui/window_factory.h"

namespace qj::ui {

// The windows of the program, wired in one line each.
WindowFactory programWindows();

}  // namespace qj::ui
