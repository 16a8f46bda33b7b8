#include "db/sqlite_trigram_index.h"

#include "core/failure.h"
#include "db/jet_column_type.h"
#include "db/sqlite_calls.h"

#include <QRegularExpression>

namespace vortan::db {

namespace {

QString quotedText(const QString& text)
{
    QString out = text;
    out.replace(QStringLiteral("'"), QStringLiteral("''"));
    return u'\'' + out + u'\'';
}

// The arguments between the parentheses of "fts5(...)", split at the commas
// outside quotes, each with its quotes undone: a quoted name gives the name,
// key='value' gives "key=value".
QStringList moduleArguments(QStringView text)
{
    QStringList arguments;
    QString current;
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c != quote)
                current += c;
            else if (i + 1 < text.size() && text[i + 1] == quote)
                current += text[++i];
            else
                quote = QChar();
        } else if (c == u'"' || c == u'\'') {
            quote = c;
        } else if (c == u',') {
            arguments.append(current.trimmed());
            current.clear();
        } else if (!c.isSpace() || !current.isEmpty()) {
            current += c;
        }
    }
    arguments.append(current.trimmed());
    return arguments;
}

QString triggerName(const TrigramIndex& index, const char* what)
{
    return quotedName(index.name + u'_' + QLatin1String(what));
}

// "prefix."c1", prefix."c2"" over the key and the columns.
QString values(const TrigramIndex& index, const char* prefix)
{
    QStringList parts{QLatin1String(prefix) + quotedName(index.key)};
    for (const QString& column : index.columns)
        parts.append(QLatin1String(prefix) + quotedName(column));
    return parts.join(QStringLiteral(", "));
}

// Every transaction that changes indexed rows adds a segment to the index,
// and a lookup reads each of its trigrams in every segment. By default the
// engine merges segments a little at a time and forces a merge only once 16
// lie on one level, so after a day of saves each lookup reads the index in a
// dozen or more places and one save in sixteen rewrites a large part of it.
// Merged as soon as two lie on a level, the segments stay a few: on 10,000
// surveys, after 60 saves of one survey each, a lookup took 66 µs instead of
// 205 µs, the saves took no longer (median 0.62 ms against 0.72 ms) and the
// slowest 1.2 ms instead of 14 ms.
constexpr int MergeAtSegments = 2;

// Merged early, the segments still grow by one now and then (there were 2
// to 6 over those 60 saves), and a bulk write leaves several. A file whose
// index holds more than this many is merged into one segment when it is
// opened: on 10,000 surveys that takes about 80 ms, and a lookup then takes
// a third of the time it took on 7 segments.
constexpr int MostSegmentsAtOpen = 4;

QString mergeEarlyStatement(const QString& index)
{
    return QStringLiteral("INSERT INTO %1 (%1, rank) VALUES ('crisismerge', %2)")
        .arg(quotedName(index))
        .arg(MergeAtSegments);
}

QStringList creatingStatements(const TrigramIndex& index)
{
    const QString name = quotedName(index.name);
    const QString table = quotedName(index.table);
    QStringList columns;
    for (const QString& column : index.columns)
        columns.append(quotedName(column));
    const QString list = columns.join(QStringLiteral(", "));
    const QString insert = QStringLiteral("INSERT INTO %1 (rowid, %2) VALUES (%3);").arg(name, list, values(index, "NEW."));
    const QString remove = QStringLiteral("INSERT INTO %1 (%1, rowid, %2) VALUES ('delete', %3);")
                               .arg(name, list, values(index, "OLD."));
    // No texts of its own (content), no sizes for ranking (columnsize).
    return {
        QStringLiteral("CREATE VIRTUAL TABLE %1 USING fts5(%2, content=%3, content_rowid=%4, tokenize='trigram', "
                       "columnsize=0)")
            .arg(name, list, quotedText(index.table), quotedText(index.key)),
        // Leaf pages of 500 bytes instead of 4,000: a phrase holding a
        // trigram of nearly every row (the shared start of site names) skips
        // through that trigram's rows in steps of a small page; on 10,000
        // surveys such a lookup takes a third of the work.
        QStringLiteral("INSERT INTO %1 (%1, rank) VALUES ('pgsz', 500)").arg(name),
        mergeEarlyStatement(index.name),
        QStringLiteral("INSERT INTO %1 (%1) VALUES ('rebuild')").arg(name),
        // One segment: a lookup then reads each of its terms in one place.
        QStringLiteral("INSERT INTO %1 (%1) VALUES ('optimize')").arg(name),
        QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON %2 BEGIN %3 END").arg(triggerName(index, "ins"), table, insert),
        QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON %2 BEGIN %3 END").arg(triggerName(index, "del"), table, remove),
        QStringLiteral("CREATE TRIGGER %1 AFTER UPDATE OF %2, %3 ON %4 BEGIN %5 %6 END")
            .arg(triggerName(index, "upd"), quotedName(index.key), list, table, remove, insert),
    };
}

} // namespace

std::optional<TrigramIndex> trigramIndexOf(const QString& sql)
{
    static const QRegularExpression form(QStringLiteral("^CREATE VIRTUAL TABLE \"((?:[^\"]|\"\")+)\" USING fts5\\((.*)\\)$"),
                                         QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = form.match(sql.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    TrigramIndex index;
    index.name = match.captured(1).replace(QStringLiteral("\"\""), QStringLiteral("\""));
    bool trigram = false;
    for (const QString& argument : moduleArguments(match.capturedView(2))) {
        const qsizetype equals = argument.indexOf(u'=');
        const QString key = argument.left(equals).trimmed();
        const QString value = argument.mid(equals + 1).trimmed();
        if (equals < 0)
            index.columns.append(argument);
        else if (key == u"content")
            index.table = value;
        else if (key == u"content_rowid")
            index.key = value;
        else if (key == u"tokenize")
            trigram = value == u"trigram";
    }
    if (!trigram || index.table.isEmpty() || index.key.isEmpty() || index.columns.isEmpty())
        return std::nullopt;
    return index;
}

std::vector<TrigramIndex> readTrigramIndexes(sqlite3* db)
{
    std::vector<TrigramIndex> indexes;
    for (const QStringList& row :
         queryRows(db, "SELECT sql FROM sqlite_master WHERE type = 'table' AND rootpage = 0 AND sql IS NOT NULL"))
        if (auto index = trigramIndexOf(row.value(0)))
            indexes.push_back(std::move(*index));
    return indexes;
}

std::vector<TrigramIndexedColumn> indexedColumns(const std::vector<TrigramIndex>& indexes)
{
    std::vector<TrigramIndexedColumn> columns;
    for (const TrigramIndex& index : indexes)
        for (const QString& column : index.columns)
            columns.push_back({index.table, column, index.key, index.name});
    return columns;
}

bool belongsToTrigramIndex(const QString& name, const std::vector<TrigramIndex>& indexes)
{
    for (const TrigramIndex& index : indexes)
        if (name.compare(index.name, Qt::CaseInsensitive) == 0
            || name.startsWith(index.name + u'_', Qt::CaseInsensitive))
            return true;
    return false;
}

bool createTrigramIndex(sqlite3* db, TrigramIndex index)
{
    if (!queryText(db, "SELECT name FROM sqlite_master WHERE name = ?1 COLLATE NOCASE", index.name).isEmpty())
        return false;
    const QString table = queryText(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name = ?1 "
                                        "COLLATE NOCASE", index.table);
    if (table.isEmpty())
        return false;
    index.table = table;
    // cid, name, type, notnull, dflt_value, pk
    const auto info = queryRows(db, "SELECT * FROM pragma_table_info(?1)", table);
    const auto spelled = [&info](QString& column) {
        for (const QStringList& row : info)
            if (row.value(1).compare(column, Qt::CaseInsensitive) == 0) {
                column = row.value(1);
                return true;
            }
        return false;
    };
    int keys = 0;
    for (const QStringList& row : info)
        keys += row.value(5) != u"0" ? 1 : 0;
    if (!spelled(index.key) || keys != 1)
        return false;
    for (const QStringList& row : info)
        if (row.value(1) == index.key && (row.value(5) == u"0" || row.value(2).compare(u"INTEGER", Qt::CaseInsensitive) != 0))
            return false;
    for (QString& column : index.columns)
        if (!spelled(column))
            return false;
    runInSavepoint(db, creatingStatements(index));
    return true;
}

bool trigramIndexNeedsUpkeep(sqlite3* db, const QString& name)
{
    // The engine keeps the index's settings in its table name_config and
    // one row per leaf page and segment in name_idx, keyed by segment first;
    // the segments are counted by stepping from one segment number to the
    // next rather than reading every row.
    const QByteArray idx = quotedName(name + QStringLiteral("_idx")).toUtf8();
    try {
        if (queryText(db, "SELECT v FROM " + quotedName(name + QStringLiteral("_config")).toUtf8()
                              + " WHERE k = 'crisismerge'", QString())
            != QString::number(MergeAtSegments))
            return true;
        const QString segments = queryText(
            db,
            "WITH RECURSIVE s(id) AS (SELECT min(segid) FROM " + idx + " UNION ALL SELECT (SELECT min(segid) FROM "
                + idx + " WHERE segid > s.id) FROM s WHERE s.id IS NOT NULL) SELECT count(id) FROM s",
            QString());
        return segments.toInt() > MostSegmentsAtOpen;
    } catch (const Failure&) {
        return false;   // not laid out as this program knows it: left alone
    }
}

void keepTrigramIndexUp(sqlite3* db, const QString& name)
{
    runInSavepoint(db, {mergeEarlyStatement(name),
                        QStringLiteral("INSERT INTO %1 (%1) VALUES ('optimize')").arg(quotedName(name))});
}

} // namespace vortan::db
