// page-count --survey NO --type T: prints the number of pages the report of
// that type takes for the survey on A4 with the margins of the settings (the
// end page the print window proposes).

#include "cli/cli_command.h"
#include "cli/report_survey_loader.h"
#include "report/print_session.h"

#include <QMap>

namespace vortan::cli {
namespace {

int pageCount(CliContext& context, const QStringList& args)
{
    QMap<QString, QString> options;
    if (!readOptions(args, options) || options.size() != 2 || !options.contains(QStringLiteral("survey"))
        || !options.contains(QStringLiteral("type")))
        return context.usageError(QStringLiteral("page-count"), QStringLiteral("--survey NO --type 0|1|2 を指定してください"));
    const QString type = options.value(QStringLiteral("type"));
    if (type != u"0" && type != u"1" && type != u"2")
        return context.usageError(QStringLiteral("page-count"), QStringLiteral("--type は 0、1、2 のどれかです"));
    context.ui().setQuiet(true);
    context.ui().setMessagesToErrorStream(true);
    if (!context.openDatabases())
        return ExitFailure;
    LoadedSurvey survey(context);
    if (!survey.load(options.value(QStringLiteral("survey"))))
        return ExitFailure;
    report::FixedPrinter a4;
    report::PrintSession session(context.state(), a4);
    session.setReportType(type.toInt());
    context.print(QString::number(session.pageCount(survey.document())));
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(QStringLiteral("page-count"), QStringLiteral("--survey NO --type 0|1|2"), pageCount);

} // namespace vortan::cli
