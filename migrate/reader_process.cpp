#include "migrate/reader_process.h"

#include "core/failure.h"

#include <QDir>

namespace vortan::migrate {

namespace {

const QString Source = QStringLiteral("MigrateLegacyDatabase");

} // namespace

ReaderProcess::ReaderProcess(const QString& program, const QString& file, int silenceLimitMs)
    : file_(file), silenceLimitMs_(silenceLimitMs)
{
    // libmdb's complaints about a damaged file are of no use to the user;
    // the missing rows say it all.
    process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(program, {QDir::toNativeSeparators(file)});
    if (!process_.waitForStarted(30000))
        throw Failure(err::ProgramNotFound,
                      QStringLiteral("旧データベースを読み込むプログラム %1 を起動できませんでした。")
                          .arg(QDir::toNativeSeparators(program)),
                      Source);
    silence_.start();
}

ReaderProcess::~ReaderProcess()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

void ReaderProcess::damaged(const QString& why)
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
    throw Failure(err::DbNotDatabase, QStringLiteral("The Access file '%1' %2.").arg(file_, why), Source);
}

QByteArray ReaderProcess::read(int waitMs, bool& ended)
{
    ended = false;
    QByteArray bytes = process_.readAllStandardOutput();
    if (bytes.isEmpty() && process_.state() != QProcess::NotRunning) {
        process_.waitForReadyRead(waitMs);
        bytes = process_.readAllStandardOutput();
    }
    if (!bytes.isEmpty()) {
        silence_.restart();
        return bytes;
    }
    if (process_.state() == QProcess::NotRunning) {
        ended = true;
        return bytes;
    }
    if (silence_.elapsed() > silenceLimitMs_)
        damaged(QStringLiteral("made its reader hang"));
    return bytes;
}

void ReaderProcess::requestTables(const QStringList& names)
{
    if (!names.isEmpty()) {
        process_.write((names.join(u'\n') + u'\n').toUtf8());
        process_.waitForBytesWritten(silenceLimitMs_);
    }
    process_.closeWriteChannel();
}

void ReaderProcess::requireCleanExit()
{
    if (process_.state() != QProcess::NotRunning && !process_.waitForFinished(silenceLimitMs_))
        damaged(QStringLiteral("made its reader hang"));
    if (process_.exitStatus() != QProcess::NormalExit)
        damaged(QStringLiteral("made its reader crash"));
    if (process_.exitCode() != 0)
        damaged(QStringLiteral("could not be read (reader exit code %1)").arg(process_.exitCode()));
}

} // namespace vortan::migrate
