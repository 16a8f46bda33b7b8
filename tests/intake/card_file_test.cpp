// Reading card files and listing their runs.

#include "intake/card_file.h"
#include "intake/card_test_files.h"
#include "intake/intake_test_support.h"

#include "core/failure.h"

#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::cardFileText;
using vortan::test::cardRecordAt;

namespace {

const QChar Tilde(0xFF5E);

QString fixture(const QString& name)
{
    return QStringLiteral(VORTAN_FIXTURES_DIR "/intake/") + name;
}

CardTable rowsOf(const QStringList& records)
{
    return ParseCardFile(cp932::encode(cardFileText(records))).rows;
}

QStringList listOf(const QStringList& records)
{
    return ListRuns(rowsOf(records));
}

// The list line of a run on 2005-10-01 between 09:MM:SS times.
QString line(const QString& marker, int site, const QString& point, const QString& start,
             const QString& end)
{
    return marker + QString::number(site).rightJustified(5) + ' ' + point.rightJustified(5) + ' '
        + "05/10/01 " + start + Tilde + "05/10/01 " + end;
}

} // namespace

TEST(CardFile, FixtureListsRunsGroupedBySiteAndPoint)
{
    // Site 3 appears first, then site 8; point 2 of site 3 starts again
    // after 0.50 m, so its second run carries "*"; site 8's run ends on the
    // next day. The header holds "①", "～" and half-width katakana.
    const CardListing listing = ReadAndListCardFile(fixture("card_two_sites.csv"));
    EXPECT_EQ(listing.file.lineCount, 12);
    ASSERT_EQ(listing.file.rows.size(), 11u);
    EXPECT_EQ(listing.lines,
              (QStringList{
                  QString("    3     1 05/10/01 09:30:05") + Tilde + "05/10/01 09:32:40",
                  QString("    3     2 05/10/01 09:40:00") + Tilde + "05/10/01 09:41:00",
                  QString("*    3     2 05/10/01 09:50:00") + Tilde + "05/10/01 09:52:30",
                  QString("    8     1 05/10/01 23:58:00") + Tilde + "05/10/02 00:01:00",
              }));
    EXPECT_EQ(listing.lines[0].size(), 47);
    EXPECT_EQ(listing.lines[2].size(), 48);
}

TEST(CardFile, RecordFieldsAreConverted)
{
    // Quotes go; whole numbers round halves to even; the date and time
    // fields keep their last two or four digits with leading zeros.
    CardRecord row = ParseCardRecord("1,\"x\",\"3\",\" 12 \",0.25,5.5,\"10.5\",2.5,2005,1001,9,3005,extra,more", 2);
    EXPECT_EQ(row.site, 3);
    EXPECT_EQ(row.point, "12");
    EXPECT_FLOAT_EQ(row.depth, 0.25f);
    EXPECT_EQ(row.blows, 6);
    EXPECT_FLOAT_EQ(row.torque, 10.5f);
    EXPECT_EQ(row.soil, 2);
    EXPECT_EQ(row.date, "05/10/01");
    EXPECT_EQ(row.time, "09:30:05");

    row = ParseCardRecord("1,2,3,7,1.5,4.5,0,1,5,930,7,5", 3);
    EXPECT_EQ(row.blows, 4);
    EXPECT_EQ(row.date, "05/09/30");
    EXPECT_EQ(row.time, "07:00:05");

    // A longer number keeps only its last digits; text reads as its leading number.
    row = ParseCardRecord("1,2,12abc,A1,deep,many,x,y,12005,31231,123,123456", 4);
    EXPECT_EQ(row.site, 12);
    EXPECT_EQ(row.point, "A1");
    EXPECT_EQ(row.depth, 0.0f);
    EXPECT_EQ(row.blows, 0);
    EXPECT_EQ(row.date, "05/12/31");
    EXPECT_EQ(row.time, "23:34:56");

    // No quoting rule: a comma between quotes still separates fields.
    row = ParseCardRecord("1,\"a,b\",3,7,0.25,5,10,2,2005,1001,9,3005", 5);
    EXPECT_EQ(row.site, 0);       // field 3 is now "b"
    EXPECT_EQ(row.point, "3");
}

TEST(CardFile, DepthsThatNeverFallFormOneRunAndAFallStartsAMarkedRun)
{
    EXPECT_EQ(listOf({cardRecordAt(3, "12", "0.2", 3005), cardRecordAt(3, "12", "0.4", 3100),
                      cardRecordAt(3, "12", "0.4", 3200), cardRecordAt(3, "12", "0.6", 4150)}),
              QStringList{line("", 3, "12", "09:30:05", "09:41:50")});

    EXPECT_EQ(listOf({cardRecordAt(3, "12", "0.2", 3000), cardRecordAt(3, "12", "0.4", 3100),
                      cardRecordAt(3, "12", "0.2", 3200), cardRecordAt(3, "12", "0.4", 3300)}),
              (QStringList{line("", 3, "12", "09:30:00", "09:31:00"),
                           line("*", 3, "12", "09:32:00", "09:33:00")}));
}

TEST(CardFile, InterruptedPointsGiveSeveralPairsAndSitesListInOrderOfFirstAppearance)
{
    // Point 12, then 13, then 12 again: three pairs. Both pairs of point 12
    // list all runs of point 12; the second time its first run has no "*",
    // since a run of point 13 stands before it.
    const QStringList lines = listOf({
        cardRecordAt(5, "12", "0.2", 1000), cardRecordAt(5, "12", "0.4", 1100),
        cardRecordAt(5, "13", "0.2", 1200), cardRecordAt(2, "1", "0.2", 1250),
        cardRecordAt(5, "13", "0.4", 1300), cardRecordAt(5, "12", "0.2", 1400),
        cardRecordAt(5, "12", "0.4", 1500),
    });
    EXPECT_EQ(lines, (QStringList{
                         line("", 5, "12", "09:10:00", "09:11:00"),
                         line("*", 5, "12", "09:14:00", "09:15:00"),
                         line("", 5, "13", "09:12:00", "09:13:00"),
                         line("", 5, "12", "09:10:00", "09:11:00"),
                         line("*", 5, "12", "09:14:00", "09:15:00"),
                         line("", 2, "1", "09:12:50", "09:12:50"),
                     }));
}

TEST(CardFile, SiteZeroIsNeverListedAndPointsAreRightAligned)
{
    const QStringList lines = listOf({
        cardRecordAt(0, "1", "0.2", 1000),
        QString("1,\"A\",abc,1,0.2,5,10.5,2,2005,1001,9,1000"),   // reads as site 0
        cardRecordAt(4, "\" 7 \"", "0.2", 1100),
        cardRecordAt(4, "123456", "0.2", 1200),
        cardRecordAt(4, "ｱ1", "0.2", 1300),
    });
    EXPECT_EQ(lines, (QStringList{line("", 4, "7", "09:11:00", "09:11:00"),
                                  line("", 4, "23456", "09:12:00", "09:12:00"),
                                  line("", 4, "ｱ1", "09:13:00", "09:13:00")}));
    EXPECT_TRUE(lines[0].startsWith("    4     7 "));
}

TEST(CardFile, TwentySitesListAndATwentyFirstFails)
{
    QStringList records;
    for (int site = 1; site <= 20; ++site)
        records.append(cardRecordAt(site, "1", "0.2", 1000 + site));
    EXPECT_EQ(listOf(records).size(), 20);

    records.append(cardRecordAt(0, "1", "0.2", 2000));   // 0 takes no slot
    records.append(cardRecordAt(7, "2", "0.2", 2000));   // a known site takes none either
    EXPECT_EQ(listOf(records).size(), 21);

    records.append(cardRecordAt(21, "1", "0.2", 2100));
    try {
        listOf(records);
        FAIL() << "a 21st site number must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), carderr::TooManySites);
        EXPECT_TRUE(failure.description().contains("21"));
    }
}

// Empty, header-only, short, garbage and lone-CR files are replayed from the
// bad-input corpus; a card file that is not there simply lists nothing.
TEST(CardFile, AMissingFileListsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    CardListing missing = ReadAndListCardFile(dir.filePath("none.csv"));
    EXPECT_EQ(missing.file.lineCount, 0);
    EXPECT_TRUE(missing.lines.isEmpty());
}

TEST(CardFile, ListLineLayoutPutsEveryPartAtItsPosition)
{
    CardRun run{3, "12", "05/10/01 09:30:05", "05/10/01 09:41:50"};
    const QString plain = ListLine(run, false);
    EXPECT_EQ(plain, QString("    3    12 05/10/01 09:30:05") + Tilde + "05/10/01 09:41:50");
    EXPECT_EQ(plain.mid(0, 5), "    3");
    EXPECT_EQ(plain.mid(6, 5), "   12");
    EXPECT_EQ(plain.mid(12, 8), "05/10/01");
    EXPECT_EQ(plain.mid(21, 8), "09:30:05");
    EXPECT_EQ(plain.at(29), Tilde);
    EXPECT_EQ(plain.mid(30, 17), "05/10/01 09:41:50");
    EXPECT_EQ(ListLine(run, true), "*" + plain);

    run.site = -12345;   // of a longer text only the last five characters
    EXPECT_TRUE(ListLine(run, false).startsWith("12345 "));
}

TEST(CardFile, ProgressOfALongCardRisesToAHundredPercent)
{
    // 2,000 records of one run: the counter the card import screen watches
    // from its thread ends at 100, also for a card with no records.
    QStringList records;
    for (int i = 1; i <= 2000; ++i)
        records.append(cardRecordAt(3, QStringLiteral("1"), QString::number(i * 0.01, 'f', 2), 3000 + i % 60));
    std::atomic<int> percent{-1};
    const CardFile file = ParseCardFile(cp932::encode(cardFileText(records)), &percent);
    EXPECT_EQ(file.rows.size(), 2000u);
    EXPECT_EQ(percent.load(), 100);

    std::atomic<int> headerOnly{-1};
    ParseCardFile(cp932::encode(cardFileText({})), &headerOnly);
    EXPECT_EQ(headerOnly.load(), 100);
}
