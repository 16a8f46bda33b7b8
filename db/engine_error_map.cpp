#include "db/engine_error_map.h"

#include <QStringList>

#include <sqlite3.h>

namespace vortan::db {

namespace {

enum class Where { Any, Open, Statement, Commit };

struct Mapping {
    int code;                // extended code, or primary code when primaryOnly
    bool primaryOnly;
    Where where;
    const char* messageStart;    // the message must start with this text (nullptr: any)
    std::int32_t number;
};

// Checked in order; the first matching row wins.
constexpr Mapping kMappings[] = {
    // The check constraints that keep the declared column types carry these names.
    {SQLITE_CONSTRAINT_CHECK, false, Where::Any, "CHECK constraint failed: jet_text_size", err::DbFieldTooSmall},
    {SQLITE_CONSTRAINT_CHECK, false, Where::Any, "CHECK constraint failed: jet_number", err::DbTypeMismatch},
    {SQLITE_CONSTRAINT_CHECK, false, Where::Any, nullptr, err::DbTypeMismatch},
    {SQLITE_CONSTRAINT_PRIMARYKEY, false, Where::Any, nullptr, err::DbDuplicateKey},
    {SQLITE_CONSTRAINT_UNIQUE, false, Where::Any, nullptr, err::DbDuplicateKey},
    {SQLITE_CONSTRAINT_ROWID, false, Where::Any, nullptr, err::DbDuplicateKey},
    {SQLITE_CONSTRAINT_NOTNULL, false, Where::Any, nullptr, jeterr::NullNotAllowed},
    {SQLITE_CONSTRAINT, true, Where::Any, nullptr, err::DbTypeMismatch},
    {SQLITE_MISMATCH, true, Where::Any, nullptr, err::DbTypeMismatch},
    {SQLITE_TOOBIG, true, Where::Any, nullptr, err::DbFieldTooSmall},

    {SQLITE_BUSY, true, Where::Open, nullptr, err::DbExclusive},
    {SQLITE_LOCKED, true, Where::Open, nullptr, err::DbExclusive},
    {SQLITE_BUSY, true, Where::Commit, nullptr, err::DbCommitLocked},
    {SQLITE_LOCKED, true, Where::Commit, nullptr, err::DbCommitLocked},
    {SQLITE_BUSY, true, Where::Any, nullptr, err::DbLocked},
    {SQLITE_LOCKED, true, Where::Any, nullptr, err::DbLocked},

    {SQLITE_CANTOPEN, true, Where::Open, nullptr, err::DbFileNotFound},
    {SQLITE_CANTOPEN, true, Where::Any, nullptr, err::DbUnreachable},
    {SQLITE_READONLY, true, Where::Any, nullptr, err::DbReadOnly},
    {SQLITE_PERM, true, Where::Any, nullptr, err::DbReadOnly},
    {SQLITE_NOTADB, true, Where::Any, nullptr, err::DbNotDatabase},
    {SQLITE_CORRUPT, true, Where::Any, nullptr, err::DbNotDatabase},
    {SQLITE_FORMAT, true, Where::Any, nullptr, err::DbNotDatabase},
    // A full disk is the run-time number the reporter has a message for.
    {SQLITE_FULL, true, Where::Any, nullptr, err::DiskFull},
    {SQLITE_IOERR, true, Where::Any, nullptr, err::DbUnreachable},
    {SQLITE_NOMEM, true, Where::Any, nullptr, err::OutOfMemory},

    // Errors of the statement text itself, told apart by SQLite's message.
    {SQLITE_ERROR, true, Where::Any, "no such table", err::DbTableNotFound},
    {SQLITE_ERROR, true, Where::Any, "no such column", err::DbTooFewParameters},
    {SQLITE_ERROR, true, Where::Any, "table ", err::DbTooFewParameters},   // "table t has no column named c"
    {SQLITE_ERROR, true, Where::Any, "ambiguous column name", jeterr::AmbiguousField},
    {SQLITE_ERROR, true, Where::Any, "no such function", jeterr::UndefinedFunction},
    {SQLITE_ERROR, true, Where::Any, "wrong number of arguments", jeterr::UndefinedFunction},
    {SQLITE_ERROR, true, Where::Any, "duplicate column name", jeterr::TableExists},
    {SQLITE_ERROR, true, Where::Any, "near ", err::DbSyntax},
    {SQLITE_ERROR, true, Where::Any, "incomplete input", err::DbSyntax},
    {SQLITE_ERROR, true, Where::Any, "unrecognized token", err::DbSyntax},
    {SQLITE_ERROR, true, Where::Any, "cannot commit", jeterr::NoTransaction},
    {SQLITE_ERROR, true, Where::Any, "cannot rollback", jeterr::NoTransaction},
    {SQLITE_ERROR, true, Where::Any, nullptr, err::DbSyntax},
};

bool matches(const Mapping& m, int code, const QString& message, EngineSituation situation)
{
    const int wanted = m.primaryOnly ? (code & 0xff) : code;
    if (wanted != m.code)
        return false;
    switch (m.where) {
    case Where::Any: break;
    case Where::Open: if (situation != EngineSituation::Open) return false; break;
    case Where::Statement: if (situation != EngineSituation::Statement) return false; break;
    case Where::Commit: if (situation != EngineSituation::Commit) return false; break;
    }
    if (m.messageStart) {
        if (!message.startsWith(QLatin1String(m.messageStart)))
            return false;
        // "table ... already exists" belongs to the duplicate-name row, not to the unknown column.
        if (m.number == err::DbTooFewParameters && message.startsWith(QLatin1String("table "))
            && !message.contains(QLatin1String("has no column named")))
            return false;
    }
    return true;
}

} // namespace

std::int32_t engineErrorNumber(int extendedCode, const QString& message, EngineSituation where)
{
    if ((extendedCode & 0xff) == SQLITE_ERROR && message.startsWith(QLatin1String("table "))
        && message.endsWith(QLatin1String("already exists")))
        return jeterr::TableExists;
    for (const Mapping& m : kMappings) {
        if (matches(m, extendedCode, message, where))
            return m.number;
    }
    return jeterr::ReservedError;
}

namespace {

// The text after `prefix` up to the first of `ends` (or the end), without quotes.
QString after(const QString& message, QLatin1StringView prefix, QStringView ends = u"")
{
    QString rest = message.mid(message.indexOf(prefix) + prefix.size());
    for (QChar end : ends) {
        const qsizetype at = rest.indexOf(end);
        if (at >= 0)
            rest.truncate(at);
    }
    rest = rest.trimmed();
    if (rest.size() >= 2 && (rest.front() == u'"' || rest.front() == u'\'') && rest.back() == rest.front())
        rest = rest.mid(1, rest.size() - 2);
    return rest;
}

// "測点.測点No, 測点.日付" -> "測点No, 日付"
QString columnsOf(const QString& list)
{
    QStringList columns;
    for (const QString& item : list.split(QLatin1Char(','), Qt::SkipEmptyParts))
        columns.append(item.trimmed().section(QLatin1Char('.'), -1));
    return columns.join(QStringLiteral(", "));
}

} // namespace

QString engineDescription(int extendedCode, const QString& message, const EngineDetails& details)
{
    const int primary = extendedCode & 0xff;
    auto starts = [&message](const char* text) { return message.startsWith(QLatin1String(text)); };
    switch (primary) {
    case SQLITE_CONSTRAINT:
        if (starts("CHECK constraint failed: jet_text_size_")) {
            const QString column = after(message, QLatin1StringView("jet_text_size_"));
            if (details.textLimit > 0)
                return QStringLiteral("%1が長すぎます（%2文字まで保存できます）。").arg(column).arg(details.textLimit);
            return QStringLiteral("%1が長すぎます。").arg(column);
        }
        if (starts("CHECK constraint failed: jet_number_"))
            return QStringLiteral("%1には数値しか保存できません。").arg(after(message, QLatin1StringView("jet_number_")));
        if (starts("UNIQUE constraint failed:") || extendedCode == SQLITE_CONSTRAINT_PRIMARYKEY)
            return QStringLiteral("同じ%1のデータがすでにあります。")
                .arg(columnsOf(after(message, QLatin1StringView("failed:"))));
        if (starts("NOT NULL constraint failed:"))
            return QStringLiteral("%1に値がありません。").arg(columnsOf(after(message, QLatin1StringView("failed:"))));
        return QStringLiteral("保存しようとした値が列の条件に合いません。");
    case SQLITE_MISMATCH:
        return QStringLiteral("値の種類が列に合いません。");
    case SQLITE_TOOBIG:
        return QStringLiteral("値が大きすぎて保存できません。");
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("データベースがほかのプログラムに使われています。");
    case SQLITE_CANTOPEN:
        return QStringLiteral("データベースファイルを開けません。");
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return QStringLiteral("データベースファイルに書き込めません。");
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
    case SQLITE_FORMAT:
        return QStringLiteral("データベースファイルが壊れているか、データベースのファイルではありません。");
    case SQLITE_FULL:
        return QStringLiteral("ディスクの空きがなくなりました。");
    case SQLITE_IOERR:
        return QStringLiteral("データベースファイルの読み書きでエラーが起きました。");
    case SQLITE_NOMEM:
        return QStringLiteral("メモリが足りません。");
    case SQLITE_ERROR:
        if (starts("no such table"))
            return QStringLiteral("テーブル「%1」がありません。").arg(after(message, QLatin1StringView(":")));
        if (starts("no such column"))
            return QStringLiteral("列「%1」がありません。").arg(after(message, QLatin1StringView(":")));
        if (starts("table ") && message.contains(QLatin1String("has no column named")))
            return QStringLiteral("テーブル「%1」に列「%2」がありません。")
                .arg(after(message, QLatin1StringView("table "), u" "),
                     after(message, QLatin1StringView("named")));
        if (starts("table ") && message.endsWith(QLatin1String("already exists")))
            return QStringLiteral("テーブル「%1」はすでにあります。").arg(after(message, QLatin1StringView("table "), u" "));
        if (starts("ambiguous column name"))
            return QStringLiteral("列「%1」がどのテーブルの列か決まりません。").arg(after(message, QLatin1StringView(":")));
        if (starts("no such function"))
            return QStringLiteral("関数「%1」はありません。").arg(after(message, QLatin1StringView(":")));
        if (starts("wrong number of arguments"))
            return QStringLiteral("関数「%1」の引数の数が違います。")
                .arg(after(message, QLatin1StringView("function"), u"("));
        if (starts("duplicate column name"))
            return QStringLiteral("列名「%1」が重なっています。").arg(after(message, QLatin1StringView(":")));
        if (starts("near "))
            return QStringLiteral("SQL文に誤りがあります（「%1」の付近）。")
                .arg(after(message, QLatin1StringView("near "), u":"));
        if (starts("incomplete input"))
            return QStringLiteral("SQL文が途中で終わっています。");
        if (starts("unrecognized token"))
            return QStringLiteral("SQL文に使えない文字があります（「%1」）。")
                .arg(after(message, QLatin1StringView("token:")));
        if (starts("cannot commit") || starts("cannot rollback"))
            return QStringLiteral("始まっていないトランザクションは終えられません。");
        return QStringLiteral("SQL文を実行できません。");
    default:
        return QStringLiteral("データベースの処理でエラーが起きました（コード %1）。").arg(extendedCode);
    }
}

Failure engineFailure(int extendedCode, const QString& message, EngineSituation where,
                      const EngineDetails& details)
{
    return Failure(engineErrorNumber(extendedCode, message, where),
                   engineDescription(extendedCode, message, details), QString::fromLatin1(kEngineSource));
}

Failure syntaxFailure(QStringView sql, qsizetype at, const QString& what)
{
    const QString description = at >= 0
        ? QStringLiteral("SQL文の%1文字目に誤りがあります（%2）: %3").arg(at + 1).arg(what, sql.toString())
        : QStringLiteral("SQL文に誤りがあります（%1）: %2").arg(what, sql.toString());
    return Failure(err::DbSyntax, description, QString::fromLatin1(kEngineSource));
}

Failure engineFailure(std::int32_t number, const QString& description)
{
    return Failure(number, description, QString::fromLatin1(kEngineSource));
}

} // namespace vortan::db
