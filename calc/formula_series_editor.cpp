#include "calc/formula_series_editor.h"

#include "calc/qa_param_file.h"
#include "calc/qa_param_file_writer.h"
#include "core/cp932.h"
#include "core/busy_scope.h"
#include "core/error_reporter.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/record_set.h"
#include "db/transaction.h"
#include "db/workspace.h"

#include <QFile>
#include <algorithm>

namespace vortan::calc {

namespace {

const QString NotANumber = QStringLiteral("計算式の系列コードの欄に数値を入れて実行して下さい｡");
const QString NotRegistered = QStringLiteral("データ登録されていませんでした｡");
const QString NoCustomers = QStringLiteral("計算式使用客先は登録されていませんでした｡");
const QString Incomplete = QStringLiteral("入力項目が不完全です｡表示されている内容をチェックした上で保存して下さい｡");
const QString OverwriteQuestion = QStringLiteral("データを上書きしてもよろしいですか?");
const QString SaveCancelled = QStringLiteral("データの保存はキャンセルされました。");
const QString Saved = QStringLiteral("データを保存しました。");
const QString DeleteQuestion = QStringLiteral("表示されているデータを削除しますか?");
const QString Deleted = QStringLiteral("データを削除しました。");

// A coefficient as the grid shows it: the shortest text of the stored single.
QString coefficientText(const db::Value& value)
{
    if (value.isNull())
        return QString();
    return numtext::shortestSingle(static_cast<float>(value.toNumber()));
}

// A coefficient cell as a statement value: its number, 0 for an empty cell.
QString coefficientValue(const QString& cell)
{
    const QString text = cell.trimmed();
    if (text.isEmpty())
        return QStringLiteral("0");
    return numtext::shortestSingle(numtext::toSingleStrict(text));
}

float parameterValue(const QString& cell)
{
    const QString text = cell.trimmed();
    return numtext::isNumeric(text) ? numtext::toSingleStrict(text) : 0.0f;
}

bool isNumberOrEmpty(const QString& cell)
{
    const QString text = cell.trimmed();
    return text.isEmpty() || numtext::isNumeric(text);
}

// The soil name cut to whole characters that fit the record's name field.
QString fitRecordName(QString name)
{
    while (!name.isEmpty() && cp932::encode(name).size() > QaParamNameSize)
        name.chop(1);
    return name;
}

QString normalisedCode(const QString& code)
{
    return QString::number(numtext::toInt16Strict(code.trimmed()));
}

} // namespace

FormulaSeriesEditor::FormulaSeriesEditor(FormulaTable table, Services services)
    : info_(formulaTableInfo(table)), s_(services),
      soils_(2 + static_cast<int>(info_.coefficients.size()), 1), customers_(1, 1)
{
    const auto& groups = qaParamGroups();
    for (std::size_t g = 0; g < groups.size(); ++g)
        qaGrids_[g] = TextGrid(groups[g].count, 1);
}

QString FormulaSeriesEditor::qaFolder() const
{
    return s_.state.settings.ini位置;
}

EditorOutcome FormulaSeriesEditor::report(const Failure& failure)
{
    const ErrorContext context{s_.ui, s_.state, s_.workspace.surveyOpen()};
    return ReportError(failure, context) == action::EndProgram ? EditorOutcome::EndProgram
                                                                : EditorOutcome::NotDone;
}

// --- statements ------------------------------------------------------------------------

QString FormulaSeriesEditor::selectSeriesStatement(const QString& code) const
{
    const QString& t = info_.tableName;
    return QStringLiteral("select %1.* from %1 where 計算式コード = %2;").arg(t, code);
}

QString FormulaSeriesEditor::selectCustomersStatement(const QString& code) const
{
    return QStringLiteral("select mst得意先.* from mst得意先 where %1 = %2;").arg(info_.customerColumn, code);
}

QString FormulaSeriesEditor::existsStatement(const QString& code) const
{
    const QString& t = info_.tableName;
    return QStringLiteral("SELECT %1.計算式コード FROM %1 WHERE %1.計算式コード = %2 ;").arg(t, code);
}

QString FormulaSeriesEditor::deleteSeriesStatement(const QString& code) const
{
    const QString& t = info_.tableName;
    return QStringLiteral("DELETE %1.*, %1.計算式コード FROM %1 WHERE %1.計算式コード = %2;").arg(t, code);
}

QString FormulaSeriesEditor::insertStatement(const QString& code, int row) const
{
    const QString soil = soils_.cell(row, 0);
    const QString memo = soils_.cell(row, memoColumn());
    switch (info_.table) {
    case FormulaTable::RNd:
        return QStringLiteral("INSERT INTO mstRNd値計算式 (計算式コード,土質名, メモ, A, B, C) VALUES ('") + code +
               QStringLiteral("', '") + db::quoted(soil) + QStringLiteral("', '") + db::quoted(memo) +
               QStringLiteral("', ") + coefficientValue(soils_.cell(row, 1)) + QStringLiteral(",") +
               coefficientValue(soils_.cell(row, 2)) + QStringLiteral(", ") +
               coefficientValue(soils_.cell(row, 3)) + QStringLiteral(");");
    case FormulaTable::Nd: {
        QStringList values{code, db::quoted(soil), db::quoted(memo)};
        for (int c = 1; c <= 5; ++c)
            values << coefficientValue(soils_.cell(row, c));
        return QStringLiteral("INSERT INTO mstNd値計算式 (計算式コード,土質名, メモ, A, B, C, D, E) VALUES ('") +
               values.join(QStringLiteral("', '")) + QStringLiteral("');");
    }
    case FormulaTable::Qa: {
        QStringList values{code, db::quoted(soil.trimmed()), db::quoted(memo.trimmed())};
        for (int c = 0; c < 7; ++c)
            values << QStringLiteral("0");
        return QStringLiteral("INSERT INTO mstQa値計算式 (計算式コード,土質名, メモ, A, B, C, D, E, F, G) VALUES ('") +
               values.join(QStringLiteral("', '")) + QStringLiteral("');");
    }
    }
    return QString();
}

QString FormulaSeriesEditor::unbindStatement(const QString& code) const
{
    return QStringLiteral("UPDATE mst得意先 SET mst得意先.%1 = 0 WHERE mst得意先.%1 = %2;")
        .arg(info_.customerColumn, code);
}

QString FormulaSeriesEditor::bindStatement(const QString& code, const QString& customer) const
{
    return QStringLiteral("UPDATE mst得意先 SET mst得意先.%1 = %2 WHERE mst得意先.得意先名='%3';")
        .arg(info_.customerColumn, code, db::quoted(customer));
}

QString FormulaSeriesEditor::dropSeriesStatement(const QString& code) const
{
    const QString& t = info_.tableName;
    return QStringLiteral("DELETE %1.*, %1.計算式コード FROM %1 WHERE (((%1.計算式コード)=%2));").arg(t, code);
}

QString FormulaSeriesEditor::dropBindingStatement(const QString& code) const
{
    return QStringLiteral("UPDATE mst得意先 SET mst得意先.%1 = 0 WHERE (((mst得意先.%1)=%2));")
        .arg(info_.customerColumn, code);
}

// --- commands ------------------------------------------------------------------------

void FormulaSeriesEditor::clear()
{
    soils_.clear(1);
    customers_.clear(1);
    for (TextGrid& grid : qaGrids_)
        grid.clear(1);
    roundingMode_ = 0;
}

EditorOutcome FormulaSeriesEditor::load()
{
    clear();
    changed_ = false;
    if (!numtext::isInt16Value(code_.trimmed())) {
        s_.ui.showMessage(NotANumber, MessageIcon::Information);
        return EditorOutcome::NotDone;
    }
    try {
        loadRows(normalisedCode(code_));
    } catch (const Failure& failure) {
        s_.ui.setBusy(QString(), false);
        clear();
        return report(failure);
    }
    s_.ui.setBusy(QStringLiteral("データを呼び出しました。"), false);
    changed_ = false;
    return EditorOutcome::Done;
}

void FormulaSeriesEditor::loadRows(const QString& code)
{
    db::Database& db = *s_.workspace.survey();
    {
        db::RecordSet rows = db.openRecordSet(selectSeriesStatement(code));
        if (rows.recordCount() == 0) {
            s_.ui.showMessage(NotRegistered, MessageIcon::Information);
        } else {
            s_.ui.setBusy(QStringLiteral("データの呼び出し中..."), true);
            soils_.clear(0);
            for (rows.moveFirst(); !rows.eof(); rows.moveNext()) {
                const int r = soils_.rowCount();
                soils_.appendRow();
                soils_.setCell(r, 0, rows.field(QStringLiteral("土質名")).toText());
                for (int c = 0; c < info_.coefficients.size(); ++c)
                    soils_.setCell(r, 1 + c, coefficientText(rows.field(info_.coefficients.at(c))));
                soils_.setCell(r, memoColumn(), rows.field(QStringLiteral("メモ")).toText());
                s_.ui.processEvents();
            }
            soils_.appendRow();
        }
    }
    {
        db::RecordSet rows = db.openRecordSet(selectCustomersStatement(code));
        if (rows.recordCount() == 0) {
            s_.ui.showMessage(NoCustomers, MessageIcon::Information);
        } else {
            customers_.clear(0);
            for (rows.moveFirst(); !rows.eof(); rows.moveNext())
                customers_.setCell(customers_.rowCount(), 0, rows.field(QStringLiteral("得意先名")).toText());
            customers_.appendRow();
        }
    }
    if (isQa())
        loadQaRecords(numtext::toInt16Strict(code));
}

void FormulaSeriesEditor::loadQaRecords(std::int16_t code)
{
    QFile file(FindFileIgnoringCase(qaFolder(), QString::fromLatin1(QaParamFileName)));
    QByteArray bytes;
    if (file.exists()) {
        if (!file.open(QIODevice::ReadOnly))
            throw Failure(err::PermissionDenied, file.errorString(), file.fileName());
        bytes = file.readAll();
    }
    std::vector<QaParamRecord> records;
    for (qsizetype i = 0; i + QaParamRecordSize <= bytes.size(); i += QaParamRecordSize) {
        QaParamRecord record = decodeQaParamRecord(QByteArrayView(bytes).sliced(i, QaParamRecordSize));
        if (record.seriesCode == code)
            records.push_back(std::move(record));
    }

    // Each record goes to the row of its soil, as the lookup pairs them; a
    // record of a soil the series does not list gets a soil row of its own,
    // so that it is seen (and kept or deleted) rather than lost unseen.
    std::vector<int> rowOf(records.size(), -1);
    std::vector<bool> taken(static_cast<std::size_t>(soils_.usedRowCount()), false);
    for (std::size_t k = 0; k < records.size(); ++k) {
        const QStringView soil = qaRecordSoil(records[k].soilName);
        for (int r = 0; r < soils_.usedRowCount() && rowOf[k] < 0; ++r) {
            if (!taken[static_cast<std::size_t>(r)] && trimBlanks(soils_.cell(r, 0)) == soil) {
                taken[static_cast<std::size_t>(r)] = true;
                rowOf[k] = r;
            }
        }
    }
    for (std::size_t k = 0; k < records.size(); ++k) {
        if (rowOf[k] >= 0)
            continue;
        rowOf[k] = soils_.usedRowCount();
        soils_.setCell(rowOf[k], 0, qaRecordSoil(records[k].soilName).toString());
    }
    if (soils_.rowCount() == soils_.usedRowCount())
        soils_.appendRow();

    // One row per soil row, and never fewer than the soil grid has.
    const int rows = soils_.rowCount();
    const auto& groups = qaParamGroups();
    for (std::size_t g = 0; g < groups.size(); ++g) {
        TextGrid& grid = qaGrids_[g];
        grid.clear(rows);
        for (std::size_t k = 0; k < records.size(); ++k)
            for (int i = 0; i < groups[g].count; ++i)
                grid.setCell(rowOf[k], i, numtext::shortestSingle(records[k].P(groups[g].first + i)));
    }
    for (const QaParamRecord& record : records)
        roundingMode_ = record.roundingMode;
}

bool FormulaSeriesEditor::isDuplicate()
{
    db::RecordSet rows = s_.workspace.survey()->openRecordSet(existsStatement(normalisedCode(code_)));
    return rows.recordCount() > 0;
}

bool FormulaSeriesEditor::hasInvalidInput() const
{
    if (!numtext::isInt16Value(code_.trimmed()))
        return true;
    for (int r = 0; r < soils_.usedRowCount(); ++r) {
        if (soils_.cell(r, 0).trimmed().isEmpty())
            return true;
        for (int c = 1; c < memoColumn(); ++c)
            if (!isNumberOrEmpty(soils_.cell(r, c)))
                return true;
    }
    for (int r = 0; r < customers_.usedRowCount(); ++r)
        if (customers_.cell(r, 0).trimmed().isEmpty())
            return true;
    if (isQa()) {
        // Parameters belong to the soil of their row: a row of parameters
        // needs its soil.
        for (const TextGrid& grid : qaGrids_)
            for (int r = 0; r < grid.usedRowCount(); ++r) {
                if (grid.rowHoldsData(r) && soils_.cell(r, 0).trimmed().isEmpty())
                    return true;
                for (int c = 0; c < grid.columnCount(); ++c)
                    if (!isNumberOrEmpty(grid.cell(r, c)))
                        return true;
            }
    }
    return false;
}

std::vector<QaParamRecord> FormulaSeriesEditor::qaRecords(std::int16_t code) const
{
    int rows = 0;
    for (const TextGrid& grid : qaGrids_)
        rows = std::max(rows, grid.usedRowCount());
    const auto& groups = qaParamGroups();
    std::vector<QaParamRecord> records;
    // Row k of the parameters belongs to soil row k and is written under
    // its name; a row without a single parameter writes no record.
    for (int k = 0; k < rows; ++k) {
        bool any = false;
        for (const TextGrid& grid : qaGrids_)
            any = any || grid.rowHoldsData(k);
        if (!any)
            continue;
        QaParamRecord record;
        record.seriesCode = code;
        record.soilName = fitRecordName(soils_.cell(k, 0).trimmed());
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (int i = 0; i < groups[g].count; ++i)
                record.p[static_cast<std::size_t>(groups[g].first - 1 + i)] =
                    parameterValue(qaGrids_[g].cell(k, i));
        record.roundingMode = roundingMode_;
        records.push_back(record);
    }
    return records;
}

void FormulaSeriesEditor::writeSeries(const QString& code)
{
    db::Database& db = *s_.workspace.survey();
    db.execute(deleteSeriesStatement(code));
    for (int r = 0; r < soils_.usedRowCount(); ++r)
        db.execute(insertStatement(code, r));
    db.execute(unbindStatement(code));
    // Binding a customer here takes it away from any other series of the table.
    for (int r = 0; r < customers_.usedRowCount(); ++r)
        db.execute(bindStatement(code, customers_.cell(r, 0)));
}

EditorOutcome FormulaSeriesEditor::save()
{
    if (hasInvalidInput()) {
        s_.ui.showMessage(Incomplete, MessageIcon::Information);
        return EditorOutcome::NotDone;
    }
    const QString code = normalisedCode(code_);
    try {
        if (isDuplicate() && s_.ui.showMessage(OverwriteQuestion, MessageIcon::Question, MessageButtons::YesNo,
                                          MessageAnswer::Yes) != MessageAnswer::Yes) {
            s_.ui.showMessage(SaveCancelled, MessageIcon::Information);
            return EditorOutcome::NotDone;
        }
    } catch (const Failure& failure) {
        return report(failure);
    }

    BusyScope busy(s_.ui);
    try {
        if (info_.table != FormulaTable::RNd)
            busy.start(QStringLiteral("データの保存中..."));
        db::Transaction transaction(s_.workspace);
        writeSeries(code);
        transaction.commit();
    } catch (const Failure& failure) {
        busy.finish();
        return report(failure);
    }
    // The table rows are committed: lookups must read them from now on,
    // whatever becomes of the parameter file.
    s_.state.formulaChanges->give();

    // The parameter file is rewritten outside the transaction.
    if (isQa()) {
        const std::int16_t n = numtext::toInt16Strict(code);
        if (n != 0) {
            try {
                ReplaceQaSeries(qaFolder(), n, qaRecords(n));
            } catch (const Failure& failure) {
                busy.finish();
                return report(failure);
            }
        }
    }
    busy.finish();
    changed_ = false;
    s_.ui.showMessage(Saved, MessageIcon::Information);
    return EditorOutcome::Done;
}

EditorOutcome FormulaSeriesEditor::deleteSeries()
{
    if (!numtext::isInt16Value(code_.trimmed())) {
        s_.ui.showMessage(NotANumber, MessageIcon::Information);
        return EditorOutcome::NotDone;
    }
    if (s_.ui.showMessage(DeleteQuestion, MessageIcon::Question, MessageButtons::YesNo, MessageAnswer::Yes) !=
        MessageAnswer::Yes)
        return EditorOutcome::NotDone;
    const QString code = normalisedCode(code_);
    try {
        BusyScope busy(s_.ui, QStringLiteral("削除中..."));
        db::Database& db = *s_.workspace.survey();
        db::Transaction transaction(s_.workspace);
        db.execute(dropSeriesStatement(code));
        db.execute(dropBindingStatement(code));
        transaction.commit();
        s_.state.formulaChanges->give();
        busy.finish(Deleted);
    } catch (const Failure& failure) {
        return report(failure);
    }
    changed_ = false;
    s_.ui.showMessage(Deleted, MessageIcon::Information);
    return EditorOutcome::Done;
}

} // namespace vortan::calc
