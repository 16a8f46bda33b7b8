// Bulk insert through the database layer: 200,000 INSERT texts of one shape,
// as an import writes them, against the bare baseline of one SQLite statement
// prepared once and only bound and stepped for every row. Both run inside one
// transaction on a fresh file in a temporary folder.

#include "db/database.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int kRows = 200000;

const char* kCreate =
    "CREATE TABLE [測点データ] ([調査地区No] Long, [測点No] String(4), [日付] String(8), [開始時刻] String(8), "
    "[終了時刻] String(8), [貫入深さ] Single, [打撃回数] Integer, [トルク] Single, [推定土質] Long, [記事] String(100))";

double baselineSeconds(const QString& path)
{
    {
        auto db = vortan::db::Database::create(path);
        db->execute(QString::fromUtf8(kCreate));
    }
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    QElapsedTimer timer;
    timer.start();
    sqlite3_exec(handle, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* stmt = nullptr;
    sqlite3_prepare_v2(handle,
                       "INSERT INTO \"測点データ\" (\"調査地区No\",\"測点No\",\"日付\",\"開始時刻\",\"終了時刻\","
                       "\"貫入深さ\",\"打撃回数\",\"トルク\",\"推定土質\",\"記事\") VALUES (?,?,?,?,?,?,?,?,?,?)",
                       -1, &stmt, nullptr);
    for (int i = 0; i < kRows; ++i) {
        const QString point = QString::number(i % 10 + 1);
        sqlite3_bind_int64(stmt, 1, i / 1000 + 1);
        sqlite3_bind_text16(stmt, 2, point.utf16(), int(point.size() * 2), SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 3, "051001", -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 4, "0930", -1, SQLITE_STATIC);
        sqlite3_bind_text(stmt, 5, "1150", -1, SQLITE_STATIC);
        sqlite3_bind_double(stmt, 6, 0.25 * (i % 400 + 1));
        sqlite3_bind_int64(stmt, 7, i % 50);
        sqlite3_bind_double(stmt, 8, 1.5);
        sqlite3_bind_int64(stmt, 9, i % 5 + 1);
        sqlite3_bind_text16(stmt, 10, u"記事", 4, SQLITE_STATIC);
        sqlite3_step(stmt);
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    sqlite3_exec(handle, "COMMIT", nullptr, nullptr, nullptr);
    const double seconds = timer.nsecsElapsed() / 1e9;
    sqlite3_close_v2(handle);
    return seconds;
}

double layerSeconds(const QString& path, quint64& prepared)
{
    auto db = vortan::db::Database::create(path);
    db->execute(QString::fromUtf8(kCreate));
    QElapsedTimer timer;
    timer.start();
    db->beginTransaction();
    for (int i = 0; i < kRows; ++i) {
        // The text is built as the import builds it: one concatenation per row.
        db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ, 打撃回数,"
                                   "トルク, 推定土質, 記事) VALUES (")
                    + QString::number(i / 1000 + 1) + QStringLiteral(", '") + QString::number(i % 10 + 1)
                    + QStringLiteral("' , '051001', '0930', '1150', ") + QString::number(0.25 * (i % 400 + 1))
                    + QStringLiteral(", ") + QString::number(i % 50) + QStringLiteral(", 1.5, ")
                    + QString::number(i % 5 + 1) + QStringLiteral(", '記事');"));
    }
    db->commit();
    prepared = db->preparedStatementCount();
    return timer.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const double bare = baselineSeconds(dir.filePath(QStringLiteral("bare.mdb")));
    quint64 prepared = 0;
    const double layer = layerSeconds(dir.filePath(QStringLiteral("layer.mdb")), prepared);
    std::printf("bulk insert of %d rows\n", kRows);
    std::printf("  bare prepared statement : %8.3f s  (%.0f rows/s)\n", bare, kRows / bare);
    std::printf("  database layer          : %8.3f s  (%.0f rows/s), %llu statements prepared\n", layer,
                kRows / layer, static_cast<unsigned long long>(prepared));
    std::printf("  ratio layer / bare      : %8.2f\n", layer / bare);
    return 0;
}
