// The PDF report file on devices that fail: the surface says it could not
// write the file and why (the error number), and an older file of that name
// keeps its bytes, with no temporary file left beside it.

#include "db/database.h"
#include "intake/intake_test_support.h"
#include "report/pdf_surface.h"
#include "support/cli_runner.h"
#include "support/failing_devices.h"
#include "support/qstring_printer.h"
#include "support/reporter_texts.h"
#include "support/sql_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::report;
using vortan::test::DeviceFault;

TEST(ReportPdfDevice, AFailedWriteKeepsTheOlderPdf)
{
    const std::vector<test::WriteFailureCase> cases = test::writeFailureCases(2000);
    for (const test::WriteFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("report.pdf"));
        const QByteArray older("%PDF-1.4 an older report\n");
        ASSERT_TRUE(test::writeBytes(path, older));

        test::FailingDevices devices(QStringLiteral("report.pdf"), c.fault, c.limit);
        PdfSurface surface(path, QSizeF(210, 297));
        surface.setPageFrame(PageFrame::forPaper(QSizeF(210, 297), Margins{15, 10, 15, 10}));
        surface.preparePage();
        for (int page = 1; page <= 3; ++page) {
            surface.line(0, page, 100, page);
            surface.textLeft(0, page, QStringLiteral("大型動的コーン貫入試験記録"));
            if (page < 3)
                surface.newPage();
        }
        surface.endDocument();

        EXPECT_EQ(devices.handedOut(), 1);
        EXPECT_FALSE(surface.isOpen());
        EXPECT_EQ(surface.failureNumber(), c.number);
        EXPECT_EQ(test::readBytes(path), older);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("report.pdf")});
    }
}

TEST(ReportPdfDevice, TheCommandReportsAFileThatCannotBeMadeWithTheReportersMessage)
{
    test::ShippedFilesCopy files;
    ASSERT_TRUE(files.isValid());
    test::runSqlFixture(*db::Database::open(files.surveyDatabase()), QStringLiteral("report_survey.sql"));
    const QString settings = files.writeSettingsFile();
    const QString target = files.path(QStringLiteral("no/such/folder/report.pdf"));
    const test::CliResult run = test::runCli(
        {"--settings", settings, "report", "--survey", "7", "--type", "0", "--pdf", target}, test::cliEnvironment(settings));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err.trimmed().split(QLatin1Char('\n')).last(), test::FileNotFoundText);
    EXPECT_FALSE(QFile::exists(files.path(QStringLiteral("no"))));
}
