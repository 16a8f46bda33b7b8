#include "report/print_session.h"

#include "core/number_text.h"
#include "core/program_state.h"
#include "report/page_surface.h"
#include "report/record_sheet.h"
#include "report/report_run.h"

#include <cmath>

namespace vortan::report {

namespace {

QString sideName(MarginSide side)
{
    switch (side) {
    case MarginSide::Top: return QStringLiteral("上");
    case MarginSide::Right: return QStringLiteral("右");
    case MarginSide::Bottom: return QStringLiteral("下");
    case MarginSide::Left: break;
    }
    return QStringLiteral("左");
}

MarginSide opposite(MarginSide side)
{
    switch (side) {
    case MarginSide::Top: return MarginSide::Bottom;
    case MarginSide::Right: return MarginSide::Left;
    case MarginSide::Bottom: return MarginSide::Top;
    case MarginSide::Left: break;
    }
    return MarginSide::Right;
}

} // namespace

QString marginTooSmallMessage(MarginSide side)
{
    return QStringLiteral("設定された") + sideName(side)
           + QStringLiteral("余白は小さすぎるため、ご使用されているプリンタの設定できる最小値にしました。");
}

QString marginTooLargeMessage(MarginSide side)
{
    return QStringLiteral("設定された") + sideName(side) + QStringLiteral("余白は大きすぎるため設定を調整しました。");
}

PrintSession::PrintSession(ProgramState& state, PrinterPort& printer) : state_(state), printer_(&printer)
{
    const AppSettings& s = state.settings;
    margins_.top = numtext::leadingNumber(s.TopMargin);
    margins_.right = numtext::leadingNumber(s.RightMargin);
    margins_.bottom = numtext::leadingNumber(s.BottomMargin);
    margins_.left = numtext::leadingNumber(s.LeftMargin);
    setReportType(s.レポートタイプ);
}

int PrintSession::reportType() const
{
    return state_.settings.レポートタイプ;
}

void PrintSession::setReportType(int type)
{
    state_.settings.レポートタイプ = static_cast<std::int16_t>(type);
    if (type == 0 || type == 1) {
        printer_->setOrientation(PageOrientation::Portrait);
        provisionalWidth_ = state_.settings.レポート縦;
        headerHeight_ = PortraitHeaderHeight;
    } else if (type == 2) {
        printer_->setOrientation(PageOrientation::Landscape);
        provisionalWidth_ = state_.settings.レポート横;
        headerHeight_ = LandscapeHeaderHeight;
    }
}

MarginCheck PrintSession::checkMargin(MarginSide side, const Margins& boxes) const
{
    const PrinterGeometry g = printer_->geometry();
    MarginCheck check;
    check.value = boxes[side];
    const double minimum = g.minimumMargin(side);
    if (check.value < minimum) {
        check.value = minimum;
        check.message = marginTooSmallMessage(side);
        return check;
    }
    const double other = boxes[opposite(side)];
    const bool across = side == MarginSide::Left || side == MarginSide::Right;
    const double paper = across ? g.paperWidth : g.paperHeight;
    const double room = across ? 165 : headerHeight_ + 20;
    if (check.value + other + room > paper) {
        check.value = std::ceil(paper - other - room - 1e-9);
        check.message = marginTooLargeMessage(side);
    }
    return check;
}

void PrintSession::setPageRange(int start, int end)
{
    rangeStart_ = start;
    rangeEnd_ = end;
}

PageFrame PrintSession::pageFrame() const
{
    PageFrame frame = PageFrame::forPaper(printer_->geometry().paperSize(), margins_);
    frame.rangeStart = rangeStart_;
    frame.rangeEnd = rangeEnd_;
    return frame;
}

int PrintSession::pageCount(const sheet::SurveyDocument& document) const
{
    return reportPageCount(reportType(), document, state_, pageFrame().innerHeight());
}

bool PrintSession::run(const ReportInputs& inputs, PageSurface& surface) const
{
    surface.setPageFrame(pageFrame());
    return runReport(reportType(), inputs, surface);
}

} // namespace vortan::report
