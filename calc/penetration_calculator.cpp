#include "calc/penetration_calculator.h"

#include "core/number_text.h"
#include "core/platform.h"
#include "core/program_state.h"

#include <cmath>

namespace vortan::calc {

namespace {

const QString LessThan = QStringLiteral("未満");
const QString OrMore = QStringLiteral("以上");
constexpr auto OneDecimal = u"0.0";

// x^y as the formulas use it (x^0 is 1, also for x = 0). The exponents of
// the shipped series are mostly 1 and 0, whose powers need no pow.
double power(double base, double exponent)
{
    if (exponent == 1.0)
        return base;
    if (exponent == 0.0)
        return 1.0;
    return std::pow(base, exponent);
}

// a / b for the qa factors, whose guards give 0 when a divisor is 0.
bool divisorsZero(float first, float second)
{
    return first == 0 || second == 0;
}

// c of a parameter record: P38 + P39·(P40 + P41·Nd/P42) from Nd = P37 up,
// P43 + P44·(P45 + P46·Nd/P47) below it; 0 when the divisor is 0.
double cohesion(const QaParamRecord& r, double nd)
{
    auto P = [&r](int n) { return static_cast<double>(r.P(n)); };
    if (nd >= P(37))
        return r.P(42) == 0 ? 0.0 : P(38) + P(39) * (P(40) + P(41) * nd / P(42));
    return r.P(47) == 0 ? 0.0 : P(43) + P(44) * (P(45) + P(46) * nd / P(47));
}

} // namespace

PenetrationCalculator::PenetrationCalculator(db::Workspace& workspace, const ProgramState& state)
    : state_(state), formulaSets_(workspace, state)
{
}

BearingFactorTable PenetrationCalculator::bearingFactorTable() const
{
    return BearingFactorTable(state_.bearingFactorTable);
}

QString PenetrationCalculator::qaParamFilePath() const
{
    return platform::joinPath(state_.settings.ini位置, QString::fromLatin1(QaParamFileName));
}

std::optional<double> PenetrationCalculator::computeDeltaNd(std::optional<double> mv, const QString& customer,
                                                         const QString& soil)
{
    if (!mv)
        return std::nullopt;
    const RNdSet set = formulaSets_.lookUpRNd(customer, soil);
    const double deltaNd = set.a + set.b * power(*mv, set.c);
    // A negative torque under a fractional exponent has no value.
    if (!std::isfinite(deltaNd))
        return std::nullopt;
    return deltaNd;
}

NdResult PenetrationCalculator::computeNd(const QString& deltaNdText, const QString& blowCount,
                                       const QString& customer, const QString& soil)
{
    return calcNd(deltaNdText, blowCount, numtext::parseNumber(blowCount), customer, soil);
}

NdResult PenetrationCalculator::calcNd(const QString& deltaNdText, const QString& blowCount,
                                       std::optional<double> ndm, const QString& customer, const QString& soil)
{
    const AppSettings& s = state_.settings;
    NdResult result;

    if (ndm && *ndm == 0 && s.Ndのしきい値を有効にする) {
        result.display = numtext::limitText(s.Ndのしきい値) + LessThan;
        result.value = static_cast<double>(s.Ndのしきい値);
        return result;
    }

    const std::optional<double> deltaNd = numtext::parseNumber(deltaNdText);
    if (deltaNd && ndm) {
        const NdSet set = formulaSets_.lookUpNd(customer, soil);
        if (!set.allZero()) {
            const double nd = (set.a + set.b * power(*ndm, set.c)) - set.d * power(*deltaNd, set.e);
            if (std::isfinite(nd)) {
                result.value = nd;
                result.display = numtext::shortestDouble(nd);
                if (nd < static_cast<double>(s.Ndのしきい値)) {
                    if (s.Ndのしきい値を有効にする)
                        result.display = numtext::limitText(s.Ndのしきい値) + LessThan;
                } else if (s.Nd値の上限を有効にする && nd > static_cast<double>(s.Nd値の上限値)) {
                    result.display = numtext::limitText(s.Nd値の上限値) + OrMore;
                }
            }
        }
    }

    // At or below the lower blow-count limit the correction is ignored.
    if (s.打撃回数の下限 && ndm && *ndm <= s.打撃回数の下限値) {
        result.display = blowCount;
        result.value = *ndm;
    }
    return result;
}

std::optional<QString> PenetrationCalculator::computeQa(std::optional<double> ndValue, const QString& customer,
                                                     const QString& soil, double depth,
                                                     const BearingFactorTable& factors)
{
    const double nd = ndValue.value_or(0.0);
    if (nd < 0)
        return std::nullopt;

    const QaSet set = formulaSets_.lookUpQa(customer, soil);
    if (set.isNone())
        return QString();
    const QaParamRecord r = qaParamFile_.findQaParams(qaParamFilePath(), set, soil);
    if (r.seriesCode == 0)
        return QString();

    auto P = [&r](int n) { return static_cast<double>(r.P(n)); };

    const double ic = divisorsZero(r.P(3), r.P(5)) ? 0.0 : P(1) * power(P(2) / P(3) - P(4) / P(5), P(6));
    const double iγ = divisorsZero(r.P(9), r.P(11)) ? 0.0 : P(7) * power(P(8) / P(9) - P(10) / P(11), P(12));
    const double iq = divisorsZero(r.P(15), r.P(17)) ? 0.0
                                                     : P(13) * power(P(14) / P(15) - P(16) / P(17), P(18));
    // The shape factors, unit weights and width are single-precision values.
    const float α = divisorsZero(r.P(22), r.P(25))
        ? 0.0f
        : static_cast<float>((P(21) * P(20) / P(22) + P(19)) - P(24) * P(23) / P(25));
    const float β = divisorsZero(r.P(29), r.P(32))
        ? 0.0f
        : static_cast<float>((P(28) * P(27) / P(29) + P(26)) - P(31) * P(30) / P(32));
    const float γ1 = static_cast<float>(P(33) - P(34));
    const float γ2 = static_cast<float>(P(35) - P(36));
    const double c = cohesion(r, nd);
    const float B = static_cast<float>(P(48) - P(49));
    const double Df = P(50) * depth + P(51);
    const double φ = P(52) + power(P(53) * nd, P(54));

    const BearingFactors f = factors.lookUpFactors(φ, r.roundingMode);
    const double qa = (f.nq * (Df * (γ2 * iq)) + (f.ngamma * (B * (γ1 * (β * iγ))) + f.nc * (c * (α * ic))))
        * (1.0 / 3.0);
    // A factor without a value (a negative base under a fractional exponent)
    // leaves the bearing capacity without one.
    if (!std::isfinite(qa))
        return std::nullopt;

    const AppSettings& s = state_.settings;
    if (s.qaのしきい値を有効にする && static_cast<float>(qa) < s.qaのしきい値)
        return numtext::limitText(s.qaのしきい値) + LessThan;
    return numtext::shortestDouble(qa);
}

std::optional<double> PenetrationCalculator::computeCohesion(double nd, const QString& customer, const QString& soil)
{
    const QaSet set = formulaSets_.lookUpQa(customer, soil);
    if (set.isNone())
        return std::nullopt;
    const QaParamRecord r = qaParamFile_.findQaParams(qaParamFilePath(), set, soil);
    if (r.seriesCode == 0)
        return std::nullopt;
    const double c = cohesion(r, nd);
    return std::isfinite(c) ? std::optional<double>(c) : std::nullopt;
}

RowTexts PenetrationCalculator::computeRow(const RowInputs& row, const QString& customer,
                                        const BearingFactorTable& factors)
{
    const AppSettings& s = state_.settings;
    RowTexts out;

    // Torque is kept in kN·cm; with the N·m setting the sheet shows ten times it.
    std::optional<double> mv = numtext::parseNumber(row.torque);
    if (mv && s.試験名単位切替)
        *mv /= 10.0;
    const std::optional<double> deltaNd = computeDeltaNd(mv, customer, row.soil);
    out.deltaNd = deltaNd ? numtext::formatNumber(*deltaNd, OneDecimal) : QString();

    const std::optional<double> ndm = numtext::parseNumber(row.blowCount);
    const NdResult nd = calcNd(out.deltaNd, row.blowCount, ndm, customer, row.soil);
    const QString ndText = numtext::formatText(nd.display, OneDecimal);
    out.nd = ndText;

    // The bearing capacity needs a depth and a blow count to start from; a row
    // that lacks either (a row just added, say) shows none.
    const std::optional<double> depth = numtext::parseNumber(row.depth);
    if (depth && ndm) {
        if (ndText.contains(OrMore)) {
            const std::optional<QString> qa =
                computeQa(numtext::leadingNumber(ndText), customer, row.soil, *depth, factors);
            const QString text = qa ? numtext::formatText(*qa, OneDecimal) : QString();
            out.qa = text.isEmpty() ? QString() : text + OrMore;
        } else {
            const std::optional<QString> qa = computeQa(nd.value, customer, row.soil, *depth, factors);
            out.qa = qa ? numtext::formatText(*qa, OneDecimal) : QString();
        }
    }

    // A negative Nd is shown as 0.0, or not at all when the blow count lies
    // above the lower limit that is in force.
    const std::optional<double> ndNumber = numtext::parseNumber(ndText);
    if (ndNumber && *ndNumber < 0) {
        const bool suppressed = s.打撃回数の下限 && ndm && *ndm > s.打撃回数の下限値;
        const QString shown = suppressed ? QString() : QStringLiteral("0.0");
        out.nd = shown;
        out.qa = shown;
    }
    return out;
}

} // namespace vortan::calc
