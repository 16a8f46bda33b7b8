// The drawing surfaces: range suppression and page flow, the millimetre
// mapping of each target, line widths in device pixels and zoomed fonts.

#include "report/pdf_surface.h"
#include "report/preview_surface.h"
#include "report/primitive_painter.h"
#include "support/recording_surface.h"

#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <tuple>

using namespace vortan::report;

namespace {

PageFrame a4(int from = 1, int to = 32767)
{
    PageFrame frame = PageFrame::forPaper(QSizeF(210, 297), Margins{15, 10, 15, 10});
    frame.rangeStart = from;
    frame.rangeEnd = to;
    return frame;
}

// Draws one line on each of five pages.
void fivePages(DrawSurface& surface)
{
    surface.preparePage();
    for (int page = 1; page <= 5; ++page) {
        surface.line(0, page, 10, page);
        surface.textLeft(0, page, QStringLiteral("頁"));
        if (page < 5 && !surface.newPage())
            break;
    }
    surface.endDocument();
}

TEST(Surfaces, DrawingOutsideThePageRangeIsSuppressedWhileEveryPageIsCounted)
{
    RecordingSurface surface;
    surface.setPageFrame(a4(2, 3));
    fivePages(surface);
    EXPECT_EQ(surface.pageNumber(), 5);
    EXPECT_EQ(surface.pagesDrawn(), (std::vector<int>{2, 3}));
    EXPECT_EQ(surface.devicePages(), 2);
    for (const DrawPrimitive& p : surface.ofKind(PrimitiveKind::Line))
        EXPECT_TRUE(p.page == 2 || p.page == 3);

    RecordingSurface all;
    all.setPageFrame(a4());
    fivePages(all);
    EXPECT_EQ(all.devicePages(), 5);
    EXPECT_EQ(all.ofKind(PrimitiveKind::Line).size(), 5u);
}

TEST(Surfaces, PreparingAndNewPagesMoveThePenToTheTop)
{
    RecordingSurface surface;
    surface.setPageFrame(a4());
    surface.preparePage();
    EXPECT_DOUBLE_EQ(surface.reportWidth(), 11906 / 56.7 - 20);
    EXPECT_DOUBLE_EQ(surface.innerPageHeight(), 16838 / 56.7 - 30);
    surface.moveToY(120);
    EXPECT_TRUE(surface.newPage());
    EXPECT_DOUBLE_EQ(surface.y(), 0);
    EXPECT_EQ(surface.pageNumber(), 2);
}

TEST(Surfaces, TheNextPageIsAskedForOnlyWithinTheRangeBeforeItsEndAndNoStops)
{
    RecordingSurface surface;
    surface.setPageFrame(a4(2, 4));
    std::vector<int> asked;
    surface.setAskNextPage([&](int page) {
        asked.push_back(page);
        return page < 3;
    });
    fivePages(surface);
    // Page 1 is outside the range: no question. Page 3 is answered no.
    EXPECT_EQ(asked, (std::vector<int>{2, 3}));
    EXPECT_EQ(surface.pagesDrawn(), (std::vector<int>{2, 3}));
}

TEST(Surfaces, PreviewPlacesMillimetresFromThePaperCornerTimesTheZoom)
{
    const auto lineAt = [](double scale) {
        PreviewSurface surface(QSizeF(210, 297), scale);
        PageFrame frame = a4();
        surface.setPageFrame(frame);
        surface.preparePage();
        surface.setLineWidth(0.5);
        surface.line(20, 30, 60, 30);
        surface.endDocument();
        return surface.image();
    };
    const QImage full = lineAt(1.0);
    const QImage half = lineAt(0.5);
    // The paper in twips times the zoom at 96 pixels an inch: 11906 x 16838 twips.
    EXPECT_EQ(full.size(), QSize(794, 1123));
    EXPECT_EQ(half.size(), QSize(397, 561));
    // (20 + 10 left, 30 + 15 top) mm at 96 / 25.4 pixels per mm.
    const double ppm = 96 / 25.4;
    EXPECT_EQ(QColor(full.pixel(int(35 * ppm), int(45 * ppm))), QColor(Qt::black));
    EXPECT_EQ(QColor(half.pixel(int(35 * ppm * 0.5), int(45 * ppm * 0.5))), QColor(Qt::black));
    EXPECT_EQ(QColor(full.pixel(int(35 * ppm), int(50 * ppm))), QColor(Qt::white));
    // The outline of the area inside the margins is light grey.
    EXPECT_EQ(QColor(full.pixel(int(100 * ppm), int(15 * ppm))), QColor(0xD0, 0xD0, 0xD0));
}

TEST(Surfaces, LineWidthsBecomeWholeDevicePixelsAndFontsScaleWithTheZoom)
{
    QImage image(100, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    DeviceMapping mapping;
    mapping.pixelsPerMm = 600 / 25.4;
    PrimitivePainter onPaper(painter, mapping);
    DrawPrimitive line;
    line.lineWidthMm = 0.5;
    EXPECT_EQ(onPaper.linePixels(line), 12);
    line.lineWidthMm = 0;
    EXPECT_EQ(onPaper.linePixels(line), 1);
    line.lineWidthMm = 0.01;
    EXPECT_EQ(onPaper.linePixels(line), 1);
    line.lineWidthPixels = 2;
    EXPECT_EQ(onPaper.linePixels(line), 2);

    mapping.pixelsPerMm = 96 / 25.4;
    mapping.scale = 0.5;
    PrimitivePainter zoomed(painter, mapping);
    line.lineWidthPixels = 0;
    line.lineWidthMm = 0.5;
    EXPECT_EQ(zoomed.linePixels(line), 1);

    // Text extents stay in report millimetres whatever the zoom.
    DrawPrimitive text;
    text.kind = PrimitiveKind::Text;
    text.fontName = QStringLiteral("ＭＳ Ｐゴシック");
    text.fontSize = 10;
    text.text = QStringLiteral("調査目的");
    mapping.scale = 1;
    PrimitivePainter screen(painter, mapping);
    mapping.scale = 2;
    PrimitivePainter doubled(painter, mapping);
    EXPECT_NEAR(screen.textWidth(text), doubled.textWidth(text), 0.05 * screen.textWidth(text));
    // Four full-width characters of 10 points: about 14 mm.
    EXPECT_NEAR(screen.textWidth(text), 4 * 10 * 25.4 / 72, 1.0);
}

TEST(Surfaces, AlignedTextsLandAlikeWhateverWasMeasuredBefore)
{
    // The painter keeps the widths the layout measured and draws aligned
    // texts by them: a text measured at other sizes, or another text
    // measured last, must not move it.
    const auto draw = [](bool measureFirst) {
        QImage image(400, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        DeviceMapping mapping;
        mapping.pixelsPerMm = 4;
        PrimitivePainter primitives(painter, mapping);
        DrawPrimitive text;
        text.kind = PrimitiveKind::Text;
        text.fontName = QStringLiteral("ＭＳ Ｐ明朝");
        text.x1 = 90;
        for (const auto& [size, value, align] : {std::tuple{12.0, "1,238.3以上", TextAlign::Right},
                                                 std::tuple{9.0, "12.5", TextAlign::Centre}}) {
            text.fontSize = size;
            text.align = align;
            text.text = QString::fromUtf8(value);
            if (measureFirst) {
                DrawPrimitive other = text;
                for (double points : {size * 2, size, size / 2}) {
                    other.fontSize = points;
                    primitives.textWidth(other);
                }
                other.fontSize = size;
                other.text = QStringLiteral("W");
                primitives.textWidth(other);
            }
            primitives.draw(text);
            text.y1 += 12;
        }
        painter.end();
        return image;
    };
    EXPECT_EQ(draw(true), draw(false));
}

TEST(Surfaces, PrinterMappingSubtractsThePhysicalOffset)
{
    // A 100 x 100 pixel device at 25.4 pixels an inch: one pixel per millimetre.
    QImage image(100, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    DeviceMapping mapping;
    mapping.pixelsPerMm = 1;
    mapping.originX = 10 - 4;   // left margin − offset X
    mapping.originY = 15 - 5;
    PrimitivePainter primitives(painter, mapping);
    DrawPrimitive dot;
    dot.kind = PrimitiveKind::FilledBox;
    dot.x1 = 20;
    dot.y1 = 30;
    dot.x2 = 21;
    dot.y2 = 31;
    dot.fillColour = 0x0000FF;   // red as 0x00BBGGRR
    primitives.draw(dot);
    painter.end();
    EXPECT_EQ(QColor(image.pixel(26, 40)), QColor(Qt::red));
    EXPECT_EQ(QColor(image.pixel(20, 30)), QColor(Qt::white));
}

TEST(Surfaces, PdfSurfaceWritesOnePdfPagePerPageOfTheRange)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("range.pdf"));
    PdfSurface surface(name, QSizeF(210, 297));
    surface.setPageFrame(a4(2, 4));
    fivePages(surface);
    EXPECT_TRUE(surface.isOpen());
    EXPECT_EQ(surface.devicePages(), 3);
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 3);

    PdfSurface nowhere(dir.filePath(QStringLiteral("missing/folder/x.pdf")), QSizeF(210, 297));
    nowhere.setPageFrame(a4());
    fivePages(nowhere);
    EXPECT_FALSE(nowhere.isOpen());
}

} // namespace
