#pragma once
// A surface that paints on a QPainter: the shared part of the paper, PDF
// and preview surfaces. The device subclass opens the painter, says how
// report millimetres map to its pixels and starts its pages.

#include "report/page_surface.h"
#include "report/primitive_painter.h"

#include <QPainter>
#include <memory>

namespace vortan::report {

class PainterSurface : public PageSurface {
protected:
    // Starts painting on the device with the mapping; done by beginDocument.
    void beginPainting(QPaintDevice* device, DeviceMapping mapping);
    void endPainting();
    bool painting() const { return painter_ && painter_->isActive(); }
    QPainter* painter() { return painter_.get(); }
    PrimitivePainter* primitivePainter() { return primitives_.get(); }

    void deliver(const DrawPrimitive& primitive) override;
    double measureWidth(const DrawPrimitive& text) const override;
    double measureHeight(const DrawPrimitive& text) const override;

private:
    std::unique_ptr<QPainter> painter_;
    std::unique_ptr<PrimitivePainter> primitives_;
};

} // namespace vortan::report
