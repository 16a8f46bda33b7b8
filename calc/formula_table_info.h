#pragma once
// The three formula tables as their editors see them: the window's name and
// caption, the table, the customer column that binds a series, and the
// coefficient columns the soil grid shows.

#include <QString>
#include <QStringList>

namespace vortan::calc {

enum class FormulaTable { RNd, Nd, Qa };

struct FormulaTableInfo {
    FormulaTable table;
    QString windowName;       // "F_RNd値計算式"
    QString caption;          // "⊿Nd値計算式の設定"
    QString tableName;        // "mstRNd値計算式"
    QString customerColumn;   // column of mst得意先 holding the series code
    QStringList coefficients; // the coefficient columns of the soil grid, in order
    QStringList notes;        // the texts beside the grid that explain the formula
};

const FormulaTableInfo& formulaTableInfo(FormulaTable table);

} // namespace vortan::calc
