// The master editors on the shipped database: which table each caption edits
// with which columns, and the rows a table holds after loading and saving.

#include "support/database_rows.h"
#include "calc/calc_test_environment.h"
#include "db/record_set.h"
#include "sheet/master_definitions.h"
#include "sheet/master_editor.h"

using namespace vortan;
using namespace vortan::sheet;

namespace {

using test::list;

struct Masters : ::testing::Test {
    test::CalcEnvironment env;

    MasterEditor make(const char* caption)
    {
        const MasterDefinition* master = FindMasterByCaption(QString::fromUtf8(caption));
        EXPECT_NE(master, nullptr);
        return MasterEditor(*master, MasterEditor::Services{env.state, env.workspace, env.ui});
    }

    QStringList rows(const QString& sql) { return test::rows(env.db(), sql); }

    QStringList gridRows(const MasterEditor& editor)
    {
        QStringList out;
        for (int r = 0; r < editor.grid().rowCount(); ++r)
            out << editor.grid().row(r).join(u'|');
        return out;
    }
};

TEST_F(Masters, LoadWithAndWithoutMessagesKeepsASpareRow)
{
    MasterEditor soils = make("土質マスタの編集");
    ASSERT_EQ(soils.load(true), calc::EditorOutcome::Done);
    EXPECT_EQ(gridRows(soils), list({"砂質土|8454143|", "粘性土|3368601|", "礫質土|3381759|", "腐植土|2636880|",
                                     "ローム|2642112|", "||"}));
    EXPECT_EQ(env.ui.messageTexts(), list({"データを呼び出しました。"}));
    EXPECT_EQ(env.ui.busyCalls().front().message, QStringLiteral("データの呼び出し中..."));
    EXPECT_EQ(env.ui.statusText(), QString());
    EXPECT_FALSE(soils.hasUnsavedChanges());

    env.ui.clear();
    MasterEditor names = make("姓名マスタの編集");
    names.clear();
    ASSERT_EQ(names.load(true), calc::EditorOutcome::Done);
    EXPECT_EQ(env.ui.messageTexts(), list({"データ登録されていませんでした｡"}));
    EXPECT_EQ(gridRows(names), list({""}));

    env.ui.clear();
    MasterEditor weather = make("天候マスタの編集");
    ASSERT_EQ(weather.load(false), calc::EditorOutcome::Done);
    EXPECT_TRUE(env.ui.messages().empty());
    EXPECT_EQ(weather.grid().usedRowCount(), 6);
    EXPECT_EQ(weather.grid().rowCount(), 7);
}

TEST_F(Masters, AnUnchangedSoilMasterSavedKeepsItsRowsAndOrder)
{
    const QString query = QStringLiteral("SELECT 土質名, 表示色 FROM mst土質 ORDER BY xNo;");
    const QStringList before = rows(query);
    MasterEditor soils = make("土質マスタの編集");
    ASSERT_EQ(soils.load(false), calc::EditorOutcome::Done);
    ASSERT_EQ(soils.save(), calc::EditorOutcome::Done);
    EXPECT_EQ(rows(query), before);
    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("データを保存しました。"));
    EXPECT_EQ(env.ui.lastMessage().icon, MessageIcon::Information);
    EXPECT_TRUE(env.state.formulaChanges->given());

    // Moved rows keep the grid's order.
    soils.deleteRows({0});
    soils.grid().setCell(4, 0, QStringLiteral("砂質土"));
    soils.grid().setCell(4, 1, QStringLiteral("255"));
    EXPECT_TRUE(soils.hasUnsavedChanges());
    ASSERT_EQ(soils.save(), calc::EditorOutcome::Done);
    EXPECT_EQ(rows(query), list({"粘性土|3368601", "礫質土|3381759", "腐植土|2636880", "ローム|2642112", "砂質土|255"}));
    EXPECT_FALSE(soils.hasUnsavedChanges());
}

TEST_F(Masters, AnEmptyRowBetweenFilledRowsSavesAnEmptyValue)
{
    MasterEditor purposes = make("調査目的マスタの編集");
    purposes.grid().clear(5);
    purposes.grid().setCell(0, 0, QStringLiteral("一"));
    purposes.grid().setCell(2, 0, QStringLiteral("三"));
    ASSERT_EQ(purposes.save(), calc::EditorOutcome::Done);
    // The trailing empty rows are not written.
    EXPECT_EQ(rows(QStringLiteral("SELECT 調査目的 FROM mst調査目的;")), list({"一", "", "三"}));
}

TEST_F(Masters, CustomerCodesAreSavedAsNumbers)
{
    MasterEditor customers = make("得意先マスタの編集");
    ASSERT_EQ(customers.load(false), calc::EditorOutcome::Done);
    EXPECT_EQ(customers.grid().row(0), list({"一般", "1", "1", "1", "", "", ""}));
    customers.grid().setCell(1, 0, QStringLiteral("乙"));
    customers.grid().setCell(1, 1, QStringLiteral("2"));
    customers.grid().setCell(1, 3, QStringLiteral("3"));
    customers.grid().setCell(1, 5, QStringLiteral("0123"));
    ASSERT_EQ(customers.save(), calc::EditorOutcome::Done);
    EXPECT_EQ(rows(QStringLiteral("SELECT 得意先名, Nd値計算式コード, Qa値計算式コード, qu値計算式コード, TEL FROM mst得意先;")),
              list({"一般|1|1|1|", "乙|2|0|3|0123"}));
}

TEST_F(Masters, AFailingSaveIsReportedAndLeavesTheTableAsItWas)
{
    env.db().execute(QStringLiteral("INSERT INTO mst住所 (住所) VALUES ('本社');"));
    const QString query = QStringLiteral("SELECT 住所 FROM mst住所 ORDER BY 住所;");
    const QStringList before = rows(query);
    ASSERT_EQ(before.size(), 2);

    MasterEditor labels = make("住所マスタの編集");
    ASSERT_EQ(labels.load(false), calc::EditorOutcome::Done);
    labels.grid().setCell(2, 0, QStringLiteral("本社"));   // a duplicate label
    labels.markChanged();
    EXPECT_EQ(labels.save(), calc::EditorOutcome::NotDone);

    EXPECT_EQ(env.ui.lastMessage().text, QStringLiteral("保存しようとしたデータに重複があります。ご確認ください。3022"));
    EXPECT_EQ(rows(query), before);
    EXPECT_FALSE(env.db().inTransaction());
    EXPECT_TRUE(labels.hasUnsavedChanges());
    EXPECT_EQ(env.ui.statusText(), QString());
    // The table is usable afterwards: a corrected grid saves.
    labels.grid().setCell(2, 0, QStringLiteral("支店"));
    EXPECT_EQ(labels.save(), calc::EditorOutcome::Done);
    EXPECT_EQ(rows(query).size(), 3);
}

} // namespace
