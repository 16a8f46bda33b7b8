// Reading a query's rows one at a time without keeping them: names of joined
// columns, Null, Japanese text and numbers read as a record set reads them,
// failures with the engine's numbers, statements run while reading, and an
// answer of thousands of rows read whole and in order.

#include "db_test_fixture.h"

#include "db/engine_error_map.h"

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

class RowReader : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE 測点 (調査地区No Long, 測点No String(4), 記事 String(50))"));
        db->execute(QStringLiteral("CREATE TABLE 測点データ (調査地区No Long, 測点No String(4), 貫入深さ Single, "
                                   "打撃回数 Integer, 記事 String(50))"));
        db->execute(QStringLiteral("INSERT INTO 測点 VALUES (1, '1', '髙橋邸①～ｺﾝｸﾘｰﾄ')"));
        db->execute(QStringLiteral("INSERT INTO 測点データ VALUES (1, '1', 0.25, 3, '礫混じり, \"硬い\"')"));
        db->execute(QStringLiteral("INSERT INTO 測点データ VALUES (1, '1', 0.5, 12, Null)"));
    }

    static QString joinQuery()
    {
        return QStringLiteral("SELECT 測点.*, 測点データ.* FROM 測点 INNER JOIN 測点データ ON "
                              "(測点.調査地区No = 測点データ.調査地区No) AND (測点.測点No = 測点データ.測点No) "
                              "ORDER BY 測点データ.貫入深さ");
    }
};

TEST_F(RowReader, NamesNullTextAndNumbersOfAJoin)
{
    QStringList names;
    QStringList seen;
    const qint64 rows = db->forEachRow(joinQuery(), [&](const RowView& row) {
        if (names.isEmpty())
            for (int c = 0; c < row.columnCount(); ++c)
                names.append(row.tableName(c) + u'.' + row.columnName(c));
        const int pointRemark = row.columnIndex(QStringLiteral("測点.記事"));
        const int recordRemark = row.columnIndex(QStringLiteral("測点データ.記事"));
        const int depth = row.columnIndex(QStringLiteral("貫入深さ"));
        const int blows = row.columnIndex(QStringLiteral("打撃回数"));
        seen.append(row.text(pointRemark).toString() + u'|' + row.text(recordRemark).toString() + u'|'
                    + (row.isNull(recordRemark) ? QStringLiteral("Null") : QStringLiteral("text")) + u'|' + row.text(depth).toString() + u'|'
                    + QString::number(row.number(depth)) + u'|' + row.text(blows).toString() + u'|'
                    + (row.isNumber(blows) ? QStringLiteral("number") : QStringLiteral("text")));
    });
    EXPECT_EQ(rows, 2);
    EXPECT_EQ(names, QStringList({QStringLiteral("測点.調査地区No"), QStringLiteral("測点.測点No"),
                                  QStringLiteral("測点.記事"), QStringLiteral("測点データ.調査地区No"),
                                  QStringLiteral("測点データ.測点No"), QStringLiteral("測点データ.貫入深さ"),
                                  QStringLiteral("測点データ.打撃回数"), QStringLiteral("測点データ.記事")}));
    EXPECT_EQ(seen, QStringList({QStringLiteral("髙橋邸①～ｺﾝｸﾘｰﾄ|礫混じり, \"硬い\"|text|0.25|0.25|3|number"),
                                 QStringLiteral("髙橋邸①～ｺﾝｸﾘｰﾄ||Null|0.5|0.5|12|number")}));
}

TEST_F(RowReader, EveryCellReadsAsTheRecordSetReadsIt)
{
    RecordSet rs = db->openRecordSet(joinQuery());
    int mismatches = 0;
    int cells = 0;
    db->forEachRow(joinQuery(), [&](const RowView& row) {
        ASSERT_FALSE(rs.eof());
        ASSERT_EQ(row.columnCount(), rs.fieldCount());
        for (int c = 0; c < row.columnCount(); ++c, ++cells) {
            const Value& value = rs.field(c);
            QString appended = QStringLiteral("前|");
            row.appendText(c, appended);
            if (row.text(c) != value.toText() || appended != QStringLiteral("前|") + value.toText() || row.isNull(c) != value.isNull()
                || row.number(c) != value.toNumber() || row.columnName(c) != rs.fieldName(c))
                ++mismatches;
        }
        rs.moveNext();
    });
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(cells, 16);
    EXPECT_EQ(mismatches, 0);
}

TEST_F(RowReader, FailuresCarryTheEngineNumbers)
{
    const auto visitNothing = [](const RowView&) {};
    EXPECT_EQ(failureNumber([&] { db->forEachRow(QStringLiteral("SELECT * FROM 調査地区"), visitNothing); }),
              err::DbTableNotFound);
    EXPECT_EQ(failureNumber([&] { db->forEachRow(QStringLiteral("DELETE * FROM 測点"), visitNothing); }),
              jeterr::InvalidOperation);
    EXPECT_EQ(failureNumber([&] {
                  db->forEachRow(joinQuery(), [&](const RowView& row) { row.text(99); });
              }),
              err::DbItemNotFound);
    const int broken = failureNumber([&] { db->openRecordSet(QStringLiteral("SELECT * FROM 測点 WHERE")); });
    EXPECT_NE(broken, 0);
    EXPECT_EQ(failureNumber([&] { db->forEachRow(QStringLiteral("SELECT * FROM 測点 WHERE"), visitNothing); }),
              broken);
    // After a visitor failed part way, the same query reads all its rows again.
    EXPECT_EQ(db->forEachRow(joinQuery(), visitNothing), 2);
}

TEST_F(RowReader, StatementsRunWhileReadingAndTheShapeIsPreparedOnce)
{
    const QString query = QStringLiteral("SELECT 打撃回数 FROM 測点データ WHERE 調査地区No = %1 ORDER BY 打撃回数");
    db->forEachRow(query.arg(1), [](const RowView&) {});
    db->execute(QStringLiteral("UPDATE 測点 SET 記事 = '0'"));
    const quint64 prepared = db->preparedStatementCount();
    const quint64 statements = db->statementCount();

    QStringList seen;
    db->forEachRow(query.arg(1), [&](const RowView& outer) {
        // The same shape with another literal, and a change to another table.
        const qint64 inner = db->forEachRow(query.arg(2), [](const RowView&) {});
        db->execute(QStringLiteral("UPDATE 測点 SET 記事 = '") + outer.text(0).toString() + QStringLiteral("'"));
        seen.append(outer.text(0).toString() + u'/' + QString::number(inner));
    });
    EXPECT_EQ(seen, QStringList({QStringLiteral("3/0"), QStringLiteral("12/0")}));
    EXPECT_EQ(db->statementCount(), statements + 5);
    db->forEachRow(query.arg(3), [](const RowView&) {});
    // At most a second copy of the query's shape, needed while the first was
    // read (an engine that reads all rows before visiting needs none).
    EXPECT_LE(db->preparedStatementCount(), prepared + 1);
    EXPECT_EQ(first(QStringLiteral("SELECT 記事 FROM 測点"), QStringLiteral("記事")), QStringLiteral("12"));
}

TEST_F(RowReader, EveryRowOfALargeAnswerArrivesInOrder)
{
    // Thousands of rows, which a server hands over in batches.
    db->beginTransaction();
    const int insert =
        db->prepareInsert(QStringLiteral("測点データ"), {QStringLiteral("調査地区No"), QStringLiteral("打撃回数")});
    for (qint64 n = 1; n <= 4000; ++n)
        db->insertRow(insert, {Value(qint64(2)), Value(n)});
    db->commit();
    qint64 expected = 0;
    bool inOrder = true;
    const qint64 rows =
        db->forEachRow(QStringLiteral("SELECT 打撃回数 FROM 測点データ WHERE 調査地区No = 2 ORDER BY 打撃回数"),
                       [&](const RowView& row) { inOrder = inOrder && row.number(0) == double(++expected); });
    EXPECT_EQ(rows, 4000);
    EXPECT_EQ(expected, 4000);
    EXPECT_TRUE(inOrder);
}

} // namespace
