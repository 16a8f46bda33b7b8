// Migrating the Access files of the old Windows version: every table of the
// new database against the rows the files are known to hold (expected/, with
// the sort keys and types of its meta/ and the stored order of the keyless
// master lists in file_order/), the upgrade to the current layout, and the
// files that must end in a message with nothing written.

#include "core/program_state.h"
#include "db/database.h"
#include "migrate/legacy_migration.h"
#include "migrate/migration_failure.h"
#include "migrate/reader_stream.h"
#include "support/recording_user_interface.h"
#include "support/test_databases.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <tuple>

#ifdef Q_OS_UNIX
#include <csignal>
#endif

using namespace vortan;

namespace {

const QString Fixtures = QStringLiteral(VORTAN_FIXTURES_DIR "/legacy_mdb/");

migrate::MigrationOptions readerOptions()
{
    migrate::MigrationOptions options;
    options.readerProgram = test::programFile(QStringLiteral("vortan-mdb-reader"));
    return options;
}

QStringList fileLines(const QString& path)
{
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// A single's value as the shortest text that reads back as it.
QString singleText(double value)
{
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, static_cast<float>(value)).ptr;
    return QString::fromLatin1(text, end - text);
}

// A value written the way expected/ writes it, by the column's Access type.
QString tsvField(const db::Value& value, const QString& type)
{
    if (value.isNull())
        return QStringLiteral("\\N");
    if (type == u"Single")
        return singleText(value.toNumber());
    if (type == u"Yes/No")
        return value.toNumber() != 0 ? QStringLiteral("1") : QStringLiteral("0");
    if (!type.startsWith(u"Text"))
        return value.toText();
    QString text = value.toText();
    return text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\t', QStringLiteral("\\t"))
        .replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
}

// expected/ writes singles without an exponent; read them back as singles.
QString normalisedSingles(const QString& line, const QStringList& types)
{
    QStringList fields = line.split(u'\t');
    for (qsizetype i = 0; i < fields.size() && i < types.size(); ++i) {
        if (types[i] == u"Single" && fields[i] != u"\\N")
            fields[i] = singleText(fields[i].toDouble());
    }
    return fields.join(u'\t');
}

struct Expected {
    QString folder;
    QHash<QString, QString> types;   // "table\tcolumn" -> Access type

    explicit Expected(const QString& name) : folder(Fixtures + QStringLiteral("expected/") + name + u'/')
    {
        for (const QString& line : fileLines(folder + QStringLiteral("meta/columns.tsv")).mid(1)) {
            const QStringList f = line.split(u'\t');
            types.insert(f[0] + u'\t' + f[2], f[3]);
        }
    }
    QStringList tables() const
    {
        QStringList names;
        for (const QString& line : fileLines(folder + QStringLiteral("meta/index.tsv")).mid(1))
            names.append(line.section(u'\t', 0, 0));
        return names;
    }
    QStringList typesOf(const QString& table, const QStringList& columns) const
    {
        QStringList out;
        for (const QString& column : columns)
            out.append(types.value(table + u'\t' + column, QStringLiteral("Text")));
        return out;
    }
};

// The rows of `columns` of a table of the new database in stored order, as lines.
QStringList storedLines(db::Database& database, const QString& table, const QStringList& columns,
                        const QStringList& types)
{
    QStringList names;
    for (const QString& column : columns)
        names.append(u'[' + column + u']');
    db::RecordSet rows =
        database.openRecordSet(QStringLiteral("SELECT %1 FROM [%2];").arg(names.join(u','), table));
    QStringList lines;
    for (; !rows.eof(); rows.moveNext()) {
        QStringList fields;
        for (int c = 0; c < columns.size(); ++c)
            fields.append(tsvField(rows.field(c), types[c]));
        lines.append(fields.join(u'\t'));
    }
    return lines;
}

QStringList sorted(QStringList lines)
{
    lines.sort();
    return lines;
}

struct Golden {
    const char* file;
    const char* expected;
    // Rows the upgrade changes: table, the expected line, the line after it.
    std::vector<std::array<const char*, 3>> upgraded;
    // What the upgrade adds: table, columns, types, lines in stored order.
    std::vector<std::tuple<const char*, QStringList, QStringList, QStringList>> added;
    qint64 tables;
};

void PrintTo(const Golden& golden, std::ostream* out)
{
    *out << golden.file;
}

class MigrationGolden : public ::testing::TestWithParam<Golden> {};

TEST_P(MigrationGolden, EveryTableHoldsTheRowsOfTheAccessFile)
{
    const Golden& golden = GetParam();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    const QString source = Fixtures + QString::fromLatin1(golden.file);
    QFile original(source);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();

    std::vector<int> progress;
    migrate::MigrationOptions options = readerOptions();
    options.progress = [&progress](int percent) { progress.push_back(percent); };
    const migrate::MigrationResult result = migrate::MigrateLegacyDatabase(source, target, options);
    EXPECT_TRUE(result.current);
    EXPECT_EQ(qint64(result.tables.size()), golden.tables);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_EQ(progress.back(), 100);

    const Expected expected(QString::fromLatin1(golden.expected));
    auto database = db::Database::open(target);
    for (const QString& table : expected.tables()) {
        SCOPED_TRACE(table.toStdString());
        QStringList want = fileLines(expected.folder + table + QStringLiteral(".tsv"));
        const QStringList columns = want.takeFirst().split(u'\t');
        const QStringList types = expected.typesOf(table, columns);
        for (QString& line : want) {
            line = normalisedSingles(line, types);
            for (const auto& [changed, from, to] : golden.upgraded) {
                if (table == QString::fromUtf8(changed) && line == QString::fromUtf8(from))
                    line = QString::fromUtf8(to);
            }
        }
        const QStringList stored = storedLines(*database, table, columns, types);
        EXPECT_EQ(sorted(stored), sorted(want));
        const auto count = std::find_if(result.tables.begin(), result.tables.end(),
                                        [&](const migrate::TableCount& t) { return t.table == table; });
        ASSERT_NE(count, result.tables.end());
        EXPECT_EQ(count->rows, want.size());

        // The keyless master lists keep the order their selection boxes show.
        const QString order = expected.folder + QStringLiteral("file_order/") + table + QStringLiteral(".tsv");
        if (QFile::exists(order)) {
            EXPECT_EQ(stored, fileLines(order).mid(1));
        }
    }
    for (const auto& [table, columns, types, lines] : golden.added)
        EXPECT_EQ(storedLines(*database, QString::fromUtf8(table), columns, types), lines) << table;
    database->close();

    // The old file was only read, and nothing but the new file was written.
    ASSERT_TRUE(original.seek(0));
    EXPECT_EQ(original.readAll(), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("new.mdb")});
}

// Points of a layout without print marks were all printed: the upgrade marks them.
const QStringList AllPointsMarked(3, QStringLiteral("1\t\\N"));

INSTANTIATE_TEST_SUITE_P(
    AccessFiles, MigrationGolden,
    ::testing::Values(
        Golden{"vortan_v12.mdb", "vortan_v12", {}, {}, 16},
        // The oldest layout comes out current, through the upgrade of the
        // program's start-up: B = 0.41 of the shipped torque series is
        // found although stored as a single, and becomes 0.40.
        Golden{"vortan_v10.mdb",
               "vortan_v10",
               {{"mstRNd値計算式", "1\t砂質土\t⊿Nd=0.41Mv\t0\t0.41\t1", "1\t砂質土\t⊿Nd=0.41Mv\t0\t0.4\t1"},
                {"mstRNd値計算式", "1\t粘性土\t⊿Nd=0.41Mv\t0\t0.41\t1", "1\t粘性土\t⊿Nd=0.41Mv\t0\t0.4\t1"},
                {"mstRNd値計算式", "1\t礫質土\t⊿Nd=0.41Mv\t0\t0.41\t1", "1\t礫質土\t⊿Nd=0.41Mv\t0\t0.4\t1"},
                {"mstRNd値計算式", "1\t腐植土\t⊿Nd=0.41Mv\t0\t0.41\t1", "1\t腐植土\t⊿Nd=0.41Mv\t0\t0.4\t1"},
                {"mstRNd値計算式", "1\tローム\t⊿Nd=0.41Mv\t0\t0.41\t1", "1\tローム\t⊿Nd=0.41Mv\t0\t0.4\t1"}},
               {{"SystemSetting", {"Key", "Value"}, {"Text", "Text"}, {"DBVersion\t1.2"}},
                {"mst住所", {"住所"}, {"Text"}, {"調査現場"}},
                {"測点", {"印刷", "印刷測点No"}, {"Yes/No", "Text"}, AllPointsMarked},
                {"mstQa値計算式", {"C", "D"}, {"Text", "Text"}, QStringList(5, QStringLiteral("\\N\t\\N"))}},
               16}),
    [](const ::testing::TestParamInfo<Golden>& info) { return std::string(info.param.expected); });

// Files that are not the old program's database, or cannot be read whole,
// end in their failure with nothing written beside them.
struct Refusal {
    QString file;
    std::int32_t number;
    QStringList named;   // what the message names
};

TEST(MigrationRefusal, EndsInItsMessageWithNothingWritten)
{
    std::vector<Refusal> cases{
        {Fixtures + QStringLiteral("not_vortan.mdb"), migrate::NotLegacyLayout,
         {QStringLiteral("調査地区、測点、測点データ、mst土質"), QStringLiteral("mstQa値計算式")}},
        {Fixtures + QStringLiteral("vortan_truncated.mdb"), err::DbNotDatabase, {}},
        {test::programFile(QStringLiteral("VORTAN.MDB")), migrate::NotAccessFile, {QStringLiteral("VORTAN.MDB")}},
        {Fixtures + QStringLiteral("no_such_file.mdb"), err::FileNotFound, {}},
    };
    // The Jet 3 file of another program, where the shared test files lie.
    const QString jet3 = QStringLiteral(VORTAN_SOURCE_DIR "/../shared/legacy-mdb/access97_other.mdb");
    const QString jet3Beside = QStringLiteral(VORTAN_SOURCE_DIR "/../../shared/legacy-mdb/access97_other.mdb");
    for (const QString& path : {jet3, jet3Beside}) {
        if (QFile::exists(path)) {
            cases.push_back({path, migrate::NotLegacyLayout, {QStringLiteral("調査地区")}});
            break;
        }
    }
    for (const Refusal& refusal : cases) {
        SCOPED_TRACE(refusal.file.toStdString());
        QTemporaryDir dir;
        try {
            migrate::MigrateLegacyDatabase(refusal.file, dir.filePath(QStringLiteral("new.mdb")), readerOptions());
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), refusal.number) << failure.what();
            for (const QString& part : refusal.named)
                EXPECT_TRUE(failure.description().contains(part)) << failure.description().toStdString();
        }
        EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    }
}

// A reader that dies or hangs ends in the damaged-database failure.
TEST(MigrationRefusal, AReaderThatDiesOrHangsEndsInTheDamagedDatabaseFailure)
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QString hanging = dir.filePath(QStringLiteral("hanging-reader"));
    QFile script(hanging);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexec sleep 60\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    migrate::MigrationOptions killed = readerOptions();
    qint64 reader = 0;
    killed.readerStarted = [&reader](qint64 pid) { reader = pid; };
    killed.progress = [&reader](int percent) {
        if (percent >= 10 && reader > 0) {
            ::kill(pid_t(reader), SIGKILL);
            reader = 0;
        }
    };
    migrate::MigrationOptions hung = readerOptions();
    hung.readerProgram = hanging;
    hung.silenceLimitMs = 300;

    for (const migrate::MigrationOptions* options : {&killed, &hung}) {
        const QString target = dir.filePath(QStringLiteral("new.mdb"));
        try {
            migrate::MigrateLegacyDatabase(Fixtures + QStringLiteral("vortan_large.mdb"), target, *options);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), err::DbNotDatabase) << failure.what();
            test::RecordingUserInterface ui;
            ProgramState state;
            migrate::ReportMigrationFailure(failure, ErrorContext{ui, state, false});
            EXPECT_TRUE(ui.lastMessage().text.startsWith(QStringLiteral("高い確率で、データベースが損傷しています｡")));
        }
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                  QStringList{QStringLiteral("hanging-reader")});
    }
#else
    GTEST_SKIP() << "kills the reader with a POSIX signal";
#endif
}

TEST(MigrationTarget, AnExistingFileIsReplacedOnlyWhenAskedAndNeverTheOldFile)
{
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("VORTAN.MDB"));
    const QString target = dir.filePath(QStringLiteral("new.mdb"));
    ASSERT_TRUE(test::copyWritable(Fixtures + QStringLiteral("vortan_v10.mdb"), source));
    QFile existing(target);
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("kept");
    existing.close();

    migrate::MigrationOptions options = readerOptions();
    for (const QString& refused : {target, source}) {
        try {
            migrate::MigrateLegacyDatabase(source, refused, options);
            ADD_FAILURE() << "no failure";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.number(), migrate::TargetRefused);
        }
    }
    options.replace = true;
    try {
        migrate::MigrateLegacyDatabase(source, source, options);
        ADD_FAILURE() << "no failure";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.number(), migrate::TargetRefused);
    }
    ASSERT_TRUE(existing.open(QIODevice::ReadOnly));
    EXPECT_EQ(existing.readAll(), QByteArray("kept"));
    existing.close();

    EXPECT_EQ(migrate::MigrateLegacyDatabase(source, target, options).tables.front().rows, 2);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// The reader's stream: escapes resolved, Null apart from the empty text, and
// a garbled line taken as a damaged file.
TEST(ReaderStream, ResolvesEscapesAndRefusesGarbledLines)
{
    migrate::ReaderStream stream;
    stream.append("R\t\\N\t\ta\\\\b\\tc\\nd\\re\t");
    migrate::StreamLine line;
    EXPECT_FALSE(stream.next(line));
    stream.append("\xe2\x91\xa0\nS\n");
    ASSERT_TRUE(stream.next(line));
    EXPECT_EQ(line.tag, 'R');
    ASSERT_EQ(line.fields.size(), 4u);
    EXPECT_TRUE(line.fields[0].null);
    EXPECT_FALSE(line.fields[1].null);
    EXPECT_EQ(line.fields[1].text, QString());
    EXPECT_EQ(line.fields[2].text, QStringLiteral("a\\b\tc\nd\re"));
    EXPECT_EQ(line.fields[3].text, QStringLiteral("①"));
    ASSERT_TRUE(stream.next(line));
    EXPECT_EQ(line.tag, 'S');
    EXPECT_TRUE(line.fields.empty());

    for (const char* garbled : {"\n", "RR\tx\n", "R\tbad\\q\n", "R\tend\\\n"}) {
        migrate::ReaderStream bad;
        bad.append(garbled);
        EXPECT_THROW(bad.next(line), Failure) << garbled;
    }
}

} // namespace
