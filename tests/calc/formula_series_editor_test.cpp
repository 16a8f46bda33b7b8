// The formula series editors' commands on the shipped database: the rows the
// formula tables and the customer master hold afterwards, the records of
// qaTbl.tbl, and every message the user was shown.

#include "support/database_rows.h"
#include "calc/calc_test_environment.h"
#include "calc/formula_series_editor.h"
#include "calc/formula_sets.h"
#include "calc/qa_param_file_writer.h"
#include "db/record_set.h"

#include <QFile>

using namespace vortan;
using namespace vortan::calc;

namespace {

const QString Overwrite = QStringLiteral("データを上書きしてもよろしいですか?");
const QString Saved = QStringLiteral("データを保存しました。");
const QString Incomplete = QStringLiteral("入力項目が不完全です｡表示されている内容をチェックした上で保存して下さい｡");

using test::list;

struct SeriesEditor : ::testing::Test {
    test::CalcEnvironment env;

    FormulaSeriesEditor make(FormulaTable table)
    {
        return FormulaSeriesEditor(table, FormulaSeriesEditor::Services{env.state, env.workspace, env.ui});
    }

    QStringList rows(const QString& sql) { return test::rows(env.db(), sql); }

    QStringList rndRows(int code)
    {
        return rows(QStringLiteral("SELECT 土質名, メモ, A, B, C FROM mstRNd値計算式 WHERE 計算式コード = %1;").arg(code));
    }

    QStringList customerCodes()
    {
        return rows(QStringLiteral("SELECT 得意先名, Nd値計算式コード, qu値計算式コード, Qa値計算式コード FROM mst得意先 "
                                   "ORDER BY 得意先名;"));
    }

    static void fillSoil(FormulaSeriesEditor& editor, int row, QStringList cells)
    {
        for (int c = 0; c < cells.size(); ++c)
            editor.soils().setCell(row, c, cells.at(c));
    }

    QList<QaParamRecord> fileRecords()
    {
        QFile file(env.files.qaParameterFile());
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(bytes.size() % QaParamRecordSize, 0);
        QList<QaParamRecord> out;
        for (qsizetype i = 0; i + QaParamRecordSize <= bytes.size(); i += QaParamRecordSize)
            out << decodeQaParamRecord(QByteArrayView(bytes).sliced(i, QaParamRecordSize));
        return out;
    }
};

TEST_F(SeriesEditor, LoadFillsSoilsCustomersAndTellsWhatIsMissing)
{
    FormulaSeriesEditor editor = make(FormulaTable::Nd);
    editor.setCode(QStringLiteral("1"));
    ASSERT_EQ(editor.load(), EditorOutcome::Done);
    // Five soils and the spare row; A..E then メモ.
    ASSERT_EQ(editor.soils().rowCount(), 6);
    EXPECT_EQ(editor.soils().row(1), list({"粘性土", "0", "1", "1", "1", "1", "Nd=Ndm-⊿Nd"}));
    EXPECT_EQ(editor.soils().usedRowCount(), 5);
    EXPECT_EQ(editor.customers().row(0), list({"一般"}));
    EXPECT_EQ(env.ui.statusText(), QStringLiteral("データを呼び出しました。"));
    EXPECT_FALSE(editor.hasUnsavedChanges());

    env.ui.clear();
    editor.setCode(QStringLiteral("7"));
    EXPECT_EQ(editor.load(), EditorOutcome::Done);
    EXPECT_EQ(env.ui.messageTexts(),
              list({"データ登録されていませんでした｡", "計算式使用客先は登録されていませんでした｡"}));
    EXPECT_EQ(editor.soils().usedRowCount(), 0);

    env.ui.clear();
    editor.setCode(QStringLiteral("abc"));
    EXPECT_EQ(editor.load(), EditorOutcome::NotDone);
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("計算式の系列コードの欄に数値を入れて実行して下さい｡"));
}

TEST_F(SeriesEditor, SavingAnExistingSeriesAsksAndReplacesItsSoilRows)
{
    FormulaSeriesEditor editor = make(FormulaTable::RNd);
    editor.setCode(QStringLiteral("1"));
    ASSERT_EQ(editor.load(), EditorOutcome::Done);
    // Keep two soils: sand with a new coefficient, clay as it was.
    editor.soils().clear(0);
    fillSoil(editor, 0, list({"砂質土", "0.5", "0.3", "1.2", "新"}));
    fillSoil(editor, 1, list({"粘性土", "0", "0.4", "1", "⊿Nd=0.40Mv"}));
    editor.soils().appendRow();

    // Declining keeps every row.
    env.ui.clear();
    env.ui.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(editor.save(), EditorOutcome::NotDone);
    EXPECT_EQ(env.ui.messageTexts(), QStringList({Overwrite, QStringLiteral("データの保存はキャンセルされました。")}));
    EXPECT_EQ(env.ui.messages().front().icon, MessageIcon::Question);
    EXPECT_EQ(env.ui.messages().front().buttons, MessageButtons::YesNo);
    EXPECT_EQ(rndRows(1).size(), 5);
    EXPECT_FALSE(env.state.formulaChanges->given());

    env.ui.clear();
    env.ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(editor.save(), EditorOutcome::Done);
    EXPECT_EQ(env.ui.messageTexts(), QStringList({Overwrite, Saved}));
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_EQ(rndRows(1), list({"砂質土|新|0.5|0.3|1.2", "粘性土|⊿Nd=0.40Mv|0|0.4|1"}));
    EXPECT_TRUE(env.state.formulaChanges->given());
    EXPECT_FALSE(editor.hasUnsavedChanges());
}

TEST_F(SeriesEditor, ANewSeriesIsSavedWithoutQuestionAndTakesItsCustomersFromOtherSeries)
{
    env.db().execute(QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,Qa値計算式コード,qu値計算式コード) "
                                    "VALUES ('O''Neill', 1, 1, 1);"));
    env.db().execute(QStringLiteral("INSERT INTO mst得意先 (得意先名,Nd値計算式コード,Qa値計算式コード,qu値計算式コード) "
                                    "VALUES ('丙', 2, 1, 1);"));
    FormulaSeriesEditor editor = make(FormulaTable::RNd);
    editor.setCode(QStringLiteral("2"));
    fillSoil(editor, 0, list({"砂質土", "1", "2", "", "O'memo"}));
    editor.customers().setCell(0, 0, QStringLiteral("O'Neill"));

    EXPECT_EQ(editor.save(), EditorOutcome::Done);
    EXPECT_EQ(env.ui.messageTexts(), QStringList({Saved}));
    // An empty coefficient is stored as 0; quotes are stored as typed.
    EXPECT_EQ(rndRows(2), list({"砂質土|O'memo|1|2|0"}));
    // O'Neill moved from series 1 to 2; 丙, no longer listed, has none; the
    // other tables' bindings are untouched.
    EXPECT_EQ(customerCodes(), list({"O'Neill|2|1|1", "一般|1|1|1", "丙|0|1|1"}));
}

TEST_F(SeriesEditor, IncompleteInputIsRefusedWithItsMessage)
{
    FormulaSeriesEditor editor = make(FormulaTable::RNd);
    editor.setCode(QStringLiteral("3"));
    // A used row without a soil name (an empty row before a filled one).
    fillSoil(editor, 1, list({"砂質土", "1", "2", "3", ""}));
    EXPECT_TRUE(editor.hasInvalidInput());
    fillSoil(editor, 0, list({"粘性土", "x", "2", "3", ""}));
    EXPECT_TRUE(editor.hasInvalidInput());   // a coefficient that is no number
    editor.soils().setCell(0, 1, QStringLiteral("1"));
    EXPECT_FALSE(editor.hasInvalidInput());
    editor.customers().setCell(1, 0, QStringLiteral("一般"));
    EXPECT_TRUE(editor.hasInvalidInput());   // customer row 0 is empty
    editor.customers().removeRows({0});
    editor.setCode(QStringLiteral("40000"));
    EXPECT_TRUE(editor.hasInvalidInput());   // beyond 16 bits

    EXPECT_EQ(editor.save(), EditorOutcome::NotDone);
    EXPECT_EQ(env.ui.lastMessage().text, Incomplete);
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_TRUE(rndRows(3).isEmpty());
}

TEST_F(SeriesEditor, AfterADeleteTheCustomersHaveNoSeriesAndComputeNoCorrection)
{
    FormulaSetCache cache(env.workspace, env.state);
    const RNdSet before = cache.lookUpRNd(QStringLiteral("一般"), QStringLiteral("砂質土"));
    EXPECT_FLOAT_EQ(before.b, 0.4f);

    FormulaSeriesEditor editor = make(FormulaTable::RNd);
    editor.setCode(QStringLiteral("1"));
    env.ui.queueAnswer(MessageAnswer::Yes);
    EXPECT_EQ(editor.deleteSeries(), EditorOutcome::Done);
    EXPECT_EQ(env.ui.messageTexts(), list({"表示されているデータを削除しますか?", "データを削除しました。"}));
    EXPECT_TRUE(env.state.formulaChanges->given());
    EXPECT_TRUE(rndRows(1).isEmpty());
    EXPECT_EQ(customerCodes(), list({"一般|0|1|1"}));

    const RNdSet after = cache.lookUpRNd(QStringLiteral("一般"), QStringLiteral("砂質土"));
    EXPECT_EQ(after.a, 0.0f);
    EXPECT_EQ(after.b, 0.0f);
    EXPECT_EQ(after.c, 0.0f);
    // The calculation of a row shows no correction value for the customer.
    const RowTexts row = env.row(QStringLiteral("0.25"), QStringLiteral("10"), QStringLiteral("2.5"),
                                 QStringLiteral("砂質土"));
    EXPECT_EQ(row.deltaNd, QStringLiteral("0.0"));
}

TEST_F(SeriesEditor, DeclinedDeleteKeepsTheSeries)
{
    FormulaSeriesEditor editor = make(FormulaTable::Nd);
    editor.setCode(QStringLiteral("1"));
    env.ui.queueAnswer(MessageAnswer::No);
    EXPECT_EQ(editor.deleteSeries(), EditorOutcome::NotDone);
    EXPECT_EQ(rows(QStringLiteral("SELECT 土質名 FROM mstNd値計算式 WHERE 計算式コード = 1;")).size(), 5);
    EXPECT_EQ(customerCodes(), list({"一般|1|1|1"}));
    EXPECT_FALSE(env.state.formulaChanges->given());
}

TEST_F(SeriesEditor, NdSeriesIsBoundThroughItsOwnColumn)
{
    FormulaSeriesEditor editor = make(FormulaTable::Nd);
    editor.setCode(QStringLiteral("4"));
    fillSoil(editor, 0, list({"粘性土", "1", "2", "3", "4", "5", "m"}));
    editor.customers().setCell(0, 0, QStringLiteral("一般"));
    EXPECT_EQ(editor.save(), EditorOutcome::Done);
    EXPECT_EQ(rows(QStringLiteral("SELECT 土質名, メモ, A, B, C, D, E FROM mstNd値計算式 WHERE 計算式コード = 4;")),
              list({"粘性土|m|1|2|3|4|5"}));
    EXPECT_EQ(customerCodes(), list({"一般|1|4|1"}));
    EXPECT_EQ(env.ui.busyCalls().front().message, QStringLiteral("データの保存中..."));
}

TEST_F(SeriesEditor, QaSeriesOfThreeSoilsLeavesExactlyThreeRecordsAfterTheOthers)
{
    // Another series in the file, which must survive the rewrite.
    QaParamRecord other;
    other.seriesCode = 9;
    other.soilName = QStringLiteral("砂質土");
    other.p[0] = 42;
    ReplaceQaSeries(env.files.folder(), 9, {other});
    const QList<QaParamRecord> before = fileRecords();

    FormulaSeriesEditor editor = make(FormulaTable::Qa);
    editor.setCode(QStringLiteral("1"));
    ASSERT_EQ(editor.load(), EditorOutcome::Done);
    // The shipped series: one parameter row per record and a spare one.
    EXPECT_EQ(editor.qaGrid(10).row(0), list({"15", "20", "0.5"}));
    EXPECT_EQ(editor.qaGrid(7).row(1).at(4), QStringLiteral("6.25"));
    EXPECT_EQ(editor.roundingMode(), 1);

    editor.soils().clear(0);
    editor.soils().setCell(0, 0, QStringLiteral(" 砂質土 "));
    editor.soils().setCell(1, 0, QStringLiteral("粘性土"));
    editor.soils().setCell(2, 0, QStringLiteral("ローム"));
    editor.soils().setCell(2, 1, QStringLiteral("関東ローム"));
    for (int g = 0; g < QaParamGroupCount; ++g)
        editor.qaGrid(g).clear(4);
    editor.qaGrid(0).setCell(0, 0, QStringLiteral("1.5"));
    editor.qaGrid(10).setCell(1, 2, QStringLiteral("0.25"));
    editor.qaGrid(3).setCell(2, 6, QStringLiteral("7"));   // α's G of the third soil
    editor.setRoundingMode(2);

    env.ui.queueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(editor.save(), EditorOutcome::Done);
    EXPECT_EQ(rows(QStringLiteral("SELECT 土質名, メモ, A, G FROM mstQa値計算式 WHERE 計算式コード = 1;")),
              list({"砂質土||0|0", "粘性土||0|0", "ローム|関東ローム|0|0"}));

    const QList<QaParamRecord> after = fileRecords();
    QList<QaParamRecord> kept;
    for (const QaParamRecord& record : before)
        if (record.seriesCode != 1)
            kept << record;
    ASSERT_EQ(after.size(), kept.size() + 3);
    for (int i = 0; i < kept.size(); ++i)
        EXPECT_EQ(encodeQaParamRecord(after[i]), encodeQaParamRecord(kept[i]));
    const QStringList soils = list({"砂質土", "粘性土", "ローム"});
    for (int k = 0; k < 3; ++k) {
        const QaParamRecord& record = after[kept.size() + k];
        EXPECT_EQ(record.seriesCode, 1);
        EXPECT_EQ(record.soilName.trimmed(), soils[k]);
        EXPECT_EQ(record.roundingMode, 2);
    }
    EXPECT_FLOAT_EQ(after[kept.size()].P(1), 1.5f);
    EXPECT_FLOAT_EQ(after[kept.size() + 1].P(54), 0.25f);
    EXPECT_FLOAT_EQ(after[kept.size() + 2].P(25), 7.0f);
    EXPECT_FALSE(QFile::exists(env.files.path(QStringLiteral("Qadel.tbl"))));
}

TEST_F(SeriesEditor, QaParametersBelongToTheirSoilByNameAndAnEmptyRowWritesNoRecord)
{
    // Series 7 lists three soils; its records stand in another order, and one
    // is for a soil the series does not list.
    for (const char* soil : {"砂質土", "粘性土", "礫質土"})
        env.db().execute(QStringLiteral("INSERT INTO mstQa値計算式 (計算式コード,土質名,メモ,A,B,C,D,E,F,G) VALUES "
                                        "('7', '%1', '', '0', '0', '0', '0', '0', '0', '0');")
                             .arg(QString::fromUtf8(soil)));
    std::vector<QaParamRecord> records(3);
    const char* names[] = {"粘性土", "砂質土", "火山灰"};
    for (int k = 0; k < 3; ++k) {
        records[static_cast<std::size_t>(k)].seriesCode = 7;
        records[static_cast<std::size_t>(k)].soilName = QString::fromUtf8(names[k]);
        records[static_cast<std::size_t>(k)].p[0] = static_cast<float>(k + 1);
    }
    ReplaceQaSeries(env.files.folder(), 7, records);

    FormulaSeriesEditor editor = make(FormulaTable::Qa);
    editor.setCode(QStringLiteral("7"));
    ASSERT_EQ(editor.load(), EditorOutcome::Done);
    QStringList soils, firstParameters;
    for (int r = 0; r < editor.soils().usedRowCount(); ++r) {
        soils << editor.soils().cell(r, 0);
        firstParameters << editor.qaGrid(0).cell(r, 0);
    }
    EXPECT_EQ(soils, list({"砂質土", "粘性土", "礫質土", "火山灰"}));
    EXPECT_EQ(firstParameters, list({"2", "1", "", "3"}));

    // Parameters without their soil are refused.
    editor.soils().setCell(3, 0, QString());
    ASSERT_EQ(editor.save(), EditorOutcome::NotDone);
    EXPECT_EQ(env.ui.lastMessage().text, Incomplete);

    editor.soils().setCell(3, 0, QStringLiteral("火山灰"));
    env.ui.queueAnswer(MessageAnswer::Yes);
    ASSERT_EQ(editor.save(), EditorOutcome::Done);
    QStringList written;
    for (const QaParamRecord& record : fileRecords())
        if (record.seriesCode == 7)
            written << record.soilName.trimmed() + QStringLiteral("=") + QString::number(record.P(1));
    EXPECT_EQ(written, list({"砂質土=2", "粘性土=1", "火山灰=3"}));
}

} // namespace
