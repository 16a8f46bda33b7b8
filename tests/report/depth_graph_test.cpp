// The depth graphs: tick steps, bar colours and lengths, the metre lines, the
// line-graph kind, and the depth chart's columns, axes and page flow.

#include "calc/penetration_calculator.h"
#include "db/database.h"
#include "report/bar_colour.h"
#include "report/depth_chart.h"
#include "report/graph_scale.h"
#include "report_fixture.h"
#include "support/golden_file.h"
#include "support/page_listing.h"
#include "support/test_databases.h"

using namespace vortan;
using namespace vortan::report;
using vortan::test::near;
const double W = vortan::test::A4Width;
const double Gw = W - 100;

namespace {

struct DepthGraphTest : ::testing::Test {
    test::ReportFixture f;

    std::vector<DrawPrimitive> filledBoxes(int page = 0)
    {
        std::vector<DrawPrimitive> found;
        for (const DrawPrimitive& p : f.surface.ofKind(PrimitiveKind::FilledBox)) {
            if (page == 0 || p.page == page)
                found.push_back(p);
        }
        return found;
    }
    QStringList tickLabels()
    {
        QStringList labels;
        for (const DrawPrimitive& p : f.surface.ofKind(PrimitiveKind::Text)) {
            if (p.page == 1 && near(p.y1, 50.5) && p.fontSize == 6)
                labels << p.text;
        }
        return labels;
    }
};

TEST_F(DepthGraphTest, RecordSheetTicksFollowTheFullScale)
{
    f.addRows(f.addPoint(QStringLiteral("1")), 1);
    const auto ticksFor = [&](const QString& fullScale) {
        f.surface.clearRecording();
        f.state.settings.PRType3NMax = fullScale;
        f.run(1);
        return tickLabels();
    };
    EXPECT_EQ(ticksFor(QStringLiteral("20")), (QStringList{"5", "10", "15", "20"}));
    EXPECT_EQ(ticksFor(QStringLiteral("5")), (QStringList{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(ticksFor(QStringLiteral("7")), (QStringList{"2", "4", "6"}));
    // Tick x positions: 100 + i·s·Gw/M.
    ticksFor(QStringLiteral("20"));
    std::vector<double> dotted;
    for (const DrawPrimitive& p : f.surface.ofKind(PrimitiveKind::Line)) {
        if (p.style == DrawStyle::Dotted) {
            dotted.push_back(p.x1);
            EXPECT_DOUBLE_EQ(p.lineWidthMm, 0.05);
            EXPECT_DOUBLE_EQ(p.y1, 54);
            EXPECT_DOUBLE_EQ(p.y2, 259);
        }
    }
    ASSERT_EQ(dotted.size(), 4u);
    for (int i = 0; i < 4; ++i)
        EXPECT_NEAR(dotted[i], 100 + (i + 1) * 5 * Gw / 20, 1e-9);

    // qa and Mv steps run on to larger scales; Nd stops at 10.
    EXPECT_EQ(recordSheetTickStep(200, false), 50);
    EXPECT_EQ(recordSheetTickStep(1000, false), 100);
    EXPECT_EQ(recordSheetTickStep(1001, false), 1);
    EXPECT_EQ(recordSheetTickStep(200, true), 10);
    EXPECT_EQ(recordSheetTickStep(5.5, true), 1);
}

TEST_F(DepthGraphTest, BarColoursByLevelResolveInLevelOrder)
{
    SoilColourCache soils(nullptr);
    AppSettings s;
    s.グラフの色の選定基準 = QStringLiteral("1");
    BarColour colours(s, soils);
    EXPECT_EQ(colours.colour(QString(), 3, 0, 0), 65535u);       // level 2, yellow
    EXPECT_EQ(colours.colour(QString(), 2.9, 0, 0), 255u);       // level 1, red
    EXPECT_EQ(colours.colour(QString(), 99, 0, 0), 0u);          // outside every level
    EXPECT_EQ(colours.colour(QString(), 50, 0, 0), 16711680u);   // level 3, blue
    // Overlapping bands resolve to the lower level number.
    s.Level2_0 = QStringLiteral("2");
    BarColour overlapping(s, soils);
    EXPECT_EQ(overlapping.colour(QString(), 2.5, 0, 0), 255u);
    // qa and Mv bases read their own value.
    s.グラフの色の選定基準 = QStringLiteral("2");
    EXPECT_EQ(BarColour(s, soils).colour(QString(), 99, 4, 99), 65535u);
    s.グラフの色の選定基準 = QStringLiteral("3");
    EXPECT_EQ(BarColour(s, soils).colour(QString(), 99, 99, 1), 255u);
}

TEST_F(DepthGraphTest, SoilColoursComeFromTheSoilMasterOncePerSoil)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    f.workspace.openSurvey(files.surveyDatabase());
    f.workspace.survey()->execute(QStringLiteral("INSERT INTO mst土質 (土質名,表示色) VALUES ('O''Brien層', 4210752);"));
    SoilColourCache soils(f.workspace.survey());
    EXPECT_EQ(soils.colourOf(QStringLiteral("砂質土")), 8454143u);
    EXPECT_EQ(soils.colourOf(QStringLiteral("砂質土")), 8454143u);
    EXPECT_EQ(soils.colourOf(QStringLiteral("O'Brien層")), 4210752u);
    EXPECT_EQ(soils.colourOf(QStringLiteral("月の石")), 0u);
    EXPECT_EQ(soils.queries(), 3);

    // On the sheet: one bar per row in its soil's colour, the unknown soil black.
    const int p = f.addPoint(QStringLiteral("1"));
    test::RowValues v;
    v.depth = QStringLiteral("0.25");
    f.addRow(p, v);
    v.depth = QStringLiteral("0.5");
    v.soil = QStringLiteral("粘性土");
    f.addRow(p, v);
    v.depth = QStringLiteral("0.75");
    v.soil = QStringLiteral("月の石");
    f.addRow(p, v);
    f.run(1);
    const auto bars = filledBoxes();
    ASSERT_EQ(bars.size(), 3u);
    EXPECT_EQ(bars[0].fillColour, 8454143u);
    EXPECT_EQ(bars[1].fillColour, 3368601u);
    EXPECT_EQ(bars[2].fillColour, 0u);
}

TEST_F(DepthGraphTest, RecordSheetBarsRunFromTheGraphEdgeByValue)
{
    f.state.settings.PRType3NMax = QStringLiteral("20");
    const int p = f.addPoint(QStringLiteral("1"));
    const QStringList nds{QStringLiteral("5"), QStringLiteral("30"), QStringLiteral("1未満"), QStringLiteral("")};
    for (int i = 0; i < nds.size(); ++i) {
        test::RowValues v;
        v.depth = numtext::shortestDouble((i + 1) * 0.25);
        v.nd = nds.at(i);
        f.addRow(p, v);
    }
    f.run(1);
    const auto bars = filledBoxes();
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_DOUBLE_EQ(bars[0].x1, 100);
    EXPECT_NEAR(bars[0].x2, 100 + 5 * Gw / 20, 1e-9);   // 5 / 20 of the graph width
    EXPECT_DOUBLE_EQ(bars[0].y1, 54);       // text top 55, less 1
    EXPECT_DOUBLE_EQ(bars[0].y2, 59);
    EXPECT_DOUBLE_EQ(bars[0].lineWidthMm, 0.1);
    EXPECT_NEAR(bars[1].x2, W, 1e-9);       // above the full scale: full width
    EXPECT_DOUBLE_EQ(bars[2].x2, 100);      // below the measurable limit: no length
    EXPECT_DOUBLE_EQ(bars[3].x2, 100);

    // The graph data name picks the value: Mv draws the torque over PRType3MvMax.
    f.surface.clearRecording();
    f.state.graphDataName = QStringLiteral("Mv");
    f.state.settings.PRType3MvMax = QStringLiteral("40");
    f.run(1);
    EXPECT_NEAR(filledBoxes().at(0).x2, 100 + 10 * Gw / 40, 1e-9);
}

TEST_F(DepthGraphTest, LineGraphStartsANewPolylineForEveryPointAndPage)
{
    f.state.graphKind = 1;
    f.state.settings.PRType3NMax = QStringLiteral("10");
    const int a = f.addPoint(QStringLiteral("1"));
    f.addRows(a, 43);   // 41 rows on page 1, two on page 2
    const int b = f.addPoint(QStringLiteral("2"));
    f.addRows(b, 3);
    f.run(1);
    EXPECT_TRUE(filledBoxes().empty());
    std::map<int, int> segments;
    for (const DrawPrimitive& p : f.surface.ofKind(PrimitiveKind::Line)) {
        if (p.lineWidthPixels == 2) {
            ++segments[p.page];
            // Vertex: the bar end (4.5 / 10 of the graph width) at the middle of the row.
            EXPECT_NEAR(p.x2, 100 + 4.5 * Gw / 10, 1e-9);
        }
    }
    EXPECT_EQ(segments[1], 40);
    EXPECT_EQ(segments[2], 1);
    EXPECT_EQ(segments[3], 2);
    const auto first = std::find_if(f.surface.primitives().begin(), f.surface.primitives().end(),
                                    [](const DrawPrimitive& p) { return p.lineWidthPixels == 2; });
    EXPECT_DOUBLE_EQ(first->y1, 56.5);
    EXPECT_DOUBLE_EQ(first->y2, 61.5);
}

struct DepthChartTest : DepthGraphTest {
    void SetUp() override
    {
        f.state.settings.Nd値グラフ同時表示数 = 5;
        f.state.settings.Max深度 = 10;
        f.state.settings.PRType3NMax = QStringLiteral("20");
    }
    std::vector<DrawPrimitive> columnTitles(int page)
    {
        std::vector<DrawPrimitive> found;
        for (const DrawPrimitive& p : f.surface.onPage(page)) {
            if (p.kind == PrimitiveKind::Text && p.text.startsWith(QStringLiteral("測点 No. ")))
                found.push_back(p);
        }
        return found;
    }
};

TEST_F(DepthChartTest, SevenMarkedPointsWithFiveAPageFillTwoPagesAndUnmarkedOnesTakeNoColumn)
{
    for (int i = 1; i <= 6; ++i)
        f.addRows(f.addPoint(QString::number(i)), 4);
    f.addRows(f.addPoint(QStringLiteral("X"), false), 4);
    f.addRows(f.addPoint(QStringLiteral("7")), 4);
    f.session.setReportType(2);
    EXPECT_EQ(f.session.pageCount(*f.doc), 2);   // 8 points / 5 + 1
    f.run(2);

    EXPECT_EQ(f.surface.devicePages(), 2);
    ASSERT_EQ(columnTitles(1).size(), 5u);
    const auto second = columnTitles(2);
    ASSERT_EQ(second.size(), 2u);
    // A4 landscape with 10 mm side margins: W = 277 (296.97 − 20), columns of W / 5.
    const double w = 16838 / 56.7 - 20;
    EXPECT_EQ(second[0].text, QStringLiteral("測点 No. 6"));
    EXPECT_DOUBLE_EQ(second[0].x1, 1);
    EXPECT_EQ(second[1].text, QStringLiteral("測点 No. 7"));
    EXPECT_NEAR(second[1].x1, w / 5 + 1, 1e-9);
    EXPECT_DOUBLE_EQ(second[0].y1, 26);
    EXPECT_EQ(second[0].fontName, QStringLiteral("ＭＳ ゴシック"));
    // The page header repeats on page 2.
    EXPECT_EQ(f.surface.texts(QStringLiteral("調査年月日"), 2).size(), 1u);
    EXPECT_EQ(f.surface.texts(QStringLiteral("X")).size(), 0u);
}

TEST_F(DepthChartTest, BarsSpanTheirDepthIntervalAndAreClampedAtTheBottom)
{
    f.state.settings.Max深度 = 1;
    const int p = f.addPoint(QStringLiteral("1"));
    test::RowValues v;
    v.depth = QStringLiteral("0.5");
    v.nd = QStringLiteral("10");
    f.addRow(p, v);
    v.depth = QStringLiteral("0.75");
    v.nd = QStringLiteral("40");
    f.addRow(p, v);
    v.depth = QStringLiteral("1.25");
    f.addRow(p, v);
    v.depth = QStringLiteral("1.5");
    f.addRow(p, v);
    f.run(2);
    const double hb = 210 * 1440 / 25.4;   // twips of the landscape height
    const double inner = std::round(hb) / 56.7 - 30;
    const double perMetre = inner - 40;
    const auto bars = filledBoxes();
    ASSERT_EQ(bars.size(), 4u);
    EXPECT_NEAR(bars[3].y1, inner, 1e-9);   // wholly below the maximum depth: flat at the bottom
    EXPECT_NEAR(bars[3].y2, inner, 1e-9);
    EXPECT_NEAR(bars[0].y1, 40, 1e-9);
    EXPECT_NEAR(bars[0].y2, 40 + 0.5 * perMetre, 1e-9);
    EXPECT_NEAR(bars[1].y1, 40 + 0.5 * perMetre, 1e-9);
    EXPECT_NEAR(bars[1].y2, 40 + 0.75 * perMetre, 1e-9);
    EXPECT_NEAR(bars[2].y1, 40 + 0.75 * perMetre, 1e-9);   // runs past the maximum depth: ends at the bottom
    EXPECT_NEAR(bars[2].y2, inner, 1e-9);
    const double w = 16838 / 56.7 - 20;
    const double graphWidth = w / 5 - DepthChart::AxisWidth - DepthChart::GraphRightGap;
    EXPECT_DOUBLE_EQ(bars[0].x1, 5);
    EXPECT_NEAR(bars[0].x2, 5 + 10 / 20.0 * graphWidth, 1e-9);
    EXPECT_NEAR(bars[1].x2, 5 + graphWidth, 1e-9);
}

// The ground height with the prefix of every height basis, on the point's
// line clear of the point number, never on the date line below it.
TEST_F(DepthChartTest, GroundHeightOfEveryBasisStandsOnThePointLine)
{
    const int p = f.addPoint(QStringLiteral("12"));
    f.doc->setPointCell(p, sheet::PointColumn::地盤高, QStringLiteral("-0.4"));
    f.addRows(p, 2);
    const QStringList prefixes{"GL", "KBM", "TBM", "BM"};
    for (int basis = 0; basis < 4; ++basis) {
        f.surface.clearRecording();
        f.state.settings.高さ基準 = QString::number(basis);
        f.run(2);
        const auto ground = f.surface.texts(QStringLiteral("地盤高　 : %1 - 0.40 m").arg(prefixes[basis]));
        ASSERT_EQ(ground.size(), 1u) << basis;
        const DrawPrimitive number = f.surface.texts(QStringLiteral("測点 No. 12")).at(0);
        EXPECT_DOUBLE_EQ(ground[0].y1, number.y1);
        f.surface.setFontName(ground[0].fontName);
        f.surface.setFontSize(ground[0].fontSize);
        const double groundLeft = ground[0].x1 - f.surface.textWidth(ground[0].text);
        f.surface.setFontSize(number.fontSize);
        EXPECT_GT(groundLeft, number.x1 + f.surface.textWidth(number.text));
    }
    // In a narrow column it is made smaller rather than run into the number.
    f.surface.clearRecording();
    f.state.settings.Nd値グラフ同時表示数 = 12;
    f.run(2);
    EXPECT_LT(f.surface.texts(QStringLiteral("地盤高　 : BM - 0.40 m")).at(0).fontSize, 7);
}

// qu = 2·c, c the cohesion of the record's soil by the customer's qa series
// (the shipped clay and loam records: c = 6.25·Nd), in the axis unit against
// the qu full scale; sand has no cohesion and draws no bar.
TEST_F(DepthChartTest, QuBarsAreTwiceTheCohesionInTheAxisUnit)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    f.workspace.openSurvey(files.surveyDatabase());
    f.state.settings.ini位置 = files.folder();
    f.doc->setHeader(sheet::HeaderField::提出先, QStringLiteral("一般"));
    f.state.settings.PRType3Type = QStringLiteral("2");
    f.state.settings.PRType3quMax = QStringLiteral("20");
    const int p = f.addPoint(QStringLiteral("1"));
    const std::vector<std::pair<const char*, const char*>> rows{
        {"粘性土", "8"}, {"砂質土", "8"}, {"ローム", "4"}, {"粘性土", "1未満"}, {"粘性土", "40"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        test::RowValues v;
        v.depth = numtext::shortestDouble(0.25 * (i + 1));
        v.soil = QString::fromUtf8(rows[i].first);
        v.nd = QString::fromUtf8(rows[i].second);
        f.addRow(p, v);
    }
    calc::PenetrationCalculator calculator(f.workspace, f.state);
    const double graphWidth = (16838 / 56.7 - 20) / 5 - DepthChart::AxisWidth - DepthChart::GraphRightGap;
    const auto barEnds = [&](const QString& units) {
        f.surface.clearRecording();
        f.state.settings.単位系 = units;
        report::ReportInputs in = f.inputs();
        in.calculator = &calculator;
        f.session.setReportType(2);
        f.session.run(in, f.surface);
        std::vector<double> ends;
        for (const DrawPrimitive& b : filledBoxes())
            ends.push_back((b.x2 - 5) / graphWidth * 20);
        return ends;
    };
    // N/cm²: clay Nd 8 gives qu = 12.5·8 = 100 kN/m² = 10 N/cm²; loam Nd 4
    // 5 N/cm²; a Nd below the limit no cohesion; Nd 40 (50 N/cm²) the full width.
    const std::vector<double> metric = barEnds(QStringLiteral("1"));
    ASSERT_EQ(metric.size(), 3u);
    EXPECT_NEAR(metric[0], 10, 1e-9);
    EXPECT_NEAR(metric[1], 5, 1e-9);
    EXPECT_NEAR(metric[2], 20, 1e-9);
    // kgf/cm² with the gravitational acceleration of the settings (10): 100 kN/m² = 1 kgf/cm².
    f.state.settings.重力加速度 = 10;
    EXPECT_NEAR(barEnds(QStringLiteral("0")).at(0), 1, 1e-9);
}

// A depth chart page with its column head, axis titles, divisions and
// depth lines, for each value the chart can show in each unit system.
TEST_F(DepthChartTest, APageDrawsAsItsGoldenPage)
{
    f.state.settings.高さ基準 = QStringLiteral("1");
    const int p = f.addPoint(QStringLiteral("3"));
    f.doc->setPointCell(p, sheet::PointColumn::地盤高, QStringLiteral("-0.4"));
    f.addRows(p, 6);
    f.run(2);
    EXPECT_TRUE(test::matchesGolden(QStringLiteral("depth_chart_nd.txt"), test::pageListing(f.surface, 1)));
    for (const char* type : {"1", "2", "3"}) {
        for (const char* units : {"0", "1"}) {
            f.surface.clearRecording();
            f.state.settings.PRType3Type = QString::fromUtf8(type);
            f.state.settings.単位系 = QString::fromUtf8(units);
            f.run(2);
            EXPECT_TRUE(test::matchesGolden(QStringLiteral("depth_chart_type%1_units%2.txt").arg(type, units),
                                            test::pageListing(f.surface, 1)));
        }
    }
    f.surface.clearRecording();
    f.state.settings.試験名単位切替 = false;
    f.run(2);
    EXPECT_TRUE(test::matchesGolden(QStringLiteral("depth_chart_type3_kn_cm.txt"), test::pageListing(f.surface, 1)));
    // Divisions of the value axis, each step at its upper bound and just above it.
    const std::pair<double, int> divisions[] = {{5, 1},    {5.5, 2},  {10, 2}, {10.5, 3}, {15, 3}, {15.5, 4},
                                                {20, 4},   {20.5, 5}, {25, 5}, {25.5, 6}, {30, 6}, {30.5, 5}};
    for (const auto& [fullScale, count] : divisions)
        EXPECT_EQ(depthChartDivisions(fullScale), count) << fullScale;
    EXPECT_EQ(divisionLabel(2.5), QStringLiteral("2.5"));
    EXPECT_EQ(divisionLabel(40), QStringLiteral("40"));
}

} // namespace
