// Two programs on one survey database: while another program holds the
// database's lock for a moment, vortan-cli's write waits and then succeeds;
// while it holds the lock past the busy timeout, the write ends with the
// reporter's message of the engine's number, exit status 1, and leaves the
// database exactly as it was.

#include "crash_test_data.h"
#include "support/database_dump.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

const QString Occupied = QStringLiteral(
    "Vortanデータベースが占有されています。ほかに、このデータベースを使用するプログラムなどがある場合には"
    "そちらを終了させてから操作してください。 ");

// The other program: crash_hold_lock holding a write or a read transaction.
class LockHolder {
public:
    // `milliseconds` empty: held until release() is called.
    LockHolder(const QString& database, const QString& kind, const QString& milliseconds, const QString& end)
    {
        process_.start(QStringLiteral(VORTAN_CRASH_HOLD_LOCK),
                       {database, kind, milliseconds.isEmpty() ? QStringLiteral("-") : milliseconds, end});
        held_ = process_.waitForReadyRead(30000) && process_.readLine().trimmed() == "held";
    }
    ~LockHolder() { release(); }

    bool held() const { return held_; }

    // Ends the transaction and waits for the program's end; true when it
    // released its lock as told.
    bool release()
    {
        if (process_.state() == QProcess::NotRunning)
            return released_;
        process_.write("\n");
        process_.closeWriteChannel();
        process_.waitForFinished(30000);
        released_ = process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0
            && process_.readAllStandardOutput().trimmed() == "released";
        return released_;
    }

private:
    QProcess process_;
    bool held_ = false;
    bool released_ = false;
};

struct TwoPrograms : ::testing::Test {
    test::ShippedFilesCopy shared;
    QString database;
    QString exchangeFile;
    QString cardFile;

    void SetUp() override
    {
        ASSERT_TRUE(shared.isValid());
        database = shared.surveyDatabase();
        ASSERT_TRUE(test::storeLargeSurveys(database, {1, 2, 2, 50}));
        exchangeFile = shared.path("import.csv");
        cardFile = shared.path("card.csv");
        writeFile(exchangeFile, test::largeExchangeFile({1, 2, 3, 100}));
        writeFile(cardFile, test::largeCardFile(5, 3, 100));
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    // vortan-cli on the database, waiting `busyTimeout` ms for a lock (empty: the default).
    test::ChildOutcome cli(const QStringList& arguments, const QString& busyTimeout = QString()) const
    {
        test::ChildCommand command = test::cliCommand(shared, database, arguments);
        if (busyTimeout.isEmpty())
            command.environment.remove(QStringLiteral("VORTAN_BUSY_TIMEOUT"));
        else
            command.environment.insert(QStringLiteral("VORTAN_BUSY_TIMEOUT"), busyTimeout);
        QProcess process;
        process.setProcessEnvironment(command.environment);
        process.start(command.program, command.arguments);
        test::ChildOutcome outcome;
        outcome.started = process.waitForStarted(30000);
        process.closeWriteChannel();
        if (outcome.started && process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit)
            outcome.exitCode = process.exitCode();
        outcome.out = QString::fromUtf8(process.readAllStandardOutput());
        outcome.err = QString::fromUtf8(process.readAllStandardError());
        return outcome;
    }

    int rows(const QString& table, const QString& where = QString()) const
    {
        int count = 0;
        for (const QString& line : test::databaseDump(database))
            if (line.startsWith(table + QStringLiteral(": ")) && line.contains(where))
                ++count;
        return count;
    }
};

// The reporter's message: the last line on the error stream (Qt may warn before it).
std::string lastErrorLine(const test::ChildOutcome& outcome)
{
    return outcome.err.trimmed().split(QLatin1Char('\n')).last().toStdString();
}

QStringList ImportArguments(const QString& file)
{
    return {"import", file};
}

} // namespace

TEST_F(TwoPrograms, AWriteWaitsForAShortLockAndThenSucceeds)
{
    const int surveys = rows("調査地区");
    {
        // Two seconds, well under the default busy timeout of five.
        LockHolder holder(database, "write", "2000", "commit");
        ASSERT_TRUE(holder.held());
        const test::ChildOutcome imported = cli(ImportArguments(exchangeFile));
        EXPECT_EQ(imported.exitCode, 0) << imported.err.toStdString();
        EXPECT_TRUE(holder.release());
    }
    {
        LockHolder holder(database, "write", "2000", "commit");
        ASSERT_TRUE(holder.held());
        const test::ChildOutcome carded =
            cli({"card-import", cardFile, "--survey", "70", "--runs", "1,2,3"});
        EXPECT_EQ(carded.exitCode, 0) << carded.err.toStdString();
        EXPECT_TRUE(holder.release());
    }
    // Both programs' rows are there: the lock holder's two, the import's two
    // surveys and the card's survey 70.
    EXPECT_EQ(rows("mst天候", "占有中"), 2);
    EXPECT_EQ(rows("調査地区"), surveys + 3);
    EXPECT_EQ(rows("測点データ", "i:70 | "), 300);
}

TEST_F(TwoPrograms, AWriteLockHeldPastTheTimeoutEndsTheWriteWithNothingWritten)
{
    const QStringList before = test::databaseDump(database);
    ASSERT_EQ(before.value(0).toStdString(), "integrity_check: t:ok");
    LockHolder holder(database, "write", QString(), "rollback");
    ASSERT_TRUE(holder.held());

    const test::ChildOutcome imported = cli(ImportArguments(exchangeFile), "800");
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_EQ(lastErrorLine(imported), (Occupied + "3006").toStdString());
    EXPECT_EQ(imported.out.toStdString(), "");

    const test::ChildOutcome carded = cli({"card-import", cardFile, "--survey", "70", "--runs", "1,2,3"}, "800");
    EXPECT_EQ(carded.exitCode, 1);
    EXPECT_EQ(lastErrorLine(carded), (Occupied + "3006").toStdString());

    ASSERT_TRUE(holder.release());
    EXPECT_EQ(test::databaseDump(database), before);
}

TEST_F(TwoPrograms, AReaderHeldPastTheTimeoutEndsTheCommitWithNothingWritten)
{
    const QStringList before = test::databaseDump(database);
    LockHolder holder(database, "read", QString(), "commit");
    ASSERT_TRUE(holder.held());

    // The rows are written, but the commit cannot have the file to itself.
    const test::ChildOutcome imported = cli(ImportArguments(exchangeFile), "800");
    EXPECT_EQ(imported.exitCode, 1);
    EXPECT_EQ(lastErrorLine(imported), (Occupied + "3261").toStdString());

    ASSERT_TRUE(holder.release());
    EXPECT_EQ(test::databaseDump(database), before);

    // Once the reader has gone, the same import goes through.
    EXPECT_EQ(cli(ImportArguments(exchangeFile), "800").exitCode, 0);
    EXPECT_NE(test::databaseDump(database), before);
}
