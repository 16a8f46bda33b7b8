#pragma once
// The survey document: one survey as the data sheet holds it. Header fields,
// point rows and one data grid of record rows per point, all kept as the
// texts the grids show, the computed ⊿Nd, Nd and qa included. It loads and
// saves itself with the data sheet's statements, the calculation writes into
// it, and the reports and vortan-cli read it. Views follow it through the
// signals of events() (item models of the window reset, insert, remove and
// update their rows from them); it holds no widget.

#include "sheet/survey_document_events.h"
#include "sheet/survey_layout.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <functional>
#include <optional>
#include <vector>

namespace vortan {
struct ProgramState;
class UserInterface;
class Failure;
}
namespace vortan::db {
class Workspace;
struct MasterLists;
}
namespace vortan::calc {
class PenetrationCalculator;
class BearingFactorTable;
}

namespace vortan::sheet {

using PointCells = std::array<QString, PointColumn::Count>;
using RecordCells = std::array<QString, RecordColumn::Count>;

// One row of the points grid with the data grid of that point.
struct PointRow {
    QString 測点No;          // the row header
    PointCells cells;        // columns 1..7
    // The date and times the point is written back with: as loaded, or those
    // of the moment the point was added on the sheet.
    QString 日付;
    QString 開始時刻;
    QString 終了時刻;
    std::vector<RecordCells> records;
};

// How a routine of the document ended.
enum class Outcome {
    Done,
    NotDone,      // refused, declined, or a failure was reported: the command is abandoned
    EndProgram,   // the error reporter asked to end the program
};

// The input a failed validation points at: a header field, or a cell of a data grid.
struct InvalidInput {
    std::optional<HeaderField> field;
    int point = -1;
    int row = -1;
    int column = 0;
};

struct SaveResult {
    Outcome outcome = Outcome::NotDone;
    std::optional<InvalidInput> invalid;   // set when validation failed
};

// Who made an edit: edits by the user mark the document changed and
// recalculate; edits by the program (loading, recalculating) do not.
enum class EditSource { Program, User };

class SurveyDocument {
public:
    struct Services {
        ProgramState& state;
        db::Workspace& workspace;
        db::MasterLists& lists;
        UserInterface& ui;
        calc::PenetrationCalculator& calculator;
        std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
    };

    explicit SurveyDocument(Services services);
    ~SurveyDocument();
    SurveyDocument(const SurveyDocument&) = delete;
    SurveyDocument& operator=(const SurveyDocument&) = delete;

    // The change notifications.
    SurveyDocumentEvents& events() { return events_; }
    const SurveyDocumentEvents& events() const { return events_; }

    // --- header fields
    const QString& header(HeaderField field) const;
    // A user's change of any field but the survey number marks the document
    // changed; a user's change of the customer also recalculates every row.
    Outcome setHeader(HeaderField field, const QString& text, EditSource source = EditSource::Program);

    // --- points grid
    int pointCount() const { return static_cast<int>(points_.size()); }
    const PointRow& point(int index) const { return points_.at(static_cast<std::size_t>(index)); }
    const QString& pointNumber(int index) const { return point(index).測点No; }
    const QString& pointCell(int index, int column) const;
    void setPointNumber(int index, const QString& number, EditSource source = EditSource::Program);
    void setPointCell(int index, int column, const QString& text, EditSource source = EditSource::Program);

    // Appends a point row with its print box checked and an empty data grid;
    // returns its index. The point is dated now.
    int addPoint(const QString& pointNumber = QString());
    // Deletes the point rows (any order); the data grids of the following
    // points move down with their rows.
    void deletePointRows(std::vector<int> rows);

    // --- data grids
    int recordCount(int pointIndex) const { return static_cast<int>(point(pointIndex).records.size()); }
    const QString& recordCell(int pointIndex, int row, int column) const;
    // A user's change marks the document changed and recalculates the row.
    Outcome setRecordCell(int pointIndex, int row, int column, const QString& text,
                          EditSource source = EditSource::Program);
    // Appends an empty record row to the point's data grid, keyed with the
    // point's date and times; returns its index.
    int addRecord(int pointIndex);
    // Deletes record rows of one data grid (any order) and marks the change.
    void deleteRecordRows(int pointIndex, std::vector<int> rows);

    // --- picks from the master lists
    // The point remark list writes column 4 of the point row.
    void pickPointRemark(int pointIndex, const QString& text);
    // The record remark list writes column 5 of the record row.
    void pickRecordRemark(int pointIndex, int row, const QString& text);
    // The soil list writes column 4 of the record row and recalculates.
    Outcome pickSoil(int pointIndex, int row, const QString& soil);

    // --- changes
    bool hasUnsavedChanges() const { return changed_; }
    void markChanged();
    // The document holds what was last loaded or saved again (an edit was
    // undone back to it).
    void markUnchanged() { setChanged(false); }
    bool isClearing() const { return clearing_; }

    // --- operations of the data sheet
    // Empties fields and grids, dates the date and time fields now, gives the
    // customer field the usual customer and reloads the master lists.
    Outcome clear();
    // Loads the survey whose number stands in the number field.
    Outcome load();
    // Validates and writes the survey back in one transaction.
    SaveResult save();

    // Computes columns 6 to 8 of one record row. A failing lookup is
    // reported with the choice 中止 / 再試行 / 無視: retried, or the row is
    // left without values (無視), or the computation stops (中止).
    Outcome recalculateRow(int pointIndex, int row);
    // Recomputes every row, soil by soil in the order of the soil list, so
    // that each customer and soil is looked up once per formula table. Does
    // nothing while the document is being cleared. A failing lookup is
    // reported as for one row; after 無視 the run goes on, and later rows
    // failing with the same error number are left without values without
    // asking again; 中止 stops the run there.
    Outcome recalculateAll();

    // Reports a failure through the error reporter; the answer as an outcome.
    Outcome report(const Failure& failure);

private:
    PointRow& mutablePoint(int index);
    void setChanged(bool changed);
    // How far a computation over rows has come.
    struct ComputeRun {
        Outcome outcome = Outcome::Done;
        std::optional<int> ignoredNumber;   // the error number answered with 無視
    };
    void computeRow(int pointIndex, int row, const calc::BearingFactorTable& factors);
    // computeRow with the reporter's choice on a failure; false when the run stops.
    bool computeRowAsking(int pointIndex, int row, const calc::BearingFactorTable& factors, ComputeRun& run);
    Outcome computeAll(bool rowsOutsideSoilList);
    std::optional<InvalidInput> validate() const;
    void writeSurvey(const QString& number);
    void loadSurvey(const QString& number);
    bool loadHeader(const QString& number);

    Services s_;
    SurveyDocumentEvents events_;
    std::array<QString, HeaderFieldCount> header_;
    std::vector<PointRow> points_;
    bool clearing_ = false;
    bool changed_ = false;
};

} // namespace vortan::sheet
