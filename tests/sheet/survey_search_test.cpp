// The survey search: the rows the criteria find in a database of known
// surveys, with their display forms.

#include "db/database.h"
#include "db/workspace.h"
#include "sheet/survey_search.h"
#include "sheet/survey_search_query.h"
#include "support/sql_fixture.h"
#include "support/test_databases.h"

#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::sheet;

namespace {

struct SurveySearchResults : ::testing::Test {
    test::ShippedFilesCopy files;
    db::Workspace workspace;

    void SetUp() override
    {
        ASSERT_TRUE(files.isValid());
        workspace.openSurvey(files.surveyDatabase());
        test::runSqlFixture(*workspace.survey(), QStringLiteral("search_surveys.sql"));
    }

    QStringList numbers(const SurveySearchCriteria& c)
    {
        QStringList found;
        for (const SearchRow& row : RunSurveySearch(*workspace.survey(), BuildSurveySearchQuery(c)))
            found << row[0];
        return found;
    }
};

TEST_F(SurveySearchResults, NoCriteriaListsAllInNumberOrderWithDisplayForms)
{
    const std::vector<SearchRow> rows = RunSurveySearch(*workspace.survey(), BuildSurveySearchQuery({}));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0][0], "3");
    EXPECT_EQ(rows[3][0], "20");
    const SearchRow& first = rows[2];   // survey 12
    const QStringList expected{"12", "一般", "山田ビル", "東京都港区", "住宅", "晴れ", "12.5",
                               "田中", "佐藤", "2001/02/28", "09:30", "11:30", "記事A"};
    for (int c = 0; c < SearchColumnCount; ++c)
        EXPECT_EQ(first[static_cast<std::size_t>(c)], expected[c]) << c;
    // Empty values show as empty cells.
    const SearchRow& bare = rows[1];    // survey 7
    EXPECT_EQ(bare[0], "7");
    for (int c : {3, 4, 5, 6, 9, 10, 11})
        EXPECT_EQ(bare[static_cast<std::size_t>(c)], "") << c;
    EXPECT_EQ(bare[12], "O'Neill");
}

TEST_F(SurveySearchResults, PatternsRangesAndDatesFindTheirSurveys)
{
    SurveySearchCriteria c;
    c.現場名 = QStringLiteral("山田*");
    EXPECT_EQ(numbers(c), QStringList({"3", "12"}));

    c.得意先名 = QStringLiteral("一般");
    EXPECT_EQ(numbers(c), QStringList({"12"}));

    c = {};
    c.調査日From = QStringLiteral("2001/1/1");
    c.調査日To = QStringLiteral("2001/12/31");
    EXPECT_EQ(numbers(c), QStringList({"3", "12"}));

    c = {};
    c.開始時刻From = QStringLiteral("8:00");
    c.開始時刻To = QStringLiteral("10:00");
    EXPECT_EQ(numbers(c), QStringList({"12", "20"}));

    c = {};
    c.調査者 = QStringLiteral("佐藤");
    c.調査目的 = QStringLiteral("住宅");
    EXPECT_EQ(numbers(c), QStringList({"12", "20"}));

    c = {};
    c.記事 = QStringLiteral("O'Neill");
    EXPECT_EQ(numbers(c), QStringList({"7"}));

    c = {};
    c.現場名 = QStringLiteral("該当なし*");
    EXPECT_TRUE(numbers(c).isEmpty());
}

TEST_F(SurveySearchResults, APlainTextMatchesAnywhereAndElevationsCompareAsNumbers)
{
    const struct {
        const char* 住所;
        const char* 標高From;
        const char* 標高To;
        QStringList found;
    } cases[] = {
        {"港区", "", "", {"12"}},            // inside the address
        {"*府", "", "", {"3"}},              // a wildcard typed is kept
        {"", "10", "", {"12", "20"}},        // "8" is below 10, though "8" > "10" as texts
        {"", "", "9", {"3"}},                // survey 7 has no elevation: in no range
        {"", "8", "12.5", {"3", "12"}},
    };
    for (const auto& row : cases) {
        SurveySearchCriteria c;
        c.住所 = QString::fromUtf8(row.住所);
        c.標高From = QString::fromUtf8(row.標高From);
        c.標高To = QString::fromUtf8(row.標高To);
        EXPECT_EQ(numbers(c), row.found) << row.住所 << "|" << row.標高From << "|" << row.標高To;
    }
}

} // namespace
