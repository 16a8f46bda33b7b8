#pragma once
// Column widths that fit what the cells of a worksheet show, in Excel's unit
// (the width of one digit of the standard font).

#include <QStringView>
#include <vector>

namespace vortan::xlsx {

// The width a text takes: East Asian wide and full-width characters count
// two digits, others one; of a text of several lines its widest line.
double textWidth(QStringView text);

class ColumnWidths {
public:
    explicit ColumnWidths(int columns) : widest_(static_cast<std::size_t>(columns), 0.0) {}

    // Widens the column to the text when it is wider than what it holds.
    void fit(int column, QStringView shown);

    // The width of the column: its widest text with a margin, at least 6 and
    // at most 60 (longer texts are cut off at the cell's edge).
    double width(int column) const;

private:
    std::vector<double> widest_;
};

} // namespace vortan::xlsx
