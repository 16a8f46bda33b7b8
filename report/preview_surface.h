#pragma once
// Draws a report on the on-screen preview page: a picture of the paper at
// the screen's resolution times the zoom. Positions are millimetres from the
// paper's corner, so a report position is placed at (x + left margin) times
// the zoom; font sizes are multiplied by the zoom. When a page of the range
// ends and another follows, the page is shown and, if the run goes on,
// cleared for the next one.

#include "report/painter_surface.h"

#include <QImage>
#include <functional>

namespace vortan::report {

class PreviewSurface : public PainterSurface {
public:
    // `paperMm` is the paper in the report's orientation; `scale` the zoom
    // (1.0 = 100 %); `screenDpi` the resolution of the screen.
    PreviewSurface(QSizeF paperMm, double scale, double screenDpi = 96.0);
    ~PreviewSurface() override;

    bool isPrinting() const override { return false; }

    // Called whenever the page picture should be shown (a page is complete or
    // the run has ended).
    void setPageShown(std::function<void(const QImage&)> shown) { shown_ = std::move(shown); }

    void clearPage() override;

    const QImage& image() const { return image_; }
    double scale() const { return scale_; }
    // Size of the page picture in pixels: the paper size (in twips) times the zoom.
    static QSize pictureSize(QSizeF paperMm, double scale, double screenDpi = 96.0);

protected:
    void beginDocument() override;
    void pageEnded() override;
    void startNextPage() override;
    void finishDocument() override;

private:
    QSizeF paperMm_;
    double scale_;
    double dpi_;
    QImage image_;
    std::function<void(const QImage&)> shown_;
};

} // namespace vortan::report
