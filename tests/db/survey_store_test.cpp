// The survey store on a copy of the shipped database: the number counter,
// deleting a survey, the three inserts and the master lists.

#include "db/master_lists.h"
#include "db/survey_store.h"
#include "intake/intake_test_support.h"
#include "support/database_rows.h"
#include "support/recording_user_interface.h"

#include "core/failure.h"

#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::db;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;
using vortan::test::tableRows;

namespace {

SurveyRow survey(std::int32_t number, const QString& site = QStringLiteral("現場"))
{
    SurveyRow row;
    row.調査地区No = number;
    row.現場名 = site;
    row.住所 = QStringLiteral("東京都千代田区①丁目");
    row.調査日 = QStringLiteral("20051001");
    row.得意先名 = QStringLiteral("一般");
    return row;
}

PointRow point(std::int32_t number, const QString& no)
{
    PointRow row;
    row.調査地区No = number;
    row.測点No = no;
    row.日付 = QStringLiteral("051001");
    row.開始時刻 = QStringLiteral("0930");
    row.終了時刻 = QStringLiteral("0941");
    row.印刷測点No = no;
    return row;
}

RecordRow record(std::int32_t number, const QString& no, float depth)
{
    RecordRow row;
    row.調査地区No = number;
    row.測点No = no;
    row.貫入深さ = depth;
    row.打撃回数 = 5;
    row.トルク = 12.5f;
    row.推定土質 = QStringLiteral("2");
    row.日付 = QStringLiteral("051001");
    row.開始時刻 = QStringLiteral("0930");
    row.終了時刻 = QStringLiteral("0941");
    return row;
}

// One survey with two points of two records each.
void storeSurvey(SurveyStore& store, std::int32_t number)
{
    store.insertSurvey(survey(number));
    for (const char* no : {"1", "2"}) {
        store.insertPoint(point(number, no));
        store.insertRecord(record(number, no, 0.25f));
        store.insertRecord(record(number, no, 0.5f));
    }
}

} // namespace

TEST(SurveyStore, MaxSurveyNoIsZeroOnAnEmptyTableAndTheLargestNumberOtherwise)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    SurveyStore store(copy.workspace);
    EXPECT_EQ(store.maxSurveyNo(), 0);   // so the first survey gets number 1

    store.insertSurvey(survey(7));
    store.insertSurvey(survey(41));
    store.insertSurvey(survey(3));
    EXPECT_EQ(store.maxSurveyNo(), 41);
}

TEST(SurveyStore, InsertsStoreTextsAsTypedIncludingQuotes)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    SurveyStore store(copy.workspace);

    SurveyRow row = survey(12, QStringLiteral("O'Neill邸 ｱｲｳ～"));
    row.記事 = QStringLiteral("'); DELETE FROM 調査地区; --");
    row.標高 = QStringLiteral("12.5");
    store.insertSurvey(row);
    PointRow p = point(12, QStringLiteral("7"));
    p.記事 = QStringLiteral("it's");
    store.insertPoint(p);
    store.insertRecord(record(12, QStringLiteral("7"), 0.2f));

    EXPECT_EQ(tableRows(copy.db(), "調査地区"),
              QStringList{"12|O'Neill邸 ｱｲｳ～|東京都千代田区①丁目||||||20051001||12.5|一般|'); "
                          "DELETE FROM 調査地区; --"});
    // A point stored without a print mark is marked for printing.
    EXPECT_EQ(tableRows(copy.db(), "測点"),
              QStringList{"12|7|051001|0930|0941|||it's|-1|7"});
    // Depth and torque as singles, the soil code as a number.
    EXPECT_EQ(tableRows(copy.db(), "測点データ"),
              QStringList{"12|7|051001|0930|0941|0.2|5|12.5|2|"});
    // The depth is the double of its written text, not the single widened.
    EXPECT_EQ(vortan::test::rows(copy.db(), "SELECT 推定土質 FROM 測点データ WHERE 貫入深さ = 0.2;"), QStringList{"2"});
}

TEST(SurveyStore, RecordInsertSkipsARecordThatRepeatsThePreviousOne)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    SurveyStore store(copy.workspace);
    store.insertSurvey(survey(1));

    store.insertRecord(record(1, "1", 0.2f));
    store.insertRecord(record(1, "1", 0.2f));   // the same keys and depth: skipped
    EXPECT_EQ(tableRows(copy.db(), "測点データ").size(), 1);

    RecordRow otherBlows = record(1, "1", 0.2f);
    otherBlows.打撃回数 = 9;                        // blows and torque are not compared
    store.insertRecord(otherBlows);
    EXPECT_EQ(tableRows(copy.db(), "測点データ").size(), 1);

    store.insertRecord(record(1, "1", 0.4f));   // another depth
    RecordRow otherTime = record(1, "1", 0.4f);
    otherTime.開始時刻 = QStringLiteral("1000");    // another run
    store.insertRecord(otherTime);
    store.insertRecord(record(1, "2", 0.4f));   // another point
    EXPECT_EQ(tableRows(copy.db(), "測点データ").size(), 4);
    EXPECT_EQ(store.previousRecord().測点No, "2");
}

TEST(SurveyStore, FailingPointAndRecordInsertsAreIgnoredButASurveyInsertFails)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    SurveyStore store(copy.workspace);
    store.insertSurvey(survey(1));

    // A point number longer than four characters cannot be stored.
    EXPECT_NO_THROW(store.insertPoint(point(1, "12345")));
    EXPECT_NO_THROW(store.insertRecord(record(1, "12345", 0.2f)));
    EXPECT_TRUE(tableRows(copy.db(), "測点").isEmpty());
    EXPECT_TRUE(tableRows(copy.db(), "測点データ").isEmpty());
    // The failed record still became the previous record.
    EXPECT_EQ(store.previousRecord().測点No, "12345");

    try {
        store.insertSurvey(survey(1));   // the number is taken
        FAIL() << "a duplicate survey number must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::DbDuplicateKey);
    }
}

TEST(SurveyStore, DeleteSurveyAsksAndRemovesTheSurveyFromAllThreeTables)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    SurveyStore store(copy.workspace);
    storeSurvey(store, 1);
    storeSurvey(store, 2);
    const QStringList before2 = [&] {
        QStringList rows;
        for (const QString& r : vortan::test::surveyTables(copy.db()))
            if (r.section(':', 1).startsWith("2|"))
                rows.append(r);
        return rows;
    }();

    // Answering No changes nothing.
    RecordingUserInterface ui;
    ui.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(store.deleteSurvey(1, true, ui));
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, "現在表示されている調査地区のデータを削除しますか?");
    EXPECT_EQ(ui.messages()[0].icon, MessageIcon::Question);
    EXPECT_EQ(ui.messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(ui.messages()[0].defaultButton, MessageAnswer::No);
    EXPECT_EQ(vortan::test::surveyTables(copy.db()).size(), 2 * (1 + 2 + 4));

    ui.clear();
    ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(store.deleteSurvey(QStringLiteral("1"), true, ui));
    EXPECT_EQ(ui.messageTexts(),
              (QStringList{"現在表示されている調査地区のデータを削除しますか?", "データを削除しました。"}));
    EXPECT_EQ(ui.messages()[1].icon, MessageIcon::Information);
    EXPECT_TRUE(ui.statusTexts().contains("データの削除中..."));
    EXPECT_EQ(ui.statusText(), "");
    EXPECT_EQ(vortan::test::surveyTables(copy.db()), before2);

    // Without asking: no message, no busy text, the rows go.
    ui.clear();
    EXPECT_TRUE(store.deleteSurvey(2, false, ui));
    EXPECT_TRUE(ui.messages().empty());
    EXPECT_FALSE(ui.statusTexts().contains("データの削除中..."));
    EXPECT_TRUE(vortan::test::surveyTables(copy.db()).isEmpty());
    EXPECT_FALSE(copy.db().inTransaction());
}

TEST(SurveyStore, DeleteInsideAnOpenTransactionIsUndoneWithIt)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    SurveyStore store(copy.workspace);
    storeSurvey(store, 3);
    const QStringList before = vortan::test::surveyTables(copy.db());

    RecordingUserInterface ui;
    copy.workspace.beginTransaction();
    store.deleteSurvey(3, false, ui);
    EXPECT_TRUE(copy.db().inTransaction());
    EXPECT_TRUE(vortan::test::surveyTables(copy.db()).isEmpty());
    copy.workspace.rollback();
    EXPECT_EQ(vortan::test::surveyTables(copy.db()), before);
}

namespace {

class RecordingCombo : public ComboTarget {
public:
    void clear() override { items.clear(); ++clears; }
    void addItem(const QString& text) override { items.append(text); }
    QStringList items{"old entry"};
    int clears = 0;
};

} // namespace

TEST(MasterLists, RefreshFillsEveryListButTheAddressLabelsFromTheDatabase)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    db::Database& db = copy.db();
    db.execute("INSERT INTO mst姓名 (姓名) VALUES ('山田 太郎');");
    db.execute("INSERT INTO mst姓名 (姓名) VALUES (Null);");
    db.execute("INSERT INTO mst測点記事 (記事) VALUES ('ｺﾝｸﾘｰﾄ殻あり');");
    // A soil inserted last shows by its xNo, after the shipped five.
    db.execute("INSERT INTO mst土質 (土質名,表示色) VALUES ('埋土', 0);");

    MasterLists lists;
    lists.addressLabel = QStringList{QString(), "stays"};
    RefreshMasterLists(db, lists);

    EXPECT_EQ(lists.soil, (QStringList{"", "砂質土", "粘性土", "礫質土", "腐植土", "ローム", "埋土"}));
    EXPECT_EQ(lists.name, (QStringList{"", "山田 太郎", ""}));   // a Null is an empty entry
    EXPECT_EQ(lists.weather,
              (QStringList{"", "晴れ", "曇り", "雨", "雪", "晴れ時々曇り", "曇り時々雨"}));
    EXPECT_EQ(lists.customer, (QStringList{"", "一般"}));
    EXPECT_EQ(lists.purpose.size(), 5);
    EXPECT_EQ(lists.pointRemark, (QStringList{"", "ｺﾝｸﾘｰﾄ殻あり"}));
    EXPECT_EQ(lists.siteRemark, QStringList{""});     // an empty table: element 0 only
    EXPECT_EQ(lists.recordRemark, QStringList{""});
    EXPECT_EQ(lists.addressLabel, (QStringList{"", "stays"}));

    LoadMasterList(db, lists, MasterList::AddressLabel);
    EXPECT_EQ(lists.addressLabel, (QStringList{"", "調査現場"}));

    RecordingCombo box;
    FillCombo(box, lists.weather);
    EXPECT_EQ(box.clears, 1);
    EXPECT_EQ(box.items, (QStringList{"晴れ", "曇り", "雨", "雪", "晴れ時々曇り", "曇り時々雨"}));
    FillCombo(box, lists.siteRemark);
    EXPECT_TRUE(box.items.isEmpty());
}
