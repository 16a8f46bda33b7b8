#pragma once
// The test record sheet (report types 0 and 1): for every point marked for
// printing, portrait pages with the header block, one 5 mm row per record
// and the graph column beside the table. Drawn on any surface.

#include "report/bar_colour.h"
#include "report/column_format.h"
#include "report/draw_primitive.h"
#include "report/graph_data.h"
#include "report/graph_element_pen.h"
#include "report/page_frame.h"
#include "report/report_inputs.h"
#include "report/soil_colour_cache.h"

#include <QImage>

namespace vortan::report {

class DrawSurface;

inline constexpr double PortraitHeaderHeight = 54;
inline constexpr double LandscapeHeaderHeight = 40;
inline constexpr double RowHeight = 5;

// Bottom of the row band: from the header height in 5 mm steps, at least
// one, until it is not less than the inner page height (paper height − top
// − bottom margin) − 10 mm. A4 with 15 mm margins gives 259 mm: 41 rows.
double recordSheetRowBandBottom(double innerPageHeight, double headerHeight = PortraitHeaderHeight);

// Pages of the record sheet: for every point marked for printing, one when
// it has no records, otherwise ⌈5n / (Hb − Hh)⌉ (a remainder of at least
// 1 mm adds a page). Unmarked points print no page and count none, so the
// count is the pages printed. 1 when the band has no room.
int recordSheetPageCount(const sheet::SurveyDocument& document, double rowBandBottom,
                         double headerHeight = PortraitHeaderHeight);

class RecordSheet {
public:
    RecordSheet(const ReportInputs& inputs, DrawSurface& surface);

    // Draws every page on the surface (whose page frame is set). False when
    // the user declined a further page. Throws Failure (soil colour query).
    bool print();

    void drawHeader(int point);
    void drawTableFrame();
    void drawRow(int point, int row, bool firstOfSeries);

    double rowBandBottom() const { return hb_; }

private:
    void drawHeaderLines();
    void drawHeaderTitle();
    // The survey's fields (site, address, purpose, dates, people, remark).
    void drawSurveyFields(int point);
    // The point's line: number, ground height, water level, last depth, remark.
    void drawPointLine(int point);
    void headerLabel(double size, double x, double y, const QString& text, double cellRight);
    void headerValue(double x, double y, const QString& text, double cellLeft, double cellRight,
                     TextAlign align = TextAlign::Left);
    void drawGraphGrid();
    void drawGraphHeading();
    void drawBar(int point, int row, double y, bool firstOfSeries);
    QString locationLabel() const;

    const ReportInputs& in_;
    DrawSurface& s_;
    SoilColourCache soils_;
    BarColour colours_;
    GraphElementPen pen_;
    // The graph column's value and full scale stay as they are for the run.
    GraphValue graphValue_;
    double fullScale_;
    // The texts of the numeric columns: depth, blows, torque, and the
    // correction, Nd and qa (which print a text that is no number as it is).
    ColumnFormat depths_{QStringLiteral("#,##0.00"), ColumnFormat::OtherTexts::Blank};
    ColumnFormat blows_{QStringLiteral("#,##0"), ColumnFormat::OtherTexts::Blank};
    ColumnFormat torques_{QStringLiteral("#,##0.0"), ColumnFormat::OtherTexts::Blank};
    ColumnFormat results_{QStringLiteral("#,##0.0"), ColumnFormat::OtherTexts::AsTheyAre};
    QImage mark_;
    QStringList addressLabels_;
    double w_ = 190;
    double hh_ = PortraitHeaderHeight;
    double hb_ = 259;
};

} // namespace vortan::report
