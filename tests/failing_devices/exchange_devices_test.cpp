// The survey exchange file on devices that fail: reading a file whose medium
// fails or goes away, reading into a database whose disk fails, and writing
// onto a disk that is full or refuses the file. Each failure shows the
// conversion command's message for its number and leaves the database's
// tables and the older file exactly as they were, with no temporary file
// left behind.

#include "intake/exchange_failure.h"
#include "intake/exchange_read.h"
#include "intake/exchange_test_data.h"
#include "intake/exchange_write.h"
#include "intake/intake_test_support.h"
#include "support/failing_devices.h"
#include "support/failing_sqlite_vfs.h"
#include "support/recording_user_interface.h"
#include "support/qstring_printer.h"
#include "support/reporter_texts.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::DeviceFault;

namespace {

struct Exchange {
    test::FailingSqliteVfs vfs;   // first: the database is opened through it
    test::SurveyDatabaseCopy copy;
    db::SurveyStore store{copy.workspace};
    test::RecordingUserInterface ui;
    ProgramState state;

    Exchange()
    {
        state.settings.データ位置 = copy.files.surveyDatabase();
        state.settings.住所位置 = copy.files.postalDatabase();
    }
    // Runs `operation` and reports its failure as the conversion command does.
    template <typename Operation>
    void runAndReport(Operation operation)
    {
        try {
            operation();
            ADD_FAILURE() << "the operation did not fail";
        } catch (const Failure& failure) {
            ReportExchangeFailure(failure, ErrorContext{ui, state, true});
        }
    }
    QStringList filesIn(const QString& folder) const
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
};

} // namespace

TEST(ExchangeFileDevice, AFailedReadOfTheFileIsReportedAndStoresNothing)
{
    struct Case {
        const char* name;
        DeviceFault fault;
        qint64 limit;
        QString message;
        MessageIcon icon;
    };
    const Case cases[] = {
        // A file that cannot be read is named so, in the common report (57).
        {"the file is refused", DeviceFault::RefuseRead, 0, QString(), MessageIcon::None},
        {"the medium fails part way", DeviceFault::ReadError, 700, QString(), MessageIcon::None},
        {"the medium is pulled part way", DeviceFault::CardPulled, 700, test::ExchangeDriveNotReadyText,
         MessageIcon::Exclamation},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exchange f;
        ASSERT_TRUE(f.copy.isValid());
        test::storeExchangeSurvey(f.store, 5);
        const QString folder = f.copy.path(QStringLiteral("medium"));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/surveys.csv");
        const QByteArray bytes = cp932::encode(test::exchangeSurveyLines(7) + test::exchangeSurveyLines(8));
        ASSERT_GT(bytes.size(), 1000);
        ASSERT_TRUE(test::writeBytes(path, bytes));
        const QStringList tables = test::surveyTables(f.copy.db());

        for (ExchangeReadMode mode : {ExchangeReadMode::Add, ExchangeReadMode::Replace}) {
            if (!QFile::exists(path)) {   // a pulled medium comes back for the second mode
                QDir().mkpath(folder);
                ASSERT_TRUE(test::writeBytes(path, bytes));
            }
            f.ui.clear();
            test::FailingDevices devices(QStringLiteral("surveys.csv"), c.fault, c.limit);
            f.runAndReport([&] { ReadExchangeFile(f.copy.workspace, f.store, f.ui, path, mode); });
            EXPECT_EQ(devices.handedOut(), 1);
            if (c.message.isEmpty()) {
                ASSERT_EQ(f.ui.messageTexts().size(), 1);
                EXPECT_TRUE(test::isUnreadableFileText(f.ui.messageTexts()[0], QDir::toNativeSeparators(path),
                                                       c.fault == DeviceFault::RefuseRead, "ExchangeFile"));
            } else {
                EXPECT_EQ(f.ui.messageTexts(), QStringList{c.message});
            }
            EXPECT_EQ(f.ui.lastMessage().icon, c.icon);
            EXPECT_FALSE(f.ui.isBusy());
            EXPECT_FALSE(f.ui.statusTexts().contains(QStringLiteral("データを読み込みました。")));
            EXPECT_EQ(test::surveyTables(f.copy.db()), tables);
        }
    }
}

TEST(ExchangeFileDevice, ADatabaseDiskThatFailsDuringTheReadKeepsTheTablesAndTheFile)
{
    struct Case {
        const char* name;
        int code;
        int number;
    };
    const Case cases[] = {{"the disk is full", SQLITE_FULL, 61}, {"the drive stops answering", SQLITE_IOERR_WRITE, 3043}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Exchange f;
        ASSERT_TRUE(f.copy.isValid());
        test::storeExchangeSurvey(f.store, 5);
        const QString path = f.copy.path(QStringLiteral("surveys.csv"));
        ASSERT_TRUE(test::writeCp932(path, test::exchangeSurveyLines(5) + test::exchangeSurveyLines(9)));
        const QStringList tables = test::surveyTables(f.copy.db());
        const QByteArray databaseBytes = test::readBytes(f.copy.files.surveyDatabase());

        f.vfs.failWrites(c.code);
        f.runAndReport([&] {
            ReadExchangeFile(f.copy.workspace, f.store, f.ui, path, ExchangeReadMode::Replace);
        });
        EXPECT_GT(f.vfs.refusedWrites(), 0);
        f.vfs.heal();

        const QString expected = c.number == 61
            ? test::fileErrorText(61)
            : test::unreachableDatabaseText(f.state.settings.データ位置, f.state.settings.住所位置);
        EXPECT_EQ(f.ui.messageTexts(), QStringList{expected});
        EXPECT_FALSE(f.copy.db().inTransaction());
        EXPECT_EQ(test::surveyTables(f.copy.db()), tables);
        EXPECT_EQ(test::readBytes(f.copy.files.surveyDatabase()), databaseBytes);
    }
}

TEST(ExchangeFileDevice, AFailedWriteKeepsTheOlderFileWhole)
{
    const std::vector<test::WriteFailureCase> cases = test::writeFailureCases(500);
    for (const test::WriteFailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Exchange f;
        ASSERT_TRUE(f.copy.isValid());
        test::storeExchangeSurvey(f.store, 5);
        test::storeExchangeSurvey(f.store, 9);
        const QString path = f.copy.path(QStringLiteral("export.csv"));
        const QByteArray older("\"1\",\"older file\"\r\n");
        ASSERT_TRUE(test::writeBytes(path, older));
        const QStringList files = f.filesIn(f.copy.files.folder());

        test::FailingDevices devices(QStringLiteral("export.csv"), c.fault, c.limit);
        f.runAndReport([&] { WriteExchangeFile(f.copy.db(), f.ui, path, QString(), {}); });
        EXPECT_EQ(devices.handedOut(), 1);
        EXPECT_EQ(f.ui.messageTexts(), QStringList{test::fileErrorText(c.number)});
        EXPECT_FALSE(f.ui.isBusy());
        EXPECT_EQ(test::readBytes(path), older);
        EXPECT_EQ(f.filesIn(f.copy.files.folder()), files);
    }
}

