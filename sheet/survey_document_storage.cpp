// Loading and saving the survey document with the data sheet's statements.

#include "sheet/survey_document.h"

#include "calc/penetration_calculator.h"
#include "core/busy_scope.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/survey_number.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/master_lists.h"
#include "db/record_set.h"
#include "db/stored_date_time.h"
#include "db/survey_store.h"
#include "db/transaction.h"
#include "db/workspace.h"
#include "sheet/data_sheet_statements.h"
#include "sheet/date_time_text.h"

namespace vortan::sheet {

namespace {

const QString IncompleteInput =
    QStringLiteral("入力項目が不完全です｡表示されている内容をチェックした上で保存して下さい｡");

db::Database& surveyDatabase(db::Workspace& workspace)
{
    db::Database* database = workspace.survey();
    if (!database)
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"),
                      QStringLiteral("F_DataSheet"));
    return *database;
}

// The survey number as it goes into a statement: the number of the field's text.
QString numberLiteral(const QString& text)
{
    return numtext::shortestDouble(numtext::parseNumber(text).value_or(0.0));
}

QString text(const db::RecordSet& rows, const QString& name)
{
    return rows.hasField(name) ? rows.field(name).toText() : QString();
}

// A single-precision column as the grid shows it.
QString singleText(const db::Value& value, float factor = 1.0f)
{
    if (value.isNull())
        return QString();
    return numtext::shortestSingle(static_cast<float>(value.toNumber()) * factor);
}

// A point's stored date for display: eight digits as they are, shorter ones
// completed as the dates of points and records are.
QString pointDateDisplay(const QString& stored)
{
    if (stored.size() == 8)
        return db::StoredDateToDisplay(stored);
    QString copy = stored;
    return db::ShortDateToDisplay(copy);
}

QString padLeft(const QString& text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char('0')) + text;
}

// A numeric cell as a bare number in a statement; an empty cell is Null.
QString numberOrNull(const QString& cell, double divisor = 1.0)
{
    const std::optional<double> value = numtext::parseNumber(cell);
    if (!value)
        return QStringLiteral("Null");
    return numtext::shortestDouble(*value / divisor);
}

QString blowCountOrNull(const QString& cell)
{
    const std::optional<double> value = numtext::parseNumber(cell);
    if (!value)
        return QStringLiteral("Null");
    return QString::number(numtext::toInt16(*value));
}

int soilIndex(const QStringList& soils, const QString& name)
{
    if (name.isEmpty())
        return 0;
    const qsizetype index = soils.indexOf(name, 1);
    return index > 0 ? static_cast<int>(index) : 0;
}

} // namespace

// --- loading ------------------------------------------------------------------

Outcome SurveyDocument::load()
{
    const QString numberText = header(HeaderField::調査地区No);
    if (!numtext::isNumeric(numberText)) {
        s_.ui.showMessage(QStringLiteral("調査地区Noの欄に数値を入れて実行して下さい｡"), MessageIcon::Information);
        return Outcome::NotDone;
    }
    try {
        BusyScope busy(s_.ui, QStringLiteral("データの呼び出し中..."));
        const QString number = numberLiteral(numberText);
        if (!loadHeader(number)) {
            busy.finish();
            s_.ui.showMessage(QStringLiteral("データ登録されていませんでした｡"), MessageIcon::Information);
            return Outcome::NotDone;
        }
        loadSurvey(number);
        // Every row is computed once, by the recalculation that ends the
        // load: it visits the rows soil by soil so that each soil costs one
        // lookup per formula table; rows whose soil is outside the soil list
        // are computed after it, one by one.
        s_.ui.setStatusText(QStringLiteral("計算中..."));
        const Outcome computed = computeAll(true);
        if (computed != Outcome::Done)
            return computed;
        s_.ui.setStatusText(QStringLiteral("計算終了"));
        setChanged(false);
        busy.finish(QStringLiteral("データを呼び出しました｡"));
    } catch (const Failure& failure) {
        return report(failure);
    }
    return Outcome::Done;
}

bool SurveyDocument::loadHeader(const QString& number)
{
    db::RecordSet site = surveyDatabase(s_.workspace).openRecordSet(siteSelectSql(number));
    if (site.eof()) {
        site.close();
        return false;
    }
    site.moveFirst();
    for (const HeaderFieldInfo& info : HeaderFields()) {
        QString value = text(site, QString::fromUtf16(info.column));
        if (info.field == HeaderField::開始時刻 || info.field == HeaderField::終了時刻)
            value = db::StoredTimeToDisplay(value);
        else if (info.field == HeaderField::調査日)
            value = db::StoredDateToDisplay(value);
        setHeader(info.field, value);
    }
    site.close();
    return true;
}

void SurveyDocument::loadSurvey(const QString& number)
{
    db::Database& database = surveyDatabase(s_.workspace);
    points_.clear();

    db::RecordSet rows = database.openRecordSet(pointsSelectSql(number));
    if (!rows.eof())
        rows.moveFirst();
    for (; !rows.eof(); rows.moveNext()) {
        PointRow p;
        p.測点No = text(rows, QStringLiteral("測点No"));
        const QString printed = text(rows, QStringLiteral("印刷測点No"));
        p.cells[PointColumn::測点No表記 - 1] = printed.isEmpty() ? p.測点No : printed;
        p.cells[PointColumn::地盤高 - 1] = text(rows, QStringLiteral("標高差"));
        p.cells[PointColumn::地下水位 - 1] = text(rows, QStringLiteral("地下水位"));
        p.cells[PointColumn::記事 - 1] = text(rows, QStringLiteral("記事"));
        const bool print = rows.hasField(QStringLiteral("印刷")) && rows.field(QStringLiteral("印刷")).toNumber() != 0;
        p.cells[PointColumn::印刷 - 1] = print ? checkedText() : uncheckedText();
        p.日付 = text(rows, QStringLiteral("日付"));
        p.開始時刻 = text(rows, QStringLiteral("開始時刻"));
        p.終了時刻 = text(rows, QStringLiteral("終了時刻"));
        const QString date = pointDateDisplay(p.日付);
        p.cells[PointColumn::開始日時 - 1] = date + QLatin1Char('_') + db::StoredTimeToDisplay(p.開始時刻);
        p.cells[PointColumn::終了日時 - 1] = date + QLatin1Char('_') + db::StoredTimeToDisplay(p.終了時刻);
        points_.push_back(std::move(p));
    }
    rows.close();
    emit events_.pointsReset();

    const bool newtonMetres = s_.state.settings.試験名単位切替;
    const QStringList& soils = s_.lists.soil;
    for (int i = 0; i < pointCount(); ++i) {
        db::RecordSet records = database.openRecordSet(recordsSelectSql(number, pointNumber(i)));
        std::vector<RecordCells> grid;
        grid.reserve(static_cast<std::size_t>(records.recordCount()));
        if (!records.eof())
            records.moveFirst();
        for (; !records.eof(); records.moveNext()) {
            RecordCells cells;
            cells[RecordColumn::貫入長 - 1] = singleText(records.field(QStringLiteral("貫入深さ")));
            cells[RecordColumn::打撃回数 - 1] = text(records, QStringLiteral("打撃回数"));
            // Torque is kept in kN·cm; the sheet shows N·m, ten times it, when set so.
            cells[RecordColumn::トルク - 1] =
                singleText(records.field(QStringLiteral("トルク")), newtonMetres ? 10.0f : 1.0f);
            const double soil = records.field(QStringLiteral("推定土質")).toNumber();
            const qsizetype soilIndex = static_cast<qsizetype>(soil);
            cells[RecordColumn::推定土質 - 1] =
                soil >= 0 && soilIndex < soils.size() && soil == static_cast<double>(soilIndex)
                ? soils[soilIndex]
                : QString();
            cells[RecordColumn::記事 - 1] = text(records, QStringLiteral("記事"));
            cells[RecordColumn::日時キー - 1] = text(records, QStringLiteral("日付")) + QLatin1Char('_')
                + text(records, QStringLiteral("開始時刻")) + QLatin1Char('_')
                + text(records, QStringLiteral("終了時刻"));
            grid.push_back(std::move(cells));
        }
        records.close();
        points_[static_cast<std::size_t>(i)].records = std::move(grid);
        emit events_.recordsReset(i);
        s_.ui.processEvents();
    }
}

// --- saving -------------------------------------------------------------------

std::optional<InvalidInput> SurveyDocument::validate() const
{
    auto invalidField = [](HeaderField field) {
        InvalidInput input;
        input.field = field;
        return input;
    };
    if (!numtext::isNumeric(header(HeaderField::調査地区No)))
        return invalidField(HeaderField::調査地区No);
    const QString elevation = header(HeaderField::標高).trimmed();
    if (!elevation.isEmpty() && !numtext::isNumeric(elevation))
        return invalidField(HeaderField::標高);
    if (!header(HeaderField::調査日).isEmpty() && !IsDateText(header(HeaderField::調査日)))
        return invalidField(HeaderField::調査日);
    if (!header(HeaderField::開始時刻).isEmpty() && !IsDateOrTimeText(header(HeaderField::開始時刻)))
        return invalidField(HeaderField::開始時刻);
    if (!header(HeaderField::終了時刻).isEmpty() && !IsDateOrTimeText(header(HeaderField::終了時刻)))
        return invalidField(HeaderField::終了時刻);

    // The numbers of the data grids go into number columns: a cell that holds
    // something else would fail the save halfway, so it is refused here.
    for (int p = 0; p < pointCount(); ++p) {
        for (int r = 0; r < recordCount(p); ++r) {
            for (int column : {RecordColumn::貫入長, RecordColumn::打撃回数, RecordColumn::トルク}) {
                const QString& cell = recordCell(p, r, column);
                if (cell.trimmed().isEmpty())
                    continue;
                const bool ok = column == RecordColumn::打撃回数 ? numtext::isInt16Value(cell)
                                                                 : numtext::isNumeric(cell);
                if (!ok) {
                    InvalidInput input;
                    input.point = p;
                    input.row = r;
                    input.column = column;
                    return input;
                }
            }
        }
    }
    return std::nullopt;
}

SaveResult SurveyDocument::save()
{
    SaveResult result;
    if (std::optional<InvalidInput> invalid = validate()) {
        s_.ui.showMessage(IncompleteInput, MessageIcon::Information);
        result.invalid = invalid;
        return result;
    }

    try {
        // A survey is stored only under a whole number of 1 to 2147483647.
        const QString number =
            QString::number(ReadSurveyNumber(header(HeaderField::調査地区No), QStringLiteral("F_DataSheet")));
        db::RecordSet existing = surveyDatabase(s_.workspace).openRecordSet(siteExistsSql(number));
        const bool exists = existing.recordCount() > 0 || !existing.eof();
        existing.close();
        if (exists
            && s_.ui.showMessage(QStringLiteral("データを上書きしてもよろしいですか?"), MessageIcon::Question,
                                 MessageButtons::YesNo, MessageAnswer::Yes)
                != MessageAnswer::Yes)
            return result;

        // Nothing of a failed save may remain.
        BusyScope busy(s_.ui, QStringLiteral("データの保存中..."));
        db::Transaction transaction(s_.workspace);
        writeSurvey(number);
        transaction.commit();
    } catch (const Failure& failure) {
        result.outcome = report(failure);
        return result;
    }
    setChanged(false);
    result.outcome = Outcome::Done;
    return result;
}

void SurveyDocument::writeSurvey(const QString& number)
{
    db::Database& database = surveyDatabase(s_.workspace);
    db::SurveyStore store(s_.workspace);
    store.deleteSurvey(number, false, s_.ui);

    SiteValues site;
    site.現場名 = header(HeaderField::現場名);
    site.住所 = header(HeaderField::住所);
    site.調査目的 = header(HeaderField::調査目的);
    site.調査責任者 = header(HeaderField::調査責任者);
    site.調査者 = header(HeaderField::調査者);
    site.調査開始時刻 = db::TimeToStored(header(HeaderField::開始時刻));
    site.調査終了時刻 = db::TimeToStored(header(HeaderField::終了時刻));
    site.調査日 = db::DateToStored(header(HeaderField::調査日));
    site.天候 = header(HeaderField::天候);
    site.標高 = header(HeaderField::標高);
    site.得意先名 = header(HeaderField::提出先);
    site.記事 = header(HeaderField::調査地区記事);
    database.execute(siteInsertSql(number, site));

    // The rows are written from a copy, so that edits made while pending
    // window events run between records cannot disturb the loop.
    const std::vector<PointRow> points = points_;
    for (const PointRow& p : points) {
        PointValues v;
        v.測点No = p.測点No;
        v.日付 = p.日付;
        v.開始時刻 = p.開始時刻;
        v.終了時刻 = p.終了時刻;
        v.標高差 = p.cells[PointColumn::地盤高 - 1];
        v.地下水位 = p.cells[PointColumn::地下水位 - 1];
        v.記事 = p.cells[PointColumn::記事 - 1];
        v.印刷測点No = p.cells[PointColumn::測点No表記 - 1];
        v.印刷 = numtext::leadingNumber(p.cells[PointColumn::印刷 - 1]) != 0 ? checkedText() : uncheckedText();
        database.execute(pointInsertSql(number, v));
    }

    const bool newtonMetres = s_.state.settings.試験名単位切替;
    const QStringList& soils = s_.lists.soil;
    for (const PointRow& p : points) {
        for (const RecordCells& cells : p.records) {
            RecordValues v;
            v.測点No = p.測点No;
            const QStringList key = cells[RecordColumn::日時キー - 1].split(QLatin1Char('_'));
            v.日付 = padLeft(key.value(0), 6);
            v.開始時刻 = padLeft(key.value(1), 4);
            v.終了時刻 = padLeft(key.size() > 2 ? key.value(2) : key.value(1), 4);
            v.貫入深さ = numberOrNull(cells[RecordColumn::貫入長 - 1]);
            v.打撃回数 = blowCountOrNull(cells[RecordColumn::打撃回数 - 1]);
            v.トルク = numberOrNull(cells[RecordColumn::トルク - 1], newtonMetres ? 10.0 : 1.0);
            v.推定土質 = QString::number(soilIndex(soils, cells[RecordColumn::推定土質 - 1]));
            v.記事 = cells[RecordColumn::記事 - 1];
            database.execute(recordInsertSql(number, v));
            s_.ui.processEvents();
        }
    }
}

} // namespace vortan::sheet
