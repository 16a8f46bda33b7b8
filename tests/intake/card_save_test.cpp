// Storing chosen runs of the fixture card as a survey.

#include "intake/card_file.h"
#include "intake/card_index.h"
#include "intake/card_line_parts.h"
#include "intake/card_save.h"
#include "intake/intake_test_support.h"
#include "support/recording_user_interface.h"

#include "core/failure.h"
#include "db/stored_date_time.h"

#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;
using vortan::test::surveyTables;

namespace {

// The fixture card: line 0 site 3 point 1, line 1 site 3 point 2, line 2
// its "*" run, line 3 site 8 point 1 over midnight.
CardListing fixtureCard()
{
    return ReadAndListCardFile(QStringLiteral(VORTAN_FIXTURES_DIR "/intake/card_two_sites.csv"));
}

QStringList column(db::Database& db, const QString& sql)
{
    db::RecordSet rows = db.openRecordSet(sql);
    QStringList values;
    while (!rows.eof()) {
        QStringList row;
        for (int i = 0; i < rows.fieldCount(); ++i)
            row.append(rows.field(i).toText());
        values.append(row.join('|'));
        rows.moveNext();
    }
    return values;
}

} // namespace

TEST(CardSave, LinesComeApartByPosition)
{
    const CardListing card = fixtureCard();
    ASSERT_EQ(card.lines.size(), 4);
    CardLineParts plain = TakeLineApart(card.lines[1]);
    EXPECT_EQ(plain.site, 3);
    EXPECT_EQ(plain.point, "    2");
    EXPECT_EQ(plain.startDate, "20051001");
    EXPECT_EQ(plain.startTime, "0940");
    EXPECT_EQ(plain.endTime, "0941");
    CardLineParts marked = TakeLineApart(card.lines[2]);
    EXPECT_EQ(marked.site, 3);
    EXPECT_EQ(marked.point, "    2");
    EXPECT_EQ(marked.startTime, "0950");
    EXPECT_EQ(marked.endStamp(), "05/10/01 09:52:30");
}

TEST(CardSave, StatementsOfTwoPointsOfOneSite)
{
    // Survey row: start of the first line, end time of the last line.
    // Each point: date and start of its first record, end of its record at
    // the line's end time. Records: those between the line's start and end,
    // so point 2 stores its first run only.
    const CardListing card = fixtureCard();
    const QStringList statements =
        CardSaveStatements(card.file.rows, {card.lines[0], card.lines[1]}, "12", "一般");
    EXPECT_EQ(statements, (QStringList{
        "INSERT INTO 調査地区 (調査地区No,調査日,調査開始時刻,調査終了時刻,得意先名) VALUES "
        "('12','20051001','0930','0941','一般');",
        "INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻) VALUES (12, '1' ,051001,0930,0932);",
        "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質) "
        "VALUES (12,1,051001,0930,0930,0.25,3,10.5,1);",
        "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質) "
        "VALUES (12,1,051001,0931,0931,0.5,4,12,1);",
        "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質) "
        "VALUES (12,1,051001,0932,0932,0.75,6,15.5,2);",
        "INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻) VALUES (12, '2' ,051001,0940,0941);",
        "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質) "
        "VALUES (12,2,051001,0940,0940,0.25,5,20,2);",
        "INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質) "
        "VALUES (12,2,051001,0941,0941,0.5,7,22.5,2);",
    }));
}

TEST(CardSave, SavedSurveyHoldsItsPointsAndRecords)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    const CardListing card = fixtureCard();
    RecordingUserInterface ui;

    ASSERT_TRUE(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0], card.lines[1]},
                             "12", "一般"));
    EXPECT_EQ(ui.statusText(), "データを保存しました。");
    EXPECT_FALSE(copy.db().inTransaction());

    db::Database& db = copy.db();
    EXPECT_EQ(column(db, "SELECT 調査地区No, 調査日, 調査開始時刻, 調査終了時刻, 得意先名 FROM 調査地区;"),
              QStringList{"12|20051001|0930|0941|一般"});
    // Dates and times went in as bare numbers; however the text column kept
    // them, they show as the run's date and times.
    const QStringList points = column(db, "SELECT 測点No, 日付, 開始時刻, 終了時刻 FROM 測点 ORDER BY 測点No;");
    ASSERT_EQ(points.size(), 2);
    QString date = points[0].section('|', 1, 1);
    EXPECT_EQ(db::ShortDateToDisplay(date), "2005/10/01");
    EXPECT_EQ(db::StoredTimeToDisplay(points[0].section('|', 2, 2)), "09:30");
    EXPECT_EQ(db::StoredTimeToDisplay(points[0].section('|', 3, 3)), "09:32");
    EXPECT_EQ(points[1].section('|', 0, 0), "2");
    EXPECT_EQ(column(db, "SELECT 測点No, 貫入深さ, 打撃回数, トルク, 推定土質 FROM 測点データ "
                         "ORDER BY 測点No, 貫入深さ;"),
              (QStringList{"1|0.25|3|10.5|1", "1|0.5|4|12|1", "1|0.75|6|15.5|2", "2|0.25|5|20|2",
                           "2|0.5|7|22.5|2"}));
}

TEST(CardSave, ASecondRunStoredAloneTakesOnlyItsOwnRecords)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    const CardListing card = fixtureCard();
    RecordingUserInterface ui;
    ASSERT_TRUE(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[2]}, "3", "一般"));
    EXPECT_EQ(column(copy.db(), "SELECT 調査開始時刻, 調査終了時刻 FROM 調査地区;"),
              QStringList{"0950|0952"});
    EXPECT_EQ(column(copy.db(), "SELECT 貫入深さ, 打撃回数 FROM 測点データ ORDER BY 貫入深さ;"),
              (QStringList{"0.25|4", "0.5|6", "0.75|8"}));
}

TEST(CardSave, ARunOverMidnightEndsAtItsStartTime)
{
    // No record of the run's end time lies on its start date, so the point
    // takes its start time as end time; the records span both days.
    const CardListing card = fixtureCard();
    const QStringList statements = CardSaveStatements(card.file.rows, {card.lines[3]}, "5", "一般");
    ASSERT_EQ(statements.size(), 5);
    EXPECT_EQ(statements[1],
              "INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻) VALUES (5, '1' ,051001,2358,2358);");
    EXPECT_TRUE(statements[4].contains("VALUES (5,1,051002,0001,0001,0.75,"));

    const std::optional<CardPointEntry> entry =
        LookUpPoint(card.file.rows, CardIndex(card.file.rows), card.lines[3]);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->date, "051001");
    EXPECT_EQ(entry->startTime, "2358");
    EXPECT_EQ(entry->endTime, "");
}

TEST(CardSave, FailingSavesLeaveTheDatabaseAsBefore)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    const CardListing card = fixtureCard();
    RecordingUserInterface ui;
    ASSERT_TRUE(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0]}, "12", "一般"));
    const QStringList before = surveyTables(copy.db());
    ui.clear();

    // A survey number already in use.
    try {
        SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[1]}, "12", "一般");
        FAIL() << "a survey number in use must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::DbDuplicateKey);
    }
    EXPECT_EQ(surveyTables(copy.db()), before);
    EXPECT_FALSE(copy.db().inTransaction());

    // A survey number that is not a number.
    EXPECT_THROW(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[1]}, "1'3", "一般"),
                 Failure);
    EXPECT_EQ(surveyTables(copy.db()), before);

    // A point number that is not numeric fails at its records, after the
    // survey and point rows went in: those go again.
    CardTable rows;
    for (std::size_t i = 0; i < card.file.rows.size(); ++i) {
        CardRecord record = card.file.rows.record(i);
        if (record.site == 8)
            record.point = "A1";
        rows.append(record);
    }
    const QStringList lines = ListRuns(rows);
    try {
        SaveCardRuns(copy.workspace, ui, rows, {lines.last()}, "13", "一般");
        FAIL() << "a non-numeric point must fail in the records statement";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::DbTooFewParameters);
    }
    EXPECT_EQ(surveyTables(copy.db()), before);
    EXPECT_TRUE(ui.statusTexts().isEmpty());

    // Nothing to save: nothing happens.
    EXPECT_FALSE(SaveCardRuns(copy.workspace, ui, card.file.rows, {}, "14", "一般"));
    EXPECT_EQ(surveyTables(copy.db()), before);
}

TEST(CardSave, ARunStoredBeforeAsksBeforeACopy)
{
    // Point 1's run is stored as survey 12; storing it again (with point 2)
    // as 13 asks first: No stores nothing, Yes stores the copy.
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    const CardListing card = fixtureCard();
    RecordingUserInterface ui;
    ASSERT_EQ(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0]}, "12", "一般"), 12);
    const QStringList before = surveyTables(copy.db());

    ui.clear();
    EXPECT_EQ(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0], card.lines[1]}, "13", "一般"), 0);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text, "このデータは調査地区No 12 に登録済みです。\n測点No: 1\n"
                                     "同じデータを調査地区No 13 としてもう一度登録しますか？");
    EXPECT_EQ(ui.lastMessage().buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.lastMessage().defaultButton, MessageAnswer::No);
    EXPECT_EQ(surveyTables(copy.db()), before);

    ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0], card.lines[1]}, "13", "一般"), 13);
    EXPECT_EQ(test::countRows(copy.db(), "測点 WHERE 調査地区No = 13;"), 2);

    // A stored point number is the run's once the blanks around it are
    // trimmed, whatever blanks they are; a longer number is another point.
    // Looked for beside point 2's run, it is still found once.
    copy.db().execute("DELETE FROM 測点 WHERE 調査地区No = 13;");
    const std::pair<QString, std::size_t> stored[] = {
        {" 1", 1}, {"1\t ", 1}, {"\u30001\u3000", 1}, {"\u00a01", 1}, {"10", 0}, {"2", 0}};
    for (const auto& [text, found] : stored) {
        SCOPED_TRACE(text.toStdString());
        copy.db().execute("UPDATE 測点 SET 測点No = '" + text + "' WHERE 調査地区No = 12;");
        EXPECT_EQ(FindStoredCopies(copy.db(), card.file.rows, {card.lines[0], card.lines[1]}).size(), found);
    }

    // A stored date is the run's (051001) when it reads as the same number:
    // after zeros, blanks or a sign, with blanks inside, with an exponent or
    // as a hexadecimal number; another number is another date.
    copy.db().execute("UPDATE 測点 SET 測点No = '1' WHERE 調査地区No = 12;");
    const std::pair<QString, std::size_t> dates[] = {
        {"51001", 1},   {"051001", 1}, {"00051001", 1}, {" 51001", 1}, {"+51001", 1}, {"5 1001", 1},
        {"5.1001E4", 1}, {"&HC739&", 1}, {"510011", 0},  {"51002", 0},  {"0", 0},
    };
    for (const auto& [text, found] : dates) {
        SCOPED_TRACE(text.toStdString());
        copy.db().execute("UPDATE 測点 SET 日付 = '" + text + "' WHERE 調査地区No = 12;");
        EXPECT_EQ(FindStoredCopies(copy.db(), card.file.rows, {card.lines[0]}).size(), found);
    }
}

TEST(CardSave, EachOfTwentyStoredRunsIsFoundOnce)
{
    // Site 3's first run at twenty points, and at a twenty-first on a day the
    // machine wrote as zeros: each run is looked for on its own.
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    const CardListing card = fixtureCard();
    CardTable rows;
    for (int point = 1; point <= 21; ++point)
        for (std::size_t i = 0; i < 3; ++i) {
            CardRecord record = card.file.rows.record(i);
            record.point = QString::number(point);
            record.date = point == 21 ? QStringLiteral("00/00/00") : record.date;
            rows.append(record);
        }
    const QStringList lines = ListRuns(rows);
    RecordingUserInterface ui;
    ASSERT_EQ(SaveCardRuns(copy.workspace, ui, rows, lines, "12", "一般"), 12);
    EXPECT_EQ(FindStoredCopies(copy.db(), rows, lines).size(), 21u);
}

TEST(CardSave, SurveyNumbersOutsideOneTo2147483647AreRefused)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    const CardListing card = fixtureCard();
    RecordingUserInterface ui;
    const QStringList before = surveyTables(copy.db());
    const std::pair<const char*, int> cases[] = {
        {"0", err::Overflow}, {"0.4", err::Overflow}, {"-7", err::Overflow},
        {"2147483648", err::Overflow}, {"99999999999", err::Overflow}, {"1x", err::TypeMismatch}};
    for (const auto& [number, failure] : cases) {
        SCOPED_TRACE(number);
        try {
            SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0]}, number, "一般");
            ADD_FAILURE() << "not refused";
        } catch (const Failure& refused) {
            EXPECT_EQ(refused.number(), failure);
        }
    }
    EXPECT_EQ(surveyTables(copy.db()), before);
    // The largest number is a number like any other; " 2147483647 " is stored as it reads.
    EXPECT_EQ(SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[0]}, " 2147483647 ", "一般"),
              2147483647);
}
