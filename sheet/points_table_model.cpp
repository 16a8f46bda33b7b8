#include "sheet/points_table_model.h"

#include "sheet/survey_document.h"
#include "sheet/survey_editor.h"

#include <QBrush>
#include <QColor>

namespace vortan::sheet {

namespace {

// Columns of the model count from 0, those of the grid from 1.
int gridColumn(const QModelIndex& index)
{
    return index.column() + 1;
}

const QColor ReadOnlyBackground(0xF2, 0xF2, 0xF2);

} // namespace

PointsTableModel::PointsTableModel(SurveyDocument& document, SurveyEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), doc_(document), editor_(editor), rows_(document.pointCount())
{
    SurveyDocumentEvents& events = doc_.events();
    connect(&events, &SurveyDocumentEvents::pointsReset, this, [this] {
        beginResetModel();
        rows_ = doc_.pointCount();
        endResetModel();
    });
    connect(&events, &SurveyDocumentEvents::pointsInserted, this, [this](int first, int last) {
        beginInsertRows(QModelIndex(), first, last);
        rows_ += last - first + 1;
        endInsertRows();
    });
    connect(&events, &SurveyDocumentEvents::pointsRemoved, this, [this](int first, int last) {
        beginRemoveRows(QModelIndex(), first, last);
        rows_ -= last - first + 1;
        endRemoveRows();
    });
    connect(&events, &SurveyDocumentEvents::pointChanged, this, [this](int point, int first, int last) {
        if (first == 0)
            emit headerDataChanged(Qt::Vertical, point, point);
        first = std::max(first, 1);
        if (last >= first)
            emit dataChanged(index(point, first - 1), index(point, last - 1));
    });
}

int PointsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int PointsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : PointColumn::Count;
}

QVariant PointsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= doc_.pointCount())
        return {};
    const int column = gridColumn(index);
    const QString& text = doc_.pointCell(index.row(), column);
    switch (role) {
    case Qt::DisplayRole:
        return column == PointColumn::印刷 ? QVariant() : QVariant(text);
    case Qt::EditRole:
        return text;
    case Qt::CheckStateRole:
        if (column == PointColumn::印刷)
            return text == uncheckedText() || text.isEmpty() ? Qt::Unchecked : Qt::Checked;
        return {};
    case Qt::TextAlignmentRole:
        if (column == PointColumn::地盤高 || column == PointColumn::地下水位)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        if (column >= PointColumn::印刷)
            return QVariant::fromValue(Qt::AlignCenter);
        return {};
    case Qt::BackgroundRole:
        if (!SurveyEditor::isEditablePointColumn(column))
            return QBrush(ReadOnlyBackground);
        return {};
    default:
        return {};
    }
}

QVariant PointsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return pointColumnHeader(section + 1);
    if (section >= 0 && section < doc_.pointCount())
        return doc_.pointNumber(section);
    return {};
}

Qt::ItemFlags PointsTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    const int column = gridColumn(index);
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (column == PointColumn::印刷)
        flags |= Qt::ItemIsUserCheckable;
    else if (SurveyEditor::isEditablePointColumn(column))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool PointsTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= doc_.pointCount())
        return false;
    const int column = gridColumn(index);
    if (role == Qt::CheckStateRole && column == PointColumn::印刷) {
        const bool checked = value.toInt() == Qt::Checked;
        editor_.editPointCell(index.row(), column, checked ? checkedText() : uncheckedText());
        return true;
    }
    if (role != Qt::EditRole || !SurveyEditor::isEditablePointColumn(column))
        return false;
    editor_.editPointCell(index.row(), column, value.toString());
    return true;
}

} // namespace vortan::sheet
