// The default files of the program folder as the build generates them: the
// survey database with its master lists and formula series, the postal
// database, the bearing capacity factor table and the qa parameter records.

#include "core/cp932.h"
#include "core/failure.h"
#include "db/database.h"
#include "db/workspace.h"
#include "support/test_databases.h"

#include <QFile>
#include <QtEndian>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::db;

namespace {

class ShippedDatabaseTest : public ::testing::Test {
protected:
    vortan::test::ShippedFilesCopy files;
    std::unique_ptr<Database> db;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        db = Database::open(files.surveyDatabase());
    }

    QList<QStringList> rows(const QString& sql, const QStringList& fields)
    {
        QList<QStringList> result;
        RecordSet set = db->openRecordSet(sql);
        for (; !set.eof(); set.moveNext()) {
            QStringList row;
            for (const QString& field : fields)
                row << set.field(field).toText();
            result << row;
        }
        return result;
    }
};

TEST_F(ShippedDatabaseTest, HoldsEveryTableOfTheCurrentLayout)
{
    const std::map<QString, QStringList> layout{
        {"調査地区", {"調査地区No", "現場名", "住所", "調査目的", "調査責任者", "調査者", "調査開始時刻",
                    "調査終了時刻", "調査日", "天候", "標高", "得意先名", "記事"}},
        {"測点", {"調査地区No", "測点No", "日付", "開始時刻", "終了時刻", "標高差", "地下水位", "記事",
                 "印刷測点No", "印刷"}},
        {"測点データ", {"調査地区No", "測点No", "日付", "開始時刻", "終了時刻", "貫入深さ", "打撃回数",
                      "トルク", "推定土質", "記事"}},
        {"mst土質", {"xNo", "土質名", "表示色"}},
        {"mst天候", {"天候名"}},
        {"mst住所", {"住所"}},
        {"mst調査目的", {"調査目的"}},
        {"mst調査地区記事", {"記事"}},
        {"mst姓名", {"姓名"}},
        {"mst測点記事", {"記事"}},
        {"mst測点データ記事", {"記事"}},
        {"mst得意先", {"得意先名", "Nd値計算式コード", "Qa値計算式コード", "qu値計算式コード", "住所", "TEL", "FAX"}},
        {"mstRNd値計算式", {"計算式コード", "土質名", "メモ", "A", "B", "C"}},
        {"mstNd値計算式", {"計算式コード", "土質名", "メモ", "A", "B", "C", "D", "E"}},
        {"mstQa値計算式", {"計算式コード", "土質名", "メモ", "A", "B", "C", "D", "E", "F", "G"}},
        {"SystemSetting", {"Key", "Value"}},
    };
    for (const auto& [table, columns] : layout) {
        RecordSet set = db->openRecordSet("select " + table + ".* from " + table + " ;");
        EXPECT_EQ(set.fieldCount(), columns.size()) << table.toStdString();
        for (const QString& column : columns)
            EXPECT_TRUE(set.hasField(column)) << (table + "." + column).toStdString();
    }
    EXPECT_EQ(rows("select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;",
                   {"Value"}),
              QList<QStringList>{{"1.2"}});
}

TEST_F(ShippedDatabaseTest, MasterListsHoldTheDefaults)
{
    EXPECT_EQ(rows("select mst土質.* from mst土質 ORDER BY xNo ;", {"土質名", "表示色"}),
              (QList<QStringList>{{"砂質土", "8454143"},
                                  {"粘性土", "3368601"},
                                  {"礫質土", "3381759"},
                                  {"腐植土", "2636880"},
                                  {"ローム", "2642112"}}));
    EXPECT_EQ(rows("select mst住所.* from mst住所;", {"住所"}), QList<QStringList>{{"調査現場"}});
    EXPECT_EQ(rows("select mst天候.* from mst天候;", {"天候名"}).size(), 6);
    EXPECT_EQ(rows("select mst調査目的.* from mst調査目的;", {"調査目的"}).size(), 4);
    EXPECT_EQ(rows("select mst得意先.* from mst得意先;",
                   {"得意先名", "Nd値計算式コード", "Qa値計算式コード", "qu値計算式コード"}),
              (QList<QStringList>{{"一般", "1", "1", "1"}}));
    EXPECT_TRUE(rows("select 調査地区.* from 調査地区;", {"調査地区No"}).isEmpty());
}

TEST_F(ShippedDatabaseTest, SoilOrderFollowsInsertionAfterTheEditorRewritesTheTable)
{
    // The soil editor deletes every row and inserts the grid's rows again
    // without xNo; the list order must then be the new insertion order.
    db->execute("DELETE mst土質.*, mst土質.土質名 FROM mst土質 ;");
    for (const char* soil : {"ローム", "砂質土", "シルト"})
        db->execute(QString("INSERT INTO mst土質 (土質名,表示色) VALUES ('%1',255);").arg(QString::fromUtf8(soil)));
    EXPECT_EQ(rows("select mst土質.* from mst土質 ORDER BY xNo ;", {"土質名"}),
              (QList<QStringList>{{"ローム"}, {"砂質土"}, {"シルト"}}));
}

TEST_F(ShippedDatabaseTest, DefaultCustomerFindsItsFormulasForEverySoil)
{
    // The lookups of the calculation, with the default customer.
    for (const char* name : {"砂質土", "粘性土", "礫質土", "腐植土", "ローム"}) {
        const QString soil = QString::fromUtf8(name);
        SCOPED_TRACE(name);
        EXPECT_EQ(rows("SELECT mstRNd値計算式.A, mstRNd値計算式.B, mstRNd値計算式.C FROM mstRNd値計算式 "
                       "INNER JOIN mst得意先 ON mstRNd値計算式.計算式コード = mst得意先.Nd値計算式コード "
                       "WHERE (((mst得意先.得意先名)='一般') AND ((mstRNd値計算式.土質名)='" + soil + "'));",
                       {"A", "B", "C"}),
                  (QList<QStringList>{{"0", "0.4", "1"}}));
        EXPECT_EQ(rows("SELECT mstNd値計算式.A, mstNd値計算式.B, mstNd値計算式.C, mstNd値計算式.D, mstNd値計算式.E "
                       "FROM mst得意先 INNER JOIN mstNd値計算式 ON mst得意先.qu値計算式コード = mstNd値計算式.計算式コード "
                       "WHERE (((mst得意先.得意先名)='一般') AND ((mstNd値計算式.土質名)='" + soil + "'));",
                       {"A", "B", "C", "D", "E"}),
                  (QList<QStringList>{{"0", "1", "1", "1", "1"}}));
        EXPECT_EQ(rows("SELECT mstQa値計算式.計算式コード, mstQa値計算式.A, mstQa値計算式.G "
                       "FROM mst得意先 INNER JOIN mstQa値計算式 ON mst得意先.Qa値計算式コード = mstQa値計算式.計算式コード "
                       "WHERE (((mst得意先.得意先名)='一般') AND ((mstQa値計算式.土質名)='" + soil + "'));",
                       {"計算式コード", "A", "G"}),
                  (QList<QStringList>{{"1", "0", "0"}}));
    }
}

TEST_F(ShippedDatabaseTest, PointNumbersHoldFourCharacters)
{
    db->execute("INSERT INTO 測点 (調査地区No,測点No,印刷測点No) VALUES (1, 'No.1', 'No.1');");
    EXPECT_THROW(db->execute("INSERT INTO 測点 (調査地区No,測点No) VALUES (1, 'No.12');"), Failure);
    EXPECT_THROW(db->execute("INSERT INTO 測点データ (調査地区No,測点No) VALUES (1, 'No.12');"), Failure);
}

TEST(ShippedPostalDatabase, HoldsTheAddressTable)
{
    vortan::test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    auto db = Database::open(files.postalDatabase());
    RecordSet set = db->openRecordSet("select 〒.* from 〒 ;");
    EXPECT_EQ(set.fieldCount(), 5);
    for (const char* column : {"都道府県名", "市区町村名", "町域名", "域名", "表示順"})
        EXPECT_TRUE(set.hasField(QString::fromUtf8(column))) << column;
}

// rqtbl.csv
class ShippedBearingFactorsTest : public ::testing::Test {
protected:
    QStringList lines;

    void SetUp() override
    {
        QFile file(vortan::test::programFile("rqtbl.csv"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        ASSERT_TRUE(bytes.endsWith('\n'));
        lines = QString::fromUtf8(bytes).split(u'\n');
        lines.removeLast();
    }
};

TEST_F(ShippedBearingFactorsTest, OneLinePerTenthOfADegreeWithTheLastAngleRepeated)
{
    // 0.0 to 40.0 in 0.1° steps is 401 lines, and the last written twice.
    ASSERT_EQ(lines.size(), 402);
    for (int i = 0; i <= 400; ++i)
        ASSERT_TRUE(lines[i].startsWith(QString::number(i / 10) + "." + QString::number(i % 10) + ","))
            << lines[i].toStdString();
    EXPECT_EQ(lines[400], "40.0,75.3,93.7,64.2");
    EXPECT_EQ(lines[401], lines[400]);
}

TEST_F(ShippedBearingFactorsTest, AnglesOfTheNoticeCarryItsFactors)
{
    // The rows of the bearing capacity factor table of the notice.
    const std::map<int, QString> notice{
        {0, "0.0,5.1,0.0,1.0"},       {50, "5.0,6.5,0.1,1.6"},      {100, "10.0,8.3,0.4,2.5"},
        {150, "15.0,11.0,1.1,3.9"},   {200, "20.0,14.8,2.9,6.4"},   {250, "25.0,20.7,6.8,10.7"},
        {280, "28.0,25.8,11.2,14.7"}, {320, "32.0,35.5,22.0,23.2"}, {360, "36.0,50.6,44.4,37.8"},
        {400, "40.0,75.3,93.7,64.2"},
    };
    for (const auto& [index, line] : notice)
        EXPECT_EQ(lines[index], line);
}

} // namespace
