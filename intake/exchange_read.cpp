#include "intake/exchange_read.h"

#include "core/cp932.h"
#include "core/failure.h"
#include "core/file_devices.h"
#include "core/number_text.h"
#include "core/text_lines.h"
#include "core/user_interface.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "intake/exchange_line.h"
#include "intake/file_failure.h"

#include <QFile>
#include <QFileInfo>

namespace vortan::intake {

namespace {

const QString Source = QStringLiteral("ExchangeFile");

bool samePoint(const db::PointRow& a, const db::PointRow& b)
{
    return a.調査地区No == b.調査地区No && a.測点No == b.測点No && a.日付 == b.日付
        && a.開始時刻 == b.開始時刻 && a.終了時刻 == b.終了時刻;
}

QByteArray readWholeFile(const QString& path)
{
    const std::unique_ptr<QFile> file = filedevices::readDevice(path);
    if (!QFileInfo::exists(path) || !file->open(QIODevice::ReadOnly))
        throw fileReadFailure(*file, Source);
    QByteArray bytes = filedevices::readToEnd(*file);
    if (file->error() != QFileDevice::NoError)
        throw fileReadFailure(*file, Source);
    return bytes;
}

ExchangeReadResult readLines(db::SurveyStore& store, UserInterface& ui, const QByteArray& bytes,
                             ExchangeReadMode mode, const ProgressCallback& progress)
{
    ExchangeReadResult result;
    const bool add = mode == ExchangeReadMode::Add;
    const std::int32_t base = add ? store.MaxSurveyNo() : 0;
    std::int32_t counter = 0;

    const qint64 fileBytes = bytes.size();
    int progressValue = 0;
    if (progress)
        progress(0, ExchangeReadProgressMaximum);

    std::int32_t previousSurvey = 0;
    db::PointRow previousPoint;
    const QList<QByteArrayView> lines = textlines::splitLines(bytes);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString text = cp932::decode(lines[i]);
        ExchangeRecords records = ReadExchangeRecords(ExchangeLine(text, static_cast<int>(i + 1)));
        const std::int32_t fileNumber = records.survey.調査地区No;

        if (fileNumber != previousSurvey) {
            if (add) {
                ++counter;
                records.survey.調査地区No = base + counter;
            } else {
                store.DeleteSurvey(fileNumber, false, ui);
            }
            store.InsertSurveyRow(records.survey);
            ++result.surveys;
        }
        const std::int32_t number = add ? base + counter : fileNumber;

        if (!samePoint(records.point, previousPoint)) {
            previousPoint = records.point;
            records.point.調査地区No = number;
            store.InsertPointRow(records.point);
        }
        records.record.調査地区No = number;
        store.InsertRecordRow(records.record);
        previousSurvey = fileNumber;

        // Progress by bytes: the line's share of the file, line end excluded.
        if (fileBytes > 0) {
            const double step = numtext::roundHalfEven(
                static_cast<double>(lines[i].size()) * ExchangeReadProgressMaximum / fileBytes);
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

} // namespace

ExchangeReadResult ReadExchangeBytes(db::Workspace& workspace, db::SurveyStore& store,
                                     UserInterface& ui, const QByteArray& bytes,
                                     ExchangeReadMode mode, const ProgressCallback& progress)
{
    ui.setBusy(QStringLiteral("データの読み込み中..."), true);
    ExchangeReadResult result;
    const db::RecordRow previousRecord = store.previousRecord();
    bool began = false;
    try {
        workspace.beginTransaction();
        began = true;
        result = readLines(store, ui, bytes, mode, progress);
        workspace.commit();
    } catch (...) {
        // Nothing of a file that failed part way stays in the database.
        if (began) {
            try {
                workspace.rollback();
            } catch (const Failure&) {
                // the first failure is the one to report
            }
        }
        store.restorePreviousRecord(previousRecord);
        ui.setBusy(QString(), false);
        throw;
    }
    ui.setBusy(QString(), false);
    ui.setStatusText(QStringLiteral("データを読み込みました。"));
    return result;
}

ExchangeReadResult ReadExchangeFile(db::Workspace& workspace, db::SurveyStore& store,
                                    UserInterface& ui, const QString& path, ExchangeReadMode mode,
                                    const ProgressCallback& progress)
{
    ui.setBusy(QStringLiteral("データの読み込み中..."), true);
    QByteArray bytes;
    try {
        bytes = readWholeFile(path);
    } catch (...) {
        ui.setBusy(QString(), false);
        throw;
    }
    return ReadExchangeBytes(workspace, store, ui, bytes, mode, progress);
}

} // namespace vortan::intake
