// sql STATEMENT: runs one statement of the program's SQL dialect on the survey
// database, opened and brought up to date as at start-up.
//
// A SELECT prints a line of column names and then one line per row, fields
// separated by a tab; Null prints as an empty field, numbers as their
// shortest decimal text, tabs and line breaks inside a text as blanks. Any
// other statement prints the number of rows it changed.

#include "cli/cli_command.h"
#include "db/database.h"
#include "db/record_set.h"
#include "db/row_view.h"

#include <QRegularExpression>

namespace vortan::cli {
namespace {

bool isQuery(const QString& statement)
{
    static const QRegularExpression select(QStringLiteral("^[\\s(]*(select|transform)\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    return select.match(statement).hasMatch();
}

QString field(const db::Value& value)
{
    QString text = value.toText();
    for (QChar& c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r')
            c = u' ';
    }
    return text;
}

int sql(CliContext& context, const QStringList& args)
{
    if (args.size() != 1)
        return context.usageError(QStringLiteral("sql"),
                                  QStringLiteral("SQL文を一つ指定してください（全体を引用符で囲んで一つの引数にします）"));
    context.ui().setQuiet(true);
    if (!context.openDatabases())
        return ExitFailure;

    db::Database& survey = context.survey();
    const QString statement = args[0];
    if (!isQuery(statement)) {
        context.print(QString::number(survey.execute(statement)));
        return ExitOk;
    }
    // The rows are printed as they are read, none kept: a whole table of
    // many years' records is never held.
    bool named = false;
    survey.forEachRow(statement, [&](const db::RowView& row) {
        QStringList fields;
        if (!named) {
            for (int i = 0; i < row.columnCount(); ++i)
                fields << row.columnName(i);
            context.print(fields.join(u'\t'));
            fields.clear();
            named = true;
        }
        for (int i = 0; i < row.columnCount(); ++i)
            fields << field(row.cell(i));
        context.print(fields.join(u'\t'));
    });
    if (!named) {   // no row: the names come from the statement's empty record set
        const db::RecordSet rows = survey.openRecordSet(statement);
        QStringList names;
        for (int i = 0; i < rows.fieldCount(); ++i)
            names << rows.fieldName(i);
        context.print(names.join(u'\t'));
    }
    return ExitOk;
}

VORTAN_CLI_COMMAND(QStringLiteral("sql"), QStringLiteral("STATEMENT"), sql);

} // namespace
} // namespace vortan::cli
