// The test record sheet drawn on a recording surface: page flow, header,
// table, rows and the texts and formats of each cell.

#include "report/record_sheet.h"
#include "report_fixture.h"
#include "support/golden_file.h"
#include "support/page_listing.h"

using namespace vortan;
using namespace vortan::report;
using vortan::test::near;
const double W = vortan::test::A4Width;

namespace {

struct RecordSheetTest : ::testing::Test {
    test::ReportFixture f;

    // Texts of the row cells drawn at a row top y on a page.
    std::vector<DrawPrimitive> rowTexts(int page, double y)
    {
        std::vector<DrawPrimitive> found;
        for (const DrawPrimitive& p : f.surface.onPage(page)) {
            if (p.kind == PrimitiveKind::Text && near(p.y1, y, 1e-6))
                found.push_back(p);
        }
        return found;
    }
    const DrawPrimitive* textAt(int page, double x, double y)
    {
        static DrawPrimitive found;
        for (const DrawPrimitive& p : f.surface.onPage(page)) {
            if (p.kind == PrimitiveKind::Text && near(p.x1, x, 1e-6) && near(p.y1, y, 1e-6)) {
                found = p;
                return &found;
            }
        }
        return nullptr;
    }
};

TEST_F(RecordSheetTest, RowBandAndPageCountOnA4WithFifteenMillimetreMargins)
{
    // A4 is 16838 twips high: 296.97 mm; 296.97 − 30 − 10 = 256.97, reached
    // from 54 in 41 steps of 5 mm.
    const PageFrame frame = PageFrame::forPaper(QSizeF(210, 297), Margins{});
    EXPECT_NEAR(frame.paperHeight, 16838 / 56.7, 1e-9);
    EXPECT_EQ(recordSheetRowBandBottom(frame.innerHeight()), 259);
    // The band grows at least once even when there is no room.
    EXPECT_EQ(recordSheetRowBandBottom(20), 59);
    // It stops on reaching the page's height less 10 mm, not one row later.
    EXPECT_EQ(recordSheetRowBandBottom(110, 40), 100);
    EXPECT_EQ(recordSheetRowBandBottom(111, 40), 105);
    // With no room for rows the count is 1 (page counts: PageCount tests).
    f.addPoint(QStringLiteral("1"));
    EXPECT_EQ(recordSheetPageCount(*f.doc, 54, 54), 1);
}

TEST_F(RecordSheetTest, FortyOneRowsFillOnePageAndTheFortySecondStartsAnotherWithItsHeader)
{
    const int a = f.addPoint(QStringLiteral("1"));
    f.addRows(a, 41);
    const int b = f.addPoint(QStringLiteral("2"));
    f.addRows(b, 42);
    f.run(1);

    EXPECT_EQ(f.surface.devicePages(), 3);
    EXPECT_EQ(f.surface.pagesDrawn(), (std::vector<int>{1, 2, 3}));
    // The header is on every page, with the point's number.
    for (int page = 1; page <= 3; ++page)
        EXPECT_EQ(f.surface.texts(QStringLiteral("現場名"), page).size(), 1u) << page;
    EXPECT_EQ(textAt(1, W / 4 - 1, 36)->text, QStringLiteral("1"));
    EXPECT_EQ(textAt(2, W / 4 - 1, 36)->text, QStringLiteral("2"));
    EXPECT_EQ(textAt(3, W / 4 - 1, 36)->text, QStringLiteral("2"));

    // First row at 55, the 41st at 255; the 42nd row of point 2 opens page 3 at 55.
    EXPECT_EQ(textAt(1, 9.5, 55)->text, QStringLiteral("0.25"));
    EXPECT_EQ(textAt(1, 9.5, 255)->text, QStringLiteral("10.25"));
    EXPECT_EQ(textAt(2, 9.5, 255)->text, QStringLiteral("10.25"));
    EXPECT_EQ(textAt(3, 9.5, 55)->text, QStringLiteral("10.50"));
    EXPECT_EQ(textAt(3, 9.5, 60), nullptr);

    // Every page closes its table: the bottom line at Hb = 259 and the company line.
    for (int page = 1; page <= 3; ++page) {
        int bottoms = 0;
        for (const DrawPrimitive& p : f.surface.onPage(page))
            bottoms += p.kind == PrimitiveKind::Line && near(p.y1, 259) && near(p.y2, 259) && near(p.x2, W);
        EXPECT_EQ(bottoms, 1) << page;
    }
}

TEST_F(RecordSheetTest, UnmarkedPointsAreSkippedAndAnEmptyGridStillPrintsItsHeader)
{
    const int a = f.addPoint(QStringLiteral("A"), false);
    f.addRows(a, 3);
    f.addPoint(QStringLiteral("B"));
    f.run(1);
    EXPECT_EQ(f.surface.devicePages(), 1);
    EXPECT_EQ(textAt(1, W / 4 - 1, 36)->text, QStringLiteral("B"));
    EXPECT_EQ(f.surface.texts(QStringLiteral("A")).size(), 0u);
    // Header and table frame, no rows.
    EXPECT_EQ(f.surface.texts(QStringLiteral("貫入長"), 1).size(), 1u);
    EXPECT_EQ(textAt(1, 9.5, 55), nullptr);
}

TEST_F(RecordSheetTest, GroundHeightPrefixesAndOptionalHeaderItems)
{
    f.state.settings.標高差 = true;
    f.state.settings.地下水位 = true;
    f.state.settings.記事 = true;
    const int a = f.addPoint(QStringLiteral("1"));
    f.doc->setPointCell(a, sheet::PointColumn::地盤高, QStringLiteral("0"));
    f.doc->setPointCell(a, sheet::PointColumn::地下水位, QStringLiteral("1.5"));
    f.doc->setPointCell(a, sheet::PointColumn::記事, QStringLiteral("北東角"));
    const int b = f.addPoint(QStringLiteral("2"));
    f.doc->setPointCell(b, sheet::PointColumn::地盤高, QStringLiteral("-1.5"));

    f.state.settings.高さ基準 = QStringLiteral("1");
    f.run(1);
    EXPECT_EQ(textAt(1, W / 2 - 1, 36)->text, QStringLiteral("KBM ±0.00 m"));
    EXPECT_EQ(textAt(1, 3 * W / 4 - 1, 36)->text, QStringLiteral("1.50 m"));
    EXPECT_EQ(textAt(1, 17, 41)->text, QStringLiteral("北東角"));
    EXPECT_EQ(textAt(1, W / 4 + 0.5, 36)->text, QStringLiteral("地盤高"));
    // Point 2 has no water level or remark: the labels stand alone.
    EXPECT_EQ(textAt(2, 3 * W / 4 - 1, 36), nullptr);
    EXPECT_EQ(textAt(2, 17, 41), nullptr);
    EXPECT_EQ(textAt(2, 1, 41)->text, QStringLiteral("記事"));

    f.surface.clearRecording();
    f.state.settings.高さ基準 = QStringLiteral("0");
    f.run(1);
    EXPECT_EQ(textAt(2, W / 2 - 1, 36)->text, QStringLiteral("GL - 1.50 m"));

    // The point-line separators of the optional items.
    int separators = 0;
    for (const DrawPrimitive& p : f.surface.onPage(2)) {
        if (p.kind == PrimitiveKind::Line && near(p.y1, 35) && near(p.y2, 40))
            ++separators;
    }
    EXPECT_EQ(separators, 6);
}

TEST_F(RecordSheetTest, RowCellsAreFormattedAndNonNumbersLeftEmpty)
{
    const int p = f.addPoint(QStringLiteral("1"));
    test::RowValues v;
    v.depth = QStringLiteral("1234.5");
    v.blows = QStringLiteral("12");
    v.torque = QStringLiteral("x");
    v.soil = QStringLiteral("砂質土");
    v.remark = QStringLiteral("礫混じり");
    v.deltaNd = QStringLiteral("0.25");
    v.nd = QStringLiteral("50以上");
    v.qa = QStringLiteral("1234.56");
    f.addRow(p, v);
    f.run(1);
    EXPECT_EQ(textAt(1, 9.5, 55)->text, QStringLiteral("1,234.50"));
    EXPECT_LT(textAt(1, 9.5, 55)->fontSize, 9);   // too wide at 9 pt for its column
    EXPECT_EQ(textAt(1, 19.5, 55)->fontSize, 9);
    EXPECT_EQ(textAt(1, 19.5, 55)->text, QStringLiteral("12"));
    EXPECT_EQ(textAt(1, 29.5, 55), nullptr);   // torque "x" prints empty
    EXPECT_EQ(textAt(1, 35, 55)->text, QStringLiteral("砂質 土"));
    EXPECT_EQ(textAt(1, 35, 55)->fontSize, 7);
    EXPECT_EQ(textAt(1, 41, 55)->text, QStringLiteral("礫混じり"));
    EXPECT_EQ(textAt(1, 69.5, 55)->text, QStringLiteral("0.3"));
    EXPECT_EQ(textAt(1, 84.5, 55)->text, QStringLiteral("50以上"));
    EXPECT_EQ(textAt(1, 99.5, 55)->text, QStringLiteral("1,234.6"));
    EXPECT_EQ(textAt(1, 99.5, 55)->align, TextAlign::Right);
}

// Every text the sheet draws, measured in its font, stays between the column
// and cell lines around it: long values are made smaller, never spill over.
TEST_F(RecordSheetTest, NoTextCrossesALineOfItsCell)
{
    using sheet::HeaderField;
    using sheet::PointColumn;
    f.doc->setHeader(HeaderField::現場名, QStringLiteral("北海道札幌市中央区大通西四丁目再開発事業 第二期 高層棟および低層棟新築工事"));
    f.doc->setHeader(HeaderField::住所, QStringLiteral("北海道札幌市中央区大通西四丁目一番地 大通ビジネスセンタービル北側隣接地"));
    f.doc->setHeader(HeaderField::天候, QStringLiteral("晴れのち曇り時々小雨、夕方から強風"));
    f.doc->setHeader(HeaderField::標高, QStringLiteral("1234.567"));
    f.doc->setHeader(HeaderField::調査責任者, QStringLiteral("長谷川 左衛門之助太郎兵衛"));
    f.state.settings.会社名 = QStringLiteral("株式会社サンプル地盤調査 北海道支店 札幌営業所 技術部 調査第一課");
    f.state.settings.記事 = true;
    f.state.settings.地下水位 = true;
    const int p = f.addPoint(QStringLiteral("9999"));
    f.doc->setPointCell(p, PointColumn::地盤高, QStringLiteral("-1234.5"));
    f.doc->setPointCell(p, PointColumn::地下水位, QStringLiteral("12345.67"));
    f.doc->setPointCell(p, PointColumn::開始日時, QStringLiteral("2024/05/01_09:30 (再測定)"));
    test::RowValues v;
    v.depth = QStringLiteral("1234.25");
    v.blows = QStringLiteral("32767");
    v.torque = QStringLiteral("12345.6");
    v.soil = QStringLiteral("砂混じりシルト");
    v.remark = QStringLiteral("礫混じり、貫入不能のため位置を変えて再測定");
    v.deltaNd = QStringLiteral("1234.5");
    v.nd = QStringLiteral("1,238.3以上");
    v.qa = QStringLiteral("1,238.3以上");
    f.addRow(p, v);

    for (const bool elevation : {true, false}) {
        SCOPED_TRACE(elevation);
        f.surface.clearRecording();
        f.state.settings.標高 = elevation;
        f.run(1);
        std::vector<DrawPrimitive> verticals;
        for (const DrawPrimitive& l : f.surface.ofKind(PrimitiveKind::Line)) {
            if (near(l.x1, l.x2) && l.style == DrawStyle::Solid)
                verticals.push_back(l);
        }
        for (const DrawPrimitive& t : f.surface.ofKind(PrimitiveKind::Text)) {
            f.surface.setFontName(t.fontName);
            f.surface.setFontSize(t.fontSize);
            const double width = f.surface.textWidth(t.text);
            const double middle = t.y1 + f.surface.textHeight(t.text) / 2;
            const double left = t.align == TextAlign::Left ? t.x1 : t.align == TextAlign::Right ? t.x1 - width
                                                                                                 : t.x1 - width / 2;
            EXPECT_GE(left, -1e-6) << t.text.toStdString();
            EXPECT_LE(left + width, W + 1e-6) << t.text.toStdString();
            for (const DrawPrimitive& l : verticals) {
                if (std::min(l.y1, l.y2) < middle && middle < std::max(l.y1, l.y2)) {
                    EXPECT_FALSE(left + 1e-3 < l.x1 && l.x1 < left + width - 1e-3)
                        << t.text.toStdString() << " crosses x = " << l.x1 << " at y = " << t.y1;
                }
            }
        }
    }
    // The qa "1,238.3以上" is drawn whole, smaller than the column's 9 pt.
    EXPECT_LT(f.surface.texts(QStringLiteral("1,238.3以上")).at(1).fontSize, 9);
}

TEST_F(RecordSheetTest, PageRangeSuppressesDrawingButTheRunGoesThroughEveryPage)
{
    for (int i = 0; i < 5; ++i)
        f.addRows(f.addPoint(QString::number(i + 1)), 10);
    f.session.setReportType(1);
    EXPECT_EQ(f.session.pageCount(*f.doc), 5);
    f.run(1, 2, 3);
    EXPECT_EQ(f.surface.pagesDrawn(), (std::vector<int>{2, 3}));
    EXPECT_EQ(f.surface.devicePages(), 2);
    EXPECT_EQ(textAt(2, W / 4 - 1, 36)->text, QStringLiteral("2"));
    EXPECT_EQ(textAt(3, W / 4 - 1, 36)->text, QStringLiteral("3"));
    EXPECT_EQ(f.surface.ofKind(PrimitiveKind::EndDocument).size(), 1u);
    // The busy text shows while printing and is cleared at the end.
    ASSERT_FALSE(f.ui.busyCalls().empty());
    EXPECT_EQ(f.ui.busyCalls().front().message, QStringLiteral("印刷中..."));
    EXPECT_FALSE(f.ui.isBusy());
}

TEST_F(RecordSheetTest, DecliningTheNextPageInPreviewEndsTheRunAfterThatPage)
{
    for (int i = 0; i < 3; ++i)
        f.addRows(f.addPoint(QString::number(i + 1)), 10);
    f.surface.setPrinting(false);
    std::vector<int> asked;
    f.surface.setAskNextPage([&](int page) {
        asked.push_back(page);
        return false;
    });
    f.run(1);
    EXPECT_EQ(asked, std::vector<int>{1});
    EXPECT_EQ(f.surface.pagesDrawn(), std::vector<int>{1});
    EXPECT_EQ(f.ui.busyCalls().front().message, QStringLiteral("プレビュー中..."));
    EXPECT_EQ(f.surface.ofKind(PrimitiveKind::EndDocument).size(), 1u);
}

} // namespace

// A point's rows beyond its full bands take another page from one millimetre
// of rows on; a point of 4 rows is 20 mm of rows.
TEST_F(RecordSheetTest, APointTakesAnotherPageFromOneMillimetreBeyondItsFullBands)
{
    f.addRows(f.addPoint(QStringLiteral("1")), 4);
    const struct {
        double band;
        int pages;
    } cases[] = {{20, 1}, {19, 2}, {19.5, 1}, {10, 2}, {9.5, 3}, {40, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(recordSheetPageCount(*f.doc, 30 + c.band, 30), c.pages) << c.band;
}

// The first page of a point whose rows pass a whole metre, as drawn with each
// test name and torque unit and with the optional header items either way.
TEST_F(RecordSheetTest, APageDrawsAsItsGoldenPage)
{
    const int p = f.addPoint(QStringLiteral("1"));
    test::RowValues v;
    for (const char* depth : {"1.75", "2.00", "2.25"}) {
        v.depth = QString::fromUtf8(depth);
        f.addRow(p, v);
    }
    f.state.settings.試験名単位切替 = false;
    f.state.settings.会社名 = QStringLiteral("株式会社テスト地盤");
    f.state.settings.住所名 = QStringLiteral("2");
    f.state.settings.測点表示 = QStringLiteral("1");
    f.run(1);
    EXPECT_TRUE(test::matchesGolden(QStringLiteral("record_sheet_kn_cm.txt"), test::pageListing(f.surface, 1)));

    f.surface.clearRecording();
    f.state.settings.試験名単位切替 = true;
    f.state.settings.標高 = false;
    f.run(1);
    EXPECT_TRUE(test::matchesGolden(QStringLiteral("record_sheet_n_m.txt"), test::pageListing(f.surface, 1)));
}
