#include "cli_runner.h"

#include "test_databases.h"

#include <QProcess>

namespace vortan::test {

QStringList CliResult::outLines() const
{
    QStringList lines = out.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QProcessEnvironment cliEnvironment(const QString& settingsFile)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("VORTAN_SETTINGS"), settingsFile);
    return environment;
}

CliResult runCli(const QStringList& arguments, const QProcessEnvironment& environment, int timeoutMs)
{
    CliResult result;
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(programFile(QStringLiteral("vortan-cli")), arguments);
    if (!process.waitForStarted(timeoutMs)) {
        result.err = process.errorString();
        return result;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        result.err = QStringLiteral("vortan-cli did not end in time");
        return result;
    }
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    if (process.exitStatus() == QProcess::NormalExit)
        result.exitCode = process.exitCode();
    return result;
}

} // namespace vortan::test
