#include "cli/cli_context.h"

#include "cli/cli_command.h"
#include "core/error_reporter.h"
#include "core/platform.h"
#include "db/database.h"
#include "db/program_start.h"
#include "intake/exchange_failure.h"
#include "migrate/access_file_signature.h"
#include "migrate/migration_messages.h"

namespace vortan::cli {

namespace {

void writeLine(std::FILE* stream, const QString& line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        QString* target = nullptr;
        if (word == u"--settings")
            target = &line.options.settingsFile;
        else if (word == u"--db")
            target = &line.options.surveyDatabase;
        else if (word == u"--postal")
            target = &line.options.postalDatabase;
        else if (word == u"--ini-dir")
            target = &line.options.iniFolder;
        else if (word == u"--yes")
            line.options.yes = true;
        else if (word == u"--quiet")
            line.options.quiet = true;
        else if (word == u"--help" || word == u"-h")
            line.help = true;
        else if (word.startsWith(u'-') && word.size() > 1) {
            line.error = QStringLiteral("%1 というオプションはありません").arg(word);
            return line;
        } else
            break;
        if (target) {
            if (i + 1 >= arguments.size()) {
                line.error = QStringLiteral("%1 の後に値がありません").arg(word);
                return line;
            }
            *target = arguments[++i];
        }
    }
    if (i < arguments.size()) {
        line.command = arguments[i];
        line.arguments = arguments.mid(i + 1);
    }
    return line;
}

QString usageText()
{
    QString text = QStringLiteral(
        "使い方: vortan-cli [共通オプション] COMMAND [引数]\n"
        "\n"
        "共通オプション:\n"
        "  --settings FILE  読む設定ファイル（既定: VORTAN_SETTINGS、なければ利用者の設定ファイル）\n"
        "  --db FILE        データ位置の代わりに使う調査データベース\n"
        "  --postal FILE    住所位置の代わりに使う住所データベース\n"
        "  --ini-dir DIR    ini位置の代わりに使う設定フォルダ\n"
        "  --yes            すべての問いに「はい」と答える\n"
        "  --quiet          状態の表示をしない\n"
        "  --help           この説明を表示する\n"
        "\n"
        "コマンド:\n");
    for (const auto& [name, command] : commandRegistry())
        text += QStringLiteral("  %1 %2\n").arg(name, command.usage);
    return text;
}

CliContext::CliContext(GlobalOptions options, std::FILE* out, std::FILE* err)
    : options_(std::move(options))
    , out_(out)
    , err_(err)
    , ui_(out, err)
    , store_(SettingsStore::resolvePath(options_.settingsFile))
{
    if (options_.yes)
        ui_.setFixedAnswer(MessageAnswer::Yes);
    ui_.setQuiet(options_.quiet);
}

CliContext::~CliContext()
{
    workspace_.closeAll();
}

bool CliContext::openDatabases()
{
    db::ProgramLoadOptions load;
    load.programFolder = platform::programFolder();
    load.adjustStore = [this](SettingsStore& store) {
        const QString etc = QStringLiteral("etc");
        if (!options_.surveyDatabase.isEmpty())
            store.setValue(etc, QStringLiteral("データ位置"), options_.surveyDatabase);
        if (!options_.postalDatabase.isEmpty())
            store.setValue(etc, QStringLiteral("住所位置"), options_.postalDatabase);
        if (!options_.iniFolder.isEmpty())
            store.setValue(etc, QStringLiteral("ini位置"), options_.iniFolder);
    };
    // An old Access database would only be called unreadable: the script is
    // told what it is and which command brings it across.
    load.beforeSurveyOpen = [this](SettingsStore&, ProgramState& state) {
        if (!migrate::IsAccessFile(state.settings.データ位置))
            return;
        ui_.showMessage(migrate::CommandLineMigrationHint(state.settings.データ位置), MessageIcon::Critical);
        throw Failure(err::None, QStringLiteral("An old Access database is at データ位置."), QString());
    };
    ui_.setMessagesToErrorStream(true);
    const db::ProgramLoadResult result = db::LoadProgram(store_, state_, workspace_, ui_, load);
    ui_.setMessagesToErrorStream(false);
    if (state_.graphDataName.isEmpty())
        state_.graphDataName = QStringLiteral("Nd");
    return result.completed();
}

db::Database& CliContext::survey()
{
    if (!workspace_.survey())
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"),
                      QStringLiteral("vortan-cli"));
    return *workspace_.survey();
}

int CliContext::report(const Failure& failure)
{
    ui_.setMessagesToErrorStream(true);
    ReportError(failure, ErrorContext{ui_, state_, workspace_.surveyOpen()});
    ui_.setMessagesToErrorStream(false);
    return ExitFailure;
}

int CliContext::reportExchangeFailure(const Failure& failure)
{
    ui_.setMessagesToErrorStream(true);
    intake::ReportExchangeFailure(failure, ErrorContext{ui_, state_, workspace_.surveyOpen()});
    ui_.setMessagesToErrorStream(false);
    return ExitFailure;
}

int CliContext::usageError(const QString& commandName, const QString& problem)
{
    printError(QStringLiteral("vortan-cli %1: %2").arg(commandName, problem));
    const auto found = commandRegistry().find(commandName);
    const QString usage = found != commandRegistry().end() ? found->second.usage : QString();
    printError(QStringLiteral("使い方: vortan-cli [共通オプション] %1 %2").arg(commandName, usage));
    return ExitUsage;
}

void CliContext::print(const QString& line)
{
    writeLine(out_, line);
}

void CliContext::printError(const QString& line)
{
    writeLine(err_, line);
}

} // namespace vortan::cli
