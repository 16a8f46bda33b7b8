#include "ui/common/toolbar_icons.h"

#include <QFont>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QtMath>
#include <cmath>
#include <functional>
#include <map>

namespace vortan {

namespace {

// Every pictogram is drawn on a 32 x 32 design grid; strokes of 2 units are
// one pixel wide at 16 px.
constexpr qreal Grid = 32.0;

using Draw = void (*)(QPainter&);

const QColor Ink(0x30, 0x3a, 0x46);

QPen inkPen(qreal width = 1.6, const QColor& colour = Ink)
{
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void shape(QPainter& p, const QPainterPath& path, const QColor& fill, qreal width = 1.6,
           const QColor& outline = Ink)
{
    p.setPen(width > 0 ? inkPen(width, outline) : QPen(Qt::NoPen));
    p.setBrush(fill);
    p.drawPath(path);
}

void box(QPainter& p, const QRectF& rect, const QColor& fill, qreal radius = 1.5,
         qreal width = 1.6)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    shape(p, path, fill, width);
}

void line(QPainter& p, QPointF a, QPointF b, const QColor& colour, qreal width)
{
    p.setPen(inkPen(width, colour));
    p.drawLine(a, b);
}

// A filled arrow from `from` to `to` with a shaft of `width`.
void arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, qreal width = 4.0)
{
    const QLineF shaft(from, to);
    const QLineF unit = shaft.unitVector();
    const QPointF direction(unit.dx(), unit.dy());
    const QPointF normal(-direction.y(), direction.x());
    const qreal head = width * 2.1;
    const QPointF base = to - direction * head;
    QPainterPath path;
    path.moveTo(from + normal * (width / 2));
    path.lineTo(base + normal * (width / 2));
    path.lineTo(base + normal * head);
    path.lineTo(to);
    path.lineTo(base - normal * head);
    path.lineTo(base - normal * (width / 2));
    path.lineTo(from - normal * (width / 2));
    path.closeSubpath();
    shape(p, path, colour, 1.0, colour.darker(150));
}

// Text scaled to fill `target`, kept in proportion and centred.
void fittedText(QPainter& p, const QString& text, const QRectF& target, const QColor& colour,
                bool bold = true, bool italic = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(100);
    font.setBold(bold);
    font.setItalic(italic);
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    const qreal scale = std::min(target.width() / bounds.width(), target.height() / bounds.height());
    QTransform transform;
    transform.translate(target.center().x(), target.center().y());
    transform.scale(scale, scale);
    transform.translate(-bounds.center().x(), -bounds.center().y());
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(transform.map(path));
}

// A memory card standing upright, its top right corner cut, with contacts.
void memoryCard(QPainter& p, const QRectF& r, const QColor& body)
{
    QPainterPath path;
    const qreal cut = r.width() * 0.3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - cut, r.top());
    path.lineTo(r.right(), r.top() + cut);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    shape(p, path, body);
    const qreal step = (r.width() - cut - 3) / 3;
    for (int i = 0; i < 3; ++i) {
        const QRectF contact(r.left() + 2 + i * step, r.top() + 1.8, step - 1.2, 4);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xf2, 0xc0, 0x3c));
        p.drawRect(contact);
    }
    box(p, QRectF(r.left() + 2.5, r.top() + r.height() * 0.45, r.width() - 5, r.height() * 0.4),
        QColor(0xf4, 0xf6, 0xf8), 1, 0);
}

void notepad(QPainter& p)
{
    box(p, QRectF(3.5, 3.5, 19, 25), QColor(0xff, 0xfb, 0xe3), 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xd9, 0x53, 0x4f));
    p.drawRect(QRectF(4.3, 4.3, 17.4, 4));
    for (const qreal y : {13.0, 17.5, 22.0})
        line(p, QPointF(7.5, y), QPointF(18.5, y), QColor(0x8a, 0x96, 0xa3), 1.6);
}

// --- the pictograms -------------------------------------------------------

void drawExit(QPainter& p)
{
    // door frame, the door standing open, and the way out
    box(p, QRectF(4, 3, 16, 26), QColor(0xe8, 0xec, 0xf0), 1);
    QPainterPath door;
    door.moveTo(4.5, 3.5);
    door.lineTo(14, 6.5);
    door.lineTo(14, 30);
    door.lineTo(4.5, 28.5);
    door.closeSubpath();
    shape(p, door, QColor(0xb0, 0x6a, 0x2c));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc0, 0x3c));
    p.drawEllipse(QPointF(11.5, 17.5), 1.4, 1.4);
    arrow(p, QPointF(15, 16), QPointF(30.5, 16), QColor(0x2e, 0x9e, 0x44), 4.2);
}

void drawDataSheet(QPainter& p)
{
    const QRectF sheet(3, 5, 26, 22);
    box(p, sheet, Qt::white, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3f, 0x72, 0xc4));
    p.drawRect(QRectF(3.8, 5.8, 24.4, 5.2));
    const QColor grid(0x7f, 0x8c, 0x99);
    for (const qreal y : {16.5, 22.0})
        line(p, QPointF(4, y), QPointF(28, y), grid, 1.3);
    for (const qreal x : {11.5, 20.0})
        line(p, QPointF(x, 11), QPointF(x, 26.5), grid, 1.3);
    p.setPen(inkPen(1.6));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(sheet, 1.5, 1.5);
}

void drawFind(QPainter& p)
{
    line(p, QPointF(19.5, 19.5), QPointF(28.5, 28.5), QColor(0x6b, 0x4a, 0x2b), 5.5);
    p.setPen(inkPen(3.0));
    p.setBrush(QColor(0xcf, 0xe8, 0xfb));
    p.drawEllipse(QPointF(13, 13), 9, 9);
    p.setPen(inkPen(1.8, Qt::white));
    p.drawArc(QRectF(7.5, 7.5, 11, 11), 100 * 16, 70 * 16);
}

void drawPrint(QPainter& p)
{
    box(p, QRectF(9, 3, 14, 10), Qt::white, 0.5);
    QPainterPath body;
    body.addRoundedRect(QRectF(2.5, 11, 27, 13), 2.5, 2.5);
    shape(p, body, QColor(0x8a, 0x95, 0xa3));
    box(p, QRectF(8, 19, 16, 10.5), Qt::white, 0.5);
    for (const qreal y : {22.5, 26.0})
        line(p, QPointF(11, y), QPointF(21, y), QColor(0x7f, 0x8c, 0x99), 1.3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3c, 0xc0, 0x5a));
    p.drawEllipse(QPointF(25.5, 15), 1.6, 1.6);
}

void drawCardRead(QPainter& p)
{
    memoryCard(p, QRectF(3, 3, 17, 24), QColor(0x2f, 0x55, 0x97));
    arrow(p, QPointF(25.5, 6), QPointF(25.5, 24), QColor(0x2e, 0x9e, 0x44), 4.0);
    line(p, QPointF(19, 29.5), QPointF(31, 29.5), Ink, 2.0);
}

void drawCompactFlashRead(QPainter& p)
{
    box(p, QRectF(2, 5, 21, 23), QColor(0x41, 0x48, 0x52), 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0xc0, 0x3c));
    for (int i = 0; i < 6; ++i)
        p.drawRect(QRectF(4 + i * 3, 6.5, 1.6, 2.5));
    box(p, QRectF(4.5, 11, 16, 14), QColor(0xf4, 0xf6, 0xf8), 1, 0);
    fittedText(p, QStringLiteral("CF"), QRectF(5.5, 13.5, 14, 9), QColor(0xc0, 0x39, 0x2b));
    arrow(p, QPointF(27, 6), QPointF(27, 24), QColor(0x2e, 0x9e, 0x44), 4.0);
    line(p, QPointF(21.5, 29.5), QPointF(31, 29.5), Ink, 2.0);
}

void person(QPainter& p, QPointF head, qreal size, const QColor& colour)
{
    QPainterPath body;
    const QRectF shoulders(head.x() - size * 1.9, head.y() + size * 1.25, size * 3.8, size * 4.2);
    body.moveTo(shoulders.left(), shoulders.bottom());
    body.lineTo(shoulders.left(), shoulders.top() + size * 1.4);
    body.quadTo(shoulders.left(), shoulders.top(), shoulders.center().x(), shoulders.top());
    body.quadTo(shoulders.right(), shoulders.top(), shoulders.right(), shoulders.top() + size * 1.4);
    body.lineTo(shoulders.right(), shoulders.bottom());
    body.closeSubpath();
    shape(p, body, colour);
    QPainterPath face;
    face.addEllipse(head, size, size);
    shape(p, face, QColor(0xf6, 0xd5, 0xb0));
}

void drawNames(QPainter& p)
{
    person(p, QPointF(21.5, 9), 4.2, QColor(0xe0, 0x8a, 0x2e));
    person(p, QPointF(12, 12.5), 4.8, QColor(0x3f, 0x72, 0xc4));
}

void drawAddressLabel(QPainter& p)
{
    QPainterPath tag;
    tag.moveTo(2.5, 8);
    tag.lineTo(24, 8);
    tag.lineTo(30, 16);
    tag.lineTo(24, 24);
    tag.lineTo(2.5, 24);
    tag.closeSubpath();
    shape(p, tag, QColor(0xff, 0xf2, 0xb3));
    p.setPen(Qt::NoPen);
    p.setBrush(Ink);
    p.drawEllipse(QPointF(24.5, 16), 1.5, 1.5);
    // the postal mark 〒
    const QColor red(0xd0, 0x30, 0x28);
    line(p, QPointF(6, 11.5), QPointF(14, 11.5), red, 2.2);
    line(p, QPointF(6, 15.5), QPointF(14, 15.5), red, 2.2);
    line(p, QPointF(10, 15.5), QPointF(10, 21.5), red, 2.2);
    line(p, QPointF(16.5, 13), QPointF(20.5, 13), QColor(0x7f, 0x8c, 0x99), 1.6);
    line(p, QPointF(16.5, 19), QPointF(20.5, 19), QColor(0x7f, 0x8c, 0x99), 1.6);
}

void drawWeather(QPainter& p)
{
    const QColor sun(0xf5, 0xa6, 0x23);
    for (int i = 0; i < 8; ++i) {
        QLineF ray(QPointF(11, 11), QPointF(11 + 9.5, 11));
        ray.setAngle(i * 45.0);
        QLineF inner(QPointF(11, 11), QPointF(11 + 6.8, 11));
        inner.setAngle(i * 45.0);
        line(p, inner.p2(), ray.p2(), sun, 2.0);
    }
    p.setPen(inkPen(1.2, sun.darker(130)));
    p.setBrush(QColor(0xfb, 0xd0, 0x4b));
    p.drawEllipse(QPointF(11, 11), 5.2, 5.2);
    QPainterPath cloud;
    for (const QRectF& puff : {QRectF(7, 17, 11, 11), QRectF(13, 12, 13, 13), QRectF(21, 18, 10, 10)}) {
        QPainterPath part;
        part.addEllipse(puff);
        cloud = cloud.united(part);
    }
    QPainterPath base;
    base.addRoundedRect(QRectF(11, 21, 16, 7), 3, 3);
    cloud = cloud.united(base);
    shape(p, cloud, QColor(0xf1, 0xf4, 0xf8), 1.6, QColor(0x5b, 0x6b, 0x7d));
}

void drawSoil(QPainter& p)
{
    const QRectF r(3, 3, 26, 26);
    struct Band {
        qreal top;
        qreal height;
        QColor colour;
    };
    const Band bands[] = {
        {3, 4, QColor(0x5a, 0xa0, 0x2c)},
        {7, 7, QColor(0x9b, 0x62, 0x2e)},
        {14, 7.5, QColor(0xe3, 0xc2, 0x6a)},
        {21.5, 7.5, QColor(0x86, 0x8b, 0x93)},
    };
    p.setPen(Qt::NoPen);
    for (const Band& band : bands) {
        p.setBrush(band.colour);
        p.drawRect(QRectF(r.left(), band.top, r.width(), band.height));
    }
    p.setBrush(QColor(0x8a, 0x6a, 0x2a));
    for (const QPointF dot : {QPointF(8, 17), QPointF(15, 19), QPointF(22, 16.5), QPointF(26, 19.5)})
        p.drawEllipse(dot, 1.1, 1.1);
    p.setBrush(Qt::NoBrush);
    p.setPen(inkPen(1.6));
    p.drawRoundedRect(r, 1.5, 1.5);
}

void drawCustomer(QPainter& p)
{
    box(p, QRectF(13.5, 3, 16, 26), QColor(0x7d, 0x9c, 0xbf), 1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xf1, 0xfb));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 2; ++column)
            p.drawRect(QRectF(17 + column * 6, 6.5 + row * 5, 3.2, 3));
    person(p, QPointF(9.5, 13.5), 4.6, QColor(0x2e, 0x7d, 0x4f));
}

void drawTarget(QPainter& p)
{
    const QColor red(0xd0, 0x30, 0x28);
    p.setPen(inkPen(1.4, red.darker(130)));
    p.setBrush(red);
    p.drawEllipse(QPointF(16, 16), 13.5, 13.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 9.5, 9.5);
    p.setBrush(red);
    p.drawEllipse(QPointF(16, 16), 5.5, 5.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 1.8, 1.8);
}

void drawSiteNotes(QPainter& p)
{
    notepad(p);
    // a map pin: notes of the survey site
    QPainterPath pin;
    pin.moveTo(24, 30.5);
    pin.cubicTo(19, 24, 18, 21.5, 18, 19.5);
    pin.arcTo(QRectF(18, 13.5, 12, 12), 180, -180);
    pin.cubicTo(30, 21.5, 29, 24, 24, 30.5);
    pin.closeSubpath();
    shape(p, pin, QColor(0xe0, 0x3c, 0x31), 1.4);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(24, 19.5), 2.2, 2.2);
}

void drawPointNotes(QPainter& p)
{
    notepad(p);
    // a survey flag: notes of a measuring point
    line(p, QPointF(22, 13), QPointF(22, 30.5), Ink, 2.0);
    QPainterPath flag;
    flag.moveTo(22.5, 13);
    flag.lineTo(30.5, 16.5);
    flag.lineTo(22.5, 20);
    flag.closeSubpath();
    shape(p, flag, QColor(0x2e, 0x9e, 0x44), 1.2);
}

void drawDataNotes(QPainter& p)
{
    notepad(p);
    // bars of measured values: notes of a data row
    box(p, QRectF(16.5, 16, 15, 14), Qt::white, 1, 1.2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3f, 0x72, 0xc4));
    p.drawRect(QRectF(18.5, 23, 3, 5.5));
    p.drawRect(QRectF(22.5, 19, 3, 9.5));
    p.drawRect(QRectF(26.5, 21, 3, 7.5));
}

void formulaTile(QPainter& p, const QColor& colour)
{
    box(p, QRectF(1.5, 3.5, 29, 25), colour, 4, 1.4);
}

void drawCorrectionFormula(QPainter& p)
{
    formulaTile(p, QColor(0xe0, 0x7b, 0x1f));
    // ⊿ drawn as a triangle: clearer at small sizes than the glyph
    QPainterPath delta;
    delta.moveTo(4.5, 24);
    delta.lineTo(12, 24);
    delta.lineTo(12, 9);
    delta.closeSubpath();
    p.setPen(inkPen(2.0, Qt::white));
    p.setBrush(Qt::NoBrush);
    p.drawPath(delta);
    fittedText(p, QStringLiteral("Nd"), QRectF(13.5, 9, 15.5, 15), Qt::white);
}

void drawNdFormula(QPainter& p)
{
    formulaTile(p, QColor(0x2f, 0x6c, 0xc0));
    fittedText(p, QStringLiteral("Nd"), QRectF(4, 8, 24, 16), Qt::white);
}

void drawQaFormula(QPainter& p)
{
    formulaTile(p, QColor(0x2e, 0x8b, 0x57));
    fittedText(p, QStringLiteral("qa"), QRectF(4, 8, 24, 17), Qt::white, true, true);
}

void drawCardDelete(QPainter& p)
{
    memoryCard(p, QRectF(3, 3, 17, 24), QColor(0x2f, 0x55, 0x97));
    const QColor red(0xd0, 0x30, 0x28);
    line(p, QPointF(19, 18), QPointF(29.5, 28.5), red, 4.0);
    line(p, QPointF(29.5, 18), QPointF(19, 28.5), red, 4.0);
}

void drawCardFormat(QPainter& p)
{
    memoryCard(p, QRectF(3, 3, 17, 24), QColor(0x2f, 0x55, 0x97));
    // a circular arrow: the card made new
    const QColor colour(0xe0, 0x7b, 0x1f);
    const QPointF centre(24, 23);
    const qreal radius = 5.5;
    p.setPen(inkPen(3.0, colour));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 70 * 16,
              270 * 16);
    // the head at the arc's end (angle 340 degrees), pointing on round the circle
    const qreal end = qDegreesToRadians(340.0);
    const QPointF tip(centre.x() + radius * std::cos(end), centre.y() - radius * std::sin(end));
    const QPointF along(-std::sin(end), -std::cos(end));  // onwards, counterclockwise on screen
    const QPointF across(std::cos(end), -std::sin(end));
    QPainterPath head;
    head.moveTo(tip + along * 4.2);
    head.lineTo(tip - across * 3.4);
    head.lineTo(tip + across * 3.4);
    head.closeSubpath();
    shape(p, head, colour, 0.8, colour);
}

void drawProgram(QPainter& p)
{
    drawSoil(p);
    // the rod and the cone driven into the ground
    line(p, QPointF(16, 0.5), QPointF(16, 17), QColor(0x40, 0x44, 0x4a), 3.4);
    QPainterPath cone;
    cone.moveTo(12, 17);
    cone.lineTo(20, 17);
    cone.lineTo(16, 25);
    cone.closeSubpath();
    shape(p, cone, QColor(0xc8, 0xcd, 0xd3), 1.4);
}

const std::map<QString, Draw>& pictograms()
{
    static const std::map<QString, Draw> map = {
        {QStringLiteral("tb_Exit"), drawExit},
        {QStringLiteral("tb_DataSheet"), drawDataSheet},
        {QStringLiteral("tb_Find"), drawFind},
        {QStringLiteral("tb_印刷フォーム"), drawPrint},
        {QStringLiteral("tb_データ受信"), drawCardRead},
        {QStringLiteral("tb_ＣＦデータ受信"), drawCompactFlashRead},
        {QStringLiteral("tb_姓名マスタ"), drawNames},
        {QStringLiteral("tb_住所マスタ"), drawAddressLabel},
        {QStringLiteral("tb_天候マスタ"), drawWeather},
        {QStringLiteral("tb_土質マスタ"), drawSoil},
        {QStringLiteral("tb_得意先マスタ"), drawCustomer},
        {QStringLiteral("tb_調査目的マスタ"), drawTarget},
        {QStringLiteral("tb_調査地区記事マスタ"), drawSiteNotes},
        {QStringLiteral("tb_測点記事マスタ"), drawPointNotes},
        {QStringLiteral("tb_測点データ記事マスタ"), drawDataNotes},
        {QStringLiteral("tb_RNd値"), drawCorrectionFormula},
        {QStringLiteral("tb_Qa値"), drawQaFormula},
        {QStringLiteral("tb_Nd値"), drawNdFormula},
        {QStringLiteral("tb_Delete"), drawCardDelete},
        {QStringLiteral("tb_Format"), drawCardFormat},
    };
    return map;
}

// Paints a pictogram at whatever size is asked for.
class PictogramEngine : public QIconEngine {
public:
    PictogramEngine(QString key, Draw draw) : key_(std::move(key)), draw_(draw) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap image = pixmap(rect.size() * ratio, mode, state);
        image.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, image);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            const qreal side = std::min(size.width(), size.height());
            painter.translate((size.width() - side) / 2.0, (size.height() - side) / 2.0);
            painter.scale(side / Grid, side / Grid);
            draw_(painter);
        }
        if (mode == QIcon::Disabled)
            greyOut(image);
        return QPixmap::fromImage(std::move(image));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)};
    }

    QIconEngine* clone() const override { return new PictogramEngine(key_, draw_); }
    QString key() const override { return QStringLiteral("VortanPictogram"); }
    QString iconName() override { return key_; }

private:
    // Grey and faded, the way disabled buttons look.
    static void greyOut(QImage& image)
    {
        for (int y = 0; y < image.height(); ++y) {
            auto* pixel = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QColor colour = QColor::fromRgba(qUnpremultiply(pixel[x]));
                const int grey = 110 + qGray(colour.rgb()) * 120 / 255;
                pixel[x] = qPremultiply(qRgba(grey, grey, grey, colour.alpha() * 55 / 100));
            }
        }
    }

    QString key_;
    Draw draw_;
};

} // namespace

QIcon ToolbarIcon(const QString& key)
{
    const auto found = pictograms().find(key);
    if (found == pictograms().end())
        return {};
    return QIcon(new PictogramEngine(key, found->second));
}

QStringList ToolbarIconKeys()
{
    QStringList keys;
    for (const auto& [key, draw] : pictograms())
        keys.append(key);
    return keys;
}

QIcon ProgramIcon()
{
    return QIcon(new PictogramEngine(QStringLiteral("program"), drawProgram));
}

} // namespace vortan
