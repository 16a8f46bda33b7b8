#include "report/page_frame.h"

#include <cmath>

namespace vortan::report {

double& Margins::operator[](MarginSide side)
{
    switch (side) {
    case MarginSide::Top: return top;
    case MarginSide::Right: return right;
    case MarginSide::Bottom: return bottom;
    case MarginSide::Left: break;
    }
    return left;
}

double Margins::operator[](MarginSide side) const
{
    return const_cast<Margins&>(*this)[side];
}

double twipsToReportMm(double twips)
{
    return twips / 56.7;
}

double mmToTwips(double mm)
{
    return std::round(mm * 1440.0 / 25.4);
}

PageFrame PageFrame::forPaper(QSizeF paperMm, Margins margins)
{
    PageFrame frame;
    frame.paperWidth = twipsToReportMm(mmToTwips(paperMm.width()));
    frame.paperHeight = twipsToReportMm(mmToTwips(paperMm.height()));
    frame.margins = margins;
    return frame;
}

} // namespace vortan::report
