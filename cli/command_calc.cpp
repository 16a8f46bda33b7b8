// calc --survey NO: loads the survey as the data sheet does, computes ⊿Nd, Nd
// and qa for every record, and prints one line per record, point by point in
// the sheet's order: the point number, then depth, blow count, torque (in the
// unit the settings choose), soil, remark, ⊿Nd, Nd and qa, separated by tabs.

#include "calc/penetration_calculator.h"
#include "cli/cli_command.h"
#include "db/master_lists.h"
#include "sheet/survey_document.h"

namespace vortan::cli {
namespace {

int calc(CliContext& context, const QStringList& args)
{
    if (args.size() != 2 || args[0] != QStringLiteral("--survey"))
        return context.usageError(QStringLiteral("calc"), QStringLiteral("--survey NO を指定してください"));
    context.ui().setQuiet(true);
    if (!context.openDatabases())
        return ExitFailure;
    // Only record lines go to the output stream; the sheet's notices go to errors.
    context.ui().setMessagesToErrorStream(true);

    db::MasterLists lists;
    calc::PenetrationCalculator calculator(context.workspace(), context.state());
    sheet::SurveyDocument document(
        sheet::SurveyDocument::Services{context.state(), context.workspace(), lists, context.ui(), calculator});
    if (document.clear() != sheet::Outcome::Done)
        return ExitFailure;
    document.setHeader(sheet::HeaderField::調査地区No, args[1]);
    if (document.load() != sheet::Outcome::Done)
        return ExitFailure;

    for (int p = 0; p < document.pointCount(); ++p) {
        for (int r = 0; r < document.recordCount(p); ++r) {
            QStringList fields{document.pointNumber(p)};
            for (int column = sheet::RecordColumn::貫入長; column <= sheet::RecordColumn::換算支持力; ++column)
                fields << document.recordCell(p, r, column);
            context.print(fields.join(u'\t'));
        }
    }
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(QStringLiteral("calc"), QStringLiteral("--survey NO"), calc);

} // namespace vortan::cli
