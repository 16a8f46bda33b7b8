#pragma once
// Draws the graph elements of one series: a filled bar per row, or, for the
// line graph, a polyline through the points (bar end, middle of the bar's
// height). The first element of a series only sets the starting vertex.

#include "report/colour_number.h"

#include <QPointF>

namespace vortan::report {

class DrawSurface;

class GraphElementPen {
public:
    GraphElementPen(DrawSurface& surface, int graphKind);

    void draw(double x1, double y1, double x2, double y2, ColourNumber colour, bool firstOfSeries);
    bool lineGraph() const { return lineGraph_; }

private:
    DrawSurface& surface_;
    bool lineGraph_;
    QPointF vertex_;
};

} // namespace vortan::report
