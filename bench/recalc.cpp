// Recalculation of a large survey: 100 points × 300 records over 5 soils,
// computed once for each of 2 customers with recalculateAll. Prints the
// time of each full recalculation, the statements it sent to the database
// (one per soil and formula table, as the one-entry caches allow), and the
// ratio against a bare loop that evaluates the same formulas with the
// coefficients already in local variables and writes the same texts.

#include "calc/penetration_calculator.h"
#include "calc/qa_param_file.h"
#include "core/bearing_factor_table.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "bench/quiet_user_interface.h"
#include "db/database.h"
#include "db/master_lists.h"
#include "db/workspace.h"
#include "sheet/survey_document.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

#include <array>
#include <cmath>
#include <functional>
#include <cstdio>

using namespace vortan;

namespace {

constexpr int Points = 100;
constexpr int RecordsPerPoint = 300;

const QStringList Soils{QStringLiteral("砂質土"), QStringLiteral("粘性土"), QStringLiteral("礫質土"),
                        QStringLiteral("腐植土"), QStringLiteral("ローム")};

void buildSurvey(db::Database& db)
{
    db.beginTransaction();
    // A second customer with its own ⊿Nd and Nd series and the shipped qa series.
    db.execute(QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,Qa値計算式コード,qu値計算式コード) "
                              "VALUES ('得意先B', 2, 1, 2);"));
    for (const QString& soil : Soils) {
        db.execute(QStringLiteral("INSERT INTO mstRNd値計算式 (計算式コード,土質名,A,B,C) VALUES (2, '%1', 0.1, 0.38, 1);")
                       .arg(soil));
        db.execute(QStringLiteral("INSERT INTO mstNd値計算式 (計算式コード,土質名,A,B,C,D,E) VALUES (2, '%1', 0, 1, 1, 1, 1);")
                       .arg(soil));
    }
    db.execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,得意先名) VALUES (1, '性能', '一般');"));
    for (int p = 0; p < Points; ++p) {
        const QString point = QString::number(p + 1).rightJustified(3, u'0');
        db.execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,印刷) VALUES "
                                  "(1, '%1', '240102', '0900', '0930', True);")
                       .arg(point));
        for (int r = 0; r < RecordsPerPoint; ++r) {
            const int soil = 1 + (r / 7 + p) % 5;   // runs of one soil, as the ground is layered
            db.execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,"
                                      "打撃回数,トルク,推定土質,記事) VALUES (1, '%1', '240102', '0900', '0930', "
                                      "%2, %3, %4, %5, '');")
                           .arg(point)
                           .arg(numtext::shortestSingle(0.1f * static_cast<float>(r + 1)))
                           .arg((r * 7 + p) % 40)
                           .arg(numtext::shortestSingle(0.5f * static_cast<float>((r * 3 + p) % 30)))
                           .arg(soil));
        }
    }
    db.commit();
}

// The bare arithmetic of one row: the same formulas and texts, the
// coefficients and parameter records already at hand.
std::array<QString, 3> bareRow(QStringView depthText, QStringView blowText, QStringView torqueText,
                               QStringView soil, const calc::BearingFactorTable& factors,
                               const std::vector<calc::QaParamRecord>& records, float rndB, float rndA)
{
    const double depth = numtext::leadingNumber(depthText);
    const double ndm = numtext::leadingNumber(blowText);
    const double mv = numtext::leadingNumber(torqueText) / 10.0;
    const calc::QaParamRecord& q = records[soil == QStringLiteral("粘性土") ? 1 : 0];
    const double dnd = rndA + rndB * std::pow(mv, 1.0);
    const QString dndText = numtext::formatNumber(dnd, u"0.0");
    const double nd = (0 + 1 * std::pow(ndm, 1.0)) - 1 * std::pow(numtext::leadingNumber(dndText), 1.0);
    const QString ndText = numtext::formatText(numtext::shortestDouble(nd), u"0.0");
    auto P = [&q](int n) { return static_cast<double>(q.P(n)); };
    const double c = nd >= P(37) ? P(38) + P(39) * (P(40) + P(41) * nd / P(42))
                                 : P(43) + P(44) * (P(45) + P(46) * nd / P(47));
    const double phi = P(52) + std::pow(P(53) * nd, P(54));
    const calc::BearingFactors f = factors.lookUpFactors(phi, q.roundingMode);
    const double df = P(50) * depth + P(51);
    const float gamma1 = static_cast<float>(P(33) - P(34));
    const float gamma2 = static_cast<float>(P(35) - P(36));
    const float beta = static_cast<float>(P(26));
    const double qa = (f.nq * (df * gamma2) + (f.ngamma * (1.0f * (gamma1 * beta)) + f.nc * c)) * (1.0 / 3.0);
    return {dndText, ndText,
            nd < 0 ? QStringLiteral("0.0") : numtext::formatText(numtext::shortestDouble(qa), u"0.0")};
}

// The bare loop over the document's rows.
double bareLoop(const sheet::SurveyDocument& doc, const calc::BearingFactorTable& factors,
                const std::vector<calc::QaParamRecord>& records, float rndB, float rndA,
                std::vector<std::array<QString, 3>>& out)
{
    QElapsedTimer timer;
    timer.start();
    std::size_t i = 0;
    for (int p = 0; p < doc.pointCount(); ++p) {
        for (int r = 0; r < doc.recordCount(p); ++r) {
            out[i++] = bareRow(doc.recordCell(p, r, sheet::RecordColumn::貫入長),
                               doc.recordCell(p, r, sheet::RecordColumn::打撃回数),
                               doc.recordCell(p, r, sheet::RecordColumn::トルク),
                               doc.recordCell(p, r, sheet::RecordColumn::推定土質), factors, records, rndB, rndA);
        }
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

QString columnText(sqlite3_stmt* statement, int column)
{
    const auto* text = static_cast<const char16_t*>(sqlite3_column_text16(statement, column));
    return text ? QString::fromUtf16(text, sqlite3_column_bytes16(statement, column) / 2) : QString();
}

// The bare load: the survey's row, its points and their records read as
// texts through SQLite's C API on a connection of its own, the soil codes
// named from the soil list, and the bare arithmetic over every record.
double bareLoad(const QString& path, const calc::BearingFactorTable& factors,
                const std::vector<calc::QaParamRecord>& records, std::vector<std::array<QString, 3>>& out)
{
    QElapsedTimer timer;
    timer.start();
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
    const auto rows = [handle](const char* sql, const std::function<void(sqlite3_stmt*)>& row) {
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(handle, sql, -1, &statement, nullptr);
        while (sqlite3_step(statement) == SQLITE_ROW)
            row(statement);
        sqlite3_finalize(statement);
    };
    QStringList soils;
    rows("SELECT \"土質名\" FROM \"mst土質\" ORDER BY \"xNo\"",
         [&](sqlite3_stmt* s) { soils.append(columnText(s, 0)); });
    std::vector<QString> site;
    rows("SELECT * FROM \"調査地区\" WHERE \"調査地区No\" = 1", [&](sqlite3_stmt* s) {
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            site.push_back(columnText(s, c));
    });
    std::vector<std::vector<QString>> points;
    rows("SELECT * FROM \"測点\" WHERE \"調査地区No\" = 1 ORDER BY \"測点No\"", [&](sqlite3_stmt* s) {
        std::vector<QString>& point = points.emplace_back();
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            point.push_back(columnText(s, c));
    });
    std::size_t i = 0;
    rows("SELECT * FROM \"測点データ\" WHERE \"調査地区No\" = 1 ORDER BY \"測点No\", \"貫入深さ\"",
         [&](sqlite3_stmt* s) {
             std::array<QString, 10> record;
             for (int c = 0; c < 10; ++c)
                 record[std::size_t(c)] = columnText(s, c);
             const QString soil = soils.value(int(numtext::leadingNumber(record[8])) - 1);
             out[i++] = bareRow(record[5], record[6], record[7], soil, factors, records, 0.4f, 0.0f);
         });
    sqlite3_close(handle);
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

bool copy(const QString& name, const QDir& to)
{
    return QFile::copy(QDir(QStringLiteral(VORTAN_PROGRAM_DIR)).filePath(name), to.filePath(name));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QDir folder(dir.path());
    for (const char* name : {"VORTAN.MDB", "rqtbl.csv", "qaTbl.tbl"}) {
        if (!copy(QString::fromLatin1(name), folder)) {
            std::fprintf(stderr, "cannot copy %s from %s\n", name, VORTAN_PROGRAM_DIR);
            return 1;
        }
    }
    QFile::setPermissions(folder.filePath(QStringLiteral("VORTAN.MDB")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    ProgramState state;
    state.settings.ini位置 = folder.path();
    LoadBearingFactorTable(folder.path(), state.bearingFactorTable);
    db::Workspace workspace;
    workspace.openSurvey(folder.filePath(QStringLiteral("VORTAN.MDB")));
    db::Database& db = *workspace.survey();
    buildSurvey(db);

    db::MasterLists lists;
    QuietUserInterface ui;
    calc::PenetrationCalculator calculator(workspace, state);
    sheet::SurveyDocument doc(sheet::SurveyDocument::Services{state, workspace, lists, ui, calculator});

    const calc::BearingFactorTable factors = calculator.bearingFactorTable();
    const QString qaPath = calculator.qaParamFilePath();
    calc::QaSet series;
    series.code = QStringLiteral("1");
    calc::QaParamFile file;
    const std::vector<calc::QaParamRecord> records{file.findQaParams(qaPath, series, QStringLiteral("砂質土")),
                                                   file.findQaParams(qaPath, series, QStringLiteral("粘性土"))};
    std::vector<std::array<QString, 3>> bare(static_cast<std::size_t>(Points * RecordsPerPoint));

    // The load with computation against the bare load, the best of three each.
    QElapsedTimer timer;
    double loadBest = 1e300, bareLoadBest = 1e300;
    quint64 before = 0, loadStatements = 0;
    for (int round = 0; round < 3; ++round) {
        doc.clear();
        doc.setHeader(sheet::HeaderField::調査地区No, QStringLiteral("1"));
        before = db.statementCount();
        timer.restart();
        if (doc.load() != sheet::Outcome::Done)
            return 1;
        loadBest = std::min(loadBest, timer.nsecsElapsed() / 1e6);
        loadStatements = db.statementCount() - before;
        bareLoadBest = std::min(bareLoadBest, bareLoad(db.path(), factors, records, bare));
    }
    std::printf("load %d points x %d records, computed: %.1f ms, %llu statements; bare SELECT with the bare "
                "arithmetic %.1f ms, ratio %.2f\n",
                Points, RecordsPerPoint, loadBest, static_cast<unsigned long long>(loadStatements), bareLoadBest,
                loadBest / bareLoadBest);

    for (const QString& customer : {QStringLiteral("一般"), QStringLiteral("得意先B")}) {
        doc.setHeader(sheet::HeaderField::提出先, customer);
        double best = 1e300;
        quint64 statements = 0;
        for (int round = 0; round < 3; ++round) {
            // Start each round from another soil in the caches, as after a load.
            calculator.formulaSets().lookUpRNd(customer, QString());
            calculator.formulaSets().lookUpNd(customer, QString());
            calculator.formulaSets().lookUpQa(customer, QString());
            before = db.statementCount();
            timer.restart();
            doc.recalculateAll();
            best = std::min(best, timer.nsecsElapsed() / 1e6);
            statements = db.statementCount() - before;
        }
        const bool sameFormulas = customer == QStringLiteral("一般");
        double bareBest = 1e300;
        for (int round = 0; round < 3; ++round)
            bareBest = std::min(bareBest, bareLoop(doc, factors, records, sameFormulas ? 0.4f : 0.38f,
                                                   sameFormulas ? 0.0f : 0.1f, bare));
        std::printf("recalculation for %s: %.1f ms, %llu statements (%d soils x 3 tables), bare loop %.1f ms, "
                    "ratio %.2f\n",
                    customer.toUtf8().constData(), best, static_cast<unsigned long long>(statements),
                    static_cast<int>(Soils.size()), bareBest, best / bareBest);
    }
    std::printf("qaTbl.tbl read %d time(s) by the document's calculator\n", calculator.qaParamFile().readCount());

    timer.restart();
    doc.markChanged();
    const sheet::SaveResult saved = doc.save();
    std::printf("save: %.1f ms (%s)\n", timer.nsecsElapsed() / 1e6,
                saved.outcome == sheet::Outcome::Done ? "done" : "failed");
    return 0;
}
