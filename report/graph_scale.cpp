#include "report/graph_scale.h"

#include "core/number_text.h"

#include <algorithm>
#include <cmath>

namespace vortan::report {

double recordSheetTickStep(double m, bool nd)
{
    if (m >= 1 && m <= 5)
        return 1;
    if (m >= 6 && m <= 14)
        return 2;
    if (m >= 15 && m <= 30)
        return 5;
    if (nd)
        return m > 30 ? 10 : 1;
    if (m >= 31 && m <= 100)
        return 10;
    if (m >= 101 && m <= 300)
        return 50;
    if (m >= 301 && m <= 1000)
        return 100;
    return 1;
}

int depthChartDivisions(double m)
{
    if (m <= 5)
        return 1;
    if (m <= 10)
        return 2;
    if (m <= 15)
        return 3;
    if (m <= 20)
        return 4;
    if (m <= 25)
        return 5;
    if (m <= 30)
        return 6;
    return 5;
}

double barValue(QStringView cell)
{
    if (cell.contains(u"未満"))
        return 0;
    return numtext::leadingNumber(cell);
}

double barLength(double value, double fullScale, double graphWidth)
{
    if (fullScale <= 0 || value <= 0)
        return 0;
    if (value > fullScale)
        return graphWidth;
    return value * graphWidth / fullScale;
}

QString divisionLabel(double value)
{
    const bool whole = std::abs(value - std::round(value)) < 1e-9;
    return numtext::formatNumber(value, whole ? u"0" : u"0.0");
}

} // namespace vortan::report
