// The error reporter: the message, icon and action code of every number it
// knows, what it opens, and the generic message for every other number.

#include "core/error_reporter.h"

#include "support/golden_file.h"
#include "support/recording_user_interface.h"

#include <gtest/gtest.h>

using namespace vortan;
using test::RecordingUserInterface;

namespace {

const QString DB = QStringLiteral("C:\\Vortan\\VORTAN.MDB");
const QString POSTAL = QStringLiteral("C:\\Vortan\\Yuubin.MDB");

class Reporting : public ::testing::Test {
protected:
    RecordingUserInterface ui;
    ProgramState state;

    Reporting()
    {
        state.settings.データ位置 = DB;
        state.settings.住所位置 = POSTAL;
    }

    std::int16_t report(std::int32_t number, bool open = false,
                        const QString& description = QStringLiteral("説明"),
                        const QString& source = QStringLiteral("mdl_test"))
    {
        return ReportError(Failure(number, description, source), {ui, state, open});
    }
};

} // namespace

// The messages of the numbers the reporter knows are the program's texts:
// the golden file lists each number's answer, icon and text.
TEST_F(Reporting, EveryKnownNumberShowsItsMessageAndAnswersItsAction)
{
    const std::pair<std::int32_t, bool> numbers[] = {
        {91, false}, {91, true}, {3006, false}, {3261, false}, {3356, false}, {3022, false}, {3043, false},
        {3044, false}, {3045, false}, {3051, false}, {3078, false}, {3343, false}, {3464, false}, {6, false},
        {11, false}, {7, false}, {14, false}, {28, false}, {735, false}, {31001, false}, {482, false},
        {static_cast<std::int32_t>(0x80070002u), false}, {53, false}, {76, false}, {61, false}, {70, false},
        {71, false}, {75, false}};
    QString listing;
    for (const auto& [number, open] : numbers) {
        ui.clear();
        SCOPED_TRACE(number);
        const std::int16_t answer = report(number, open);
        ASSERT_EQ(ui.messages().size(), 1u);
        const test::RecordedMessage message = ui.lastMessage();
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
        EXPECT_TRUE(message.title.isEmpty());
        EXPECT_TRUE(ui.optionsDialogTabs().empty());
        EXPECT_EQ(ui.aboutWindowCloseCount(), 1);
        EXPECT_FALSE(state.databaseNotFound);
        listing += QStringLiteral("%1%2 answer %3 icon %4\n%5\n\n")
                       .arg(number)
                       .arg(open ? QStringLiteral(" (database open)") : QString())
                       .arg(answer)
                       .arg(static_cast<int>(message.icon))
                       .arg(message.text);
    }
    EXPECT_TRUE(test::matchesGolden(QStringLiteral("error_messages.txt"), listing));
}

TEST(ManualViewerMissing, NamesTheBrowserOnWindowsAndThePdfViewerElsewhere)
{
    const QString open = QStringLiteral("\nマニュアルを確認するには、インストール先の「VORTAN_Manual.pdf」を開いてください。");
    EXPECT_EQ(ManualViewerMissingText(platform::PathStyle::Windows),
              QStringLiteral("Microsoft Edgeがインストールされていないため、ヘルプからマニュアルを開くことができません。") + open);
    EXPECT_EQ(ManualViewerMissingText(platform::PathStyle::Posix),
              QStringLiteral("PDFを表示するアプリケーションが見つからないため、ヘルプからマニュアルを開くことができません。") + open);
}

TEST_F(Reporting, TheLockedDatabaseTextEndsWithABlankBeforeTheNumber)
{
    report(3006);
    EXPECT_TRUE(ui.lastMessage().text.endsWith(QStringLiteral("ください。 3006")));
}

TEST_F(Reporting, AMissingDatabaseNamesBothPathsAndOpensTheThirdTab)
{
    EXPECT_EQ(report(3024), 5);
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.lastMessage().text.toStdString(),
              (QStringLiteral("指定されたデータベースが見つかりませんでした｡ データベースを指定している場所にコピーするか、指定している場所を変更してください。\n") + DB + QStringLiteral(" または、") + POSTAL
               + QStringLiteral("\n3024")).toStdString());
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);
    EXPECT_TRUE(state.databaseNotFound);
    EXPECT_EQ(ui.optionsDialogTabs(), std::vector<int>{3});
}

TEST_F(Reporting, SerialPortProblemsOpenTheSecondTab)
{
    EXPECT_EQ(report(8002), 4);
    EXPECT_EQ(ui.lastMessage().text.toStdString(), QStringLiteral("「ファイル→プロパティ→通信条件」で指定されている「ポートNo」は、存在していないようです。利用可能なポートNoに変更してください。拡張ボードやPＣカードなどで通信ポートが増設されていない場合は、一般的に1～8の範囲の番号がついている場合が多いようです。").toStdString());
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::Critical);
    EXPECT_EQ(report(8005), 4);
    EXPECT_EQ(ui.lastMessage().text.toStdString(), QStringLiteral("「ファイル→プロパティ→通信条件」で指定されている「ポートNo」は、すでにほかのソフトウエアで使用されています。通信ポートを使用しているほかのソフトウエアを終了するか、ほかに利用可能な通信ポートがある場合VortanのポートNoをそのポートNoに変更してください。").toStdString());
    EXPECT_EQ(ui.optionsDialogTabs(), (std::vector<int>{2, 2}));
    EXPECT_FALSE(state.databaseNotFound);
}

TEST_F(Reporting, AnUnknownNumberShowsDescriptionNumberAndSourceWithoutIcon)
{
    EXPECT_EQ(report(1234, false, QStringLiteral("アプリケーション定義のエラーです。"),
                     QStringLiteral("Vortan")),
              0);
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("アプリケーション定義のエラーです。 1234Vortan"));
    EXPECT_EQ(ui.lastMessage().icon, MessageIcon::None);
    // Database engine numbers the reporter does not know end there too.
    EXPECT_EQ(report(3999, false, QStringLiteral("d"), QStringLiteral("s")), 0);
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("d 3999s"));
    EXPECT_EQ(report(-5, false, QStringLiteral("d"), QString()), 0);
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("d -5"));
}

TEST_F(Reporting, NumberZeroShowsNothing)
{
    EXPECT_EQ(report(0), 0);
    EXPECT_TRUE(ui.messages().empty());
}

TEST_F(Reporting, TheLowerReportersDoNotCloseTheAboutWindowNorKnowDatabaseNumbers)
{
    const ErrorContext context{ui, state, false};
    EXPECT_EQ(ReportRuntimeError(Failure(11, "d"), context), 4);
    EXPECT_TRUE(ui.lastMessage().text.endsWith(QStringLiteral("11")));
    EXPECT_EQ(ReportRuntimeError(Failure(3024, "d", "s"), context), 0);
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("d 3024s"));
    EXPECT_EQ(ReportFileError(Failure(6, "d", "s"), context), 0);
    EXPECT_EQ(ui.lastMessage().text, QStringLiteral("d 6s"));
    EXPECT_EQ(ui.aboutWindowCloseCount(), 0);
    EXPECT_FALSE(state.databaseNotFound);
    EXPECT_TRUE(ui.optionsDialogTabs().empty());
}

TEST_F(Reporting, AStepThatCanBeRetriedOffersAbortRetryIgnoreUnlessTheProgramMustEnd)
{
    // number, answer given, buttons shown, choice, action; a read-only
    // database (3051) ends the program whatever would be chosen.
    const std::tuple<std::int32_t, MessageAnswer, MessageButtons, RetryChoice, std::int16_t> rows[] = {
        {3261, MessageAnswer::Retry, MessageButtons::AbortRetryIgnore, RetryChoice::Retry, 5},
        {3078, MessageAnswer::Ignore, MessageButtons::AbortRetryIgnore, RetryChoice::Ignore, 5},
        {53, MessageAnswer::Abort, MessageButtons::AbortRetryIgnore, RetryChoice::Abort, 4},
        {3051, MessageAnswer::Ignore, MessageButtons::Ok, RetryChoice::Abort, 3},
    };
    for (const auto& [number, answer, buttons, choice, action] : rows) {
        ui.clear();
        ui.queueAnswer(answer);
        const RetryReport report = ReportRetryableError(Failure(number, "説明", QString()), {ui, state, true});
        ASSERT_EQ(ui.messages().size(), 1u) << number;
        EXPECT_EQ(ui.lastMessage().buttons, buttons) << number;
        EXPECT_TRUE(report.choice == choice && report.action == action) << number;
    }
    // The message is the reporter's own, and what it opens follows the question.
    ui.clear();
    ReportRetryableError(Failure(3024, "説明", QString()), {ui, state, true});
    EXPECT_TRUE(ui.lastMessage().text.startsWith("指定されたデータベースが見つかりませんでした｡"));
    EXPECT_EQ(ui.optionsDialogTabs(), std::vector<int>{3});
}
