#include "core/error_reporter.h"

#include "core/platform.h"

namespace vortan {

namespace {

const QString lineBreak = QStringLiteral("\n");

QString numberText(const Failure& failure)
{
    return QString::number(failure.number());
}

// The two database paths, as the messages about a database file name them.
QString databasePaths(const ProgramState& state)
{
    return state.settings.データ位置 + QStringLiteral(" または、") + state.settings.住所位置;
}

std::int16_t show(const ErrorContext& context, const QString& text, MessageIcon icon,
                  std::int16_t result)
{
    context.ui.showMessage(text, icon, MessageButtons::Ok, MessageAnswer::Ok, QString());
    return result;
}

QString damagedDatabaseText()
{
    return QStringLiteral("高い確率で、データベースが損傷しています｡") + QStringLiteral("パソコンに問題が発生している可能性（場合によっては表面化していないだけかもしれません。）があります。") + QStringLiteral("パソコンを再起動後、")
           + QStringLiteral("「Windows95，98の場合､スキャンディスク（ｽﾀ-ﾄ→ﾌﾟﾛｸﾞﾗﾑ→ｱｸｾｻﾘ→ｼｽﾃﾑﾂｰﾙ→ｽｷｬﾝﾃﾞｨｽｸ）」") + QStringLiteral("「WindowsNTの場合､ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚｰﾀ（ｽﾀｰﾄ→ﾌﾟﾛｸﾞﾗﾑ→管理ﾂｰﾙ→ﾃﾞｨｽｸｱﾄﾞﾐﾆｽﾄﾚ-ﾀ）」") + QStringLiteral("によりディスクの修復とチェックを行った上で、データベースの修復を行ってみてください。")
           + QStringLiteral("それでもこのメッセージが表示される場合は、パソコン本体の問題を解決した上でVortanの再インストールが必要です。");
}

} // namespace

QString ManualViewerMissingText(platform::PathStyle style)
{
    const QString missing = style == platform::PathStyle::Windows
        ? QStringLiteral("Microsoft Edgeがインストールされていないため、ヘルプからマニュアルを開くことができません。")
        : QStringLiteral("PDFを表示するアプリケーションが見つからないため、ヘルプからマニュアルを開くことができません。");
    return missing + lineBreak + QStringLiteral("マニュアルを確認するには、インストール先の「VORTAN_Manual.pdf」を開いてください。");
}

std::int16_t ReportError(const Failure& failure, const ErrorContext& context)
{
    context.ui.closeAboutWindow();
    const QString number = numberText(failure);
    switch (failure.number()) {
    case err::ObjectNotSet:
        if (context.surveyDatabaseOpen)
            return show(context, failure.description() + number, MessageIcon::Critical,
                        action::EndProgram);
        return show(context, QStringLiteral("Vortanデータベースが利用できません。Vortanを再起動してください。") + number, MessageIcon::Critical,
                    action::EndProgram);
    case err::DbLocked:
    case err::DbCommitLocked:
    case err::DbLockedByUser:
        return show(context, QStringLiteral("Vortanデータベースが占有されています。ほかに、このデータベースを使用するプログラムなどがある場合にはそちらを終了させてから操作してください。 ") + number, MessageIcon::Critical,
                    action::DatabaseReported);
    case err::DbDuplicateKey:
        return show(context, QStringLiteral("保存しようとしたデータに重複があります。ご確認ください。") + number, MessageIcon::Critical,
                    action::Reported);
    case err::DbFileNotFound:
        show(context,
             QStringLiteral("指定されたデータベースが見つかりませんでした｡ データベースを指定している場所にコピーするか、指定している場所を変更してください。") + lineBreak + databasePaths(context.state) + lineBreak
                 + number,
             MessageIcon::Critical, action::DatabaseReported);
        context.state.databaseNotFound = true;
        context.ui.openOptionsDialog(OptionsTabOther);
        return action::DatabaseReported;
    case err::DbUnreachable:
    case err::DbBadPath:
        return show(context,
                    QStringLiteral("Vortanデータベースが利用できません。FDや、MOにVortan.mdbを保管していた場合は、ディスクをセットしてください。ネットワークサーバーなどにVortan.mdbを保管してた場合は、正常な接続状態であるのを確認の上ご利用ください。固定ディスク（ハードディスク)にVortan.mdbを保管してた場合は、ディスクがエラーを起こしています。ディスクの修復を行ってください。") + lineBreak + databasePaths(context.state) + number,
                    MessageIcon::Critical, action::DatabaseReported);
    case err::DbExclusive:
        return show(context, QStringLiteral("Vortanデータベースが他のアプリケーションから占有されているため実行できません。占有しているアプリケーションを終了後実行してください。") + number, MessageIcon::Critical,
                    action::EndProgram);
    case err::DbReadOnly:
        return show(context,
                    QStringLiteral("Vortanデータベースが利用できません。ファイルの属性が読み込み専用に設定されている場合は解除してください。Vortanデータベースがネットワーク上に存在する場合は、ネットワーク管理者に書込みをする権利を管理者に与えてもらってください。") + lineBreak + databasePaths(context.state)
                        + lineBreak + number,
                    MessageIcon::Critical, action::EndProgram);
    case err::DbTableNotFound:
    case err::DbNotDatabase:
        return show(context, damagedDatabaseText(), MessageIcon::Critical,
                    action::DatabaseReported);
    case err::DbTypeMismatch:
        return show(context, QStringLiteral("入力値が間違っているか、入力すべき値が入力されていません。") + number, MessageIcon::Critical,
                    action::Reported);
    default:
        return ReportRuntimeError(failure, context);
    }
}

std::int16_t ReportRuntimeError(const Failure& failure, const ErrorContext& context)
{
    const QString number = numberText(failure);
    switch (failure.number()) {
    case err::None:
        return action::Nothing;
    case err::Overflow:
    case err::DivisionByZero:
        return show(context, QStringLiteral("計算結果が許容範囲を超えてしまいました。入力値に間違いがないかお確かめください。") + number, MessageIcon::Critical,
                    action::Reported);
    case err::OutOfMemory:
    case err::OutOfStringSpace:
    case err::OutOfStackSpace:
    case err::OutOfTempSpace:
    case err::ObjectCreation:
        return show(context, QStringLiteral("メモリが不足しています。Vortan以外のソフトウエアを同時に使用している場合はそのソフトウエアを終了させて下さい。") + number, MessageIcon::Critical,
                    action::Reported);
    case err::PrinterError:
        return show(context, QStringLiteral("プリンタが設定されていないため使用できません。プリンタをインストール後ご使用ください。"), MessageIcon::Critical, action::Reported);
    case err::NoSuchPort:
        show(context, QStringLiteral("「ファイル→プロパティ→通信条件」で指定されている「ポートNo」は、存在していないようです。利用可能なポートNoに変更してください。拡張ボードやPＣカードなどで通信ポートが増設されていない場合は、一般的に1～8の範囲の番号がついている場合が多いようです。"), MessageIcon::Critical, action::Reported);
        context.ui.openOptionsDialog(OptionsTabPosition);
        return action::Reported;
    case err::PortInUse:
        show(context, QStringLiteral("「ファイル→プロパティ→通信条件」で指定されている「ポートNo」は、すでにほかのソフトウエアで使用されています。通信ポートを使用しているほかのソフトウエアを終了するか、ほかに利用可能な通信ポートがある場合VortanのポートNoをそのポートNoに変更してください。"), MessageIcon::Critical, action::Reported);
        context.ui.openOptionsDialog(OptionsTabPosition);
        return action::Reported;
    default:
        return ReportFileError(failure, context);
    }
}

std::int16_t ReportFileError(const Failure& failure, const ErrorContext& context)
{
    const QString number = numberText(failure);
    switch (failure.number()) {
    case err::ProgramNotFound:
        return show(context, ManualViewerMissingText(platform::nativePathStyle()), MessageIcon::Exclamation,
                    action::Reported);
    case err::FileNotFound:
    case err::PathNotFound:
        return show(context, QStringLiteral("指定されたファイルが見つかりません。ディレクトリ名や、ファイル名を確認の上もう一度読みなおしてください。"), MessageIcon::Exclamation, action::Reported);
    case err::DiskFull:
        return show(context, QStringLiteral("ディスクの容量が不足しているため処理を継続できません。") + number, MessageIcon::Information,
                    action::Reported);
    case err::PermissionDenied:
        return show(context, QStringLiteral("データを書き込もうとしたファイルに書込み保護がされています。フロッピーディスクをお使いの場合で､書込み保護にしている場合は､書込み保護のタブを書き込み可にしてください｡") + number, MessageIcon::Information,
                    action::Reported);
    case err::DiskNotReady:
        return show(context, QStringLiteral("ディスクがセットされていません｡ ディスクをセットした上で再度実行してください。") + number, MessageIcon::Information,
                    action::Reported);
    case err::PathFileAccess:
        return show(context, QStringLiteral("データを書き込もうとしたファイルに書込み保護がされています。ファイルを読込専用にしてある場合は書き込みできるようにファイルの属性を変更してください｡") + number, MessageIcon::Information,
                    action::Reported);
    default:
        return show(context,
                    failure.description() + QLatin1Char(' ') + number + failure.source(),
                    MessageIcon::None, action::Nothing);
    }
}

} // namespace vortan
