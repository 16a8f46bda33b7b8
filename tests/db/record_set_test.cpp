// Reading query results: counts, moving, fields by name in any letter case,
// joined tables, Null and the kinds of values.

#include "db_test_fixture.h"

#include "db/engine_error_map.h"

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

class RecordSets : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE 測点 (調査地区No Long, 測点No String(4), 記事 String(50))"));
        db->execute(QStringLiteral("CREATE TABLE 測点データ (調査地区No Long, 測点No String(4), 貫入深さ Single, "
                                   "打撃回数 Integer, 記事 String(50))"));
        db->execute(QStringLiteral("INSERT INTO 測点 VALUES (1, '1', '測点の記事')"));
        db->execute(QStringLiteral("INSERT INTO 測点データ VALUES (1, '1', 0.25, 3, '記録1')"));
        db->execute(QStringLiteral("INSERT INTO 測点データ VALUES (1, '1', 0.5, 12, Null)"));
    }
};

TEST_F(RecordSets, MovingThroughRows)
{
    RecordSet rs = db->openRecordSet(QStringLiteral(
        "SELECT 測点データ.* From 測点データ Where 調査地区No = 1 and 測点No = '1' "
        "ORDER BY 測点データ.調査地区No, 測点データ.測点No, 測点データ.貫入深さ; "));
    EXPECT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.fieldCount(), 5);
    EXPECT_EQ(rs.fieldName(2), QStringLiteral("貫入深さ"));
    QStringList seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        seen.append(rs.field(QStringLiteral("打撃回数")).toText() + u'/' + rs.field(QStringLiteral("記事")).toText());
    EXPECT_EQ(seen, QStringList({QStringLiteral("3/記録1"), QStringLiteral("12/")}));
    EXPECT_EQ(failureNumber([&] { rs.field(QStringLiteral("記事")); }), jeterr::NoCurrentRecord);
    rs.moveFirst();
    EXPECT_FALSE(rs.eof());
}

TEST_F(RecordSets, KindsOfValues)
{
    RecordSet rs = db->openRecordSet(QStringLiteral("select 測点データ.* from 測点データ order by 貫入深さ desc"));
    ASSERT_FALSE(rs.eof());
    const Value& blows = rs.field(QStringLiteral("打撃回数"));
    EXPECT_EQ(blows.variant().typeId(), QMetaType::LongLong);
    EXPECT_EQ(blows.variant().toLongLong(), 12);
    const Value& depth = rs.field(QStringLiteral("貫入深さ"));
    EXPECT_EQ(depth.variant().typeId(), QMetaType::Double);
    EXPECT_EQ(depth.toText(), QStringLiteral("0.5"));
    const Value& remark = rs.field(QStringLiteral("記事"));
    EXPECT_TRUE(remark.isNull());
    EXPECT_EQ(remark.toText(), QString());
    EXPECT_EQ(remark.toNumber(), 0);
    EXPECT_EQ(rs.field(QStringLiteral("測点No")).variant().typeId(), QMetaType::QString);
    EXPECT_EQ(Value(QStringLiteral("50以上")).toNumber(), 50);
}

TEST_F(RecordSets, FieldsOfJoinedTables)
{
    RecordSet rs = db->openRecordSet(QStringLiteral(
        "SELECT 測点.*, 測点データ.* FROM 測点 INNER JOIN 測点データ ON (測点.調査地区No = 測点データ.調査地区No) AND "
        "(測点.測点No = 測点データ.測点No) ORDER by 測点データ.貫入深さ;"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.field(QStringLiteral("記事")).toText(), QStringLiteral("測点の記事"));
    EXPECT_EQ(rs.field(QStringLiteral("測点.記事")).toText(), QStringLiteral("測点の記事"));
    EXPECT_EQ(rs.field(QStringLiteral("測点データ.記事")).toText(), QStringLiteral("記録1"));
    EXPECT_EQ(rs.field(QStringLiteral("測点データ.貫入深さ")).toText(), QStringLiteral("0.25"));
    EXPECT_TRUE(rs.hasField(QStringLiteral("測点データ.打撃回数")));
    EXPECT_FALSE(rs.hasField(QStringLiteral("測点.打撃回数")));
    EXPECT_EQ(failureNumber([&] { rs.field(QStringLiteral("測点.打撃回数")); }), err::DbItemNotFound);
}

TEST_F(RecordSets, UnknownFieldOnAnEmptyResultIsItemNotFound)
{
    RecordSet rs = db->openRecordSet(QStringLiteral("select 測点.* from 測点 where 調査地区No = 99"));
    EXPECT_EQ(rs.recordCount(), 0);
    EXPECT_TRUE(rs.eof());
    EXPECT_EQ(rs.fieldCount(), 3);
    EXPECT_EQ(failureNumber([&] { rs.field(QStringLiteral("C")); }), err::DbItemNotFound);
    EXPECT_EQ(failureNumber([&] { rs.field(QStringLiteral("記事")); }), jeterr::NoCurrentRecord);
}

} // namespace
