#include "db/schema_version.h"

#include "core/failure.h"
#include "core/number_text.h"
#include "db/database.h"
#include "db/transaction.h"
#include "db/workspace.h"

namespace vortan::db {

namespace {

Database& surveyOf(Workspace& workspace)
{
    if (!workspace.survey())
        throw Failure(err::ObjectNotSet, QStringLiteral("調査データベースが開かれていません。"),
                      QStringLiteral("CheckSchemaVersion"));
    return *workspace.survey();
}

// Opens the query and reads the field the way a field is looked up by name:
// a name the record set does not have fails with 3265 whether or not there
// are rows, while an existing field of an empty table is no failure.
void probeField(Database& database, const QString& select, const QString& field)
{
    RecordSet rows = database.openRecordSet(select);
    if (!rows.hasField(field))
        throw Failure(err::DbItemNotFound, QStringLiteral("バージョンを表す行がありません。"),
                      QStringLiteral("UpgradeSchema"));
    if (!rows.eof())
        (void)rows.field(field);
    rows.close();
}

// One probe of the upgrade: when the probe fails with `expected`, the
// statements run in order. Any other failure, of the probe or of the
// statements, leaves the step without further effect.
template <typename Probe>
void probeStep(Database& database, Probe probe, std::int32_t expected, const QStringList& statements)
{
    try {
        probe();
    } catch (const Failure& failure) {
        if (failure.number() != expected)
            return;
        try {
            for (const QString& statement : statements)
                database.execute(statement);
        } catch (const Failure&) {
        }
    }
}

bool executeAll(Database& database, const QStringList& statements)
{
    try {
        for (const QString& statement : statements)
            database.execute(statement);
        return true;
    } catch (const Failure&) {
        return false;
    }
}

} // namespace

bool TableExists(Database& database, const QString& name)
{
    try {
        return database.tableExists(name);
    } catch (const Failure&) {
        return false;
    }
}

double CheckSchemaVersion(Workspace& workspace)
{
    Database& database = surveyOf(workspace);
    QString versionText = QStringLiteral("0");
    if (TableExists(database, QStringLiteral("SystemSetting"))) {
        RecordSet rows = database.openRecordSet(QStringLiteral(
            "select SystemSetting.Value from SystemSetting where SystemSetting.Key = 'DBVersion' ;"));
        // Without a DBVersion row the text stays empty and fails to convert below.
        versionText = rows.eof() ? QString() : rows.field(QStringLiteral("Value")).toText();
        rows.close();
    }
    const double version = numtext::toDoubleStrict(versionText);
    if (version < CurrentSchemaVersion)
        UpgradeSchema(workspace, version);
    SetPrintMarkDefault(workspace);
    CreateLookupIndexes(workspace);
    CreateSiteTextIndex(workspace);
    return version;
}

const SubstringIndexColumns& SiteTextIndex()
{
    static const SubstringIndexColumns index{
        QStringLiteral("調査地区の部分一致"), QStringLiteral("調査地区"), QStringLiteral("調査地区No"),
        {QStringLiteral("得意先名"), QStringLiteral("現場名"), QStringLiteral("住所"), QStringLiteral("記事")}};
    return index;
}

bool CreateSiteTextIndex(Workspace& workspace)
{
    Database& database = surveyOf(workspace);
    const SubstringIndexColumns& index = SiteTextIndex();
    try {
        return database.createSubstringIndex(index.name, index.table, index.key, index.columns);
    } catch (const Failure&) {
        return false;   // held by another program: the next start tries again
    }
}

const std::vector<LookupIndex>& LookupIndexStatements()
{
    static const std::vector<LookupIndex> indexes{
        // A survey's records point by point in depth order: loading, saving,
        // deleting and exporting a survey.
        {QStringLiteral("測点データの測点"),
         QStringLiteral("create index [測点データの測点] on [測点データ] ([調査地区No], [測点No], [貫入深さ]);")},
        // A survey's points in the order the data sheet shows them.
        {QStringLiteral("測点の調査地区"),
         QStringLiteral("create index [測点の調査地区] on [測点] ([調査地区No], [測点No], [日付], [開始時刻], "
                        "[終了時刻]);")},
        // The stored copies of a card run: the points of one date. The date
        // comes first so that a survey's points, which share its date, lie
        // side by side: deleting or saving a survey then writes one page of
        // this index rather than one per point number.
        {QStringLiteral("測点の日付"),
         QStringLiteral("create index [測点の日付] on [測点] ([日付], [測点No]);")},
    };
    return indexes;
}

namespace {

// Lookup indexes of earlier versions that the ones above replace.
const std::vector<LookupIndex>& RetiredLookupIndexes()
{
    static const std::vector<LookupIndex> indexes{
        {QStringLiteral("測点の測点No"), QStringLiteral("drop index [測点の測点No] on [測点];")},
    };
    return indexes;
}

} // namespace

bool CreateLookupIndexes(Workspace& workspace)
{
    Database& database = surveyOf(workspace);
    std::vector<const LookupIndex*> due;
    for (const LookupIndex& index : LookupIndexStatements())
        if (!database.indexExists(index.name))
            due.push_back(&index);
    for (const LookupIndex& index : RetiredLookupIndexes())
        if (database.indexExists(index.name))
            due.push_back(&index);
    if (due.empty())
        return false;
    try {
        Transaction transaction(workspace);
        bool changed = false;
        for (const LookupIndex* index : due) {
            // A table or column the file lacks leaves that index out; each
            // statement changes nothing when it fails.
            try {
                database.execute(index->statement);
                changed = true;
            } catch (const Failure&) {
            }
        }
        if (!changed)
            return false;
        transaction.commit();
        return true;
    } catch (const Failure&) {
        return false;   // held by another program: the next start tries again
    }
}

bool SetPrintMarkDefault(Workspace& workspace)
{
    Database& database = surveyOf(workspace);
    try {
        if (database.columnDefault(QStringLiteral("測点"), QStringLiteral("印刷")) == u"-1")
            return false;
    } catch (const Failure&) {
        return false;   // an older layout without the column
    }
    Transaction transaction(workspace);
    if (!executeAll(database, {QStringLiteral("alter table 測点 alter column 印刷 yesno default true;")})) {
        return false;
    }
    transaction.commit();
    return true;
}

bool UpgradeSchema(Workspace& workspace, double version)
{
    Database& database = surveyOf(workspace);
    const QString qaSelect = QStringLiteral("select mstQa値計算式.* from mstQa値計算式 ;");

    Transaction transaction(workspace);

    probeStep(
        database, [&] { probeField(database, qaSelect, QStringLiteral("C")); }, err::DbItemNotFound,
        {QStringLiteral("alter table mstQa値計算式 add C char(50);")});

    // The releases that wrote files without the print mark printed every
    // point: the points already stored start marked.
    probeStep(
        database, [&] { probeField(database, qaSelect, QStringLiteral("D")); }, err::DbItemNotFound,
        {QStringLiteral("alter table mstQa値計算式 add D char(50);"),
         QStringLiteral("alter table 測点 add 印刷 yesno default true;")});

    probeStep(
        database,
        [&] {
            probeField(database, QStringLiteral("select mst住所.* from mst住所 ;"),
                       QStringLiteral("住所"));
        },
        err::DbTableNotFound,
        {QStringLiteral("create table [mst住所] ( [住所] String(8) primary key ); "),
         QStringLiteral("INSERT INTO mst住所 VALUES ( '調査現場' ); ")});

    if (version < 1.0
        && !executeAll(database,
                       {QStringLiteral("create table [SystemSetting] ( [Key] String(50) primary key, "
                                       "[Value] String(50) ); "),
                        QStringLiteral("INSERT INTO SystemSetting VALUES ( 'DBVersion', '1.0' ); "),
                        QStringLiteral("alter table 測点 add 印刷測点No char(4);"),
                        QStringLiteral("alter table 測点 alter column 測点No char(4);"),
                        QStringLiteral("alter table 測点データ alter column 測点No char(4);")})) {
        return false;
    }

    if (version < CurrentSchemaVersion
        && !executeAll(database,
                       {QStringLiteral("update mstRNd値計算式 set B = 0.40 where B = 0.41 ;")})) {
        return false;
    }

    // A failing version update ends the upgrade without committing anything.
    if (!executeAll(database, {QStringLiteral("update SystemSetting set SystemSetting.Value='1.2' "
                                              "where SystemSetting.Key='DBVersion' ")})) {
        return false;
    }

    transaction.commit();
    return true;
}

} // namespace vortan::db
