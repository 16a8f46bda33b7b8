#include "intake/exchange_write.h"

#include "core/busy_scope.h"
#include "core/cp932.h"
#include "core/failure.h"
#include "core/file_devices.h"
#include "core/number_text.h"
#include "core/program_files.h"
#include "core/survey_number.h"
#include "core/user_interface.h"
#include "db/database.h"
#include "db/engine_error_map.h"
#include "db/row_view.h"
#include "intake/exchange_line.h"
#include "core/file_failure.h"

#include <QSaveFile>
#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace vortan::intake {

namespace {

const QString Source = QStringLiteral("ExchangeFile");

// Bytes of the file per block (many lines per block).
constexpr qsizetype BlockBytes = 1 << 16;

// The record set's names of the 29 fields, in file order.
constexpr std::array<const char*, ExchangeFieldCount> ColumnNames = {
    "調査地区.調査地区No", "測点.測点No", "調査地区.現場名", "調査地区.住所",
    "調査地区.調査目的", "調査地区.調査責任者", "調査地区.調査者", "調査地区.調査開始時刻",
    "調査地区.調査終了時刻", "調査地区.調査日", "調査地区.天候", "調査地区.標高",
    "調査地区.得意先名", "調査地区.記事", "測点.標高差", "測点.地下水位", "測点.記事",
    "測点データ.貫入深さ", "測点データ.打撃回数", "測点データ.トルク", "測点データ.推定土質",
    "測点データ.記事", "測点.日付", "測点.開始時刻", "測点.終了時刻", "測点データ.日付",
    "測点データ.開始時刻", "測点データ.終了時刻", "測点.印刷測点No"};

// The column index each field name stands for, found once per query.
std::array<int, ExchangeFieldCount> columnIndexes(const db::RowView& row)
{
    std::array<int, ExchangeFieldCount> indexes{};
    for (int n = 0; n < ExchangeFieldCount; ++n) {
        const QString name = QString::fromUtf8(ColumnNames[n]);
        indexes[n] = row.columnIndex(name);
        if (indexes[n] < 0)
            throw db::engineFailure(err::DbItemNotFound,
                                    QStringLiteral("項目「%1」がありません。").arg(name));
    }
    return indexes;
}

// The file's lines, encoded a block of many lines at a time and written out
// when the block is full, so that the whole file is never held. A line is
// some ninety pieces; they are copied to the end of the block's buffer
// directly rather than appended one by one to a QByteArray, whose append
// checks every piece for sharing and overlap.
struct EncodedBlock {
    QByteArray bytes;   // the first `used` bytes hold the lines
    qsizetype used = 0;

    void put(QByteArrayView piece)
    {
        if (piece.isEmpty())
            return;
        if (used + piece.size() > bytes.size())
            bytes.resize(std::max(used + piece.size(), 2 * bytes.size()));
        std::memcpy(bytes.data() + used, piece.data(), std::size_t(piece.size()));
        used += piece.size();
    }
};

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

QString unwritableValuesNotice(const std::array<int, ExchangeFieldCount>& counts, int total,
                               const QStringList& characters)
{
    constexpr qsizetype Shown = 10;
    QString list = characters.mid(0, Shown).join(QStringLiteral("、"));
    if (characters.size() > Shown)
        list += QStringLiteral(" ほか%1種類").arg(characters.size() - Shown);
    QString text = QStringLiteral("シフトJIS（コードページ932）で書き表せない文字を含む値が %1 件あります。"
                                  "これらの文字（%2）はファイルに「?」として書き込まれました。")
                       .arg(total)
                       .arg(list);
    for (int n = 0; n < ExchangeFieldCount; ++n)
        if (counts[n] > 0)
            text += QStringLiteral("\n%1: %2 件").arg(exchangeFieldLabel(n + 1)).arg(counts[n]);
    return text;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
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
    try {
        // Any survey number the program can store can be written alone.
        return exchangeSurveyFilter(ReadSurveyNumber(numberText, Source));
    } catch (const Failure&) {
        ui.showMessage(QStringLiteral("調査地区Noの欄に数値を入れて実行して下さい｡"),
                       MessageIcon::Information);
        return std::nullopt;
    }
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
                                      const QString& filter, const std::vector<ProgramFile>& programFiles,
                                      const ProgressCallback& progress)
{
    std::vector<ProgramFile> protectedFiles = programFiles;
    for (const ProgramFile& file : ProgramFiles(ProgramState(), db.path()))
        protectedFiles.push_back(file);
    CheckWriteTarget(path, protectedFiles, Source);
    const std::unique_ptr<QSaveFile> file = filedevices::saveDevice(path);
    return WriteExchangeFile(db, ui, *file, filter, progress);
}

ExchangeWriteResult WriteExchangeFile(db::Database& db, UserInterface& ui, QSaveFile& file,
                                      const QString& filter, const ProgressCallback& progress)
{
    BusyScope busy(ui, QStringLiteral("データの保存中..."));
    ExchangeWriteResult result;
    try {
        EncodedBlock block;
        block.bytes.resize(BlockBytes + 4096);
        // Unbuffered, so that a full disk fails the write that meets it
        // rather than the flush inside commit(), which would still put the
        // shortened file in place. The lines go to the save file's
        // temporary copy; the file named is replaced only by the commit.
        const auto writeOut = [&] {
            if (!file.isOpen() && !file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
                throw fileWriteFailure(file, Source);
            // A disk that fills part way takes part of a block; the write of
            // the rest then says why it failed.
            qint64 written = 0;
            while (written < block.used) {
                const qint64 count = file.write(block.bytes.constData() + written, block.used - written);
                if (count <= 0) {
                    const Failure failure = fileWriteFailure(file, Source);
                    file.cancelWriting();
                    throw failure;
                }
                written += count;
            }
            block.used = 0;
        };
        std::array<int, ExchangeFieldCount> unsafe{};
        std::array<int, ExchangeFieldCount> unwritable{};
        QStringList lostCharacters;
        // The survey's and point's texts repeat on every line of a point: a
        // text cell the same as the last text of its column is taken as it
        // was checked and encoded then. Code page 932 encodes character by
        // character, so values encoded one by one make the bytes of the line
        // encoded whole.
        struct SeenText {
            QByteArray stored;   // as stored; empty when the cell was no text
            QByteArray encoded;
            bool unsafe = false;
            bool unwritable = false;
        };
        std::array<SeenText, ExchangeFieldCount> lastTexts;
        std::array<int, ExchangeFieldCount> columns{};
        QString value;
        QByteArray number;
        int total = 0;
        db.forEachRow(exchangeQuery(filter), [&](const db::RowView& row) {
            if (total == 0)
                columns = columnIndexes(row);
            if (block.used >= BlockBytes)
                writeOut();
            for (int n = 0; n < ExchangeFieldCount; ++n) {
                block.put(n == 0 ? QByteArrayView("\"") : QByteArrayView(",\""));
                const QByteArrayView stored = row.textBytes(columns[n]);
                if (stored.isEmpty() && row.isNumber(columns[n])) {
                    // ASCII digits: no comma, no quote, the same bytes in code page 932.
                    number.resize(0);
                    row.appendNumberText(columns[n], number);
                    block.put(number);
                    block.put("\"");
                    continue;
                }
                SeenText& seen = lastTexts[std::size_t(n)];
                if (stored.isEmpty() || stored != QByteArrayView(seen.stored)) {
                    value.resize(0);
                    row.appendText(columns[n], value);
                    seen.unsafe = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"'));
                    seen.unwritable = false;
                    if (isAscii(value)) {
                        seen.encoded = value.toLatin1();
                    } else {
                        const QStringList lost = cp932::unencodableCharacters(value);
                        seen.unwritable = !lost.isEmpty();
                        for (const QString& character : lost)
                            if (!lostCharacters.contains(character))
                                lostCharacters.append(character);
                        seen.encoded = cp932::encode(value);
                    }
                    seen.stored = stored.toByteArray();
                }
                block.put(seen.encoded);
                if (seen.unsafe)
                    ++unsafe[n];
                if (seen.unwritable)
                    ++unwritable[n];
                block.put("\"");
            }
            block.put("\r\n");
            ++total;
        });
        if (total == 0) {
            ui.showMessage(QStringLiteral("データが存在しないため保存できせんでした｡"),
                           MessageIcon::Information);
        } else {
            writeOut();
            if (progress)
                progress(0, total);
            for (int i = 0; i < total; ++i) {
                ++result.rowsWritten;
                if (progress)
                    progress(result.rowsWritten, total);
                ui.processEvents();
            }
            if (file.error() != QFileDevice::NoError) {
                const Failure failure = fileWriteFailure(file, Source);
                file.cancelWriting();
                throw failure;
            }
            if (!file.commit())
                throw fileWriteFailure(file, Source);

            ui.showMessage(QStringLiteral("データを保存しました。"), MessageIcon::Information);
            for (int count : unsafe)
                result.unsafeValues += count;
            if (result.unsafeValues > 0)
                ui.showMessage(unsafeValuesNotice(unsafe, result.unsafeValues),
                               MessageIcon::Information);
            for (int count : unwritable)
                result.unwritableValues += count;
            if (result.unwritableValues > 0)
                ui.showMessage(unwritableValuesNotice(unwritable, result.unwritableValues, lostCharacters),
                               MessageIcon::Information);
        }
    } catch (...) {
        if (file.isOpen())
            file.cancelWriting();   // the old file stays as it was
        throw;
    }
    return result;
}

} // namespace vortan::intake
