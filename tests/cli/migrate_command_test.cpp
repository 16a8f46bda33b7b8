// vortan-cli migrate OLD NEW [--replace], run as a script runs it: the tables
// it prints, its exit codes and messages, and that it never changes OLD nor
// an existing NEW unless told to.

#include "support/cli_runner.h"
#include "support/qstring_printer.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

const QString Fixtures = QStringLiteral(VORTAN_FIXTURES_DIR "/legacy_mdb/");
const QString Damaged = QStringLiteral("高い確率で、データベースが損傷しています｡");

QByteArray digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

struct MigrateCommand : ::testing::Test {
    QTemporaryDir dir;
    QString target = dir.filePath(QStringLiteral("new.mdb"));

    test::CliResult migrate(const QStringList& arguments)
    {
        return test::runCli(QStringList{QStringLiteral("migrate")} + arguments,
                            test::cliEnvironment(dir.filePath(QStringLiteral("none.ini"))));
    }
};

TEST_F(MigrateCommand, PrintsEveryTableWithItsRowsAndRefusesAnExistingTarget)
{
    const QString old = Fixtures + QStringLiteral("vortan_v12.mdb");
    const QByteArray oldDigest = digest(old);
    test::CliResult run = migrate({old, target});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    // The table and row count of each line of the known contents' index.
    QFile index(Fixtures + QStringLiteral("expected/vortan_v12/meta/index.tsv"));
    ASSERT_TRUE(index.open(QIODevice::ReadOnly));
    QStringList expected;
    for (const QString& line : QString::fromUtf8(index.readAll()).split(u'\n', Qt::SkipEmptyParts).mid(1))
        expected << line.section(u'\t', 0, 0) + u'\t' + line.section(u'\t', 2, 2);
    EXPECT_EQ(run.outLines(), expected);
    EXPECT_EQ(digest(old), oldDigest);

    const QByteArray migrated = digest(target);
    run = migrate({Fixtures + QStringLiteral("vortan_v10.mdb"), target});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("すでにある"))) << run.err.toStdString();
    EXPECT_EQ(digest(target), migrated);

    run = migrate({Fixtures + QStringLiteral("vortan_v10.mdb"), target, QStringLiteral("--replace")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.outLines().first(), QStringLiteral("調査地区\t2"));
    EXPECT_NE(digest(target), migrated);

    EXPECT_EQ(migrate({old}).exitCode, 2);

    // Named as the survey database, the old file is not called unreadable:
    // the message names the command that brings it across.
    run = test::runCli({QStringLiteral("--db"), old, QStringLiteral("calc"), QStringLiteral("--survey"), QStringLiteral("1")},
                       test::cliEnvironment(dir.filePath(QStringLiteral("none.ini"))));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("Access形式")) && run.err.contains(QStringLiteral("vortan-cli migrate")))
        << run.err.toStdString();
    EXPECT_EQ(digest(old), oldDigest);
}

TEST_F(MigrateCommand, EndsInItsMessageWithNothingWritten)
{
    const struct {
        QString file;
        QString message;
    } cases[] = {
        {Fixtures + QStringLiteral("not_vortan.mdb"),
         QStringLiteral("指定されたファイルは旧バージョンのVortanのデータベースではないため、取り込めません。")},
        {Fixtures + QStringLiteral("vortan_truncated.mdb"), Damaged},
    };
    for (const auto& c : cases) {
        const test::CliResult run = migrate({c.file, target});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains(c.message)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(target));
    }
}

} // namespace
