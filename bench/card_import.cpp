// Card listing and import: a generated card of about 200 MB (20 sites, runs
// of 200 records at points of up to four digits, every point tested twice)
// is read and listed as the card import screen does, against reading the
// same file and splitting it into lines; then runs of one site are stored as
// a survey, 100, 200, 400 and 800 runs at a time, to show that the time per
// stored record stays the same however many are stored. Prints seconds, the
// peak memory of each step (Linux), their ratios and medians over the runs.
//
//   bench_card_import [runs] [megabytes]   (defaults 3 and 200)

#include "core/text_lines.h"
#include "bench/quiet_user_interface.h"
#include "db/workspace.h"
#include "intake/card_file.h"
#include "intake/card_save.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace vortan;

namespace {

constexpr int Sites = 20;
constexpr int RecordsPerRun = 200;

// Writes the card: per site, points 1, 2, ... each with two runs of
// RecordsPerRun records one second apart, until the file holds `bytes`.
qint64 writeCard(const QString& path, qint64 bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return -1;
    QByteArray block = "\"No\",\"ﾃﾞｰﾀ\",\"現場No\",\"測点No\",\"深さ\",\"打撃\",\"ﾄﾙｸ\",\"土質\",\"年\",\"月日\",\"時\",\"分秒\"\r\n";
    qint64 written = 0;
    qint64 number = 0;
    for (int point = 1; written < bytes; ++point) {
        for (int site = 1; site <= Sites && written < bytes; ++site) {
            for (int run = 0; run < 2; ++run) {
                for (int r = 0; r < RecordsPerRun; ++r) {
                    const int second = (point * 2 + run) * RecordsPerRun + r;
                    block += QByteArray::number(++number) + ",\"A\"," + QByteArray::number(site) + ','
                        + QByteArray::number(point % 10000) + ',' + QByteArray::number((r + 1) * 0.05, 'f', 2)
                        + ',' + QByteArray::number(3 + r % 7) + ",12.5," + QByteArray::number(1 + r % 5)
                        + ",2024," + QByteArray::number(401 + second / 86400 % 28) + ','
                        + QByteArray::number(second / 3600 % 24) + ','
                        + QByteArray::number(second / 60 % 60 * 100 + second % 60) + "\r\n";
                }
            }
            if (block.size() > (1 << 20)) {
                file.write(block);
                written += block.size();
                block.clear();
            }
        }
    }
    file.write(block);
    return written + block.size();
}

// Peak resident memory since the last reset, in MB; -1 where not known.
double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return -1;
}

void resetPeak()
{
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Measure {
    double seconds = 0;
    double megabytes = 0;
};

template <typename Work>
Measure measure(Work work)
{
    resetPeak();
    QElapsedTimer timer;
    timer.start();
    work();
    return {double(timer.nsecsElapsed()) / 1e9, peakMegabytes()};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const qint64 megabytes = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
    QTemporaryDir dir;
    if (!dir.isValid())
        return 1;
    const QString cardPath = dir.filePath("card.csv");
    const qint64 size = writeCard(cardPath, megabytes * 1000 * 1000);
    std::printf("card file: %.1f MB\n", double(size) / 1e6);

    QuietUserInterface ui;
    std::vector<double> bareSeconds, bareMegabytes, listSeconds, listMegabytes;
    const std::vector<int> runCounts{100, 200, 400, 800};
    std::vector<std::vector<double>> perRecord(runCounts.size());
    for (int run = 1; run <= runs; ++run) {
        qsizetype lineCount = 0;
        const Measure bare = measure([&] {
            QFile file(cardPath);
            if (!file.open(QIODevice::ReadOnly))
                return;
            const QByteArray bytes = file.readAll();
            lineCount = textlines::splitLines(bytes).size();
        });
        intake::CardListing listing;
        const Measure list = measure([&] { listing = intake::ReadAndListCardFile(cardPath); });
        std::printf("run %d: bare read and split %lld lines %.2f s, %.0f MB; listing %zu records, %lld runs "
                    "%.2f s, %.0f MB (%.1f x the time)\n",
                    run, static_cast<long long>(lineCount), bare.seconds, bare.megabytes, listing.file.rows.size(),
                    static_cast<long long>(listing.lines.size()), list.seconds, list.megabytes,
                    list.seconds / bare.seconds);
        bareSeconds.push_back(bare.seconds);
        bareMegabytes.push_back(bare.megabytes);
        listSeconds.push_back(list.seconds);
        listMegabytes.push_back(list.megabytes);

        // Runs of site 1, in list order.
        QStringList siteLines;
        for (const QString& line : listing.lines)
            if (line.mid(line.startsWith('*') ? 1 : 0, 5).trimmed() == u"1")
                siteLines.append(line);
        for (std::size_t c = 0; c < runCounts.size(); ++c) {
            const QString dbPath = dir.filePath(QStringLiteral("import%1.mdb").arg(c));
            QFile::remove(dbPath);
            if (!QFile::copy(QStringLiteral(VORTAN_PROGRAM_DIR "/VORTAN.MDB"), dbPath))
                return 1;
            QFile::setPermissions(dbPath, QFile::permissions(dbPath) | QFileDevice::WriteOwner);
            db::Workspace workspace;
            workspace.openSurvey(dbPath);
            const QStringList chosen = siteLines.mid(0, runCounts[c]);
            const Measure save = measure([&] {
                intake::SaveCardRuns(workspace, ui, listing.file.rows, chosen, QStringLiteral("1"),
                                     QStringLiteral("一般"));
            });
            const double records = double(chosen.size()) * RecordsPerRun;
            perRecord[c].push_back(save.seconds / records * 1e6);
            std::printf("  import %lld runs (%.0f records): %.2f s, %.1f us per record\n",
                        static_cast<long long>(chosen.size()), records, save.seconds, perRecord[c].back());
        }
    }
    std::printf("median over %d runs: bare read and split %.2f s, %.0f MB; listing %.2f s, %.0f MB "
                "(%.1f x the time of the bare read)\n",
                runs, median(bareSeconds), median(bareMegabytes), median(listSeconds), median(listMegabytes),
                median(listSeconds) / median(bareSeconds));
    for (std::size_t c = 0; c < runCounts.size(); ++c)
        std::printf("median import of %d runs: %.1f us per record (%.2f x the time per record of %d runs)\n",
                    runCounts[c], median(perRecord[c]), median(perRecord[c]) / median(perRecord[0]), runCounts[0]);
    return 0;
}
