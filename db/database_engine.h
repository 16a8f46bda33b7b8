#pragma once
// What a database engine behind Database does. The program talks to
// Database only; the engine of a location is chosen when it is opened: a
// file is a SQLite database, a connection URI names a PostgreSQL database.
// Every engine takes the same statement texts in the program's SQL dialect
// and keeps the same rules (typing, letter case, error numbers, whole
// transactions).

#include "db/record_set.h"
#include "db/row_view.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

namespace vortan::db {

enum class TransactionIntent { Write, Read };

// Told of every statement a connection runs, as the program wrote it and as
// the engine runs it (see Database::setStatementObserver).
using StatementObserver = std::function<void(QStringView programText, QStringView engineText)>;

class DatabaseEngine {
public:
    virtual ~DatabaseEngine() = default;

    virtual QString location() const = 0;
    virtual void setBusyTimeout(int milliseconds) = 0;
    virtual int execute(const QString& sql) = 0;
    virtual int prepareInsert(const QString& table, const QStringList& columns) = 0;
    virtual void insertRow(int insert, const std::vector<Value>& values) = 0;
    virtual RecordSet openRecordSet(const QString& sql) = 0;
    virtual qint64 forEachRow(const QString& sql, const std::function<void(const RowView&)>& visit) = 0;
    virtual bool tableExists(const QString& name) = 0;
    virtual bool indexExists(const QString& name) = 0;
    virtual bool createSubstringIndex(const QString& name, const QString& table, const QString& key,
                                      const QStringList& columns) = 0;
    virtual QStringList tableNames() = 0;
    virtual QString tableDefinition(const QString& table) = 0;
    virtual std::optional<QString> columnDefault(const QString& table, const QString& column) = 0;
    virtual void beginTransaction(TransactionIntent intent) = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    virtual bool inTransaction() const = 0;
    virtual quint64 preparedStatementCount() const = 0;
    virtual quint64 statementCount() const = 0;
    virtual void setStatementObserver(StatementObserver observer) = 0;
    virtual QStringList queryPlan(const QString& sql) = 0;
    virtual bool integrityCheck() = 0;
    virtual void compactInto(const QString& target) = 0;
    virtual void close() = 0;
};

} // namespace vortan::db
