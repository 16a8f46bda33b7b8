#include "db/postgres/postgres_engine.h"

#include "db/jet_sql_translator.h"
#include "db/postgres/postgres_error_map.h"
#include "db/postgres/postgres_statement_shape.h"
#include "db/postgres_column_type.h"

#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <optional>
#include <utility>

#include <libpq-fe.h>

namespace vortan::db {

namespace {

// The lock every transaction begun for writing takes at its start, so that
// one workstation writes at a time, as with a database file.
constexpr qint64 kWriteLockKey = 0x566f7274616eLL;

constexpr const char* kStatementSavepoint = "vortan_statement";

// Rows inserted in a transaction share one savepoint per run of rows; a run
// starts short, doubles while no row fails, and starts short again after a
// failure, so that a failing row sends few rows again.
constexpr size_t kFirstRowRun = 16;
constexpr size_t kLongestRowRun = 1024;

// Type numbers of the server's built-in types that read as numbers.
constexpr Oid kBool = 16, kInt8 = 20, kInt2 = 21, kInt4 = 23, kOid = 26, kText = 25, kFloat4 = 700,
              kFloat8 = 701, kNumeric = 1700;

int initialBusyTimeout()
{
    bool ok = false;
    const int milliseconds = qEnvironmentVariableIntValue("VORTAN_BUSY_TIMEOUT", &ok);
    return ok && milliseconds >= 0 ? milliseconds : 5000;
}

struct ResultDeleter {
    void operator()(PGresult* r) const { PQclear(r); }
};
using Result = std::unique_ptr<PGresult, ResultDeleter>;

QString fieldText(const PGresult* r, int field)
{
    const char* v = PQresultErrorField(r, field);
    return v ? QString::fromUtf8(v) : QString();
}

PostgresError errorOf(const PGresult* r, PGconn* conn)
{
    PostgresError error;
    if (r) {
        const char* state = PQresultErrorField(r, PG_DIAG_SQLSTATE);
        error.sqlState = state ? QByteArray(state) : QByteArray();
        error.message = fieldText(r, PG_DIAG_MESSAGE_PRIMARY);
        error.detail = fieldText(r, PG_DIAG_MESSAGE_DETAIL);
        error.table = fieldText(r, PG_DIAG_TABLE_NAME);
        error.column = fieldText(r, PG_DIAG_COLUMN_NAME);
        error.constraint = fieldText(r, PG_DIAG_CONSTRAINT_NAME);
    }
    if (error.sqlState.isEmpty()) {
        // No answer at all: the connection is gone.
        error.sqlState = "08006";
        error.message = QString::fromUtf8(PQerrorMessage(conn));
    }
    return error;
}

// A number as the server reads it back to the same double: the shortest
// such text.
QByteArray numberText(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    return QByteArray(text, end - text);
}

bool succeeded(const PGresult* r)
{
    const ExecStatusType s = r ? PQresultStatus(r) : PGRES_FATAL_ERROR;
    return s == PGRES_COMMAND_OK || s == PGRES_TUPLES_OK;
}

Value cellValue(const PGresult* r, int row, int column)
{
    if (PQgetisnull(r, row, column))
        return Value();
    const char* text = PQgetvalue(r, row, column);
    const int length = PQgetlength(r, row, column);
    switch (PQftype(r, column)) {
    case kInt2:
    case kInt4:
    case kInt8:
    case kOid: return Value(QByteArray::fromRawData(text, length).toLongLong());
    case kFloat4:
    case kFloat8:
    case kNumeric: return Value(QByteArray::fromRawData(text, length).toDouble());
    case kBool: return Value(qint64(text[0] == 't' ? -1 : 0));
    default: return Value(QString::fromUtf8(text, length));
    }
}

// A column default as the server shows it ("'-1'::integer", "'x'::citext")
// as the dialect writes it ("-1", "'x'").
QString dialectDefault(QString expression)
{
    static const QRegularExpression cast(QStringLiteral("::[a-z ]+(\\([0-9,]+\\))?$"));
    for (;;) {
        const QString before = expression;
        expression.remove(cast);
        if (expression.startsWith(u'(') && expression.endsWith(u')'))
            expression = expression.mid(1, expression.size() - 2);
        if (expression == before)
            break;
    }
    if (expression.size() >= 2 && expression.startsWith(u'\'') && expression.endsWith(u'\'')) {
        bool number = false;
        expression.mid(1, expression.size() - 2).toDouble(&number);
        if (number)
            return expression.mid(1, expression.size() - 2);
    }
    return expression;
}

class PostgresEngine final : public DatabaseEngine {
public:
    PostgresEngine(QString uri, PGconn* conn) : uri_(std::move(uri)), conn_(conn) {}
    ~PostgresEngine() override { close(); }

    void start(bool creating)
    {
        PQsetClientEncoding(conn_, "UTF8");
        // Notices (an existing extension, an implicit index) are not the user's business.
        PQsetNoticeProcessor(conn_, [](void*, const char*) {}, nullptr);
        setBusyTimeout(initialBusyTimeout());
        if (creating) {
            if (!tableNames().isEmpty())
                throw engineFailure(jeterr::DatabaseExists,
                                    QStringLiteral("データベース「%1」にはもうテーブルがあります。").arg(databaseName()));
            // Text columns compare without regard to letter case.
            exec("CREATE EXTENSION IF NOT EXISTS citext", EngineSituation::Statement);
        }
    }

    QString location() const override { return uri_; }

    void setBusyTimeout(int milliseconds) override
    {
        requireOpen();
        exec(QByteArray("SET lock_timeout = ") + QByteArray::number(qMax(milliseconds, 1)),
             EngineSituation::Statement);
    }

    int execute(const QString& sql) override
    {
        requireOpen();
        translator_.translate(sql, current_);
        ++statements_;
        observe(sql, current_);
        switch (current_.kind) {
        case StatementKind::Select:
            throw engineFailure(jeterr::CannotExecuteSelect,
                                QStringLiteral("SELECT文は実行できません（データを読む文としてお使いください）。"));
        case StatementKind::Schema:
            runSchema(current_.schemaStatements);
            return 0;
        case StatementKind::AlterColumn:
            runSchema(alterColumnStatements());
            return 0;
        default: {
            const Result r = runTranslated(current_);
            const char* changed = PQcmdTuples(r.get());
            return changed && *changed ? QByteArray(changed).toInt() : 0;
        }
        }
    }

    int prepareInsert(const QString& table, const QStringList& columns) override
    {
        requireOpen();
        // The same table and columns again (an import asks once per row).
        for (std::size_t i = 0; i < insertKeys_.size(); ++i)
            if (insertKeys_[i].first == table && insertKeys_[i].second == columns)
                return int(i);
        QStringList names;
        QStringList parameters;
        for (const QString& column : columns) {
            names.append(quotedName(column));
            parameters.append(QStringLiteral("$%1").arg(parameters.size() + 1));
        }
        Statement statement;
        statement.name = "vortan_insert_" + QByteArray::number(qulonglong(inserts_.size()));
        statement.shape.sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                  .arg(quotedName(table), names.join(u','), parameters.join(u','))
                                  .toUtf8();
        statement.shape.parameters = int(columns.size());
        statement.shape.likePattern.assign(size_t(columns.size()), false);
        statement.types.assign(size_t(columns.size()), 0);
        if (observer_)
            observer_(QString::fromUtf8(statement.shape.sql), QString::fromUtf8(statement.shape.sql));
        inserts_.push_back(std::move(statement));
        insertKeys_.emplace_back(table, columns);
        counterTables_.append(table);
        return int(inserts_.size()) - 1;
    }

    void insertRow(int insert, const std::vector<Value>& values) override
    {
        requireOpen();
        Statement& statement = inserts_.at(size_t(insert));
        ++statements_;
        if (observer_) {
            const QString text = QString::fromUtf8(statement.shape.sql);
            observer_(text, text);
        }
        Parameters p;
        for (const Value& value : values) {
            if (value.isNull())
                p.addNull();
            else
                p.add(value.variant().typeId() == QMetaType::Double
                          ? numberText(value.variant().toDouble())
                          : value.toText().toUtf8());
        }
        if (depth_ == 0 || !statement.prepared) {
            run(statement, p);
            return;
        }
        insertInRun(insert, std::move(p));
    }

    RecordSet openRecordSet(const QString& sql) override
    {
        Result r = query(sql, current_);
        QStringList names;
        QStringList tables;
        columnsOf(r.get(), names, tables);
        std::vector<std::vector<Value>> rows;
        const int count = PQntuples(r.get());
        const int columns = PQnfields(r.get());
        rows.reserve(size_t(count));
        for (int row = 0; row < count; ++row) {
            std::vector<Value>& values = rows.emplace_back();
            values.reserve(size_t(columns));
            for (int c = 0; c < columns; ++c)
                values.push_back(cellValue(r.get(), row, c));
        }
        return RecordSet(std::move(names), std::move(tables), std::move(rows));
    }

    qint64 forEachRow(const QString& sql, const std::function<void(const RowView&)>& visit) override
    {
        if (depth_ == 0)
            return forEachRowOfCursor(sql, visit);
        // Inside a transaction, where a failing statement must leave it
        // usable, the rows arrive whole before the first visit, so that the
        // visitor may run statements of its own on this connection.
        TranslatedStatement statement;
        Result r = query(sql, statement);
        QStringList names;
        QStringList tables;
        columnsOf(r.get(), names, tables);
        RowView view(names, tables);
        const int count = PQntuples(r.get());
        const int columns = PQnfields(r.get());
        std::vector<Value> values(static_cast<size_t>(columns));
        for (int row = 0; row < count; ++row) {
            for (int c = 0; c < columns; ++c)
                values[size_t(c)] = cellValue(r.get(), row, c);
            view.setRow(&values);
            visit(view);
            requireOpen();   // a visitor that closed the database ends the reading
        }
        return count;
    }

    bool tableExists(const QString& name) override
    {
        if (!conn_)
            return false;
        try {
            return !tableName(name).isEmpty();
        } catch (const Failure&) {
            return false;
        }
    }

    bool indexExists(const QString& name) override
    {
        if (!conn_)
            return false;
        try {
            const Result r = execParams("SELECT relname FROM pg_class WHERE relkind = 'i' "
                                        "AND relnamespace = current_schema()::regnamespace "
                                        "AND lower(relname) = lower($1)",
                                        name);
            return PQntuples(r.get()) > 0;
        } catch (const Failure&) {
            return false;
        }
    }

    // The server reads the table for a Like pattern: its scan of the surveys
    // of many years stays well within what a search may take.
    bool createSubstringIndex(const QString&, const QString&, const QString&, const QStringList&) override
    {
        requireOpen();
        return false;
    }

    QStringList tableNames() override
    {
        requireOpen();
        QStringList names;
        const Result r = exec("SELECT relname FROM pg_class WHERE relkind = 'r' "
                              "AND relnamespace = current_schema()::regnamespace ORDER BY oid",
                              EngineSituation::Statement);
        for (int row = 0; row < PQntuples(r.get()); ++row)
            names.append(QString::fromUtf8(PQgetvalue(r.get(), row, 0)));
        return names;
    }

    QString tableDefinition(const QString& table) override
    {
        const QString name = existingTable(table);
        const Result r = execParams(
            "SELECT a.attname, col_description(a.attrelid, a.attnum), pg_get_expr(d.adbin, d.adrelid), "
            "EXISTS (SELECT 1 FROM pg_index i WHERE i.indrelid = a.attrelid AND i.indisprimary "
            "AND i.indnatts = 1 AND i.indkey[0] = a.attnum), format_type(a.atttypid, a.atttypmod) "
            "FROM pg_attribute a LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
            "WHERE a.attrelid = quote_ident($1)::regclass AND a.attnum > 0 AND NOT a.attisdropped "
            "ORDER BY a.attnum",
            name);
        QStringList columns;
        for (int row = 0; row < PQntuples(r.get()); ++row) {
            const QString note = QString::fromUtf8(PQgetvalue(r.get(), row, 1));
            const JetColumnType type = jetTypeFromDeclaration(
                note.isEmpty() ? QString::fromUtf8(PQgetvalue(r.get(), row, 4)) : note);
            QString column = u'[' + QString::fromUtf8(PQgetvalue(r.get(), row, 0)) + QStringLiteral("] ")
                + jetTypeWord(type);
            if (*PQgetvalue(r.get(), row, 3) == 't')
                column += QStringLiteral(" PRIMARY KEY");
            if (!PQgetisnull(r.get(), row, 2) && type.type != JetType::Counter) {
                const QString value = dialectDefault(QString::fromUtf8(PQgetvalue(r.get(), row, 2)));
                if (!(type.type == JetType::YesNo && value == u"0"))
                    column += QStringLiteral(" DEFAULT ") + value;
            }
            columns.append(column);
        }
        return QStringLiteral("CREATE TABLE [%1] (%2)").arg(name, columns.join(QStringLiteral(", ")));
    }

    std::optional<QString> columnDefault(const QString& table, const QString& column) override
    {
        const QString name = existingTable(table);
        const Result r = execParams("SELECT a.attname, pg_get_expr(d.adbin, d.adrelid) FROM pg_attribute a "
                                    "LEFT JOIN pg_attrdef d ON d.adrelid = a.attrelid AND d.adnum = a.attnum "
                                    "WHERE a.attrelid = quote_ident($1)::regclass AND a.attnum > 0 "
                                    "AND NOT a.attisdropped",
                                    name);
        for (int row = 0; row < PQntuples(r.get()); ++row) {
            if (QString::fromUtf8(PQgetvalue(r.get(), row, 0)).compare(column, Qt::CaseInsensitive) != 0)
                continue;
            if (PQgetisnull(r.get(), row, 1))
                return std::nullopt;
            return dialectDefault(QString::fromUtf8(PQgetvalue(r.get(), row, 1)));
        }
        throw engineFailure(err::DbItemNotFound,
                            QStringLiteral("Item not found in this collection: %1.%2").arg(table, column));
    }

    void beginTransaction(TransactionIntent intent) override
    {
        requireOpen();
        if (depth_ == 0) {
            exec("BEGIN", EngineSituation::Statement);
            if (intent == TransactionIntent::Write) {
                try {
                    exec("SELECT pg_advisory_xact_lock(" + QByteArray::number(kWriteLockKey) + ")",
                         EngineSituation::Statement);
                } catch (const Failure&) {
                    PQclear(PQexec(conn_, "ROLLBACK"));
                    throw;
                }
            }
        } else {
            exec("SAVEPOINT vortan_tx_" + QByteArray::number(depth_), EngineSituation::Statement);
        }
        ++depth_;
    }

    void commit() override
    {
        requireOpen();
        if (depth_ == 0)
            throw engineFailure(jeterr::NoTransaction, QStringLiteral("始まっていないトランザクションは終えられません。"));
        // The transaction's end ends the savepoint of the rows too.
        forgetRowRun();
        if (lostRowsAt_ == depth_) {
            // Rows reported stored are missing: this level must not be kept.
            const Failure failure = *lostRows_;
            if (depth_ == 1)
                rollback();
            throw failure;
        }
        if (depth_ == 1) {
            // A failed commit ends the transaction as a rollback does.
            --depth_;
            fixCounters();
            exec("COMMIT", EngineSituation::Commit);
            return;
        }
        exec("RELEASE SAVEPOINT vortan_tx_" + QByteArray::number(depth_ - 1), EngineSituation::Commit);
        --depth_;
    }

    void rollback() override
    {
        requireOpen();
        if (depth_ == 0)
            throw engineFailure(jeterr::NoTransaction, QStringLiteral("始まっていないトランザクションは終えられません。"));
        forgetRowRun();
        --depth_;
        if (lostRowsAt_ > depth_) {
            lostRowsAt_ = 0;
            lostRows_.reset();
        }
        if (depth_ == 0) {
            exec("ROLLBACK", EngineSituation::Statement);
        } else {
            const QByteArray name = "vortan_tx_" + QByteArray::number(depth_);
            exec("ROLLBACK TO SAVEPOINT " + name, EngineSituation::Statement);
            exec("RELEASE SAVEPOINT " + name, EngineSituation::Statement);
        }
    }

    bool inTransaction() const override { return depth_ > 0; }
    quint64 preparedStatementCount() const override { return prepared_; }
    quint64 statementCount() const override { return statements_; }
    void setStatementObserver(StatementObserver observer) override { observer_ = std::move(observer); }

    QStringList queryPlan(const QString& sql) override
    {
        requireOpen();
        TranslatedStatement t;
        translator_.translate(sql, t);
        if (t.kind == StatementKind::Schema || t.kind == StatementKind::AlterColumn)
            return {};
        const PostgresShape shape = postgresShape(t.sql, spelling());
        const Parameters p = parametersOf(t, shape);
        std::vector<const char*> values;
        for (size_t i = 0; i < p.texts.size(); ++i)
            values.push_back(p.nulls[i] ? nullptr : p.texts[i].constData());
        endRowRun();
        const QByteArray explain = "EXPLAIN " + shape.sql;
        const Result r(PQexecParams(conn_, explain.constData(), int(values.size()), nullptr, values.data(), nullptr,
                                    nullptr, 0));
        if (!succeeded(r.get()))
            throw failureOf(r.get(), EngineSituation::Statement);
        QStringList lines;
        for (int row = 0; row < PQntuples(r.get()); ++row)
            lines.append(QString::fromUtf8(PQgetvalue(r.get(), row, 0)));
        return lines;
    }
    bool integrityCheck() override { return conn_ != nullptr; }

    void compactInto(const QString&) override
    {
        throw engineFailure(jeterr::InvalidOperation,
                            QStringLiteral("サーバーのデータベースはこのプログラムからは最適化できません。"));
    }

    void close() override
    {
        if (conn_)
            PQfinish(conn_);
        conn_ = nullptr;
        depth_ = 0;
        forgetRowRun();
        lostRowsAt_ = 0;
        lostRows_.reset();
        cache_.clear();
        inserts_.clear();
        insertKeys_.clear();
    }

private:
    struct Statement {
        QByteArray name;
        PostgresShape shape;
        std::vector<Oid> types;
        bool prepared = false;
        bool typed = false;   // the parameters' types said by this side
    };

    // Parameter texts of one run, in the server's text format.
    struct Parameters {
        std::vector<QByteArray> texts;
        std::vector<bool> nulls;
        void add(QByteArray text)
        {
            texts.push_back(std::move(text));
            nulls.push_back(false);
        }
        void addNull()
        {
            texts.emplace_back();
            nulls.push_back(true);
        }
        std::vector<const char*> pointers() const
        {
            std::vector<const char*> values(texts.size());
            for (size_t i = 0; i < texts.size(); ++i)
                values[i] = nulls[i] ? nullptr : texts[i].constData();
            return values;
        }
    };

    // A row of the current run of inserted rows: its insert and values.
    struct KeptRow {
        int insert;
        Parameters parameters;
    };

    void requireOpen() const
    {
        if (!conn_)
            throw Failure(err::ObjectNotSet, QStringLiteral("データベースは閉じられています。"),
                          QString::fromLatin1(kEngineSource));
    }

    // Outside a transaction the rows come from a cursor of the server a batch
    // at a time, so that a query over many years of surveys is never held
    // whole here (ten years exported: 1.3 GB otherwise). The cursor is held
    // past the end of its statement: the visitor may run statements of its
    // own on this connection, transactions included, between two batches.
    qint64 forEachRowOfCursor(const QString& sql, const std::function<void(const RowView&)>& visit)
    {
        TranslatedStatement statement;
        translateQuery(sql, statement);
        endRowRun();
        const PostgresShape shape = postgresShape(statement.sql, spelling());
        const Parameters p = parametersOf(statement, shape);
        const QByteArray cursor = "vortan_rows_" + QByteArray::number(++cursors_);
        declareCursor(cursor, shape.sql, p);
        struct Closing {
            PGconn*& conn;
            QByteArray statement;
            ~Closing()
            {
                if (conn)
                    PQclear(PQexec(conn, statement.constData()));
            }
        } closing{conn_, "CLOSE " + cursor};

        constexpr int BatchRows = 2000;
        const QByteArray fetch = "FETCH FORWARD " + QByteArray::number(BatchRows) + " FROM " + cursor;
        QStringList names;   // the view refers to them
        QStringList tables;
        std::unique_ptr<RowView> view;
        std::vector<Value> values;
        qint64 count = 0;
        for (;;) {
            const Result r = exec(fetch, EngineSituation::Statement);
            if (!view) {
                columnsOf(r.get(), names, tables);
                view = std::make_unique<RowView>(names, tables);
                values.resize(static_cast<size_t>(PQnfields(r.get())));
            }
            const int rows = PQntuples(r.get());
            for (int row = 0; row < rows; ++row) {
                for (size_t c = 0; c < values.size(); ++c)
                    values[c] = cellValue(r.get(), row, int(c));
                view->setRow(&values);
                visit(*view);
                requireOpen();   // a visitor that closed the database ends the reading
                ++count;
            }
            if (rows < BatchRows)
                return count;
        }
    }

    // Declares the cursor. A parameter whose type the server cannot tell
    // from its place is said to be a whole number or a text, as a prepared
    // statement's would be.
    void declareCursor(const QByteArray& cursor, const QByteArray& sql, const Parameters& p)
    {
        const QByteArray text = "DECLARE " + cursor + " NO SCROLL CURSOR WITH HOLD FOR " + sql;
        const std::vector<const char*> values = p.pointers();
        std::vector<Oid> types(values.size(), 0);
        for (bool typed : {false, true}) {
            if (typed)
                for (size_t k = 0; k < types.size(); ++k)
                    types[k] = isWholeNumber(p.texts[k]) ? kInt8 : kText;
            const Result r(PQexecParams(conn_, text.constData(), int(values.size()), types.data(), values.data(),
                                        nullptr, nullptr, 0));
            if (succeeded(r.get()))
                return;
            const char* state = PQresultErrorField(r.get(), PG_DIAG_SQLSTATE);
            if (typed || !state || qstrcmp(state, "42P18") != 0)
                throw failureOf(r.get(), EngineSituation::Statement);
        }
    }

    QString databaseName() const { return QString::fromUtf8(PQdb(conn_)); }

    Failure failureOf(const PGresult* r, EngineSituation where)
    {
        PostgresError error = errorOf(r, conn_);
        if (PQstatus(conn_) == CONNECTION_BAD)
            return postgresConnectionFailure(QString::fromUtf8(PQhost(conn_)), QString::fromUtf8(PQport(conn_)),
                                             databaseName(), error.message);
        if (error.sqlState == "23514" && error.constraint.startsWith(QLatin1String("jet_text_size_")))
            error.textLimit = textLimit(error.table, error.constraint);
        return postgresFailure(error, where);
    }

    Result exec(const QByteArray& sql, EngineSituation where)
    {
        endRowRun();
        Result r(PQexec(conn_, sql.constData()));
        if (!succeeded(r.get()))
            throw failureOf(r.get(), where);
        return r;
    }

    Result execParams(const char* sql, const QString& parameter)
    {
        requireOpen();
        endRowRun();
        const QByteArray text = parameter.toUtf8();
        const char* values[] = {text.constData()};
        Result r(PQexecParams(conn_, sql, 1, nullptr, values, nullptr, nullptr, 0));
        if (!succeeded(r.get()))
            throw failureOf(r.get(), EngineSituation::Statement);
        return r;
    }

    // The declared length kept by a text column's check.
    int textLimit(const QString& table, const QString& constraint)
    {
        if (depth_ > 0 && PQtransactionStatus(conn_) == PQTRANS_INERROR)
            return 0;
        const QByteArray t = table.toUtf8();
        const QByteArray c = constraint.toUtf8();
        const char* values[] = {t.constData(), c.constData()};
        const Result r(PQexecParams(conn_,
                                    "SELECT pg_get_constraintdef(oid) FROM pg_constraint "
                                    "WHERE conrelid = quote_ident($1)::regclass AND conname = $2",
                                    2, nullptr, values, nullptr, nullptr, 0));
        if (!succeeded(r.get()) || PQntuples(r.get()) == 0)
            return 0;
        static const QRegularExpression limit(QStringLiteral("<= *\\(?([0-9]+)"));
        return limit.match(QString::fromUtf8(PQgetvalue(r.get(), 0, 0))).captured(1).toInt();
    }

    // The table's name as stored, or empty when there is none.
    QString tableName(const QString& name)
    {
        const Result r = execParams("SELECT relname FROM pg_class WHERE relkind IN ('r', 'v') "
                                    "AND relnamespace = current_schema()::regnamespace "
                                    "AND lower(relname) = lower($1)",
                                    name);
        return PQntuples(r.get()) > 0 ? QString::fromUtf8(PQgetvalue(r.get(), 0, 0)) : QString();
    }

    QString existingTable(const QString& table)
    {
        requireOpen();
        const QString name = tableName(table);
        if (name.isEmpty())
            throw engineFailure(err::DbTableNotFound, QStringLiteral("Could not find table '%1'.").arg(table));
        return name;
    }

    Result query(const QString& sql, TranslatedStatement& statement)
    {
        translateQuery(sql, statement);
        return runTranslated(statement);
    }

    // Translates a statement that reads rows; any other kind fails.
    void translateQuery(const QString& sql, TranslatedStatement& statement)
    {
        requireOpen();
        translator_.translate(sql, statement);
        ++statements_;
        observe(sql, statement);
        if (statement.kind != StatementKind::Select)
            throw engineFailure(jeterr::InvalidOperation, QStringLiteral("データを読む文（SELECT文）ではありません。"));
    }

    void columnsOf(const PGresult* r, QStringList& names, QStringList& tables)
    {
        const int columns = PQnfields(r);
        for (int c = 0; c < columns; ++c) {
            names.append(QString::fromUtf8(PQfname(r, c)));
            const Oid table = PQftable(r, c);
            tables.append(table == InvalidOid ? QString() : tableOfOid(table));
        }
    }

    QString tableOfOid(Oid oid)
    {
        auto found = tableNamesByOid_.constFind(oid);
        if (found != tableNamesByOid_.constEnd())
            return *found;
        const Result r(PQexec(conn_, "SELECT oid, relname FROM pg_class WHERE relkind IN ('r', 'v')"));
        if (succeeded(r.get())) {
            for (int row = 0; row < PQntuples(r.get()); ++row)
                tableNamesByOid_.insert(Oid(QByteArray(PQgetvalue(r.get(), row, 0)).toUInt()),
                                        QString::fromUtf8(PQgetvalue(r.get(), row, 1)));
        }
        return tableNamesByOid_.value(oid);
    }

    // The literals of a translated statement as parameter texts of its shape.
    static Parameters parametersOf(const TranslatedStatement& t, const PostgresShape& shape)
    {
        Parameters p;
        for (size_t i = 0; i < t.literals.size(); ++i) {
            const SqlLiteral& lit = t.literals[i];
            switch (lit.kind) {
            case SqlLiteral::Kind::Integer: p.add(QByteArray::number(lit.integer)); break;
            case SqlLiteral::Kind::Real: p.add(numberText(lit.real)); break;
            case SqlLiteral::Kind::Text:
                p.add(i < shape.likePattern.size() && shape.likePattern[i] ? likePatternRegex(lit.text).toUtf8()
                                                                           : lit.text.toUtf8());
                break;
            }
        }
        return p;
    }

    // Runs a translated data statement through the statement of its shape
    // (prepared at its first run). Every literal leaves its type to the
    // server, which takes it from the column it meets: "5" may go into a
    // number column and 5 into a text column, as the dialect allows.
    Result runTranslated(const TranslatedStatement& t)
    {
        const QString& key = t.sql;
        auto found = cache_.find(key);
        if (found == cache_.end()) {
            if (cache_.size() >= 512)
                forgetStatements();
            Statement statement;
            statement.name = "vortan_" + QByteArray::number(++statementNames_);
            statement.shape = postgresShape(t.sql, spelling());
            statement.types.assign(t.literals.size(), 0);
            found = cache_.insert(key, std::move(statement));
        }
        const Parameters p = parametersOf(t, found->shape);
        try {
            return run(*found, p);
        } catch (const Failure&) {
            if (!found->prepared)
                cache_.erase(found);
            throw;
        }
    }

    // Runs a statement, preparing it first when it is new. Inside a
    // transaction it runs within a savepoint, so that a failing statement
    // changes nothing and leaves the transaction usable, as with the file
    // engine; the savepoint, the statement and its release travel to the
    // server together.
    Result run(Statement& statement, const Parameters& p)
    {
        endRowRun();
        std::vector<const char*> values = p.pointers();
        const int n = int(values.size());
        const bool guarded = depth_ > 0;
        const bool preparing = !statement.prepared;
        if (!guarded && !preparing) {
            Result r(PQexecPrepared(conn_, statement.name.constData(), n, values.data(), nullptr, nullptr, 0));
            if (!succeeded(r.get()))
                throw failureOf(r.get(), EngineSituation::Statement);
            return r;
        }
        int sent = 0;
        int statementAt = 0;
        if (guarded && !guardsPrepared_) {
            // The savepoint and its release, parsed once per connection.
            Result a(PQprepare(conn_, "vortan_savepoint", "SAVEPOINT vortan_statement", 0, nullptr));
            Result b(PQprepare(conn_, "vortan_release", "RELEASE SAVEPOINT vortan_statement", 0, nullptr));
            if (!succeeded(a.get()) || !succeeded(b.get()))
                throw failureOf(succeeded(a.get()) ? b.get() : a.get(), EngineSituation::Statement);
            guardsPrepared_ = true;
        }
        if (!PQenterPipelineMode(conn_))
            throw failureOf(nullptr, EngineSituation::Statement);
        if (guarded) {
            PQsendQueryPrepared(conn_, "vortan_savepoint", 0, nullptr, nullptr, nullptr, 0);
            ++sent;
        }
        if (preparing) {
            PQsendPrepare(conn_, statement.name.constData(), statement.shape.sql.constData(), n,
                          statement.types.data());
            ++sent;
            ++prepared_;
        }
        statementAt = sent;
        PQsendQueryPrepared(conn_, statement.name.constData(), n, values.data(), nullptr, nullptr, 0);
        ++sent;
        if (guarded) {
            PQsendQueryPrepared(conn_, "vortan_release", 0, nullptr, nullptr, nullptr, 0);
            ++sent;
        }
        PQpipelineSync(conn_);
        std::vector<Result> results;
        for (int i = 0; i < sent; ++i) {
            results.emplace_back(PQgetResult(conn_));
            while (PGresult* extra = PQgetResult(conn_))
                PQclear(extra);
        }
        Result sync(PQgetResult(conn_));
        PQexitPipelineMode(conn_);
        // The first failure is the one that counts; those after it were skipped.
        for (int i = 0; i < sent; ++i) {
            if (succeeded(results[size_t(i)].get()))
                continue;
            const PGresult* failed = results[size_t(i)].get();
            if (preparing && failed && PQresultStatus(failed) == PGRES_FATAL_ERROR) {
                const char* state = PQresultErrorField(failed, PG_DIAG_SQLSTATE);
                if (i == statementAt - 1 && state && qstrcmp(state, "42P18") == 0 && !statement.typed) {
                    // The server could not tell a parameter's type from its
                    // place: say texts and whole numbers as such, and try again.
                    if (guarded)
                        PQclear(PQexec(conn_, "ROLLBACK TO SAVEPOINT vortan_statement; "
                                              "RELEASE SAVEPOINT vortan_statement"));
                    statement.typed = true;
                    for (size_t k = 0; k < statement.types.size(); ++k)
                        if (statement.types[k] == 0)
                            statement.types[k] = isWholeNumber(p.texts[k]) ? kInt8 : kText;
                    return run(statement, p);
                }
            }
            // Back to the savepoint first: the transaction is usable again,
            // also for looking up what the failure was about.
            if (guarded && PQstatus(conn_) == CONNECTION_OK)
                PQclear(PQexec(conn_, "ROLLBACK TO SAVEPOINT vortan_statement; RELEASE SAVEPOINT vortan_statement"));
            const Failure failure = failureOf(failed, EngineSituation::Statement);
            // A statement prepared before its run failed stays prepared.
            if (preparing)
                statement.prepared = i >= statementAt;
            throw failure;
        }
        statement.prepared = true;
        return std::move(results[size_t(statementAt)]);
    }

    // Rows inserted inside a transaction. A failing statement must leave
    // the transaction usable with everything before it kept, which the
    // server gives only to statements inside a savepoint of their own; a
    // savepoint, its release and the subtransaction the row then writes in
    // cost the server more than the row itself. So one savepoint covers a
    // run of inserted rows, and this side keeps the run's rows: a row that
    // fails goes back to the savepoint and sends the rows before it once
    // more, in one round trip, before its failure is raised. Any other
    // statement first releases the savepoint and ends the run.
    void insertInRun(int insert, Parameters p)
    {
        if (runOpen_ && run_.size() >= runLimit_) {
            forgetRowRun();
            Result r(PQexec(conn_, "RELEASE SAVEPOINT vortan_rows; SAVEPOINT vortan_rows"));
            if (!succeeded(r.get()))
                throw failureOf(r.get(), EngineSituation::Statement);
            runOpen_ = true;
            runLimit_ = std::min(runLimit_ * 2, kLongestRowRun);
        } else if (!runOpen_) {
            Result r(PQexec(conn_, "SAVEPOINT vortan_rows"));
            if (!succeeded(r.get()))
                throw failureOf(r.get(), EngineSituation::Statement);
            runOpen_ = true;
        }
        const Statement& statement = inserts_[size_t(insert)];
        const std::vector<const char*> values = p.pointers();
        Result r(PQexecPrepared(conn_, statement.name.constData(), int(values.size()), values.data(), nullptr,
                                nullptr, 0));
        if (succeeded(r.get())) {
            run_.push_back({insert, std::move(p)});
            return;
        }
        if (PQstatus(conn_) == CONNECTION_OK)
            sendRunAgain();
        throw failureOf(r.get(), EngineSituation::Statement);
    }

    // Back to the run's savepoint, the run's rows once more and a fresh
    // savepoint, in one round trip; the next run starts short.
    void sendRunAgain()
    {
        const std::vector<KeptRow> rows = std::exchange(run_, {});
        runLimit_ = kFirstRowRun;
        if (!PQenterPipelineMode(conn_)) {
            loseRun(nullptr);
            return;
        }
        PQsendQueryParams(conn_, "ROLLBACK TO SAVEPOINT vortan_rows", 0, nullptr, nullptr, nullptr, nullptr, 0);
        for (const KeptRow& kept : rows) {
            const std::vector<const char*> values = kept.parameters.pointers();
            PQsendQueryPrepared(conn_, inserts_[size_t(kept.insert)].name.constData(), int(values.size()),
                                values.data(), nullptr, nullptr, 0);
        }
        PQsendQueryParams(conn_, "RELEASE SAVEPOINT vortan_rows", 0, nullptr, nullptr, nullptr, nullptr, 0);
        PQsendQueryParams(conn_, "SAVEPOINT vortan_rows", 0, nullptr, nullptr, nullptr, nullptr, 0);
        PQpipelineSync(conn_);
        const size_t sent = rows.size() + 3;
        Result failed;
        for (size_t i = 0; i < sent; ++i) {
            Result r(PQgetResult(conn_));
            while (PGresult* extra = PQgetResult(conn_))
                PQclear(extra);
            if (!failed && !succeeded(r.get()))
                failed = std::move(r);
        }
        Result sync(PQgetResult(conn_));
        PQexitPipelineMode(conn_);
        if (failed)
            loseRun(failed.get());
    }

    // A row that went in before does not go in again (another workstation
    // stored a row of the same key in between): the transaction goes on
    // from the savepoint, without the run's rows, and can no longer be
    // committed.
    void loseRun(const PGresult* failed)
    {
        if (PQstatus(conn_) == CONNECTION_OK)
            PQclear(PQexec(conn_, "ROLLBACK TO SAVEPOINT vortan_rows"));
        lostRowsAt_ = depth_;
        lostRows_ = failureOf(failed, EngineSituation::Statement);
    }

    // Any statement but an inserted row ends the run of rows.
    void endRowRun()
    {
        if (!runOpen_)
            return;
        forgetRowRun();
        Result r(PQexec(conn_, "RELEASE SAVEPOINT vortan_rows"));
        if (!succeeded(r.get()))
            throw failureOf(r.get(), EngineSituation::Statement);
    }

    // The end of the transaction or of its level ends the savepoint too.
    void forgetRowRun()
    {
        runOpen_ = false;
        run_.clear();
    }

    static bool isWholeNumber(const QByteArray& text)
    {
        bool ok = false;
        text.toLongLong(&ok);
        return ok;
    }

    // Runs schema statements so that all of them take effect or none does.
    void observe(QStringView programText, const TranslatedStatement& statement) const
    {
        if (!observer_)
            return;
        if (statement.kind == StatementKind::Schema)
            observer_(programText, statement.schemaStatements.join(QStringLiteral("; ")));
        else
            observer_(programText, statement.sql);
    }

    void runSchema(const QStringList& statements)
    {
        requireOpen();
        const QByteArray begin = depth_ > 0 ? "SAVEPOINT vortan_schema" : "BEGIN";
        exec(begin, EngineSituation::Statement);
        try {
            for (const QString& statement : statements)
                exec(withStoredNames(statement, spelling()).toUtf8(), EngineSituation::Statement);
        } catch (const Failure&) {
            PQclear(PQexec(conn_, depth_ > 0 ? "ROLLBACK TO SAVEPOINT vortan_schema; RELEASE SAVEPOINT vortan_schema"
                                             : "ROLLBACK"));
            throw;
        }
        exec(depth_ > 0 ? "RELEASE SAVEPOINT vortan_schema" : "COMMIT", EngineSituation::Statement);
        // Statements prepared against the old tables may no longer fit them.
        forgetStatements();
        tableNamesByOid_.clear();
        spellings_.clear();
    }

    // The stored spelling of the database's table and column names.
    NameSpelling spelling()
    {
        if (spellings_.isEmpty()) {
            const Result r = exec("SELECT relname FROM pg_class WHERE relkind IN ('r', 'v') "
                                  "AND relnamespace = current_schema()::regnamespace UNION "
                                  "SELECT a.attname FROM pg_attribute a JOIN pg_class c ON c.oid = a.attrelid "
                                  "WHERE c.relkind IN ('r', 'v') AND c.relnamespace = current_schema()::regnamespace "
                                  "AND a.attnum > 0 AND NOT a.attisdropped",
                                  EngineSituation::Statement);
            spellings_.insert(QString(), QString());
            for (int row = 0; row < PQntuples(r.get()); ++row) {
                const QString name = QString::fromUtf8(PQgetvalue(r.get(), row, 0));
                spellings_.insert(name.toLower(), name);
            }
        }
        return [this](const QString& name) { return spellings_.value(name.toLower(), name); };
    }

    // The statements changing the type (and default) of a column.
    QStringList alterColumnStatements()
    {
        const QString table = existingTable(current_.table);
        const std::optional<QString> oldDefault = columnDefault(table, current_.column);
        const QString column = spelling()(current_.column);
        const QString t = quotedName(table);
        const QString c = quotedName(column);
        const QString type = postgresDeclaration(current_.newType);
        QStringList statements{
            QStringLiteral("ALTER TABLE %1 DROP CONSTRAINT IF EXISTS %2")
                .arg(t, quotedName(postgresTextSizeCheck(column))),
            QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 DROP DEFAULT").arg(t, c),
        };
        statements.append(postgresDropYesNoRule(table, column));
        statements.append(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 TYPE %3 USING %2::%3").arg(t, c, type));
        if (current_.newType.type == JetType::Text)
            statements.append(QStringLiteral("ALTER TABLE %1 ADD CONSTRAINT %2 CHECK (length(%3) <= %4)")
                                  .arg(t, quotedName(postgresTextSizeCheck(column)), c)
                                  .arg(current_.newType.size));
        const QString newDefault = !current_.newDefault.isEmpty() ? current_.newDefault : oldDefault.value_or(QString());
        if (!newDefault.isEmpty() && newDefault != u"NULL")
            statements.append(QStringLiteral("ALTER TABLE %1 ALTER COLUMN %2 SET DEFAULT %3").arg(t, c, newDefault));
        statements.append(postgresColumnRules(table, column, current_.newType));
        return statements;
    }

    void forgetStatements()
    {
        endRowRun();
        PQclear(PQexec(conn_, "DEALLOCATE ALL"));
        guardsPrepared_ = false;
        cache_.clear();
        for (Statement& insert : inserts_)
            insert.prepared = false;
    }

    // Rows copied with their counter values leave the counter's sequence
    // behind them: it continues after the largest value before the
    // transaction ends.
    void fixCounters()
    {
        for (const QString& table : std::as_const(counterTables_)) {
            const Result r = execParams("SELECT a.attname FROM pg_attribute a WHERE a.attrelid = "
                                        "quote_ident($1)::regclass AND a.attidentity <> ''",
                                        table);
            for (int row = 0; row < PQntuples(r.get()); ++row) {
                const QString column = QString::fromUtf8(PQgetvalue(r.get(), row, 0));
                const QByteArray sql = QStringLiteral("SELECT setval(pg_get_serial_sequence($1, $2), "
                                                      "coalesce((SELECT max(%1) FROM %2), 0) + 1, false)")
                                           .arg(quotedName(column), quotedName(table))
                                           .toUtf8();
                const QByteArray t = quotedName(table).toUtf8();
                const QByteArray c = column.toUtf8();
                const char* values[] = {t.constData(), c.constData()};
                const Result done(PQexecParams(conn_, sql.constData(), 2, nullptr, values, nullptr, nullptr, 0));
                if (!succeeded(done.get()))
                    throw failureOf(done.get(), EngineSituation::Statement);
            }
        }
        counterTables_.clear();
    }

    QString uri_;
    PGconn* conn_ = nullptr;
    int depth_ = 0;
    quint64 prepared_ = 0;
    quint64 statements_ = 0;
    quint64 statementNames_ = 0;
    quint64 cursors_ = 0;
    JetSqlTranslator translator_{SqlDialect::PostgreSql};
    TranslatedStatement current_;
    QHash<QString, Statement> cache_;
    std::vector<Statement> inserts_;
    std::vector<std::pair<QString, QStringList>> insertKeys_;   // their tables and columns
    QStringList counterTables_;
    StatementObserver observer_;
    QHash<Oid, QString> tableNamesByOid_;
    QHash<QString, QString> spellings_;
    bool guardsPrepared_ = false;
    // The run of inserted rows under the savepoint vortan_rows.
    bool runOpen_ = false;
    std::vector<KeptRow> run_;
    size_t runLimit_ = kFirstRowRun;
    // The transaction level that lost rows it had reported stored, and why.
    int lostRowsAt_ = 0;
    std::optional<Failure> lostRows_;
};

QString connectionOption(const QString& uri, const char* keyword)
{
    char* error = nullptr;
    PQconninfoOption* options = PQconninfoParse(uri.toUtf8().constData(), &error);
    PQfreemem(error);
    QString value;
    for (PQconninfoOption* o = options; o && o->keyword; ++o) {
        if (qstrcmp(o->keyword, keyword) == 0 && o->val)
            value = QString::fromUtf8(o->val);
    }
    PQconninfoFree(options);
    return value;
}

} // namespace

std::unique_ptr<DatabaseEngine> openPostgresEngine(const QString& uri, bool creating)
{
    char* parseError = nullptr;
    PQconninfoOption* parsed = PQconninfoParse(uri.toUtf8().constData(), &parseError);
    if (!parsed) {
        const QString why = parseError ? QString::fromUtf8(parseError).trimmed() : QString();
        PQfreemem(parseError);
        throw engineFailure(err::DbBadPath, QStringLiteral("接続先「%1」の書き方が違います。%2").arg(uri, why));
    }
    PQconninfoFree(parsed);
    PGconn* conn = PQconnectdb(uri.toUtf8().constData());
    if (!conn)
        throw engineFailure(err::OutOfMemory, QStringLiteral("メモリが足りません。"));
    const QString database = connectionOption(uri, "dbname");
    if (creating && PQstatus(conn) != CONNECTION_OK && !database.isEmpty()
        && QByteArray(PQerrorMessage(conn)).contains("does not exist")) {
        // A new database: the server's maintenance database creates it.
        PQfinish(conn);
        const QByteArray expanded = uri.toUtf8();
        const char* keywords[] = {"dbname", "dbname", nullptr};
        const char* values[] = {expanded.constData(), "postgres", nullptr};
        if (PGconn* maintenance = PQconnectdbParams(keywords, values, 1)) {
            const QByteArray create = QStringLiteral("CREATE DATABASE %1").arg(quotedName(database)).toUtf8();
            PQclear(PQexec(maintenance, create.constData()));
            PQfinish(maintenance);
        }
        conn = PQconnectdb(uri.toUtf8().constData());
    }
    if (PQstatus(conn) != CONNECTION_OK) {
        QString host = connectionOption(uri, "host");
        if (host.isEmpty())
            host = QStringLiteral("localhost");
        const Failure failure = postgresConnectionFailure(host, connectionOption(uri, "port"),
                                                          connectionOption(uri, "dbname"),
                                                          QString::fromUtf8(PQerrorMessage(conn)));
        PQfinish(conn);
        throw failure;
    }
    auto engine = std::make_unique<PostgresEngine>(uri, conn);
    engine->start(creating);
    return engine;
}

} // namespace vortan::db
