#pragma once
// The user's edits of a survey document as steps that can be undone and
// redone: a header field typed (one step per field for a run of typing), a
// cell edit, a pick from a list, a pasted block, an added or deleted row.
// Every step goes through the document's own operations with the user as
// the source, so a step and its undoing mark the document changed and
// recompute the rows they touch exactly as an edit does. Loading or clearing
// the document forgets the steps.
//
// The survey is modified exactly when the history stands elsewhere than at
// the survey as loaded or last saved: undoing back to it makes the survey
// unmodified again. The survey number is no step: it names the survey to
// load or save and changes nothing in it.

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

    // Does the survey differ from what was loaded or last saved?
    bool isModified() const { return !stack_.isClean(); }
    // Called with the new state whenever isModified() changes.
    void setModifiedHandler(std::function<void(bool)> handler) { modifiedHandler_ = std::move(handler); }
    // The survey was saved: it is unmodified from here on.
    void markSaved();

    // --- steps
    // A header field other than the survey number.
    void editHeader(HeaderField field, const QString& text);
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
    std::function<void(bool)> modifiedHandler_;
    bool inStep_ = false;
};

} // namespace vortan::sheet
