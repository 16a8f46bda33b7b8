// Path rules of both platform styles, the temporary folder and the manual's
// address, and the card folders picked from mounted volumes.

#include "core/platform.h"

#include <QCoreApplication>
#include <QDir>
#include <QMap>
#include <gtest/gtest.h>

using namespace vortan::platform;

TEST(JoinPath, DoesNotDoubleATrailingSeparator)
{
    EXPECT_EQ(joinPath(u"C:\\", u"grpType.ini", PathStyle::Windows), "C:\\grpType.ini");
    EXPECT_EQ(joinPath(u"C:\\Program Files\\Vortan", u"rqtbl.csv", PathStyle::Windows),
              "C:\\Program Files\\Vortan\\rqtbl.csv");
    EXPECT_EQ(joinPath(u"", u"tmpVortan.MDB", PathStyle::Windows), "\\tmpVortan.MDB");
    EXPECT_EQ(joinPath(u"/", u"grpType.ini", PathStyle::Posix), "/grpType.ini");
    EXPECT_EQ(joinPath(u"/home/u/Vortan", u"cfdrive.ini", PathStyle::Posix),
              "/home/u/Vortan/cfdrive.ini");
    // A backslash is an ordinary character in a Posix name.
    EXPECT_EQ(joinPath(u"/data\\", u"x", PathStyle::Posix), "/data\\/x");
}

TEST(ProgramFolder, IsTheRunningProgramsFolderInNativeForm)
{
    EXPECT_EQ(programFolder(), QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    EXPECT_FALSE(programFolder().isEmpty());
}

TEST(TemporaryFolder, WindowsTakesTheVariableAsItIs)
{
    const QMap<QString, QString> none;
    const QMap<QString, QString> both{{"tmp", "C:\\Temp"}, {"TEMP", "C:\\Users\\u\\Temp"}};
    auto from = [](const QMap<QString, QString>& variables) {
        return [variables](const QString& name) { return variables.value(name); };
    };
    // Unset: empty, so the repair's copy lands in the root of the current drive.
    EXPECT_EQ(temporaryFolderRule(PathStyle::Windows, "tmp", from(none), "C:\\System"), "");
    EXPECT_EQ(joinPath(temporaryFolderRule(PathStyle::Windows, "tmp", from(none), "x"),
                       u"tmpVortan.MDB", PathStyle::Windows),
              "\\tmpVortan.MDB");
    EXPECT_EQ(temporaryFolderRule(PathStyle::Windows, "tmp", from(both), "x"), "C:\\Temp");
    EXPECT_EQ(temporaryFolderRule(PathStyle::Windows, "TEMP", from(both), "x"),
              "C:\\Users\\u\\Temp");
}

TEST(TemporaryFolder, ElsewhereFallsBackToTheOtherVariableAndTheSystemFolder)
{
    auto from = [](QMap<QString, QString> variables) {
        return [variables](const QString& name) { return variables.value(name); };
    };
    EXPECT_EQ(temporaryFolderRule(PathStyle::Posix, "tmp", from({{"tmp", "/a"}, {"TEMP", "/b"}}), "/s"),
              "/a");
    EXPECT_EQ(temporaryFolderRule(PathStyle::Posix, "tmp", from({{"TEMP", "/b"}}), "/s"), "/b");
    EXPECT_EQ(temporaryFolderRule(PathStyle::Posix, "TEMP", from({{"tmp", "/a"}, {"TEMP", "/b"}}), "/s"),
              "/b");
    EXPECT_EQ(temporaryFolderRule(PathStyle::Posix, "tmp", from({}), "/s"), "/s");
    EXPECT_FALSE(temporaryFolder().isEmpty() && nativePathStyle() == PathStyle::Posix);
}

TEST(ManualAddress, WindowsReplacesBlanksAndJoinsWithABackslash)
{
    EXPECT_EQ(manualAddressRule(u"C:\\Program Files\\X", PathStyle::Windows),
              "file:///C:\\Program%20Files\\X\\VORTAN_Manual.pdf");
    EXPECT_EQ(manualAddressRule(u"D:\\Vortan", PathStyle::Windows),
              "file:///D:\\Vortan\\VORTAN_Manual.pdf");
}

TEST(ManualAddress, ElsewhereIsAnEncodedFileAddress)
{
    EXPECT_EQ(manualAddressRule(u"/opt/My X", PathStyle::Posix),
              "file:///opt/My%20X/VORTAN_Manual.pdf");
    EXPECT_EQ(manualAddressRule(u"/opt/調査/", PathStyle::Posix),
              "file:///opt/%E8%AA%BF%E6%9F%BB/VORTAN_Manual.pdf");
}

TEST(CardFolders, WindowsGivesDriveLettersRemovableFirst)
{
    const std::vector<Volume> volumes{
        {"C:/", false, true}, {"e:/", true, true}, {"F:/", true, false}, {"D:\\", false, true},
        {"//server/share", false, true}};
    EXPECT_EQ(cardFoldersRule(volumes, PathStyle::Windows), QStringList({"E:", "C:", "D:"}));
}

TEST(CardFolders, ElsewhereGivesTheMountFoldersOfRemovableMedia)
{
    const std::vector<Volume> volumes{{"/", false, true},
                                      {"/home", false, true},
                                      {"/media/u/CARD/", false, true},
                                      {"/run/media/u/SD", false, true},
                                      {"/mnt/usb", false, false},
                                      {"/srv/card", true, true}};
    EXPECT_EQ(cardFoldersRule(volumes, PathStyle::Posix),
              QStringList({"/media/u/CARD", "/run/media/u/SD", "/srv/card"}));
}
