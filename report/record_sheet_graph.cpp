// The graph column of the test record sheet: grid, heading and bars.

#include "core/number_text.h"
#include "core/program_state.h"
#include "report/draw_surface.h"
#include "report/graph_data.h"
#include "report/graph_scale.h"
#include "report/record_sheet.h"
#include "report/report_fonts.h"
#include "sheet/survey_document.h"

namespace vortan::report {

using sheet::RecordColumn;

namespace {
constexpr double GraphLeft = 100;
}

void RecordSheet::drawGraphGrid()
{
    const double m = fullScale_;
    const double step = recordSheetTickStep(m, graphValue_ == GraphValue::Nd);
    const double gw = w_ - GraphLeft;
    if (m <= 0)
        return;
    const int n = static_cast<int>(m / step);
    if (n <= 1)
        return;
    s_.setForeColor(Black);
    s_.setFontName(gothicFont());
    s_.setFontSize(6);
    for (int i = 1; i <= n; ++i) {
        const double x = GraphLeft + i * step * gw / m;
        // The label of a tick on the table's right edge ends at the edge.
        const QString label = numtext::shortestDouble(i * step);
        if (x + s_.textWidth(label) / 2 > w_)
            s_.textRight(w_ - 0.3, 50.5, label);
        else
            s_.textCentred(x, 50.5, label);
        s_.setDrawStyle(DrawStyle::Dotted);
        s_.setLineWidth(0.05);
        s_.line(x, hh_, x, hb_);
    }
    s_.setDrawStyle(DrawStyle::Solid);
}

void RecordSheet::drawGraphHeading()
{
    const AppSettings& st = in_.state.settings;
    const double centre = (GraphLeft + w_) / 2;
    s_.setForeColor(Black);
    s_.setFontName(gothicFont());
    s_.setFontSize(7);
    if (st.グラフ表示 == u"1") {
        s_.textCentred(centre, 45.5, QStringLiteral("qa値"));
    } else if (st.グラフ表示 == u"2") {
        s_.textCentred(centre, 45.5, st.試験名単位切替 ? QStringLiteral("Mv値 (N･m)") : QStringLiteral("Mv値 (kN･cm)"));
    } else {
        s_.textCentred(centre, 45.5, QStringLiteral("補正打撃回数"));
        s_.textCentred(centre, 48, QStringLiteral("Nd"));
    }
}

void RecordSheet::drawBar(int p, int r, double y, bool firstOfSeries)
{
    const sheet::SurveyDocument& doc = in_.document;
    const double v = barValue(doc.recordCell(p, r, recordColumnOf(graphValue_)));
    const double x2 = GraphLeft + barLength(v, fullScale_, w_ - GraphLeft);
    const QString& soil = doc.recordCell(p, r, RecordColumn::推定土質);
    const ColourNumber colour =
        colours_.bySoil() ? colours_.colour(soil, 0, 0, 0)
                          : colours_.colour(soil, numtext::leadingNumber(doc.recordCell(p, r, RecordColumn::補正打撃回数)),
                                            numtext::leadingNumber(doc.recordCell(p, r, RecordColumn::換算支持力)),
                                            numtext::leadingNumber(doc.recordCell(p, r, RecordColumn::トルク)));
    s_.setDrawStyle(DrawStyle::Solid);
    pen_.draw(GraphLeft, y - 1, x2, y + 4, colour, firstOfSeries);
}

} // namespace vortan::report
