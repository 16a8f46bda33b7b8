#include "calc/qa_param_groups.h"

namespace vortan::calc {

QStringList QaParamGroup::letters() const
{
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QString(QChar(u'A' + i));
    return out;
}

const std::array<QaParamGroup, QaParamGroupCount>& qaParamGroups()
{
    // The texts are what the user reads beside each grid; the calculation
    // itself works on the parameters (exponents included).
    static const std::array<QaParamGroup, QaParamGroupCount> groups = {{
        {QStringLiteral("ic"), 1, 6, {QStringLiteral("ｉｃ = A・（Ｂ／Ｃ - Ｄ／Ｅ）")}},
        {QStringLiteral("iγ"), 7, 6, {QStringLiteral("ｉｒ = A・（Ｂ／Ｃ - Ｄ／Ｅ）")}},
        {QStringLiteral("iq"), 13, 6, {QStringLiteral("ｉｑ = A・（Ｂ／Ｃ - Ｄ／Ｅ）")}},
        {QStringLiteral("α"), 19, 7, {QStringLiteral("α = Ａ　+　Ｂ ・ Ｃ ／ Ｄ－Ｅ ・ Ｆ／G")}},
        {QStringLiteral("β"), 26, 7, {QStringLiteral("β = Ａ　+　Ｂ ・ Ｃ ／ Ｄ－Ｅ ・ Ｆ／G")}},
        {QStringLiteral("γ1"), 33, 2, {QStringLiteral("γ１ = Ａ　－　Ｂ")}},
        {QStringLiteral("γ2"), 35, 2, {QStringLiteral("γ２ = Ａ　－　Ｂ")}},
        {QStringLiteral("c"), 37, 11,
         {QStringLiteral("Nｄ ≧ Ａの時　ｃ = Ｂ ＋ C ・ （D ＋ E ・ Nd ／ F）"),
          QStringLiteral("Nｄ ＜ Ａの時　ｃ = G ＋ H ・ （ I ＋ J ・ Nd ／ K）")}},
        {QStringLiteral("B"), 48, 2, {QStringLiteral("B  = Ａ　－　Ｂ")}},
        {QStringLiteral("Df"), 50, 2, {QStringLiteral("Df  = Ａ　・　（深度データ） ＋ Ｂ")}},
        {QStringLiteral("φ"), 52, 3,
         {QStringLiteral("Φ = A ＋ （Ｂ ・ Nd）"),
          QStringLiteral("Φの値により'rqtbl.csv'の表からＮｃ、Ｎｒ、Ｎｑの値を設定する")}},
    }};
    return groups;
}

} // namespace vortan::calc
