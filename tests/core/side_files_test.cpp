// The small files of the settings folder: grpType.ini, cfdrive.ini, rqtbl.csv.

#include "core/bearing_factor_table.h"
#include "core/card_drive_file.h"
#include "core/cp932.h"
#include "core/failure.h"
#include "core/graph_type_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;
using platform::PathStyle;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

class SideFiles : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString folder() const { return QDir::toNativeSeparators(dir.path()); }

    // A state whose graph values differ from what any file below sets.
    static ProgramState preset()
    {
        ProgramState state;
        state.graphKind = 5;
        state.graphDataName = "Nd";
        state.settings.Nd値表示 = false;
        state.settings.Qa値表示 = true;
        return state;
    }
    ProgramState readGraphFile(const QByteArray& bytes)
    {
        writeBytes(dir.filePath("grpType.ini"), bytes);
        ProgramState state = preset();
        readGraphTypeFile(folder(), state);
        return state;
    }
};

} // namespace

TEST_F(SideFiles, NoGraphFileGivesBarGraphsWithNdShown)
{
    ProgramState state = preset();
    readGraphTypeFile(folder(), state);
    EXPECT_EQ(state.graphKind, 0);
    EXPECT_TRUE(state.settings.Nd値表示);
    EXPECT_FALSE(state.settings.Qa値表示);
    EXPECT_EQ(state.graphDataName, "Nd");
}

TEST_F(SideFiles, GraphFileLinesSetKindDisplayAndDataName)
{
    ProgramState full = readGraphFile("1\r\n1\r\nMv\r\n");
    EXPECT_EQ(full.graphKind, 1);
    EXPECT_TRUE(full.settings.Nd値表示);
    EXPECT_FALSE(full.settings.Qa値表示);
    EXPECT_EQ(full.graphDataName, "Mv");

    ProgramState qa = readGraphFile("0\n2\nQa");  // line feeds only, no final break
    EXPECT_EQ(qa.graphKind, 0);
    EXPECT_FALSE(qa.settings.Nd値表示);
    EXPECT_TRUE(qa.settings.Qa値表示);
    EXPECT_EQ(qa.graphDataName, "Qa");

    ProgramState oneLine = readGraphFile("1\r\n");
    EXPECT_EQ(oneLine.graphKind, 1);
    EXPECT_FALSE(oneLine.settings.Nd値表示);  // as the store gave them
    EXPECT_TRUE(oneLine.settings.Qa値表示);
    EXPECT_EQ(oneLine.graphDataName, "Nd");

    ProgramState notANumber = readGraphFile("折線\r\n 1\r\n");
    EXPECT_EQ(notANumber.graphKind, 0);
    EXPECT_FALSE(notANumber.settings.Nd値表示);  // only exactly "1" means Nd
    EXPECT_TRUE(notANumber.settings.Qa値表示);

    EXPECT_EQ(readGraphFile("99999999\r\n").graphKind, 0);
}

TEST_F(SideFiles, GraphFileIsWrittenAsThreeLinesEndedByCrLf)
{
    ProgramState state;
    state.graphKind = 1;
    state.settings.Nd値表示 = false;
    state.graphDataName = "Qa";
    writeGraphTypeFile(folder(), state);
    EXPECT_EQ(readBytes(dir.filePath("grpType.ini")), QByteArray("1\r\n2\r\nQa\r\n"));

    state.settings.Nd値表示 = true;
    state.graphKind = 0;
    state.graphDataName = "Nd";
    writeGraphTypeFile(folder(), state);
    EXPECT_EQ(readBytes(dir.filePath("grpType.ini")), QByteArray("0\r\n1\r\nNd\r\n"));
}

TEST_F(SideFiles, AGraphFileThatCannotBeWrittenLeavesNothingBehind)
{
    writeBytes(dir.filePath("notAFolder"), "x");
    ProgramState state;
    EXPECT_THROW(writeGraphTypeFile(QDir::toNativeSeparators(dir.filePath("notAFolder")), state),
                 Failure);
    EXPECT_EQ(readBytes(dir.filePath("notAFolder")), QByteArray("x"));
}

TEST(CardDriveRecord, WindowsKeepsAFixedRecordOfTwoBytes)
{
    EXPECT_EQ(cardDriveRecord("E:", PathStyle::Windows), QByteArray("E:"));
    EXPECT_EQ(cardDriveRecord("E", PathStyle::Windows), QByteArray("E "));
    EXPECT_EQ(cardDriveRecord("E:\\DATA", PathStyle::Windows), QByteArray("E:"));
    EXPECT_EQ(cardDriveRecord("", PathStyle::Windows), QByteArray("  "));

    EXPECT_EQ(cardDriveFromRecord("F:\\rest", PathStyle::Windows), "F:");
    EXPECT_EQ(cardDriveFromRecord("G", PathStyle::Windows), "G");
    // One double-byte character fills the record.
    EXPECT_EQ(cardDriveFromRecord(cp932::encode(u"Ｅ"), PathStyle::Windows), "Ｅ");
}

TEST(CardDriveRecord, ElsewhereTheRecordIsTheMountFolderOnOneLine)
{
    EXPECT_EQ(cardDriveRecord("/media/user/カード", PathStyle::Posix),
              cp932::encode(u"/media/user/カード") + '\n');
    EXPECT_EQ(cardDriveFromRecord(cp932::encode(u"/media/user/カード\r\n"), PathStyle::Posix),
              "/media/user/カード");
}

TEST_F(SideFiles, CardDriveFileRoundTripsAndAnEmptyFileLeavesTheDrive)
{
    QString drive = "D:";
    EXPECT_FALSE(readCardDriveFile(folder(), drive));  // absent
    EXPECT_EQ(drive, "D:");

    writeBytes(dir.filePath("cfdrive.ini"), QByteArray());
    EXPECT_FALSE(readCardDriveFile(folder(), drive));  // empty
    EXPECT_EQ(drive, "D:");

    const QString written = platform::nativePathStyle() == PathStyle::Windows ? "F:" : "/media/u/SD";
    writeCardDriveFile(folder(), written);
    EXPECT_EQ(readBytes(dir.filePath("cfdrive.ini")),
              cardDriveRecord(written, platform::nativePathStyle()));
    EXPECT_TRUE(readCardDriveFile(folder(), drive));
    EXPECT_EQ(drive, written);
}

TEST(BearingFactorTableText, EveryLineIsARowOfFourTexts)
{
    const auto rows = parseBearingFactorTable("0,5.1,0,1\r\n"
                                              "5, 6.5 ,\"0.1\",1.6\n"
                                              "\r\n"
                                              "10,8.3\r\n"
                                              "phi,Nc,Ng,Nq,extra\r\n"
                                              "15,11.0,1.1,3.9");
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0].phi, "0");
    EXPECT_EQ(rows[0].nc, "5.1");
    EXPECT_EQ(rows[0].ngamma, "0");
    EXPECT_EQ(rows[0].nq, "1");
    EXPECT_EQ(rows[1].nc, "6.5");       // blanks around a field go
    EXPECT_EQ(rows[1].ngamma, "0.1");   // and so do quotes
    EXPECT_EQ(rows[2].phi, "10");
    EXPECT_EQ(rows[2].nc, "8.3");
    EXPECT_EQ(rows[2].ngamma, "");      // missing fields are empty
    EXPECT_EQ(rows[2].nq, "");
    // No header is skipped; fields after the fourth are ignored.
    EXPECT_EQ(rows[3].phi, "phi");
    EXPECT_EQ(rows[3].nq, "Nq");
    EXPECT_EQ(rows[4].phi, "15");
    EXPECT_EQ(rows[4].nq, "3.9");
}

TEST(BearingFactorTableText, ACodePage932HeaderLineIsARowToo)
{
    const auto rows = parseBearingFactorTable(cp932::encode(u"φ,Nc,Nγ,Nq\r\n"));
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].phi, "φ");
    EXPECT_EQ(rows[0].ngamma, "Nγ");
}

TEST_F(SideFiles, BearingFactorTableKeepsItsRowsWhenTheFileIsMissing)
{
    std::vector<BearingFactorRow> table{{"1", "2", "3", "4"}};
    EXPECT_FALSE(LoadBearingFactorTable(folder(), table));
    ASSERT_EQ(table.size(), 1u);

    writeBytes(dir.filePath("rqtbl.csv"), "0,5.1,0,1\r\n5,6.5,0.1,1.6\r\n");
    EXPECT_TRUE(LoadBearingFactorTable(folder(), table));
    ASSERT_EQ(table.size(), 2u);
    EXPECT_EQ(table[1].phi, "5");
}
