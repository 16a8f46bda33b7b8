#pragma once
// The SQLite engine: a survey database in one file. Statements of the
// program's dialect are translated to SQLite, prepared once per shape and
// run with SQLite's rules bent to the dialect's (see database.h).

#include "db/database_engine.h"

#include <memory>

namespace vortan::db {

// How long statements of connections opened later wait for a lock.
void setDefaultSqliteBusyTimeout(int milliseconds);

class SqliteEngine final : public DatabaseEngine {
public:
    static std::unique_ptr<SqliteEngine> open(const QString& path);
    static std::unique_ptr<SqliteEngine> create(const QString& path);
    ~SqliteEngine() override;

    QString location() const override;
    void setBusyTimeout(int milliseconds) override;
    int execute(const QString& sql) override;
    int prepareInsert(const QString& table, const QStringList& columns) override;
    void insertRow(int insert, const std::vector<Value>& values) override;
    RecordSet openRecordSet(const QString& sql) override;
    qint64 forEachRow(const QString& sql, const std::function<void(const RowView&)>& visit) override;
    bool tableExists(const QString& name) override;
    bool indexExists(const QString& name) override;
    bool createSubstringIndex(const QString& name, const QString& table, const QString& key,
                              const QStringList& columns) override;
    QStringList tableNames() override;
    QString tableDefinition(const QString& table) override;
    std::optional<QString> columnDefault(const QString& table, const QString& column) override;
    void beginTransaction(TransactionIntent intent) override;
    void commit() override;
    void rollback() override;
    bool inTransaction() const override;
    quint64 preparedStatementCount() const override;
    quint64 statementCount() const override;
    void setStatementObserver(StatementObserver observer) override;
    QStringList queryPlan(const QString& sql) override;
    bool integrityCheck() override;
    void compactInto(const QString& target) override;
    void close() override;

    struct Impl;

private:
    explicit SqliteEngine(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

} // namespace vortan::db
