#include "core/text_grid.h"

#include <algorithm>

namespace vortan {

namespace {
const QString& emptyText()
{
    static const QString empty;
    return empty;
}
} // namespace

TextGrid::TextGrid(int columns, int rows) : columns_(std::max(columns, 1))
{
    setRowCount(rows);
}

const QString& TextGrid::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_)
        return emptyText();
    return rows_[static_cast<std::size_t>(row)][column];
}

void TextGrid::setCell(int row, int column, const QString& text)
{
    if (row < 0 || column < 0 || column >= columns_)
        return;
    if (row >= rowCount())
        setRowCount(row + 1);
    rows_[static_cast<std::size_t>(row)][column] = text;
}

QStringList TextGrid::row(int row) const
{
    if (row < 0 || row >= rowCount())
        return QStringList(columns_, QString());
    return rows_[static_cast<std::size_t>(row)];
}

void TextGrid::setRowCount(int rows)
{
    rows_.resize(static_cast<std::size_t>(std::max(rows, 0)), QStringList(columns_, QString()));
}

void TextGrid::appendRow()
{
    rows_.push_back(QStringList(columns_, QString()));
}

void TextGrid::removeRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it)
        if (*it >= 0 && *it < rowCount())
            rows_.erase(rows_.begin() + *it);
}

void TextGrid::clear(int rows)
{
    rows_.clear();
    setRowCount(rows);
}

bool TextGrid::rowHoldsData(int row) const
{
    if (row < 0 || row >= rowCount())
        return false;
    const QStringList& cells = rows_[static_cast<std::size_t>(row)];
    return std::any_of(cells.begin(), cells.end(), [](const QString& text) { return !text.isEmpty(); });
}

int TextGrid::usedRowCount() const
{
    for (int r = rowCount() - 1; r >= 0; --r)
        if (rowHoldsData(r))
            return r + 1;
    return 0;
}

} // namespace vortan
