#pragma once
// The text a record sheet column prints for a cell value, by the column's
// number pattern. The values of a column repeat from point to point (the
// depths of every point, blow counts, corrections), so each distinct value
// is read and formatted once per sheet.

#include "report/text_hash.h"

#include <QString>
#include <optional>
#include <unordered_map>

namespace vortan::report {

class ColumnFormat {
public:
    // What a cell that is not a number prints: nothing, or the cell as it is.
    enum class OtherTexts { Blank, AsTheyAre };

    struct Cell {
        QString text;                  // as printed
        std::optional<double> value;   // the number the cell holds, if it is one
    };

    ColumnFormat(QString pattern, OtherTexts others);

    const Cell& cell(const QString& value);

private:
    QString pattern_;
    OtherTexts others_;
    std::unordered_map<QString, Cell, TextHash> cells_;
};

} // namespace vortan::report
