#pragma once
// Scales of the depth graphs: the tick step of the record sheet's graph
// column, the value divisions of a depth-chart column, and how a value text
// of a grid cell becomes the length of its bar.

#include <QString>
#include <QStringView>

namespace vortan::report {

// Tick step of the record-sheet graph for the full scale M. Nd: 1..5 -> 1,
// 6..14 -> 2, 15..30 -> 5, above 30 -> 10. qa and Mv: 1..5 -> 1, 6..14 -> 2,
// 15..30 -> 5, 31..100 -> 10, 101..300 -> 50, 301..1000 -> 100. Any other
// value -> 1.
double recordSheetTickStep(double fullScale, bool nd);

// Value divisions of a depth-chart column: M <= 5 -> 1, <= 10 -> 2, <= 15 -> 3,
// <= 20 -> 4, <= 25 -> 5, <= 30 -> 6, and five above 30.
int depthChartDivisions(double fullScale);

// The value a bar is drawn for: the leading number of the cell; a text
// holding "未満" (below the measurable limit) draws a bar of zero length.
double barValue(QStringView cell);

// Bar length in millimetres: value / M of the graph width, limited to the
// width; values below zero and a full scale of 0 give no length.
double barLength(double value, double fullScale, double graphWidth);

// A division label: "0" for whole numbers, "0.0" otherwise.
QString divisionLabel(double value);

} // namespace vortan::report
