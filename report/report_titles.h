#pragma once
// Texts the report pages compose from settings and grid cells.

#include <QString>

namespace vortan {
struct AppSettings;
}

namespace vortan::report {

// "大型動的コーン貫入試験記録" when 試験名単位切替 is on, else "ラムサウンディング試験".
QString reportTitle(const AppSettings& settings);

// The ground height with its reference prefix by 高さ基準 ("0" GL, "1" KBM,
// "2" TBM, "3" BM) and sign: "GL + 1.50 m", "KBM ±0.00 m", "GL - 1.50 m".
QString groundHeightText(const QString& basis, double height);

// A point's date-and-time cell ("2024/05/01_09:30") as the header prints it.
QString pointDateTimeText(const QString& cell);

// The measurement time line of a depth-chart column from the point's start
// and end cells: "2024/05/01 09時～10時"; two dates are joined by "～".
QString measurementTimeText(const QString& startCell, const QString& endCell);

} // namespace vortan::report
