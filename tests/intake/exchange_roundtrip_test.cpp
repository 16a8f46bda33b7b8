// A file written by Write and read back in replace mode leaves the survey
// tables as they were.

#include "intake/exchange_read.h"
#include "intake/exchange_test_data.h"
#include "intake/exchange_write.h"
#include "intake/intake_test_support.h"
#include "support/recording_user_interface.h"

#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;
using vortan::test::surveyTables;

TEST(ExchangeRoundTrip, ReplaceModeRestoresEverySurveyRowByRow)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    db::SurveyStore store(copy.workspace);
    RecordingUserInterface ui;

    // Japanese texts with "①", "～", an IBM extension kanji and half-width
    // katakana; empty fields; several points; a point whose records lie on
    // both sides of another's in depth.
    for (std::int32_t number : {3, 12, 400}) {
        db::SurveyRow survey = test::exchangeSurvey(number);
        survey.記事 = number == 12 ? QStringLiteral("ﾎﾞｰﾘﾝｸﾞ併用") : QString();
        survey.住所 = number == 400 ? QString() : survey.住所;
        store.insertSurvey(survey);
        for (const char* point : {"1", "2", "10", "A-1"}) {
            db::PointRow p = test::exchangePoint(number, point, number == 3 ? QString("No%1").arg(point).left(4)
                                                                            : QString(point));
            p.記事 = QStringLiteral("①地点～");
            store.insertPoint(p);
            for (int step = 1; step <= 4; ++step)
                store.insertRecord(test::exchangeRecord(number, point, 0.25f * float(step) + 0.1f,
                                                           std::int16_t(step * 3), 1.3f * float(step),
                                                           QString::number(step % 5),
                                                           step == 2 ? QStringLiteral("髙い抵抗") : QString()));
        }
    }
    const QStringList before = surveyTables(copy.db());
    ASSERT_EQ(before.size(), 3 * (1 + 4 + 16));

    const QString file = copy.path("all.csv");
    EXPECT_EQ(WriteExchangeFile(copy.db(), ui, file, QString(), {}).rowsWritten, 48);
    ReadExchangeFile(copy.workspace, store, ui, file, ExchangeReadMode::Replace);
    EXPECT_EQ(surveyTables(copy.db()), before);

    // And once more from a new run of the program.
    db::SurveyStore freshStore(copy.workspace);
    ReadExchangeFile(copy.workspace, freshStore, ui, file, ExchangeReadMode::Replace);
    EXPECT_EQ(surveyTables(copy.db()), before);
}

TEST(ExchangeRoundTrip, ACommaInAValueShiftsTheFieldsAfterIt)
{
    SurveyDatabaseCopy copy;
    ASSERT_TRUE(copy.isValid());
    db::SurveyStore store(copy.workspace);
    RecordingUserInterface ui;
    db::SurveyRow survey = test::exchangeSurvey(8);
    survey.住所 = QStringLiteral("東京都,港区");
    store.insertSurvey(survey);
    store.insertPoint(test::exchangePoint(8, "1", "1"));
    store.insertRecord(test::exchangeRecord(8, "1", 0.25f, 3, 1.0f, "1"));

    const QString file = copy.path("comma.csv");
    WriteExchangeFile(copy.db(), ui, file, QString(), {});
    ReadExchangeFile(copy.workspace, store, ui, file, ExchangeReadMode::Replace);
    db::RecordSet rows = copy.db().openRecordSet("SELECT 住所, 調査目的, 調査責任者 FROM 調査地区;");
    ASSERT_EQ(rows.recordCount(), 1);
    EXPECT_EQ(rows.field(0).toText(), "東京都");
    EXPECT_EQ(rows.field(1).toText(), "港区");
    EXPECT_EQ(rows.field(2).toText(), "住宅基礎の地盤調査");
}
