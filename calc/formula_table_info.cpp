#include "calc/formula_table_info.h"

namespace vortan::calc {

const FormulaTableInfo& formulaTableInfo(FormulaTable table)
{
    static const FormulaTableInfo rnd{FormulaTable::RNd,
                                      QStringLiteral("F_RNd値計算式"),
                                      QStringLiteral("⊿Nd値計算式の設定"),
                                      QStringLiteral("mstRNd値計算式"),
                                      QStringLiteral("Nd値計算式コード"),
                                      {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                                      {QStringLiteral("Mv:トルク(kN・cm)"), QStringLiteral("Nd:補正値")}};
    static const FormulaTableInfo nd{FormulaTable::Nd,
                                     QStringLiteral("F_Nd値計算式"),
                                     QStringLiteral("Nd値計算式の設定"),
                                     QStringLiteral("mstNd値計算式"),
                                     QStringLiteral("qu値計算式コード"),
                                     {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"),
                                      QStringLiteral("D"), QStringLiteral("E")},
                                     {QStringLiteral("Nd=A+B･Ndm-D・ Nd"), QStringLiteral("Ndm:打撃回数"),
                                      QStringLiteral("Nd:補正値")}};
    static const FormulaTableInfo qa{FormulaTable::Qa,
                                     QStringLiteral("F_Qa値計算式"),
                                     QStringLiteral("Qa値計算式の設定"),
                                     QStringLiteral("mstQa値計算式"),
                                     QStringLiteral("Qa値計算式コード"),
                                     {},
                                     {}};
    switch (table) {
    case FormulaTable::RNd: return rnd;
    case FormulaTable::Nd: return nd;
    case FormulaTable::Qa: break;
    }
    return qa;
}

} // namespace vortan::calc
