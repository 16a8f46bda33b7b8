// Reading the survey exchange file: add and replace modes, version 1.0
// lines, progress, and files that fail part way.

#include "support/database_rows.h"
#include "intake/exchange_failure.h"
#include "intake/exchange_line.h"
#include "intake/exchange_read.h"
#include "intake/exchange_test_data.h"
#include "intake/intake_test_support.h"
#include "support/recording_user_interface.h"
#include "support/reporter_texts.h"

#include "core/failure.h"

#include <gtest/gtest.h>

using namespace vortan;
using namespace vortan::intake;
using vortan::test::exchangeLine;
using vortan::test::RecordingUserInterface;
using vortan::test::SurveyDatabaseCopy;
using vortan::test::surveyTables;
using vortan::test::tableRows;

namespace {

// A version 2.0 line of survey `number`, point `point`, at `depth`.
QStringList fields(const QString& number, const QString& point, const QString& depth,
                   const QString& site = QStringLiteral("現場ｱ"))
{
    return {number, point, site, "住所①", "目的", "責任者", "調査者", "0900", "1000", "20240401",
            "晴れ", "3.2", "一般", "記事～", "0.1", "1.5", "測点記事", depth, "4.5", "12.25", "2",
            "", "240401", "0900", "0915", "240401", "0900", "0915", "P" + point};
}

QStringList version1(QStringList line)
{
    line.removeLast();
    return line;
}

struct ReadFixture {
    SurveyDatabaseCopy copy;
    db::SurveyStore store{copy.workspace};
    RecordingUserInterface ui;
    ProgramState state;

    QString write(const QString& text, const QString& name = QStringLiteral("in.csv"))
    {
        const QString path = copy.path(name);
        test::writeCp932(path, text);
        return path;
    }
    ExchangeReadResult read(const QString& path, ExchangeReadMode mode)
    {
        return ReadExchangeFile(copy.workspace, store, ui, path, mode);
    }
    // Reads, and on a failure reports it as the conversion command does.
    void readAndReport(const QString& path, ExchangeReadMode mode)
    {
        try {
            read(path, mode);
            ADD_FAILURE() << "the read was expected to fail";
        } catch (const Failure& failure) {
            ReportExchangeFailure(failure, ErrorContext{ui, state, true});
        }
    }
    QStringList rows(const char* sql) { return test::rows(copy.db(), QString::fromUtf8(sql)); }
};

} // namespace

TEST(ExchangeLine, FieldsAreSplitAtEveryCommaWithQuotesRemoved)
{
    ExchangeLine line("\"1\",\"a,b\",\"x\"\"y\"", 1);
    EXPECT_EQ(line.fieldCount(), 4);
    EXPECT_EQ(line.field(2), "a");
    EXPECT_EQ(line.field(3), "b");
    EXPECT_EQ(line.field(4), "xy");
    EXPECT_TRUE(line.fieldEquals(4, u"xy"));
    EXPECT_THROW(line.field(5), Failure);

    // Fields are code page 932; an undefined lead byte before a quote stays
    // apart from the byte after the quote, as when the line is read whole.
    ExchangeLine japanese("\"\x93\x8C\x8B\x9E\",\"\x81\"\x40\"", 5);
    EXPECT_EQ(japanese.field(1), u"東京");
    EXPECT_TRUE(japanese.fieldEquals(1, u"東京"));
    EXPECT_EQ(japanese.field(2), u"\uFFFD@");

    // An empty line has no fields and every field reads as empty.
    ExchangeLine empty("", 2);
    EXPECT_EQ(empty.field(1), "");
    EXPECT_EQ(empty.field(29), "");

    // A 28-field line reads field 2 as field 29; 27 fields do not.
    const QStringList v1 = version1(fields("1", "7", "0.5"));
    const QByteArray v1Line = cp932::encode(v1.join(','));
    EXPECT_EQ(ExchangeLine(v1Line, 3).field(29), "7");
    try {
        const QByteArray shortLine = cp932::encode(v1.mid(0, 27).join(','));
        ExchangeLine(shortLine, 4).field(29);
        FAIL() << "field 29 of a 27-field line must fail";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), ExchangeFieldMissing);
        EXPECT_TRUE(failure.description().contains("4行目"));
    }
}

TEST(ExchangeRead, AddModeNumbersSurveysAboveTheLargestInFileOrder)
{
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 41);
    const QStringList existing = surveyTables(f.copy.db());

    // Survey 9 (two points), survey 5, then survey 9 again: three surveys.
    const QString path = f.write(exchangeLine(fields("9", "1", "0.25")) + exchangeLine(fields("9", "1", "0.5"))
                                 + exchangeLine(fields("9", "2", "0.25")) + exchangeLine(fields("5", "1", "0.25"))
                                 + exchangeLine(fields("9", "3", "0.75")));
    const ExchangeReadResult result = f.read(path, ExchangeReadMode::Add);
    EXPECT_EQ(result.lines, 5);
    EXPECT_EQ(result.surveys, 3);

    EXPECT_EQ(f.rows("SELECT 調査地区No, 現場名, 住所, 記事 FROM 調査地区 WHERE 調査地区No > 41 ORDER BY 調査地区No;"),
              (QStringList{"42|現場ｱ|住所①|記事～", "43|現場ｱ|住所①|記事～", "44|現場ｱ|住所①|記事～"}));
    EXPECT_EQ(f.rows("SELECT 調査地区No, 測点No, 日付, 開始時刻, 終了時刻, 標高差, 地下水位, 記事, 印刷測点No "
                     "FROM 測点 WHERE 調査地区No > 41 ORDER BY 調査地区No, 測点No;"),
              (QStringList{"42|1|240401|0900|0915|0.1|1.5|測点記事|P1", "42|2|240401|0900|0915|0.1|1.5|測点記事|P2",
                           "43|1|240401|0900|0915|0.1|1.5|測点記事|P1", "44|3|240401|0900|0915|0.1|1.5|測点記事|P3"}));
    // Blow count 4.5 rounds to even; the soil text goes in as its number.
    EXPECT_EQ(f.rows("SELECT 調査地区No, 測点No, 貫入深さ, 打撃回数, トルク, 推定土質, 日付 FROM 測点データ "
                     "WHERE 調査地区No > 41 ORDER BY 調査地区No, 測点No, 貫入深さ;"),
              (QStringList{"42|1|0.25|4|12.25|2|240401", "42|1|0.5|4|12.25|2|240401",
                           "42|2|0.25|4|12.25|2|240401", "43|1|0.25|4|12.25|2|240401",
                           "44|3|0.75|4|12.25|2|240401"}));
    // Existing data are never touched.
    QStringList after;
    for (const QString& row : surveyTables(f.copy.db()))
        if (row.section(':', 1).startsWith("41|"))
            after.append(row);
    EXPECT_EQ(after, existing);

    EXPECT_EQ(f.ui.statusText(), "データを読み込みました。");
    EXPECT_EQ(f.ui.busyCalls().front().message, "データの読み込み中...");
    EXPECT_FALSE(f.ui.isBusy());
    EXPECT_FALSE(f.copy.db().inTransaction());
}

TEST(ExchangeRead, VersionOneLinesPrintTheirPointNumber)
{
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    QStringList emptyPrinted = fields("2", "5", "0.5");
    emptyPrinted.last().clear();   // an empty field 29 also takes field 2
    QStringList laterRun = fields("1", "8", "0.5");
    laterRun[24] = "0930";   // the same point measured again: another point row
    const QString path = f.write(exchangeLine(version1(fields("1", "7", "0.25")))
                                 + exchangeLine(version1(fields("1", "8", "0.25")))
                                 + exchangeLine(version1(laterRun)) + exchangeLine(emptyPrinted));
    f.read(path, ExchangeReadMode::Replace);
    EXPECT_EQ(f.rows("SELECT 調査地区No, 測点No, 終了時刻, 印刷測点No FROM 測点 ORDER BY 調査地区No, 測点No, 終了時刻;"),
              (QStringList{"1|7|0915|7", "1|8|0915|8", "1|8|0930|8", "2|5|0915|5"}));
}

TEST(ExchangeRead, ReplaceModeReplacesSurveysOfTheSameNumberAndIsRepeatable)
{
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 5);
    test::storeExchangeSurvey(f.store, 7);

    const QString path = f.write(exchangeLine(fields("5", "1", "0.25")) + exchangeLine(fields("5", "1", "0.5"))
                                 + exchangeLine(fields("8", "2", "0.25")));
    f.read(path, ExchangeReadMode::Replace);
    const QStringList once = surveyTables(f.copy.db());
    EXPECT_EQ(f.rows("SELECT 調査地区No, 現場名 FROM 調査地区 ORDER BY 調査地区No;"),
              (QStringList{"5|現場ｱ", "7|髙橋邸①～ｱｲｳ", "8|現場ｱ"}));
    // Survey 5 lost its old points 2 and 3 with all their records.
    EXPECT_EQ(f.rows("SELECT 測点No FROM 測点 WHERE 調査地区No = 5;"), QStringList{"1"});
    EXPECT_EQ(f.rows("SELECT 貫入深さ FROM 測点データ WHERE 調査地区No = 5 ORDER BY 貫入深さ;"),
              (QStringList{"0.25", "0.5"}));

    f.read(path, ExchangeReadMode::Replace);
    EXPECT_EQ(surveyTables(f.copy.db()), once);
}

TEST(ExchangeRead, ProgressCountsTheBytesOfEachLine)
{
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    const QString a = exchangeLine(fields("1", "1", "0.25"));
    const QString b = exchangeLine(fields("1", "1", "0.5", "長い現場名の現場ですｱｲｳ"));
    const QString path = f.write(a + b);
    const qint64 total = cp932::encode(a + b).size();
    const qint64 lineA = cp932::encode(a).size() - 2;   // line end excluded
    const qint64 lineB = cp932::encode(b).size() - 2;

    std::vector<int> values;
    ReadExchangeFile(f.copy.workspace, f.store, f.ui, path, ExchangeReadMode::Add,
                     [&](int value, int maximum) {
                         EXPECT_EQ(maximum, ExchangeReadProgressMaximum);
                         values.push_back(value);
                     });
    const int stepA = qRound(double(lineA) * 32767 / total);
    const int stepB = qRound(double(lineB) * 32767 / total);
    EXPECT_EQ(values, (std::vector<int>{0, stepA, stepA + stepB}));
    EXPECT_LT(values.back(), 32767);
}

TEST(ExchangeRead, FilesThatFailLeaveTheDatabaseExactlyAsBefore)
{
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 5);
    const QStringList before = surveyTables(f.copy.db());
    const QString good = exchangeLine(fields("5", "1", "0.25")) + exchangeLine(fields("6", "1", "0.25"));

    struct Case {
        const char* name;
        QByteArray bytes;
        QString message;
        MessageIcon icon;
    };
    // Files of another kind, garbage, empty lines and empty files are replayed
    // from the bad-input corpus (add mode); here both modes, once survey 5 exists.
    const QByteArray truncated = cp932::encode(good + exchangeLine(fields("7", "1", "0.25")).left(80));
    const QStringList tooLong = fields("7", "1", "0.25", QString(101, QChar(u'長')));
    const std::vector<Case> cases = {
        {"empty line", cp932::encode(good + "\r\n" + good), ExchangeVersionMessage, MessageIcon::Critical},
        // The last line is cut short: a field beyond its end is asked for.
        {"truncated", truncated, QString(), MessageIcon::None},
        // Replaces survey 5, then fails in the database on a site name too long.
        {"too long", cp932::encode(good + exchangeLine(tooLong)), QString(), MessageIcon::None},
    };
    for (const Case& c : cases) {
        for (ExchangeReadMode mode : {ExchangeReadMode::Add, ExchangeReadMode::Replace}) {
            SCOPED_TRACE(c.name);
            f.ui.clear();
            const QString path = f.copy.path("bad.csv");
            ASSERT_TRUE(test::writeBytes(path, c.bytes));
            f.readAndReport(path, mode);
            EXPECT_EQ(surveyTables(f.copy.db()), before);
            EXPECT_FALSE(f.copy.db().inTransaction());
            EXPECT_FALSE(f.ui.isBusy());
            EXPECT_NE(f.ui.statusText(), "データを読み込みました。");
            ASSERT_EQ(f.ui.messages().size(), 1u);
            if (!c.message.isEmpty()) {
                EXPECT_EQ(f.ui.lastMessage().text, c.message);
                EXPECT_EQ(f.ui.lastMessage().icon, c.icon);
            }
        }
    }
    // A file that is not there.
    f.ui.clear();
    f.readAndReport(f.copy.path("missing.csv"), ExchangeReadMode::Add);
    EXPECT_EQ(f.ui.lastMessage().text,
              "指定されたファイルが見つかりません。ディレクトリ名や、ファイル名を確認の上もう一度読みなおしてください。");
    EXPECT_FALSE(f.ui.isBusy());
    EXPECT_EQ(surveyTables(f.copy.db()), before);
}

TEST(ExchangeRead, ARetryAfterAFailedReadStoresTheFirstRecord)
{
    // The failed read's records were rolled back, so the record insert must
    // not skip the first record of the retry as a repeat of them.
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    const QString first = exchangeLine(fields("3", "1", "0.25"));
    f.readAndReport(f.write(first + "\"x\"\r\n", "bad.csv"), ExchangeReadMode::Replace);
    f.read(f.write(first), ExchangeReadMode::Replace);
    EXPECT_EQ(f.rows("SELECT 調査地区No, 貫入深さ FROM 測点データ;"), QStringList{"3|0.25"});
}

TEST(ExchangeFailure, DriveNotReadyIsAWarningAndOtherNumbersGoToTheCommonReport)
{
    RecordingUserInterface ui;
    ProgramState state;
    ErrorContext context{ui, state, true};
    EXPECT_EQ(ReportExchangeFailure(Failure(err::DiskNotReady, "not ready"), context), action::Reported);
    EXPECT_EQ(ui.lastMessage().text, "指定されたドライブのディスクが用意されていません。");
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Exclamation);

    EXPECT_EQ(ReportExchangeFailure(Failure(err::TypeMismatch, "Type mismatch"), context), action::Reported);
    EXPECT_EQ(ui.lastMessage().text, ExchangeVersionMessage);
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);

    ReportExchangeFailure(Failure(err::DbDuplicateKey, "dup"), context);
    EXPECT_EQ(ui.lastMessage().text, "保存しようとしたデータに重複があります。ご確認ください。3022");
}

TEST(ExchangeRead, AddModeNeverNumbersBeyond2147483647)
{
    // The largest number in use is 2147483646: the first survey of the file
    // takes 2147483647, the second would not fit, and the whole read goes.
    ReadFixture f;
    ASSERT_TRUE(f.copy.isValid());
    test::storeExchangeSurvey(f.store, 2147483646);
    const QStringList before = surveyTables(f.copy.db());
    f.readAndReport(f.write(test::exchangeLine(fields("1", "1", "0.5")) + test::exchangeLine(fields("2", "1", "0.5"))),
                    ExchangeReadMode::Add);
    EXPECT_EQ(f.ui.messageTexts(), QStringList{test::OverflowText});
    EXPECT_EQ(surveyTables(f.copy.db()), before);
}
