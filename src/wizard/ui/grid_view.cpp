#include "wizard/ui/grid_view.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScopedValueRollback>

#include "platform/ui/qt_text.h"
#include "text/key_filters.h"
#include "text/ui/key_filter_validator.h"

namespace qj::ui {

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  auto* editor = qobject_cast<QLineEdit*>(QStyledItemDelegate::createEditor(parent, option, index));
  const auto* model = qobject_cast<const GridModel*>(index.model());
  if (editor && model) {
    const FieldRule rule = model->cellRule(index);
    new KeyFilterValidator(editor, rule, texts_ ? keyFilterTip(rule, *texts_) : QString());
    // The open cell is framed: an empty cell being typed into shows where the keys go.
    editor->setStyleSheet(
        QStringLiteral("QLineEdit { border: 2px solid palette(highlight); padding: 0px; }"));
  }
  return editor;
}

GridView::GridView(QWidget* parent) : QTableView(parent), delegate_(new GridDelegate(this)) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  setItemDelegate(delegate_);
  setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AnyKeyPressed |
                  QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setTabKeyNavigation(true);
  setWordWrap(false);
}

void GridView::setGridModel(GridModel* model) {
  model_ = model;
  setModel(model);
}

void GridView::setColumnWidths(const std::vector<int>& widths) {
  for (size_t i = 0; i < widths.size(); ++i) setColumnWidth(static_cast<int>(i), widths[i]);
}

void GridView::showRowAtTop(int row, int tableColumn) {
  if (!model_ || row < 0 || row >= model_->rowCount()) return;
  int col = tableColumn >= 0 ? model_->viewColumn(tableColumn) : -1;
  if (col < model_->fixedColumns()) col = firstFreeColumn();
  const QModelIndex index = model_->index(row, std::max(col, 0));
  scrollTo(index, QAbstractItemView::PositionAtTop);
  // The focus first: the editor that the cell opens takes it from the grid (given to the grid
  // afterwards, it would close that editor).
  setFocus();
  if (index == currentIndex() && !indexWidget(index))
    edit(index, CurrentChanged, nullptr);  // already current, as the focus arriving made it
  else
    setCurrentIndex(index);
}

int GridView::firstFreeColumn() const {
  return std::max(std::min(model_->fixedColumns(), model_->columnCount() - 1), 0);
}

bool GridView::typable(int row, int column) const {
  return model_->flags(model_->index(row, column)) & Qt::ItemIsEditable;
}

QModelIndex GridView::firstTypableCell(int row) const {
  for (int c = firstFreeColumn(); c < model_->columnCount(); ++c)
    if (typable(row, c)) return model_->index(row, c);
  return model_->index(row, firstFreeColumn());
}

QModelIndex GridView::typableCellAfter(const QModelIndex& from, bool forward) const {
  const int columns = model_->columnCount(), rows = model_->rowCount();
  if (!from.isValid() || columns == 0) return {};
  // Cell by cell in reading order; a long grid with nothing to type after the cursor is read
  // through once per Tab.
  int row = from.row(), col = from.column();
  while (true) {
    col += forward ? 1 : -1;
    if (col >= columns) {
      col = 0;
      ++row;
    } else if (col < 0) {
      col = columns - 1;
      --row;
    }
    if (row < 0 || row >= rows) return {};
    if (col >= model_->fixedColumns() && typable(row, col)) return model_->index(row, col);
  }
}

void GridView::focusInEvent(QFocusEvent* e) {
  // A grid with the focus always has a current cell to show.
  if (model_ && !currentIndex().isValid() && model_->rowCount() > 0)
    setCurrentIndex(firstTypableCell(0));
  QTableView::focusInEvent(e);
  // The keys go to the current cell's open editor: the grid under it would drop them.
  if (QWidget* editor = indexWidget(currentIndex())) editor->setFocus();
}

void GridView::enterCell(int row, int tableColumn, bool atTop) {
  if (!model_ || row < 0 || row >= model_->rowCount()) return;
  const int col = tableColumn >= 0 ? model_->viewColumn(tableColumn) : -1;
  const QModelIndex index =
      col >= model_->fixedColumns() ? model_->index(row, col) : firstTypableCell(row);
  // An editor open elsewhere is left as leaving its cell would.
  if (QWidget* editor = indexWidget(currentIndex())) {
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
  }
  setFocus();
  const QScopedValueRollback closed(editorStaysClosed_, true);
  setCurrentIndex(index);
  scrollTo(index, atTop ? PositionAtTop : EnsureVisible);
}

void GridView::scrollRowToTop(int row) {
  if (!model_ || row < 0 || row >= model_->rowCount()) return;
  scrollTo(model_->index(row, std::max(currentIndex().column(), 0)), PositionAtTop);
}

int GridView::currentRow() const {
  return currentIndex().isValid() ? currentIndex().row() : -1;
}

int GridView::currentTableColumn() const {
  return model_ && currentIndex().isValid() ? model_->tableColumn(currentIndex().column()) : -1;
}

void GridView::commitEditor() {
  if (QWidget* editor = indexWidget(currentIndex())) commitData(editor);
}

std::optional<GridKey> GridView::gridKey(const QKeyEvent* e) const {
  const auto mods = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  const bool ctrl = mods == Qt::ControlModifier;
  switch (e->key()) {
    case Qt::Key_Insert:
      if (ctrl) return GridKey::InsertRow;
      break;
    case Qt::Key_Delete: return ctrl ? GridKey::DeleteRow : GridKey::Delete;
    case Qt::Key_A:
      if (ctrl) return GridKey::PrevType;
      break;
    case Qt::Key_S:
      if (ctrl) return GridKey::NextType;
      break;
    case Qt::Key_Q:
      if (ctrl) return GridKey::PrevName;
      break;
    case Qt::Key_W:
      if (ctrl) return GridKey::NextName;
      break;
    case Qt::Key_Space:
      if (mods == Qt::NoModifier) return GridKey::Space;
      break;
    default: break;
  }
  return std::nullopt;
}

bool GridView::dispatch(GridKey key, QWidget* editor) {
  // A command works on the cells as the user sees them: what is typed into the open editor
  // counts as if the cell had been left, Enter or no Enter.
  if (!editor) editor = indexWidget(currentIndex());
  if (editor) commitData(editor);
  const bool handled = keyHandler_ && keyHandler_(key, currentRow(), currentTableColumn());
  // Keys that would otherwise reach Qt's own bindings stop here.
  return handled || (key != GridKey::Space && key != GridKey::Delete);
}

bool GridView::tabWraps(bool forward) {
  const QModelIndex current = currentIndex();
  if (!model_ || !current.isValid()) return true;
  const QModelIndex to = moveCursor(forward ? MoveNext : MovePrevious, Qt::NoModifier);
  if (!to.isValid()) return true;
  const auto before = [](const QModelIndex& a, const QModelIndex& b) {
    return a.row() < b.row() || (a.row() == b.row() && a.column() < b.column());
  };
  return forward ? !before(current, to) : !before(to, current);
}

std::optional<bool> GridView::leavingTab(const QKeyEvent* e) {
  const bool tab = e->key() == Qt::Key_Tab, backtab = e->key() == Qt::Key_Backtab;
  if (!tab && !backtab) return std::nullopt;
  const bool forward = tab && !(e->modifiers() & Qt::ShiftModifier);
  if (e->modifiers() & Qt::AltModifier) return std::nullopt;
  if (e->modifiers() & Qt::ControlModifier || tabWraps(forward)) return forward;
  return std::nullopt;
}

std::optional<QAbstractItemView::CursorAction> GridView::leavingArrow(const QKeyEvent* e,
                                                                      const QLineEdit& editor) {
  const bool left = e->key() == Qt::Key_Left, right = e->key() == Qt::Key_Right;
  if ((!left && !right) || (e->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
    return std::nullopt;
  const qsizetype length = editor.text().size();
  const bool whole = editor.selectionStart() == 0 && editor.selectionLength() == length;
  const bool atEnd = !editor.hasSelectedText() && editor.cursorPosition() == (left ? 0 : length);
  if (!whole && !atEnd) return std::nullopt;
  return left ? MoveLeft : MoveRight;
}

void GridView::step(CursorAction action, QWidget* editor) {
  commitData(editor);
  // The fixed columns and the grid's edges keep the cell, its text as it is.
  const QModelIndex to = moveCursor(action, Qt::NoModifier);
  if (to.isValid() && to != currentIndex()) setCurrentIndex(to);
}

void GridView::leave(bool forward, QWidget* editor) {
  if (editor) commitData(editor);
  // From the grid's own place in the tab order, not from its editor's.
  setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
  QWidget::focusNextPrevChild(forward);
}

bool GridView::focusNextPrevChild(bool next) {
  if (tabWraps(next)) return QWidget::focusNextPrevChild(next);
  return QTableView::focusNextPrevChild(next);
}

bool GridView::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress)
    if (const auto forward = leavingTab(static_cast<QKeyEvent*>(e))) {
      leave(*forward, nullptr);
      return true;
    }
  if (e->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (gridKey(k)) {
      k->accept();
      return true;
    }
  }
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (const auto key = gridKey(k); key && dispatch(*key, nullptr)) return true;
    if (eraseClosedCell(*k)) return true;
  }
  return QTableView::event(e);
}

bool GridView::eraseClosedCell(const QKeyEvent& k) {
  const QModelIndex index = currentIndex();
  if ((k.key() != Qt::Key_Backspace && k.key() != Qt::Key_Delete) ||
      (k.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier || !model_ || !index.isValid() ||
      indexWidget(index) || !typable(index.row(), index.column()) ||
      !edit(index, AllEditTriggers, nullptr))
    return false;
  // As the keys would in the open editor with its text selected: the text goes, the editor
  // stays open for what is typed next.
  if (auto* editor = qobject_cast<QLineEdit*>(indexWidget(index))) {
    editor->selectAll();
    editor->del();
  }
  return true;
}

// The open editor sees the keys first; they go through the same dispatch.
bool GridView::eventFilter(QObject* watched, QEvent* e) {
  auto* editor = qobject_cast<QLineEdit*>(watched);
  if (editor && (e->type() == QEvent::ShortcutOverride || e->type() == QEvent::KeyPress)) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (e->type() == QEvent::KeyPress) {
      if (const auto forward = leavingTab(k)) {
        leave(*forward, editor);
        return true;
      }
      if (const auto action = leavingArrow(k, *editor)) {
        step(*action, editor);
        return true;
      }
    }
    if (const auto key = gridKey(k)) {
      if (e->type() == QEvent::ShortcutOverride) {
        k->accept();
        return true;
      }
      if (dispatch(*key, editor)) return true;
    }
  }
  return QTableView::eventFilter(watched, e);
}

bool GridView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  if (editorStaysClosed_ && trigger == CurrentChanged) return false;
  const bool opened = QTableView::edit(index, trigger, event);
  if (opened) {
    if (QWidget* editor = indexWidget(index)) editor->installEventFilter(this);
  } else if (trigger == AnyKeyPressed && model_ && index.isValid() && event &&
             event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!key->text().isEmpty() && key->text().at(0).isPrint() &&
        !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
        !(typingRefused_ && typingRefused_(index.row(), model_->tableColumn(index.column()))))
      refuseTyping(index);
  }
  return opened;
}

void GridView::refuseTyping(const QModelIndex& index) {
  if (!texts_) return;  // a grid only looked at has nothing to refuse
  QApplication::beep();
  QRect cell = visualRect(index);
  cell.moveTopLeft(viewport()->mapTo(this, cell.topLeft()));
  showRefusalTip(this, cell, toQt(noTypingTip().resolve(*texts_)));
}

QModelIndex GridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
  const QModelIndex current = currentIndex();
  if (model_ && (action == MoveNext || action == MovePrevious)) {
    const QModelIndex to = typableCellAfter(current, action == MoveNext);
    return to.isValid() ? to : current;
  }
  const QModelIndex next = QTableView::moveCursor(action, modifiers);
  const int fixed = model_ ? model_->fixedColumns() : 0;
  if (!next.isValid() || next.column() >= fixed || fixed >= model_->columnCount()) return next;
  return model_->index(next.row(), fixed);
}

}  // namespace qj::ui
