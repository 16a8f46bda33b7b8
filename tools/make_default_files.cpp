// Builds the default files shipped in the program folder from the readable
// sources under data/:
//
//   VORTAN.MDB  survey_schema.sql, default_masters.sql, default_formulas.sql
//   Yuubin.MDB  postal_schema.sql, then the rows of postal_addresses.tsv
//   rqtbl.csv   bearing_factors_notice.tsv, interpolated in 0.1° steps
//   qaTbl.tbl   qa_parameters.tsv as 240-byte records
//
// Usage: make_default_files DATA_FOLDER OUTPUT_FOLDER
// The databases are built through the program's own database layer, so every
// statement of the sources passes the same translation as the program's own.

#include "core/atomic_file.h"
#include "core/cp932.h"
#include "core/failure.h"
#include "db/database.h"
#include "db/schema_version.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QtEndian>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {

[[noreturn]] void fail(const QString& message)
{
    throw std::runtime_error(message.toStdString());
}

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(QStringLiteral("cannot read %1").arg(path));
    return QString::fromUtf8(file.readAll());
}

// Splits a script into statements at ";" outside quotes and brackets, and
// drops "--" comments that stand outside quotes.
QStringList splitStatements(const QString& script)
{
    QStringList statements;
    QString current;
    QChar quote;
    bool inBracket = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script[i];
        if (!quote.isNull()) {
            current += c;
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (inBracket) {
            current += c;
            if (c == u']')
                inBracket = false;
            continue;
        }
        if (c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
            while (i < script.size() && script[i] != u'\n')
                ++i;
            current += u'\n';
            continue;
        }
        if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'[')
            inBracket = true;
        if (c == u';') {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed() + u';';
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void runScript(vortan::db::Database& db, const QString& path)
{
    for (const QString& statement : splitStatements(readText(path))) {
        try {
            db.execute(statement);
        } catch (const vortan::Failure& failure) {
            fail(QStringLiteral("%1: %2 (%3) in: %4")
                     .arg(path)
                     .arg(failure.number())
                     .arg(failure.description(), statement));
        }
    }
}

// Builds a database from scripts into `target`, through a scratch file so
// that a failed build leaves no half-made file behind.
// `fill`, when given, runs after the scripts.
void buildDatabase(const QString& target, const QStringList& scripts,
                   const std::function<void(vortan::db::Database&)>& fill = {})
{
    const QString scratch = target + QStringLiteral(".new");
    QFile::remove(scratch);
    {
        auto db = vortan::db::Database::create(scratch);
        for (const QString& script : scripts)
            runScript(*db, script);
        if (fill)
            fill(*db);
        db->close();
    }
    if (QFile::exists(target) && !QFile::remove(target))
        fail(QStringLiteral("cannot replace %1").arg(target));
    if (!QFile::rename(scratch, target))
        fail(QStringLiteral("cannot write %1").arg(target));
}

// Fills the postal table 〒 from postal_addresses.tsv: UTF-8, one address a
// line, prefecture, city, town and sub-area separated by tabs (the sub-area
// mostly empty), each row numbered in 表示順 in the order of the file. About
// 120,000 rows, inserted in one transaction.
void fillPostalTable(vortan::db::Database& db, const QString& path)
{
    using vortan::db::quoted;
    const QStringList lines = readText(path).split(u'\n');
    db.beginTransaction();
    int lineNumber = 0;
    int rowNumber = 0;
    for (const QString& raw : lines) {
        ++lineNumber;
        const QString line = raw.endsWith(u'\r') ? raw.chopped(1) : raw;
        if (line.isEmpty())
            continue;
        const QStringList f = line.split(u'\t');
        if (f.size() != 4)
            fail(QStringLiteral("%1:%2: expected 4 fields, found %3").arg(path).arg(lineNumber).arg(f.size()));
        ++rowNumber;
        const QString statement =
            QStringLiteral("INSERT INTO 〒 (都道府県名, 市区町村名, 町域名, 域名, 表示順) VALUES ('") + quoted(f[0])
            + QStringLiteral("', '") + quoted(f[1]) + QStringLiteral("', '") + quoted(f[2]) + QStringLiteral("', '")
            + quoted(f[3]) + QStringLiteral("', ") + QString::number(rowNumber) + QStringLiteral(");");
        try {
            db.execute(statement);
        } catch (const vortan::Failure& failure) {
            fail(QStringLiteral("%1:%2: %3 (%4)").arg(path).arg(lineNumber).arg(failure.number()).arg(failure.description()));
        }
    }
    db.commit();
}

// Lines of a tab-separated source without comments (#) and blank lines; the
// first remaining line is the heading and is dropped.
std::vector<QStringList> readTable(const QString& path)
{
    std::vector<QStringList> rows;
    bool heading = true;
    for (const QString& line : readText(path).split(u'\n')) {
        const QString trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(u'#'))
            continue;
        if (heading) {
            heading = false;
            continue;
        }
        rows.push_back(trimmed.split(u'\t'));
    }
    return rows;
}

double number(const QString& text, const QString& where)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        fail(QStringLiteral("%1: not a number: \"%2\"").arg(where, text));
    return value;
}

// A value given with one decimal, as a whole number of tenths.
long long tenths(const QString& text, const QString& where)
{
    return std::llround(number(text, where) * 10.0);
}

// Hundredths as a decimal text with two decimals, the second dropped when it
// is 0 ("20.70" -> "20.7", "5.13").
QString hundredthsText(long long hundredths)
{
    QString text = QStringLiteral("%1.%2")
                       .arg(hundredths / 100)
                       .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    if (text.endsWith(u'0'))
        text.chop(1);
    return text;
}

// rqtbl.csv: one line "φ,Nc,Nγ,Nq" per 0.1° from the first to the last angle
// of the table, the factors interpolated linearly between its rows and
// rounded to hundredths (halves away from zero). The last line is written
// twice: the lookup serves an angle beyond the table with the row before the
// last line, which must then be the last angle's row.
QByteArray bearingFactorFile(const QString& sourcePath)
{
    struct Anchor {
        long long phiTenths;
        long long factors[3];  // tenths
    };
    std::vector<Anchor> anchors;
    for (const QStringList& row : readTable(sourcePath)) {
        if (row.size() != 4)
            fail(QStringLiteral("%1: expected φ, Nc, Nγ, Nq in: %2").arg(sourcePath, row.join(u' ')));
        Anchor anchor{tenths(row[0], sourcePath),
                      {tenths(row[1], sourcePath), tenths(row[2], sourcePath), tenths(row[3], sourcePath)}};
        if (!anchors.empty() && anchor.phiTenths <= anchors.back().phiTenths)
            fail(QStringLiteral("%1: angles must rise").arg(sourcePath));
        anchors.push_back(anchor);
    }
    if (anchors.size() < 2)
        fail(QStringLiteral("%1: needs at least two rows").arg(sourcePath));

    QByteArray out;
    QByteArray lastLine;
    std::size_t segment = 0;
    for (long long phi = anchors.front().phiTenths; phi <= anchors.back().phiTenths; ++phi) {
        while (segment + 2 < anchors.size() && phi > anchors[segment + 1].phiTenths)
            ++segment;
        const Anchor& a = anchors[segment];
        const Anchor& b = anchors[segment + 1];
        QString line = hundredthsText(phi * 10);
        for (int i = 0; i < 3; ++i) {
            // value in hundredths = 10·a + (b − a)·(φ − φa)/(φb − φa), all in tenths
            const long long numerator = (b.factors[i] - a.factors[i]) * (phi - a.phiTenths) * 10;
            const long long denominator = b.phiTenths - a.phiTenths;
            long long step = (2 * std::llabs(numerator) + denominator) / (2 * denominator);
            if (numerator < 0)
                step = -step;
            line += u',' + hundredthsText(a.factors[i] * 10 + step);
        }
        lastLine = line.toUtf8() + '\n';
        out += lastLine;
    }
    out += lastLine;
    return out;
}

// qaTbl.tbl: per line of the source one 240-byte record, little-endian:
// series code (int16), soil name (20 bytes, code page 932, blank-padded),
// P1..P54 (float32), rounding mode (int16).
QByteArray qaParameterFile(const QString& sourcePath)
{
    constexpr int RecordSize = 240;
    constexpr int NameSize = 20;
    constexpr int ParameterCount = 54;
    QByteArray out;
    for (const QStringList& row : readTable(sourcePath)) {
        if (row.size() != 2 + ParameterCount + 1)
            fail(QStringLiteral("%1: expected %2 fields, found %3 in the line of %4")
                     .arg(sourcePath)
                     .arg(2 + ParameterCount + 1)
                     .arg(row.size())
                     .arg(row.value(1)));
        QByteArray record(RecordSize, '\0');
        char* p = record.data();
        qToLittleEndian<qint16>(static_cast<qint16>(number(row[0], sourcePath)), p);
        QByteArray name = vortan::cp932::encode(row[1].trimmed());
        if (name.size() > NameSize)
            fail(QStringLiteral("%1: soil name longer than %2 bytes: %3").arg(sourcePath).arg(NameSize).arg(row[1]));
        name.append(QByteArray(NameSize - name.size(), ' '));
        std::memcpy(p + 2, name.constData(), NameSize);
        for (int i = 0; i < ParameterCount; ++i) {
            const float value = static_cast<float>(number(row[2 + i], sourcePath));
            qToLittleEndian<float>(value, p + 22 + 4 * i);
        }
        qToLittleEndian<qint16>(static_cast<qint16>(number(row[2 + ParameterCount], sourcePath)),
                                p + 22 + 4 * ParameterCount);
        out += record;
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: make_default_files DATA_FOLDER OUTPUT_FOLDER\n");
        return 2;
    }
    const QDir data(args[1]);
    const QDir out(args[2]);
    try {
        if (!QDir().mkpath(out.path()))
            fail(QStringLiteral("cannot create %1").arg(out.path()));

        buildDatabase(out.filePath(QStringLiteral("VORTAN.MDB")),
                      {data.filePath(QStringLiteral("survey_schema.sql")),
                       data.filePath(QStringLiteral("default_masters.sql")),
                       data.filePath(QStringLiteral("default_formulas.sql"))},
                      [](vortan::db::Database& db) {
                          const auto& index = vortan::db::SiteTextIndex();
                          if (!db.createSubstringIndex(index.name, index.table, index.key, index.columns))
                              fail(QStringLiteral("cannot create the substring index %1").arg(index.name));
                      });

        const QString addresses = data.filePath(QStringLiteral("postal_addresses.tsv"));
        buildDatabase(out.filePath(QStringLiteral("Yuubin.MDB")), {data.filePath(QStringLiteral("postal_schema.sql"))},
                      [&addresses](vortan::db::Database& db) {
                          if (QFile::exists(addresses))
                              fillPostalTable(db, addresses);
                      });

        vortan::writeFileAtomically(out.filePath(QStringLiteral("rqtbl.csv")),
                                    bearingFactorFile(data.filePath(QStringLiteral("bearing_factors_notice.tsv"))));
        vortan::writeFileAtomically(out.filePath(QStringLiteral("qaTbl.tbl")),
                                    qaParameterFile(data.filePath(QStringLiteral("qa_parameters.tsv"))));
    } catch (const vortan::Failure& failure) {
        std::fprintf(stderr, "make_default_files: %d %s\n", failure.number(),
                     failure.description().toLocal8Bit().constData());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_default_files: %s\n", e.what());
        return 1;
    }
    return 0;
}
