#pragma once
// The user's edits of a survey document's grids as steps that can be undone
// and redone: a cell edit, a pick from a list, a pasted block, an added or
// deleted row is one step each. Every step goes through the document's own
// operations with the user as the source, so a step and its undoing mark the
// document changed and recompute the rows they touch exactly as an edit does.
// Loading or clearing the document forgets the steps.

#include "sheet/cell_block_text.h"
#include "sheet/survey_document.h"

#include <QObject>
#include <QUndoStack>
#include <functional>
#include <vector>

namespace vortan::sheet {

// A QObject only to hold its connections to the document's signals (no
// meta-object of its own: the document's header is not for moc).
class SurveyEditor : public QObject {
public:
    explicit SurveyEditor(SurveyDocument& document, QObject* parent = nullptr);
    ~SurveyEditor() override;

    SurveyDocument& document() { return doc_; }
    QUndoStack& undoStack() { return stack_; }

    // Called with the outcome of a step that did not end normally (a failure
    // the error reporter answered); EndProgram means the program must end.
    void setOutcomeHandler(std::function<void(Outcome)> handler) { outcomeHandler_ = std::move(handler); }

    // Columns the user may type into: 1 to 5 of either grid (the print
    // column of the points grid is a check box).
    static bool isEditablePointColumn(int column);
    static bool isEditableRecordColumn(int column);

    // The number a point added on the sheet gets: one more than the largest
    // point number, 1 for the first point.
    QString nextPointNumber() const;

    // --- steps
    void editPointCell(int point, int column, const QString& text);
    void editRecordCell(int point, int row, int column, const QString& text);
    void pickPointRemark(int point, const QString& text);
    void pickRecordRemark(int point, int row, const QString& text);
    void pickSoil(int point, int row, const QString& soil);
    // Each returns the index of the new row.
    int addPoint();
    int addRecord(int point);
    void deletePoints(std::vector<int> rows);
    void deleteRecords(int point, std::vector<int> rows);
    // Writes the block with its top-left cell at (row, column); rows beyond
    // the last are added, columns that cannot be typed into are left alone.
    void pastePoints(int row, int column, const CellBlock& block);
    void pasteRecords(int point, int row, int column, const CellBlock& block);

    // Forgets every step (after loading or clearing).
    void clearHistory();

    // Used by the steps.
    void noteOutcome(Outcome outcome);

private:
    void push(class QUndoCommand* command);

    SurveyDocument& doc_;
    QUndoStack stack_;
    std::function<void(Outcome)> outcomeHandler_;
    bool inStep_ = false;
};

} // namespace vortan::sheet
