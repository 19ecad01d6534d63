#pragma once
// The view of the program's string grids: fixed row heights, no headers (titles are labels
// above the grid), an editor that checks typed and pasted text against the grid's rules, and the
// wizards' own keys (Ctrl+Ins, Ctrl+Del, Ctrl+A/S, Ctrl+Q/W, SpaceBar, Delete) taken before Qt's
// defaults and handed to a key handler, after the open cell editor's text has been committed.
// Tab runs from typable cell to typable cell, row after row, and leaves the grid after its last
// one (Shift+Tab before its first); Ctrl+Tab and Ctrl+Shift+Tab always leave it, to the next or
// previous control of the page. A character typed on a cell that takes no typing is dropped with
// a beep and a tip, as a refused key is in any field: it never searches the grid or moves its
// cursor.
// A cell's editor opens as the cell is reached, its text selected, so that typing replaces it;
// Left and Right move its caret while the caret has somewhere to go, and from the start (end)
// of the text, or from the whole text selected, go to the cell on the left (right) after the
// typed text has been committed: arriving and pressing arrows walks the cells as in any grid.

#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <optional>
#include <vector>

#include "text/shell_texts.h"
#include "wizard/grid.h"
#include "wizard/ui/grid_model.h"

namespace qj::ui {

// Gives every cell editor the key filter of its cell, as the edits of the wizards have.
class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  // The shell that words the editors' refusals.
  void setShellTexts(const ShellTables* texts) { texts_ = texts; }

 private:
  const ShellTables* texts_ = nullptr;
};

class GridView : public QTableView {
  Q_OBJECT

 public:
  explicit GridView(QWidget* parent = nullptr);

  void setGridModel(GridModel* model);
  GridModel* gridModel() const { return model_; }
  // The shell that words the refusals of the cell editors.
  void setShellTexts(const ShellTables& texts) {
    texts_ = &texts;
    delegate_->setShellTexts(&texts);
  }

  // Called with the key and the current cell in table coordinates; true when it handled the
  // key. An unhandled SpaceBar or Delete goes on to the editor as usual; the other keys stop.
  using KeyHandler = std::function<bool(GridKey key, int row, int tableColumn)>;
  void setKeyHandler(KeyHandler handler) { keyHandler_ = std::move(handler); }
  // Called when a character is typed on a cell that takes no typing (table coordinates), so
  // that a wizard can say why; true when it did, else the grid beeps and shows its tip.
  using TypingRefusedHandler = std::function<bool(int row, int tableColumn)>;
  void setTypingRefusedHandler(TypingRefusedHandler handler) {
    typingRefused_ = std::move(handler);
  }

  void setColumnWidths(const std::vector<int>& widths);
  // Scrolls so that `row` is the top row, makes its cell of `tableColumn` current (its first
  // cell after the fixed columns for -1 or a hidden column) and gives the grid the focus.
  void showRowAtTop(int row, int tableColumn = -1);
  // Makes the cell of `tableColumn` in `row` current with its editor closed (the row's first
  // typable cell for -1, a hidden or a fixed column; the first cell after the fixed columns
  // where none takes typing), any other open editor left as leaving its cell would, and gives
  // the grid the focus: the next key typed opens the cell's editor with it. `atTop` brings
  // the row to the top of the grid.
  void enterCell(int row, int tableColumn = -1, bool atTop = false);
  void enterRow(int row) { enterCell(row); }
  // Only scrolls so that `row` is the top row.
  void scrollRowToTop(int row);
  int currentRow() const;
  int currentTableColumn() const;
  // Writes the text of an open cell editor into the model, as leaving the cell would: a button
  // clicked without taking the focus still sees what was typed.
  void commitEditor();
  using QTableView::edit;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void focusInEvent(QFocusEvent* e) override;
  // The keyboard never makes a fixed cell current: typing there would go nowhere. Tab and
  // Shift+Tab go to the next and the previous typable cell; where there is none, they stay.
  QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
  // Typing never searches the cells: a character goes into a cell or is refused.
  void keyboardSearch(const QString&) override {}

 private:
  std::optional<GridKey> gridKey(const QKeyEvent* e) const;
  // The first column after the fixed ones (the last column where all are fixed).
  int firstFreeColumn() const;
  // The first typable cell of `row` (its first free cell where none takes typing).
  QModelIndex firstTypableCell(int row) const;
  // The nearest typable cell after (before) `from`, row after row; invalid where none is.
  QModelIndex typableCellAfter(const QModelIndex& from, bool forward) const;
  bool typable(int row, int column) const;
  // Says at the cell that it takes no typing.
  void refuseTyping(const QModelIndex& index);
  // Tab or Shift+Tab that goes out of the grid (forward or back), if the key is one.
  std::optional<bool> leavingTab(const QKeyEvent* e);
  // True when Tab (forward) or Shift+Tab would wrap round the grid rather than move on in it.
  bool tabWraps(bool forward);
  // Left or Right that goes out of the open cell `editor`, if the key is one.
  static std::optional<CursorAction> leavingArrow(const QKeyEvent* e, const QLineEdit& editor);
  // Commits what is typed in `editor` and makes the next cell that way current.
  void step(CursorAction action, QWidget* editor);
  // Gives the focus to the control after (before) the grid, what is typed in `editor` kept.
  void leave(bool forward, QWidget* editor);
  // Runs a key through the handler; `editor` is the open cell editor that got the key, if any.
  bool dispatch(GridKey key, QWidget* editor);
  // Backspace or Delete on a typable cell whose editor is closed opens it emptied; true when
  // the key did.
  bool eraseClosedCell(const QKeyEvent& key);

  GridModel* model_ = nullptr;
  GridDelegate* delegate_;
  const ShellTables* texts_ = nullptr;  // a grid without texts is only looked at
  KeyHandler keyHandler_;
  TypingRefusedHandler typingRefused_;
  bool editorStaysClosed_ = false;  // a cell made current opens no editor
};

}  // namespace qj::ui
