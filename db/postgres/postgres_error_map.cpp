#include "db/postgres/postgres_error_map.h"

#include <cstring>

namespace vortan::db {

namespace {

enum class Where { Any, Commit, Statement };

struct StateMapping {
    const char* state;   // a whole SQLSTATE, or a class of two characters
    Where where;
    std::int32_t number;
};

// Looked up in order; the first match wins.
constexpr StateMapping kStates[] = {
    {"23505", Where::Any, err::DbDuplicateKey},
    {"23514", Where::Any, err::DbTypeMismatch},     // a text too long is told apart below
    {"23502", Where::Any, jeterr::NullNotAllowed},
    {"22001", Where::Any, err::DbFieldTooSmall},
    {"22P02", Where::Any, err::DbTypeMismatch},
    {"22003", Where::Any, err::DbTypeMismatch},
    {"22007", Where::Any, err::DbTypeMismatch},
    {"22008", Where::Any, err::DbTypeMismatch},
    {"42804", Where::Any, err::DbTypeMismatch},
    {"42883", Where::Any, err::DbTypeMismatch},
    {"22012", Where::Any, err::DivisionByZero},
    {"55P03", Where::Commit, err::DbCommitLocked},
    {"40P01", Where::Commit, err::DbCommitLocked},
    {"40001", Where::Commit, err::DbCommitLocked},
    {"55P03", Where::Any, err::DbLocked},
    {"40P01", Where::Any, err::DbLocked},
    {"40001", Where::Any, err::DbLocked},
    {"57014", Where::Any, err::DbLocked},   // a statement cancelled by its timeout
    {"42P01", Where::Any, err::DbTableNotFound},
    {"42703", Where::Any, err::DbTooFewParameters},
    {"42702", Where::Any, jeterr::AmbiguousField},
    {"42701", Where::Any, jeterr::TableExists},
    {"42P07", Where::Any, jeterr::TableExists},
    {"42710", Where::Any, jeterr::TableExists},
    {"42501", Where::Any, err::DbReadOnly},
    {"25006", Where::Any, err::DbReadOnly},
    {"3D000", Where::Any, err::DbFileNotFound},
    {"53100", Where::Any, err::DiskFull},
    {"53200", Where::Any, err::OutOfMemory},
    {"08", Where::Any, err::DbUnreachable},
    {"57P", Where::Any, err::DbUnreachable},
    {"28", Where::Any, err::DbUnreachable},
    {"42", Where::Any, err::DbSyntax},
};

bool matches(const StateMapping& m, const QByteArray& state, EngineSituation where)
{
    if (!state.startsWith(m.state))
        return false;
    if (m.where == Where::Commit)
        return where == EngineSituation::Commit;
    return true;
}

// The columns of a duplicate key, from the detail "Key (a, b)=(1, 2) already exists."
QString keyColumns(const QString& detail)
{
    const qsizetype open = detail.indexOf(QLatin1String("("));
    const qsizetype close = detail.indexOf(QLatin1String(")="));
    if (open < 0 || close <= open)
        return QString();
    return detail.mid(open + 1, close - open - 1).remove(u'"');
}

QString textSizeColumn(const PostgresError& error)
{
    const QLatin1String prefix("jet_text_size_");
    return error.constraint.startsWith(prefix) ? error.constraint.mid(prefix.size()) : QString();
}

QString description(const PostgresError& error, std::int32_t number)
{
    switch (number) {
    case err::DbDuplicateKey: {
        const QString columns = keyColumns(error.detail);
        return columns.isEmpty() ? QStringLiteral("同じキーのデータがすでにあります。")
                                 : QStringLiteral("同じ%1のデータがすでにあります。").arg(columns);
    }
    case err::DbFieldTooSmall: {
        const QString column = textSizeColumn(error);
        if (column.isEmpty())
            return QStringLiteral("値が長すぎます。");
        if (error.textLimit > 0)
            return QStringLiteral("%1が長すぎます（%2文字まで保存できます）。").arg(column).arg(error.textLimit);
        return QStringLiteral("%1が長すぎます。").arg(column);
    }
    case err::DbTypeMismatch:
        if (!error.column.isEmpty())
            return QStringLiteral("%1には数値しか保存できません。").arg(error.column);
        return QStringLiteral("値の種類が列に合いません。");
    case jeterr::NullNotAllowed:
        return QStringLiteral("%1に値がありません。").arg(error.column);
    case err::DivisionByZero: return QStringLiteral("0で割ろうとしました。");
    case err::DbLocked:
    case err::DbCommitLocked:
        return QStringLiteral("データベースがほかのプログラムに使われています。");
    case err::DbTableNotFound:
        return QStringLiteral("テーブル「%1」がありません。").arg(error.table.isEmpty() ? error.message : error.table);
    case err::DbTooFewParameters: return QStringLiteral("ない列の名前が使われています。");
    case jeterr::UndefinedFunction: return QStringLiteral("使えない関数が使われています。");
    case jeterr::AmbiguousField: return QStringLiteral("どのテーブルの列かわからない名前が使われています。");
    case jeterr::TableExists: return QStringLiteral("同じ名前のテーブルか列がすでにあります。");
    case err::DbReadOnly: return QStringLiteral("データベースに書き込む権限がありません。");
    case err::DbFileNotFound: return QStringLiteral("データベースがサーバーにありません。");
    case err::DiskFull: return QStringLiteral("サーバーのディスクの空きがなくなりました。");
    case err::OutOfMemory: return QStringLiteral("サーバーのメモリが足りません。");
    case err::DbUnreachable: return QStringLiteral("データベースサーバーとの接続が切れました。");
    case err::DbSyntax: return QStringLiteral("SQL文の形が違います。");
    default: return QStringLiteral("データベースサーバーのエラーです（%1）。").arg(QString::fromLatin1(error.sqlState));
    }
}

} // namespace

std::int32_t postgresErrorNumber(const PostgresError& error, EngineSituation where)
{
    if (error.sqlState == "23514" && !textSizeColumn(error).isEmpty())
        return err::DbFieldTooSmall;
    if (error.sqlState == "42883" && error.message.startsWith(QLatin1String("function ")))
        return jeterr::UndefinedFunction;
    for (const StateMapping& m : kStates) {
        if (matches(m, error.sqlState, where))
            return m.number;
    }
    return jeterr::ReservedError;
}

Failure postgresFailure(const PostgresError& error, EngineSituation where)
{
    const std::int32_t number = postgresErrorNumber(error, where);
    return Failure(number, description(error, number), QString::fromLatin1(kEngineSource));
}

Failure postgresConnectionFailure(const QString& host, const QString& port, const QString& database,
                                  const QString& message)
{
    if (message.contains(QLatin1String("database \"")) && message.contains(QLatin1String("does not exist")))
        return Failure(err::DbFileNotFound,
                       QStringLiteral("データベース「%1」はサーバー %2 にありません。").arg(database, host),
                       QString::fromLatin1(kEngineSource));
    const QString server = port.isEmpty() ? host : host + u':' + port;
    QString why = QStringLiteral("サーバーが応答しません");
    if (message.contains(QLatin1String("password")) || message.contains(QLatin1String("authentication"))
        || message.contains(QLatin1String("role \"")))
        why = QStringLiteral("ユーザー名かパスワードが受け付けられません");
    return Failure(err::DbUnreachable,
                   QStringLiteral("データベースサーバー %1 に接続できません（%2）。").arg(server, why),
                   QString::fromLatin1(kEngineSource));
}

} // namespace vortan::db
