#pragma once
// Runs the built vortan-cli as a child process, the way a script would, and
// collects what it printed.

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

namespace vortan::test {

struct CliResult {
    int exitCode = -1;      // -1 when the program did not start or crashed
    QString out;            // standard output, read as UTF-8
    QString err;            // standard error, read as UTF-8
    QStringList outLines() const;   // the output's lines without the final empty one
};

// The environment of a run: the current one with QT_QPA_PLATFORM=offscreen and
// VORTAN_SETTINGS set to `settingsFile` (a settings file that does not exist
// gives the defaults; never the user's own settings).
QProcessEnvironment cliEnvironment(const QString& settingsFile);

// Runs vortan-cli from the program folder with the arguments and waits up to
// `timeoutMs` for it to end.
CliResult runCli(const QStringList& arguments, const QProcessEnvironment& environment,
                 int timeoutMs = 60000);

} // namespace vortan::test
