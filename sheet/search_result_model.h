#pragma once
// The rows of a survey search as a table for the result grid: thirteen
// columns headed by their column names, every cell read-only text.

#include "sheet/survey_search.h"

#include <QAbstractTableModel>
#include <vector>

namespace vortan::sheet {

class SearchResultModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setRows(std::vector<SearchRow> rows);
    void clear() { setRows({}); }
    const SearchRow& row(int index) const { return rows_.at(static_cast<std::size_t>(index)); }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    std::vector<SearchRow> rows_;
};

} // namespace vortan::sheet
