#pragma once
// Captions fitted into word-wrapping labels of fixed width. A caption breaks where the design
// breaks it in a label of the design's width, whatever the font in use.

#include <QFont>
#include <QLabel>
#include <QString>
#include <string_view>

namespace qj::ui {

// The code-page-1251 text with the breaks that make it fit a label `width` pixels wide.
QString fittedCaption(const QFont& font, std::string_view text, int width);

// How many times the text fitted to `width` breaks inside a word.
int wordBreaks(const QFont& font, std::string_view text, int width);

// Sets the label's caption to the text fitted to `width` (the label's width).
void fitCaption(QLabel* label, std::string_view text, int width);

}  // namespace qj::ui
