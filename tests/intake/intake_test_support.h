#pragma once
// Helpers of the intake and survey store tests: files written in code page
// 932, a workspace over a copy of the shipped survey database, and snapshots
// of the survey tables for "exactly as before" comparisons.

#include "core/cp932.h"
#include "db/database.h"
#include "db/record_set.h"
#include "db/workspace.h"
#include "support/test_databases.h"

#include <QFile>
#include <QString>
#include <QStringList>
#include <algorithm>

namespace vortan::test {

inline bool writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    return file.write(bytes) == bytes.size();
}

// Writes the text in code page 932, as the card reader and the other
// installation write their files.
inline bool writeCp932(const QString& path, const QString& text)
{
    return writeBytes(path, cp932::encode(text));
}

inline QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A workspace with a writable copy of the shipped survey database.
class SurveyDatabaseCopy {
public:
    SurveyDatabaseCopy()
    {
        if (files.isValid())
            workspace.openSurvey(files.surveyDatabase());
    }
    bool isValid() const { return files.isValid() && workspace.surveyOpen(); }
    db::Database& db() { return *workspace.survey(); }
    QString path(const QString& name) const { return files.path(name); }

    ShippedFilesCopy files;
    db::Workspace workspace;
};

// Every row of a table as "value|value|...", Null shown as "∅", sorted so
// that two tables holding the same rows compare equal.
inline QStringList tableRows(db::Database& db, const QString& table)
{
    db::RecordSet rows = db.openRecordSet(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(";"));
    QStringList result;
    while (!rows.eof()) {
        QStringList values;
        for (int i = 0; i < rows.fieldCount(); ++i)
            values.append(rows.field(i).isNull() ? QStringLiteral("∅") : rows.field(i).toText());
        result.append(values.join(QLatin1Char('|')));
        rows.moveNext();
    }
    std::sort(result.begin(), result.end());
    return result;
}

// The three survey tables, each row prefixed by its table's name.
inline QStringList surveyTables(db::Database& db)
{
    QStringList all;
    for (const char* table : {"調査地区", "測点", "測点データ"}) {
        const QString name = QString::fromUtf8(table);
        for (const QString& row : tableRows(db, name))
            all.append(name + QLatin1Char(':') + row);
    }
    return all;
}

inline int countRows(db::Database& db, const QString& sqlFromWhere)
{
    db::RecordSet rows = db.openRecordSet(QStringLiteral("SELECT * FROM ") + sqlFromWhere);
    return rows.recordCount();
}

} // namespace vortan::test
