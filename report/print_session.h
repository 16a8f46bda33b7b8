#pragma once
// The state of the print and preview window without its widgets: margins,
// page range, report type and the printer, the margin check against the
// printer's limits, the page count and the run of a report on a surface.
// The window, vortan-cli and the tests share it.

#include "report/page_frame.h"
#include "report/printer_geometry.h"
#include "report/report_inputs.h"

#include <QString>

namespace vortan::report {

class PageSurface;

struct MarginCheck {
    double value = 0;       // the margin the box should hold
    QString message;        // empty when the value stood as it was
};

class PrintSession {
public:
    // Margins start from the settings Top/Right/Bottom/Left Margin.
    PrintSession(ProgramState& state, PrinterPort& printer);

    ProgramState& state() { return state_; }
    PrinterPort& printer() { return *printer_; }
    void setPrinter(PrinterPort& printer) { printer_ = &printer; }

    // --- report type
    int reportType() const;
    // Stores the type; portrait and header 54 mm for 0 and 1, landscape and
    // 40 mm for 2, with the provisional report width of the settings. Any
    // other value only stores the type.
    void setReportType(int type);
    double headerHeight() const { return headerHeight_; }
    double provisionalWidth() const { return provisionalWidth_; }

    // --- margins and range
    const Margins& margins() const { return margins_; }
    void setMargin(MarginSide side, double value) { margins_[side] = value; }
    void setMargins(const Margins& margins) { margins_ = margins; }
    // Checks one margin box against the printer: below the printer's minimum
    // it becomes the minimum; leaving too little room for the report (165 mm
    // across, header + 20 mm down, against the opposite box) it becomes the
    // largest value that leaves room. `boxes` are the four boxes' values.
    MarginCheck checkMargin(MarginSide side, const Margins& boxes) const;

    void setPageRange(int start, int end);
    int rangeStart() const { return rangeStart_; }
    int rangeEnd() const { return rangeEnd_; }

    // --- paper
    PrinterGeometry geometry() const { return printer_->geometry(); }
    // The paper as the reports see it (twips / 56.7), the margins and range.
    PageFrame pageFrame() const;
    double reportWidth() const { return pageFrame().reportWidth(); }

    int pageCount(const sheet::SurveyDocument& document) const;

    // Sets the surface's page frame and runs the report of the current type.
    bool run(const ReportInputs& inputs, PageSurface& surface) const;

private:
    ProgramState& state_;
    PrinterPort* printer_;
    Margins margins_;
    int rangeStart_ = 1;
    int rangeEnd_ = 1;
    double headerHeight_ = 54;
    double provisionalWidth_ = 190;
};

// The messages of a margin box that was corrected.
QString marginTooSmallMessage(MarginSide side);
QString marginTooLargeMessage(MarginSide side);

} // namespace vortan::report
