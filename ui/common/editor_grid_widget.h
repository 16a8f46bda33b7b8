#pragma once
// The spreadsheet grid of the master and formula editors: a SheetGrid over a
// TextGridModel. Moving down past the last row adds a row, pasting writes a
// block of cells (adding rows as needed), and the Delete key hands the
// selected rows to the owner. Column widths are given in letters "O" of the
// grid's font.

#include "core/text_grid_model.h"
#include "ui/common/sheet_grid_widget.h"

#include <functional>
#include <vector>

namespace vortan::sheet {

class EditorGrid : public SheetGrid {
    Q_OBJECT

public:
    EditorGrid(TextGridModel* model, QWidget* parent = nullptr);

    TextGridModel* gridModel() const { return model_; }
    void setColumnWidthsInLetters(const std::vector<int>& letters);
    // The width of `letters` letters "O" in the grid's font, with the cell margins.
    int lettersWidth(int letters) const;

    // What the Delete key does with the selected rows (ascending); nothing
    // by default.
    void setRowDeleter(std::function<void(std::vector<int>)> deleter) { deleter_ = std::move(deleter); }
    // Runs after the grid added a row at its end (moving past the last row,
    // pasting beyond it).
    void setRowAppended(std::function<void()> appended) { appended_ = std::move(appended); }

    // The rows whose every column is selected, ascending.
    std::vector<int> wholeSelectedRows() const;

signals:
    // A cell was changed by the user (typing or pasting).
    void userEdited();

private:
    bool appendRow();
    void paste(int row, int column, const CellBlock& block);

    TextGridModel* model_;
    std::vector<int> letters_;
    std::function<void(std::vector<int>)> deleter_;
    std::function<void()> appended_;
};

} // namespace vortan::sheet
