#pragma once
// The reader program (vortan-mdb-reader) run as a child process on one Access
// file: the program reads the Access file only through it, so that a file on
// which libmdb crashes or hangs ends in the damaged-database failure and
// never takes the program down. A reader that dies, exits with a failure or
// stays silent longer than the limit is taken as having met a damaged file.

#include <QByteArray>
#include <QElapsedTimer>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vortan::migrate {

class ReaderProcess {
public:
    // Starts `program` on `file`. Throws Failure with the program-not-found
    // number when the program cannot be started.
    ReaderProcess(const QString& program, const QString& file, int silenceLimitMs);
    // Kills a reader that is still running.
    ~ReaderProcess();

    qint64 processId() const { return process_.processId(); }

    // Waits for output and returns what arrived, at most `waitMs` later (an
    // empty array when nothing came yet). Sets `ended` once the reader has
    // finished and all its output was returned. A reader silent for longer
    // than the limit is killed and throws Failure 3343.
    QByteArray read(int waitMs, bool& ended);

    // Asks for the rows of these tables and ends the reader's input.
    void requestTables(const QStringList& names);

    // Throws Failure 3343 unless the reader ended by itself with exit code 0.
    void requireCleanExit();

private:
    [[noreturn]] void damaged(const QString& why);

    QProcess process_;
    QString file_;
    int silenceLimitMs_;
    QElapsedTimer silence_;   // since the last output
};

} // namespace vortan::migrate
