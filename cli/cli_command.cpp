#include "cli/cli_command.h"

namespace vortan::cli {

std::map<QString, Command>& commandRegistry()
{
    // Built on first use, so that registrations from any file's static
    // initialisation find it ready.
    static std::map<QString, Command> registry;
    return registry;
}

CommandRegistration::CommandRegistration(Command command)
{
    const QString name = command.name;
    commandRegistry().insert_or_assign(name, std::move(command));
}

} // namespace vortan::cli
