#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace vortan::fuzz {

namespace {

[[noreturn]] void setupFailed(const QString& what)
{
    std::fprintf(stderr, "fuzz set-up failed: %s\n", qPrintable(what));
    std::abort();
}

} // namespace

QString scratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/vortan-fuzz-XXXXXX"));
    if (!dir.isValid())
        setupFailed(QStringLiteral("no temporary folder"));
    return dir.path();
}

QString writeScratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(scratchFolder()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        setupFailed(QStringLiteral("cannot write ") + path);
    return path;
}

QString freshSurveyDatabase()
{
    static const QByteArray shipped = [] {
        QFile file(QStringLiteral(VORTAN_PROGRAM_DIR "/VORTAN.MDB"));
        if (!file.open(QIODevice::ReadOnly))
            setupFailed(QStringLiteral("no shipped database in " VORTAN_PROGRAM_DIR));
        return file.readAll();
    }();
    // Journal files of an earlier input must not be taken for this copy's.
    QFile::remove(QDir(scratchFolder()).filePath(QStringLiteral("VORTAN.MDB-journal")));
    return writeScratchFile(QStringLiteral("VORTAN.MDB"), shipped);
}

} // namespace vortan::fuzz
