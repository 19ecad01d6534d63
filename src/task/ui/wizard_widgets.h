#pragma once
// Small makers of the task wizard's controls: each gets its component name as objectName
// and its caption from the shell.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QString>

#include "frame/message.h"
#include "platform/ui/qt_text.h"

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

// A word-wrapping label of fixed width whose caption is fitted to it.
QLabel* makeFittedLabel(QWidget* parent, const char* name, const Text& text, int width,
                        const ShellTables& texts);

inline QLineEdit* makeEdit(QWidget* parent, const char* name, int width) {
  auto* edit = named(new QLineEdit(parent), name);
  edit->setFixedWidth(width);
  return edit;
}

inline QRadioButton* makeRadio(QWidget* parent, const char* name, const Text& text,
                               const ShellTables& texts) {
  return named(new QRadioButton(qtText(text, texts), parent), name);
}

inline QPushButton* makeButton(QWidget* parent, const char* name, const Text& text,
                               const ShellTables& texts) {
  return named(new QPushButton(qtText(text, texts), parent), name);
}

}  // namespace qj::ui
