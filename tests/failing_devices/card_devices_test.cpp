// Reading a memory card whose file fails part way, and storing its runs on a
// disk that fails: the reporter's message for the failure, and nothing
// changed (the screen's lists stay as they were, the survey tables hold the
// same rows and the database file the same bytes).

#include "core/error_reporter.h"
#include "intake/card_file.h"
#include "intake/card_save.h"
#include "intake/intake_test_support.h"
#include "support/failing_devices.h"
#include "support/failing_sqlite_vfs.h"
#include "support/recording_user_interface.h"
#include "support/qstring_printer.h"
#include "support/reporter_texts.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::DeviceFault;

namespace {

const QString CardFixture = QStringLiteral(VORTAN_FIXTURES_DIR "/intake/card_two_sites.csv");

// The card's folder in a temporary folder, holding a copy of the fixture card.
struct Card {
    QTemporaryDir dir;
    QString folder() const { return dir.filePath(QStringLiteral("card")); }
    QString file() const { return folder() + QStringLiteral("/RAM0001.CSV"); }
    Card()
    {
        QDir().mkpath(folder());
        QFile::copy(CardFixture, file());
    }
};

// What the card import screen shows for a failed read.
QStringList reportedRead(const QString& path, test::RecordingUserInterface& ui)
{
    ProgramState state;
    try {
        ReadAndListCardFile(path);
        ADD_FAILURE() << "the read did not fail";
    } catch (const Failure& failure) {
        EXPECT_NE(ReportError(failure, ErrorContext{ui, state, true}), action::EndProgram);
    }
    return ui.messageTexts();
}

} // namespace

TEST(CardFileDevice, AFailedReadIsReportedByItsNumber)
{
    struct Case {
        const char* name;
        DeviceFault fault;
        qint64 limit;
        int number;
        bool cardStays;
    };
    const Case cases[] = {
        {"the card refuses the file", DeviceFault::RefuseRead, 0, 57, true},
        {"the card cannot be read part way", DeviceFault::ReadError, 150, 57, true},
        {"the card is pulled while its file is read", DeviceFault::CardPulled, 150, 71, false},
        {"the card is pulled before the first byte", DeviceFault::CardPulled, 0, 71, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Card card;
        const QByteArray bytes = test::readBytes(card.file());
        test::FailingDevices devices(QStringLiteral("RAM0001.CSV"), c.fault, c.limit);
        test::RecordingUserInterface ui;
        const QStringList shown = reportedRead(card.file(), ui);
        ASSERT_EQ(shown.size(), 1);
        if (c.number == 57) {
            // Named as a file that cannot be read, not as a write-protected one.
            EXPECT_TRUE(test::isUnreadableFileText(shown[0], QDir::toNativeSeparators(card.file()),
                                                   c.fault == DeviceFault::RefuseRead, "CardFile"))
                << shown[0].toStdString();
        } else {
            EXPECT_EQ(shown[0], test::fileErrorText(c.number));
            EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Information);
        }
        EXPECT_EQ(devices.handedOut(), 1);
        if (c.cardStays) {
            EXPECT_EQ(test::readBytes(card.file()), bytes);
        }
    }
}

TEST(CardFileDevice, AFileDeletedBetweenChoiceAndReadingListsNothing)
{
    // A file that is not there reads as no lines: an empty listing, no message.
    Card card;
    const QStringList before = ReadAndListCardFile(card.file()).lines;
    ASSERT_EQ(before.size(), 4);
    QFile::remove(card.file());
    const CardListing listing = ReadAndListCardFile(card.file());
    EXPECT_EQ(listing.file.lineCount, 0);
    EXPECT_TRUE(listing.lines.isEmpty());
}

TEST(CardSaveDevice, ADiskThatFailsDuringTheSaveLeavesTheDatabaseAsBefore)
{
    struct Case {
        const char* name;
        int code;
        int number;
    };
    const Case cases[] = {
        {"the disk is full", SQLITE_FULL, 61},
        {"the drive stops answering", SQLITE_IOERR_WRITE, 3043},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::FailingSqliteVfs vfs;   // made first: the database is opened through it
        test::SurveyDatabaseCopy copy;
        ASSERT_TRUE(copy.isValid());
        const CardListing card = ReadAndListCardFile(CardFixture);
        test::RecordingUserInterface firstUi;
        ASSERT_TRUE(SaveCardRuns(copy.workspace, firstUi, card.file.rows, {card.lines[0]}, "12", "一般"));
        const QStringList tables = test::surveyTables(copy.db());
        const QByteArray fileBytes = test::readBytes(copy.files.surveyDatabase());

        test::RecordingUserInterface ui;
        ProgramState state;
        state.settings.データ位置 = copy.files.surveyDatabase();
        state.settings.住所位置 = copy.files.postalDatabase();
        vfs.failWrites(c.code);
        try {
            SaveCardRuns(copy.workspace, ui, card.file.rows, {card.lines[1], card.lines[2]}, "13", "一般");
            ADD_FAILURE() << "the save did not fail";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), c.number);
            ReportError(failure, ErrorContext{ui, state, true});
        }
        EXPECT_GT(vfs.refusedWrites(), 0);
        vfs.heal();

        const QString expected = c.number == 61
            ? test::fileErrorText(61)
            : test::unreachableDatabaseText(state.settings.データ位置, state.settings.住所位置);
        EXPECT_EQ(ui.messageTexts(), QStringList{expected});
        EXPECT_TRUE(ui.statusTexts().isEmpty());   // no "データを保存しました。"
        EXPECT_FALSE(copy.db().inTransaction());
        EXPECT_EQ(test::surveyTables(copy.db()), tables);
        EXPECT_EQ(test::readBytes(copy.files.surveyDatabase()), fileBytes);
        EXPECT_FALSE(QFile::exists(copy.files.surveyDatabase() + QStringLiteral("-journal")));
    }
}
