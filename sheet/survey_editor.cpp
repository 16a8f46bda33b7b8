#include "sheet/survey_editor.h"

#include "core/failure.h"
#include "core/number_text.h"

#include <cmath>
#include <QUndoCommand>
#include <algorithm>

namespace vortan::sheet {

namespace {

void sortAscendingUnique(std::vector<int>& rows)
{
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

// Gives a point's data grid exactly these rows (all nine columns).
void replaceRecords(SurveyDocument& doc, int point, const std::vector<RecordCells>& records)
{
    const int wanted = static_cast<int>(records.size());
    while (doc.recordCount(point) < wanted)
        doc.addRecord(point);
    if (doc.recordCount(point) > wanted) {
        std::vector<int> surplus;
        for (int r = wanted; r < doc.recordCount(point); ++r)
            surplus.push_back(r);
        doc.deleteRecordRows(point, surplus);
    }
    for (int r = 0; r < wanted; ++r)
        for (int c = 1; c <= RecordColumn::Count; ++c)
            doc.setRecordCell(point, r, c, records[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 1)]);
}

// Puts a record row back at `row`: the rows from there on move down by one.
// The computed columns move with their rows, so nothing is recalculated.
void insertRecordAt(SurveyDocument& doc, int point, int row, const RecordCells& cells)
{
    doc.addRecord(point);
    for (int r = doc.recordCount(point) - 1; r > row; --r)
        for (int c = 1; c <= RecordColumn::Count; ++c)
            doc.setRecordCell(point, r, c, doc.recordCell(point, r - 1, c));
    for (int c = 1; c <= RecordColumn::Count; ++c)
        doc.setRecordCell(point, row, c, cells[static_cast<std::size_t>(c - 1)]);
}

void copyPointInto(SurveyDocument& doc, int index, const PointRow& source)
{
    doc.setPointNumber(index, source.測点No);
    for (int c = 1; c <= PointColumn::Count; ++c)
        doc.setPointCell(index, c, source.cells[static_cast<std::size_t>(c - 1)]);
    replaceRecords(doc, index, source.records);
}

// Puts a point row with its data grid back at `index`: the points from there
// on move down by one. The document adds points only at the end, so the
// contents are moved down row by row. The date and times a point is written
// back with stay with the row position the document gave them.
void insertPointAt(SurveyDocument& doc, int index, const PointRow& row)
{
    doc.addPoint(row.測点No);
    for (int p = doc.pointCount() - 1; p > index; --p) {
        const PointRow previous = doc.point(p - 1);
        copyPointInto(doc, p, previous);
    }
    copyPointInto(doc, index, row);
}

class Step : public QUndoCommand {
public:
    Step(SurveyEditor& editor, const QString& text) : QUndoCommand(text), editor_(editor), doc_(editor.document()) {}

protected:
    // Recomputes one row; a failure goes to the error reporter.
    void recompute(int point, int row) { editor_.noteOutcome(doc_.recalculateRow(point, row)); }

    SurveyEditor& editor_;
    SurveyDocument& doc_;
};

// A header field. Typing into one field makes one step: each further
// change of the same field merges into it, and a field typed back to what
// it held drops the step.
class HeaderStep : public Step {
public:
    HeaderStep(SurveyEditor& editor, HeaderField field, const QString& after)
        : Step(editor, QStringLiteral("入力")), field_(field), before_(editor.document().header(field)), after_(after)
    {
    }

    int id() const override { return 1000 + static_cast<int>(field_); }
    bool mergeWith(const QUndoCommand* other) override
    {
        const auto* next = static_cast<const HeaderStep*>(other);
        after_ = next->after_;
        setObsolete(after_ == before_);
        return true;
    }
    void redo() override { editor_.noteOutcome(doc_.setHeader(field_, after_, EditSource::User)); }
    void undo() override { editor_.noteOutcome(doc_.setHeader(field_, before_, EditSource::User)); }

private:
    HeaderField field_;
    QString before_, after_;
};

// One cell of either grid, typed or picked from a list.
class CellStep : public Step {
public:
    enum class Kind { PointCell, RecordCell, PointRemark, RecordRemark, Soil };

    CellStep(SurveyEditor& editor, Kind kind, int point, int row, int column, const QString& after)
        : Step(editor, kind == Kind::Soil ? QStringLiteral("土質の選択")
                       : kind == Kind::PointRemark || kind == Kind::RecordRemark ? QStringLiteral("記事の選択")
                                                                                   : QStringLiteral("入力")),
          kind_(kind), point_(point), row_(row), column_(column), after_(after)
    {
        before_ = kind == Kind::PointCell || kind == Kind::PointRemark ? doc_.pointCell(point, column)
                                                                       : doc_.recordCell(point, row, column);
    }

    void redo() override { apply(after_); }
    void undo() override { apply(before_); }

private:
    void apply(const QString& text)
    {
        switch (kind_) {
        case Kind::PointCell: doc_.setPointCell(point_, column_, text, EditSource::User); break;
        case Kind::RecordCell:
            editor_.noteOutcome(doc_.setRecordCell(point_, row_, column_, text, EditSource::User));
            break;
        case Kind::PointRemark: doc_.pickPointRemark(point_, text); break;
        case Kind::RecordRemark: doc_.pickRecordRemark(point_, row_, text); break;
        case Kind::Soil: editor_.noteOutcome(doc_.pickSoil(point_, row_, text)); break;
        }
    }

    Kind kind_;
    int point_, row_, column_;
    QString before_, after_;
};

class AddPointStep : public Step {
public:
    AddPointStep(SurveyEditor& editor, const QString& number)
        : Step(editor, QStringLiteral("測点の追加")), number_(number) {}

    void redo() override
    {
        index_ = doc_.addPoint(number_);
        doc_.setPointCell(index_, PointColumn::測点No表記, number_);
        doc_.markChanged();
    }
    void undo() override { doc_.deletePointRows({index_}); }
    int index() const { return index_; }

private:
    QString number_;
    int index_ = -1;
};

class AddRecordStep : public Step {
public:
    AddRecordStep(SurveyEditor& editor, int point) : Step(editor, QStringLiteral("データの追加")), point_(point) {}

    void redo() override
    {
        row_ = doc_.addRecord(point_);
        doc_.markChanged();
    }
    void undo() override { doc_.deleteRecordRows(point_, {row_}); }
    int row() const { return row_; }

private:
    int point_;
    int row_ = -1;
};

class DeletePointsStep : public Step {
public:
    DeletePointsStep(SurveyEditor& editor, std::vector<int> rows)
        : Step(editor, QStringLiteral("測点の削除")), rows_(std::move(rows))
    {
        for (int row : rows_)
            saved_.push_back(doc_.point(row));
    }

    void redo() override { doc_.deletePointRows(rows_); }
    void undo() override
    {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            insertPointAt(doc_, rows_[i], saved_[i]);
        doc_.markChanged();
    }

private:
    std::vector<int> rows_;   // ascending
    std::vector<PointRow> saved_;
};

class DeleteRecordsStep : public Step {
public:
    DeleteRecordsStep(SurveyEditor& editor, int point, std::vector<int> rows)
        : Step(editor, QStringLiteral("データの削除")), point_(point), rows_(std::move(rows))
    {
        for (int row : rows_)
            saved_.push_back(doc_.point(point).records.at(static_cast<std::size_t>(row)));
    }

    void redo() override { doc_.deleteRecordRows(point_, rows_); }
    void undo() override
    {
        for (std::size_t i = 0; i < rows_.size(); ++i)
            insertRecordAt(doc_, point_, rows_[i], saved_[i]);
        doc_.markChanged();
    }

private:
    int point_;
    std::vector<int> rows_;   // ascending
    std::vector<RecordCells> saved_;
};

// The cells a pasted block writes: (row, column, text), rows counted from 0,
// columns from 1.
struct PastedCell {
    int row;
    int column;
    QString text;
    QString before;
};

class PasteRecordsStep : public Step {
public:
    PasteRecordsStep(SurveyEditor& editor, int point, int row, int column, const CellBlock& block)
        : Step(editor, QStringLiteral("貼り付け")), point_(point)
    {
        const int existing = doc_.recordCount(point);
        for (std::size_t i = 0; i < block.size(); ++i) {
            const int r = row + static_cast<int>(i);
            for (qsizetype j = 0; j < block[i].size(); ++j) {
                const int c = column + static_cast<int>(j);
                if (!SurveyEditor::isEditableRecordColumn(c))
                    continue;
                cells_.push_back({r, c, block[i][j], r < existing ? doc_.recordCell(point, r, c) : QString()});
                lastRow_ = std::max(lastRow_, r);
            }
        }
        added_ = std::max(0, lastRow_ + 1 - existing);
        firstAdded_ = existing;
    }

    bool isEmpty() const { return cells_.empty(); }

    void redo() override
    {
        for (int i = 0; i < added_; ++i)
            doc_.addRecord(point_);
        for (const PastedCell& cell : cells_)
            doc_.setRecordCell(point_, cell.row, cell.column, cell.text);
        recomputeTouched(lastRow_);
        doc_.markChanged();
    }

    void undo() override
    {
        for (const PastedCell& cell : cells_)
            if (cell.row < firstAdded_)
                doc_.setRecordCell(point_, cell.row, cell.column, cell.before);
        if (added_ > 0) {
            std::vector<int> rows;
            for (int i = 0; i < added_; ++i)
                rows.push_back(firstAdded_ + i);
            doc_.deleteRecordRows(point_, rows);
        }
        recomputeTouched(firstAdded_ - 1);
        doc_.markChanged();
    }

private:
    void recomputeTouched(int lastRow)
    {
        int previous = -1;
        for (const PastedCell& cell : cells_) {
            if (cell.row == previous || cell.row > lastRow)
                continue;
            previous = cell.row;
            recompute(point_, cell.row);
        }
    }

    int point_;
    std::vector<PastedCell> cells_;
    int lastRow_ = -1;
    int added_ = 0;
    int firstAdded_ = 0;
};

class PastePointsStep : public Step {
public:
    PastePointsStep(SurveyEditor& editor, int row, int column, const CellBlock& block)
        : Step(editor, QStringLiteral("貼り付け"))
    {
        const int existing = doc_.pointCount();
        for (std::size_t i = 0; i < block.size(); ++i) {
            const int r = row + static_cast<int>(i);
            for (qsizetype j = 0; j < block[i].size(); ++j) {
                const int c = column + static_cast<int>(j);
                if (!SurveyEditor::isEditablePointColumn(c))
                    continue;
                QString text = block[i][j];
                if (c == PointColumn::印刷)
                    text = numtext::leadingNumber(text) != 0 ? checkedText() : uncheckedText();
                cells_.push_back({r, c, text, r < existing ? doc_.pointCell(r, c) : QString()});
                lastRow_ = std::max(lastRow_, r);
            }
        }
        added_ = std::max(0, lastRow_ + 1 - existing);
        firstAdded_ = existing;
    }

    bool isEmpty() const { return cells_.empty(); }

    void redo() override
    {
        for (int i = 0; i < added_; ++i) {
            const QString number = editor_.nextPointNumber();
            const int index = doc_.addPoint(number);
            doc_.setPointCell(index, PointColumn::測点No表記, number);
        }
        for (const PastedCell& cell : cells_)
            doc_.setPointCell(cell.row, cell.column, cell.text);
        doc_.markChanged();
    }

    void undo() override
    {
        for (const PastedCell& cell : cells_)
            if (cell.row < firstAdded_)
                doc_.setPointCell(cell.row, cell.column, cell.before);
        if (added_ > 0) {
            std::vector<int> rows;
            for (int i = 0; i < added_; ++i)
                rows.push_back(firstAdded_ + i);
            doc_.deletePointRows(rows);
        }
        doc_.markChanged();
    }

private:
    std::vector<PastedCell> cells_;
    int lastRow_ = -1;
    int added_ = 0;
    int firstAdded_ = 0;
};

} // namespace

SurveyEditor::SurveyEditor(SurveyDocument& document, QObject* parent) : QObject(parent), doc_(document)
{
    // A survey loaded or cleared by anyone starts a new history.
    connect(&doc_.events(), &SurveyDocumentEvents::pointsReset, this, [this] {
        if (!inStep_)
            stack_.clear();
    });
    connect(&stack_, &QUndoStack::cleanChanged, this, [this](bool clean) {
        if (clean)
            doc_.markUnchanged();
        if (modifiedHandler_)
            modifiedHandler_(!clean);
    });
}

void SurveyEditor::markSaved()
{
    stack_.setClean();
    doc_.markUnchanged();
}

void SurveyEditor::editHeader(HeaderField field, const QString& text)
{
    if (field == HeaderField::調査地区No || doc_.header(field) == text)
        return;
    push(new HeaderStep(*this, field, text));
}

SurveyEditor::~SurveyEditor() = default;

bool SurveyEditor::isEditablePointColumn(int column)
{
    return column >= PointColumn::測点No表記 && column <= PointColumn::印刷;
}

bool SurveyEditor::isEditableRecordColumn(int column)
{
    return column >= RecordColumn::貫入長 && column <= RecordColumn::記事;
}

QString SurveyEditor::nextPointNumber() const
{
    double largest = 0;
    for (int p = 0; p < doc_.pointCount(); ++p)
        largest = std::max(largest, numtext::leadingNumber(doc_.pointNumber(p)));
    // A stored number is any text of four characters, "9E99" included: the
    // next one is written as a whole number without going through an
    // integer type it could overflow.
    return QString::number(std::floor(largest) + 1, 'f', 0);
}

void SurveyEditor::noteOutcome(Outcome outcome)
{
    if (outcome != Outcome::Done && outcomeHandler_)
        outcomeHandler_(outcome);
}

void SurveyEditor::push(QUndoCommand* command)
{
    inStep_ = true;
    stack_.push(command);
    inStep_ = false;
}

void SurveyEditor::clearHistory()
{
    stack_.clear();
}

void SurveyEditor::editPointCell(int point, int column, const QString& text)
{
    if (point < 0 || point >= doc_.pointCount() || !isEditablePointColumn(column)
        || doc_.pointCell(point, column) == text)
        return;
    push(new CellStep(*this, CellStep::Kind::PointCell, point, -1, column, text));
}

void SurveyEditor::editRecordCell(int point, int row, int column, const QString& text)
{
    if (point < 0 || point >= doc_.pointCount() || row < 0 || row >= doc_.recordCount(point)
        || !isEditableRecordColumn(column) || doc_.recordCell(point, row, column) == text)
        return;
    push(new CellStep(*this, CellStep::Kind::RecordCell, point, row, column, text));
}

void SurveyEditor::pickPointRemark(int point, const QString& text)
{
    if (point < 0 || point >= doc_.pointCount())
        return;
    push(new CellStep(*this, CellStep::Kind::PointRemark, point, -1, PointColumn::記事, text));
}

void SurveyEditor::pickRecordRemark(int point, int row, const QString& text)
{
    if (point < 0 || point >= doc_.pointCount() || row < 0 || row >= doc_.recordCount(point))
        return;
    push(new CellStep(*this, CellStep::Kind::RecordRemark, point, row, RecordColumn::記事, text));
}

void SurveyEditor::pickSoil(int point, int row, const QString& soil)
{
    if (point < 0 || point >= doc_.pointCount() || row < 0 || row >= doc_.recordCount(point))
        return;
    push(new CellStep(*this, CellStep::Kind::Soil, point, row, RecordColumn::推定土質, soil));
}

int SurveyEditor::addPoint()
{
    auto* step = new AddPointStep(*this, nextPointNumber());
    push(step);
    return doc_.pointCount() - 1;
}

int SurveyEditor::addRecord(int point)
{
    if (point < 0 || point >= doc_.pointCount())
        return -1;
    push(new AddRecordStep(*this, point));
    return doc_.recordCount(point) - 1;
}

void SurveyEditor::deletePoints(std::vector<int> rows)
{
    sortAscendingUnique(rows);
    rows.erase(std::remove_if(rows.begin(), rows.end(), [this](int r) { return r < 0 || r >= doc_.pointCount(); }),
               rows.end());
    if (rows.empty())
        return;
    push(new DeletePointsStep(*this, std::move(rows)));
}

void SurveyEditor::deleteRecords(int point, std::vector<int> rows)
{
    if (point < 0 || point >= doc_.pointCount())
        return;
    sortAscendingUnique(rows);
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this, point](int r) { return r < 0 || r >= doc_.recordCount(point); }),
               rows.end());
    if (rows.empty())
        return;
    push(new DeleteRecordsStep(*this, point, std::move(rows)));
}

void SurveyEditor::pastePoints(int row, int column, const CellBlock& block)
{
    if (row < 0 || row > doc_.pointCount())
        return;
    auto* step = new PastePointsStep(*this, row, column, block);
    if (step->isEmpty()) {
        delete step;
        return;
    }
    push(step);
}

void SurveyEditor::pasteRecords(int point, int row, int column, const CellBlock& block)
{
    if (point < 0 || point >= doc_.pointCount() || row < 0 || row > doc_.recordCount(point))
        return;
    auto* step = new PasteRecordsStep(*this, point, row, column, block);
    if (step->isEmpty()) {
        delete step;
        return;
    }
    push(step);
}

} // namespace vortan::sheet
