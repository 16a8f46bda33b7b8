// Transactions on one database and on the workspace, the statement cache,
// and compacting and repairing files.

#include "db_test_fixture.h"

#include "db/database_repair.h"

#include "db/engine_error_map.h"
#include "db/transaction.h"
#include "db/workspace.h"

#include <QFile>
#include <QFileInfo>

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

class Transactions : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE 測点データ (調査地区No Long, 測点No String(4), 日付 String(8), "
                                   "開始時刻 String(8), 終了時刻 String(8), 貫入深さ Single, 打撃回数 Integer, "
                                   "トルク Single, 推定土質 Long)"));
    }

    int rows() { return count(QStringLiteral("select 測点データ.* from 測点データ")); }
};

TEST_F(Transactions, RollbackLeavesNothingWritten)
{
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (1)"));
    db->beginTransaction();
    EXPECT_TRUE(db->inTransaction());
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (2)"));
    db->execute(QStringLiteral("alter table 測点データ alter column 測点No char(2)"));
    EXPECT_EQ(rows(), 2);
    db->rollback();
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No) VALUES (3, 'ABCD')")), 0);
}

TEST_F(Transactions, NestedTransactionsCommitOnlyWithTheOutermost)
{
    db->beginTransaction();
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (1)"));
    db->beginTransaction();
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (2)"));
    db->rollback();
    db->beginTransaction();
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (3)"));
    db->commit();
    EXPECT_TRUE(db->inTransaction());
    db->commit();
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(column(QStringLiteral("select 測点データ.* from 測点データ order by 調査地区No"), QStringLiteral("調査地区No")),
              QStringLiteral("1|3"));
}

// A statement failing inside a transaction changes nothing and leaves the
// transaction going on: the rows before it and after it are committed. Steps:
// '+' stores the next number with bound values, '!' a bound row too long for
// its column, 'e' and 'x' the same as statement texts, 'r' counts the rows,
// '(' ')' '<' begin, commit and roll back an inner transaction.
TEST_F(Transactions, AFailingStatementLeavesTheRestOfTheTransaction)
{
    std::string long_(2500, '+');
    for (size_t i = 40; i < long_.size(); i += 333)
        long_[i] = i % 2 ? '!' : 'x';
    long_[1700] = 'r';
    for (const std::string& steps :
         {std::string("++!++"), std::string("!+!!+!"), std::string("e+x+!e"), std::string("++r!+r"),
          std::string("+(+!+)+!"), std::string("+(+!+<+"), std::string("++(!+r<!+"), long_}) {
        SCOPED_TRACE(steps.substr(0, 20));
        db->execute(QStringLiteral("DELETE 測点データ.* FROM 測点データ"));
        const int insert = db->prepareInsert(QStringLiteral("測点データ"), {QStringLiteral("調査地区No"), QStringLiteral("測点No")});
        std::vector<QStringList> levels(1);   // the numbers each open level keeps
        auto stored = [&] {
            qsizetype n = 0;
            for (const QStringList& level : levels)
                n += level.size();
            return n;
        };
        db->beginTransaction();
        for (const char step : steps) {
            const QString next = QString::number(stored() + 1);
            switch (step) {
            case '+': db->insertRow(insert, {Value(next.toLongLong()), Value(QStringLiteral("1"))}); break;
            case 'e': db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (%1)").arg(next)); break;
            case '!':
                EXPECT_EQ(failureNumber([&] { db->insertRow(insert, {Value(qint64(0)), Value(QStringLiteral("ABCDE"))}); }),
                          err::DbFieldTooSmall);
                continue;
            case 'x':
                EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES ('x')")), err::DbTypeMismatch);
                continue;
            case 'r': EXPECT_EQ(rows(), stored()); continue;
            case '(': db->beginTransaction(); levels.emplace_back(); continue;
            case ')': db->commit(); levels[levels.size() - 2] += levels.back(); levels.pop_back(); continue;
            case '<': db->rollback(); levels.pop_back(); continue;
            }
            levels.back().append(next);
        }
        db->commit();
        EXPECT_EQ(column(QStringLiteral("select 調査地区No from 測点データ order by 調査地区No"), QStringLiteral("調査地区No")),
                  levels[0].join(u'|'));
    }
}

TEST_F(Transactions, CommittedRowsSurviveReopening)
{
    db->beginTransaction();
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (1)"));
    db->commit();
    db->beginTransaction();
    db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (2)"));
    db->close();   // an open transaction is not kept
    db = Database::open(location());
    EXPECT_EQ(rows(), 1);
}

TEST_F(Transactions, WorkspaceSpansBothDatabases)
{
    db->close();
    {
        auto postal = Database::create(path(QStringLiteral("postal.mdb")));
        postal->execute(QStringLiteral("CREATE TABLE [〒] ([都道府県名] String(10), [市区町村名] String(50))"));
    }
    Workspace ws;
    ws.openSurvey(location());
    ws.openPostal(path(QStringLiteral("postal.mdb")));
    {
        // A guarded block left without its commit is rolled back in both.
        Transaction transaction(ws);
        ws.survey()->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (1)"));
        ws.postal()->execute(QStringLiteral("INSERT INTO 〒 VALUES ('東京都', '港区')"));
    }
    EXPECT_FALSE(ws.survey()->inTransaction());
    EXPECT_EQ(ws.survey()->openRecordSet(QStringLiteral("select 測点データ.* from 測点データ")).recordCount(), 0);
    EXPECT_EQ(ws.postal()->openRecordSet(QStringLiteral("select 〒.* from 〒")).recordCount(), 0);
    {
        Transaction transaction(ws);
        ws.survey()->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No) VALUES (1)"));
        ws.postal()->execute(QStringLiteral("INSERT INTO 〒 VALUES ('東京都', '港区')"));
        transaction.commit();
    }
    ws.closeAll();
    EXPECT_FALSE(ws.surveyOpen());
    ws.openPostal(path(QStringLiteral("postal.mdb")));
    EXPECT_EQ(ws.postal()->openRecordSet(QStringLiteral("SELECT DISTINCT 〒.都道府県名 From 〒 ORDER BY 〒.都道府県名"))
                  .recordCount(),
              1);
}

TEST_F(Transactions, OneShapePreparesOneStatement)
{
    const quint64 preparedBefore = db->preparedStatementCount();
    const quint64 statementsBefore = db->statementCount();
    db->beginTransaction();
    for (int i = 0; i < 10000; ++i) {
        db->execute(QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,"
                                   "トルク,推定土質) VALUES (%1,1,051001,0930,0930,%2,%3,%4,2);")
                        .arg(i / 100)
                        .arg(0.25 * (i % 100 + 1))
                        .arg(i % 50)
                        .arg(i % 7 == 0 ? QStringLiteral("-1.5") : QStringLiteral("12")));
    }
    db->commit();
    EXPECT_EQ(db->preparedStatementCount() - preparedBefore, 1u);
    EXPECT_EQ(db->statementCount() - statementsBefore, 10000u);
    EXPECT_EQ(rows(), 10000);
    EXPECT_EQ(first(QStringLiteral("select 測点データ.* from 測点データ where 調査地区No = 99 and 貫入深さ = 25"),
                    QStringLiteral("打撃回数")),
              QStringLiteral("49"));
    EXPECT_EQ(count(QStringLiteral("select 測点データ.* from 測点データ where トルク < 0")), 1429);
}

} // namespace
