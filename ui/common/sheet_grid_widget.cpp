#include "ui/common/sheet_grid_widget.h"

#include "ui/common/allowed_keys_filter.h"
#include "core/user_interface.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <set>

namespace vortan::sheet {

// --- delegate ---------------------------------------------------------------------

SheetItemDelegate::SheetItemDelegate(SheetGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

QWidget* SheetItemDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    grid_->noteEditorOpened(editor, index.column());
    return editor;
}

bool SheetItemDelegate::eventFilter(QObject* object, QEvent* event)
{
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        int move = 0;
        switch (key) {
        case Qt::Key_Return:
        case Qt::Key_Enter: move = Qt::Key_Down; break;
        case Qt::Key_Tab: move = Qt::Key_Right; break;
        case Qt::Key_Backtab: move = Qt::Key_Left; break;
        case Qt::Key_Up:
        case Qt::Key_Down: move = key; break;
        case Qt::Key_Left:
        case Qt::Key_Right:
            // An entry begun by typing ends with the arrow keys as well; in
            // an entry begun by F2 or a double click they move the caret.
            if (grid_->enteredByTyping())
                move = key;
            break;
        default: break;
        }
        if (move != 0) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            grid_->moveCursorBy(move);
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

// --- grid -------------------------------------------------------------------------

SheetGrid::SheetGrid(QWidget* parent) : QTableView(parent)
{
    setItemDelegate(new SheetItemDelegate(this));
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
}

void SheetGrid::setAllowedCharacters(int column, const QString& allowed, UserInterface& ui)
{
    allowed_.insert(column, allowed);
    ui_ = &ui;
}

void SheetGrid::noteEditorOpened(QWidget* editor, int column)
{
    lastEditor_ = editor;
    enteredByTyping_ = false;
    if (allowed_.contains(column) && ui_)
        AllowedKeysFilter::install(editor, allowed_.value(column), *ui_);
}

bool SheetGrid::currentCellTakes(const QString& typed)
{
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !allowed_.contains(current.column())
        || AllowedKeysFilter::accepts(allowed_.value(current.column()), typed))
        return true;
    if (ui_)
        ui_->beep();
    return false;
}

void SheetGrid::focusInEvent(QFocusEvent* event)
{
    QTableView::focusInEvent(event);
    emit focusEntered();
}

int SheetGrid::nextVisibleColumn(int column, int step) const
{
    if (!model())
        return -1;
    for (int c = column + step; c >= 0 && c < model()->columnCount(); c += step)
        if (!isColumnHidden(c))
            return c;
    return -1;
}

void SheetGrid::moveCursorBy(int key)
{
    QAbstractItemModel* m = model();
    if (!m)
        return;
    QModelIndex current = currentIndex();
    int row = current.isValid() ? current.row() : -1;
    int column = current.isValid() ? current.column() : nextVisibleColumn(-1, 1);
    if (column < 0)
        return;

    switch (key) {
    case Qt::Key_Down:
        if (row + 1 >= m->rowCount()) {
            if (!handlers_.appendRow || !handlers_.appendRow() || row + 1 >= m->rowCount())
                return;
        }
        ++row;
        break;
    case Qt::Key_Up:
        if (row <= 0)
            return;
        --row;
        break;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        const int next = nextVisibleColumn(column, key == Qt::Key_Right ? 1 : -1);
        if (next < 0 || row < 0)
            return;
        column = next;
        break;
    }
    default: return;
    }
    const QModelIndex target = m->index(row, column);
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    scrollTo(target);
}

void SheetGrid::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy)) {
        copySelection();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
        event->accept();
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (state() != QAbstractItemView::EditingState && modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Delete:
            deleteSelectedRows();
            event->accept();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Down:
            moveCursorBy(Qt::Key_Down);
            event->accept();
            return;
        case Qt::Key_Tab:
            moveCursorBy(Qt::Key_Right);
            event->accept();
            return;
        case Qt::Key_Space: {
            const QModelIndex current = currentIndex();
            if (current.isValid() && (model()->flags(current) & Qt::ItemIsUserCheckable)) {
                const bool checked = current.data(Qt::CheckStateRole).toInt() == Qt::Checked;
                model()->setData(current, checked ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole);
                event->accept();
                return;
            }
            break;
        }
        default: break;
        }
    }
    if (state() != QAbstractItemView::EditingState && event->key() == Qt::Key_Backtab) {
        moveCursorBy(Qt::Key_Left);
        event->accept();
        return;
    }

    // A printable key starts an entry that replaces the cell with what is typed.
    const QString text = event->text();
    const bool command = modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (state() != QAbstractItemView::EditingState && !command && !text.isEmpty() && text.at(0).isPrint()) {
        const QModelIndex current = currentIndex();
        if (current.isValid() && (model()->flags(current) & Qt::ItemIsEditable)) {
            if (!currentCellTakes(text)) {
                event->accept();
                return;
            }
            lastEditor_ = nullptr;
            edit(current);
            if (auto* line = qobject_cast<QLineEdit*>(lastEditor_.data())) {
                line->setText(text);
                enteredByTyping_ = true;
            }
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

void SheetGrid::inputMethodEvent(QInputMethodEvent* event)
{
    const QModelIndex current = currentIndex();
    const bool hasText = !event->commitString().isEmpty() || !event->preeditString().isEmpty();
    if (state() != QAbstractItemView::EditingState && hasText && current.isValid()
        && (model()->flags(current) & Qt::ItemIsEditable)) {
        if (!currentCellTakes(event->commitString())) {
            event->accept();
            return;
        }
        lastEditor_ = nullptr;
        edit(current);
        if (auto* line = qobject_cast<QLineEdit*>(lastEditor_.data())) {
            line->clear();
            enteredByTyping_ = true;
            QCoreApplication::sendEvent(line, event);
            event->accept();
            return;
        }
    }
    QTableView::inputMethodEvent(event);
}

QString SheetGrid::selectedBlockText() const
{
    const QModelIndexList indexes = selectionModel() ? selectionModel()->selectedIndexes() : QModelIndexList();
    if (indexes.isEmpty())
        return QString();
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
    for (const QModelIndex& index : indexes) {
        if (isColumnHidden(index.column()))
            continue;
        top = std::min(top, index.row());
        bottom = std::max(bottom, index.row());
        left = std::min(left, index.column());
        right = std::max(right, index.column());
    }
    if (bottom < 0)
        return QString();
    CellBlock block;
    for (int r = top; r <= bottom; ++r) {
        QStringList row;
        for (int c = left; c <= right; ++c)
            if (!isColumnHidden(c))
                row << model()->index(r, c).data(Qt::EditRole).toString();
        block.push_back(row);
    }
    return cellBlockToText(block);
}

void SheetGrid::copySelection()
{
    const QString text = selectedBlockText();
    if (!text.isEmpty())
        QGuiApplication::clipboard()->setText(text);
}

void SheetGrid::pasteClipboard()
{
    if (!model() || !handlers_.paste)
        return;
    const CellBlock block = cellBlockFromText(QGuiApplication::clipboard()->text());
    if (block.empty())
        return;
    int row = 0;
    int column = nextVisibleColumn(-1, 1);
    const QModelIndexList indexes = selectionModel()->selectedIndexes();
    if (!indexes.isEmpty()) {
        row = INT_MAX;
        column = INT_MAX;
        for (const QModelIndex& index : indexes) {
            row = std::min(row, index.row());
            column = std::min(column, index.column());
        }
    } else if (currentIndex().isValid()) {
        row = currentIndex().row();
        column = currentIndex().column();
    }
    handlers_.paste(row, column, block);

    // The pasted cells end up selected.
    int width = 0;
    for (const QStringList& cells : block)
        width = std::max(width, static_cast<int>(cells.size()));
    const int bottom = std::min(model()->rowCount() - 1, row + static_cast<int>(block.size()) - 1);
    const int right = std::min(model()->columnCount() - 1, column + width - 1);
    if (bottom >= row && right >= column) {
        selectionModel()->setCurrentIndex(model()->index(row, column), QItemSelectionModel::NoUpdate);
        selectionModel()->select(QItemSelection(model()->index(row, column), model()->index(bottom, right)),
                                 QItemSelectionModel::ClearAndSelect);
    }
}

std::vector<int> SheetGrid::selectedRows() const
{
    std::set<int> rows;
    if (selectionModel())
        for (const QModelIndex& index : selectionModel()->selectedIndexes())
            rows.insert(index.row());
    if (rows.empty() && currentIndex().isValid())
        rows.insert(currentIndex().row());
    return std::vector<int>(rows.begin(), rows.end());
}

void SheetGrid::deleteSelectedRows()
{
    const std::vector<int> rows = selectedRows();
    if (rows.empty() || !handlers_.deleteRows)
        return;
    handlers_.deleteRows(rows);
}

} // namespace vortan::sheet
