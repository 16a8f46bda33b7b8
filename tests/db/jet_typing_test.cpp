// The typing rules the program relies on: numbers refuse texts that are not
// numbers, texts keep numbers as their decimal text, declared text lengths
// hold, and texts and names compare without regard to letter case.

#include "db_test_fixture.h"

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

class JetTyping : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE [測点] ([調査地区No] Long, [測点No] String(255), [日付] String(8), "
                                   "[開始時刻] String(8), [標高差] String(20), [貫入深さ] Single)"));
        db->execute(QStringLiteral("CREATE TABLE [測点データ] ([調査地区No] Long, [測点No] String(255), [打撃回数] Integer)"));
    }
};

TEST_F(JetTyping, TextThatIsNotANumberIntoANumberColumnFails)
{
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES ('abc', '1')")), err::DbTypeMismatch);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES ('', '1')")), err::DbTypeMismatch);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,貫入深さ) VALUES (1, '1.5m')")), err::DbTypeMismatch);
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES (1, '1')"));
    EXPECT_EQ(failing(QStringLiteral("UPDATE 測点 SET 調査地区No = 'x'")), err::DbTypeMismatch);
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点")), 1);
    EXPECT_EQ(first(QStringLiteral("select 測点.* from 測点"), QStringLiteral("調査地区No")), QStringLiteral("1"));
}

TEST_F(JetTyping, NumericTextIntoANumberColumnIsStoredAsTheNumber)
{
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,貫入深さ) VALUES ('12', '1', '0.25')"));
    RecordSet rs = db->openRecordSet(QStringLiteral("select 測点.* from 測点 where 調査地区No = 12"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field(QStringLiteral("調査地区No")).isNumber());
    EXPECT_EQ(rs.field(QStringLiteral("調査地区No")).variant().toLongLong(), 12);
    EXPECT_DOUBLE_EQ(rs.field(QStringLiteral("貫入深さ")).toNumber(), 0.25);
    // Comparing with a quoted number finds the row too.
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点 where 調査地区No = '12'")), 1);
}

TEST_F(JetTyping, BareNumbersIntoTextColumnsBecomeTheirDecimalText)
{
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,標高差) VALUES (1, '1' ,051001,0930,1.50);"));
    RecordSet rs = db->openRecordSet(QStringLiteral("select 測点.* from 測点"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_FALSE(rs.field(QStringLiteral("開始時刻")).isNumber());
    EXPECT_EQ(rs.field(QStringLiteral("開始時刻")).toText(), QStringLiteral("930"));
    EXPECT_EQ(rs.field(QStringLiteral("日付")).toText(), QStringLiteral("51001"));
    EXPECT_EQ(rs.field(QStringLiteral("標高差")).toText(), QStringLiteral("1.5"));
}

TEST_F(JetTyping, AlterColumnKeepsRowsAndEnforcesTheNewLength)
{
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付) VALUES (1, 'A1', '051001')"));
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付) VALUES (2, 'ABCDE', '051002')"));
    // A row that does not fit the new length makes the change fail as a whole.
    EXPECT_EQ(failing(QStringLiteral("alter table 測点 alter column 測点No char(4);")), err::DbFieldTooSmall);
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点")), 2);
    db->execute(QStringLiteral("DELETE 測点.* FROM 測点 WHERE 測点No = 'abcde'"));
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付) VALUES (3, 'B2', '051003')"));

    db->execute(QStringLiteral("alter table 測点 alter column 測点No char(4);"));
    EXPECT_EQ(column(QStringLiteral("select 測点.* from 測点"), QStringLiteral("測点No")), QStringLiteral("A1|B2"));
    EXPECT_EQ(column(QStringLiteral("select 測点.* from 測点"), QStringLiteral("日付")), QStringLiteral("051001|051003"));
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES (4, 'ABCDE')")), err::DbFieldTooSmall);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES (4, 12345)")), err::DbFieldTooSmall);
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES (4, 'ABCD')"));
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES (5, '測点一二')"));
    // The other columns keep their rules after the rebuild.
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES ('x', 'C')")), err::DbTypeMismatch);
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 (調査地区No,日付) VALUES (6, '123456789')")), err::DbFieldTooSmall);
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点 where 測点No = 'a1'")), 1);
}

TEST_F(JetTyping, AlterColumnKeepsThePrimaryKey)
{
    db->execute(QStringLiteral("create table [SystemSetting] ( [Key] String(50) primary key, [Value] String(50) )"));
    db->execute(QStringLiteral("INSERT INTO SystemSetting VALUES ('DBVersion', '1.0')"));
    db->execute(QStringLiteral("alter table SystemSetting alter column Value char(10)"));
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO SystemSetting VALUES ('dbversion', '1.2')")), err::DbDuplicateKey);
    EXPECT_EQ(failing(QStringLiteral("alter table SystemSetting alter column 無い char(10)")), err::DbItemNotFound);
    EXPECT_EQ(failing(QStringLiteral("alter table 無い表 alter column Value char(10)")), err::DbTableNotFound);
}

TEST_F(JetTyping, TextsAndNamesCompareWithoutRegardToCase)
{
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No) VALUES (1, 'Abc')"));
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点 where 測点No = 'aBC'")), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT 測点.* FROM 測点 WHERE 測点.測点NO = 'ABC' ORDER BY 測点.測点no")), 1);
    EXPECT_EQ(first(QStringLiteral("select 測点.* from 測点"), QStringLiteral("測点no")), QStringLiteral("Abc"));
}

TEST_F(JetTyping, QuotedTextComesBackUnchanged)
{
    QString text = QStringLiteral("O'Neill, \"様\" ");
    while (text.size() < 100)
        text += QStringLiteral("大型動的コーン貫入試験");
    text.truncate(100);
    db->execute(QStringLiteral("CREATE TABLE 記事 (記事 Memo)"));
    db->execute(QStringLiteral("INSERT INTO 記事 (記事) VALUES ('") + quoted(text) + QStringLiteral("');"));
    EXPECT_EQ(first(QStringLiteral("select 記事.* from 記事"), QStringLiteral("記事")), text);
    EXPECT_EQ(count(QStringLiteral("select 記事.* from 記事 where 記事 = '") + quoted(text) + u'\''), 1);
    EXPECT_EQ(quoted(QStringLiteral("O'Neill")), QStringLiteral("O''Neill"));
    EXPECT_EQ(quoted(QStringLiteral("''")), QStringLiteral("''''"));
}

} // namespace
