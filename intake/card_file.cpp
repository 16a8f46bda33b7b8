#include "intake/card_file.h"

#include "core/cp932.h"
#include "core/failure.h"
#include "core/file_devices.h"
#include "core/number_text.h"
#include "core/text_lines.h"
#include "intake/file_failure.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace vortan::intake {

namespace {

constexpr int RecordFieldCount = 12;
constexpr int SiteSlots = 20;
const QString Source = QStringLiteral("CardFile");

std::int16_t wholeNumber(const QString& field)
{
    return numtext::toInt16(numtext::roundHalfEven(numtext::leadingNumber(field)));
}

// The number in decimal with leading zeros up to n digits, padded on the left
// with blanks to n characters, of which the last n remain: 2005 -> "05".
QString digitField(const QString& field, int n)
{
    const QString digits =
        numtext::formatNumber(numtext::leadingNumber(field), n == 2 ? u"00" : u"0000");
    return digits.rightJustified(n, QLatin1Char(' ')).right(n);
}

// Right-aligned in five characters; of a longer text only its last five.
QString fiveWide(const QString& text)
{
    return text.rightJustified(5, QLatin1Char(' ')).right(5);
}

} // namespace

CardRow ParseCardRecord(const QString& line, int lineNumber)
{
    QStringList fields = line.split(QLatin1Char(','));
    if (fields.size() < RecordFieldCount)
        throw Failure(carderr::ShortRecord,
                      QStringLiteral("カードファイルの%1行目の項目が%2個しかありません（12個必要です）。")
                          .arg(lineNumber)
                          .arg(fields.size()),
                      Source);
    for (QString& field : fields)
        field.remove(QLatin1Char('"'));

    CardRow row;
    row.site = wholeNumber(fields[2]);
    row.point = fields[3].trimmed();
    row.depth = static_cast<float>(numtext::leadingNumber(fields[4]));
    row.blows = wholeNumber(fields[5]);
    row.torque = static_cast<float>(numtext::leadingNumber(fields[6]));
    row.soil = wholeNumber(fields[7]);

    const QString year = digitField(fields[8], 2);
    const QString monthDay = digitField(fields[9], 4);
    const QString hour = digitField(fields[10], 2);
    const QString minuteSecond = digitField(fields[11], 4);
    row.date = year + QLatin1Char('/') + monthDay.left(2) + QLatin1Char('/') + monthDay.right(2);
    row.time = hour + QLatin1Char(':') + minuteSecond.left(2) + QLatin1Char(':') + minuteSecond.right(2);
    return row;
}

CardFile ParseCardFile(const QByteArray& bytes, std::atomic<int>* percent)
{
    const QList<QByteArrayView> lines = textlines::splitLines(bytes);
    CardFile file;
    file.lineCount = static_cast<int>(lines.size());
    file.rows.reserve(lines.size() > 0 ? static_cast<std::size_t>(lines.size() - 1) : 0);
    // The first line is the machine's header, whatever it holds.
    for (qsizetype i = 1; i < lines.size(); ++i) {
        file.rows.push_back(ParseCardRecord(cp932::decode(lines[i]), static_cast<int>(i + 1)));
        if (percent && i % 256 == 0)
            percent->store(static_cast<int>(i * 100 / lines.size()));
    }
    if (percent)
        percent->store(100);
    return file;
}

CardFile ReadCardFile(const QString& path, std::atomic<int>* percent)
{
    if (!QFileInfo::exists(path))
        return {};
    const std::unique_ptr<QFile> device = filedevices::readDevice(path);
    if (!device->open(QIODevice::ReadOnly))
        throw fileReadFailure(*device, Source);
    const QByteArray bytes = filedevices::readToEnd(*device);
    if (device->error() != QFileDevice::NoError)
        throw fileReadFailure(*device, Source);
    return ParseCardFile(bytes, percent);
}

std::vector<CardRun> FindRuns(const CardTable& rows)
{
    // Pass 1: site numbers in order of first appearance. The slots start as
    // 0, so a site number 0 counts as seen and its rows are never listed.
    std::vector<std::int16_t> sites;
    for (const CardRow& row : rows) {
        if (row.site == 0 || std::find(sites.begin(), sites.end(), row.site) != sites.end())
            continue;
        if (static_cast<int>(sites.size()) == SiteSlots)
            throw Failure(carderr::TooManySites,
                          QStringLiteral("カードファイルに現場Noが21種類以上あります（20種類まで読み込めます）。"),
                          Source);
        sites.push_back(row.site);
    }

    // Pass 2: (site, point) pairs. A point whose rows are interrupted by
    // another point of the same site gives a second pair.
    struct Pair {
        std::int16_t site;
        QString point;
    };
    std::vector<Pair> pairs;
    for (std::int16_t site : sites) {
        const QString* lastPoint = nullptr;
        for (const CardRow& row : rows) {
            if (row.site != site)
                continue;
            if (!lastPoint || row.point != *lastPoint) {
                pairs.push_back({site, row.point});
                lastPoint = &row.point;
            }
        }
    }

    // Pass 3: runs. Each pair walks every row of its site and point; a depth
    // that falls back starts the test again at the same point.
    std::vector<CardRun> runs;
    for (const Pair& pair : pairs) {
        bool open = false;
        float previousDepth = 0;
        CardRun run;
        for (const CardRow& row : rows) {
            if (row.site != pair.site || row.point != pair.point)
                continue;
            const QString stamp = row.date + QLatin1Char(' ') + row.time;
            if (!open) {
                run = {pair.site, pair.point, stamp, stamp};
                open = true;
            } else if (row.depth >= previousDepth) {
                run.end = stamp;
            } else {
                runs.push_back(run);
                run = {pair.site, pair.point, stamp, stamp};
            }
            previousDepth = row.depth;
        }
        if (open)
            runs.push_back(run);
    }
    return runs;
}

QString ListLine(const CardRun& run, bool marked)
{
    QString line;
    if (marked)
        line += QLatin1Char('*');
    line += fiveWide(QString::number(run.site)) + QLatin1Char(' ') + fiveWide(run.point)
        + QLatin1Char(' ') + run.start + QChar(0xFF5E) + run.end;
    return line;
}

QStringList ListRuns(const CardTable& rows)
{
    const std::vector<CardRun> runs = FindRuns(rows);
    QStringList lines;
    lines.reserve(static_cast<qsizetype>(runs.size()));
    for (std::size_t i = 0; i < runs.size(); ++i) {
        // Pass 4: the second and later runs of a point that follow each other carry "*".
        const bool marked =
            i > 0 && runs[i].site == runs[i - 1].site && runs[i].point == runs[i - 1].point;
        lines.append(ListLine(runs[i], marked));
    }
    return lines;
}

CardListing ReadAndListCardFile(const QString& path, std::atomic<int>* percent)
{
    CardListing listing;
    listing.file = ReadCardFile(path, percent);
    listing.lines = ListRuns(listing.file.rows);
    return listing;
}

} // namespace vortan::intake
