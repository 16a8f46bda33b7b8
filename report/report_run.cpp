#include "report/report_run.h"

#include "core/program_state.h"
#include "report/depth_chart.h"
#include "report/record_sheet.h"

namespace vortan::report {

bool runReport(int reportType, const ReportInputs& inputs, DrawSurface& surface)
{
    if (printedReportType(reportType) == 2) {
        DepthChart chart(inputs, surface);
        return chart.print();
    }
    RecordSheet sheet(inputs, surface);
    return sheet.print();
}

int reportPageCount(int reportType, const sheet::SurveyDocument& document, const ProgramState& state,
                    double innerPageHeight)
{
    if (printedReportType(reportType) == 2)
        return depthChartPageCount(document, state.settings.Nd値グラフ同時表示数);
    return recordSheetPageCount(document, recordSheetRowBandBottom(innerPageHeight), PortraitHeaderHeight);
}

} // namespace vortan::report
