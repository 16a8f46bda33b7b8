// vortan-cli: the program's operations from the command line.
//   vortan-cli [global options] COMMAND [arguments]
// Exit codes: 0 success, 1 failure (message on the error stream), 2 usage error.

#include "cli/cli_command.h"
#include "cli/cli_context.h"
#include "cli/toolkit_messages.h"
#include "core/font_substitutes.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    // Reports draw with QPainter and fonts, which need a GUI application; no
    // window is ever shown, so the offscreen platform serves when none is set.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    vortan::cli::silenceToolkitDiagnostics();
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Vortan"));
    vortan::RegisterFontSubstitutes();

    using namespace vortan::cli;
    const CommandLine line = parseCommandLine(QGuiApplication::arguments().mid(1));
    auto usage = [](const QString& problem) {
        if (!problem.isEmpty())
            std::fprintf(stderr, "vortan-cli: %s\n", problem.toUtf8().constData());
        std::fputs(usageText().toUtf8().constData(), stderr);
        return ExitUsage;
    };
    if (!line.error.isEmpty())
        return usage(line.error);
    if (line.help) {
        std::fputs(usageText().toUtf8().constData(), stdout);
        return ExitOk;
    }
    if (line.command.isEmpty())
        return usage(QStringLiteral("コマンドがありません"));

    const auto found = commandRegistry().find(line.command);
    if (found == commandRegistry().end())
        return usage(QStringLiteral("%1 というコマンドはありません").arg(line.command));

    CliContext context(line.options);
    try {
        return found->second.run(context, line.arguments);
    } catch (const vortan::Failure& failure) {
        return context.report(failure);
    }
}
