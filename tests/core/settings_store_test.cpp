// The settings file: reading hand-written INI text, keeping it as written,
// and saving it in place without losing the old file on failure.

#include "core/atomic_file.h"
#include "core/failure.h"
#include "core/cp932.h"
#include "core/settings_store.h"
#include "support/failing_devices.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QStringEncoder>
#include <gtest/gtest.h>

using namespace vortan;

namespace {

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

SettingsStore parsed(const QByteArray& bytes)
{
    SettingsStore store;
    store.parse(bytes);
    return store;
}

} // namespace

TEST(SettingsStore, ReadsHandWrittenText)
{
    const SettingsStore store = parsed(
        "; written by hand\r\n"
        "# another comment\n"
        "[Com]\n"
        "  port  =   3  \n"
        "timeout=\n"
        "[ rep ]\n"
        "Top Margin = 20\n"
        "会社名=株式会社 山田=測量\n"
        "会社マーク = \"  C:\\mark.bmp \"\n"
        "not an entry\n"
        "=no key\n"
        "[土質]\r"
        "砂質土=砂\n"
        "砂質土=砂礫\n");

    EXPECT_EQ(store.value("Com", "port"), QString("3"));
    EXPECT_EQ(store.value("Com", "timeout"), QString(""));       // present, empty
    EXPECT_EQ(store.value("com", "PORT"), QString("3"));         // letter case does not matter
    EXPECT_EQ(store.value("rep", "Top Margin"), QString("20"));
    EXPECT_EQ(store.value("rep", "会社名"), QString("株式会社 山田=測量"));
    EXPECT_EQ(store.value("rep", "会社マーク"), QString("  C:\\mark.bmp "));
    EXPECT_EQ(store.value("土質", "砂質土"), QString("砂礫"));      // the last one counts
    EXPECT_FALSE(store.value("Com", "; written by hand").has_value());
    EXPECT_FALSE(store.value("rep", "not an entry").has_value());
    EXPECT_FALSE(store.value("Data", "port").has_value());
    EXPECT_EQ(store.value("Data", "point", "22"), "22");
    EXPECT_EQ(store.sections(), QStringList({"Com", "rep", "土質"}));
    EXPECT_EQ(store.keys("rep"), QStringList({"Top Margin", "会社名", "会社マーク"}));
}

TEST(SettingsStore, UnchangedStoreIsWrittenBackByteForByte)
{
    const QByteArray text =
        "\xEF\xBB\xBF; 設定\r\n"
        "[etc]\r\n"
        "データ位置 = C:\\Program Files\\Vortan\\VORTAN.MDB\r\n"
        "通常の提出先=一般\r\n"
        "\r\n"
        "[rep]\r\n"
        "Top Margin=15\r\n"
        "会社マーク=\"x\"\r\n"
        "odd line without equals\r\n"
        "last=1";
    SettingsStore store = parsed(text);
    EXPECT_EQ(store.serialize(), text);

    // Setting the values they already have changes nothing either.
    store.setValue("etc", "データ位置", "C:\\Program Files\\Vortan\\VORTAN.MDB");
    store.setValue("rep", "Top Margin", "15");
    store.setValue("rep", "会社マーク", "x");
    EXPECT_EQ(store.serialize(), text);
}

TEST(SettingsStore, ChangingAValueRewritesOnlyItsLine)
{
    SettingsStore store = parsed("[rep]\r\n  Top Margin =  15\r\n; keep me\r\nRight Margin=10\r\n");
    store.setValue("REP", "top margin", "20.5");
    EXPECT_EQ(store.serialize(),
              QByteArray("[rep]\r\n  Top Margin =  20.5\r\n; keep me\r\nRight Margin=10\r\n"));
}

TEST(SettingsStore, NewKeysGoAtTheEndOfTheirSectionAndNewSectionsAtTheEnd)
{
    SettingsStore store = parsed("[Com]\nport=1\n\n[rep]\nx=1\n");
    store.setValue("Com", "timeout", "10");
    store.setValue("etc", "データ位置", "D:\\VORTAN.MDB");
    store.setValue("etc", "ini位置", "D:\\");
    EXPECT_EQ(store.serialize(), QByteArray("[Com]\nport=1\ntimeout=10\n\n[rep]\nx=1\n\n[etc]\n"
                                            "データ位置=D:\\VORTAN.MDB\nini位置=D:\\\n"));

    SettingsStore empty;
    empty.setValue("Com", "port", "1");
    empty.setValue("Data", "point", "22");
    const QByteArray eol =
#ifdef Q_OS_WIN
        "\r\n";
#else
        "\n";
#endif
    EXPECT_EQ(empty.serialize(), "[Com]" + eol + "port=1" + eol + eol + "[Data]" + eol + "point=22" + eol);

    // A file without a final line break gets one before the new line.
    SettingsStore unterminated = parsed("[Com]\r\nport=1");
    unterminated.setValue("Com", "timeout", "5");
    EXPECT_EQ(unterminated.serialize(), QByteArray("[Com]\r\nport=1\r\ntimeout=5\r\n"));
}

TEST(SettingsStore, ValuesThatALineCannotHoldAsTheyAreSurviveARoundTrip)
{
    SettingsStore store;
    store.setValue("rep", "会社名", "  両端に空白  ");
    store.setValue("rep", "引用", "\"quoted\"");
    store.setValue("rep", "記号", "a;b#c=d[e]");
    store.setValue("rep", "改行", "一行目\r\n二行目\n三");

    const SettingsStore reread = parsed(store.serialize());
    EXPECT_EQ(reread.value("rep", "会社名"), QString("  両端に空白  "));
    EXPECT_EQ(reread.value("rep", "引用"), QString("\"quoted\""));
    EXPECT_EQ(reread.value("rep", "記号"), QString("a;b#c=d[e]"));
    EXPECT_EQ(reread.value("rep", "改行"), QString("一行目 二行目 三"));
}

TEST(SettingsStore, AnyBytesParseAndWriteBackUnchanged)
{
    // Random files built from the characters that matter to the parser.
    const QByteArray alphabet("[]=;#\" \t\r\nab\xE3\x81\x82\xFF\x00", 18);
    QRandomGenerator random(20240531);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const int length = random.bounded(80);
        for (int i = 0; i < length; ++i) {
            bytes.append(random.bounded(4) == 0 ? char(random.bounded(256))
                                                : alphabet[random.bounded(alphabet.size())]);
        }
        SettingsStore store = parsed(bytes);
        ASSERT_EQ(store.serialize(), bytes);

        const QString value = QString::fromUtf8(bytes).remove('\r').remove('\n');
        store.setValue("rep", "Top Margin", value);
        store.setValue("etc", "データ位置", "x");
        const SettingsStore reread = parsed(store.serialize());
        ASSERT_EQ(reread.value("rep", "Top Margin"), value) << bytes.toHex().constData();
        ASSERT_EQ(reread.value("etc", "データ位置"), QString("x")) << bytes.toHex().constData();
    }
}

TEST(SettingsStore, LoadsAndSavesItsFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sub/Vortan.ini");

    SettingsStore store(path);
    store.load();  // no file yet: an empty store
    EXPECT_TRUE(store.sections().isEmpty());
    store.setValue("etc", "通常の提出先", "一般");
    store.save();  // the folder is made
    EXPECT_EQ(readBytes(path), store.serialize());

    const SettingsStore reopened = SettingsStore::openAt(path);
    EXPECT_EQ(reopened.value("etc", "通常の提出先"), QString("一般"));
}

TEST(SettingsStore, AFileInAnotherEncodingIsReadAsSuchAndSavedInUtf8)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Vortan.ini");
    const QString text = QStringLiteral("[etc]\r\n通常の提出先=特別\r\n");
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    for (const QByteArray& bytes : {cp932::encode(text), QByteArray(utf16.encode(text))}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        file.close();
        SettingsStore store(path);
        store.load();
        EXPECT_EQ(store.value("etc", "通常の提出先"), QString("特別"));
        store.save();
        EXPECT_EQ(readBytes(path), text.toUtf8());
    }
}

TEST(SettingsStore, LocationComesFromTheArgumentTheEnvironmentOrTheConfigurationFolder)
{
    const QByteArray saved = qgetenv("VORTAN_SETTINGS");
    qputenv("VORTAN_SETTINGS", "/from/environment.ini");
    EXPECT_EQ(SettingsStore::resolvePath("/given.ini"), "/given.ini");
    EXPECT_EQ(SettingsStore::resolvePath(), "/from/environment.ini");
    qunsetenv("VORTAN_SETTINGS");
    EXPECT_TRUE(SettingsStore::resolvePath().endsWith("/Vortan/Vortan.ini"));
    if (!saved.isEmpty())
        qputenv("VORTAN_SETTINGS", saved);
}

TEST(SettingsStore, SavingWhereNoFileCanBeMadeFails)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("blocker"), "a file, not a folder");
    SettingsStore store(dir.filePath("blocker/Vortan.ini"));
    store.setValue("Com", "port", "1");
    try {
        store.save();
        FAIL() << "saving into a file's path succeeded";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::PermissionDenied);
    }
    EXPECT_EQ(readBytes(dir.filePath("blocker")), QByteArray("a file, not a folder"));
}

TEST(AtomicFileWrite, AFailedWriteLeavesTheOldFileWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Vortan.ini");
    writeBytes(path, "[Com]\nport=1\n");

    {
        test::FailingSaveFile file(path, test::DeviceFault::DiskFull, 4);
        EXPECT_THROW(writeFileAtomically(file, QByteArray("[Com]\nport=2\ntimeout=10\n")),
                     Failure);
    }
    EXPECT_EQ(readBytes(path), QByteArray("[Com]\nport=1\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"Vortan.ini"}));

    writeFileAtomically(path, QByteArray("[Com]\nport=2\n"));
    EXPECT_EQ(readBytes(path), QByteArray("[Com]\nport=2\n"));
}
