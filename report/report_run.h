#pragma once
// Runs the report of a report type on a surface, and counts its pages.

#include "report/report_inputs.h"

#include <QString>

namespace vortan::report {

class DrawSurface;

// Types 0 and 1 draw the record sheet, type 2 the depth chart. The surface's
// page frame must be set. False when the user declined a further page.
// Without a point marked for printing nothing is drawn and no document is
// begun (the caller says so with nothingToPrintMessage()). On a failure
// (a failing soil colour query: Failure) the busy state is cleared first.
bool runReport(int reportType, const ReportInputs& inputs, DrawSurface& surface);

// The page count of a type for paper of the given inner page height (paper
// height − top − bottom margin, in report millimetres): exactly the pages
// runReport draws, 0 when no point is marked for printing.
int reportPageCount(int reportType, const sheet::SurveyDocument& document, const ProgramState& state,
                    double innerPageHeight);

// Whether point p carries the print mark; how many points do.
bool isMarkedForPrinting(const sheet::SurveyDocument& document, int point);
int markedPointCount(const sheet::SurveyDocument& document);

// "印刷する測点がありません。": told instead of printing an empty report.
QString nothingToPrintMessage();

} // namespace vortan::report
