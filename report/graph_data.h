#pragma once
// Which value the record sheet's graph column draws: the graph data name
// ("Nd", "Qa" or "Mv", Nd when unset) picks the grid column and the full
// scale from the settings.

#include <QString>

namespace vortan {
struct AppSettings;
struct ProgramState;
}

namespace vortan::report {

enum class GraphValue { Nd, Qa, Mv };

GraphValue recordSheetGraphValue(const ProgramState& state);
// The grid column of the value (7 Nd, 8 qa, 3 torque).
int recordColumnOf(GraphValue value);
// Full scale M: PRType3NMax, PRType3qaMax or PRType3MvMax.
double recordSheetFullScale(const AppSettings& settings, GraphValue value);

// Depth chart: the value by PRType3Type ("0" Nd, "1" qa, "2" qu, "3" Mv),
// its full scale, and its grid column (0 for qu, which no grid holds).
int depthChartValueType(const AppSettings& settings);
double depthChartFullScale(const AppSettings& settings);
int depthChartColumn(const AppSettings& settings);

// The unconfined compression strength qu = 2·c of a cohesion c in kN/m², in
// the unit of the depth chart's axis title: kgf/cm² for 単位系 "0"
// (÷ 10·重力加速度), N/cm² otherwise (÷ 10).
double quInAxisUnit(double cohesion, const AppSettings& settings);

} // namespace vortan::report
