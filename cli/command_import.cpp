// import FILE [--replace]: reads a survey exchange file into the survey
// database, adding its surveys under new numbers, or with --replace keeping
// the file's numbers and replacing the surveys that have them.

#include "cli/cli_command.h"
#include "db/survey_store.h"
#include "intake/exchange_read.h"

namespace vortan::cli {
namespace {

const QString Name = QStringLiteral("import");

int importSurveys(CliContext& context, const QStringList& args)
{
    QString file;
    bool replace = false;
    for (const QString& arg : args) {
        if (arg == QStringLiteral("--replace"))
            replace = true;
        else if (!arg.startsWith(QStringLiteral("--")) && file.isEmpty())
            file = arg;
        else
            return context.usageError(Name, QStringLiteral("%1 は使えない引数です").arg(arg));
    }
    if (file.isEmpty())
        return context.usageError(Name, QStringLiteral("FILE を指定してください"));

    if (!context.openDatabases())
        return ExitFailure;
    db::SurveyStore store(context.workspace());
    try {
        intake::ReadExchangeFile(context.workspace(), store, context.ui(), file,
                                 replace ? intake::ExchangeReadMode::Replace : intake::ExchangeReadMode::Add);
    } catch (const Failure& failure) {
        return context.reportExchangeFailure(failure);
    }
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(Name, QStringLiteral("FILE [--replace]"), importSurveys);

} // namespace vortan::cli
