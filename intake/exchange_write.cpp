#include "intake/exchange_write.h"

#include "core/cp932.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/record_set.h"
#include "intake/exchange_line.h"
#include "intake/file_failure.h"

#include <QSaveFile>
#include <array>

namespace vortan::intake {

namespace {

const QString Source = QStringLiteral("ExchangeFile");

// The record set's names of the 29 fields, in file order.
constexpr std::array<const char*, ExchangeFieldCount> ColumnNames = {
    "調査地区.調査地区No", "測点.測点No", "調査地区.現場名", "調査地区.住所",
    "調査地区.調査目的", "調査地区.調査責任者", "調査地区.調査者", "調査地区.調査開始時刻",
    "調査地区.調査終了時刻", "調査地区.調査日", "調査地区.天候", "調査地区.標高",
    "調査地区.得意先名", "調査地区.記事", "測点.標高差", "測点.地下水位", "測点.記事",
    "測点データ.貫入深さ", "測点データ.打撃回数", "測点データ.トルク", "測点データ.推定土質",
    "測点データ.記事", "測点.日付", "測点.開始時刻", "測点.終了時刻", "測点データ.日付",
    "測点データ.開始時刻", "測点データ.終了時刻", "測点.印刷測点No"};

// The column index a field name stands for, found once per record set: the
// field a name returns is the same stored value as the field at its index.
std::array<int, ExchangeFieldCount> columnIndexes(const db::RecordSet& rows)
{
    std::array<int, ExchangeFieldCount> indexes{};
    for (int n = 0; n < ExchangeFieldCount; ++n) {
        const db::Value& named = rows.field(QString::fromUtf8(ColumnNames[n]));
        indexes[n] = -1;
        for (int i = 0; i < rows.fieldCount() && indexes[n] < 0; ++i)
            if (&rows.field(i) == &named)
                indexes[n] = i;
    }
    return indexes;
}

QString unsafeValuesNotice(const std::array<int, ExchangeFieldCount>& counts, int total)
{
    QString text = QStringLiteral("カンマ（,）または二重引用符（\"）を含む値が %1 件あります。"
                                  "このファイルを読み込むと、これらの値は元どおりには戻りません"
                                  "（カンマのある行では後ろの項目がずれ、二重引用符は消えます）。")
                       .arg(total);
    for (int n = 0; n < ExchangeFieldCount; ++n)
        if (counts[n] > 0)
            text += QStringLiteral("\n%1: %2 件").arg(exchangeFieldLabel(n + 1)).arg(counts[n]);
    return text;
}

} // namespace

QString toHalfWidth(const QString& text)
{
    QString result = text;
    for (QChar& ch : result) {
        const char16_t c = ch.unicode();
        if (c >= 0xFF01 && c <= 0xFF5E)
            ch = QChar(char16_t(c - 0xFEE0));
        else if (c == 0x3000)
            ch = QLatin1Char(' ');
    }
    return result;
}

std::optional<QString> ExchangeSurveyFilter(QString& numberText, UserInterface& ui)
{
    numberText = toHalfWidth(numberText);
    if (numberText.isEmpty() || !numtext::isInt16Value(numberText)) {
        ui.showMessage(QStringLiteral("調査地区Noの欄に数値を入れて実行して下さい｡"),
                       MessageIcon::Information);
        return std::nullopt;
    }
    return exchangeSurveyFilter(numtext::toInt16Strict(numberText));
}

QString exchangeSurveyFilter(std::int32_t number)
{
    return QStringLiteral("WHERE (調査地区.調査地区No = ") + QString::number(number) + QStringLiteral(") ");
}

QString exchangeQuery(const QString& filter)
{
    return QStringLiteral("SELECT 調査地区.*, 測点.*, 測点データ.* ")
        + QStringLiteral("FROM (調査地区 INNER JOIN 測点 ON 調査地区.調査地区No = 測点.調査地区No) ")
        + QStringLiteral("INNER JOIN 測点データ ON ")
        + QStringLiteral("(調査地区.調査地区No = 測点データ.調査地区No) AND ")
        + QStringLiteral("(測点.測点No = 測点データ.測点No) AND ")
        + QStringLiteral("(測点.調査地区No = 測点データ.調査地区No)  ") + filter
        + QStringLiteral("ORDER by 測点データ.調査地区No, 測点データ.測点No, 測点データ.貫入深さ;");
}

ExchangeWriteResult WriteExchangeFile(db::Database& db, UserInterface& ui, const QString& path,
                                      const QString& filter, const ProgressCallback& progress)
{
    QSaveFile file(path);
    return WriteExchangeFile(db, ui, file, filter, progress);
}

ExchangeWriteResult WriteExchangeFile(db::Database& db, UserInterface& ui, QSaveFile& file,
                                      const QString& filter, const ProgressCallback& progress)
{
    ui.setBusy(QStringLiteral("データの保存中..."), true);
    ExchangeWriteResult result;
    try {
        db::RecordSet rows = db.openRecordSet(exchangeQuery(filter));
        const int total = rows.recordCount();
        if (total == 0) {
            ui.showMessage(QStringLiteral("データが存在しないため保存できせんでした｡"),
                           MessageIcon::Information);
        } else {
            if (progress)
                progress(0, total);
            rows.moveFirst();
            const std::array<int, ExchangeFieldCount> columns = columnIndexes(rows);
            std::array<int, ExchangeFieldCount> unsafe{};

            if (!file.open(QIODevice::WriteOnly))
                throw fileWriteFailure(file, Source);
            QString line;
            QByteArray buffer;
            auto flush = [&] {
                if (file.write(buffer) != buffer.size()) {
                    const Failure failure = fileWriteFailure(file, Source);
                    file.cancelWriting();
                    throw failure;
                }
                buffer.clear();
            };
            while (!rows.eof()) {
                line.clear();
                for (int n = 0; n < ExchangeFieldCount; ++n) {
                    const QString value = rows.field(columns[n]).toText();
                    if (value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')))
                        ++unsafe[n];
                    line += n == 0 ? QStringLiteral("\"") : QStringLiteral(",\"");
                    line += value;
                    line += QLatin1Char('"');
                }
                line += QStringLiteral("\r\n");
                buffer += cp932::encode(line);
                if (buffer.size() >= 1 << 16)
                    flush();
                ++result.rowsWritten;
                if (progress)
                    progress(result.rowsWritten, total);
                ui.processEvents();
                rows.moveNext();
            }
            flush();
            if (!file.commit())
                throw fileWriteFailure(file, Source);
            rows.close();

            ui.showMessage(QStringLiteral("データを保存しました。"), MessageIcon::Information);
            for (int count : unsafe)
                result.unsafeValues += count;
            if (result.unsafeValues > 0)
                ui.showMessage(unsafeValuesNotice(unsafe, result.unsafeValues),
                               MessageIcon::Information);
        }
    } catch (...) {
        if (file.isOpen())
            file.cancelWriting();   // the old file stays as it was
        ui.setBusy(QString(), false);
        throw;
    }
    ui.setBusy(QString(), false);
    return result;
}

} // namespace vortan::intake
