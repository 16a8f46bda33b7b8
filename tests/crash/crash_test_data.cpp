#include "crash_test_data.h"

#include "core/cp932.h"
#include "core/failure.h"
#include "db/survey_store.h"
#include "db/workspace.h"
#include "intake/exchange_read.h"
#include "support/cli_runner.h"
#include "support/recording_user_interface.h"

#include <QDir>

namespace vortan::test {

QByteArray largeExchangeFile(const SurveySize& size)
{
    QString text;
    for (int s = size.first; s < size.first + size.surveys; ++s) {
        for (int p = 1; p <= size.points; ++p) {
            const QString point = QString::number(p);
            for (int r = 1; r <= size.records; ++r) {
                const QStringList fields{
                    QString::number(s), point, QStringLiteral("髙橋邸①～%1").arg(s),
                    QStringLiteral("東京都千代田区"), QStringLiteral("宅地の地盤調査"), QStringLiteral("山田"),
                    QStringLiteral("佐藤"), QStringLiteral("0930"), QStringLiteral("1130"),
                    QStringLiteral("20240105"), QStringLiteral("晴れ"), QStringLiteral("12.5"),
                    QStringLiteral("一般"), QString(), QStringLiteral("0"), QString(),
                    p == 1 ? QStringLiteral("ｱｽﾌｧﾙﾄ") : QString(), QString::number(0.25 * r),
                    QString::number(r % 23 + 1), QString::number(5.5 + r % 7), QString::number(r % 3 + 1),
                    r % 10 == 0 ? QStringLiteral("礫混じり") : QString(), QStringLiteral("240105"),
                    QStringLiteral("0930"), QStringLiteral("1000"), QStringLiteral("240105"),
                    QStringLiteral("0930"), QStringLiteral("1000"), point};
                text += QLatin1Char('"') + fields.join(QStringLiteral("\",\"")) + QStringLiteral("\"\r\n");
            }
        }
    }
    return cp932::encode(text);
}

bool storeLargeSurveys(const QString& path, const SurveySize& size)
{
    try {
        db::Workspace workspace;
        workspace.openSurvey(path);
        db::SurveyStore store(workspace);
        RecordingUserInterface ui;
        intake::ReadExchangeBytes(workspace, store, ui, largeExchangeFile(size),
                                  intake::ExchangeReadMode::Replace);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

QByteArray largeCardFile(int site, int points, int records)
{
    QString text = QStringLiteral(
        "\"No\",\"ﾃﾞｰﾀ\",\"現場No\",\"測点No\",\"深さ\",\"打撃\",\"ﾄﾙｸ\",\"土質\",\"年\",\"月日\",\"時\",\"分秒\"\r\n");
    int second = 0;   // from 08:00:00, one record a second
    for (int p = 1; p <= points; ++p) {
        for (int r = 1; r <= records; ++r, ++second) {
            const int hour = 8 + second / 3600;
            const int minuteSecond = (second / 60 % 60) * 100 + second % 60;
            text += QStringList{QString::number(second + 1), QStringLiteral("\"A\""), QString::number(site),
                                QString::number(p), QString::number(0.01 * r, 'f', 2),
                                QString::number(r % 15 + 1), QString::number(8.5 + r % 5, 'f', 1),
                                QString::number(r % 4 + 1), QStringLiteral("2005"), QStringLiteral("1001"),
                                QString::number(hour), QString::number(minuteSecond)}
                        .join(QLatin1Char(','))
                + QStringLiteral("\r\n");
        }
    }
    return cp932::encode(text);
}

ChildCommand cliCommand(const ShippedFilesCopy& shared, const QString& database,
                        const QStringList& arguments)
{
    // A settings file that does not exist gives the defaults.
    const QString settings = shared.path(QStringLiteral("no-settings.ini"));
    ChildCommand command;
    command.program = programFile(QStringLiteral("vortan-cli"));
    command.arguments = QStringList{QStringLiteral("--settings"), settings, QStringLiteral("--db"), database,
                                    QStringLiteral("--postal"), shared.postalDatabase(),
                                    QStringLiteral("--ini-dir"), shared.folder(), QStringLiteral("--quiet")}
        + arguments;
    command.environment = cliEnvironment(settings);
    return command;
}

ChildCommand helperCommand(const QString& program, const QStringList& arguments)
{
    ChildCommand command;
    command.program = program;
    command.arguments = arguments;
    command.environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return command;
}

} // namespace vortan::test
