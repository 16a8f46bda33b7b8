#include "report/report_run.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "core/user_interface.h"
#include "report/depth_chart.h"
#include "report/record_sheet.h"
#include "sheet/survey_document.h"

namespace vortan::report {

bool runReport(int reportType, const ReportInputs& inputs, DrawSurface& surface)
{
    try {
        if (printedReportType(reportType) == 2) {
            DepthChart chart(inputs, surface);
            return chart.print();
        }
        RecordSheet sheet(inputs, surface);
        return sheet.print();
    } catch (const Failure&) {
        inputs.ui.setBusy(QString(), false);
        throw;
    }
}

bool isMarkedForPrinting(const sheet::SurveyDocument& document, int point)
{
    return numtext::leadingNumber(document.pointCell(point, sheet::PointColumn::印刷)) != 0;
}

int markedPointCount(const sheet::SurveyDocument& document)
{
    int marked = 0;
    for (int p = 0; p < document.pointCount(); ++p)
        marked += isMarkedForPrinting(document, p) ? 1 : 0;
    return marked;
}

QString nothingToPrintMessage()
{
    return QStringLiteral("印刷する測点がありません。");
}

int reportPageCount(int reportType, const sheet::SurveyDocument& document, const ProgramState& state,
                    double innerPageHeight)
{
    if (printedReportType(reportType) == 2)
        return depthChartPageCount(document, state.settings.Nd値グラフ同時表示数);
    return recordSheetPageCount(document, recordSheetRowBandBottom(innerPageHeight), PortraitHeaderHeight);
}

} // namespace vortan::report
