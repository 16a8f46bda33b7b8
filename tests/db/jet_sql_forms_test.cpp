// The statement forms of the program's SQL dialect, checked by what they do
// to a real database file.

#include "db_test_fixture.h"

#include "db/jet_sql_translator.h"

using namespace vortan;
using namespace vortan::db;
using namespace vortan::db::test;

namespace {

class JetSqlForms : public DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        db->execute(QStringLiteral("CREATE TABLE [調査地区] ([調査地区No] Long PRIMARY KEY, [現場名] String(100), "
                                   "[住所] String(100), [得意先名] String(50), [標高] String(20));"));
        db->execute(QStringLiteral("create table 測点 (調査地区No Long, 測点No Text(255), 日付 Text(8), 印刷 YesNo)"));
        db->execute(QStringLiteral("CREATE TABLE [mst得意先] ([得意先名] String(50), [Nd値計算式コード] Long, "
                                   "[qu値計算式コード] Long)"));
        for (int no = 1; no <= 3; ++no) {
            db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,住所,得意先名) VALUES (%1, '現場%1', "
                                       "'東京都', '一般');").arg(no));
            db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付) VALUES (%1, 'P1', '051001');").arg(no));
            db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付) VALUES (%1, 'P2', '051001');").arg(no));
        }
    }
};

TEST_F(JetSqlForms, DeleteWithStarListRemovesOnlyTheMatchingRows)
{
    EXPECT_EQ(db->execute(QStringLiteral("DELETE 調査地区.*FROM 調査地区 WHERE 調査地区.調査地区No=2;")), 1);
    EXPECT_EQ(db->execute(QStringLiteral("DELETE 測点.* FROM 測点 WHERE 測点.調査地区No=2;")), 2);
    EXPECT_EQ(column(QStringLiteral("select 調査地区.* from 調査地区 ORDER BY 調査地区No"), QStringLiteral("調査地区No")),
              QStringLiteral("1|3"));
    EXPECT_EQ(db->execute(QStringLiteral("DELETE 測点.*, 測点.測点No FROM 測点 WHERE 測点.測点No = 'p1' ;")), 2);
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点")), 2);
    EXPECT_EQ(db->execute(QStringLiteral("DELETE FROM 測点")), 2);
}

TEST_F(JetSqlForms, UpdateTakesQualifiedColumnsInSet)
{
    db->execute(QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,qu値計算式コード) VALUES ('一般','3','0')"));
    db->execute(QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,qu値計算式コード) VALUES ('特別',3,0)"));
    EXPECT_EQ(db->execute(QStringLiteral("UPDATE mst得意先 SET mst得意先.Nd値計算式コード = 0 WHERE "
                                         "(((mst得意先.Nd値計算式コード)=3));")),
              2);
    EXPECT_EQ(db->execute(QStringLiteral("UPDATE mst得意先 SET mst得意先.Nd値計算式コード = 5, mst得意先.Qu値計算式コード = 7 "
                                         "WHERE mst得意先.得意先名='一般';")),
              1);
    EXPECT_EQ(first(QStringLiteral("select mst得意先.* from mst得意先 where 得意先名 = '一般'"),
                    QStringLiteral("qu値計算式コード")),
              QStringLiteral("7"));
    EXPECT_EQ(first(QStringLiteral("select mst得意先.* from mst得意先 where 得意先名 = '特別'"),
                    QStringLiteral("Nd値計算式コード")),
              QStringLiteral("0"));
}

TEST_F(JetSqlForms, DoubleQuotedTextsAreLiterals)
{
    EXPECT_EQ(count(QStringLiteral("SELECT DISTINCT 調査地区.住所 From 調査地区 where 調査地区.住所 = \"東京都\" "
                                   "ORDER BY 調査地区.住所")),
              1);
    EXPECT_EQ(count(QStringLiteral("select 調査地区.* from 調査地区 where 現場名 = \"現場\"\"2\"")), 0);
}

TEST_F(JetSqlForms, MaxWithAliasAndEmptyTable)
{
    EXPECT_EQ(first(QStringLiteral("SELECT Max(調査地区.調査地区No) AS 調査地区Noの最大 FROM 調査地区;"),
                    QStringLiteral("調査地区Noの最大")),
              QStringLiteral("3"));
    db->execute(QStringLiteral("DELETE 調査地区.* FROM 調査地区"));
    RecordSet rs = db->openRecordSet(QStringLiteral("SELECT Max(調査地区.調査地区No) AS 調査地区Noの最大 FROM 調査地区;"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_TRUE(rs.field(QStringLiteral("調査地区Noの最大")).isNull());
}

TEST_F(JetSqlForms, JoinsWithParenthesesAndMixedCaseOrderBy)
{
    RecordSet rs = db->openRecordSet(QStringLiteral(
        "SELECT 調査地区.*, 測点.* FROM (調査地区 INNER JOIN 測点 ON 調査地区.調査地区No = 測点.調査地区No) "
        "WHERE (調査地区.調査地区No = 2) ORDER by 測点.調査地区No, 測点.測点No DESC;"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.field(QStringLiteral("測点No")).toText(), QStringLiteral("P2"));
    EXPECT_EQ(rs.field(QStringLiteral("測点.調査地区No")).toText(), QStringLiteral("2"));
}

TEST_F(JetSqlForms, TrueFalseAndYesNoValues)
{
    db->execute(QStringLiteral("UPDATE 測点 SET 印刷 = True WHERE 測点No = 'P1'"));
    db->execute(QStringLiteral("UPDATE 測点 SET 測点.印刷 = 1 WHERE 測点No = 'P2' AND 調査地区No = 1"));
    EXPECT_EQ(column(QStringLiteral("select 測点.印刷 from 測点 where 調査地区No = 1 ORDER BY 測点No"),
                     QStringLiteral("印刷")),
              QStringLiteral("-1|-1"));
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点 where 印刷 = False")), 2);
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点 where 印刷 = True")), 4);
}

TEST_F(JetSqlForms, NegativeNumbersAndArithmetic)
{
    db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No) VALUES (-5)"));
    EXPECT_EQ(first(QStringLiteral("SELECT Min(調査地区No) AS m FROM 調査地区"), QStringLiteral("m")), QStringLiteral("-5"));
    EXPECT_EQ(first(QStringLiteral("SELECT 調査地区No - 1 AS m FROM 調査地区 WHERE 調査地区No = 3"), QStringLiteral("m")),
              QStringLiteral("2"));
    EXPECT_EQ(first(QStringLiteral("SELECT 現場名 & '様' AS m FROM 調査地区 WHERE 調査地区No = 3"), QStringLiteral("m")),
              QStringLiteral("現場3様"));
}

TEST_F(JetSqlForms, CreateAndAlterTableFormsOfTheUpgrade)
{
    db->execute(QStringLiteral("create table [mst住所] ( [住所] String(8) primary key ); "));
    db->execute(QStringLiteral("INSERT INTO mst住所 VALUES ( '調査現場' ); "));
    EXPECT_EQ(first(QStringLiteral("select mst住所.* from mst住所 ;"), QStringLiteral("住所")), QStringLiteral("調査現場"));
    db->execute(QStringLiteral("alter table 測点 add 印刷測点No char(4);"));
    db->execute(QStringLiteral("alter table 測点 ADD COLUMN メモ Memo"));
    RecordSet rs = db->openRecordSet(QStringLiteral("select 測点.* from 測点"));
    EXPECT_TRUE(rs.hasField(QStringLiteral("印刷測点No")));
    EXPECT_TRUE(rs.field(QStringLiteral("メモ")).isNull());
    EXPECT_FALSE(db->tableExists(QStringLiteral("SystemSetting")));
    db->execute(QStringLiteral("create table [SystemSetting] ( [Key] String(50) primary key, [Value] String(50) ); "));
    db->execute(QStringLiteral("INSERT INTO SystemSetting VALUES ( 'DBVersion', '1.0' ); "));
    EXPECT_TRUE(db->tableExists(QStringLiteral("systemsetting")));
    db->execute(QStringLiteral("update SystemSetting set SystemSetting.Value='1.2' where SystemSetting.Key='DBVersion' "));
    EXPECT_EQ(first(QStringLiteral("select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;"),
                    QStringLiteral("Value")),
              QStringLiteral("1.2"));
}

TEST_F(JetSqlForms, AddedYesNoColumnReadsFalseForExistingRows)
{
    db->execute(QStringLiteral("alter table 調査地区 add 印刷 yesno;"));
    EXPECT_EQ(column(QStringLiteral("select 調査地区.印刷 from 調査地区"), QStringLiteral("印刷")), QStringLiteral("0|0|0"));
    db->execute(QStringLiteral("UPDATE 調査地区 SET 印刷 = 7 WHERE 調査地区No = 1"));
    EXPECT_EQ(first(QStringLiteral("select 調査地区.印刷 from 調査地区 where 調査地区No = 1"), QStringLiteral("印刷")),
              QStringLiteral("-1"));
}

TEST_F(JetSqlForms, ColumnTypesOfTheDialect)
{
    db->execute(QStringLiteral(
        "CREATE TABLE 型 (a Text(10), b Memo, c Long, d Integer, e Short, f Byte, g Single, h Double, "
        "i Currency, j YesNo, k Bit, l DateTime, m VarChar(3), n Counter)"));
    db->execute(QStringLiteral("INSERT INTO 型 (a,b,c,d,e,f,g,h,i,j,k,m) VALUES ('x','y',1,2,3,4,0.5,1.25,100,True,False,'abc')"));
    db->execute(QStringLiteral("INSERT INTO 型 (a) VALUES ('z')"));
    RecordSet rs = db->openRecordSet(QStringLiteral("select 型.* from 型 order by n"));
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.field(QStringLiteral("g")).toText(), QStringLiteral("0.5"));
    EXPECT_EQ(rs.field(QStringLiteral("j")).toText(), QStringLiteral("-1"));
    EXPECT_EQ(rs.field(QStringLiteral("k")).toText(), QStringLiteral("0"));
    EXPECT_EQ(rs.field(QStringLiteral("n")).toText(), QStringLiteral("1"));
    rs.moveNext();
    EXPECT_EQ(rs.field(QStringLiteral("n")).toText(), QStringLiteral("2"));
    EXPECT_EQ(rs.field(QStringLiteral("j")).toText(), QStringLiteral("0"));
}

TEST_F(JetSqlForms, StatementsDifferingInLiteralsAndBlanksShareOneShape)
{
    JetSqlTranslator translator;
    TranslatedStatement a;
    TranslatedStatement b;
    translator.translate(u"INSERT INTO 測点 (調査地区No,測点No) VALUES (1, 'P1');", a);
    translator.translate(u"INSERT INTO 測点 (調査地区No,測点No)  VALUES (  -22 , 'it''s' )", b);
    EXPECT_EQ(a.sql, b.sql);
    ASSERT_EQ(b.literals.size(), 2u);
    EXPECT_EQ(b.literals[0].integer, -22);
    EXPECT_EQ(b.literals[1].text.toString(), QStringLiteral("it's"));
}

TEST_F(JetSqlForms, BrokenOrUnknownSyntaxFailsWithTheSyntaxNumber)
{
    EXPECT_EQ(failing(QStringLiteral("INSERT INTO 測点 VALUES ('unterminated)")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("SELEKT * FROM 測点")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("DELETE 測点.* 測点 WHERE 調査地区No = 1")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("UPDATE 測点 SET WHERE")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("DELETE FROM 測点; DELETE FROM 調査地区")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("create table x ( y Strange(3) )")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("select [測点 from 測点")), err::DbSyntax);
    EXPECT_EQ(failing(QStringLiteral("   ;  ")), err::DbSyntax);
    // Nothing of the failed statements reached the tables.
    EXPECT_EQ(count(QStringLiteral("select 測点.* from 測点")), 6);
}

} // namespace
