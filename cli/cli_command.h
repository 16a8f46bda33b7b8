#pragma once
// vortan-cli commands. Each command lives in its own file and registers itself
// with VORTAN_CLI_COMMAND, so adding a command touches no other file.

#include "cli/cli_context.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <map>

namespace vortan::cli {

// Exit codes: 0 success, 1 a failure (the reporter's message was printed on
// stderr) or a refused operation, 2 a usage error.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailure = 1;
inline constexpr int ExitUsage = 2;

struct Command {
    QString name;
    QString usage;      // one line: the arguments after the command name
    std::function<int(CliContext&, const QStringList& args)> run;
};

std::map<QString, Command>& commandRegistry();

struct CommandRegistration {
    explicit CommandRegistration(Command command);
};

} // namespace vortan::cli

#define VORTAN_CLI_CONCAT2(a, b) a##b
#define VORTAN_CLI_CONCAT(a, b) VORTAN_CLI_CONCAT2(a, b)
#define VORTAN_CLI_COMMAND(...)                                                        \
    static const ::vortan::cli::CommandRegistration VORTAN_CLI_CONCAT(cliCommand_, __LINE__)( \
        ::vortan::cli::Command{__VA_ARGS__})
