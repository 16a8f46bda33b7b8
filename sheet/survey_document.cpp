#include "sheet/survey_document.h"

#include "calc/penetration_calculator.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/master_lists.h"
#include "db/workspace.h"

#include <QHash>
#include <algorithm>

namespace vortan::sheet {

namespace {

// Joins a display date and time the way the date and time columns show them.
QString joinDateTime(const QString& date, const QString& time)
{
    return date + QLatin1Char('_') + time;
}

void sortDescendingUnique(std::vector<int>& rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
}

} // namespace

SurveyDocument::SurveyDocument(Services services) : s_(std::move(services)) {}

SurveyDocument::~SurveyDocument() = default;

Outcome SurveyDocument::report(const Failure& failure)
{
    const ErrorContext context{s_.ui, s_.state, s_.workspace.surveyOpen()};
    return ReportError(failure, context) == action::EndProgram ? Outcome::EndProgram : Outcome::NotDone;
}

// --- header ---------------------------------------------------------------

const QString& SurveyDocument::header(HeaderField field) const
{
    return header_[static_cast<std::size_t>(field)];
}

Outcome SurveyDocument::setHeader(HeaderField field, const QString& text, EditSource source)
{
    QString& slot = header_[static_cast<std::size_t>(field)];
    if (slot == text)
        return Outcome::Done;
    slot = text;
    emit events_.headerChanged(static_cast<int>(field));
    if (source != EditSource::User)
        return Outcome::Done;
    // The number names the survey; every other field is part of it.
    if (field != HeaderField::調査地区No)
        markChanged();
    if (field == HeaderField::提出先)
        return recalculateAll();
    return Outcome::Done;
}

// --- points ---------------------------------------------------------------

PointRow& SurveyDocument::mutablePoint(int index)
{
    return points_.at(static_cast<std::size_t>(index));
}

const QString& SurveyDocument::pointCell(int index, int column) const
{
    return point(index).cells.at(static_cast<std::size_t>(column - 1));
}

void SurveyDocument::setPointNumber(int index, const QString& number, EditSource source)
{
    PointRow& row = mutablePoint(index);
    if (row.測点No == number)
        return;
    row.測点No = number;
    emit events_.pointChanged(index, 0, 0);
    if (source == EditSource::User)
        markChanged();
}

void SurveyDocument::setPointCell(int index, int column, const QString& text, EditSource source)
{
    QString& cell = mutablePoint(index).cells.at(static_cast<std::size_t>(column - 1));
    if (cell == text)
        return;
    cell = text;
    emit events_.pointChanged(index, column, column);
    if (source == EditSource::User)
        markChanged();
}

int SurveyDocument::addPoint(const QString& pointNumber)
{
    const QDateTime now = s_.now();
    PointRow row;
    row.測点No = pointNumber;
    row.cells[PointColumn::印刷 - 1] = checkedText();
    const QString date = now.toString(QStringLiteral("yyyy/MM/dd"));
    const QString time = now.toString(QStringLiteral("HH:mm"));
    row.cells[PointColumn::開始日時 - 1] = joinDateTime(date, time);
    row.cells[PointColumn::終了日時 - 1] = joinDateTime(date, time);
    // A point added here is written with the date as YYYYMMDD and, for both
    // times, hours and seconds (HHSS), the form points added on the data
    // sheet have always been stored in.
    row.日付 = now.toString(QStringLiteral("yyyyMMdd"));
    row.開始時刻 = now.toString(QStringLiteral("HHss"));
    row.終了時刻 = row.開始時刻;
    points_.push_back(std::move(row));
    const int index = pointCount() - 1;
    emit events_.pointsInserted(index, index);
    return index;
}

void SurveyDocument::deletePointRows(std::vector<int> rows)
{
    sortDescendingUnique(rows);
    bool removed = false;
    for (int row : rows) {
        if (row < 0 || row >= pointCount())
            continue;
        // The data grids of the following points move down with their rows.
        points_.erase(points_.begin() + row);
        emit events_.pointsRemoved(row, row);
        removed = true;
    }
    if (removed)
        markChanged();
}

// --- data grids -------------------------------------------------------------

const QString& SurveyDocument::recordCell(int pointIndex, int row, int column) const
{
    return point(pointIndex).records.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column - 1));
}

Outcome SurveyDocument::setRecordCell(int pointIndex, int row, int column, const QString& text,
                                      EditSource source)
{
    QString& cell = mutablePoint(pointIndex).records.at(static_cast<std::size_t>(row))
                        .at(static_cast<std::size_t>(column - 1));
    if (cell != text) {
        cell = text;
        emit events_.recordsChanged(pointIndex, row, row, column, column);
    }
    if (source != EditSource::User)
        return Outcome::Done;
    markChanged();
    return recalculateRow(pointIndex, row);
}

int SurveyDocument::addRecord(int pointIndex)
{
    PointRow& p = mutablePoint(pointIndex);
    RecordCells cells;
    // Records belong to their point by its date and times.
    cells[RecordColumn::日時キー - 1] = p.日付 + QLatin1Char('_') + p.開始時刻 + QLatin1Char('_') + p.終了時刻;
    p.records.push_back(std::move(cells));
    const int row = static_cast<int>(p.records.size()) - 1;
    emit events_.recordsInserted(pointIndex, row, row);
    return row;
}

void SurveyDocument::deleteRecordRows(int pointIndex, std::vector<int> rows)
{
    PointRow& p = mutablePoint(pointIndex);
    sortDescendingUnique(rows);
    for (int row : rows) {
        if (row < 0 || row >= static_cast<int>(p.records.size()))
            continue;
        p.records.erase(p.records.begin() + row);
        emit events_.recordsRemoved(pointIndex, row, row);
    }
    markChanged();
}

void SurveyDocument::pickPointRemark(int pointIndex, const QString& text)
{
    setPointCell(pointIndex, PointColumn::記事, text);
    markChanged();
}

void SurveyDocument::pickRecordRemark(int pointIndex, int row, const QString& text)
{
    setRecordCell(pointIndex, row, RecordColumn::記事, text);
    markChanged();
}

Outcome SurveyDocument::pickSoil(int pointIndex, int row, const QString& soil)
{
    setRecordCell(pointIndex, row, RecordColumn::推定土質, soil);
    const Outcome outcome = recalculateAll();
    markChanged();
    return outcome;
}

// --- changes ------------------------------------------------------------------

void SurveyDocument::setChanged(bool changed)
{
    if (changed_ == changed)
        return;
    changed_ = changed;
    emit events_.unsavedChangesChanged(changed);
}

void SurveyDocument::markChanged()
{
    setChanged(true);
    emit events_.changeMarked();
}

// --- clearing -----------------------------------------------------------------

Outcome SurveyDocument::clear()
{
    clearing_ = true;
    const QDateTime now = s_.now();
    for (int i = 0; i < HeaderFieldCount; ++i)
        setHeader(static_cast<HeaderField>(i), QString());
    setHeader(HeaderField::調査日, now.toString(QStringLiteral("yyyy/MM/dd")));
    setHeader(HeaderField::開始時刻, now.toString(QStringLiteral("HH:mm")));
    setHeader(HeaderField::終了時刻, now.toString(QStringLiteral("HH:mm")));
    setHeader(HeaderField::提出先, s_.state.settings.通常の提出先);
    points_.clear();
    emit events_.pointsReset();

    Outcome outcome = Outcome::Done;
    try {
        if (db::Database* database = s_.workspace.survey())
            db::RefreshMasterLists(*database, s_.lists);
    } catch (const Failure& failure) {
        outcome = report(failure);
    }
    clearing_ = false;
    setChanged(false);
    return outcome;
}

// --- calculation ----------------------------------------------------------------

void SurveyDocument::computeRow(int pointIndex, int row, const calc::BearingFactorTable& factors)
{
    RecordCells& cells = mutablePoint(pointIndex).records.at(static_cast<std::size_t>(row));
    const calc::RowInputs inputs{cells[RecordColumn::貫入長 - 1], cells[RecordColumn::打撃回数 - 1],
                                 cells[RecordColumn::トルク - 1], cells[RecordColumn::推定土質 - 1]};
    calc::RowTexts texts = s_.calculator.computeRow(inputs, header(HeaderField::提出先), factors);
    cells[RecordColumn::補正値 - 1] = std::move(texts.deltaNd);
    cells[RecordColumn::補正打撃回数 - 1] = std::move(texts.nd);
    cells[RecordColumn::換算支持力 - 1] = std::move(texts.qa);
}

bool SurveyDocument::computeRowAsking(int pointIndex, int row, const calc::BearingFactorTable& factors,
                                      ComputeRun& run)
{
    for (;;) {
        try {
            computeRow(pointIndex, row, factors);
            return true;
        } catch (const Failure& failure) {
            RetryChoice choice = RetryChoice::Ignore;
            if (run.ignoredNumber != failure.number()) {
                const RetryReport answer =
                    ReportRetryableError(failure, ErrorContext{s_.ui, s_.state, s_.workspace.surveyOpen()});
                if (answer.action == action::EndProgram) {
                    run.outcome = Outcome::EndProgram;
                    return false;
                }
                choice = answer.choice;
            }
            if (choice == RetryChoice::Retry)
                continue;
            if (choice == RetryChoice::Abort) {
                run.outcome = Outcome::NotDone;
                return false;
            }
            // Skipped: the row shows no values rather than those of before.
            run.ignoredNumber = failure.number();
            RecordCells& cells = mutablePoint(pointIndex).records.at(static_cast<std::size_t>(row));
            for (int c = RecordColumn::補正値; c <= RecordColumn::換算支持力; ++c)
                cells[static_cast<std::size_t>(c - 1)].clear();
            return true;
        }
    }
}

Outcome SurveyDocument::recalculateRow(int pointIndex, int row)
{
    ComputeRun run;
    computeRowAsking(pointIndex, row, s_.calculator.bearingFactorTable(), run);
    emit events_.recordsChanged(pointIndex, row, row, RecordColumn::補正値, RecordColumn::換算支持力);
    return run.outcome;
}

Outcome SurveyDocument::recalculateAll()
{
    if (clearing_)
        return Outcome::Done;
    s_.ui.setStatusText(QStringLiteral("計算中..."));
    const Outcome outcome = computeAll(false);
    s_.ui.setStatusText(outcome == Outcome::Done ? QStringLiteral("計算終了") : QString());
    return outcome;
}

Outcome SurveyDocument::computeAll(bool rowsOutsideSoilList)
{
    struct RowRef {
        int point;
        int row;
    };
    // One pass sorts the rows into their soils, keeping grid and row order
    // within each soil; the soils are then visited in list order.
    QHash<QString, std::vector<RowRef>> bySoil;
    for (int p = 0; p < pointCount(); ++p) {
        const std::vector<RecordCells>& records = points_[static_cast<std::size_t>(p)].records;
        for (int r = 0; r < static_cast<int>(records.size()); ++r)
            bySoil[records[static_cast<std::size_t>(r)][RecordColumn::推定土質 - 1]].push_back(RowRef{p, r});
    }

    const calc::BearingFactorTable factors = s_.calculator.bearingFactorTable();
    const calc::PenetrationCalculator::RunScope scope(s_.calculator);
    ComputeRun run;
    bool goOn = true;
    int sinceEvents = 0;
    auto computeRows = [&](const std::vector<RowRef>& rows) {
        for (const RowRef& ref : rows) {
            if (!goOn)
                return;
            // Rows deleted while pending events ran are skipped.
            if (ref.point >= pointCount() || ref.row >= recordCount(ref.point))
                continue;
            goOn = computeRowAsking(ref.point, ref.row, factors, run);
            if (++sinceEvents == 256) {
                sinceEvents = 0;
                s_.ui.processEvents();
            }
        }
    };

    const QStringList& soils = s_.lists.soil;
    for (qsizetype i = 1; i < soils.size(); ++i) {
        auto found = bySoil.find(soils[i]);
        if (found == bySoil.end())
            continue;
        const std::vector<RowRef> rows = std::move(found.value());
        bySoil.erase(found);   // a soil listed twice is computed once
        computeRows(rows);
    }
    if (rowsOutsideSoilList && goOn) {
        // Rows whose soil is not in the list (or empty) in grid and row order.
        std::vector<RowRef> rest;
        for (const auto& rows : std::as_const(bySoil))
            rest.insert(rest.end(), rows.begin(), rows.end());
        std::sort(rest.begin(), rest.end(), [](const RowRef& a, const RowRef& b) {
            return a.point != b.point ? a.point < b.point : a.row < b.row;
        });
        computeRows(rest);
    }

    for (int p = 0; p < pointCount(); ++p) {
        const int count = recordCount(p);
        if (count > 0)
            emit events_.recordsChanged(p, 0, count - 1, RecordColumn::補正値, RecordColumn::換算支持力);
    }
    return run.outcome;
}

} // namespace vortan::sheet
