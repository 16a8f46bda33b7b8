#pragma once
// The messages the error reporter shows for the file and disk numbers, typed
// here from the program's description rather than taken from its code, so
// that a test comparing against them catches a changed text or number.

#include <QString>

namespace vortan::test {

inline const QString FileNotFoundText = QStringLiteral(
    "指定されたファイルが見つかりません。ディレクトリ名や、ファイル名を確認の上もう一度読みなおしてください。");

// The overflow message (6): a number beyond what its field can hold.
inline const QString OverflowText =
    QStringLiteral("計算結果が許容範囲を超えてしまいました。入力値に間違いがないかお確かめください。6");

// The message of a file or disk number (53, 61, 70, 71, 75), the number
// appended where the message carries it.
inline QString fileErrorText(int number)
{
    switch (number) {
    case 53:
    case 76:
        return FileNotFoundText;
    case 61:
        return QStringLiteral("ディスクの容量が不足しているため処理を継続できません。61");
    case 70:
        return QStringLiteral("データを書き込もうとしたファイルに書込み保護がされています。"
                              "フロッピーディスクをお使いの場合で､書込み保護にしている場合は､"
                              "書込み保護のタブを書き込み可にしてください｡70");
    case 71:
        return QStringLiteral("ディスクがセットされていません｡ ディスクをセットした上で再度実行してください。71");
    case 75:
        return QStringLiteral("データを書き込もうとしたファイルに書込み保護がされています。"
                              "ファイルを読込専用にしてある場合は書き込みできるようにファイルの属性を変更してください｡75");
    default:
        return QString();
    }
}

// The message of a file that may not (`refused`) or cannot be read: the
// common report of number 57 with its description and source. The reason of
// a read that failed part way is the system's own wording, so only the
// frame around it is compared.
inline bool isUnreadableFileText(const QString& text, const QString& path, bool refused, const QString& source)
{
    const QString start = QStringLiteral("「") + path + QStringLiteral("」を読み込めません。");
    if (refused)
        return text == start + QStringLiteral("このファイルを読む権限がありません。 57") + source;
    return text.startsWith(start + QStringLiteral("読み込みの途中でエラーが起きました（"))
        && text.endsWith(QStringLiteral("）。 57") + source);
}

// The database that cannot be reached (3043): the text, a line break, the
// two database paths, the number.
inline QString unreachableDatabaseText(const QString& surveyDb, const QString& postalDb)
{
    return QStringLiteral("Vortanデータベースが利用できません。FDや、MOにVortan.mdbを保管していた場合は、"
                          "ディスクをセットしてください。ネットワークサーバーなどにVortan.mdbを保管してた場合は、"
                          "正常な接続状態であるのを確認の上ご利用ください。固定ディスク（ハードディスク)に"
                          "Vortan.mdbを保管してた場合は、ディスクがエラーを起こしています。ディスクの修復を行ってください。")
        + QStringLiteral("\n") + surveyDb + QStringLiteral(" または、") + postalDb + QStringLiteral("3043");
}

// The exchange reader's own messages.
inline const QString ExchangeVersionText = QStringLiteral(
    "CSVファイルのバージョンが違うか、Vortanで読み込むことができないデータです。"
    "ファイルのバージョンを変更して読込みをしてもこのエラーが出る場合は読み込みできません。");
inline const QString ExchangeDriveNotReadyText =
    QStringLiteral("指定されたドライブのディスクが用意されていません。");

} // namespace vortan::test
