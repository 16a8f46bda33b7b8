// xlsx --survey NO OUT.xlsx: writes the Excel workbook of the survey as the
// data sheet holds it, ⊿Nd, Nd and qa computed, over OUT.xlsx (an older
// file stays whole when the writing fails).

#include "cli/cli_command.h"
#include "cli/report_survey_loader.h"
#include "xlsx/survey_workbook.h"

#include <QDir>

namespace vortan::cli {
namespace {

const QString Name = QStringLiteral("xlsx");

int xlsx(CliContext& context, const QStringList& args)
{
    QString survey;
    QString out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--survey") && i + 1 < args.size() && survey.isEmpty())
            survey = args[++i];
        else if (!args[i].startsWith(QStringLiteral("--")) && out.isEmpty())
            out = args[i];
        else
            return context.usageError(Name, QStringLiteral("%1 は使えない引数です").arg(args[i]));
    }
    if (survey.isEmpty() || out.isEmpty())
        return context.usageError(Name, QStringLiteral("--survey NO と OUT.xlsx を指定してください"));

    context.ui().setQuiet(true);
    if (!context.openDatabases())
        return ExitFailure;
    // The output stream carries only the line naming the file written.
    context.ui().setMessagesToErrorStream(true);
    LoadedSurvey loaded(context);
    if (!loaded.load(survey))
        return ExitFailure;
    try {
        xlsx::WriteSurveyWorkbook(loaded.document(), context.state(), out, context.survey().path());
    } catch (const Failure& failure) {
        return context.report(failure);
    }
    context.print(QStringLiteral("%1 に書き出しました。").arg(QDir::toNativeSeparators(out)));
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(Name, QStringLiteral("--survey NO OUT.xlsx"), xlsx);

} // namespace vortan::cli
