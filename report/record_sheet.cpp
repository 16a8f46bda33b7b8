#include "report/record_sheet.h"

#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "db/master_lists.h"
#include "report/company_mark.h"
#include "report/draw_surface.h"
#include "report/fitted_text.h"
#include "report/graph_scale.h"
#include "report/report_fonts.h"
#include "report/report_run.h"
#include "report/report_titles.h"
#include "sheet/survey_document.h"

#include <cmath>

namespace vortan::report {

using sheet::HeaderField;
using sheet::PointColumn;
using sheet::RecordColumn;

namespace {

// The room kept between a header text and its cell's edges.
constexpr double CellPad = 0.5;

QString metresText(const QString& cell)
{
    return numtext::formatNumber(numtext::leadingNumber(cell), u"0.00") + QStringLiteral(" m");
}

// The top of the next row: 5 mm further down, rounded to a tenth of a
// millimetre. Rows below the header start on whole millimetres, which stay
// as they are.
double nextRowTop(double y)
{
    const double next = y + RowHeight;
    if (next == std::floor(next) && std::abs(next) < 1e15)
        return next;
    return numtext::leadingNumber(numtext::formatNumber(next, u"#.0"));
}

} // namespace

double recordSheetRowBandBottom(double innerPageHeight, double headerHeight)
{
    const double limit = innerPageHeight - 10;
    double hb = headerHeight;
    do {
        hb += RowHeight;
    } while (hb < limit);
    return hb;
}

int recordSheetPageCount(const sheet::SurveyDocument& document, double hb, double hh)
{
    const double band = hb - hh;
    if (band <= 0)
        return markedPointCount(document) > 0 ? 1 : 0;
    int pages = 0;
    for (int p = 0; p < document.pointCount(); ++p) {
        if (!isMarkedForPrinting(document, p))
            continue;
        const int n = document.recordCount(p);
        if (n == 0) {
            ++pages;
            continue;
        }
        const double height = RowHeight * n;
        const int whole = static_cast<int>(std::floor(height / band));
        pages += whole + (height - whole * band >= 1 ? 1 : 0);
    }
    return pages;
}

RecordSheet::RecordSheet(const ReportInputs& inputs, DrawSurface& surface)
    : in_(inputs),
      s_(surface),
      soils_(inputs.survey),
      colours_(inputs.state.settings, soils_),
      pen_(surface, inputs.state.graphKind),
      graphValue_(recordSheetGraphValue(inputs.state)),
      fullScale_(recordSheetFullScale(inputs.state.settings, graphValue_)),
      addressLabels_(inputs.addressLabels)
{
}

QString RecordSheet::locationLabel() const
{
    const QString& kind = in_.state.settings.住所名;
    if (kind == u"1")
        return QStringLiteral("調査地");
    if (kind == u"2")
        return QStringLiteral("建築住所");
    if (kind == u"3") {
        // The entry chosen in the options dialog's list box, whose entries
        // are the list's elements 1..n.
        const int index = in_.state.settings.その他_ComboIndex + 1;
        if (addressLabels_.size() > 1 && index >= 1 && index < addressLabels_.size())
            return addressLabels_.at(index);
        return QString();
    }
    return QStringLiteral("住所");
}

bool RecordSheet::print()
{
    if (markedPointCount(in_.document) == 0)
        return true;
    const AppSettings& settings = in_.state.settings;
    in_.ui.setBusy(s_.isPrinting() ? QStringLiteral("印刷中...") : QStringLiteral("プレビュー中..."), true);
    mark_ = loadCompanyMark(settings.会社マーク);
    if (settings.住所名 == u"3" && addressLabels_.size() <= 1 && in_.survey) {
        db::MasterLists lists;
        db::LoadMasterList(*in_.survey, lists, db::MasterList::AddressLabel);
        addressLabels_ = lists.addressLabel;
    }
    s_.preparePage();
    w_ = s_.reportWidth();
    hh_ = PortraitHeaderHeight;
    hb_ = recordSheetRowBandBottom(s_.innerPageHeight());

    bool goOn = true;
    bool firstPoint = true;
    const sheet::SurveyDocument& doc = in_.document;
    for (int p = 0; p < doc.pointCount() && goOn; ++p) {
        if (!isMarkedForPrinting(doc, p))
            continue;
        if (!firstPoint && !s_.newPage()) {
            goOn = false;
            break;
        }
        firstPoint = false;
        drawHeader(p);
        bool firstOfSeries = true;
        for (int r = 0; r < doc.recordCount(p); ++r) {
            if (s_.y() >= hb_ - RowHeight) {
                drawTableFrame();
                if (!s_.newPage()) {
                    goOn = false;
                    break;
                }
                drawHeader(p);
                firstOfSeries = true;
            }
            drawRow(p, r, firstOfSeries);
            firstOfSeries = false;
            in_.ui.processEvents();
        }
        if (goOn)
            drawTableFrame();
    }
    s_.endDocument();
    in_.ui.setBusy(QString(), false);
    return goOn;
}

void RecordSheet::drawHeader(int p)
{
    drawHeaderLines();
    drawHeaderTitle();
    drawSurveyFields(p);
    drawPointLine(p);
    s_.moveToY(hh_ - 4);
}

void RecordSheet::drawHeaderLines()
{
    const AppSettings& st = in_.state.settings;
    const double w = w_;

    // Lines.
    s_.setForeColor(Black);
    s_.setDrawStyle(DrawStyle::Solid);
    s_.setLineWidth(0.5);
    s_.box(0, 0, w, 45);
    s_.line(0, 10, w, 10);
    s_.line(0, 35, w, 35);

    s_.setLineWidth(0.3);
    s_.line(15, 10, 15, 25);
    s_.line(15, 25, 15, 30);
    s_.line(15, 30, 15, 40);
    if (st.記事)
        s_.line(15, 40, 15, 45);
    s_.line(120, 10, 120, 30);
    s_.line(140, 10, 140, 30);

    s_.setLineWidth(0.2);
    for (double y : {15.0, 20.0, 25.0, 30.0, 40.0})
        s_.line(0, y, w, y);
    if (st.標高) {
        s_.line(30, 25, 30, 30);
        s_.line(49, 25, 49, 30);
    }
    s_.line(w / 4, 35, w / 4, 40);
    if (st.標高差)
        s_.line(w / 4 + 15, 35, w / 4 + 15, 40);
    if (st.地下水位) {
        s_.line(w / 2, 35, w / 2, 40);
        s_.line(w / 2 + 15, 35, w / 2 + 15, 40);
    }
    s_.line(3 * w / 4, 35, 3 * w / 4, 40);
    s_.line(3 * w / 4 + 21, 35, 3 * w / 4 + 21, 40);
}

// Texts of the header. Each stays inside its cell: a text too wide for it is
// drawn smaller, and a right-aligned value too wide for the room left of its
// anchor starts at the cell's left edge instead.
void RecordSheet::headerLabel(double size, double x, double y, const QString& text, double cellRight)
{
    s_.setFontName(gothicFont());
    drawFittedText(s_, TextAlign::Left, x, y, text, size, x, cellRight - CellPad);
}

void RecordSheet::headerValue(double x, double y, const QString& text, double cellLeft, double cellRight,
                              TextAlign align)
{
    s_.setFontName(minchoFont());
    s_.setFontSize(10);
    if (align == TextAlign::Right && s_.textWidth(text) > x - cellLeft - CellPad) {
        x = cellLeft + 1;
        align = TextAlign::Left;
    }
    drawFittedText(s_, align, x, y, text, 10, cellLeft + CellPad, cellRight - CellPad);
}

void RecordSheet::drawHeaderTitle()
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const double w = w_;

    s_.setForeColor(Black);
    s_.setFontName(gothicFont());
    drawFittedText(s_, TextAlign::Centre, w / 2, 1.5, reportTitle(st), 20, 0, w);
    if (!mark_.isNull())
        s_.picture(mark_, 0.5, 0.5, CompanyMarkHeight);
    drawFittedText(s_, TextAlign::Right, w - 5, 6.5, QStringLiteral("No.") + doc.header(HeaderField::調査地区No), 8,
                   w / 2, w);
}

void RecordSheet::drawSurveyFields(int p)
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const double w = w_;

    // The left block's cells end at x = 120 down to y = 30.
    headerLabel(10, 1, 11, QStringLiteral("現場名"), 15);
    headerValue(17, 11, doc.header(HeaderField::現場名), 15, 120);
    headerLabel(10, 1, 16, locationLabel(), 15);
    headerValue(17, 16, doc.header(HeaderField::住所), 15, 120);
    headerLabel(9, 1, 21, QStringLiteral("調査目的"), 15);
    headerValue(17, 21, doc.header(HeaderField::調査目的), 15, 120);

    const QString elevation = doc.header(HeaderField::標高).trimmed();
    if (st.標高) {
        headerLabel(10, 1, 26, QStringLiteral("標高"), 15);
        if (!elevation.isEmpty())
            headerValue(29, 26, elevation + QStringLiteral(" m"), 15, 30, TextAlign::Right);
        headerLabel(10, 34.5, 26, QStringLiteral("天候"), 49);
        headerValue(50, 26, doc.header(HeaderField::天候), 49, 120);
    } else {
        headerLabel(10, 1, 26, QStringLiteral("天候"), 15);
        headerValue(24, 26, doc.header(HeaderField::天候), 15, 120, TextAlign::Right);
    }

    headerLabel(10, 121.5, 11, QStringLiteral("調査開始日"), 140);
    headerLabel(10, 121.5, 16, QStringLiteral("調査終了日"), 140);
    headerLabel(10, 121.5, 21, QStringLiteral("調査責任者"), 140);
    headerLabel(10, 121.5, 26, QStringLiteral("調査者"), 140);
    // The point's start and end end at 170.5.
    headerValue(170.5, 11, pointDateTimeText(doc.pointCell(p, PointColumn::開始日時)), 140, w, TextAlign::Right);
    headerValue(170.5, 16, pointDateTimeText(doc.pointCell(p, PointColumn::終了日時)), 140, w, TextAlign::Right);
    headerValue(140.5, 21, doc.header(HeaderField::調査責任者), 140, w);
    headerValue(140.5, 26, doc.header(HeaderField::調査者), 140, w);

    headerLabel(10, 1, 31, QStringLiteral("記事"), 15);
    headerValue(17, 31, doc.header(HeaderField::調査地区記事), 15, w);
}

void RecordSheet::drawPointLine(int p)
{
    const AppSettings& st = in_.state.settings;
    const sheet::SurveyDocument& doc = in_.document;
    const double w = w_;

    // The point's line: the label shares the first cell with the number.
    double numberLeft = 0;
    if (st.測点表示 == u"0" || st.測点表示 == u"1") {
        const QString text = st.測点表示 == u"0" ? QStringLiteral("測点No") : QStringLiteral("データNo");
        headerLabel(10, 1, 36, text, w / 4);
        s_.setFontName(gothicFont());
        s_.setFontSize(10);
        numberLeft = std::min(1 + s_.textWidth(text), w / 4 - 2);
    }
    headerValue(w / 4 - 1, 36, doc.pointCell(p, PointColumn::測点No表記), numberLeft, w / 4, TextAlign::Right);

    if (st.標高差) {
        headerLabel(10, w / 4 + 0.5, 36, QStringLiteral("地盤高"), w / 4 + 15);
        const QString ground = doc.pointCell(p, PointColumn::地盤高);
        if (!ground.trimmed().isEmpty())
            headerValue(w / 2 - 1, 36, groundHeightText(st.高さ基準, numtext::leadingNumber(ground)), w / 4 + 15, w / 2,
                  TextAlign::Right);
    }
    if (st.地下水位) {
        headerLabel(10, w / 2 + 0.5, 36, QStringLiteral("地下水位"), w / 2 + 15);
        const QString water = doc.pointCell(p, PointColumn::地下水位);
        if (!water.trimmed().isEmpty())
            headerValue(3 * w / 4 - 1, 36, metresText(water), w / 2 + 15, 3 * w / 4, TextAlign::Right);
    }
    headerLabel(10, 3 * w / 4 + 0.5, 36, QStringLiteral("最終貫入長"), 3 * w / 4 + 21);
    const int n = doc.recordCount(p);
    if (n > 0) {
        const QString last = doc.recordCell(p, n - 1, RecordColumn::貫入長);
        if (numtext::isNumeric(last))
            headerValue(w - 1, 36, metresText(last), 3 * w / 4 + 21, w, TextAlign::Right);
    }
    if (st.記事) {
        headerLabel(10, 1, 41, QStringLiteral("記事"), 15);
        const QString remark = doc.pointCell(p, PointColumn::記事);
        if (!remark.trimmed().isEmpty())
            headerValue(17, 41, remark, 15, w);
    }
}

void RecordSheet::drawTableFrame()
{
    const AppSettings& st = in_.state.settings;
    const double w = w_;
    s_.setForeColor(Black);
    s_.setDrawStyle(DrawStyle::Solid);

    drawGraphGrid();

    s_.setForeColor(Black);
    s_.setDrawStyle(DrawStyle::Solid);
    s_.setLineWidth(0.1);
    for (double y = hh_ + RowHeight; y < hb_ - 0.001; y += RowHeight)
        s_.line(0, y, w, y);
    s_.setLineWidth(0.2);
    for (double x : {10.0, 20.0, 30.0, 40.0, 60.0, 70.0, 85.0, 100.0})
        s_.line(x, 45, x, hb_);
    s_.setLineWidth(0.3);
    s_.line(0, hh_, w, hh_);
    s_.setLineWidth(0.5);
    s_.line(0, 45, 0, hb_);
    s_.line(w, 45, w, hb_);
    s_.line(0, hb_, w, hb_);

    // Column headings.
    s_.setFontName(gothicFont());
    s_.setFontSize(7);
    const auto heading = [this](double centre, std::initializer_list<QString> lines) {
        double y = 45.5;
        for (const QString& line : lines) {
            s_.textCentred(centre, y, line);
            y += 2.5;
        }
    };
    heading(5, {QStringLiteral("貫入長"), QStringLiteral("D"), QStringLiteral("m")});
    heading(15, {QStringLiteral("打撃回数"), QStringLiteral("Ndm")});
    heading(25, {QStringLiteral("トルク"), QStringLiteral("Mv")});
    if (st.試験名単位切替)
        s_.textCentred(25.5, 50.5, QStringLiteral("N・m"));
    else
        s_.textCentred(26, 50.5, QStringLiteral("kN・cm"));
    heading(35, {QStringLiteral("推定土質")});
    heading(50, {QStringLiteral("記事")});
    heading(65, {QStringLiteral("補正値")});
    s_.setFontSize(4.5);
    s_.textLeft(62, 49, QStringLiteral("⊿"));
    s_.setFontSize(7);
    s_.textLeft(64, 49, QStringLiteral("Nd"));
    heading(77.5, {QStringLiteral("補正打撃回数"), QStringLiteral("Nd")});
    heading(92.5, {QStringLiteral("換算支持力"), QStringLiteral("qa"), QStringLiteral("kN/m")});
    s_.setFontSize(3);
    s_.textLeft(95.5, 50.5, QStringLiteral("2"));
    drawGraphHeading();

    s_.setFontName(gothicFont());
    drawFittedText(s_, TextAlign::Centre, 90, hb_ + 1, st.会社名, 10, 0, w);
}

void RecordSheet::drawRow(int p, int r, bool firstOfSeries)
{
    const sheet::SurveyDocument& doc = in_.document;
    const double y = nextRowTop(s_.y());
    s_.moveToY(y);

    const auto cell = [&](int column) -> const QString& { return doc.recordCell(p, r, column); };

    // Every value stays inside its column: a long one ("1,238.3以上", a long
    // remark) is drawn in a smaller size. Nd ends half a millimetre inside
    // its column like the others, clear of the column line. The first three
    // columns print numbers only.
    s_.setForeColor(Black);
    s_.setFontName(minchoFont());
    const auto put = [this, y](TextAlign align, double x, const QString& text, double left, double right,
                               double points = 9) {
        drawFittedText(s_, align, x, y, text, points, left + 0.3, right - 0.3);
    };
    const ColumnFormat::Cell& depth = depths_.cell(cell(RecordColumn::貫入長));
    put(TextAlign::Right, 9.5, depth.text, 0, 10);
    put(TextAlign::Right, 19.5, blows_.cell(cell(RecordColumn::打撃回数)).text, 10, 20);
    put(TextAlign::Right, 29.5, torques_.cell(cell(RecordColumn::トルク)).text, 20, 30);
    put(TextAlign::Left, 41, cell(RecordColumn::記事), 40, 60);
    put(TextAlign::Right, 69.5, results_.cell(cell(RecordColumn::補正値)).text, 60, 70);
    put(TextAlign::Right, 84.5, results_.cell(cell(RecordColumn::補正打撃回数)).text, 70, 85);
    put(TextAlign::Right, 99.5, results_.cell(cell(RecordColumn::換算支持力)).text, 85, 100);
    put(TextAlign::Centre, 35, numtext::formatCharacters(cell(RecordColumn::推定土質), u"& &"), 30, 40, 7);

    drawBar(p, r, y, firstOfSeries);

    // A whole metre of depth closes its row with a heavy line.
    if (const std::optional<double> metres = depth.value;
        metres && *metres > 0 && std::abs(*metres * 100 - std::round(*metres) * 100) < 1e-6) {
        s_.setForeColor(Black);
        s_.setDrawStyle(DrawStyle::Solid);
        s_.setLineWidth(0.5);
        s_.line(0, y + 4, w_, y + 4);
    }
}

} // namespace vortan::report
