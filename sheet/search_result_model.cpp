#include "sheet/search_result_model.h"

namespace vortan::sheet {

void SearchResultModel::setRows(std::vector<SearchRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int SearchResultModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int SearchResultModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : SearchColumnCount;
}

QVariant SearchResultModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
        return {};
    return row(index.row())[static_cast<std::size_t>(index.column())];
}

QVariant SearchResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return SearchColumnNames().value(section);
    return section + 1;
}

} // namespace vortan::sheet
