// The print window's margins against the printer's limits, the report type's
// orientation and header height, and the printer geometry in millimetres.

#include "report/print_session.h"
#include "report_fixture.h"

using namespace vortan;
using namespace vortan::report;

namespace {

// A4 with a 4.2 mm border at the left, 3 mm at the top, 5 mm at the right
// and 6 mm at the bottom.
PrinterGeometry bordered()
{
    PrinterGeometry g;
    g.paperWidth = 210;
    g.paperHeight = 297;
    g.offsetX = 4.2;
    g.offsetY = 3;
    g.printableWidth = 210 - 4.2 - 5;
    g.printableHeight = 297 - 3 - 6;
    return g;
}

struct MarginTest : ::testing::Test {
    ProgramState state;
    FixedPrinter printer{bordered()};
    PrintSession session{state, printer};
    Margins boxes;   // 15 / 10 / 15 / 10
};

TEST_F(MarginTest, MarginsStartFromTheSettings)
{
    state.settings.TopMargin = QStringLiteral("20");
    state.settings.LeftMargin = QStringLiteral("12.5");
    PrintSession fresh(state, printer);
    EXPECT_EQ(fresh.margins().top, 20);
    EXPECT_EQ(fresh.margins().left, 12.5);
    EXPECT_EQ(fresh.margins().right, 10);
}

TEST_F(MarginTest, TooSmallMarginsBecomeThePrintersMinimumRoundedUp)
{
    boxes.left = 0;
    MarginCheck check = session.checkMargin(MarginSide::Left, boxes);
    EXPECT_EQ(check.value, 5);
    EXPECT_EQ(check.message,
              QStringLiteral("設定された左余白は小さすぎるため、ご使用されているプリンタの設定できる最小値にしました。"));
    boxes.top = 2;
    check = session.checkMargin(MarginSide::Top, boxes);
    EXPECT_EQ(check.value, 3);
    EXPECT_EQ(check.message,
              QStringLiteral("設定された上余白は小さすぎるため、ご使用されているプリンタの設定できる最小値にしました。"));
    boxes.bottom = 5.5;
    EXPECT_EQ(session.checkMargin(MarginSide::Bottom, boxes).value, 6);
    boxes.right = 4;
    check = session.checkMargin(MarginSide::Right, boxes);
    EXPECT_EQ(check.value, 5);
    EXPECT_TRUE(check.message.startsWith(QStringLiteral("設定された右余白は小さすぎる")));
    // A margin at or above the minimum stands.
    boxes.left = 5;
    EXPECT_TRUE(session.checkMargin(MarginSide::Left, boxes).message.isEmpty());
}

TEST_F(MarginTest, TooLargeMarginsLeaveRoomForTheReport)
{
    // Across: 165 mm between left and right.
    boxes.left = 40;
    MarginCheck check = session.checkMargin(MarginSide::Left, boxes);
    EXPECT_EQ(check.value, 35);   // 210 − 10 − 165
    EXPECT_EQ(check.message, QStringLiteral("設定された左余白は大きすぎるため設定を調整しました。"));
    boxes.left = 30;
    boxes.right = 20;
    check = session.checkMargin(MarginSide::Right, boxes);
    EXPECT_EQ(check.value, 15);
    EXPECT_EQ(check.message, QStringLiteral("設定された右余白は大きすぎるため設定を調整しました。"));
    // Down: the header height (54 in portrait) and 20 mm.
    boxes.top = 210;
    check = session.checkMargin(MarginSide::Top, boxes);
    EXPECT_EQ(check.value, 208);   // 297 − 15 − 54 − 20
    EXPECT_EQ(check.message, QStringLiteral("設定された上余白は大きすぎるため設定を調整しました。"));
    boxes.top = 15;
    boxes.bottom = 215.5;
    EXPECT_EQ(session.checkMargin(MarginSide::Bottom, boxes).message,
              QStringLiteral("設定された下余白は大きすぎるため設定を調整しました。"));
    // Landscape: paper 297 x 210 and a header of 40 mm.
    session.setReportType(2);
    boxes.top = 140;
    boxes.bottom = 15;
    EXPECT_EQ(session.checkMargin(MarginSide::Top, boxes).value, 135);
}

TEST_F(MarginTest, ReportTypeSetsOrientationHeaderAndProvisionalWidth)
{
    session.setReportType(2);
    EXPECT_EQ(printer.orientation(), PageOrientation::Landscape);
    EXPECT_EQ(session.headerHeight(), 40);
    EXPECT_EQ(session.provisionalWidth(), 275);
    EXPECT_EQ(session.geometry().paperWidth, 297);
    EXPECT_NEAR(session.reportWidth(), 16838 / 56.7 - 20, 1e-9);
    // The printer turned: its top border is now the left one.
    EXPECT_EQ(session.geometry().offsetX, 3);
    session.setReportType(0);
    EXPECT_EQ(printer.orientation(), PageOrientation::Portrait);
    EXPECT_EQ(session.headerHeight(), 54);
    EXPECT_EQ(session.provisionalWidth(), 190);
    // Another value only stores the type.
    session.setReportType(7);
    EXPECT_EQ(state.settings.レポートタイプ, 7);
    EXPECT_EQ(printer.orientation(), PageOrientation::Portrait);
}

TEST(PrinterGeometryTest, DevicePixelsBecomeMillimetresAndNoResolutionGivesZeros)
{
    const PrinterGeometry g = PrinterGeometry::fromPixels(600, 99.2126, 70.8661, 4960, 7016, 4724, 6874);
    EXPECT_NEAR(g.offsetX, 4.2, 1e-4);
    EXPECT_NEAR(g.offsetY, 3.0, 1e-4);
    EXPECT_NEAR(g.paperWidth, 209.9733, 1e-3);
    EXPECT_EQ(g.minimumMargin(MarginSide::Left), 5);
    const PrinterGeometry none = PrinterGeometry::fromPixels(0, 10, 10, 100, 100, 90, 90);
    EXPECT_EQ(none.offsetX, 0);
    EXPECT_EQ(none.minimumMargin(MarginSide::Left), 0);
    EXPECT_EQ(none.minimumMargin(MarginSide::Right), 0);
}

} // namespace

namespace {

// The count the print window proposes is the number of pages the report
// draws, for both layouts; a survey without a marked point draws nothing.
TEST(PageCount, EqualsThePagesTheReportDraws)
{
    struct Case {
        int type;
        std::vector<std::pair<int, bool>> points;   // records, marked
        int pages;
    };
    const std::vector<Case> cases{
        {1, {{41, true}, {42, true}, {0, true}, {83, false}}, 4},
        {0, {{5, false}, {1, true}}, 1},
        {1, {{5, false}}, 0},
        {2, {{3, true}, {3, true}, {3, true}, {3, true}, {3, true}}, 1},   // five to a page
        {2, {{3, true}, {3, true}, {3, false}, {3, true}, {3, true}, {3, true}, {3, true}}, 2},
        {2, {{3, false}, {0, false}}, 0},
        {2, {}, 0},
    };
    for (const Case& c : cases) {
        test::ReportFixture f;
        f.state.settings.Nd値グラフ同時表示数 = 5;
        for (std::size_t i = 0; i < c.points.size(); ++i)
            f.addRows(f.addPoint(QString::number(i + 1), c.points[i].second), c.points[i].first);
        f.session.setReportType(c.type);
        SCOPED_TRACE(testing::Message() << "type " << c.type << ", " << c.points.size() << " points");
        EXPECT_EQ(f.session.pageCount(*f.doc), c.pages);
        f.run(c.type);
        EXPECT_EQ(f.surface.devicePages(), c.pages);
        EXPECT_EQ(f.surface.beganDocuments(), c.pages > 0 ? 1 : 0);
        EXPECT_FALSE(f.ui.isBusy());
    }
}

} // namespace
