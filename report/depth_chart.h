#pragma once
// The depth chart (report type 2): landscape pages with the points marked
// for printing side by side, P to a page, each in its own column with a
// depth axis down to the maximum depth and one bar per record.

#include "report/bar_colour.h"
#include "report/graph_element_pen.h"
#include "report/report_inputs.h"
#include "report/soil_colour_cache.h"

#include <QImage>
#include <optional>

namespace vortan::report {

class DrawSurface;

// Pages of the depth chart: the points marked for printing, P to a page
// (⌈marked / P⌉), so the count is the pages printed; 0 without a marked point.
int depthChartPageCount(const sheet::SurveyDocument& document, double pointsPerPage);

class DepthChart {
public:
    DepthChart(const ReportInputs& inputs, DrawSurface& surface);

    // Draws every page; false when the user declined a further page.
    bool print();

    void drawPageHeader();
    void drawColumnFrame(int point, double left);
    // Draws the row's bar; false when the row has no value to draw.
    bool drawBar(int point, int row, double left, bool firstOfSeries);

    // Geometry of the run (valid once print has prepared the page).
    double columnWidth() const { return columnWidth_; }
    double graphLeft(double columnLeft) const { return columnLeft + AxisWidth; }
    double graphWidth() const { return columnWidth_ - AxisWidth - GraphRightGap; }
    double depthToY(double metres) const;

    static constexpr double AxisWidth = 5;       // depth axis strip at the column's left
    static constexpr double GraphRightGap = 3;   // room for the last value label

private:
    void drawValueAxisTitle(double centre, double y, double cellLeft, double cellRight);
    // The value of the row's bar: Nd, qa, qu (in the axis unit) or Mv.
    std::optional<double> barValueOf(int point, int row) const;
    QString surveyDateRange() const;

    const ReportInputs& in_;
    DrawSurface& s_;
    SoilColourCache soils_;
    BarColour colours_;
    GraphElementPen pen_;
    QImage mark_;
    double w_ = 277;
    double hh_ = 40;
    double hb_ = 180;
    double dmax_ = 15;
    int perPage_ = 5;
    double columnWidth_ = 55.4;
};

} // namespace vortan::report
