#pragma once
// The values computed for every penetration record: the correction ⊿Nd from
// the torque, the corrected blow count Nd and the converted long-term
// allowable bearing capacity qa of the notice formula
//   qa = 1/3 (ic·α·c·Nc + iγ·β·γ1·B·Nγ + iq·γ2·Df·Nq),
// with coefficients chosen by customer and soil. Everything works on the
// texts a data row shows, so that the data sheet, the reports and the
// command-line program share one calculation; nothing here touches a widget.

#include "calc/bearing_factors.h"
#include "calc/formula_sets.h"
#include "calc/qa_param_file.h"

#include <QString>
#include <optional>

namespace vortan {
struct ProgramState;
}
namespace vortan::db {
class Workspace;
}

namespace vortan::calc {

// What computeNd yields: the text shown for Nd (a number, a limit text such as
// "1未満" or "50以上", or empty) and the value that the bearing capacity uses.
struct NdResult {
    QString display;
    std::optional<double> value;
};

// The cells of a data row the calculation reads (columns 1 to 4 as shown).
struct RowInputs {
    QString depth;
    QString blowCount;
    QString torque;   // in the unit shown on the sheet
    QString soil;
};

// The texts written into columns 6 to 8 of the row.
struct RowTexts {
    QString deltaNd;
    QString nd;
    QString qa;
};

class PenetrationCalculator {
public:
    PenetrationCalculator(db::Workspace& workspace, const ProgramState& state);

    // A recalculation of many rows: while a scope lives, qaTbl.tbl is looked
    // at once, not once per row.
    class RunScope {
    public:
        explicit RunScope(PenetrationCalculator& calculator) : file_(calculator.qaParamFile_)
        {
            file_.setLookOnce(true);
        }
        ~RunScope() { file_.setLookOnce(false); }
        RunScope(const RunScope&) = delete;
        RunScope& operator=(const RunScope&) = delete;

    private:
        QaParamFile& file_;
    };

    FormulaSetCache& formulaSets() { return formulaSets_; }
    QaParamFile& qaParamFile() { return qaParamFile_; }

    // The bearing capacity factor table of the settings, read into numbers.
    // Build it once for a run over many rows.
    BearingFactorTable bearingFactorTable() const;
    // Path of qaTbl.tbl in the settings folder.
    QString qaParamFilePath() const;

    // ⊿Nd = A + B·Mv^C with Mv in kN·cm; no value when Mv is not a number.
    std::optional<double> computeDeltaNd(std::optional<double> mv, const QString& customer,
                                      const QString& soil);

    // Nd from the ⊿Nd text (one decimal, as shown) and the blow count text,
    // with the threshold, the upper limit and the lower blow-count limit.
    NdResult computeNd(const QString& deltaNdText, const QString& blowCount, const QString& customer,
                    const QString& soil);

    // qa in general number format (or the threshold text with "未満"); an
    // empty text when the customer has no bearing capacity formula for the
    // soil or no parameter record matches; no value for a negative Nd.
    std::optional<QString> computeQa(std::optional<double> nd, const QString& customer,
                                  const QString& soil, double depth, const BearingFactorTable& factors);

    // The cohesion c (kN/m²) of the soil at the blow count Nd, as the qa
    // formula takes it from the parameter record of the customer's qa series;
    // no value when the customer has no qa series or no record for the soil.
    std::optional<double> computeCohesion(double nd, const QString& customer, const QString& soil);

    // One data row: ⊿Nd, Nd and qa texts as the row shows them.
    RowTexts computeRow(const RowInputs& row, const QString& customer, const BearingFactorTable& factors);

private:
    // computeNd with the blow count already read as a number.
    NdResult calcNd(const QString& deltaNdText, const QString& blowCount, std::optional<double> ndm,
                    const QString& customer, const QString& soil);

    const ProgramState& state_;
    FormulaSetCache formulaSets_;
    QaParamFile qaParamFile_;
};

} // namespace vortan::calc
