#include "db/database_repair.h"

#include "db/database.h"
#include "db/engine_error_map.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace vortan::db {

namespace {

[[noreturn]] void accessFailure(const QString& description)
{
    throw Failure(err::PathFileAccess, description, QString::fromLatin1(kEngineSource));
}

// Puts a copy of `source` in place of `path`. The bytes go into a temporary
// file beside `path` first (the source may lie on another disk), which
// replaces the old file in one rename once every byte is on the disk: at no
// moment is there no file under `path`, or half of one.
void replaceWithCopy(const QString& source, const QString& path)
{
    QFile in(source);
    QSaveFile out(path);
    auto fail = [&](const QString& description) {
        out.cancelWriting();
        accessFailure(description);
    };
    if (!in.open(QIODevice::ReadOnly))
        fail(QStringLiteral("「%1」を読み込めません（%2）。").arg(source, in.errorString()));
    // Unbuffered: a buffered save file writes its last bytes while committing
    // and would put a short copy in place when the disk fills just then.
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        fail(QStringLiteral("「%1」に書き込めません（%2）。").arg(path, out.errorString()));
    QByteArray block;
    while (!(block = in.read(1 << 20)).isEmpty()) {
        if (out.write(block) != block.size())
            fail(QStringLiteral("「%1」に書き込めません（%2）。").arg(path, out.errorString()));
    }
    if (in.error() != QFileDevice::NoError)
        fail(QStringLiteral("「%1」を読み込めません（%2）。").arg(source, in.errorString()));
    if (!out.commit())
        accessFailure(QStringLiteral("「%1」を置き換えられません（%2）。").arg(path, out.errorString()));
}

// True when the file opens and passes the integrity check; the failures of
// opening a missing, locked or read-only file reach the caller, a file the
// engine finds damaged is simply not sound.
bool isSound(const QString& path)
{
    try {
        return Database::open(path)->integrityCheck();
    } catch (const Failure& failure) {
        if (failure.number() == err::DbNotDatabase)
            return false;
        throw;
    }
}

} // namespace

QString keptOriginalPath(const QString& path)
{
    const QFileInfo info(path);
    const QString base = info.completeBaseName() + QStringLiteral("_修復前");
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    QString candidate = info.dir().filePath(base + suffix);
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = info.dir().filePath(QStringLiteral("%1(%2)%3").arg(base).arg(n).arg(suffix));
    return QDir::toNativeSeparators(candidate);
}

RepairOutcome repairDatabase(const QString& path, const QString& scratch)
{
    // A database on a server is kept sound by its server, not by this program.
    if (isConnectionUri(path))
        throw engineFailure(jeterr::InvalidOperation,
                            QStringLiteral("サーバーのデータベースはこのプログラムからは修復できません。"
                                           "サーバーの管理者にご相談ください。"));
    if (QFileInfo::exists(scratch) && !QFile::remove(scratch))
        accessFailure(QStringLiteral("「%1」を削除できません。").arg(scratch));
    RepairOutcome outcome;
    outcome.damaged = !isSound(path);
    try {
        if (outcome.damaged) {
            outcome.tables = salvageDatabase(path, scratch);
            outcome.keptOriginal = keptOriginalPath(path);
            replaceWithCopy(path, outcome.keptOriginal);
        } else {
            Database::open(path)->compactInto(scratch);
            outcome.tables = tableRowCounts(scratch);
        }
        replaceWithCopy(scratch, path);
    } catch (...) {
        QFile::remove(scratch);
        throw;
    }
    QFile::remove(scratch);
    return outcome;
}

} // namespace vortan::db
