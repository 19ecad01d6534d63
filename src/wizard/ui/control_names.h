#pragma once
// The names a wizard's steps hand to its window (a refusal's focus, the page's control to
// focus, the controls whose captions change) must each name a widget of that window. The names
// are partly built at run time ("Label1_" + a page's suffix), so only a run-time check keeps the
// core and the pages in step: a name no widget carries is a fault, loud in debug builds and in
// the window tests, and in a release build the change is left out as before.

#include <QWidget>
#include <functional>
#include <string_view>

namespace qj::ui {

using MissingControlHandler = std::function<void(const QWidget& window, std::string_view name)>;

// Replaces what a miss does; returns the handler it replaced. By default a debug build stops
// with the name and the window, a release build does nothing.
MissingControlHandler setMissingControlHandler(MissingControlHandler handler);

// The widget of `window` with this component name. An empty name names no control and is no
// miss; a name that no widget carries goes to the handler and gives nullptr.
QWidget* namedControl(const QWidget& window, std::string_view name);

}  // namespace qj::ui
