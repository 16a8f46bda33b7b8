#include "support/recording_surface.h"

#include "report/primitive_painter.h"

#include <QFontMetricsF>
#include <QImage>
#include <QStringList>
#include <algorithm>

namespace vortan::report {

namespace {

constexpr int MeasureDpi = 600;

const QImage& measureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(MeasureDpi / 0.0254));
        image.setDotsPerMeterY(qRound(MeasureDpi / 0.0254));
        return image;
    }();
    return device;
}

} // namespace

RecordingSurface::RecordingSurface() = default;

void RecordingSurface::deliver(const DrawPrimitive& primitive)
{
    primitives_.push_back(primitive);
}

void RecordingSurface::beginDocument()
{
    ++begun_;
}

void RecordingSurface::startNextPage()
{
    primitives_.push_back(makePrimitive(PrimitiveKind::NewPage));
}

void RecordingSurface::finishDocument()
{
    primitives_.push_back(makePrimitive(PrimitiveKind::EndDocument));
}

double RecordingSurface::measureWidth(const DrawPrimitive& text) const
{
    const QFontMetricsF metrics(reportFont(text.fontName, text.fontSize), &measureDevice());
    return metrics.horizontalAdvance(text.text) * 25.4 / MeasureDpi;
}

double RecordingSurface::measureHeight(const DrawPrimitive& text) const
{
    const QFontMetricsF metrics(reportFont(text.fontName, text.fontSize), &measureDevice());
    return metrics.height() * 25.4 / MeasureDpi;
}

int RecordingSurface::devicePages() const
{
    if (begun_ == 0)
        return 0;
    return 1 + static_cast<int>(std::count_if(primitives_.begin(), primitives_.end(), [](const DrawPrimitive& p) {
               return p.kind == PrimitiveKind::NewPage;
           }));
}

std::vector<int> RecordingSurface::pagesDrawn() const
{
    std::vector<int> pages;
    for (const DrawPrimitive& p : primitives_) {
        if (p.kind == PrimitiveKind::NewPage || p.kind == PrimitiveKind::EndDocument)
            continue;
        if (pages.empty() || pages.back() != p.page)
            pages.push_back(p.page);
    }
    return pages;
}

std::vector<DrawPrimitive> RecordingSurface::onPage(int page) const
{
    std::vector<DrawPrimitive> found;
    for (const DrawPrimitive& p : primitives_) {
        if (p.page == page && p.kind != PrimitiveKind::NewPage && p.kind != PrimitiveKind::EndDocument)
            found.push_back(p);
    }
    return found;
}

std::vector<DrawPrimitive> RecordingSurface::ofKind(PrimitiveKind kind) const
{
    std::vector<DrawPrimitive> found;
    std::copy_if(primitives_.begin(), primitives_.end(), std::back_inserter(found),
                 [kind](const DrawPrimitive& p) { return p.kind == kind; });
    return found;
}

std::vector<DrawPrimitive> RecordingSurface::texts(const QString& text, int page) const
{
    std::vector<DrawPrimitive> found;
    for (const DrawPrimitive& p : primitives_) {
        if (p.kind == PrimitiveKind::Text && p.text == text && (page == 0 || p.page == page))
            found.push_back(p);
    }
    return found;
}

} // namespace vortan::report
