// Loading, editing, recalculating and saving a survey through the document:
// the texts the grids show and the rows the database holds afterwards.

#include "support/database_rows.h"
#include "support/sql_fixture.h"
#include "calc/calc_test_environment.h"
#include "calc/formula_sets.h"
#include "db/record_set.h"
#include "sheet/survey_document.h"
#include "support/reporter_texts.h"

#include <QSignalSpy>

using namespace vortan;
using namespace vortan::sheet;

namespace {

const QString Incomplete = QStringLiteral("入力項目が不完全です｡表示されている内容をチェックした上で保存して下さい｡");

struct Document : ::testing::Test {
    test::CalcEnvironment env;
    QDateTime clock = QDateTime(QDate(2024, 1, 2), QTime(9, 41, 7));
    std::unique_ptr<SurveyDocument> doc;

    void SetUp() override
    {
        test::runSqlFixture(env.db(), QStringLiteral("document_survey.sql"));
        doc = std::make_unique<SurveyDocument>(SurveyDocument::Services{
            env.state, env.workspace, env.lists, env.ui, *env.calculator, [this] { return clock; }});
    }

    Outcome load(const QString& number = QStringLiteral("5"))
    {
        doc->clear();
        doc->setHeader(HeaderField::調査地区No, number);
        return doc->load();
    }

    // Every row of a query, fields joined by "|".
    QStringList rows(const QString& sql) { return test::rows(env.db(), sql); }

    QStringList survey() { return rows(QStringLiteral("SELECT * FROM 調査地区 ORDER BY 調査地区No;")); }
    QStringList points()
    {
        return rows(QStringLiteral("SELECT 調査地区No,測点No,日付,開始時刻,終了時刻,標高差,地下水位,記事,印刷測点No,"
                                   "印刷 FROM 測点 ORDER BY 調査地区No, 測点No;"));
    }
    QStringList records()
    {
        return rows(QStringLiteral("SELECT 調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,打撃回数,トルク,推定土質,"
                                   "記事 FROM 測点データ ORDER BY 調査地区No, 測点No, 貫入深さ;"));
    }
    QStringList everything() { return survey() + points() + records(); }

    QStringList recordRow(int point, int row)
    {
        QStringList cells;
        for (int c = 1; c <= RecordColumn::Count; ++c)
            cells << doc->recordCell(point, row, c);
        return cells;
    }
};

using test::list;

} // namespace

TEST_F(Document, LoadShowsTheSurveyAsTheGridsShowIt)
{
    ASSERT_EQ(load(), Outcome::Done);
    EXPECT_EQ(doc->header(HeaderField::現場名), QStringLiteral("現場A"));
    EXPECT_EQ(doc->header(HeaderField::開始時刻), QStringLiteral("09:30"));
    EXPECT_EQ(doc->header(HeaderField::終了時刻), QStringLiteral("11:30"));
    EXPECT_EQ(doc->header(HeaderField::調査日), QStringLiteral("2001/02/28"));
    EXPECT_EQ(doc->header(HeaderField::標高), QStringLiteral("12.5"));
    EXPECT_EQ(doc->header(HeaderField::提出先), QStringLiteral("一般"));
    EXPECT_EQ(doc->header(HeaderField::調査地区記事), QStringLiteral("O'Neill"));

    ASSERT_EQ(doc->pointCount(), 2);
    EXPECT_EQ(doc->pointNumber(0), QStringLiteral("1"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::測点No表記), QStringLiteral("1"));   // empty: the point number
    EXPECT_EQ(doc->pointCell(0, PointColumn::地盤高), QStringLiteral("0.5"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::記事), QStringLiteral("記事1"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::印刷), QStringLiteral("1"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::開始日時), QStringLiteral("2005/10/01_09:30"));
    EXPECT_EQ(doc->pointCell(0, PointColumn::終了日時), QStringLiteral("2005/10/01_10:00"));
    EXPECT_EQ(doc->pointCell(1, PointColumn::測点No表記), QStringLiteral("P2"));
    EXPECT_EQ(doc->pointCell(1, PointColumn::地下水位), QStringLiteral("-1.2"));
    EXPECT_EQ(doc->pointCell(1, PointColumn::印刷), QStringLiteral("0"));

    // Records by depth; torque 2.5 kN·cm shown as 25 N·m; soils by name.
    // Sand, 0.5 m, Nd 10: (17.04·0.5·18 + 14.17·9)/3 = 280.89/3 = 93.63.
    // Clay, 0.25 m, ⊿Nd 1.0, Nd 2: c = 12.5, (1.0·0.25·18 + 5.1·12.5)/3 = 68.25/3 = 22.75.
    ASSERT_EQ(doc->recordCount(0), 2);
    EXPECT_EQ(recordRow(0, 0), list({"0.25", "3", "25", "粘性土", "r1", "1.0", "2.0", "22.8", "51001_930_1000"}));
    EXPECT_EQ(recordRow(0, 1), list({"0.5", "10", "0", "砂質土", "", "0.0", "10.0", "93.6", "51001_930_1000"}));
    // Sand, 1 m, Nd 10: 144.75.
    EXPECT_EQ(recordRow(1, 0), list({"1", "10", "0", "砂質土", "x", "0.0", "10.0", "144.8", "051001_1010_1020"}));

    EXPECT_FALSE(doc->hasUnsavedChanges());
    EXPECT_TRUE(env.ui.statusTexts().contains(QStringLiteral("データの呼び出し中...")));
    EXPECT_EQ(env.ui.statusText(), QStringLiteral("データを呼び出しました｡"));
}

TEST_F(Document, LoadRefusesAnythingButAnExistingNumber)
{
    EXPECT_EQ(load(QStringLiteral("abc")), Outcome::NotDone);
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("調査地区Noの欄に数値を入れて実行して下さい｡"));
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_EQ(load(QStringLiteral("99")), Outcome::NotDone);
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データ登録されていませんでした｡"));
    EXPECT_EQ(doc->pointCount(), 0);
    EXPECT_EQ(doc->header(HeaderField::現場名), QString());
}

TEST_F(Document, SavingWritesTheRowsTheStatementsWrite)
{
    ASSERT_EQ(load(), Outcome::Done);
    env.ui.queueAnswer(MessageAnswer::Yes);
    const SaveResult result = doc->save();
    ASSERT_EQ(result.outcome, Outcome::Done);
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データを上書きしてもよろしいですか?"));
    EXPECT_EQ(env.ui.lastMessage().buttons, MessageButtons::YesNo);
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Question);

    EXPECT_EQ(survey(), list({"5|現場A|東京都|目的|責任者|調査者|0930|1130|20010228|晴れ|12.5|一般|O'Neill"}));
    // Points keep the date and times they were loaded with; the printed
    // number is the shown one; the print mark is the check box.
    const QStringList p = points();
    ASSERT_EQ(p.size(), 2);
    EXPECT_TRUE(p[0].startsWith(QStringLiteral("5|1|51001|930|1000|0.5||記事1|1|"))) << p[0].toStdString();
    EXPECT_TRUE(p[1].startsWith(QStringLiteral("5|2|051001|1010|1020||-1.2||P2|"))) << p[1].toStdString();
    EXPECT_NE(p[0].section(u'|', 9), p[1].section(u'|', 9));   // printed / not printed
    // Records take their key from the hidden column, padded to 6 and 4 digits;
    // torque back in kN·cm; soils by index.
    EXPECT_EQ(records(), list({"5|1|051001|0930|1000|0.25|3|2.5|2|r1", "5|1|051001|0930|1000|0.5|10|0|1|",
                               "5|2|051001|1010|1020|1|10|0|1|x"}));
    EXPECT_FALSE(doc->hasUnsavedChanges());
    EXPECT_EQ(env.ui.statusText(), QString());
}

TEST_F(Document, TorqueInBothUnitsAndEditedCellsAreSaved)
{
    ASSERT_EQ(load(), Outcome::Done);
    EXPECT_EQ(doc->recordCell(0, 0, RecordColumn::トルク), QStringLiteral("25"));
    // Edited by the user: marked changed and recalculated.
    // Clay, shown 30 N·m: ⊿Nd = 1.2, Nd = 3 − 1.2 = 1.8; c = 11.25,
    // qa = (4.5 + 5.1·11.25)/3 = 61.875/3 = 20.625.
    EXPECT_EQ(doc->setRecordCell(0, 0, RecordColumn::トルク, QStringLiteral("30"), EditSource::User), Outcome::Done);
    EXPECT_TRUE(doc->hasUnsavedChanges());
    EXPECT_EQ(recordRow(0, 0).mid(5, 3), list({"1.2", "1.8", "20.6"}));
    doc->pickSoil(0, 1, QStringLiteral("ローム"));
    env.ui.queueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(doc->save().outcome, Outcome::Done);
    EXPECT_EQ(records(), list({"5|1|051001|0930|1000|0.25|3|3|2|r1", "5|1|051001|0930|1000|0.5|10|0|5|",
                               "5|2|051001|1010|1020|1|10|0|1|x"}));

    // Shown in kN·cm: 3 is shown as it is and written back the same.
    env.state.settings.試験名単位切替 = false;
    ASSERT_EQ(load(), Outcome::Done);
    EXPECT_EQ(doc->recordCell(0, 0, RecordColumn::トルク), QStringLiteral("3"));
    EXPECT_EQ(doc->recordCell(0, 1, RecordColumn::推定土質), QStringLiteral("ローム"));
    doc->setRecordCell(0, 0, RecordColumn::トルク, QStringLiteral("2.5"), EditSource::User);
    env.ui.queueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(doc->save().outcome, Outcome::Done);
    EXPECT_EQ(records().first(), QStringLiteral("5|1|051001|0930|1000|0.25|3|2.5|2|r1"));
}

TEST_F(Document, ValidationNamesTheFirstBadFieldAndChangesNothing)
{
    ASSERT_EQ(load(), Outcome::Done);
    const QStringList before = everything();
    struct Case {
        HeaderField field;
        const char* text;
    };
    for (const Case& c : {Case{HeaderField::標高, "高い"}, Case{HeaderField::調査日, "2001/02/30"},
                          Case{HeaderField::開始時刻, "25:00"}, Case{HeaderField::終了時刻, "9時"},
                          Case{HeaderField::調査地区No, "五"}}) {
        const QString old = doc->header(c.field);
        doc->setHeader(c.field, QString::fromUtf8(c.text), EditSource::User);
        const SaveResult result = doc->save();
        EXPECT_EQ(result.outcome, Outcome::NotDone);
        ASSERT_TRUE(result.invalid && result.invalid->field);
        EXPECT_EQ(*result.invalid->field, c.field);
        EXPECT_EQ(env.ui.lastMessage().text, Incomplete);
        EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Information);
        doc->setHeader(c.field, old);
    }
    // The number is checked before the others.
    doc->setHeader(HeaderField::標高, QStringLiteral("x"));
    doc->setHeader(HeaderField::調査地区No, QStringLiteral(""));
    EXPECT_EQ(*doc->save().invalid->field, HeaderField::調査地区No);
    doc->setHeader(HeaderField::調査地区No, QStringLiteral("5"));
    doc->setHeader(HeaderField::標高, QStringLiteral("  "));   // blank is fine
    // A record cell that is not a number is named by point, row and column.
    doc->setRecordCell(1, 0, RecordColumn::打撃回数, QStringLiteral("40000"));
    const SaveResult cell = doc->save();
    ASSERT_TRUE(cell.invalid);
    EXPECT_FALSE(cell.invalid->field);
    EXPECT_EQ(cell.invalid->point, 1);
    EXPECT_EQ(cell.invalid->row, 0);
    EXPECT_EQ(cell.invalid->column, RecordColumn::打撃回数);
    EXPECT_EQ(everything(), before);
}

TEST_F(Document, DecliningTheOverwriteOrAFailedSaveLeavesTheDatabaseAsItWas)
{
    ASSERT_EQ(load(), Outcome::Done);
    const QStringList before = everything();
    doc->setHeader(HeaderField::現場名, QStringLiteral("変更"), EditSource::User);
    env.ui.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(doc->save().outcome, Outcome::NotDone);
    EXPECT_EQ(everything(), before);

    // A point number longer than the column fails after the old survey was
    // deleted and the new site row written: all of it is rolled back.
    doc->setPointNumber(1, QStringLiteral("12345"), EditSource::User);
    env.ui.queueAnswer(MessageAnswer::Yes);
    const std::size_t messages = env.ui.messages().size();
    EXPECT_EQ(doc->save().outcome, Outcome::NotDone);
    EXPECT_EQ(env.ui.messages().size(), messages + 2);   // the question, then the report
    EXPECT_EQ(everything(), before);
    EXPECT_FALSE(env.db().inTransaction());
    // A survey number outside 1..2147483647 is refused before anything is written.
    for (const char* number : {"0", "-4", "2147483648"}) {
        doc->setHeader(HeaderField::調査地区No, QString::fromUtf8(number));
        EXPECT_EQ(doc->save().outcome, Outcome::NotDone);
        EXPECT_EQ(env.ui.lastMessage().text, test::OverflowText);
        EXPECT_EQ(everything(), before);
    }
    doc->setHeader(HeaderField::調査地区No, survey().first().section(u'|', 0, 0));
    // Put right, the same document saves.
    doc->setPointNumber(1, QStringLiteral("2"), EditSource::User);
    env.ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(doc->save().outcome, Outcome::Done);
    EXPECT_EQ(survey().first().section(u'|', 1, 1), QStringLiteral("変更"));
}

TEST_F(Document, NewSurveyWithAddedPointsAndRows)
{
    doc->clear();
    EXPECT_EQ(doc->header(HeaderField::調査日), QStringLiteral("2024/01/02"));
    EXPECT_EQ(doc->header(HeaderField::開始時刻), QStringLiteral("09:41"));
    EXPECT_EQ(doc->header(HeaderField::提出先), QStringLiteral("一般"));
    doc->setHeader(HeaderField::調査地区No, QStringLiteral("7"));
    const int p = doc->addPoint(QStringLiteral("A1"));
    EXPECT_EQ(doc->pointCell(p, PointColumn::印刷), QStringLiteral("1"));
    EXPECT_EQ(doc->pointCell(p, PointColumn::開始日時), QStringLiteral("2024/01/02_09:41"));
    const int r = doc->addRecord(p);
    doc->setRecordCell(p, r, RecordColumn::貫入長, QStringLiteral("1.0"), EditSource::User);
    doc->setRecordCell(p, r, RecordColumn::打撃回数, QStringLiteral("10"), EditSource::User);
    doc->setRecordCell(p, r, RecordColumn::トルク, QStringLiteral("0"), EditSource::User);
    doc->pickSoil(p, r, QStringLiteral("砂質土"));
    EXPECT_EQ(recordRow(p, r).mid(5, 3), list({"0.0", "10.0", "144.8"}));
    // A second row left empty is saved with Null numbers.
    doc->addRecord(p);

    const SaveResult result = doc->save();   // no question: the number is new
    ASSERT_EQ(result.outcome, Outcome::Done);
    EXPECT_EQ(env.ui.lastMessage().text, QString());
    // An added point is dated YYYYMMDD with the time as hours and seconds.
    // (The printed number stays empty until typed; the print box is checked.)
    EXPECT_EQ(points().last(), QStringLiteral("7|A1|20240102|0907|0907|||||-1"));
    const QStringList saved = rows(QStringLiteral("SELECT 日付,開始時刻,貫入深さ,打撃回数,トルク,推定土質 FROM 測点データ "
                                                  "WHERE 調査地区No = 7 ORDER BY 貫入深さ;"));
    EXPECT_EQ(saved, list({"20240102|0907||||0", "20240102|0907|1|10|0|1"}));
}

TEST_F(Document, DeletingPointsMovesTheFollowingGridsDown)
{
    ASSERT_EQ(load(), Outcome::Done);
    const int added = doc->addPoint(QStringLiteral("3"));
    doc->addRecord(added);
    QSignalSpy removed(&doc->events(), &SurveyDocumentEvents::pointsRemoved);
    doc->deletePointRows({0});
    EXPECT_EQ(removed.count(), 1);
    ASSERT_EQ(doc->pointCount(), 2);
    EXPECT_EQ(doc->pointNumber(0), QStringLiteral("2"));
    EXPECT_EQ(doc->recordCell(0, 0, RecordColumn::記事), QStringLiteral("x"));
    EXPECT_EQ(doc->recordCount(1), 1);
    EXPECT_TRUE(doc->hasUnsavedChanges());

    doc->deleteRecordRows(0, {0});
    EXPECT_EQ(doc->recordCount(0), 0);
    env.ui.queueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(doc->save().outcome, Outcome::Done);
    EXPECT_EQ(rows(QStringLiteral("SELECT 測点No FROM 測点 WHERE 調査地区No = 5 ORDER BY 測点No;")),
              list({"2", "3"}));
    EXPECT_EQ(rows(QStringLiteral("SELECT 測点No FROM 測点データ WHERE 調査地区No = 5;")), list({"3"}));
}

TEST_F(Document, RecalculationLooksEachSoilUpOncePerTable)
{
    ASSERT_EQ(load(), Outcome::Done);
    QSignalSpy changed(&doc->events(), &SurveyDocumentEvents::recordsChanged);
    // Two soils in the survey: the batch starts at 砂質土 (the cache holds the
    // last soil of the load's batch, 粘性土), so 2 soils × 3 tables.
    quint64 before = env.db().statementCount();
    doc->recalculateAll();
    EXPECT_EQ(env.db().statementCount() - before, 6u);
    EXPECT_EQ(changed.count(), 2);   // one notice per data grid
    EXPECT_EQ(env.ui.statusTexts().mid(env.ui.statusTexts().size() - 2),
              list({"計算中...", "計算終了"}));

    // After an editor saved, every row queries each table it needs.
    env.state.formulaChanges->give();
    before = env.db().statementCount();
    doc->recalculateAll();
    EXPECT_EQ(env.db().statementCount() - before, 9u);   // 3 rows × 3 tables

    // A soil listed twice in the soil master is still computed once.
    env.lists.soil.append(env.lists.soil.at(1));
    env.state.formulaChanges->give();
    before = env.db().statementCount();
    doc->recalculateAll();
    EXPECT_EQ(env.db().statementCount() - before, 9u);
}

TEST_F(Document, ChangingTheCustomerRecalculatesEveryRow)
{
    env.addCustomer(QStringLiteral("倍"), 2, QStringLiteral("砂質土"), QStringLiteral("0, 0.8, 1"),
                    QStringLiteral("0, 1, 1, 1, 1"), 0);
    ASSERT_EQ(load(), Outcome::Done);
    doc->setRecordCell(1, 0, RecordColumn::トルク, QStringLiteral("25"), EditSource::User);
    EXPECT_EQ(recordRow(1, 0).mid(5, 3), list({"1.0", "9.0", doc->recordCell(1, 0, 8).toUtf8().constData()}));
    ASSERT_EQ(doc->setHeader(HeaderField::提出先, QStringLiteral("倍"), EditSource::User), Outcome::Done);
    // ⊿Nd = 0.8·2.5 = 2.0, Nd 8.0, no qa series; clay has no row in this series.
    EXPECT_EQ(recordRow(1, 0).mid(5, 3), list({"2.0", "8.0", ""}));
    EXPECT_EQ(recordRow(0, 0).mid(5, 3), list({"0.0", "", ""}));
    EXPECT_TRUE(doc->hasUnsavedChanges());
}

TEST_F(Document, AFailingLookupIsRetriedSkippedOrStopsTheRecalculation)
{
    ASSERT_EQ(load(), Outcome::Done);
    const QStringList computedBefore = recordRow(0, 0).mid(5, 3);
    ASSERT_FALSE(computedBefore.first().isEmpty());
    // The ⊿Nd table is gone, and every lookup queries the database.
    env.db().execute(QStringLiteral("DROP TABLE mstRNd値計算式;"));
    env.state.formulaChanges->give();

    const struct {
        std::vector<MessageAnswer> answers;
        Outcome outcome;
        std::size_t questions;
        bool rowsEmptied;
    } cases[] = {
        {{MessageAnswer::Abort}, Outcome::NotDone, 1, false},
        {{MessageAnswer::Retry, MessageAnswer::Abort}, Outcome::NotDone, 2, false},
        // The other rows fail alike and are skipped without a question.
        {{MessageAnswer::Ignore}, Outcome::Done, 1, true},
    };
    for (const auto& c : cases) {
        env.ui.clear();
        for (MessageAnswer answer : c.answers)
            env.ui.queueAnswer(answer);
        EXPECT_EQ(doc->recalculateAll(), c.outcome);
        ASSERT_EQ(env.ui.messages().size(), c.questions);
        for (const test::RecordedMessage& message : env.ui.messages()) {
            EXPECT_EQ(message.buttons, MessageButtons::AbortRetryIgnore);
            EXPECT_EQ(message.defaultButton, MessageAnswer::Abort);
        }
        for (auto [point, row] : {std::pair{0, 0}, {0, 1}, {1, 0}}) {
            const QStringList shown = recordRow(point, row).mid(5, 3);
            if (c.rowsEmptied) {
                EXPECT_EQ(shown, QStringList({"", "", ""}));
            } else if (point == 0 && row == 0) {
                EXPECT_EQ(shown, computedBefore);
            }
        }
    }
}
