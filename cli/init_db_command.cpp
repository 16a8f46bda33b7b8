// init-db FILE|URI: a new survey database at the current layout holding the
// shipped master lists and formula series (a copy of the program folder's
// VORTAN.MDB). An existing file is never overwritten. A PostgreSQL
// connection URI names a database on a server (created there when it does
// not exist yet) that must hold no tables: the shipped database's tables and
// rows are copied into it and its layout brought up to date, as a file's.

#include "cli/cli_command.h"
#include "core/platform.h"
#include "db/database.h"
#include "db/database_copy.h"
#include "db/schema_version.h"
#include "db/workspace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vortan::cli {
namespace {

QString shippedDatabase()
{
    const QString source = platform::joinPath(platform::programFolder(), u"VORTAN.MDB");
    if (!QFileInfo::exists(source))
        throw Failure(err::DbFileNotFound,
                      QStringLiteral("元になるデータベース %1 が見つかりません。").arg(source),
                      QStringLiteral("init-db"));
    return source;
}

int initServerDb(const QString& target)
{
    const auto source = db::Database::open(shippedDatabase());
    {
        const auto database = db::Database::create(target);
        db::copyDatabase(*source, *database);
    }
    db::Workspace workspace;
    workspace.openSurvey(target);
    db::CheckSchemaVersion(workspace);
    return ExitOk;
}

int initDb(CliContext& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("init-db"), QStringLiteral("ファイル名を一つ指定してください"));
    const QString target = args[0];
    if (db::isConnectionUri(target))
        return initServerDb(target);
    if (QFileInfo::exists(target)) {
        context.printError(QStringLiteral("vortan-cli init-db: %1 はすでにあります。そのままにしました。")
                               .arg(QDir::toNativeSeparators(target)));
        return ExitFailure;
    }
    const QString source = shippedDatabase();
    if (!QFile::copy(source, target))
        throw Failure(err::PathFileAccess,
                      QStringLiteral("%1 に書き込めませんでした。").arg(QDir::toNativeSeparators(target)),
                      QStringLiteral("init-db"));
    QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);

    // The copy must open and be at the current layout, as the program will check.
    try {
        db::Workspace workspace;
        workspace.openSurvey(target);
        db::CheckSchemaVersion(workspace);
        workspace.closeAll();
    } catch (const Failure&) {
        QFile::remove(target);
        throw;
    }
    return ExitOk;
}

VORTAN_CLI_COMMAND(QStringLiteral("init-db"), QStringLiteral("FILE|URI"), initDb);

} // namespace
} // namespace vortan::cli
