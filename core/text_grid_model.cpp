#include "core/text_grid_model.h"

#include <algorithm>

namespace vortan {

TextGridModel::TextGridModel(TextGrid& grid, QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), headings_(std::move(headings))
{
}

void TextGridModel::setBackground(std::function<std::optional<QColor>(int, int)> background)
{
    background_ = std::move(background);
}

void TextGridModel::setRowHeading(std::function<QString(int)> heading)
{
    rowHeading_ = std::move(heading);
}

void TextGridModel::reload()
{
    beginResetModel();
    endResetModel();
}

void TextGridModel::appendRow()
{
    const int row = grid_.rowCount();
    beginInsertRows(QModelIndex(), row, row);
    grid_.appendRow();
    endInsertRows();
}

void TextGridModel::removeRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
        if (*it < 0 || *it >= grid_.rowCount())
            continue;
        beginRemoveRows(QModelIndex(), *it, *it);
        grid_.removeRows({*it});
        endRemoveRows();
    }
}

void TextGridModel::refreshRowHeadings()
{
    if (grid_.rowCount() > 0)
        emit headerDataChanged(Qt::Vertical, 0, grid_.rowCount() - 1);
}

int TextGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.rowCount();
}

int TextGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : grid_.columnCount();
}

QVariant TextGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        if (swatches_.contains(index.column()))
            return QString();
        return grid_.cell(index.row(), index.column());
    case Qt::EditRole:
        return grid_.cell(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (numbers_.contains(index.column()))
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case Qt::ForegroundRole:
        // Dark cell colours take white text, so the number stays readable.
        if (background_)
            if (const std::optional<QColor> colour = background_(index.row(), index.column()))
                return QColor(colour->lightness() < 128 ? Qt::white : Qt::black);
        return {};
    case Qt::BackgroundRole:
        if (background_)
            if (const std::optional<QColor> colour = background_(index.row(), index.column()))
                return *colour;
        return {};
    default:
        return {};
    }
}

bool TextGridModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || readOnly_.contains(index.column()))
        return false;
    const QString text = value.toString();
    if (grid_.cell(index.row(), index.column()) == text)
        return true;
    grid_.setCell(index.row(), index.column(), text);
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole, Qt::BackgroundRole});
    emit edited(index.row(), index.column());
    return true;
}

Qt::ItemFlags TextGridModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!readOnly_.contains(index.column()) && !swatches_.contains(index.column()))
        flags |= Qt::ItemIsEditable;
    return flags;
}

QVariant TextGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (orientation == Qt::Horizontal)
        return section < headings_.size() ? headings_.at(section) : QString();
    if (rowHeading_)
        return rowHeading_(section);
    return QString::number(section + 1);
}

} // namespace vortan
