#include "intake/exchange_read.h"

#include "core/busy_scope.h"
#include "core/failure.h"
#include "core/input_file.h"
#include "core/survey_number.h"
#include "core/number_text.h"
#include "core/text_lines.h"
#include "core/user_interface.h"
#include "db/survey_store.h"
#include "db/transaction.h"
#include "db/workspace.h"
#include "db/record_set.h"
#include "intake/exchange_line.h"
#include "intake/exchange_read_summary.h"

#include <algorithm>
#include <functional>
#include <memory>

namespace vortan::intake {

namespace {

const QString Source = QStringLiteral("ExchangeFile");

bool samePoint(const db::PointRow& a, const db::PointRow& b)
{
    return a.調査地区No == b.調査地区No && a.測点No == b.測点No && a.日付 == b.日付
        && a.開始時刻 == b.開始時刻 && a.終了時刻 == b.終了時刻;
}

const inputfile::Kind& exchangeKind()
{
    static const inputfile::Kind kind{QStringLiteral("CSVファイル"), Source};
    return kind;
}

bool surveyExists(db::Workspace& workspace, std::int32_t number)
{
    db::RecordSet rows = workspace.survey()->openRecordSet(
        QStringLiteral("SELECT 調査地区.調査地区No FROM 調査地区 WHERE 調査地区.調査地区No = %1;").arg(number));
    const bool exists = !rows.eof();
    rows.close();
    return exists;
}

void addOnce(std::vector<std::int32_t>& numbers, std::int32_t number)
{
    if (std::find(numbers.begin(), numbers.end(), number) == numbers.end())
        numbers.push_back(number);
}

// Hands out the lines one at a time (false after the last); a view stays
// valid until the next call.
using NextLine = std::function<bool(QByteArrayView& line)>;

ExchangeReadResult readLines(db::Workspace& workspace, db::SurveyStore& store, UserInterface& ui,
                             qint64 fileBytes, const NextLine& nextLine, ExchangeReadMode mode,
                             const ProgressCallback& progress)
{
    ExchangeReadResult result;
    const bool add = mode == ExchangeReadMode::Add;
    const std::int32_t base = add ? store.maxSurveyNo() : 0;
    std::int32_t counter = 0;
    std::int32_t addedNumber = 0;

    int progressValue = 0;
    if (progress)
        progress(0, ExchangeReadProgressMaximum);

    std::int32_t previousSurvey = 0;
    db::PointRow previousPoint;
    QByteArrayView line;
    for (qsizetype i = 0; nextLine(line); ++i) {
        inputfile::checkLineLength(line.size(), i + 1, exchangeKind());
        const ExchangeLine fields(line, static_cast<int>(i + 1));
        // A line of all its fields is read only as far as it brings something
        // new; a shorter one is read whole, to fail at the field it lacks.
        const bool complete = fields.fieldCount() >= ExchangeFieldCount - 1;
        ExchangeRecords records;
        std::int32_t fileNumber = 0;
        bool newPoint = true;
        if (complete) {
            fileNumber = ReadExchangeSurveyNumber(fields);
            if (fileNumber != previousSurvey)
                records.survey = ReadExchangeSurvey(fields, fileNumber);
            newPoint = !IsExchangePoint(fields, fileNumber, previousPoint);
            if (newPoint)
                records.point = ReadExchangePoint(fields, fileNumber);
            records.record = ReadExchangeRecord(fields, fileNumber);
        } else {
            records = ReadExchangeRecords(fields);
            fileNumber = records.survey.調査地区No;
            newPoint = !samePoint(records.point, previousPoint);
        }

        if (fileNumber != previousSurvey) {
            if (add) {
                ++counter;
                addedNumber = CheckedSurveyNumber(std::int64_t(base) + counter, Source);
                records.survey.調査地区No = addedNumber;
                result.created.push_back(addedNumber);
            } else {
                const bool created = std::find(result.created.begin(), result.created.end(), fileNumber)
                    != result.created.end();
                if (!created && surveyExists(workspace, fileNumber))
                    addOnce(result.replaced, fileNumber);
                else
                    addOnce(result.created, fileNumber);
                store.deleteSurvey(fileNumber, false, ui);
            }
            store.insertSurvey(records.survey);
            ++result.surveys;
        }
        const std::int32_t number = add ? addedNumber : fileNumber;

        if (newPoint) {
            previousPoint = records.point;
            records.point.調査地区No = number;
            store.insertPoint(records.point);
        }
        records.record.調査地区No = number;
        store.insertRecord(records.record);
        previousSurvey = fileNumber;

        // Progress by bytes: the line's share of the file, line end excluded.
        if (fileBytes > 0) {
            const double step = numtext::roundHalfEven(
                static_cast<double>(line.size()) * ExchangeReadProgressMaximum / fileBytes);
            progressValue = static_cast<int>(
                std::min<double>(progressValue + step, ExchangeReadProgressMaximum));
        }
        if (progress)
            progress(progressValue, ExchangeReadProgressMaximum);
        ui.processEvents();
        ++result.lines;
    }
    return result;
}

// Reads the lines in one transaction and tells the user the outcome.
ExchangeReadResult readInTransaction(db::Workspace& workspace, db::SurveyStore& store, UserInterface& ui,
                                     qint64 fileBytes, const NextLine& nextLine, ExchangeReadMode mode,
                                     const ProgressCallback& progress)
{
    ExchangeReadResult result;
    const db::RecordRow previousRecord = store.previousRecord();
    try {
        BusyScope busy(ui, QStringLiteral("データの読み込み中..."));
        // Nothing of a file that failed part way stays in the database.
        db::Transaction transaction(workspace);
        store.forgetNotStoredRows();
        result = readLines(workspace, store, ui, fileBytes, nextLine, mode, progress);
        result.notStored = store.notStoredRows();
        transaction.commit();
    } catch (...) {
        store.restorePreviousRecord(previousRecord);
        throw;
    }
    ui.setStatusText(QStringLiteral("データを読み込みました。"));
    ui.showMessage(importedSurveysText(result.created, result.replaced), MessageIcon::Information);
    if (!result.notStored.empty())
        ui.showMessage(notStoredRowsText(result.notStored), MessageIcon::Exclamation);
    return result;
}

} // namespace

ExchangeReadResult ReadExchangeBytes(db::Workspace& workspace, db::SurveyStore& store,
                                     UserInterface& ui, const QByteArray& bytes,
                                     ExchangeReadMode mode, const ProgressCallback& progress)
{
    const QList<QByteArrayView> lines = textlines::splitLines(bytes);
    qsizetype next = 0;
    return readInTransaction(
        workspace, store, ui, bytes.size(),
        [&](QByteArrayView& line) {
            if (next == lines.size())
                return false;
            line = lines[next++];
            return true;
        },
        mode, progress);
}

ExchangeReadResult ReadExchangeFile(db::Workspace& workspace, db::SurveyStore& store,
                                    UserInterface& ui, const QString& path, ExchangeReadMode mode,
                                    const ProgressCallback& progress)
{
    // The file is read a block at a time while its rows are stored, so that
    // memory does not grow with it. A missing or unreadable file, or one
    // beyond the limit, fails before anything is stored; a read that fails
    // part way rolls back like any other failure.
    std::unique_ptr<QFile> file;
    {
        BusyScope busy(ui, QStringLiteral("データの読み込み中..."));
        file = inputfile::open(path, exchangeKind());
    }
    inputfile::LineReader reader(*file, exchangeKind());
    return readInTransaction(
        workspace, store, ui, file->size(), [&reader](QByteArrayView& line) { return reader.next(line); }, mode,
        progress);
}

} // namespace vortan::intake
