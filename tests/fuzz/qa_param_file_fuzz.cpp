// Fuzz entry: the bytes of qaTbl.tbl in the settings folder, read the two
// ways the program reads them: the calculation looks up the parameter record
// of every shipped soil under the shipped customer's series and computes
// ⊿Nd, Nd and qa for a few rows with it, and the formula series editor loads
// the records of series 1 into its parameter grids.

#include "calc/formula_series_editor.h"
#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "db/workspace.h"
#include "fuzz_support.h"

using namespace vortan;

namespace {

struct Environment {
    ProgramState state;
    db::Workspace workspace;

    Environment()
    {
        state.settings.ini位置 = fuzz::scratchFolder();
        LoadBearingFactorTable(QStringLiteral(VORTAN_PROGRAM_DIR), state.bearingFactorTable);
        workspace.openSurvey(fuzz::freshSurveyDatabase());
    }
};

const QString Customer = QStringLiteral("一般");
const QStringList Soils{QStringLiteral("砂質土"), QStringLiteral("粘性土"), QStringLiteral("礫質土"),
                        QStringLiteral("腐植土"), QStringLiteral("ローム")};
// depth, blow count, torque: an ordinary record, a deep one past the upper
// limit, one without blows under a large torque.
const calc::RowInputs Rows[] = {{QStringLiteral("0.25"), QStringLiteral("3"), QStringLiteral("10.5"), {}},
                                {QStringLiteral("12.00"), QStringLiteral("80"), QStringLiteral("0"), {}},
                                {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("300"), {}}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Environment env;
    fuzz::writeScratchFile(QString::fromLatin1(calc::QaParamFileName), fuzz::inputBytes(data, size));

    // A new calculator per input: the parameter file is cached by size and
    // modification time, which two inputs may share.
    calc::PenetrationCalculator calculator(env.workspace, env.state);
    const calc::BearingFactorTable factors = calculator.bearingFactorTable();
    // A failure (a value too large to round, say) is the calculation's to
    // report; the data sheet shows it and stops calculating.
    for (const QString& soil : Soils) {
        for (calc::RowInputs row : Rows) {
            row.soil = soil;
            try {
                calculator.computeRow(row, Customer, factors);
            } catch (const Failure&) {
            }
        }
    }

    fuzz::SilentUserInterface ui;
    calc::FormulaSeriesEditor editor(calc::FormulaTable::Qa, {env.state, env.workspace, ui});
    editor.setCode(QStringLiteral("1"));
    editor.load();
    return 0;
}
