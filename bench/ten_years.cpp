// Ten years of surveys: every daily step timed on a database of 10,000
// surveys × 4 points × 40 records (1.6 million records, the shipped masters
// and formula series) against the same step on a database that holds only
// the one survey worked on, both in the same run. Prints each step's median
// on both databases and their ratio, the unfiltered search against a bare
// SELECT of the same rows, the size per record, and the engine's query plan
// of every statement the steps ran, flagging whole-table scans of the survey
// tables.
//
// Whichever database runs a step second finds the processor's caches warm
// with that step's code, which the first has just run; the first comes
// after the other database's previous step. With two copies of the
// one-survey database in place of the two, the first copy always going
// first, the steps' ratios came out 0.98-1.15, most of them near 1.1;
// taking turns, 0.83-1.08. So the two take turns going first, round by
// round, over an even number of rounds, and each step shows its ratio over
// the rounds where the large database went first and over those where it
// went second beside the one over all rounds.
//
// The large database is built once and kept in the build tree under a name
// that holds its parameters and a fingerprint of the shipped database's
// layout; every run works on a copy of it.
//
//   bench_ten_years [rounds]   (default 10; an odd number is raised by one)

#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/failure.h"
#include "core/font_substitutes.h"
#include "core/program_state.h"
#include "bench/quiet_user_interface.h"
#include "db/database.h"
#include "db/master_lists.h"
#include "db/schema_version.h"
#include "db/survey_store.h"
#include "db/value.h"
#include "db/workspace.h"
#include "intake/card_file.h"
#include "intake/card_save.h"
#include "intake/exchange_read.h"
#include "intake/exchange_write.h"
#include "report/pdf_surface.h"
#include "report/print_session.h"
#include "report/printer_geometry.h"
#include "report/report_inputs.h"
#include "sheet/survey_document.h"
#include "sheet/survey_search.h"
#include "sheet/survey_search_query.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <set>

using namespace vortan;

namespace {

constexpr int Surveys = 10000;
constexpr int PointsPerSurvey = 4;
constexpr int RecordsPerPoint = 40;
constexpr int WorkedOn = 5000;   // the survey every step works on

QString siteName(int n)
{
    return QStringLiteral("造成地%1号").arg(n);
}

// Writes survey `n` with its points and records through prepared inserts.
struct SurveyWriter {
    explicit SurveyWriter(db::Database& db)
        : db(db),
          site(db.prepareInsert(QStringLiteral("調査地区"),
                                {QStringLiteral("調査地区No"), QStringLiteral("現場名"), QStringLiteral("住所"),
                                 QStringLiteral("調査目的"), QStringLiteral("調査責任者"), QStringLiteral("調査者"),
                                 QStringLiteral("調査開始時刻"), QStringLiteral("調査終了時刻"), QStringLiteral("調査日"),
                                 QStringLiteral("天候"), QStringLiteral("標高"), QStringLiteral("得意先名"),
                                 QStringLiteral("記事")})),
          point(db.prepareInsert(QStringLiteral("測点"),
                                 {QStringLiteral("調査地区No"), QStringLiteral("測点No"), QStringLiteral("日付"),
                                  QStringLiteral("開始時刻"), QStringLiteral("終了時刻"), QStringLiteral("標高差"),
                                  QStringLiteral("地下水位"), QStringLiteral("記事"), QStringLiteral("印刷測点No")})),
          record(db.prepareInsert(QStringLiteral("測点データ"),
                                  {QStringLiteral("調査地区No"), QStringLiteral("測点No"), QStringLiteral("日付"),
                                   QStringLiteral("開始時刻"), QStringLiteral("終了時刻"), QStringLiteral("貫入深さ"),
                                   QStringLiteral("打撃回数"), QStringLiteral("トルク"), QStringLiteral("推定土質"),
                                   QStringLiteral("記事")}))
    {
    }

    void write(int n)
    {
        using db::Value;
        // Ten years from 2015, a thousand surveys a year; the survey's day is
        // stored with its century, a point's without.
        const QString date = QStringLiteral("%1%2%3")
                                 .arg(15 + (n - 1) / 1000, 2, 10, QLatin1Char('0'))
                                 .arg(1 + (n - 1) % 1000 / 84, 2, 10, QLatin1Char('0'))
                                 .arg(1 + (n - 1) % 28, 2, 10, QLatin1Char('0'));
        const char* purposes[] = {"住宅新築", "擁壁", "店舗", "倉庫"};
        db.insertRow(site, {Value(qint64(n)), Value(siteName(n)),
                            Value(QStringLiteral("埼玉県さいたま市浦和区高砂%1丁目").arg(n % 9 + 1)),
                            Value(QString::fromUtf8(purposes[n % 4])), Value(QStringLiteral("田中")),
                            Value(QStringLiteral("佐藤")), Value(QStringLiteral("0900")), Value(QStringLiteral("1130")),
                            Value(QStringLiteral("20") + date), Value(QStringLiteral("晴れ")), Value(QString::number(10 + n % 40)),
                            Value(QStringLiteral("一般")), Value(QStringLiteral("記事%1").arg(n))});
        for (int p = 1; p <= PointsPerSurvey; ++p) {
            const QString number = QString::number(p);
            const QString start = QStringLiteral("%1").arg(900 + p * 30 - (p * 30 / 60) * 60 + (p * 30 / 60) * 100, 4, 10,
                                                           QLatin1Char('0'));
            const QString end = QStringLiteral("%1").arg(start.toInt() + 20, 4, 10, QLatin1Char('0'));
            db.insertRow(point, {Value(qint64(n)), Value(number), Value(date), Value(start), Value(end),
                                 Value(QStringLiteral("0")), Value(QString()), Value(QString()), Value(number)});
            for (int r = 0; r < RecordsPerPoint; ++r)
                db.insertRow(record, {Value(qint64(n)), Value(number), Value(date), Value(start), Value(end),
                                      Value(0.25 * (r + 1)), Value(qint64((r * 7 + p + n) % 30)),
                                      Value(2.5 * ((r * 3 + p) % 20)), Value(qint64(1 + (r / 8 + p) % 5)),
                                      Value(QString())});
        }
    }

    db::Database& db;
    int site, point, record;
};

bool copyShipped(const QString& name, const QDir& to)
{
    QFile::remove(to.filePath(name));
    if (!QFile::copy(QDir(QStringLiteral(VORTAN_PROGRAM_DIR)).filePath(name), to.filePath(name)))
        return false;
    return QFile::setPermissions(to.filePath(name), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// Builds a database of the surveys `numbers` from a copy of the shipped one.
bool buildDatabase(const QString& path, const std::vector<int>& numbers)
{
    const QString shipped = QStringLiteral(VORTAN_PROGRAM_DIR "/VORTAN.MDB");
    QFile::remove(path);
    if (!QFile::copy(shipped, path) || !QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    db::Workspace workspace;
    workspace.openSurvey(path);
    db::CheckSchemaVersion(workspace);
    db::Database& db = *workspace.survey();
    SurveyWriter writer(db);
    db.beginTransaction();
    for (int n : numbers)
        writer.write(n);
    db.commit();
    return true;
}

// A short fingerprint of the shipped database's layout: its tables, indexes
// and triggers, and the settings of its substring index. A large database
// built from an older layout is not timed against a small one built from the
// current one.
QString shippedLayoutKey()
{
    sqlite3* shipped = nullptr;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    const auto add = [&](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(shipped, sql, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(statement); ++c)
                hash.addData(QByteArrayView(static_cast<const char*>(sqlite3_column_blob(statement, c)),
                                            sqlite3_column_bytes(statement, c)));
        sqlite3_finalize(statement);
    };
    if (sqlite3_open_v2(VORTAN_PROGRAM_DIR "/VORTAN.MDB", &shipped, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        add("SELECT sql FROM sqlite_master WHERE sql IS NOT NULL ORDER BY type, name");
        add("SELECT k, v FROM \"調査地区の部分一致_config\" ORDER BY k");
    }
    sqlite3_close(shipped);
    return QString::fromLatin1(hash.result().toHex().left(8));
}

// The large database, built once for these parameters and this layout, and
// kept; one built for another layout is removed.
QString largeDatabase()
{
    QDir folder(QStringLiteral(VORTAN_BENCH_DATA_DIR));
    folder.mkpath(QStringLiteral("."));
    const QString name = QStringLiteral("ten_years_%1x%2x%3_%4.mdb")
                             .arg(Surveys)
                             .arg(PointsPerSurvey)
                             .arg(RecordsPerPoint)
                             .arg(shippedLayoutKey());
    const QString path = folder.filePath(name);
    if (QFileInfo::exists(path))
        return path;
    for (const QString& old : folder.entryList({QStringLiteral("ten_years_*.mdb")}, QDir::Files))
        folder.remove(old);
    std::printf("building %s once ...\n", qPrintable(path));
    std::fflush(stdout);
    QElapsedTimer timer;
    timer.start();
    std::vector<int> all(Surveys);
    for (int n = 1; n <= Surveys; ++n)
        all[n - 1] = n;
    const QString building = path + QStringLiteral(".building");
    if (!buildDatabase(building, all) || !QFile::rename(building, path))
        return {};
    std::printf("built in %.1f s\n", timer.nsecsElapsed() / 1e9);
    return path;
}

// A card file of one run of RecordsPerPoint records at point 1, which every
// stored survey has, on a day no stored point has: the import looks for
// stored copies of the run among the points of that number.
bool writeCard(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QByteArray text = "\"No\",\"ﾃﾞｰﾀ\",\"現場No\",\"測点No\",\"深さ\",\"打撃\",\"ﾄﾙｸ\",\"土質\",\"年\",\"月日\",\"時\",\"分秒\"\r\n";
    for (int r = 0; r < RecordsPerPoint; ++r)
        text += QByteArray::number(r + 1) + ",\"A\",1,1," + QByteArray::number((r + 1) * 0.25, 'f', 2) + ','
            + QByteArray::number(3 + r % 7) + ",12.5," + QByteArray::number(1 + r % 5) + ",2030,1231,14,"
            + QByteArray::number(r * 10 + 100) + "\r\n";
    return file.write(text) == text.size();
}

// The rows of an unfiltered search through the C API, every column read as text.
int bareSelect(sqlite3* handle)
{
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(handle, "SELECT * FROM \"調査地区\" ORDER BY \"調査地区No\"", -1, &statement, nullptr);
    int rows = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int c = 0; c < sqlite3_column_count(statement); ++c) {
            const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, c));
            QString value = text ? QString::fromUtf16(text) : QString();
            Q_UNUSED(value);
        }
        ++rows;
    }
    sqlite3_finalize(statement);
    return rows;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const std::size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// Every other value, from `first`: the rounds in which one database went first.
std::vector<double> everyOther(const std::vector<double>& values, std::size_t first)
{
    std::vector<double> out;
    for (std::size_t i = first; i < values.size(); i += 2)
        out.push_back(values[i]);
    return out;
}

// One database with everything a step needs, opened once.
struct Site {
    explicit Site(const QString& folder)
        : folder(folder),
          path(QDir(folder).filePath(QStringLiteral("VORTAN.MDB")))
    {
    }

    void open()
    {
        state.settings.ini位置 = folder;
        state.graphDataName = QStringLiteral("Nd");
        state.settings.グラフの色の選定基準 = QStringLiteral("0");
        LoadBearingFactorTable(folder, state.bearingFactorTable);
        workspace.openSurvey(path);
        db::CheckSchemaVersion(workspace);
        db::RefreshMasterLists(*workspace.survey(), lists);
        calculator = std::make_unique<calc::PenetrationCalculator>(workspace, state);
        document = std::make_unique<sheet::SurveyDocument>(
            sheet::SurveyDocument::Services{state, workspace, lists, ui, *calculator});
        store = std::make_unique<db::SurveyStore>(workspace);
        sqlite3_open_v2(path.toUtf8().constData(), &bare, SQLITE_OPEN_READONLY, nullptr);
    }

    ~Site()
    {
        if (bare)
            sqlite3_close(bare);
    }

    bool load()
    {
        document->clear();
        document->setHeader(sheet::HeaderField::調査地区No, QString::number(WorkedOn));
        return document->load() == sheet::Outcome::Done;
    }

    QString folder;
    QString path;
    ProgramState state;
    db::Workspace workspace;
    db::MasterLists lists;
    QuietUserInterface ui;
    std::unique_ptr<calc::PenetrationCalculator> calculator;
    std::unique_ptr<sheet::SurveyDocument> document;
    std::unique_ptr<db::SurveyStore> store;
    sqlite3* bare = nullptr;
};

struct Step {
    Step(const char* name, std::function<void(Site&)> run, int repeat = 1)
        : name(name), run(std::move(run)), repeat(repeat)
    {
    }
    const char* name;
    std::function<void(Site&)> run;
    // A step of a tenth of a millisecond timed once is mostly the processor's
    // caches that the step before it left cold, and that step touched far
    // more of the large database than of the small one: right after saving
    // the survey, a lookup of one survey by its number takes 0.07 ms on the
    // large database against 0.03 ms on the small one. Such a step that
    // changes nothing is timed over `repeat` runs back to back, each run's
    // share reported.
    int repeat;
    std::vector<double> large, small;
};

// The statements a step ran on the large database, by their engine text.
struct SeenStatement {
    QString programText;
    std::set<std::string> steps;
};

bool fullScanOfSurveyTables(const QString& line)
{
    const QString detail = line.trimmed();
    for (const char* table : {"調査地区", "測点", "測点データ"}) {
        const QString scan = QStringLiteral("SCAN ") + QString::fromUtf8(table);
        if (detail == scan || detail.startsWith(scan + u' '))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    RegisterFontSubstitutes();
    const int asked = argc > 1 ? std::max(4, std::atoi(argv[1])) : 10;
    const int rounds = asked + asked % 2;

    const QString large = largeDatabase();
    if (large.isEmpty()) {
        std::fprintf(stderr, "cannot build the large database\n");
        return 1;
    }
    QTemporaryDir dir;
    const QDir root(dir.path());
    root.mkpath(QStringLiteral("large"));
    root.mkpath(QStringLiteral("small"));
    Site big(root.filePath(QStringLiteral("large")));
    Site one(root.filePath(QStringLiteral("small")));
    for (const char* name : {"rqtbl.csv", "qaTbl.tbl"})
        if (!copyShipped(QString::fromLatin1(name), QDir(big.folder)) || !copyShipped(QString::fromLatin1(name), QDir(one.folder)))
            return 1;
    if (!QFile::copy(large, big.path) || !QFile::setPermissions(big.path, QFileDevice::ReadOwner | QFileDevice::WriteOwner)
        || !buildDatabase(one.path, {WorkedOn})) {
        std::fprintf(stderr, "cannot prepare the databases\n");
        return 1;
    }
    big.open();
    one.open();
    const qint64 records = qint64(Surveys) * PointsPerSurvey * RecordsPerPoint;
    std::printf("large database: %d surveys x %d points x %d records = %lld records, %.1f MB, %.1f bytes per record\n",
                Surveys, PointsPerSurvey, RecordsPerPoint, static_cast<long long>(records),
                QFileInfo(big.path).size() / 1e6, double(QFileInfo(big.path).size()) / double(records));

    const QString cardPath = root.filePath(QStringLiteral("card.csv"));
    if (!writeCard(cardPath))
        return 1;
    const intake::CardListing card = intake::ReadAndListCardFile(cardPath);
    sheet::SurveySearchCriteria byName;
    byName.現場名 = siteName(WorkedOn);
    std::vector<double> bareSearch;
    std::size_t listed = 0;

    std::vector<Step> steps{
        {"start-up (open, layout check, master lists)",
         [](Site& s) {
             db::Workspace workspace;
             db::MasterLists lists;
             workspace.openSurvey(s.path);
             db::CheckSchemaVersion(workspace);
             db::RefreshMasterLists(*workspace.survey(), lists);
         }},
        {"load the survey with computation", [](Site& s) { s.load(); }},
        {"save the survey",
         [](Site& s) {
             s.document->markChanged();
             const sheet::SaveResult saved = s.document->save();
             if (saved.outcome != sheet::Outcome::Done)
                 std::fprintf(stderr, "the survey was not saved (field %d, point %d, row %d, column %d)\n",
                              saved.invalid && saved.invalid->field ? int(*saved.invalid->field) : -1,
                              saved.invalid ? saved.invalid->point : -1, saved.invalid ? saved.invalid->row : -1,
                              saved.invalid ? saved.invalid->column : -1);
         }},
        {"search without criteria",
         [&](Site& s) {
             const std::size_t rows = sheet::RunSurveySearch(*s.workspace.survey(), sheet::BuildSurveySearchQuery({})).size();
             if (&s == &big)
                 listed = rows;
         }},
        {"search by 現場名",
         [&](Site& s) { sheet::RunSurveySearch(*s.workspace.survey(), sheet::BuildSurveySearchQuery(byName)); }, 20},
        {"export the survey",
         [](Site& s) {
             intake::WriteExchangeFile(*s.workspace.survey(), s.ui, QDir(s.folder).filePath(QStringLiteral("one.csv")),
                                       intake::exchangeSurveyFilter(WorkedOn), {});
         }},
        {"import it in add mode",
         [](Site& s) {
             intake::ReadExchangeFile(s.workspace, *s.store, s.ui, QDir(s.folder).filePath(QStringLiteral("one.csv")),
                                      intake::ExchangeReadMode::Add);
         }},
        {"delete a survey",
         [](Site& s) { s.store->deleteSurvey(s.store->maxSurveyNo(), false, s.ui); }},
        {"import it in replace mode",
         [](Site& s) {
             intake::ReadExchangeFile(s.workspace, *s.store, s.ui, QDir(s.folder).filePath(QStringLiteral("one.csv")),
                                      intake::ExchangeReadMode::Replace);
         }},
        {"card import of one run",
         [&](Site& s) {
             intake::SaveCardRuns(s.workspace, s.ui, card.file.rows, card.lines,
                                  QString::number(s.store->maxSurveyNo() + 1), QStringLiteral("一般"));
         }},
        {"record sheet PDF (load and draw)",
         [](Site& s) {
             s.load();
             report::FixedPrinter a4;
             report::PrintSession session(s.state, a4);
             session.setReportType(1);
             session.setPageRange(1, 32767);
             report::PdfSurface surface(QDir(s.folder).filePath(QStringLiteral("sheet.pdf")),
                                        session.geometry().paperSize());
             report::ReportInputs inputs{*s.document, s.state, s.ui, s.workspace.survey(), {}};
             inputs.calculator = s.calculator.get();
             session.run(inputs, surface);
         }},
    };

    std::map<QString, SeenStatement> seen;
    std::vector<QString> seenOrder;
    for (int round = 0; round < rounds; ++round) {
        for (Step& step : steps) {
            Site* const first = round % 2 == 0 ? &big : &one;
            for (Site* site : {first, first == &big ? &one : &big}) {
                if (round == 0 && site == &big && std::string(step.name).rfind("start-up", 0) != 0) {
                    site->workspace.survey()->setStatementObserver([&](QStringView program, QStringView engine) {
                        auto [entry, added] = seen.try_emplace(engine.toString());
                        if (added) {
                            entry->second.programText = program.toString();
                            seenOrder.push_back(entry->first);
                        }
                        entry->second.steps.insert(step.name);
                    });
                }
                QElapsedTimer timer;
                timer.start();
                for (int run = 0; run < step.repeat; ++run)
                    step.run(*site);
                (site == &big ? step.large : step.small).push_back(timer.nsecsElapsed() / 1e6 / step.repeat);
                site->workspace.survey()->setStatementObserver({});
            }
            if (std::string(step.name) == "card import of one run") {
                // The card's survey goes again, untimed, so that every round starts alike.
                for (Site* site : {&big, &one})
                    site->store->deleteSurvey(site->store->maxSurveyNo(), false, site->ui);
            }
        }
        QElapsedTimer timer;
        timer.start();
        bareSelect(big.bare);
        bareSearch.push_back(timer.nsecsElapsed() / 1e6);
    }

    std::printf("\nmedians of %d rounds, ms          %10s %10s %7s  target%*s ratio with the large first / second\n",
                rounds, "large", "one", "ratio", 27, "");
    bool allMet = true;
    for (const Step& step : steps) {
        const double l = median(step.large), s = median(step.small);
        const bool unfiltered = std::string(step.name) == "search without criteria";
        const double ratio = l / s;
        const bool met = unfiltered || ratio <= 1.5;
        allMet = allMet && met;
        const QString each = step.repeat > 1 ? QStringLiteral(" (each of %1 runs)").arg(step.repeat) : QString();
        const double largeFirst = median(everyOther(step.large, 0)) / median(everyOther(step.small, 0));
        const double largeSecond = median(everyOther(step.large, 1)) / median(everyOther(step.small, 1));
        std::printf("%-45s %10.3f %10.3f %7.2f  %-33s %5.2f / %.2f%s\n", step.name, l, s, ratio,
                    unfiltered ? "(against the bare SELECT below)" : met ? "<= 1.5 ok" : "> 1.5 MISSED", largeFirst,
                    largeSecond, qPrintable(each));
    }
    const Step& unfiltered = steps[3];
    const double searchRatio = median(unfiltered.large) / median(bareSearch);
    allMet = allMet && searchRatio <= 3;
    std::printf("search without criteria, %zu surveys: %.2f ms against %.2f ms for a bare SELECT of the same rows: "
                "%.2f x (target <= 3) %s\n",
                listed, median(unfiltered.large), median(bareSearch), searchRatio, searchRatio <= 3 ? "ok" : "MISSED");

    std::printf("\nstatements run on the large database and the engine's plan of each:\n");
    int scans = 0;
    for (const QString& engine : seenOrder) {
        const SeenStatement& statement = seen.at(engine);
        QStringList stepNames;
        for (const std::string& name : statement.steps)
            stepNames.append(QString::fromStdString(name));
        std::printf("\n[%s]\n  %s\n", qPrintable(stepNames.join(QStringLiteral("; "))),
                    qPrintable(statement.programText.simplified()));
        if (statement.programText.trimmed().startsWith(QStringLiteral("INSERT"), Qt::CaseInsensitive))
            continue;   // a row insert reads no table
        QStringList plan;
        try {
            plan = big.workspace.survey()->queryPlan(statement.programText);
        } catch (const Failure& failure) {
            plan = {QStringLiteral("(no plan: %1)").arg(failure.description())};
        }
        for (const QString& line : plan) {
            const bool scan = fullScanOfSurveyTables(line);
            scans += scan ? 1 : 0;
            std::printf("    %s%s\n", qPrintable(line), scan ? "   <-- FULL SCAN" : "");
        }
    }
    std::printf("\nfull scans of 調査地区, 測点 or 測点データ: %d\n", scans);
    std::printf("%s\n", allMet ? "every step within its target" : "some steps MISSED their target");
    return 0;
}
