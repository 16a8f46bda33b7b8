// The error reporter: the message, icon and action code of every number it
// knows, what it opens, and the generic message for every other number.

#include "core/error_reporter.h"

#include "support/recording_user_interface.h"

#include <gtest/gtest.h>

using namespace vortan;
using test::RecordingUserInterface;

namespace {

struct Row {
    std::int32_t number;
    bool surveyDatabaseOpen;
    QString text;
    MessageIcon icon;
    std::int16_t result;
};

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

TEST_F(Reporting, EveryKnownNumberShowsItsMessageAndAnswersItsAction)
{
    const std::vector<Row> rows{
        {91, false, QStringLiteral("Vortanデータベースが利用できません。Vortanを再起動してください。91"), MessageIcon::Critical, 3},
        {91, true, QStringLiteral("説明91"), MessageIcon::Critical, 3},
        {3006, false, QStringLiteral("Vortanデータベースが占有されています。ほかに、このデータベースを使用するプログラムなどがある場合にはそちらを終了させてから操作してください。 3006"), MessageIcon::Critical, 5},
        {3261, false, QStringLiteral("Vortanデータベースが占有されています。ほかに、このデータベースを使用するプログラムなどがある場合にはそちらを終了させてから操作してください。 3261"), MessageIcon::Critical, 5},
        {3356, false, QStringLiteral("Vortanデータベースが占有されています。ほかに、このデータベースを使用するプログラムなどがある場合にはそちらを終了させてから操作してください。 3356"), MessageIcon::Critical, 5},
        {3022, false, QStringLiteral("保存しようとしたデータに重複があります。ご確認ください。3022"), MessageIcon::Critical, 4},
        {3043, false, QStringLiteral("Vortanデータベースが利用できません。FDや、MOにVortan.mdbを保管していた場合は、ディスクをセットしてください。ネットワークサーバーなどにVortan.mdbを保管してた場合は、正常な接続状態であるのを確認の上ご利用ください。固定ディスク（ハードディスク)にVortan.mdbを保管してた場合は、ディスクがエラーを起こしています。ディスクの修復を行ってください。\n") + DB + QStringLiteral(" または、") + POSTAL + QStringLiteral("3043"),
         MessageIcon::Critical, 5},
        {3044, false, QStringLiteral("Vortanデータベースが利用できません。FDや、MOにVortan.mdbを保管していた場合は、ディスクをセットしてください。ネットワークサーバーなどにVortan.mdbを保管してた場合は、正常な接続状態であるのを確認の上ご利用ください。固定ディスク（ハードディスク)にVortan.mdbを保管してた場合は、ディスクがエラーを起こしています。ディスクの修復を行ってください。\n") + DB + QStringLiteral(" または、") + POSTAL + QStringLiteral("3044"),
         MessageIcon::Critical, 5},
        {3045, false, QStringLiteral("Vortanデータベースが他のアプリケーションから占有されているため実行できません。占有しているアプリケーションを終了後実行してください。3045"), MessageIcon::Critical, 3},
        {3051, false, QStringLiteral("Vortanデータベースが利用できません。ファイルの属性が読み込み専用に設定されている場合は解除してください。Vortanデータベースがネットワーク上に存在する場合は、ネットワーク管理者に書込みをする権利を管理者に与えてもらってください。\n") + DB + QStringLiteral(" または、") + POSTAL + QStringLiteral("\n3051"),
         MessageIcon::Critical, 3},
        {3078, false, QStringLiteral("高い確率で、データベースが損傷しています｡パソコンに問題が発生している可能性（場合によっては表面化していないだけかもしれません。）があります。パソコンを再起動後、「Windows95，98の場合､スキャンディスク（ｽﾀ-ﾄ→ﾌﾟﾛｸﾞﾗﾑ→ｱｸｾｻﾘ→ｼｽﾃﾑﾂｰﾙ→ｽｷｬﾝﾃﾞｨｽｸ）」「WindowsNTの場合､ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚｰﾀ（ｽﾀｰﾄ→ﾌﾟﾛｸﾞﾗﾑ→管理ﾂｰﾙ→ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚ-ﾀ）」によりディスクの修復とチェックを行った上で、データベースの修復を行ってみてください。それでもこのメッセージが表示される場合は、パソコン本体の問題を解決した上でVortanの再インストールが必要です。"), MessageIcon::Critical, 5},
        {3343, false, QStringLiteral("高い確率で、データベースが損傷しています｡パソコンに問題が発生している可能性（場合によっては表面化していないだけかもしれません。）があります。パソコンを再起動後、「Windows95，98の場合､スキャンディスク（ｽﾀ-ﾄ→ﾌﾟﾛｸﾞﾗﾑ→ｱｸｾｻﾘ→ｼｽﾃﾑﾂｰﾙ→ｽｷｬﾝﾃﾞｨｽｸ）」「WindowsNTの場合､ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚｰﾀ（ｽﾀｰﾄ→ﾌﾟﾛｸﾞﾗﾑ→管理ﾂｰﾙ→ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚ-ﾀ）」によりディスクの修復とチェックを行った上で、データベースの修復を行ってみてください。それでもこのメッセージが表示される場合は、パソコン本体の問題を解決した上でVortanの再インストールが必要です。"), MessageIcon::Critical, 5},
        {3464, false, QStringLiteral("入力値が間違っているか、入力すべき値が入力されていません。3464"), MessageIcon::Critical, 4},
        {6, false, QStringLiteral("計算結果が許容範囲を超えてしまいました。入力値に間違いがないかお確かめください。6"), MessageIcon::Critical, 4},
        {11, false, QStringLiteral("計算結果が許容範囲を超えてしまいました。入力値に間違いがないかお確かめください。11"), MessageIcon::Critical, 4},
        {7, false, QStringLiteral("メモリが不足しています。Vortan以外のソフトウエアを同時に使用している場合はそのソフトウエアを終了させて下さい。7"), MessageIcon::Critical, 4},
        {14, false, QStringLiteral("メモリが不足しています。Vortan以外のソフトウエアを同時に使用している場合はそのソフトウエアを終了させて下さい。14"), MessageIcon::Critical, 4},
        {28, false, QStringLiteral("メモリが不足しています。Vortan以外のソフトウエアを同時に使用している場合はそのソフトウエアを終了させて下さい。28"), MessageIcon::Critical, 4},
        {735, false, QStringLiteral("メモリが不足しています。Vortan以外のソフトウエアを同時に使用している場合はそのソフトウエアを終了させて下さい。735"), MessageIcon::Critical, 4},
        {31001, false, QStringLiteral("メモリが不足しています。Vortan以外のソフトウエアを同時に使用している場合はそのソフトウエアを終了させて下さい。31001"), MessageIcon::Critical, 4},
        {482, false, QStringLiteral("プリンタが設定されていないため使用できません。プリンタをインストール後ご使用ください。"), MessageIcon::Critical, 4},
        {static_cast<std::int32_t>(0x80070002u), false, ManualViewerMissingText(platform::nativePathStyle()),
         MessageIcon::Exclamation, 4},
        {53, false, QStringLiteral("指定されたファイルが見つかりません。ディレクトリ名や、ファイル名を確認の上もう一度読みなおしてください。"), MessageIcon::Exclamation, 4},
        {76, false, QStringLiteral("指定されたファイルが見つかりません。ディレクトリ名や、ファイル名を確認の上もう一度読みなおしてください。"), MessageIcon::Exclamation, 4},
        {61, false, QStringLiteral("ディスクの容量が不足しているため処理を継続できません。61"), MessageIcon::Information, 4},
        {70, false, QStringLiteral("データを書き込もうとしたファイルに書込み保護がされています。フロッピーディスクをお使いの場合で､書込み保護にしている場合は､書込み保護のタブを書き込み可にしてください｡70"), MessageIcon::Information, 4},
        {71, false, QStringLiteral("ディスクがセットされていません｡ ディスクをセットした上で再度実行してください。71"), MessageIcon::Information, 4},
        {75, false, QStringLiteral("データを書き込もうとしたファイルに書込み保護がされています。ファイルを読込専用にしてある場合は書き込みできるようにファイルの属性を変更してください｡75"), MessageIcon::Information, 4},
    };
    for (const Row& row : rows) {
        ui.clear();
        SCOPED_TRACE(row.number);
        EXPECT_EQ(report(row.number, row.surveyDatabaseOpen), row.result);
        ASSERT_EQ(ui.messages().size(), 1u);
        const test::RecordedMessage message = ui.lastMessage();
        EXPECT_EQ(message.text.toStdString(), row.text.toStdString());
        EXPECT_EQ(message.icon, row.icon);
        EXPECT_EQ(message.buttons, MessageButtons::Ok);
        EXPECT_TRUE(message.title.isEmpty());
        EXPECT_TRUE(ui.optionsDialogTabs().empty());
        EXPECT_EQ(ui.aboutWindowCloseCount(), 1);
        EXPECT_FALSE(state.databaseNotFound);
    }
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
