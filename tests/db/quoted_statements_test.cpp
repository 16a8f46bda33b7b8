// Runs every statement form the program issues, listed with its expected
// effect in fixtures/sql/statements.tsv, against copies of the shipped survey
// and postal databases, in the order of the file.

#include "db_test_fixture.h"

#include "support/test_databases.h"

#include <QFile>

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

struct ListedStatement {
    int line = 0;
    QString database;
    QString expect;   // "changed", "rows" or "fails"
    QString amount;   // a number, or "*" for any
    QString sql;
};

std::vector<ListedStatement> readStatements()
{
    QFile file(QStringLiteral(VORTAN_FIXTURES_DIR "/sql/statements.tsv"));
    std::vector<ListedStatement> list;
    if (!file.open(QIODevice::ReadOnly))
        return list;
    int line = 0;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        ++line;
        const QString text = QString::fromUtf8(raw);
        if (text.trimmed().isEmpty() || text.startsWith(u'#'))
            continue;
        const QStringList parts = text.split(u'\t');
        ListedStatement s;
        s.line = line;
        s.database = parts.value(0);
        const QStringList effect = parts.value(1).split(u' ');
        s.expect = effect.value(0);
        s.amount = effect.value(1);
        s.sql = parts.mid(2).join(u'\t');
        list.push_back(s);
    }
    return list;
}

TEST(QuotedStatements, EveryListedStatementHasItsEffectOnTheShippedDatabases)
{
    const auto statements = readStatements();
    ASSERT_GT(statements.size(), 100u);
    vortan::test::ShippedFilesCopy copy;
    ASSERT_TRUE(copy.isValid()) << "the shipped default databases were not built";
    auto survey = Database::open(copy.surveyDatabase());
    auto postal = Database::open(copy.postalDatabase());

    for (const ListedStatement& s : statements) {
        SCOPED_TRACE(QStringLiteral("line %1: %2").arg(s.line).arg(s.sql).toStdString());
        ASSERT_TRUE(s.database == QLatin1String("survey") || s.database == QLatin1String("postal"));
        Database& db = s.database == QLatin1String("survey") ? *survey : *postal;
        int number = 0;
        int amount = -1;
        try {
            if (s.expect == QLatin1String("rows"))
                amount = db.openRecordSet(s.sql).recordCount();
            else
                amount = db.execute(s.sql);
        } catch (const Failure& failure) {
            number = failure.number();
            EXPECT_EQ(s.expect, QStringLiteral("fails")) << failure.what();
        }
        if (s.expect == QLatin1String("fails")) {
            EXPECT_EQ(number, s.amount.toInt());
        } else {
            ASSERT_TRUE(s.expect == QLatin1String("rows") || s.expect == QLatin1String("changed"));
            if (s.amount != QLatin1String("*")) {
                EXPECT_EQ(amount, s.amount.toInt());
            }
        }
    }
}

} // namespace
