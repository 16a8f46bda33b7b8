// The default files of the program folder as the build generates them: the
// survey database with its master lists and formula series, the postal
// database, the bearing capacity factor table and the qa parameter records.

#include "core/cp932.h"
#include "core/failure.h"
#include "db/database.h"
#include "db/workspace.h"
#include "support/database_dump.h"
#include "support/golden_file.h"
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

// The shipped survey database whole: its tables in the current layout with
// the version row, the master lists and the formula series of the default
// customer (reviewed once in the golden file).
TEST_F(ShippedDatabaseTest, HoldsTheCurrentLayoutWithTheDefaultRows)
{
    db->close();
    EXPECT_TRUE(vortan::test::matchesGolden(QStringLiteral("shipped_survey_database.txt"),
                                            vortan::test::databaseDump(files.surveyDatabase()).join(u'\n') + u'\n'));
    db = Database::open(files.surveyDatabase());
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
