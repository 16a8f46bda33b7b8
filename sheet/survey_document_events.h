#pragma once
// The change notifications of a survey document, as Qt signals for the item
// models of the data sheet window. Kept apart from the document so that the
// meta-object compiler only reads this small header.
//
// Points and rows are 0-based indices; columns are numbered from 1 as the
// grids number them (column 0 of a point is its row header, the point number).

#include <QObject>

namespace vortan::sheet {

class SurveyDocumentEvents : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

signals:
    // A header field changed; the value is a HeaderField.
    void headerChanged(int field);
    // The whole points grid and every data grid were replaced.
    void pointsReset();
    void pointsInserted(int first, int last);
    void pointsRemoved(int first, int last);
    void pointChanged(int point, int firstColumn, int lastColumn);
    // One point's data grid was replaced.
    void recordsReset(int point);
    void recordsInserted(int point, int first, int last);
    void recordsRemoved(int point, int first, int last);
    void recordsChanged(int point, int firstRow, int lastRow, int firstColumn, int lastColumn);
    // The document was marked changed by an edit (the window enables its
    // save and delete buttons).
    void changeMarked();
    void unsavedChangesChanged(bool unsaved);
};

} // namespace vortan::sheet
