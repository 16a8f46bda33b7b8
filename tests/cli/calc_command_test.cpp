// vortan-cli calc --survey NO, run as a child process over copies of the
// shipped default files.

#include "db/database.h"
#include "support/test_databases.h"

#include <QProcess>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun runCli(const QStringList& arguments)
{
    QProcess process;
    process.start(test::programFile(QStringLiteral("vortan-cli")), arguments);
    CliRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

void addSurvey(const QString& path)
{
    auto db = db::Database::open(path);
    db->execute(QStringLiteral("INSERT INTO 調査地区 (調査地区No,現場名,得意先名) VALUES (3, '現場', '一般');"));
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,印刷) "
                               "VALUES (3, 'B', '240102', '0900', '0930', True);"));
    db->execute(QStringLiteral("INSERT INTO 測点 (調査地区No,測点No,日付,開始時刻,終了時刻,印刷) "
                               "VALUES (3, 'A', '240102', '1000', '1030', True);"));
    const QString record = QStringLiteral("INSERT INTO 測点データ (調査地区No,測点No,日付,開始時刻,終了時刻,貫入深さ,"
                                          "打撃回数,トルク,推定土質,記事) VALUES (3, %1);");
    db->execute(record.arg(QStringLiteral("'A', '240102', '1000', '1030', 1, 10, 0, 1, 'a1'")));
    db->execute(record.arg(QStringLiteral("'A', '240102', '1000', '1030', 0.5, 10, 2.5, 2, ''")));
    db->execute(record.arg(QStringLiteral("'B', '240102', '0900', '0930', 1, 10, 0, 2, 'b1'")));
    db->close();
}

} // namespace

TEST(CliCalc, PrintsEveryRecordWithItsComputedValues)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    addSurvey(files.surveyDatabase());
    const QString settings = files.writeSettingsFile();

    const CliRun run = runCli({QStringLiteral("--settings"), settings, QStringLiteral("calc"),
                               QStringLiteral("--survey"), QStringLiteral("3")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Points in the sheet's order (by point number), records by depth.
    // A 0.5 m clay, shown 25 N·m: ⊿Nd 1.0, Nd 9.0, c = 56.25,
    //   qa = (1.0·0.5·18 + 5.1·56.25)/3 = 295.875/3 = 98.625.
    // A 1 m sand, Nd 10: 144.75.  B 1 m clay, Nd 10: (18 + 5.1·62.5)/3 = 112.25.
    const QStringList expected{
        QStringLiteral("A\t0.5\t10\t25\t粘性土\t\t1.0\t9.0\t98.6"),
        QStringLiteral("A\t1\t10\t0\t砂質土\ta1\t0.0\t10.0\t144.8"),
        QStringLiteral("B\t1\t10\t0\t粘性土\tb1\t0.0\t10.0\t112.3"),
    };
    EXPECT_EQ(run.out.split(u'\n', Qt::SkipEmptyParts), expected);

    // In kN·cm the torque column shows the stored value.
    const QString kncm = files.writeSettingsFile({{QStringLiteral("etc/試験名単位切替"), QStringLiteral("False")}});
    const CliRun second = runCli({QStringLiteral("--settings"), kncm, QStringLiteral("calc"),
                                  QStringLiteral("--survey"), QStringLiteral("3")});
    ASSERT_EQ(second.exitCode, 0) << second.err.toStdString();
    EXPECT_EQ(second.out.split(u'\n', Qt::SkipEmptyParts).first(),
              QStringLiteral("A\t0.5\t10\t2.5\t粘性土\t\t1.0\t9.0\t98.6"));
}

TEST(CliCalc, RefusesUnknownSurveysAndBadArguments)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    const QString settings = files.writeSettingsFile();
    const CliRun missing = runCli({QStringLiteral("--settings"), settings, QStringLiteral("calc"),
                                   QStringLiteral("--survey"), QStringLiteral("42")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.out.isEmpty());
    EXPECT_TRUE(missing.err.contains(QStringLiteral("データ登録されていませんでした｡")));
    const CliRun usage = runCli({QStringLiteral("--settings"), settings, QStringLiteral("calc")});
    EXPECT_EQ(usage.exitCode, 2);
}
