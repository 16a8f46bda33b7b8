// Writing the survey exchange file.

#include "intake/exchange_test_data.h"
#include "intake/exchange_write.h"
#include "intake/intake_test_support.h"
#include "support/failing_devices.h"
#include "support/recording_user_interface.h"

#include "core/failure.h"

#include <QDir>
#include <gtest/gtest.h>
#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

using namespace vortan;
using namespace vortan::intake;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;

namespace {

struct WriteFixture {
    SurveyDatabaseCopy copy;
    db::SurveyStore store{copy.workspace};
    RecordingUserInterface ui;
    QString file() const { return copy.path("export.csv"); }
};

} // namespace

TEST(ExchangeWrite, AllSurveysGiveOneQuotedLinePerRecordInCodePage932)
{
    WriteFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 9);
    test::storeExchangeSurvey(f.store, 5);
    f.store.insertSurvey(test::exchangeSurvey(6));   // a survey without points

    std::vector<std::pair<int, int>> progress;
    const ExchangeWriteResult result =
        WriteExchangeFile(f.copy.db(), f.ui, f.file(), QString(), {},
                          [&](int value, int maximum) { progress.emplace_back(value, maximum); });
    EXPECT_EQ(result.rowsWritten, 6);
    EXPECT_EQ(result.unsafeValues, 0);

    const QByteArray bytes = test::readBytes(f.file());
    EXPECT_EQ(bytes, cp932::encode(test::exchangeSurveyLines(5) + test::exchangeSurveyLines(9)));
    // "髙" is an IBM extension, "①" an NEC special character, "～" 0x8160.
    EXPECT_TRUE(bytes.startsWith(QByteArray("\"5\",\"1\",\"\xFB\xFC\x8B\xB4\x93\x40\x87\x40\x81\x60\xB1\xB2\xB3\"")));
    EXPECT_TRUE(bytes.endsWith("\"P2\"\r\n"));

    EXPECT_EQ(f.ui.messageTexts(), QStringList{"データを保存しました。"});
    EXPECT_EQ(f.ui.lastMessage().icon, MessageIcon::Information);
    ASSERT_FALSE(f.ui.busyCalls().empty());
    EXPECT_EQ(f.ui.busyCalls().front().message, "データの保存中...");
    EXPECT_TRUE(f.ui.busyCalls().front().busy);
    EXPECT_FALSE(f.ui.isBusy());
    EXPECT_EQ(f.ui.statusText(), "");
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), std::make_pair(6, 6));
    EXPECT_EQ(f.ui.processEventsCount(), 6);
}

TEST(ExchangeWrite, OneSurveyByItsNumberTypedFullWidth)
{
    WriteFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 5);
    test::storeExchangeSurvey(f.store, 9);

    QString box = QStringLiteral("５");
    const std::optional<QString> filter = ExchangeSurveyFilter(box, f.ui);
    ASSERT_TRUE(filter.has_value());
    EXPECT_EQ(box, "5");
    EXPECT_EQ(*filter, "WHERE (調査地区.調査地区No = 5) ");
    WriteExchangeFile(f.copy.db(), f.ui, f.file(), *filter, {});
    EXPECT_EQ(test::readBytes(f.file()), cp932::encode(test::exchangeSurveyLines(5)));
}

TEST(ExchangeWrite, AMissingOrWrongSurveyNumberIsRefused)
{
    RecordingUserInterface ui;
    // Survey numbers are whole numbers from 1 to 2147483647.
    for (QString box : {QString(), QStringLiteral("abc"), QStringLiteral("0"), QStringLiteral("－３"),
                        QStringLiteral("2147483648"), QStringLiteral("１Ａ")}) {
        ui.clear();
        EXPECT_FALSE(ExchangeSurveyFilter(box, ui).has_value()) << box.toStdString();
        EXPECT_EQ(ui.messageTexts(), QStringList{"調査地区Noの欄に数値を入れて実行して下さい｡"});
        EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Information);
        EXPECT_EQ(ui.lastMessage().title, "");   // the program's title
    }
    QString large = QStringLiteral("４００００");
    EXPECT_EQ(ExchangeSurveyFilter(large, ui), "WHERE (調査地区.調査地区No = 40000) ");
}

TEST(ExchangeWrite, NothingToWriteIsToldAndWritesNoFile)
{
    WriteFixture f;
    ASSERT_TRUE(f.copy.isValid());
    f.store.insertSurvey(test::exchangeSurvey(4));
    f.store.insertPoint(test::exchangePoint(4, "1", "1"));   // a point without records

    EXPECT_EQ(WriteExchangeFile(f.copy.db(), f.ui, f.file(), QString(), {}).rowsWritten, 0);
    EXPECT_EQ(WriteExchangeFile(f.copy.db(), f.ui, f.file(), exchangeSurveyFilter(77), {}).rowsWritten, 0);
    EXPECT_EQ(f.ui.messageTexts(), (QStringList{"データが存在しないため保存できせんでした｡",
                                                "データが存在しないため保存できせんでした｡"}));
    EXPECT_FALSE(QFile::exists(f.file()));
    EXPECT_FALSE(f.ui.isBusy());
}

TEST(ExchangeWrite, ValuesWithCommasOrQuotesAreWrittenAsTheyAreAndCounted)
{
    WriteFixture f;
    ASSERT_TRUE(f.copy.isValid());
    db::SurveyRow survey = test::exchangeSurvey(3);
    survey.住所 = QStringLiteral("東京都,港区");
    survey.記事 = QStringLiteral("\"至急\"");
    f.store.insertSurvey(survey);
    f.store.insertPoint(test::exchangePoint(3, "1", "1"));
    f.store.insertRecord(test::exchangeRecord(3, "1", 0.25f, 3, 1.0f, "1", "a,b"));
    f.store.insertRecord(test::exchangeRecord(3, "1", 0.5f, 3, 1.0f, "1"));

    const ExchangeWriteResult result = WriteExchangeFile(f.copy.db(), f.ui, f.file(), QString(), {});
    // Two lines repeat the survey's address and remark; one record remark has a comma.
    EXPECT_EQ(result.unsafeValues, 5);
    const QString text = cp932::decode(test::readBytes(f.file()));
    EXPECT_TRUE(text.contains("\"東京都,港区\""));
    EXPECT_TRUE(text.contains("\"\"至急\"\""));
    ASSERT_EQ(f.ui.messages().size(), 2u);
    EXPECT_EQ(f.ui.messages()[0].text, "データを保存しました。");
    EXPECT_EQ(f.ui.messages()[1].icon, MessageIcon::Information);
    EXPECT_EQ(f.ui.messages()[1].text,
              "カンマ（,）または二重引用符（\"）を含む値が 5 件あります。このファイルを読み込むと、"
              "これらの値は元どおりには戻りません（カンマのある行では後ろの項目がずれ、二重引用符は消えます）。"
              "\n住所: 2 件\n調査地区の記事: 2 件\n測点データの記事: 1 件");
}

TEST(ExchangeWrite, AFailedWriteLeavesTheOlderFileWhole)
{
    WriteFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 5);
    const QByteArray older("\"1\",\"older file\"\r\n");
    ASSERT_TRUE(test::writeBytes(f.file(), older));

    test::FailingSaveFile device(f.file(), test::DeviceFault::DiskFull, 100);
    EXPECT_THROW(WriteExchangeFile(f.copy.db(), f.ui, device, QString()), Failure);
    EXPECT_EQ(test::readBytes(f.file()), older);
    EXPECT_FALSE(f.ui.isBusy());
    EXPECT_TRUE(f.ui.messages().empty());

    // A folder that does not exist.
    try {
        WriteExchangeFile(f.copy.db(), f.ui, f.copy.path("no/such/folder/x.csv"), QString(), {});
        FAIL() << "writing into a missing folder must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), err::PathNotFound);
    }
    // No temporary file is left behind.
    EXPECT_EQ(QDir(f.copy.files.folder()).entryList({"export*", "x.csv*"}, QDir::Files), QStringList{"export.csv"});
}

#ifdef Q_OS_UNIX   // hard links and pipes are made the POSIX way
TEST(ExchangeWrite, TheProgramsOwnFilesAndWhatIsNoPlainFileAreNeverReplaced)
{
    // Named by another spelling (a relative path through "..", a hard link,
    // a symbolic link), the open database, the postal database and a journal
    // name of the database are refused by identity; so are a pipe and a
    // folder. Nothing is written and every file keeps its bytes.
    WriteFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 5);
    const QString db = f.copy.files.surveyDatabase();
    const QString folder = f.copy.files.folder();
    QDir().mkpath(f.copy.path("sub"));
    ASSERT_TRUE(::link(QFile::encodeName(db).constData(), QFile::encodeName(f.copy.path("hard.mdb")).constData()) == 0);
    ASSERT_TRUE(QFile::link(f.copy.files.postalDatabase(), f.copy.path("postal.csv")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(f.copy.path("pipe.csv")).constData(), 0600), 0);
    ProgramState state;
    state.settings.住所位置 = f.copy.files.postalDatabase();

    const QByteArray dbBytes = test::readBytes(db);
    const QStringList before = QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    const QString targets[] = {QDir(folder).relativeFilePath(db), f.copy.path("sub/../VORTAN.MDB"),
                               f.copy.path("hard.mdb"), db + "-journal", f.copy.path("postal.csv"),
                               f.copy.path("pipe.csv"), f.copy.path("sub")};
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    for (const QString& target : targets) {
        SCOPED_TRACE(target.toStdString());
        try {
            WriteExchangeFile(f.copy.db(), f.ui, target, QString(), ProgramFiles(state));
            ADD_FAILURE() << "not refused";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), err::BadFileName);
            EXPECT_TRUE(failure.description().startsWith("「" + QDir::toNativeSeparators(target) + "」"));
        }
    }
    QDir::setCurrent(previous);
    EXPECT_EQ(test::readBytes(db), dbBytes);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot), before);
    EXPECT_TRUE(f.ui.messages().empty());
}
#endif
