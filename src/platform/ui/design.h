#pragma once
// The one place where the windows' design pixels become pixels of the font in use. Every
// window takes its positions, widths, limits and sizes through px(), and its fonts of a
// design height through designFont(), so that whatever fits in the design fits here, in
// either shell and at any screen resolution.

#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace qj::ui {

// The factor of the application's font (measured once, on first use).
double designScale();
// Measured anew, after the application's font changed (tests).
void resetDesignScale();

int px(int designPixels);
QPoint px(QPoint design);
QSize px(QSize design);
QRect px(QRect design);
std::vector<int> px(const std::vector<int>& design);

// A font's size relative to the application's: 1 for the windows' own font, 13/11 for a
// design label of 13 pixels.
double designSizeOf(const QFont& font);

// `size` widened, where needed, so that the window's frame shows its whole caption (the
// application's name that Qt appends included) in the font of window titles.
QSize withRoomForCaption(const QWidget* window, QSize size);

// The application's font at a size the design gives as a pixel height of its font (the
// design's labels of 13, 16 or 19 pixels), bold or not.
QFont designFont(int designPixels, bool bold = false);

}  // namespace qj::ui
