#pragma once
// Captions fitted into word-wrapping labels of fixed width, measured in the label's own
// font.

#include <QFont>
#include <QLabel>
#include <QString>
#include <string_view>

namespace qj::ui {

// The code-page-1251 text with the breaks that make it fit a label `width` pixels wide.
QString fittedCaption(const QFont& font, std::string_view text, int width);

// Sets the label's caption to the text fitted to `width` (the label's width).
void fitCaption(QLabel* label, std::string_view text, int width);

}  // namespace qj::ui
