#include "db/database.h"

#include "db/postgres/postgres_engine.h"
#include "db/sqlite_engine.h"

namespace vortan::db {

namespace {

int g_postgresBusyTimeout = -1;   // not set: the engine's own default

std::unique_ptr<DatabaseEngine> engineFor(const QString& location, bool creating)
{
    if (isConnectionUri(location)) {
        auto engine = openPostgresEngine(location, creating);
        if (g_postgresBusyTimeout >= 0)
            engine->setBusyTimeout(g_postgresBusyTimeout);
        return engine;
    }
    if (creating)
        return SqliteEngine::create(location);
    return SqliteEngine::open(location);
}

} // namespace

bool isConnectionUri(const QString& location)
{
    return location.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || location.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

Database::Database(std::unique_ptr<DatabaseEngine> engine) : d(std::move(engine)) {}

Database::~Database() = default;

std::unique_ptr<Database> Database::open(const QString& path)
{
    return std::unique_ptr<Database>(new Database(engineFor(path, false)));
}

std::unique_ptr<Database> Database::create(const QString& path)
{
    return std::unique_ptr<Database>(new Database(engineFor(path, true)));
}

void Database::setDefaultBusyTimeout(int milliseconds)
{
    setDefaultSqliteBusyTimeout(milliseconds);
    g_postgresBusyTimeout = milliseconds;
}

QString Database::path() const { return d->location(); }
void Database::setBusyTimeout(int milliseconds) { d->setBusyTimeout(milliseconds); }
int Database::execute(const QString& sql) { return d->execute(sql); }
int Database::prepareInsert(const QString& table, const QStringList& columns) { return d->prepareInsert(table, columns); }
void Database::insertRow(int insert, const std::vector<Value>& values) { d->insertRow(insert, values); }
RecordSet Database::openRecordSet(const QString& sql) { return d->openRecordSet(sql); }
qint64 Database::forEachRow(const QString& sql, const std::function<void(const RowView&)>& visit)
{
    return d->forEachRow(sql, visit);
}
bool Database::tableExists(const QString& name) { return d->tableExists(name); }
bool Database::indexExists(const QString& name) { return d->indexExists(name); }
bool Database::createSubstringIndex(const QString& name, const QString& table, const QString& key,
                                    const QStringList& columns)
{
    return d->createSubstringIndex(name, table, key, columns);
}
QStringList Database::tableNames() { return d->tableNames(); }
QString Database::tableDefinition(const QString& table) { return d->tableDefinition(table); }
std::optional<QString> Database::columnDefault(const QString& table, const QString& column)
{
    return d->columnDefault(table, column);
}
void Database::beginTransaction(TransactionIntent intent) { d->beginTransaction(intent); }
void Database::commit() { d->commit(); }
void Database::rollback() { d->rollback(); }
bool Database::inTransaction() const { return d->inTransaction(); }
quint64 Database::preparedStatementCount() const { return d->preparedStatementCount(); }
quint64 Database::statementCount() const { return d->statementCount(); }
void Database::setStatementObserver(StatementObserver observer) { d->setStatementObserver(std::move(observer)); }
QStringList Database::queryPlan(const QString& sql) { return d->queryPlan(sql); }
bool Database::integrityCheck() { return d->integrityCheck(); }
void Database::compactInto(const QString& target) { d->compactInto(target); }
void Database::close() { d->close(); }

QString quoted(const QString& text)
{
    if (!text.contains(u'\''))
        return text;
    QString out = text;
    out.replace(QStringLiteral("'"), QStringLiteral("''"));
    return out;
}

} // namespace vortan::db
