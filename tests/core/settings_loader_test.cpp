// Loading every setting from the store (with the side files of the settings
// folder) and saving them back.

#include "core/failure.h"
#include "core/settings_loader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

SettingsStore storeOf(const QByteArray& text)
{
    SettingsStore store;
    store.parse(text);
    return store;
}

// The program folder of these tests: an empty temporary folder, so that no
// side file is found unless a test writes one.
class SettingsLoading : public ::testing::Test {
protected:
    QTemporaryDir programDir;
    QString folder() const { return QDir::toNativeSeparators(programDir.path()); }

    ProgramState load(const QByteArray& text)
    {
        ProgramState state;
        LoadSettings(storeOf(text), state, folder());
        return state;
    }
};

QByteArray nativeLines(QByteArray text)
{
#ifdef Q_OS_WIN
    text.replace("\n", "\r\n");
#endif
    return text;
}

} // namespace

TEST(DefaultFileInProgramFolder, AddsASeparatorOnlyWhenTheFolderLacksOne)
{
    using platform::PathStyle;
    EXPECT_EQ(defaultFileInProgramFolder(u"C:\\", u"VORTAN.MDB", PathStyle::Windows), "C:\\VORTAN.MDB");
    EXPECT_EQ(defaultFileInProgramFolder(u"C:\\Prog", u"VORTAN.MDB", PathStyle::Windows),
              "C:\\Prog\\VORTAN.MDB");
    EXPECT_EQ(defaultFileInProgramFolder(u"C:\\Prog", u"Yuubin.MDB", PathStyle::Windows),
              "C:\\Prog\\Yuubin.MDB");
    EXPECT_EQ(defaultFileInProgramFolder(u"/", u"VORTAN.MDB", PathStyle::Posix), "/VORTAN.MDB");
    EXPECT_EQ(defaultFileInProgramFolder(u"/opt/vortan", u"VORTAN.MDB", PathStyle::Posix),
              "/opt/vortan/VORTAN.MDB");
}

TEST_F(SettingsLoading, AnEmptyStoreGivesEveryDefaultAndSavesThemAll)
{
    const ProgramState state = load({});
    const AppSettings& s = state.settings;
#ifdef Q_OS_WIN
    const QString sep = "\\";
#else
    const QString sep = "/";
#endif
    EXPECT_EQ(s.データ位置, folder() + sep + "VORTAN.MDB");
    EXPECT_EQ(s.住所位置, folder() + sep + "Yuubin.MDB");
    EXPECT_EQ(s.ini位置, folder());
    EXPECT_EQ(s.Level1_Color, "255");
    EXPECT_EQ(s.Level2_Color, "65535");
    EXPECT_EQ(s.Level3_Color, "16711680");
    EXPECT_EQ(state.graphKind, 0);   // no grpType.ini
    EXPECT_TRUE(s.Nd値表示);
    EXPECT_FALSE(s.Qa値表示);
    EXPECT_TRUE(state.cardDrive.isEmpty());
    EXPECT_TRUE(state.bearingFactorTable.empty());

    SettingsStore store;
    storeSettings(store, s);
    const QByteArray expected = nativeLines(
        "[Com]\nport=1\ntimeout=10\n\n"
        "[Data]\npoint=22\nmaxcount=64\n\n"
        "[土質]\n砂質土=砂質土\n粘性土=粘性土\n\n"
        "[etc]\n"
        "データ位置=" + s.データ位置.toUtf8() + "\n"
        "住所位置=" + s.住所位置.toUtf8() + "\n"
        "csv位置=a:\\test.csv\n"
        "ini位置=" + folder().toUtf8() + "\n"
        "通常の提出先=一般\n単位系=1\n重力加速度=10\n高さ基準=0\n住所名=0\n"
        "その他_ComboIndex=0\n測点表示=0\n打撃回数の下限=False\n打撃回数の下限値=5\n"
        "Nd値の上限を有効にする=False\nNd値の上限値=50\nNdのしきい値を有効にする=False\n"
        "Ndのしきい値=1\nqaのしきい値を有効にする=False\nqaのしきい値=8\n試験名単位切替=True\n"
        "UpdateHost=\nRemoteSupportHost=\n\n"
        "[rep]\n会社名=\n会社マーク=\nレポートタイプ=0\nNd値グラフ同時表示数=5\nMax深度=15\n"
        "Nd値の最大表示値=20\nグラフ表示=0\nTop Margin=15\nRight Margin=10\nBottom Margin=15\n"
        "Left Margin=10\nレポート縦=190\nレポート横=275\nNd値表示=True\nQa値表示=False\n"
        "qu値表示=False\nMv値表示=False\n標高=True\n標高差=False\n地下水位=False\n記事=False\n"
        "グラフの色の選定基準=0\nSI深度表記=1\nLevel1_0=0\nLevel1_1=3\nLevel2_0=3\nLevel2_1=5\n"
        "Level3_0=5\nLevel3_1=99\nLevel1_Color=255\nLevel2_Color=65535\nLevel3_Color=16711680\n"
        "PRType3Type=0\nPRType3NMax=20\nPRType3qaMax=200\nPRType3quMax=200\nPRType3MvMax=200\n");
    EXPECT_EQ(store.serialize().toStdString(), expected.toStdString());
}

TEST_F(SettingsLoading, StoredValuesReplaceTheDefaults)
{
    const ProgramState state = load(
        "[Com]\nport=3\ntimeout=2.5\n[Data]\npoint=21.5\n"
        "[etc]\nデータ位置=D:\\data\\VORTAN.MDB\n通常の提出先=山田建設\n重力加速度=9.8\n"
        "[rep]\nTop Margin=12.50\nレポート縦=180.5\n会社名=  \n");
    const AppSettings& s = state.settings;
    EXPECT_EQ(s.port, 3);
    EXPECT_EQ(s.timeout, 2);       // a whole number from a floating value: halves to even
    EXPECT_EQ(s.point, 22);
    EXPECT_EQ(s.データ位置, "D:\\data\\VORTAN.MDB");
    EXPECT_EQ(s.通常の提出先, "山田建設");
    EXPECT_FLOAT_EQ(s.重力加速度, 9.8f);
    EXPECT_EQ(s.TopMargin, "12.50");   // margins are kept as the text that was read
    EXPECT_DOUBLE_EQ(s.レポート縦, 180.5);
    EXPECT_EQ(s.会社名, "");
    EXPECT_EQ(s.住所位置, QDir::toNativeSeparators(programDir.filePath("Yuubin.MDB")));
}

TEST_F(SettingsLoading, ColoursAndSelectorsAreReadByTheirLeadingNumberAndKeptAsDecimalText)
{
    const ProgramState state = load("[etc]\n単位系=2.50 SI\n"
                                    "[rep]\nLevel1_Color=&H000000FF&\nLevel2_Color=&HFF00&\n"
                                    "Level3_Color=blue\nPRType3Type=2番\n");
    EXPECT_EQ(state.settings.単位系, "2.5");
    EXPECT_EQ(state.settings.Level1_Color, "255");
    EXPECT_EQ(state.settings.Level2_Color, "65280");
    EXPECT_EQ(state.settings.Level3_Color, "0");
    EXPECT_EQ(state.settings.PRType3Type, "2");

    SettingsStore store = storeOf("[rep]\nLevel1_Color=&H000000FF&\n");
    storeSettings(store, state.settings);
    EXPECT_EQ(store.value("rep", "Level1_Color"), QString("255"));
    EXPECT_EQ(store.value("rep", "Level3_Color"), QString("0"));
}

TEST_F(SettingsLoading, LenientNumbersTakeTheLeadingNumberOrZero)
{
    const ProgramState state = load("[rep]\nレポートタイプ=2.5型\nNd値グラフ同時表示数=abc\n"
                                    "Max深度=12.5m\nNd値の最大表示値=30 回\n");
    EXPECT_EQ(state.settings.レポートタイプ, 2);
    EXPECT_DOUBLE_EQ(state.settings.Nd値グラフ同時表示数, 0.0);
    EXPECT_DOUBLE_EQ(state.settings.Max深度, 12.5);
    EXPECT_FLOAT_EQ(state.settings.Nd値の最大表示値, 30.0f);
}

TEST_F(SettingsLoading, TheBlowCountLimitIsReadAsASingleAndRoundedHalfToEven)
{
    EXPECT_EQ(load("[etc]\n打撃回数の下限値=5.5\n").settings.打撃回数の下限値, 6);
    EXPECT_EQ(load("[etc]\n打撃回数の下限値=4.5\n").settings.打撃回数の下限値, 4);
    EXPECT_EQ(load("[etc]\n打撃回数の下限値=4.51\n").settings.打撃回数の下限値, 5);
}

TEST_F(SettingsLoading, SwitchesAcceptNumbersAndWordsAndAreWrittenAsWords)
{
    ProgramState off = load("[etc]\n試験名単位切替=0\n打撃回数の下限=true\n");
    ProgramState on = load("[etc]\n試験名単位切替=-1\n打撃回数の下限=FALSE\n");
    EXPECT_FALSE(off.settings.試験名単位切替);
    EXPECT_TRUE(off.settings.打撃回数の下限);
    EXPECT_TRUE(on.settings.試験名単位切替);
    EXPECT_FALSE(on.settings.打撃回数の下限);

    SettingsStore store;
    storeSettings(store, off.settings);
    EXPECT_EQ(store.value("etc", "試験名単位切替"), QString("False"));
    storeSettings(store, on.settings);
    EXPECT_EQ(store.value("etc", "試験名単位切替"), QString("True"));
}

TEST_F(SettingsLoading, AnUnreadableStrictValueStopsLoadingAtItsKey)
{
    // Side files that must not be read after the failure.
    writeBytes(programDir.filePath("grpType.ini"), "1\r\n2\r\nQa\r\n");
    writeBytes(programDir.filePath("rqtbl.csv"), "0,5.1,0,1\r\n");

    ProgramState state;
    state.graphKind = 7;
    state.settings.会社名 = "before";
    state.settings.試験名単位切替 = false;
    try {
        LoadSettings(storeOf("[etc]\n通常の提出先=山田\n重力加速度=9.8m/s2\n試験名単位切替=True\n"
                             "[rep]\n会社名=after\n"),
                     state, folder());
        FAIL() << "loading went on past an unreadable value";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::TypeMismatch);
        EXPECT_TRUE(failure.description().contains("重力加速度"));
    }
    EXPECT_EQ(state.settings.通常の提出先, "山田");     // read before the failing key
    EXPECT_FALSE(state.settings.試験名単位切替);        // after it: as it was
    EXPECT_EQ(state.settings.会社名, "before");
    EXPECT_EQ(state.graphKind, 7);
    EXPECT_TRUE(state.settings.Nd値表示);
    EXPECT_TRUE(state.bearingFactorTable.empty());
}

TEST_F(SettingsLoading, EmptyAndOutOfRangeStrictValuesFailToo)
{
    const std::pair<const char*, std::int32_t> cases[] = {
        {"[Com]\nport=\n", err::TypeMismatch}, {"[Com]\nport=40000\n", err::Overflow},
        {"[rep]\n標高=yes\n", err::TypeMismatch}};
    for (const auto& [text, number] : cases) {
        ProgramState state;
        std::int32_t failed = 0;
        try {
            LoadSettings(storeOf(text), state, folder());
        } catch (const Failure& failure) {
            failed = failure.number();
        }
        EXPECT_EQ(failed, number) << text;
    }
}

TEST_F(SettingsLoading, SideFilesAreReadFromTheSettingsFolder)
{
    QTemporaryDir settingsDir;
    writeBytes(settingsDir.filePath("grpType.ini"), "1\r\n1\r\nMv\r\n");
    writeBytes(settingsDir.filePath("cfdrive.ini"), "E:");
    writeBytes(settingsDir.filePath("rqtbl.csv"), "0,5.1,0,1\r\n5,6.5,0.1,1.6\r\n");
    // The program folder holds other files that must not be taken.
    writeBytes(programDir.filePath("grpType.ini"), "0\r\n2\r\nQa\r\n");

    const QString settingsFolder = QDir::toNativeSeparators(settingsDir.path());
    const ProgramState state = load("[etc]\nini位置=" + settingsFolder.toUtf8()
                                    + "\n[rep]\nNd値表示=False\nQa値表示=True\n");
    EXPECT_EQ(state.graphKind, 1);
    EXPECT_TRUE(state.settings.Nd値表示);    // the file's second line "1" wins over the store
    EXPECT_FALSE(state.settings.Qa値表示);
    EXPECT_EQ(state.graphDataName, "Mv");
#ifdef Q_OS_WIN
    EXPECT_EQ(state.cardDrive, "E:");
#else
    EXPECT_EQ(state.cardDrive, "E:");
#endif
    ASSERT_EQ(state.bearingFactorTable.size(), 2u);
    EXPECT_EQ(state.bearingFactorTable[1].nq, "1.6");
}

TEST_F(SettingsLoading, AGraphFileWithoutAThirdLineLeavesTheGraphDataName)
{
    writeBytes(programDir.filePath("grpType.ini"), "0\r\n2\r\n");
    ProgramState state;
    state.graphDataName = "Nd";
    LoadSettings(storeOf("[rep]\nNd値表示=True\nQa値表示=False\n"), state, folder());
    EXPECT_EQ(state.graphDataName, "Nd");
    EXPECT_FALSE(state.settings.Nd値表示);
    EXPECT_TRUE(state.settings.Qa値表示);
}

TEST_F(SettingsLoading, SavingAFullStoreThatWasJustLoadedChangesNoByte)
{
    const QByteArray text =
        "; Vortan settings, edited by hand\r\n"
        "[Com]\r\nport = 2\r\ntimeout = 10\r\n\r\n"
        "[Data]\r\npoint=22\r\nmaxcount=64\r\n\r\n"
        "[土質]\r\n砂質土=砂質土\r\n粘性土=粘性土\r\n\r\n"
        "[etc]\r\nデータ位置=D:\\測量\\VORTAN.MDB\r\n住所位置=D:\\測量\\Yuubin.MDB\r\n"
        "csv位置=a:\\test.csv\r\nini位置=" + folder().toUtf8() + "\r\n通常の提出先=一般\r\n"
        "単位系=1\r\n重力加速度=9.8\r\n高さ基準=1\r\n住所名=3\r\nその他_ComboIndex=2\r\n"
        "測点表示=1\r\n打撃回数の下限=True\r\n打撃回数の下限値=5\r\nNd値の上限を有効にする=False\r\n"
        "Nd値の上限値=50\r\nNdのしきい値を有効にする=False\r\nNdのしきい値=0.5\r\n"
        "qaのしきい値を有効にする=True\r\nqaのしきい値=8\r\n試験名単位切替=False\r\n"
        "UpdateHost=www.example.jp\r\nRemoteSupportHost=\r\n"
        "; a key of a later version\r\n未来の設定=1\r\n\r\n"
        "[rep]\r\n会社名=株式会社 山田測量\r\n会社マーク=D:\\mark.bmp\r\nレポートタイプ=2\r\n"
        "Nd値グラフ同時表示数=5\r\nMax深度=20\r\nNd値の最大表示値=20\r\nグラフ表示=1\r\n"
        "Top Margin=15\r\nRight Margin=10\r\nBottom Margin=15\r\nLeft Margin=10.5\r\n"
        "レポート縦=190\r\nレポート横=275\r\nNd値表示=True\r\nQa値表示=False\r\nqu値表示=False\r\n"
        "Mv値表示=False\r\n標高=True\r\n標高差=False\r\n地下水位=True\r\n記事=False\r\n"
        "グラフの色の選定基準=1\r\nSI深度表記=1\r\nLevel1_0=0\r\nLevel1_1=3\r\nLevel2_0=3\r\n"
        "Level2_1=5\r\nLevel3_0=5\r\nLevel3_1=99\r\nLevel1_Color=255\r\nLevel2_Color=65535\r\n"
        "Level3_Color=16711680\r\nPRType3Type=0\r\nPRType3NMax=20\r\nPRType3qaMax=200\r\n"
        "PRType3quMax=200\r\nPRType3MvMax=200\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath("Vortan.ini");
    writeBytes(path, text);

    SettingsStore store = SettingsStore::openAt(path);
    ProgramState state;
    LoadSettings(store, state, folder());
    EXPECT_EQ(state.settings.会社名, "株式会社 山田測量");
    EXPECT_FLOAT_EQ(state.settings.Ndのしきい値, 0.5f);
    SaveSettings(store, state.settings);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), text.toStdString());
}
