#pragma once
// How the conversion command reports a failed exchange-file read or write:
// a line that is not a number where the survey number stands (the type
// mismatch 13, as in a file of another kind) gets the version message, a
// drive that is not ready (71) a warning, and everything else goes to the
// common error report.

#include "core/error_reporter.h"

namespace vortan::intake {

inline const QString ExchangeVersionMessage = QStringLiteral(
    "CSVファイルのバージョンが違うか、Vortanで読み込むことができないデータです。"
    "ファイルのバージョンを変更して読込みをしてもこのエラーが出る場合は読み込みできません。");
inline const QString ExchangeDriveNotReadyMessage =
    QStringLiteral("指定されたドライブのディスクが用意されていません。");

// Shows the message for `failure` and returns the action code: 3 ends the
// program (only the common report answers so), anything else abandons the command.
std::int16_t ReportExchangeFailure(const Failure& failure, const ErrorContext& context);

} // namespace vortan::intake
