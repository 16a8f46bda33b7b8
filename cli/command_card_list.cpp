// card-list CARDFILE: reads a card file of the sounding machine and prints
// the list line of every test run, one per line, in list order. A file that
// does not exist lists nothing.

#include "cli/cli_command.h"
#include "intake/card_file.h"

namespace vortan::cli {
namespace {

int cardList(CliContext& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("card-list"), QStringLiteral("CARDFILE を一つ指定してください"));
    intake::CardListing listing;
    try {
        listing = intake::ReadAndListCardFile(args[0]);
    } catch (const Failure& failure) {
        return context.report(failure);
    }
    for (const QString& line : listing.lines)
        context.print(line);
    return ExitOk;
}

} // namespace

VORTAN_CLI_COMMAND(QStringLiteral("card-list"), QStringLiteral("CARDFILE"), cardList);

} // namespace vortan::cli
