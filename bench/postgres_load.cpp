// The survey database on a PostgreSQL server over its Unix socket, against
// bare libpq and against the file engine, in the same run:
//  - the exchange import of 40,000 lines (200 surveys of 10 points with 20
//    records each) into a fresh server database, against inserting the very
//    same rows with bare libpq prepared statements in one transaction;
//  - loading a survey of 100 points × 300 records into the survey document
//    (with ⊿Nd, Nd and qa computed) from the server, against loading it from
//    a SQLite file.
// Starts its own throwaway server with scripts/postgres-test-server.sh and
// stops it at the end. Prints each run and the medians.
//
//   bench_postgres_load [runs]   (default 3)

#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/cp932.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "bench/quiet_user_interface.h"
#include "db/database.h"
#include "db/database_copy.h"
#include "db/master_lists.h"
#include "db/postgres/postgres_admin.h"
#include "db/schema_version.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "intake/exchange_read.h"
#include "sheet/survey_document.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <libpq-fe.h>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vortan;

namespace {

constexpr int Surveys = 200;
constexpr int PointsPerSurvey = 10;
constexpr int RecordsPerPoint = 20;
constexpr int Lines = Surveys * PointsPerSurvey * RecordsPerPoint;
constexpr int LoadPoints = 100;
constexpr int LoadRecords = 300;

// One line of the exchange file, in its 29 fields.
QStringList lineFields(int survey, int point, int record)
{
    const QString p = QString::number(point);
    return {QString::number(survey), p, QStringLiteral("髙橋邸新築工事①～第%1期").arg(survey),
            QStringLiteral("東京都千代田区丸の内一丁目%1番地").arg(survey), QStringLiteral("住宅基礎の地盤調査"),
            QStringLiteral("山田太郎"), QStringLiteral("ｻﾄｳ ｲﾁﾛｳ"), QStringLiteral("0930"), QStringLiteral("1150"),
            QStringLiteral("20240401"), QStringLiteral("晴れ"), QStringLiteral("12.5"), QStringLiteral("一般"),
            QStringLiteral("ボーリング併用"), QStringLiteral("-0.35"), QStringLiteral("1.2"),
            QStringLiteral("ｺﾝｸﾘｰﾄ殻あり"), QString::number(0.25 * record), QString::number(record % 17 + 1),
            QString::number(1.5 * (record % 7)), QString::number(record % 5 + 1),
            record == 3 ? QStringLiteral("礫混じり") : QString(), QStringLiteral("240401"), QStringLiteral("0930"),
            QStringLiteral("0941"), QStringLiteral("240401"), QStringLiteral("0930"), QStringLiteral("0941"),
            (QStringLiteral("No") + p).left(4)};
}

QByteArray exchangeBytes(int surveys, int points, int records, std::vector<QStringList>* rows)
{
    QByteArray bytes;
    for (int s = 1; s <= surveys; ++s)
        for (int p = 1; p <= points; ++p)
            for (int r = 1; r <= records; ++r) {
                const QStringList f = lineFields(s, p, r);
                if (rows)
                    rows->push_back(f);
                bytes += cp932::encode(QLatin1Char('"') + f.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n"));
            }
    return bytes;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool exec(PGconn* conn, const char* sql)
{
    PGresult* r = PQexec(conn, sql);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK || PQresultStatus(r) == PGRES_TUPLES_OK;
    if (!ok)
        std::fprintf(stderr, "%s: %s", sql, PQerrorMessage(conn));
    PQclear(r);
    return ok;
}

bool run(PGconn* conn, const char* name, const std::vector<QByteArray>& values)
{
    std::vector<const char*> pointers;
    for (const QByteArray& v : values)
        pointers.push_back(v.isNull() ? nullptr : v.constData());
    PGresult* r = PQexecPrepared(conn, name, int(pointers.size()), pointers.data(), nullptr, nullptr, 0);
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    if (!ok)
        std::fprintf(stderr, "%s: %s", name, PQerrorMessage(conn));
    PQclear(r);
    return ok;
}

// The rows of the exchange lines inserted with bare prepared statements in one transaction.
double bareInsert(const QString& uri, const std::vector<QStringList>& rows)
{
    PGconn* conn = PQconnectdb(uri.toUtf8().constData());
    if (PQstatus(conn) != CONNECTION_OK)
        return -1;
    QElapsedTimer timer;
    timer.start();
    PQclear(PQprepare(conn, "survey",
                      "INSERT INTO \"調査地区\" (\"調査地区No\",\"現場名\",\"住所\",\"調査目的\",\"調査責任者\",\"調査者\","
                      "\"調査開始時刻\",\"調査終了時刻\",\"調査日\",\"天候\",\"標高\",\"得意先名\",\"記事\") "
                      "VALUES ($1,$2,$3,$4,$5,$6,$7,$8,$9,$10,$11,$12,$13)",
                      0, nullptr));
    PQclear(PQprepare(conn, "point",
                      "INSERT INTO \"測点\" (\"調査地区No\",\"測点No\",\"日付\",\"開始時刻\",\"終了時刻\",\"標高差\","
                      "\"地下水位\",\"記事\",\"印刷測点No\") VALUES ($1,$2,$3,$4,$5,$6,$7,$8,$9)",
                      0, nullptr));
    PQclear(PQprepare(conn, "record",
                      "INSERT INTO \"測点データ\" (\"調査地区No\",\"測点No\",\"日付\",\"開始時刻\",\"終了時刻\","
                      "\"貫入深さ\",\"打撃回数\",\"トルク\",\"推定土質\",\"記事\") "
                      "VALUES ($1,$2,$3,$4,$5,$6,$7,$8,$9,$10)",
                      0, nullptr));
    bool ok = exec(conn, "BEGIN");
    QString lastSurvey, lastPoint;
    for (const QStringList& f : rows) {
        if (!ok)
            break;
        auto u = [&](int i) { return f[i].toUtf8(); };
        if (f[0] != lastSurvey) {
            ok = ok && run(conn, "survey", {u(0), u(2), u(3), u(4), u(5), u(6), u(7), u(8), u(9), u(10), u(11), u(12), u(13)});
            lastSurvey = f[0];
            lastPoint.clear();
        }
        if (f[1] != lastPoint) {
            ok = ok && run(conn, "point", {u(0), u(1), u(22), u(23), u(24), u(14), u(15), u(16), u(28)});
            lastPoint = f[1];
        }
        ok = ok && run(conn, "record", {u(0), u(1), u(25), u(26), u(27), u(17), u(18), u(19), u(20), u(21)});
    }
    ok = ok && exec(conn, "COMMIT");
    const double seconds = double(timer.nsecsElapsed()) / 1e9;
    PQfinish(conn);
    return ok ? seconds : -1;
}

// The shipped survey database on the server as a template, made once.
bool makeTemplate(const QString& uri)
{
    try {
        const auto source = db::Database::open(QDir(QStringLiteral(VORTAN_PROGRAM_DIR)).filePath("VORTAN.MDB"));
        {
            const auto target = db::Database::create(uri);
            db::copyDatabase(*source, *target);
        }
        db::Workspace workspace;
        workspace.openSurvey(uri);
        db::CheckSchemaVersion(workspace);
        return true;
    } catch (const Failure& failure) {
        std::fprintf(stderr, "template: %s\n", failure.description().toUtf8().constData());
        return false;
    }
}

// Loads survey 1 into the survey document, values computed; seconds.
double loadSurvey(const QString& location, const QString& iniFolder)
{
    ProgramState state;
    state.settings.ini位置 = iniFolder;
    LoadBearingFactorTable(iniFolder, state.bearingFactorTable);
    db::Workspace workspace;
    workspace.openSurvey(location);
    db::MasterLists lists;
    db::RefreshMasterLists(*workspace.survey(), lists);
    QuietUserInterface ui;
    calc::PenetrationCalculator calculator(workspace, state);
    sheet::SurveyDocument doc(sheet::SurveyDocument::Services{state, workspace, lists, ui, calculator});
    doc.clear();
    doc.setHeader(sheet::HeaderField::調査地区No, QStringLiteral("1"));
    QElapsedTimer timer;
    timer.start();
    if (doc.load() != sheet::Outcome::Done || doc.pointCount() != LoadPoints)
        return -1;
    return double(timer.nsecsElapsed()) / 1e9;
}

void import(const QString& location, const QString& file)
{
    db::Workspace workspace;
    workspace.openSurvey(location);
    db::SurveyStore store(workspace);
    QuietUserInterface ui;
    intake::ReadExchangeFile(workspace, store, ui, file, intake::ExchangeReadMode::Add);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    QTemporaryDir serverDir;
    if (!dir.isValid() || !serverDir.isValid())
        return 1;
    const QString script = QStringLiteral(VORTAN_SOURCE_DIR "/scripts/postgres-test-server.sh");
    if (QProcess::execute(script, {QStringLiteral("start"), serverDir.path()}) != 0) {
        std::fprintf(stderr, "the server did not start\n");
        return 1;
    }
    auto uri = [&](const char* name) {
        return QStringLiteral("postgresql:///%1?host=%2").arg(QLatin1String(name), serverDir.path());
    };
    int status = 0;
    [&] {
        for (const char* name : {"rqtbl.csv", "qaTbl.tbl", "VORTAN.MDB"})
            QFile::copy(QDir(QStringLiteral(VORTAN_PROGRAM_DIR)).filePath(QLatin1String(name)), dir.filePath(QLatin1String(name)));
        QFile::setPermissions(dir.filePath("VORTAN.MDB"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (!makeTemplate(uri("template"))) {
            status = 1;
            return;
        }
        std::vector<QStringList> rows;
        const QByteArray bytes = exchangeBytes(Surveys, PointsPerSurvey, RecordsPerPoint, &rows);
        const QString exchange = dir.filePath("exchange.csv");
        QFile file(exchange);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            status = 1;
            return;
        }
        file.close();
        std::printf("exchange file: %d lines over the Unix socket\n", Lines);

        std::vector<double> ratios, importTimes, bareTimes;
        for (int run = 1; run <= runs; ++run) {
            db::dropServerDatabase(uri("imported"));
            db::dropServerDatabase(uri("bare"));
            db::createServerDatabase(uri("imported"), QStringLiteral("template"));
            db::createServerDatabase(uri("bare"), QStringLiteral("template"));
            QElapsedTimer timer;
            timer.start();
            import(uri("imported"), exchange);
            const double importSeconds = double(timer.nsecsElapsed()) / 1e9;
            const double bareSeconds = bareInsert(uri("bare"), rows);
            if (bareSeconds <= 0) {
                status = 1;
                return;
            }
            importTimes.push_back(importSeconds);
            bareTimes.push_back(bareSeconds);
            ratios.push_back(bareSeconds / importSeconds);
            std::printf("run %d: import %.0f lines/s (%.2f s), bare libpq inserts %.0f lines/s (%.2f s), ratio %.2f\n",
                        run, Lines / importSeconds, importSeconds, Lines / bareSeconds, bareSeconds,
                        ratios.back());
        }
        std::printf("median import: %.0f lines/s, bare: %.0f lines/s, median ratio %.2f (target at least 0.6)\n",
                    Lines / median(importTimes), Lines / median(bareTimes), median(ratios));

        // One survey of 100 points × 300 records in both engines.
        const QString big = dir.filePath("big.csv");
        QFile bigFile(big);
        const QByteArray bigBytes = exchangeBytes(1, LoadPoints, LoadRecords, nullptr);
        if (!bigFile.open(QIODevice::WriteOnly) || bigFile.write(bigBytes) != bigBytes.size()) {
            status = 1;
            return;
        }
        bigFile.close();
        db::dropServerDatabase(uri("load"));
        db::createServerDatabase(uri("load"), QStringLiteral("template"));
        import(uri("load"), big);
        import(dir.filePath("VORTAN.MDB"), big);
        std::vector<double> loadRatios, serverLoads, fileLoads;
        for (int run = 1; run <= runs; ++run) {
            const double server = loadSurvey(uri("load"), dir.path());
            const double local = loadSurvey(dir.filePath("VORTAN.MDB"), dir.path());
            if (server <= 0 || local <= 0) {
                status = 1;
                return;
            }
            serverLoads.push_back(server);
            fileLoads.push_back(local);
            loadRatios.push_back(server / local);
            std::printf("run %d: load %d x %d from the server %.0f ms, from a file %.0f ms, ratio %.2f\n", run,
                        LoadPoints, LoadRecords, server * 1e3, local * 1e3, loadRatios.back());
        }
        std::printf("median load: server %.0f ms, file %.0f ms, median ratio %.2f (target at most 2)\n",
                    median(serverLoads) * 1e3, median(fileLoads) * 1e3, median(loadRatios));
    }();
    QProcess::execute(script, {QStringLiteral("stop"), serverDir.path()});
    return status;
}
