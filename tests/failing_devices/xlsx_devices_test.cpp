// The Excel workbook on devices that fail: the failure carries the number
// of the device's fault, and an older workbook of that name keeps its bytes,
// with no temporary file left beside it.

#include "core/failure.h"
#include "intake/intake_test_support.h"
#include "report/report_fixture.h"
#include "support/failing_devices.h"
#include "xlsx/survey_workbook.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

TEST(WorkbookDevice, AFailedWriteKeepsTheOlderWorkbook)
{
    test::ReportFixture survey;
    survey.addRows(survey.addPoint(QStringLiteral("1")), 60);
    for (const test::WriteFailureCase& c : test::writeFailureCases(2000)) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("survey.xlsx"));
        const QByteArray older("PK an older workbook");
        ASSERT_TRUE(test::writeBytes(path, older));

        test::FailingDevices devices(QStringLiteral("survey.xlsx"), c.fault, c.limit);
        int number = 0;
        try {
            xlsx::WriteSurveyWorkbook(*survey.doc, survey.state, path);
        } catch (const Failure& failure) {
            number = failure.number();
        }
        EXPECT_EQ(devices.handedOut(), 1);
        EXPECT_EQ(number, c.number);
        EXPECT_EQ(test::readBytes(path), older);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("survey.xlsx")});
    }
}
