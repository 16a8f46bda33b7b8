#pragma once
// The cells of an editor's grid as the texts the user sees, row by row. Rows
// "holding data" are those with at least one non-empty cell; the used rows
// are every row up to the last one holding data, so an empty row between
// filled rows counts as used and a trailing empty row does not.

#include <QString>
#include <QStringList>
#include <vector>

namespace vortan {

class TextGrid {
public:
    explicit TextGrid(int columns = 1, int rows = 0);

    int columnCount() const { return columns_; }
    int rowCount() const { return static_cast<int>(rows_.size()); }

    // The empty text outside the grid.
    const QString& cell(int row, int column) const;
    // Grows the grid by rows when the row lies beyond the last one; columns
    // outside the grid are ignored.
    void setCell(int row, int column, const QString& text);
    QStringList row(int row) const;

    void setRowCount(int rows);
    void appendRow();
    // Removes the rows (any order, duplicates allowed).
    void removeRows(std::vector<int> rows);
    // Resets the grid to `rows` empty rows.
    void clear(int rows = 0);

    bool rowHoldsData(int row) const;
    // The number of rows from the first up to the last row holding data.
    int usedRowCount() const;

private:
    int columns_;
    std::vector<QStringList> rows_;
};

} // namespace vortan
