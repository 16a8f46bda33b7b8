// The search window driven as a user drives it: typing into the criteria
// (with the keys each box refuses), searching, opening a survey from the
// grid on a real data sheet, and the address button.

#include "calc/calc_test_environment.h"
#include "db/master_lists.h"
#include "ui/sheet/data_sheet_window.h"
#include "sheet/search_result_model.h"
#include "sheet/survey_document.h"
#include "ui/sheet/survey_search_window.h"

#include "support/screen_driver.h"
#include "support/sql_fixture.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace vortan;
using namespace vortan::sheet;

namespace {

struct SearchWindow : ::testing::Test {
    test::CalcEnvironment env;
    std::unique_ptr<SurveySearchWindow> search;
    QStringList opened;

    void SetUp() override
    {
        test::runSqlFixture(env.db(), QStringLiteral("search_window_surveys.sql"));
        search = std::make_unique<SurveySearchWindow>(env.state, env.workspace, env.lists, env.ui);
        search->setSurveyOpener([this](const QString& number) { opened << number; });
    }

    template <typename T>
    T* control(const char* name) { return test::control<T>(*search, QString::fromUtf8(name)); }

    void press(const char* key) { control<QAction>(key)->trigger(); }

    QTableView* grid() { return control<QTableView>("vaSpread1"); }

    QString cell(int row, int column) { return grid()->model()->index(row, column).data().toString(); }
};

TEST_F(SearchWindow, BoxesRefuseTheKeysTheirValuesCannotHold)
{
    const struct {
        const char* box;
        const char* typed;
        const char* kept;
        int refused;
    } cases[] = {
        {"txt_開始時刻(0)", "9:3a0", "9:30", 1},
        {"txt_終了時刻(1)", "17/00", "1700", 1},
        {"txt_調査日(0)", "2001/2/3 x", "2001/2/3", 2},
        {"txt_調査日(1)", "12:00", "12:00", 0},
        {"txt_標高(0)", "-12.5m", "-12.5", 1},
        {"txt_標高(1)", "7.", "7.", 0},
    };
    for (const auto& c : cases) {
        env.ui.clear();
        auto* box = control<QLineEdit>(c.box);
        QTest::keyClicks(box, QString::fromUtf8(c.typed));
        EXPECT_EQ(box->text(), QString::fromUtf8(c.kept)) << c.box;
        EXPECT_EQ(env.ui.beepCount(), c.refused) << c.box;
        QTest::keyClick(box, Qt::Key_Backspace);
        EXPECT_EQ(box->text(), QString::fromUtf8(c.kept).chopped(1)) << c.box;
    }
    // The text fields take anything.
    QTest::keyClicks(control<QLineEdit>("txt_現場名"), "*-x?");
    EXPECT_EQ(control<QLineEdit>("txt_現場名")->text(), "*-x?");
}

TEST_F(SearchWindow, SelectionBoxesComeFromTheMasterListsAndAcceptTypedText)
{
    auto items = [](QComboBox* box) {
        QStringList list;
        for (int i = 0; i < box->count(); ++i)
            list << box->itemText(i);
        return list;
    };
    EXPECT_EQ(items(control<QComboBox>("cmb_提出先")), env.lists.customer.mid(1));
    EXPECT_EQ(items(control<QComboBox>("cmb_天候")), env.lists.weather.mid(1));
    EXPECT_EQ(items(control<QComboBox>("cmb_調査責任者")), env.lists.name.mid(1));
    EXPECT_EQ(items(control<QComboBox>("cmb_調査者")), env.lists.name.mid(1));
    EXPECT_EQ(items(control<QComboBox>("cmb_調査目的")), env.lists.purpose.mid(1));
    EXPECT_EQ(items(control<QComboBox>("cmb_調査地区記事")), env.lists.siteRemark.mid(1));
    EXPECT_TRUE(items(control<QComboBox>("cmb_提出先")).contains("一般"));
    for (const char* name : {"cmb_提出先", "cmb_天候", "cmb_調査地区記事"})
        EXPECT_EQ(control<QComboBox>(name)->currentText(), "") << name;
}

TEST_F(SearchWindow, SearchListsTheSurveysFoundWithStatusTexts)
{
    press("tb_検索実行");
    ASSERT_EQ(grid()->model()->rowCount(), 3);
    EXPECT_EQ(grid()->model()->columnCount(), 13);
    EXPECT_EQ(cell(0, 0), "3");
    EXPECT_EQ(cell(1, 0), "12");
    EXPECT_EQ(cell(1, 9), "2001/02/28");
    EXPECT_EQ(cell(1, 10), "09:30");
    EXPECT_EQ(cell(1, 11), "11:30");
    EXPECT_EQ(grid()->model()->headerData(0, Qt::Horizontal).toString(), "調査地区No");
    EXPECT_EQ(grid()->model()->headerData(12, Qt::Horizontal).toString(), "記事");
    EXPECT_EQ(env.ui.statusTexts(), QStringList({"データの検索中...", "3件見つかりました。"}));
    EXPECT_FALSE(env.ui.isBusy());

    // Enter in a criterion searches too.
    control<QLineEdit>("txt_現場名")->insert("山田*");
    control<QComboBox>("cmb_調査者")->setEditText("佐藤");
    QTest::keyClick(control<QComboBox>("cmb_調査者")->lineEdit(), Qt::Key_Return);
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 2), "山田ビル");
    EXPECT_EQ(env.ui.statusText(), "1件見つかりました。");

    // Only one start-time box: no start-time condition.
    control<QLineEdit>("txt_現場名")->clear();
    control<QComboBox>("cmb_調査者")->setEditText("");
    QTest::keyClicks(control<QLineEdit>("txt_開始時刻(0)"), "12:00");
    press("tb_検索実行");
    EXPECT_EQ(grid()->model()->rowCount(), 3);
    QTest::keyClicks(control<QLineEdit>("txt_開始時刻(1)"), "23:59");
    press("tb_検索実行");
    ASSERT_EQ(grid()->model()->rowCount(), 1);
    EXPECT_EQ(cell(0, 0), "3");
    EXPECT_TRUE(env.ui.messages().empty());
}

TEST_F(SearchWindow, TheChosenRowOrADoubleClickedOneOpensItsSurvey)
{
    press("tb_選択データの呼び出し");
    EXPECT_TRUE(opened.isEmpty());   // nothing listed yet

    press("tb_検索実行");
    press("tb_選択データの呼び出し");
    EXPECT_EQ(opened, QStringList({"3"}));

    search->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(search.get()));
    const QRect third = grid()->visualRect(grid()->model()->index(2, 2));
    // A double click: the first click's press, then the second click.
    QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, third.center());
    QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, {}, third.center());
    EXPECT_EQ(opened, QStringList({"3", "20"}));
}

TEST_F(SearchWindow, TheAddressButtonFillsTheAddress)
{
    search->setAddressPicker([]() -> std::optional<QString> { return QStringLiteral("東京都港区"); });
    control<QPushButton>("cmd住所")->click();
    EXPECT_EQ(control<QLineEdit>("txt_住所")->text(), "東京都港区");

    search->setAddressPicker([]() -> std::optional<QString> { return std::nullopt; });
    control<QPushButton>("cmd住所")->click();
    EXPECT_EQ(control<QLineEdit>("txt_住所")->text(), "東京都港区");
}

TEST_F(SearchWindow, AFailingSearchIsReportedAndLeavesTheGridEmpty)
{
    env.workspace.closeSurvey();
    int ends = 0;
    search->setEndProgramHandler([&] { ++ends; });
    press("tb_検索実行");
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    ASSERT_EQ(env.ui.messages().size(), 1u);
    EXPECT_TRUE(env.ui.lastMessage().text.endsWith("91"));
    EXPECT_FALSE(env.ui.isBusy());
    EXPECT_EQ(ends, 1);   // the reporter ends the program without a survey database
}

} // namespace
