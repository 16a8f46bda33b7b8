// Exchange-file throughput: reading a file of 200,000 lines (1,000 surveys of
// 10 points with 20 records each, Japanese header texts) in add mode into a
// fresh copy of the shipped database, against inserting the very same rows
// with bare prepared SQLite statements in one transaction; and writing the
// file back, against a bare SELECT of the same join written to a file.
// Prints lines per second of each, their ratio, and medians over the runs;
// beside the elapsed times the processor times, whose ratios move less
// when other programs share the machine.
//
//   bench_exchange_load [runs]   (default 3)

#include "core/cp932.h"
#include "bench/quiet_user_interface.h"
#include "db/database.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "intake/exchange_read.h"
#include "intake/exchange_write.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

using namespace vortan;

namespace {

constexpr int Surveys = 1000;
constexpr int PointsPerSurvey = 10;
constexpr int RecordsPerPoint = 20;
constexpr int Lines = Surveys * PointsPerSurvey * RecordsPerPoint;

struct Data {
    std::vector<db::SurveyRow> surveys;
    std::vector<db::PointRow> points;
    std::vector<db::RecordRow> records;
};

// Elapsed and processor seconds of one timed step.
struct Seconds {
    double wall = 0;
    double cpu = 0;
};

class Stopwatch {
public:
    Stopwatch() : cpu_(std::clock()) { timer_.start(); }
    Seconds elapsed() const
    {
        return {double(timer_.nsecsElapsed()) / 1e9, double(std::clock() - cpu_) / CLOCKS_PER_SEC};
    }

private:
    QElapsedTimer timer_;
    std::clock_t cpu_;
};

Data makeData()
{
    Data d;
    for (int s = 1; s <= Surveys; ++s) {
        db::SurveyRow survey;
        survey.調査地区No = s;
        survey.現場名 = QStringLiteral("髙橋邸新築工事①～第%1期").arg(s);
        survey.住所 = QStringLiteral("東京都千代田区丸の内一丁目%1番地").arg(s);
        survey.調査目的 = QStringLiteral("住宅基礎の地盤調査");
        survey.調査責任者 = QStringLiteral("山田太郎");
        survey.調査者 = QStringLiteral("ｻﾄｳ ｲﾁﾛｳ");
        survey.調査開始時刻 = QStringLiteral("0930");
        survey.調査終了時刻 = QStringLiteral("1150");
        survey.調査日 = QStringLiteral("20240401");
        survey.天候 = QStringLiteral("晴れ時々曇り");
        survey.標高 = QStringLiteral("12.5");
        survey.得意先名 = QStringLiteral("一般");
        survey.記事 = QStringLiteral("ボーリング併用");
        d.surveys.push_back(survey);
        for (int p = 1; p <= PointsPerSurvey; ++p) {
            db::PointRow point;
            point.調査地区No = s;
            point.測点No = QString::number(p);
            point.標高差 = QStringLiteral("-0.35");
            point.地下水位 = QStringLiteral("1.2");
            point.記事 = QStringLiteral("ｺﾝｸﾘｰﾄ殻あり");
            point.日付 = QStringLiteral("240401");
            point.開始時刻 = QStringLiteral("0930");
            point.終了時刻 = QStringLiteral("0941");
            point.印刷測点No = QStringLiteral("No%1").arg(p).left(4);
            d.points.push_back(point);
            for (int r = 1; r <= RecordsPerPoint; ++r) {
                db::RecordRow record;
                record.調査地区No = s;
                record.測点No = point.測点No;
                record.貫入深さ = 0.25f * float(r);
                record.打撃回数 = std::int16_t(r % 17 + 1);
                record.トルク = 1.5f * float(r % 7);
                record.推定土質 = QString::number(r % 5 + 1);
                record.記事 = r == 3 ? QStringLiteral("礫混じり") : QString();
                record.日付 = point.日付;
                record.開始時刻 = point.開始時刻;
                record.終了時刻 = point.終了時刻;
                d.records.push_back(record);
            }
        }
    }
    return d;
}

QString quoteJoin(const QStringList& fields)
{
    return QLatin1Char('"') + fields.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n");
}

QByteArray makeFile(const Data& d)
{
    QByteArray bytes;
    std::size_t r = 0;
    for (std::size_t p = 0; p < d.points.size(); ++p) {
        const db::PointRow& point = d.points[p];
        const db::SurveyRow& s = d.surveys[std::size_t(point.調査地区No - 1)];
        for (int i = 0; i < RecordsPerPoint; ++i, ++r) {
            const db::RecordRow& rec = d.records[r];
            bytes += cp932::encode(quoteJoin(
                {QString::number(s.調査地区No), point.測点No, s.現場名, s.住所, s.調査目的, s.調査責任者, s.調査者,
                 s.調査開始時刻, s.調査終了時刻, s.調査日, s.天候, s.標高, s.得意先名, s.記事, point.標高差,
                 point.地下水位, point.記事, QString::number(double(rec.貫入深さ)), QString::number(rec.打撃回数),
                 QString::number(double(rec.トルク)), rec.推定土質, rec.記事, point.日付, point.開始時刻,
                 point.終了時刻, rec.日付, rec.開始時刻, rec.終了時刻, point.印刷測点No}));
        }
    }
    return bytes;
}

bool copyDefaultDatabase(const QString& target)
{
    QFile::remove(target);
    if (!QFile::copy(QStringLiteral(VORTAN_PROGRAM_DIR "/VORTAN.MDB"), target))
        return false;
    return QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
}

void check(int rc, sqlite3* db, const char* what)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void bindText(sqlite3_stmt* st, int index, const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(st, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

Seconds bareInsert(const QString& path, const Data& d)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
    const Stopwatch timer;
    sqlite3_stmt *survey = nullptr, *point = nullptr, *record = nullptr;
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO 調査地区 (調査地区No,現場名,住所,調査目的,調査責任者,調査者,調査開始時刻,"
                             "調査終了時刻,調査日,天候,標高,得意先名,記事) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?)",
                             -1, &survey, nullptr),
          db, "prepare survey");
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位,記事,"
                             "印刷測点No) VALUES (?,?,?,?,?,?,?,?,?)",
                             -1, &point, nullptr),
          db, "prepare point");
    check(sqlite3_prepare_v2(db,
                             "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,"
                             "トルク,推定土質,記事) VALUES (?,?,?,?,?,?,?,?,?,?)",
                             -1, &record, nullptr),
          db, "prepare record");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    std::size_t p = 0, r = 0;
    for (const db::SurveyRow& s : d.surveys) {
        sqlite3_bind_int(survey, 1, s.調査地区No);
        const QString texts[] = {s.現場名, s.住所, s.調査目的, s.調査責任者, s.調査者, s.調査開始時刻,
                                 s.調査終了時刻, s.調査日, s.天候, s.標高, s.得意先名, s.記事};
        for (int i = 0; i < 12; ++i)
            bindText(survey, i + 2, texts[i]);
        check(sqlite3_step(survey), db, "survey");
        sqlite3_reset(survey);
        for (int i = 0; i < PointsPerSurvey; ++i, ++p) {
            const db::PointRow& pt = d.points[p];
            sqlite3_bind_int(point, 1, pt.調査地区No);
            const QString pointTexts[] = {pt.測点No, pt.日付, pt.開始時刻, pt.終了時刻, pt.標高差,
                                          pt.地下水位, pt.記事, pt.印刷測点No};
            for (int k = 0; k < 8; ++k)
                bindText(point, k + 2, pointTexts[k]);
            check(sqlite3_step(point), db, "point");
            sqlite3_reset(point);
            for (int k = 0; k < RecordsPerPoint; ++k, ++r) {
                const db::RecordRow& rec = d.records[r];
                sqlite3_bind_int(record, 1, rec.調査地区No);
                bindText(record, 2, rec.測点No);
                bindText(record, 3, rec.日付);
                bindText(record, 4, rec.開始時刻);
                bindText(record, 5, rec.終了時刻);
                sqlite3_bind_double(record, 6, double(rec.貫入深さ));
                sqlite3_bind_int(record, 7, rec.打撃回数);
                sqlite3_bind_double(record, 8, double(rec.トルク));
                sqlite3_bind_int(record, 9, rec.推定土質.toInt());
                bindText(record, 10, rec.記事);
                check(sqlite3_step(record), db, "record");
                sqlite3_reset(record);
            }
        }
    }
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    const Seconds seconds = timer.elapsed();
    sqlite3_finalize(survey);
    sqlite3_finalize(point);
    sqlite3_finalize(record);
    sqlite3_close(db);
    return seconds;
}

Seconds bareWrite(const QString& databasePath, const QString& filePath)
{
    sqlite3* db = nullptr;
    check(sqlite3_open(databasePath.toUtf8().constData(), &db), db, "open");
    const Stopwatch timer;
    sqlite3_stmt* st = nullptr;
    check(sqlite3_prepare_v2(
              db,
              "SELECT 調査地区.調査地区No, 測点.測点No, 現場名, 住所, 調査目的, 調査責任者, 調査者, "
              "調査開始時刻, 調査終了時刻, 調査日, 天候, 標高, 得意先名, 調査地区.記事, 標高差, 地下水位, "
              "測点.記事, 貫入深さ, 打撃回数, トルク, 推定土質, 測点データ.記事, 測点.日付, 測点.開始時刻, "
              "測点.終了時刻, 測点データ.日付, 測点データ.開始時刻, 測点データ.終了時刻, 印刷測点No "
              "FROM (調査地区 INNER JOIN 測点 ON 調査地区.調査地区No = 測点.調査地区No) INNER JOIN 測点データ ON "
              "(調査地区.調査地区No = 測点データ.調査地区No) AND (測点.測点No = 測点データ.測点No) AND "
              "(測点.調査地区No = 測点データ.調査地区No) "
              "ORDER by 測点データ.調査地区No, 測点データ.測点No, 測点データ.貫入深さ",
              -1, &st, nullptr),
          db, "prepare select");
    QFile file(filePath);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(1);
    QByteArray buffer;
    while (sqlite3_step(st) == SQLITE_ROW) {
        for (int i = 0; i < 29; ++i) {
            buffer += i == 0 ? "\"" : ",\"";
            const unsigned char* text = sqlite3_column_text(st, i);
            if (text)
                buffer += reinterpret_cast<const char*>(text);
            buffer += '"';
        }
        buffer += "\r\n";
        if (buffer.size() >= 1 << 16) {
            file.write(buffer);
            buffer.clear();
        }
    }
    file.write(buffer);
    file.close();
    const Seconds seconds = timer.elapsed();
    sqlite3_finalize(st);
    sqlite3_close(db);
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The timings of one step over the runs.
struct Runs {
    std::vector<double> wall;
    std::vector<double> cpu;
    void add(const Seconds& s)
    {
        wall.push_back(s.wall);
        cpu.push_back(s.cpu);
    }
};

void printMedians(const char* name, const char* bareName, const Runs& step, const Runs& bare)
{
    const double w = median(step.wall), bw = median(bare.wall);
    const double c = median(step.cpu), bc = median(bare.cpu);
    std::printf("median %s: %.0f lines/s, %s: %.0f lines/s, ratio %.2f (target at least 0.80); "
                "processor time %.2f s against %.2f s, ratio %.2f\n",
                name, Lines / w, bareName, Lines / bw, bw / w, c, bc, bc / c);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;

    const Data data = makeData();
    const QByteArray bytes = makeFile(data);
    const QString exchangePath = dir.filePath("exchange.csv");
    {
        QFile file(exchangePath);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return 1;
    }
    std::printf("exchange file: %d lines, %.1f MB\n", Lines, double(bytes.size()) / 1e6);

    QuietUserInterface ui;
    Runs importTimes, bareInsertTimes, writeTimes, bareWriteTimes;
    for (int run = 1; run <= runs; ++run) {
        const QString importDb = dir.filePath("import.mdb");
        const QString bareDb = dir.filePath("bare.mdb");
        if (!copyDefaultDatabase(importDb) || !copyDefaultDatabase(bareDb))
            return 1;

        Seconds importSeconds;
        quint64 prepared = 0;
        {
            db::Workspace workspace;
            workspace.openSurvey(importDb);
            db::SurveyStore store(workspace);
            const Stopwatch timer;
            intake::ReadExchangeFile(workspace, store, ui, exchangePath, intake::ExchangeReadMode::Add);
            importSeconds = timer.elapsed();
            prepared = workspace.survey()->preparedStatementCount();
        }
        const Seconds bareSeconds = bareInsert(bareDb, data);

        Seconds writeSeconds;
        {
            db::Workspace workspace;
            workspace.openSurvey(importDb);
            const Stopwatch timer;
            intake::WriteExchangeFile(*workspace.survey(), ui, dir.filePath("written.csv"), QString(), {});
            writeSeconds = timer.elapsed();
        }
        const Seconds bareWriteSeconds = bareWrite(importDb, dir.filePath("bare.csv"));

        std::printf("run %d: import %.0f lines/s (%.2f s, processor %.2f s, %llu statements prepared), bare insert "
                    "%.0f lines/s (%.2f s, processor %.2f s), ratio %.2f\n",
                    run, Lines / importSeconds.wall, importSeconds.wall, importSeconds.cpu,
                    static_cast<unsigned long long>(prepared), Lines / bareSeconds.wall, bareSeconds.wall,
                    bareSeconds.cpu, bareSeconds.wall / importSeconds.wall);
        std::printf("run %d: write %.0f lines/s (%.2f s, processor %.2f s), bare select+write %.0f lines/s (%.2f s, "
                    "processor %.2f s), ratio %.2f\n",
                    run, Lines / writeSeconds.wall, writeSeconds.wall, writeSeconds.cpu,
                    Lines / bareWriteSeconds.wall, bareWriteSeconds.wall, bareWriteSeconds.cpu,
                    bareWriteSeconds.wall / writeSeconds.wall);
        std::fflush(stdout);
        importTimes.add(importSeconds);
        bareInsertTimes.add(bareSeconds);
        writeTimes.add(writeSeconds);
        bareWriteTimes.add(bareWriteSeconds);
        QFile::remove(importDb);
        QFile::remove(bareDb);
    }

    printMedians("import", "bare insert", importTimes, bareInsertTimes);
    printMedians("write", "bare select+write", writeTimes, bareWriteTimes);
    return 0;
}
