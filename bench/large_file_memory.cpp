// Peak memory of large files: importing an exchange file of 1,000,000
// lines (add mode, into a copy of the shipped database), writing those
// lines out again as an exchange file, and listing a card file of 1,000,000
// records, each against the same work on a file a tenth the size, and
// against a process that only starts and opens the database. Every
// measurement runs in a child process of its own, so that one peak does not
// hide the next; the child reads its peak resident memory with getrusage.
// The limit is 200 MB for the large files.
//
//   bench_large_file_memory [lines]   (default 1000000)

#include "bench/quiet_user_interface.h"
#include "db/database.h"
#include "db/survey_store.h"
#include "db/value.h"
#include "db/workspace.h"
#include "intake/card_file.h"
#include "intake/exchange_read.h"
#include "intake/exchange_write.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <sys/resource.h>

#include <cstdio>

using namespace vortan;

namespace {

constexpr int LinesPerSurvey = 4 * 40;
constexpr double LimitMegabytes = 200;

double peakMegabytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;   // kilobytes on Linux
}

bool copyShippedDatabase(const QString& path)
{
    QFile::remove(path);
    return QFile::copy(QStringLiteral(VORTAN_PROGRAM_DIR "/VORTAN.MDB"), path)
        && QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// One survey of 4 points × 40 records written by the program itself, then
// repeated under consecutive survey numbers until the file has `lines` lines.
bool writeExchangeFile(const QString& folder, const QString& path, qint64 lines)
{
    const QString dbPath = folder + QStringLiteral("/template.mdb");
    if (!copyShippedDatabase(dbPath))
        return false;
    QByteArray block;
    {
        db::Workspace workspace;
        workspace.openSurvey(dbPath);
        db::Database& db = *workspace.survey();
        db.beginTransaction();
        db.execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,住所,調査日,得意先名) VALUES "
                                  "(1, '造成地一号', '埼玉県さいたま市浦和区高砂3丁目', '20240401', '一般');"));
        for (int p = 1; p <= 4; ++p) {
            db.execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,印刷測点No) "
                                      "VALUES (1, '%1', '240401', '0930', '0950', '%1');")
                           .arg(p));
            for (int r = 1; r <= 40; ++r)
                db.execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,"
                                          "打撃回数,トルク,推定土質,記事) VALUES (1, '%1', '240401', '0930', '0950', "
                                          "%2, %3, %4, %5, '');")
                               .arg(p)
                               .arg(0.25 * r)
                               .arg(r % 17 + 1)
                               .arg(1.5 * (r % 7))
                               .arg(r % 5 + 1));
        }
        db.commit();
        QuietUserInterface ui;
        const QString one = folder + QStringLiteral("/one.csv");
        intake::WriteExchangeFile(db, ui, one, QString(), {});
        QFile file(one);
        if (!file.open(QIODevice::ReadOnly))
            return false;
        block = file.readAll();
    }
    const QByteArray first = "\"1\",";
    QFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    const QList<QByteArray> templateLines = block.split('\n');
    qint64 written = 0;
    QByteArray chunk;
    for (int survey = 1; written < lines; ++survey) {
        const QByteArray number = '"' + QByteArray::number(survey) + "\",";
        for (const QByteArray& line : templateLines) {
            if (!line.startsWith(first) || written == lines)
                continue;
            chunk += number;
            chunk += QByteArrayView(line).sliced(first.size());
            chunk += '\n';
            ++written;
        }
        if (chunk.size() > (1 << 20)) {
            out.write(chunk);
            chunk.clear();
        }
    }
    out.write(chunk);
    return true;
}

bool writeCardFile(const QString& path, qint64 records)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray block = "\"No\",\"ﾃﾞｰﾀ\",\"現場No\",\"測点No\",\"深さ\",\"打撃\",\"ﾄﾙｸ\",\"土質\",\"年\",\"月日\",\"時\",\"分秒\"\r\n";
    for (qint64 n = 0; n < records; ++n) {
        const qint64 run = n / 200, r = n % 200;
        const qint64 second = run * 400 + r;
        block += QByteArray::number(n + 1) + ",\"A\"," + QByteArray::number(1 + run % 20) + ','
            + QByteArray::number(1 + run / 20 % 9999) + ',' + QByteArray::number((r + 1) * 0.05, 'f', 2) + ','
            + QByteArray::number(3 + r % 7) + ",12.5," + QByteArray::number(1 + r % 5) + ",2024,"
            + QByteArray::number(401 + second / 86400 % 28) + ',' + QByteArray::number(second / 3600 % 24) + ','
            + QByteArray::number(second / 60 % 60 * 100 + second % 60) + "\r\n";
        if (block.size() > (1 << 20)) {
            file.write(block);
            block.clear();
        }
    }
    return file.write(block) == block.size();
}

// The work of one child: prints "<peak MB> <seconds> <rows>".
int child(const QString& work, const QString& path, const QString& dbPath)
{
    QElapsedTimer timer;
    timer.start();
    qint64 rows = 0;
    if (work == u"exchange" || work == u"idle") {
        db::Workspace workspace;
        workspace.openSurvey(dbPath);
        if (work == u"exchange") {
            db::SurveyStore store(workspace);
            QuietUserInterface ui;
            rows = intake::ReadExchangeFile(workspace, store, ui, path, intake::ExchangeReadMode::Add).lines;
        }
    } else if (work == u"export") {
        db::Workspace workspace;
        workspace.openSurvey(dbPath);
        QuietUserInterface ui;
        rows = intake::WriteExchangeFile(*workspace.survey(), ui, path, QString(), {}).rowsWritten;
    } else if (work == u"card") {
        rows = qint64(intake::ReadAndListCardFile(path).file.rows.size());
    }
    std::printf("%.1f %.3f %lld\n", peakMegabytes(), timer.nsecsElapsed() / 1e9, static_cast<long long>(rows));
    return 0;
}

struct Measured {
    double megabytes = -1, seconds = 0;
    qint64 rows = 0;
};

// `dbPath` starts as a copy of the shipped database unless `keep` is set.
Measured measure(const QString& work, const QString& path, const QString& dbPath, bool keep = false)
{
    if (!keep && !dbPath.isEmpty() && !copyShippedDatabase(dbPath))
        return {};
    QProcess process;
    process.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), work, path, dbPath});
    if (!process.waitForFinished(-1) || process.exitCode() != 0)
        return {};
    const QList<QByteArray> parts = process.readAllStandardOutput().trimmed().split(' ');
    if (parts.size() != 3)
        return {};
    return {parts[0].toDouble(), parts[1].toDouble(), parts[2].toLongLong()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == u"--child")
        return child(args[2], args[3], args[4]);

    const qint64 lines = args.size() > 1 ? std::max(10, args[1].toInt()) : 1000000;
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QString dbPath = folder + QStringLiteral("/VORTAN.MDB");

    const Measured idle = measure(QStringLiteral("idle"), QString(), dbPath);
    std::printf("start and open the database only: peak %.1f MB\n", idle.megabytes);
    bool within = true;
    for (const qint64 count : {lines / 10, lines}) {
        const QString exchange = folder + QStringLiteral("/exchange.csv");
        const QString card = folder + QStringLiteral("/card.csv");
        if (!writeExchangeFile(folder, exchange, count) || !writeCardFile(card, count)) {
            std::fprintf(stderr, "cannot write the files\n");
            return 1;
        }
        const Measured imported = measure(QStringLiteral("exchange"), exchange, dbPath);
        const Measured exported = measure(QStringLiteral("export"), folder + QStringLiteral("/export.csv"), dbPath, true);
        const Measured listed = measure(QStringLiteral("card"), card, QString());
        std::printf("exchange file of %lld lines (%.1f MB): imported %lld lines in %.1f s, peak %.1f MB\n",
                    static_cast<long long>(count), QFile(exchange).size() / 1e6,
                    static_cast<long long>(imported.rows), imported.seconds, imported.megabytes);
        std::printf("the same lines written out: %lld lines (%.1f MB) in %.1f s, peak %.1f MB\n",
                    static_cast<long long>(exported.rows), QFile(folder + QStringLiteral("/export.csv")).size() / 1e6,
                    exported.seconds, exported.megabytes);
        std::printf("card file of %lld records (%.1f MB): listed %lld records in %.1f s, peak %.1f MB\n",
                    static_cast<long long>(count), QFile(card).size() / 1e6, static_cast<long long>(listed.rows),
                    listed.seconds, listed.megabytes);
        if (count == lines)
            within = imported.megabytes > 0 && exported.megabytes > 0 && listed.megabytes > 0
                && imported.megabytes < LimitMegabytes && exported.megabytes < LimitMegabytes
                && listed.megabytes < LimitMegabytes;
    }
    std::printf("%s: the three peaks of the %lld-line files under %.0f MB\n", within ? "ok" : "MISSED",
                static_cast<long long>(lines), LimitMegabytes);
    return 0;
}
