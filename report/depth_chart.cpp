#include "report/depth_chart.h"

#include "calc/penetration_calculator.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "report/company_mark.h"
#include "report/draw_surface.h"
#include "report/fitted_text.h"
#include "report/graph_data.h"
#include "report/graph_scale.h"
#include "report/record_sheet.h"
#include "report/report_fonts.h"
#include "report/report_run.h"
#include "report/report_titles.h"
#include "sheet/survey_document.h"

#include <algorithm>
#include <cmath>

namespace vortan::report {

using sheet::HeaderField;
using sheet::PointColumn;
using sheet::RecordColumn;

namespace {

int pointsPerPage(const AppSettings& s)
{
    const double p = std::floor(s.Nd値グラフ同時表示数);
    return p >= 1 ? static_cast<int>(std::min(p, 100.0)) : 1;
}

} // namespace

int depthChartPageCount(const sheet::SurveyDocument& document, double perPage)
{
    const int marked = markedPointCount(document);
    const int p = static_cast<int>(std::clamp(std::floor(perPage), 1.0, 100.0));
    return (marked + p - 1) / p;
}

DepthChart::DepthChart(const ReportInputs& inputs, DrawSurface& surface)
    : in_(inputs),
      s_(surface),
      soils_(inputs.survey),
      colours_(inputs.state.settings, soils_),
      pen_(surface, inputs.state.graphKind)
{
}

double DepthChart::depthToY(double metres) const
{
    return std::min(hb_, hh_ + metres * (hb_ - hh_) / dmax_);
}

bool DepthChart::print()
{
    if (markedPointCount(in_.document) == 0)
        return true;
    const AppSettings& st = in_.state.settings;
    in_.ui.setBusy(s_.isPrinting() ? QStringLiteral("印刷中...") : QStringLiteral("プレビュー中..."), true);
    mark_ = loadCompanyMark(st.会社マーク);
    s_.preparePage();
    w_ = s_.reportWidth();
    hh_ = LandscapeHeaderHeight;
    hb_ = s_.innerPageHeight();
    dmax_ = st.Max深度 > 0 ? st.Max深度 : 1;
    perPage_ = pointsPerPage(st);
    columnWidth_ = w_ / perPage_;

    const sheet::SurveyDocument& doc = in_.document;
    std::vector<int> points;
    for (int p = 0; p < doc.pointCount(); ++p) {
        if (isMarkedForPrinting(doc, p))
            points.push_back(p);
    }

    bool goOn = true;
    drawPageHeader();
    for (std::size_t i = 0; i < points.size(); ++i) {
        const int p = points[i];
        const int k = static_cast<int>(i) % perPage_;
        const double left = k * w_ / perPage_;
        // A row without a value to draw (a qu without cohesion) draws no
        // element; the line graph then begins anew at the next one.
        bool firstOfSeries = true;
        for (int r = 0; r < doc.recordCount(p); ++r) {
            if (drawBar(p, r, left, firstOfSeries))
                firstOfSeries = false;
            in_.ui.processEvents();
        }
        drawColumnFrame(p, left);
        if ((i + 1) % perPage_ == 0 && i + 1 < points.size()) {
            if (!s_.newPage()) {
                goOn = false;
                break;
            }
            drawPageHeader();
        }
    }
    s_.endDocument();
    in_.ui.setBusy(QString(), false);
    return goOn;
}

QString DepthChart::surveyDateRange() const
{
    // The earliest start and the latest end over the points; the survey
    // date when there are no points.
    const sheet::SurveyDocument& doc = in_.document;
    QString first;
    QString last;
    for (int p = 0; p < doc.pointCount(); ++p) {
        const QString start = doc.pointCell(p, PointColumn::開始日時).section(QLatin1Char('_'), 0, 0).trimmed();
        const QString end = doc.pointCell(p, PointColumn::終了日時).section(QLatin1Char('_'), 0, 0).trimmed();
        if (!start.isEmpty() && (first.isEmpty() || start < first))
            first = start;
        if (!end.isEmpty() && (last.isEmpty() || end > last))
            last = end;
    }
    if (first.isEmpty())
        first = doc.header(HeaderField::調査日);
    if (last.isEmpty())
        last = first;
    return first + QStringLiteral("～") + last;
}

void DepthChart::drawPageHeader()
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const double w = w_;
    s_.setForeColor(Black);
    s_.setDrawStyle(DrawStyle::Solid);
    s_.setLineWidth(0.5);
    s_.box(0, 0, w, 25);
    s_.line(0, 10, w, 10);
    s_.setLineWidth(0.2);
    s_.line(0, 15, w, 15);
    s_.line(0, 20, w, 20);
    for (double x : {20.0, 125.0, 145.0})
        s_.line(x, 10, x, 25);

    s_.setFontName(gothicFont());
    s_.setFontSize(20);
    s_.textCentred(w / 2, 1.5, reportTitle(st));
    if (!mark_.isNull())
        s_.picture(mark_, 0.5, 0.5, CompanyMarkHeight);
    s_.setFontSize(8);
    s_.textRight(w - 5, 6.5, QStringLiteral("No.") + doc.header(HeaderField::調査地区No));

    s_.setFontSize(10);
    s_.textLeft(1, 11, QStringLiteral("現場名"));
    s_.textLeft(1, 21, QStringLiteral("記事"));
    s_.textLeft(126.5, 11, QStringLiteral("調査年月日"));
    s_.textLeft(126.5, 16, QStringLiteral("住所"));
    s_.setFontSize(9);
    s_.textLeft(1, 16, QStringLiteral("調査目的"));

    s_.setFontName(minchoFont());
    s_.setFontSize(10);
    s_.textLeft(22, 11, doc.header(HeaderField::現場名));
    s_.textLeft(22, 16, doc.header(HeaderField::調査目的));
    s_.textLeft(22, 21, doc.header(HeaderField::調査地区記事));
    s_.textLeft(145.5, 11, surveyDateRange());
    s_.textLeft(145.5, 16, doc.header(HeaderField::住所));
}

void DepthChart::drawValueAxisTitle(double centre, double y, double cellLeft, double cellRight)
{
    const auto title = [&](const QString& text) {
        drawFittedText(s_, TextAlign::Centre, centre, y, text, 7, cellLeft, cellRight);
    };
    const AppSettings& st = in_.state.settings;
    const bool metric = st.単位系 != u"0";
    switch (depthChartValueType(st)) {
    case 1:
        if (!metric) {
            title(QStringLiteral("qa(t/m2)"));
        } else {
            // "qa(kN/m" with a small raised "2", then ")".
            const QString head = QStringLiteral("qa(kN/m");
            const QString tail = QStringLiteral(")");
            const double headWidth = s_.textWidth(head);
            const double tailWidth = s_.textWidth(tail);
            s_.setFontSize(3);
            const double twoWidth = s_.textWidth(QStringLiteral("2"));
            s_.setFontSize(7);
            const double left = centre - (headWidth + twoWidth + tailWidth) / 2;
            s_.textLeft(left, y, head);
            s_.setFontSize(3);
            s_.textLeft(left + headWidth, y, QStringLiteral("2"));
            s_.setFontSize(7);
            s_.textLeft(left + headWidth + twoWidth, y, tail);
        }
        break;
    case 2:
        title(metric ? QStringLiteral("qu(N/cm2)") : QStringLiteral("qu(kgf/cm2)"));
        break;
    case 3:
        title(st.試験名単位切替 ? QStringLiteral("Mv値 (N･m)") : QStringLiteral("Mv値 (kN･cm)"));
        break;
    default:
        title(QStringLiteral("Nd値"));
        break;
    }
}

void DepthChart::drawColumnFrame(int p, double left)
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const double right = left + columnWidth_;
    const double gx = graphLeft(left);
    const double gw = graphWidth();
    const double m = depthChartFullScale(st);

    // Frame, axis and depth lines.
    s_.setForeColor(Black);
    s_.setDrawStyle(DrawStyle::Solid);
    s_.setLineWidth(0.1);
    for (int d = 1; d <= static_cast<int>(std::floor(dmax_ + 1e-9)); ++d)
        s_.line(gx, depthToY(d), right, depthToY(d));
    if (m > 0) {
        const int n = depthChartDivisions(m);
        for (int i = 1; i <= n; ++i) {
            const double x = gx + i * gw / n;
            s_.setDrawStyle(DrawStyle::Dotted);
            s_.setLineWidth(0.05);
            s_.line(x, hh_, x, hb_);
        }
        s_.setDrawStyle(DrawStyle::Solid);
    }
    s_.setLineWidth(0.2);
    s_.line(gx, hh_, gx, hb_);
    s_.setLineWidth(0.3);
    s_.box(left, 25, right, hb_);
    s_.line(left, hh_, right, hh_);

    // Texts of the column head.
    s_.setFontName(fixedGothicFont());
    s_.setFontSize(7);
    const double x = left + 1;
    s_.textLeft(x, hh_ - 14, QStringLiteral("測点 No. ") + doc.pointCell(p, PointColumn::測点No表記));
    const int n = doc.recordCount(p);
    const QString last = n > 0 ? doc.recordCell(p, n - 1, RecordColumn::貫入長) : QString();
    s_.textLeft(x, hh_ - 11.4,
                QStringLiteral("貫入長 : ")
                    + (numtext::isNumeric(last) ? numtext::formatNumber(numtext::leadingNumber(last), u"0.00 m")
                                                : QString()));
    s_.textLeft(x, hh_ - 8.7,
                QStringLiteral("調査日時:")
                    + measurementTimeText(doc.pointCell(p, PointColumn::開始日時),
                                          doc.pointCell(p, PointColumn::終了日時)));
    // The ground height, with the prefix of any height basis (GL, KBM, TBM,
    // BM), shares the point's line at the column's right edge, clear of the
    // point number: the date line below is full.
    const QString ground = doc.pointCell(p, PointColumn::地盤高);
    if (!ground.trimmed().isEmpty()) {
        const double pointEnd = x + s_.textWidth(QStringLiteral("測点 No. ") + doc.pointCell(p, PointColumn::測点No表記));
        drawFittedText(s_, TextAlign::Right, right - 1, hh_ - 14,
                       QStringLiteral("地盤高　 : ") + groundHeightText(st.高さ基準, numtext::leadingNumber(ground)), 7,
                       pointEnd + 1.5, right - 1);
    }

    // The depth axis title stands above the axis, where the value labels
    // leave room: "貫入長" on the value title's line, "(m)" on the labels' line.
    const QString depthTitle = QStringLiteral("貫入長");
    const double depthTitleEnd = x + s_.textWidth(depthTitle);
    s_.textLeft(x, hh_ - 6, depthTitle);
    s_.textLeft(x, hh_ - 3, QStringLiteral("(m)"));
    drawValueAxisTitle(left + columnWidth_ / 2, hh_ - 6, depthTitleEnd + 0.5, right);
    s_.setFontSize(7);

    if (m > 0) {
        const int divisions = depthChartDivisions(m);
        for (int i = 1; i <= divisions; ++i)
            s_.textCentred(gx + i * gw / divisions, hh_ - 3, divisionLabel(m * i / divisions));
    }

    // Every whole metre of the depth axis carries its label just above its
    // line; where the metres lie closer than a label is high, the labels are
    // made smaller so that each still has its own.
    const double axisCentre = left + AxisWidth / 2;
    const double perMetre = (hb_ - hh_) / dmax_;
    double labelSize = 7;
    const double labelHeight = s_.textHeight(QStringLiteral("0"));
    if (labelHeight > perMetre - 0.2)
        labelSize = std::max(1.0, 7 * (perMetre - 0.2) / labelHeight);
    s_.setFontSize(labelSize);
    const double raise = s_.textHeight(QStringLiteral("0")) + 0.1;
    for (int d = 1; d <= static_cast<int>(std::floor(dmax_ + 1e-9)); ++d)
        drawFittedText(s_, TextAlign::Centre, axisCentre, depthToY(d) - raise, QString::number(d), labelSize, left,
                       gx);
    s_.setFontSize(7);
}

std::optional<double> DepthChart::barValueOf(int p, int r) const
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const int column = depthChartColumn(st);
    if (column != 0)
        return barValue(doc.recordCell(p, r, column));
    // qu = 2·c, with c the cohesion of the record's soil at its Nd (a Nd
    // below the measurable limit counts as 0). Soils without cohesion, such
    // as sand, have no qu.
    if (!in_.calculator)
        return std::nullopt;
    const double nd = barValue(doc.recordCell(p, r, RecordColumn::補正打撃回数));
    const std::optional<double> c = in_.calculator->computeCohesion(nd, doc.header(HeaderField::提出先),
                                                                 doc.recordCell(p, r, RecordColumn::推定土質));
    if (!c || *c <= 0)
        return std::nullopt;
    return quInAxisUnit(*c, st);
}

bool DepthChart::drawBar(int p, int r, double left, bool firstOfSeries)
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const std::optional<double> depth = numtext::parseNumber(doc.recordCell(p, r, RecordColumn::貫入長));
    if (!depth)
        return false;
    double previous = 0;
    if (r > 0)
        previous = numtext::parseNumber(doc.recordCell(p, r - 1, RecordColumn::貫入長)).value_or(0.0);
    // Interval in centimetres, as the record sheet gives it.
    const double interval = (*depth - previous) * 100;
    const double y1 = std::min(hb_, hh_ + (100 * *depth - interval) * (hb_ - hh_) / (100 * dmax_));
    const double y2 = std::min(hb_, hh_ + 100 * *depth * (hb_ - hh_) / (100 * dmax_));

    const std::optional<double> v = barValueOf(p, r);
    if (!v)
        return false;
    const double x1 = graphLeft(left);
    const double x2 = x1 + barLength(*v, depthChartFullScale(st), graphWidth());
    const ColourNumber colour =
        colours_.colour(doc.recordCell(p, r, RecordColumn::推定土質),
                        numtext::leadingNumber(doc.recordCell(p, r, RecordColumn::補正打撃回数)),
                        numtext::leadingNumber(doc.recordCell(p, r, RecordColumn::換算支持力)),
                        numtext::leadingNumber(doc.recordCell(p, r, RecordColumn::トルク)));
    s_.setDrawStyle(DrawStyle::Solid);
    pen_.draw(x1, y1, x2, y2, colour, firstOfSeries);
    return true;
}

} // namespace vortan::report
