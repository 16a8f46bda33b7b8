// export FILE [--survey NO]: writes the survey exchange file, of every
// survey or of survey NO only, as the conversion screen does.

#include "cli/cli_command.h"
#include "intake/exchange_write.h"

namespace vortan::cli {
namespace {

const QString Name = QStringLiteral("export");

int exportSurveys(CliContext& context, const QStringList& args)
{
    QString file;
    std::optional<QString> survey;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QStringLiteral("--survey") && i + 1 < args.size())
            survey = args[++i];
        else if (!args[i].startsWith(QStringLiteral("--")) && file.isEmpty())
            file = args[i];
        else
            return context.usageError(Name, QStringLiteral("%1 は使えない引数です").arg(args[i]));
    }
    if (file.isEmpty())
        return context.usageError(Name, QStringLiteral("FILE を指定してください"));

    if (!context.openDatabases())
        return ExitFailure;
    QString filter;
    if (survey) {
        const std::optional<QString> chosen = intake::ExchangeSurveyFilter(*survey, context.ui());
        if (!chosen)
            return ExitFailure;
        filter = *chosen;
    }
    try {
        intake::WriteExchangeFile(context.survey(), context.ui(), file, filter,
                                  ProgramFiles(context.state(), context.survey().path()));
    } catch (const Failure& failure) {
        return context.reportExchangeFailure(failure);
    }
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(Name, QStringLiteral("FILE [--survey NO]"), exportSurveys);

} // namespace vortan::cli
