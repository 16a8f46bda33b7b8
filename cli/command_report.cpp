// report --survey NO --type 0|1|2 --pdf OUT [--from A --to B]: renders the
// report of that type for the survey, as the print window would, on A4 with
// the margins of the settings, into a PDF file. Without --from and --to every
// page is written.

#include "cli/cli_command.h"
#include "cli/report_survey_loader.h"
#include "core/number_text.h"
#include "report/pdf_surface.h"
#include "report/print_session.h"
#include "report/report_run.h"

#include <QDir>
#include <QMap>

namespace vortan::cli {
namespace {

const QString Usage = QStringLiteral("--survey NO --type 0|1|2 --pdf OUT [--from A --to B] を指定してください");

int report(CliContext& context, const QStringList& args)
{
    QMap<QString, QString> options;
    if (!readOptions(args, options) || !options.contains(QStringLiteral("survey"))
        || !options.contains(QStringLiteral("type")) || !options.contains(QStringLiteral("pdf")))
        return context.usageError(QStringLiteral("report"), Usage);
    const QString type = options.value(QStringLiteral("type"));
    if (type != u"0" && type != u"1" && type != u"2")
        return context.usageError(QStringLiteral("report"), QStringLiteral("--type は 0、1、2 のどれかです"));
    for (const QString& key : {QStringLiteral("from"), QStringLiteral("to")}) {
        if (options.contains(key) && !numtext::isNumeric(options.value(key)))
            return context.usageError(QStringLiteral("report"), QStringLiteral("--%1 にはページ番号を指定してください").arg(key));
    }

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
    const auto page = [&](const QString& key, int fallback) {
        return options.contains(key) ? static_cast<int>(numtext::leadingNumber(options.value(key))) : fallback;
    };
    session.setPageRange(page(QStringLiteral("from"), 1), page(QStringLiteral("to"), 32767));

    // A survey without a point to print writes no file (page-count says 0).
    if (session.pageCount(survey.document()) == 0) {
        context.printError(report::nothingToPrintMessage());
        return ExitFailure;
    }
    const QString out = options.value(QStringLiteral("pdf"));
    report::PdfSurface surface(out, session.geometry().paperSize());
    report::ReportInputs inputs{survey.document(), context.state(), context.ui(), context.workspace().survey(), {}};
    inputs.calculator = &survey.calculator();
    session.run(inputs, surface);
    if (!surface.isOpen()) {
        return context.report(Failure(surface.failureNumber() != 0 ? surface.failureNumber() : err::PathFileAccess,
                                      QStringLiteral("%1 に書き込めませんでした。").arg(QDir::toNativeSeparators(out)),
                                      QStringLiteral("report")));
    }
    context.print(QStringLiteral("%1ページを %2 に書き出しました。").arg(surface.devicePages()).arg(QDir::toNativeSeparators(out)));
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(QStringLiteral("report"), QStringLiteral("--survey NO --type 0|1|2 --pdf OUT [--from A --to B]"),
                   report);

} // namespace vortan::cli
