#pragma once
// What every vortan-cli command works with: the global options of the command
// line, the program state, the console user interface and the workspace with
// the survey and postal databases.

#include "cli/console_user_interface.h"
#include "core/failure.h"
#include "core/program_state.h"
#include "core/settings_store.h"
#include "db/workspace.h"

#include <QString>
#include <QStringList>
#include <cstdio>

namespace vortan::cli {

// The options that stand before the command name.
struct GlobalOptions {
    QString settingsFile;    // --settings FILE: the settings file to read
    QString surveyDatabase;  // --db FILE: instead of データ位置
    QString postalDatabase;  // --postal FILE: instead of 住所位置
    QString iniFolder;       // --ini-dir DIR: instead of ini位置
    bool yes = false;        // --yes: every question is answered Yes
    bool quiet = false;      // --quiet: no status texts
};

struct CommandLine {
    GlobalOptions options;
    QString command;         // empty when none was given
    QStringList arguments;   // the words after the command name
    QString error;           // a usage error, empty when the line is well-formed
    bool help = false;       // --help or -h before the command
};

// Reads the global options (in any order, before the command) and splits off
// the command and its arguments. `arguments` excludes the program name.
CommandLine parseCommandLine(const QStringList& arguments);

// The usage text: the global options and every registered command.
QString usageText();

class CliContext {
public:
    explicit CliContext(GlobalOptions options, std::FILE* out = stdout, std::FILE* err = stderr);
    ~CliContext();

    const GlobalOptions& options() const { return options_; }
    ProgramState& state() { return state_; }
    ConsoleUserInterface& ui() { return ui_; }
    db::Workspace& workspace() { return workspace_; }
    SettingsStore& store() { return store_; }

    // As the window program starts: reads the settings (the file of
    // --settings, else VORTAN_SETTINGS, else the user's settings file), puts
    // the paths given on the command line in place of the stored ones, opens
    // the survey and the postal database and brings the survey database to
    // the current layout. False after a failure, whose message the reporter
    // printed on the error stream. The settings are never written back.
    bool openDatabases();

    // The survey database; throws Failure 91 when it is not open.
    db::Database& survey();

    // Reports a failure through the error reporter (its message goes to the
    // error stream) and returns the exit code of a failed command.
    int report(const Failure& failure);
    // The same for a failure of an exchange file, through its own reporter.
    int reportExchangeFailure(const Failure& failure);

    // A usage error of a command: the problem and the command's usage line on
    // the error stream; returns the exit code of a usage error.
    int usageError(const QString& commandName, const QString& problem);

    // A line on the output stream / on the error stream, UTF-8.
    void print(const QString& line);
    void printError(const QString& line);

private:
    GlobalOptions options_;
    std::FILE* out_;
    std::FILE* err_;
    ProgramState state_;
    ConsoleUserInterface ui_;
    SettingsStore store_;
    db::Workspace workspace_;
};

} // namespace vortan::cli
