#include "sheet/records_table_model.h"

#include "sheet/survey_document.h"
#include "sheet/survey_editor.h"

#include <QBrush>
#include <QColor>

namespace vortan::sheet {

namespace {

int gridColumn(const QModelIndex& index)
{
    return index.column() + 1;
}

const QColor ComputedBackground(0xF2, 0xF2, 0xF2);

bool isNumberColumn(int column)
{
    return column == RecordColumn::貫入長 || column == RecordColumn::打撃回数 || column == RecordColumn::トルク
        || (column >= RecordColumn::補正値 && column <= RecordColumn::換算支持力);
}

} // namespace

RecordsTableModel::RecordsTableModel(SurveyDocument& document, SurveyEditor& editor, QObject* parent)
    : QAbstractTableModel(parent), doc_(document), editor_(editor)
{
    SurveyDocumentEvents& events = doc_.events();
    connect(&events, &SurveyDocumentEvents::pointsReset, this, [this] { showPoint(-1); });
    connect(&events, &SurveyDocumentEvents::pointsRemoved, this, [this](int first, int last) {
        if (point_ < first)
            return;
        if (point_ > last) {
            // The same grid, now at a lower index.
            point_ -= last - first + 1;
            emit pointChanged(point_);
            return;
        }
        showPoint(-1);
    });
    connect(&events, &SurveyDocumentEvents::recordsReset, this, [this](int point) {
        if (point == point_)
            showPoint(point);
    });
    connect(&events, &SurveyDocumentEvents::recordsInserted, this, [this](int point, int first, int last) {
        if (point != point_)
            return;
        beginInsertRows(QModelIndex(), first, last);
        rows_ += last - first + 1;
        endInsertRows();
    });
    connect(&events, &SurveyDocumentEvents::recordsRemoved, this, [this](int point, int first, int last) {
        if (point != point_)
            return;
        beginRemoveRows(QModelIndex(), first, last);
        rows_ -= last - first + 1;
        endRemoveRows();
    });
    connect(&events, &SurveyDocumentEvents::recordsChanged, this,
            [this](int point, int firstRow, int lastRow, int firstColumn, int lastColumn) {
                if (point != point_ || rows_ == 0)
                    return;
                lastRow = std::min(lastRow, rows_ - 1);
                if (lastRow >= firstRow)
                    emit dataChanged(index(firstRow, firstColumn - 1), index(lastRow, lastColumn - 1));
            });
}

void RecordsTableModel::setPoint(int point)
{
    if (point < 0 || point >= doc_.pointCount())
        point = -1;
    if (point == point_)
        return;
    showPoint(point);
}

void RecordsTableModel::showPoint(int point)
{
    const bool changed = point != point_;
    beginResetModel();
    point_ = point;
    rows_ = point >= 0 ? doc_.recordCount(point) : 0;
    endResetModel();
    if (changed)
        emit pointChanged(point_);
}

int RecordsTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

int RecordsTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : RecordColumn::Count;
}

QVariant RecordsTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || point_ < 0 || point_ >= doc_.pointCount() || index.row() >= doc_.recordCount(point_))
        return {};
    const int column = gridColumn(index);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return doc_.recordCell(point_, index.row(), column);
    case Qt::TextAlignmentRole:
        if (isNumberColumn(column))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::BackgroundRole:
        if (!SurveyEditor::isEditableRecordColumn(column))
            return QBrush(ComputedBackground);
        return {};
    default:
        return {};
    }
}

QVariant RecordsTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return recordColumnHeader(section + 1);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordsTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (SurveyEditor::isEditableRecordColumn(gridColumn(index)))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool RecordsTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || point_ < 0 || index.row() >= doc_.recordCount(point_)
        || !SurveyEditor::isEditableRecordColumn(gridColumn(index)))
        return false;
    editor_.editRecordCell(point_, index.row(), gridColumn(index), value.toString());
    return true;
}

} // namespace vortan::sheet
