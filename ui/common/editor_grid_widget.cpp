#include "ui/common/editor_grid_widget.h"

#include <QHeaderView>
#include <QItemSelectionModel>

namespace vortan::sheet {

EditorGrid::EditorGrid(TextGridModel* model, QWidget* parent) : SheetGrid(parent), model_(model)
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    connect(model_, &TextGridModel::edited, this, [this] { emit userEdited(); });

    Handlers handlers;
    handlers.appendRow = [this] { return appendRow(); };
    handlers.deleteRows = [this](std::vector<int> rows) {
        if (deleter_)
            deleter_(std::move(rows));
    };
    handlers.paste = [this](int row, int column, const CellBlock& block) { paste(row, column, block); };
    setHandlers(std::move(handlers));
}

int EditorGrid::lettersWidth(int letters) const
{
    return fontMetrics().horizontalAdvance(QString(letters, QLatin1Char('O'))) + 10;
}

void EditorGrid::setColumnWidthsInLetters(const std::vector<int>& letters)
{
    letters_ = letters;
    for (int c = 0; c < static_cast<int>(letters.size()); ++c)
        setColumnWidth(c, lettersWidth(letters[static_cast<std::size_t>(c)]));
}

bool EditorGrid::appendRow()
{
    model_->appendRow();
    if (appended_)
        appended_();
    return true;
}

void EditorGrid::paste(int row, int column, const CellBlock& block)
{
    bool changed = false;
    for (int r = 0; r < static_cast<int>(block.size()); ++r) {
        const QStringList& cells = block[static_cast<std::size_t>(r)];
        while (row + r >= model_->rowCount())
            appendRow();
        for (int c = 0; c < cells.size() && column + c < model_->columnCount(); ++c) {
            const QModelIndex index = model_->index(row + r, column + c);
            if (!(model_->flags(index) & Qt::ItemIsEditable))
                continue;
            changed = model_->setData(index, cells.at(c)) || changed;
        }
    }
    if (changed)
        emit userEdited();
}

std::vector<int> EditorGrid::wholeSelectedRows() const
{
    std::vector<int> rows;
    if (!selectionModel())
        return rows;
    for (int r = 0; r < model_->rowCount(); ++r)
        if (selectionModel()->isRowSelected(r, QModelIndex()))
            rows.push_back(r);
    return rows;
}

} // namespace vortan::sheet
