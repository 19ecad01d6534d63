#pragma once
// A user's moves in the program's grids and the event loop around them, for window tests:
// clicking a cell, typing into it, pressing the wizards' keys.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "wizard/ui/grid_view.h"

namespace qj::test {

// Lets posted events run, deferred deletions included.
inline void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// Keys typed into a widget one character at a time, each pressed and released, in any script.
inline void typeKeys(QWidget* widget, const QString& text) {
  for (const QChar c : text)
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QKeyEvent key(type, 0, Qt::NoModifier, QString(c));
      QApplication::sendEvent(widget, &key);
    }
}

// Makes a cell current, as a click on it would.
inline void goToCell(ui::GridView* view, int row, int tableColumn) {
  const QModelIndex index =
      view->gridModel()->index(row, view->gridModel()->viewColumn(tableColumn));
  ASSERT_TRUE(index.isValid()) << view->objectName().toStdString() << " " << row << " "
                               << tableColumn;
  view->setCurrentIndex(index);
  emit view->clicked(index);
}

// Types the text into a cell in place of what it held and leaves the cell with Enter.
inline void typeIntoCell(ui::GridView* view, int row, int tableColumn, const QString& text) {
  goToCell(view, row, tableColumn);
  if (!view->indexWidget(view->currentIndex())) view->edit(view->currentIndex());
  auto* editor = qobject_cast<QLineEdit*>(view->indexWidget(view->currentIndex()));
  ASSERT_NE(editor, nullptr) << view->objectName().toStdString() << " " << row << " "
                             << tableColumn;
  editor->selectAll();
  QKeyEvent erase(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier);
  QApplication::sendEvent(editor, &erase);
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(editor, &press);
  }
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QApplication::sendEvent(editor, &enter);
  settle();
}

// A key pressed in a grid: the open cell editor gets it first, as it has the focus.
inline void pressInGrid(ui::GridView* view, Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
  QWidget* target = view->indexWidget(view->currentIndex());
  const QString text = key == Qt::Key_Space ? QStringLiteral(" ") : QString();
  QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(target ? target : view, &event);
  settle();
}

}  // namespace qj::test
