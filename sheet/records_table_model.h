#pragma once
// The data grid of one point over the survey document: one row per record,
// the nine columns of a record (the ninth, the date and time key, is hidden
// by the view), the computed columns 6 to 8 read-only. The point shown is
// chosen with setPoint; edits go to the survey editor as undoable steps.

#include <QAbstractTableModel>

namespace vortan::sheet {

class SurveyDocument;
class SurveyEditor;

class RecordsTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    RecordsTableModel(SurveyDocument& document, SurveyEditor& editor, QObject* parent = nullptr);

    // The point whose data grid is shown; -1 for none.
    int point() const { return point_; }
    void setPoint(int point);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

signals:
    // The point shown changed (also when the shown point was deleted).
    void pointChanged(int point);

private:
    void showPoint(int point);

    SurveyDocument& doc_;
    SurveyEditor& editor_;
    int point_ = -1;
    int rows_ = 0;   // the row count the views know
};

} // namespace vortan::sheet
