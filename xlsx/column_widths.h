#pragma once
// Column widths that fit what the cells of a worksheet show, in Excel's unit
// (the width of one digit of the standard font).

#include <QString>
#include <QStringView>
#include <vector>

namespace vortan::xlsx {

// The width a text takes: East Asian wide and full-width characters count
// two digits, others one; of a text of several lines its widest line.
double textWidth(QStringView text);

class ColumnWidths {
public:
    explicit ColumnWidths(int columns)
        : widest_(static_cast<std::size_t>(columns), 0.0), numbers_(static_cast<std::size_t>(columns))
    {
    }

    // Widens the column to the text when it is wider than what it holds.
    void fit(int column, QStringView shown);
    // The same for a number shown in the pattern (one pattern per column).
    // Only the column's largest and smallest numbers are formatted, when the
    // width is asked for: no wider text can come from a value between them.
    void fitNumber(int column, double value, const QString& pattern);

    // The width of the column: its widest text with a margin, at least 6 and
    // at most 60 (longer texts are cut off at the cell's edge).
    double width(int column) const;

private:
    struct NumberRange {
        bool any = false;
        double low = 0;
        double high = 0;
        QString pattern;
    };
    std::vector<double> widest_;
    std::vector<NumberRange> numbers_;
};

} // namespace vortan::xlsx
