#include "report/graph_data.h"

#include "core/number_text.h"
#include "core/program_state.h"
#include "sheet/survey_layout.h"

namespace vortan::report {

GraphValue recordSheetGraphValue(const ProgramState& state)
{
    if (state.graphDataName.compare(u"Qa", Qt::CaseInsensitive) == 0)
        return GraphValue::Qa;
    if (state.graphDataName.compare(u"Mv", Qt::CaseInsensitive) == 0)
        return GraphValue::Mv;
    return GraphValue::Nd;
}

int recordColumnOf(GraphValue value)
{
    switch (value) {
    case GraphValue::Qa: return sheet::RecordColumn::換算支持力;
    case GraphValue::Mv: return sheet::RecordColumn::トルク;
    case GraphValue::Nd: break;
    }
    return sheet::RecordColumn::補正打撃回数;
}

double recordSheetFullScale(const AppSettings& s, GraphValue value)
{
    switch (value) {
    case GraphValue::Qa: return numtext::leadingNumber(s.PRType3qaMax);
    case GraphValue::Mv: return numtext::leadingNumber(s.PRType3MvMax);
    case GraphValue::Nd: break;
    }
    return numtext::leadingNumber(s.PRType3NMax);
}

int depthChartValueType(const AppSettings& s)
{
    const double type = numtext::leadingNumber(s.PRType3Type);
    return type >= 0 && type <= 3 ? static_cast<int>(type) : 0;
}

double depthChartFullScale(const AppSettings& s)
{
    switch (depthChartValueType(s)) {
    case 1: return numtext::leadingNumber(s.PRType3qaMax);
    case 2: return numtext::leadingNumber(s.PRType3quMax);
    case 3: return numtext::leadingNumber(s.PRType3MvMax);
    default: break;
    }
    return numtext::leadingNumber(s.PRType3NMax);
}

double quInAxisUnit(double cohesion, const AppSettings& s)
{
    const double qu = 2 * cohesion;   // kN/m²
    if (s.単位系 == u"0") {
        const double g = s.重力加速度 > 0 ? static_cast<double>(s.重力加速度) : 9.80665;
        return qu / (10 * g);
    }
    return qu / 10;
}

int depthChartColumn(const AppSettings& s)
{
    switch (depthChartValueType(s)) {
    case 1: return sheet::RecordColumn::換算支持力;
    case 2: return 0;
    case 3: return sheet::RecordColumn::トルク;
    default: break;
    }
    return sheet::RecordColumn::補正打撃回数;
}

} // namespace vortan::report
