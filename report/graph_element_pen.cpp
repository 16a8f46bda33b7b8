#include "report/graph_element_pen.h"

#include "report/draw_surface.h"

namespace vortan::report {

GraphElementPen::GraphElementPen(DrawSurface& surface, int graphKind)
    : surface_(surface), lineGraph_(graphKind != 0)
{
}

void GraphElementPen::draw(double x1, double y1, double x2, double y2, ColourNumber colour, bool firstOfSeries)
{
    if (!lineGraph_) {
        surface_.setLineWidth(0.1);
        surface_.filledBox(x1, y1, x2, y2, colour);
        return;
    }
    const QPointF vertex(x2, (y1 + y2) / 2);
    if (!firstOfSeries) {
        surface_.setLineWidthPixels(2);
        surface_.setForeColor(colour);
        surface_.line(vertex_.x(), vertex_.y(), vertex.x(), vertex.y());
        surface_.setLineWidthPixels(1);
    }
    vertex_ = vertex;
}

} // namespace vortan::report
