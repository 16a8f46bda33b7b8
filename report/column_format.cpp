#include "report/column_format.h"

#include "core/number_text.h"

namespace vortan::report {

ColumnFormat::ColumnFormat(QString pattern, OtherTexts others) : pattern_(std::move(pattern)), others_(others) {}

const ColumnFormat::Cell& ColumnFormat::cell(const QString& value)
{
    const auto known = cells_.find(value);
    if (known != cells_.end())
        return known->second;
    Cell cell;
    cell.value = numtext::parseNumber(value);
    if (cell.value)
        cell.text = numtext::formatNumber(*cell.value, pattern_);
    else if (others_ == OtherTexts::AsTheyAre)
        cell.text = value;
    return cells_.emplace(value, std::move(cell)).first->second;
}

} // namespace vortan::report
