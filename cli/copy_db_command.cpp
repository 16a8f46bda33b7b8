// copy-db FROM TO [--replace]: copies every table of the survey database FROM
// into TO, each a file or a PostgreSQL connection URI, in one transaction on
// TO, and prints the rows copied per table. A TO that does not exist yet is
// created, an empty server database is set up first; a TO that holds surveys
// is left alone unless --replace is given.

#include "cli/cli_command.h"
#include "db/database.h"
#include "db/database_copy.h"

#include <QDir>
#include <QFileInfo>

namespace vortan::cli {
namespace {

QString shown(const QString& location)
{
    return db::isConnectionUri(location) ? location : QDir::toNativeSeparators(location);
}

int copyDb(CliContext& context, const QStringList& args)
{
    QStringList places;
    bool replace = false;
    for (const QString& arg : args) {
        if (arg == u"--replace")
            replace = true;
        else
            places.append(arg);
    }
    if (places.size() != 2)
        return context.usageError(QStringLiteral("copy-db"),
                                  QStringLiteral("コピー元とコピー先を一つずつ指定してください"));
    const QString from = places[0];
    const QString to = places[1];
    const auto source = db::Database::open(from);
    const bool newFile = !db::isConnectionUri(to) && !QFileInfo::exists(to);
    std::unique_ptr<db::Database> target;
    if (db::isConnectionUri(to))
        target = db::openServerCopyTarget(to);
    else
        target = newFile ? db::Database::create(to) : db::Database::open(to);
    if (!replace) {
        if (const qint64 surveys = db::surveyCount(*target); surveys > 0) {
            context.printError(QStringLiteral("vortan-cli copy-db: %1 にはすでに調査が %2 件あります。"
                                              "置き換えるときは --replace を付けてください。")
                                   .arg(shown(to))
                                   .arg(surveys));
            return ExitFailure;
        }
    }
    try {
        for (const db::CopiedTable& table : db::copyDatabase(*source, *target))
            context.print(QStringLiteral("%1\t%2").arg(table.table).arg(table.rows));
    } catch (const Failure&) {
        if (newFile) {
            target->close();
            QFile::remove(to);
        }
        throw;
    }
    return ExitOk;
}

VORTAN_CLI_COMMAND(QStringLiteral("copy-db"), QStringLiteral("FROM TO [--replace]"), copyDb);

} // namespace
} // namespace vortan::cli
