#pragma once
// A fresh database file in a temporary folder for each test (an empty
// database on the test server when the tests run against PostgreSQL), and
// short ways to run a statement and catch the engine error number it fails
// with.

#include "core/failure.h"
#include "db/database.h"
#include "support/test_databases.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace vortan::db::test {

// The error number `action` failed with, or 0 when it did not fail.
inline int failureNumber(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Failure& failure) {
        return failure.number();
    }
    return 0;
}

class DbTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (vortan::test::testsUseServer()) {
            server = vortan::test::ServerDatabase::empty();
            ASSERT_TRUE(server.isValid());
            db = Database::open(server.uri());
        } else {
            db = Database::create(path(QStringLiteral("test.mdb")));
        }
    }

    void TearDown() override { db.reset(); }

    QString path(const QString& name) const { return dir.filePath(name); }
    // Where `db` lies: its file, or its server database.
    QString location() const { return server.isValid() ? server.uri() : path(QStringLiteral("test.mdb")); }

    int failing(const QString& sql)
    {
        return failureNumber([&] { db->execute(sql); });
    }

    // The text of `field` in the first row of `sql`, or "<none>" without rows.
    QString first(const QString& sql, const QString& field)
    {
        RecordSet rs = db->openRecordSet(sql);
        if (rs.eof())
            return QStringLiteral("<none>");
        return rs.field(field).toText();
    }

    // The texts of `field` over all rows of `sql`, joined with "|".
    QString column(const QString& sql, const QString& field)
    {
        RecordSet rs = db->openRecordSet(sql);
        QStringList values;
        for (rs.moveFirst(); !rs.eof(); rs.moveNext())
            values.append(rs.field(field).toText());
        return values.join(u'|');
    }

    int count(const QString& sql) { return db->openRecordSet(sql).recordCount(); }

    QTemporaryDir dir;
    vortan::test::ServerDatabase server;
    std::unique_ptr<Database> db;
};

} // namespace vortan::db::test
