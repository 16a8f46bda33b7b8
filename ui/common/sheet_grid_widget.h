#pragma once
// A table view that edits like a spreadsheet: typing a character replaces the
// cell with it, Enter and the arrow keys finish the entry and move, Tab moves
// right, moving down past the last row (Down or Enter) adds a row, the Delete
// key deletes the selected rows, and a rectangular block of cells is copied
// to and pasted from the clipboard as tab-separated text. What adding,
// deleting and pasting do is up to the owner (handlers). Columns of numbers
// refuse any other character as it is typed, with the bell.

#include "sheet/cell_block_text.h"

#include <QHash>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <functional>
#include <vector>

namespace vortan {
class UserInterface;
}

namespace vortan::sheet {

class SheetGrid;

// The editor of a cell: a line edit whose keys finish the entry and move the
// cursor as a spreadsheet does.
class SheetItemDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit SheetItemDelegate(SheetGrid* grid);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

protected:
    bool eventFilter(QObject* object, QEvent* event) override;

private:
    SheetGrid* grid_;
};

class SheetGrid : public QTableView {
    Q_OBJECT

public:
    struct Handlers {
        // Adds a row at the end; false when none could be added.
        std::function<bool()> appendRow;
        // Deletes these rows (ascending).
        std::function<void(std::vector<int>)> deleteRows;
        // Writes the block with its top-left cell at the model's (row, column).
        std::function<void(int row, int column, const CellBlock&)> paste;
    };

    explicit SheetGrid(QWidget* parent = nullptr);

    void setHandlers(Handlers handlers) { handlers_ = std::move(handlers); }
    // The characters the model's `column` takes as typed; the bell rings
    // through `ui` for any other.
    void setAllowedCharacters(int column, const QString& allowed, UserInterface& ui);
    // The characters of `column`, empty when it takes any.
    QString allowedCharacters(int column) const { return allowed_.value(column); }

    // The rectangle of selected cells (visible columns only) as clipboard
    // text; empty when nothing is selected.
    QString selectedBlockText() const;
    void copySelection();
    // Pastes the clipboard text at the top-left selected cell (the current
    // cell when nothing is selected).
    void pasteClipboard();
    // The rows holding a selected cell, ascending; the current row when
    // nothing is selected.
    std::vector<int> selectedRows() const;
    void deleteSelectedRows();

    // Moves the current cell by one in the direction of the key (Up, Down,
    // Left, Right); Down on the last row adds a row first.
    void moveCursorBy(int key);

    // Used by the delegate.
    void noteEditorOpened(QWidget* editor, int column);
    bool enteredByTyping() const { return enteredByTyping_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // Text composed with an input method starts an entry as a typed key does.
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

signals:
    void focusEntered();

private:
    int nextVisibleColumn(int column, int step) const;
    // False (after the bell) when the current cell refuses `typed`.
    bool currentCellTakes(const QString& typed);

    Handlers handlers_;
    QHash<int, QString> allowed_;
    UserInterface* ui_ = nullptr;
    QPointer<QWidget> lastEditor_;
    bool enteredByTyping_ = false;
};

} // namespace vortan::sheet
