// Fuzz entry: the bytes of rqtbl.csv in the settings folder, loaded into the
// program state as at start-up, turned into the calculation's factor table,
// searched for angles around every row's own and by every rounding mode, and
// used by the bearing capacity of the shipped customer and soils.

#include "calc/bearing_factors.h"
#include "calc/penetration_calculator.h"
#include "core/bearing_factor_table.h"
#include "core/failure.h"
#include "core/number_text.h"
#include "core/program_state.h"
#include "db/workspace.h"
#include "fuzz_support.h"

#include <QFile>
#include <limits>

using namespace vortan;

namespace {

struct Environment {
    ProgramState state;
    db::Workspace workspace;

    Environment()
    {
        // The shipped qaTbl.tbl beside the fuzzed rqtbl.csv.
        QFile shipped(QStringLiteral(VORTAN_PROGRAM_DIR "/qaTbl.tbl"));
        shipped.open(QIODevice::ReadOnly);
        fuzz::writeScratchFile(QString::fromLatin1(calc::QaParamFileName), shipped.readAll());
        state.settings.ini位置 = fuzz::scratchFolder();
        workspace.openSurvey(fuzz::freshSurveyDatabase());
    }
};

const QStringList Soils{QStringLiteral("砂質土"), QStringLiteral("粘性土"), QStringLiteral("ローム")};
const calc::RowInputs Rows[] = {{QStringLiteral("0.25"), QStringLiteral("3"), QStringLiteral("10.5"), {}},
                                {QStringLiteral("3.50"), QStringLiteral("25"), QStringLiteral("40"), {}},
                                {QStringLiteral("12.00"), QStringLiteral("80"), QStringLiteral("0"), {}}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Environment env;
    fuzz::writeScratchFile(QString::fromLatin1(BearingFactorFileName), fuzz::inputBytes(data, size));
    env.state.bearingFactorTable.clear();
    LoadBearingFactorTable(env.state.settings.ini位置, env.state.bearingFactorTable);

    const calc::BearingFactorTable table(env.state.bearingFactorTable);
    std::vector<double> angles{-1.0, 0.0, 25.0, 25.04, 25.05, 45.0, 1e9,
                               std::numeric_limits<double>::infinity()};
    for (const BearingFactorRow& row : env.state.bearingFactorTable) {
        if (angles.size() >= 64)
            break;
        const double phi = numtext::leadingNumber(row.phi);
        angles.insert(angles.end(), {phi, phi - 0.05, phi + 0.05});
    }
    // A failure (an angle too large to round, say) is the calculation's to
    // report; the data sheet shows it and stops calculating.
    for (const double phi : angles) {
        for (int mode = 0; mode <= 3; ++mode) {
            try {
                table.lookUpFactors(phi, mode);
            } catch (const Failure&) {
            }
        }
    }

    calc::PenetrationCalculator calculator(env.workspace, env.state);
    for (const QString& soil : Soils) {
        for (calc::RowInputs row : Rows) {
            row.soil = soil;
            try {
                calculator.computeRow(row, QStringLiteral("一般"), table);
            } catch (const Failure&) {
            }
        }
    }
    return 0;
}
