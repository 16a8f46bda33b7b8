#pragma once
// The points grid over the survey document: one row per point with the point
// number as row header, the seven columns of a point, the print column as a
// check box. Edits go to the survey editor as undoable steps.

#include <QAbstractTableModel>

namespace vortan::sheet {

class SurveyDocument;
class SurveyEditor;

class PointsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    PointsTableModel(SurveyDocument& document, SurveyEditor& editor, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    SurveyDocument& doc_;
    SurveyEditor& editor_;
    // The row count the views know; the document tells of a change after
    // making it, so the count changes between the begin and end calls.
    int rows_ = 0;
};

} // namespace vortan::sheet
