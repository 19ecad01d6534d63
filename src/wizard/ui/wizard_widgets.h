#pragma once
// Small makers of the wizards' controls: each gets its component name as objectName
// and its caption from the shell.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/design.h"
#include "platform/ui/qt_text.h"
#include "text/message.h"

namespace qj::ui {

inline QString qtText(const Text& text, const ShellTables& texts) {
  return toQt(text.resolve(texts));
}

template <typename W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

inline QLabel* makeLabel(QWidget* parent, const char* name, const Text& text,
                         const ShellTables& texts) {
  return named(new QLabel(qtText(text, texts), parent), name);
}

// A value beside its caption in the header strips and summaries: bold, selectable.
QLabel* makeValueLabel(QWidget* parent, const std::string& name);

// Sets a label's caption from code-page-1251 text. A fitted caption is broken to the label's
// width (its fixed width, else its present width) and fitted again by refitCaption when that
// width changes.
void setCaption(QLabel* label, std::string_view cp1251, bool fit);
void refitCaption(QLabel* label);
// The caption as set, before any fitting, and whether it is fitted.
std::string captionBytes(const QLabel* label);
QString captionOf(const QLabel* label);
bool isFitted(const QLabel* label);
// The least width from `from` on at which every label's caption reads without a word broken:
// a fitted caption is broken only at its blanks, the others are at least as wide as their
// longest word.
int readableCaptionWidth(const std::vector<const QLabel*>& labels, int from);

// The title of a page, centred over it.
QLabel* makePageTitle(QWidget* parent, const char* name, const Text& text,
                      const ShellTables& texts);

// A word-wrapping label of fixed width (in design pixels) whose caption is fitted to it.
QLabel* makeFittedLabel(QWidget* parent, const char* name, const Text& text, int width,
                        const ShellTables& texts);

// An edit `width` design pixels wide.
inline QLineEdit* makeEdit(QWidget* parent, const char* name, int width) {
  auto* edit = named(new QLineEdit(parent), name);
  edit->setFixedWidth(px(width));
  return edit;
}

// Shows a picker's items (when they changed) and its chosen row without running the handlers
// that a user's choice runs.
void showChoice(QComboBox* box, const std::vector<std::string>& items, int row);

inline QRadioButton* makeRadio(QWidget* parent, const char* name, const Text& text,
                               const ShellTables& texts) {
  return named(new QRadioButton(qtText(text, texts), parent), name);
}

// A button's caption keeps its access key. Enter presses the button that holds the focus, as
// the SpaceBar does: outside a dialog Qt leaves Enter to buttons marked auto-default only.
inline QPushButton* makeButton(QWidget* parent, const char* name, const Text& text,
                               const ShellTables& texts) {
  auto* button = named(new QPushButton(qtText(text.withAccessKeys(), texts), parent), name);
  button->setAutoDefault(true);
  return button;
}

}  // namespace qj::ui
