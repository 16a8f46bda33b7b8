#include "intake/card_file.h"

#include "core/cp932.h"
#include "core/failure.h"
#include "core/input_file.h"
#include "core/number_text.h"
#include "core/text_lines.h"
#include "intake/card_index.h"

#include <QFileInfo>

namespace vortan::intake {

namespace {

constexpr int RecordFieldCount = 12;
const QString Source = QStringLiteral("CardFile");

const inputfile::Kind& cardKind()
{
    static const inputfile::Kind kind{QStringLiteral("カードファイル"), Source};
    return kind;
}

std::int16_t wholeNumber(QStringView field)
{
    return numtext::toInt16(numtext::roundHalfEven(numtext::leadingNumber(field)));
}

// The number in decimal with leading zeros up to n digits, padded on the left
// with blanks to n characters, of which the last n remain: 2005 -> "05".
// Written into `out`. A field of plain digits (the machine writes nothing
// else) gives its own last digits without a detour through a double.
void digitField(QStringView field, int n, char* out)
{
    const QStringView digits = field.trimmed();
    const bool plain = !digits.isEmpty() && digits.size() <= 15
        && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    QString text;
    if (plain) {
        text = digits.toString();
        if (text.size() < n)
            text = text.rightJustified(n, QLatin1Char('0'));
    } else {
        text = numtext::formatNumber(numtext::leadingNumber(field), n == 2 ? u"00" : u"0000")
                   .rightJustified(n, QLatin1Char(' '));
    }
    const QStringView last = QStringView(text).right(n);
    for (int i = 0; i < n; ++i)
        out[i] = static_cast<char>(last[i].unicode());
}

// Right-aligned in five characters; of a longer text only its last five.
QString fiveWide(const QString& text)
{
    return text.rightJustified(5, QLatin1Char(' ')).right(5);
}

QString latin(const std::array<char, 8>& chars)
{
    return QString::fromLatin1(chars.data(), 8);
}

// The fields of a record line with their double quotes removed.
struct Fields {
    std::array<QStringView, RecordFieldCount> view;
    std::array<QString, RecordFieldCount> unquoted;   // the fields that held quotes
    int count = 0;
};

void splitFields(QStringView line, Fields& fields)
{
    for (const QStringView piece : line.tokenize(QLatin1Char(','))) {
        if (fields.count < RecordFieldCount) {
            if (piece.contains(QLatin1Char('"'))) {
                QString& copy = fields.unquoted[static_cast<std::size_t>(fields.count)];
                copy = piece.toString();
                copy.remove(QLatin1Char('"'));
                fields.view[static_cast<std::size_t>(fields.count)] = copy;
            } else {
                fields.view[static_cast<std::size_t>(fields.count)] = piece;
            }
        }
        ++fields.count;
    }
}

// Converts one record line; the point comes back through `point`.
CardRow parseRow(QStringView line, int lineNumber, QString& point)
{
    Fields fields;
    splitFields(line, fields);
    if (fields.count < RecordFieldCount)
        throw Failure(carderr::ShortRecord,
                      QStringLiteral("カードファイルの%1行目の項目が%2個しかありません（12個必要です）。")
                          .arg(lineNumber)
                          .arg(fields.count),
                      Source);
    const auto& f = fields.view;
    CardRow row;
    row.site = wholeNumber(f[2]);
    point = f[3].trimmed().toString();
    row.depth = numtext::toSingle(numtext::leadingNumber(f[4]));
    row.blows = wholeNumber(f[5]);
    row.torque = numtext::toSingle(numtext::leadingNumber(f[6]));
    row.soil = wholeNumber(f[7]);

    char year[2];
    char monthDay[4];
    char hour[2];
    char minuteSecond[4];
    digitField(f[8], 2, year);
    digitField(f[9], 4, monthDay);
    digitField(f[10], 2, hour);
    digitField(f[11], 4, minuteSecond);
    row.date = {year[0], year[1], '/', monthDay[0], monthDay[1], '/', monthDay[2], monthDay[3]};
    row.time = {hour[0], hour[1], ':', minuteSecond[0], minuteSecond[1], ':', minuteSecond[2], minuteSecond[3]};
    return row;
}

// A line of the file as text: ASCII lines (nearly all of a card) are taken
// as they are, others decoded from code page 932.
QString lineText(QByteArrayView bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80)
            return cp932::decode(bytes);
    return QString::fromLatin1(bytes);
}

// Builds the card table line by line, from a whole buffer or from a file.
class TableBuilder {
public:
    explicit TableBuilder(CardFile& file) : file_(file) {}

    void add(QByteArrayView bytes)
    {
        ++file_.lineCount;
        // The first line is the machine's header, whatever it holds.
        if (file_.lineCount == 1)
            return;
        QString point;
        const CardRow row = parseRow(lineText(bytes), file_.lineCount, point);
        file_.rows.append(row, point);
    }

private:
    CardFile& file_;
};

} // namespace

QString CardRow::dateText() const
{
    return latin(date);
}

QString CardRow::timeText() const
{
    return latin(time);
}

QString CardRow::stamp() const
{
    return latin(date) + QLatin1Char(' ') + latin(time);
}

CardRecord CardTable::record(std::size_t i) const
{
    const CardRow& row = rows_[i];
    return CardRecord{row.dateText(), row.timeText(), row.site, point(row), row.depth,
                      row.blows,      row.torque,     row.soil};
}

void CardTable::append(const CardRecord& record)
{
    CardRow row;
    const QByteArray date = record.date.toLatin1().leftJustified(8, ' ', true);
    const QByteArray time = record.time.toLatin1().leftJustified(8, ' ', true);
    std::copy_n(date.constData(), 8, row.date.begin());
    std::copy_n(time.constData(), 8, row.time.begin());
    row.site = record.site;
    row.depth = record.depth;
    row.blows = record.blows;
    row.torque = record.torque;
    row.soil = record.soil;
    append(row, record.point);
}

void CardTable::append(CardRow row, const QString& point)
{
    // Rows of one point follow each other: the last point needs no lookup.
    if (!points_.empty() && points_[static_cast<std::size_t>(lastPoint_)] == point) {
        row.point = lastPoint_;
        rows_.push_back(row);
        return;
    }
    const auto known = pointIds_.constFind(point);
    if (known != pointIds_.constEnd()) {
        row.point = known.value();
    } else {
        row.point = static_cast<std::int32_t>(points_.size());
        pointIds_.insert(point, row.point);
        points_.push_back(point);
    }
    lastPoint_ = row.point;
    rows_.push_back(row);
}

CardRecord ParseCardRecord(const QString& line, int lineNumber)
{
    QString point;
    const CardRow row = parseRow(line, lineNumber, point);
    return CardRecord{row.dateText(), row.timeText(), row.site, point, row.depth,
                      row.blows,      row.torque,     row.soil};
}

CardFile ParseCardFile(const QByteArray& bytes, std::atomic<int>* percent)
{
    const QList<QByteArrayView> lines = textlines::splitLines(bytes);
    CardFile file;
    file.rows.reserve(lines.size() > 0 ? static_cast<std::size_t>(lines.size() - 1) : 0);
    TableBuilder builder(file);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        inputfile::checkLineLength(lines[i].size(), i + 1, cardKind());
        builder.add(lines[i]);
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
    const std::unique_ptr<QFile> device = inputfile::open(path, cardKind());
    const qint64 size = device->size();
    CardFile file;
    TableBuilder builder(file);
    inputfile::LineReader reader(*device, cardKind());
    QByteArrayView line;
    qint64 headerBytes = 0;
    while (reader.next(line)) {
        builder.add(line);
        if (file.lineCount == 1)
            headerBytes = reader.bytesRead();
        if (file.lineCount == 1025) {
            // Room for all rows is made once, from the length of the first
            // records, so that a large table does not grow by copying itself.
            const qint64 recordBytes = std::max<qint64>((reader.bytesRead() - headerBytes) / 1024, 1);
            file.rows.reserve(static_cast<std::size_t>((size - headerBytes) / recordBytes * 23 / 20 + 64));
        }
        if (percent && (file.lineCount & 1023) == 0 && size > 0)
            percent->store(static_cast<int>(reader.bytesRead() * 100 / size));
    }
    if (percent)
        percent->store(100);
    return file;
}

std::vector<CardRun> FindRuns(const CardTable& rows)
{
    // Passes 1 and 2: sites in order of first appearance and their point
    // pairs, from one walk over the table.
    const CardIndex index(rows);

    // Pass 3: runs. Each pair walks the rows of its site and point; a depth
    // that falls back starts the test again at the same point.
    std::vector<CardRun> runs;
    for (std::int16_t site : index.sites()) {
        for (std::int32_t point : index.pairsOfSite(site)) {
            const std::vector<std::uint32_t>& rowsOfPair = index.rowsOf(site, point);
            const QString& name = rows.pointNumber(point);
            // A run from its first to its last row; the stamps are made once per run.
            auto addRun = [&](std::uint32_t first, std::uint32_t last) {
                runs.push_back({site, name, rows[first].stamp(), rows[last].stamp()});
            };
            std::uint32_t first = rowsOfPair.front();
            std::uint32_t last = first;
            float previousDepth = rows[first].depth;
            for (std::size_t k = 1; k < rowsOfPair.size(); ++k) {
                const std::uint32_t i = rowsOfPair[k];
                const CardRow& row = rows[i];
                if (row.depth < previousDepth) {
                    addRun(first, last);
                    first = i;
                }
                last = i;
                previousDepth = row.depth;
            }
            addRun(first, last);
        }
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
