// The small files of the settings folder and the settings file on devices
// that fail. Readers that fall back by their description (grpType.ini to its
// defaults, cfdrive.ini and rqtbl.csv to what the program held) do so on a
// read that fails part way too, never taking half a file; the others report
// the number of the failure. Writers report theirs and leave the old file's
// bytes, with no temporary file left beside it.

#include "calc/qa_param_file.h"
#include "calc/qa_param_file_writer.h"
#include "core/card_drive_file.h"
#include "core/error_reporter.h"
#include "core/graph_type_file.h"
#include "core/settings_loader.h"
#include "core/settings_store.h"
#include "intake/intake_test_support.h"
#include "support/failing_devices.h"
#include "support/qstring_printer.h"
#include "support/recording_user_interface.h"
#include "support/reporter_texts.h"

#include <QDir>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace vortan;
using vortan::test::DeviceFault;

namespace {

struct Folder {
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
    QStringList files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name); }
};

// The message the program shows for the failure `operation` throws.
QStringList reported(const std::function<void()>& operation)
{
    test::RecordingUserInterface ui;
    ProgramState state;
    try {
        operation();
        ADD_FAILURE() << "the operation did not fail";
    } catch (const Failure& failure) {
        ReportError(failure, ErrorContext{ui, state, true});
    }
    return ui.messageTexts();
}

const QByteArray GraphFile = "1\r\n2\r\nQa\r\n";
const QByteArray CardDriveFile = "/media/card\n";
const QByteArray BearingFile = "25.0,20.72,6.77,10.66\r\n25.1,20.86,6.86,10.76\r\n25.2,21.00,6.95,10.87\r\n";

} // namespace

TEST(SideFileDevice, ReadersThatFallBackDoSoOnAReadThatFailsPartWay)
{
    struct Case {
        const char* name;
        DeviceFault fault;
        qint64 limit;
    };
    const Case cases[] = {
        {"refused", DeviceFault::RefuseRead, 0},
        {"fails after a few bytes", DeviceFault::ReadError, 4},
        {"its medium is pulled", DeviceFault::CardPulled, 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const char* name : {"grpType.ini", "cfdrive.ini", "rqtbl.csv"}) {
            SCOPED_TRACE(name);
            Folder folder;
            const QString settingsFolder = folder.path(QStringLiteral("settings"));
            QDir().mkpath(settingsFolder);
            test::writeBytes(settingsFolder + "/grpType.ini", GraphFile);
            test::writeBytes(settingsFolder + "/cfdrive.ini", CardDriveFile);
            test::writeBytes(settingsFolder + "/rqtbl.csv", BearingFile);

            ProgramState state;
            state.graphKind = 5;
            state.graphDataName = QStringLiteral("Mv");
            state.cardDrive = QStringLiteral("/media/old");
            state.bearingFactorTable = {{"1", "2", "3", "4"}};
            test::FailingDevices devices(QString::fromLatin1(name), c.fault, c.limit);
            LoadSettings(SettingsStore(), state, settingsFolder);
            EXPECT_EQ(devices.handedOut(), 1);

            // The files are read in this order; a pulled medium takes the
            // files read after the failing one with it.
            const QStringList order{"grpType.ini", "cfdrive.ini", "rqtbl.csv"};
            auto fails = [&](const char* file) {
                const qsizetype at = order.indexOf(QString::fromLatin1(file));
                const qsizetype failing = order.indexOf(QString::fromLatin1(name));
                return at == failing || (c.fault == DeviceFault::CardPulled && at > failing);
            };
            const bool graphFails = fails("grpType.ini");
            const bool driveFails = fails("cfdrive.ini");
            const bool tableFails = fails("rqtbl.csv");
            // grpType.ini unreadable: bar graph, Nd shown, qa not, data name as it was.
            EXPECT_EQ(state.graphKind, graphFails ? 0 : 1);
            EXPECT_EQ(state.settings.Nd値表示, graphFails);
            EXPECT_EQ(state.settings.Qa値表示, !graphFails);
            EXPECT_EQ(state.graphDataName, graphFails ? "Mv" : "Qa");
            // cfdrive.ini unreadable: the drive the program held.
            EXPECT_EQ(state.cardDrive, driveFails ? "/media/old" : "/media/card");
            // rqtbl.csv unreadable: the rows the table had.
            ASSERT_EQ(state.bearingFactorTable.size(), tableFails ? 1u : 3u);
            EXPECT_EQ(state.bearingFactorTable.back().phi, tableFails ? "1" : "25.2");
        }
    }
}

TEST(SideFileDevice, TheQaParameterFileReportsAFailedReadAndReadsAgainNextTime)
{
    struct Case {
        const char* name;
        DeviceFault fault;
        qint64 limit;
        int number;
    };
    const Case cases[] = {
        {"refused", DeviceFault::RefuseRead, 0, 70},
        {"fails in the second record", DeviceFault::ReadError, 300, 75},
        {"its medium is pulled", DeviceFault::CardPulled, 300, 71},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::ShippedFilesCopy files;
        ASSERT_TRUE(files.isValid());
        const QString folder = files.path(QStringLiteral("settings"));
        QDir().mkpath(folder);
        const QString path = folder + QStringLiteral("/qaTbl.tbl");
        ASSERT_TRUE(QFile::copy(files.qaParameterFile(), path));
        const QByteArray bytes = test::readBytes(path);
        ASSERT_GE(bytes.size(), 2 * calc::QaParamRecordSize);

        // The series and soil of the file's last record, which a shortened read would miss.
        const calc::QaParamRecord last = calc::decodeQaParamRecord(
            QByteArrayView(bytes).last(calc::QaParamRecordSize));
        calc::QaSet set;
        set.code = QString::number(last.seriesCode);
        const QString soil = last.soilName.section(QLatin1Char(' '), 0, 0).trimmed();

        calc::QaParamFile file;
        {
            test::FailingDevices devices(QStringLiteral("qaTbl.tbl"), c.fault, c.limit);
            EXPECT_EQ(reported([&] { file.findQaParams(path, set, soil); }),
                      QStringList{test::fileErrorText(c.number)});
        }
        if (c.fault != DeviceFault::CardPulled) {
            EXPECT_EQ(test::readBytes(path), bytes);
            EXPECT_EQ(file.findQaParams(path, set, soil).seriesCode, last.seriesCode);
        }
    }
}

TEST(SideFileDevice, RewritingTheQaParameterFileStopsWhenTheOldFileCannotBeRead)
{
    for (const auto& [fault, number] : {std::pair{DeviceFault::RefuseRead, 70}, std::pair{DeviceFault::ReadError, 75}}) {
        SCOPED_TRACE(number);
        test::ShippedFilesCopy files;
        ASSERT_TRUE(files.isValid());
        const QByteArray bytes = test::readBytes(files.qaParameterFile());
        const QStringList before = QDir(files.folder()).entryList(QDir::Files);
        calc::QaParamRecord record;
        record.seriesCode = 1;
        record.soilName = QStringLiteral("ローム");

        test::FailingDevices devices(QStringLiteral("qaTbl.tbl"), fault, 240);
        EXPECT_EQ(reported([&] { calc::ReplaceQaSeries(files.folder(), 1, {record}); }),
                  QStringList{test::fileErrorText(number)});
        EXPECT_EQ(test::readBytes(files.qaParameterFile()), bytes);
        EXPECT_EQ(QDir(files.folder()).entryList(QDir::Files), before);
    }
}

TEST(SideFileDevice, WritersReportTheFailureAndKeepTheOldFile)
{
    const std::vector<test::WriteFailureCase> cases = test::writeFailureCases(3);
    struct Writer {
        const char* file;
        QByteArray old;
        std::function<void(const QString& folder)> write;
    };
    ProgramState state;
    state.graphKind = 0;
    state.graphDataName = QStringLiteral("Nd");
    state.settings.Nd値表示 = true;
    const Writer writers[] = {
        {"grpType.ini", GraphFile, [&](const QString& folder) { writeGraphTypeFile(folder, state); }},
        {"cfdrive.ini", CardDriveFile, [](const QString& folder) { writeCardDriveFile(folder, "/media/usb"); }},
        {"Vortan.ini", "[Com]\r\nport=3\r\n; kept\r\n",
         [&](const QString& folder) {
             SettingsStore store(folder + QStringLiteral("/Vortan.ini"));
             store.load();
             SaveSettings(store, state.settings);
         }},
    };
    for (const Writer& w : writers) {
        for (const test::WriteFailureCase& c : cases) {
            SCOPED_TRACE(std::string(w.file) + ": " + c.name);
            Folder folder;
            test::writeBytes(folder.path(QString::fromLatin1(w.file)), w.old);
            const QStringList files = folder.files();
            test::FailingDevices devices(QString::fromLatin1(w.file), c.fault, c.limit);
            EXPECT_EQ(reported([&] { w.write(folder.dir.path()); }), QStringList{test::fileErrorText(c.number)});
            EXPECT_EQ(devices.handedOut(), 1);
            EXPECT_EQ(test::readBytes(folder.path(QString::fromLatin1(w.file))), w.old);
            EXPECT_EQ(folder.files(), files);
        }
    }
}

TEST(SideFileDevice, ASettingsFileThatFailsPartWayIsNotTaken)
{
    // Half a settings file would give the keys after the cut their defaults.
    for (DeviceFault fault : {DeviceFault::RefuseRead, DeviceFault::ReadError}) {
        Folder folder;
        const QString path = folder.path(QStringLiteral("Vortan.ini"));
        test::writeBytes(path, "[Com]\r\nport=3\r\ntimeout=20\r\n");
        SettingsStore store(path);
        store.parse("[Com]\r\nport=1\r\n");
        test::FailingDevices devices(QStringLiteral("Vortan.ini"), fault, 10);
        const QStringList shown = reported([&] { store.load(); });
        ASSERT_EQ(shown.size(), 1);
        EXPECT_TRUE(test::isUnreadableFileText(shown[0], QDir::toNativeSeparators(path),
                                               fault == DeviceFault::RefuseRead, QDir::toNativeSeparators(path)))
            << shown[0].toStdString();
        EXPECT_EQ(store.serialize(), QByteArray("[Com]\r\nport=1\r\n"));
    }
}
