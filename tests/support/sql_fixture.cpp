#include "support/sql_fixture.h"

#include "db/database.h"

#include <QFile>
#include <gtest/gtest.h>

namespace vortan::test {

QStringList sqlFixture(const QString& name)
{
    QFile file(QStringLiteral(VORTAN_FIXTURES_DIR "/sql/") + name);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "no fixture " << file.fileName().toStdString();
        return {};
    }
    QStringList statements;
    QString pending;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        const QString text = line.trimmed();
        if (text.isEmpty() || text.startsWith(QLatin1String("--")))
            continue;
        pending += pending.isEmpty() ? text : u' ' + text;
        if (pending.endsWith(u';')) {
            statements << pending;
            pending.clear();
        }
    }
    if (!pending.isEmpty())
        statements << pending;
    return statements;
}

void runSqlFixture(db::Database& database, const QString& name)
{
    for (const QString& statement : sqlFixture(name))
        database.execute(statement);
}

} // namespace vortan::test
