#pragma once
// Runs the report of a report type on a surface, and counts its pages.

#include "report/report_inputs.h"

namespace vortan::report {

class DrawSurface;

// Types 0 and 1 draw the record sheet, type 2 the depth chart. The surface's
// page frame must be set. False when the user declined a further page.
// Throws Failure (a failing soil colour query).
bool runReport(int reportType, const ReportInputs& inputs, DrawSurface& surface);

// The page count of a type for paper of the given inner page height (paper
// height − top − bottom margin, in report millimetres).
int reportPageCount(int reportType, const sheet::SurveyDocument& document, const ProgramState& state,
                    double innerPageHeight);

} // namespace vortan::report
